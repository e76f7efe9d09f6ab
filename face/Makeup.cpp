#include "face/Makeup.h"

#include <QApplication>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

#include "face/FaceFile.h"
#include "face/FaceKeyGenerator.h"
#include "face/RgbBuffer.h"
#include "imaging/QtBitmap.h"
#include "imaging/RasterPen.h"
#include "imaging/core/PolygonRegion.h"
#include "imaging/core/Rounding.h"

namespace glamora {

namespace {

constexpr TColor clYellow = 0x0000FFFF;
constexpr TColor clLime = 0x0000FF00;

// Vertices placed with the mouse lie within a few thousand pixels of the
// picture; coordinates beyond this come only from a damaged header, and a
// polygon built from them would span billions of rows.
constexpr int kFarthestVertex = 32767;

// The modes in which a press starts a pencil or airbrush stroke.
bool IsPaintingMode(int mode) { return mode == TMakeup::kModeAirbrush || mode == TMakeup::kModePencil; }

PolygonRegion RegionOf(const FaceRegion& record) {
  if (!record.IsOutlined()) return {};
  std::vector<Point> vertices(size_t(record.Count));
  for (int i = 0; i < record.Count; ++i) {
    const FacePoint& p = record.Points[size_t(i)];
    if (std::abs(int64_t(p.X)) > kFarthestVertex || std::abs(int64_t(p.Y)) > kFarthestVertex) return {};
    vertices[size_t(i)] = {p.X, p.Y};
  }
  return PolygonRegion(vertices);
}

}  // namespace

TMakeup::TMakeup(QWidget* parent) : TImgEditor(parent) {
  // The rubber band and the hand near the first vertex follow the pointer
  // with no button held.
  setMouseTracking(true);
  SetMode(kModeNone);
  drawing_ = false;
  SetZoomFactor(1);
  airBrush_.SetSize(10);
  airBrush_.SetIntensity(1);
  SetColor(clRed);
  headerSaved_ = true;
}

TMakeup::~TMakeup() = default;

bool TMakeup::LoadFace(const std::string& fileName) {
  if (!QFileInfo(QString::fromStdString(fileName)).isFile()) return false;
  if (FaceFileKindOf(fileName) == FaceFileKind::NotAFaceFile) return false;

  FaceHeader header;
  MemoryStream payload;
  const bool read = ReadFaceFile(fileName, header, payload);
  loadOk_ = read;
  if (!read) return false;
  // A picture that cannot be decoded leaves the face as it was.
  if (!LoadFromStream(payload) || IO().Aborting) return false;

  header_ = header;
  headerFileName_ = fileName;
  headerSaved_ = true;
  SaveUndo();
  glamora::Bitmap& picture = *Bitmap();
  halfWidth_ = picture.Width() / 2;
  splitY_ = RoundEvenInt(picture.Height() * 0.6);
  resize(picture.Width(), picture.Height());
  return true;
}

void TMakeup::SaveHeader() {
  if (headerSaved_) return;
  RewriteFaceHeader(headerFileName_, header_);
  headerSaved_ = true;
}

void TMakeup::SetMode(int mode) {
  mode_ = uint8_t(mode);
  if (mode == kModeOutline) polygonState_ = kPolygonIdle;
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
  const int cx = halfWidth_ * zoomFactor_, cy = splitY_ * zoomFactor_;
  if (py >= cy) return FaceHeader::kLips;
  return px <= cx ? FaceHeader::kLeftEye : FaceHeader::kRightEye;
}

QPoint TMakeup::PicturePoint(int x, int y) const {
  return {RoundEvenInt(double(x + ViewX()) / zoomFactor_), RoundEvenInt(double(y + ViewY()) / zoomFactor_)};
}

void TMakeup::ColorRegion(const FaceRegion& record, TColor color) {
  if (!record.IsOutlined() || Bitmap()->Empty()) return;
  const PolygonRegion region = RegionOf(record);
  TDibBuffer buffer(*Bitmap());
  buffer.AddColorsInRegion(RedOf(color) - 50, GreenOf(color) - 50, BlueOf(color) - 50, &region);
  buffer.Draw(*Bitmap(), 0, 0);
}

void TMakeup::OutlineRegion(const FaceRegion& record, TColor color) {
  if (!record.IsOutlined() || Bitmap()->Format() != PixelFormat::Bits24) return;
  const PolygonRegion region = RegionOf(record);
  glamora::Bitmap& picture = *Bitmap();
  const TColor c = ResolveColor(color);
  // The one-pixel frame: region pixels with a neighbour outside the region.
  for (const Span& span : region.Spans()) {
    for (int x = span.X0; x <= span.X1; ++x) {
      const int y = span.Y;
      const bool edge = x == span.X0 || x == span.X1 || !region.Contains(x, y - 1) || !region.Contains(x, y + 1);
      if (edge) picture.SetPixel(x, y, c);
    }
  }
}

void TMakeup::ApplyColor(int kind, TColor color) {
  RestoreSnapshot();
  switch (kind) {
    case kColorEyes:
      ColorRegion(header_.Region(FaceHeader::kLeftEye), color);
      ColorRegion(header_.Region(FaceHeader::kRightEye), color);
      break;
    case kColorLips:
      ColorRegion(header_.Region(FaceHeader::kLips), color);
      break;
    case kColorLipLine:
      OutlineRegion(header_.Region(FaceHeader::kLips), color);
      header_.LipLineColor = color;
      break;
    default:
      return;
  }
  RepaintPicture();
}

void TMakeup::RandomMakeup() {
  RandomGenerator& random = ProgramRandom();
  random.Seed(RandomGenerator::ClockSeed());
  auto drawColor = [&](uint32_t range) {
    const uint32_t b = random.Draw(range), g = random.Draw(range), r = random.Draw(range);
    return Rgb(uint8_t(r), uint8_t(g), uint8_t(b));
  };
  ApplyColor(kColorEyes, drawColor(150));
  SaveUndo();
  ApplyColor(kColorLips, drawColor(100));
  SaveUndo();
  if (random.Draw(10) < 5) {
    const uint8_t e = uint8_t(random.Draw(100));
    ApplyColor(kColorLipLine, Rgb(e, 0, e));
  }
  SaveUndo();
}

void TMakeup::RestoreSnapshot() { Undo(); }

void TMakeup::RepaintPicture() {
  windowLines_.clear();
  rubberShown_ = false;
  Paint();
}

void TMakeup::HostBitmapChanged() {
  windowLines_.clear();
  rubberShown_ = false;
  TImgEditor::HostBitmapChanged();
}

void TMakeup::RestoreOwnCursor() { CursorTable::Instance().Apply(*this, Cursor()); }

bool TMakeup::NearFirstVertex(int x, int y, int reach) const {
  if (workPolygon_.Count < 1) return false;
  const FacePoint& first = workPolygon_.Points[0];
  return x >= first.X - reach && x < first.X + reach && y >= first.Y - reach && y < first.Y + reach;
}

void TMakeup::mousePressEvent(QMouseEvent* event) {
  pressButtons_ = event->buttons();
  TImgEditor::mousePressEvent(event);
}

void TMakeup::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) {
  const Qt::KeyboardModifiers keys = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  const bool onlyLeftHeld = pressButtons_ == Qt::LeftButton || pressButtons_ == Qt::NoButton;
  if (button == Qt::LeftButton && onlyLeftHeld && keys == Qt::AltModifier) {
    if (mode_ == kModeOutline) {
      MirrorPolygon();
    }
    return;
  }
  if (button == Qt::LeftButton && onlyLeftHeld && keys == Qt::ControlModifier) {
    if (mode_ == kModeOutline) ShowStoredRegion(x, y);
    return;
  }
  if (button == Qt::RightButton) {
    currentRegion_ = uint8_t(RegionAt(x, y));
    if (mode_ == kModeOutline) CancelPolygon();
    return;
  }
  if (button != Qt::LeftButton || mode_ == kModeNone) return;
  if (IsPaintingMode(mode_)) {
    StartStroke(x, y);
    return;
  }
  if (mode_ != kModeOutline) return;
  if (polygonState_ == kPolygonIdle) {
    CancelPolygon();
    polygonState_ = kPolygonDrawing;
    currentRegion_ = uint8_t(RegionAt(x, y));
    AddVertex(x, y);
    return;
  }
  if (NearFirstVertex(x, y, 4)) {
    polygonState_ = kPolygonIdle;
    RestoreOwnCursor();
    StorePolygon();
    return;
  }
  AddVertex(x, y);
}

