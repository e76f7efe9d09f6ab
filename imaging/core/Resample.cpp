// The filtered resampler's contribution tables and its two passes, and the
// size rule of Resample.
#include "imaging/core/Resample.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "imaging/core/ParallelRows.h"
#include "imaging/core/ReplacePicture.h"
#include "imaging/core/ResampleKernels.h"
#include "imaging/core/StretchNearest.h"

namespace glamora {

namespace {

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
  std::vector<int32_t> First;  // per output: its first index when all its indices follow on from it, else −1
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
  result.First.assign(size_t(dstSize), -1);
  result.Weight.assign(size_t(dstSize) * taps, 0.0);
  size_t next = 0;
  for (size_t i = 0; i < size_t(dstSize); ++i) {
    const size_t n = size_t(count[i]);
    const int32_t* own = index.data() + next;
    // Inside the picture an output's indices follow on; its padding then
    // reads the pixels after them, else a pixel that it reads anyway.
    bool follows = n > 0 && size_t(own[0]) + taps <= size_t(srcSize);
    for (size_t k = 1; k < n && follows; ++k) follows = own[k] == own[0] + int32_t(k);
    if (follows) result.First[i] = own[0];
    for (size_t k = 0; k < taps; ++k) {
      result.Index[i * taps + k] = k < n ? own[k] : follows ? own[0] + int32_t(k) : n ? own[n - 1] : 0;
      if (k < n) result.Weight[i * taps + k] = weight[next + k];
    }
    next += n;
  }
  return result;
}

void HorizontalPass(const Bitmap& src, const PixelRect& rect, int width, TResampleFilter filter, Bitmap& mid) {
  const Contributions c = Contribute(rect.Width, width, filter);
  const resample::Kernels& kernels = resample::BestKernels();
  ParallelRows(rect.Height, double(width) * c.Taps, [&](int first, int end) {
    // Four doubles per pixel, aligned to 32 bytes for the kernels.
    const std::unique_ptr<double[]> buffer(new double[4 * size_t(rect.Width) + 4]);
    double* row = reinterpret_cast<double*>((reinterpret_cast<uintptr_t>(buffer.get()) + 31) & ~uintptr_t(31));
    for (int y = first; y < end; ++y) {
      kernels.ExpandRow(src.Row(rect.Top + y) + 3 * size_t(rect.Left), rect.Width, row);
      kernels.FilterRow(row, c.Index.data(), c.First.data(), c.Weight.data(), size_t(c.Taps), width, mid.Row(y));
    }
  });
}

void VerticalPass(const Bitmap& mid, int height, TResampleFilter filter, Bitmap& dst) {
  const Contributions c = Contribute(mid.Height(), height, filter);
  const size_t taps = size_t(c.Taps);
  const size_t bytes = 3 * size_t(mid.Width());
  const resample::Kernels& kernels = resample::BestKernels();
  ParallelRows(height, double(bytes) * double(taps) / 4, [&](int first, int end) {
    std::vector<const uint8_t*> rows(taps);
    for (int y = first; y < end; ++y) {
      for (size_t k = 0; k < taps; ++k) rows[k] = mid.Row(c.Index[size_t(y) * taps + k]);
      kernels.FilterColumns(rows.data(), c.Weight.data() + size_t(y) * taps, taps, bytes, dst.Row(y));
    }
  });
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
