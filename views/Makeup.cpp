// The make-up canvas: showing the model's face, the region editor and the
// painting strokes.
#include "views/Makeup.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cstring>
#include <utility>

#include "face/RegionColouring.h"
#include "imaging/RasterPen.h"
#include "imaging/core/Rounding.h"
#include "model/Makeover.h"

namespace glamora {

namespace {

constexpr TColor clYellow = 0x0000FFFF;
constexpr TColor clLime = 0x0000FF00;

bool IsPaintingMode(TCanvasMode mode) { return mode == TCanvasMode::cmAirbrush || mode == TCanvasMode::cmPencil; }

// Copies the rows of `area` from one 24-bit picture to another of its size.
void CopyArea(const glamora::Bitmap& from, glamora::Bitmap& to, const PixelRect& area) {
  for (int y = area.Top; y <= area.Bottom(); ++y) {
    std::memcpy(to.Row(y) + 3 * size_t(area.Left), from.Row(y) + 3 * size_t(area.Left), 3 * size_t(area.Width));
  }
}

}  // namespace

TMakeup::TMakeup(Makeover& model, QWidget* parent) : TImgView(parent), model_(model) {
  // The rubber band and the hand near the first vertex follow the pointer
  // with no button held.
  setMouseTracking(true);
  // A click gives the canvas the keys, so that M reaches the region editor.
  setFocusPolicy(Qt::ClickFocus);
  SetMode(TCanvasMode::cmNone);
  drawing_ = false;
  SetZoomFactor(1);
  airBrush_.SetSize(10);
  airBrush_.SetIntensity(1);
  SetColor(clRed);
  model_.OnFaceChange = [this](const PixelRect& area, bool loaded) { ShowFace(area, loaded); };
  ShowFace(PixelRect::Of(model_.Face()), false);
}

TMakeup::~TMakeup() { model_.OnFaceChange = nullptr; }

void TMakeup::ShowFace(const PixelRect& area, bool loaded) {
  if (loaded) regionOutlines_.clear();
  // The made-up face is shown in full when comparing ends.
  if (comparing_) return;
  const glamora::Bitmap& face = model_.Face();
  glamora::Bitmap& shown = *Bitmap();
  const bool sameShape = shown.Width() == face.Width() && shown.Height() == face.Height() &&
                         shown.Format() == PixelFormat::Bits24 && face.Format() == PixelFormat::Bits24;
  const PixelRect part = area.ClampedTo(face);
  if (sameShape && part != PixelRect::Of(face)) {
    // A stroke: only its part is copied and drawn, and the outline editor's
    // lines stay.
    if (part.Empty()) return;
    CopyArea(face, shown, part);
    Paint(ClientRectOfPictureRect(part));
    return;
  }
  windowLines_.clear();
  rubberShown_ = false;
  Assign(&face);
  if (loaded) resize(face.Width(), face.Height());
  Paint();
}

void TMakeup::SetMode(TCanvasMode mode) {
  HideRegionOutlines();
  mode_ = mode;
  if (mode == TCanvasMode::cmOutline) polygonState_ = TPolygonState::psIdle;
  if (IsPaintingMode(mode)) drawing_ = false;
}

void TMakeup::SetZoomFactor(int factor) {
  zoomFactor_ = factor <= 0 ? 1 : factor;
  SetZoom(zoomFactor_ * 100);
}

void TMakeup::SetColor(TColor color) {
  airBrush_.SetColor(color);
  pencilColor_ = color;
}

int TMakeup::RegionAt(int x, int y) const {
  const int px = x + ViewX(), py = y + ViewY();
  const int cx = model_.HalfWidth() * zoomFactor_, cy = model_.SplitY() * zoomFactor_;
  if (py >= cy) return FaceHeader::kLips;
  return px <= cx ? FaceHeader::kLeftEye : FaceHeader::kRightEye;
}

QPoint TMakeup::PicturePoint(int x, int y) const {
  return {RoundEvenInt(double(x + ViewX()) / zoomFactor_), RoundEvenInt(double(y + ViewY()) / zoomFactor_)};
}

void TMakeup::ViewChange(int change) {
  TImgView::ViewChange(change);
  emit PictureMoved();
}

void TMakeup::RestoreOwnCursor() { CursorTable::Instance().Apply(*this, Cursor()); }

bool TMakeup::NearFirstVertex(int x, int y, int reach) const {
  if (workPolygon_.Count < 1) return false;
  const FacePoint& first = workPolygon_.Points[0];
  return x >= first.X - reach && x < first.X + reach && y >= first.Y - reach && y < first.Y + reach;
}

// ---- the mouse -------------------------------------------------------------

void TMakeup::mousePressEvent(QMouseEvent* event) {
  if (comparing_) return;
  HideRegionOutlines();
  pressButtons_ = event->buttons();
  TImgView::mousePressEvent(event);
}

void TMakeup::mouseMoveEvent(QMouseEvent* event) {
  if (!comparing_) TImgView::mouseMoveEvent(event);
}

void TMakeup::mouseReleaseEvent(QMouseEvent* event) {
  if (!comparing_) TImgView::mouseReleaseEvent(event);
}

void TMakeup::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) {
  const Qt::KeyboardModifiers keys = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  const bool onlyLeftHeld = pressButtons_ == Qt::LeftButton || pressButtons_ == Qt::NoButton;
  const bool outlining = mode_ == TCanvasMode::cmOutline;
  if (button == Qt::LeftButton && onlyLeftHeld && keys == Qt::AltModifier) {
    if (outlining) MirrorPolygon();
    return;
  }
  if (button == Qt::LeftButton && onlyLeftHeld && keys == Qt::ControlModifier) {
    if (!outlining) return;
    // An unfinished polygon is thrown away first, as a right click does, so
    // that it can never be stored into the region this click shows.
    if (polygonState_ == TPolygonState::psDrawing) CancelPolygon();
    ShowStoredRegion(x, y);
    return;
  }
  if (button == Qt::RightButton) {
    currentRegion_ = uint8_t(RegionAt(x, y));
    if (outlining) CancelPolygon();
    return;
  }
  if (button != Qt::LeftButton || mode_ == TCanvasMode::cmNone) return;
  if (IsPaintingMode(mode_)) {
    StartStroke(x, y);
    return;
  }
  if (!outlining) return;
  if (polygonState_ == TPolygonState::psIdle) {
    CancelPolygon();
    polygonState_ = TPolygonState::psDrawing;
    currentRegion_ = uint8_t(RegionAt(x, y));
    AddVertex(x, y);
    return;
  }
  if (NearFirstVertex(x, y, 4)) {
    polygonState_ = TPolygonState::psIdle;
    RestoreOwnCursor();
    StorePolygon();
    return;
  }
  AddVertex(x, y);
}

