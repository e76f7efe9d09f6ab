#pragma once
// Threshold: channels at or below a lower limit take one value, channels
// above an upper limit another, channel by channel.
#include "imaging/core/Bitmap.h"
#include "imaging/core/Color.h"
#include "imaging/core/PixelRect.h"

namespace glamora {

// Limits and values as colours (red, green, blue channels).
struct ThresholdLimits {
  TColor DownLimit = Rgb(0, 0, 0);
  TColor UpLimit = Rgb(255, 255, 255);
  TColor DownVal = Rgb(0, 0, 0);
  TColor UpVal = Rgb(255, 255, 255);

  // DownLimit (0, 0, 0) with UpLimit (255, 255, 255) asks for nothing.
  bool DoesNothing() const { return DownLimit == Rgb(0, 0, 0) && UpLimit == Rgb(255, 255, 255); }
};

// Per channel: if it is ≤ DownLimit's channel it becomes DownVal's channel;
// then, if it is > UpLimit's channel, it becomes UpVal's channel. Returns
// false, changing nothing, when the limits ask for nothing or the bitmap is
// not 24-bit.
bool Threshold(Bitmap& bitmap, const PixelRect& region, const ThresholdLimits& limits);

}  // namespace glamora
