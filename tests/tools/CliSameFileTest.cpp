// Every glamora-cli command that writes a file refuses an output that is one
// of its inputs, under any name: the same path, a symbolic link, a hard link.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "codecs/Bmp.h"
#include "tests/support/FaceFixtures.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/CliSupport.h"

namespace glamora {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::RunCli;
using test::TempFolder;

TEST(CliSameFile, AnOutputThatIsAnInputIsRefusedAndTheInputKept) {
  TempFolder dir;
  Bitmap grey(20, 16);
  grey.Fill(Rgb(90, 90, 90));
  MemoryStream coded;
  ASSERT_EQ(codec::EncodeBmp(grey, TImgIOParams{}, ProgressRecord{}, coded), PictureStatus::Ok);
  test::WriteAll(dir.File("pic.bmp"), coded.Bytes());
  test::WriteAll(dir.File("hair.bmp"), coded.Bytes());
  std::vector<uint8_t> jpeg(600, 0x33);
  jpeg[0] = 0xFF, jpeg[1] = 0xD8, jpeg[2] = 0xFF;
  test::WriteAll(dir.File("p.jpg"), jpeg);
  test::WriteAll(dir.File("h.bin"), std::vector<uint8_t>(3260, 1));
  test::WriteTestFace(dir.File("face.mff"), test::StandardFacePicture(), test::RectangleRegionsHeader());
  test::WriteTestFace(dir.File("Model.eff"), test::StandardFacePicture(), test::RectangleRegionsHeader());

  // Other names of the same files.
  fs::create_symlink(dir.File("pic.bmp"), dir.File("link.bmp"));
  fs::create_hard_link(dir.File("face.mff"), dir.File("hard.mff"));
  fs::create_symlink(dir.File("p.jpg"), dir.File("jpeg-link.mff"));
  fs::create_hard_link(dir.File("h.bin"), dir.File("header.eff"));
  fs::create_symlink(dir.File("hair.bmp"), dir.File("hair-link.bmp"));
  // face make gives its output the extension ".mff": "made" and "made2.jpg"
  // write "made.mff" and "made2.mff", other names of the photograph.
  fs::create_symlink(dir.File("pic.bmp"), dir.File("made.mff"));
  fs::create_hard_link(dir.File("pic.bmp"), dir.File("made2.mff"));

  const std::vector<std::vector<std::string>> commands = {
      {"face", "extract", dir.File("Model.eff"), dir.File("Model.eff")},
      {"face", "extract", dir.File("face.mff"), dir.File("hard.mff")},
      {"face", "pack", dir.File("p.jpg"), dir.File("jpeg-link.mff")},
      {"face", "seal", dir.File("p.jpg"), dir.File("h.bin"), dir.File("header.eff")},
      {"img", "convert", dir.File("pic.bmp"), dir.File("pic.bmp")},
      {"img", "convert", dir.File("pic.bmp"), dir.File("link.bmp")},
      {"proc", "clear", dir.File("pic.bmp"), dir.File("link.bmp")},
      {"proc", "resample", "10", "8", "none", dir.File("link.bmp"), dir.File("pic.bmp")},
      {"makeup", dir.File("face.mff"), dir.File("hard.mff"), "--lips", "80,20,20"},
      {"makeover", dir.File("face.mff"), dir.File("face.mff")},
      {"makeover", dir.File("face.mff"), dir.File("hair-link.bmp"), "--hair", dir.File("hair.bmp")},
      {"face", "make", dir.File("pic.bmp"), dir.File("made")},
      {"face", "make", dir.File("pic.bmp"), dir.File("made2.jpg"), "--shape", "wide"},
  };
  std::vector<std::vector<uint8_t>> before;
  const char* inputs[] = {"pic.bmp", "hair.bmp", "p.jpg", "h.bin", "face.mff", "Model.eff"};
  for (const char* name : inputs) before.push_back(ReadAll(dir.File(name)));

  for (const auto& args : commands) {
    std::string line;
    for (const auto& a : args) line += fs::path(a).filename().string() + " ";
    SCOPED_TRACE(line);
    const auto r = RunCli(args);
    EXPECT_NE(r.ExitCode, 0);
    EXPECT_EQ(std::count(r.Err.begin(), r.Err.end(), '\n'), 1) << r.Err;
    EXPECT_NE(r.Err.find("same file"), std::string::npos) << r.Err;
  }
  for (size_t i = 0; i < std::size(inputs); ++i) EXPECT_EQ(ReadAll(dir.File(inputs[i])), before[i]) << inputs[i];
  EXPECT_TRUE(fs::is_symlink(dir.File("link.bmp")));
  EXPECT_TRUE(fs::is_symlink(dir.File("made.mff")));

  // A different file of the same name elsewhere is no obstacle.
  fs::create_directory(dir.File("sub"));
  const auto r = RunCli({"img", "convert", dir.File("pic.bmp"), dir.File("sub/pic.bmp")});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
}

}  // namespace
}  // namespace glamora
