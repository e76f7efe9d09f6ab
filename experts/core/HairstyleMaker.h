#pragma once
// The add-hairstyle expert's road from a photograph to a catalogue entry
// without a window, for the command-line companion: open, rotate, place, cut
// under the Oval template, save as the category's next picture.
#include <string>

#include "experts/core/PlacedPhotograph.h"
#include "hair/Catalogue.h"

namespace glamora {

struct HairstyleRecipe : PhotographPlacement {
  HairstyleCategory Category = kFirstCategory;
  // Fits the photograph by its face as Fit automatically does (so Place
  // and Rotation stay unset), and leaves the Oval shape's face area white
  // when a face lies under the template. A photograph without a face is cut
  // as it lies.
  bool Automatic = false;
};

class LandmarkFinder;

// Makes the hairstyle as the expert does: loads the photograph as its Open
// does, rotates the bitmap as its Rotate does (the rectangle stays), shows it
// in the recipe's rectangle and saves what the Oval template (from
// programFolder's "Shapes") covers as the next picture of the category's
// folder under catalogueFolder (trailing separator). Returns the path
// written. Nothing is written when anything fails: PhotographError for a
// recipe out of range, a rectangle wholly outside the template, a missing
// folder, a picture that cannot be read, a template of another size than the
// standard face's or, made automatically, no finder; FileError for a file
// that cannot be opened or created.
std::string MakeHairstyle(const HairstyleRecipe& recipe, const std::string& programFolder,
                          const std::string& catalogueFolder, LandmarkFinder* finder = nullptr);

}  // namespace glamora
