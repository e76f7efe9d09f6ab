// Drawing of the shapes icons are put together from, on the 32 × 32 grid.
#include "tools/generators/icons/Glyphs.h"

#include <QFont>
#include <QTransform>
#include <cmath>

namespace glamora::icons {

using namespace palette;

void Fill(QPainter& p, const QPainterPath& path, const QColor& fill, double outline) {
  p.fillPath(path, fill);
  if (outline > 0) p.strokePath(path, QPen(fill.darker(165), outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void Line(QPainter& p, const QPainterPath& path, const QColor& colour, double width) {
  p.strokePath(path, QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

QPainterPath RoundRect(const QRectF& r, double radius) {
  QPainterPath path;
  path.addRoundedRect(r, radius, radius);
  return path;
}

QPainterPath RectPath(const QRectF& r) {
  QPainterPath path;
  path.addRect(r);
  return path;
}

QPainterPath Circle(QPointF centre, double radius) {
  QPainterPath path;
  path.addEllipse(centre, radius, radius);
  return path;
}

namespace {

QPainterPath ArrowHead(QPointF tip, QPointF direction, double head) {
  const double len = std::hypot(direction.x(), direction.y());
  const QPointF d = direction / len;
  const QPointF n(-d.y(), d.x());
  QPainterPath path(tip + d * (head * 0.15));
  path.lineTo(tip - d * head + n * head * 0.95);
  path.lineTo(tip - d * head - n * head * 0.95);
  path.closeSubpath();
  return path;
}

}  // namespace

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour, double width, double head) {
  const QPointF d = to - from;
  const double len = std::hypot(d.x(), d.y());
  const QPointF shaftEnd = to - d / len * (head * 0.8);
  QPainterPath shaft(from);
  shaft.lineTo(shaftEnd);
  p.strokePath(shaft, QPen(colour.darker(150), width + 1.4, Qt::SolidLine, Qt::RoundCap));
  const QPainterPath tip = ArrowHead(to, d, head);
  p.strokePath(tip, QPen(colour.darker(150), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.strokePath(shaft, QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
  p.fillPath(tip, colour);
}

void ArcArrow(QPainter& p, QPointF centre, double radius, double startDeg, double spanDeg, const QColor& colour,
              double width) {
  const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
  const double headDeg = (spanDeg > 0 ? 1 : -1) * std::min(std::abs(spanDeg) * 0.3, 55.0);
  QPainterPath arc;
  arc.arcMoveTo(box, startDeg);
  arc.arcTo(box, startDeg, spanDeg - headDeg * 0.6);
  const double end = (startDeg + spanDeg) * M_PI / 180.0;
  const QPointF tip(centre.x() + radius * std::cos(end), centre.y() - radius * std::sin(end));
  // Tangent at the end of the arc, in the direction of travel (y grows downwards).
  const double sign = spanDeg > 0 ? 1 : -1;
  const QPointF tangent(-std::sin(end) * sign, -std::cos(end) * sign);
  const double head = width * 1.9;
  const QPainterPath tipPath = ArrowHead(tip, tangent, head);
  p.strokePath(arc, QPen(colour.darker(150), width + 1.4, Qt::SolidLine, Qt::RoundCap));
  p.strokePath(tipPath, QPen(colour.darker(150), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.strokePath(arc, QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
  p.fillPath(tipPath, colour);
}

void Text(QPainter& p, const QString& text, QPointF centre, double height, const QColor& colour, bool bold) {
  QFont font("DejaVu Sans");
  font.setPixelSize(100);
  font.setBold(bold);
  QPainterPath path;
  path.addText(0, 0, font, text);
  const QRectF box = path.boundingRect();
  // Scale so capitals are `height` tall (a capital of DejaVu Sans is 0.73 em).
  const double s = height / 73.0;
  QTransform t;
  t.translate(centre.x(), centre.y());
  t.scale(s, s);
  t.translate(-box.center().x(), -box.center().y());
  p.fillPath(t.map(path), colour);
}

void PlusBadge(QPainter& p, QPointF c, double r) {
  Fill(p, Circle(c, r), kGreen, 1.0);
  QPainterPath plus(QPointF(c.x() - r * 0.55, c.y()));
  plus.lineTo(c.x() + r * 0.55, c.y());
  plus.moveTo(c.x(), c.y() - r * 0.55);
  plus.lineTo(c.x(), c.y() + r * 0.55);
  Line(p, plus, kPaper, r * 0.36);
}

void StarBadge(QPainter& p, QPointF c, double r, const QColor& colour) {
  QPainterPath star;
  for (int i = 0; i < 10; ++i) {
    const double a = -M_PI / 2 + i * M_PI / 5;
    const double rr = i % 2 == 0 ? r : r * 0.45;
    const QPointF pt(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
    if (i == 0) star.moveTo(pt); else star.lineTo(pt);
  }
  star.closeSubpath();
  Fill(p, star, colour, 1.0);
}

void Folder(QPainter& p, const QRectF& r) {
  const double tab = r.width() * 0.38;
  QPainterPath back(QPointF(r.left(), r.top() + 3));
  back.lineTo(r.left(), r.bottom());
  back.lineTo(r.right(), r.bottom());
  back.lineTo(r.right(), r.top() + 5);
  back.lineTo(r.left() + tab + 3, r.top() + 5);
  back.lineTo(r.left() + tab, r.top() + 1.5);
  back.lineTo(r.left() + 1.5, r.top() + 1.5);
  back.closeSubpath();
  Fill(p, back, kFolder.darker(115));
  QPainterPath front(QPointF(r.left() + 3, r.top() + 9));
  front.lineTo(r.right() + 1.5, r.top() + 9);
  front.lineTo(r.right(), r.bottom());
  front.lineTo(r.left(), r.bottom());
  front.closeSubpath();
  Fill(p, front, kFolder);
}

void Photo(QPainter& p, const QRectF& r) {
  Fill(p, RoundRect(r, 1.5), kPaper);
  const QRectF in = r.adjusted(2, 2, -2, -2);
  p.fillRect(in, kSky);
  p.save();
  p.setClipRect(in);
  QPainterPath hills(QPointF(in.left(), in.bottom()));
  hills.lineTo(in.left(), in.bottom() - in.height() * 0.3);
  hills.lineTo(in.left() + in.width() * 0.35, in.top() + in.height() * 0.4);
  hills.lineTo(in.left() + in.width() * 0.6, in.bottom() - in.height() * 0.3);
  hills.lineTo(in.left() + in.width() * 0.75, in.bottom() - in.height() * 0.45);
  hills.lineTo(in.right(), in.bottom() - in.height() * 0.15);
  hills.lineTo(in.right(), in.bottom());
  hills.closeSubpath();
  p.fillPath(hills, kLeaf);
  p.fillPath(Circle(QPointF(in.right() - in.width() * 0.22, in.top() + in.height() * 0.28), in.height() * 0.16), kGold);
  p.restore();
}

void FaceHead(QPainter& p, QPointF c, double r, bool withHair) {
  if (withHair) {
    // Hair behind the head, falling to the jaw.
    QPainterPath back;
    back.addRoundedRect(QRectF(c.x() - r * 1.2, c.y() - r * 1.2, r * 2.4, r * 2.2), r * 1.0, r * 1.0);
    Fill(p, back, kHair);
  }
  QPainterPath head;
  head.addEllipse(c, r * 0.86, r);
  Fill(p, head, kSkin);
  if (withHair) {
    QPainterPath fringe;
    fringe.moveTo(c.x() - r * 0.95, c.y() - r * 0.05);
    fringe.cubicTo(c.x() - r * 1.0, c.y() - r * 1.25, c.x() + r * 1.0, c.y() - r * 1.25, c.x() + r * 0.95,
                   c.y() - r * 0.05);
    fringe.cubicTo(c.x() + r * 0.5, c.y() - r * 0.6, c.x() - r * 0.1, c.y() - r * 0.45, c.x() - r * 0.95,
                   c.y() - r * 0.05);
    Fill(p, fringe, kHair, 0.8);
  }
  const double eyeY = c.y() + r * 0.12;
  p.fillPath(Circle(QPointF(c.x() - r * 0.34, eyeY), r * 0.11), kInk);
  p.fillPath(Circle(QPointF(c.x() + r * 0.34, eyeY), r * 0.11), kInk);
  QPainterPath smile(QPointF(c.x() - r * 0.3, c.y() + r * 0.5));
  smile.quadTo(c.x(), c.y() + r * 0.72, c.x() + r * 0.3, c.y() + r * 0.5);
  Line(p, smile, kLip, std::max(1.0, r * 0.13));
}

void HairBob(QPainter& p, const QRectF& r, const QColor& colour) {
  const double cx = r.center().x();
  QPainterPath hair(QPointF(r.left() + r.width() * 0.06, r.bottom()));
  hair.cubicTo(r.left() - r.width() * 0.06, r.top() + r.height() * 0.45, r.left() + r.width() * 0.05, r.top(), cx,
               r.top());
  hair.cubicTo(r.right() - r.width() * 0.05, r.top(), r.right() + r.width() * 0.06, r.top() + r.height() * 0.45,
               r.right() - r.width() * 0.06, r.bottom());
  hair.cubicTo(r.right() - r.width() * 0.2, r.bottom() + r.height() * 0.04, r.right() - r.width() * 0.24,
               r.bottom() - r.height() * 0.04, r.right() - r.width() * 0.24, r.bottom() - r.height() * 0.1);
  // The face opening.
  hair.lineTo(r.right() - r.width() * 0.24, r.top() + r.height() * 0.48);
  hair.cubicTo(r.right() - r.width() * 0.3, r.top() + r.height() * 0.3, cx + r.width() * 0.05,
               r.top() + r.height() * 0.3, cx - r.width() * 0.05, r.top() + r.height() * 0.26);
  hair.cubicTo(cx - r.width() * 0.15, r.top() + r.height() * 0.38, r.left() + r.width() * 0.28,
               r.top() + r.height() * 0.35, r.left() + r.width() * 0.24, r.top() + r.height() * 0.5);
  hair.lineTo(r.left() + r.width() * 0.24, r.bottom() - r.height() * 0.1);
  hair.cubicTo(r.left() + r.width() * 0.24, r.bottom() - r.height() * 0.04, r.left() + r.width() * 0.2,
               r.bottom() + r.height() * 0.04, r.left() + r.width() * 0.06, r.bottom());
  hair.closeSubpath();
  Fill(p, hair, colour);
  // Strands.
  QPainterPath strands(QPointF(cx - r.width() * 0.05, r.top() + r.height() * 0.1));
  strands.quadTo(r.left() + r.width() * 0.12, r.top() + r.height() * 0.25, r.left() + r.width() * 0.12,
                 r.bottom() - r.height() * 0.1);
  strands.moveTo(cx + r.width() * 0.08, r.top() + r.height() * 0.1);
  strands.quadTo(r.right() - r.width() * 0.12, r.top() + r.height() * 0.25, r.right() - r.width() * 0.12,
                 r.bottom() - r.height() * 0.12);
  Line(p, strands, colour.lighter(135), 0.9);
}

void HelpMark(QPainter& p, QPointF c, double r) {
  Fill(p, Circle(c, r), kBlue, 1.0);
  Text(p, "?", QPointF(c.x() + r * 0.03, c.y()), r * 1.15, kPaper);
}

void InfoMark(QPainter& p, QPointF c, double r) {
  Fill(p, Circle(c, r), kBlue, 1.0);
  Text(p, "i", c, r * 1.15, kPaper);
}

void TrashCan(QPainter& p, const QRectF& r) {
  const double w = r.width();
  QPainterPath body(QPointF(r.left() + w * 0.12, r.top() + r.height() * 0.22));
  body.lineTo(r.right() - w * 0.12, r.top() + r.height() * 0.22);
  body.lineTo(r.right() - w * 0.2, r.bottom());
  body.lineTo(r.left() + w * 0.2, r.bottom());
  body.closeSubpath();
  Fill(p, body, kMist);
  QPainterPath ribs;
  for (double f : {0.36, 0.5, 0.64}) {
    ribs.moveTo(r.left() + w * f, r.top() + r.height() * 0.34);
    ribs.lineTo(r.left() + w * (0.5 + (f - 0.5) * 0.8), r.bottom() - r.height() * 0.1);
  }
  Line(p, ribs, kSteel, 1.3);
  Fill(p, RoundRect(QRectF(r.left(), r.top() + r.height() * 0.1, w, r.height() * 0.12), 1.0), kRed);
  Fill(p, RoundRect(QRectF(r.left() + w * 0.36, r.top(), w * 0.28, r.height() * 0.12), 1.0), kRed);
}

void Printer(QPainter& p, const QRectF& r) {
  const double w = r.width(), h = r.height();
  Fill(p, RectPath(QRectF(r.left() + w * 0.2, r.top(), w * 0.6, h * 0.4)), kPaper);
  Fill(p, RoundRect(QRectF(r.left(), r.top() + h * 0.32, w, h * 0.45), 2.0), kSteel);
  p.fillPath(Circle(QPointF(r.right() - w * 0.12, r.top() + h * 0.45), w * 0.04), kLeaf);
  const QPainterPath sheet = RectPath(QRectF(r.left() + w * 0.2, r.top() + h * 0.62, w * 0.6, h * 0.38));
  Fill(p, sheet, kPaper);
  QPainterPath lines;
  for (double f : {0.74, 0.84}) {
    lines.moveTo(r.left() + w * 0.3, r.top() + h * f);
    lines.lineTo(r.right() - w * 0.3, r.top() + h * f);
  }
  Line(p, lines, kSteel, 1.0);
}

void Die(QPainter& p, QPointF c, double size, double angleDeg, int pips) {
  p.save();
  p.translate(c);
  p.rotate(angleDeg);
  const QRectF r(-size / 2, -size / 2, size, size);
  Fill(p, RoundRect(r, size * 0.18), kPaper, 1.3);
  const double o = size * 0.26;
  const double pr = size * 0.09;
  auto pip = [&](double x, double y) { p.fillPath(Circle(QPointF(x, y), pr), kRose); };
  if (pips % 2 == 1) pip(0, 0);
  if (pips >= 2) { pip(-o, -o); pip(o, o); }
  if (pips >= 4) { pip(o, -o); pip(-o, o); }
  if (pips == 6) { pip(-o, 0); pip(o, 0); }
  p.restore();
}

void Disk(QPainter& p, const QRectF& r) {
  const double w = r.width(), h = r.height();
  QPainterPath body(r.topLeft());
  body.lineTo(r.right() - w * 0.16, r.top());
  body.lineTo(r.right(), r.top() + h * 0.16);
  body.lineTo(r.bottomRight());
  body.lineTo(r.bottomLeft());
  body.closeSubpath();
  Fill(p, body, kBlue);
  Fill(p, RectPath(QRectF(r.left() + w * 0.22, r.top(), w * 0.5, h * 0.32)), kMist, 1.0);
  p.fillRect(QRectF(r.left() + w * 0.52, r.top() + h * 0.05, w * 0.11, h * 0.2), kSteel);
  Fill(p, RoundRect(QRectF(r.left() + w * 0.14, r.top() + h * 0.5, w * 0.72, h * 0.42), 1.0), kPaper, 1.0);
}

void Door(QPainter& p, const QRectF& r) {
  const double w = r.width(), h = r.height();
  Fill(p, RectPath(QRectF(r.left(), r.top(), w * 0.62, h)), kMist);
  QPainterPath leaf(QPointF(r.left(), r.top()));
  leaf.lineTo(r.left() + w * 0.42, r.top() + h * 0.1);
  leaf.lineTo(r.left() + w * 0.42, r.bottom() + h * 0.02);
  leaf.lineTo(r.left(), r.bottom());
  leaf.closeSubpath();
  Fill(p, leaf, kWood);
  p.fillPath(Circle(QPointF(r.left() + w * 0.33, r.top() + h * 0.55), w * 0.045), kInk);
  Arrow(p, QPointF(r.left() + w * 0.55, r.top() + h * 0.5), QPointF(r.right(), r.top() + h * 0.5), kRed, 3.2, 4.5);
}

void Envelope(QPainter& p, const QRectF& r) {
  Fill(p, RoundRect(r, 1.5), kPaper);
  QPainterPath flap(r.topLeft() + QPointF(1, 1));
  flap.lineTo(r.center().x(), r.top() + r.height() * 0.58);
  flap.lineTo(r.topRight() + QPointF(-1, 1));
  Line(p, flap, kSteel, 1.3);
}

void Magnifier(QPainter& p, QPointF c, double r) {
  QPainterPath handle(c + QPointF(r * 0.7, r * 0.7));
  handle.lineTo(c + QPointF(r * 1.6, r * 1.6));
  Line(p, handle, kInk, r * 0.42);
  Fill(p, Circle(c, r), QColor(220, 238, 252), 1.2);
  p.strokePath(Circle(c, r), QPen(kSteel, 1.6));
}

void Scissors(QPainter& p, QPointF at, double s, double angleDeg) {
  p.save();
  p.translate(at);
  p.rotate(angleDeg);
  p.scale(s, s);
  // Blades pointing right, crossing at the origin; rings on the left.
  QPainterPath blade1(QPointF(-2, 1.5));
  blade1.lineTo(12, -4.5);
  blade1.lineTo(12.5, -3.4);
  blade1.lineTo(2, 2.5);
  blade1.closeSubpath();
  QPainterPath blade2(QPointF(-2, -1.5));
  blade2.lineTo(12, 4.5);
  blade2.lineTo(12.5, 3.4);
  blade2.lineTo(2, -2.5);
  blade2.closeSubpath();
  Fill(p, blade1, kMist, 1.0);
  Fill(p, blade2, kMist, 1.0);
  QPainterPath rings;
  rings.addEllipse(QPointF(-6.5, -4.2), 3.2, 2.6);
  rings.addEllipse(QPointF(-6.5, 4.2), 3.2, 2.6);
  p.strokePath(rings, QPen(kRose, 2.0));
  QPainterPath arms(QPointF(-3.6, -3.0));
  arms.lineTo(0, 0);
  arms.lineTo(-3.6, 3.0);
  Line(p, arms, kRose, 2.0);
  p.fillPath(Circle(QPointF(0.5, 0), 0.9), kInk);
  p.restore();
}

void Wand(QPainter& p, QPointF from, QPointF to) {
  QPainterPath stick(from);
  stick.lineTo(to);
  Line(p, stick, kInk, 3.0);
  QPainterPath tip(to);
  tip.lineTo(to + (from - to) * 0.22);
  Line(p, tip, kPaper, 1.6);
  StarBadge(p, to, 5.5);
}

void Eraser(QPainter& p, QPointF c, double size) {
  p.save();
  p.translate(c);
  p.rotate(-35);
  const QRectF body(-size * 0.75, -size * 0.35, size * 1.5, size * 0.7);
  Fill(p, RoundRect(body, size * 0.12), QColor(240, 150, 170), 1.2);
  Fill(p, RoundRect(QRectF(body.left(), body.top(), size * 0.55, body.height()), size * 0.12), kBlue, 1.2);
  p.restore();
}

void Eye(QPainter& p, QPointF c, double hw, const QColor& shadow) {
  const double h = hw * 0.62;
  QPainterPath lid(QPointF(c.x() - hw * 1.1, c.y()));
  lid.cubicTo(c.x() - hw * 0.6, c.y() - h * 2.0, c.x() + hw * 0.6, c.y() - h * 2.0, c.x() + hw * 1.1, c.y());
  lid.cubicTo(c.x() + hw * 0.5, c.y() - h * 0.9, c.x() - hw * 0.5, c.y() - h * 0.9, c.x() - hw * 1.1, c.y());
  p.fillPath(lid, shadow);
  QPainterPath eye(QPointF(c.x() - hw, c.y()));
  eye.cubicTo(c.x() - hw * 0.5, c.y() - h, c.x() + hw * 0.5, c.y() - h, c.x() + hw, c.y());
  eye.cubicTo(c.x() + hw * 0.5, c.y() + h, c.x() - hw * 0.5, c.y() + h, c.x() - hw, c.y());
  p.fillPath(eye, kPaper);
  p.save();
  p.setClipPath(eye);
  p.fillPath(Circle(c, h * 0.8), kBlue.darker(120));
  p.fillPath(Circle(c, h * 0.38), kInk);
  p.fillPath(Circle(c + QPointF(h * 0.25, -h * 0.25), h * 0.15), kPaper);
  p.restore();
  p.strokePath(eye, QPen(kInk, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  // Lashes.
  QPainterPath lashes;
  for (double f : {-0.6, -0.2, 0.2, 0.6}) {
    const QPointF base(c.x() + hw * f, c.y() - h * (1.0 - f * f) * 0.75);
    lashes.moveTo(base);
    lashes.lineTo(base + QPointF(f * 1.5, -h * 0.45));
  }
  Line(p, lashes, kInk, 1.0);
}

void Lips(QPainter& p, QPointF c, double hw, const QColor& fill, bool outlineOnly) {
  const double h = hw * 0.55;
  QPainterPath lips(QPointF(c.x() - hw, c.y()));
  lips.cubicTo(c.x() - hw * 0.6, c.y() - h * 0.7, c.x() - hw * 0.35, c.y() - h * 1.1, c.x() - hw * 0.12, c.y() - h * 0.9);
  lips.quadTo(c.x(), c.y() - h * 0.75, c.x() + hw * 0.12, c.y() - h * 0.9);
  lips.cubicTo(c.x() + hw * 0.35, c.y() - h * 1.1, c.x() + hw * 0.6, c.y() - h * 0.7, c.x() + hw, c.y());
  lips.cubicTo(c.x() + hw * 0.6, c.y() + h * 1.2, c.x() - hw * 0.6, c.y() + h * 1.2, c.x() - hw, c.y());
  lips.closeSubpath();
  QPainterPath parting(QPointF(c.x() - hw * 0.9, c.y()));
  parting.cubicTo(c.x() - hw * 0.4, c.y() + h * 0.15, c.x() + hw * 0.4, c.y() + h * 0.15, c.x() + hw * 0.9, c.y());
  if (outlineOnly) {
    p.fillPath(lips, kSkin);
    Line(p, lips, fill, 2.0);
    Line(p, parting, kSkin.darker(140), 1.0);
  } else {
    Fill(p, lips, fill, 1.0);
    Line(p, parting, fill.darker(160), 1.0);
    QPainterPath shine(QPointF(c.x() - hw * 0.35, c.y() + h * 0.45));
    shine.quadTo(c.x() - hw * 0.1, c.y() + h * 0.6, c.x() + hw * 0.15, c.y() + h * 0.5);
    Line(p, shine, fill.lighter(150), 1.2);
  }
}

void Lipstick(QPainter& p, QPointF base, double height, double angleDeg) {
  p.save();
  p.translate(base);
  p.rotate(angleDeg);
  const double w = height * 0.34;
  Fill(p, RoundRect(QRectF(-w / 2, -height * 0.42, w, height * 0.42), 1.0), kGold);
  Fill(p, RectPath(QRectF(-w * 0.4, -height * 0.6, w * 0.8, height * 0.18)), kSteel.lighter(130), 1.0);
  QPainterPath stick(QPointF(-w * 0.32, -height * 0.6));
  stick.lineTo(-w * 0.32, -height * 0.86);
  stick.lineTo(w * 0.32, -height);
  stick.lineTo(w * 0.32, -height * 0.6);
  stick.closeSubpath();
  Fill(p, stick, kLip, 1.0);
  p.restore();
}

void Pencil(QPainter& p, QPointF tip, double length, double angleDeg, const QColor& lead) {
  p.save();
  p.translate(tip);
  p.rotate(angleDeg);  // the pencil lies along +x from its tip
  const double w = length * 0.2;
  QPainterPath wood(QPointF(0, 0));
  wood.lineTo(length * 0.24, -w / 2);
  wood.lineTo(length * 0.24, w / 2);
  wood.closeSubpath();
  Fill(p, wood, kWood.lighter(130), 1.0);
  QPainterPath point(QPointF(0, 0));
  point.lineTo(length * 0.09, -w * 0.19);
  point.lineTo(length * 0.09, w * 0.19);
  point.closeSubpath();
  p.fillPath(point, lead);
  Fill(p, RectPath(QRectF(length * 0.24, -w / 2, length * 0.62, w)), lead, 1.0);
  Fill(p, RoundRect(QRectF(length * 0.86, -w / 2, length * 0.14, w), 1.0), QColor(240, 150, 170), 1.0);
  p.restore();
}

void Brush(QPainter& p, QPointF tip, double length, double tuft, double angleDeg, const QColor& paint) {
  p.save();
  p.translate(tip);
  p.rotate(angleDeg);  // the brush lies along +x from its tip
  QPainterPath hairs(QPointF(0, 0));
  hairs.cubicTo(tuft * 0.3, -tuft * 0.55, tuft * 0.9, -tuft * 0.5, tuft, -tuft * 0.38);
  hairs.lineTo(tuft, tuft * 0.38);
  hairs.cubicTo(tuft * 0.9, tuft * 0.5, tuft * 0.3, tuft * 0.55, 0, 0);
  hairs.closeSubpath();
  Fill(p, hairs, paint, 1.0);
  Fill(p, RectPath(QRectF(tuft, -tuft * 0.36, length * 0.16, tuft * 0.72)), kSteel.lighter(130), 1.0);
  QPainterPath handle(QPointF(tuft + length * 0.16, -tuft * 0.3));
  handle.lineTo(length, -tuft * 0.16);
  handle.lineTo(length, tuft * 0.16);
  handle.lineTo(tuft + length * 0.16, tuft * 0.3);
  handle.closeSubpath();
  Fill(p, handle, kInk.lighter(150), 1.0);
  p.restore();
}

void Check(QPainter& p, const QRectF& r, const QColor& colour) {
  QPainterPath tick(QPointF(r.left(), r.top() + r.height() * 0.55));
  tick.lineTo(r.left() + r.width() * 0.38, r.bottom());
  tick.lineTo(r.right(), r.top());
  Line(p, tick, colour.darker(140), 4.6);
  Line(p, tick, colour, 3.2);
}

void Cross(QPainter& p, const QRectF& r, const QColor& colour) {
  QPainterPath cross(r.topLeft());
  cross.lineTo(r.bottomRight());
  cross.moveTo(r.topRight());
  cross.lineTo(r.bottomLeft());
  Line(p, cross, colour.darker(140), 4.6);
  Line(p, cross, colour, 3.2);
}

}  // namespace glamora::icons
