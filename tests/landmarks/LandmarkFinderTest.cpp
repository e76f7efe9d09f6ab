// The face finder: what it says when something is missing, and, where the
// shape model and the portrait are installed, the landmarks and rings it
// gives on real pictures.
#include "landmarks/LandmarkFinder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <thread>

#include "face/FaceFile.h"
#include "imaging/components/ImgIO.h"
#include "imaging/core/Resample.h"
#include "imaging/core/Stream.h"
#include "landmarks/FaceOutlines.h"
#include "tests/landmarks/Fixtures.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

const std::string kPortrait = GLAMORA_TEST_PORTRAIT;

Bitmap Load(const std::string& path) {
  Bitmap picture;
  TImgIO io;
  io.SetBitmap(&picture);
  EXPECT_TRUE(io.LoadFromFile(path)) << path;
  return picture;
}

// A finder with its shape model loaded, or a reason to skip.
bool ModelInstalled(std::string& why) {
  if (!LandmarkFinder::Built()) {
    why = "built without the face finder";
    return false;
  }
  if (!std::filesystem::exists(LandmarkFinder::DefaultModelFile())) {
    why = "no shape model at " + LandmarkFinder::DefaultModelFile();
    return false;
  }
  if (kPortrait.empty()) {
    why = "the portrait from the shared assets is not there";
    return false;
  }
  return true;
}

#define SKIP_WITHOUT_MODEL()               \
  do {                                     \
    std::string why;                       \
    if (!ModelInstalled(why)) GTEST_SKIP() << why; \
  } while (0)

Bitmap Grey(int w, int h) {
  Bitmap b(w, h);
  b.Fill(Rgb(128, 128, 128));
  return b;
}

TEST(LandmarkFinder, SaysWhatIsMissing) {
  test::TempFolder dir;
  const std::string missing = dir.File("no-such-model.dat");
  LandmarkFinder finder(missing);
  const std::string error = finder.WaitUntilLoaded();
  EXPECT_FALSE(finder.Loaded());
  EXPECT_EQ(error.find('\n'), std::string::npos) << "one line";
  if (!LandmarkFinder::Built()) {
    EXPECT_NE(error.find("dlib"), std::string::npos) << error;
    const FaceSearch search = finder.Find(Grey(300, 200));
    EXPECT_EQ(search.Result, FaceSearch::Outcome::Unavailable);
    EXPECT_EQ(search.Message, error);
    return;
  }
  EXPECT_NE(error.find(missing), std::string::npos) << error;
  EXPECT_NE(error.find("missing"), std::string::npos) << error;

  // A file that is not a shape model is refused, not trusted.
  test::WriteAll(dir.File("garbage.dat"), std::string(5000, 'x'));
  LandmarkFinder garbage(dir.File("garbage.dat"));
  const std::string refused = garbage.WaitUntilLoaded();
  EXPECT_NE(refused.find("cannot be read"), std::string::npos) << refused;
  EXPECT_FALSE(garbage.Loaded());
}

TEST(LandmarkFinder, TellsThereIsNoFaceWithoutTheShapeModel) {
  if (!LandmarkFinder::Built()) GTEST_SKIP() << "built without the face finder";
  test::TempFolder dir;
  LandmarkFinder finder(dir.File("no-such-model.dat"));
  for (const Bitmap& picture : {Grey(300, 200), Grey(5, 5), Bitmap()}) {
    const FaceSearch search = finder.Find(picture);
    EXPECT_EQ(search.Result, FaceSearch::Outcome::NoFace);
    EXPECT_EQ(search.FacesSeen, 0);
    EXPECT_FALSE(search.Message.empty());
  }
  if (kPortrait.empty()) return;
  // A face, but nothing to place its points with: the missing file is named.
  const FaceSearch search = finder.Find(Load(kPortrait));
  EXPECT_EQ(search.Result, FaceSearch::Outcome::Unavailable);
  EXPECT_NE(search.Message.find("no-such-model.dat"), std::string::npos) << search.Message;
}

