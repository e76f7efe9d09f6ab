#pragma once
// Stretch drawing straight from a bitmap's pixel memory, as every picture and
// thumbnail is shown: each destination pixel takes the nearest source pixel
// by the pixel-centre rule of StretchNearest, never a blend. The bitmap is
// not copied; only the part of the destination that the painter's clip leaves
// visible is computed, into a scratch buffer the drawer keeps between draws.
#include <QImage>
#include <QPainter>
#include <QRect>

#include "imaging/core/Bitmap.h"
#include "imaging/core/Color.h"

namespace glamora {

class DibDraw {
 public:
  // Draws the `source` rectangle of the bitmap (bitmap pixels) stretched
  // into the `dest` rectangle of the painter (its logical coordinates, which
  // must be an unscaled translation of the device). Palette pictures are drawn
  // through their palette. Empty rectangles or bitmaps draw nothing; source
  // pixels outside the bitmap repeat its edge.
  void Draw(QPainter& painter, const QRect& dest, const Bitmap& bitmap, const QRect& source);

  // The same, leaving undrawn every pixel whose colour is `transparent` (a
  // system colour is resolved first), so what lies beneath shows through.
  void DrawTransparent(QPainter& painter, const QRect& dest, const Bitmap& bitmap, const QRect& source,
                       TColor transparent);

  // Frees the scratch buffers.
  void Release() {
    opaque_ = QImage();
    keyed_ = QImage();
  }

 private:
  // Stretches into `scratch` the part of `dest` the painter can show; returns
  // that part (empty when nothing is visible).
  static QRect Stretch(QImage& scratch, QImage::Format format, QPainter& painter, const QRect& dest,
                       const Bitmap& bitmap, const QRect& source);

  QImage opaque_;
  QImage keyed_;
};

// The whole bitmap at its own size with its top-left corner at `at`.
void DrawBitmap(QPainter& painter, const QPoint& at, const Bitmap& bitmap);

}  // namespace glamora
