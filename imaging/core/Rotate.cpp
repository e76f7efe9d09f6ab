// Rotation: quarter turns as photographs are turned upright, then the three
// shears within the picture's own memory.
#include "imaging/core/Rotate.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <utility>
#include <vector>

#include "imaging/core/Orientation.h"
#include "imaging/core/ParallelRows.h"
#include "imaging/core/PixelBuffer.h"
#include "imaging/core/ReplacePicture.h"
#include "imaging/core/Rounding.h"
#include "imaging/core/ShearKernels.h"

namespace glamora {

namespace {

// The 12-bit fixed-point blend of the previous and the current source pixel:
// (previous × u + source × v + 2048) / 4096 with the fraction dropped toward
// negative infinity, then clamped. u may be negative (v then exceeds 4096);
// a negative numerator gives 0 under any rounding of the quotient, and the
// floor keeps + 2048 a plain round-half-up for every sign. Equal inputs give
// themselves back, so flat areas stay flat.
inline uint8_t Blend(int previous, int source, int u, int v) {
  return ClampToByte((previous * u + source * v + 2048) >> 12);
}

inline void BlendPixel(const uint8_t* previous, const uint8_t* source, int u, int v, uint8_t* out) {
  out[0] = Blend(previous[0], source[0], u, v);
  out[1] = Blend(previous[1], source[1], u, v);
  out[2] = Blend(previous[2], source[2], u, v);
}

// The background colour, alone and as runs of 24-bit and 32-bit pixels for filling.
struct Bgr {
  static constexpr size_t kRunPixels = 16;
  uint8_t Channel[3];
  uint8_t Run3[3 * kRunPixels];
  uint8_t Run4[shear::kColumnPixelBytes * kRunPixels];
  const uint8_t* Run(int pixelBytes) const { return pixelBytes == 3 ? Run3 : Run4; }
};

Bgr BgrOf(TColor color) {
  color = ResolveColor(color);
  Bgr bg{{BlueOf(color), GreenOf(color), RedOf(color)}, {}, {}};
  for (size_t i = 0; i < sizeof bg.Run3; ++i) bg.Run3[i] = bg.Channel[i % 3];
  for (size_t i = 0; i < sizeof bg.Run4; ++i) bg.Run4[i] = i % 4 < 3 ? bg.Channel[i % 4] : 0;
  return bg;
}

// Pixels from..to of a line of P-byte pixels become the background.
template <int P>
void FillBackground(uint8_t* out, int from, int to, const Bgr& bg) {
  if (to <= from) return;
  const uint8_t* run = bg.Run(P);
  constexpr size_t kRunBytes = P * Bgr::kRunPixels;
  uint8_t* p = out + P * size_t(from);
  size_t bytes = P * size_t(to - from);
  for (; bytes >= kRunBytes; bytes -= kRunBytes, p += kRunBytes) std::memcpy(p, run, kRunBytes);
  std::memcpy(p, run, bytes);
}

using BlendKernel = void (*)(const uint8_t* in, size_t bytes, int u, uint8_t* out);

// One line of a shear into out (m pixels of P bytes, of which the first three
// are blue, green and red): the n source pixels go right by `shift`, those
// that land outside are dropped, the rest of the line is background. With
// antialias each pixel blends with the previous landed one (the background
// before the first), and when u > 0 the pixel after the last gets the blend
// of the last with the background.
template <int P>
void ShearLine(const uint8_t* src, int n, uint8_t* out, int m, int shift, int u, bool antialias, const Bgr& bg,
               BlendKernel blend) {
  const int first = std::max(0, -shift);
  const int end = std::min(n, m - shift);
  const bool lands = end > first;
  FillBackground<P>(out, 0, lands ? first + shift : m, bg);
  if (!lands) {
    // Nothing lands; a tail pixel would blend the background with itself.
    return;
  }
  FillBackground<P>(out, end + shift, m, bg);
  if (!antialias) {
    std::memcpy(out + P * size_t(first + shift), src + P * size_t(first), P * size_t(end - first));
    return;
  }
  const int v = 4096 - u;
  BlendPixel(bg.Channel, src + P * size_t(first), u, v, out + P * size_t(first + shift));
  blend(src + P * size_t(first + 1), P * size_t(end - first - 1), u, out + P * size_t(first + 1 + shift));
  const int after = shift + n;
  if (u > 0 && after >= 0 && after < m) {
    BlendPixel(src + P * size_t(end - 1), bg.Channel, u, v, out + P * size_t(after));
  }
}

void ShearRow(const uint8_t* src, int n, uint8_t* out, int m, int shift, int u, bool antialias, const Bgr& bg) {
  static const BlendKernel blend = shear::BestKernels().BlendRow;
  ShearLine<3>(src, n, out, m, shift, u, antialias, bg, blend);
}

// Tells the handler trunc(step × 100 / (H + W1 + H2 + 0.5)) for every row or
// column of the three shears, in order, on the calling thread: the steps of a
// shear are told once it is done, as its rows may be shared between threads.
class ShearProgress {
 public:
  ShearProgress(const ProgressHandler& handler, const ShearGeometry& g)
      : handler_(handler), total_(g.H + g.W1 + g.H2 + 0.5) {}
  void Steps(int count) {
    for (int i = 0; i < count; ++i) {
      ++step_;
      if (handler_) handler_(int(TruncGuarded(step_ * 100 / total_)));
    }
  }

