// Clear: the region filled with the colour, or in a palette picture with the
// nearest palette entry.
#include "imaging/core/Clear.h"

#include <cstring>

namespace glamora {

namespace {

int ColourDistance(TColor a, TColor b) {
  const int dr = int(RedOf(a)) - RedOf(b), dg = int(GreenOf(a)) - GreenOf(b), db = int(BlueOf(a)) - BlueOf(b);
  return dr * dr + dg * dg + db * db;
}

uint8_t NearestIndex(const std::vector<TColor>& palette, TColor color) {
  size_t best = 0;
  for (size_t i = 1; i < palette.size() && i < 256; ++i) {
    if (ColourDistance(palette[i], color) < ColourDistance(palette[best], color)) best = i;
  }
  return uint8_t(best);
}

}  // namespace

void Clear(Bitmap& bitmap, const PixelRect& region, TColor color) {
  const PixelRect rect = region.ClampedTo(bitmap);
  if (rect.Empty()) return;
  color = ResolveColor(color);
  switch (bitmap.Format()) {
    case PixelFormat::Bits24: {
      const uint8_t bgr[3] = {BlueOf(color), GreenOf(color), RedOf(color)};
      uint8_t* first = bitmap.Row(rect.Top) + 3 * size_t(rect.Left);
      for (int x = 0; x < rect.Width; ++x) std::memcpy(first + 3 * size_t(x), bgr, 3);
      for (int y = rect.Top + 1; y <= rect.Bottom(); ++y) {
        std::memcpy(bitmap.Row(y) + 3 * size_t(rect.Left), first, 3 * size_t(rect.Width));
      }
      break;
    }
    case PixelFormat::Bits8: {
      const uint8_t index = NearestIndex(bitmap.Palette(), color);
      for (int y = rect.Top; y <= rect.Bottom(); ++y) std::memset(bitmap.Row(y) + rect.Left, index, size_t(rect.Width));
      break;
    }
    case PixelFormat::Bits1: {
      const bool set = NearestIndex(bitmap.Palette(), color) != 0;
      for (int y = rect.Top; y <= rect.Bottom(); ++y) {
        uint8_t* row = bitmap.Row(y);
        for (int x = rect.Left; x <= rect.Right(); ++x) {
          const uint8_t mask = uint8_t(0x80u >> (x & 7));
          row[x >> 3] = set ? uint8_t(row[x >> 3] | mask) : uint8_t(row[x >> 3] & ~mask);
        }
      }
      break;
    }
  }
}

}  // namespace glamora
