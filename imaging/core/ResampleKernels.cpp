// The filtered resampler's inner loops, portable and AVX2, and the choice
// between them.
#include "imaging/core/ResampleKernels.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define GLAMORA_HAVE_AVX2_KERNELS 1
#endif

// The vector helpers never cross a library boundary, so the ABI note about
// 32-byte vector arguments does not concern them.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace glamora::resample {

namespace {

// 0..255 then the nearest integer, halves to even: adding and taking away
// 1.5 × 2^52 leaves a value between 0 and 255 rounded by the current
// (nearest-even) mode.
constexpr double kRoundingShift = 6755399441055744.0;

inline uint8_t ChannelOf(double sum) {
  const double v = std::min(std::max(sum, 0.0), 255.0);
  return uint8_t(int((v + kRoundingShift) - kRoundingShift));
}

// ---- Portable kernels: four-lane double vectors that the compiler maps to
// whatever the processor offers.

using V4d = double __attribute__((vector_size(32)));

inline V4d Splat(double w) { return V4d{w, w, w, w}; }

void ExpandRowPortable(const uint8_t* in, int w, double* out) {
  for (int x = 0; x < w; ++x, in += 3, out += 4) {
    out[0] = in[0];
    out[1] = in[1];
    out[2] = in[2];
    out[3] = 0;
  }
}

inline void StorePixel(V4d sum, uint8_t* out) {
  out[0] = ChannelOf(sum[0]);
  out[1] = ChannelOf(sum[1]);
  out[2] = ChannelOf(sum[2]);
}

// Four outputs at a time, so that four independent sums are in flight; each
// sum keeps its own order.
void FilterRowPortable(const double* row, const int32_t* index, const int32_t* /*first*/, const double* weight,
                       size_t taps, int width, uint8_t* out) {
  const V4d* in = reinterpret_cast<const V4d*>(row);
  int x = 0;
  for (; x + 4 <= width; x += 4) {
    const int32_t* i0 = index + size_t(x) * taps;
    const double* w0 = weight + size_t(x) * taps;
    V4d s0 = {}, s1 = {}, s2 = {}, s3 = {};
    for (size_t k = 0; k < taps; ++k) {
      s0 += Splat(w0[k]) * in[i0[k]];
      s1 += Splat(w0[taps + k]) * in[i0[taps + k]];
      s2 += Splat(w0[2 * taps + k]) * in[i0[2 * taps + k]];
      s3 += Splat(w0[3 * taps + k]) * in[i0[3 * taps + k]];
    }
    StorePixel(s0, out + 3 * size_t(x));
    StorePixel(s1, out + 3 * size_t(x + 1));
    StorePixel(s2, out + 3 * size_t(x + 2));
    StorePixel(s3, out + 3 * size_t(x + 3));
  }
  for (; x < width; ++x) {
    const int32_t* i0 = index + size_t(x) * taps;
    const double* w0 = weight + size_t(x) * taps;
    V4d s = {};
    for (size_t k = 0; k < taps; ++k) s += Splat(w0[k]) * in[i0[k]];
    StorePixel(s, out + 3 * size_t(x));
  }
}

void FilterColumnsPortable(const uint8_t* const* rows, const double* weights, size_t taps, size_t bytes,
                           uint8_t* out) {
  size_t i = 0;
  for (; i + 4 <= bytes; i += 4) {
    V4d s = {};
    for (size_t k = 0; k < taps; ++k) {
      const uint8_t* p = rows[k] + i;
      s += Splat(weights[k]) * V4d{double(p[0]), double(p[1]), double(p[2]), double(p[3])};
    }
    for (int j = 0; j < 4; ++j) out[i + size_t(j)] = ChannelOf(s[j]);
  }
  for (; i < bytes; ++i) {
    double s = 0;
    for (size_t k = 0; k < taps; ++k) s += weights[k] * double(rows[k][i]);
    out[i] = ChannelOf(s);
  }
}

#if GLAMORA_HAVE_AVX2_KERNELS

// ---- AVX2 kernels. No fused multiply-add: the products are rounded before
// they are added, exactly as in the portable kernels.

#define GLAMORA_AVX2 [[gnu::target("avx2")]]

GLAMORA_AVX2 inline __m256d ClampRound(__m256d sum) {
  const __m256d v = _mm256_min_pd(_mm256_max_pd(sum, _mm256_setzero_pd()), _mm256_set1_pd(255));
  const __m256d shift = _mm256_set1_pd(kRoundingShift);
  return _mm256_sub_pd(_mm256_add_pd(v, shift), shift);
}

// Four bytes to four doubles.
GLAMORA_AVX2 inline __m256d Widen(__m128i fourBytes) { return _mm256_cvtepi32_pd(_mm_cvtepu8_epi32(fourBytes)); }

GLAMORA_AVX2 void ExpandRowAvx2(const uint8_t* in, int w, double* out) {
  // Four bytes are read per pixel, so the last pixel, whose fourth byte may
  // lie past the row, is done by itself.
  int x = 0;
  for (; x + 1 < w; ++x, in += 3, out += 4) {
    int32_t four;
    std::memcpy(&four, in, 4);
    const __m256d v = Widen(_mm_cvtsi32_si128(four));
    _mm256_store_pd(out, _mm256_blend_pd(v, _mm256_setzero_pd(), 0b1000));
  }
  if (x < w) ExpandRowPortable(in, 1, out);
}

GLAMORA_AVX2 inline void StorePixelAvx2(__m256d sum, uint8_t* out) {
  const __m128i v = _mm256_cvtpd_epi32(ClampRound(sum));
  const uint32_t bytes = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(_mm_packus_epi32(v, v), _mm_setzero_si128())));
  std::memcpy(out, &bytes, 3);
}