 private:
  const ProgressHandler& handler_;
  double total_;
  int64_t step_ = 0;
};

// Rough operations per pixel of a shear, for sharing rows between threads.
constexpr double kShearCost = 6;

// First shear, in place: `work` holds T's rows as they lay, `sourceStride`
// bytes apart, at the start of its larger rows. Row r of T moves right by
// round(k × t), k = r for a positive angle and H − r otherwise; its fraction
// (truncated) weighs the blend. The rows land in the first W1 columns of
// their rows of `work`. Rows go from the last up, a band at a time: a band's
// rows are copied aside before any is written, and as the rows of `work` are
// longer, the rows a band writes cover only its own source rows and those
// below them, which are done.
void FirstShear(const ShearGeometry& g, size_t sourceStride, bool antialias, const Bgr& bg, Bitmap& work) {
  const int bandRows = std::min(g.H, 256);
  PixelBuffer band(size_t(bandRows) * sourceStride);
  for (int end = g.H; end > 0; end -= bandRows) {
    const int first = std::max(0, end - bandRows);
    std::memcpy(band.data(), work.Bits() + size_t(first) * sourceStride, size_t(end - first) * sourceStride);
    ParallelRows(end - first, kShearCost * g.W1, [&](int from, int to) {
      for (int r = first + from; r < first + to; ++r) {
        const double kt = (g.Theta > 0 ? r : g.H - r) * g.T;
        const int64_t o = RoundEven(kt);
        const int u = int(TruncGuarded((kt - double(o)) * 4096));
        ShearRow(band.data() + size_t(r - first) * sourceStride, g.W, work.Row(r), g.W1, int(o), u, antialias, bg);
      }
    });
  }
}

// Second shear, in place on the first W1 columns of `work`: column c of the
// first H rows moves down by round(k × s) − D over H2 rows, k = W1 − c for a
// positive angle and c otherwise. A block of columns at a time is copied into
// rows, sheared as rows and copied back, so that memory is read and written
// along rows; a block is read whole before it is written.
void SecondShear(const ShearGeometry& g, bool antialias, const Bgr& bg, Bitmap& work) {
  constexpr int kBlock = 16;
  constexpr size_t kAlign = 64;
  const shear::Kernels& kernels = shear::BestKernels();
  const auto columnBytes = [](int pixels) {
    return (shear::kColumnPixelBytes * size_t(pixels) + kAlign - 1) / kAlign * kAlign;
  };
  const size_t inStride = columnBytes(g.H), outStride = columnBytes(g.H2);
  const int blocks = (g.W1 + kBlock - 1) / kBlock;
  uint8_t* const bits = work.Bits();
  const size_t stride = work.Stride();
  ParallelRows(blocks, kShearCost * kBlock * (g.H + g.H2), [&](int firstBlock, int endBlock) {
    PixelBuffer buffer(kBlock * (inStride + outStride));
    uint8_t* const columns = buffer.data();
    uint8_t* const sheared = columns + kBlock * inStride;
    for (int c0 = firstBlock * kBlock; c0 < std::min(g.W1, endBlock * kBlock); c0 += kBlock) {
      const int count = std::min(kBlock, g.W1 - c0);
      kernels.RowsToColumns(bits + 3 * size_t(c0), stride, g.H, count, columns, inStride);
      for (int j = 0; j < count; ++j) {
        const int c = c0 + j;
        const double ks = (g.Theta > 0 ? g.W1 - c : c) * g.S;
        const int64_t o = RoundEven(ks);
        const int u = int(RoundEven((ks - double(o)) * 4096));
        ShearLine<shear::kColumnPixelBytes>(columns + j * inStride, g.H, sheared + j * outStride, g.H2,
                                            int(o) - g.D, u, antialias, bg, kernels.BlendColumn);
      }
      kernels.ColumnsToRows(sheared, outStride, g.H2, count, bits + 3 * size_t(c0), stride);
    }
  });
}

// Third shear, in place on the first H2 rows of `work`: row r (W1 pixels)
// moves right by round(k × t) − E over W3 columns, k = r for a positive angle
// and H2 − r otherwise.
void ThirdShear(const ShearGeometry& g, bool antialias, const Bgr& bg, Bitmap& work) {
  ParallelRows(g.H2, kShearCost * g.W3, [&](int first, int end) {
    std::vector<uint8_t> row(3 * size_t(g.W1));
    for (int r = first; r < end; ++r) {
      const double kt = (g.Theta > 0 ? r : g.H2 - r) * g.T;
      const int64_t o = RoundEven(kt);
      const int u = int(RoundEven((kt - double(o)) * 4096));
      std::memcpy(row.data(), work.Row(r), row.size());
      ShearRow(row.data(), g.W1, work.Row(r), g.W3, int(o) - g.E, u, antialias, bg);
    }
  });
}

bool FitsLimits(const ShearGeometry& g) {
  return g.W1 > 0 && g.H2 > 0 && g.W3 > 0 && SizeWithinLimits(std::max(g.W1, g.W3), std::max(g.H, g.H2));
}

}  // namespace

// A quarter turn counter-clockwise is what a photograph of orientation 8
// needs to stand upright, clockwise what one of 6 needs, a half turn 3.
Bitmap TurnedCounterClockwise(const Bitmap& src) { return Oriented(src, 8); }
Bitmap TurnedClockwise(const Bitmap& src) { return Oriented(src, 6); }
Bitmap TurnedHalf(const Bitmap& src) { return Oriented(src, 3); }

ShearGeometry ShearGeometryFor(int width, int height, int degrees) {
  ShearGeometry g;
  g.W = width;
  g.H = height;
  g.Theta = degrees * std::numbers::pi / 180;
  g.T = std::fabs(std::sin(g.Theta / 2) / std::cos(g.Theta / 2));
  g.S = std::fabs(std::sin(g.Theta));
  g.W1 = int(RoundEven(height * g.T + width + 1));
  g.D = int(RoundEven((g.W1 - width) * g.S));
  const int h2 = int(RoundEven(g.S * g.W1 + height + 1));
  g.E = int(RoundEven(g.T * (h2 - height - g.D)));
  g.H2 = h2 - 2 * g.D;
  g.W3 = int(RoundEven(g.T * g.H2 + g.W1 + 1 - 2 * g.E));
  return g;
}

QuarterTurns SplitIntoQuarterTurns(int angle) {
  int rest = angle % 360;
  int quarters = 0;
  while (rest > 45) {
    rest -= 90;
    ++quarters;
  }
  while (rest < -45) {
    rest += 90;
    --quarters;
  }
  return {(quarters % 4 + 4) % 4, rest};
}

bool Rotate(Bitmap& bitmap, int angle, bool antialias, TColor background, const ProgressHandler& progress) {
  if (bitmap.Empty()) return false;
  // Quarter turns until the rest lies in −45..45; turning four times is no
  // turn at all, so only the count modulo 4 is carried out.
  const auto [quarters, n] = SplitIntoQuarterTurns(angle);
  const bool across = quarters % 2 == 1;
  ShearGeometry g;
  if (n != 0) {
    g = ShearGeometryFor(across ? bitmap.Height() : bitmap.Width(), across ? bitmap.Width() : bitmap.Height(), n);
    if (!FitsLimits(g)) return false;
  }
  // From here on nothing fails, so the bitmap itself may be converted and turned.
  if (bitmap.Format() != PixelFormat::Bits24) bitmap.ConvertTo24();
  switch (quarters) {
    case 1: ReplacePicture(bitmap, TurnedCounterClockwise(bitmap)); break;
    case 2: ReplacePicture(bitmap, TurnedHalf(bitmap)); break;
    case 3: ReplacePicture(bitmap, TurnedClockwise(bitmap)); break;
    default: break;
  }
  if (n == 0) return true;

  // The picture's own memory, grown, holds all three shears: each works in
  // place on the part the one before it left.
  const Bgr bg = BgrOf(background);
  ShearProgress steps(progress, g);
  const size_t sourceStride = bitmap.Stride();
  Bitmap& work = bitmap;
  work.Reshape(std::max(g.W1, g.W3), std::max(g.H, g.H2));
  FirstShear(g, sourceStride, antialias, bg, work);
  steps.Steps(g.H);
  SecondShear(g, antialias, bg, work);
  steps.Steps(g.W1);
  ThirdShear(g, antialias, bg, work);
  steps.Steps(g.H2);
  if (work.Width() != g.W3 || work.Height() != g.H2) {
    // Only very narrow pictures need a larger buffer than the result.
    Bitmap result(g.W3, g.H2);
    for (int r = 0; r < g.H2; ++r) std::memcpy(result.Row(r), work.Row(r), 3 * size_t(g.W3));
    ReplacePicture(bitmap, std::move(result));
  } else {
    work.ClearRowTails();
  }
  return true;
}

}  // namespace glamora
