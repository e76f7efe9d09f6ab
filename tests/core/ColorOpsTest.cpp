// HSLVar, Contrast, IntensityRGBall, Threshold and Clear.
#include <gtest/gtest.h>

#include "imaging/core/Clear.h"
#include "imaging/core/Contrast.h"
#include "imaging/core/HslVar.h"
#include "imaging/core/HslVarKernels.h"
#include "imaging/core/Intensity.h"
#include "imaging/core/Threshold.h"
#include "tests/core/TestPictures.h"

namespace glamora {
namespace {

using test::FirstDifference;
using test::FlatPicture;
using test::RandomPicture;

// Every 24-bit colour once, 4096 × 4096.
Bitmap AllColours() {
  Bitmap b(4096, 4096);
  for (int y = 0; y < 4096; ++y) {
    uint8_t* p = b.Row(y);
    for (int x = 0; x < 4096; ++x, p += 3) {
      const uint32_t c = uint32_t(y) * 4096 + uint32_t(x);
      p[0] = uint8_t(c);
      p[1] = uint8_t(c >> 8);
      p[2] = uint8_t(c >> 16);
    }
  }
  return b;
}

bool EveryPixelIs(const Bitmap& b, TColor colour) {
  for (int y = 0; y < b.Height(); ++y) {
    const uint8_t* p = b.Row(y);
    for (int x = 0; x < b.Width(); ++x, p += 3) {
      if (Rgb(p[2], p[1], p[0]) != colour) return false;
    }
  }
  return true;
}

TEST(HslVar, NoShiftGivesEveryColourBack) {
  Bitmap colours = AllColours();
  HslVar(colours, PixelRect::Of(colours), 0, 0, 0);
  const Bitmap original = AllColours();
  EXPECT_TRUE(colours.SameContent(original)) << FirstDifference(colours, original);
}

TEST(HslVar, VectorFormsGiveTheScalarBytesForEveryColour) {
  std::vector<std::pair<const char*, hsl::RowKernel>> kernels;
  if (hsl::Avx2Row()) kernels.emplace_back("AVX2", hsl::Avx2Row());
  if (hsl::Avx512Row()) kernels.emplace_back("AVX-512", hsl::Avx512Row());
  if (kernels.empty()) GTEST_SKIP() << "no vector form on this processor";
  // Hue up and down to its limits, saturation and lightness both ways.
  const int shifts[][3] = {{10, 5, -10}, {-40, -30, 25}, {300, 80, 0}, {0, 0, -37}};
  const Bitmap original = AllColours();
  for (const auto& s : shifts) {
    const hsl::Shift shift = hsl::ShiftOf(s[0], s[1], s[2]);
    Bitmap expected = original;
    for (int y = 0; y < expected.Height(); ++y) hsl::PortableRow()(expected.Row(y), expected.Width(), shift);
    for (const auto& [name, kernel] : kernels) {
      Bitmap shifted = original;
      for (int y = 0; y < shifted.Height(); ++y) kernel(shifted.Row(y), shifted.Width(), shift);
      EXPECT_TRUE(shifted.SameContent(expected))
          << name << " " << s[0] << " " << s[1] << " " << s[2] << ": " << FirstDifference(shifted, expected);
    }
  }
}

TEST(HslVar, FullLightnessTurnsEveryColourWhiteAndNoLightnessBlack) {
  Bitmap colours = AllColours();
  HslVar(colours, PixelRect::Of(colours), 0, 0, 100);
  EXPECT_TRUE(EveryPixelIs(colours, clWhite));
  colours = AllColours();
  HslVar(colours, PixelRect::Of(colours), 0, 0, -100);
  EXPECT_TRUE(EveryPixelIs(colours, clBlack));
}

TEST(HslVar, GreysStayGreyUnderAnyLightnessChange) {
  for (int lum = -100; lum <= 100; lum += 7) {
    for (int v = 0; v < 256; v += 5) {
      const TColor out = HslVarColor(Rgb(v, v, v), 0, 0, lum);
      EXPECT_TRUE(RedOf(out) == GreenOf(out) && GreenOf(out) == BlueOf(out)) << v << " lum " << lum;
    }
  }
  EXPECT_EQ(HslVarColor(Rgb(100, 100, 100), 0, 0, 10), Rgb(125, 125, 125));  // trunc((100/255 + 0.1) × 255)
}

TEST(HslVar, HueIsLimitedNotWrapped) {
  // (50, 200, 200) has hue 0.5; adding 350° gives 1.47, limited to 1, which
  // converts like hue 0: the red tint (200, 50, 50) of the same saturation
  // and lightness.
  EXPECT_EQ(HslVarColor(Rgb(50, 200, 200), 350, 0, 0), Rgb(200, 50, 50));
  // Below 0 the hue is raised to 0, the same red tint.
  EXPECT_EQ(HslVarColor(Rgb(50, 200, 200), -270, 0, 0), Rgb(200, 50, 50));
  // A third of a turn moves red to green.
  EXPECT_EQ(HslVarColor(Rgb(200, 50, 50), 120, 0, 0), Rgb(50, 200, 50));
}

TEST(HslVar, SaturationLimits) {
  // No saturation: grey of the lightness, trunc(L × 255).
  EXPECT_EQ(HslVarColor(Rgb(200, 50, 50), 0, -100, 0), Rgb(125, 125, 125));
  // Full saturation at the same lightness and hue.
  EXPECT_EQ(HslVarColor(Rgb(200, 50, 50), 0, 100, 0), Rgb(250, 0, 0));
}

TEST(HslVar, OnlyTheRegionChanges) {
  Bitmap picture = RandomPicture(9, 7, 1);
  const Bitmap before = picture;
  HslVar(picture, PixelRect{2, 3, 4, 2}, 40, 10, -20);
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 9; ++x) {
      const bool inside = x >= 2 && x < 6 && y >= 3 && y < 5;
      const TColor expected = inside ? HslVarColor(before.Pixel(x, y), 40, 10, -20) : before.Pixel(x, y);
      EXPECT_EQ(picture.Pixel(x, y), expected) << x << "," << y;
    }
  }
}

