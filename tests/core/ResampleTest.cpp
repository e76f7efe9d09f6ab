// The filtered resampler against its rule written out plainly, for every
// filter and for sizes that mirror, reduce far or use threads.
#include "imaging/core/Resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "imaging/core/ResampleKernels.h"
#include "imaging/core/Rounding.h"
#include "imaging/core/StretchNearest.h"
#include "tests/core/TestPictures.h"

namespace glamora {
namespace {

using test::FirstDifference;
using test::FlatPicture;
using test::RandomPicture;

constexpr TResampleFilter kFilters[] = {rfTriangle, rfHermite, rfBell, rfBSpline, rfLanczos3, rfMitchell};

// The resampling rule written out plainly: one destination index at a time,
// zero weights dropped, indices mirrored one step at a time, every sum in
// increasing source index.
int MirrorStepwise(int64_t j, int n) {
  while (j < 0 || j >= n) j = j < 0 ? -j : 2 * int64_t(n) - 1 - j;
  return int(j);
}

std::vector<std::pair<int, double>> RuleWeights(int i, int srcSize, int dstSize, TResampleFilter f) {
  const double s = double(dstSize) / srcSize;
  const double r = FilterSupport(f);
  std::vector<std::pair<int, double>> weights;
  if (s >= 1) {
    const double c = i / s;
    for (int64_t j = int64_t(std::floor(c - r)); j <= int64_t(std::ceil(c + r)); ++j) {
      const double w = FilterWeight(f, c - j);
      if (w != 0) weights.emplace_back(MirrorStepwise(j, srcSize), w);
    }
  } else {
    const double reach = r / s;
    const double c = i / s;
    for (int64_t j = int64_t(std::floor(c - reach)); j <= int64_t(std::ceil(c + reach)); ++j) {
      const double w = FilterWeight(f, (c - j) * s) * s;
      if (w != 0) weights.emplace_back(MirrorStepwise(j, srcSize), w);
    }
  }
  return weights;
}

uint8_t RuleChannel(double sum) {
  if (sum > 255) return 255;
  if (sum < 0) return 0;
  return uint8_t(RoundEven(sum));
}

Bitmap RuleResample(const Bitmap& src, int width, int height, TResampleFilter f) {
  Bitmap mid(width, src.Height());
  for (int x = 0; x < width; ++x) {
    const auto weights = RuleWeights(x, src.Width(), width, f);
    for (int y = 0; y < src.Height(); ++y) {
      for (int ch = 0; ch < 3; ++ch) {
        double sum = 0;
        for (const auto& [j, w] : weights) sum += w * src.Row(y)[3 * j + ch];
        mid.Row(y)[3 * x + ch] = RuleChannel(sum);
      }
    }
  }
  Bitmap dst(width, height);
  for (int y = 0; y < height; ++y) {
    const auto weights = RuleWeights(y, src.Height(), height, f);
    for (int x = 0; x < width; ++x) {
      for (int ch = 0; ch < 3; ++ch) {
        double sum = 0;
        for (const auto& [j, w] : weights) sum += w * mid.Row(j)[3 * x + ch];
        dst.Row(y)[3 * x + ch] = RuleChannel(sum);
      }
    }
  }
  return dst;
}

struct SizeCase {
  int SrcWidth, SrcHeight, Width, Height;
};

// Enlarging, reducing, both at once, and sources far smaller than the
// filters' reach (which must mirror back into the picture, not read past it).
constexpr SizeCase kSizes[] = {
    {1, 1, 5, 3},  {2, 1, 1, 1},    {1, 2, 7, 1},   {3, 2, 1, 1},  {2, 2, 31, 17}, {5, 4, 13, 9},
    {17, 11, 6, 4}, {40, 30, 7, 45}, {9, 9, 9, 9},   {64, 48, 25, 100}, {3, 3, 40, 2}, {23, 5, 23, 6},
};

TEST(Resample, EveryFilterAndSizeFollowsTheRuleExactly) {
  for (const TResampleFilter f : kFilters) {
    for (const SizeCase& c : kSizes) {
      const Bitmap src = RandomPicture(c.SrcWidth, c.SrcHeight, uint32_t(c.Width * 31 + c.Height + f));
      Bitmap dst;
      ASSERT_TRUE(ResampleFiltered(src, PixelRect::Of(src), dst, c.Width, c.Height, f));
      const Bitmap expected = RuleResample(src, c.Width, c.Height, f);
      EXPECT_TRUE(dst.SameContent(expected))
          << "filter " << int(f) << ", " << c.SrcWidth << "x" << c.SrcHeight << " to " << c.Width << "x" << c.Height
          << ": " << FirstDifference(dst, expected);
    }
  }
}

TEST(Resample, LargeReductionFollowsTheRule) {
  // Many taps per destination pixel: the kernels' blocked loops and padding.
  const Bitmap src = RandomPicture(403, 97, 7);
  for (const TResampleFilter f : {rfLanczos3, rfBSpline}) {
    Bitmap dst;
    ASSERT_TRUE(ResampleFiltered(src, PixelRect::Of(src), dst, 23, 31, f));
    const Bitmap expected = RuleResample(src, 23, 31, f);
    EXPECT_TRUE(dst.SameContent(expected)) << FirstDifference(dst, expected);
  }
}

TEST(Resample, PicturesLargeEnoughToShareBetweenThreadsFollowTheRule) {
  // Both passes are long enough here to be split between the cores.
  const Bitmap src = RandomPicture(1600, 600, 12);
  Bitmap dst;
  ASSERT_TRUE(ResampleFiltered(src, PixelRect::Of(src), dst, 700, 2000, rfLanczos3));
  const Bitmap expected = RuleResample(src, 700, 2000, rfLanczos3);
  EXPECT_TRUE(dst.SameContent(expected)) << FirstDifference(dst, expected);
}

TEST(Resample, SourceRectangleIsResampledAsIfCutOut) {
  const Bitmap src = RandomPicture(30, 20, 3);
  const PixelRect rect{7, 4, 11, 9};
  Bitmap cut(rect.Width, rect.Height);
  StretchNearest(src, rect, cut, PixelRect::Of(cut));
  Bitmap dst;
  ASSERT_TRUE(ResampleFiltered(src, rect, dst, 25, 14, rfMitchell));
  const Bitmap expected = RuleResample(cut, 25, 14, rfMitchell);
  EXPECT_TRUE(dst.SameContent(expected)) << FirstDifference(dst, expected);
}

TEST(Resample, ConstantPictureUnderEnlargement) {
  // Triangle, Hermite, Bell, B-spline and Mitchell weights at unit spacing
  // add up to 1, so a constant picture stays constant.
  const Bitmap flat = FlatPicture(6, 5, Rgb(200, 17, 128));
  for (const TResampleFilter f : {rfTriangle, rfHermite, rfBell, rfBSpline, rfMitchell}) {
    Bitmap dst;
    ASSERT_TRUE(ResampleFiltered(flat, PixelRect::Of(flat), dst, 12, 10, f));
    EXPECT_TRUE(dst.SameContent(FlatPicture(12, 10, Rgb(200, 17, 128)))) << "filter " << int(f);
  }
}

TEST(Resample, LanczosWeightsAreNotNormalised) {
  // At a half-pixel centre the six Lanczos-3 weights add up to about 0.9942,
  // and nothing divides them back to 1: 200 becomes round(198.8) = 199 on the
  // odd columns of a doubled picture, while even columns (weight 1 at the
  // centre, near-zero elsewhere) keep 200.
  const Bitmap flat = FlatPicture(8, 1, Rgb(200, 200, 200));
  Bitmap dst;
  ASSERT_TRUE(ResampleFiltered(flat, PixelRect::Of(flat), dst, 16, 1, rfLanczos3));
  EXPECT_EQ(dst.Pixel(4, 0), Rgb(200, 200, 200));
  EXPECT_EQ(dst.Pixel(5, 0), Rgb(199, 199, 199));
}

TEST(Resample, ReducingAConstantPictureStaysCloseToIt) {
  // Reduced weights F((c − j) × s) × s only approximate a sum of 1.
  const Bitmap flat = FlatPicture(50, 40, Rgb(180, 180, 180));
  for (const TResampleFilter f : kFilters) {
    Bitmap dst;
    ASSERT_TRUE(ResampleFiltered(flat, PixelRect::Of(flat), dst, 13, 7, f));
    for (int y = 0; y < dst.Height(); ++y) {
      for (int x = 0; x < dst.Width(); ++x) {
        EXPECT_NEAR(RedOf(dst.Pixel(x, y)), 180, 3) << "filter " << int(f) << " at " << x << "," << y;
      }
    }
  }
}

TEST(Resample, ChannelsClampAtBothEnds) {
  // Lanczos overshoots next to an edge; the overshoot is clamped, not wrapped.
  Bitmap edge(8, 1);
  for (int x = 0; x < 8; ++x) edge.SetPixel(x, 0, x < 4 ? clBlack : clWhite);
  Bitmap dst;
  ASSERT_TRUE(ResampleFiltered(edge, PixelRect::Of(edge), dst, 32, 1, rfLanczos3));
  bool sawBlack = false, sawWhite = false;
  for (int x = 0; x < 32; ++x) {
    sawBlack |= dst.Pixel(x, 0) == clBlack;
    sawWhite |= dst.Pixel(x, 0) == clWhite;
  }
  EXPECT_TRUE(sawBlack);
  EXPECT_TRUE(sawWhite);
  EXPECT_TRUE(dst.SameContent(RuleResample(edge, 32, 1, rfLanczos3)));
}

TEST(Resample, TargetSizeRule) {
  struct Case {
    int SrcW, SrcH, W, H;
    bool Ok;
    PictureSize Size;
  };
  const Case cases[] = {
      {300, 200, 100, -1, true, {100, 66}},  // 100 × 200 div 300
      {300, 200, -1, 100, true, {150, 100}},
      {300, 200, 40, 30, true, {40, 30}},
      {300, 200, -1, -1, false, {}},
      {3, 1000, -1, 1, true, {1, 1}},   // 1 × 3 div 1000 = 0 becomes 1
      {1000, 3, 1, -1, true, {1, 1}},
      {300, 200, 0, 50, true, {1, 50}},
      {0, 200, 10, 10, false, {}},
      {300, 200, 40000, -1, false, {}},  // over the picture limits
  };
  for (const Case& c : cases) {
    PictureSize size;
    EXPECT_EQ(ResampleTargetSize(c.SrcW, c.SrcH, c.W, c.H, size), c.Ok)
        << c.SrcW << "x" << c.SrcH << " " << c.W << "," << c.H;
    if (c.Ok) {
      EXPECT_EQ(size, c.Size) << c.SrcW << "x" << c.SrcH << " " << c.W << "," << c.H;
    }
  }
}

TEST(Resample, WithoutFilterStretchesToTheNearestPixel) {
  const Bitmap src = RandomPicture(7, 5, 11);
  Bitmap dst, expected(17, 3);
  ASSERT_TRUE(Resample(src, dst, 17, 3, rfNone));
  StretchNearest(src, expected);
  EXPECT_TRUE(dst.SameContent(expected));
}

TEST(Resample, OneBitSourceStaysOneBitAndIsNeverFiltered) {
  Bitmap bits(9, 4, PixelFormat::Bits1);
  for (int y = 0; y < 4; ++y) {
    bits.Row(y)[0] = uint8_t(0xA5 ^ y);
    bits.Row(y)[1] = 0x80;
  }
  Bitmap dst;
  ASSERT_TRUE(Resample(bits, dst, 18, 8, rfLanczos3));
  EXPECT_EQ(dst.Format(), PixelFormat::Bits1);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 18; ++x) EXPECT_EQ(dst.Pixel(x, y), bits.Pixel(x / 2, y / 2)) << x << "," << y;
  }
}

