// Conversions between the program's bitmaps and colours and Qt's.
#include "imaging/QtBitmap.h"

#include <cstring>

namespace glamora {

namespace {

QList<QRgb> ColorTableOf(const Bitmap& bitmap) {
  QList<QRgb> table;
  table.reserve(qsizetype(bitmap.Palette().size()));
  for (TColor c : bitmap.Palette()) table.push_back(qRgb(RedOf(c), GreenOf(c), BlueOf(c)));
  const qsizetype needed = bitmap.Format() == PixelFormat::Bits1 ? 2 : 256;
  // Indexes past a short palette show black rather than reading past the table.
  while (table.size() < needed) table.push_back(qRgb(0, 0, 0));
  return table;
}

QImage::Format QtFormatOf(PixelFormat format) {
  switch (format) {
    case PixelFormat::Bits1: return QImage::Format_Mono;
    case PixelFormat::Bits8: return QImage::Format_Indexed8;
    case PixelFormat::Bits24: break;
  }
  return QImage::Format_BGR888;
}

QImage Wrap(uchar* bits, const Bitmap& bitmap) {
  if (bitmap.Empty()) return {};
  QImage image(bits, bitmap.Width(), bitmap.Height(), qsizetype(bitmap.Stride()), QtFormatOf(bitmap.Format()));
  // Setting the table of an image over writable memory does not detach it.
  if (bitmap.Format() != PixelFormat::Bits24) image.setColorTable(ColorTableOf(bitmap));
  return image;
}

}  // namespace

QImage WrapBitmap(Bitmap& bitmap) { return Wrap(bitmap.Bits(), bitmap); }

QImage ViewBitmap(const Bitmap& bitmap) { return Wrap(const_cast<uchar*>(bitmap.Bits()), bitmap); }

QImage ToQImage(const Bitmap& bitmap) { return ViewBitmap(bitmap).copy(); }

bool FromQImage(const QImage& image, Bitmap& bitmap) {
  if (image.isNull() || !SizeWithinLimits(image.width(), image.height())) return false;
  PixelFormat format = PixelFormat::Bits24;
  QImage source;
  if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB) {
    format = PixelFormat::Bits1;
    source = image.convertToFormat(QImage::Format_Mono);
  } else if (image.format() == QImage::Format_Indexed8) {
    format = PixelFormat::Bits8;
    source = image;
  } else {
    source = image.convertToFormat(QImage::Format_BGR888);
  }
  Bitmap copy;
  if (!copy.Reset(source.width(), source.height(), format)) return false;
  const size_t rowBytes = std::min(copy.Stride(), size_t(source.bytesPerLine()));
  for (int y = 0; y < copy.Height(); ++y) std::memcpy(copy.Row(y), source.constScanLine(y), rowBytes);
  if (format != PixelFormat::Bits24) {
    copy.Palette().clear();
    for (QRgb c : source.colorTable()) copy.Palette().push_back(Rgb(qRed(c), qGreen(c), qBlue(c)));
  }
  copy.Transparent = bitmap.Transparent;
  copy.TransparentColor = bitmap.TransparentColor;
  bitmap.Assign(copy);
  return true;
}

QColor ToQColor(TColor color) {
  const TColor c = ResolveColor(color);
  return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

TColor FromQColor(const QColor& color) { return Rgb(color.red(), color.green(), color.blue()); }

BitmapCanvas::BitmapCanvas(Bitmap& bitmap) : image_(WrapBitmap(bitmap)) {
  if (!image_.isNull() && image_.format() != QImage::Format_Indexed8) painter_.begin(&image_);
}

}  // namespace glamora
