#pragma once
// The inner loops of the filtered resampler, in a portable form and, where
// the processor has it, an AVX2 form. Both compute every sum in the same
// order with the same double operations, so they give identical bytes.
#include <cstddef>
#include <cstdint>

namespace glamora::resample {

struct Kernels {
  // One row of w 24-bit pixels as doubles, four per pixel (blue, green, red,
  // 0), into `out` aligned to 32 bytes.
  void (*ExpandRow)(const uint8_t* in, int w, double* out);
  // Horizontal pass over one expanded row: destination pixel x is the sum over
  // k < taps of weight[x × taps + k] × pixel index[x × taps + k], each channel
  // clamped to 0..255 and rounded halves to even; `width` 24-bit pixels out.
  // first[x] ≥ 0 says that index[x × taps + k] is first[x] + k for every k,
  // which lets a kernel read the pixels without the index table.
  void (*FilterRow)(const double* in, const int32_t* index, const int32_t* first, const double* weight, size_t taps,
                    int width, uint8_t* out);
  // Vertical pass for one destination row: byte i is the sum over k < taps of
  // weights[k] × rows[k][i], clamped and rounded the same way.
  void (*FilterColumns)(const uint8_t* const* rows, const double* weights, size_t taps, size_t bytes, uint8_t* out);
};

const Kernels& PortableKernels();
// Null when the processor has no AVX2.
const Kernels* Avx2Kernels();
// The AVX2 set when available, else the portable one.
const Kernels& BestKernels();

}  // namespace glamora::resample
