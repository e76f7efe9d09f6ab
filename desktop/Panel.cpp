// The panel control: its bevels, border line and the placing of children.
#include "desktop/Panel.h"

#include <QPainter>

#include "imaging/QtBitmap.h"

namespace glamora {

namespace {

// A one-pixel bevel along the inside of rect: light top and left edges for a
// raised cut, dark ones for a lowered cut.
void DrawBevel(QPainter& painter, const QRect& rect, TBevelCut cut, const QPalette& palette) {
  if (cut == bvNone) return;
  const QColor light = palette.color(QPalette::Light);
  const QColor dark = palette.color(QPalette::Dark);
  const QColor topLeft = cut == bvRaised ? light : dark;
  const QColor bottomRight = cut == bvRaised ? dark : light;
  painter.setPen(topLeft);
  painter.drawLine(rect.topLeft(), rect.topRight());
  painter.drawLine(rect.topLeft(), rect.bottomLeft());
  painter.setPen(bottomRight);
  painter.drawLine(rect.bottomLeft(), rect.bottomRight());
  painter.drawLine(rect.topRight(), rect.bottomRight());
}

}  // namespace

TPanel::TPanel(QWidget* parent) : QWidget(parent) { setAutoFillBackground(false); }

void TPanel::SetBevelOuter(TBevelCut cut) {
  bevelOuter_ = cut;
  update();
}

void TPanel::SetBevelInner(TBevelCut cut) {
  bevelInner_ = cut;
  update();
}

void TPanel::SetBorderWidth(int width) {
  borderWidth_ = std::max(0, width);
  update();
}

void TPanel::SetSingleBorder(bool value) {
  singleBorder_ = value;
  update();
}

void TPanel::SetColor(TColor color) {
  color_ = color;
  update();
}

QPoint TPanel::ClientOrigin() const { return {LineWidth(), LineWidth()}; }

int TPanel::ClientWidth() const { return width() - 2 * LineWidth(); }

int TPanel::ClientHeight() const { return height() - 2 * LineWidth(); }

QRect TPanel::AlignRect() const {
  const int inset = (bevelOuter_ != bvNone ? 1 : 0) + borderWidth_ + (bevelInner_ != bvNone ? 1 : 0);
  return QRect(inset, inset, ClientWidth() - 2 * inset, ClientHeight() - 2 * inset);
}

void TPanel::PlaceChild(QWidget& child, int left, int top, int width, int height) const {
  child.setGeometry(QRect(ClientOrigin() + QPoint(left, top), QSize(width, height)));
}

void TPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QRect rect = this->rect();
  painter.fillRect(rect, ToQColor(color_));
  if (singleBorder_) {
    // The sunken edge: shadow and dark outside, light and face inside.
    DrawBevel(painter, rect, bvLowered, palette());
    rect.adjust(1, 1, -1, -1);
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(palette().color(QPalette::Midlight));
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
    rect.adjust(1, 1, -1, -1);
  }
  if (bevelOuter_ != bvNone) {
    DrawBevel(painter, rect, bevelOuter_, palette());
    rect.adjust(1, 1, -1, -1);
  }
  rect.adjust(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_);
  if (bevelInner_ != bvNone) DrawBevel(painter, rect, bevelInner_, palette());
}

}  // namespace glamora
