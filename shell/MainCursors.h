#pragma once
// The main window's cursors: their numbers in the application's cursor table
// and the cursor resources registered under them at start-up.
#include <array>

#include "imaging/CursorTable.h"

namespace glamora {

enum class TMainCursor : TCursor {
  mcOutline = 50,
  mcPencil = 51,
  mcBrushMid = 53,
  mcBrushBig = 55,
  mcLipStick = 56,
  mcLipLine = 58,
  mcEyes = 59,
  mcBrushHair = 60,
  mcSize = 61,  // registered; no window shows it
};

constexpr TCursor CursorNumber(TMainCursor cursor) { return static_cast<TCursor>(cursor); }

struct TMainCursorResource {
  TMainCursor Cursor;
  const char* Resource;
};

// Each once: "BRUSH_HAIR" was registered twice under 60 with the same picture.
constexpr std::array<TMainCursorResource, 9> kMainCursorResources = {{
    {TMainCursor::mcOutline, "OUTLINE"},
    {TMainCursor::mcPencil, "PENCIL"},
    {TMainCursor::mcBrushMid, "BRUSH_MID"},
    {TMainCursor::mcBrushBig, "BRUSH_BIG"},
    {TMainCursor::mcBrushHair, "BRUSH_HAIR"},
    {TMainCursor::mcLipStick, "LIP_STICK"},
    {TMainCursor::mcLipLine, "LIP_LINE"},
    {TMainCursor::mcEyes, "EYES"},
    {TMainCursor::mcSize, "SIZE"},
}};

}  // namespace glamora
