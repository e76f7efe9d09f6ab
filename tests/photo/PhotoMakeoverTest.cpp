// The photo make-over on the shipped portrait: where the regions lie, that
// colour stays inside them, that one look gives the same picture on a face
// four times larger, and that the hair's soft key leaves no light fringe.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "face/StandardFace.h"
#include "imaging/components/ImgIO.h"
#include "imaging/core/Resample.h"
#include "photo/Coverage.h"
#include "photo/FaceRegions.h"
#include "photo/PhotoHair.h"
#include "photo/PhotoMakeover.h"
#include "photo/Spline.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

Bitmap ReadPicture(const std::string& path) {
  Bitmap picture;
  TImgIO io;
  io.SetBitmap(&picture);
  EXPECT_TRUE(io.LoadFromFile(path)) << path;
  picture.ConvertTo24();
  return picture;
}

// The portrait and its face's landmarks, found once for every case.
struct Portrait {
  Bitmap Picture;
  FaceLandmarks Points{};
  bool Found = false;
};

const Portrait& ThePortrait() {
  static const Portrait portrait = [] {
    Portrait p;
    if (std::string(GLAMORA_TEST_PORTRAIT).empty() || !LandmarkFinder::Built() ||
        !std::filesystem::exists(LandmarkFinder::DefaultModelFile())) {
      return p;
    }
    p.Picture = ReadPicture(GLAMORA_TEST_PORTRAIT);
    LandmarkFinder finder;
    const FaceSearch search = finder.Find(p.Picture);
    p.Found = search.Result == FaceSearch::Outcome::Found;
    p.Points = search.Points;
    return p;
  }();
  return portrait;
}

#define NEED_PORTRAIT()                                                             \
  if (!ThePortrait().Found) GTEST_SKIP() << "no portrait or no face finder here"; \
  const Portrait& portrait = ThePortrait()

PointF Mid(PointF a, PointF b) { return {(a.X + b.X) / 2, (a.Y + b.Y) / 2}; }
uint8_t At(const SoftMask& m, PointF p) { return m.At(int(p.X), int(p.Y)); }

TEST(PhotoRegions, LieOnTheirPartsOfTheFaceAndLeaveTheOpeningsOut) {
  NEED_PORTRAIT();
  const FaceLandmarks& p = portrait.Points;
  const FaceRegionMasks m = RegionMasks(p, portrait.Picture);
  const PointF leftPupil = Centre(p, landmark::kLeftEye), rightPupil = Centre(p, landmark::kRightEye);
  // The lid: between the upper lid's middle and the brow's middle.
  const PointF leftLid = Mid(Mid(p[37], p[38]), p[19]), rightLid = Mid(Mid(p[43], p[44]), p[24]);
  const PointF upperLip = Mid(p[51], p[62]), lowerLip = Mid(p[57], p[66]);
  const PointF mouth = Mid(p[62], p[66]);
  const PointF forehead{Mid(p[21], p[22]).X, Mid(p[21], p[22]).Y - 0.3 * EyeDistance(p)};
  const PointF corner{2, 2};

  EXPECT_GT(At(m.Eyes, leftLid), 128);
  EXPECT_GT(At(m.Eyes, rightLid), 128);
  EXPECT_GT(At(m.Lips, upperLip), 200);
  EXPECT_GT(At(m.Lips, lowerLip), 200);
  // A line under a pixel wide on this small face: it still marks the edge.
  EXPECT_GT(At(m.LipLine, p[48]), 60);
  EXPECT_GT(At(m.LipLine, p[51]), 60);
  EXPECT_GT(At(m.Skin, forehead), 200);
  const double d = EyeDistance(p);
  EXPECT_GT(At(m.Cheeks, {leftPupil.X - 0.1 * d, leftPupil.Y + 0.5 * d}), 128);
  EXPECT_GT(At(m.Cheeks, {rightPupil.X + 0.1 * d, rightPupil.Y + 0.5 * d}), 128);
  for (const SoftMask* mask : {&m.Eyes, &m.Lips, &m.LipLine, &m.Cheeks, &m.Skin}) {
    EXPECT_EQ(At(*mask, leftPupil), 0);
    EXPECT_EQ(At(*mask, rightPupil), 0);
    EXPECT_EQ(At(*mask, corner), 0);
  }
  // The lips are open in the portrait: the teeth between them stay bare.
  EXPECT_EQ(At(m.Lips, mouth), 0);
  EXPECT_EQ(At(m.LipLine, mouth), 0);
  EXPECT_EQ(At(m.Skin, mouth), 0);
  // Lipstick lies on the lips, not on the cheeks or the chin.
  EXPECT_EQ(At(m.Lips, p[8]), 0);
  EXPECT_EQ(At(m.Lips, leftLid), 0);
}

