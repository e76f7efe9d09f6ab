// glamora-cli face landmarks: 68 "X Y" lines for a face, one line and a
// non-zero exit for no face, no picture, or a build without the face finder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "landmarks/LandmarkFinder.h"
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
