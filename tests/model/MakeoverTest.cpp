// The make-over model without any window: loading faces and the undo point,
// colouring the regions, the complexion, storing outlined regions, the hair
// (loading, whitening, tinting, failures that keep the previous hair), where
// the hair lies, composing, and the random make-over's draws.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "face/FaceFile.h"
#include "face/StandardFace.h"
#include "hair/Catalogue.h"
#include "imaging/components/ImgIO.h"
#include "imaging/core/Contrast.h"
#include "imaging/core/HslVar.h"
#include "model/Makeover.h"
#include "tests/support/FaceFixtures.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

namespace sf = standard_face;
using test::TempFolder;

const TColor kSkin = Rgb(200, 160, 140);

class MakeoverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    facePath_ =
        test::WriteTestFace(dir_.File("face.mff"), test::StandardFacePicture(kSkin), test::RectangleRegionsHeader());
    ASSERT_TRUE(model_.LoadFace(facePath_));
  }

  TColor Pixel(int x, int y) const { return model_.Face().Pixel(x, y); }
  TColor LeftEye() const { return Pixel(sf::kLeftEyeX, sf::kEyeLineY); }

  TempFolder dir_;
  std::string facePath_;
  Makeover model_;
};

// ---- the face and its undo point ---------------------------------------------

TEST_F(MakeoverTest, LoadingSetsTheSplitsAndTakesTheSnapshot) {
  EXPECT_EQ(model_.HalfWidth(), 114);
  EXPECT_EQ(model_.SplitY(), 188);
  EXPECT_TRUE(model_.HeaderSaved());
  EXPECT_EQ(model_.Header(), test::RectangleRegionsHeader());
  EXPECT_EQ(model_.HeaderFileName(), facePath_);
  EXPECT_EQ(model_.Face().Width(), 228);
  EXPECT_EQ(Pixel(5, 5), kSkin);
  Bitmap black(228, 314);
  black.Fill(clBlack);
  model_.SetFace(black);
  model_.Undo();
  EXPECT_EQ(Pixel(5, 5), kSkin);
}

TEST_F(MakeoverTest, FailedLoadsChangeNothing) {
  test::WriteAll(dir_.File("notes.txt"), std::vector<uint8_t>(5000, 1));
  test::WriteAll(dir_.File("short.mff"), std::vector<uint8_t>(100, 1));
  test::WriteAll(dir_.File("garbage.mff"), std::vector<uint8_t>(3260 + 500, 0x5A));
  for (const char* name : {"missing.mff", "notes.txt", "short.mff", "garbage.mff"}) {
    EXPECT_FALSE(model_.LoadFace(dir_.File(name))) << name;
    EXPECT_EQ(model_.HeaderFileName(), facePath_) << name;
    EXPECT_EQ(model_.Header(), test::RectangleRegionsHeader()) << name;
    EXPECT_EQ(Pixel(100, 100), kSkin) << name;
  }
}

// A face file longer than any picture within the limits can need is refused
// before it is read: under the window's limits a 200 MB file is.
TEST_F(MakeoverTest, AFaceFileTooLongForTheLimitsIsNotRead) {
  const std::string path = dir_.File("long.mff");
  std::filesystem::copy_file(facePath_, path);
  ASSERT_EQ(::truncate(path.c_str(), off_t(200) << 20), 0);  // a sparse tail of zeros
  model_.SetLoadLimits(kWindowPictureLimits);
  EXPECT_THROW(model_.LoadFace(path), FileError);
  EXPECT_EQ(model_.HeaderFileName(), facePath_);
  EXPECT_EQ(Pixel(100, 100), kSkin);
}

TEST_F(MakeoverTest, EncipheredFacesLoadWithCapitalExtension) {
  const std::string eff = test::WriteTestFace(dir_.File("Model.EFF"), test::StandardFacePicture(Rgb(10, 20, 30)),
                                              test::RectangleRegionsHeader());
  ASSERT_TRUE(model_.LoadFace(eff));
  EXPECT_EQ(Pixel(0, 0), Rgb(10, 20, 30));
}

