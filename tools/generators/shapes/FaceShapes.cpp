// Drawing of the face expert's five face shapes, their templates and masks.
#include "tools/generators/shapes/FaceShapes.h"

#include <algorithm>
#include <cmath>

#include "face/StandardFace.h"

namespace glamora::shapes {

namespace sf = glamora::standard_face;

namespace {

struct Profile {
  double Top;       // forehead
  double Chin;      // bottom of the chin
  double HalfWidth; // widest half width
  double Exponent;  // 2 gives an ellipse, larger values square the corners
  double Taper;     // 0 keeps forehead and jaw alike; > 0 narrows the forehead and widens the jaw
};

Profile ProfileOf(FaceShape shape) {
  switch (shape) {
    case FaceShape::Oval:
      return {double(sf::kFaceTop), double(sf::kChinY), double(sf::kFaceRadiusX), 2.0, 0.0};
    case FaceShape::Wide:
      return {72, 254, 72, 2.3, 0.0};
    case FaceShape::Long:
      return {54, 266, 53, 2.0, 0.0};
    case FaceShape::Rect:
      return {64, 260, 60, 3.6, 0.0};
    case FaceShape::Try:
      return {68, 258, 66, 2.6, 0.30};
  }
  return {};
}

QPointF Mirror(QPointF p) { return {2.0 * sf::kCentreX - p.x(), p.y()}; }

// Left-side geometry, mirrored for the right side.
QPointF OnSide(Side side, double x, double y) {
  const QPointF p(x, y);
  return side == Side::Left ? p : Mirror(p);
}

double LeftEdgeAt(FaceShape shape, double y) { return sf::kCentreX - FaceHalfWidth(shape, y); }

}  // namespace

const char* ShapeName(FaceShape shape) {
  switch (shape) {
    case FaceShape::Oval: return "Oval";
    case FaceShape::Wide: return "Wide";
    case FaceShape::Long: return "Long";
    case FaceShape::Rect: return "Rect";
    case FaceShape::Try: return "Try";
  }
  return "";
}

double FaceTop(FaceShape shape) { return ProfileOf(shape).Top; }
double FaceChin(FaceShape shape) { return ProfileOf(shape).Chin; }

double FaceHalfWidth(FaceShape shape, double y) {
  const Profile p = ProfileOf(shape);
  if (y <= p.Top || y >= p.Chin) return 0.0;
  const double t = (y - p.Top) / (p.Chin - p.Top);  // 0 at the forehead, 1 at the chin
  const double s = std::abs(2.0 * t - 1.0);
  // A superellipse |x/a|^n + |s|^n = 1, scaled from forehead to jaw by the taper.
  const double round = std::pow(1.0 - std::pow(s, p.Exponent), 1.0 / p.Exponent);
  const double taper = 1.0 + p.Taper * (std::min(t, 0.78) / 0.78 - 0.62);
  return p.HalfWidth * round * taper;
}

QPolygonF FaceOutline(FaceShape shape) {
  const Profile p = ProfileOf(shape);
  constexpr int kSteps = 240;
  QPolygonF outline;
  // Sampled evenly in angle, so the rounded forehead and chin get as many
  // points as the straight cheeks.
  for (int i = 0; i < kSteps; ++i) {
    const double a = 2.0 * M_PI * i / kSteps;
    const double y = (p.Top + p.Chin) / 2.0 - std::cos(a) * (p.Chin - p.Top) / 2.0;
    const double w = FaceHalfWidth(shape, y);
    outline << QPointF(sf::kCentreX + (std::sin(a) >= 0 ? w : -w), y);
  }
  return outline;
}

QPainterPath EarRim(FaceShape shape, Side side) {
  const double top = sf::kEarTop;
  const double bottom = sf::kEarBottom;
  const double topX = LeftEdgeAt(shape, top);
  const double bottomX = LeftEdgeAt(shape, bottom);
  const double outer = std::min(topX, bottomX);
  QPainterPath rim(OnSide(side, topX, top));
  rim.cubicTo(OnSide(side, topX - 5, top - 9), OnSide(side, outer - 14, top + 1), OnSide(side, outer - 12, top + 18));
  rim.cubicTo(OnSide(side, outer - 11, top + 36), OnSide(side, bottomX - 9, bottom + 2), OnSide(side, bottomX, bottom));
  return rim;
}

QPainterPath EarFold(FaceShape shape, Side side) {
  const double outer = std::min(LeftEdgeAt(shape, sf::kEarTop), LeftEdgeAt(shape, sf::kEarBottom));
  const double top = sf::kEarTop;
  QPainterPath fold(OnSide(side, outer - 1, top + 7));
  fold.cubicTo(OnSide(side, outer - 9, top + 8), OnSide(side, outer - 8, top + 30), OnSide(side, outer - 2, top + 40));
  return fold;
}

namespace {

// Left side of the neck and the left shoulder, from the top of the neck to
// just beyond the picture's left edge.
QPainterPath LeftNeckLine() {
  const double neck = sf::kNeckLeft;
  QPainterPath line(QPointF(neck, sf::kNeckTop));
  line.lineTo(neck, sf::kShoulderY - 12);
  line.cubicTo(neck, sf::kShoulderY + 6, neck - 36, sf::kShoulderY + 7, sf::kShoulderLeft - 2, sf::kShoulderY + 16);
  return line;
}

QPainterPath Mirrored(const QPainterPath& path) {
  QTransform mirror;
  mirror.translate(2.0 * sf::kCentreX, 0);
  mirror.scale(-1, 1);
  return mirror.map(path);
}

}  // namespace

QPainterPath NeckAndShoulderLines() {
  QPainterPath lines = LeftNeckLine();
  lines.addPath(Mirrored(LeftNeckLine()));
  return lines;
}

QPainterPath Silhouette(FaceShape shape) {
  QPainterPath face;
  face.addPolygon(FaceOutline(shape));
  face.closeSubpath();

  QPainterPath ears;
  for (Side side : {Side::Left, Side::Right}) {
    QPainterPath ear = EarRim(shape, side);
    ear.closeSubpath();
    ears.addPath(ear);
  }

  // The neck and shoulders run down past the bottom edge so the area reaches
  // the picture's bottom corners.
  const double below = sf::kHeight + 2;
  QPainterPath body = LeftNeckLine();
  body.lineTo(sf::kShoulderLeft - 2, below);
  body.lineTo(sf::kShoulderRight + 2, below);
  body.connectPath(Mirrored(LeftNeckLine()).toReversed());
  body.closeSubpath();

  return face.united(ears).united(body);
}

}  // namespace glamora::shapes
