#pragma once
// Rounding rules shared by every computation that converts a real to an integer.
#include <cmath>
#include <cstdint>

namespace glamora {

// Nearest integer, halves to even.
inline int64_t RoundEven(double v) { return static_cast<int64_t>(std::nearbyint(v)); }
inline int RoundEvenInt(double v) { return static_cast<int>(std::nearbyint(v)); }

// Drops the fraction toward zero. A value that is an integer in exact
// arithmetic may come out of double arithmetic a hair below it (0.1 * 255 * 10
// and the like); the tiny guard keeps such values from losing one.
inline int64_t TruncGuarded(double v) {
  return static_cast<int64_t>(v < 0 ? v - 1e-7 : v + 1e-7);
}

inline uint8_t ClampToByte(int64_t v) {
  return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

}  // namespace glamora
