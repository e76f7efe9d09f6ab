#include "face/AirBrush.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>

#include "imaging/core/Rounding.h"

namespace glamora {

void TAirBrush::SetIntensity(int value) {
  if (value >= 1 && value <= 100) intensity_ = value;
}

void TAirBrush::SetSize(int value) {
  if (value >= 1 && value <= 200) size_ = value;
}

void TAirBrush::BuildMask() {
  const int s = size_;
  const int q = s / 4;
  const TColor c = ResolveColor(color_);
  mask_ = QImage(s, s, QImage::Format_RGB32);
  mask_.fill(Qt::white);
  QPainter painter(&mask_);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(RedOf(c), GreenOf(c), BlueOf(c)));
  switch (shape_) {
    case TAirBrushShape::absRound:
      painter.drawEllipse(QRectF(0, 0, s, s));
      break;
    case TAirBrushShape::absSquare:
      painter.fillRect(QRect(0, 0, s, s), painter.brush());
      break;
    case TAirBrushShape::absLeftSlash:
      painter.drawPolygon(QPolygon({QPoint(0, 0), QPoint(q, 0), QPoint(s - 1, s - 1), QPoint(s - 1 - q, s - 1)}));
      break;
    case TAirBrushShape::absRightSlash:
      painter.drawPolygon(QPolygon({QPoint(0, s - 1), QPoint(q, s - 1), QPoint(s - 1, 0), QPoint(s - 1 - q, 0)}));
      break;
    case TAirBrushShape::absHorizontal:
      painter.fillRect(QRect(QPoint(0, q), QPoint(s - 1, s - 1 - q)), painter.brush());
      break;
    case TAirBrushShape::absVertical:
      painter.fillRect(QRect(QPoint(q, 0), QPoint(s - 1 - q, s - 1)), painter.brush());
      break;
  }
}

void TAirBrush::Stamp(Bitmap& canvas, int x, int y) {
  BuildMask();
  if (canvas.Format() != PixelFormat::Bits24 || canvas.Empty()) return;
  const TColor c = ResolveColor(color_);
  if (c == clWhite) return;  // an all-white mask paints nothing

  // result(source) per channel, for this stamp's colour and strength.
  const double strength = intensity_ / 100.0;
  uint8_t blend[3][256];
  const uint8_t colour[3] = {BlueOf(c), GreenOf(c), RedOf(c)};
  for (int ch = 0; ch < 3; ++ch) {
    for (int v = 0; v < 256; ++v) blend[ch][v] = ClampToByte(RoundEven((1 - strength) * v + strength * colour[ch]));
  }

  const int left = x - size_ / 2;
  const int top = y - size_ / 2;
  const int x0 = std::max(left, 0), x1 = std::min(left + size_, canvas.Width());
  const int y0 = std::max(top, 0), y1 = std::min(top + size_, canvas.Height());
  const QRgb white = qRgb(255, 255, 255);
  for (int py = y0; py < y1; ++py) {
    const QRgb* maskRow = reinterpret_cast<const QRgb*>(mask_.constScanLine(py - top));
    uint8_t* p = canvas.Row(py) + 3 * x0;
    for (int px = x0; px < x1; ++px, p += 3) {
      if ((maskRow[px - left] | 0xFF000000u) == white) continue;
      const uint8_t b = blend[0][p[0]], g = blend[1][p[1]], r = blend[2][p[2]];
      if (b == 255 && g == 255 && r == 255) continue;  // white results are see-through
      p[0] = b;
      p[1] = g;
      p[2] = r;
    }
  }
}

}  // namespace glamora
