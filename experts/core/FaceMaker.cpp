// Making a face model from a photograph in one call.
#include "experts/core/FaceMaker.h"

#include <filesystem>
#include <system_error>

#include "experts/core/Carving.h"
#include "experts/core/FaceModelFile.h"
#include "experts/core/PlacementCheck.h"
#include "face/StandardFace.h"
#include "landmarks/FaceFit.h"
#include "landmarks/LandmarkFinder.h"
#include "model/Makeover.h"
#include "model/ProposedRegions.h"

namespace glamora {

namespace {

// The landmarks of the largest face in the picture; FaceMakerError with the
// finder's line when there are none.
FaceLandmarks FindLandmarks(LandmarkFinder& finder, const Bitmap& picture, const std::string& what) {
  const FaceSearch search = finder.Find(picture);
  switch (search.Result) {
    case FaceSearch::Outcome::Found: return search.Points;
    case FaceSearch::Outcome::NoFace: throw FaceMakerError(what + ": " + search.Message);
    case FaceSearch::Outcome::Unavailable: break;
  }
  throw FaceMakerError(search.Message);
}

// Writes the proposed regions into the header of the face file just
// written, through the make-over's header write-back; a face file that
// cannot take them is removed again, so that nothing is left half made.
void WriteProposedRegions(const std::string& fileName, const FaceLandmarks& points) {
  try {
    Makeover face;
    if (!face.LoadFace(fileName)) throw FaceMakerError("cannot read back the face file " + fileName);
    StoreProposedRegions(face, points);
    face.SaveHeader();
  } catch (...) {
    std::error_code ignored;
    std::filesystem::remove(fileName, ignored);
    throw;
  }
}

}  // namespace

std::string MakeFaceModel(const FaceModelRecipe& given, const std::string& programFolder, const std::string& out,
                          LandmarkFinder* finder) {
  FaceModelRecipe recipe = given;
  if (recipe.Automatic && (recipe.Place || recipe.Rotation != 0)) {
    throw FaceMakerError("a face made automatically is placed and turned by its landmarks, not by a given "
                         "rectangle or rotation");
  }
  if (recipe.Automatic && !finder) throw FaceMakerError("no face finder to make the face automatically");
  const std::string shapeName = FaceShapeName(recipe.Shape);
  if (shapeName.empty()) throw FaceMakerError("unknown face shape " + std::to_string(recipe.Shape));
  CheckPlacement(recipe);
  Bitmap photo = LoadExpertPicture(recipe.Photograph, "photograph");
  const Bitmap shapeTemplate =
      LoadExpertPicture(FaceShapeTemplateFile(programFolder, recipe.Shape), "face-shape template");
  const Bitmap mask = LoadExpertPicture(FaceShapeMaskFile(programFolder, recipe.Shape), "face-shape mask");

  if (recipe.Automatic) {
    const std::optional<FaceFit> fit =
        FitToStandardFace(FindLandmarks(*finder, photo, recipe.Photograph), photo.Width(), photo.Height());
    if (!fit) throw FaceMakerError(recipe.Photograph + ": the face cannot be fitted to the standard face");
    recipe.Rotation = fit->Angle;
    recipe.Place = fit->Picture;
  }

  PhotographOutline outline(photo.Width(), photo.Height());
  outline.Turn(recipe.Rotation, photo.Width(), photo.Height());
  const PixelRect shown = PlaceLoadedPhotograph(recipe, photo);
  const PixelRect templateBounds{0, 0, shapeTemplate.Width(), shapeTemplate.Height()};
  const std::string problem = PlacementProblem(JudgePlacement(outline, shown, templateBounds, mask));
  if (!problem.empty() && !recipe.AllowPartial) {
    throw FaceMakerError(recipe.Photograph + ": " + problem + " (--allow-partial carves it all the same)");
  }

  Bitmap canvas(standard_face::kWidth, standard_face::kHeight);
  canvas.Fill(clWhite);
  CarveAutomatically(photo, shown, templateBounds, mask, canvas);
  // The regions come from the carved face, as the main window proposes them
  // for a face the expert saved.
  FaceLandmarks facePoints{};
  if (recipe.Automatic) facePoints = FindLandmarks(*finder, canvas, "the face carved from " + recipe.Photograph);

  const std::string fileName = FaceModelFileName(out);
  if (!WriteFaceModel(canvas, fileName)) throw FaceMakerError("cannot encode the face picture");
  if (recipe.Automatic) WriteProposedRegions(fileName, facePoints);
  return fileName;
}

}  // namespace glamora
