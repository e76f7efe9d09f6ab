#pragma once
// Where the hair lies on the face: the rectangle its picture is stretched
// into, in face-picture pixels, and the placement frame around it whose
// outline runs one pixel outside the picture.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "face/StandardFace.h"
#include "imaging/core/PixelRect.h"

namespace glamora {

// A rectangle by its four sides; which of them count as inside is said
// wherever one is used.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  // Left and top inside, right and bottom outside.
  bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
  void Offset(int dx, int dy) {
    Left += dx;
    Right += dx;
    Top += dy;
    Bottom += dy;
  }
  friend bool operator==(const TRect&, const TRect&) = default;
};

// A whole number beyond the range of int becomes the nearest end of it, so
// that sides and lengths of any rectangle an int can hold never overflow.
inline int SaturatedInt(int64_t value) { return int(std::clamp<int64_t>(value, INT_MIN, INT_MAX)); }

// The pixels from `first` to `last`, both counted: last − first + 1.
inline int InclusiveLength(int first, int last) { return SaturatedInt(int64_t(last) - first + 1); }

// The frame's sides are inclusive; the picture fills its inside, one pixel
// in from each side, and keeps at least no pixels.
inline PixelRect InsideOfFrame(const TRect& frame) {
  const int width = InclusiveLength(frame.Left, frame.Right), height = InclusiveLength(frame.Top, frame.Bottom);
  return {SaturatedInt(int64_t(frame.Left) + 1), SaturatedInt(int64_t(frame.Top) + 1), width > 2 ? width - 2 : 0,
          height > 2 ? height - 2 : 0};
}

// The frame that adopts a placed picture runs along the picture's own edges.
inline TRect FrameAround(const PixelRect& placed) {
  return {placed.Left, placed.Top, SaturatedInt(int64_t(placed.Left) + placed.Width - 1),
          SaturatedInt(int64_t(placed.Top) + placed.Height - 1)};
}

// The hair's place after a reset: the whole standard face.
inline PixelRect DefaultHairPlacement() { return {0, 0, standard_face::kWidth, standard_face::kHeight}; }

// Stretching by buttons and keys keeps a frame at least this wide and high,
// so the picture inside the outline keeps at least one pixel.
constexpr int kMinFrameSide = 3;

}  // namespace glamora
