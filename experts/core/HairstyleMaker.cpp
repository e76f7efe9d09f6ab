// Making a hairstyle from a photograph in one call.
#include "experts/core/HairstyleMaker.h"

#include <filesystem>
#include <system_error>

#include "experts/core/FaceMaker.h"
#include "experts/core/FaceShapes.h"
#include "experts/core/NewHairstyle.h"
#include "imaging/components/ImgIO.h"
#include "imaging/core/Rotate.h"

namespace glamora {

namespace {

Bitmap LoadPicture(const std::string& path, const char* what) {
  Bitmap picture;
  TImgIO io;
  io.SetBitmap(&picture);
  io.Params.Limits = kPhotographLimits;
  if (!io.LoadFromFile(path) || picture.Empty()) {
    throw HairstyleMakerError("cannot read " + std::string(what) + " " + path +
                              " (unrecognised format or damaged file)");
  }
  return picture;
}

bool IsFolder(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

}  // namespace

std::string MakeHairstyle(const HairstyleRecipe& recipe, const std::string& programFolder,
                          const std::string& catalogueFolder) {
  if (CategoryName(recipe.Category).empty()) {
    throw HairstyleMakerError("unknown hairstyle category " + std::to_string(recipe.Category));
  }
  if (recipe.Rotation < -kMaxRotation || recipe.Rotation > kMaxRotation) {
    throw HairstyleMakerError("the rotation must lie within -359..359 degrees, not " +
                              std::to_string(recipe.Rotation));
  }
  if (recipe.Place && (recipe.Place->Empty() || !SizeWithinLimits(recipe.Place->Width, recipe.Place->Height))) {
    throw HairstyleMakerError("the photograph's rectangle must be at least one pixel and at most " +
                              std::to_string(PictureLimits::kMaxSide) + " pixels wide and high");
  }
  const std::string folder = CategoryFolderOf(catalogueFolder, recipe.Category);
  if (!IsFolder(folder)) throw HairstyleMakerError("there is no category folder " + folder);

  Bitmap photo = LoadPicture(recipe.Photograph, "photograph");
  const Bitmap shapeTemplate = LoadPicture(FaceShapeTemplateFile(programFolder, kOvalShape), "face-shape template");

  const PixelRect opened{0, 0, photo.Width(), photo.Height()};
  if (recipe.Rotation != 0 && !Rotate(photo, recipe.Rotation, recipe.Antialias, clWhite)) {
    throw HairstyleMakerError("the photograph is too large to rotate by " + std::to_string(recipe.Rotation) +
                              " degrees");
  }
  const PixelRect templateBounds{0, 0, shapeTemplate.Width(), shapeTemplate.Height()};
  return CutAndSaveHairstyle(photo, recipe.Place.value_or(opened), templateBounds, folder);
}

}  // namespace glamora
