// Hair loading, whitening, see-through colour and tinting, the extension
// rule, failures that keep the previous hair, and the composition of face and
// hair compared with what the screen shows.
#include "hair/HairStyle.h"

#include <gtest/gtest.h>

#include <QDir>

#include "face/Makeup.h"
#include "hair/FrameBox.h"
#include "hair/FrameButtons.h"
#include "imaging/Image.h"
#include "imaging/components/ImgIO.h"
#include "imaging/components/ImgProc.h"
#include "tests/hair/HairTestSupport.h"
#include "tests/support/FaceFixtures.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

using test::PixelOf;
using test::TempFolder;

constexpr THairColour kDefaultColour{60, 40, 20};

// A 20 x 16 hairstyle: a background colour, a grey block at (8..12, 6..10)
// and one pixel (15, 12) of (0, 181, 90).
Bitmap HairPicture(TColor background) {
  Bitmap picture(20, 16);
  picture.Fill(background);
  for (int y = 6; y <= 10; ++y)
    for (int x = 8; x <= 12; ++x) picture.SetPixel(x, y, Rgb(100, 100, 100));
  picture.SetPixel(15, 12, Rgb(0, 181, 90));
  return picture;
}

// Writes the picture in the format that the extension of `name` selects.
std::string Save(const TempFolder& dir, const std::string& name, const Bitmap& picture, int32_t fileType = iftBmp) {
  Bitmap copy;
  copy.Assign(picture);
  TImgIO io;
  io.SetBitmap(&copy);
  const std::string path = dir.File(name);
  EXPECT_TRUE(io.SaveToFileAs(fileType, path)) << name;
  return path;
}

// A 1-bit BMP of 8 x 2 pixels: black and white stripes.
std::string SaveBilevelBmp(const TempFolder& dir, const std::string& name) {
  std::vector<uint8_t> file = {'B', 'M'};
  const auto put32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) file.push_back(uint8_t(v >> (8 * i)));
  };
  const auto put16 = [&](uint16_t v) {
    file.push_back(uint8_t(v));
    file.push_back(uint8_t(v >> 8));
  };
  put32(14 + 40 + 8 + 8);  // file size
  put32(0);
  put32(14 + 40 + 8);  // pixel offset
  put32(40);
  put32(8);  // width
  put32(2);  // height
  put16(1);
  put16(1);  // bits per pixel
  for (int i = 0; i < 6; ++i) put32(0);
  put32(0x000000);  // palette: black, white
  put32(0xFFFFFF);
  put32(0x000000AA);  // rows padded to four bytes
  put32(0x00000055);
  const std::string path = dir.File(name);
  test::WriteAll(path, file);
  return path;
}

// The hair picture control over a canvas, its two components and the frame
// box, as the main window has them.
class HairScene {
 public:
  HairScene() {
    canvas.resize(300, 400);
    image = new TImage(&canvas);
    image->SetStretch(true);
    image->SetTransparent(true);
    image->setGeometry(0, 0, 228, 314);
    box = new TFrameBox(&canvas);
    box->HideOutline();
    proc.SetAttachedTImage(image);
    io.SetAttachedTImage(image);
  }
  THairLoad Load(const std::string& path, THairColour colour = kDefaultColour) {
    return LoadHairstyle({*image, proc, io, *box}, path, colour, hairFileName);
  }
  Bitmap& Picture() { return *image->Bitmap(); }
  TColor Pixel(int x, int y) { return Picture().Pixel(x, y); }

  TImgProc proc;
  TImgIO io;
  QWidget canvas;
  TImage* image = nullptr;
  TFrameBox* box = nullptr;
  std::string hairFileName;
};

class HairStyleTest : public ::testing::Test {
 protected:
  TempFolder dir_;
  HairScene scene_;
};

TEST_F(HairStyleTest, WhiteningMakesTheBackgroundSeeThroughAndTheTintWarmsGrey) {
  const std::string path = Save(dir_, "hair.bmp", HairPicture(Rgb(200, 190, 250)));
  ASSERT_EQ(scene_.Load(path), THairLoad::Loaded);
  EXPECT_EQ(scene_.hairFileName, path);
  EXPECT_EQ(scene_.Pixel(5, 5), clWhite);
  EXPECT_EQ(scene_.Picture().TransparentColor, clWhite);
  EXPECT_TRUE(scene_.Picture().Transparent);
  EXPECT_EQ(scene_.Pixel(10, 8), Rgb(160, 140, 120));
  EXPECT_EQ(scene_.Pixel(15, 12), Rgb(60, 255, 110));  // 0 stays 0, 181 whitens, 90 stays
  // The undo copy is the whitened, untinted hair.
  EXPECT_EQ(scene_.proc.UndoBitmap().Pixel(10, 8), Rgb(100, 100, 100));
  EXPECT_EQ(scene_.proc.UndoBitmap().Pixel(5, 5), clWhite);
}

