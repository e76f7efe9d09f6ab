#pragma once
// Qt faces of the program's bitmaps. WrapBitmap lends the bitmap's pixel
// memory to a QImage without copying, so QPainter can draw on the bitmap (its
// "canvas") and the views can draw from it; ToQImage and FromQImage copy.
#include <QColor>
#include <QImage>
#include <QPainter>

#include "imaging/core/Bitmap.h"
#include "imaging/core/Color.h"

namespace glamora {

// The bitmap's own pixels as a QImage: 24-bit as Format_BGR888, 1-bit as
// Format_Mono, 8-bit as Format_Indexed8, both with the bitmap's palette.
// Valid until the bitmap is resized, reset or converted. Null for an empty
// bitmap.
QImage WrapBitmap(Bitmap& bitmap);

// The same for reading only: the image shares the bitmap's memory, so it must
// only be drawn from, never painted on.
QImage ViewBitmap(const Bitmap& bitmap);

// A deep copy in the wrapped format.
QImage ToQImage(const Bitmap& bitmap);

// Copies any QImage into the bitmap: Mono and Indexed8 images keep their depth
// and palette, everything else becomes 24 bits per pixel (alpha dropped).
// False, leaving the bitmap as it was, for a null image or one over the size limits.
bool FromQImage(const QImage& image, Bitmap& bitmap);

// System colours are resolved first.
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

// A painter on the bitmap's own pixels: what is drawn lands in the bitmap.
// 8-bit bitmaps cannot be painted on (IsActive() is false); convert them to
// 24 bits first.
class BitmapCanvas {
 public:
  explicit BitmapCanvas(Bitmap& bitmap);
  BitmapCanvas(const BitmapCanvas&) = delete;
  BitmapCanvas& operator=(const BitmapCanvas&) = delete;

  bool IsActive() const { return painter_.isActive(); }
  QPainter& Painter() { return painter_; }
  QPainter* operator->() { return &painter_; }

 private:
  QImage image_;  // declared before the painter, which draws on it
  QPainter painter_;
};

}  // namespace glamora
