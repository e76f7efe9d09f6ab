// Spline curves through knots, measured and blended by arc length.
#include "tools/generators/hairstyles/Curve.h"

#include <algorithm>
#include <cmath>

namespace glamora::hairgen {

QPointF Lerp(QPointF a, QPointF b, double t) { return a + (b - a) * t; }

double Distance(QPointF a, QPointF b) { return std::hypot(b.x() - a.x(), b.y() - a.y()); }

QPointF Unit(QPointF v) {
  double n = std::hypot(v.x(), v.y());
  return n > 1e-9 ? v / n : QPointF(0, 1);
}

QPointF Perp(QPointF v) { return QPointF(-v.y(), v.x()); }

Points Spline(const Points& knots, double step) {
  if (knots.size() < 2) return knots;
  Points out;
  out.push_back(knots.front());
  const size_t n = knots.size();
  for (size_t i = 0; i + 1 < n; ++i) {
    QPointF p1 = knots[i];
    QPointF p2 = knots[i + 1];
    // Mirrored end knots keep the ends straight rather than curling.
    QPointF p0 = i > 0 ? knots[i - 1] : p1 * 2 - p2;
    QPointF p3 = i + 2 < n ? knots[i + 2] : p2 * 2 - p1;
    double t0 = 0;
    double t1 = t0 + std::sqrt(std::max(Distance(p0, p1), 1e-6));
    double t2 = t1 + std::sqrt(std::max(Distance(p1, p2), 1e-6));
    double t3 = t2 + std::sqrt(std::max(Distance(p2, p3), 1e-6));
    int samples = std::max(2, int(std::ceil(Distance(p1, p2) / step)));
    for (int k = 1; k <= samples; ++k) {
      double t = t1 + (t2 - t1) * k / samples;
      QPointF a1 = p0 * ((t1 - t) / (t1 - t0)) + p1 * ((t - t0) / (t1 - t0));
      QPointF a2 = p1 * ((t2 - t) / (t2 - t1)) + p2 * ((t - t1) / (t2 - t1));
      QPointF a3 = p2 * ((t3 - t) / (t3 - t2)) + p3 * ((t - t2) / (t3 - t2));
      QPointF b1 = a1 * ((t2 - t) / (t2 - t0)) + a2 * ((t - t0) / (t2 - t0));
      QPointF b2 = a2 * ((t3 - t) / (t3 - t1)) + a3 * ((t - t1) / (t3 - t1));
      out.push_back(b1 * ((t2 - t) / (t2 - t1)) + b2 * ((t - t1) / (t2 - t1)));
    }
  }
  return out;
}

Points Bezier(QPointF p0, QPointF p1, QPointF p2, QPointF p3, double step) {
  double rough = Distance(p0, p1) + Distance(p1, p2) + Distance(p2, p3);
  int samples = std::max(2, int(std::ceil(rough / step)));
  Points out;
  out.reserve(samples + 1);
  for (int k = 0; k <= samples; ++k) {
    double t = double(k) / samples;
    double u = 1 - t;
    out.push_back(p0 * (u * u * u) + p1 * (3 * u * u * t) + p2 * (3 * u * t * t) + p3 * (t * t * t));
  }
  return out;
}

Points LerpKnots(const Points& a, const Points& b, double t) {
  Points out;
  size_t n = std::min(a.size(), b.size());
  out.reserve(n);
  for (size_t i = 0; i < n; ++i) out.push_back(Lerp(a[i], b[i], t));
  return out;
}

Curve::Curve(Points points) : points_(std::move(points)) {
  lengths_.reserve(points_.size());
  double total = 0;
  for (size_t i = 0; i < points_.size(); ++i) {
    if (i > 0) total += Distance(points_[i - 1], points_[i]);
    lengths_.push_back(total);
  }
  length_ = total;
}

QPointF Curve::At(double s) const {
  if (points_.empty()) return {};
  if (points_.size() == 1 || length_ <= 0) return points_.front();
  double target = s * length_;
  size_t i;
  if (target <= 0) {
    i = 1;
  } else if (target >= length_) {
    i = points_.size() - 1;
  } else {
    i = size_t(std::upper_bound(lengths_.begin(), lengths_.end(), target) - lengths_.begin());
    i = std::clamp<size_t>(i, 1, points_.size() - 1);
  }
  double segment = lengths_[i] - lengths_[i - 1];
  double f = segment > 1e-9 ? (target - lengths_[i - 1]) / segment : 0;
  return Lerp(points_[i - 1], points_[i], f);
}

QPointF Curve::Tangent(double s) const {
  double ds = length_ > 0 ? std::min(0.5, 1.5 / length_) : 0.01;
  return Unit(At(s + ds) - At(s - ds));
}

}  // namespace glamora::hairgen