GLAMORA_AVX2 void FilterRowAvx2(const double* in, const int32_t* index, const int32_t* first, const double* weight,
                                size_t taps, int width, uint8_t* out) {
  int x = 0;
  for (; x + 4 <= width; x += 4) {
    const int32_t* i0 = index + size_t(x) * taps;
    const double* w0 = weight + size_t(x) * taps;
    __m256d s0 = _mm256_setzero_pd(), s1 = s0, s2 = s0, s3 = s0;
    if ((first[x] | first[x + 1] | first[x + 2] | first[x + 3]) >= 0) {
      // Consecutive pixels: the same sums without the index table.
      const double* p0 = in + 4 * size_t(first[x]);
      const double* p1 = in + 4 * size_t(first[x + 1]);
      const double* p2 = in + 4 * size_t(first[x + 2]);
      const double* p3 = in + 4 * size_t(first[x + 3]);
      for (size_t k = 0; k < taps; ++k) {
        s0 = _mm256_add_pd(s0, _mm256_mul_pd(_mm256_broadcast_sd(w0 + k), _mm256_load_pd(p0 + 4 * k)));
        s1 = _mm256_add_pd(s1, _mm256_mul_pd(_mm256_broadcast_sd(w0 + taps + k), _mm256_load_pd(p1 + 4 * k)));
        s2 = _mm256_add_pd(s2, _mm256_mul_pd(_mm256_broadcast_sd(w0 + 2 * taps + k), _mm256_load_pd(p2 + 4 * k)));
        s3 = _mm256_add_pd(s3, _mm256_mul_pd(_mm256_broadcast_sd(w0 + 3 * taps + k), _mm256_load_pd(p3 + 4 * k)));
      }
      StorePixelAvx2(s0, out + 3 * size_t(x));
      StorePixelAvx2(s1, out + 3 * size_t(x + 1));
      StorePixelAvx2(s2, out + 3 * size_t(x + 2));
      StorePixelAvx2(s3, out + 3 * size_t(x + 3));
      continue;
    }
    for (size_t k = 0; k < taps; ++k) {
      s0 = _mm256_add_pd(s0, _mm256_mul_pd(_mm256_broadcast_sd(w0 + k), _mm256_load_pd(in + 4 * size_t(i0[k]))));
      s1 = _mm256_add_pd(s1, _mm256_mul_pd(_mm256_broadcast_sd(w0 + taps + k),
                                           _mm256_load_pd(in + 4 * size_t(i0[taps + k]))));
      s2 = _mm256_add_pd(s2, _mm256_mul_pd(_mm256_broadcast_sd(w0 + 2 * taps + k),
                                           _mm256_load_pd(in + 4 * size_t(i0[2 * taps + k]))));
      s3 = _mm256_add_pd(s3, _mm256_mul_pd(_mm256_broadcast_sd(w0 + 3 * taps + k),
                                           _mm256_load_pd(in + 4 * size_t(i0[3 * taps + k]))));
    }
    StorePixelAvx2(s0, out + 3 * size_t(x));
    StorePixelAvx2(s1, out + 3 * size_t(x + 1));
    StorePixelAvx2(s2, out + 3 * size_t(x + 2));
    StorePixelAvx2(s3, out + 3 * size_t(x + 3));
  }
  for (; x < width; ++x) {
    const int32_t* i0 = index + size_t(x) * taps;
    const double* w0 = weight + size_t(x) * taps;
    __m256d s = _mm256_setzero_pd();
    for (size_t k = 0; k < taps; ++k) {
      s = _mm256_add_pd(s, _mm256_mul_pd(_mm256_broadcast_sd(w0 + k), _mm256_load_pd(in + 4 * size_t(i0[k]))));
    }
    StorePixelAvx2(s, out + 3 * size_t(x));
  }
}

