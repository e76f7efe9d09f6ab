// HSLVar per pixel: the scalar conversion and its vector forms. The vector
// forms compute every branch of the scalar code in every lane and select, with
// the same double operations in the same order, so their bytes are the
// scalar code's bytes (the library is built without contraction into fused
// multiply-adds, which would round differently).
#include "imaging/core/HslVarKernels.h"

#include <algorithm>
#include <array>

#include "imaging/core/Rounding.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define GLAMORA_HAVE_X86_KERNELS 1
#endif

// The vector helpers never cross a library boundary, so the ABI note about
// wide vector arguments does not concern them.
#pragma GCC diagnostic ignored "-Wpsabi"
// The AVX-512 intrinsics start some results from a deliberately undefined
// register, which the compiler's own headers then report as uninitialised.
#if defined(__clang__)
#pragma clang diagnostic ignored "-Wuninitialized"
#else
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace glamora::hsl {

namespace {

inline uint8_t ToChannel(double v) { return ClampToByte(TruncGuarded(v * 255)); }

// One channel of the HSL to RGB conversion for hue position t.
inline double HueToChannel(double p, double q, double t) {
  if (t < 0) {
    t += 1;
  } else if (t > 1) {
    t -= 1;
  }
  if (6 * t < 1) return p + (q - p) * 6 * t;
  if (2 * t < 1) return q;
  if (3 * t < 2) return p + (q - p) * (2.0 / 3.0 - t) * 6;
  return p;
}

// c / 255 for every channel value, the same doubles the division gives.
constexpr auto kUnit = [] {
  std::array<double, 256> unit{};
  for (int c = 0; c < 256; ++c) unit[size_t(c)] = c / 255.0;
  return unit;
}();

void RowPortable(uint8_t* p, int width, const Shift& shift) {
  for (int x = 0; x < width; ++x, p += 3) ShiftPixel(p[2], p[1], p[0], shift);
}

#if GLAMORA_HAVE_X86_KERNELS

// ---- The vector form, for N lanes of doubles.

template <int N>
struct Lanes;
template <>
struct Lanes<4> {
  typedef double D __attribute__((vector_size(32)));
  typedef int32_t I __attribute__((vector_size(16)));
};
template <>
struct Lanes<8> {
  typedef double D __attribute__((vector_size(64)));
  typedef int32_t I __attribute__((vector_size(32)));
};

// The helpers take and give their vectors by reference: they are compiled
// only inlined into the kernels built for the wider instructions, and a vector
// passed by value from code built without them would need another ABI.
template <int N>
[[gnu::always_inline]] inline void HueToChannels(const typename Lanes<N>::D& p, const typename Lanes<N>::D& q,
                                                 const typename Lanes<N>::D& position, typename Lanes<N>::D& out) {
  using D = typename Lanes<N>::D;
  const D t = position < 0 ? position + 1 : (position > 1 ? position - 1 : position);
  const D rising = p + (q - p) * 6 * t;
  const D falling = p + (q - p) * (2.0 / 3.0 - t) * 6;
  out = 6 * t < 1 ? rising : (2 * t < 1 ? q : (3 * t < 2 ? falling : p));
}

// ClampToByte(TruncGuarded(v × 255)); the values are far inside 32 bits.
template <int N>
[[gnu::always_inline]] inline void ToChannels(const typename Lanes<N>::D& v, typename Lanes<N>::I& out) {
  using D = typename Lanes<N>::D;
  using I = typename Lanes<N>::I;
  const D x = v * 255;
  I i = __builtin_convertvector(x < 0 ? x - 1e-7 : x + 1e-7, I);
  i = i < 0 ? 0 : i;
  out = i > 255 ? 255 : i;
}

// The channel of hue position t, or the lightness itself where the colour is flat.
template <int N>
[[gnu::always_inline]] inline void ChannelOf(const typename Lanes<N>::D& p, const typename Lanes<N>::D& q,
                                             const typename Lanes<N>::D& t, const typename Lanes<N>::D& newL,
                                             const typename Lanes<N>::D& newS, typename Lanes<N>::I& out) {
  using D = typename Lanes<N>::D;
  D hue;
  HueToChannels<N>(p, q, t, hue);
  const D channel = newS == 0 ? newL : hue;
  ToChannels<N>(channel, out);
}

// ShiftPixel on N pixels given as c / 255 per channel.
template <int N>
[[gnu::always_inline]] inline void ShiftLanes(const typename Lanes<N>::D& r, const typename Lanes<N>::D& g,
                                              const typename Lanes<N>::D& b, const Shift& shift,
                                              typename Lanes<N>::I& red, typename Lanes<N>::I& green,
                                              typename Lanes<N>::I& blue) {
  using D = typename Lanes<N>::D;
  const D zero = {}, one = zero + 1;
  D max = r < g ? g : r;
  max = max < b ? b : max;
  D min = g < r ? g : r;
  min = b < min ? b : min;
  const D l = (max + min) / 2;
  const auto grey = max == min;
  const D delta = max - min;
  const D s = grey ? zero : delta / (l >= 0.5 ? 2 - max - min : max + min);
  const auto maxIsRed = max == r;
  const auto maxIsNotGreen = max != g;
  D h = (maxIsRed ? g - b : (maxIsNotGreen ? r - g : b - r)) / delta;
  h = maxIsRed ? h : h + (maxIsNotGreen ? zero + 4 : zero + 2);
  h /= 6;
  h = h < 0 ? h + 1 : h;
  h = grey ? zero : h;

  D newL = l + shift.Lum;
  newL = newL < 0 ? zero : (1 < newL ? one : newL);
  D newS = s + shift.Sat;
  newS = newS < 0 ? zero : (1 < newS ? one : newS);
  D newH = h + shift.Hue;
  newH = newH < 0 ? zero : newH;
  newH = 1 < newH ? one : newH;
  const D q = newL > 0.5 ? newL + newS - newL * newS : newL * (1 + newS);
  const D p = 2 * newL - q;
  ChannelOf<N>(p, q, newH + 1.0 / 3.0, newL, newS, red);
  ChannelOf<N>(p, q, newH, newL, newS, green);
  ChannelOf<N>(p, q, newH - 1.0 / 3.0, newL, newS, blue);
}

[[gnu::target("avx2")]] void RowAvx2(uint8_t* p, int width, const Shift& shift) {
  using D = Lanes<4>::D;
  using I = Lanes<4>::I;
  int x = 0;
  for (; x + 4 <= width; x += 4, p += 12) {
    const D b = {kUnit[p[0]], kUnit[p[3]], kUnit[p[6]], kUnit[p[9]]};
    const D g = {kUnit[p[1]], kUnit[p[4]], kUnit[p[7]], kUnit[p[10]]};
    const D r = {kUnit[p[2]], kUnit[p[5]], kUnit[p[8]], kUnit[p[11]]};
    I red, green, blue;
    ShiftLanes<4>(r, g, b, shift, red, green, blue);
    for (int i = 0; i < 4; ++i) {
      p[3 * i] = uint8_t(blue[i]);
      p[3 * i + 1] = uint8_t(green[i]);
      p[3 * i + 2] = uint8_t(red[i]);
    }
  }
  RowPortable(p, width - x, shift);
}

// Eight pixels at a time: their 24 bytes are widened and sorted into blue,
// green and red lanes by permutes, and woven back the same way.
[[gnu::target("avx512f")]] void RowAvx512(uint8_t* p, int width, const Shift& shift) {
  using D = Lanes<8>::D;
  using I = Lanes<8>::I;
  const __m512i blueGreenAt = _mm512_setr_epi32(0, 3, 6, 9, 12, 15, 18, 21, 1, 4, 7, 10, 13, 16, 19, 22);
  const __m512i redAt = _mm512_setr_epi32(2, 5, 8, 11, 14, 17, 20, 23, 0, 0, 0, 0, 0, 0, 0, 0);
  // From blue (0..7), green (8..15) and red (16..23): the first 16 bytes out, then the last 8.
  const __m512i firstOut = _mm512_setr_epi32(0, 8, 16, 1, 9, 17, 2, 10, 18, 3, 11, 19, 4, 12, 20, 5);
  const __m512i lastOut = _mm512_setr_epi32(13, 21, 6, 14, 22, 7, 15, 23, 0, 0, 0, 0, 0, 0, 0, 0);
  int x = 0;
  for (; x + 8 <= width; x += 8, p += 24) {
    const __m512i low = _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    const __m512i high = _mm512_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + 16)));
    const __m512i blueGreen = _mm512_permutex2var_epi32(low, blueGreenAt, high);
    const __m512i reds = _mm512_permutex2var_epi32(low, redAt, high);
    const D b = D(_mm512_cvtepi32_pd(_mm512_castsi512_si256(blueGreen))) / 255.0;
    const D g = D(_mm512_cvtepi32_pd(_mm512_extracti64x4_epi64(blueGreen, 1))) / 255.0;
    const D r = D(_mm512_cvtepi32_pd(_mm512_castsi512_si256(reds))) / 255.0;
    I red, green, blue;
    ShiftLanes<8>(r, g, b, shift, red, green, blue);
    const __m512i outBlueGreen = _mm512_inserti64x4(_mm512_castsi256_si512(__m256i(blue)), __m256i(green), 1);
    const __m512i outRed = _mm512_castsi256_si512(__m256i(red));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p),
                     _mm512_cvtepi32_epi8(_mm512_permutex2var_epi32(outBlueGreen, firstOut, outRed)));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p + 16),
                     _mm512_cvtepi32_epi8(_mm512_permutex2var_epi32(outBlueGreen, lastOut, outRed)));
  }
  RowPortable(p, width - x, shift);
}

