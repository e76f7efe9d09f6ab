// Drawing of the About box's logo.
#include "tools/generators/icons/Logo.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace glamora::icons {

namespace {

const QColor kPlum(91, 42, 94);
const QColor kRosePink(232, 132, 159);
const QColor kGoldHair(214, 150, 60);

// A face in profile looking right, on a grid where the head spans x 10..75
// and y 12..100.
QPainterPath Profile() {
  QPainterPath face(QPointF(38, 12));
  face.cubicTo(55, 10, 66, 20, 66, 33);   // forehead
  face.cubicTo(66, 37, 64, 39, 65, 41);   // brow
  face.cubicTo(68, 46, 73, 51, 74, 55);   // nose
  face.cubicTo(74, 57, 70, 58, 67, 58);   // under the nose
  face.cubicTo(68.5, 60, 69, 62, 67, 63); // upper lip
  face.cubicTo(68.5, 65, 68, 67, 66, 68); // lower lip
  face.cubicTo(66, 71, 67, 75, 64, 78);   // chin
  face.cubicTo(60, 81, 55, 81, 51, 82);   // jaw
  face.lineTo(51, 100);                   // neck
  face.lineTo(25, 100);
  face.cubicTo(26, 90, 22, 80, 20, 72);
  face.cubicTo(12, 60, 10, 40, 16, 27);   // back of the head
  face.cubicTo(22, 16, 30, 12, 38, 12);
  face.closeSubpath();
  return face;
}

// A brush stroke along a curve: thin at both ends, widest a third of the way.
QPainterPath Ribbon(const QPainterPath& spine, double width) {
  constexpr int kSamples = 80;
  QPolygonF left, right;
  for (int i = 0; i <= kSamples; ++i) {
    const double t = double(i) / kSamples;
    const QPointF at = spine.pointAtPercent(t);
    const double angle = spine.angleAtPercent(t) * M_PI / 180.0;
    const QPointF normal(std::sin(angle), std::cos(angle));  // y grows downwards
    const double half = width / 2 * std::pow(std::sin(M_PI * std::pow(t, 0.6)), 0.8);
    left << at + normal * half;
    right << at - normal * half;
  }
  QPainterPath ribbon;
  ribbon.addPolygon(left + QPolygonF(QList<QPointF>(right.rbegin(), right.rend())));
  ribbon.closeSubpath();
  return ribbon;
}

// Hair sweeping back from the forehead over the crown and flowing out behind
// the head in long waves.
QPainterPath Hair() {
  QPainterPath main(QPointF(64, 22));
  main.cubicTo(52, -4, 10, -2, 2, 30);
  main.cubicTo(-6, 58, -30, 40, -60, 60);
  QPainterPath second(QPointF(46, 12));
  second.cubicTo(20, 8, 6, 36, -6, 56);
  second.cubicTo(-18, 76, -40, 70, -64, 84);
  return Ribbon(main, 22).united(Ribbon(second, 14));
}

// A lighter strand beneath the others.
QPainterPath Strand() {
  QPainterPath third(QPointF(30, 16));
  third.cubicTo(14, 30, 18, 58, 6, 78);
  third.cubicTo(-2, 92, -20, 96, -34, 94);
  return Ribbon(third, 9);
}

}  // namespace

QImage RenderLogo(int scale) {
  const int w = 377, h = 53;
  QImage image(w * scale, h * scale, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(scale, scale);

  QFont font("DejaVu Serif");
  font.setPixelSize(38);
  font.setItalic(true);
  font.setBold(true);
  QPainterPath word;
  word.addText(0, 0, font, "Glamora");
  const QRectF wordBox = word.boundingRect();

  // Emblem and word side by side, centred in the band.
  constexpr double kEmblemScale = 0.5;
  const QRectF emblemBox(-64, 0, 64 + 75, 100);  // the emblem's grid extent
  const double gap = 12;
  const double total = emblemBox.width() * kEmblemScale + gap + wordBox.width();
  const double left = (w - total) / 2;

  p.save();
  p.translate(left - emblemBox.left() * kEmblemScale, 1.5);
  p.scale(kEmblemScale, kEmblemScale);
  p.fillPath(Profile(), kRosePink);
  p.fillPath(Strand(), kGoldHair);
  p.fillPath(Hair(), kPlum);
  p.restore();

  const double wordLeft = left + emblemBox.width() * kEmblemScale + gap;
  p.translate(wordLeft - wordBox.left(), 37);
  p.fillPath(word, kPlum);

  // A thin swash under the word, in the face's colour.
  QPainterPath swash(QPointF(wordBox.left() + 4, 8));
  swash.cubicTo(wordBox.left() + wordBox.width() * 0.4, 13, wordBox.right() - wordBox.width() * 0.3, 4,
                wordBox.right() + 6, 7);
  p.strokePath(swash, QPen(kRosePink, 2.2, Qt::SolidLine, Qt::RoundCap));
  p.end();
  return image;
}

QImage RenderAppIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  // A 128-unit grid whatever the size, with a margin that menus expect.
  p.scale(size / 128.0, size / 128.0);
  const QRectF tile(6, 6, 116, 116);
  p.setPen(QPen(kPlum, 4));
  p.setBrush(QColor(253, 244, 240));
  p.drawRoundedRect(tile, 22, 22);
  // The emblem spans x -64..75 and y 0..100 of its own grid; the tile clips
  // the hair that flows out behind the head.
  QPainterPath inside;
  inside.addRoundedRect(tile.adjusted(2, 2, -2, -2), 20, 20);
  p.setClipPath(inside);
  p.translate(40, 18);
  p.scale(0.9, 0.9);
  p.setPen(Qt::NoPen);
  p.fillPath(Profile(), kRosePink);
  p.fillPath(Strand(), kGoldHair);
  p.fillPath(Hair(), kPlum);
  p.end();
  return image;
}

}  // namespace glamora::icons
