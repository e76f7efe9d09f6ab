// The single-image view: zoom, fitting, scrolling and painting of its bitmap.
#include "imaging/ImgView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <algorithm>

#include "imaging/QtBitmap.h"
#include "imaging/core/LineDda.h"
#include "imaging/core/MagicWand.h"
#include "imaging/core/Resample.h"
#include "imaging/core/Rounding.h"

namespace glamora {

namespace {

constexpr int kZoomSteps[] = {2, 5, 10, 25, 33, 50, 75, 100};

constexpr int kSelectionTickMs = 150;
// Half the side of a grip on a rectangular selection.
constexpr int kGrip = 3;

// The background's opposite for the chessboard and the diagonals.
QColor ComplementOf(TColor color) { return ToQColor(ResolveColor(color) ^ 0xFFFFFF); }

// The zoom that fits the bitmap into an area of the given size: the client
// area, inside the border, so that no row or column is cut off.
int FitZoom(int areaWidth, int areaHeight, const Bitmap& bitmap) {
  const int64_t byHeight = TruncGuarded(areaHeight / (bitmap.Height() / 100.0));
  const int64_t byWidth = TruncGuarded(areaWidth / (bitmap.Width() / 100.0));
  return int(std::min(byHeight, byWidth));
}

}  // namespace

void RegisterImgViewCursors() {
  static const char* const names[] = {"ZOOMOUT", "ZOOMIN", "CROSS", "ERASER", "HAND",  "PEN",  "CROSS1",
                                      "CROSS2",  "MOVE2",  "MOVEY", "MOVE1",  "MOVEX", "MOVE"};
  CursorTable& table = CursorTable::Instance();
  for (int i = 0; i < 13; ++i) table.Register(crImgZoomOut + i, names[i]);
}

TImgView::TImgView(QWidget* parent) : TImgViewBase(parent) {
  RegisterImgViewCursors();
  SetCursor(crImgCross2);
  resize(105, 105);
  selectionTimer_.setInterval(kSelectionTickMs);
  connect(&selectionTimer_, &QTimer::timeout, this, [this] { AnimateSelection(); });
}

TImgView::~TImgView() { NotifyDestroyed(); }

// ---- zoom and scrolling ---------------------------------------------------

void TImgView::SetZoom(int percent) {
  // The cap keeps zoomed sizes of the largest bitmaps within int.
  percent = std::min(percent, kMaxZoom);
  if (percent <= 0 || percent == zoom_) return;
  LockPaint();
  zoom_ = percent;
  Update();
  --paintLock_;
  Paint();
  ViewChange(1);
}

void TImgView::ZoomAt(int x, int y, int percent) {
  LockPaint();
  const int bx = ScreenToBitmapX(x);
  const int by = ScreenToBitmapY(y);
  SetZoom(percent);
  // In double: a far bitmap point times a large zoom exceeds 32 bits.
  SetViewXY(int(TruncGuarded(double(bx) * zoom_ / 100.0 - ClientWidth() / 2)),
            int(TruncGuarded(double(by) * zoom_ / 100.0 - ClientHeight() / 2)));
  UnlockPaint();
}

void TImgView::Fit() {
  if (bitmap_.Empty()) return;
  SetZoom(FitZoom(ClientWidth(), ClientHeight(), bitmap_));
}

void TImgView::ViewMoved() {
  redrawNeeded_ = true;
  if (selected_) {
    selection_.Visible = true;
    UpdateSelectionTimer();
  }
  Paint();
  ViewChange(0);
}

QPoint TImgView::MaxViewXY() const {
  const int64_t w = RoundEven(bitmap_.Width() * double(zoom_) / 100.0);
  const int64_t h = RoundEven(bitmap_.Height() * double(zoom_) / 100.0);
  if (w <= 0 || h <= 0) return {0, 0};
  if (width() >= w && height() >= h) return {0, 0};
  return {int(std::max<int64_t>(w - ClientWidth(), 0)), int(std::max<int64_t>(h - ClientHeight(), 0))};
}

// Multiplying before dividing keeps exact halves exact (100 / 24 × 15 is
// 62.5, which the rounded ratio 100 / 24 would push to 63).
int TImgView::ScreenToBitmapX(int x) const {
  return RoundEvenInt(100.0 * (double(x) + ViewX() - offsetX_) / zoom_);
}
int TImgView::ScreenToBitmapY(int y) const {
  return RoundEvenInt(100.0 * (double(y) + ViewY() - offsetY_) / zoom_);
}
int TImgView::BitmapToScreenX(int x) const { return RoundEvenInt(x * double(zoom_) / 100.0 + offsetX_ - ViewX()); }
int TImgView::BitmapToScreenY(int y) const { return RoundEvenInt(y * double(zoom_) / 100.0 + offsetY_ - ViewY()); }

int TImgView::NextZoomIn(int zoom) {
  if (zoom >= 100) return zoom + 100;
  for (int step : kZoomSteps)
    if (step > zoom) return step;
  return 100;
}

int TImgView::NextZoomOut(int zoom) {
  if (zoom >= 200) return zoom - 100;
  for (auto it = std::rbegin(kZoomSteps); it != std::rend(kZoomSteps); ++it)
    if (*it < zoom) return *it;
  return kZoomSteps[0];
}

// ---- geometry -------------------------------------------------------------

void TImgView::Update() { UpdateGeometry(0); }

void TImgView::UpdateGeometry(int depth) {
  if (loading_) return;
  if (autoFit_ && !bitmap_.Empty()) {
    // A bitmap far larger than the view would give 0; the zoom stays at least 1.
    zoom_ = std::clamp(FitZoom(ClientWidth(), ClientHeight(), bitmap_), 1, kMaxZoom);
    ViewChange(1);
  }
  // A selection belongs to the bitmap's size it was made on. The geometry
  // below invalidates the window, so removing it needs no paint of its own.
  const QSize bitmapSize(bitmap_.Width(), bitmap_.Height());
  if (bitmapSize != lastBitmapSize_) {
    lastBitmapSize_ = bitmapSize;
    if (selected_) {
      ClearSelection();
      if (OnSelectionChange) OnSelectionChange(this);
    }
  }

  // A bar that appeared or vanished changed the client area; the depth bound
  // only guards against bars that could never settle.
  if (UpdateScrolling(MaxViewXY(), QSize(1, 1)) && depth < 4) {
    UpdateGeometry(depth + 1);
    return;
  }
  if (selected_) {
    selection_.Visible = true;
    UpdateSelectionTimer();
  }

  // As in MaxViewXY: the product first, so that 7 × 150 / 100 stays 10.5.
  zoomedWidth_ = RoundEvenInt(bitmap_.Width() * double(zoom_) / 100.0);
  zoomedHeight_ = RoundEvenInt(bitmap_.Height() * double(zoom_) / 100.0);
  offsetX_ = offsetY_ = 0;
  const int clientWidth = ClientWidth(), clientHeight = ClientHeight();
  extentX_ = std::min(zoomedWidth_, clientWidth);
  extentY_ = std::min(zoomedHeight_, clientHeight);
  if (center_) {
    if (extentX_ < clientWidth) offsetX_ = (clientWidth - extentX_) / 2;
    if (extentY_ < clientHeight) offsetY_ = (clientHeight - extentY_) / 2;
  }
  redrawNeeded_ = true;
  update();
}

void TImgView::UnlockPaint() {
  if (paintLock_ > 0 && --paintLock_ == 0) Update();
}

// ---- properties -----------------------------------------------------------

void TImgView::SetCenter(bool value) {
  if (value == center_) return;
  center_ = value;
  Update();
}

void TImgView::SetAutoFit(bool value) {
  if (value == autoFit_) return;
  autoFit_ = value;
  Update();
}

void TImgView::SetZoomFilter(TResampleFilter filter) {
  zoomFilter_ = filter;
  Update();
}

void TImgView::SetBackgroundStyle(TImgBackgroundStyle style) {
  backgroundStyle_ = style;
  Update();
}

void TImgView::SetDoubleBuffer(bool value) {
  doubleBuffer_ = value;
  if (!value) backBuffer_ = QImage();
  redrawNeeded_ = true;
  update();
}

void TImgView::SetMouseInteract(TImgMouseInteract modes) {
  static constexpr struct {
    TImgMouseInteractItem Mode;
    TImgMouseInteract Keeps;
  } rules[] = {
      {miScroll, {miZoom, miScroll}},
      {miSelect, {miZoom, miSelect}},
      {miSelectPolygon, {miSelectPolygon}},
      {miSelectCircle, {miSelectCircle}},
      {miSelectZoom, {miZoom, miSelectZoom}},
      {miZoom, {miZoom, miScroll, miSelect, miSelectZoom}},
      {miSelectMagicWand, {miSelectMagicWand}},
  };
  const TImgMouseInteract added = modes.Without(mouseInteract_);
  for (const auto& rule : rules) {
    if (added.Has(rule.Mode)) {
      modes = modes.Intersect(rule.Keeps);
      break;
    }
  }
  mouseInteract_ = modes;
}

void TImgView::SetCursor(TCursor id) {
  cursor_ = id;
  CursorTable::Instance().Apply(*this, id);
}

void TImgView::SetBackground(TColor color) {
  TImgViewBase::SetBackground(color);
  Update();
  ImageChange();
}

void TImgView::ImageChange() {
  if (OnImageChange) OnImageChange(this);
}

// ---- assignment -----------------------------------------------------------

void TImgView::Assign(const TImgView* source) {
  if (!source) {
    bitmap_.Fill(Background());
    Update();
    return;
  }
  if (source == this) return;
  bitmap_.Assign(source->bitmap_);
  TImgViewBase::SetBackground(source->Background());
  SetDpi(source->DpiX(), source->DpiY());
  Update();
  ImageChange();
}

void TImgView::Assign(const glamora::Bitmap* source) {
  if (!source) {
    Assign(static_cast<const TImgView*>(nullptr));
    return;
  }
  if (source != &bitmap_) bitmap_.Assign(*source);
  if (bitmap_.Format() == PixelFormat::Bits8) bitmap_.ConvertTo24();
  Update();
  ImageChange();
}

void TImgView::Assign(const QImage& source) {
  if (source.isNull() || !bitmap_.Reset(source.width(), source.height(), PixelFormat::Bits24)) return;
  // A see-through source is drawn over black.
  if (source.hasAlphaChannel()) bitmap_.Fill(clBlack);
  {
    BitmapCanvas canvas(bitmap_);
    canvas->drawImage(0, 0, source);
  }
  Update();
  ImageChange();
}

void TImgView::SetBounds(int left, int top, int width, int height) {
  setGeometry(left, top, width, height);
  if (loading_ && bitmap_.SetSize(width, height)) bitmap_.Fill(Background());
  Update();
}

void TImgView::EndLoading() {
  loading_ = false;
  Update();
}

// ---- painting -------------------------------------------------------------

void TImgView::Paint() {
  if (paintLock_ > 0) return;
  repaint();
}

void TImgView::Paint(const QRect& clientRect) {
  if (paintLock_ > 0) return;
  repaint(clientRect.translated(ClientOrigin()) & ClientRect());
}

void TImgView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  PaintFrame(painter);
  if (paintLock_ > 0) return;
  const QRect client = ClientRect();
  painter.setClipRect(event->rect() & client);
  painter.translate(client.topLeft());
  if (!doubleBuffer_) {
    PaintTo(painter);
  } else {
    if (redrawNeeded_ || backBuffer_.size() != client.size()) {
      if (backBuffer_.size() != client.size()) backBuffer_ = QImage(client.size(), QImage::Format_RGB32);
      QPainter back(&backBuffer_);
      PaintTo(back);
      redrawNeeded_ = false;
    }
    painter.drawImage(0, 0, backBuffer_);
  }
  if (selected_ && selection_.Visible) DrawSelection(painter);
}

