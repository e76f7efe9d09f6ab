// Making a face model from a photograph in one call.
#include "experts/core/FaceMaker.h"

#include "experts/core/Carving.h"
#include "experts/core/FaceModelFile.h"
#include "face/StandardFace.h"
#include "imaging/components/ImgIO.h"
#include "imaging/core/Rotate.h"

namespace glamora {

namespace {

// Loads a picture file as the expert's input/output front does; template
// and mask files that cannot be opened throw FileError.
Bitmap LoadPicture(const std::string& path, const char* what) {
  Bitmap picture;
  TImgIO io;
  io.SetBitmap(&picture);
  io.Params.Limits = kPhotographLimits;
  if (!io.LoadFromFile(path) || picture.Empty()) {
    throw FaceMakerError("cannot read " + std::string(what) + " " + path + " (unrecognised format or damaged file)");
  }
  return picture;
}

}  // namespace

std::string MakeFaceModel(const FaceModelRecipe& recipe, const std::string& programFolder, const std::string& out) {
  const std::string shapeName = FaceShapeName(recipe.Shape);
  if (shapeName.empty()) throw FaceMakerError("unknown face shape " + std::to_string(recipe.Shape));
  if (recipe.Rotation < -kMaxRotation || recipe.Rotation > kMaxRotation) {
    throw FaceMakerError("the rotation must lie within -359..359 degrees, not " + std::to_string(recipe.Rotation));
  }
  if (recipe.Place && (recipe.Place->Empty() || !SizeWithinLimits(recipe.Place->Width, recipe.Place->Height))) {
    throw FaceMakerError("the photograph's rectangle must be at least one pixel and at most " +
                         std::to_string(PictureLimits::kMaxSide) + " pixels wide and high");
  }
  Bitmap photo = LoadPicture(recipe.Photograph, "photograph");
  const Bitmap shapeTemplate = LoadPicture(FaceShapeTemplateFile(programFolder, recipe.Shape), "face-shape template");
  const Bitmap mask = LoadPicture(FaceShapeMaskFile(programFolder, recipe.Shape), "face-shape mask");

  // Open leaves the photograph at its own size on the template's corner;
  // rotating changes the bitmap, not the rectangle.
  const PixelRect opened{0, 0, photo.Width(), photo.Height()};
  if (recipe.Rotation != 0 && !Rotate(photo, recipe.Rotation, recipe.Antialias, clWhite)) {
    throw FaceMakerError("the photograph is too large to rotate by " + std::to_string(recipe.Rotation) + " degrees");
  }
  const PixelRect shown = recipe.Place.value_or(opened);
  const PixelRect templateBounds{0, 0, shapeTemplate.Width(), shapeTemplate.Height()};

  Bitmap canvas(standard_face::kWidth, standard_face::kHeight);
  canvas.Fill(clWhite);
  CarveAutomatically(photo, shown, templateBounds, mask, canvas);

  const std::string fileName = FaceModelFileName(out);
  if (!WriteFaceModel(canvas, fileName)) throw FaceMakerError("cannot encode the face picture");
  return fileName;
}

}  // namespace glamora
