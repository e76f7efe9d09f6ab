#pragma once
// Carving a face out of a photograph along a face-shape template. The
// photograph lies on the drawing panel in photoBounds, scaled to that
// rectangle; the template lies in templateBounds. Both carvings first take
// the photograph under the template at the template's size (white where the
// photograph does not reach) and draw it at the top-left corner of the face
// canvas. Carving automatically then draws the shape's mask over it; carving
// by hand puts the mask on the canvas first, and the window selects the
// region around the mask's seed pixel as the guide for erasing by hand.
#include "imaging/core/Bitmap.h"
#include "imaging/core/Color.h"
#include "imaging/core/PixelRect.h"

namespace glamora {

// The mask pixel whose region becomes the hand-carving outline, three pixels
// above the bottom-left corner of a 314-pixel-high mask.
constexpr int kHandCarveSeedX = 0;
constexpr int kHandCarveSeedY = 310;

// The photograph at the size it is shown, resampled with the Lanczos3
// filter, so that bitmap pixels and shown pixels coincide. A bitmap of that
// size is only made 24-bit (the filter leaves it as it is). False, leaving
// the bitmap alone, for an empty bitmap or a size that is not positive or
// over the picture limits.
bool ResampleToShownSize(Bitmap& photo, int width, int height);

// What the template covers of the photograph: a picture of the template's
// size with the photograph, resampled to its shown size first (the photo
// keeps that bitmap), copied under it 1:1; white where the photograph does
// not reach.
Bitmap PhotographUnderTemplate(Bitmap& photo, const PixelRect& photoBounds, const PixelRect& templateBounds);

// Draws the picture onto the canvas with its top-left corner at (0, 0),
// opaque and clipped to the canvas.
void DrawAtCanvasOrigin(const Bitmap& picture, Bitmap& canvas);

// The mask's bottom-left pixel: the colour that keeps the photograph.
TColor MaskKeepColour(const Bitmap& mask);

// Draws the mask onto the canvas at (0, 0): mask pixels of MaskKeepColour
// leave the canvas as it is, every other mask pixel replaces it.
void DrawMaskOver(const Bitmap& mask, Bitmap& canvas);

// Carving automatically: the photograph under the template, then the mask,
// both at the canvas's top-left corner. The canvas keeps its size.
void CarveAutomatically(Bitmap& photo, const PixelRect& photoBounds, const PixelRect& templateBounds,
                        const Bitmap& mask, Bitmap& canvas);

// The picture carving by hand leaves: the mask (whose outline the window
// selects around the seed first), with the photograph under the template
// drawn over it at (0, 0), so the canvas takes the mask's size.
Bitmap CarveByHand(Bitmap& photo, const PixelRect& photoBounds, const PixelRect& templateBounds, const Bitmap& mask);

}  // namespace glamora
