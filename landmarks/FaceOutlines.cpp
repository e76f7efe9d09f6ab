#include "landmarks/FaceOutlines.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "imaging/core/Rounding.h"

namespace glamora {

namespace {

// Eye ring proportions, in half eye widths (corner to corner / 2) unless
// said otherwise; taken from how the model face's eyes are outlined.
constexpr double kCornerReach = 0.3;    // how far the ring reaches past each corner
constexpr double kTowardsBrow = 0.55;   // fraction of the way from the upper lid to the brow
constexpr double kUnderLashes = 0.15;   // depth of the band under the lower lid
constexpr double kMinimumBand = 0.1;    // the ring is never thinner than this over the eye
constexpr int kEyeLoopSteps = 16;       // outer loop: points per lid side, corner to corner
constexpr int kEyeCurveSamples = 4;     // inner loop: samples per landmark segment
constexpr int kLipCurveSamples = 3;

PointF operator+(PointF a, PointF b) { return {a.X + b.X, a.Y + b.Y}; }
PointF operator-(PointF a, PointF b) { return {a.X - b.X, a.Y - b.Y}; }
PointF operator*(double k, PointF a) { return {k * a.X, k * a.Y}; }
double Dot(PointF a, PointF b) { return a.X * b.X + a.Y * b.Y; }
double Length(PointF a) { return std::hypot(a.X, a.Y); }

std::vector<PointF> Take(const FaceLandmarks& points, LandmarkRange range) {
  return {points.begin() + range.First, points.begin() + range.First + range.Count};
}

// A smooth closed curve through the points (centripetal Catmull-Rom, which
// neither overshoots nor loops at unevenly spaced points): `samples` points
// per segment, starting at the first point.
std::vector<PointF> ClosedCurve(const std::vector<PointF>& p, int samples) {
  const size_t n = p.size();
  std::vector<PointF> out;
  out.reserve(n * size_t(samples));
  const auto knot = [](PointF a, PointF b) { return std::max(std::sqrt(Length(b - a)), 1e-3); };
  for (size_t i = 0; i < n; ++i) {
    const PointF p0 = p[(i + n - 1) % n], p1 = p[i], p2 = p[(i + 1) % n], p3 = p[(i + 2) % n];
    const double t1 = knot(p0, p1), t2 = t1 + knot(p1, p2), t3 = t2 + knot(p2, p3);
    for (int j = 0; j < samples; ++j) {
      const double t = t1 + (t2 - t1) * j / samples;
      const PointF a1 = ((t1 - t) / t1) * p0 + (t / t1) * p1;
      const PointF a2 = ((t2 - t) / (t2 - t1)) * p1 + ((t - t1) / (t2 - t1)) * p2;
      const PointF a3 = ((t3 - t) / (t3 - t2)) * p2 + ((t - t2) / (t3 - t2)) * p3;
      const PointF b1 = ((t2 - t) / t2) * a1 + (t / t2) * a2;
      const PointF b2 = ((t3 - t) / (t3 - t1)) * a2 + ((t - t1) / (t3 - t1)) * a3;
      out.push_back(((t2 - t) / (t2 - t1)) * b1 + ((t - t1) / (t2 - t1)) * b2);
    }
  }
  return out;
}

// A profile v(s) given by points, linear between them and level beyond the
// first and the last.
class Profile {
 public:
  void Add(double s, double v) { points_.push_back({s, v}); }
  double At(double s) {
    if (!sorted_) {
      std::sort(points_.begin(), points_.end(), [](PointF a, PointF b) { return a.X < b.X; });
      sorted_ = true;
    }
    if (s <= points_.front().X) return points_.front().Y;
    if (s >= points_.back().X) return points_.back().Y;
    const auto after = std::upper_bound(points_.begin(), points_.end(), s, [](double x, PointF p) { return x < p.X; });
    const PointF b = *after, a = *(after - 1);
    return b.X - a.X < 1e-9 ? b.Y : a.Y + (b.Y - a.Y) * (s - a.X) / (b.X - a.X);
  }

