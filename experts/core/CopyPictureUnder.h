#pragma once
// Copying what one picture shows under another, as both lie on one panel:
// the face expert takes the photograph under the face-shape template with
// it, and the add-hairstyle expert the hair under its frame.
#include "imaging/core/Bitmap.h"
#include "imaging/core/PixelRect.h"

namespace glamora {

// Copies into `dest` (shown in destBounds, panel coordinates) the pixels of
// `source` (shown in sourceBounds) that lie under it, 1:1. The source bitmap
// is read in its own control's coordinates: panel point (x, y) is source
// pixel (x - sourceBounds.Left, y - sourceBounds.Top), so callers first
// resample the source to its shown size. An empty dest first becomes a white
// picture of destBounds' size, even when nothing lies under it; dest pixels
// that the source does not cover keep their colour. A dest that does not
// have 24 bits per pixel is converted first.
void CopyPictureUnder(const Bitmap& source, const PixelRect& sourceBounds, Bitmap& dest, const PixelRect& destBounds);

// The part of `a` that also lies in `b`; empty when none.
PixelRect Intersection(const PixelRect& a, const PixelRect& b);

}  // namespace glamora
