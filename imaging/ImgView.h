#pragma once
// TImgView: the single-image view. It owns one bitmap, never replaced, only
// resized and redrawn, and shows it with a zoom in integer percent, scroll
// positions in zoomed pixels, optional scroll bars, automatic fitting and
// centring, an optional resampling filter for magnification, and one
// selection shown with marching ants.
//
// Windows draw on Bitmap() (through a BitmapCanvas) and then call Update()
// when the size may have changed, or Paint() to show the new pixels at once.
//
// The selection is a list of polygons in bitmap pixels, separated by
// kSelectionSeparator and closed implicitly. Processing components attached
// to the view work inside it. A magic-wand outline runs along pixel edges,
// so where its region reaches the right or bottom edge of the bitmap its
// vertices lie one past the last pixel; the selection stores them clamped
// to the last pixel, where the outline stays visible, and keeps the edges
// as traced for the components, so that they reach the region's last
// column and row too. It is made with SelectMagicWand or point by
// point with AddSelPoint, and removed by Deselect, by a change of the
// bitmap's size seen by Update, or replaced by the next magic-wand selection.
// Its outline is drawn in the paint event, dashes of three dark and three
// light pixels; a 150 ms timer moves the dashes one pixel on and repaints the
// outline's box.
#include <QFlags>
#include <QImage>
#include <QScrollBar>
#include <QTimer>
#include <initializer_list>
#include <vector>

#include "imaging/CursorTable.h"
#include "imaging/DibDraw.h"
#include "imaging/ImgViewBase.h"
#include "imaging/core/PolygonRegion.h"
#include "imaging/core/ResampleFilter.h"
#include "imaging/core/SelectionTrace.h"

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

// How selection operations read the coordinates they are given.
enum TImgSelectionBase {
  isbClientArea,  // client coordinates, converted to bitmap pixels
  isbBitmap,      // bitmap pixels
};

enum TImgSelectionOption { isoAnimated = 0x1, isoSizeable = 0x2, isoMoveable = 0x4 };
Q_DECLARE_FLAGS(TImgSelectionOptions, TImgSelectionOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TImgSelectionOptions)

// What a new magic-wand selection does to the one there is.
enum class SelectionOp : int {
  Replace = 0,
  Add = 1,  // a further polygon, after a separator
};

// The view's one selection.
struct TSelectionRecord {
  // Bitmap pixels; kSelectionSeparator ends one polygon and starts the next.
  std::vector<Point> Points;
  TColor Color1 = clBlack;  // the dark dashes and the grips' frames
  TColor Color2 = clWhite;  // the light dashes and the grips' insides
  bool Animated = true;
  int Phase = 0;  // 0..5: where the dash pattern starts
  // Bounding box of the points (separators aside), bitmap pixels, inclusive.
  int Left = 0, Top = 0, Right = -1, Bottom = -1;
  bool Visible = false;
  bool Sizeable = true;  // grips are drawn on a rectangle
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
  // The largest zoom at which the whole bitmap fits the client area (inside
  // the border); AutoFit keeps that zoom.
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

  // ---- selection
  // The view has a selection.
  bool Selected() const { return selected_; }
  const TSelectionRecord& SelectionRecord() const { return selection_; }
  // Selects the region around (x, y) (client coordinates, or bitmap pixels
  // with isbBitmap) whose colours lie within MagicWandTolerance of the
  // seed's in every channel, grown by a pixel with MagicWandMaxFilter, and
  // shows its outline. A seed outside the bitmap, a bitmap that does not
  // have 24 bits per pixel or a region without outline leave the selection
  // as it was.
  void SelectMagicWand(int x, int y, SelectionOp op = SelectionOp::Replace);
  // Removes the selection and paints (unless painting is locked).
  void Deselect();
  // Marks the outline visible; with `draw`, draws it at once.
  void ShowSelection(bool draw);
  // Marks the outline hidden and paints (unless painting is locked).
  void HideSelection();
  // Appends a point (client coordinates, or bitmap pixels with isbBitmap),
  // clamped into the bitmap; the view then has a selection.
  void AddSelPoint(int x, int y);
  // What the selection timer runs: moves the dashes on by one pixel and
  // repaints the outline's box, while an animated outline is shown.
  void AnimateSelection();
  const QTimer& SelectionTimer() const { return selectionTimer_; }

  int MagicWandTolerance() const { return magicWandTolerance_; }
  void SetMagicWandTolerance(int value) { magicWandTolerance_ = value; }
  bool MagicWandMaxFilter() const { return magicWandMaxFilter_; }
  void SetMagicWandMaxFilter(bool value) { magicWandMaxFilter_ = value; }
  TImgSelectionBase SelectionBase() const { return selectionBase_; }
  void SetSelectionBase(TImgSelectionBase base) { selectionBase_ = base; }
  TImgSelectionOptions SelectionOptions() const { return selectionOptions_; }
  // isoAnimated and isoSizeable pass on to the selection record.
  void SetSelectionOptions(TImgSelectionOptions options);

  // OnSelectionChange fires when SelectMagicWand made a selection and when
  // Deselect removed one; OnSelectionChanging for each AddSelPoint.
  // OnMouseInSel belongs to the mouse selection modes, which no view runs.
  TNotifyEvent OnSelectionChanging;
  TNotifyEvent OnSelectionChange;
  TNotifyEvent OnMouseInSel;

  // BitmapHost: the selection as the working region of attached components.
  bool HostSelection(WorkSelection& selection) const override;

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

  // Appends a point in bitmap pixels (or a separator) and widens the box;
  // `edge` is where the point lies for the working region.
  void AppendSelectionPoint(Point point, Point edge);
  void AppendSelectionPoint(Point point) { AppendSelectionPoint(point, point); }
  // Removes the selection without painting.
  void ClearSelection();
  // Runs the selection timer exactly while an animated outline is shown.
  void UpdateSelectionTimer();
  // The outline's box in client coordinates, grips included.
  QRect SelectionClientRect() const;
  // The marching ants and, on a rectangle, the grips; the painter's origin
  // is the client origin.
  void DrawSelection(QPainter& painter) const;

  glamora::Bitmap bitmap_;
  TCursor cursor_ = crImgCross2;
  bool center_ = false;
  bool redrawNeeded_ = true;
  TResampleFilter zoomFilter_ = rfNone;
  TResampleFilter savedZoomFilter_ = rfNone;
  TImgBackgroundStyle backgroundStyle_ = ibsSolid;
  bool magicWandMaxFilter_ = false;
  int magicWandTolerance_ = 15;
  int pressViewX_ = 0, pressViewY_ = 0;
  QSize lastBitmapSize_;
  int zoom_ = 100;
  DibDraw dib_;
  int paintLock_ = 0;
  int offsetX_ = 0, offsetY_ = 0;
  int extentX_ = 0, extentY_ = 0;
  int zoomedWidth_ = 0, zoomedHeight_ = 0;
  bool doubleBuffer_ = false;
  bool autoFit_ = false;
  bool loading_ = false;
  bool selected_ = false;
  Qt::MouseButtons heldButtons_;
  QPoint pressPoint_, lastPoint_;
  TSelectionRecord selection_;
  // The points as the working region sees them, one for each stored point.
  std::vector<Point> selectionEdges_;
  TImgSelectionBase selectionBase_ = isbClientArea;
  TImgSelectionOptions selectionOptions_ = isoAnimated | isoSizeable | isoMoveable;
  QTimer selectionTimer_;
  TImgMouseInteract mouseInteract_;
  QImage backBuffer_;
};

}  // namespace glamora
