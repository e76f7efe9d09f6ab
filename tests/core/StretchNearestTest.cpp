// Nearest-pixel stretching: the source pixel each destination pixel takes,
// clipping, and the target formats.
#include "imaging/core/StretchNearest.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/core/TestPictures.h"

namespace glamora {
namespace {

using test::RandomPicture;

// A one-row picture whose pixel x has red x, so a stretched row shows which
// source column each destination column took.
Bitmap Ramp(int width) {
  Bitmap b(width, 1);
  for (int x = 0; x < width; ++x) b.SetPixel(x, 0, Rgb(uint8_t(x), 0, 0));
  return b;
}

std::vector<int> SourceColumns(const Bitmap& stretched) {
  std::vector<int> columns;
  for (int x = 0; x < stretched.Width(); ++x) columns.push_back(RedOf(stretched.Pixel(x, 0)));
  return columns;
}

TEST(StretchNearest, TakesThePixelUnderEachDestinationCentre) {
  struct Case {
    int From, To;
    std::vector<int> Columns;  // floor((d + 0.5) × From / To)
  };
  const Case cases[] = {
      {4, 2, {1, 3}},
      {3, 2, {0, 2}},
      {2, 4, {0, 0, 1, 1}},
      {2, 3, {0, 1, 1}},
      {5, 5, {0, 1, 2, 3, 4}},
      {1, 3, {0, 0, 0}},
      {7, 1, {3}},
      {3, 7, {0, 0, 1, 1, 1, 2, 2}},
  };
  for (const Case& c : cases) {
    Bitmap dst(c.To, 1);
    ASSERT_TRUE(StretchNearest(Ramp(c.From), dst));
    EXPECT_EQ(SourceColumns(dst), c.Columns) << c.From << " to " << c.To;
  }
}

TEST(StretchNearest, SameSizeIsAnExactCopy) {
  const Bitmap src = RandomPicture(13, 7, 1);
  Bitmap dst(13, 7);
  ASSERT_TRUE(StretchNearest(src, dst));
  EXPECT_TRUE(dst.SameContent(src));
}

TEST(StretchNearest, ClippedDrawShowsWhatTheFullDrawWould) {
  const Bitmap src = RandomPicture(11, 9, 2);
  // The full draw of the source into a 23 × 17 rectangle ...
  Bitmap full(23, 17);
  ASSERT_TRUE(StretchNearest(src, PixelRect::Of(src), full, PixelRect::Of(full)));
  // ... and the same rectangle hanging over every edge of a smaller target.
  Bitmap clipped(15, 10);
  clipped.Fill(clWhite);
  const PixelRect placed{-5, -4, 23, 17};
  ASSERT_TRUE(StretchNearest(src, PixelRect::Of(src), clipped, placed));
  for (int y = 0; y < clipped.Height(); ++y) {
    for (int x = 0; x < clipped.Width(); ++x) {
      EXPECT_EQ(clipped.Pixel(x, y), full.Pixel(x + 5, y + 4)) << x << "," << y;
    }
  }
  // A rectangle that misses the target draws nothing.
  const Bitmap before = clipped;
  ASSERT_TRUE(StretchNearest(src, PixelRect::Of(src), clipped, PixelRect{40, 0, 10, 10}));
  EXPECT_TRUE(clipped.SameContent(before));
}

TEST(StretchNearest, SourceRectangleOutsideTheBitmapReadsItsEdge) {
  const Bitmap src = RandomPicture(4, 3, 3);
  Bitmap dst(6, 3);
  ASSERT_TRUE(StretchNearest(src, PixelRect{2, 0, 6, 3}, dst, PixelRect::Of(dst)));
  for (int y = 0; y < 3; ++y) {
    EXPECT_EQ(dst.Pixel(0, y), src.Pixel(2, y));
    EXPECT_EQ(dst.Pixel(1, y), src.Pixel(3, y));
    for (int x = 2; x < 6; ++x) EXPECT_EQ(dst.Pixel(x, y), src.Pixel(3, y)) << x << "," << y;
  }
}

TEST(StretchNearest, ThirtyTwoBitTargetsGetTheSameColoursAndOpaqueAlpha) {
  const Bitmap src = RandomPicture(5, 4, 4);
  Bitmap as24(9, 7);
  ASSERT_TRUE(StretchNearest(src, as24));
  std::vector<uint8_t> buffer(9 * 7 * 4, 0);
  StretchNearest(src, PixelRect::Of(src), RasterTarget{buffer.data(), 9 * 4, 9, 7, RasterLayout::Bgrx32},
                 PixelRect{0, 0, 9, 7});
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 9; ++x) {
      const uint8_t* p = buffer.data() + (y * 9 + x) * 4;
      EXPECT_EQ(Rgb(p[2], p[1], p[0]), as24.Pixel(x, y));
      EXPECT_EQ(p[3], 0xFF);
    }
  }
}

TEST(StretchNearest, OneBitSourcesDrawInBlackAndWhiteOrStayBits) {
  Bitmap bits(10, 2, PixelFormat::Bits1);
  bits.Fill(clBlack);
  bits.Row(0)[0] = 0b10110010;
  bits.Row(0)[1] = 0b11000000;
  bits.Row(1)[0] = 0b01001101;
  bits.Row(1)[1] = 0b00000000;
  Bitmap colour(10, 2);
  ASSERT_TRUE(StretchNearest(bits, colour));
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 10; ++x) EXPECT_EQ(colour.Pixel(x, y), bits.Pixel(x, y)) << x << "," << y;
  }
  // Into a 1-bit target at a position that does not start on a byte.
  Bitmap target(24, 2, PixelFormat::Bits1);
  target.Fill(clBlack);
  target.Row(0)[0] = 0xFF;
  ASSERT_TRUE(StretchNearest(bits, PixelRect::Of(bits), target, PixelRect{3, 0, 10, 2}));
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 10; ++x) EXPECT_EQ(target.Pixel(x + 3, y), bits.Pixel(x, y)) << x << "," << y;
  }
  EXPECT_EQ(target.Pixel(0, 0), clWhite);  // left of the rectangle: untouched
  EXPECT_EQ(target.Pixel(2, 0), clWhite);
  EXPECT_EQ(target.Pixel(13, 0), clBlack);
}

TEST(StretchNearest, PaletteSourcesDrawThroughThePalette) {
  Bitmap indexed(3, 1, PixelFormat::Bits8);
  indexed.Palette()[7] = Rgb(1, 2, 3);
  indexed.Palette()[9] = Rgb(200, 100, 50);
  indexed.Row(0)[0] = 7;
  indexed.Row(0)[1] = 9;
  indexed.Row(0)[2] = 7;
  Bitmap colour(6, 1);
  ASSERT_TRUE(StretchNearest(indexed, colour));
  const TColor a = Rgb(1, 2, 3), b = Rgb(200, 100, 50);
  const TColor expected[] = {a, a, b, b, a, a};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(colour.Pixel(x, 0), expected[x]) << x;
}

TEST(StretchNearest, RefusesAPaletteTargetOfAnotherFormat) {
  const Bitmap src = RandomPicture(3, 3, 5);
  Bitmap bits(3, 3, PixelFormat::Bits1);
  EXPECT_FALSE(StretchNearest(src, bits));
}

}  // namespace
}  // namespace glamora
