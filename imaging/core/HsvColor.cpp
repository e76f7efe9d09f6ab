// Conversions between integer HSV and RGB colours.
#include "imaging/core/HsvColor.h"

#include <algorithm>

#include "imaging/core/Rounding.h"

namespace glamora {

namespace {

// A channel on the 0..99 scale as a byte.
uint8_t ScaleToByte(int c) { return ClampToByte(RoundEven(c / 99.0 * 255.0)); }

int ScaleToPercent(uint8_t c) { return RoundEvenInt(c / 255.0 * 99.0); }

}  // namespace

RgbBytes HsvToRgb(int hue, int sat, int val) {
  const int h = std::clamp(hue, 0, 359);
  const int s = std::clamp(sat, 0, 99);
  const int v = std::clamp(val, 0, 99);
  int r = v, g = v, b = v;
  if (s != 0) {
    const int f = h % 60;
    const int t = s * v;
    const int p = v - t / 99;
    const int q = v - t * f / 5940;
    const int w = v - t * (60 - f) / 5940;
    switch (h / 60) {
      case 0: r = v, g = w, b = p; break;
      case 1: r = q, g = v, b = p; break;
      case 2: r = p, g = v, b = w; break;
      case 3: r = p, g = q, b = v; break;
      case 4: r = w, g = p, b = v; break;
      default: r = v, g = p, b = q; break;
    }
  }
  return {ScaleToByte(r), ScaleToByte(g), ScaleToByte(b)};
}

HsvValue RgbToHsv(uint8_t red, uint8_t green, uint8_t blue) {
  const int r = ScaleToPercent(red), g = ScaleToPercent(green), b = ScaleToPercent(blue);
  const int v = std::max({r, g, b});
  const int delta = v - std::min({r, g, b});
  const int s = v > 0 ? delta * 99 / v : 0;
  int h = 0;
  if (s != 0) {
    if (r == v) {
      h = (g - b) * 60 / delta;
    } else if (g == v) {
      h = (b - r) * 60 / delta + 120;
    } else {
      h = (r - g) * 60 / delta + 240;
    }
    if (h < 0) h += 360;
  }
  return {h, s, v};
}

}  // namespace glamora
