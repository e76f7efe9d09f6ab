// The gallery folder's file rules: names, numbers, adding and deleting.
#include "gallery/GalleryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "desktop/FileFunctions.h"
#include "imaging/components/ImgIO.h"
#include "tests/gallery/MessageScript.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

namespace fs = std::filesystem;
using test::MessageScript;
using test::TempFolder;

Bitmap WorkPicture(TColor colour = Rgb(90, 60, 30)) {
  Bitmap picture(228, 314);
  picture.Fill(colour);
  return picture;
}

std::vector<std::string> FilesOf(const std::string& folder) {
  std::vector<std::string> names;
  ListFiles(folder, "*", true, names);
  return names;
}

TEST(GalleryFileName, FourDigitsUpTo9999ThenAllDigits) {
  EXPECT_EQ(GalleryFileName(1), "0001.jpg");
  EXPECT_EQ(GalleryFileName(42), "0042.jpg");
  EXPECT_EQ(GalleryFileName(9999), "9999.jpg");
  EXPECT_EQ(GalleryFileName(10000), "10000.jpg");
  EXPECT_EQ(GalleryFileName(123456), "123456.jpg");
}

struct NumberingCase {
  const char* label;
  std::vector<std::string> present;
  int32_t counter;
  int32_t expectedNumber;
  const char* expectedName;
};

class NextGalleryPictureTest : public ::testing::TestWithParam<NumberingCase> {};

TEST_P(NextGalleryPictureTest, TakesTheFirstFreeNumberAfterTheCounter) {
  const NumberingCase& c = GetParam();
  TempFolder gallery;
  for (const std::string& name : c.present) {
    if (name.back() == '/') {
      fs::create_directory(gallery.File(name));
    } else {
      test::WriteAll(gallery.File(name), name);
    }
  }
  const GalleryPicture next = NextGalleryPicture(gallery.Path(), c.counter);
  EXPECT_EQ(next.Number, c.expectedNumber);
  EXPECT_EQ(next.FileName, gallery.File(c.expectedName));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NextGalleryPictureTest,
    ::testing::Values(NumberingCase{"EmptyFolder", {}, 0, 1, "0001.jpg"},
                      NumberingCase{"AfterThree", {"0001.jpg", "0002.jpg", "0003.jpg"}, 3, 4, "0004.jpg"},
                      NumberingCase{"NextNameTaken", {"0004.jpg"}, 3, 5, "0005.jpg"},
                      NumberingCase{"TakenInCapitals", {"0004.JPG"}, 3, 5, "0005.jpg"},
                      NumberingCase{"TakenByAFolder", {"0004.jpg/"}, 3, 5, "0005.jpg"},
                      NumberingCase{"SeveralTaken", {"0004.jpg", "0005.jpg", "0007.jpg"}, 3, 6, "0006.jpg"},
                      // Past 9999 the lowest free four-digit number comes first.
                      NumberingCase{"Past9999", {"0001.jpg", "0003.jpg", "9999.jpg"}, 9998, 2, "0002.jpg"},
                      NumberingCase{"Past10000", {"0001.jpg", "9999.jpg", "10000.jpg"}, 10000, 2, "0002.jpg"},
                      NumberingCase{"BeyondInt", {"0001.jpg"}, 2147483647, 2, "0002.jpg"},
                      // A count of 0 after a start-up that found a name that is no number.
                      NumberingCase{"CounterFellBack", {"0001.jpg", "0002.jpg", "holiday.jpg"}, 0, 3, "0003.jpg"}),
    [](const auto& p) { return std::string(p.param.label); });

TEST(NextFreeGalleryNumber, TakesMoreDigitsOnlyWhenEveryFourDigitNameIsTaken) {
  std::set<int64_t> taken;
  for (int64_t n = 1; n <= kLastFourDigitNumber; ++n) taken.insert(n);
  const auto next = [&](int32_t counter) {
    return NextFreeGalleryNumber(counter, [&](int64_t n) { return taken.count(n) != 0; });
  };
  EXPECT_EQ(next(9999), 10000);
  EXPECT_EQ(next(0), 10000);
  taken.insert(10000);
  EXPECT_EQ(next(9999), 10001);
  EXPECT_EQ(next(12000), 12001);
  // A freed four-digit name is taken again first.
  taken.erase(500);
  EXPECT_EQ(next(10000), 500);
  EXPECT_EQ(next(499), 500);
}

TEST(AddGalleryPicture, WritesAJpegOfQuality90AndReturnsTheNewCounter) {
  TempFolder gallery;
  const Bitmap work = WorkPicture();
  const GalleryAddition added = AddGalleryPicture(gallery.Path(), 0, work);
  EXPECT_TRUE(added.Written);
  EXPECT_EQ(added.Number, 1);
  EXPECT_EQ(added.FileName, gallery.File("0001.jpg"));

  // Same coder, same quality: the same bytes.
  Bitmap copy;
  copy.Assign(work);
  TImgIO reference;
  reference.SetBitmap(&copy);
  reference.Params.JpegQuality = 90;
  MemoryStream expected;
  ASSERT_TRUE(reference.SaveToStreamJpeg(expected));
  EXPECT_EQ(test::ReadAll(added.FileName), expected.Bytes());

  Bitmap loaded;
  TImgIO io;
  io.SetBitmap(&loaded);
  ASSERT_TRUE(io.LoadFromFile(added.FileName));
  EXPECT_EQ(loaded.Width(), 228);
  EXPECT_EQ(loaded.Height(), 314);
}

