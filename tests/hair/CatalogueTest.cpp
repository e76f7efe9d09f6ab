// The catalogue's naming: category folders and captions, and hairstyle file
// names of three digits.
#include <gtest/gtest.h>

#include "hair/Catalogue.h"

namespace glamora {
namespace {

TEST(CatalogueTest, CategoriesHaveFolderNamesAndCaptions) {
  struct Case {
    HairstyleCategory Category;
    const char* Folder;
    const char* Caption;
  };
  const Case cases[] = {
      {1, "Short", "Short"}, {2, "Medium", "Medium"},
      {3, "Long", "Long"},   {4, "Char", "Special"},
      {5, "Male", "Male"},   {0, "", ""},
      {6, "", ""},           {-1, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Category);
    EXPECT_EQ(CategoryName(c.Category), c.Folder);
    EXPECT_EQ(CategoryCaption(c.Category), c.Caption);
  }
}

TEST(CatalogueTest, CategoryFolderAddsNoSeparator) {
  EXPECT_EQ(CategoryFolderOf("/opt/glamora/", 4), "/opt/glamora/Char");
  EXPECT_EQ(CategoryFolderOf("/opt/glamora/", 1), "/opt/glamora/Short");
  // Category 0 (text typed into the selector) names the base folder itself.
  EXPECT_EQ(CategoryFolderOf("/opt/glamora/", 0), "/opt/glamora/");
  EXPECT_EQ(ProgramSubfolder("/opt/glamora/", "Medium"), "/opt/glamora/Medium/");
}

TEST(CatalogueTest, HairstyleFilesAreNamedByThreeDigits) {
  struct Case {
    int Number;
    const char* Name;
  };
  // Numbers past 999 keep all their digits: 1000 must not name 000 again.
  const Case cases[] = {{0, "000"}, {7, "007"}, {29, "029"}, {999, "999"}, {1000, "1000"}, {1234, "1234"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Number);
    EXPECT_EQ(HairstyleNumber(c.Number), c.Name);
  }
  EXPECT_EQ(HairstyleFileName("/opt/glamora/", CategoryName(2), 7), "/opt/glamora/Medium/007.jpg");
}

}  // namespace
}  // namespace glamora