TEST_F(HairStyleTest, ABackgroundChannelOfAtMost180StaysAndTheTintMakesItOpaque) {
  ASSERT_EQ(scene_.Load(Save(dir_, "hair.bmp", HairPicture(Rgb(170, 220, 220)))), THairLoad::Loaded);
  EXPECT_EQ(scene_.Picture().TransparentColor, Rgb(170, 255, 255));
  EXPECT_EQ(scene_.Pixel(5, 5), Rgb(230, 255, 255));
  EXPECT_NE(scene_.Pixel(5, 5), scene_.Picture().TransparentColor);
}

TEST_F(HairStyleTest, BlackShowsTheWhitenedHairUntinted) {
  ASSERT_EQ(scene_.Load(Save(dir_, "hair.bmp", HairPicture(Rgb(200, 190, 250)))), THairLoad::Loaded);
  TintHair(scene_.proc, {0, 0, 0});
  EXPECT_EQ(scene_.Pixel(10, 8), Rgb(100, 100, 100));
  EXPECT_EQ(scene_.Pixel(15, 12), Rgb(0, 255, 90));
  EXPECT_EQ(scene_.Pixel(5, 5), clWhite);
}

TEST_F(HairStyleTest, TintsDoNotAccumulate) {
  const std::string path = Save(dir_, "hair.bmp", HairPicture(Rgb(200, 190, 250)));
  ASSERT_EQ(scene_.Load(path), THairLoad::Loaded);
  TintHair(scene_.proc, {200, 10, 90});
  TintHair(scene_.proc, {5, 70, 30});
  Bitmap twice;
  twice.Assign(scene_.Picture());
  EXPECT_EQ(twice.Pixel(10, 8), Rgb(105, 170, 130));

  ASSERT_EQ(scene_.Load(path, {5, 70, 30}), THairLoad::Loaded);
  EXPECT_TRUE(twice.SameContent(scene_.Picture()));
  ASSERT_EQ(scene_.Load(path), THairLoad::Loaded);
  TintHair(scene_.proc, {5, 70, 30});
  EXPECT_TRUE(twice.SameContent(scene_.Picture()));
}

TEST(HairExtensionTest, LowerCasedExtensionCutToFourCharacters) {
  struct Case {
    const char* name;
    bool accepted;
  };
  const Case cases[] = {
      {"a.bmp", true},        {"A.BMP", true},   {"a.JPG", true},  {"a.jpeg", false},  {"a.tiff", true},
      {"a.Tif", true},        {"a.png", false},  {"a.jpe", false}, {"noext", false},   {"dir.jpg/file", false},
      {"a.bmpx", true},       {"", false},       {"a.", false},    {"x.tar.jpg", true}, {"a.jp", false},
  };
  for (const Case& c : cases) EXPECT_EQ(AcceptedHairExtension(c.name), c.accepted) << c.name;
}

TEST_F(HairStyleTest, OnlyAcceptedExtensionsReplaceTheHair) {
  struct Case {
    const char* name;
    int32_t fileType;
    THairLoad outcome;
  };
  const Case cases[] = {
      {"next.BMP", iftBmp, THairLoad::Loaded},      {"next.JPG", iftJpeg, THairLoad::Loaded},
      {"next.jpeg", iftJpeg, THairLoad::Refused},   {"next.tiff", iftTiff, THairLoad::Loaded},
      {"next.TIF", iftTiff, THairLoad::Loaded},     {"next.png", iftPng, THairLoad::Refused},
      {"next", iftBmp, THairLoad::Refused},
  };
  const std::string base = Save(dir_, "base.bmp", HairPicture(Rgb(200, 190, 250)));
  Bitmap next(12, 10);
  next.Fill(Rgb(90, 90, 90));
  for (const Case& c : cases) {
    HairScene scene;
    ASSERT_EQ(scene.Load(base), THairLoad::Loaded);
    const std::string path = Save(dir_, c.name, next, c.fileType);
    EXPECT_EQ(scene.Load(path), c.outcome) << c.name;
    EXPECT_EQ(scene.hairFileName, path);
    EXPECT_EQ(scene.Picture().Width(), c.outcome == THairLoad::Loaded ? 12 : 20) << c.name;
  }
}

