#pragma once
// TFrame: the placement frame of one picture. It holds a rectangle with
// inclusive edges in the coordinates of the box that owns it, eight drag
// handles around it, and places its target from the rectangle so that the
// target fills the inside of the outline. The target is a picture control
// (TImageTarget), or the hair of a make-over, which lies in face-picture
// coordinates (the hair view).
//
// The outline is drawn with a not-xor pen, so drawing it twice restores what
// lies beneath, and every change draws the old outline (erasing it) before
// the new one. A widget draws only in its paint event, so DrawOutline toggles
// whether the outline is on the box and asks the box to repaint that area;
// the box's paint event draws it with Paint while it is on.
#include <QPoint>
#include <QRect>
#include <array>
#include <cstdint>

#include "hair/Placement.h"
#include "imaging/CursorTable.h"
#include "imaging/core/Color.h"
#include "imaging/core/PixelRect.h"

class QPainter;
class QWidget;

namespace glamora {

class TImage;

// What a frame places, with its bounds in the frame's coordinates.
class TFrameTarget {
 public:
  virtual ~TFrameTarget() = default;
  virtual PixelRect TargetBounds() const = 0;
  virtual void PlaceTarget(const PixelRect& bounds) = 0;
  virtual void ShowTarget(bool shown) = 0;
};

class TFrame {
 public:
  static constexpr int kHandleCount = 8;
  // Handle drags keep the moved side more than this many pixels from the
  // opposite one.
  static constexpr int kResizeMargin = 20;

  // canvas: the box whose coordinates the frame uses and on which the outline
  // is shown; may be null for a frame that only computes.
  explicit TFrame(QWidget* canvas);

  // The frame, inclusive: width = Right - Left + 1.
  TRect Bounds;
  // Bounds when a picture was last attached; the basis of ScaleBy.
  TRect AttachedBounds;
  // Handle hit by the last mouse press, 1..8, or 0.
  uint8_t ActiveHandle = 0;
  // Width divided by height; corner drags keep it.
  double Aspect = 1.0;
  // Offset of the mouse from the frame's corner during a body drag, from 1.
  int GrabX = 0;
  int GrabY = 0;
  // What the frame places; not owned.
  TFrameTarget* Target = nullptr;
  bool Resizing = false;
  bool Moving = false;
  // Outline and handles are neither shown nor hit-tested.
  bool Hidden = false;
  TColor PenColor = clBlack;

  // Saturated at the ends of int for the widest rectangles it can hold.
  int Width() const { return InclusiveLength(Bounds.Left, Bounds.Right); }
  int Height() const { return InclusiveLength(Bounds.Top, Bounds.Bottom); }

  // Bounds := rect and Aspect := width / height. A frame without area keeps
  // its previous Aspect: it has no proportions to adopt.
  void SetRect(const TRect& rect);
  // Adopts the target: the frame takes its bounds and proportions, which
  // also become AttachedBounds. A shown outline is erased; nothing is drawn.
  void Attach(TFrameTarget* target);
  // The target takes the inside of the outline: left + 1, top + 1,
  // width - 2, height - 2. Nothing without a target.
  void ApplyToImage();
  // Draws (or, drawn already, erases) outline and handles at the current
  // Bounds with the not-xor pen; nothing while Hidden.
  void DrawOutline();
  // The box's content was drawn afresh: no outline is on it.
  void ClearOutline() { outlineShown_ = false; }
  // True while an odd number of DrawOutline calls since ClearOutline left
  // the outline on the box.
  bool OutlineShown() const { return outlineShown_; }
  // Draws what is on the box: outline and handles with the not-xor pen while
  // the outline is shown and not Hidden. Called by the box's paint event.
  void Paint(QPainter& painter);

  // The highest-numbered handle (as last drawn) containing the point, or 0;
  // 0 while Hidden.
  int HitTest(int x, int y) const;
  // The cursor for the mouse at (x, y): the hand inside the frame, the
  // resize cursor of a handle, else the arrow.
  TCursor CursorAt(int x, int y) const;
  // Starts a body drag with the mouse at (x, y).
  void Grab(int x, int y);
  // Moves the frame so that the grabbed point follows the mouse; the
  // picture follows when `apply` is set.
  void DragTo(int x, int y, bool apply);
  // Moves the side or corner of ActiveHandle to the mouse (rules in the
  // .cpp); the picture follows when `apply` is set.
  void ResizeTo(int x, int y, bool apply);
  // Widens the frame by 2 × step about its centre and sets its height from
  // the proportions of AttachedBounds; the picture follows. The caller
  // repaints the box. False, changing nothing, without attached proportions
  // or when the step would shrink a side below MinSide.
  bool ScaleBy(int step);
  void HideOutline() { Hidden = true; }

  // Handle n (1..8) as last drawn: left and top inside, right and bottom
  // outside.
  const TRect& Handle(int n) const { return handles_[size_t(n)]; }
  // Handle n of a frame with the given bounds.
  static TRect HandleRect(const TRect& bounds, int n);

  static constexpr int kMinSide = kMinFrameSide;
  // True when a frame may change from the old size to the new one: no side
  // shrinks to below kMinSide.
  static bool SizeAllowed(int oldWidth, int oldHeight, int newWidth, int newHeight);

  // Where the frame's point (0, 0) lies in the coordinates of the picture's
  // parent (the box may lie at an offset inside it, e.g. inside a border).
  QPoint OriginFor(const QWidget& image) const;

 private:
  void RefreshHandles();
  // Repaints the part of the box that the outline at `bounds` covers.
  void UpdateArea(const TRect& bounds);

  QWidget* canvas_;
  std::array<TRect, kHandleCount + 1> handles_{};  // index 0 unused
  bool outlineShown_ = false;
};

// A picture control as a frame's target: the frame's coordinates are those of
// the frame's box, which may lie at an offset in the picture's parent.
class TImageTarget : public TFrameTarget {
 public:
  TImageTarget(TImage& image, const TFrame& frame) : image_(image), frame_(frame) {}
  PixelRect TargetBounds() const override;
  void PlaceTarget(const PixelRect& bounds) override;
  void ShowTarget(bool shown) override;
  TImage& Image() const { return image_; }

 private:
  TImage& image_;
  const TFrame& frame_;
};

}  // namespace glamora
