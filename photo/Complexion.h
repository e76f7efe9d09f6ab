#pragma once
// Complexion on a photographed face, as the complexion slider works on a face
// model, but only where the skin mask lies and in proportion to its strength.
#include "face/SoftMask.h"
#include "imaging/core/Bitmap.h"

namespace glamora {

constexpr int kMinComplexion = -20;
constexpr int kMaxComplexion = 10;

// Position −20..10 (clamped): lighter by −position hundredths of HSL
// lightness below 0; from 0 on, each channel moved away from its mean under
// the mask by the factor 1 + position / 10.
void LayComplexion(Bitmap& photo, const SoftMask& skin, int position);

}  // namespace glamora
