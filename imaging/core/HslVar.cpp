#include "imaging/core/HslVar.h"

#include <algorithm>
#include <array>
#include <vector>

#include "imaging/core/ParallelRows.h"
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

// c / 255 for every channel value, the same doubles the division gives.
constexpr auto kUnit = [] {
  std::array<double, 256> unit{};
  for (int c = 0; c < 256; ++c) unit[size_t(c)] = c / 255.0;
  return unit;
}();

inline void ShiftPixel(uint8_t& red, uint8_t& green, uint8_t& blue, const HslShift& shift) {
  const double r = kUnit[red], g = kUnit[green], b = kUnit[blue];
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
  if (rect.Empty()) return;
  const HslShift shift = ShiftOf(hue, sat, lum);
  ParallelRows(rect.Height, 40.0 * rect.Width, [&](int first, int end) {
    // Photographs repeat colours; results are remembered in a direct-mapped
    // table keyed by the colour (entry: 1, colour, result; 0 means empty).
    constexpr int kBits = 16;
    std::vector<uint64_t> known(size_t(1) << kBits, 0);
    for (int y = rect.Top + first; y < rect.Top + end; ++y) {
      uint8_t* p = bitmap.Row(y) + 3 * size_t(rect.Left);
      for (int x = 0; x < rect.Width; ++x, p += 3) {
        const uint32_t colour = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
        const uint64_t key = (uint64_t(1) << 48) | (uint64_t(colour) << 24);
        uint64_t& slot = known[(colour * 2654435761u) >> (32 - kBits)];
        if ((slot & ~uint64_t(0xFFFFFF)) != key) {
          uint8_t b = p[0], g = p[1], r = p[2];
          ShiftPixel(r, g, b, shift);
          slot = key | uint64_t(b) | (uint64_t(g) << 8) | (uint64_t(r) << 16);
        }
        p[0] = uint8_t(slot);
        p[1] = uint8_t(slot >> 8);
        p[2] = uint8_t(slot >> 16);
      }
    }
  });
}

}  // namespace glamora
