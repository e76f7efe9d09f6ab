#pragma once
// The face expert's road from a photograph to a face model without a window,
// for the command-line companion: open, rotate, place, carve automatically,
// save; or, automatically, fit the photograph by its face's landmarks,
// carve, and save with the eye and lip regions the carved face proposes.
#include <string>

#include "experts/core/FaceShapes.h"
#include "experts/core/PlacedPhotograph.h"

namespace glamora {

// A photograph that cannot be made into a face model; the text is one line.
using FaceMakerError = PhotographError;

struct FaceModelRecipe : PhotographPlacement {
  int Shape = kOvalShape;
  // Fits the photograph to the standard face by its landmarks (the turn
  // and the rectangle, so Place and Rotation stay unset), and writes the
  // regions the carved face's landmarks propose into its header.
  bool Automatic = false;
  // Carves a photograph that leaves much of the face shape uncovered or is
  // enlarged far (PlacementCheck) all the same.
  bool AllowPartial = false;
};

class LandmarkFinder;

// Makes the face model as the face expert does: loads the photograph as its
// Open does, rotates the bitmap as its Rotate does (the rectangle stays),
// shows it in the recipe's rectangle, carves automatically with the shape's
// mask (template and mask from programFolder's "Shapes", both of the
// standard face's size) and saves the result under `out` with its extension
// made ".mff", its header and picture in one step. Returns the path
// written. Nothing is written when anything fails: FaceMakerError for a
// picture that cannot be read, a template or mask of another size, a
// recipe out of range, a rectangle wholly outside the template, a placement
// that JudgePlacement finds unsound (unless AllowPartial), an `out` that
// leaves no name before the extension, or, made automatically, no face
// found (in the photograph or on the carved face) or no finder; FileError
// for a file that cannot be opened or created.
std::string MakeFaceModel(const FaceModelRecipe& recipe, const std::string& programFolder, const std::string& out,
                          LandmarkFinder* finder = nullptr);

}  // namespace glamora
