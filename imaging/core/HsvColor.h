#pragma once
// Integer HSV colours of the colour box: hue in degrees 0..359, saturation and
// value on 0..99. The arithmetic truncates like the box always has, so a
// colour stored as HSV converts to the same bytes everywhere.
#include <cstdint>

namespace glamora {

struct HsvValue {
  int Hue = 0;  // 0..359
  int Sat = 0;  // 0..99
  int Val = 0;  // 0..99
  friend bool operator==(const HsvValue&, const HsvValue&) = default;
};

struct RgbBytes {
  uint8_t Red = 0;
  uint8_t Green = 0;
  uint8_t Blue = 0;
  friend bool operator==(const RgbBytes&, const RgbBytes&) = default;
};

// Out-of-range arguments are clamped first.
RgbBytes HsvToRgb(int hue, int sat, int val);
HsvValue RgbToHsv(uint8_t red, uint8_t green, uint8_t blue);

}  // namespace glamora
