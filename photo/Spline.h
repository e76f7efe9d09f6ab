#pragma once
// Smooth curves through a face's landmarks: centripetal Catmull-Rom splines,
// which pass through every point without loops or overshoot between points
// that lie close together.
#include <span>
#include <vector>

#include "landmarks/FaceLandmarks.h"

namespace glamora {

// The closed curve through the points in order, back to the first, sampled
// `samples` times between each two points (the points themselves included).
std::vector<PointF> ClosedSpline(std::span<const PointF> points, int samples);

// The open curve from the first point to the last.
std::vector<PointF> OpenSpline(std::span<const PointF> points, int samples);

}  // namespace glamora
