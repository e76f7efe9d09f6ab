#pragma once
// Pictures for the pixel operation tests.
#include <cstdint>
#include <string>

#include "imaging/core/Bitmap.h"

namespace glamora::test {

// A 24-bit picture of pseudo-random pixels, the same for the same seed.
inline Bitmap RandomPicture(int width, int height, uint32_t seed) {
  Bitmap b(width, height);
  uint32_t s = seed * 2654435761u + 1;
  for (int y = 0; y < height; ++y) {
    uint8_t* p = b.Row(y);
    for (int x = 0; x < 3 * width; ++x) {
      s = s * 134775813u + 1;
      p[x] = uint8_t(s >> 24);
    }
  }
  return b;
}

inline Bitmap FlatPicture(int width, int height, TColor color) {
  Bitmap b(width, height);
  b.Fill(color);
  return b;
}

// First pixel where two 24-bit pictures differ, for failure messages.
inline std::string FirstDifference(const Bitmap& a, const Bitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) {
    return "sizes " + std::to_string(a.Width()) + "x" + std::to_string(a.Height()) + " and " +
           std::to_string(b.Width()) + "x" + std::to_string(b.Height());
  }
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      if (a.Pixel(x, y) != b.Pixel(x, y)) {
        return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + "): " + std::to_string(a.Pixel(x, y)) +
               " vs " + std::to_string(b.Pixel(x, y));
      }
    }
  }
  return "none";
}

}  // namespace glamora::test
