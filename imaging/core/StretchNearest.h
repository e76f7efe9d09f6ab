#pragma once
// Nearest-pixel stretching of a bitmap, or a rectangle of it, into a
// destination rectangle: what pictures are drawn with, and what Resample does
// without a filter.
//
// Pixel-centre rule: destination pixel d of a destination span of n pixels
// takes source pixel floor((d + 0.5) × m / n) of a source span of m pixels,
// counted from the spans' starts. Source pixels outside the bitmap read the
// nearest edge pixel; destination pixels outside the target are skipped with
// the mapping unchanged, so a clipped draw shows exactly what the full one would.
#include <cstddef>
#include <cstdint>

#include "imaging/core/Bitmap.h"
#include "imaging/core/PixelRect.h"

namespace glamora {

enum class RasterLayout : uint8_t {
  Bgr24,   // blue, green, red: the bitmap's own layout
  Bgrx32,  // blue, green, red, 0xFF: 32-bit display buffers
};

// Rows of pixels owned by someone else, e.g. a display buffer.
struct RasterTarget {
  uint8_t* Bits = nullptr;
  size_t Stride = 0;
  int Width = 0;
  int Height = 0;
  RasterLayout Layout = RasterLayout::Bgr24;
};

// Any source format; palette pictures are drawn through their palette.
void StretchNearest(const Bitmap& src, const PixelRect& srcRect, const RasterTarget& dst, const PixelRect& dstRect);

// Into a bitmap that has 24 bits per pixel or the source's own format (then
// palette indices are copied). False, drawing nothing, for other pairs.
bool StretchNearest(const Bitmap& src, const PixelRect& srcRect, Bitmap& dst, const PixelRect& dstRect);

// The whole source onto the whole destination.
bool StretchNearest(const Bitmap& src, Bitmap& dst);

}  // namespace glamora
