// Making a hairstyle from a photograph in one call.
#include "experts/core/HairstyleMaker.h"

#include <filesystem>
#include <functional>
#include <system_error>

#include "experts/core/FaceShapes.h"
#include "experts/core/HairstyleFace.h"
#include "experts/core/PhotographFit.h"
#include "experts/core/NewHairstyle.h"
#include "landmarks/LandmarkFinder.h"

namespace glamora {

std::string MakeHairstyle(const HairstyleRecipe& given, const std::string& programFolder,
                          const std::string& catalogueFolder, LandmarkFinder* finder) {
  HairstyleRecipe recipe = given;
  if (CategoryName(recipe.Category).empty()) {
    throw PhotographError("unknown hairstyle category " + std::to_string(recipe.Category));
  }
  if (recipe.Automatic && (recipe.Place || recipe.Rotation != 0)) {
    throw PhotographError("a hairstyle made automatically is placed and turned by the face, not by a given "
                          "rectangle or rotation");
  }
  if (recipe.Automatic && !finder) throw PhotographError("no face finder to make the hairstyle automatically");
  const std::string folder = CategoryFolderOf(catalogueFolder, recipe.Category);
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) throw PhotographError("there is no category folder " + folder);

  CheckPlacement(recipe);
  Bitmap photo = LoadExpertPicture(recipe.Photograph, "photograph");
  const Bitmap shapeTemplate = LoadFaceShapeTemplate(programFolder, kOvalShape);
  const PixelRect templateBounds{0, 0, shapeTemplate.Width(), shapeTemplate.Height()};
  std::function<void(Bitmap&)> clearFace;
  if (recipe.Automatic) {
    const FindFaceFunction findFace = [finder](const Bitmap& picture) { return finder->Find(picture); };
    const PhotographFit fit =
        FitPhotograph(photo, PixelRect::Of(photo), templateBounds, false, findFace);
    if (fit.Result == PhotographFit::Outcome::Fitted) {
      recipe.Rotation = fit.Fit.Angle;
      recipe.Place = fit.Fit.Picture;
    }
    const Bitmap mask = LoadFaceShapeMask(programFolder, kOvalShape);
    clearFace = [findFace, mask](Bitmap& cut) {
      if (FaceSeen(findFace(cut))) ClearFaceArea(cut, mask);
    };
  }
  const PixelRect shown = PlaceLoadedPhotograph(recipe, photo);
  CheckPhotographMeetsTemplate(shown, templateBounds);
  return CutAndSaveHairstyle(photo, shown, templateBounds, folder, clearFace);
}

}  // namespace glamora
