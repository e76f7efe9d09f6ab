// Centripetal Catmull-Rom splines sampled into polylines.
#include "photo/Spline.h"

#include <algorithm>
#include <cmath>

namespace glamora {

namespace {

PointF Lerp(PointF a, PointF b, double t) { return {a.X + (b.X - a.X) * t, a.Y + (b.Y - a.Y) * t}; }

// Knot spacing: the square root of the distance, never zero.
double Step(PointF a, PointF b) { return std::max(std::sqrt(std::hypot(b.X - a.X, b.Y - a.Y)), 1e-6); }

// The segment from p1 to p2 with p0 and p3 as its neighbours (Barry and
// Goldman's pyramidal form), `samples` points from p1 on, p2 left out.
void Segment(PointF p0, PointF p1, PointF p2, PointF p3, int samples, std::vector<PointF>& out) {
  const double t0 = 0, t1 = t0 + Step(p0, p1), t2 = t1 + Step(p1, p2), t3 = t2 + Step(p2, p3);
  for (int i = 0; i < samples; ++i) {
    const double t = t1 + (t2 - t1) * i / samples;
    const PointF a1 = Lerp(p0, p1, (t - t0) / (t1 - t0));
    const PointF a2 = Lerp(p1, p2, (t - t1) / (t2 - t1));
    const PointF a3 = Lerp(p2, p3, (t - t2) / (t3 - t2));
    const PointF b1 = Lerp(a1, a2, (t - t0) / (t2 - t0));
    const PointF b2 = Lerp(a2, a3, (t - t1) / (t3 - t1));
    out.push_back(Lerp(b1, b2, (t - t1) / (t2 - t1)));
  }
}

}  // namespace

std::vector<PointF> ClosedSpline(std::span<const PointF> points, int samples) {
  const size_t n = points.size();
  if (n < 3 || samples < 1) return {points.begin(), points.end()};
  std::vector<PointF> curve;
  curve.reserve(n * size_t(samples));
  for (size_t i = 0; i < n; ++i) {
    Segment(points[(i + n - 1) % n], points[i], points[(i + 1) % n], points[(i + 2) % n], samples, curve);
  }
  return curve;
}

std::vector<PointF> OpenSpline(std::span<const PointF> points, int samples) {
  const size_t n = points.size();
  if (n < 3 || samples < 1) return {points.begin(), points.end()};
  std::vector<PointF> curve;
  curve.reserve(n * size_t(samples));
  // The ends continue their first and last segments straight on.
  const PointF before = Lerp(points[1], points[0], 2), after = Lerp(points[n - 2], points[n - 1], 2);
  for (size_t i = 0; i + 1 < n; ++i) {
    Segment(i == 0 ? before : points[i - 1], points[i], points[i + 1], i + 2 < n ? points[i + 2] : after, samples,
            curve);
  }
  curve.push_back(points[n - 1]);
  return curve;
}

}  // namespace glamora
