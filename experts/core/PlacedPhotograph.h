#pragma once
// The photograph as an expert's Open, Rotate and placement frame leave it,
// for the makers that work without a window: where it is shown relative to
// the template's top-left corner, its turn, and the checks both makers make.
#include <optional>
#include <stdexcept>
#include <string>

#include "imaging/core/Bitmap.h"
#include "imaging/core/ImgIOParams.h"
#include "imaging/core/PixelRect.h"

namespace glamora {

// A photograph or recipe that cannot be made into a face model or a
// hairstyle; the text is one line.
class PhotographError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The largest photograph the experts open: 64 megapixels, more than any
// camera of the day gives, so that a file declaring more is refused at once.
inline constexpr DecodeLimits kPhotographLimits{PictureLimits::kMaxSide, 64'000'000};

// The largest rotation the rotation dialog offers either way.
constexpr int kMaxRotation = 359;

struct PhotographPlacement {
  std::string Photograph;
  // The rectangle the photograph is shown in, relative to the template's
  // top-left corner; without it the photograph lies as Open leaves it, its
  // top-left corner on the template's, at its own size.
  std::optional<PixelRect> Place;
  // Degrees, counter-clockwise positive, as the rotation dialog gives them.
  int Rotation = 0;
  bool Antialias = true;
};

// Where Open shows a width × height photograph on a drawing panel of
// paneWidth × paneHeight: at its own size with its top-left corner on the
// template's; a photograph larger than the panel is reduced, proportions
// kept, until it fits the panel, and centred on the template as far as the
// panel allows.
PixelRect OpenedPhotographBounds(int width, int height, int paneWidth, int paneHeight,
                                 const PixelRect& templateBounds);

// Throws PhotographError when the rotation or the rectangle is out of range.
void CheckPlacement(const PhotographPlacement& placement);

// Loads a picture file as the experts' Open does; `what` names it in the
// PhotographError thrown when it cannot be read ("photograph",
// "face-shape template"). FileError when it cannot be opened.
Bitmap LoadExpertPicture(const std::string& path, const char* what);

// "cannot read <what> <path> (unrecognised format or damaged file)".
std::string DamagedPictureMessage(const std::string& path, const char* what);

// Throws PhotographError when the rectangle the photograph is shown in
// lies wholly outside the template's, where it would give a blank picture.
void CheckPhotographMeetsTemplate(const PixelRect& shown, const PixelRect& templateBounds);

// The photograph loaded and turned as Rotate turns it (the rectangle stays),
// with `shown` the rectangle it is shown in. Throws as the two above.
Bitmap PlacePhotograph(const PhotographPlacement& placement, PixelRect& shown);

// The same for a photograph already loaded: checks the placement, turns
// `photo` in place and returns the rectangle it is shown in.
PixelRect PlaceLoadedPhotograph(const PhotographPlacement& placement, Bitmap& photo);

}  // namespace glamora
