#pragma once
// The program's cursor pictures, drawn in one style: white shapes with a black
// outline on a transparent 32 x 32 square, hard edges only, so every pixel is
// black, white or see-through as on a monochrome cursor.
#include <QImage>
#include <QPoint>
#include <QString>
#include <vector>

namespace glamora::cursors {

struct CursorArt {
  QString Name;   // resource name
  QImage Picture; // 32 x 32, ARGB
  QPoint HotSpot;
};

constexpr int kCursorSize = 32;

// Every cursor the program registers, in a fixed order.
std::vector<CursorArt> DrawAllCursors();

}  // namespace glamora::cursors
