#include "landmarks/FaceLandmarks.h"

#include <cstddef>

namespace glamora {

PointF Centre(const FaceLandmarks& points, LandmarkRange range) {
  PointF sum;
  for (int i = range.First; i < range.First + range.Count; ++i) {
    sum.X += points[size_t(i)].X;
    sum.Y += points[size_t(i)].Y;
  }
  return {sum.X / range.Count, sum.Y / range.Count};
}

PointF MouthCentre(const FaceLandmarks& points) {
  const PointF left = points[size_t(landmark::kOuterLips.First)];
  const PointF right = points[size_t(landmark::kOuterLips.First + 6)];
  return {(left.X + right.X) / 2, Centre(points, landmark::kInnerLips).Y};
}

}  // namespace glamora
