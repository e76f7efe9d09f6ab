// Contrast: the channel means over the bitmap, then a table per channel
// applied to the region.
#include "imaging/core/Contrast.h"

#include <array>
#include <cmath>

#include "imaging/core/ChannelTable.h"
#include "imaging/core/Rounding.h"

namespace glamora {

namespace {

double ContrastFactor(int amount) {
  return amount < 0 ? 1 - std::sqrt(-double(amount)) / 10 : amount / 10.0 + 1;
}

ChannelTable ContrastTable(int mean, double factor) {
  ChannelTable table;
  for (int c = 0; c < 256; ++c) table[size_t(c)] = ClampToByte(mean + TruncGuarded((c - mean) * factor));
  return table;
}

}  // namespace

ChannelMeans ContrastMeans(const Bitmap& bitmap) {
  if (bitmap.Empty() || bitmap.Format() != PixelFormat::Bits24) return {};
  uint64_t blue = 0, green = 0, red = 0;
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* p = bitmap.Row(y);
    // Row sums fit 32 bits (at most 30 000 × 255).
    uint32_t b = 0, g = 0, r = 0;
    for (int x = 0; x < bitmap.Width(); ++x, p += 3) {
      b += p[0];
      g += p[1];
      r += p[2];
    }
    blue += b;
    green += g;
    red += r;
  }
  const uint64_t pixels = uint64_t(bitmap.Width()) * uint64_t(bitmap.Height());
  return {int(red / pixels), int(green / pixels), int(blue / pixels)};
}

void ContrastWithMeans(Bitmap& bitmap, const PixelRect& region, int amount, const ChannelMeans& means) {
  if (bitmap.Format() != PixelFormat::Bits24) return;
  const double factor = ContrastFactor(amount);
  ApplyChannelTables(bitmap, region, ContrastTable(means.Blue, factor), ContrastTable(means.Green, factor),
                     ContrastTable(means.Red, factor));
}

void Contrast(Bitmap& bitmap, const PixelRect& region, int amount) {
  if (bitmap.Format() != PixelFormat::Bits24 || bitmap.Width() < 2 || bitmap.Height() < 2) return;
  ContrastWithMeans(bitmap, region, amount, ContrastMeans(bitmap));
}

}  // namespace glamora
