// glamora-cli hair add: a catalogue hairstyle cut from a photograph under
// the Oval template as the add-hairstyle expert cuts it, written as the
// category's next picture; failures exit non-zero with one line and write
// nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "landmarks/LandmarkFinder.h"
#include "tests/support/PictureFiles.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/CliSupport.h"

namespace glamora {
namespace {

namespace fs = std::filesystem;
using test::RunCli;
using test::TempFolder;

const TColor kHair = Rgb(90, 50, 20);

bool Near(TColor a, TColor b) { return test::NearColour(a, b, 8); }

std::vector<std::string> Tree(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) names.push_back(entry.path().string());
  std::sort(names.begin(), names.end());
  return names;
}

class CliHairAdd : public ::testing::Test {
 protected:
  CliHairAdd() {
    for (const char* folder : {"Short", "Medium", "Long", "Char", "Male"}) fs::create_directory(data_.File(folder));
    Bitmap photo(400, 500);
    photo.Fill(kHair);
    test::SavePicture(photo, photos_.File("photo.png"));
  }
  test::CliResult Add(const std::string& category, std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"hair", "add", photos_.File("photo.png"), category, "--data", data_.Path()};
    args.insert(args.end(), more.begin(), more.end());
    return RunCli(args);
  }

  TempFolder data_;
  TempFolder photos_;
};

TEST_F(CliHairAdd, EachCategoryNameInAnyCaseGetsItsFoldersNextPicture) {
  test::WriteAll(data_.File("Char/000.jpg"), std::string("old"));
  const std::pair<const char*, const char*> cases[] = {
      {"short", "Short/000.jpg"}, {"MEDIUM", "Medium/000.jpg"}, {"Long", "Long/000.jpg"},
      {"Special", "Char/001.jpg"}, {"male", "Male/000.jpg"},    {"Short", "Short/001.jpg"}};
  for (const auto& [category, written] : cases) {
    SCOPED_TRACE(category);
    const auto r = Add(category);
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_EQ(r.Out, data_.File(written) + "\n");
    const Bitmap hair = test::LoadPicture(data_.File(written));
    ASSERT_EQ(hair.Width(), 228);
    ASSERT_EQ(hair.Height(), 314);
    EXPECT_TRUE(Near(hair.Pixel(114, 157), kHair));
  }
  EXPECT_EQ(test::ReadAll(data_.File("Char/000.jpg")).size(), 3u);
}