#endif

}  // namespace

Shift ShiftOf(int hue, int sat, int lum) { return {hue / 360.0, sat / 100.0, lum / 100.0}; }

void ShiftPixel(uint8_t& red, uint8_t& green, uint8_t& blue, const Shift& shift) {
  const double r = kUnit[red], g = kUnit[green], b = kUnit[blue];
  const double max = std::max({r, g, b});
  const double min = std::min({r, g, b});
  const double l = (max + min) / 2;
  double h = 0, s = 0;
  if (max != min) {
    const double delta = max - min;
    s = l >= 0.5 ? delta / (2 - max - min) : delta / (max + min);
    if (max == r) {
      h = (g - b) / delta;
    } else if (max != g) {
      h = (r - g) / delta + 4;
    } else {
      h = (b - r) / delta + 2;
    }
    h /= 6;
    if (h < 0) h += 1;
  }
  const double newL = std::clamp(l + shift.Lum, 0.0, 1.0);
  const double newS = std::clamp(s + shift.Sat, 0.0, 1.0);
  double newH = std::max(h + shift.Hue, 0.0);
  if (newS == 0) {
    red = green = blue = ToChannel(newL);
    return;
  }
  newH = std::min(newH, 1.0);
  const double q = newL > 0.5 ? newL + newS - newL * newS : newL * (1 + newS);
  const double p = 2 * newL - q;
  red = ToChannel(HueToChannel(p, q, newH + 1.0 / 3.0));
  green = ToChannel(HueToChannel(p, q, newH));
  blue = ToChannel(HueToChannel(p, q, newH - 1.0 / 3.0));
}

RowKernel PortableRow() { return RowPortable; }

RowKernel Avx2Row() {
#if GLAMORA_HAVE_X86_KERNELS
  return __builtin_cpu_supports("avx2") ? RowAvx2 : nullptr;
#else
  return nullptr;
#endif
}

RowKernel Avx512Row() {
#if GLAMORA_HAVE_X86_KERNELS
  return __builtin_cpu_supports("avx512f") ? RowAvx512 : nullptr;
#else
  return nullptr;
#endif
}

RowKernel BestRow() {
  static const RowKernel best = Avx512Row() ? Avx512Row() : Avx2Row() ? Avx2Row() : PortableRow();
  return best;
}

}  // namespace glamora::hsl
