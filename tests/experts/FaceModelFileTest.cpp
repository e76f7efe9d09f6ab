// Saving a face model without a window: the name rule, the file (a noise
// header, then a complete JPEG of the picture at quality 100), and the save
// command's questions, where No asks again and never writes.
#include "experts/core/FaceModelFile.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "codecs/Jpeg.h"
#include "face/FaceHeader.h"
#include "face/StandardFace.h"
#include "imaging/core/Stream.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

namespace fs = std::filesystem;
namespace sf = standard_face;
using test::TempFolder;

Bitmap Gradient() {
  Bitmap b(sf::kWidth, sf::kHeight);
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, Rgb(uint8_t(x), uint8_t(y * 3 / 4), uint8_t(128 + x / 4)));
  return b;
}

TEST(FaceModelFileTest, ChosenNamesBecomeFaceFileNames) {
  const std::pair<const char*, const char*> cases[] = {
      {"/home/a/face.jpg", "/home/a/face.mff"},
      {"/home/a/face", "/home/a/face.mff"},
      {"/home/a/x.y.z", "/home/a/x.y.mff"},
      {"/home/a/face.MFF", "/home/a/face.mff"},
      {"/home/a/face.", "/home/a/face.mff"},
      {"/home/my.pictures/face", "/home/my.pictures/face.mff"},
  };
  for (const auto& [chosen, written] : cases) EXPECT_EQ(FaceModelFileName(chosen), written) << chosen;
}

TEST(FaceModelFileTest, FileIsANoiseHeaderAndACompleteBaselineJpegOfThePicture) {
  TempFolder dir;
  const Bitmap picture = Gradient();
  const std::string path = dir.File("new.mff");
  ASSERT_TRUE(WriteFaceModel(picture, path));
  const std::vector<uint8_t> file = test::ReadAll(path);
  ASSERT_GT(file.size(), FaceHeader::kByteSize + 2);
  const std::vector<uint8_t> jpeg(file.begin() + FaceHeader::kByteSize, file.end());
  EXPECT_EQ(jpeg[0], 0xFF);
  EXPECT_EQ(jpeg[1], 0xD8);
  EXPECT_EQ(jpeg[jpeg.size() - 2], 0xFF);
  EXPECT_EQ(jpeg[jpeg.size() - 1], 0xD9) << "the stream ends with the picture";

  Bitmap decoded;
  TImgIOParams params;
  size_t consumed = 0;
  ASSERT_EQ(codec::DecodeJpeg(jpeg, decoded, params, ProgressRecord{}, consumed), PictureStatus::Ok);
  EXPECT_EQ(consumed, jpeg.size());
  ASSERT_EQ(decoded.Width(), sf::kWidth);
  ASSERT_EQ(decoded.Height(), sf::kHeight);
  EXPECT_FALSE(params.JpegProgressive);
  // Quality 100: every channel close to the picture's (colour is stored at
  // half resolution, so edges of colour move a little more).
  int worst = 0;
  for (int y = 0; y < sf::kHeight; ++y)
    for (int x = 0; x < sf::kWidth; ++x) {
      const TColor a = picture.Pixel(x, y), b = decoded.Pixel(x, y);
      worst = std::max({worst, std::abs(RedOf(a) - RedOf(b)), std::abs(GreenOf(a) - GreenOf(b)),
                        std::abs(BlueOf(a) - BlueOf(b))});
    }
  EXPECT_LE(worst, 6);
  // Quality 100 itself: every step of every quantisation table is 1.
  int tables = 0;
  for (size_t i = 2; i + 5 + 64 < jpeg.size(); ++i) {
    if (jpeg[i] != 0xFF || jpeg[i + 1] != 0xDB) continue;
    const size_t length = size_t(jpeg[i + 2]) << 8 | jpeg[i + 3];
    for (size_t t = i + 4; t + 65 <= i + 2 + length; t += 65, ++tables) {
      ASSERT_EQ(jpeg[t] >> 4, 0) << "8-bit steps";
      for (size_t k = 1; k <= 64; ++k) ASSERT_EQ(jpeg[t + k], 1) << "table " << (jpeg[t] & 0x0F) << " step " << k;
    }
  }
  EXPECT_EQ(tables, 2) << "luminance and chrominance";

  EXPECT_FALSE(WriteFaceModel(Bitmap(), dir.File("empty.mff")));
  EXPECT_FALSE(fs::exists(dir.File("empty.mff")));
}

