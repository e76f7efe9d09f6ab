#pragma once
// TPanel: a plain container with the classic panel frame: an optional
// single border line (a sunken two-pixel edge), an outer bevel, a border of
// some pixels in the panel's colour and an inner bevel. Children are placed
// in client coordinates, which start inside the border line, as the window
// layout gives them.
#include <QWidget>

#include "imaging/core/Color.h"

namespace glamora {

enum TBevelCut { bvNone, bvLowered, bvRaised };

class TPanel : public QWidget {
  Q_OBJECT

 public:
  explicit TPanel(QWidget* parent = nullptr);

  void SetBevelOuter(TBevelCut cut);
  void SetBevelInner(TBevelCut cut);
  void SetBorderWidth(int width);
  void SetSingleBorder(bool value);
  TColor Color() const { return color_; }
  void SetColor(TColor color);

  // The client area: inside the single border line.
  QPoint ClientOrigin() const;
  int ClientWidth() const;
  int ClientHeight() const;
  // Where aligned children go: inside the bevels and the border, in client
  // coordinates.
  QRect AlignRect() const;
  // Moves and sizes a child given in client coordinates.
  void PlaceChild(QWidget& child, int left, int top, int width, int height) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int LineWidth() const { return singleBorder_ ? 2 : 0; }

  TBevelCut bevelOuter_ = bvRaised;
  TBevelCut bevelInner_ = bvNone;
  int borderWidth_ = 0;
  bool singleBorder_ = false;
  TColor color_ = clBtnFace;
};

}  // namespace glamora
