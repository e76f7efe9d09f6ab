// glamora-cli img info --preview: the information lines of the picture open
// dialog, one a line; a file without a readable picture fails with one line.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "imaging/components/ImgIO.h"
#include "imaging/components/PreviewInfo.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/CliSupport.h"

namespace glamora {
namespace {

using test::RunCli;
using test::TempFolder;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(CliImgInfo, PreviewPrintsTheDialogsLines) {
  TempFolder dir;
  Bitmap picture(1500, 7);
  picture.Fill(Rgb(10, 200, 30));
  TImgIO io;
  io.SetBitmap(&picture);
  io.Params.DpiX = io.Params.DpiY = 300;
  const std::string path = dir.File("wide.JPG");
  ASSERT_TRUE(io.SaveToFile(path));

  const auto r = RunCli({"img", "info", path, "--preview"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  ASSERT_TRUE(io.ParamsFromFile(path));
  const std::vector<std::string> expected =
      DescribePreview(io.Params, test::ReadAll(path).size(), msSystem).Lines();
  EXPECT_EQ(Lines(r.Out), expected);
  EXPECT_EQ(expected[0], "1500 x 7 pixel");
  EXPECT_EQ(expected[2], "300 x 300 dpi");
  EXPECT_EQ(expected[3], "JPEG Bitmap (JPG) YCbCr");

  for (const std::string& bad : {dir.File("words.png"), dir.File("missing.bmp")}) {
    if (bad.ends_with(".png")) test::WriteAll(bad, std::string("no picture here"));
    const auto failed = RunCli({"img", "info", bad, "--preview"});
    EXPECT_NE(failed.ExitCode, 0) << bad;
    EXPECT_EQ(failed.Out, "") << bad;
    EXPECT_EQ(Lines(failed.Err).size(), 1u) << failed.Err;
  }
}

}  // namespace
}  // namespace glamora
