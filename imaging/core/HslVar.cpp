// HSLVar over a region: the vector kernels where they apply, one colour at a
// time otherwise.
#include "imaging/core/HslVar.h"

#include "imaging/core/HslVarKernels.h"
#include "imaging/core/ParallelRows.h"

namespace glamora {

TColor HslVarColor(TColor color, int hue, int sat, int lum) {
  uint8_t r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
  hsl::ShiftPixel(r, g, b, hsl::ShiftOf(hue, sat, lum));
  return Rgb(r, g, b);
}

void HslVar(Bitmap& bitmap, const PixelRect& region, int hue, int sat, int lum) {
  if (bitmap.Format() != PixelFormat::Bits24) return;
  const PixelRect rect = region.ClampedTo(bitmap);
  if (rect.Empty()) return;
  const hsl::Shift shift = hsl::ShiftOf(hue, sat, lum);
  const hsl::RowKernel row = hsl::BestRow();
  ParallelRows(rect.Height, 20.0 * rect.Width, [&](int first, int end) {
    for (int y = rect.Top + first; y < rect.Top + end; ++y) row(bitmap.Row(y) + 3 * size_t(rect.Left), rect.Width, shift);
  });
}

}  // namespace glamora