TEST(AddGalleryPicture, NeverReplacesAnExistingFile) {
  TempFolder gallery;
  // A counter of 3 names 0004.jpg next, which is already there.
  test::WriteAll(gallery.File("0004.jpg"), std::string("not mine"));
  const GalleryAddition added = AddGalleryPicture(gallery.Path(), 3, WorkPicture());
  EXPECT_EQ(added.Number, 5);
  EXPECT_EQ(added.FileName, gallery.File("0005.jpg"));
  EXPECT_TRUE(fs::exists(added.FileName));
  const std::vector<uint8_t> kept = test::ReadAll(gallery.File("0004.jpg"));
  EXPECT_EQ(std::string(kept.begin(), kept.end()), "not mine");
}

TEST(AddGalleryPicture, AnEmptyWorkPictureWritesNothing) {
  TempFolder gallery;
  const GalleryAddition added = AddGalleryPicture(gallery.Path(), 0, Bitmap());
  EXPECT_FALSE(added.Written);
  EXPECT_TRUE(FilesOf(gallery.Path()).empty());
}

TEST(AddGalleryPicture, NumbersAreNotReusedInOneRunButAfterARestart) {
  TempFolder gallery;
  int32_t counter = GalleryCounterOf(gallery.Path());
  for (int i = 0; i < 4; ++i) counter = AddGalleryPicture(gallery.Path(), counter, WorkPicture()).Number;
  ASSERT_EQ(counter, 4);

  DeleteGalleryPicture(gallery.File("0004.jpg"));
  EXPECT_EQ(FilesOf(gallery.Path()), (std::vector<std::string>{"0001.jpg", "0002.jpg", "0003.jpg"}));
  counter = AddGalleryPicture(gallery.Path(), counter, WorkPicture()).Number;
  EXPECT_EQ(counter, 5);
  EXPECT_TRUE(fs::exists(gallery.File("0005.jpg")));

  // A restart counts from the highest number present.
  DeleteGalleryPicture(gallery.File("0005.jpg"));
  EXPECT_EQ(AddGalleryPicture(gallery.Path(), GalleryCounterOf(gallery.Path()), WorkPicture()).Number, 4);
}

TEST(DeleteGalleryPicture, AMissingFileIsNoError) {
  TempFolder gallery;
  EXPECT_NO_THROW(DeleteGalleryPicture(gallery.File("0001.jpg")));
}

TEST(DeleteAllGalleryPictures, AsksOnceEmptiesTheFolderAndNumberingStartsOver) {
  TempFolder gallery;
  int32_t counter = 0;
  for (int i = 0; i < 3; ++i) counter = AddGalleryPicture(gallery.Path(), counter, WorkPicture()).Number;
  test::WriteAll(gallery.File("notes.txt"), std::string("x"));
  test::WriteAll(gallery.File("README"), std::string("x"));
  test::WriteAll(gallery.File(".thumbs"), std::string("x"));

  MessageScript messages({mrYes});
  ASSERT_TRUE(DeleteAllGalleryPictures(gallery.Path(), 3));
  ASSERT_EQ(messages.Shown().size(), 1u);
  EXPECT_EQ(messages.Shown()[0].Text.toStdString(), "Do you delete all gallery images?");
  EXPECT_EQ(messages.Shown()[0].Type, TMsgDlgType::mtWarning);
  EXPECT_EQ(messages.Shown()[0].Buttons, mbYes | mbNo);
  // Enter keeps the pictures.
  EXPECT_EQ(DefaultButtonOf(messages.Shown()[0]), mbNo);
  // Empty, hidden files included.
  EXPECT_TRUE(fs::is_empty(gallery.Path()));

  EXPECT_EQ(AddGalleryPicture(gallery.Path(), 0, WorkPicture()).FileName, gallery.File("0001.jpg"));
}

TEST(DeleteAllGalleryPictures, NoKeepsEveryFile) {
  TempFolder gallery;
  AddGalleryPicture(gallery.Path(), 0, WorkPicture());
  MessageScript messages({mrNo});
  EXPECT_FALSE(DeleteAllGalleryPictures(gallery.Path(), 1));
  EXPECT_EQ(FilesOf(gallery.Path()), std::vector<std::string>{"0001.jpg"});
}

TEST(DeleteAllGalleryPictures, AnEmptyGallerySaysSoAndAsksNothing) {
  TempFolder gallery;
  test::WriteAll(gallery.File("keep.txt"), std::string("x"));
  MessageScript messages({mrYes});
  EXPECT_FALSE(DeleteAllGalleryPictures(gallery.Path(), 0));
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{"There is not saved gallery pictures"});
  EXPECT_EQ(messages.Shown()[0].Buttons, mbOK);
  EXPECT_EQ(FilesOf(gallery.Path()), std::vector<std::string>{"keep.txt"});
}

}  // namespace
}  // namespace glamora
