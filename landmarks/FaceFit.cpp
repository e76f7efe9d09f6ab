#include "landmarks/FaceFit.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "face/StandardFace.h"
#include "imaging/core/Bitmap.h"
#include "imaging/core/Rotate.h"
#include "imaging/core/Rounding.h"

namespace glamora {

namespace {

namespace sf = standard_face;

}  // namespace

PointF RotatedPoint(PointF p, int width, int height, int angle) {
  const auto [quarters, rest] = SplitIntoQuarterTurns(angle);
  int w = width, h = height;
  switch (quarters) {
    case 1:  // the top row becomes the left column, read bottom to top
      p = {p.Y, w - 1 - p.X};
      std::swap(w, h);
      break;
    case 2: p = {w - 1 - p.X, h - 1 - p.Y}; break;
    case 3:
      p = {h - 1 - p.Y, p.X};
      std::swap(w, h);
      break;
    default: break;
  }
  if (rest == 0) return p;
  // Each shear moves a row or column by k × t (or k × s) less its centring
  // offset; with antialias the fraction of the move is carried by the blend,
  // so the continuous move is where the point lands.
  const ShearGeometry g = ShearGeometryFor(w, h, rest);
  const bool ccw = g.Theta > 0;
  const double x1 = p.X + (ccw ? p.Y : g.H - p.Y) * g.T;
  const double y2 = p.Y + (ccw ? g.W1 - x1 : x1) * g.S - g.D;
  const double x3 = x1 + (ccw ? y2 : g.H2 - y2) * g.T - g.E;
  return {x3, y2};
}

RotatedSize RotatedSizeOf(int width, int height, int angle) {
  const auto [quarters, rest] = SplitIntoQuarterTurns(angle);
  if (quarters % 2 == 1) std::swap(width, height);
  if (rest == 0) return {width, height};
  const ShearGeometry g = ShearGeometryFor(width, height, rest);
  return {g.W3, g.H2};
}

std::optional<FaceFit> FitToStandardFace(const FaceLandmarks& points, int width, int height) {
  if (width <= 0 || height <= 0) return std::nullopt;
  const PointF leftEye = Centre(points, landmark::kLeftEye);
  const PointF rightEye = Centre(points, landmark::kRightEye);
  const PointF mouth = MouthCentre(points);
  const double dx = rightEye.X - leftEye.X, dy = rightEye.Y - leftEye.Y;
  if (std::hypot(dx, dy) < 1) return std::nullopt;

  FaceFit fit;
  // y grows downwards, so a right eye lower than the left one gives a
  // positive angle, and a counter-clockwise turn by it raises that eye.
  fit.Angle = RoundEvenInt(std::atan2(dy, dx) * 180 / std::numbers::pi);
  fit.Turned = RotatedSizeOf(width, height, fit.Angle);
  const PointF l = RotatedPoint(leftEye, width, height, fit.Angle);
  const PointF r = RotatedPoint(rightEye, width, height, fit.Angle);
  const PointF m = RotatedPoint(mouth, width, height, fit.Angle);
  const double eyeDistance = r.X - l.X;
  const double eyeLine = (l.Y + r.Y) / 2;
  const double mouthDrop = m.Y - eyeLine;
  if (eyeDistance < 1 || mouthDrop < 1) return std::nullopt;

  // Horizontal scale sx and vertical scale sy = sx × stretch. With the
  // stretch the two distances ask for, both land exactly; a stretch beyond
  // the limit is held at it, and sx then minimises the squared misses of the
  // eye distance and the eye-to-mouth drop together.
  const double wantX = sf::kRightEyeX - sf::kLeftEyeX;
  const double wantY = sf::kMouthY - sf::kEyeLineY;
  const double stretch =
      std::clamp((wantY / mouthDrop) / (wantX / eyeDistance), 1 / kMaxFaceStretch, kMaxFaceStretch);
  const double sx = (wantX * eyeDistance + wantY * stretch * mouthDrop) /
                    (eyeDistance * eyeDistance + stretch * stretch * mouthDrop * mouthDrop);
  const double sy = sx * stretch;

  // Carving resamples the picture to the rectangle's size, taking destination
  // pixel i from source position i / scale, and copies it 1:1 from the
  // rectangle's corner: source point x lands at left + x × scale.
  const int64_t w = std::max<int64_t>(1, RoundEven(sx * fit.Turned.Width));
  const int64_t h = std::max<int64_t>(1, RoundEven(sy * fit.Turned.Height));
  if (!SizeWithinLimits(w, h)) return std::nullopt;
  const double ax = double(w) / fit.Turned.Width, ay = double(h) / fit.Turned.Height;
  const int left = RoundEvenInt(sf::kCentreX - ax * (l.X + r.X) / 2);
  // The vertical misses, if any, are shared between the eye line and the mouth.
  const int top = RoundEvenInt(((sf::kEyeLineY - ay * eyeLine) + (sf::kMouthY - ay * m.Y)) / 2);
  fit.Picture = {left, top, int(w), int(h)};
  const auto land = [&](PointF p) { return PointF{left + ax * p.X, top + ay * p.Y}; };
  fit.LeftEye = land(l);
  fit.RightEye = land(r);
  fit.Mouth = land(m);
  return fit;
}

}  // namespace glamora
