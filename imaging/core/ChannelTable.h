#pragma once
// Per-channel lookup tables for the colour operations whose new channel value
// depends only on the old one.
#include <array>
#include <cstdint>

#include "imaging/core/Bitmap.h"
#include "imaging/core/PixelRect.h"

namespace glamora {

using ChannelTable = std::array<uint8_t, 256>;

// Maps blue, green and red of every pixel of the region (clamped to the
// bitmap) through their tables. 24-bit bitmaps only.
inline void ApplyChannelTables(Bitmap& bitmap, const PixelRect& region, const ChannelTable& blue,
                               const ChannelTable& green, const ChannelTable& red) {
  if (bitmap.Format() != PixelFormat::Bits24) return;
  const PixelRect rect = region.ClampedTo(bitmap);
  for (int y = rect.Top; y <= rect.Bottom(); ++y) {
    uint8_t* p = bitmap.Row(y) + 3 * size_t(rect.Left);
    for (int x = 0; x < rect.Width; ++x, p += 3) {
      p[0] = blue[p[0]];
      p[1] = green[p[1]];
      p[2] = red[p[2]];
    }
  }
}

}  // namespace glamora
