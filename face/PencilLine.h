#pragma once
// The pencil of the make-up page: one-pixel lines in a solid colour, laid
// as a stroke of one-pixel stamps.
#include "imaging/core/Bitmap.h"
#include "imaging/core/Color.h"
#include "imaging/core/PixelRect.h"
#include "imaging/core/PolygonRegion.h"

namespace glamora {

// The pencil's press: the one pixel at `at`, on a 24-bit picture. Returns
// its rectangle (whether or not it lies on the picture).
PixelRect DrawPencilDot(Bitmap& picture, Point at, TColor color);

// The pencil's way from `from` to `to`: the pixels StampsAlong gives, the
// start left out (the press or the segment before laid it) and the end
// included, so a stroke touches each of its points once. Pixels off the
// picture are skipped. Returns the rectangle the line spans.
PixelRect DrawPencilLine(Bitmap& picture, Point from, Point to, TColor color);

}  // namespace glamora
