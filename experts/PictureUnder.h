#pragma once
// The picture controls of an expert's drawing panel as placed pictures: their
// rectangles on the panel, and copying what one shows under another.
#include "imaging/core/PixelRect.h"

namespace glamora {

class TImage;

// The control's rectangle in its parent's coordinates.
PixelRect BoundsOf(const TImage& control);

// CopyPictureUnder for two picture controls on the same panel: D receives,
// pixel for pixel, what S's bitmap holds under D's rectangle, S's bitmap
// read in S's own coordinates (callers resample it to S's size first).
// A D without a picture first gets a white one of its own size. D repaints.
void CopyPictureUnder(const TImage& source, TImage& dest);

}  // namespace glamora
