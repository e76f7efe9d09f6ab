#pragma once
// Resizing a picture: the filtered, separable resampler and the size rule of
// the processing component's Resample.
//
// The filtered resampler makes a horizontal pass from the source into an
// intermediate picture of (new width × source height), then a vertical pass
// into the destination, with one rule for both. For destination index i,
// scale s = destination size / source size and filter support R:
//   enlarging (s ≥ 1): centre c = i / s, source j from floor(c − R) to
//     ceil(c + R), weight F(c − j);
//   reducing (s < 1): R' = R / s, c = i / s, j from floor(c − R') to
//     ceil(c + R'), weight F((c − j) × s) × s.
// Zero weights are dropped and weights are not normalised. Indices before the
// start read pixel −j, indices at or past the end n read pixel 2n − 1 − j,
// mirrored again until they land inside. A channel is the weighted sum of the
// source channels in double precision, accumulated in increasing j, then
// clamped to 0..255 and rounded with halves to even.
#include "imaging/core/Bitmap.h"
#include "imaging/core/PixelRect.h"
#include "imaging/core/ResampleFilter.h"

namespace glamora {

struct PictureSize {
  int Width = 0;
  int Height = 0;
  friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

// The size Resample(width, height) gives a source of the given size: a
// negative side keeps the aspect ratio (integer arithmetic, truncating), and a
// side that comes out as 0 becomes 1. False when both sides are negative, the
// source is empty, or the size is over the picture limits.
bool ResampleTargetSize(int srcWidth, int srcHeight, int width, int height, PictureSize& size);

// Filtered resampling of srcRect (clamped to the source) into dst, which
// becomes a width × height 24-bit bitmap. Palette sources are read through
// their palette; rfNone stretches to the nearest pixel. False, leaving dst
// alone, for an empty source or a size that is not positive or over the limits.
// dst may be the source bitmap itself.
bool ResampleFiltered(const Bitmap& src, const PixelRect& srcRect, Bitmap& dst, int width, int height,
                      TResampleFilter filter);

// Resample of the whole source as the processing component does it: a 24-bit
// or 8-bit source with a filter is resampled into a 24-bit result; without a
// filter, or from a 1-bit source, the result keeps the source's format and
// palette and is stretched to the nearest pixel.
bool Resample(const Bitmap& src, Bitmap& dst, int width, int height, TResampleFilter filter);

}  // namespace glamora
