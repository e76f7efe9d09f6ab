#pragma once
// The shipped model face "Faces/Modela.eff": the portrait cropped and scaled
// to the standard face geometry, and the outlines of its eyes and lips.
#include <string>
#include <vector>

#include "face/FaceHeader.h"
#include "imaging/core/Bitmap.h"

namespace glamora::modelface {

// The standard 228 × 314 face picture from the source portrait. False when
// the source is smaller than the crop needs.
bool MakePicture(const Bitmap& portrait, Bitmap& face);

// The face header: regions 1, 2 and 3 outline the eye on the picture's left,
// the eye on its right and the lips; region 4 and the reserved bytes are zero.
FaceHeader MakeHeader();

// The outline of region 1, 2 or 3 in picture coordinates.
const std::vector<FacePoint>& RegionOutline(int region);

}  // namespace glamora::modelface
