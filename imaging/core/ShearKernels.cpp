// The rotation's inner loops in portable (SSE2 where there is) and AVX2 form.
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

// Rows of a block lie far apart, so the hardware does not see them coming:
// they are asked for this many rows ahead of their turn.
constexpr int kRowsAhead = 16;

template <int ForWriting>
inline void PrefetchRow(const uint8_t* row, size_t bytes) {
  for (size_t b = 0; b < bytes; b += 64) __builtin_prefetch(row + b, ForWriting);
  __builtin_prefetch(row + bytes - 1, ForWriting);
}

// s + (u × (p − s) + 2048) / 4096 (floored) equals the blend, as
// p × u + s × (4096 − u) is 4096 × s + u × (p − s).
inline uint8_t Blend(int previous, int source, int u) {
  return ClampToByte(source + ((u * (previous - source) + 2048) >> 12));
}

template <int P>
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
    const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i - P));
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
  for (; i < bytes; ++i) out[i] = Blend((in + i)[-P], in[i], u);
}

void RowsToColumnsPortable(const uint8_t* rows, size_t stride, int height, int count, uint8_t* columns,
                           size_t columnStride) {
  const size_t rowBytes = 3 * size_t(count);
  for (int y = 0; y < height; ++y) {
    const uint8_t* in = rows + size_t(y) * stride;
    if (y + kRowsAhead < height) PrefetchRow<0>(in + kRowsAhead * stride, rowBytes);
    uint8_t* out = columns + kColumnPixelBytes * size_t(y);
    for (int j = 0; j < count; ++j, in += 3, out += columnStride) {
      out[0] = in[0];
      out[1] = in[1];
      out[2] = in[2];
      out[3] = 0;
    }
  }
}

void ColumnsToRowsPortable(const uint8_t* columns, size_t columnStride, int height, int count, uint8_t* rows,
                           size_t stride) {
  const size_t rowBytes = 3 * size_t(count);
  for (int y = 0; y < height; ++y) {
    uint8_t* out = rows + size_t(y) * stride;
    if (y + kRowsAhead < height) PrefetchRow<1>(out + kRowsAhead * stride, rowBytes);
    const uint8_t* in = columns + kColumnPixelBytes * size_t(y);
    for (int j = 0; j < count; ++j, out += 3, in += columnStride) {
      out[0] = in[0];
      out[1] = in[1];
      out[2] = in[2];
    }
  }
}

#if GLAMORA_HAVE_AVX2_KERNELS

#define GLAMORA_AVX2 [[gnu::target("avx2")]]

// The rounded high product does the weighing in one step:
// (d × 8u + 2^14) >> 15 is (u × d + 2048) >> 12, floored alike, and 8u fits
// in 16 bits for |u| ≤ 2048.
template <int P>
GLAMORA_AVX2 inline __m256i BlendSixteen(const uint8_t* in, __m256i weight) {
  const __m256i s = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)));
  const __m256i p = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in - P)));
  return _mm256_add_epi16(s, _mm256_mulhrs_epi16(_mm256_sub_epi16(p, s), weight));
}

template <int P>
GLAMORA_AVX2 void BlendAvx2(const uint8_t* in, size_t bytes, int u, uint8_t* out) {
  const __m256i weight = _mm256_set1_epi16(int16_t(u * 8));
  size_t i = 0;
  for (; i + 32 <= bytes; i += 32) {
    // The pack works within each 128-bit half; the permute puts the halves in order.
    const __m256i packed =
        _mm256_packus_epi16(BlendSixteen<P>(in + i, weight), BlendSixteen<P>(in + i + 16, weight));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_permute4x64_epi64(packed, 0xD8));
  }
  if (i + 16 <= bytes) {
    const __m256i r = BlendSixteen<P>(in + i, weight);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                     _mm_packus_epi16(_mm256_castsi256_si128(r), _mm256_extracti128_si256(r, 1)));
    i += 16;
  }
  for (; i < bytes; ++i) out[i] = Blend((in + i)[-P], in[i], u);
}

// Eight 24-bit pixels (exactly their 24 bytes are read) as eight 32-bit ones.
GLAMORA_AVX2 inline __m256i LoadEightPixels(const uint8_t* p) {
  const __m256i bytes = _mm256_inserti128_si256(
      _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))),
      _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + 16)), 1);
  // Bytes 0..11 to the low half, 12..23 to the high half, then each pixel to a 32-bit lane.
  const __m256i halves = _mm256_permutevar8x32_epi32(bytes, _mm256_setr_epi32(0, 1, 2, 3, 3, 4, 5, 5));
  const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,  //
                                          0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  return _mm256_shuffle_epi8(halves, spread);
}

// Eight 32-bit pixels written as 24-bit ones (exactly 24 bytes).
GLAMORA_AVX2 inline void StoreEightPixels(__m256i pixels, uint8_t* p) {
  const __m256i gather = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,  //
                                          0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  const __m256i packed = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(pixels, gather),
                                                     _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm256_castsi256_si128(packed));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(p + 16), _mm256_extracti128_si256(packed, 1));
}

