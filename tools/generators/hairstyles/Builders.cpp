// Guide-curve builders for the parts of a hairstyle: backs, sides, partings,
// fringes and tops.
#include "tools/generators/hairstyles/Builders.h"

#include <algorithm>
#include <cmath>

namespace glamora::hairgen {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegrees = 180.0 / kPi;

double Normalised(double degrees) {
  while (degrees < 0) degrees += 360;
  while (degrees >= 360) degrees -= 360;
  return degrees;
}

// Angle of the hairline point above column x on the face oval.
double FaceAngleAt(double x) {
  double y = head::HairlineY(x);
  return Normalised(
      std::atan2((y - head::sf::kFaceCentreY) / head::sf::kFaceRadiusY, (x - head::kCx) / head::sf::kFaceRadiusX) *
      kDegrees);
}

double SkullTopY(double x) {
  double d = std::clamp((x - head::kCx) / head::kSkullRadiusX, -1.0, 1.0);
  return head::kSkullCentreY - head::kSkullRadiusY * std::sqrt(1 - d * d);
}

double SkullAngleAt(double x) {
  double y = SkullTopY(x);
  return Normalised(std::atan2((y - head::kSkullCentreY) / head::kSkullRadiusY, (x - head::kCx) / head::kSkullRadiusX) *
                    kDegrees);
}

double Mix(double a, double b, double t) { return a + (b - a) * t; }

// How far the inner edge of hair lying along the face runs inside the face
// oval: past the overlap band, so the band is covered right to its edge.
constexpr double kReach = head::kOverlap + 2;

Guides Blend(const Points& inner, const Points& outer, int count) {
  Guides guides;
  count = std::max(count, 2);
  for (int g = 0; g < count; ++g) guides.push_back(Curve::Through(LerpKnots(inner, outer, double(g) / (count - 1))));
  return guides;
}

}  // namespace

Guides FallGuides(const Fall& f) {
  const int side = f.side;
  const double frontLength = f.frontLength > 0 ? f.frontLength : f.length;
  // The two sides overlap a little at the parting, so no gap opens between them.
  const double px = f.partX - side * 1.0;
  Points inner, outer;

  inner.emplace_back(px, head::HairlineY(px) + 3);
  if (f.front.size() == 3) {
    inner.insert(inner.end(), f.front.begin(), f.front.end());
  } else {
    const double from = FaceAngleAt(px), to = side < 0 ? 192 : 348;
    for (double u : {1 / 3.0, 2 / 3.0, 1.0}) inner.push_back(head::FacePoint(Mix(from, to, u), -kReach));
  }

  // The outline reaches the side of the head, or stops short for hair cut above the ears.
  const double sideY = std::min(head::kSkullCentreY, f.length - 4);
  const double drop = std::asin(std::clamp((head::kSkullCentreY - sideY) / head::kSkullRadiusY, -1.0, 1.0)) * kDegrees;
  const double sideAngle = side < 0 ? 180 + drop : 360 - drop;
  const double topAngle = SkullAngleAt(px);
  outer.emplace_back(px, SkullTopY(px) - f.volume * 0.7 - f.lift * 0.6);
  for (double u : {1 / 3.0, 2 / 3.0, 1.0}) {
    double a = Mix(topAngle, sideAngle, u);
    double grow = f.volume + f.lift * std::max(0.0, -std::sin(a / kDegrees));
    outer.push_back(head::SkullPoint(a, grow));
  }

  auto innerX = [&](double y) {
    double faceSide = head::FaceEdgeX(side, std::min(y, 222.0)) + side * (f.faceGap > 0 ? f.faceGap - 2 : -kReach);
    if (f.jawX <= 0) return faceSide;
    double straight = head::kCx + side * f.jawX;
    double u = std::clamp((y - 196) / 50, 0.0, 1.0);
    return Mix(faceSide, straight, u * u * (3 - 2 * u));
  };

  const int hanging = std::clamp(int((std::max(f.length, frontLength) - 150) / 34), 0, 4);
  const QPointF innerFrom = inner.back(), outerFrom = outer.back();
  for (int k = 1; k <= hanging; ++k) {
    double u = double(k) / (hanging + 1);
    double y = Mix(innerFrom.y(), frontLength, u);
    inner.emplace_back(innerX(y), y);
    double yo = Mix(outerFrom.y(), f.length, u);
    outer.emplace_back(head::kCx + side * (head::kSkullRadiusX + f.volume + f.spread * std::pow(u, 1.5)), yo);
  }
  if (frontLength > innerFrom.y() + 4) {
    inner.emplace_back(innerX(frontLength) - side * f.tuck * 0.6, frontLength);
  } else {
    inner.push_back(innerFrom + QPointF(side * 2, 4));
  }
  if (f.length > outerFrom.y() + 4) {
    outer.emplace_back(head::kCx + side * (head::kSkullRadiusX + f.volume * 0.85 + f.spread) - side * f.tuck,
                       f.length - std::max(0.0, f.tuck) * 0.3);
  } else {
    outer.push_back(outerFrom + QPointF(-side * 2, 4));
  }
  return Blend(inner, outer, f.guides);
}