void TMakeup::MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y) {
  if (mode_ == kModeOutline && polygonState_ == kPolygonDrawing) {
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
  if (mode_ == kModeOutline && polygonState_ == kPolygonIdle) RestoreSnapshot();
  drawing_ = false;
}

void TMakeup::CancelPolygon() {
  RestoreSnapshot();
  workPolygon_.Count = 0;
  workPolygon_.Valid = 0;
  polygonState_ = kPolygonIdle;
  RepaintPicture();
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
  header_.Region(currentRegion_) = stored;
  polygonState_ = kPolygonIdle;
  RestoreOwnCursor();
  OutlineRegion(stored, clYellow);
  RepaintPicture();
  workPolygon_.Valid = 0;
  workPolygon_.Count = 0;
  workPolygon_.Points[0] = {0, 0};
  header_.StoreMark = 0;
  headerSaved_ = false;
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
  polygonState_ = kPolygonIdle;
}

void TMakeup::ShowStoredRegion(int x, int y) {
  SaveUndo();
  polygonState_ = kPolygonShowing;
  currentRegion_ = uint8_t(RegionAt(x, y));
  OutlineRegion(header_.Region(currentRegion_), clLime);
  RepaintPicture();
  polygonState_ = kPolygonIdle;
}

void TMakeup::StartStroke(int x, int y) {
  drawing_ = true;
  SaveUndo();
  penPosition_ = PicturePoint(x, y);
  penColor_ = pencilColor_;
}

void TMakeup::ContinueStroke(int x, int y) {
  const QPoint p = PicturePoint(x, y);
  QRect changed;
  if (mode_ == kModePencil) {
    {
      BitmapCanvas canvas(*Bitmap());
      if (canvas.IsActive()) {
        UseCopyPen(canvas.Painter(), ToQColor(penColor_), 1);
        canvas->drawLine(penPosition_, p);
      }
    }
    changed = QRect(penPosition_, p).normalized().adjusted(-1, -1, 1, 1);
    penPosition_ = p;
  } else {
    airBrush_.Stamp(*Bitmap(), p.x(), p.y());
    const int size = airBrush_.Size();
    changed = QRect(p.x() - size / 2 - 1, p.y() - size / 2 - 1, size + 2, size + 2);
  }
  Paint(ClientRectOfPictureRect(changed));
}

QRect TMakeup::ClientRectOfPictureRect(const QRect& r) const {
  const int z = zoomFactor_;
  return QRect(r.left() * z - ViewX() - z, r.top() * z - ViewY() - z, (r.width() + 2) * z, (r.height() + 2) * z);
}

void TMakeup::InvalidateLine(const QLine& line) {
  const QRect r = QRect(line.p1(), line.p2()).normalized().adjusted(-2, -2, 2, 2);
  update(r.translated(ClientOrigin()));
}

void TMakeup::paintEvent(QPaintEvent* event) {
  TImgEditor::paintEvent(event);
  if (windowLines_.empty() && !rubberShown_) return;
  QPainter painter(this);
  painter.setClipRect(ClientRect());
  painter.translate(ClientOrigin());
  UseNotXorPen(painter);
  for (const QLine& line : windowLines_) painter.drawLine(line);
  if (rubberShown_) painter.drawLine(QLine(anchor_, rubberEnd_));
}

}  // namespace glamora
