// glamora-cli photo: the made-over photograph at its own size, the faces it
// shows, and one line with nothing written for no face or a bad argument.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "imaging/components/ImgIO.h"
#include "landmarks/LandmarkFinder.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/CliSupport.h"

namespace glamora {
namespace {

using test::RunCli;

bool PortraitAndFinder() {
  return !std::string(GLAMORA_TEST_PORTRAIT).empty() && LandmarkFinder::Built() &&
         std::filesystem::exists(LandmarkFinder::DefaultModelFile());
}

Bitmap Read(const std::string& path) {
  Bitmap picture;
  TImgIO io;
  io.SetBitmap(&picture);
  EXPECT_TRUE(io.LoadFromFile(path)) << path;
  return picture;
}

TEST(CliPhoto, WritesTheMadeOverPhotographAtItsOwnSizeAndListsItsFace) {
  if (!PortraitAndFinder()) GTEST_SKIP() << "no portrait or no face finder here";
  test::TempFolder dir;
  const std::string portrait = GLAMORA_TEST_PORTRAIT;
  const auto faces = RunCli({"photo", portrait, "--faces"});
  ASSERT_EQ(faces.ExitCode, 0) << faces.Err;
  std::istringstream words(faces.Out);
  int left = -1, top = -1, width = -1, height = -1;
  ASSERT_TRUE(words >> left >> top >> width >> height) << faces.Out;
  EXPECT_EQ(std::count(faces.Out.begin(), faces.Out.end(), '\n'), 1) << faces.Out;
  // The astronaut's face lies in the upper middle of the 512 × 512 portrait.
  EXPECT_TRUE(left > 150 && left + width < 330 && top > 50 && top + height < 230) << faces.Out;

  const std::string out = dir.File("made.png");
  const auto r = RunCli({"photo", portrait, out, "--hair", test::SourceDir() + "/data/Short/001.jpg", "--tint",
                         "90,40,10", "--frame", "-5,-5,232,318", "--eyes", "120,60,140", "--lips", "190,30,60",
                         "--lipline", "120,20,40", "--blush", "220,100,110", "--complexion", "-4", "--opacity",
                         "lips=80", "--opacity", "blush=20", "--face", "1"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  const Bitmap made = Read(out), original = Read(portrait);
  ASSERT_EQ(made.Width(), original.Width());
  ASSERT_EQ(made.Height(), original.Height());
  EXPECT_EQ(made.Pixel(5, 500), original.Pixel(5, 500));  // far from the face
  EXPECT_NE(made.Pixel(left + width / 2, top + 5), original.Pixel(left + width / 2, top + 5));  // hair on the forehead
}

TEST(CliPhoto, FailsWithOneLineAndWritesNothing) {
  test::TempFolder dir;
  const std::string out = dir.File("out.jpg");
  const std::string portrait = GLAMORA_TEST_PORTRAIT;
  const std::string noFace = test::SourceDir() + "/data/Shapes/ShapeOval.bmp";
  const struct {
    std::vector<std::string> Args;
    const char* Says;
    bool NeedsFinder;
  } cases[] = {
      {{"photo", noFace, out}, "No face was found", true},
      {{"photo", noFace, "--faces"}, "No face was found", true},
      {{"photo", portrait, out, "--face", "2"}, "there is no face 2", true},
      {{"photo", portrait, out, "--face", "0"}, "--face wants a number", false},
      {{"photo", portrait, out, "--opacity", "nose=40"}, "--opacity wants KIND=PERCENT", false},
      {{"photo", portrait, out, "--opacity", "lips=101"}, "--opacity lips wants a number 0..100", false},
      {{"photo", portrait, out, "--complexion", "11"}, "--complexion wants a number -20..10", false},
      {{"photo", portrait, out, "--tint", "1,2,3"}, "--tint and --frame need --hair", false},
      {{"photo", portrait, out, "--hair", "/no/such/hair.jpg"}, "no such hairstyle file", false},
      {{"photo", portrait, out, "--frame", "0,0,1,1", "--hair", "x.jpg"}, "--frame must be at least", false},
      {{"photo", portrait, portrait}, "same file", false},
      {{"photo", "/no/such/photo.jpg", out}, "Cannot open file /no/such/photo.jpg", false},
      {{"photo", portrait}, "usage", false},
  };
  for (const auto& c : cases) {
    if (c.NeedsFinder && !PortraitAndFinder()) continue;
    const auto r = RunCli(c.Args);
    EXPECT_NE(r.ExitCode, 0) << c.Says;
    EXPECT_TRUE(r.Out.empty()) << r.Out;
    EXPECT_EQ(std::count(r.Err.begin(), r.Err.end(), '\n'), 1) << r.Err;
    EXPECT_NE(r.Err.find(c.Says), std::string::npos) << r.Err;
    EXPECT_FALSE(std::filesystem::exists(out)) << c.Says;
  }
}

}  // namespace
}  // namespace glamora