// Eight rows of eight 32-bit values become eight columns.
GLAMORA_AVX2 inline void Transpose(__m256i (&v)[8]) {
  const __m256i a0 = _mm256_unpacklo_epi32(v[0], v[1]), a1 = _mm256_unpackhi_epi32(v[0], v[1]);
  const __m256i a2 = _mm256_unpacklo_epi32(v[2], v[3]), a3 = _mm256_unpackhi_epi32(v[2], v[3]);
  const __m256i a4 = _mm256_unpacklo_epi32(v[4], v[5]), a5 = _mm256_unpackhi_epi32(v[4], v[5]);
  const __m256i a6 = _mm256_unpacklo_epi32(v[6], v[7]), a7 = _mm256_unpackhi_epi32(v[6], v[7]);
  const __m256i b0 = _mm256_unpacklo_epi64(a0, a2), b1 = _mm256_unpackhi_epi64(a0, a2);
  const __m256i b2 = _mm256_unpacklo_epi64(a1, a3), b3 = _mm256_unpackhi_epi64(a1, a3);
  const __m256i b4 = _mm256_unpacklo_epi64(a4, a6), b5 = _mm256_unpackhi_epi64(a4, a6);
  const __m256i b6 = _mm256_unpacklo_epi64(a5, a7), b7 = _mm256_unpackhi_epi64(a5, a7);
  v[0] = _mm256_permute2x128_si256(b0, b4, 0x20);
  v[1] = _mm256_permute2x128_si256(b1, b5, 0x20);
  v[2] = _mm256_permute2x128_si256(b2, b6, 0x20);
  v[3] = _mm256_permute2x128_si256(b3, b7, 0x20);
  v[4] = _mm256_permute2x128_si256(b0, b4, 0x31);
  v[5] = _mm256_permute2x128_si256(b1, b5, 0x31);
  v[6] = _mm256_permute2x128_si256(b2, b6, 0x31);
  v[7] = _mm256_permute2x128_si256(b3, b7, 0x31);
}

// Tiles of eight rows by eight pixels turn in registers; the rows and
// columns a tile does not fill go the portable way.
GLAMORA_AVX2 void RowsToColumnsAvx2(const uint8_t* rows, size_t stride, int height, int count, uint8_t* columns,
                                    size_t columnStride) {
  const int whole = count / 8 * 8;
  const size_t rowBytes = 3 * size_t(count);
  int y = 0;
  for (; y + 8 <= height; y += 8) {
    const uint8_t* top = rows + size_t(y) * stride;
    for (int k = 0; k < 8 && y + k + kRowsAhead < height; ++k) {
      PrefetchRow<0>(top + (k + kRowsAhead) * stride, rowBytes);
    }
    for (int j = 0; j < whole; j += 8) {
      __m256i v[8];
      for (int k = 0; k < 8; ++k) v[k] = LoadEightPixels(top + k * stride + 3 * size_t(j));
      Transpose(v);
      for (int k = 0; k < 8; ++k) {
        _mm256_storeu_si256(
            reinterpret_cast<__m256i*>(columns + size_t(j + k) * columnStride + kColumnPixelBytes * size_t(y)), v[k]);
      }
    }
    if (whole < count) {
      RowsToColumnsPortable(top + 3 * size_t(whole), stride, 8, count - whole,
                            columns + size_t(whole) * columnStride + kColumnPixelBytes * size_t(y), columnStride);
    }
  }
  RowsToColumnsPortable(rows + size_t(y) * stride, stride, height - y, count, columns + kColumnPixelBytes * size_t(y),
                        columnStride);
}

GLAMORA_AVX2 void ColumnsToRowsAvx2(const uint8_t* columns, size_t columnStride, int height, int count, uint8_t* rows,
                                    size_t stride) {
  const int whole = count / 8 * 8;
  const size_t rowBytes = 3 * size_t(count);
  int y = 0;
  for (; y + 8 <= height; y += 8) {
    uint8_t* top = rows + size_t(y) * stride;
    for (int k = 0; k < 8 && y + k + kRowsAhead < height; ++k) {
      PrefetchRow<1>(top + (k + kRowsAhead) * stride, rowBytes);
    }
    for (int j = 0; j < whole; j += 8) {
      __m256i v[8];
      for (int k = 0; k < 8; ++k) {
        v[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns + size_t(j + k) * columnStride +
                                                                  kColumnPixelBytes * size_t(y)));
      }
      Transpose(v);
      for (int k = 0; k < 8; ++k) StoreEightPixels(v[k], top + k * stride + 3 * size_t(j));
    }
    if (whole < count) {
      ColumnsToRowsPortable(columns + size_t(whole) * columnStride + kColumnPixelBytes * size_t(y), columnStride, 8,
                            count - whole, top + 3 * size_t(whole), stride);
    }
  }
  ColumnsToRowsPortable(columns + kColumnPixelBytes * size_t(y), columnStride, height - y, count,
                        rows + size_t(y) * stride, stride);
}

#endif

}  // namespace

const Kernels& PortableKernels() {
  static const Kernels kernels{BlendPortable<3>, BlendPortable<kColumnPixelBytes>, RowsToColumnsPortable,
                               ColumnsToRowsPortable};
  return kernels;
}

const Kernels* Avx2Kernels() {
#if GLAMORA_HAVE_AVX2_KERNELS
  static const Kernels kernels{BlendAvx2<3>, BlendAvx2<kColumnPixelBytes>, RowsToColumnsAvx2, ColumnsToRowsAvx2};
  return __builtin_cpu_supports("avx2") ? &kernels : nullptr;
#else
  return nullptr;
#endif
}

const Kernels& BestKernels() {
  static const Kernels& best = Avx2Kernels() ? *Avx2Kernels() : PortableKernels();
  return best;
}

}  // namespace glamora::shear
