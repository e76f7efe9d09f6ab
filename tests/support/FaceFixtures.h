#pragma once
// Face files for tests: a plain face with a lossless (BMP) picture, so pixel
// values can be checked exactly after loading.
#include <initializer_list>
#include <string>
#include <vector>

#include "face/FaceHeader.h"
#include "imaging/core/Bitmap.h"

namespace glamora::test {

// A 228 × 314 picture of one colour with a darker square at each eye and at
// the mouth of the standard geometry.
Bitmap StandardFacePicture(TColor skin = Rgb(200, 160, 140));

// A region record outlined along the given vertices (valid, counted).
FaceRegion OutlinedRegion(std::initializer_list<FacePoint> vertices);

// A header whose regions 1, 2 and 3 are rectangles (as 4-vertex polygons)
// around the eyes and the mouth; region 4 and the reserved bytes zero.
FaceHeader RectangleRegionsHeader();

// Writes header + BMP-coded picture as a face file (".mff" plain, ".eff"
// enciphered) and returns its path.
std::string WriteTestFace(const std::string& path, const Bitmap& picture, const FaceHeader& header);

}  // namespace glamora::test
