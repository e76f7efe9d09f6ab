#pragma once
// Whether a placed photograph can give a sound face: how much of the face
// shape's area it leaves uncovered and how far its own pixels are enlarged.
// A photograph is tracked through its turns as the outline of the picture
// it was opened as, so that the white corners a turn adds count as
// uncovered and a resampling to the shown size does not hide an enlargement.
#include <array>
#include <string>

#include "imaging/core/Bitmap.h"
#include "imaging/core/PixelRect.h"
#include "landmarks/FaceLandmarks.h"

namespace glamora {

// More of the face area uncovered than this share, or the photograph's
// pixels enlarged more than this, gives a face that is partly blank or blurred.
constexpr double kMaxUncoveredShare = 0.05;
constexpr double kMaxEnlargement = 2.5;

class PhotographOutline {
 public:
  // No photograph.
  PhotographOutline() = default;
  // A photograph as opened: its bitmap is the whole picture.
  PhotographOutline(int width, int height);

  bool Empty() const { return originalWidth_ <= 0 || originalHeight_ <= 0; }
  // The bitmap, width × height now, was turned by `angle` degrees as Rotate
  // turns it. Resampling the bitmap changes nothing here.
  void Turn(int angle, int width, int height);
  // The picture's corners on the panel when the bitmap is shown in `shown`,
  // clockwise from the top-left one.
  std::array<PointF, 4> Corners(const PixelRect& shown) const;
  // How many times the picture's own pixels are enlarged when the bitmap is
  // shown in `shown` (the larger of the two directions).
  double Enlargement(const PixelRect& shown) const;

 private:
  int originalWidth_ = 0;
  int originalHeight_ = 0;
  // The picture's corners in the bitmap, as shares of its width and height.
  std::array<PointF, 4> corners_{};
};

struct PlacementVerdict {
  double UncoveredShare = 0;  // of the mask's face area, 0..1
  double Enlargement = 1;
  bool Sound() const { return UncoveredShare <= kMaxUncoveredShare && Enlargement <= kMaxEnlargement; }
};

// Judges the photograph shown in `shown` under a template in
// templateBounds, the face area being the mask's pixels of its keep colour
// (MaskKeepColour), mask pixel (x, y) lying at the template's corner plus
// (x, y). An empty outline covers nothing.
PlacementVerdict JudgePlacement(const PhotographOutline& outline, const PixelRect& shown,
                                const PixelRect& templateBounds, const Bitmap& mask);

// One line saying what is wrong with an unsound placement, naming the
// uncovered share in whole percent and the enlargement to one decimal;
// empty for a sound one.
std::string PlacementProblem(const PlacementVerdict& verdict);

}  // namespace glamora
