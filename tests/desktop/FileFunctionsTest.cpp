// Folder and file functions and the gallery counter.
#include <gtest/gtest.h>

#include <filesystem>

#include "desktop/FileFunctions.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

using test::TempFolder;
using test::WriteAll;

TEST(FileFunctions, ZeroPadKeepsTheLastDigits) {
  const struct {
    const char* digits;
    int width;
    const char* expected;
  } cases[] = {{"7", 3, "007"}, {"1234", 3, "234"}, {"12", 4, "0012"}, {"", 2, "00"}, {"5", 1, "5"},
               {"9", 35, "00000000000000000000000000000000009"}};
  for (const auto& c : cases) EXPECT_EQ(ZeroPad(c.digits, c.width), c.expected) << c.digits << " " << c.width;
}

TEST(FileFunctions, TrailingSeparatorAndBaseName) {
  EXPECT_EQ(WithTrailingSeparatorOf("a/b"), "a/b/");
  EXPECT_EQ(WithTrailingSeparatorOf("a/b/"), "a/b/");
  EXPECT_EQ(WithTrailingSeparatorOf(""), "");
  EXPECT_EQ(FileBaseName("/x/y/0012.jpg"), "0012");
  EXPECT_EQ(FileBaseName("archive.tar.gz"), "archive.tar");
  EXPECT_EQ(FileBaseName("/x/noext"), "");
  EXPECT_EQ(FileBaseName("/x.d/noext"), "");
}

TEST(FileFunctions, ListingMatchesEitherCaseAndSkipsHiddenFilesAndFolders) {
  TempFolder dir;
  for (const char* name : {"b.jpg", "A.JPG", "c.Jpg", ".hidden.jpg", "d.png"}) WriteAll(dir.File(name), "x");
  std::filesystem::create_directory(dir.File("folder.jpg"));

  std::vector<std::string> list = {"stale"};
  ASSERT_TRUE(ListFiles(dir.Path(), "*.jpg", true, list));
  EXPECT_EQ(list, (std::vector<std::string>{"A.JPG", "b.jpg", "c.Jpg"}));
  EXPECT_EQ(CountMatchingFiles(dir.Path(), "*.jpg"), 3);
  EXPECT_EQ(CountMatchingFiles(dir.File("missing"), "*.jpg"), 0);
  EXPECT_EQ(LastMatchingFile(dir.Path(), "*.jpg"), "c.Jpg");
  EXPECT_EQ(LastMatchingFile(dir.Path(), "*.gif"), "");

  std::vector<std::string> untouched = {"keep"};
  EXPECT_FALSE(ListFiles(dir.File("missing"), "*.jpg", true, untouched));
  EXPECT_EQ(untouched, std::vector<std::string>{"keep"});

  // Deleting is not limited to what the listing shows: hidden files go too,
  // folders stay.
  DeleteMatchingFiles(dir.Path(), "*.JPG");
  EXPECT_EQ(CountMatchingFiles(dir.Path(), "*"), 1);  // d.png
  EXPECT_FALSE(std::filesystem::exists(dir.File(".hidden.jpg")));
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.jpg")));
  EXPECT_TRUE(std::filesystem::exists(dir.File("d.png")));
}

TEST(FileFunctions, GalleryCounterIsTheLastNumber) {
  const struct {
    std::vector<const char*> files;
    int expected;
  } cases[] = {
      {{"0003.jpg", "0012.jpg"}, 12},
      {{"holiday.jpg"}, 0},
      {{}, 0},
      {{"0007.JPG", "0002.jpg", "notes.txt"}, 7},
      {{"12345.jpg"}, 12345},
  };
  for (const auto& c : cases) {
    TempFolder dir;
    for (const char* name : c.files) WriteAll(dir.File(name), "x");
    EXPECT_EQ(GalleryCounterOf(dir.Path()), c.expected);
  }
  TempFolder dir;
  EXPECT_EQ(GalleryCounterOf(dir.File("Preview")), 0);  // missing folder
}

TEST(FileFunctions, CopyFileContentsCopiesOrDoesNothing) {
  TempFolder dir;
  WriteAll(dir.File("src.jpg"), "picture bytes");
  WriteAll(dir.File("dst.jpg"), "an older and longer picture");
  CopyFileContents(dir.File("src.jpg"), dir.File("dst.jpg"));
  EXPECT_EQ(test::ReadAll(dir.File("dst.jpg")), test::ReadAll(dir.File("src.jpg")));

  CopyFileContents(dir.File("missing.jpg"), dir.File("other.jpg"));
  CopyFileContents(dir.Path() + ".", dir.File("dot.jpg"));
  EXPECT_FALSE(std::filesystem::exists(dir.File("other.jpg")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("dot.jpg")));
}

TEST(FileFunctions, DocumentsFolderExistsAndEndsWithASeparator) {
  const std::string folder = DefaultDocumentsFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

}  // namespace
}  // namespace glamora