TEST_F(HairStyleTest, AMissingFileKeepsThePreviousHair) {
  ASSERT_EQ(scene_.Load(Save(dir_, "hair.bmp", HairPicture(Rgb(200, 190, 250)))), THairLoad::Loaded);
  Bitmap before;
  before.Assign(scene_.Picture());
  EXPECT_EQ(scene_.Load(dir_.File("gone.jpg")), THairLoad::NoFile);
  EXPECT_EQ(scene_.hairFileName, dir_.File("gone.jpg"));
  EXPECT_EQ(scene_.Load(""), THairLoad::NoFile);
  EXPECT_EQ(scene_.hairFileName, "");
  EXPECT_EQ(scene_.Load(dir_.Path()), THairLoad::NoFile);  // a folder is no file
  EXPECT_TRUE(before.SameContent(scene_.Picture()));
}

TEST_F(HairStyleTest, AnUnreadableFileLeavesTheHairAsItWas) {
  ASSERT_EQ(scene_.Load(Save(dir_, "hair.bmp", HairPicture(Rgb(200, 190, 250)))), THairLoad::Loaded);
  Bitmap before;
  before.Assign(scene_.Picture());
  const std::string bad = dir_.File("bad.bmp");
  test::WriteAll(bad, std::string("this is not a picture"));
  EXPECT_EQ(scene_.Load(bad), THairLoad::Unreadable);
  EXPECT_TRUE(before.SameContent(scene_.Picture()));  // not tinted a second time
  TintHair(scene_.proc, {0, 0, 0});
  EXPECT_EQ(scene_.Pixel(10, 8), Rgb(100, 100, 100));
}

TEST_F(HairStyleTest, APictureOfAnotherFormatStaysUntintedAndATintChangeKeepsIt) {
  ASSERT_EQ(scene_.Load(Save(dir_, "hair.bmp", HairPicture(Rgb(200, 190, 250)))), THairLoad::Loaded);
  ASSERT_EQ(scene_.Load(SaveBilevelBmp(dir_, "stripes.bmp")), THairLoad::Loaded);
  ASSERT_EQ(scene_.Picture().Format(), PixelFormat::Bits1);
  Bitmap stripes;
  stripes.Assign(scene_.Picture());
  TintHair(scene_.proc, {30, 30, 30});
  EXPECT_EQ(scene_.Picture().Format(), PixelFormat::Bits1);
  EXPECT_TRUE(stripes.SameContent(scene_.Picture()));  // not the previous hairstyle
}

TEST_F(HairStyleTest, APictureSmallerThanTheProbeTakesItsNearestPixelAsSeeThrough) {
  Bitmap tiny(3, 2);
  tiny.Fill(Rgb(10, 20, 30));
  tiny.SetPixel(2, 1, Rgb(200, 200, 200));
  ASSERT_EQ(scene_.Load(Save(dir_, "tiny.bmp", tiny)), THairLoad::Loaded);
  EXPECT_EQ(scene_.Picture().TransparentColor, clWhite);
}

TEST_F(HairStyleTest, ARelativeNameIsTakenAgainstTheWorkingFolder) {
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir_.Path())));
  const std::string canonical = QDir::current().absolutePath().toStdString() + "/";
  EXPECT_EQ(FullHairPath("hair.bmp"), canonical + "hair.bmp");
  EXPECT_EQ(FullHairPath("sub/../hair.bmp"), canonical + "hair.bmp");
  EXPECT_EQ(FullHairPath(""), "");
  QDir::setCurrent(previous);
}

TEST_F(HairStyleTest, ANewHairstyleKeepsThePlaceAndSizeOfThePrevious) {
  ASSERT_EQ(scene_.Load(Save(dir_, "one.bmp", HairPicture(Rgb(200, 190, 250)))), THairLoad::Loaded);
  scene_.box->MoveBy(3, 2);
  scene_.box->GrowBy(4, 1);
  const QRect place = scene_.image->geometry();
  Bitmap other(40, 10);
  other.Fill(Rgb(50, 60, 70));
  ASSERT_EQ(scene_.Load(Save(dir_, "two.bmp", other)), THairLoad::Loaded);
  EXPECT_EQ(scene_.image->geometry(), place);
  const TFrame& frame = scene_.box->Frame;
  EXPECT_EQ(frame.Bounds, (TRect{place.left(), place.top(), place.right(), place.bottom()}));
  EXPECT_EQ(frame.AttachedBounds, frame.Bounds);
  EXPECT_DOUBLE_EQ(frame.Aspect, double(place.width()) / place.height());
}

TEST_F(HairStyleTest, TintingBeforeAnyHairDoesNothing) {
  TintHair(scene_.proc, kDefaultColour);
  EXPECT_TRUE(scene_.Picture().Empty());
}

