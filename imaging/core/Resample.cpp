#include "imaging/core/Resample.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "imaging/core/ReplacePicture.h"
#include "imaging/core/StretchNearest.h"

// The vector helpers below never cross a library boundary, so the ABI note
// about 32-byte vector arguments does not concern them.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace glamora {

namespace {

using V4d = double __attribute__((vector_size(32)));
using V4u8 = uint8_t __attribute__((vector_size(4)));
using V4i = int32_t __attribute__((vector_size(16)));

// Index j of a source of n pixels after mirroring until it lies inside:
// j < 0 reads −j, j ≥ n reads 2n − 1 − j. The two mirrors together shift by
// 2n − 1, so the result follows from j modulo 2n − 1.
int MirroredIndex(int64_t j, int n) {
  const int64_t period = 2 * int64_t(n) - 1;
  int64_t m = j % period;
  if (m < 0) m += period;
  return int(m < n ? m : period - m);
}

// What each destination index takes from the source, padded with zero
// weights to one tap count so the kernels run fixed-length loops (a zero
// weight adds exactly nothing to a sum).
struct Contributions {
  int Taps = 0;
  std::vector<int32_t> Index;  // outputs × Taps source indices, mirrored
  std::vector<double> Weight;  // outputs × Taps
};

Contributions Contribute(int srcSize, int dstSize, TResampleFilter filter) {
  const double scale = double(dstSize) / double(srcSize);
  const double support = FilterSupport(filter);
  const double reach = scale >= 1 ? support : support / scale;
  std::vector<int> count(size_t(dstSize), 0);
  std::vector<int32_t> index;
  std::vector<double> weight;
  for (int i = 0; i < dstSize; ++i) {
    const double centre = i / scale;
    const int64_t first = int64_t(std::floor(centre - reach));
    const int64_t last = int64_t(std::ceil(centre + reach));
    for (int64_t j = first; j <= last; ++j) {
      const double w = scale >= 1 ? FilterWeight(filter, centre - double(j))
                                  : FilterWeight(filter, (centre - double(j)) * scale) * scale;
      if (w == 0) continue;
      index.push_back(MirroredIndex(j, srcSize));
      weight.push_back(w);
      ++count[size_t(i)];
    }
  }
  Contributions result;
  result.Taps = std::max(1, *std::max_element(count.begin(), count.end()));
  const size_t taps = size_t(result.Taps);
  result.Index.assign(size_t(dstSize) * taps, 0);
  result.Weight.assign(size_t(dstSize) * taps, 0.0);
  size_t next = 0;
  for (size_t i = 0; i < size_t(dstSize); ++i) {
    for (size_t k = 0; k < size_t(count[i]); ++k, ++next) {
      result.Index[i * taps + k] = index[next];
      result.Weight[i * taps + k] = weight[next];
    }
    // Padding reads a pixel that the output reads anyway.
    for (size_t k = size_t(count[i]); k < taps; ++k) result.Index[i * taps + k] = count[i] ? index[next - 1] : 0;
  }
  return result;
}

// 0..255 then the nearest integer, halves to even: adding and taking away
// 1.5 × 2^52 leaves a value between 0 and 255 rounded by the current
// (nearest-even) mode.
constexpr double kRoundingShift = 6755399441055744.0;

inline uint8_t ChannelOf(double sum) {
  const double v = std::min(std::max(sum, 0.0), 255.0);
  return uint8_t(int((v + kRoundingShift) - kRoundingShift));
}

inline V4d ChannelsOf(V4d sum) {
  const V4d zero = {0, 0, 0, 0}, top = {255, 255, 255, 255}, shift = {kRoundingShift, kRoundingShift, kRoundingShift, kRoundingShift};
  V4d v = sum < zero ? zero : sum;
  v = v > top ? top : v;
  return (v + shift) - shift;
}

inline V4d Splat(double w) { return V4d{w, w, w, w}; }

// One source row, its channels as doubles, four per pixel (blue, green, red, 0).
void ExpandRow(const uint8_t* in, int width, V4d* out) {
  for (int x = 0; x < width; ++x, in += 3) out[x] = V4d{double(in[0]), double(in[1]), double(in[2]), 0.0};
}

void StorePixel(V4d sum, uint8_t* out) {
  const V4d v = ChannelsOf(sum);
  out[0] = uint8_t(int(v[0]));
  out[1] = uint8_t(int(v[1]));
  out[2] = uint8_t(int(v[2]));
}

// Horizontal pass over one row: four outputs at a time, so that four
// independent sums are in flight; each sum keeps its own order.
void FilterRow(const V4d* in, const Contributions& c, int width, uint8_t* out) {
  const size_t taps = size_t(c.Taps);
  int x = 0;
  for (; x + 4 <= width; x += 4) {
    const int32_t* i0 = c.Index.data() + size_t(x) * taps;
    const double* w0 = c.Weight.data() + size_t(x) * taps;
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
    const int32_t* i0 = c.Index.data() + size_t(x) * taps;
    const double* w0 = c.Weight.data() + size_t(x) * taps;
    V4d s = {};
    for (size_t k = 0; k < taps; ++k) s += Splat(w0[k]) * in[i0[k]];
    StorePixel(s, out + 3 * size_t(x));
  }
}

inline V4d Load4(const uint8_t* p) {
  V4u8 b;
  std::memcpy(&b, p, 4);
  return __builtin_convertvector(b, V4d);
}

inline void Store4(V4d sum, uint8_t* p) {
  const V4u8 b = __builtin_convertvector(__builtin_convertvector(ChannelsOf(sum), V4i), V4u8);
  std::memcpy(p, &b, 4);
}

// Vertical pass for one output row: the same byte of each contributing row,
// weighted and summed; sixteen channels at a time stay in registers.
void FilterColumns(const uint8_t* const* rows, const double* weights, size_t taps, size_t bytes, uint8_t* out) {
  size_t i = 0;
  for (; i + 16 <= bytes; i += 16) {
    V4d s0 = {}, s1 = {}, s2 = {}, s3 = {};
    for (size_t k = 0; k < taps; ++k) {
      const V4d w = Splat(weights[k]);
      const uint8_t* p = rows[k] + i;
      s0 += w * Load4(p);
      s1 += w * Load4(p + 4);
      s2 += w * Load4(p + 8);
      s3 += w * Load4(p + 12);
    }
    Store4(s0, out + i);
    Store4(s1, out + i + 4);
    Store4(s2, out + i + 8);
    Store4(s3, out + i + 12);
  }
  for (; i < bytes; ++i) {
    double s = 0;
    for (size_t k = 0; k < taps; ++k) s += weights[k] * double(rows[k][i]);
    out[i] = ChannelOf(s);
  }
}

void HorizontalPass(const Bitmap& src, const PixelRect& rect, int width, TResampleFilter filter, Bitmap& mid) {
  const Contributions c = Contribute(rect.Width, width, filter);
  std::vector<V4d> row(size_t(rect.Width));
  for (int y = 0; y < rect.Height; ++y) {
    ExpandRow(src.Row(rect.Top + y) + 3 * size_t(rect.Left), rect.Width, row.data());
    FilterRow(row.data(), c, width, mid.Row(y));
  }
}

void VerticalPass(const Bitmap& mid, int height, TResampleFilter filter, Bitmap& dst) {
  const Contributions c = Contribute(mid.Height(), height, filter);
  const size_t taps = size_t(c.Taps);
  const size_t bytes = 3 * size_t(mid.Width());
  std::vector<const uint8_t*> rows(taps);
  for (int y = 0; y < height; ++y) {
    for (size_t k = 0; k < taps; ++k) rows[k] = mid.Row(c.Index[size_t(y) * taps + k]);
    FilterColumns(rows.data(), c.Weight.data() + size_t(y) * taps, taps, bytes, dst.Row(y));
  }
}

// A 24-bit copy of a palette picture's rectangle.
Bitmap Expanded(const Bitmap& src, const PixelRect& rect) {
  Bitmap copy(rect.Width, rect.Height);
  StretchNearest(src, rect, copy, PixelRect::Of(copy));
  return copy;
}

}  // namespace

