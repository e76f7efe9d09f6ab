// glamora-cli img convert and proc: "--quality Q" sets the quality of the
// JPEG written, and without it the picture writer's own default holds.
#include <gtest/gtest.h>

#include <filesystem>

#include "codecs/Bmp.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/CliSupport.h"

namespace glamora {
namespace {

using test::ReadAll;
using test::RunCli;
using test::TempFolder;

// A noisy 64 × 48 picture as a BMP file, so that qualities differ in size.
std::string WriteNoiseBmp(const std::string& path) {
  Bitmap b(64, 48);
  uint32_t s = 7;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < 3 * b.Width(); ++x) {
      s = s * 134775813u + 1;
      b.Row(y)[x] = uint8_t(s >> 24);
    }
  }
  MemoryStream coded;
  EXPECT_EQ(codec::EncodeBmp(b, TImgIOParams{}, ProgressRecord{}, coded), PictureStatus::Ok);
  test::WriteAll(path, coded.Bytes());
  return path;
}

TEST(CliQuality, SetsTheJpegQualityOfConvertAndProc) {
  TempFolder dir;
  const std::string in = WriteNoiseBmp(dir.File("in.bmp"));
  auto convert = [&](std::vector<std::string> args) {
    const auto r = RunCli(args);
    EXPECT_EQ(r.ExitCode, 0) << r.Err;
    return ReadAll(args.back());
  };
  const auto byDefault = convert({"img", "convert", in, dir.File("default.jpg")});
  const auto q50 = convert({"img", "convert", "--quality", "50", in, dir.File("q50.jpg")});
  const auto q10 = convert({"img", "convert", in, "--quality", "10", dir.File("q10.jpg")});
  const auto q95 = convert({"img", "convert", "--quality", "95", in, dir.File("q95.jpg")});
  EXPECT_EQ(byDefault, q50);
  EXPECT_LT(q10.size(), q50.size());
  EXPECT_LT(q50.size(), q95.size());
  // The processing commands take the option before, among or after their values.
  EXPECT_EQ(convert({"proc", "intensity", "0", "0", "0", "--quality", "95", in, dir.File("p95.jpg")}), q95);
  EXPECT_EQ(convert({"proc", "--quality", "10", "intensity", "0", "0", "0", in, dir.File("p10.jpg")}), q10);
  EXPECT_GT(convert({"proc", "rotate", "9", "--quality", "95", "--antialias", in, dir.File("r95.jpg")}).size(),
            convert({"proc", "rotate", "9", "--antialias", "--quality", "10", in, dir.File("r10.jpg")}).size());
}

TEST(CliQuality, BadValuesFailBeforeAnythingIsWritten) {
  TempFolder dir;
  const std::string in = WriteNoiseBmp(dir.File("in.bmp"));
  const std::string out = dir.File("out.jpg");
  const std::vector<std::vector<std::string>> failing = {
      {"img", "convert", "--quality", "0", in, out},
      {"img", "convert", "--quality", "101", in, out},
      {"img", "convert", "--quality", "9x", in, out},
      {"img", "convert", in, out, "--quality"},
      {"proc", "clear", "--quality", "-5", in, out},
      {"proc", "clear", in, out, "--quality"},
  };
  for (const auto& args : failing) {
    const auto r = RunCli(args);
    EXPECT_NE(r.ExitCode, 0) << args[3];
    EXPECT_NE(r.Err.find("--quality"), std::string::npos) << r.Err;
    EXPECT_FALSE(std::filesystem::exists(out));
  }
}

}  // namespace
}  // namespace glamora
