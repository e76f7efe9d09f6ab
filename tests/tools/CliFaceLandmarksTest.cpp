// glamora-cli face landmarks: 68 "X Y" lines for a face, one line and a
// non-zero exit for no face, no picture, or a build without the face finder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "landmarks/LandmarkFinder.h"
#include "tests/support/ExifSegments.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/CliSupport.h"

namespace glamora {
namespace {

using test::RunCli;

bool FinderInstalled() {
  return LandmarkFinder::Built() && std::filesystem::exists(LandmarkFinder::DefaultModelFile());
}

TEST(CliFaceLandmarks, PrintsTheSixtyEightPointsOfTheModelFace) {
  test::TempFolder dir;
  const std::string model = test::SourceDir() + "/data/Faces/Modela.eff";
  ASSERT_EQ(RunCli({"face", "extract", model, dir.File("face.jpg")}).ExitCode, 0);
  const auto r = RunCli({"face", "landmarks", dir.File("face.jpg")});
  if (!FinderInstalled()) {
    EXPECT_NE(r.ExitCode, 0);
    EXPECT_EQ(std::count(r.Err.begin(), r.Err.end(), '\n'), 1) << r.Err;
    EXPECT_TRUE(r.Out.empty());
    return;
  }
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  std::istringstream lines(r.Out);
  std::string line;
  std::vector<std::pair<int, int>> points;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    int x = -1, y = -1;
    std::string rest;
    ASSERT_TRUE(words >> x >> y) << line;
    EXPECT_FALSE(words >> rest) << line;
    EXPECT_TRUE(x >= 0 && x < 228 && y >= 0 && y < 314) << line;
    points.push_back({x, y});
  }
  ASSERT_EQ(points.size(), 68u);
  // Points 37 to 42 (numbered from 1) are the eye on the picture's left,
  // whose pupil lies at (86, 150).
  double x = 0, y = 0;
  for (int i = 36; i < 42; ++i) {
    x += points[size_t(i)].first / 6.0;
    y += points[size_t(i)].second / 6.0;
  }
  EXPECT_NEAR(x, 86, 3);
  EXPECT_NEAR(y, 150, 3);
}

// A phone keeps a portrait sideways with Orientation 6; the face is found on
// the upright picture, face make fits it, and converting it writes that
// upright picture.
TEST(CliFaceLandmarks, FindsTheFaceOfAPortraitStoredSideways) {
  const std::string portrait = GLAMORA_TEST_PORTRAIT;
  if (portrait.empty() || !FinderInstalled()) GTEST_SKIP() << "needs the portrait and the face finder";
  test::TempFolder dir;
  const Bitmap upright = test::LoadPicture(portrait);
  const std::string phone = dir.File("phone.jpg");
  test::SavePhotograph(upright, 6, phone);

  const auto r = RunCli({"face", "landmarks", phone});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  std::istringstream lines(r.Out);
  std::vector<std::pair<int, int>> points;
  for (int x, y; lines >> x >> y;) points.push_back({x, y});
  ASSERT_EQ(points.size(), 68u) << r.Out;
  // Upright, the eyes (points 37 to 48) lie above the mouth (49 to 68) and
  // side by side.
  const auto meanOf = [&](int from, int to) {
    double x = 0, y = 0;
    for (int i = from - 1; i < to; ++i) x += points[size_t(i)].first, y += points[size_t(i)].second;
    return std::pair{x / (to - from + 1), y / (to - from + 1)};
  };
  const auto [leftEyeX, leftEyeY] = meanOf(37, 42);
  const auto [rightEyeX, rightEyeY] = meanOf(43, 48);
  const auto [mouthX, mouthY] = meanOf(49, 68);
  EXPECT_LT(leftEyeX, rightEyeX);
  EXPECT_LT(std::abs(leftEyeY - rightEyeY), (rightEyeX - leftEyeX) / 4);
  EXPECT_GT(mouthY, leftEyeY + (rightEyeX - leftEyeX) / 2);
  for (const auto& [x, y] : points) EXPECT_TRUE(x >= 0 && x < upright.Width() && y >= 0 && y < upright.Height());

  // The face expert's road fits the face of the same photograph.
  const auto made = RunCli({"face", "make", phone, dir.File("phone.png"), "--auto"});
  EXPECT_EQ(made.ExitCode, 0) << made.Err;

  ASSERT_EQ(RunCli({"img", "convert", phone, dir.File("upright.png")}).ExitCode, 0);
  const Bitmap converted = test::LoadPicture(dir.File("upright.png"));
  ASSERT_EQ(converted.Width(), upright.Width());
  ASSERT_EQ(converted.Height(), upright.Height());
  const int x = upright.Width() / 2, y = upright.Height() / 3;
  EXPECT_TRUE(test::NearColour(converted.Pixel(x, y), upright.Pixel(x, y), 24));
}

TEST(CliFaceLandmarks, FailsWithOneLine) {
  const struct {
    std::vector<std::string> Args;
    const char* Says;
    bool OnlyWithTheFinder;  // without it, the line says what is missing instead
  } cases[] = {
      {{"face", "landmarks", test::SourceDir() + "/data/Shapes/ShapeOval.bmp"}, "No face was found", true},
      {{"face", "landmarks", "/no/such/picture.png"}, "Cannot open file /no/such/picture.png", false},
      {{"face", "landmarks"}, "usage", false},
  };
  for (const auto& c : cases) {
    const auto r = RunCli(c.Args);
    EXPECT_NE(r.ExitCode, 0) << c.Says;
    EXPECT_TRUE(r.Out.empty()) << r.Out;
    EXPECT_EQ(std::count(r.Err.begin(), r.Err.end(), '\n'), 1) << r.Err;
    if (FinderInstalled() || !c.OnlyWithTheFinder) {
      EXPECT_NE(r.Err.find(c.Says), std::string::npos) << r.Err;
    }
  }
}

}  // namespace
}  // namespace glamora
