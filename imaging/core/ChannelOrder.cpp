// The red-blue exchange, five pixels to a byte shuffle where the processor
// has one (SSSE3), a pixel at a time elsewhere.
#include "imaging/core/ChannelOrder.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define GLAMORA_HAVE_SSSE3_SWAP 1
#endif

namespace glamora {

namespace {

void SwapPortable(const uint8_t* in, uint8_t* out, size_t pixels) {
  for (size_t x = 0; x < pixels; ++x, in += 3, out += 3) {
    const uint8_t first = in[0];
    out[0] = in[2];
    out[1] = in[1];
    out[2] = first;
  }
}

#if GLAMORA_HAVE_SSSE3_SWAP
// Sixteen bytes hold five whole pixels and one byte more; each step stores
// sixteen bytes and moves on by fifteen, so the next step writes over the
// extra byte. The last steps, which could store past the end, are left to
// the portable loop.
[[gnu::target("ssse3")]] void SwapSsse3(const uint8_t* in, uint8_t* out, size_t pixels) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
  const size_t bytes = 3 * pixels;
  size_t i = 0;
  for (; i + 16 <= bytes; i += 15) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_shuffle_epi8(v, order));
  }
  SwapPortable(in + i, out + i, (bytes - i) / 3);
}
#endif

using SwapKernel = void (*)(const uint8_t*, uint8_t*, size_t);

SwapKernel BestSwap() {
#if GLAMORA_HAVE_SSSE3_SWAP
  if (__builtin_cpu_supports("ssse3")) return SwapSsse3;
#endif
  return SwapPortable;
}

}  // namespace

void SwapRedAndBlue(const uint8_t* in, uint8_t* out, size_t pixels) {
  static const SwapKernel swap = BestSwap();
  swap(in, out, pixels);
}

}  // namespace glamora
