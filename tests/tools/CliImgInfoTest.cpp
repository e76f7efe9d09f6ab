// glamora-cli img info --preview: the information lines of the picture open
// dialog, one a line; a file without a readable picture fails with one line.
#include <gtest/gtest.h>

#include <functional>
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

void PutLittle16(std::vector<uint8_t>& b, size_t at, int v) {
  b[at] = uint8_t(v), b[at + 1] = uint8_t(v >> 8);
}
void PutBig(std::vector<uint8_t>& b, size_t at, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * (bytes - 1 - i)));
}

uint32_t Crc32(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

// A small picture of each format whose header then declares 30000 x 30000
// pixels, more than loading opens: every format says so alike.
TEST(CliImgInfo, AHeaderDeclaringMoreThanLoadingOpensIsTooLargeInEveryFormat) {
  TempFolder dir;
  Bitmap picture(8, 8);
  picture.Fill(Rgb(120, 40, 200));
  const int side = 30000;
  const struct {
    const char* Name;
    std::function<void(std::vector<uint8_t>&)> Declare;
  } formats[] = {
      {"big.bmp", [&](auto& b) { PutLittle16(b, 18, side), PutLittle16(b, 22, side); }},
      {"big.png",
       [&](auto& b) {
         PutBig(b, 16, side, 4), PutBig(b, 20, side, 4);
         PutBig(b, 29, Crc32(b.data() + 12, 17), 4);
       }},
      {"big.jpg",
       [&](auto& b) {
         for (size_t i = 2; i + 9 < b.size(); ++i) {
           if (b[i] == 0xFF && (b[i + 1] == 0xC0 || b[i + 1] == 0xC2)) {
             PutBig(b, i + 5, side, 2), PutBig(b, i + 7, side, 2);
             return;
           }
         }
         ADD_FAILURE() << "no frame header";
       }},
      {"big.pcx", [&](auto& b) { PutLittle16(b, 8, side - 1), PutLittle16(b, 10, side - 1); }},
      {"big.tga", [&](auto& b) { PutLittle16(b, 12, side), PutLittle16(b, 14, side); }},
  };
  for (const auto& format : formats) {
    SCOPED_TRACE(format.Name);
    const std::string path = dir.File(format.Name);
    TImgIO io;
    io.SetBitmap(&picture);
    ASSERT_TRUE(io.SaveToFile(path));
    std::vector<uint8_t> bytes = test::ReadAll(path);
    format.Declare(bytes);
    test::WriteAll(path, bytes);
    const auto r = RunCli({"img", "info", path, "--preview"});
    EXPECT_NE(r.ExitCode, 0);
    EXPECT_EQ(r.Out, "");
    EXPECT_NE(r.Err.find("too large"), std::string::npos) << r.Err;
  }
}

}  // namespace
}  // namespace glamora
