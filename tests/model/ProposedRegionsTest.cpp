// The eye and lip regions proposed from a face's landmarks, stored into the
// make-over as hand-drawn outlines are: they take make-up where the eyelids
// and lips are, and the header write-back puts them into the face file.
#include "model/ProposedRegions.h"

#include <gtest/gtest.h>

#include <cmath>

#include "face/FaceFile.h"
#include "imaging/core/Stream.h"
#include "tests/landmarks/Fixtures.h"
#include "tests/support/FaceFixtures.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

const TColor kSkin = Rgb(200, 160, 140);

// The portrait's landmarks moved onto the standard face: eyes near (87, 150)
// and (141, 150), the mouth near y 216.
FaceLandmarks OnStandardFace(double dy = 0) {
  return test::Moved(test::AstronautLandmarks(), {0, 0}, 0, 1.23, -163, 26 + dy);
}

PointF Between(PointF a, PointF b, double t) { return {a.X + (b.X - a.X) * t, a.Y + (b.Y - a.Y) * t}; }

class ProposedRegionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    face_ = test::WriteTestFace(dir_.File("face.mff"), test::StandardFacePicture(kSkin), FaceHeader{});
    ASSERT_TRUE(model_.LoadFace(face_));
    model_.MutableHeader().StoreMark = 9;
    model_.MutableHeader().LipLineColor = 0x123456;
    model_.MutableHeader().Region(4) = test::OutlinedRegion({{1, 1}, {5, 1}, {5, 5}});
  }

  bool Coloured(PointF p) const {
    return model_.Face().Pixel(int(std::lround(p.X)), int(std::lround(p.Y))) != kSkin;
  }

  test::TempFolder dir_;
  std::string face_;
  Makeover model_;
};

TEST_F(ProposedRegionsTest, TheRegionsTakeMakeupOnTheLidsAndLipsAndReachTheFaceFile) {
  const FaceLandmarks points = OnStandardFace();
  EXPECT_EQ(StoreProposedRegions(model_, points), 3);
  EXPECT_FALSE(model_.HeaderSaved());
  EXPECT_EQ(model_.Header().StoreMark, 0);
  EXPECT_EQ(model_.Header().LipLineColor, 0x123456u);

  model_.ApplyColor(ColorKind::Eyes, Rgb(150, 50, 50));
  for (LandmarkRange eye : {landmark::kLeftEye, landmark::kRightEye}) {
    const PointF pupil = Centre(points, eye);
    const PointF lid = Between(points[size_t(eye.First + 1)], points[size_t(eye.First + 2)], 0.5);
    EXPECT_TRUE(Coloured({lid.X, lid.Y - 2})) << "the lid";
    EXPECT_FALSE(Coloured(pupil)) << "the open eye";
  }
  model_.ApplyColor(ColorKind::Lips, Rgb(150, 50, 50));
  EXPECT_TRUE(Coloured(Between(points[50], points[61], 0.5))) << "the upper lip";
  EXPECT_FALSE(Coloured(Centre(points, landmark::kInnerLips))) << "the teeth";
  EXPECT_FALSE(Coloured(Centre(points, landmark::kLeftEye))) << "lipstick stays on the lips";

  model_.SaveHeader();
  FaceHeader onDisk;
  MemoryStream payload;
  ASSERT_TRUE(ReadFaceFile(face_, onDisk, payload));
  EXPECT_EQ(onDisk, model_.Header());
  for (int region : {1, 2, 3}) EXPECT_TRUE(onDisk.Region(region).IsOutlined()) << region;
  EXPECT_EQ(onDisk.Region(4), test::OutlinedRegion({{1, 1}, {5, 1}, {5, 5}}));
}

TEST_F(ProposedRegionsTest, ARegionOffThePictureIsLeftAsItWas) {
  // Moved down by 130 pixels, the lips lie below the picture's bottom.
  const FaceRegion before = test::OutlinedRegion({{90, 200}, {140, 200}, {115, 230}});
  model_.MutableHeader().Region(3) = before;
  EXPECT_EQ(StoreProposedRegions(model_, OnStandardFace(130)), 2);
  EXPECT_EQ(model_.Header().Region(3), before);
  EXPECT_TRUE(model_.Header().Region(1).IsOutlined());

  // No ring at all on the picture: nothing stored, the header unchanged.
  Makeover other;
  ASSERT_TRUE(other.LoadFace(face_));
  EXPECT_EQ(StoreProposedRegions(other, test::Moved(OnStandardFace(), {0, 0}, 0, 1, 2000, 0)), 0);
  EXPECT_TRUE(other.HeaderSaved());
}

}  // namespace
}  // namespace glamora
