// The picture control: drawing its bitmap plain, centred or stretched, see-through or not.
#include "imaging/Image.h"

#include <QPaintEvent>
#include <QPainter>

#include "imaging/core/StretchNearest.h"

namespace glamora {

TImage::TImage(QWidget* parent) : QWidget(parent) {
  picture_.OnChange = [this] { PictureChanged(); };
  resize(105, 105);
}

TImage::~TImage() {
  NotifyDestroyed();
  picture_.OnChange = nullptr;
}

void TImage::SetStretch(bool value) {
  stretch_ = value;
  copyValid_ = false;
  update();
}

void TImage::SetTransparent(bool value) {
  picture_.Transparent = value;
  update();
}

void TImage::SetAutoSize(bool value) {
  autoSize_ = value;
  if (autoSize_ && !picture_.Empty()) resize(picture_.Width(), picture_.Height());
}

void TImage::SetCenter(bool value) {
  center_ = value;
  update();
}

void TImage::PictureChanged() {
  copyValid_ = false;
  if (autoSize_ && !picture_.Empty() && size() != QSize(picture_.Width(), picture_.Height())) {
    resize(picture_.Width(), picture_.Height());
  }
  update();
}

QRect TImage::PictureRect() const {
  if (stretch_) return rect();
  const QSize size(picture_.Width(), picture_.Height());
  if (!center_) return {QPoint(0, 0), size};
  return {QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size};
}

QRect TImage::ShownPart() const {
  const QWidget* parent = parentWidget();
  if (!parent) return rect();
  return rect() & parent->rect().translated(-pos());
}

void TImage::MakeStretchedCopy(const QRect& part) {
  const QImage::Format format = picture_.Transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
  if (stretchedCopy_.format() != format || stretchedCopy_.size() != part.size()) {
    stretchedCopy_ = QImage(part.size(), format);
  }
  // The whole control's mapping, clipped to the part: exactly the pixels a
  // direct stretched draw would give.
  const RasterTarget target{stretchedCopy_.bits(), size_t(stretchedCopy_.bytesPerLine()), part.width(), part.height(),
                            RasterLayout::Bgrx32};
  StretchNearest(picture_, PixelRect::Of(picture_), target, PixelRect{-part.x(), -part.y(), width(), height()});
  if (picture_.Transparent) {
    const TColor key = ResolveColor(picture_.TransparentColor);
    const QRgb keyPixel = qRgb(RedOf(key), GreenOf(key), BlueOf(key));
    for (int y = 0; y < part.height(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(stretchedCopy_.scanLine(y));
      for (int x = 0; x < part.width(); ++x) {
        if (row[x] == keyPixel) row[x] = 0;
      }
    }
  }
  copyPart_ = part;
  copySize_ = size();
  copyKeyed_ = picture_.Transparent;
  copyKey_ = picture_.TransparentColor;
  copyValid_ = true;
}

void TImage::DrawStretchedCopy(QPainter& painter, const QRect& area) {
  const QRect part = ShownPart();
  const QRect needed = area & part;
  if (needed.isEmpty()) return;
  const bool fits = copyValid_ && copySize_ == size() && copyKeyed_ == picture_.Transparent &&
                    (!copyKeyed_ || copyKey_ == picture_.TransparentColor) && copyPart_.contains(needed);
  if (!fits) MakeStretchedCopy(part);
  painter.drawImage(needed.topLeft(), stretchedCopy_, needed.translated(-copyPart_.topLeft()));
}

void TImage::paintEvent(QPaintEvent* event) {
  if (picture_.Empty()) return;
  QPainter painter(this);
  const QRect target = PictureRect();
  const QRect whole(0, 0, picture_.Width(), picture_.Height());
  if (stretch_ && target.size() != whole.size()) {
    DrawStretchedCopy(painter, event->rect());
    return;
  }
  if (picture_.Transparent) {
    dib_.DrawTransparent(painter, target, picture_, whole, picture_.TransparentColor);
  } else {
    dib_.Draw(painter, target, picture_, whole);
  }
}

}  // namespace glamora