Points SweptFront(int side, double partX, double depth) {
  const double start = head::HairlineY(partX) + 3;
  const double temple = head::FaceEdgeX(side, depth) - side * 3;
  return {QPointF(Mix(partX, temple, 0.3), Mix(start, depth, 0.5)), QPointF(Mix(partX, temple, 0.7), depth - 3),
          QPointF(temple, depth + 6)};
}

Points CurtainFront(int side, double depth) {
  const double cx = head::kCx;
  return {QPointF(cx + side * 9, Mix(70, depth, 0.3)), QPointF(cx + side * 30, Mix(70, depth, 0.72)),
          QPointF(cx + side * 50, depth + 2)};
}

Guides BackGuides(const Back& b) {
  Guides guides;
  for (int g = 0; g < b.guides; ++g) {
    double u = 2.0 * g / (b.guides - 1) - 1;  // -1 left .. 1 right
    QPointF root(head::kCx + u * (b.halfWidth - 10), b.top - 20 * (1 - u * u));
    QPointF mid(head::kCx + u * (b.halfWidth + b.spread * 0.3), Mix(b.top, b.length, 0.45));
    QPointF end(head::kCx + u * (b.halfWidth + b.spread), b.length);
    guides.push_back(Curve::Through({root, mid, end}));
  }
  return guides;
}

Guides FringeGuides(const Fringe& fr) {
  Guides guides;
  const double cx = head::kCx;
  for (int g = 0; g < fr.guides; ++g) {
    double u = double(g) / (fr.guides - 1);
    double across = 2 * u - 1;
    double endX = Mix(fr.left, fr.right, u);
    double endY = fr.depth - fr.arch * across * across - (fr.slant > 0 ? fr.slant * (1 - u) : -fr.slant * u);
    double rootX = cx + (endX - cx) * fr.rootSpread;
    double rootY = fr.rootY + 14 * std::pow((rootX - cx) / head::kSkullRadiusX, 2);
    QPointF root(rootX, rootY);
    QPointF end(endX, endY);
    QPointF mid = Lerp(root, end, 0.45) + QPointF(across * fr.bulge, -fr.bulge * 0.4);
    guides.push_back(Curve::Through({root, mid, end}));
  }
  return guides;
}

Guides PulledBackGuides(const PulledBack& p) {
  Guides guides;
  for (int g = 0; g < p.guides; ++g) {
    double u = double(g) / (p.guides - 1);
    double a = Mix(p.fromDegrees, p.toDegrees, u);
    QPointF root = head::FacePoint(a, -2);
    double over = Mix(a, 270, 0.45);
    double bump = std::max(0.0, -std::sin(over / kDegrees));
    QPointF mid = head::SkullPoint(over, p.volume + p.lift * bump * bump);
    QPointF high = Lerp(mid, p.gather, 0.55) + QPointF(0, -p.volume * 0.5 - p.lift * bump * 0.6);
    // Strands from the temples first climb along the side of the skull, so
    // the hair covers it down to the ears.
    QPointF side = head::SkullPoint(Mix(a, 270, 0.12), p.volume * 0.6);
    guides.push_back(Curve::Through({root, side, mid, high, p.gather}));
  }
  return guides;
}

