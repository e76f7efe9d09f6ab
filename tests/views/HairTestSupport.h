#pragma once
// Helpers of the hair tests. Mouse input is sent through the window, as the
// window system delivers it, so it reaches the widget under the pointer: a
// control that lets the mouse through passes it to what lies beneath.
#define QTEST_QPA_MOUSE_HANDLING
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <ostream>

#include "imaging/core/Color.h"
#include "views/Frame.h"

namespace glamora {

inline std::ostream& operator<<(std::ostream& out, const TRect& r) {
  return out << "(" << r.Left << ", " << r.Top << ")-(" << r.Right << ", " << r.Bottom << ")";
}

}  // namespace glamora

namespace glamora::test {

inline TColor PixelOf(const QImage& image, int x, int y) {
  const QRgb c = image.pixel(x, y);
  return Rgb(uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c)));
}

inline TColor Inverted(TColor c) { return c ^ 0xFFFFFFu; }

// A parent that paints a pattern in which every pixel differs from its
// neighbours, and counts the mouse presses that reach it.
class PatternCanvas : public QWidget {
 public:
  explicit PatternCanvas(int width = 320, int height = 260) { resize(width, height); }

  static TColor PatternAt(int x, int y) {
    return Rgb(uint8_t(7 * x + 3 * y), uint8_t(11 * y + x), uint8_t(5 * x + 13 * y + 40));
  }

  int Presses = 0;
  QPoint LastPress;

 protected:
  void paintEvent(QPaintEvent*) override {
    QImage pattern(size(), QImage::Format_RGB32);
    for (int y = 0; y < height(); ++y) {
      for (int x = 0; x < width(); ++x) {
        const TColor c = PatternAt(x, y);
        pattern.setPixel(x, y, qRgb(RedOf(c), GreenOf(c), BlueOf(c)));
      }
    }
    QPainter(this).drawImage(0, 0, pattern);
  }
  void mousePressEvent(QMouseEvent* event) override {
    ++Presses;
    LastPress = event->position().toPoint();
  }
};

}  // namespace glamora::test