TEST(Resample, PaletteSourceIsFilteredThroughItsPalette) {
  Bitmap indexed(6, 4, PixelFormat::Bits8);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) indexed.Row(y)[x] = uint8_t(x * 40 + y);
  }
  Bitmap expanded;
  expanded.Assign(indexed);
  expanded.ConvertTo24();
  Bitmap dst;
  ASSERT_TRUE(Resample(indexed, dst, 10, 3, rfBell));
  EXPECT_EQ(dst.Format(), PixelFormat::Bits24);
  EXPECT_TRUE(dst.SameContent(RuleResample(expanded, 10, 3, rfBell)));
}

TEST(Resample, DestinationMayBeTheSource) {
  Bitmap picture = RandomPicture(12, 9, 5);
  const Bitmap expected = RuleResample(picture, 5, 20, rfHermite);
  ASSERT_TRUE(Resample(picture, picture, 5, 20, rfHermite));
  EXPECT_TRUE(picture.SameContent(expected));
}

TEST(Resample, RefusesEmptySourcesAndBadSizesLeavingTheDestination) {
  const Bitmap empty;
  const Bitmap src = RandomPicture(4, 4, 1);
  Bitmap dst = RandomPicture(2, 2, 2);
  const Bitmap before = dst;
  EXPECT_FALSE(ResampleFiltered(empty, PixelRect::Of(empty), dst, 3, 3, rfTriangle));
  EXPECT_FALSE(ResampleFiltered(src, PixelRect{10, 10, 3, 3}, dst, 3, 3, rfTriangle));
  EXPECT_FALSE(ResampleFiltered(src, PixelRect::Of(src), dst, 0, 3, rfTriangle));
  EXPECT_FALSE(Resample(src, dst, 3, -2, rfNone));
  EXPECT_TRUE(dst.SameContent(before));
}