// --auto on a portrait fits it by its face and leaves the face white, so
// that the wearer's face shows through; on a photograph without a face it
// cuts the photograph as it lies.
TEST_F(CliHairAdd, AutoFitsAPortraitAndLeavesItsFaceWhite) {
  const std::string portrait = GLAMORA_TEST_PORTRAIT;
  if (portrait.empty() || !LandmarkFinder::Built() || !fs::exists(LandmarkFinder::DefaultModelFile())) {
    GTEST_SKIP() << "needs the portrait and the face finder";
  }
  auto r = RunCli({"hair", "add", portrait, "Short", "--auto", "--data", data_.Path()});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  Bitmap hair = test::LoadPicture(data_.File("Short/000.jpg"));
  for (const auto& [x, y] : {std::pair{114, 160}, {87, 150}, {141, 150}, {114, 216}}) {
    EXPECT_TRUE(Near(hair.Pixel(x, y), clWhite)) << x << ", " << y;
  }
  r = RunCli({"hair", "add", portrait, "Short", "--data", data_.Path()});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_FALSE(Near(test::LoadPicture(data_.File("Short/001.jpg")).Pixel(114, 160), clWhite))
      << "without --auto the face stays";

  r = Add("Short", {"--auto"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_TRUE(Near(test::LoadPicture(data_.File("Short/002.jpg")).Pixel(114, 157), kHair));
}

// --place shows the photograph in a rectangle relative to the template's
// corner; --rotate turns the bitmap inside the rectangle it had.
TEST_F(CliHairAdd, PlaceAndRotateWorkAsTheFrameAndTheRotateCommandDo) {
  auto r = Add("Long", {"--place", "100,150,50,60"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  Bitmap hair = test::LoadPicture(data_.File("Long/000.jpg"));
  EXPECT_TRUE(Near(hair.Pixel(125, 180), kHair));
  for (const auto& [x, y] : {std::pair{90, 180}, {125, 140}, {160, 180}, {125, 215}}) {
    EXPECT_TRUE(Near(hair.Pixel(x, y), clWhite)) << x << ", " << y;
  }

  // A quarter turn of a 400 × 500 photograph: the turned 500 × 400 bitmap is
  // squeezed into the unchanged rectangle, every corner of it still covered.
  r = Add("Long", {"--rotate", "90"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  hair = test::LoadPicture(data_.File("Long/001.jpg"));
  EXPECT_TRUE(Near(hair.Pixel(2, 2), kHair));
  r = Add("Long", {"--rotate", "-30", "--no-antialias"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_TRUE(Near(test::LoadPicture(data_.File("Long/002.jpg")).Pixel(2, 2), clWhite)) << "an uncovered corner";
}

// A deletion left a gap: the count names the photograph itself, which lies
// in the category folder. The new picture takes the next free name and the
// photograph is left as it was.
TEST_F(CliHairAdd, ANameTakenByTheGapOrThePhotographIsNeverWritten) {
  test::WriteAll(data_.File("Medium/000.jpg"), std::string("old"));
  test::SavePicture(test::LoadPicture(photos_.File("photo.png")), data_.File("Medium/002.jpg"));
  const std::vector<uint8_t> photo = test::ReadAll(data_.File("Medium/002.jpg"));
  const auto r = RunCli({"hair", "add", data_.File("Medium/002.jpg"), "medium", "--data", data_.Path()});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out, data_.File("Medium/003.jpg") + "\n");
  EXPECT_EQ(test::ReadAll(data_.File("Medium/002.jpg")), photo);
  EXPECT_EQ(test::ReadAll(data_.File("Medium/000.jpg")).size(), 3u);
}

TEST_F(CliHairAdd, FailuresSayWhyInOneLineAndWriteNothing) {
  fs::remove(data_.File("Male"));
  test::WriteAll(photos_.File("broken.png"), std::string("\x89PNG\r\n\x1a\n but nothing more"));
  const std::vector<std::string> before = Tree(data_.Path());
  const std::string photo = photos_.File("photo.png");
  const std::string data = data_.Path();
  const std::vector<std::vector<std::string>> cases = {
      {"hair", "add", photo, "Meddian", "--data", data},
      {"hair", "add", photo, "Char", "--data", data},
      {"hair", "add", photos_.File("missing.png"), "Short", "--data", data},
      {"hair", "add", photos_.File("broken.png"), "Short", "--data", data},
      {"hair", "add", photo, "Male", "--data", data},
      {"hair", "add", photo, "Short", "--data", data_.File("nowhere")},
      {"hair", "add", photo, "Short", "--data", ""},
      {"hair", "add", photo, "Short", "--data", data, "--place", "0,0,0,10"},
      {"hair", "add", photo, "Short", "--data", data, "--place", "2147483647,2147483647,1,1"},
      {"hair", "add", photo, "Short", "--data", data, "--place", "-2147483648,-2147483648,30000,30000"},
      {"hair", "add", photo, "Short", "--data", data, "--place", "0,314,100,100"},
      {"hair", "add", photo, "Short", "--data", data, "--place", "1,2,3"},
      {"hair", "add", photo, "Short", "--data", data, "--rotate", "360"},
      {"hair", "add", photo, "Short", "--data", data, "--rotate"},
      {"hair", "add", photo, "Short", "--data", data, "--mirror"},
      {"hair", "add", photo, "--data", data},
      {"hair", "cut", photo, "Short"},
  };
  for (const auto& args : cases) {
    std::string line;
    for (size_t i = 2; i < args.size(); ++i) line += fs::path(args[i]).filename().string() + " ";
    SCOPED_TRACE(line);
    const auto r = RunCli(args);
    EXPECT_NE(r.ExitCode, 0);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(std::count(r.Err.begin(), r.Err.end(), '\n'), 1) << r.Err;
  }
  EXPECT_EQ(Tree(data_.Path()), before);
}

}  // namespace
}  // namespace glamora
