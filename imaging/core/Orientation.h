#pragma once
// The orientation a camera records with a photograph (the Orientation field
// of EXIF and TIFF, 1 to 8): how the stored rows and columns lie against the
// scene, and the functions that turn a stored picture upright.
//
//   1 upright            2 mirrored left to right   3 turned half
//   4 mirrored top to bottom                        5 transposed (rows are columns)
//   6 needs a quarter turn clockwise                7 transverse
//   8 needs a quarter turn counter-clockwise
//
// Any other value is taken as 1: the picture is shown as stored.
#include "imaging/core/Bitmap.h"

namespace glamora {

inline constexpr int kUpright = 1;

// The value itself when it is 1..8, else 1.
constexpr int ValidOrientation(int orientation) { return orientation >= 1 && orientation <= 8 ? orientation : 1; }

// True for 5..8, whose upright picture has the stored picture's width as its height.
constexpr bool OrientationSwapsSides(int orientation) { return ValidOrientation(orientation) >= 5; }

// The orientation that undoes this one: the quarter turns 6 and 8 undo each
// other, every other orientation undoes itself.
constexpr int InverseOrientation(int orientation) {
  const int o = ValidOrientation(orientation);
  return o == 6 ? 8 : o == 8 ? 6 : o;
}

// The stored picture turned upright, as a new bitmap of the same format and
// palette (height × width for 5..8).
Bitmap Oriented(const Bitmap& stored, int orientation);

// Turns the picture upright where it is: mirrors and the half turn within its
// own rows, the others into a new picture that replaces it (the control's
// repaint hook and see-through setting stay).
void TurnUpright(Bitmap& picture, int orientation);

}  // namespace glamora