TEST(PhotoRegions, SplinesPassThroughTheirPoints) {
  const std::vector<PointF> points{{0, 0}, {10, 1}, {20, 0}, {20, 10}, {0, 10}};
  const std::vector<PointF> closed = ClosedSpline(points, 8);
  ASSERT_EQ(closed.size(), points.size() * 8);
  for (size_t i = 0; i < points.size(); ++i) {
    EXPECT_NEAR(closed[i * 8].X, points[i].X, 1e-9);
    EXPECT_NEAR(closed[i * 8].Y, points[i].Y, 1e-9);
  }
  const std::vector<PointF> open = OpenSpline(points, 4);
  EXPECT_NEAR(open.back().X, 0, 1e-9);
  EXPECT_NEAR(open.back().Y, 10, 1e-9);
}

TEST(PhotoRegions, PolygonCoverageIsItsArea) {
  // A 10.5 × 4.25 rectangle from (2.25, 3): covered area 44.625 pixels.
  const Bitmap canvas(20, 12);
  SoftMask mask = EmptyMaskOn(PixelRect::Of(canvas), canvas);
  FillPolygon(mask, {{2.25, 3}, {12.75, 3}, {12.75, 7.25}, {2.25, 7.25}});
  double area = 0;
  for (uint8_t a : mask.Alpha) area += a / 255.0;
  EXPECT_NEAR(area, 44.625, 0.3);
  EXPECT_EQ(mask.At(5, 4), 255);
  EXPECT_EQ(mask.At(1, 4), 0);
  EXPECT_NEAR(mask.At(2, 4), 191, 2);  // three quarters of the pixel
}

PhotoLook FullLook() {
  PhotoLook look;
  look.Eyes = Rgb(120, 60, 140);
  look.Lips = Rgb(190, 30, 60);
  look.LipLine = Rgb(120, 20, 40);
  look.Blush = Rgb(220, 100, 110);
  look.Complexion = -6;
  return look;
}

TEST(PhotoMakeover, ColourStaysInsideTheMasks) {
  NEED_PORTRAIT();
  Bitmap made;
  made.Assign(portrait.Picture);
  ASSERT_EQ(MakeOverPhoto(made, portrait.Points, FullLook(), {}), PhotoMakeoverStatus::Done);
  const FaceRegionMasks m = RegionMasks(portrait.Points, portrait.Picture);
  int changedInside = 0;
  for (int y = 0; y < made.Height(); ++y) {
    for (int x = 0; x < made.Width(); ++x) {
      const bool anyMask = m.Eyes.At(x, y) || m.Lips.At(x, y) || m.LipLine.At(x, y) || m.Cheeks.At(x, y) ||
                           m.Skin.At(x, y);
      const bool changed = made.Pixel(x, y) != portrait.Picture.Pixel(x, y);
      if (!anyMask) {
        ASSERT_FALSE(changed) << "changed outside every region at " << x << "," << y;
      } else if (changed) {
        ++changedInside;
      }
    }
  }
  EXPECT_GT(changedInside, 2000);
  const FaceLandmarks& p = portrait.Points;
  for (const PointF untouched : {Centre(p, landmark::kLeftEye), Centre(p, landmark::kRightEye), Mid(p[62], p[66])}) {
    EXPECT_EQ(made.Pixel(int(untouched.X), int(untouched.Y)),
              portrait.Picture.Pixel(int(untouched.X), int(untouched.Y)));
  }
  // The lipstick keeps the lips' light: the upper lip's lit and shaded
  // pixels keep their order.
  const PointF upper = Mid(p[51], p[62]);
  const TColor lips = made.Pixel(int(upper.X), int(upper.Y));
  EXPECT_GT(RedOf(lips), GreenOf(lips) + 40) << std::hex << lips;
}

// The change a look makes, per channel, signed and offset by 128.
Bitmap ChangeOf(const Bitmap& before, const Bitmap& after) {
  Bitmap change(before.Width(), before.Height());
  for (int y = 0; y < before.Height(); ++y) {
    for (int x = 0; x < 3 * before.Width(); ++x) {
      change.Row(y)[x] = uint8_t(std::clamp(128 + after.Row(y)[x] - before.Row(y)[x], 0, 255));
    }
  }
  return change;
}

TEST(PhotoMakeover, TheSameLookOnAFaceFourTimesLargerGivesTheSamePictureReduced) {
  NEED_PORTRAIT();
  Bitmap small, large;
  small.Assign(portrait.Picture);
  ASSERT_TRUE(Resample(portrait.Picture, large, 4 * small.Width(), 4 * small.Height(), rfLanczos3));
  FaceLandmarks largePoints = portrait.Points;
  for (PointF& q : largePoints) q = {q.X * 4 + 1.5, q.Y * 4 + 1.5};  // pixel centres scale about their middle
  PhotoLook look = FullLook();
  look.Hair = test::SourceDir() + "/data/Medium/002.jpg";
  const Bitmap largeBefore = [&] { Bitmap b; b.Assign(large); return b; }();
  ASSERT_EQ(MakeOverPhoto(small, portrait.Points, look, {}), PhotoMakeoverStatus::Done);
  ASSERT_EQ(MakeOverPhoto(large, largePoints, look, {}), PhotoMakeoverStatus::Done);
  Bitmap largeChange = ChangeOf(largeBefore, large), reduced;
  ASSERT_TRUE(Resample(largeChange, reduced, small.Width(), small.Height(), rfTriangle));
  const Bitmap smallChange = ChangeOf(portrait.Picture, small);
  double total = 0;
  int64_t changed = 0;
  for (int y = 0; y < small.Height(); ++y) {
    for (int x = 0; x < 3 * small.Width(); ++x) {
      const int a = smallChange.Row(y)[x], b = reduced.Row(y)[x];
      if (a == 128 && b == 128) continue;
      total += std::abs(a - b);
      ++changed;
    }
  }
  ASSERT_GT(changed, 10000);
  EXPECT_LT(total / double(changed), 6.0) << "mean difference of the changes over " << changed << " samples";
}

