#pragma once
// The add-hairstyle expert's road from a photograph to a catalogue entry
// without a window, for the command-line companion: open, rotate, place, cut
// under the Oval template, save as the category's next picture.
#include <optional>
#include <stdexcept>
#include <string>

#include "hair/Catalogue.h"
#include "imaging/core/PixelRect.h"

namespace glamora {

// A photograph that cannot be made into a hairstyle; the text is one line.
class HairstyleMakerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct HairstyleRecipe {
  std::string Photograph;
  HairstyleCategory Category = kFirstCategory;
  // The rectangle the photograph is shown in, relative to the template's
  // top-left corner; without it the photograph lies as Open leaves it, its
  // top-left corner on the template's, at its own size.
  std::optional<PixelRect> Place;
  // Degrees, counter-clockwise positive, as the rotation dialog gives them.
  int Rotation = 0;
  bool Antialias = true;
};

// Makes the hairstyle as the expert does: loads the photograph as its Open
// does, rotates the bitmap as its Rotate does (the rectangle stays), shows it
// in the recipe's rectangle and saves what the Oval template (from
// programFolder's "Shapes") covers as the next picture of the category's
// folder under catalogueFolder (trailing separator). Returns the path
// written. Nothing is written when anything fails: HairstyleMakerError for a
// recipe out of range, a missing folder or a picture that cannot be read,
// FileError for a file that cannot be opened or created.
std::string MakeHairstyle(const HairstyleRecipe& recipe, const std::string& programFolder,
                          const std::string& catalogueFolder);

}  // namespace glamora
