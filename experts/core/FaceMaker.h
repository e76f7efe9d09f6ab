#pragma once
// The face expert's road from a photograph to a face model without a window,
// for the command-line companion: open, rotate, place, carve automatically,
// save; or, automatically, fit the photograph by its face's landmarks,
// carve, and save with the eye and lip regions the carved face proposes.
#include <optional>
#include <stdexcept>
#include <string>

#include "experts/core/FaceShapes.h"
#include "imaging/core/ImgIOParams.h"
#include "imaging/core/PixelRect.h"

namespace glamora {

// A photograph that cannot be made into a face model; the text is one line.
class FaceMakerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct FaceModelRecipe {
  std::string Photograph;
  int Shape = kOvalShape;
  // The rectangle the photograph is shown in, relative to the template's
  // top-left corner; without it the photograph lies as Open leaves it, its
  // top-left corner on the template's, at its own size.
  std::optional<PixelRect> Place;
  // Degrees, counter-clockwise positive, as the rotation dialog gives them.
  int Rotation = 0;
  bool Antialias = true;
  // Fits the photograph to the standard face by its landmarks (the turn
  // and the rectangle, so Place and Rotation stay unset), and writes the
  // regions the carved face's landmarks propose into its header.
  bool Automatic = false;
};

class LandmarkFinder;

// The largest photograph the experts open: 64 megapixels, more than any
// camera of the day gives, so that a file declaring more is refused at once.
inline constexpr DecodeLimits kPhotographLimits{PictureLimits::kMaxSide, 64'000'000};

// The largest rotation the rotation dialog offers either way.
constexpr int kMaxRotation = 359;

// Makes the face model as the face expert does: loads the photograph as its
// Open does, rotates the bitmap as its Rotate does (the rectangle stays),
// shows it in the recipe's rectangle, carves automatically with the shape's
// mask (template and mask from programFolder's "Shapes") and saves the
// result under `out` with its extension made ".mff". Returns the path
// written. Nothing is written when anything fails: FaceMakerError for a
// picture that cannot be read, a recipe out of range, or, made
// automatically, no face found (in the photograph or on the carved face) or
// no finder; FileError for a file that cannot be opened or created.
std::string MakeFaceModel(const FaceModelRecipe& recipe, const std::string& programFolder, const std::string& out,
                          LandmarkFinder* finder = nullptr);

}  // namespace glamora
