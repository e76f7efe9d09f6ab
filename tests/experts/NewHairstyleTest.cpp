// A new catalogue picture: the category dialog's items and the folders they
// save into, the number a new picture takes (gaps left by deletions, past
// 999, names taken in another letter case or by other entries), and the
// writing, which never replaces a file and blanks the photograph only once
// the picture is written.
#include "experts/core/NewHairstyle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "experts/core/NewFile.h"
#include "imaging/core/Stream.h"
#include "tests/support/PictureFiles.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

const TColor kHair = Rgb(90, 50, 20);

std::vector<std::string> Listing(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void Touch(const std::string& path) { test::WriteAll(path, std::string("old")); }

// Touches the three-digit pictures first..last.
void TouchNumbers(const std::string& folder, int first, int last) {
  for (int n = first; n <= last; ++n) Touch(folder + HairstyleNumber(n) + ".jpg");
}

// Within what JPEG at quality 90 keeps of a flat area.
bool Near(TColor a, TColor b) { return test::NearColour(a, b, 8); }

TEST(NewHairstyleTest, DialogItemsSaveIntoTheirCategoryFolders) {
  struct Case {
    int Item;
    const char* Caption;
    HairstyleCategory Category;
    const char* Folder;
  };
  const Case cases[] = {{0, "Short", 1, "Short"},   {1, "Meddian", 2, "Medium"}, {2, "Long", 3, "Long"},
                        {3, "Special", 4, "Char"},  {4, "Male", 5, "Male"},      {-1, "", 0, ""},
                        {5, "", 0, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Item);
    EXPECT_EQ(SaveHairItemCaption(c.Item), c.Caption);
    EXPECT_EQ(CategoryOfSaveHairItem(c.Item), c.Category);
    EXPECT_EQ(CategoryName(CategoryOfSaveHairItem(c.Item)), c.Folder);
  }
  // The command line names categories as the selector shows them.
  const std::pair<const char*, HairstyleCategory> names[] = {
      {"short", 1}, {"MEDIUM", 2}, {"Long", 3}, {"special", 4}, {"mAlE", 5}, {"Meddian", 0}, {"Char", 0}, {"", 0}};
  for (const auto& [name, category] : names) EXPECT_EQ(CategoryByCaption(name), category) << name;
}

TEST(NewHairstyleTest, NumberIsTheCountUnlessThatNameIsTakenOrPastThreeDigits) {
  struct Case {
    const char* What;
    std::function<void(const std::string& folder)> Fill;
    const char* Expected;
  };
  const Case cases[] = {
      {"empty folder", [](const std::string&) {}, "000.jpg"},
      {"000 to 004", [](const std::string& f) { TouchNumbers(f, 0, 4); }, "005.jpg"},
      {"a gap at 002: the count names 003, which exists",
       [](const std::string& f) {
         TouchNumbers(f, 0, 1);
         TouchNumbers(f, 3, 3);
       },
       "004.jpg"},
      {"names need not be numbers", [](const std::string& f) { Touch(f + "a.jpg"), Touch(f + "B.JPG"); }, "002.jpg"},
      {"taken in another letter case", [](const std::string& f) { Touch(f + "001.JPG"); }, "002.jpg"},
      {"hidden files, folders and other files are not counted but their names are taken",
       [](const std::string& f) {
         Touch(f + ".000.jpg");
         Touch(f + "notes.txt");
         fs::create_directory(f + "000.jpg");
         fs::create_symlink(f + "nowhere.jpg", f + "001.jpg");
       },
       "002.jpg"},
      {"the count passes 999 with a three-digit number free",
       [](const std::string& f) {
         TouchNumbers(f, 0, 499);
         TouchNumbers(f, 501, 999);
         Touch(f + "extra.jpg");
       },
       "500.jpg"},
      {"every three-digit number taken", [](const std::string& f) { TouchNumbers(f, 0, 999); }, "1000.jpg"},
      {"and 1000 too",
       [](const std::string& f) {
         TouchNumbers(f, 0, 999);
         Touch(f + "1000.jpg");
       },
       "1001.jpg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TempFolder folder;
    c.Fill(folder.Path());
    const std::string category = folder.Path().substr(0, folder.Path().size() - 1);
    EXPECT_EQ(NewHairstyleFile(category), category + "/" + c.Expected);
  }
}

TEST(NewHairstyleTest, SaveWritesABaselineJpegOfQuality90UnderTheNextFreeNameAndReplacesNothing) {
  TempFolder folder;
  TouchNumbers(folder.Path(), 0, 1);
  TouchNumbers(folder.Path(), 3, 3);
  Bitmap hair(228, 314);
  hair.Fill(kHair);
  const std::string written = SaveNewHairstyle(hair, folder.File(""));
  EXPECT_EQ(written, folder.File("004.jpg"));
  for (const char* old : {"000.jpg", "001.jpg", "003.jpg"}) EXPECT_EQ(test::ReadAll(folder.File(old)).size(), 3u);

  const Bitmap back = test::LoadPicture(written);
  ASSERT_EQ(back.Width(), 228);
  ASSERT_EQ(back.Height(), 314);
  EXPECT_TRUE(Near(back.Pixel(100, 100), kHair));
  // Baseline (SOF0) with three components, and the luminance table of
  // quality 90: the DC step of the standard table, 16, scaled by 20 %.
  const std::vector<uint8_t> bytes = test::ReadAll(written);
  const auto marker = [&](uint8_t code) {
    for (size_t i = 2; i + 1 < bytes.size(); ++i)
      if (bytes[i] == 0xFF && bytes[i + 1] == code) return i;
    return size_t(0);
  };
  const size_t sof = marker(0xC0);
  ASSERT_NE(sof, 0u);
  EXPECT_EQ(bytes[sof + 9], 3) << "components";
  EXPECT_EQ(marker(0xC2), 0u) << "not progressive";
  const size_t dqt = marker(0xDB);
  ASSERT_NE(dqt, 0u);
  EXPECT_EQ(bytes[dqt + 4] & 0x0F, 0) << "table 0";
  EXPECT_EQ(bytes[dqt + 5], 3);

  EXPECT_EQ(SaveNewHairstyle(Bitmap(), folder.File("")), "") << "an empty picture writes nothing";
  EXPECT_EQ(Listing(folder.Path()).size(), 4u);
}

TEST(NewHairstyleTest, MissingFolderFailsWithTheFileNameAndWritesNothing) {
  TempFolder parent;
  Bitmap hair(10, 10);
  try {
    SaveNewHairstyle(hair, parent.File("Long"));
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot create file " + parent.File("Long/000.jpg"));
  }
  EXPECT_TRUE(Listing(parent.Path()).empty());
}

TEST(NewHairstyleTest, NewFileRefusesEveryTakenName) {
  TempFolder folder;
  Touch(folder.File("file"));
  fs::create_directory(folder.File("folder"));
  fs::create_symlink(folder.File("target"), folder.File("dangling"));
  const std::vector<uint8_t> content = {1, 2, 3};
  for (const char* name : {"file", "folder", "dangling"}) {
    EXPECT_FALSE(CreateNewFile(folder.File(name), content)) << name;
  }
  EXPECT_EQ(test::ReadAll(folder.File("file")).size(), 3u);
  EXPECT_FALSE(fs::exists(folder.File("target"))) << "nothing written through the link";

  ASSERT_TRUE(CreateNewFile(folder.File("new"), content));
  EXPECT_EQ(test::ReadAll(folder.File("new")), content);
  EXPECT_EQ(Listing(folder.Path()), (std::vector<std::string>{"dangling", "file", "folder", "new"}))
      << "no temporary left behind";
}

// The photograph shown at half size from (100, 50) relative to the template:
// the cut has the template's size, the photograph where it reaches and white
// elsewhere. Saving blanks the photograph (at its shown size), so a save
// right after writes a white picture; a failed save blanks nothing.
TEST(NewHairstyleTest, CutTakesThePhotographUnderTheTemplateAndBlanksItOnceWritten) {
  TempFolder folder;
  const std::string category = folder.File("Medium");
  fs::create_directory(category);
  Bitmap photo(200, 400);
  photo.Fill(kHair);
  const PixelRect shown{100, 50, 100, 200};
  const PixelRect templateBounds{0, 0, 228, 314};

  Bitmap kept = photo;
  EXPECT_THROW(CutAndSaveHairstyle(kept, shown, templateBounds, folder.File("Short")), FileError);
  EXPECT_EQ(kept.Width(), 100) << "resampled to its shown size";
  EXPECT_TRUE(Near(kept.Pixel(50, 100), kHair)) << "not blanked";

  const std::string first = CutAndSaveHairstyle(photo, shown, templateBounds, category);
  EXPECT_EQ(first, category + "/000.jpg");
  const Bitmap hair = test::LoadPicture(first);
  ASSERT_EQ(hair.Width(), 228);
  ASSERT_EQ(hair.Height(), 314);
  EXPECT_TRUE(Near(hair.Pixel(150, 150), kHair));
  EXPECT_TRUE(Near(hair.Pixel(150, 240), kHair));
  EXPECT_TRUE(Near(hair.Pixel(150, 260), clWhite)) << "below the photograph";
  for (const auto& [x, y] : {std::pair{50, 150}, {150, 20}, {210, 150}}) {
    EXPECT_TRUE(Near(hair.Pixel(x, y), clWhite)) << x << ", " << y;
  }
  EXPECT_EQ(photo.Width(), 100);
  EXPECT_EQ(photo.Height(), 200);
  EXPECT_EQ(photo.Pixel(50, 100), clWhite);

  const std::string second = CutAndSaveHairstyle(photo, shown, templateBounds, category);
  EXPECT_EQ(second, category + "/001.jpg");
  EXPECT_TRUE(test::AllWhite(test::LoadPicture(second)));
}

}  // namespace
}  // namespace glamora
