// The tool bar control: flat buttons from an image list, separators and the line below.
#include "desktop/ToolBar.h"

#include <QIcon>
#include <QPainter>
#include <QToolButton>

namespace glamora {

TToolBar::TToolBar(Qt::Orientation orientation, QSize buttonSize, QSize pictureSize, QWidget* parent)
    : QWidget(parent), orientation_(orientation), buttonSize_(buttonSize), pictureSize_(pictureSize) {}

QToolButton* TToolBar::AddButton(const QString& name, const QString& hint, const QString& imageList,
                                 int picture) {
  auto* button = new QToolButton(this);
  button->setObjectName(name);
  button->setToolTip(hint);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setIcon(QIcon(QString(":/icons/%1/%2.png").arg(imageList).arg(picture)));
  button->setIconSize(pictureSize_);
  if (orientation_ == Qt::Horizontal) {
    button->setGeometry(next_, kIndent, buttonSize_.width(), buttonSize_.height());
    next_ += buttonSize_.width();
  } else {
    button->setGeometry(kIndent, next_, buttonSize_.width(), buttonSize_.height());
    next_ += buttonSize_.height();
  }
  return button;
}

void TToolBar::AddSeparator(int size) { next_ += size; }

void TToolBar::SetLineBelow(bool value) {
  lineBelow_ = value;
  update();
}

int TToolBar::Thickness() const {
  const int across = orientation_ == Qt::Horizontal ? buttonSize_.height() : buttonSize_.width();
  return kIndent + across + 2;
}

void TToolBar::paintEvent(QPaintEvent*) {
  if (!lineBelow_) return;
  QPainter painter(this);
  const int y = height() - 2;
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawLine(0, y, width() - 1, y);
  painter.setPen(palette().color(QPalette::Light));
  painter.drawLine(0, y + 1, width() - 1, y + 1);
}

}  // namespace glamora