void TImgView::PaintTo(QPainter& painter) {
  const QRect client(0, 0, ClientWidth(), ClientHeight());
  const bool noRows = bitmap_.Height() <= 0;
  if (((extentX_ < client.width() || extentY_ < client.height()) && !center_) || noRows) {
    PaintBackground(painter, QRegion(client).subtracted(QRect(0, 0, extentX_, extentY_)));
  }
  if (noRows) return;
  if (center_) {
    PaintBackground(painter, QRegion(client).subtracted(QRect(offsetX_, offsetY_, extentX_, extentY_)));
  }
  DrawPicture(painter);
}

void TImgView::DrawPicture(QPainter& painter) {
  // Source rectangle in bitmap pixels: client pixels times bitmap size over
  // zoomed size, multiplied before dividing so that exact halves stay exact.
  // The width loses one pixel when it would reach past the bitmap's right
  // edge (the height likewise).
  int sourceX = 0, sourceY = 0, sourceWidth = 0, sourceHeight = 0;
  if (zoomedWidth_ != 0) {
    const double size = bitmap_.Width();
    sourceWidth = RoundEvenInt(extentX_ * size / zoomedWidth_);
    sourceX = RoundEvenInt(ViewX() * size / zoomedWidth_);
    if (sourceX + sourceWidth > bitmap_.Width()) --sourceWidth;
  }
  if (zoomedHeight_ != 0) {
    const double size = bitmap_.Height();
    sourceHeight = RoundEvenInt(extentY_ * size / zoomedHeight_);
    sourceY = RoundEvenInt(ViewY() * size / zoomedHeight_);
    if (sourceY + sourceHeight > bitmap_.Height()) --sourceHeight;
  }
  const QRect dest(offsetX_, offsetY_, extentX_, extentY_);
  const QRect source(sourceX, sourceY, sourceWidth, sourceHeight);
  if (zoomFilter_ == rfNone || zoom_ <= 100) {
    dib_.Draw(painter, dest, bitmap_, source);
    return;
  }
  glamora::Bitmap magnified;
  const PixelRect from{sourceX, sourceY, sourceWidth, sourceHeight};
  if (ResampleFiltered(bitmap_, from, magnified, extentX_, extentY_, zoomFilter_)) {
    DrawBitmap(painter, dest.topLeft(), magnified);
  }
}

