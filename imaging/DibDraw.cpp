// Drawing bitmaps stretched by nearest pixel onto a painter, with a see-through colour.
#include "imaging/DibDraw.h"

#include "imaging/QtBitmap.h"
#include "imaging/core/StretchNearest.h"

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "32-bit images are written as blue, green, red, alpha bytes");

namespace glamora {

QRect DibDraw::Stretch(QImage& scratch, QImage::Format format, QPainter& painter, const QRect& dest,
                      const Bitmap& bitmap, const QRect& source) {
  if (bitmap.Empty() || dest.isEmpty() || source.isEmpty()) return {};
  QRect visible = dest;
  if (painter.hasClipping()) visible &= painter.clipBoundingRect().toAlignedRect();
  // Only what lands on the device is computed.
  if (const QPaintDevice* device = painter.device(); device && painter.transform().isAffine()) {
    visible &= painter.transform().inverted().mapRect(QRect(0, 0, device->width(), device->height()));
  }
  if (visible.isEmpty()) return {};
  if (scratch.format() != format || scratch.width() < visible.width() || scratch.height() < visible.height()) {
    scratch = QImage(std::max(visible.width(), scratch.width()), std::max(visible.height(), scratch.height()), format);
  }
  // Format_RGB32 and Format_ARGB32 keep blue, green, red, alpha in memory on
  // little-endian hosts; the stretch writes alpha 0xFF.
  const RasterTarget target{scratch.bits(), size_t(scratch.bytesPerLine()), visible.width(), visible.height(),
                            RasterLayout::Bgrx32};
  const PixelRect from{source.x(), source.y(), source.width(), source.height()};
  const PixelRect to{dest.x() - visible.x(), dest.y() - visible.y(), dest.width(), dest.height()};
  StretchNearest(bitmap, from, target, to);
  return visible;
}

void DibDraw::Draw(QPainter& painter, const QRect& dest, const Bitmap& bitmap, const QRect& source) {
  const QRect visible = Stretch(opaque_, QImage::Format_RGB32, painter, dest, bitmap, source);
  if (visible.isEmpty()) return;
  painter.drawImage(visible.topLeft(), opaque_, QRect(QPoint(0, 0), visible.size()));
}

void DibDraw::DrawTransparent(QPainter& painter, const QRect& dest, const Bitmap& bitmap, const QRect& source,
                              TColor transparent) {
  const QRect visible = Stretch(keyed_, QImage::Format_ARGB32, painter, dest, bitmap, source);
  if (visible.isEmpty()) return;
  // Nearest stretching copies colours exactly, so keying the stretched pixels
  // leaves out exactly the pixels stretched from the transparent colour.
  const TColor key = ResolveColor(transparent);
  const QRgb keyPixel = qRgb(RedOf(key), GreenOf(key), BlueOf(key));
  for (int y = 0; y < visible.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(keyed_.scanLine(y));
    for (int x = 0; x < visible.width(); ++x) {
      if (row[x] == keyPixel) row[x] = 0;
    }
  }
  painter.drawImage(visible.topLeft(), keyed_, QRect(QPoint(0, 0), visible.size()));
}

void DrawBitmap(QPainter& painter, const QPoint& at, const Bitmap& bitmap) {
  if (bitmap.Empty()) return;
  QImage image = ViewBitmap(bitmap);
  painter.drawImage(at, image);
}

}  // namespace glamora
