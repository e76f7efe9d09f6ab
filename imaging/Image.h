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

  glamora::Bitmap* HostBitmap() override { return &picture_; }
  void HostBitmapChanged() override { PictureChanged(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  glamora::Bitmap picture_;
  bool stretch_ = false;
  bool autoSize_ = false;
  bool center_ = false;
  DibDraw dib_;
};

}  // namespace glamora
