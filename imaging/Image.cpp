// The picture control: drawing its bitmap plain, centred or stretched, see-through or not.
#include "imaging/Image.h"

#include <QPaintEvent>
#include <QPainter>

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

void TImage::paintEvent(QPaintEvent*) {
  if (picture_.Empty()) return;
  QPainter painter(this);
  const QRect target = PictureRect();
  const QRect whole(0, 0, picture_.Width(), picture_.Height());
  if (picture_.Transparent) {
    dib_.DrawTransparent(painter, target, picture_, whole, picture_.TransparentColor);
  } else {
    dib_.Draw(painter, target, picture_, whole);
  }
}

}  // namespace glamora
