#include "imaging/core/HslVar.h"

#include <algorithm>

#include "imaging/core/Rounding.h"

namespace glamora {

namespace {

struct HslShift {
  double Hue;  // in turns
  double Sat;
  double Lum;
};

inline uint8_t ToChannel(double v) { return ClampToByte(TruncGuarded(v * 255)); }

// One channel of the HSL to RGB conversion for hue position t.
inline double HueToChannel(double p, double q, double t) {
  if (t < 0) {
    t += 1;
  } else if (t > 1) {
    t -= 1;
  }
  if (6 * t < 1) return p + (q - p) * 6 * t;
  if (2 * t < 1) return q;
  if (3 * t < 2) return p + (q - p) * (2.0 / 3.0 - t) * 6;
  return p;
}

inline void ShiftPixel(uint8_t& red, uint8_t& green, uint8_t& blue, const HslShift& shift) {
  const double r = red / 255.0, g = green / 255.0, b = blue / 255.0;
  const double max = std::max({r, g, b});
  const double min = std::min({r, g, b});
  const double l = (max + min) / 2;
  double h = 0, s = 0;
  if (max != min) {
    const double delta = max - min;
    s = l >= 0.5 ? delta / (2 - max - min) : delta / (max + min);
    if (max == r) {
      h = (g - b) / delta;
    } else if (max != g) {
      h = (r - g) / delta + 4;
    } else {
      h = (b - r) / delta + 2;
    }
    h /= 6;
    if (h < 0) h += 1;
  }
  const double newL = std::clamp(l + shift.Lum, 0.0, 1.0);
  const double newS = std::clamp(s + shift.Sat, 0.0, 1.0);
  double newH = std::max(h + shift.Hue, 0.0);
  if (newS == 0) {
    red = green = blue = ToChannel(newL);
    return;
  }
  newH = std::min(newH, 1.0);
  const double q = newL > 0.5 ? newL + newS - newL * newS : newL * (1 + newS);
  const double p = 2 * newL - q;
  red = ToChannel(HueToChannel(p, q, newH + 1.0 / 3.0));
  green = ToChannel(HueToChannel(p, q, newH));
  blue = ToChannel(HueToChannel(p, q, newH - 1.0 / 3.0));
}

HslShift ShiftOf(int hue, int sat, int lum) { return {hue / 360.0, sat / 100.0, lum / 100.0}; }

}  // namespace

TColor HslVarColor(TColor color, int hue, int sat, int lum) {
  uint8_t r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
  ShiftPixel(r, g, b, ShiftOf(hue, sat, lum));
  return Rgb(r, g, b);
}

void HslVar(Bitmap& bitmap, const PixelRect& region, int hue, int sat, int lum) {
  if (bitmap.Format() != PixelFormat::Bits24) return;
  const PixelRect rect = region.ClampedTo(bitmap);
  const HslShift shift = ShiftOf(hue, sat, lum);
  for (int y = rect.Top; y <= rect.Bottom(); ++y) {
    uint8_t* p = bitmap.Row(y) + 3 * size_t(rect.Left);
    // Neighbouring pixels often share a colour; the last result is reused.
    uint8_t lastIn[3] = {p[0], p[1], p[2]};
    uint8_t lastOut[3] = {p[0], p[1], p[2]};
    ShiftPixel(lastOut[2], lastOut[1], lastOut[0], shift);
    for (int x = 0; x < rect.Width; ++x, p += 3) {
      if (p[0] != lastIn[0] || p[1] != lastIn[1] || p[2] != lastIn[2]) {
        lastIn[0] = lastOut[0] = p[0];
        lastIn[1] = lastOut[1] = p[1];
        lastIn[2] = lastOut[2] = p[2];
        ShiftPixel(lastOut[2], lastOut[1], lastOut[0], shift);
      }
      p[0] = lastOut[0];
      p[1] = lastOut[1];
      p[2] = lastOut[2];
    }
  }
}

}  // namespace glamora
