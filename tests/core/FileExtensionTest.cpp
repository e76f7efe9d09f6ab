// File-name extensions: where they start, and letter case.
#include <gtest/gtest.h>

#include "imaging/core/FileExtension.h"

namespace glamora {
namespace {

TEST(LowerExtension, IsTheNameFromItsLastDotLowerCased) {
  const struct {
    const char* Path;
    const char* Extension;
  } cases[] = {
      {"/pictures/Face.JPG", ".jpg"},
      {"archive.tar.GZ", ".gz"},
      {".png", ".png"},
      {"/faces/.eff", ".eff"},
      {"noextension", ""},
      {"/my.folder/readme", ""},
      {"/my.folder/trailing.", "."},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(LowerExtension(c.Path), c.Extension) << c.Path;
}

TEST(Extension, KeepsTheLettersAsSpelled) {
  EXPECT_EQ(Extension("/faces/Capital.EFF"), ".EFF");
  EXPECT_EQ(Extension("/my.Folder/Model.eFf"), ".eFf");
  EXPECT_EQ(Extension("/my.Folder/plain"), "");
}

}  // namespace
}  // namespace glamora
