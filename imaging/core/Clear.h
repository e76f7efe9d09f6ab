#pragma once
// Clear: fills a region of a bitmap with one colour.
#include "imaging/core/Bitmap.h"
#include "imaging/core/Color.h"
#include "imaging/core/PixelRect.h"

namespace glamora {

// System colours are resolved first. Palette bitmaps take the index of the
// palette entry nearest to the colour.
void Clear(Bitmap& bitmap, const PixelRect& region, TColor color);

}  // namespace glamora
