// glamora-cli proc: arguments out of range and operations that refuse end
// with one line and a non-zero exit, writing nothing; colour operations work
// on palette pictures too instead of leaving them as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "codecs/Bmp.h"
#include "imaging/core/HslVar.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/CliSupport.h"

namespace glamora {
namespace {

using test::DecodeBmp;
using test::RunCli;
using test::TempFolder;

std::string WriteBmp(const std::string& path, const Bitmap& picture) {
  MemoryStream coded;
  EXPECT_EQ(codec::EncodeBmp(picture, TImgIOParams{}, ProgressRecord{}, coded), PictureStatus::Ok);
  test::WriteAll(path, coded.Bytes());
  return path;
}

Bitmap Grey(int width, int height, uint8_t level = 100) {
  Bitmap picture(width, height);
  picture.Fill(Rgb(level, level, level));
  return picture;
}

TEST(CliProc, RefusalsAndArgumentsOutOfRangeFailWithOneLineAndWriteNothing) {
  TempFolder dir;
  const std::string small = WriteBmp(dir.File("small.bmp"), Grey(40, 30));
  const std::string dot = WriteBmp(dir.File("dot.bmp"), Grey(1, 1));
  // A row as long as a picture may be: turned by 45 degrees it would pass
  // the pixel limit.
  const std::string row = WriteBmp(dir.File("row.bmp"), Grey(30000, 1));
  const std::string out = dir.File("out.bmp");
  const std::vector<std::vector<std::string>> failing = {
      {"proc", "resample", "0", "0", "lanczos3", small, out},
      {"proc", "resample", "0", "20", "lanczos3", small, out},
      {"proc", "resample", "-5", "10", "lanczos3", small, out},
      {"proc", "resample", "10", "-2", "none", small, out},
      {"proc", "resample", "-1", "-1", "none", small, out},
      {"proc", "resample", "100000", "100000", "lanczos3", small, out},
      {"proc", "resample", "30001", "-1", "none", small, out},
      // Each side within the limit, the whole over the pixel limit.
      {"proc", "resample", "30000", "30000", "none", small, out},
      // Kept proportions that come out over the limit.
      {"proc", "resample", "-1", "29000", "none", row, out},
      {"proc", "rotate", "45", row, out},
      {"proc", "rotate", "-30", "--antialias", row, out},
      {"proc", "contrast", "101", small, out},
      {"proc", "contrast", "-101", small, out},
      {"proc", "contrast", "20", dot, out},
  };
  for (const auto& args : failing) {
    std::string line;
    for (size_t i = 1; i + 2 < args.size(); ++i) line += args[i] + " ";
    SCOPED_TRACE(line);
    const auto r = RunCli(args);
    EXPECT_NE(r.ExitCode, 0);
    EXPECT_EQ(std::count(r.Err.begin(), r.Err.end(), '\n'), 1) << r.Err;
    EXPECT_EQ(r.Err.rfind("glamora-cli proc: ", 0), 0u) << r.Err;
    EXPECT_FALSE(std::filesystem::exists(out));
  }
}

TEST(CliProc, SizesAtTheEdgesOfTheRangeAreDone) {
  TempFolder dir;
  const std::string small = WriteBmp(dir.File("small.bmp"), Grey(40, 30));
  const std::string out = dir.File("out.bmp");
  struct Case {
    std::vector<std::string> Args;
    int Width, Height;
  };
  const Case cases[] = {
      {{"resample", "1", "1", "none"}, 1, 1},
      {{"resample", "-1", "15", "triangle"}, 20, 15},
      {{"resample", "80", "-1", "bspline"}, 80, 60},
      {{"resample", "30000", "1", "none"}, 30000, 1},
      {{"rotate", "90"}, 30, 40},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"proc"};
    args.insert(args.end(), c.Args.begin(), c.Args.end());
    args.insert(args.end(), {small, out});
    SCOPED_TRACE(c.Args[0] + " " + c.Args[1]);
    const auto r = RunCli(args);
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    const Bitmap result = DecodeBmp(out);
    EXPECT_EQ(result.Width(), c.Width);
    EXPECT_EQ(result.Height(), c.Height);
  }
}

TEST(CliProc, ColourOperationsChangePalettePicturesToo) {
  TempFolder dir;
  // A black and white picture stays one bit a pixel when it is read.
  Bitmap palette(8, 6, PixelFormat::Bits1);
  palette.Palette() = {Rgb(0, 0, 0), Rgb(255, 255, 255)};
  palette.Fill(Rgb(0, 0, 0));
  const std::string in = WriteBmp(dir.File("palette.bmp"), palette);
  const std::string out = dir.File("out.bmp");
  struct Case {
    std::vector<std::string> Args;
    TColor Expected;
  };
  const Case cases[] = {
      {{"intensity", "10", "20", "30"}, Rgb(10, 20, 30)},
      {{"hslvar", "0", "0", "50"}, HslVarColor(Rgb(0, 0, 0), 0, 0, 50)},
      {{"threshold", "1", "1", "1", "255", "255", "255", "7", "8", "9", "255", "255", "255"}, Rgb(7, 8, 9)},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"proc"};
    args.insert(args.end(), c.Args.begin(), c.Args.end());
    args.insert(args.end(), {in, out});
    SCOPED_TRACE(c.Args[0]);
    const auto r = RunCli(args);
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_EQ(DecodeBmp(out).Pixel(3, 3), c.Expected);
  }
}

}  // namespace
}  // namespace glamora