TEST(Contrast, MeansDivideByThePixelCount) {
  Bitmap b(2, 2);
  b.SetPixel(0, 0, Rgb(255, 10, 0));
  b.SetPixel(1, 0, Rgb(0, 10, 1));
  b.SetPixel(0, 1, Rgb(0, 10, 1));
  b.SetPixel(1, 1, Rgb(0, 11, 1));
  EXPECT_EQ(ContrastMeans(b), (ChannelMeans{63, 10, 0}));  // 255/4, 41/4, 3/4 truncated
}

TEST(Contrast, ZeroChangesNothing) {
  Bitmap picture = RandomPicture(31, 17, 2);
  const Bitmap before = picture;
  Contrast(picture, PixelRect::Of(picture), 0);
  EXPECT_TRUE(picture.SameContent(before));
}

TEST(Contrast, MinusHundredPaintsEveryChannelWithItsMean) {
  Bitmap picture = RandomPicture(31, 17, 3);
  const ChannelMeans m = ContrastMeans(picture);
  Contrast(picture, PixelRect::Of(picture), -100);
  EXPECT_TRUE(EveryPixelIs(picture, Rgb(uint8_t(m.Red), uint8_t(m.Green), uint8_t(m.Blue))));
}

TEST(Contrast, FactorAndTruncation) {
  // Channel values 20, 20, 20, 40: mean 25, offsets −5 and 15.
  struct Case {
    int Amount;
    int Low, High;  // new values of 20 and 40
  };
  const Case cases[] = {
      {10, 15, 55},    // x = 2: 25 − 10, 25 + 30
      {-25, 23, 32},   // x = 0.5: 25 + trunc(−2.5), 25 + trunc(7.5)
      {-64, 24, 28},   // x = 0.2: −5 × 0.2 is −1 exactly; plain double arithmetic gives −0.99999…
      {100, 0, 190},   // x = 11: 25 − 55 clamps to 0
      {-100, 25, 25},  // x = 0
  };
  for (const Case& c : cases) {
    Bitmap b(2, 2);
    b.Fill(Rgb(20, 20, 20));
    b.SetPixel(1, 1, Rgb(40, 40, 40));
    Contrast(b, PixelRect::Of(b), c.Amount);
    EXPECT_EQ(b.Pixel(0, 0), Rgb(c.Low, c.Low, c.Low)) << c.Amount;
    EXPECT_EQ(b.Pixel(1, 1), Rgb(c.High, c.High, c.High)) << c.Amount;
  }
}

TEST(Contrast, MeansComeFromTheWholeBitmapNotTheRegion) {
  Bitmap b(4, 1);
  b.SetPixel(0, 0, Rgb(0, 0, 0));
  b.SetPixel(1, 0, Rgb(0, 0, 0));
  b.SetPixel(2, 0, Rgb(200, 200, 200));
  b.SetPixel(3, 0, Rgb(200, 200, 200));
  ContrastWithMeans(b, PixelRect{0, 0, 1, 1}, -100, ContrastMeans(b));
  EXPECT_EQ(b.Pixel(0, 0), Rgb(100, 100, 100));
  EXPECT_EQ(b.Pixel(1, 0), Rgb(0, 0, 0));
}

