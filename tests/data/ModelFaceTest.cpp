// The model face that ships in Faces/: it reads like any face file, its
// picture has the standard size, and its three make-up regions lie where the
// canvas looks for them and colour the lids and lips rather than the eyes and
// teeth.
#include <gtest/gtest.h>

#include <algorithm>
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
