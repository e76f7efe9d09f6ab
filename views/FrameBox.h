#pragma once
// TFrameBox: a transparent control laid over the parent of a picture control.
// It covers the parent's client area, paints nothing but the frame's outline,
// and turns mouse drags and arrow keys into changes of its frame, which places
// the picture (or any other target of the frame).
//
// The box must lie above the picture (create it later, or raise it). With the
// mouse switched off it lets every mouse event through to what lies beneath.
#include <QWidget>
#include <functional>
#include <memory>

#include "views/Frame.h"

namespace glamora {

class TFrameBox : public QWidget {
  Q_OBJECT

 public:
  using MouseHandler = std::function<void(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                          int x, int y)>;
  using MouseMoveHandler =
      std::function<void(QObject* sender, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y)>;

  explicit TFrameBox(QWidget* parent);

  TFrame Frame;

  // Called first by the box's own mouse handling, with box coordinates.
  MouseHandler OnMouseDown;
  MouseMoveHandler OnMouseMove;
  MouseHandler OnMouseUp;

  bool MouseEnabled() const { return mouseEnabled_; }
  void SetMouseEnabled(bool value);

  // The frame adopts the picture's bounds and proportions.
  void AttachImage(TImage* image);
  // The frame adopts the target's bounds and proportions; the target must
  // outlive the box or be attached to another first.
  void AttachTarget(TFrameTarget* target);
  // Moves the frame and the picture by (dx, dy).
  void MoveBy(int dx, int dy);
  // Grows the frame by 2 × dx in width and 2 × dy in height about its centre;
  // the picture follows. False, changing nothing, when a side would shrink
  // below TFrame::kMinSide.
  bool GrowBy(int dx, int dy);
  // Hides or shows the box together with the attached target.
  void HideWithImage();
  void ShowWithImage();
  void HideOutline() { Frame.HideOutline(); }
  // Arrow keys: with Ctrl alone the frame scales in its attached proportions
  // (Left and Up grow, Right and Down shrink), with Shift alone it grows or
  // shrinks (Right and Down grow), otherwise it moves. Nothing while the box
  // is hidden. True when the key was an arrow key of a shown box.
  bool HandleKey(int key, Qt::KeyboardModifiers shift);
  // The box's content is drawn afresh: the outline shows once, at the
  // current frame.
  void RepaintBox();
  // Covers the parent's client area again.
  void FitToParent();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool mouseEnabled_ = true;
  // The picture given to AttachImage, as a target.
  std::unique_ptr<TImageTarget> imageTarget_;
};

}  // namespace glamora
