#pragma once
// The pencil of the make-up page: one-pixel lines in a solid colour.
#include "imaging/core/Bitmap.h"
#include "imaging/core/Color.h"
#include "imaging/core/PixelRect.h"
#include "imaging/core/PolygonRegion.h"

namespace glamora {

// Draws the line from `from` to `to` on a 24-bit picture, the start included
// and the end left out, so a stroke of segments drawn end to end touches
// each of its points once. Pixels off the picture are skipped. Returns the
// rectangle the line spans (whether or not it lies on the picture).
PixelRect DrawPencilLine(Bitmap& picture, Point from, Point to, TColor color);

}  // namespace glamora
