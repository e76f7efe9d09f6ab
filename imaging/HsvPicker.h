#pragma once
// THsvPicker: the HSV colour box. A saturation/value field for the current hue
// on the left, a 5-pixel gap, and a 20-pixel vertical hue bar on the right.
// Dragging in the field or the bar picks a colour and fires OnChange; the
// setters and SetRGB change the colour silently.
#include <QWidget>

#include "imaging/ImgViewBase.h"
#include "imaging/core/Bitmap.h"
#include "imaging/core/Color.h"

namespace glamora {

class THsvPicker : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kHueBarWidth = 20;
  static constexpr int kGapWidth = 5;

  enum DragMode : uint8_t { dmNone = 0, dmField = 1, dmHueBar = 2 };

  explicit THsvPicker(QWidget* parent = nullptr);

  // Clamped to 0..359, 0..99, 0..99; OnChange does not fire.
  int Hue() const { return hue_; }
  int Sat() const { return sat_; }
  int Val() const { return val_; }
  void SetHue(int value);
  void SetSat(int value);
  void SetVal(int value);
  // Shows the colour nearest to the given bytes; the bytes are kept as given.
  void SetRGB(uint8_t red, uint8_t green, uint8_t blue);

  uint8_t Red() const { return red_; }
  uint8_t Green() const { return green_; }
  uint8_t Blue() const { return blue_; }
  TColor Color() const { return Rgb(red_, green_, blue_); }

  // Fills the gap between field and bar.
  TColor Background() const { return background_; }
  void SetBackground(TColor color);

  DragMode Drag() const { return drag_; }
  // Width of the saturation/value field.
  int FieldWidth() const { return picture_.Width() - kHueBarWidth - kGapWidth; }
  // What the box shows.
  const glamora::Bitmap& Picture() const { return picture_; }

  TNotifyEvent OnChange;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  enum class Part { Hue, Sat, Val };
  void SetPart(Part part, int value);
  void Pick(int x, int y);
  void ColorFromHsv();
  void DrawPicture();
  void DrawField();
  void DrawHueBar();
  // The markers are drawn with an inverting pen: drawing again erases them.
  void DrawMarkers();
  void EraseMarkers();
  void ToggleMarkers();

  int hue_ = 0;
  int sat_ = 0;
  int val_ = 0;
  uint8_t red_ = 0, green_ = 0, blue_ = 0;
  glamora::Bitmap picture_;
  TColor background_ = clBtnFace;
  DragMode drag_ = dmNone;
  bool markersShown_ = false;
};

}  // namespace glamora
