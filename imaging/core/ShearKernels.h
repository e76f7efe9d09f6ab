#pragma once
// The blend of an antialiased shear, the rotation's inner loop: a portable
// form and, where the processor has it, an AVX2 form giving the same bytes.
#include <cstddef>
#include <cstdint>

namespace glamora::shear {

// Byte i of `out` becomes the blend of in[i − 3] (the same channel of the
// previous pixel, which must exist) with in[i] by the weights u and 4096 − u:
// (in[i − 3] × u + in[i] × (4096 − u) + 2048) / 4096 with the fraction dropped
// toward negative infinity, clamped to 0..255; −2048 ≤ u ≤ 2048. `out` does
// not overlap `in`.
using BlendKernel = void (*)(const uint8_t* in, size_t bytes, int u, uint8_t* out);

BlendKernel PortableBlend();
// Null when the processor has no AVX2.
BlendKernel Avx2Blend();
// The AVX2 form when available, else the portable one.
BlendKernel BestBlend();

}  // namespace glamora::shear