double Distance(PointF a, PointF b) { return std::hypot(a.X - b.X, a.Y - b.Y); }

// Where the pupils and the middle of the mouth of the portrait were placed by eye.
constexpr PointF kPupilLeft{203, 101}, kPupilRight{246, 103}, kMouth{222.5, 146};

TEST(LandmarkFinder, PlacesThePortraitsLandmarksAtEverySize) {
  SKIP_WITHOUT_MODEL();
  LandmarkFinder finder;
  finder.StartLoading();
  const Bitmap portrait = Load(kPortrait);
  const FaceLandmarks expected = test::AstronautLandmarks();
  // As it is, halved (the detector then scans a doubled copy) and four
  // times larger (it scans a copy reduced by 4).
  for (const int size : {512, 256, 2048}) {
    SCOPED_TRACE(size);
    Bitmap picture;
    if (size == 512) {
      picture.Assign(portrait);
    } else {
      ASSERT_TRUE(Resample(portrait, picture, size, size, rfTriangle));
    }
    const FaceSearch search = finder.Find(picture);
    ASSERT_EQ(search.Result, FaceSearch::Outcome::Found) << search.Message;
    EXPECT_EQ(search.FacesSeen, 1);
    const double k = size / 512.0;
    double worst = 0;
    for (int i = 0; i < kLandmarkCount; ++i) {
      const PointF p = search.Points[size_t(i)];
      worst = std::max(worst, Distance({p.X / k, p.Y / k}, expected[size_t(i)]));
    }
    EXPECT_LT(worst, size == 512 ? 1.0 : 3.0) << "points against the fixed set, in portrait pixels";
    const auto scaled = [k](PointF p) { return PointF{p.X * k, p.Y * k}; };
    EXPECT_LT(Distance(Centre(search.Points, landmark::kLeftEye), scaled(kPupilLeft)), 3 * k + 1);
    EXPECT_LT(Distance(Centre(search.Points, landmark::kRightEye), scaled(kPupilRight)), 3 * k + 1);
    EXPECT_LT(Distance(MouthCentre(search.Points), scaled(kMouth)), 3 * k + 1);

    // The proposed rings lie around the eyes and leave the pupils out, and
    // the lips ring lies around the mouth and leaves the teeth out.
    const FaceOutlines o = ProposeOutlines(search.Points, size, size);
    const auto covers = [](const std::vector<Point>& ring, PointF p) {
      return PolygonRegion(ring).Contains(int(std::lround(p.X)), int(std::lround(p.Y)));
    };
    EXPECT_FALSE(covers(o.LeftEye, scaled(kPupilLeft)));
    EXPECT_FALSE(covers(o.RightEye, scaled(kPupilRight)));
    EXPECT_FALSE(covers(o.Lips, scaled(kMouth)));
    const PolygonRegion left(o.LeftEye), right(o.RightEye), lips(o.Lips);
    EXPECT_TRUE(left.Left() < kPupilLeft.X * k && kPupilLeft.X * k < left.Right());
    EXPECT_TRUE(left.Top() < kPupilLeft.Y * k && kPupilLeft.Y * k < left.Bottom());
    EXPECT_TRUE(right.Left() < kPupilRight.X * k && kPupilRight.X * k < right.Right());
    EXPECT_TRUE(right.Top() < kPupilRight.Y * k && kPupilRight.Y * k < right.Bottom());
    EXPECT_TRUE(lips.Left() < kMouth.X * k && kMouth.X * k < lips.Right());
    EXPECT_TRUE(lips.Top() < kMouth.Y * k && kMouth.Y * k < lips.Bottom());
  }
  EXPECT_TRUE(finder.Loaded());
}

