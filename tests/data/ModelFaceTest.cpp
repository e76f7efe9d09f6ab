// The model face that ships in Faces/: it reads like any face file, its
// picture has the standard size, no hair of the portrait's own shows inside
// the face, and its three make-up regions lie where the canvas looks for them
// and colour the lids and lips rather than the eyes and teeth.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "codecs/Jpeg.h"
#include "face/FaceFile.h"
#include "face/FaceHeader.h"
#include "face/StandardFace.h"
#include "imaging/core/Bitmap.h"
#include "imaging/core/PolygonRegion.h"
#include "imaging/core/Stream.h"
#include "tests/support/TestSupport.h"

namespace sf = glamora::standard_face;
using glamora::FaceHeader;
using glamora::FaceRegion;

namespace {

std::string ModelFaceFile() { return glamora::test::SourceDir() + "/data/Faces/Modela.eff"; }

class ModelFace : public ::testing::Test {
 protected:
  void SetUp() override {
    glamora::MemoryStream payload;
    ASSERT_TRUE(glamora::ReadFaceFile(ModelFaceFile(), header_, payload));
    glamora::TImgIOParams params;
    size_t consumed = 0;
    ASSERT_EQ(glamora::codec::DecodeJpeg(payload.Bytes(), picture_, params, glamora::ProgressRecord(), consumed),
              glamora::PictureStatus::Ok);
  }

  glamora::PolygonRegion Region(int number) const {
    const FaceRegion& r = header_.Region(number);
    std::vector<glamora::Point> vertices;
    for (int i = 0; i < r.Count; ++i) vertices.push_back({r.Points[size_t(i)].X, r.Points[size_t(i)].Y});
    return glamora::PolygonRegion(vertices);
  }

  FaceHeader header_;
  glamora::Bitmap picture_;
};

TEST_F(ModelFace, PictureHasTheStandardFaceSize) {
  EXPECT_EQ(picture_.Width(), sf::kWidth);
  EXPECT_EQ(picture_.Height(), sf::kHeight);
}

TEST_F(ModelFace, IsCarvedAlongTheOvalShape) {
  // Outside the silhouette the picture is white (JPEG may leave a trace off 255).
  auto nearlyWhite = [](glamora::TColor c) {
    return glamora::RedOf(c) > 245 && glamora::GreenOf(c) > 245 && glamora::BlueOf(c) > 245;
  };
  for (auto [x, y] : {std::pair{2, 2}, {225, 2}, {10, 120}, {217, 120}, {sf::kCentreX, 20}}) {
    EXPECT_TRUE(nearlyWhite(picture_.Pixel(x, y))) << x << "," << y;
  }
  for (auto [x, y] : {std::pair{sf::kCentreX, sf::kNoseY}, {sf::kCentreX, sf::kNeckTop + 10}, {2, 311}}) {
    EXPECT_FALSE(nearlyWhite(picture_.Pixel(x, y))) << x << "," << y;
  }
}

// The portrait's own hair, measured on it: its blonde is a yellow whose hue
// is 38° and more where the skin, in light and in shadow, stays below 37°,
// and its shadows are darker than any skin of the face.
bool HairColoured(glamora::TColor c) {
  const int r = glamora::RedOf(c), g = glamora::GreenOf(c), b = glamora::BlueOf(c);
  const int lightness = (r + g + b) / 3;
  const int chroma = std::max({r, g, b}) - std::min({r, g, b});
  if (lightness < 75) return true;
  if (chroma < 30 || r < g || r < b) return false;
  return 60.0 * (g - b) / chroma >= 38;
}

TEST(ModelFaceHairTest, ColourTestTellsThePortraitsHairFromItsSkin) {
  struct Case {
    int R, G, B;
    bool Hair;
  };
  const Case cases[] = {
      {171, 152, 112, true},   // blonde in the light
      {142, 119, 77, true},    // the fringe's mid tone
      {61, 36, 5, true},       // hair in shadow
      {224, 192, 169, false},  // forehead
      {245, 217, 203, false},  // cheek highlight
      {166, 127, 98, false},   // skin in the nose's shadow
      {255, 255, 255, false},  // carved-away background
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HairColoured(glamora::Rgb(uint8_t(c.R), uint8_t(c.G), uint8_t(c.B))), c.Hair)
        << c.R << "," << c.G << "," << c.B;
  }
}