 private:
  std::vector<PointF> points_;
  bool sorted_ = false;
};

// The eye ring in picture coordinates: the outer loop from beyond the left
// corner over the lid to beyond the right corner and back under the lower
// lid, then the open eye from its left corner.
std::vector<PointF> EyeRing(const std::vector<PointF>& eye, const std::vector<PointF>& brow) {
  // Eye axis u from corner to corner, normal n towards the mouth: the points
  // run clockwise in face terms, so this holds whichever way the face turns.
  const PointF a = eye[0], b = eye[3];
  const PointF centre = 0.5 * (a + b);
  const double half = std::max(Length(b - a) / 2, 0.5);
  const PointF u = (1 / (2 * half)) * (b - a);
  const PointF n{-u.Y, u.X};
  const auto local = [&](PointF p, double& s, double& v) {
    s = Dot(p - centre, u) / half;
    v = Dot(p - centre, n);
  };

  const std::vector<PointF> opening = ClosedCurve(eye, kEyeCurveSamples);
  Profile upperLid, lowerLid, browLine;
  const size_t rightCorner = 3 * size_t(kEyeCurveSamples);
  for (size_t i = 0; i < opening.size(); ++i) {
    double s, v;
    local(opening[i], s, v);
    if (i <= rightCorner) upperLid.Add(s, v);
    if (i >= rightCorner || i == 0) lowerLid.Add(s, v);
  }
  for (const PointF& p : brow) {
    double s, v;
    local(p, s, v);
    browLine.Add(s, v);
  }

  const double reach = 1 + kCornerReach;
  const double band = kMinimumBand * half;
  std::vector<PointF> ring;
  const auto place = [&](double s, double v) { ring.push_back(centre + (s * half) * u + v * n); };
  for (int k = 0; k <= kEyeLoopSteps; ++k) {
    // Cosine spacing puts more points where the loop turns at the ends.
    const double s = -reach * std::cos(std::numbers::pi * k / kEyeLoopSteps);
    const double taper = std::sqrt(std::max(0.0, 1 - (s / reach) * (s / reach)));
    const double lid = upperLid.At(s);
    double v = taper * (lid + kTowardsBrow * (browLine.At(s) - lid));
    if (std::fabs(s) <= 1) v = std::min(v, lid - band);
    place(s, v);
  }
  for (int k = kEyeLoopSteps - 1; k >= 1; --k) {
    const double s = -reach * std::cos(std::numbers::pi * k / kEyeLoopSteps);
    const double taper = std::sqrt(std::max(0.0, 1 - (s / reach) * (s / reach)));
    const double lid = lowerLid.At(s);
    double v = taper * (lid + kUnderLashes * half);
    if (std::fabs(s) <= 1) v = std::max(v, lid + band);
    place(s, v);
  }
  ring.push_back(ring.front());
  ring.insert(ring.end(), opening.begin(), opening.end());
  ring.push_back(opening.front());
  return ring;
}

std::vector<PointF> LipRing(const FaceLandmarks& points) {
  std::vector<PointF> ring = ClosedCurve(Take(points, landmark::kOuterLips), kLipCurveSamples);
  ring.push_back(ring.front());
  const std::vector<PointF> opening = ClosedCurve(Take(points, landmark::kInnerLips), kLipCurveSamples);
  ring.insert(ring.end(), opening.begin(), opening.end());
  ring.push_back(opening.front());
  return ring;
}

// Whole pixels inside the picture, without repeated neighbours; nothing for
// a ring that lies wholly off the picture and collapses onto its edge.
std::vector<Point> OnPicture(const std::vector<PointF>& ring, int width, int height) {
  std::vector<Point> out;
  out.reserve(ring.size());
  for (const PointF& p : ring) {
    const Point q{int(std::clamp<int64_t>(RoundEven(p.X), 0, std::max(0, width - 1))),
                  int(std::clamp<int64_t>(RoundEven(p.Y), 0, std::max(0, height - 1)))};
    if (out.empty() || !(out.back() == q)) out.push_back(q);
  }
  while (out.size() > 1 && out.back() == out.front()) out.pop_back();
  if (PolygonRegion(out).Empty()) out.clear();
  return out;
}

bool Finite(const FaceLandmarks& points) {
  return std::all_of(points.begin(), points.end(), [](PointF p) { return std::isfinite(p.X) && std::isfinite(p.Y); });
}

}  // namespace

FaceOutlines ProposeOutlines(const FaceLandmarks& points, int width, int height) {
  FaceOutlines outlines;
  if (width <= 0 || height <= 0 || !Finite(points)) return outlines;
  std::vector<Point> first = OnPicture(EyeRing(Take(points, landmark::kLeftEye), Take(points, landmark::kLeftBrow)),
                                       width, height);
  std::vector<Point> second = OnPicture(
      EyeRing(Take(points, landmark::kRightEye), Take(points, landmark::kRightBrow)), width, height);
  if (Centre(points, landmark::kLeftEye).X > Centre(points, landmark::kRightEye).X) std::swap(first, second);
  outlines.LeftEye = std::move(first);
  outlines.RightEye = std::move(second);
  outlines.Lips = OnPicture(LipRing(points), width, height);
  return outlines;
}

}  // namespace glamora
