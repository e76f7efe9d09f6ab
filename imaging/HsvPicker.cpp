// The HSV colour box: its field and hue bar, the mouse and the colour it holds.
#include "imaging/HsvPicker.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "imaging/DibDraw.h"
#include "imaging/RasterPen.h"
#include "imaging/core/HsvColor.h"
#include "imaging/core/Rounding.h"

namespace glamora {

namespace {

void PutPixel(uint8_t* p, const RgbBytes& c) {
  p[0] = c.Blue;
  p[1] = c.Green;
  p[2] = c.Red;
}

}  // namespace

THsvPicker::THsvPicker(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(105, 105);
  DrawPicture();
}

// ---- colour -----------------------------------------------------------------

void THsvPicker::SetHue(int value) { SetPart(Part::Hue, value); }
void THsvPicker::SetSat(int value) { SetPart(Part::Sat, value); }
void THsvPicker::SetVal(int value) { SetPart(Part::Val, value); }

void THsvPicker::SetPart(Part part, int value) {
  EraseMarkers();
  const int oldHue = hue_;
  switch (part) {
    case Part::Hue: hue_ = std::clamp(value, 0, 359); break;
    case Part::Sat: sat_ = std::clamp(value, 0, 99); break;
    case Part::Val: val_ = std::clamp(value, 0, 99); break;
  }
  ColorFromHsv();
  if (hue_ != oldHue) DrawField();
  DrawMarkers();
  update();
}

void THsvPicker::SetRGB(uint8_t red, uint8_t green, uint8_t blue) {
  EraseMarkers();
  red_ = red;
  green_ = green;
  blue_ = blue;
  const HsvValue hsv = RgbToHsv(red, green, blue);
  hue_ = hsv.Hue;
  sat_ = hsv.Sat;
  val_ = hsv.Val;
  DrawField();
  DrawMarkers();
  update();
}

void THsvPicker::ColorFromHsv() {
  const RgbBytes rgb = HsvToRgb(hue_, sat_, val_);
  red_ = rgb.Red;
  green_ = rgb.Green;
  blue_ = rgb.Blue;
}

void THsvPicker::SetBackground(TColor color) {
  background_ = color;
  DrawPicture();
  update();
}

// ---- drawing ----------------------------------------------------------------

void THsvPicker::DrawPicture() {
  markersShown_ = false;
  if (!picture_.Reset(std::max(width(), 0), std::max(height(), 0), PixelFormat::Bits24)) return;
  DrawHueBar();
  DrawField();
  DrawMarkers();
}

void THsvPicker::DrawHueBar() {
  const int w = picture_.Width(), h = picture_.Height();
  if (h <= 0) return;
  const TColor gap = ResolveColor(background_);
  const RgbBytes gapBytes{RedOf(gap), GreenOf(gap), BlueOf(gap)};
  const int gapStart = std::max(w - kHueBarWidth - kGapWidth, 0);
  const int barStart = std::max(w - kHueBarWidth, 0);
  // Rows are counted from the bottom; the step is kept in single precision.
  const float k = 360.0f / float(h);
  for (int c = 0; c < h; ++c) {
    const RgbBytes hue = HsvToRgb(int(double(c) * double(k)), 99, 99);
    uint8_t* row = picture_.Row(h - 1 - c);
    for (int x = gapStart; x < barStart; ++x) PutPixel(row + 3 * x, gapBytes);
    for (int x = barStart; x < w; ++x) PutPixel(row + 3 * x, hue);
  }
}

void THsvPicker::DrawField() {
  const int e = FieldWidth(), h = picture_.Height();
  if (e <= 0 || h <= 0) return;
  const float k = 100.0f / float(h);
  const float m = 100.0f / float(e);
  std::vector<int> saturation(size_t(e), 0);
  for (int x = 0; x < e; ++x) saturation[size_t(x)] = int(double(x) * double(m));
  for (int c = 0; c < h; ++c) {
    const int value = int(double(c) * double(k));
    uint8_t* row = picture_.Row(h - 1 - c);
    for (int x = 0; x < e; ++x) PutPixel(row + 3 * x, HsvToRgb(hue_, saturation[size_t(x)], value));
  }
}

void THsvPicker::ToggleMarkers() {
  const int w = picture_.Width(), h = picture_.Height(), e = FieldWidth();
  if (w <= 0 || h <= 0) return;
  const int hueY = RoundEvenInt((h - 1) * (359 - hue_) / 360.0);
  InvertRectangleOutline(picture_, w - kHueBarWidth, hueY - 2, width(), hueY + 2);
  const int fieldX = RoundEvenInt(sat_ / 99.0 * (e - 1));
  const int fieldY = h - RoundEvenInt((h - 1) * val_ / 99.0);
  InvertRectangleOutline(picture_, fieldX - 3, fieldY - 4, fieldX + 3, fieldY + 2);
}

void THsvPicker::DrawMarkers() {
  if (markersShown_) return;
  ToggleMarkers();
  markersShown_ = true;
}

void THsvPicker::EraseMarkers() {
  if (!markersShown_) return;
  ToggleMarkers();
  markersShown_ = false;
}

void THsvPicker::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  DrawBitmap(painter, QPoint(0, 0), picture_);
}

void THsvPicker::resizeEvent(QResizeEvent*) { DrawPicture(); }

// ---- picking ----------------------------------------------------------------

void THsvPicker::Pick(int x, int y) {
  const int e = FieldWidth(), h = picture_.Height();
  // A one-pixel field or box has no span to divide; its single position is the start.
  const double fieldSpan = std::max(e - 1, 1), heightSpan = std::max(h - 1, 1);
  if (x < e) {
    EraseMarkers();
    sat_ = std::clamp(RoundEvenInt(x / fieldSpan * 99), 0, 99);
    val_ = std::clamp(99 - RoundEvenInt(y / heightSpan * 99), 0, 99);
  } else if (x >= e + kGapWidth) {
    EraseMarkers();
    hue_ = std::clamp(359 - RoundEvenInt(y / heightSpan * 359), 0, 359);
    DrawField();
  } else {
    return;
  }
  ColorFromHsv();
  if (OnChange) OnChange(this);
  DrawMarkers();
  repaint();
}

void THsvPicker::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  const QPoint p = event->position().toPoint();
  const int e = FieldWidth();
  if (p.x() < e) {
    drag_ = dmField;
  } else if (p.x() >= e + kGapWidth) {
    drag_ = dmHueBar;
  } else {
    drag_ = dmNone;
    return;
  }
  Pick(p.x(), p.y());
}

void THsvPicker::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton) || drag_ == dmNone) return;
  const int e = FieldWidth();
  int x = std::max(event->position().toPoint().x(), 0);
  int y = std::max(event->position().toPoint().y(), 0);
  y = std::min(y, picture_.Height() - 1);
  if (drag_ == dmField) {
    x = std::min(x, e - 1);
  } else {
    x = std::min(std::max(x, e + kGapWidth), picture_.Width() - 1);
  }
  Pick(x, y);
}

void THsvPicker::mouseReleaseEvent(QMouseEvent* event) {
  drag_ = dmNone;
  QWidget::mouseReleaseEvent(event);
}

}  // namespace glamora
