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

}  // namespace glamora