void TMakeup::MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y) {
  if (mode_ == TCanvasMode::cmOutline && polygonState_ == TPolygonState::psDrawing) {
    if (NearFirstVertex(x, y, 3)) {
      CursorTable::Instance().Apply(*this, crHandPoint);
    } else {
      RestoreOwnCursor();
    }
    // The old rubber band vanishes and the new one appears, over the picture.
    if (rubberShown_) InvalidateLine(QLine(anchor_, rubberEnd_));
    rubberEnd_ = {x, y};
    rubberShown_ = true;
    InvalidateLine(QLine(anchor_, rubberEnd_));
    return;
  }
  if (drawing_ && IsPaintingMode(mode_)) ContinueStroke(x, y);
}

void TMakeup::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) {
  // A stored polygon's yellow and a shown region's lime last only while
  // the button is held.
  if (mode_ == TCanvasMode::cmOutline && polygonState_ == TPolygonState::psIdle) model_.Undo();
  drawing_ = false;
}

void TMakeup::KeyDown(int key, Qt::KeyboardModifiers modifiers) {
  const Qt::KeyboardModifiers keys = modifiers & (Qt::ControlModifier | Qt::AltModifier);
  if (key != Qt::Key_M || keys != Qt::NoModifier) return;
  if (mode_ != TCanvasMode::cmOutline || polygonState_ != TPolygonState::psDrawing) return;
  MirrorPolygon();
  mirroredByKey_ = polygonState_ == TPolygonState::psIdle && workPolygon_.Count == 0;
}