// Hairstyles reach only a few pixels into the face oval, so anything of the
// portrait's own hair inside it (or over the ears of the silhouette) would
// show between a hairstyle and the face in a second colour.
TEST_F(ModelFace, NoHairOfItsOwnShowsInsideTheFace) {
  // Eyes with brows, and nose with mouth: dark and coloured by nature.
  auto feature = [](int x, int y) {
    for (int eyeX : {sf::kLeftEyeX, sf::kRightEyeX}) {
      if (std::abs(x - eyeX) <= sf::kEyeHalfWidth + 6 && y >= sf::kEyeLineY - 20 && y <= sf::kEyeLineY + 10)
        return true;
    }
    const double cy = (sf::kEyeLineY + sf::kMouthY) / 2.0;
    const double rx = sf::kMouthHalfWidth + 12.0, ry = (sf::kMouthY - sf::kEyeLineY) / 2.0 + 12.0;
    const double dx = (x - sf::kCentreX) / rx, dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1;
  };
  auto inOval = [](int x, int y) {
    const double dx = double(x - sf::kFaceCentreX) / sf::kFaceRadiusX;
    const double dy = double(y - sf::kFaceCentreY) / sf::kFaceRadiusY;
    return dx * dx + dy * dy <= 1;
  };
  // The ears of the oval mask lie beside the eye line down to the nose.
  auto besideEars = [](int y) { return y >= sf::kEarTop - 6 && y <= sf::kEarBottom + 6; };
  auto inSilhouette = [](glamora::TColor c) {
    return glamora::RedOf(c) < 250 || glamora::GreenOf(c) < 250 || glamora::BlueOf(c) < 250;
  };
  int looked = 0, hair = 0;
  std::string first;
  for (int y = 0; y < sf::kHeight; ++y) {
    for (int x = 0; x < sf::kWidth; ++x) {
      const glamora::TColor c = picture_.Pixel(x, y);
      if (feature(x, y) || !(inOval(x, y) || (besideEars(y) && inSilhouette(c)))) continue;
      ++looked;
      if (!HairColoured(c)) continue;
      if (hair++ == 0) first = std::to_string(x) + "," + std::to_string(y);
    }
  }
  EXPECT_GT(looked, 10000);
  EXPECT_EQ(hair, 0) << "hair-coloured pixels, the first at " << first;
}

TEST_F(ModelFace, RegionsLieInThePartsTheCanvasAssignsThemTo) {
  struct Expected {
    int Number;
    int MinX, MaxX, MinY, MaxY;  // inclusive bounds every vertex must keep
  };
  const int split = sf::kEyeMouthSplitY;
  const Expected regions[] = {
      {FaceHeader::kLeftEye, 0, sf::kCentreX - 1, 0, split - 1},
      {FaceHeader::kRightEye, sf::kCentreX + 1, sf::kWidth - 1, 0, split - 1},
      {FaceHeader::kLips, 0, sf::kWidth - 1, split + 1, sf::kHeight - 1},
  };
  for (const Expected& e : regions) {
    const FaceRegion& r = header_.Region(e.Number);
    EXPECT_NE(r.Valid, 0) << "region " << e.Number;
    EXPECT_GE(r.Count, 3) << "region " << e.Number;
    ASSERT_LE(r.Count, FaceRegion::kMaxPoints) << "region " << e.Number;
    for (int i = 0; i < r.Count; ++i) {
      const glamora::FacePoint p = r.Points[size_t(i)];
      EXPECT_TRUE(p.X >= e.MinX && p.X <= e.MaxX && p.Y >= e.MinY && p.Y <= e.MaxY)
          << "region " << e.Number << " vertex " << i << " at " << p.X << ", " << p.Y;
    }
  }
}

TEST_F(ModelFace, EyeRegionsColourTheLidsButNotTheEyes) {
  // On this face the pupils sit on the eye line (the right one up to 3 pixels
  // below it), the upper lids a few pixels above it and the brows 14 above.
  const int lidY = sf::kEyeLineY - sf::kEyeHalfHeight - 1;
  const int browY = sf::kEyeLineY - 14;
  for (auto [number, eyeX] :
       {std::pair{FaceHeader::kLeftEye, sf::kLeftEyeX}, std::pair{FaceHeader::kRightEye, sf::kRightEyeX}}) {
    const glamora::PolygonRegion region = Region(number);
    EXPECT_FALSE(region.Contains(eyeX, sf::kEyeLineY)) << "the pupil of region " << number;
    EXPECT_TRUE(region.Contains(eyeX, lidY)) << "the lid of region " << number;
    EXPECT_FALSE(region.Contains(eyeX, browY)) << "the brow of region " << number;
    for (int side : {-1, 1}) {
      EXPECT_FALSE(region.Contains(eyeX + side * 3 * sf::kEyeHalfWidth, sf::kEyeLineY)) << "beside region " << number;
    }
  }
}

TEST_F(ModelFace, LipsRegionColoursTheLipsButNotTheTeeth) {
  const glamora::PolygonRegion lips = Region(FaceHeader::kLips);
  const int x = sf::kCentreX;
  EXPECT_FALSE(lips.Contains(x, 211)) << "teeth";
  EXPECT_TRUE(lips.Contains(x, 206)) << "upper lip";
  EXPECT_TRUE(lips.Contains(x, 219)) << "lower lip";
  EXPECT_FALSE(lips.Contains(x, 226)) << "chin";
  EXPECT_FALSE(lips.Contains(x - 2 * sf::kMouthHalfWidth, 206)) << "cheek";
}

TEST_F(ModelFace, UnusedRegionAndReservedBytesAreZero) {
  const auto bytes = header_.Bytes();
  auto allZero = [&](size_t from, size_t count) {
    return std::all_of(bytes.begin() + from, bytes.begin() + from + count, [](uint8_t b) { return b == 0; });
  };
  EXPECT_TRUE(allZero(0, 4)) << "Reserved0";
  EXPECT_TRUE(allZero(4, 4)) << "StoreMark and reserved bytes";
  EXPECT_TRUE(allZero(8, 4)) << "LipLineColor";
  EXPECT_TRUE(allZero(2448, FaceRegion::kByteSize)) << "region 4";
  for (size_t region : {12u, 824u, 1636u}) {
    EXPECT_TRUE(allZero(region + 1, 3)) << "reserved bytes of the region at " << region;
    EXPECT_TRUE(allZero(region + 8, 4)) << "reserved word of the region at " << region;
  }
}

}  // namespace
