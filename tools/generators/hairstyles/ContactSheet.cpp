#include "tools/generators/hairstyles/ContactSheet.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "tools/generators/hairstyles/Head.h"

namespace glamora::hairgen {

namespace sf = glamora::standard_face;

QImage ModelFace() {
  QImage face(sf::kWidth, sf::kHeight, QImage::Format_RGB888);
  face.fill(QColor(236, 238, 240));
  QPainter p(&face);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor skin(226, 188, 160);
  const QColor shadow(205, 165, 138);
  p.setPen(Qt::NoPen);

  QPainterPath body;
  body.moveTo(0, sf::kHeight);
  body.lineTo(0, sf::kShoulderY + 14);
  body.cubicTo(30, sf::kShoulderY - 4, 70, sf::kShoulderY - 6, sf::kNeckLeft, sf::kShoulderY - 16);
  body.lineTo(sf::kNeckLeft, sf::kNeckTop);
  body.lineTo(sf::kNeckRight, sf::kNeckTop);
  body.lineTo(sf::kNeckRight, sf::kShoulderY - 16);
  body.cubicTo(158, sf::kShoulderY - 6, 198, sf::kShoulderY - 4, sf::kWidth, sf::kShoulderY + 14);
  body.lineTo(sf::kWidth, sf::kHeight);
  body.closeSubpath();
  p.fillPath(body, skin);
  p.fillRect(QRectF(sf::kNeckLeft, sf::kNeckTop, sf::kNeckRight - sf::kNeckLeft, 30), shadow);

  const double earY = (sf::kEarTop + sf::kEarBottom) / 2.0;
  const double earHalf = (sf::kEarBottom - sf::kEarTop) / 2.0;
  for (int side : {-1, 1}) {
    p.setBrush(skin);
    p.drawEllipse(QPointF(head::FaceEdgeX(side, earY) + side * 3, earY), 9, earHalf);
  }
  p.setBrush(skin);
  p.drawEllipse(QPointF(sf::kFaceCentreX, sf::kFaceCentreY), sf::kFaceRadiusX, sf::kFaceRadiusY);

  for (int eyeX : {sf::kLeftEyeX, sf::kRightEyeX}) {
    p.setBrush(QColor(250, 250, 248));
    p.setPen(QPen(QColor(120, 80, 60), 1.2));
    p.drawEllipse(QPointF(eyeX, sf::kEyeLineY), sf::kEyeHalfWidth, sf::kEyeHalfHeight);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 110, 130));
    p.drawEllipse(QPointF(eyeX, sf::kEyeLineY), 5, 5);
    p.setBrush(QColor(20, 20, 25));
    p.drawEllipse(QPointF(eyeX, sf::kEyeLineY), 2.2, 2.2);
    QPainterPath brow;
    brow.moveTo(eyeX - 15, sf::kEyeLineY - 9);
    brow.quadTo(eyeX, sf::kEyeLineY - 17, eyeX + 15, sf::kEyeLineY - 10);
    p.strokePath(brow, QPen(QColor(95, 65, 45), 2.6, Qt::SolidLine, Qt::RoundCap));
  }
  QPainterPath nose;
  nose.moveTo(sf::kCentreX - 4, sf::kEyeLineY + 6);
  nose.quadTo(sf::kCentreX - 8, sf::kNoseY - 6, sf::kCentreX - 9, sf::kNoseY);
  nose.quadTo(sf::kCentreX, sf::kNoseY + 5, sf::kCentreX + 9, sf::kNoseY);
  p.strokePath(nose, QPen(shadow.darker(115), 1.4, Qt::SolidLine, Qt::RoundCap));

  QPainterPath lips;
  const double m = sf::kMouthHalfWidth;
  lips.moveTo(sf::kCentreX - m, sf::kMouthY);
  lips.quadTo(sf::kCentreX - m / 2, sf::kMouthY - 7, sf::kCentreX, sf::kMouthY - 4);
  lips.quadTo(sf::kCentreX + m / 2, sf::kMouthY - 7, sf::kCentreX + m, sf::kMouthY);
  lips.quadTo(sf::kCentreX, sf::kMouthY + 11, sf::kCentreX - m, sf::kMouthY);
  p.fillPath(lips, QColor(196, 104, 104));
  p.strokePath(lips, QPen(QColor(160, 80, 80), 0.8));
  return face;
}

QImage PutOn(const QImage& face, const QImage& hair, QColor tint) {
  QImage out = face.convertToFormat(QImage::Format_RGB888);
  QImage h = hair.convertToFormat(QImage::Format_RGB888);
  auto whiten = [](uint8_t v) { return v > 180 ? uint8_t(255) : v; };
  const uint8_t* key = h.constScanLine(5) + 3 * 5;
  const uint8_t keyR = whiten(key[0]), keyG = whiten(key[1]), keyB = whiten(key[2]);
  const int offsets[3] = {tint.red(), tint.green(), tint.blue()};
  const int width = std::min(out.width(), h.width()), height = std::min(out.height(), h.height());
  for (int y = 0; y < height; ++y) {
    const uint8_t* src = h.constScanLine(y);
    uint8_t* dst = out.scanLine(y);
    for (int x = 0; x < width; ++x) {
      uint8_t c[3] = {whiten(src[3 * x]), whiten(src[3 * x + 1]), whiten(src[3 * x + 2])};
      if (c[0] == keyR && c[1] == keyG && c[2] == keyB) continue;
      for (int k = 0; k < 3; ++k) dst[3 * x + k] = uint8_t(std::min(255, c[k] + offsets[k]));
    }
  }
  return out;
}

QImage ContactSheet(const std::vector<QImage>& pictures, const QString& title, int columns, double scale) {
  const int cellW = int(sf::kWidth * scale), cellH = int(sf::kHeight * scale);
  const int gap = 6, label = 16, header = 28;
  const int rows = (int(pictures.size()) + columns - 1) / columns;
  QImage sheet(columns * (cellW + gap) + gap, header + rows * (cellH + label + gap) + gap, QImage::Format_RGB888);
  sheet.fill(QColor(250, 250, 250));
  QPainter p(&sheet);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.setRenderHint(QPainter::TextAntialiasing);
  QFont font("DejaVu Sans");
  font.setPixelSize(16);
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(40, 40, 40));
  p.drawText(QRect(gap, 4, sheet.width(), header - 6), Qt::AlignLeft | Qt::AlignVCenter, title);
  font.setPixelSize(12);
  font.setBold(false);
  p.setFont(font);
  for (size_t i = 0; i < pictures.size(); ++i) {
    int col = int(i) % columns, row = int(i) / columns;
    QRect cell(gap + col * (cellW + gap), header + row * (cellH + label + gap), cellW, cellH);
    p.drawImage(cell, pictures[i]);
    p.setPen(QColor(200, 200, 200));
    p.drawRect(cell.adjusted(0, 0, -1, -1));
    p.setPen(QColor(40, 40, 40));
    p.drawText(QRect(cell.left(), cell.bottom() + 1, cellW, label), Qt::AlignCenter, QString::number(i));
  }
  return sheet;
}

}  // namespace glamora::hairgen
