// Storing the proposed eye and lip regions into a make-over's header.
#include "model/ProposedRegions.h"

#include <utility>

#include "face/RegionColouring.h"
#include "landmarks/FaceOutlines.h"

namespace glamora {

int StoreProposedRegions(Makeover& makeover, const FaceLandmarks& points) {
  const FaceOutlines rings = ProposeOutlines(points, makeover.Face().Width(), makeover.Face().Height());
  const std::pair<int, const std::vector<Point>*> regions[] = {
      {FaceHeader::kLeftEye, &rings.LeftEye}, {FaceHeader::kRightEye, &rings.RightEye}, {FaceHeader::kLips, &rings.Lips}};
  int stored = 0;
  for (const auto& [number, ring] : regions) {
    const FaceRegion record = RegionRecordOf(*ring);
    if (!record.IsOutlined()) continue;
    makeover.StoreRegion(number, record);
    ++stored;
  }
  return stored;
}

}  // namespace glamora
