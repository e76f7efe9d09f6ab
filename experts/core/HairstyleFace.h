#pragma once
// A hairstyle made from an ordinary portrait: the wearer's face must show
// through it, so the face area of the Oval shape is left white (the hair
// loader makes the white of a light background see-through), and a plain
// background around the hair can be whitened region by region.
#include "imaging/core/Bitmap.h"
#include "landmarks/LandmarkFinder.h"

namespace glamora {

// The tolerance the background wand starts with: a plain wall's shading
// stays within it, hair against it does not.
constexpr int kBackgroundWandTolerance = 30;

// True when the search found a face, or saw one where the landmarks could
// not be placed.
bool FaceSeen(const FaceSearch& search);

// Whitens the picture's pixels under the mask's face area (its pixels of
// MaskKeepColour), the mask lying at the picture's top-left corner.
void ClearFaceArea(Bitmap& picture, const Bitmap& mask);

// Whitens the magic wand's region around (x, y) within `tolerance` (0..255)
// of the seed's colour in every channel. False, changing nothing, for a
// seed outside the picture or a picture without 24 bits per pixel.
bool WhitenBackground(Bitmap& photo, int x, int y, int tolerance);

}  // namespace glamora
