#pragma once
// Make-up that looks like the chosen colour laid on skin: a region of the
// face is blended towards the colour with an opacity and feathered edges,
// and the colour is shaded by each pixel's own lightness against the
// region's mean, so the skin's light, shadow and texture show through it
// instead of every channel being shifted by one flat amount.
#include "face/FaceHeader.h"
#include "imaging/core/Bitmap.h"
#include "imaging/core/Color.h"

namespace glamora {

struct SoftMakeupStyle {
  // Pixels over which an edge fades: a filled region fades from this far
  // outside its outline to this far inside it; a line fades out over this
  // distance on each side. A few pixels suit the 228 × 314 standard face.
  int Feather = 2;
  // Percent of the way to the shaded colour where the make-up lies fully.
  int Opacity = 60;
};

// Eye colour and lipstick: the region (even-odd, as the outline editor
// stores it) blended towards `color`. A region that is not outlined, lies
// off the picture or has vertices no mouse could have placed, a picture that
// is not 24-bit, or an opacity of 0 change nothing.
void SoftColorRegion(Bitmap& picture, const FaceRegion& region, TColor color, const SoftMakeupStyle& style = {});

// The lip line: the region's one-pixel frame (the pixels outlining draws),
// blended towards `color` at full strength on the frame and fading with the
// distance from it.
void SoftOutlineRegion(Bitmap& picture, const FaceRegion& region, TColor color, const SoftMakeupStyle& style = {});

}  // namespace glamora
