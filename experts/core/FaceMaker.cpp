// Making a face model from a photograph in one call.
#include "experts/core/FaceMaker.h"

#include "experts/core/Carving.h"
#include "experts/core/FaceModelFile.h"
#include "face/StandardFace.h"

namespace glamora {

std::string MakeFaceModel(const FaceModelRecipe& recipe, const std::string& programFolder, const std::string& out) {
  const std::string shapeName = FaceShapeName(recipe.Shape);
  if (shapeName.empty()) throw FaceMakerError("unknown face shape " + std::to_string(recipe.Shape));
  PixelRect shown;
  Bitmap photo = PlacePhotograph(recipe, shown);
  const Bitmap shapeTemplate =
      LoadExpertPicture(FaceShapeTemplateFile(programFolder, recipe.Shape), "face-shape template");
  const Bitmap mask = LoadExpertPicture(FaceShapeMaskFile(programFolder, recipe.Shape), "face-shape mask");

  const PixelRect templateBounds{0, 0, shapeTemplate.Width(), shapeTemplate.Height()};

  Bitmap canvas(standard_face::kWidth, standard_face::kHeight);
  canvas.Fill(clWhite);
  CarveAutomatically(photo, shown, templateBounds, mask, canvas);

  const std::string fileName = FaceModelFileName(out);
  if (!WriteFaceModel(canvas, fileName)) throw FaceMakerError("cannot encode the face picture");
  return fileName;
}

}  // namespace glamora
