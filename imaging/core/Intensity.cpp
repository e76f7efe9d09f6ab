// IntensityRGBall: one clamping table per channel applied to the region.
#include "imaging/core/Intensity.h"

#include "imaging/core/ChannelTable.h"
#include "imaging/core/Rounding.h"

namespace glamora {

namespace {

ChannelTable OffsetTable(int offset) {
  ChannelTable table;
  for (int c = 0; c < 256; ++c) table[size_t(c)] = ClampToByte(int64_t(c) + offset);
  return table;
}

}  // namespace

void IntensityRgbAll(Bitmap& bitmap, const PixelRect& region, int r, int g, int b) {
  ApplyChannelTables(bitmap, region, OffsetTable(b), OffsetTable(g), OffsetTable(r));
}

}  // namespace glamora
