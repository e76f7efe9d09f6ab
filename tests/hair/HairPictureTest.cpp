// The hairstyle file rules (the accepted extensions, the full path of a
// relative name) and the composition of face and hair.
#include <gtest/gtest.h>

#include <QDir>

#include "hair/Compose.h"
#include "hair/HairPicture.h"
#include "tests/support/FaceFixtures.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

using test::TempFolder;

TEST(HairExtensionTest, LowerCasedExtensionCutToFourCharacters) {
  struct Case {
    const char* name;
    bool accepted;
  };
  const Case cases[] = {
      {"a.bmp", true},  {"A.BMP", true},  {"a.JPG", true},  {"a.jpeg", false},   {"a.tiff", true},
      {"a.Tif", true},  {"a.png", false}, {"a.jpe", false}, {"noext", false},    {"dir.jpg/file", false},
      {"a.bmpx", true}, {"", false},      {"a.", false},    {"x.tar.jpg", true}, {"a.jp", false},
  };
  for (const Case& c : cases) EXPECT_EQ(AcceptedHairExtension(c.name), c.accepted) << c.name;
}

TEST(HairPathTest, ARelativeNameIsTakenAgainstTheWorkingFolder) {
  TempFolder dir;
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.Path())));
  const std::string canonical = QDir::current().absolutePath().toStdString() + "/";
  EXPECT_EQ(FullHairPath("hair.bmp"), canonical + "hair.bmp");
  EXPECT_EQ(FullHairPath("sub/../hair.bmp"), canonical + "hair.bmp");
  EXPECT_EQ(FullHairPath("./sub/"), canonical + "sub");
  EXPECT_EQ(FullHairPath("/abs//x/./y.jpg"), "/abs/x/y.jpg");
  EXPECT_EQ(FullHairPath(""), "");
  QDir::setCurrent(previous);
}

// A hair picture with see-through white on every third diagonal and
// colours elsewhere.
Bitmap PatternedHair(int width, int height) {
  Bitmap hair(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      hair.SetPixel(x, y, (x + 2 * y) % 3 == 0 ? clWhite : Rgb(uint8_t(9 * x), uint8_t(5 * y), uint8_t(x + y)));
    }
  }
  hair.Transparent = true;
  hair.TransparentColor = clWhite;
  return hair;
}

TEST(ComposeResultTest, AtTheDefaultPlaceItIsTheHairDrawnOverTheFace) {
  const Bitmap face = test::StandardFacePicture();
  const Bitmap hair = PatternedHair(228, 314);
  const Bitmap result = ComposeResult(face, hair, {0, 0, 228, 314});
  ASSERT_EQ(result.Width(), 228);
  ASSERT_EQ(result.Height(), 314);
  ASSERT_EQ(result.Format(), PixelFormat::Bits24);
  for (int y = 0; y < 314; ++y) {
    for (int x = 0; x < 228; ++x) {
      const TColor h = hair.Pixel(x, y);
      ASSERT_EQ(result.Pixel(x, y), h == clWhite ? face.Pixel(x, y) : h) << x << ", " << y;
    }
  }
  EXPECT_FALSE(result.Transparent);
}

TEST(ComposeResultTest, OpaqueHairCoversItsRectangleAndHairOutsideLeavesTheFace) {
  const Bitmap face = test::StandardFacePicture();
  Bitmap hair = PatternedHair(4, 4);
  hair.Transparent = false;
  const Bitmap covered = ComposeResult(face, hair, {10, 20, 8, 8});
  EXPECT_EQ(covered.Pixel(10, 20), clWhite);  // hair pixel (0, 0), white but drawn
  EXPECT_EQ(covered.Pixel(17, 27), hair.Pixel(3, 3));
  EXPECT_EQ(covered.Pixel(18, 27), face.Pixel(18, 27));
  EXPECT_EQ(covered.Pixel(9, 20), face.Pixel(9, 20));

  for (const PixelRect& away :
       {PixelRect{228, 0, 50, 50}, PixelRect{-60, -60, 60, 60}, PixelRect{0, 314, 10, 10}, PixelRect{5, 5, 0, 40}}) {
    EXPECT_TRUE(ComposeResult(face, hair, away).SameContent(face));
  }
  EXPECT_TRUE(ComposeResult(face, Bitmap(), {0, 0, 228, 314}).SameContent(face));
}

TEST(ComposeResultTest, APaletteFaceGivesA24BitResult) {
  Bitmap face(6, 4, PixelFormat::Bits8);
  face.Fill(clBlack);
  face.Palette() = {Rgb(1, 2, 3), Rgb(200, 100, 50)};
  for (int y = 0; y < 4; ++y) face.Row(y)[2] = 1;
  Bitmap hair = PatternedHair(2, 2);
  hair.Transparent = false;
  const Bitmap result = ComposeResult(face, hair, {4, 2, 2, 2});
  ASSERT_EQ(result.Format(), PixelFormat::Bits24);
  EXPECT_EQ(result.Pixel(0, 0), Rgb(1, 2, 3));
  EXPECT_EQ(result.Pixel(2, 3), Rgb(200, 100, 50));
  EXPECT_EQ(result.Pixel(5, 3), hair.Pixel(1, 1));
}

}  // namespace
}  // namespace glamora