TEST(Contrast, BitmapsSmallerThanTwoByTwoAreLeftAlone) {
  for (const auto& [w, h] : {std::pair{1, 5}, std::pair{5, 1}}) {
    Bitmap b = RandomPicture(w, h, 4);
    const Bitmap before = b;
    Contrast(b, PixelRect::Of(b), 50);
    EXPECT_TRUE(b.SameContent(before)) << w << "x" << h;
  }
}

TEST(IntensityRgbAll, AddsOffsetsAndClamps) {
  Bitmap b(2, 1);
  b.SetPixel(0, 0, Rgb(10, 128, 250));
  b.SetPixel(1, 0, Rgb(200, 5, 0));
  IntensityRgbAll(b, PixelRect::Of(b), 60, -10, 3);
  EXPECT_EQ(b.Pixel(0, 0), Rgb(70, 118, 253));
  EXPECT_EQ(b.Pixel(1, 0), Rgb(255, 0, 3));
  IntensityRgbAll(b, PixelRect{1, 0, 5, 5}, -1000, 1000, 0);
  EXPECT_EQ(b.Pixel(0, 0), Rgb(70, 118, 253));
  EXPECT_EQ(b.Pixel(1, 0), Rgb(0, 255, 3));
}

TEST(Threshold, HairstyleArgumentsWhitenChannelsAbove180) {
  const ThresholdLimits hair{Rgb(0, 0, 0), Rgb(180, 180, 180), Rgb(0, 0, 0), Rgb(255, 255, 255)};
  Bitmap b(3, 1);
  b.SetPixel(0, 0, Rgb(200, 150, 181));
  b.SetPixel(1, 0, Rgb(180, 0, 255));
  b.SetPixel(2, 0, Rgb(1, 179, 90));
  ASSERT_TRUE(Threshold(b, PixelRect::Of(b), hair));
  EXPECT_EQ(b.Pixel(0, 0), Rgb(255, 150, 255));
  EXPECT_EQ(b.Pixel(1, 0), Rgb(180, 0, 255));
  EXPECT_EQ(b.Pixel(2, 0), Rgb(1, 179, 90));
}

TEST(Threshold, UpperTestSeesTheLowerResult) {
  // 5 is at most 10, becomes 200, which is above 100 and becomes 50.
  const ThresholdLimits limits{Rgb(10, 10, 10), Rgb(100, 100, 100), Rgb(200, 200, 200), Rgb(50, 60, 70)};
  Bitmap b(1, 1);
  b.SetPixel(0, 0, Rgb(5, 50, 150));
  ASSERT_TRUE(Threshold(b, PixelRect::Of(b), limits));
  EXPECT_EQ(b.Pixel(0, 0), Rgb(50, 50, 70));
}

TEST(Threshold, FullRangeLimitsDoNothing) {
  const ThresholdLimits none{Rgb(0, 0, 0), Rgb(255, 255, 255), Rgb(9, 9, 9), Rgb(7, 7, 7)};
  Bitmap b = RandomPicture(5, 5, 6);
  const Bitmap before = b;
  EXPECT_FALSE(Threshold(b, PixelRect::Of(b), none));
  EXPECT_TRUE(b.SameContent(before));
}

TEST(Clear, FillsTheRegionWithTheResolvedColour) {
  Bitmap b = RandomPicture(6, 4, 7);
  const Bitmap before = b;
  Clear(b, PixelRect{-2, 1, 4, 10}, clBtnFace);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) {
      const bool inside = x < 2 && y >= 1;
      EXPECT_EQ(b.Pixel(x, y), inside ? ResolveColor(clBtnFace) : before.Pixel(x, y)) << x << "," << y;
    }
  }
}

TEST(Clear, PaletteBitmapsTakeTheNearestEntry) {
  Bitmap bits(12, 2, PixelFormat::Bits1);
  Clear(bits, PixelRect::Of(bits), Rgb(250, 240, 230));
  for (int x = 0; x < 12; ++x) EXPECT_EQ(bits.Pixel(x, 1), clWhite);
  Clear(bits, PixelRect{3, 0, 4, 1}, Rgb(10, 0, 30));
  EXPECT_EQ(bits.Pixel(2, 0), clWhite);
  EXPECT_EQ(bits.Pixel(3, 0), clBlack);
  EXPECT_EQ(bits.Pixel(6, 0), clBlack);
  EXPECT_EQ(bits.Pixel(7, 0), clWhite);
}

}  // namespace
}  // namespace glamora
