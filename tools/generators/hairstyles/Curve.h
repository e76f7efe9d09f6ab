#pragma once
// Curves that hair follows: smooth splines through a few knots, measured by
// arc length so that neighbouring guide curves can be blended point by point.
#include <QPointF>
#include <vector>

namespace glamora::hairgen {

using Points = std::vector<QPointF>;

QPointF Lerp(QPointF a, QPointF b, double t);
double Distance(QPointF a, QPointF b);
QPointF Unit(QPointF v);
// The vector turned a quarter clockwise on screen (y points down).
QPointF Perp(QPointF v);

// A centripetal Catmull-Rom spline through the knots (no loops or overshoot
// at unevenly spaced knots), sampled about `step` pixels apart.
Points Spline(const Points& knots, double step = 1.5);

// Cubic Bezier from p0 to p3, sampled about `step` pixels apart.
Points Bezier(QPointF p0, QPointF p1, QPointF p2, QPointF p3, double step = 1.5);

// Knot lists blended one by one (both lists must have the same length).
Points LerpKnots(const Points& a, const Points& b, double t);

// A polyline addressed by the fraction s of its arc length, 0 at its start
// and 1 at its end; s outside [0, 1] extends the end segments.
class Curve {
 public:
  Curve() = default;
  explicit Curve(Points points);
  static Curve Through(const Points& knots) { return Curve(Spline(knots)); }

  double Length() const { return length_; }
  bool Empty() const { return points_.size() < 2; }
  QPointF At(double s) const;
  QPointF Tangent(double s) const;  // unit direction of travel
  const Points& Polyline() const { return points_; }
  QPointF Start() const { return points_.front(); }
  QPointF End() const { return points_.back(); }

 private:
  Points points_;
  std::vector<double> lengths_;  // arc length from the start to each point
  double length_ = 0;
};

}  // namespace glamora::hairgen