TEST(LandmarkFinder, PicksTheLargestFaceAndServesSeveralThreads) {
  SKIP_WITHOUT_MODEL();
  LandmarkFinder finder;
  const Bitmap portrait = Load(kPortrait);
  // The face cut out of the portrait, 1.6 and 1.1 times as large side by
  // side: both faces large enough for the detector, no reduction needed.
  const PixelRect cut{130, 40, 200, 200};
  Bitmap larger, smaller;
  ASSERT_TRUE(ResampleFiltered(portrait, cut, larger, 320, 320, rfTriangle));
  ASSERT_TRUE(ResampleFiltered(portrait, cut, smaller, 220, 220, rfTriangle));
  Bitmap both(560, 320);
  both.Fill(clWhite);
  for (int y = 0; y < 320; ++y) std::memcpy(both.Row(y), larger.Row(y), 320 * 3);
  for (int y = 0; y < 220; ++y) std::memcpy(both.Row(y + 50) + 3 * 340, smaller.Row(y), 220 * 3);
  const PointF pupil{(kPupilLeft.X - cut.Left) * 1.6, (kPupilLeft.Y - cut.Top) * 1.6};

  FaceSearch searches[2];
  std::thread first([&] { searches[0] = finder.Find(both); });
  std::thread second([&] { searches[1] = finder.Find(both); });
  first.join();
  second.join();
  for (const FaceSearch& s : searches) {
    ASSERT_EQ(s.Result, FaceSearch::Outcome::Found) << s.Message;
    EXPECT_EQ(s.FacesSeen, 2);
    EXPECT_LT(Distance(Centre(s.Points, landmark::kLeftEye), pupil), 5) << "the larger face";
    EXPECT_LT(s.Face.Right(), 320);
  }
  EXPECT_EQ(searches[0].Points, searches[1].Points);
}

TEST(LandmarkFinder, FindsTheEyesAndMouthOfAStandardSizeFace) {
  SKIP_WITHOUT_MODEL();
  // The model face: 228 × 314, the face some 110 pixels wide, so the detector
  // scans a doubled copy. Its pupils were placed at (86, 150) and (142, 153)
  // and the middle of its mouth at (111, 213) when it was made.
  FaceHeader header;
  MemoryStream payload;
  ASSERT_TRUE(ReadFaceFile(test::SourceDir() + "/data/Faces/Modela.eff", header, payload));
  Bitmap face;
  TImgIO io;
  io.SetBitmap(&face);
  ASSERT_TRUE(io.LoadFromStream(payload));
  LandmarkFinder finder;
  const FaceSearch search = finder.Find(face);
  ASSERT_EQ(search.Result, FaceSearch::Outcome::Found) << search.Message;
  const PointF pupils[] = {{86, 150}, {142, 153}};
  EXPECT_LT(Distance(Centre(search.Points, landmark::kLeftEye), pupils[0]), 3);
  EXPECT_LT(Distance(Centre(search.Points, landmark::kRightEye), pupils[1]), 3);
  EXPECT_LT(Distance(MouthCentre(search.Points), {111, 213}), 3);
  const FaceOutlines o = ProposeOutlines(search.Points, face.Width(), face.Height());
  EXPECT_FALSE(PolygonRegion(o.LeftEye).Contains(86, 150));
  EXPECT_FALSE(PolygonRegion(o.RightEye).Contains(142, 153));
  // Each proposed ring shares ground with the hand-drawn region of its
  // number (they differ in how far past the eye corners and down the lower
  // lip they reach, so only the overlap is asked for).
  const std::vector<Point>* proposed[] = {&o.LeftEye, &o.RightEye, &o.Lips};
  for (int r = 1; r <= 3; ++r) {
    const FaceRegion& drawn = header.Region(r);
    std::vector<Point> vertices;
    for (int i = 0; i < drawn.Count; ++i) vertices.push_back({drawn.Points[size_t(i)].X, drawn.Points[size_t(i)].Y});
    const PolygonRegion hand(vertices), ring(*proposed[r - 1]);
    int shared = 0, ringPixels = 0;
    for (const Span& span : ring.Spans()) {
      for (int x = span.X0; x <= span.X1; ++x) {
        ++ringPixels;
        shared += hand.Contains(x, span.Y);
      }
    }
    EXPECT_GT(shared, ringPixels / 3) << "region " << r;
  }
}

}  // namespace
}  // namespace glamora