// The save command against scripted dialogs: the names the dialog gives and
// the answers to the replace question, in order.
struct Script {
  std::deque<std::string> Names;
  std::deque<ReplaceAnswer> Answers;
  std::vector<std::string> AskedFolders;
  std::vector<std::string> AskedReplace;

  FaceModelSaveDialogs Dialogs() {
    return {[this](const std::string& folder) {
              AskedFolders.push_back(folder);
              if (Names.empty()) return std::string();
              std::string name = Names.front();
              Names.pop_front();
              return name;
            },
            [this](const std::string& fileName) {
              AskedReplace.push_back(fileName);
              if (Answers.empty()) {
                ADD_FAILURE() << "an unexpected replace question";
                return ReplaceAnswer::Cancel;
              }
              ReplaceAnswer answer = Answers.front();
              Answers.pop_front();
              return answer;
            }};
  }
};

TEST(FaceModelFileTest, ReplaceQuestionYesReplacesNoAsksAgainCancelStops) {
  TempFolder dir;
  const std::string existing = dir.File("old.mff");
  test::WriteAll(existing, std::string("the user's face"));
  const Bitmap picture = Gradient();

  {
    SCOPED_TRACE("No, No, then cancelling the dialog writes nothing");
    Script script{{dir.File("old.jpg"), dir.File("old")}, {ReplaceAnswer::No, ReplaceAnswer::No}, {}, {}};
    EXPECT_EQ(SaveFaceModelAs(picture, dir.Path(), script.Dialogs()), "");
    EXPECT_EQ(script.AskedFolders, std::vector<std::string>(3, dir.Path()));
    EXPECT_EQ(script.AskedReplace, std::vector<std::string>(2, existing));
    EXPECT_TRUE(script.Answers.empty());
    EXPECT_EQ(test::ReadAll(existing).size(), 15u);
  }
  {
    SCOPED_TRACE("Cancel stops at once");
    Script script{{dir.File("old.png"), dir.File("new")}, {ReplaceAnswer::Cancel}, {}, {}};
    EXPECT_EQ(SaveFaceModelAs(picture, dir.Path(), script.Dialogs()), "");
    EXPECT_EQ(script.AskedFolders.size(), 1u);
    EXPECT_FALSE(fs::exists(dir.File("new.mff")));
  }
  {
    SCOPED_TRACE("No, then a free name");
    Script script{{dir.File("old.bmp"), dir.File("new.bmp")}, {ReplaceAnswer::No}, {}, {}};
    EXPECT_EQ(SaveFaceModelAs(picture, dir.Path(), script.Dialogs()), dir.File("new.mff"));
    EXPECT_GT(test::ReadAll(dir.File("new.mff")).size(), FaceHeader::kByteSize);
    EXPECT_EQ(test::ReadAll(existing).size(), 15u);
  }
  {
    SCOPED_TRACE("Yes replaces");
    Script script{{dir.File("old.jpg")}, {ReplaceAnswer::Yes}, {}, {}};
    EXPECT_EQ(SaveFaceModelAs(picture, dir.Path(), script.Dialogs()), existing);
    EXPECT_GT(test::ReadAll(existing).size(), FaceHeader::kByteSize);
  }
}

TEST(FaceModelFileTest, AFolderThatCannotBeWrittenIsAnErrorAndLeavesNothing) {
  TempFolder dir;
  Script script{{dir.File("missing/face.jpg")}, {}, {}, {}};
  EXPECT_THROW(SaveFaceModelAs(Gradient(), dir.Path(), script.Dialogs()), FileError);
  EXPECT_FALSE(fs::exists(dir.File("missing")));
}

}  // namespace
}  // namespace glamora
