#pragma once
// HSLVar: shifts hue (degrees), saturation and lightness (percent) of every
// pixel of a region of a 24-bit bitmap, through the HSL model in double
// precision (several pixels at a time where the processor allows).
#include "imaging/core/Bitmap.h"
#include "imaging/core/Color.h"
#include "imaging/core/PixelRect.h"

namespace glamora {

// One colour: convert to HSL, add hue / 360, sat / 100 and lum / 100, raise
// negatives to 0, lower saturation, lightness and hue above 1 to 1 (the hue is
// limited, not wrapped), convert back and truncate each channel. Truncation is
// guarded, so a channel that is an integer in exact arithmetic keeps its value:
// HslVarColor(c, 0, 0, 0) is c.
TColor HslVarColor(TColor color, int hue, int sat, int lum);

// The region is clamped to the bitmap; bitmaps without 24 bits per pixel are left alone.
void HslVar(Bitmap& bitmap, const PixelRect& region, int hue, int sat, int lum);

}  // namespace glamora