TEST_F(MakeoverTest, TheStandardSizeCutsOrExtendsThePictureAndTheUndoPointFollows) {
  Bitmap wide(300, 200);
  wide.Fill(Rgb(1, 2, 3));
  ASSERT_TRUE(model_.LoadFace(test::WriteTestFace(dir_.File("wide.mff"), wide, test::RectangleRegionsHeader())));
  model_.SetFaceSize(228, 314, clWhite);
  EXPECT_EQ(model_.Face().Width(), 228);
  EXPECT_EQ(model_.Face().Height(), 314);
  EXPECT_EQ(Pixel(0, 199), Rgb(1, 2, 3));
  EXPECT_EQ(Pixel(0, 200), clWhite);
  model_.Undo();
  EXPECT_EQ(model_.Face().Width(), 228);
}

// ---- make-up on the regions --------------------------------------------------

TEST_F(MakeoverTest, ApplyColorReplacesThePreviousOne) {
  model_.ApplyColor(ColorKind::Eyes, Rgb(100, 50, 50));  // red + 50
  EXPECT_EQ(LeftEye(), Rgb(250, 160, 140));
  EXPECT_EQ(Pixel(sf::kRightEyeX, sf::kEyeLineY), Rgb(250, 160, 140));
  model_.ApplyColor(ColorKind::Eyes, Rgb(50, 50, 0));  // blue − 50 only
  EXPECT_EQ(LeftEye(), Rgb(200, 160, 90));
  EXPECT_EQ(Pixel(5, 5), kSkin);

  // The lip line outlines region 3, records its colour, and leaves the header saved.
  model_.SaveUndo();
  model_.ApplyColor(ColorKind::LipLine, Rgb(90, 10, 90));
  const FaceRegion& lips = model_.Header().Region(3);
  EXPECT_EQ(Pixel(lips.Points[0].X, lips.Points[0].Y), Rgb(90, 10, 90));
  EXPECT_EQ(Pixel(sf::kCentreX, sf::kMouthY), kSkin);
  EXPECT_EQ(model_.Header().LipLineColor, Rgb(90, 10, 90));
  EXPECT_TRUE(model_.HeaderSaved());
  EXPECT_EQ(LeftEye(), Rgb(200, 160, 90));  // kept by the snapshot
}

// Soft edges: the colour blended in at 60 %, fading over the region's edge;
// the classic channel shift again once they are off; the random make-up,
// whose colour ranges are drawn for the shift, shifts either way.
TEST_F(MakeoverTest, SoftEdgesBlendTheColourInAndFadeAtTheEdge) {
  const TColor violet = Rgb(120, 40, 200);
  model_.SetSoftEdges(true);
  model_.ApplyColor(ColorKind::Eyes, violet);
  const auto between = [](TColor c, TColor from, TColor to) {
    const auto on = [](int v, int a, int b) { return (v - a) * (b - a) > 0 && std::abs(v - a) < std::abs(b - a); };
    return on(RedOf(c), RedOf(from), RedOf(to)) && on(GreenOf(c), GreenOf(from), GreenOf(to)) &&
           on(BlueOf(c), BlueOf(from), BlueOf(to));
  };
  // Inside, part of the way to the colour; on a flat skin the shading keeps it.
  const TColor inside = LeftEye();
  EXPECT_TRUE(between(inside, kSkin, violet)) << std::hex << inside;
  EXPECT_EQ(Pixel(sf::kRightEyeX, sf::kEyeLineY), inside);
  // The rectangle's left edge is x = 73: the make-up fades out beyond it.
  const TColor edge = Pixel(sf::kLeftEyeX - 15, sf::kEyeLineY);
  EXPECT_TRUE(between(edge, kSkin, inside)) << std::hex << edge;
  EXPECT_EQ(Pixel(sf::kLeftEyeX - 20, sf::kEyeLineY), kSkin);
  EXPECT_EQ(Pixel(5, 5), kSkin);

  model_.SetSoftEdges(false);
  model_.ApplyColor(ColorKind::Eyes, Rgb(100, 50, 50));
  EXPECT_EQ(LeftEye(), Rgb(250, 160, 140));

  Bitmap shifted;
  for (bool soft : {false, true}) {
    ASSERT_TRUE(model_.LoadFace(facePath_));
    model_.SetSoftEdges(soft);
    RandomGenerator random(4242);
    model_.RandomMakeup(random);
    if (!soft) {
      shifted.Assign(model_.Face());
    } else {
      EXPECT_TRUE(model_.Face().SameContent(shifted));
    }
  }
}

