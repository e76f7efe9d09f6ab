// Face-shape templates and masks must be drawn to the standard face: one of
// another size is refused as a damaged file, naming it, by both makers, and
// nothing is written.
#include "experts/core/FaceShapes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "experts/core/FaceMaker.h"
#include "experts/core/HairstyleMaker.h"
#include "face/StandardFace.h"
#include "hair/Catalogue.h"
#include "imaging/components/ImgIO.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

namespace fs = std::filesystem;
namespace sf = standard_face;

void SavePicture(Bitmap picture, const std::string& path) {
  TImgIO io;
  io.SetBitmap(&picture);
  ASSERT_TRUE(io.SaveToFile(path)) << path;
}

TEST(FaceShapeFiles, ATemplateOrMaskOfAnotherSizeIsADamagedFileAndNothingIsMade) {
  test::TempFolder program, photos, out, catalogue;
  Bitmap photo(300, 400);
  photo.Fill(Rgb(180, 120, 90));
  SavePicture(photo, photos.File("photo.bmp"));
  const HairstyleCategory category = kFirstCategory;
  fs::create_directories(CategoryFolderOf(catalogue.Path(), category));

  const struct {
    const char* What;
    int Width, Height;
    bool Mask;  // else the template
  } cases[] = {
      {"a 1 x 1 template", 1, 1, false},
      {"a 30000 x 1 template", 30000, 1, false},
      {"a 512 x 512 template", 512, 512, false},
      {"a template a pixel short", sf::kWidth, sf::kHeight - 1, false},
      {"a 512 x 512 mask", 512, 512, true},
      {"a mask a pixel narrow", sf::kWidth - 1, sf::kHeight, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    fs::remove_all(program.File("Shapes"));
    fs::copy(test::SourceDir() + "/data/Shapes", program.File("Shapes"));
    const std::string wrong =
        c.Mask ? FaceShapeMaskFile(program.Path(), kOvalShape) : FaceShapeTemplateFile(program.Path(), kOvalShape);
    Bitmap picture(c.Width, c.Height);
    picture.Fill(clWhite);
    SavePicture(picture, wrong);

    FaceModelRecipe face;
    face.Photograph = photos.File("photo.bmp");
    try {
      MakeFaceModel(face, program.Path(), out.File("face"));
      ADD_FAILURE() << "a face was made";
    } catch (const PhotographError& error) {
      EXPECT_EQ(std::string(error.what()), DamagedPictureMessage(wrong, c.Mask ? "face-shape mask" : "face-shape template"));
    }
    EXPECT_TRUE(fs::is_empty(out.Path()));

    // The add-hairstyle expert uses the template only.
    if (c.Mask) continue;
    HairstyleRecipe hair;
    hair.Photograph = photos.File("photo.bmp");
    hair.Category = category;
    EXPECT_THROW(MakeHairstyle(hair, program.Path(), catalogue.Path()), PhotographError);
    EXPECT_TRUE(fs::is_empty(CategoryFolderOf(catalogue.Path(), category)));
  }
}

}  // namespace
}  // namespace glamora