TEST(ResampleKernels, FastAndPortableKernelsGiveTheSameBytes) {
  const resample::Kernels* fast = resample::Avx2Kernels();
  if (!fast) GTEST_SKIP() << "no AVX2 on this processor";
  const resample::Kernels& portable = resample::PortableKernels();
  uint32_t seed = 99;
  auto next = [&] { return seed = seed * 134775813u + 1; };
  for (const int width : {1, 2, 5, 17, 64}) {
    const Bitmap src = RandomPicture(width, 3, uint32_t(width));
    // Rows of four doubles per pixel, aligned as the kernels want them.
    std::vector<double> a(4 * size_t(width) + 4), b(4 * size_t(width) + 4);
    double* rowA = reinterpret_cast<double*>((reinterpret_cast<uintptr_t>(a.data()) + 31) & ~uintptr_t(31));
    double* rowB = reinterpret_cast<double*>((reinterpret_cast<uintptr_t>(b.data()) + 31) & ~uintptr_t(31));
    fast->ExpandRow(src.Row(0), width, rowA);
    portable.ExpandRow(src.Row(0), width, rowB);
    ASSERT_TRUE(std::equal(rowA, rowA + 4 * width, rowB)) << width;
    // Weights from −1 to 2, so sums fall below 0, above 255 and on halves;
    // indices at random, or following on from a first one, which the fast
    // kernel may read without the index table.
    for (const size_t taps : {size_t(1), size_t(3), size_t(13)}) {
      for (const bool following : {false, true}) {
        if (following && taps > size_t(width)) continue;
        const int outputs = 7;
        std::vector<int32_t> index(outputs * taps), first(outputs, -1);
        std::vector<double> weight(outputs * taps);
        for (int x = 0; x < outputs; ++x) {
          if (following) first[size_t(x)] = int32_t(next() % uint32_t(width - int(taps) + 1));
          for (size_t k = 0; k < taps; ++k) {
            index[size_t(x) * taps + k] =
                following ? first[size_t(x)] + int32_t(k) : int32_t(next() % uint32_t(width));
            weight[size_t(x) * taps + k] = double(next() % 49) / 16 - 1;
          }
        }
        uint8_t outA[3 * outputs], outB[3 * outputs];
        fast->FilterRow(rowA, index.data(), first.data(), weight.data(), taps, outputs, outA);
        portable.FilterRow(rowB, index.data(), first.data(), weight.data(), taps, outputs, outB);
        EXPECT_TRUE(std::equal(outA, outA + 3 * outputs, outB)) << width << " " << taps << " " << following;
      }
    }
  }
  const Bitmap rows = RandomPicture(37, 13, 8);
  for (const size_t taps : {size_t(1), size_t(4), size_t(13)}) {
    std::vector<const uint8_t*> pointers(taps);
    std::vector<double> weights(taps);
    for (size_t k = 0; k < taps; ++k) {
      pointers[k] = rows.Row(int(next() % 13));
      weights[k] = double(next() % 49) / 16 - 1;
    }
    uint8_t outA[111], outB[111];
    fast->FilterColumns(pointers.data(), weights.data(), taps, 111, outA);
    portable.FilterColumns(pointers.data(), weights.data(), taps, 111, outB);
    EXPECT_TRUE(std::equal(outA, outA + 111, outB)) << taps;
  }
}

}  // namespace
}  // namespace glamora