bool ResampleTargetSize(int srcWidth, int srcHeight, int width, int height, PictureSize& size) {
  if (width < 0 && height < 0) return false;
  if (srcWidth <= 0 || srcHeight <= 0) return false;
  int64_t w = width, h = height;
  if (w < 0) w = h * srcWidth / srcHeight;
  if (h < 0) h = w * srcHeight / srcWidth;
  w = std::max<int64_t>(w, 1);
  h = std::max<int64_t>(h, 1);
  if (!SizeWithinLimits(w, h)) return false;
  size = {int(w), int(h)};
  return true;
}

bool ResampleFiltered(const Bitmap& src, const PixelRect& srcRect, Bitmap& dst, int width, int height,
                      TResampleFilter filter) {
  const PixelRect rect = srcRect.ClampedTo(src);
  if (rect.Empty() || width <= 0 || height <= 0 || !SizeWithinLimits(width, height)) return false;
  if (src.Format() != PixelFormat::Bits24) {
    const Bitmap expanded = Expanded(src, rect);
    return ResampleFiltered(expanded, PixelRect::Of(expanded), dst, width, height, filter);
  }
  Bitmap result(width, height);
  if (filter == rfNone) {
    StretchNearest(src, rect, result, PixelRect::Of(result));
  } else {
    Bitmap mid(width, rect.Height);
    HorizontalPass(src, rect, width, filter, mid);
    VerticalPass(mid, height, filter, result);
  }
  ReplacePicture(dst, std::move(result));
  return true;
}

bool Resample(const Bitmap& src, Bitmap& dst, int width, int height, TResampleFilter filter) {
  if (filter != rfNone && src.Format() != PixelFormat::Bits1) {
    return ResampleFiltered(src, PixelRect::Of(src), dst, width, height, filter);
  }
  if (src.Empty() || width <= 0 || height <= 0 || !SizeWithinLimits(width, height)) return false;
  Bitmap result(width, height, src.Format());
  result.Palette() = src.Palette();
  StretchNearest(src, result);
  ReplacePicture(dst, std::move(result));
  return true;
}

}  // namespace glamora