void TImgView::PaintBackground(QPainter& painter, const QRegion& area) const {
  if (area.isEmpty()) return;
  painter.save();
  painter.setClipRegion(area, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  const QRect client(0, 0, ClientWidth(), ClientHeight());
  const QColor background = ToQColor(Background());
  painter.fillRect(client, background);
  if (backgroundStyle_ == ibsChessboard) {
    const QColor complement = ComplementOf(Background());
    for (int row = 0; row * 16 < client.height(); ++row) {
      // The top-left square and every square diagonal to it take the complement.
      for (int column = row % 2; column * 16 < client.width(); column += 2) {
        painter.fillRect(column * 16, row * 16, 16, 16, complement);
      }
    }
  } else if (backgroundStyle_ == ibsDiagonals) {
    painter.setPen(ComplementOf(Background()));
    painter.drawLine(0, 0, client.width(), client.height());
    painter.drawLine(client.width(), 0, 0, client.height());
  }
  painter.restore();
}

// ---- selection ------------------------------------------------------------

void TImgView::SelectMagicWand(int x, int y, SelectionOp op) {
  if (selectionBase_ == isbClientArea) {
    x = ScreenToBitmapX(x);
    y = ScreenToBitmapY(y);
  }
  const std::vector<Point> edges = MagicWandOutline(bitmap_, x, y, magicWandTolerance_, magicWandMaxFilter_);
  if (edges.empty()) return;
  std::vector<Point> outline = edges;
  ClampToPixels(outline, bitmap_.Width(), bitmap_.Height());
  if (op == SelectionOp::Add && !selection_.Points.empty()) {
    AppendSelectionPoint(kSelectionSeparator);
  } else {
    selection_.Points.clear();
    selectionEdges_.clear();
  }
  for (size_t i = 0; i < outline.size(); ++i) AppendSelectionPoint(outline[i], edges[i]);
  ShowSelection(true);
  if (OnSelectionChange) OnSelectionChange(this);
}

void TImgView::AddSelPoint(int x, int y) {
  if (bitmap_.Empty()) return;
  if (selectionBase_ == isbClientArea) {
    x = ScreenToBitmapX(x);
    y = ScreenToBitmapY(y);
  }
  AppendSelectionPoint({std::clamp(x, 0, bitmap_.Width() - 1), std::clamp(y, 0, bitmap_.Height() - 1)});
  if (OnSelectionChanging) OnSelectionChanging(this);
}

void TImgView::AppendSelectionPoint(Point point, Point edge) {
  std::vector<Point>& points = selection_.Points;
  selected_ = true;
  if (point == kSelectionSeparator) {
    if (!points.empty() && points.back() == kSelectionSeparator) return;
    points.push_back(point);
    selectionEdges_.push_back(point);
    return;
  }
  // The first point of a list starts the box; every later one widens it.
  const bool first = std::none_of(points.begin(), points.end(), [](const Point& p) { return p != kSelectionSeparator; });
  points.push_back(point);
  selectionEdges_.push_back(edge);
  TSelectionRecord& r = selection_;
  if (first) {
    r.Left = r.Right = point.X;
    r.Top = r.Bottom = point.Y;
    return;
  }
  r.Left = std::min(r.Left, point.X);
  r.Right = std::max(r.Right, point.X);
  r.Top = std::min(r.Top, point.Y);
  r.Bottom = std::max(r.Bottom, point.Y);
}

void TImgView::ClearSelection() {
  selected_ = false;
  selection_.Visible = false;
  selection_.Points.clear();
  selectionEdges_.clear();
  selection_.Left = selection_.Top = 0;
  selection_.Right = selection_.Bottom = -1;
  UpdateSelectionTimer();
}

void TImgView::Deselect() {
  const bool had = selected_;
  ClearSelection();
  Paint();
  if (had && OnSelectionChange) OnSelectionChange(this);
}

void TImgView::ShowSelection(bool draw) {
  selection_.Visible = true;
  UpdateSelectionTimer();
  if (draw && selected_) Paint(SelectionClientRect());
}

void TImgView::HideSelection() {
  selection_.Visible = false;
  UpdateSelectionTimer();
  Paint();
}

void TImgView::SetSelectionOptions(TImgSelectionOptions options) {
  selectionOptions_ = options;
  selection_.Animated = options.testFlag(isoAnimated);
  selection_.Sizeable = options.testFlag(isoSizeable);
  UpdateSelectionTimer();
}

void TImgView::UpdateSelectionTimer() {
  const bool run = selected_ && selection_.Visible && selection_.Animated;
  if (run && !selectionTimer_.isActive()) {
    selectionTimer_.start();
  } else if (!run) {
    selectionTimer_.stop();
  }
}

void TImgView::AnimateSelection() {
  if (!selected_ || !selection_.Visible || !selection_.Animated) return;
  selection_.Phase = selection_.Phase == 5 ? 0 : selection_.Phase + 1;
  if (paintLock_ == 0) update(SelectionClientRect().translated(ClientOrigin()) & ClientRect());
}

QRect TImgView::SelectionClientRect() const {
  if (selection_.Right < selection_.Left) return {};
  const QRect box(QPoint(BitmapToScreenX(selection_.Left), BitmapToScreenY(selection_.Top)),
                  QPoint(BitmapToScreenX(selection_.Right), BitmapToScreenY(selection_.Bottom)));
  return box.adjusted(-kGrip, -kGrip, kGrip, kGrip);
}

bool TImgView::HostSelection(WorkSelection& selection) const {
  if (!selected_) return false;
  // The box of the stored points, widened to the edges beyond the last
  // column and row; the components clamp it to the bitmap.
  selection.Left = selection_.Left;
  selection.Top = selection_.Top;
  selection.Right = selection_.Right;
  selection.Bottom = selection_.Bottom;
  for (const Point& p : selectionEdges_) {
    if (p == kSelectionSeparator) continue;
    selection.Right = std::max(selection.Right, p.X);
    selection.Bottom = std::max(selection.Bottom, p.Y);
  }
  selection.Polygons = SplitPolygons(selectionEdges_);
  selection.IsRectangle = IsRectangle(selection_.Points);
  return true;
}

void TImgView::DrawSelection(QPainter& painter) const {
  // Each pixel of each edge, start included and end excluded, takes the dark
  // colour while the dash counter is 0, 1 or 2 and the light one while it is
  // 3, 4 or 5; the counter runs on from polygon to polygon.
  QPolygon dark, light;
  int counter = selection_.Phase;
  const QRect clip = painter.hasClipping() ? painter.clipBoundingRect().toAlignedRect() : QRect(0, 0, ClientWidth(), ClientHeight());
  auto edge = [&](QPoint a, QPoint b) {
    const int steps = std::max(std::abs(b.x() - a.x()), std::abs(b.y() - a.y()));
    if (!QRect(a, b).normalized().intersects(clip)) {
      counter = (counter + steps) % 6;  // out of sight: only the pattern moves on
      return;
    }
    LineDda(a.x(), a.y(), b.x(), b.y(), [&](int x, int y) {
      (counter < 3 ? dark : light).append(QPoint(x, y));
      counter = counter == 5 ? 0 : counter + 1;
    });
  };
  for (const std::vector<Point>& polygon : SplitPolygons(selection_.Points)) {
    QPoint first(BitmapToScreenX(polygon[0].X), BitmapToScreenY(polygon[0].Y));
    QPoint previous = first;
    for (size_t i = 1; i < polygon.size(); ++i) {
      const QPoint p(BitmapToScreenX(polygon[i].X), BitmapToScreenY(polygon[i].Y));
      edge(previous, p);
      previous = p;
    }
    edge(previous, first);
  }
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(ToQColor(selection_.Color1), 1));
  painter.drawPoints(dark);
  painter.setPen(QPen(ToQColor(selection_.Color2), 1));
  painter.drawPoints(light);
  if (selection_.Sizeable && IsRectangle(selection_.Points)) {
    // Grips from (x - 3, y - 3) to (x + 3, y + 3), the far edges excluded.
    for (const Point& p : selection_.Points) {
      const QRect grip(BitmapToScreenX(p.X) - kGrip, BitmapToScreenY(p.Y) - kGrip, 2 * kGrip, 2 * kGrip);
      painter.fillRect(grip, ToQColor(selection_.Color2));
      painter.setPen(QPen(ToQColor(selection_.Color1), 1));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(grip.adjusted(0, 0, -1, -1));
    }
  }
  painter.restore();
}

