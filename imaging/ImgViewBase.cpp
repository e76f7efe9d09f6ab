// What both image views share: background, border, scroll bars and the change
// list of attached components.
#include "imaging/ImgViewBase.h"

#include <algorithm>

#include <QStyle>

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "imaging/QtBitmap.h"

namespace glamora {

TImgViewBase::TImgViewBase(QWidget* parent) : QWidget(parent) {
  // Every pixel of the client area is painted by the view itself.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    SetDpi(qRound(screen->logicalDotsPerInchX()), qRound(screen->logicalDotsPerInchY()));
  }
  hBar_ = new QScrollBar(Qt::Horizontal, this);
  vBar_ = new QScrollBar(Qt::Vertical, this);
  for (QScrollBar* bar : {hBar_, vBar_}) {
    bar->hide();
    bar->setFocusPolicy(Qt::NoFocus);
    connect(bar, &QScrollBar::actionTriggered, this, [this, bar](int action) { ScrollAction(bar, action); });
  }
}

TImgViewBase::~TImgViewBase() { NotifyDestroyed(); }

void TImgViewBase::SetBackground(TColor color) {
  background_ = color;
  update();
}

void TImgViewBase::SetBorderStyle(TBorderStyle style) {
  if (style == borderStyle_) return;
  borderStyle_ = style;
  ClientAreaChanged();
}

void TImgViewBase::SetCtl3D(bool value) {
  if (value == ctl3D_) return;
  ctl3D_ = value;
  ClientAreaChanged();
}

void TImgViewBase::SetDpi(int x, int y) {
  SetDpiX(x);
  SetDpiY(y);
}

int TImgViewBase::BorderWidth() const {
  if (borderStyle_ == bsNone) return 0;
  return ctl3D_ ? 2 : 1;
}

QRect TImgViewBase::ClientRect() const {
  const int border = BorderWidth();
  const int w = std::max(0, width() - 2 * border - rightReserve_);
  const int h = std::max(0, height() - 2 * border - bottomReserve_);
  return {border, border, w, h};
}

void TImgViewBase::HostBitmapChanged() {
  ImageChange();
  update();
}

void TImgViewBase::ClientAreaChanged() { update(); }

void TImgViewBase::PaintFrame(QPainter& painter) const {
  const int w = width(), h = height();
  if (borderStyle_ == bsSingle && w > 0 && h > 0) {
    if (ctl3D_) {
      // A sunken client edge: shadow above and left, light below and right.
      painter.setPen(ToQColor(0x80000010));
      painter.drawLine(0, 0, w - 2, 0);
      painter.drawLine(0, 0, 0, h - 2);
      painter.setPen(ToQColor(0x80000014));
      painter.drawLine(0, h - 1, w - 1, h - 1);
      painter.drawLine(w - 1, 0, w - 1, h - 1);
      painter.setPen(QColor(105, 105, 105));
      painter.drawLine(1, 1, w - 3, 1);
      painter.drawLine(1, 1, 1, h - 3);
      painter.setPen(ToQColor(clBtnFace));
      painter.drawLine(1, h - 2, w - 2, h - 2);
      painter.drawLine(w - 2, 1, w - 2, h - 2);
    } else {
      painter.setPen(Qt::black);
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(0, 0, w - 1, h - 1);
    }
  }
  if (rightReserve_ > 0 && bottomReserve_ > 0) {
    const QRect client = ClientRect();
    painter.fillRect(QRect(client.right() + 1, client.bottom() + 1, rightReserve_, bottomReserve_),
                     ToQColor(clBtnFace));
  }
}

void TImgViewBase::SetViewXY(int x, int y) {
  const QPoint maximum = MaxViewXY();
  x = std::clamp(x, 0, maximum.x());
  y = std::clamp(y, 0, maximum.y());
  if (x == viewX_ && y == viewY_) return;
  viewX_ = x;
  viewY_ = y;
  ViewMoved();
  if (hBarShown_) hBar_->setValue(viewX_);
  if (vBarShown_) vBar_->setValue(viewY_);
}

void TImgViewBase::ViewChange(int change) {
  if (OnViewChange) OnViewChange(this, change);
}

void TImgViewBase::SetScrollBars(TScrollStyle style) {
  scrollBars_ = style;
  if (style != ssVertical && style != ssBoth) vBarShown_ = false;
  if (style != ssHorizontal && style != ssBoth) hBarShown_ = false;
  PlaceScrollBars();
  ClientAreaChanged();
}

bool TImgViewBase::UpdateScrolling(QPoint maximum, QSize line) {
  if (viewX_ > maximum.x() || viewY_ > maximum.y()) {
    viewX_ = std::min(viewX_, maximum.x());
    viewY_ = std::min(viewY_, maximum.y());
    ViewChange(0);
  }
  const QSize clientBefore = ClientRect().size();
  const bool hAllowed = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
  const bool vAllowed = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
  hBarShown_ = UpdateScrollBar(hBar_, hAllowed, maximum.x(), ClientWidth(), line.width(), viewX_);
  vBarShown_ = UpdateScrollBar(vBar_, vAllowed, maximum.y(), ClientHeight(), line.height(), viewY_);
  PlaceScrollBars();
  return ClientRect().size() != clientBefore;
}

bool TImgViewBase::UpdateScrollBar(QScrollBar* bar, bool allowed, int maximum, int page, int line, int position) {
  if (!allowed || maximum < 1) return false;
  // The bar spans client + maximum pixels with a page of the client size, so
  // its thumb runs from 0 to the scroll maximum.
  bar->setRange(0, maximum);
  bar->setPageStep(std::max(page, 1));
  bar->setSingleStep(std::max(line, 1));
  bar->setValue(position);
  return true;
}

void TImgViewBase::PlaceScrollBars() {
  const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  rightReserve_ = vBarShown_ ? extent : 0;
  bottomReserve_ = hBarShown_ ? extent : 0;
  const QRect client = ClientRect();
  if (hBarShown_) hBar_->setGeometry(client.left(), client.bottom() + 1, client.width(), extent);
  if (vBarShown_) vBar_->setGeometry(client.right() + 1, client.top(), extent, client.height());
  hBar_->setVisible(hBarShown_);
  vBar_->setVisible(vBarShown_);
}

void TImgViewBase::ScrollAction(QScrollBar* bar, int action) {
  const bool horizontal = bar == hBar_;
  const int current = horizontal ? viewX_ : viewY_;
  const int page = horizontal ? ClientWidth() : ClientHeight();
  const int line = bar->singleStep();
  int position = current;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: position = current - line; break;
    case QAbstractSlider::SliderSingleStepAdd: position = current + line; break;
    case QAbstractSlider::SliderPageStepSub: position = current - page; break;
    case QAbstractSlider::SliderPageStepAdd: position = current + page; break;
    case QAbstractSlider::SliderMove: position = bar->sliderPosition(); break;
    case QAbstractSlider::SliderToMinimum: position = 0; break;
    case QAbstractSlider::SliderToMaximum: position = horizontal ? MaxViewXY().x() : MaxViewXY().y(); break;
    default: break;
  }
  if (horizontal) {
    SetViewX(position);
  } else {
    SetViewY(position);
  }
  // The bar applies its own idea of the position after this returns.
  bar->setSliderPosition(horizontal ? viewX_ : viewY_);
}

}  // namespace glamora
