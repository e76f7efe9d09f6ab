#pragma once
// Rotation of a picture: exact quarter turns, then the rest (at most 45° either
// way) by three shears, horizontal, vertical, horizontal, each optionally
// blending neighbouring pixels with 12-bit fixed-point weights.
#include "imaging/core/Bitmap.h"
#include "imaging/core/Color.h"
#include "imaging/core/Progress.h"

namespace glamora {

// The picture turned by a quarter: counter-clockwise, the top row becomes the
// left column read bottom to top; clockwise, it becomes the right column read
// top to bottom. Palette pictures keep their format.
Bitmap TurnedCounterClockwise(const Bitmap& src);
Bitmap TurnedClockwise(const Bitmap& src);
Bitmap TurnedHalf(const Bitmap& src);

// Sizes of the three-shear rotation of a W × H picture by n degrees
// (−45 ≤ n ≤ 45, n ≠ 0): t = |tan(θ/2)|, s = |sin θ|; the first shear makes
// W1 × H, the second W1 × H2, the third W3 × H2; D and E are the offsets that
// centre the picture on the second and third canvases.
struct ShearGeometry {
  double Theta = 0;
  double T = 0;
  double S = 0;
  int W = 0, H = 0, W1 = 0, D = 0, H2 = 0, E = 0, W3 = 0;
};
ShearGeometry ShearGeometryFor(int width, int height, int degrees);

// How Rotate splits an angle: quarter turns (0..3, counter-clockwise) that
// bring the angle modulo 360 into −45..45, and that rest in degrees.
struct QuarterTurns {
  int Quarters;
  int Rest;
};
QuarterTurns SplitIntoQuarterTurns(int angle);

// Rotates by `angle` degrees, counter-clockwise for positive angles. The angle
// is taken modulo 360 (keeping its sign); quarter turns bring it into
// −45..45 and the rest is sheared onto a canvas of `background` (a system
// colour is resolved). Without antialias every pixel is copied, never blended.
// `progress` gets trunc(step × 100 / (H + W1 + H2 + 0.5)) after each row or
// column of each shear. Palette pictures are converted to 24 bits first.
// False, leaving the bitmap alone, when it is empty or the result would be
// over the picture limits.
bool Rotate(Bitmap& bitmap, int angle, bool antialias, TColor background, const ProgressHandler& progress = {});

}  // namespace glamora
