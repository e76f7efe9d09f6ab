// Pencil lines on the face picture.
#include "face/PencilLine.h"

#include <algorithm>

#include "face/StrokePath.h"

namespace glamora {

namespace {

void PutPixel(Bitmap& picture, Point at, TColor color) {
  if (picture.Format() != PixelFormat::Bits24) return;
  if (at.X < 0 || at.Y < 0 || at.X >= picture.Width() || at.Y >= picture.Height()) return;
  const TColor c = ResolveColor(color);
  uint8_t* p = picture.Row(at.Y) + 3 * size_t(at.X);
  p[0] = BlueOf(c);
  p[1] = GreenOf(c);
  p[2] = RedOf(c);
}

}  // namespace

PixelRect DrawPencilDot(Bitmap& picture, Point at, TColor color) {
  PutPixel(picture, at, color);
  return {at.X, at.Y, 1, 1};
}

PixelRect DrawPencilLine(Bitmap& picture, Point from, Point to, TColor color) {
  // The pencil is a brush one pixel across.
  for (const Point& p : StampsAlong(from, to, 1)) PutPixel(picture, p, color);
  return PixelRect::FromEdges(std::min(from.X, to.X), std::min(from.Y, to.Y), std::max(from.X, to.X),
                              std::max(from.Y, to.Y));
}

}  // namespace glamora
