// The frame box: the outline over the parent, the mouse and the arrow keys.
#include "views/FrameBox.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "imaging/Image.h"
#include "imaging/ImgViewBase.h"

namespace glamora {

TFrameBox::TFrameBox(QWidget* parent) : QWidget(parent), Frame(this) {
  setMouseTracking(true);
  if (parent) {
    // The parent's client area shrinks and grows with its size and with its
    // scroll bars coming and going.
    parent->installEventFilter(this);
    for (QScrollBar* bar : parent->findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly)) bar->installEventFilter(this);
  }
  FitToParent();
  RepaintBox();
}

void TFrameBox::SetMouseEnabled(bool value) {
  mouseEnabled_ = value;
  setAttribute(Qt::WA_TransparentForMouseEvents, !value);
}

void TFrameBox::AttachImage(TImage* image) {
  if (!image) {
    AttachTarget(nullptr);
    return;
  }
  if (!imageTarget_ || &imageTarget_->Image() != image) imageTarget_ = std::make_unique<TImageTarget>(*image, Frame);
  AttachTarget(imageTarget_.get());
}

void TFrameBox::AttachTarget(TFrameTarget* target) {
  Frame.Attach(target);
  // The picture's area is drawn afresh whenever the picture changes, and
  // the outline with it.
  RepaintBox();
}

void TFrameBox::MoveBy(int dx, int dy) {
  Frame.Bounds.Offset(dx, dy);
  Frame.DrawOutline();
  Frame.ApplyToImage();
  RepaintBox();
}

bool TFrameBox::GrowBy(int dx, int dy) {
  if (!TFrame::SizeAllowed(Frame.Width(), Frame.Height(), Frame.Width() + 2 * dx, Frame.Height() + 2 * dy)) {
    return false;
  }
  Frame.Bounds.Left -= dx;
  Frame.Bounds.Right += dx;
  Frame.Bounds.Top -= dy;
  Frame.Bounds.Bottom += dy;
  Frame.DrawOutline();
  Frame.ApplyToImage();
  RepaintBox();
  return true;
}

void TFrameBox::HideWithImage() {
  hide();
  if (Frame.Target) Frame.Target->ShowTarget(false);
}

void TFrameBox::ShowWithImage() {
  show();
  if (Frame.Target) Frame.Target->ShowTarget(true);
}

bool TFrameBox::HandleKey(int key, Qt::KeyboardModifiers shift) {
  if (isHidden()) return false;
  int dx = 0, dy = 0;
  switch (key) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Down: dy = 1; break;
    default: return false;
  }
  // Arrow keys may carry the keypad flag; it is no shift key.
  shift &= ~Qt::KeypadModifier;
  if (shift == Qt::ControlModifier) {
    // Left and Up grow, Right and Down shrink.
    Frame.ScaleBy(dx + dy < 0 ? 1 : -1);
    RepaintBox();
  } else if (shift == Qt::ShiftModifier) {
    GrowBy(dx, dy);
  } else {
    MoveBy(dx, dy);
  }
  return true;
}

void TFrameBox::RepaintBox() {
  Frame.ClearOutline();
  Frame.DrawOutline();
  update();
}

void TFrameBox::FitToParent() {
  QWidget* parent = parentWidget();
  if (!parent) return;
  if (auto* view = qobject_cast<TImgViewBase*>(parent)) {
    setGeometry(view->ClientRect());
  } else {
    setGeometry(parent->rect());
  }
}

bool TFrameBox::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if ((watched == parentWidget() && type == QEvent::Resize) ||
      (watched != parentWidget() && (type == QEvent::ShowToParent || type == QEvent::HideToParent))) {
    FitToParent();
  }
  return QWidget::eventFilter(watched, event);
}

void TFrameBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  Frame.Paint(painter);
}

void TFrameBox::mousePressEvent(QMouseEvent* event) {
  if (!mouseEnabled_) return;
  const QPoint p = event->position().toPoint();
  const Qt::MouseButton button = event->button();
  if (OnMouseDown) OnMouseDown(this, button, event->modifiers(), p.x(), p.y());
  if (Frame.Bounds.Contains(p.x(), p.y()) && button == Qt::LeftButton) {
    Frame.Grab(p.x(), p.y());
    Frame.Moving = true;
  }
  Frame.ActiveHandle = uint8_t(Frame.HitTest(p.x(), p.y()));
  if (Frame.ActiveHandle != 0) Frame.Resizing = true;
}

void TFrameBox::mouseMoveEvent(QMouseEvent* event) {
  if (!mouseEnabled_) return;
  const QPoint p = event->position().toPoint();
  if (OnMouseMove) OnMouseMove(this, event->buttons(), event->modifiers(), p.x(), p.y());
  if (!Frame.Hidden) CursorTable::Instance().Apply(*this, Frame.CursorAt(p.x(), p.y()));
  if (Frame.Moving) Frame.DragTo(p.x(), p.y(), false);
  if (Frame.Resizing) Frame.ResizeTo(p.x(), p.y(), false);
}

void TFrameBox::mouseReleaseEvent(QMouseEvent* event) {
  if (!mouseEnabled_) return;
  const QPoint p = event->position().toPoint();
  if (OnMouseUp) OnMouseUp(this, event->button(), event->modifiers(), p.x(), p.y());
  if (Frame.Moving || Frame.Resizing) {
    Frame.Moving = false;
    Frame.Resizing = false;
    Frame.ApplyToImage();
  }
}

}  // namespace glamora
