// Making a hairstyle from a photograph in one call.
#include "experts/core/HairstyleMaker.h"

#include <filesystem>
#include <system_error>

#include "experts/core/FaceShapes.h"
#include "experts/core/NewHairstyle.h"

namespace glamora {

std::string MakeHairstyle(const HairstyleRecipe& recipe, const std::string& programFolder,
                          const std::string& catalogueFolder) {
  if (CategoryName(recipe.Category).empty()) {
    throw PhotographError("unknown hairstyle category " + std::to_string(recipe.Category));
  }
  const std::string folder = CategoryFolderOf(catalogueFolder, recipe.Category);
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) throw PhotographError("there is no category folder " + folder);

  PixelRect shown;
  Bitmap photo = PlacePhotograph(recipe, shown);
  const Bitmap shapeTemplate = LoadFaceShapeTemplate(programFolder, kOvalShape);
  const PixelRect templateBounds{0, 0, shapeTemplate.Width(), shapeTemplate.Height()};
  CheckPhotographMeetsTemplate(shown, templateBounds);
  return CutAndSaveHairstyle(photo, shown, templateBounds, folder);
}

}  // namespace glamora
