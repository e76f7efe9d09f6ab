// Pencil lines on the face picture.
#include "face/PencilLine.h"

#include <algorithm>

#include "imaging/core/LineDda.h"

namespace glamora {

PixelRect DrawPencilLine(Bitmap& picture, Point from, Point to, TColor color) {
  const TColor c = ResolveColor(color);
  const uint8_t blue = BlueOf(c), green = GreenOf(c), red = RedOf(c);
  if (picture.Format() == PixelFormat::Bits24) {
    LineDda(from.X, from.Y, to.X, to.Y, [&](int x, int y) {
      if (x < 0 || y < 0 || x >= picture.Width() || y >= picture.Height()) return;
      uint8_t* p = picture.Row(y) + 3 * size_t(x);
      p[0] = blue;
      p[1] = green;
      p[2] = red;
    });
  }
  return PixelRect::FromEdges(std::min(from.X, to.X), std::min(from.Y, to.Y), std::max(from.X, to.X),
                              std::max(from.Y, to.Y));
}

}  // namespace glamora
