// The head every hairstyle is drawn on, from the standard face geometry.
#include "tools/generators/hairstyles/Head.h"

#include <cmath>

namespace glamora::hairgen::head {

namespace {

constexpr double kPi = 3.14159265358979323846;

QPointF EllipsePoint(double cx, double cy, double rx, double ry, double degrees) {
  double a = degrees * kPi / 180.0;
  return {cx + rx * std::cos(a), cy + ry * std::sin(a)};
}

double HalfWidth(double cy, double rx, double ry, double y) {
  double d = (y - cy) / ry;
  return std::abs(d) >= 1 ? 0 : rx * std::sqrt(1 - d * d);
}

}  // namespace

QPointF FacePoint(double degrees, double grow) {
  return EllipsePoint(kCx, sf::kFaceCentreY, sf::kFaceRadiusX + grow, sf::kFaceRadiusY + grow, degrees);
}

QPointF SkullPoint(double degrees, double grow) {
  return EllipsePoint(kCx, kSkullCentreY, kSkullRadiusX + grow, kSkullRadiusY + grow, degrees);
}

double FaceHalfWidth(double y) { return HalfWidth(sf::kFaceCentreY, sf::kFaceRadiusX, sf::kFaceRadiusY, y); }

double SkullHalfWidth(double y) { return HalfWidth(kSkullCentreY, kSkullRadiusX, kSkullRadiusY, y); }

double FaceEdgeX(int side, double y) { return kCx + side * FaceHalfWidth(y); }

double SkullEdgeX(int side, double y) { return kCx + side * SkullHalfWidth(y); }

double HairlineY(double x) {
  double d = (x - kCx) / sf::kFaceRadiusX;
  if (std::abs(d) >= 1) return sf::kFaceCentreY;
  return sf::kFaceCentreY - sf::kFaceRadiusY * std::sqrt(1 - d * d);
}

double NaturalHairlineY(double x) {
  // A superellipse: flat across the middle of the forehead, steep at the temples.
  constexpr double kRoundness = 2.0;
  const double d = std::abs(x - kCx) / kTempleHalfWidth;
  if (d >= 1) return kTempleY;
  return kTempleY - (kTempleY - kHairlineTopY) * std::pow(1 - std::pow(d, kRoundness), 1 / kRoundness);
}

double FaceRadius(QPointF p) {
  double dx = (p.x() - kCx) / sf::kFaceRadiusX;
  double dy = (p.y() - sf::kFaceCentreY) / sf::kFaceRadiusY;
  return std::sqrt(dx * dx + dy * dy);
}

QPainterPath FaceOval(double grow) {
  QPainterPath path;
  path.addEllipse(QPointF(kCx, sf::kFaceCentreY), sf::kFaceRadiusX + grow, sf::kFaceRadiusY + grow);
  return path;
}

QPainterPath OvalOpening() { return FaceOval(-kOverlap); }

QPainterPath HairOpening() {
  QPainterPath below;
  const double left = kCx - sf::kFaceRadiusX - 2, right = kCx + sf::kFaceRadiusX + 2;
  below.moveTo(left, sf::kHeight);
  for (double x = left; x <= right; x += 0.5) below.lineTo(x, NaturalHairlineY(x));
  below.lineTo(right, sf::kHeight);
  below.closeSubpath();
  return OvalOpening().intersected(below);
}

QPainterPath Skull(double grow) {
  QPainterPath path;
  path.addEllipse(QPointF(kCx, kSkullCentreY), kSkullRadiusX + grow, kSkullRadiusY + grow);
  return path;
}

QPainterPath ForeheadAbove(double y) {
  QPainterPath hairline;
  hairline.moveTo(kCx - sf::kFaceRadiusX - 4, 0);
  for (int x = int(kCx) - sf::kFaceRadiusX - 4; x <= int(kCx) + sf::kFaceRadiusX + 4; ++x) {
    const double d = (x - kCx) / 52.0;
    hairline.lineTo(x, y + 16 * d * d * d * d);
  }
  hairline.lineTo(kCx + sf::kFaceRadiusX + 4, 0);
  hairline.closeSubpath();
  return FaceOval(1).intersected(hairline);
}

QPainterPath FaceCore() {
  // The face oval narrowed to keep clear of the eyes' outer corners, from
  // the eyebrows down to the chin.
  QPainterPath narrowed;
  narrowed.addEllipse(QPointF(kCx, sf::kFaceCentreY), sf::kFaceRadiusX * 0.78, sf::kFaceRadiusY);
  QPainterPath below;
  below.addRect(0, kFringeLimitY, sf::kWidth, sf::kHeight);
  return narrowed.intersected(below);
}

QPainterPath NeckCore() {
  QPainterPath path;
  path.addRect(sf::kNeckLeft + 6, sf::kNeckTop, sf::kNeckRight - sf::kNeckLeft - 12, sf::kHeight - sf::kNeckTop + 20);
  return path;
}

}  // namespace glamora::hairgen::head