// What the face looked like before the make-over: kept through make-up and
// undo points, cut with the picture, replaced by the next face.
TEST_F(MakeoverTest, TheLoadedFaceStaysAsTheFileGaveIt) {
  model_.ApplyColor(ColorKind::Eyes, Rgb(100, 50, 50));
  model_.SaveUndo();
  model_.PencilLine({0, 0}, {50, 50}, clBlack);
  EXPECT_TRUE(model_.LoadedFace().SameContent(test::StandardFacePicture(kSkin)));

  Bitmap tall(200, 400);
  tall.Fill(Rgb(1, 2, 3));
  ASSERT_TRUE(model_.LoadFace(test::WriteTestFace(dir_.File("tall.mff"), tall, test::RectangleRegionsHeader())));
  model_.SetFaceSize(228, 314, clWhite);
  EXPECT_TRUE(model_.LoadedFace().SameContent(model_.Face()));
  EXPECT_EQ(model_.LoadedFace().Pixel(210, 10), clWhite);
}

TEST_F(MakeoverTest, InvalidRegionsColourNothing) {
  FaceHeader header = test::RectangleRegionsHeader();
  header.Region(1).Valid = 0;
  header.Region(2).Count = 101;
  header.Region(3).Count = -4;
  ASSERT_TRUE(model_.LoadFace(test::WriteTestFace(dir_.File("bad.mff"), test::StandardFacePicture(kSkin), header)));
  for (ColorKind kind : {ColorKind::Eyes, ColorKind::Lips, ColorKind::LipLine}) model_.ApplyColor(kind, clWhite);
  EXPECT_TRUE(model_.Face().SameContent(test::StandardFacePicture(kSkin)));
}

TEST_F(MakeoverTest, RegionsWithVerticesFarOutsideAnyPictureColourNothing) {
  // A damaged or hostile header: three vertices, one of them two billion
  // rows away. It must neither hang nor touch the picture.
  FaceHeader header = test::RectangleRegionsHeader();
  FaceRegion& lips = header.Region(3);
  lips.Count = 3;
  lips.Points[0] = {100, 200};
  lips.Points[1] = {140, 2000000000};
  lips.Points[2] = {-2000000000, 220};
  ASSERT_TRUE(model_.LoadFace(test::WriteTestFace(dir_.File("far.mff"), test::StandardFacePicture(kSkin), header)));
  model_.ApplyColor(ColorKind::Lips, clWhite);
  model_.ApplyColor(ColorKind::LipLine, clBlack);
  EXPECT_TRUE(model_.Face().SameContent(test::StandardFacePicture(kSkin)));
}

