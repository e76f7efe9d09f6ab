// Threshold: one table per channel applied to the region.
#include "imaging/core/Threshold.h"

#include "imaging/core/ChannelTable.h"

namespace glamora {

namespace {

ChannelTable ThresholdTable(uint8_t downLimit, uint8_t upLimit, uint8_t downVal, uint8_t upVal) {
  ChannelTable table;
  for (int c = 0; c < 256; ++c) {
    int v = c;
    if (v <= downLimit) v = downVal;
    if (v > upLimit) v = upVal;
    table[size_t(c)] = uint8_t(v);
  }
  return table;
}

}  // namespace

bool Threshold(Bitmap& bitmap, const PixelRect& region, const ThresholdLimits& limits) {
  if (limits.DoesNothing() || bitmap.Format() != PixelFormat::Bits24) return false;
  const ThresholdLimits& l = limits;
  ApplyChannelTables(bitmap, region,
                     ThresholdTable(BlueOf(l.DownLimit), BlueOf(l.UpLimit), BlueOf(l.DownVal), BlueOf(l.UpVal)),
                     ThresholdTable(GreenOf(l.DownLimit), GreenOf(l.UpLimit), GreenOf(l.DownVal), GreenOf(l.UpVal)),
                     ThresholdTable(RedOf(l.DownLimit), RedOf(l.UpLimit), RedOf(l.DownVal), RedOf(l.UpVal)));
  return true;
}

}  // namespace glamora