// Sixteen channels at a time stay in registers while the taps go by.
GLAMORA_AVX2 void FilterColumnsAvx2(const uint8_t* const* rows, const double* weights, size_t taps, size_t bytes,
                                    uint8_t* out) {
  size_t i = 0;
  for (; i + 16 <= bytes; i += 16) {
    __m256d s0 = _mm256_setzero_pd(), s1 = s0, s2 = s0, s3 = s0;
    for (size_t k = 0; k < taps; ++k) {
      const __m256d w = _mm256_broadcast_sd(weights + k);
      const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + i));
      s0 = _mm256_add_pd(s0, _mm256_mul_pd(w, Widen(p)));
      s1 = _mm256_add_pd(s1, _mm256_mul_pd(w, Widen(_mm_srli_si128(p, 4))));
      s2 = _mm256_add_pd(s2, _mm256_mul_pd(w, Widen(_mm_srli_si128(p, 8))));
      s3 = _mm256_add_pd(s3, _mm256_mul_pd(w, Widen(_mm_srli_si128(p, 12))));
    }
    const __m128i q0 = _mm256_cvtpd_epi32(ClampRound(s0)), q1 = _mm256_cvtpd_epi32(ClampRound(s1));
    const __m128i q2 = _mm256_cvtpd_epi32(ClampRound(s2)), q3 = _mm256_cvtpd_epi32(ClampRound(s3));
    const __m128i packed = _mm_packus_epi16(_mm_packus_epi32(q0, q1), _mm_packus_epi32(q2, q3));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), packed);
  }
  for (; i < bytes; ++i) {
    double s = 0;
    for (size_t k = 0; k < taps; ++k) s += weights[k] * double(rows[k][i]);
    out[i] = ChannelOf(s);
  }
}

#endif

}  // namespace

const Kernels& PortableKernels() {
  static const Kernels kernels{ExpandRowPortable, FilterRowPortable, FilterColumnsPortable};
  return kernels;
}

const Kernels* Avx2Kernels() {
#if GLAMORA_HAVE_AVX2_KERNELS
  static const Kernels kernels{ExpandRowAvx2, FilterRowAvx2, FilterColumnsAvx2};
  return __builtin_cpu_supports("avx2") ? &kernels : nullptr;
#else
  return nullptr;
#endif
}

const Kernels& BestKernels() {
  static const Kernels& best = Avx2Kernels() ? *Avx2Kernels() : PortableKernels();
  return best;
}

}  // namespace glamora::resample
