#pragma once
// TImage: a plain picture control holding one bitmap. It draws the bitmap at
// its own size (top-left or centred) or stretched to the control's bounds,
// and with transparency on leaves the pixels of the bitmap's TransparentColor
// undrawn, so whatever lies beneath (the parent's painting, e.g. the make-up
// canvas) shows through. With auto-size on, the control takes the bitmap's size
// whenever the bitmap changes.
//
// Whoever changes the pixels calls Bitmap()->Changed() (or, as a component,
// HostBitmapChanged()); the control then repaints.
//
// A bitmap stretched to another size is drawn from a copy at the control's
// size, made on the first paint for the part of the control its parent
// shows, and kept while the control only moves, so repainting under a
// placement frame that follows the mouse costs a block copy however large
// the picture is. A new size, new pixels or another see-through colour make
// it anew.
#include <QWidget>

#include "imaging/DibDraw.h"
#include "imaging/core/Bitmap.h"
#include "imaging/core/BitmapHost.h"

namespace glamora {

class TImage : public QWidget, public BitmapHost {
  Q_OBJECT

 public:
  explicit TImage(QWidget* parent = nullptr);
  ~TImage() override;

  glamora::Bitmap* Bitmap() { return &picture_; }
  const glamora::Bitmap* Bitmap() const { return &picture_; }

  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  // Stored on the bitmap (its Transparent flag).
  bool Transparent() const { return picture_.Transparent; }
  void SetTransparent(bool value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool Center() const { return center_; }
  void SetCenter(bool value);

  // The bitmap's pixels or size changed.
  void PictureChanged();

  // Where the bitmap is drawn, in the control's coordinates.
  QRect PictureRect() const;
  // The part of the control that the stretched copy covers, empty while
  // there is none.
  QRect StretchedCopyPart() const { return copyValid_ ? copyPart_ : QRect(); }

  glamora::Bitmap* HostBitmap() override { return &picture_; }
  void HostBitmapChanged() override { PictureChanged(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // The part of the control inside its parent, in the control's coordinates.
  QRect ShownPart() const;
  // Draws `area` of a bitmap stretched to another size from the stretched copy.
  void DrawStretchedCopy(QPainter& painter, const QRect& area);
  void MakeStretchedCopy(const QRect& part);

  glamora::Bitmap picture_;
  QImage stretchedCopy_;
  QRect copyPart_;
  QSize copySize_;
  bool copyKeyed_ = false;
  TColor copyKey_ = clWhite;
  bool copyValid_ = false;
  bool stretch_ = false;
  bool autoSize_ = false;
  bool center_ = false;
  DibDraw dib_;
};

}  // namespace glamora
