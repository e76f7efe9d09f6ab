// The placement frame: its geometry, its not-xor outline and its targets.
#include "views/Frame.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>

#include "imaging/Image.h"
#include "imaging/QtBitmap.h"
#include "imaging/RasterPen.h"
#include "imaging/core/Rounding.h"

namespace glamora {

namespace {

// Nearest integer, halves to even, kept within the range of int.
int Nearest(double v) {
  constexpr double kLimit = 1e9;
  if (!(v > -kLimit)) return int(-kLimit);
  if (!(v < kLimit)) return int(kLimit);
  return RoundEvenInt(v);
}

// The pixels of the closed outline through the four corners of a rectangle
// with inclusive edges, each pixel in exactly one span, so that one pass of
// the not-xor pen changes every outline pixel once.
void DrawOutlineSpans(QPainter& painter, const QColor& colour, int left, int top, int right, int bottom) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  const int width = right - left + 1;
  painter.fillRect(QRect(left, top, width, 1), colour);
  if (bottom > top) painter.fillRect(QRect(left, bottom, width, 1), colour);
  if (bottom - top > 1) {
    painter.fillRect(QRect(left, top + 1, 1, bottom - top - 1), colour);
    if (right > left) painter.fillRect(QRect(right, top + 1, 1, bottom - top - 1), colour);
  }
}

}  // namespace

TFrame::TFrame(QWidget* canvas) : canvas_(canvas) {
  SetRect({30, 30, 100, 100});
  RefreshHandles();
}

void TFrame::SetRect(const TRect& rect) {
  Bounds = rect;
  if (Width() > 0 && Height() > 0) Aspect = double(Width()) / Height();
}

void TFrame::Attach(TFrameTarget* target) {
  DrawOutline();
  Target = target;
  if (!Target) return;
  SetRect(FrameAround(Target->TargetBounds()));
  AttachedBounds = Bounds;
}

void TFrame::ApplyToImage() {
  if (Target) Target->PlaceTarget(InsideOfFrame(Bounds));
}

void TFrame::DrawOutline() {
  if (Hidden) return;
  RefreshHandles();
  outlineShown_ = !outlineShown_;
  UpdateArea(Bounds);
}

void TFrame::Paint(QPainter& painter) {
  if (!outlineShown_ || Hidden) return;
  RefreshHandles();
  painter.save();
  const QColor colour = ToQColor(PenColor);
  UseNotXorPen(painter, colour);
  DrawOutlineSpans(painter, colour, Bounds.Left, Bounds.Top, Bounds.Right, Bounds.Bottom);
  // A handle's outline covers all four sides of its rectangle.
  for (int n = 1; n <= kHandleCount; ++n) {
    const TRect& h = handles_[size_t(n)];
    DrawOutlineSpans(painter, colour, h.Left, h.Top, h.Right, h.Bottom);
  }
  painter.restore();
}

TRect TFrame::HandleRect(const TRect& b, int n) {
  const int mx = b.Left + (b.Right - b.Left + 1) / 2;
  const int my = b.Top + (b.Bottom - b.Top + 1) / 2;
  switch (n) {
    case 1: return {b.Left - 6, b.Top - 6, b.Left, b.Top};
    case 2: return {mx - 3, b.Top - 6, mx + 3, b.Top};
    case 3: return {b.Right, b.Top - 6, b.Right + 6, b.Top};
    case 4: return {b.Left - 6, my - 3, b.Left, my + 3};
    case 5: return {b.Right, my - 3, b.Right + 6, my + 3};
    case 6: return {b.Left - 6, b.Bottom, b.Left, b.Bottom + 6};
    case 7: return {mx - 3, b.Bottom, mx + 3, b.Bottom + 6};
    case 8: return {b.Right, b.Bottom, b.Right + 6, b.Bottom + 6};
    default: return {};
  }
}

void TFrame::RefreshHandles() {
  for (int n = 1; n <= kHandleCount; ++n) handles_[size_t(n)] = HandleRect(Bounds, n);
}

int TFrame::HitTest(int x, int y) const {
  if (Hidden) return 0;
  int hit = 0;
  for (int n = 1; n <= kHandleCount; ++n) {
    if (handles_[size_t(n)].Contains(x, y)) hit = n;
  }
  return hit;
}

TCursor TFrame::CursorAt(int x, int y) const {
  if (Bounds.Contains(x, y)) return crHandPoint;
  switch (HitTest(x, y)) {
    case 1:
    case 8: return crSizeNWSE;
    case 2:
    case 7: return crSizeNS;
    case 3:
    case 6: return crSizeNESW;
    case 4:
    case 5: return crSizeWE;
    default: return crDefault;
  }
}

void TFrame::Grab(int x, int y) {
  GrabX = x - Bounds.Left + 1;
  GrabY = y - Bounds.Top + 1;
}

