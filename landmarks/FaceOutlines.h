#pragma once
// The make-up regions a face's landmarks propose, drawn as the outline
// editor stores them: one closed polygon per region, at most 100 vertices,
// inside the picture. Colouring fills a polygon under the even-odd rule, so
// each region is a ring: an outer loop, a step in to an inner loop that runs
// around what the make-up leaves alone, and the same step back out (the
// implicit closing edge); the inner loop becomes a hole and the step, run
// twice, adds nothing.
//   eyes: the lid and the skin up towards the brow, with a narrow band under
//         the lower lashes, around the open eye as the hole;
//   lips: the outer edge of the lips around the opening between them.
#include <vector>

#include "imaging/core/PolygonRegion.h"
#include "landmarks/FaceLandmarks.h"

namespace glamora {

constexpr int kMaxOutlineVertices = 100;

struct FaceOutlines {
  std::vector<Point> LeftEye;   // the eye on the picture's left
  std::vector<Point> RightEye;  // the eye on the picture's right
  std::vector<Point> Lips;
};

// The three rings for a width × height picture. The eyes are told apart by
// their place in the picture, whatever their numbers. A ring that would
// cover no pixel of the picture (its part of the face lies off the picture)
// is left empty.
FaceOutlines ProposeOutlines(const FaceLandmarks& points, int width, int height);

}  // namespace glamora
