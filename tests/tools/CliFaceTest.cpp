// glamora-cli face: model faces made by an independent cipher implementation
// come back out byte for byte; failures exit non-zero with one line.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/support/ReferenceFaceCipher.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/CliSupport.h"

namespace glamora {
namespace {

using test::ReadAll;
using test::RunCli;
using test::TempFolder;
using test::WriteAll;

// An ".eff" file built only from the reference library and the published rules.
std::vector<uint8_t> IndependentlySealed(const std::vector<uint8_t>& header, const std::vector<uint8_t>& picture) {
  std::vector<uint8_t> file = header;
  const std::vector<uint8_t> enciphered = test::ReferenceFaceCipher(picture, test::CipherDirection::Encipher);
  file.insert(file.end(), enciphered.begin(), enciphered.end());
  return file;
}

std::vector<uint8_t> JpegLikeBytes(size_t n) {
  std::vector<uint8_t> b(n);
  for (size_t i = 0; i < n; ++i) b[i] = uint8_t((i * 2654435761u) >> 13);
  b[0] = 0xFF, b[1] = 0xD8, b[2] = 0xFF;
  return b;
}

TEST(CliFace, ExtractReturnsTheExactPayloadOfAnIndependentlySealedFile) {
  TempFolder dir;
  std::vector<uint8_t> header(3260, 0);
  header[12] = 1;  // region 1 valid with 3 points
  header[16] = 3;
  const auto picture = JpegLikeBytes(48123);
  WriteAll(dir.File("Model.eff"), IndependentlySealed(header, picture));

  const auto r = RunCli({"face", "extract", dir.File("Model.eff"), dir.File("out.jpg")});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ReadAll(dir.File("out.jpg")), picture);

  const auto info = RunCli({"face", "info", dir.File("Model.eff")});
  ASSERT_EQ(info.ExitCode, 0) << info.Err;
  EXPECT_NE(info.Out.find("kind: enciphered"), std::string::npos) << info.Out;
  EXPECT_NE(info.Out.find("payload: 48123 bytes"), std::string::npos) << info.Out;
  EXPECT_NE(info.Out.find("picture: JPEG"), std::string::npos) << info.Out;
  EXPECT_NE(info.Out.find("region 1 (left eye): 3 vertices"), std::string::npos) << info.Out;
  EXPECT_NE(info.Out.find("region 2 (right eye): not outlined"), std::string::npos) << info.Out;
}

TEST(CliFace, SealAndPackRoundTrip) {
  TempFolder dir;
  const auto picture = JpegLikeBytes(1000);
  WriteAll(dir.File("p.jpg"), picture);
  std::vector<uint8_t> header(3260);
  for (size_t i = 0; i < header.size(); ++i) header[i] = uint8_t(i);
  WriteAll(dir.File("h.bin"), header);

  ASSERT_EQ(RunCli({"face", "seal", dir.File("p.jpg"), dir.File("h.bin"), dir.File("m.eff")}).ExitCode, 0);
  EXPECT_EQ(ReadAll(dir.File("m.eff")), IndependentlySealed(header, picture));

  ASSERT_EQ(RunCli({"face", "pack", dir.File("p.jpg"), dir.File("mine.mff")}).ExitCode, 0);
  const auto packed = ReadAll(dir.File("mine.mff"));
  ASSERT_EQ(packed.size(), 3260u + picture.size());
  EXPECT_TRUE(std::equal(picture.begin(), picture.end(), packed.begin() + 3260));
}

TEST(CliFace, FailuresExitNonZeroWithOneLine) {
  TempFolder dir;
  WriteAll(dir.File("short.mff"), std::vector<uint8_t>(10));
  WriteAll(dir.File("text.txt"), "hello");
  WriteAll(dir.File("p.jpg"), JpegLikeBytes(100));
  WriteAll(dir.File("h.bin"), std::vector<uint8_t>(100));
  const std::vector<std::vector<std::string>> failing = {
      {"face", "info", dir.File("short.mff")},
      {"face", "info", dir.File("text.txt")},
      {"face", "info", dir.File("missing.eff")},
      {"face", "extract", dir.File("short.mff"), dir.File("out")},
      {"face", "pack", dir.File("text.txt"), dir.File("x.mff")},
      {"face", "pack", dir.File("p.jpg"), dir.File("x.eff")},
      {"face", "seal", dir.File("p.jpg"), dir.File("h.bin"), dir.File("x.eff")},
      {"face", "frobnicate"},
  };
  for (const auto& args : failing) {
    const auto r = RunCli(args);
    EXPECT_NE(r.ExitCode, 0) << args[1];
    EXPECT_EQ(std::count(r.Err.begin(), r.Err.end(), '\n'), 1) << r.Err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("x.mff")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("x.eff")));
}

}  // namespace
}  // namespace glamora