void TMakeup::KeyUp(int key) {
  if (key != Qt::Key_M || !std::exchange(mirroredByKey_, false)) return;
  // As at the release of the mouse button that stores a polygon.
  model_.Undo();
}

void TMakeup::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_M) {
    TImgView::keyPressEvent(event);
    return;
  }
  if (!event->isAutoRepeat()) KeyDown(event->key(), event->modifiers());
}

void TMakeup::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_M) {
    TImgView::keyReleaseEvent(event);
    return;
  }
  if (!event->isAutoRepeat()) KeyUp(event->key());
}

void TMakeup::focusOutEvent(QFocusEvent* event) {
  // A release that goes elsewhere still takes the yellow away.
  if (mirroredByKey_) KeyUp(Qt::Key_M);
  TImgView::focusOutEvent(event);
}

// ---- the region editor -----------------------------------------------------

void TMakeup::CancelPolygon() {
  workPolygon_.Count = 0;
  workPolygon_.Valid = 0;
  polygonState_ = TPolygonState::psIdle;
  model_.Undo();
}

void TMakeup::AddVertex(int x, int y) {
  if (workPolygon_.Count + 1 > FaceRegion::kMaxPoints) {
    workPolygon_.Count = FaceRegion::kMaxPoints;
    return;
  }
  ++workPolygon_.Count;
  workPolygon_.Points[size_t(workPolygon_.Count - 1)] = {x, y};
  if (workPolygon_.Count > 1) {
    // The last rubber band stays on the window as the polygon's new edge.
    windowLines_.emplace_back(anchor_, QPoint(x, y));
    InvalidateLine(windowLines_.back());
  }
  if (rubberShown_) InvalidateLine(QLine(anchor_, rubberEnd_));
  anchor_ = {x, y};
  rubberEnd_ = {x, y};
  rubberShown_ = false;
}

void TMakeup::StorePolygon() {
  workPolygon_.Valid = 1;
  FaceRegion stored = workPolygon_;
  for (int i = 0; i < stored.Count; ++i) {
    FacePoint& p = stored.Points[size_t(i)];
    const QPoint picture = PicturePoint(p.X, p.Y);
    p = {picture.x(), picture.y()};
  }
  model_.StoreRegion(currentRegion_, stored);
  polygonState_ = TPolygonState::psIdle;
  RestoreOwnCursor();
  model_.OutlineRegion(currentRegion_, clYellow);
  workPolygon_.Valid = 0;
  workPolygon_.Count = 0;
  workPolygon_.Points[0] = {0, 0};
}

void TMakeup::MirrorPolygon() {
  const int n = workPolygon_.Count;
  // Nothing placed, or no room for the mirrored half: the click is ignored.
  if (n < 1 || 2 * n - 2 > FaceRegion::kMaxPoints) {
    if (n > 0) QApplication::beep();
    return;
  }
  auto& p = workPolygon_.Points;
  p[size_t(n - 1)].X = p[0].X;
  for (int i = 2; i <= n - 1; ++i) p[size_t(2 * n - i - 1)] = {2 * p[0].X - p[size_t(i - 1)].X, p[size_t(i - 1)].Y};
  workPolygon_.Count = 2 * n - 2;
  StorePolygon();
  polygonState_ = TPolygonState::psIdle;
}

void TMakeup::ShowStoredRegion(int x, int y) {
  model_.SaveUndo();
  polygonState_ = TPolygonState::psShowing;
  currentRegion_ = uint8_t(RegionAt(x, y));
  model_.OutlineRegion(currentRegion_, clLime);
  polygonState_ = TPolygonState::psIdle;
}

