// Soft make-up: the colour reached deep inside a region, the feathered
// edges, the skin's light kept, holes and lines, and the cases that must
// change nothing.
#include "face/SoftMakeup.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "imaging/core/Luma.h"
#include "tests/support/FaceFixtures.h"

namespace glamora {
namespace {

constexpr TColor kSkin = Rgb(200, 150, 130);
constexpr TColor kLipstick = Rgb(180, 40, 60);

using test::OutlinedRegion;

// Pixels 10..49 across and 10..29 down.
FaceRegion Rectangle() { return OutlinedRegion({{10, 10}, {50, 10}, {50, 30}, {10, 30}}); }

Bitmap Skin(int w = 60, int h = 40) {
  Bitmap b(w, h);
  b.Fill(kSkin);
  return b;
}

void ExpectColour(TColor actual, int r, int g, int b, int tolerance, const char* where) {
  EXPECT_NEAR(RedOf(actual), r, tolerance) << where;
  EXPECT_NEAR(GreenOf(actual), g, tolerance) << where;
  EXPECT_NEAR(BlueOf(actual), b, tolerance) << where;
}

TEST(SoftColorRegion, ReachesTheColourInsideAndFadesOverTheFeather) {
  Bitmap picture = Skin();
  SoftColorRegion(picture, Rectangle(), kLipstick, {2, 100});
  // On even skin the shading is neutral: deep inside is the colour itself.
  ExpectColour(picture.Pixel(30, 20), 180, 40, 60, 1, "deep inside");
  ExpectColour(picture.Pixel(12, 20), 180, 40, 60, 1, "the feather's width inside");
  EXPECT_EQ(picture.Pixel(7, 20), kSkin) << "beyond the feather outside";
  EXPECT_EQ(picture.Pixel(2, 2), kSkin);
  // Across the left edge the red channel falls step by step from the skin's
  // 200 towards the colour's 180.
  int previous = 201;
  for (int x = 7; x <= 12; ++x) {
    const int red = RedOf(picture.Pixel(x, 20));
    EXPECT_LT(red, previous) << x;
    previous = red;
  }
  const TColor edge = picture.Pixel(10, 20);
  EXPECT_TRUE(GreenOf(edge) > 40 && GreenOf(edge) < 150) << "half way on the outline";

  Bitmap half = Skin();
  SoftColorRegion(half, Rectangle(), kLipstick, {2, 50});
  ExpectColour(half.Pixel(30, 20), 190, 95, 95, 1, "half the opacity, half the way");
}

TEST(SoftColorRegion, KeepsTheSkinsLightAndShade) {
  // Skin with light and dark stripes: the make-up takes the colour on
  // average and keeps each pixel's lightness relative to the others.
  Bitmap picture = Skin();
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 60; ++x) picture.SetPixel(x, y, x % 2 ? Rgb(230, 180, 160) : Rgb(170, 120, 100));
  }
  const Bitmap before = [&] {
    Bitmap b;
    b.Assign(picture);
    return b;
  }();
  SoftColorRegion(picture, Rectangle(), kLipstick, {2, 100});
  const TColor light = picture.Pixel(31, 20), dark = picture.Pixel(30, 20);
  const double lumaRatio = double(Luma(230, 180, 160)) / Luma(170, 120, 100);
  EXPECT_NEAR(double(RedOf(light)) / RedOf(dark), lumaRatio, 0.03);
  EXPECT_NEAR(double(BlueOf(light)) / BlueOf(dark), lumaRatio, 0.05);
  EXPECT_NEAR((RedOf(light) + RedOf(dark)) / 2.0, 180, 3) << "the colour on average";
  EXPECT_NEAR((GreenOf(light) + GreenOf(dark)) / 2.0, 40, 3);
  // A flat shift of every channel would keep the stripes' difference of 60
  // in each; here it scales with the colour's own channel, as paint on skin
  // does: the dark green of the lipstick leaves the stripes little green.
  EXPECT_EQ(GreenOf(before.Pixel(31, 20)) - GreenOf(before.Pixel(30, 20)), 60);
  EXPECT_LT(GreenOf(light) - GreenOf(dark), 20);
}

TEST(SoftColorRegion, LeavesARingsHoleAlone) {
  // Outer loop 10..49 × 10..29, a step in, inner loop 20..39 × 15..24 as
  // the hole, and the same step back out.
  const FaceRegion ring = OutlinedRegion({{10, 10}, {50, 10}, {50, 30}, {10, 30}, {10, 10},
                                    {20, 15}, {20, 25}, {40, 25}, {40, 15}, {20, 15}});
  Bitmap picture = Skin();
  SoftColorRegion(picture, ring, kLipstick, {2, 100});
  EXPECT_EQ(picture.Pixel(30, 20), kSkin) << "the middle of the hole";
  ExpectColour(picture.Pixel(14, 20), 180, 40, 60, 1, "the ring");
  ExpectColour(picture.Pixel(30, 12), 180, 40, 60, 1, "the ring");
}

TEST(SoftOutlineRegion, DrawsASoftLineAlongTheFrame) {
  Bitmap picture = Skin();
  SoftOutlineRegion(picture, Rectangle(), kLipstick, {2, 100});
  ExpectColour(picture.Pixel(10, 20), 180, 40, 60, 1, "on the frame");
  ExpectColour(picture.Pixel(49, 20), 180, 40, 60, 1, "on the frame");
  const int green1 = GreenOf(picture.Pixel(11, 20)), green2 = GreenOf(picture.Pixel(12, 20));
  EXPECT_TRUE(40 < green1 && green1 < green2 && green2 < 150) << green1 << " " << green2;
  EXPECT_EQ(picture.Pixel(13, 20), kSkin) << "three pixels in, past the feather";
  EXPECT_EQ(picture.Pixel(30, 20), kSkin) << "the middle";
  EXPECT_EQ(picture.Pixel(7, 20), kSkin) << "three pixels out";
}

TEST(SoftMakeup, ChangesNothingWhereThereIsNothingToColour) {
  FaceRegion notOutlined = Rectangle();
  notOutlined.Valid = 0;
  FaceRegion twoVertices = Rectangle();
  twoVertices.Count = 2;
  const FaceRegion damaged = OutlinedRegion({{10, 10}, {40000, 10}, {50, 30}});
  const FaceRegion offThePicture = OutlinedRegion({{-50, -50}, {-10, -50}, {-10, -10}});
  const struct {
    const char* Name;
    FaceRegion Region;
    SoftMakeupStyle Style;
  } cases[] = {{"not outlined", notOutlined, {}},     {"two vertices", twoVertices, {}},
               {"damaged vertex", damaged, {}},       {"off the picture", offThePicture, {}},
               {"no opacity", Rectangle(), {2, 0}}};
  for (const auto& c : cases) {
    Bitmap picture = Skin();
    SoftColorRegion(picture, c.Region, kLipstick, c.Style);
    SoftOutlineRegion(picture, c.Region, kLipstick, c.Style);
    EXPECT_TRUE(picture.SameContent(Skin())) << c.Name;
  }
  Bitmap indexed(60, 40, PixelFormat::Bits8);
  indexed.Fill(clBlack);
  indexed.Palette() = {kSkin};
  SoftColorRegion(indexed, Rectangle(), kLipstick);
  EXPECT_EQ(indexed.Row(20)[30], 0);
  Bitmap empty;
  SoftColorRegion(empty, Rectangle(), kLipstick);
  EXPECT_TRUE(empty.Empty());
}

}  // namespace
}  // namespace glamora
