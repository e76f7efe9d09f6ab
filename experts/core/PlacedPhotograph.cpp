// Loading, checking and turning the photograph for the makers.
#include "experts/core/PlacedPhotograph.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "imaging/components/ImgIO.h"
#include "imaging/core/Rotate.h"

namespace glamora {

PixelRect OpenedPhotographBounds(int width, int height, int paneWidth, int paneHeight,
                                 const PixelRect& templateBounds) {
  const PixelRect ownSize{templateBounds.Left, templateBounds.Top, width, height};
  if (width <= 0 || height <= 0 || paneWidth <= 0 || paneHeight <= 0) return ownSize;
  if (width <= paneWidth && height <= paneHeight) return ownSize;
  const double scale = std::min(double(paneWidth) / width, double(paneHeight) / height);
  // Rounded down, so that the reduced picture never passes the panel's edge.
  const int shownWidth = std::clamp(int(std::floor(width * scale + 1e-9)), 1, paneWidth);
  const int shownHeight = std::clamp(int(std::floor(height * scale + 1e-9)), 1, paneHeight);
  const int centreX = templateBounds.Left + templateBounds.Width / 2;
  const int centreY = templateBounds.Top + templateBounds.Height / 2;
  return {std::clamp(centreX - shownWidth / 2, 0, paneWidth - shownWidth),
          std::clamp(centreY - shownHeight / 2, 0, paneHeight - shownHeight), shownWidth, shownHeight};
}

void CheckPlacement(const PhotographPlacement& placement) {
  if (placement.Rotation < -kMaxRotation || placement.Rotation > kMaxRotation) {
    throw PhotographError("the rotation must lie within -359..359 degrees, not " +
                          std::to_string(placement.Rotation));
  }
  const std::optional<PixelRect>& place = placement.Place;
  if (place && (place->Empty() || !SizeWithinLimits(place->Width, place->Height))) {
    throw PhotographError("the photograph's rectangle must be at least one pixel and at most " +
                          std::to_string(PictureLimits::kMaxSide) + " pixels wide and high");
  }
}

Bitmap LoadExpertPicture(const std::string& path, const char* what) {
  Bitmap picture;
  TImgIO io;
  io.SetBitmap(&picture);
  io.Params.Limits = kPhotographLimits;
  if (!io.LoadFromFile(path) || picture.Empty()) {
    throw PhotographError(DamagedPictureMessage(path, what));
  }
  return picture;
}

std::string DamagedPictureMessage(const std::string& path, const char* what) {
  return "cannot read " + std::string(what) + " " + path + " (unrecognised format or damaged file)";
}

void CheckPhotographMeetsTemplate(const PixelRect& shown, const PixelRect& templateBounds) {
  // In 64 bits: a rectangle placed near the ends of the int range overflows.
  const auto overlaps = [](int64_t start, int64_t length, int64_t otherStart, int64_t otherLength) {
    return start < otherStart + otherLength && otherStart < start + length;
  };
  if (!overlaps(shown.Left, shown.Width, templateBounds.Left, templateBounds.Width) ||
      !overlaps(shown.Top, shown.Height, templateBounds.Top, templateBounds.Height)) {
    throw PhotographError("the photograph's rectangle lies wholly outside the template");
  }
}

Bitmap PlacePhotograph(const PhotographPlacement& placement, PixelRect& shown) {
  CheckPlacement(placement);
  Bitmap photo = LoadExpertPicture(placement.Photograph, "photograph");
  shown = PlaceLoadedPhotograph(placement, photo);
  return photo;
}

PixelRect PlaceLoadedPhotograph(const PhotographPlacement& placement, Bitmap& photo) {
  CheckPlacement(placement);
  const PixelRect shown = placement.Place.value_or(PixelRect{0, 0, photo.Width(), photo.Height()});
  if (placement.Rotation != 0 && !Rotate(photo, placement.Rotation, placement.Antialias, clWhite)) {
    throw PhotographError("the photograph is too large to rotate by " + std::to_string(placement.Rotation) +
                          " degrees");
  }
  return shown;
}

}  // namespace glamora
