#pragma once
// TImgView: the single-image view. It owns one bitmap, never replaced, only
// resized and redrawn, and shows it with a zoom in integer percent, scroll
// positions in zoomed pixels, optional scroll bars, automatic fitting and
// centring, and an optional resampling filter for magnification.
//
// Windows draw on Bitmap() (through a BitmapCanvas) and then call Update()
// when the size may have changed, or Paint() to show the new pixels at once.
#include <QImage>
#include <QScrollBar>
#include <initializer_list>

#include "imaging/CursorTable.h"
#include "imaging/DibDraw.h"
#include "imaging/ImgViewBase.h"
#include "imaging/core/ResampleFilter.h"

namespace glamora {

enum TImgBackgroundStyle { ibsSolid, ibsChessboard, ibsDiagonals };

enum TImgMouseInteractItem : uint8_t {
  miZoom,
  miScroll,
  miSelect,
  miSelectPolygon,
  miSelectCircle,
  miSelectZoom,
  miSelectMagicWand,
};

// A set of mouse modes.
class TImgMouseInteract {
 public:
  constexpr TImgMouseInteract() = default;
  constexpr TImgMouseInteract(std::initializer_list<TImgMouseInteractItem> items) {
    for (auto item : items) bits_ |= uint8_t(1u << item);
  }
  constexpr bool Has(TImgMouseInteractItem item) const { return (bits_ >> item) & 1u; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr TImgMouseInteract Intersect(TImgMouseInteract other) const { return FromBits(bits_ & other.bits_); }
  constexpr TImgMouseInteract Without(TImgMouseInteract other) const { return FromBits(bits_ & ~other.bits_); }
  friend constexpr bool operator==(TImgMouseInteract, TImgMouseInteract) = default;

 private:
  static constexpr TImgMouseInteract FromBits(uint8_t bits) {
    TImgMouseInteract set;
    set.bits_ = bits;
    return set;
  }
  uint8_t bits_ = 0;
};

using TMouseEvent = std::function<void(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                       int x, int y)>;
using TMouseMoveEvent =
    std::function<void(QObject* sender, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y)>;

// The cursors every view registers at creation, numbers 1778 to 1790.
constexpr TCursor crImgZoomOut = 1778;
constexpr TCursor crImgZoomIn = 1779;
constexpr TCursor crImgCross = 1780;
constexpr TCursor crImgEraser = 1781;
constexpr TCursor crImgHand = 1782;
constexpr TCursor crImgPen = 1783;
constexpr TCursor crImgCross1 = 1784;
constexpr TCursor crImgCross2 = 1785;
constexpr TCursor crImgMove2 = 1786;
constexpr TCursor crImgMoveY = 1787;
constexpr TCursor crImgMove1 = 1788;
constexpr TCursor crImgMoveX = 1789;
constexpr TCursor crImgMove = 1790;

void RegisterImgViewCursors();

class TImgView : public TImgViewBase {
  Q_OBJECT

 public:
  explicit TImgView(QWidget* parent = nullptr);
  ~TImgView() override;

  glamora::Bitmap* Bitmap() override { return &bitmap_; }
  using TImgViewBase::Bitmap;

  static constexpr int kMaxZoom = 1'000'000;
  // Zoom in percent, 1 to kMaxZoom (larger values give kMaxZoom). Values <= 0
  // and the current value are ignored; otherwise the view is recomputed,
  // painted and OnViewChange(1) fires.
  int Zoom() const { return zoom_; }
  void SetZoom(int percent);
  // Zooms so that the bitmap point under client point (x, y) comes to the
  // centre of the view.
  void ZoomAt(int x, int y, int percent);
  // The largest zoom at which the whole bitmap fits the control's outer size.
  void Fit();

  // The scroll position (ViewX, ViewY, SetViewXY of the base) is in zoomed
  // pixels; moving it paints at once and fires OnViewChange(0).
  QPoint MaxViewXY() const override;

  // Client <-> bitmap coordinates, rounded with halves to even.
  int ScreenToBitmapX(int x) const;
  int ScreenToBitmapY(int y) const;
  int BitmapToScreenX(int x) const;
  int BitmapToScreenY(int y) const;

  // Geometry of the last Update, in client pixels.
  int OffsetX() const { return offsetX_; }
  int OffsetY() const { return offsetY_; }
  int ExtentX() const { return extentX_; }
  int ExtentY() const { return extentY_; }
  int ZoomedWidth() const { return zoomedWidth_; }
  int ZoomedHeight() const { return zoomedHeight_; }