Guides RollGuides(const Roll& r) {
  Guides guides;
  const double from = r.sideFrom > 0 ? 192 + (1 - r.sideFrom) * 30 : FaceAngleAt(r.left);
  const double to = r.sideFrom > 0 ? 348 - (1 - r.sideFrom) * 30 : FaceAngleAt(r.right);
  for (int g = 0; g < r.guides; ++g) {
    double u = double(g) / (r.guides - 1);
    double a = Mix(from, to, u);
    QPointF root = head::FacePoint(a, -2);
    // A flat-topped roll: the strands rise nearly straight above their roots.
    double bump = std::pow(std::sin(kPi * u), 0.5);
    double topX = head::kCx + (root.x() - head::kCx) * 0.92 + r.forward * bump;
    QPointF top(topX, SkullTopY(topX) - 4 - r.height * bump);
    QPointF rise = Lerp(root, top, 0.6) + QPointF((root.x() - head::kCx) * 0.08, -r.height * 0.15 * bump);
    QPointF tip = top + QPointF((top.x() - head::kCx) * 0.08 - r.forward * 0.3, 7 + r.height * 0.15);
    guides.push_back(Curve::Through({root, rise, top, tip}));
  }
  return guides;
}

Points HairlineKnots(int side) {
  Points knots;
  for (double dx : {-3.0, 14.0, 29.0, 39.0, 46.0, 50.0, 52.0}) {
    const double x = head::kCx + side * dx;
    knots.emplace_back(x, head::NaturalHairlineY(x) - 2.5);
  }
  // Past the temple, down the side of the face to below the brows.
  const double y = head::kTempleY + 18;
  knots.emplace_back(head::FaceEdgeX(side, y) - side * kReach, y);
  return knots;
}

Guides HairlineGuides(int side) {
  const Points inner = HairlineKnots(side);
  // The outer edge lies on the skull, out from the face centre through each
  // knot of the hairline.
  Points outer;
  const QPointF centre(head::kCx, head::sf::kFaceCentreY);
  for (const QPointF& knot : inner) {
    const QPointF d = knot - centre;
    const double degrees = Normalised(
        std::atan2(d.y() / head::kSkullRadiusY, d.x() / head::kSkullRadiusX) * kDegrees);
    outer.push_back(Lerp(knot, head::SkullPoint(degrees, -2), 0.8));
  }
  return Blend(inner, outer, 7);
}

Guides TailGuides(const Points& knots, double width, double endWidth, int guides) {
  Curve centre = Curve::Through(knots);
  Guides out;
  constexpr int kSamples = 80;
  for (int g = 0; g < guides; ++g) {
    double u = double(g) / (guides - 1) - 0.5;
    Points points;
    for (int k = 0; k <= kSamples; ++k) {
      double s = double(k) / kSamples;
      double w = Mix(width, endWidth, std::sin(s * kPi / 2));
      // Tails bulge a little below the tie before they narrow to the ends.
      w *= 1 + 0.35 * std::sin(std::min(s * 2.2, 1.0) * kPi) * (1 - s);
      points.push_back(centre.At(s) + Perp(centre.Tangent(s)) * (w * u));
    }
    out.emplace_back(std::move(points));
  }
  return out;
}

Curve HangingPath(QPointF start, double length, double sway, double lean) {
  return Curve::Through({start, start + QPointF(lean * 0.3 + sway, length / 3),
                         start + QPointF(lean * 0.66 - sway, length * 2 / 3), start + QPointF(lean, length)});
}

}  // namespace glamora::hairgen