// ---- composing face and hair

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
  const Bitmap result = ComposeResult(face, hair, QRect(0, 0, 228, 314));
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
  const Bitmap covered = ComposeResult(face, hair, QRect(10, 20, 8, 8));
  EXPECT_EQ(covered.Pixel(10, 20), clWhite);  // hair pixel (0, 0), white but drawn
  EXPECT_EQ(covered.Pixel(17, 27), hair.Pixel(3, 3));
  EXPECT_EQ(covered.Pixel(18, 27), face.Pixel(18, 27));
  EXPECT_EQ(covered.Pixel(9, 20), face.Pixel(9, 20));

  for (const QRect& away : {QRect(228, 0, 50, 50), QRect(-60, -60, 60, 60), QRect(0, 314, 10, 10)}) {
    EXPECT_TRUE(ComposeResult(face, hair, away).SameContent(face));
  }
  EXPECT_TRUE(ComposeResult(face, Bitmap(), QRect(0, 0, 228, 314)).SameContent(face));
}

TEST(ComposeResultTest, APaletteFaceGivesA24BitResult) {
  Bitmap face(6, 4, PixelFormat::Bits8);
  face.Fill(clBlack);
  face.Palette() = {Rgb(1, 2, 3), Rgb(200, 100, 50)};
  for (int y = 0; y < 4; ++y) face.Row(y)[2] = 1;
  Bitmap hair = PatternedHair(2, 2);
  hair.Transparent = false;
  const Bitmap result = ComposeResult(face, hair, QRect(4, 2, 2, 2));
  ASSERT_EQ(result.Format(), PixelFormat::Bits24);
  EXPECT_EQ(result.Pixel(0, 0), Rgb(1, 2, 3));
  EXPECT_EQ(result.Pixel(2, 3), Rgb(200, 100, 50));
  EXPECT_EQ(result.Pixel(5, 3), hair.Pixel(1, 1));
}

// The make-up canvas with a face, the hair over it and the frame box, and a
// grab of what the screen shows.
class ScreenScene {
 public:
  explicit ScreenScene(TBorderStyle border, const Bitmap& hairPicture) : face(test::StandardFacePicture()) {
    canvas.SetBorderStyle(border);
    canvas.SetBackground(clWhite);
    canvas.Assign(&face);
    const int frame = 2 * canvas.BorderWidth();
    canvas.resize(228 + frame, 314 + frame);
    hair = new TImage(&canvas);
    hair->SetStretch(true);
    hair->SetTransparent(true);
    hair->Bitmap()->Assign(hairPicture);
    hair->Bitmap()->Transparent = true;
    box = new TFrameBox(&canvas);
    box->HideOutline();
    ResetHairPlacement(*hair, *box);
    canvas.Update();
  }

  // Every face pixel on the screen against the composed picture.
  void ExpectScreenMatchesComposition(const std::string& what) {
    const QImage shot = canvas.grab().toImage();
    const Bitmap composed = ComposeResult(face, *hair->Bitmap(), HairBoundsOnPicture(canvas, *hair));
    const QPoint origin = canvas.ClientOrigin();
    int mismatches = 0;
    for (int y = 0; y < 314 && mismatches < 5; ++y) {
      for (int x = 0; x < 228 && mismatches < 5; ++x) {
        const TColor screen = PixelOf(shot, origin.x() + x, origin.y() + y);
        if (screen != composed.Pixel(x, y)) {
          ++mismatches;
          ADD_FAILURE() << what << ": pixel " << x << ", " << y << " is " << std::hex << screen << " on screen, "
                        << composed.Pixel(x, y) << " composed";
        }
      }
    }
  }

  Bitmap face;
  TMakeup canvas;
  TImage* hair = nullptr;
  TFrameBox* box = nullptr;
};

TEST(ComposeResultTest, WhatIsComposedIsWhatTheScreenShows) {
  struct Placement {
    const char* what;
    int moveX, moveY, growX, growY;
  };
  const Placement placements[] = {
      {"reset", 0, 0, 0, 0},
      {"moved", 7, -5, 0, 0},
      {"stretched", 0, 0, 13, 9},
      {"shrunk", 0, 0, -40, -30},
      {"moved and widened", -30, 20, 5, 0},
      {"partly off the face", 150, 250, 0, 0},
  };
  const Bitmap hairPictures[] = {PatternedHair(228, 314), PatternedHair(57, 83)};
  for (const TBorderStyle border : {bsNone, bsSingle}) {
    for (const Bitmap& hairPicture : hairPictures) {
      for (const Placement& p : placements) {
        ScreenScene scene(border, hairPicture);
        scene.box->MoveBy(p.moveX, p.moveY);
        if (p.growX != 0 || p.growY != 0) {
          ASSERT_TRUE(scene.box->GrowBy(p.growX, p.growY));
        }
        scene.ExpectScreenMatchesComposition(std::string(p.what) + (border == bsNone ? "" : ", bordered") + ", " +
                                             std::to_string(hairPicture.Width()) + " wide");
      }
    }
  }
}

}  // namespace
}  // namespace glamora