TEST(PhotoHair, TheSimilarityTakesTheStandardFaceOntoTheFace) {
  // A face turned by 20°, five times the standard size, shifted: its eyes
  // and mouth where that similarity puts the standard ones.
  const double turn = 20 * M_PI / 180, scale = 5;
  const Similarity truth{scale * std::cos(turn), scale * std::sin(turn), 300, -40};
  FaceLandmarks points{};
  namespace sf = standard_face;
  for (int i = 36; i < 42; ++i) points[size_t(i)] = truth.Map({double(sf::kLeftEyeX), double(sf::kEyeLineY)});
  for (int i = 42; i < 48; ++i) points[size_t(i)] = truth.Map({double(sf::kRightEyeX), double(sf::kEyeLineY)});
  for (int i = 48; i < 68; ++i) points[size_t(i)] = truth.Map({double(sf::kCentreX), double(sf::kMouthY)});
  const Similarity found = StandardFaceOnto(points);
  EXPECT_NEAR(found.A, truth.A, 1e-9);
  EXPECT_NEAR(found.B, truth.B, 1e-9);
  EXPECT_NEAR(found.Tx, truth.Tx, 1e-6);
  EXPECT_NEAR(found.Ty, truth.Ty, 1e-6);
  const PointF back = found.Unmap(found.Map({12, 34}));
  EXPECT_NEAR(back.X, 12, 1e-9);
  EXPECT_NEAR(back.Y, 34, 1e-9);
}

TEST(PhotoHair, TheSoftKeyLeavesNoLightFringeOnADarkPhotograph) {
  // Every catalogue category's first hairstyle laid, untinted, on a black
  // photograph: a light fringe of the catalogue's white would show as
  // pixels lighter than the hair itself.
  for (const char* category : {"Short", "Medium", "Long", "Char", "Male"}) {
    const std::string file = test::SourceDir() + "/data/" + category + "/000.jpg";
    HairLayer hair;
    ASSERT_TRUE(LoadHairLayer(file, 6, hair, {})) << file;
    Bitmap photo(228 * 6, 314 * 6);
    photo.Fill(clBlack);
    const Similarity sixTimes{6, 0, 0, 0};
    ASSERT_TRUE(LayHair(photo, hair, DefaultHairPlacement(), sixTimes, {0, 0, 0}, SoftMask{}));
    // The lightest hair: the 99.5th percentile of the hair's own opaque pixels.
    std::vector<int> opaque;
    for (int y = 0; y < hair.OnWhite.Height(); ++y) {
      for (int x = 0; x < hair.OnWhite.Width(); ++x) {
        if (hair.Alpha.Row(y)[x] == 255) opaque.push_back(hair.OnWhite.Row(y)[3 * x + 1]);
      }
    }
    ASSERT_FALSE(opaque.empty()) << file;
    std::sort(opaque.begin(), opaque.end());
    const int lightestHair = opaque[opaque.size() * 995 / 1000];
    int lighter = 0;
    for (int y = 0; y < photo.Height(); ++y) {
      for (int x = 0; x < photo.Width(); ++x) lighter += photo.Row(y)[3 * x + 1] > lightestHair + 12;
    }
    EXPECT_LT(lighter, photo.Width() * photo.Height() / 2000) << file << ": pixels lighter than the hair";
  }
}

TEST(PhotoHair, KeyTakesWhiteAsSeeThroughAndDarkHairAsCovering) {
  Bitmap onWhite(40, 20);
  onWhite.Fill(clWhite);
  for (int y = 5; y < 15; ++y) {
    for (int x = 10; x < 30; ++x) onWhite.SetPixel(x, y, Rgb(60, 40, 30));
  }
  onWhite.SetPixel(9, 10, Rgb(158, 148, 143));  // an edge pixel half hair, half white
  onWhite.SetPixel(35, 2, Rgb(250, 249, 251));  // noise of the background
  const Bitmap alpha = KeyHairOnWhite(onWhite);
  EXPECT_EQ(alpha.Row(10)[20], 255);
  EXPECT_EQ(alpha.Row(2)[35], 0);
  EXPECT_EQ(alpha.Row(0)[0], 0);
  EXPECT_NEAR(alpha.Row(10)[9], 128, 12);
}

}  // namespace
}  // namespace glamora
