// Not-xor, inverting and plain pens, and an inverted rectangle outline in a bitmap.
#include "imaging/RasterPen.h"

#include <algorithm>

namespace glamora {

namespace {

void SetPlainPen(QPainter& painter, const QColor& color, int width) {
  QPen pen(color);
  pen.setWidth(width);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.setRenderHint(QPainter::Antialiasing, false);
}

void InvertSpan(Bitmap& bitmap, int y, int x0, int x1) {
  if (y < 0 || y >= bitmap.Height()) return;
  x0 = std::max(x0, 0);
  x1 = std::min(x1, bitmap.Width() - 1);
  uint8_t* p = bitmap.Row(y) + 3 * x0;
  for (int x = x0; x <= x1; ++x, p += 3) {
    p[0] = uint8_t(~p[0]);
    p[1] = uint8_t(~p[1]);
    p[2] = uint8_t(~p[2]);
  }
}

}  // namespace

void UseNotXorPen(QPainter& painter, const QColor& color, int width) {
  SetPlainPen(painter, color, width);
  painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
}

void UseInvertingPen(QPainter& painter, int width) {
  SetPlainPen(painter, Qt::black, width);
  painter.setCompositionMode(QPainter::RasterOp_NotDestination);
}

void UseCopyPen(QPainter& painter, const QColor& color, int width) {
  SetPlainPen(painter, color, width);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void InvertRectangleOutline(Bitmap& bitmap, int left, int top, int right, int bottom) {
  if (bitmap.Format() != PixelFormat::Bits24) return;
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  const int lastX = right - 1, lastY = bottom - 1;
  if (lastX < left || lastY < top) return;
  InvertSpan(bitmap, top, left, lastX);
  if (lastY != top) InvertSpan(bitmap, lastY, left, lastX);
  for (int y = top + 1; y < lastY; ++y) {
    InvertSpan(bitmap, y, left, left);
    if (lastX != left) InvertSpan(bitmap, y, lastX, lastX);
  }
}

}  // namespace glamora