  // Recomputes the geometry (fitting, scroll limits and bars, offsets and
  // extents) and invalidates the window.
  void Update();
  // Draws at once, unless painting is locked.
  void Paint();
  // Draws only the given client rectangle at once, unless painting is locked.
  void Paint(const QRect& clientRect);
  // Draws the client area onto a painter whose origin is the client origin.
  void PaintTo(QPainter& painter);

  // Painting is suppressed while locked; unlocking the last lock runs Update.
  void LockPaint() { ++paintLock_; }
  void UnlockPaint();
  int PaintLock() const { return paintLock_; }

  bool Center() const { return center_; }
  void SetCenter(bool value);
  bool AutoFit() const { return autoFit_; }
  void SetAutoFit(bool value);
  TResampleFilter ZoomFilter() const { return zoomFilter_; }
  void SetZoomFilter(TResampleFilter filter);
  TImgBackgroundStyle BackgroundStyle() const { return backgroundStyle_; }
  void SetBackgroundStyle(TImgBackgroundStyle style);
  bool DoubleBuffer() const { return doubleBuffer_; }
  void SetDoubleBuffer(bool value);
  TImgMouseInteract MouseInteract() const { return mouseInteract_; }
  // Keeps the modes consistent: the first newly added mode decides which remain.
  virtual void SetMouseInteract(TImgMouseInteract modes);
  // The idle cursor, a number of the cursor table.
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor id);

  void SetBackground(TColor color) override;
  void ImageChange() override;
  // An attached component changed the bitmap.
  void HostBitmapChanged() override {
    Update();
    ImageChange();
  }

  // From another view: exact copy of its bitmap, background and resolution.
  // From nothing (nullptr): the bitmap is filled with the background.
  void Assign(const TImgView* source);
  // A 24-bit or 1-bit bitmap is copied exactly; other formats become 24 bits.
  void Assign(const glamora::Bitmap* source);
  // A picture of any format is drawn onto a 24-bit bitmap of its size.
  void Assign(const QImage& source);

  // While the view is built from a form description every resize also
  // resizes the bitmap to the outer size and fills it with the background;
  // a view made at run time keeps its bitmap (empty at first).
  void BeginLoading() { loading_ = true; }
  void EndLoading();
  // Moves and resizes the control (the bitmap too while loading).
  void SetBounds(int left, int top, int width, int height);

  TNotifyEvent OnImageChange;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;

  // Mouse handlers in client coordinates. A subclass that handles the mouse
  // itself overrides them and need not call these.
  virtual void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
  virtual void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
  virtual void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
  // Moves the remembered last mouse point by (-dx, -dy), as auto-scrolling does.
  virtual void ShiftLastPoint(int dx, int dy);

  // The zoom steps of a click: in with the left button, out with the right.
  static int NextZoomIn(int zoom);
  static int NextZoomOut(int zoom);

 protected:
  void ViewMoved() override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // Also receives the second press of a double click, which arrives as a
  // double-click event that QWidget hands on here.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void ClientAreaChanged() override { Update(); }

  void PaintBackground(QPainter& painter, const QRegion& area) const;
  QPoint PressPoint() const { return pressPoint_; }
  QPoint LastPoint() const { return lastPoint_; }

 private:
  void UpdateGeometry(int depth);
  void DrawPicture(QPainter& painter);

  glamora::Bitmap bitmap_;
  TCursor cursor_ = crImgCross2;
  bool center_ = false;
  bool redrawNeeded_ = true;
  TResampleFilter zoomFilter_ = rfNone;
  TResampleFilter savedZoomFilter_ = rfNone;
  TImgBackgroundStyle backgroundStyle_ = ibsSolid;
  int pressViewX_ = 0, pressViewY_ = 0;
  int zoom_ = 100;
  DibDraw dib_;
  int paintLock_ = 0;
  int offsetX_ = 0, offsetY_ = 0;
  int extentX_ = 0, extentY_ = 0;
  int zoomedWidth_ = 0, zoomedHeight_ = 0;
  bool doubleBuffer_ = false;
  bool autoFit_ = false;
  bool loading_ = false;
  Qt::MouseButtons heldButtons_;
  QPoint pressPoint_, lastPoint_;
  TImgMouseInteract mouseInteract_;
  QImage backBuffer_;
};

}  // namespace glamora
