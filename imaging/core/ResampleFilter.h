#pragma once
// The filters of the resampler: their reach (support) and their weight F(t)
// at a distance t, as functions of a = |t|.
#include <cmath>
#include <cstdint>
#include <numbers>

namespace glamora {

enum TResampleFilter : uint8_t { rfNone, rfTriangle, rfHermite, rfBell, rfBSpline, rfLanczos3, rfMitchell };

constexpr double FilterSupport(TResampleFilter filter) {
  switch (filter) {
    case rfTriangle: return 1;
    case rfHermite: return 1;
    case rfBell: return 1.5;
    case rfBSpline: return 2;
    case rfLanczos3: return 3;
    case rfMitchell: return 2;
    case rfNone: break;
  }
  return 0;
}

inline double Sinc(double x) {
  if (x == 0) return 1;
  const double px = std::numbers::pi * x;
  return std::sin(px) / px;
}

inline double FilterWeight(TResampleFilter filter, double t) {
  const double a = std::fabs(t);
  switch (filter) {
    case rfTriangle:
      return a < 1 ? 1 - a : 0;
    case rfHermite:
      return a < 1 ? 2 * a * a * a - 3 * a * a + 1 : 0;
    case rfBell:
      if (a < 0.5) return 0.75 - a * a;
      if (a < 1.5) return 0.5 * (a - 1.5) * (a - 1.5);
      return 0;
    case rfBSpline:
      if (a < 1) return 0.5 * a * a * a - a * a + 2.0 / 3.0;
      if (a < 2) return (2 - a) * (2 - a) * (2 - a) / 6;
      return 0;
    case rfLanczos3:
      return a < 3 ? Sinc(a) * Sinc(a / 3) : 0;
    case rfMitchell:
      if (a < 1) return (7 * a * a * a - 12 * a * a + 16.0 / 3.0) / 6;
      if (a < 2) return (-7.0 / 3.0 * a * a * a + 12 * a * a - 20 * a + 32.0 / 3.0) / 6;
      return 0;
    case rfNone:
      break;
  }
  return 0;
}

}  // namespace glamora
