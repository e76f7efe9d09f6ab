// Carving a face out of a photograph without a window: copying the
// photograph under the template, the mask's two colours, both carvings with
// the shipped masks, and the face shapes' names and files.
#include "experts/core/Carving.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "experts/core/CopyPictureUnder.h"
#include "experts/core/FaceShapes.h"
#include "face/StandardFace.h"
#include "imaging/components/ImgIO.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

namespace sf = standard_face;

// Every pixel tells where it came from: red its column, green its row.
Bitmap Numbered(int width, int height) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, Rgb(uint8_t(x), uint8_t(y), 77));
  return b;
}

// Filtered enlarging keeps a flat colour within a level or two.
bool Near(TColor a, TColor b) {
  return std::abs(RedOf(a) - RedOf(b)) <= 2 && std::abs(GreenOf(a) - GreenOf(b)) <= 2 &&
         std::abs(BlueOf(a) - BlueOf(b)) <= 2;
}

Bitmap ShippedMask(int shape) {
  Bitmap mask;
  TImgIO io;
  io.SetBitmap(&mask);
  EXPECT_TRUE(io.LoadFromFile(FaceShapeMaskFile(test::SourceDir() + "/data/", shape)));
  return mask;
}

TEST(CopyPictureUnderTest, DestinationTakesThePixelsUnderItAndWhiteElsewhere) {
  struct Case {
    const char* Name;
    PixelRect Source;  // where the 20 x 10 source is shown
    PixelRect Dest;    // where the 8 x 6 destination lies
    Point FirstCovered;  // destination pixel that shows source pixel (0, 0) shifted, or -1 for none
  };
  const Case cases[] = {
      {"inside", {0, 0, 20, 10}, {5, 2, 8, 6}, {0, 0}},
      {"sticking out left and above", {3, 2, 20, 10}, {0, 0, 8, 6}, {3, 2}},
      {"apart", {0, 0, 20, 10}, {30, 30, 8, 6}, {-1, -1}},
  };
  const Bitmap source = Numbered(20, 10);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Bitmap dest;
    CopyPictureUnder(source, c.Source, dest, c.Dest);
    ASSERT_EQ(dest.Width(), 8);
    ASSERT_EQ(dest.Height(), 6);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 8; ++x) {
        const int px = c.Dest.Left + x, py = c.Dest.Top + y;  // panel point
        const bool covered = c.FirstCovered.X >= 0 && px >= c.Source.Left && py >= c.Source.Top &&
                             px < c.Source.Left + 20 && py < c.Source.Top + 10;
        const TColor expected = covered ? source.Pixel(px - c.Source.Left, py - c.Source.Top) : clWhite;
        ASSERT_EQ(dest.Pixel(x, y), expected) << x << ", " << y;
      }
  }
}

TEST(CopyPictureUnderTest, ReadsOnlyTheSourcesOwnPixelsAndKeepsTheRestOfAPicture) {
  // A source bitmap smaller than its control (not yet resampled) is read
  // only where it has pixels; a destination with a picture keeps it there.
  const Bitmap source = Numbered(4, 3);
  Bitmap dest(6, 6);
  dest.Fill(Rgb(1, 2, 3));
  CopyPictureUnder(source, {0, 0, 10, 10}, dest, {0, 0, 6, 6});
  EXPECT_EQ(dest.Pixel(3, 2), source.Pixel(3, 2));
  EXPECT_EQ(dest.Pixel(4, 2), Rgb(1, 2, 3));
  EXPECT_EQ(dest.Pixel(0, 3), Rgb(1, 2, 3));
}

TEST(CarvingTest, ResamplingToTheShownSizeKeepsAPictureOfThatSizeExactly) {
  Bitmap photo = Numbered(30, 20);
  const Bitmap before = Numbered(30, 20);
  ASSERT_TRUE(ResampleToShownSize(photo, 30, 20));
  EXPECT_TRUE(photo.SameContent(before));
  ASSERT_TRUE(ResampleToShownSize(photo, 15, 40));
  EXPECT_EQ(photo.Width(), 15);
  EXPECT_EQ(photo.Height(), 40);
  EXPECT_FALSE(ResampleToShownSize(photo, 0, 10));
  EXPECT_FALSE(ResampleToShownSize(photo, PictureLimits::kMaxSide + 1, 10));
  EXPECT_EQ(photo.Width(), 15);
}

class ShippedMaskCarving : public ::testing::TestWithParam<int> {};