// ---- events ---------------------------------------------------------------

void TImgView::resizeEvent(QResizeEvent*) {
  if (loading_ && bitmap_.SetSize(width(), height())) bitmap_.Fill(Background());
  Update();
}

void TImgView::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint() - ClientOrigin();
  MouseDown(event->button(), event->modifiers(), p.x(), p.y());
}

void TImgView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint() - ClientOrigin();
  MouseMove(event->buttons(), event->modifiers(), p.x(), p.y());
}

void TImgView::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint() - ClientOrigin();
  MouseUp(event->button(), event->modifiers(), p.x(), p.y());
}

void TImgView::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) {
  // The filter waits while a button is down: dragging must stay fast.
  if (heldButtons_ == Qt::NoButton) {
    savedZoomFilter_ = zoomFilter_;
    zoomFilter_ = rfNone;
  }
  heldButtons_ |= button;
  pressPoint_ = {std::max(offsetX_, std::min(x, offsetX_ + extentX_ - 1)),
                 std::max(offsetY_, std::min(y, offsetY_ + extentY_ - 1))};
  pressViewX_ = ViewX();
  pressViewY_ = ViewY();
  lastPoint_ = {x, y};
  if (OnMouseDown) OnMouseDown(this, button, modifiers, x, y);
}

void TImgView::MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y) {
  if (heldButtons_ != Qt::NoButton && buttons != Qt::NoButton && mouseInteract_.Has(miScroll)) {
    SetViewXY(pressViewX_ + pressPoint_.x() - x, pressViewY_ + pressPoint_.y() - y);
  }
  lastPoint_ = {x, y};
  if (OnMouseMove) OnMouseMove(this, buttons, modifiers, x, y);
}

void TImgView::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) {
  const bool pressed = heldButtons_.testFlag(button);
  bool zoomed = false;
  if (pressed && mouseInteract_.Has(miZoom) && QPoint(x, y) == pressPoint_) {
    if (button == Qt::LeftButton) {
      ZoomAt(x, y, NextZoomIn(zoom_));
      zoomed = true;
    } else if (button == Qt::RightButton) {
      ZoomAt(x, y, NextZoomOut(zoom_));
      zoomed = true;
    }
  }
  if (pressed && !zoomed && mouseInteract_.Has(miScroll)) {
    SetViewXY(pressViewX_ + pressPoint_.x() - x, pressViewY_ + pressPoint_.y() - y);
  }
  lastPoint_ = {x, y};
  heldButtons_ &= ~Qt::MouseButtons(button);
  if (pressed && heldButtons_ == Qt::NoButton) {
    if (zoomFilter_ != savedZoomFilter_) {
      zoomFilter_ = savedZoomFilter_;
      Update();
    }
  }
  if (OnMouseUp) OnMouseUp(this, button, modifiers, x, y);
}

void TImgView::ShiftLastPoint(int dx, int dy) { lastPoint_ -= QPoint(dx, dy); }

}  // namespace glamora
