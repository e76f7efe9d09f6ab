#pragma once
// The per-pixel work of HSLVar in scalar form and in vector forms that carry
// out the same double-precision operations in the same order on several
// pixels at once, so every form gives the same bytes.
#include <cstdint>

namespace glamora::hsl {

// The shift as the conversion adds it: hue in turns, saturation and
// lightness as fractions.
struct Shift {
  double Hue = 0;
  double Sat = 0;
  double Lum = 0;
};

Shift ShiftOf(int hue, int sat, int lum);

// One pixel through the HSL model: convert, shift, limit, convert back and
// truncate each channel (guarded).
void ShiftPixel(uint8_t& red, uint8_t& green, uint8_t& blue, const Shift& shift);

// Shifts `width` 24-bit pixels (blue, green, red) of one row in place.
using RowKernel = void (*)(uint8_t* row, int width, const Shift& shift);

RowKernel PortableRow();
// Null when the processor lacks the instructions.
RowKernel Avx2Row();
RowKernel Avx512Row();
// The fastest the processor runs.
RowKernel BestRow();

}  // namespace glamora::hsl
