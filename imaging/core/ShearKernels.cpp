// The shear blend in portable (SSE2 where there is) and AVX2 form.
#include "imaging/core/ShearKernels.h"

#include "imaging/core/Rounding.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define GLAMORA_HAVE_AVX2_KERNELS 1
#endif

namespace glamora::shear {

namespace {

// s + (u × (p − s) + 2048) / 4096 (floored) equals the blend, as
// p × u + s × (4096 − u) is 4096 × s + u × (p − s).
inline uint8_t Blend(int previous, int source, int u) {
  return ClampToByte(source + ((u * (previous - source) + 2048) >> 12));
}

void BlendPortable(const uint8_t* in, size_t bytes, int u, uint8_t* out) {
  size_t i = 0;
#if defined(__SSE2__)
  // Sixteen channels at a time: (p − s, 1) pairs times (u, 2048) give
  // u × (p − s) + 2048 exactly in 32 bits; the arithmetic shift floors, and
  // the final unsigned pack clamps to 0..255.
  const __m128i zero = _mm_setzero_si128();
  const __m128i one = _mm_set1_epi16(1);
  const __m128i weights = _mm_set1_epi32(int32_t((uint32_t(2048) << 16) | (uint32_t(u) & 0xFFFFu)));
  for (; i + 16 <= bytes; i += 16) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i - 3));
    const __m128i sLow = _mm_unpacklo_epi8(s, zero), sHigh = _mm_unpackhi_epi8(s, zero);
    const __m128i dLow = _mm_sub_epi16(_mm_unpacklo_epi8(p, zero), sLow);
    const __m128i dHigh = _mm_sub_epi16(_mm_unpackhi_epi8(p, zero), sHigh);
    auto step = [&](__m128i d) {
      const __m128i a = _mm_srai_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(d, one), weights), 12);
      const __m128i b = _mm_srai_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(d, one), weights), 12);
      return _mm_packs_epi32(a, b);
    };
    const __m128i rLow = _mm_add_epi16(sLow, step(dLow));
    const __m128i rHigh = _mm_add_epi16(sHigh, step(dHigh));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(rLow, rHigh));
  }
#endif
  for (; i < bytes; ++i) out[i] = Blend(in[i - 3], in[i], u);
}

#if GLAMORA_HAVE_AVX2_KERNELS

// The rounded high product does the weighing in one step:
// (d × 8u + 2^14) >> 15 is (u × d + 2048) >> 12, floored alike, and 8u fits
// in 16 bits for |u| ≤ 2048.
[[gnu::target("avx2")]] inline __m256i BlendSixteen(const uint8_t* in, __m256i weight) {
  const __m256i s = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)));
  const __m256i p = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in - 3)));
  return _mm256_add_epi16(s, _mm256_mulhrs_epi16(_mm256_sub_epi16(p, s), weight));
}

[[gnu::target("avx2")]] void BlendAvx2(const uint8_t* in, size_t bytes, int u, uint8_t* out) {
  const __m256i weight = _mm256_set1_epi16(int16_t(u * 8));
  size_t i = 0;
  for (; i + 32 <= bytes; i += 32) {
    // The pack works within each 128-bit half; the permute puts the halves in order.
    const __m256i packed = _mm256_packus_epi16(BlendSixteen(in + i, weight), BlendSixteen(in + i + 16, weight));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_permute4x64_epi64(packed, 0xD8));
  }
  if (i + 16 <= bytes) {
    const __m256i r = BlendSixteen(in + i, weight);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                     _mm_packus_epi16(_mm256_castsi256_si128(r), _mm256_extracti128_si256(r, 1)));
    i += 16;
  }
  for (; i < bytes; ++i) out[i] = Blend(in[i - 3], in[i], u);
}

#endif

}  // namespace

BlendKernel PortableBlend() { return BlendPortable; }

BlendKernel Avx2Blend() {
#if GLAMORA_HAVE_AVX2_KERNELS
  return __builtin_cpu_supports("avx2") ? BlendAvx2 : nullptr;
#else
  return nullptr;
#endif
}

BlendKernel BestBlend() {
  static const BlendKernel best = Avx2Blend() ? Avx2Blend() : PortableBlend();
  return best;
}

}  // namespace glamora::shear
