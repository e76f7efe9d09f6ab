#pragma once
// IntensityRGBall: adds an offset to each channel of every pixel of a region.
#include "imaging/core/Bitmap.h"
#include "imaging/core/PixelRect.h"

namespace glamora {

// red := clamp(red + r), green := clamp(green + g), blue := clamp(blue + b);
// 24-bit bitmaps only, region clamped to the bitmap.
void IntensityRgbAll(Bitmap& bitmap, const PixelRect& region, int r, int g, int b);

}  // namespace glamora
