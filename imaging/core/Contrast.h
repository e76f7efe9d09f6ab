#pragma once
// Contrast: moves every channel of a region away from (or toward) the mean of
// that channel over the whole bitmap.
#include "imaging/core/Bitmap.h"
#include "imaging/core/PixelRect.h"

namespace glamora {

struct ChannelMeans {
  int Red = 128;
  int Green = 128;
  int Blue = 128;
  friend bool operator==(const ChannelMeans&, const ChannelMeans&) = default;
};

// Sum of each channel over every pixel divided by width × height, truncated;
// 128 each for an empty bitmap.
ChannelMeans ContrastMeans(const Bitmap& bitmap);

// x = 1 − √(−amount) / 10 for a negative amount, amount / 10 + 1 otherwise;
// each channel c of the region becomes clamp(m + trunc((c − m) × x)) with its
// mean m (truncation guarded as everywhere). Contrast(0) changes nothing and
// Contrast(−100) paints every channel with its mean.
void ContrastWithMeans(Bitmap& bitmap, const PixelRect& region, int amount, const ChannelMeans& means);

// The same with the bitmap's own means; nothing unless the bitmap is 24-bit
// and at least 2 × 2.
void Contrast(Bitmap& bitmap, const PixelRect& region, int amount);

}  // namespace glamora