// A photograph of one colour lies partly outside the template: carving
// keeps it where the mask has its bottom-left grey, makes the canvas white
// where the photograph does not reach, and puts the mask's other colour
// (white) everywhere else.
TEST_P(ShippedMaskCarving, MaskKeepsThePhotographOnlyInItsGreyAndUncoveredPartsAreWhite) {
  const Bitmap mask = ShippedMask(GetParam());
  ASSERT_FALSE(mask.Empty());
  const TColor grey = MaskKeepColour(mask);
  ASSERT_EQ(grey, mask.Pixel(0, mask.Height() - 1));
  const TColor skin = Rgb(180, 120, 100);
  Bitmap photo(100, 200);
  photo.Fill(skin);
  // Shown twice as large, its left edge at the face's centre line: the left
  // half of the template stays uncovered.
  const PixelRect shown{sf::kCentreX, 0, 200, 400};
  Bitmap canvas(sf::kWidth, sf::kHeight);
  canvas.Fill(Rgb(9, 9, 9));
  CarveAutomatically(photo, shown, {0, 0, mask.Width(), mask.Height()}, mask, canvas);

  EXPECT_EQ(photo.Width(), 200) << "the photograph keeps its bitmap resampled to the shown size";
  for (int y = 0; y < sf::kHeight; ++y)
    for (int x = 0; x < sf::kWidth; ++x) {
      const TColor pixel = canvas.Pixel(x, y);
      if (mask.Pixel(x, y) != grey) {
        ASSERT_EQ(pixel, mask.Pixel(x, y)) << x << ", " << y;
      } else if (x < sf::kCentreX) {
        ASSERT_EQ(pixel, clWhite) << x << ", " << y;
      } else {
        ASSERT_TRUE(Near(pixel, skin)) << x << ", " << y;
      }
    }
}

TEST_P(ShippedMaskCarving, ByHandTheCanvasTakesTheMasksSizeAndThePhotographOverIt) {
  const Bitmap mask = ShippedMask(GetParam());
  ASSERT_FALSE(mask.Empty());
  Bitmap photo = Numbered(50, 60);
  // The template covers only part of the mask's height here.
  const Bitmap canvas = CarveByHand(photo, {10, 20, 50, 60}, {0, 0, 100, 100}, mask);
  ASSERT_EQ(canvas.Width(), mask.Width());
  ASSERT_EQ(canvas.Height(), mask.Height());
  EXPECT_EQ(canvas.Pixel(10, 20), photo.Pixel(0, 0));
  EXPECT_EQ(canvas.Pixel(59, 79), photo.Pixel(49, 59));
  EXPECT_EQ(canvas.Pixel(9, 20), clWhite) << "the template's part beside the photograph";
  EXPECT_EQ(canvas.Pixel(kHandCarveSeedX, kHandCarveSeedY), mask.Pixel(kHandCarveSeedX, kHandCarveSeedY))
      << "below the template the mask stays, and with it the seed's grey";
}

INSTANTIATE_TEST_SUITE_P(AllShapes, ShippedMaskCarving, ::testing::Range(1, kFaceShapeCount + 1),
                         [](const ::testing::TestParamInfo<int>& shape) { return FaceShapeName(shape.param); });

TEST(FaceShapesTest, TheButtonRunsThroughTheShapesAndEachHasItsHintCaptionAndFiles) {
  struct Shape {
    const char* Hint;
    const char* Caption;
  };
  const Shape shapes[] = {{"Oval face shape", "Oval"},
                          {"Wide face shape", "Wide"},
                          {"Long face shape", "Long"},
                          {"Rect face shape", "Rectangle"},
                          {"Try face shape", "Triangle"}};
  int shape = kOvalShape;
  for (int press = 1; press <= kFaceShapeCount; ++press) {
    shape = NextFaceShape(shape);
    const Shape& expected = shapes[size_t(shape - 1)];
    EXPECT_EQ(FaceShapeHint(shape), expected.Hint);
    EXPECT_EQ(FaceShapeCaption(shape), expected.Caption);
    EXPECT_TRUE(std::filesystem::exists(FaceShapeTemplateFile(test::SourceDir() + "/data/", shape))) << shape;
    EXPECT_TRUE(std::filesystem::exists(FaceShapeMaskFile(test::SourceDir() + "/data/", shape))) << shape;
    EXPECT_EQ(FaceShapeByName(FaceShapeName(shape)), shape);
  }
  EXPECT_EQ(shape, kOvalShape) << "five presses come back to Oval";
  EXPECT_EQ(FaceShapeTemplateFile("/p/", 4), "/p/Shapes/ShapeRect.bmp");
  EXPECT_EQ(FaceShapeMaskFile("/p/", 5), "/p/Shapes/MaskGrayTry.bmp");
  EXPECT_EQ(FaceShapeByName("TRY"), 5);
  EXPECT_EQ(FaceShapeByName("triangle"), 0);
  EXPECT_EQ(FaceShapeByName(""), 0);
}

}  // namespace
}  // namespace glamora
