#pragma once
// The lightness of a colour as the eye weighs its channels:
// 0.299 red + 0.587 green + 0.114 blue, in 8-bit fixed point.
#include <cstdint>

namespace glamora {

// The weights add up to 256, so grey stays the same grey and white 255.
inline uint8_t Luma(int red, int green, int blue) { return uint8_t((77 * red + 150 * green + 29 * blue + 128) >> 8); }

}  // namespace glamora