void TFrame::DragTo(int x, int y, bool apply) {
  DrawOutline();
  const int width = Width();
  const int height = Height();
  Bounds.Left = x - GrabX;
  Bounds.Top = y - GrabY;
  Bounds.Right = x + width - GrabX - 1;
  Bounds.Bottom = y + height - GrabY - 1;
  if (apply) ApplyToImage();
  DrawOutline();
}

// Corner handles keep the proportions in Aspect and anchor the opposite
// corner; side handles move one side freely and adopt the new proportions.
// The moved side stays more than kResizeMargin pixels from the opposite one
// (corners check only the horizontal distance), else nothing changes.
void TFrame::ResizeTo(int x, int y, bool apply) {
  if (ActiveHandle == 0) return;
  DrawOutline();
  TRect& b = Bounds;
  const auto adoptProportions = [this] {
    if (Width() > 0 && Height() > 0) Aspect = double(Width()) / Height();
  };
  const auto proportionalHeight = [this] { return Nearest(Width() / Aspect); };
  switch (ActiveHandle) {
    case 1:
      if (b.Right - x > kResizeMargin) {
        b.Left = x;
        b.Top = b.Bottom - proportionalHeight();
      }
      break;
    case 2:
      if (b.Bottom - y > kResizeMargin) {
        b.Top = y;
        adoptProportions();
      }
      break;
    case 3:
      if (x - b.Left > kResizeMargin) {
        b.Right = x;
        b.Top = b.Bottom - proportionalHeight();
      }
      break;
    case 4:
      if (b.Right - x > kResizeMargin) {
        b.Left = x;
        adoptProportions();
      }
      break;
    case 5:
      if (x - b.Left > kResizeMargin) {
        b.Right = x;
        adoptProportions();
      }
      break;
    case 6:
      if (b.Right - x > kResizeMargin) {
        b.Left = x;
        b.Bottom = b.Top + proportionalHeight();
      }
      break;
    case 7:
      if (y - b.Top > kResizeMargin) {
        b.Bottom = y;
        adoptProportions();
      }
      break;
    case 8:
      if (x - b.Left > kResizeMargin) {
        b.Right = x;
        b.Bottom = b.Top + proportionalHeight();
      }
      break;
    default: break;
  }
  if (apply) ApplyToImage();
  DrawOutline();
}

bool TFrame::ScaleBy(int step) {
  const int attachedWidth = InclusiveLength(AttachedBounds.Left, AttachedBounds.Right);
  const int attachedHeight = InclusiveLength(AttachedBounds.Top, AttachedBounds.Bottom);
  if (attachedWidth <= 0 || attachedHeight <= 0) return false;
  const int width = Width() + 2 * step;
  const int n = Nearest(width * (double(attachedHeight) / attachedWidth));
  if (!SizeAllowed(Width(), Height(), width, n + 1)) return false;
  Bounds.Left -= step;
  Bounds.Right += step;
  Bounds.Top -= step;
  Bounds.Bottom = Bounds.Top + n;
  DrawOutline();
  ApplyToImage();
  return true;
}

bool TFrame::SizeAllowed(int oldWidth, int oldHeight, int newWidth, int newHeight) {
  const auto sideAllowed = [](int oldSide, int newSide) { return newSide >= kMinSide || newSide >= oldSide; };
  return sideAllowed(oldWidth, newWidth) && sideAllowed(oldHeight, newHeight);
}

QPoint TFrame::OriginFor(const QWidget& image) const {
  if (!canvas_) return {};
  QWidget* parent = image.parentWidget();
  if (!parent) return canvas_->mapToGlobal(QPoint(0, 0));
  if (parent == canvas_ || parent->isAncestorOf(canvas_)) return canvas_->mapTo(parent, QPoint(0, 0));
  return parent->mapFromGlobal(canvas_->mapToGlobal(QPoint(0, 0)));
}

PixelRect TImageTarget::TargetBounds() const {
  const QPoint origin = frame_.OriginFor(image_);
  return {image_.x() - origin.x(), image_.y() - origin.y(), image_.width(), image_.height()};
}

void TImageTarget::PlaceTarget(const PixelRect& bounds) {
  const QPoint origin = frame_.OriginFor(image_);
  image_.setGeometry(origin.x() + bounds.Left, origin.y() + bounds.Top, bounds.Width, bounds.Height);
}

void TImageTarget::ShowTarget(bool shown) { image_.setVisible(shown); }

void TFrame::UpdateArea(const TRect& b) {
  if (!canvas_) return;
  // The handles' outlines reach 6 pixels beyond the frame.
  const int left = std::min(b.Left, b.Right) - 6;
  const int top = std::min(b.Top, b.Bottom) - 6;
  const int right = std::max(b.Left, b.Right) + 6;
  const int bottom = std::max(b.Top, b.Bottom) + 6;
  canvas_->update(QRect(QPoint(left, top), QPoint(right, bottom)));
}

}  // namespace glamora