// ---- strokes ---------------------------------------------------------------

void TMakeup::StartStroke(int x, int y) {
  drawing_ = true;
  model_.SaveUndo();
  penPosition_ = PicturePoint(x, y);
  penColor_ = pencilColor_;
  // A click lays one stamp; the moves lay the way on from it.
  const Point at{penPosition_.x(), penPosition_.y()};
  if (mode_ == TCanvasMode::cmPencil) {
    model_.PencilDot(at, penColor_);
  } else {
    model_.Stamp(airBrush_, at);
  }
}

void TMakeup::ContinueStroke(int x, int y) {
  const QPoint p = PicturePoint(x, y);
  if (p == penPosition_) return;
  const Point from{penPosition_.x(), penPosition_.y()}, to{p.x(), p.y()};
  if (mode_ == TCanvasMode::cmPencil) {
    model_.PencilLine(from, to, penColor_);
  } else {
    model_.StampAlong(airBrush_, from, to);
  }
  penPosition_ = p;
}

// ---- views over the picture ------------------------------------------------

void TMakeup::ShowRegionOutlines() {
  regionOutlines_.clear();
  const glamora::Bitmap& face = model_.Face();
  for (int number : {FaceHeader::kLeftEye, FaceHeader::kRightEye, FaceHeader::kLips}) {
    ForEachFrameRow(RegionOf(model_.Header().Region(number)), PixelRect::Of(face), [&](int y, const uint8_t* frame) {
      for (int x = 0; x < face.Width(); ++x) {
        if (frame[x]) regionOutlines_.emplace_back(x, y);
      }
    });
  }
  update();
}

void TMakeup::HideRegionOutlines() {
  if (regionOutlines_.empty()) return;
  regionOutlines_.clear();
  update();
}

void TMakeup::SetComparing(bool on) {
  if (on == comparing_) return;
  comparing_ = on;
  if (on) {
    // A stroke never sees its release while comparing: it ends here.
    drawing_ = false;
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (child->isVisible() && !qobject_cast<QScrollBar*>(child)) {
        hiddenForComparing_.emplace_back(child);
        child->hide();
      }
    }
    if (!model_.LoadedFace().Empty()) Assign(&model_.LoadedFace());
    Paint();
    return;
  }
  for (const QPointer<QWidget>& child : hiddenForComparing_) {
    if (child) child->show();
  }
  hiddenForComparing_.clear();
  // The outline editor's lines on the window stay.
  Assign(&model_.Face());
  Paint();
}

// ---- drawing ---------------------------------------------------------------

QRect TMakeup::ClientRectOfPictureRect(const PixelRect& r) const {
  const int z = zoomFactor_;
  return QRect(r.Left * z - ViewX() - z, r.Top * z - ViewY() - z, (r.Width + 2) * z, (r.Height + 2) * z);
}

void TMakeup::InvalidateLine(const QLine& line) {
  const QRect r = QRect(line.p1(), line.p2()).normalized().adjusted(-2, -2, 2, 2);
  update(r.translated(ClientOrigin()));
}

void TMakeup::paintEvent(QPaintEvent* event) {
  TImgView::paintEvent(event);
  if (comparing_ || (windowLines_.empty() && !rubberShown_ && regionOutlines_.empty())) return;
  QPainter painter(this);
  painter.setClipRect(ClientRect());
  painter.translate(ClientOrigin());
  const int z = zoomFactor_;
  for (const QPoint& p : regionOutlines_) painter.fillRect(p.x() * z - ViewX(), p.y() * z - ViewY(), z, z, Qt::green);
  UseNotXorPen(painter);
  for (const QLine& line : windowLines_) painter.drawLine(line);
  if (rubberShown_) painter.drawLine(QLine(anchor_, rubberEnd_));
}

}  // namespace glamora
