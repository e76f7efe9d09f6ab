// glamora-cli img wand: the vertices of the magic-wand selection around a
// pixel of a picture file; a seed outside the picture and bad arguments
// fail with one line and print nothing.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "imaging/components/ImgIO.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/CliSupport.h"

namespace glamora {
namespace {

using test::RunCli;
using test::TempFolder;

// A 12 × 10 ground with a patch at columns 3..6, rows 2..4, and a pixel
// near the patch's colour beside it.
std::string PatchPicture(const TempFolder& dir) {
  Bitmap b(12, 10);
  b.Fill(Rgb(90, 120, 150));
  for (int y = 2; y <= 4; ++y)
    for (int x = 3; x <= 6; ++x) b.SetPixel(x, y, Rgb(200, 60, 40));
  b.SetPixel(7, 3, Rgb(230, 60, 40));
  const std::string path = dir.File("patch.bmp");
  TImgIO io;
  io.SetBitmap(&b);
  EXPECT_TRUE(io.SaveToFile(path));
  return path;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(CliImgWand, PrintsTheSelectionsVerticesOneALine) {
  TempFolder dir;
  const std::string picture = PatchPicture(dir);
  struct Case {
    std::vector<std::string> options;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {{}, {"3 2", "7 2", "7 2", "7 5", "7 5", "3 5", "3 5", "3 2"}},
      {{"--grow"}, {"2 1", "8 1", "8 1", "8 6", "8 6", "2 6", "2 6", "2 1"}},
      // 30 away in red takes the pixel beside the patch: a bump on the right.
      // Outer corners come twice (reached by a diagonal step), inner ones once.
      {{"--tolerance", "30"},
       {"3 2", "7 2", "7 2", "7 3", "8 3", "8 3", "8 4", "8 4", "7 4", "7 5", "7 5", "3 5", "3 5", "3 2"}},
      // Everything, clamped to the picture's last column and row.
      {{"--tolerance", "255"}, {"0 0", "11 0", "11 0", "11 9", "11 9", "0 9", "0 9", "0 0"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"img", "wand", picture, "4", "3"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const auto r = RunCli(args);
    SCOPED_TRACE(c.options.empty() ? std::string("no options") : c.options[0]);
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_EQ(Lines(r.Out), c.lines);
    EXPECT_EQ(r.Err, "");
  }
}

TEST(CliImgWand, FailuresPrintNothingAndOneLine) {
  TempFolder dir;
  const std::string picture = PatchPicture(dir);
  const std::vector<std::vector<std::string>> cases = {
      {"img", "wand", picture, "12", "3"},
      {"img", "wand", picture, "-1", "0"},
      {"img", "wand", picture, "0", "10"},
      {"img", "wand", picture, "4"},
      {"img", "wand", picture, "4", "x"},
      {"img", "wand", picture, "4", "3", "--tolerance"},
      {"img", "wand", picture, "4", "3", "--tolerance", "-2"},
      {"img", "wand", picture, "4", "3", "--shrink"},
      {"img", "wand", dir.File("missing.bmp"), "1", "1"},
  };
  for (const auto& args : cases) {
    const auto r = RunCli(args);
    SCOPED_TRACE(args.back());
    EXPECT_NE(r.ExitCode, 0);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(Lines(r.Err).size(), 1u) << r.Err;
  }
  const auto outside = RunCli({"img", "wand", picture, "12", "3"});
  EXPECT_NE(outside.Err.find("outside the 12 x 10 picture"), std::string::npos) << outside.Err;
}

}  // namespace
}  // namespace glamora
