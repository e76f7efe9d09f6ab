// The grey copies the face finder works on: luma of any bitmap format, and
// the detection copy's size, scale and pixel mapping.
#include "landmarks/GreyPicture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace glamora {
namespace {

TEST(GreyOf, GivesTheLumaOfEveryFormat) {
  const struct {
    TColor Colour;
    int Grey;
  } cases[] = {{clWhite, 255}, {clBlack, 0}, {Rgb(128, 128, 128), 128}, {Rgb(255, 0, 0), 77},
               {Rgb(0, 255, 0), 149}, {Rgb(0, 0, 255), 29}};
  for (const auto& c : cases) {
    Bitmap rgb(3, 2);
    rgb.Fill(c.Colour);
    const GreyPicture g = GreyOf(rgb);
    ASSERT_EQ(g.Width, 3);
    ASSERT_EQ(g.Height, 2);
    EXPECT_EQ(g.At(2, 1), c.Grey) << std::hex << c.Colour;
  }
  // Palette pictures go through their palette; an index past its end reads black.
  Bitmap indexed(9, 1, PixelFormat::Bits8);
  std::fill_n(indexed.Row(0), 9, uint8_t(0));
  indexed.Palette() = {clWhite, Rgb(255, 0, 0)};
  indexed.Row(0)[0] = 1;
  indexed.Row(0)[1] = 7;
  const GreyPicture g8 = GreyOf(indexed);
  EXPECT_EQ(g8.At(0, 0), 77);
  EXPECT_EQ(g8.At(1, 0), 0);
  EXPECT_EQ(g8.At(2, 0), 255);
  Bitmap bits(10, 1, PixelFormat::Bits1);
  bits.Palette() = {clBlack, clWhite};
  bits.Row(0)[0] = 0;
  bits.Row(0)[1] = 0x40;  // pixel 9
  const GreyPicture g1 = GreyOf(bits);
  EXPECT_EQ(g1.At(8, 0), 0);
  EXPECT_EQ(g1.At(9, 0), 255);
  EXPECT_TRUE(GreyOf(Bitmap()).Empty());
}

GreyPicture Flat(int w, int h, uint8_t v) {
  GreyPicture g;
  g.Width = w;
  g.Height = h;
  g.Pixels.assign(size_t(w) * size_t(h), v);
  return g;
}

TEST(MakeDetectionCopy, ReducesLargePicturesToTheSideDoublesSmallOnesAndKeepsTheRest) {
  const struct {
    int Width, Height, CopyWidth, CopyHeight;
    double Scale;
  } cases[] = {
      {4000, 3000, 640, 480, 0.16},     // 12 megapixels
      {3000, 4000, 480, 640, 0.16},
      {641, 10, 640, 10, 640.0 / 641},  // just over the side
      {100000, 5, 640, 1, 0.0064},      // never thinner than a pixel
      {640, 480, 640, 480, 1},          // at the side
      {321, 100, 321, 100, 1},          // just over half of it
      {320, 200, 640, 400, 2},          // half of it and less: doubled
      {1, 1, 2, 2, 2},
  };
  for (const auto& c : cases) {
    const DetectionCopy copy = MakeDetectionCopy(Flat(c.Width, c.Height, 90), 640);
    EXPECT_EQ(copy.Picture.Width, c.CopyWidth) << c.Width << "x" << c.Height;
    EXPECT_EQ(copy.Picture.Height, c.CopyHeight) << c.Width << "x" << c.Height;
    EXPECT_DOUBLE_EQ(copy.Scale, c.Scale) << c.Width << "x" << c.Height;
    // A flat picture stays flat through every path.
    EXPECT_EQ(std::count(copy.Picture.Pixels.begin(), copy.Picture.Pixels.end(), 90),
              ptrdiff_t(copy.Picture.Pixels.size()));
  }
  EXPECT_TRUE(MakeDetectionCopy(GreyPicture(), 640).Picture.Empty());
}

TEST(MakeDetectionCopy, MapsCopyPixelsToThePictureAsDocumented) {
  // Reduced by 3: a white 6 × 6 square on whole blocks becomes 2 × 2 white
  // pixels, and copy pixel 100 lies at (100 + 0.5) × 3 − 0.5 = 301, the
  // middle of pixels 300..302.
  GreyPicture big = Flat(1920, 700, 0);
  for (int y = 60; y < 66; ++y) {
    for (int x = 300; x < 306; ++x) big.Pixels[size_t(y) * 1920 + size_t(x)] = 255;
  }
  const DetectionCopy reduced = MakeDetectionCopy(big, 640);
  ASSERT_DOUBLE_EQ(reduced.Scale, 1.0 / 3);
  EXPECT_EQ(reduced.Picture.At(100, 20), 255);
  EXPECT_EQ(reduced.Picture.At(101, 21), 255);
  EXPECT_EQ(reduced.Picture.At(99, 20), 0);
  EXPECT_EQ(reduced.Picture.At(102, 22), 0);

  // Reduced by 2.5: copy pixel 4 covers picture pixels 10 and 11 whole and
  // half of 12, so a white column 12 gives it 255 × 0.5 / 2.5 = 51.
  GreyPicture column = Flat(1600, 20, 0);
  for (int y = 0; y < 20; ++y) column.Pixels[size_t(y) * 1600 + 12] = 255;
  const DetectionCopy fractional = MakeDetectionCopy(column, 640);
  ASSERT_DOUBLE_EQ(fractional.Scale, 0.4);
  EXPECT_EQ(fractional.Picture.At(4, 3), 51);
  EXPECT_EQ(fractional.Picture.At(5, 3), 51);
  EXPECT_EQ(fractional.Picture.At(3, 3), 0);
  EXPECT_EQ(fractional.Picture.At(6, 3), 0);

  // Doubled: a ramp of 10 per pixel becomes a ramp of 5 per pixel, with new
  // pixel i at old position i / 2 − 0.25; the ends repeat the edge pixels.
  GreyPicture ramp = Flat(20, 3, 0);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 20; ++x) ramp.Pixels[size_t(y) * 20 + size_t(x)] = uint8_t(10 * x);
  }
  const DetectionCopy doubled = MakeDetectionCopy(ramp, 640);
  ASSERT_EQ(doubled.Scale, 2);
  for (int i = 1; i < 39; ++i) EXPECT_NEAR(doubled.Picture.At(i, 3), 5 * i - 2.5, 0.5) << i;
  EXPECT_EQ(doubled.Picture.At(0, 0), 0);
  EXPECT_EQ(doubled.Picture.At(39, 5), 190);
}

}  // namespace
}  // namespace glamora
