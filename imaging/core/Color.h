#pragma once
// Colour values as the windows and components exchange them: red in the lowest
// byte, then green, then blue. Values with the top bit set name system colours.
#include <cstdint>

namespace glamora {

using TColor = uint32_t;

constexpr TColor Rgb(uint8_t r, uint8_t g, uint8_t b) {
  return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}
constexpr uint8_t RedOf(TColor c) { return uint8_t(c); }
constexpr uint8_t GreenOf(TColor c) { return uint8_t(c >> 8); }
constexpr uint8_t BlueOf(TColor c) { return uint8_t(c >> 16); }

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor clWindow = 0x80000005;
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clHighlight = 0x8000000D;

constexpr bool IsSystemColor(TColor c) { return (c & 0x80000000u) != 0; }

// Maps a system colour to the plain colour it stands for; plain colours pass
// through with the top byte cleared.
TColor ResolveColor(TColor c);

}  // namespace glamora