TEST_F(MakeoverTest, StoringARegionMarksTheHeaderChangedUntilItIsWritten) {
  FaceRegion triangle;
  triangle.Count = 3;
  triangle.Points[0] = {10, 10};
  triangle.Points[1] = {60, 12};
  triangle.Points[2] = {30, 50};
  model_.MutableHeader().StoreMark = 7;
  model_.StoreRegion(2, triangle);
  EXPECT_EQ(model_.Header().Region(2).Valid, 1);
  EXPECT_EQ(model_.Header().Region(2).Points[1], (FacePoint{60, 12}));
  EXPECT_EQ(model_.Header().StoreMark, 0);
  EXPECT_FALSE(model_.HeaderSaved());

  // Region 4 and numbers outside the three make-up regions store nothing.
  for (int number : {0, 4}) model_.StoreRegion(number, triangle);
  EXPECT_EQ(model_.Header().Region(4), test::RectangleRegionsHeader().Region(4));

  // A file that cannot be written keeps the header marked as changed.
  std::filesystem::permissions(facePath_, std::filesystem::perms::owner_read);
  EXPECT_THROW(model_.SaveHeader(), FileError);
  EXPECT_FALSE(model_.HeaderSaved());
  std::filesystem::permissions(facePath_, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
  model_.SaveHeader();
  EXPECT_TRUE(model_.HeaderSaved());
  FaceHeader onDisk;
  MemoryStream payload;
  ASSERT_TRUE(ReadFaceFile(facePath_, onDisk, payload));
  EXPECT_EQ(onDisk.Region(2), model_.Header().Region(2));
}

TEST_F(MakeoverTest, AFaceFileReplacedSinceItWasLoadedTakesNoHeader) {
  const FaceRegion triangle = test::OutlinedRegion({{0, 0}, {60, 12}, {30, 50}});
  model_.StoreRegion(1, triangle);
  // Another face under the same name, as copying a file over it leaves it.
  test::WriteTestFace(facePath_, test::StandardFacePicture(Rgb(10, 20, 30)), test::RectangleRegionsHeader());
  const std::vector<uint8_t> other = test::ReadAll(facePath_);
  EXPECT_THROW(model_.SaveHeader(), FaceFileReplaced);
  EXPECT_EQ(test::ReadAll(facePath_), other);
  EXPECT_FALSE(model_.HeaderSaved());

  // Dropping the change returns to the header the face file had.
  model_.DiscardHeaderChanges();
  EXPECT_TRUE(model_.HeaderSaved());
  EXPECT_EQ(model_.Header(), test::RectangleRegionsHeader());
}

TEST_F(MakeoverTest, SavingTheFaceAsANewFileKeepsItsPictureBytesAndTheOutlines) {
  const FaceRegion triangle = test::OutlinedRegion({{0, 0}, {60, 12}, {30, 50}});
  model_.StoreRegion(2, triangle);
  std::filesystem::remove(facePath_);
  const std::string saved = dir_.File("saved.mff");
  model_.SaveFaceAs(saved);
  EXPECT_TRUE(model_.HeaderSaved());
  EXPECT_EQ(model_.HeaderFileName(), saved);

  // The picture stream is the one loaded, byte for byte.
  FaceHeader onDisk;
  MemoryStream payload;
  ASSERT_TRUE(ReadFaceFile(saved, onDisk, payload));
  EXPECT_EQ(onDisk, model_.Header());
  MemoryStream original;
  FaceHeader ignored;
  test::WriteTestFace(dir_.File("again.mff"), test::StandardFacePicture(kSkin), test::RectangleRegionsHeader());
  ASSERT_TRUE(ReadFaceFile(dir_.File("again.mff"), ignored, original));
  EXPECT_EQ(payload.Bytes(), original.Bytes());

  // Later outlines go into the new file, which the checked rewrite accepts.
  model_.StoreRegion(3, triangle);
  model_.SaveHeader();
  ASSERT_TRUE(ReadFaceFile(saved, onDisk, payload));
  EXPECT_EQ(onDisk.Region(3), model_.Header().Region(3));

  // A file that cannot be written changes nothing.
  model_.StoreRegion(1, triangle);
  EXPECT_THROW(model_.SaveFaceAs(dir_.File("missing/x.mff")), FileError);
  EXPECT_EQ(model_.HeaderFileName(), saved);
  EXPECT_FALSE(model_.HeaderSaved());
}

TEST_F(MakeoverTest, ComplexionStartsFromTheUndoPointEachTime) {
  Bitmap gradient(228, 314);
  for (int y = 0; y < 314; ++y)
    for (int x = 0; x < 228; ++x) gradient.SetPixel(x, y, Rgb(uint8_t(120 + x % 100), uint8_t(80 + y % 90), 70));
  ASSERT_TRUE(
      model_.LoadFace(test::WriteTestFace(dir_.File("gradient.mff"), gradient, test::RectangleRegionsHeader())));
  const PixelRect all = PixelRect::Of(gradient);
  Bitmap paler = gradient;
  HslVar(paler, all, 0, 0, 20);
  Bitmap contrast = gradient;
  Contrast(contrast, all, 10);

  model_.Complexion(-20);
  EXPECT_TRUE(model_.Face().SameContent(paler));
  model_.Complexion(10);
  EXPECT_TRUE(model_.Face().SameContent(contrast));
  model_.Complexion(0);
  EXPECT_TRUE(model_.Face().SameContent(gradient));
}

TEST_F(MakeoverTest, StrokesPaintTheFaceAndSayWhereTheyMayHaveChangedIt) {
  PixelRect told;
  model_.OnFaceChange = [&](const PixelRect& area, bool) { told = area; };

  // A pencil segment leaves its start to the press or the segment before
  // and covers its end.
  const PixelRect line = model_.PencilLine({20, 40}, {30, 40}, Rgb(0, 0, 255));
  EXPECT_EQ(Pixel(20, 40), kSkin);
  EXPECT_EQ(Pixel(21, 40), Rgb(0, 0, 255));
  EXPECT_EQ(Pixel(30, 40), Rgb(0, 0, 255));
  EXPECT_EQ(Pixel(31, 40), kSkin);
  EXPECT_EQ(line, (PixelRect{19, 39, 13, 3}));
  EXPECT_EQ(told, line);
  EXPECT_EQ(model_.PencilDot({20, 40}, Rgb(0, 0, 255)), (PixelRect{19, 39, 3, 3}));
  EXPECT_EQ(Pixel(20, 40), Rgb(0, 0, 255));
  // Off the picture nothing is drawn, and nothing is read.
  model_.PencilLine({-50, -50}, {-10, 400}, Rgb(0, 0, 255));
  EXPECT_EQ(Pixel(0, 0), kSkin);

  TAirBrush brush;
  brush.SetShape(TAirBrushShape::absSquare);
  brush.SetSize(8);
  brush.SetIntensity(100);
  brush.SetColor(Rgb(0, 200, 0));
  const PixelRect stamp = model_.Stamp(brush, {100, 100});
  EXPECT_EQ(Pixel(96, 96), Rgb(0, 200, 0));
  EXPECT_EQ(Pixel(103, 103), Rgb(0, 200, 0));
  EXPECT_EQ(Pixel(104, 103), kSkin);
  EXPECT_EQ(stamp, (PixelRect{95, 95, 10, 10}));
  EXPECT_EQ(told, stamp);
  // Along a way, the stamps cover it and the rectangle covers them all.
  const PixelRect way = model_.StampAlong(brush, {100, 150}, {160, 120});
  EXPECT_EQ(way, (PixelRect{95, 115, 70, 40}));
  EXPECT_EQ(told, way);
  for (int x = 100; x <= 160; ++x) ASSERT_EQ(Pixel(x, 150 - (x - 100) / 2), Rgb(0, 200, 0)) << x;
}

// The lip line of a ring (the outer edge of the lips around the mouth
// opening as its hole, as the proposed regions are) follows the outer edge
// only, drawn hard or soft; the edge of the opening stays bare.
TEST_F(MakeoverTest, TheLipLineOfARingFollowsItsOuterEdgeOnly) {
  model_.MutableHeader().Region(FaceHeader::kLips) =
      test::OutlinedRegion({{80, 200}, {150, 200}, {150, 236}, {80, 236}, {80, 200},  // outer loop
                            {96, 212}, {134, 212}, {134, 224}, {96, 224}, {96, 212}});  // the opening
  for (bool soft : {false, true}) {
    model_.SetSoftEdges(soft);
    model_.ApplyColor(ColorKind::LipLine, Rgb(90, 10, 90));
    int outer = 0, opening = 0;
    for (int y = 195; y <= 241; ++y) {
      for (int x = 75; x <= 155; ++x) {
        if (Pixel(x, y) == kSkin) continue;
        const bool nearOpening = x >= 92 && x <= 138 && y >= 208 && y <= 228;
        ++(nearOpening ? opening : outer);
      }
    }
    EXPECT_GE(outer, 200) << "soft " << soft;  // the outer frame is 2 × (70 + 36) long
    EXPECT_EQ(opening, 0) << "soft " << soft;
  }
}

// Ticking Soft edges after colours were applied lays the last colour of
// each kind again from the face as loaded, softly, with the strokes and the
// complexion kept; unticking lays them hard again. Either way the face and
// its undo point are those of a make-over that did the same in the new
// manner from the start, with each kind coloured once.
TEST_F(MakeoverTest, TogglingSoftEdgesLaysTheLastColourOfEachKindAgain) {
  TAirBrush brush;
  brush.SetSize(8);
  brush.SetIntensity(60);
  brush.SetColor(Rgb(0, 200, 0));
  const auto makeUp = [&](Makeover& makeover, bool eyesTwice) {
    if (eyesTwice) {
      makeover.ApplyColor(ColorKind::Eyes, Rgb(250, 60, 60));
      makeover.SaveUndo();
    }
    makeover.ApplyColor(ColorKind::Eyes, Rgb(120, 40, 200));
    makeover.SaveUndo();
    makeover.Stamp(brush, {70, 140});
    makeover.StampAlong(brush, {70, 140}, {100, 160});
    makeover.SaveUndo();
    makeover.Complexion(4);
    makeover.SaveUndo();
    makeover.ApplyColor(ColorKind::Lips, Rgb(200, 30, 60));  // shown since the undo point
  };
  makeUp(model_, true);
  for (bool soft : {true, false}) {
    model_.SetSoftEdges(soft);
    Makeover reference;
    ASSERT_TRUE(reference.LoadFace(facePath_));
    reference.SetSoftEdges(soft);
    makeUp(reference, false);
    EXPECT_TRUE(model_.Face().SameContent(reference.Face())) << "soft " << soft;
    EXPECT_TRUE(model_.UndoPicture().SameContent(reference.UndoPicture())) << "soft " << soft;
  }
}

TEST_F(MakeoverTest, RandomMakeupColoursTheRegionsAndLeavesAnUndoPoint) {
  RandomGenerator random(31337);
  model_.RandomMakeup(random);
  // Eyes drawn in 0..149 and lips in 0..99 shift the rectangles; outside stays.
  EXPECT_EQ(Pixel(5, 5), kSkin);
  const TColor eye = LeftEye();
  EXPECT_NE(eye, kSkin);
  Bitmap black(228, 314);
  black.Fill(clBlack);
  model_.SetFace(black);
  model_.Undo();
  EXPECT_EQ(LeftEye(), eye);
}

// ---- the hair ------------------------------------------------------------------

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

// Writes the picture in the format of the given type.
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

TEST_F(MakeoverTest, WhiteningMakesTheBackgroundSeeThroughAndTheTintWarmsGrey) {
  EXPECT_EQ(model_.Tint(), kDefaultHairColour);
  const std::string path = Save(dir_, "hair.bmp", HairPicture(Rgb(200, 190, 250)));
  ASSERT_EQ(model_.LoadHairstyle(path), THairLoad::Loaded);
  const Bitmap& hair = model_.Hair();
  EXPECT_EQ(model_.HairFileName(), path);
  EXPECT_EQ(hair.Pixel(5, 5), clWhite);
  EXPECT_EQ(hair.TransparentColor, clWhite);
  EXPECT_TRUE(hair.Transparent);
  EXPECT_EQ(hair.Pixel(10, 8), Rgb(160, 140, 120));
  EXPECT_EQ(hair.Pixel(15, 12), Rgb(60, 255, 110));  // 0 stays 0, 181 whitens, 90 stays
  // The untinted copy is the whitened hair.
  EXPECT_EQ(model_.UntintedHair().Pixel(10, 8), Rgb(100, 100, 100));
  EXPECT_EQ(model_.UntintedHair().Pixel(5, 5), clWhite);
}

TEST_F(MakeoverTest, ABackgroundChannelOfAtMost180StaysAndTheTintMakesItOpaque) {
  ASSERT_EQ(model_.LoadHairstyle(Save(dir_, "hair.bmp", HairPicture(Rgb(170, 220, 220)))), THairLoad::Loaded);
  EXPECT_EQ(model_.Hair().TransparentColor, Rgb(170, 255, 255));
  EXPECT_EQ(model_.Hair().Pixel(5, 5), Rgb(230, 255, 255));
}

TEST_F(MakeoverTest, BlackShowsTheWhitenedHairAndTintsNeverAddUp) {
  const std::string path = Save(dir_, "hair.bmp", HairPicture(Rgb(200, 190, 250)));
  ASSERT_EQ(model_.LoadHairstyle(path), THairLoad::Loaded);
  model_.SetTint({0, 0, 0});
  EXPECT_EQ(model_.Hair().Pixel(10, 8), Rgb(100, 100, 100));
  EXPECT_EQ(model_.Hair().Pixel(15, 12), Rgb(0, 255, 90));
  EXPECT_EQ(model_.Hair().Pixel(5, 5), clWhite);

  model_.SetTint({200, 10, 90});
  model_.SetTint({5, 70, 30});
  Bitmap twice;
  twice.Assign(model_.Hair());
  EXPECT_EQ(twice.Pixel(10, 8), Rgb(105, 170, 130));
  // The same as loading with that tint.
  ASSERT_EQ(model_.LoadHairstyle(path), THairLoad::Loaded);
  EXPECT_TRUE(twice.SameContent(model_.Hair()));
}

TEST_F(MakeoverTest, OnlyAcceptedExtensionsReplaceTheHair) {
  struct Case {
    const char* name;
    int32_t fileType;
    THairLoad outcome;
  };
  const Case cases[] = {
      {"next.BMP", iftBmp, THairLoad::Loaded},    {"next.JPG", iftJpeg, THairLoad::Loaded},
      {"next.jpeg", iftJpeg, THairLoad::Refused}, {"next.tiff", iftTiff, THairLoad::Loaded},
      {"next.TIF", iftTiff, THairLoad::Loaded},   {"next.png", iftPng, THairLoad::Refused},
      {"next", iftBmp, THairLoad::Refused},
  };
  const std::string base = Save(dir_, "base.bmp", HairPicture(Rgb(200, 190, 250)));
  Bitmap next(12, 10);
  next.Fill(Rgb(90, 90, 90));
  for (const Case& c : cases) {
    Makeover model;
    ASSERT_EQ(model.LoadHairstyle(base), THairLoad::Loaded);
    const std::string path = Save(dir_, c.name, next, c.fileType);
    EXPECT_EQ(model.LoadHairstyle(path), c.outcome) << c.name;
    EXPECT_EQ(model.HairFileName(), path);
    EXPECT_EQ(model.Hair().Width(), c.outcome == THairLoad::Loaded ? 12 : 20) << c.name;
  }
}

TEST_F(MakeoverTest, AMissingOrUnreadableFileKeepsThePreviousHairUntinted) {
  ASSERT_EQ(model_.LoadHairstyle(Save(dir_, "hair.bmp", HairPicture(Rgb(200, 190, 250)))), THairLoad::Loaded);
  Bitmap before;
  before.Assign(model_.Hair());
  EXPECT_EQ(model_.LoadHairstyle(dir_.File("gone.jpg")), THairLoad::NoFile);
  EXPECT_EQ(model_.HairFileName(), dir_.File("gone.jpg"));
  EXPECT_EQ(model_.LoadHairstyle(""), THairLoad::NoFile);
  EXPECT_EQ(model_.HairFileName(), "");
  EXPECT_EQ(model_.LoadHairstyle(dir_.Path()), THairLoad::NoFile);  // a folder is no file
  const std::string bad = dir_.File("bad.bmp");
  test::WriteAll(bad, std::string("this is not a picture"));
  EXPECT_EQ(model_.LoadHairstyle(bad), THairLoad::Unreadable);
  EXPECT_TRUE(before.SameContent(model_.Hair()));  // not tinted a second time
  model_.SetTint({0, 0, 0});
  EXPECT_EQ(model_.Hair().Pixel(10, 8), Rgb(100, 100, 100));
}

TEST_F(MakeoverTest, APictureOfAnotherFormatStaysUntintedAndATintChangeKeepsIt) {
  ASSERT_EQ(model_.LoadHairstyle(Save(dir_, "hair.bmp", HairPicture(Rgb(200, 190, 250)))), THairLoad::Loaded);
  ASSERT_EQ(model_.LoadHairstyle(SaveBilevelBmp(dir_, "stripes.bmp")), THairLoad::Loaded);
  ASSERT_EQ(model_.Hair().Format(), PixelFormat::Bits1);
  Bitmap stripes;
  stripes.Assign(model_.Hair());
  model_.SetTint({30, 30, 30});
  EXPECT_EQ(model_.Hair().Format(), PixelFormat::Bits1);
  EXPECT_TRUE(stripes.SameContent(model_.Hair()));  // not the previous hairstyle
}

TEST_F(MakeoverTest, APictureSmallerThanTheProbeTakesItsNearestPixelAsSeeThrough) {
  Bitmap tiny(3, 2);
  tiny.Fill(Rgb(10, 20, 30));
  tiny.SetPixel(2, 1, Rgb(200, 200, 200));
  ASSERT_EQ(model_.LoadHairstyle(Save(dir_, "tiny.bmp", tiny)), THairLoad::Loaded);
  EXPECT_EQ(model_.Hair().TransparentColor, clWhite);
  // A tint starts from the untinted copy even for a picture this small.
  model_.SetTint({1, 1, 1});
  model_.SetTint({1, 1, 1});
  EXPECT_EQ(model_.Hair().Pixel(0, 0), Rgb(11, 21, 31));
}

TEST_F(MakeoverTest, TintingBeforeAnyHairDoesNothing) {
  model_.SetTint(kDefaultHairColour);
  EXPECT_TRUE(model_.Hair().Empty());
}

// ---- where the hair lies and the composed result -----------------------------------

TEST_F(MakeoverTest, ANewHairstyleKeepsThePlacementAndComposesThere) {
  EXPECT_EQ(model_.HairPlacement(), (PixelRect{0, 0, 228, 314}));
  ASSERT_EQ(model_.LoadHairstyle(Save(dir_, "one.bmp", HairPicture(Rgb(200, 190, 250)))), THairLoad::Loaded);
  const PixelRect place{40, 30, 40, 32};  // each hair pixel covers 2 x 2 face pixels
  model_.SetHairPlacement(place);
  ASSERT_EQ(model_.LoadHairstyle(Save(dir_, "two.bmp", HairPicture(Rgb(220, 220, 220)))), THairLoad::Loaded);
  EXPECT_EQ(model_.HairPlacement(), place);

  const Bitmap result = model_.Compose();
  EXPECT_EQ(result.Pixel(40 + 2 * 10, 30 + 2 * 8), Rgb(160, 140, 120));  // the grey block, tinted
  EXPECT_EQ(result.Pixel(40 + 2 * 2, 30 + 2 * 2), kSkin);                // see-through background
  EXPECT_EQ(result.Pixel(40 + 2 * 10, 30 + 2 * 8 + 40), kSkin);          // below the hair
  EXPECT_FALSE(result.Transparent);
}

// ---- the random make-over ------------------------------------------------------------

// The category folder a make-over's hairstyle name lies in, 1..5, or 0.
int CategoryOf(const std::string& hairFileName) {
  for (HairstyleCategory category = kFirstCategory; category <= kLastCategory; ++category) {
    if (hairFileName.find("/" + CategoryName(category) + "/") != std::string::npos) return category;
  }
  return 0;
}

TEST_F(MakeoverTest, ARandomMakeoverStartsFromTheFaceFileWithMakeupHairAndTint) {
  RandomGenerator random(2024);
  Bitmap scribble(228, 314);
  scribble.Fill(Rgb(1, 2, 3));
  model_.SetFace(scribble);
  ASSERT_TRUE(model_.RandomMakeover(facePath_, dir_.Path(), random));
  EXPECT_EQ(Pixel(5, 5), kSkin);
  EXPECT_NE(LeftEye(), kSkin);
  const int category = CategoryOf(model_.HairFileName());
  EXPECT_TRUE(category >= 1 && category <= 4) << model_.HairFileName();
  const THairColour tint = model_.Tint();
  EXPECT_TRUE(tint.Red >= 50 && tint.Red <= 99 && tint.Green <= 59 && tint.Blue <= 39);

  // Without its face file nothing changes.
  const Bitmap before = model_.Face();
  EXPECT_FALSE(model_.RandomMakeover(dir_.File("gone.mff"), dir_.Path(), random));
  EXPECT_TRUE(before.SameContent(model_.Face()));
  EXPECT_EQ(model_.Tint(), tint);
}

// One generator seeded once: the hairstyle drawn after the make-up does not
// repeat the make-up's draws. A generator seeded from the clock before the
// make-up and again before the hair drew the category from the state of the
// eye colour's blue, so the two agreed nearly always.
TEST_F(MakeoverTest, TheRandomHairstyleDoesNotFollowTheRandomEyeColour) {
  RandomGenerator random(4242);
  constexpr int kMakeovers = 200;
  int agreeing = 0;
  for (int i = 0; i < kMakeovers; ++i) {
    ASSERT_TRUE(model_.RandomMakeover(facePath_, dir_.Path(), random));
    // The eye colour's blue b shifts the skin's blue by b − 50.
    const int blue = BlueOf(LeftEye()) - (BlueOf(kSkin) - 50);
    ASSERT_TRUE(blue >= 0 && blue < 150) << blue;
    const int category = CategoryOf(model_.HairFileName());
    if (category - 1 == blue * 4 / 150) ++agreeing;
  }
  // Independent draws agree about a quarter of the time.
  EXPECT_LT(agreeing, kMakeovers / 2);
}

}  // namespace
}  // namespace glamora
