// Leaving the face see-through in a hairstyle and whitening its background.
#include "experts/core/HairstyleFace.h"

#include <algorithm>
#include <cstring>

#include "codecs/Codec.h"
#include "experts/core/Carving.h"
#include "imaging/core/MagicWand.h"

namespace glamora {

bool FaceSeen(const FaceSearch& search) {
  return search.Result == FaceSearch::Outcome::Found || search.FacesSeen > 0;
}

void ClearFaceArea(Bitmap& picture, const Bitmap& mask) {
  if (picture.Empty() || mask.Empty()) return;
  if (picture.Format() != PixelFormat::Bits24) picture.ConvertTo24();
  Bitmap expanded;
  const Bitmap* face = &codec::Pixels24(mask, expanded);
  const TColor keep = MaskKeepColour(*face);
  const uint8_t keepBlue = BlueOf(keep), keepGreen = GreenOf(keep), keepRed = RedOf(keep);
  const int width = std::min(face->Width(), picture.Width());
  const int height = std::min(face->Height(), picture.Height());
  for (int y = 0; y < height; ++y) {
    const uint8_t* m = face->Row(y);
    uint8_t* p = picture.Row(y);
    for (int x = 0; x < width; ++x, m += 3, p += 3) {
      if (m[0] == keepBlue && m[1] == keepGreen && m[2] == keepRed) std::memset(p, 255, 3);
    }
  }
}

bool WhitenBackground(Bitmap& photo, int x, int y, int tolerance) {
  const RegionMask region = MagicWandRegion(photo, x, y, std::clamp(tolerance, 0, 255));
  if (region.Empty()) return false;
  for (int row = region.Top(); row <= region.Bottom(); ++row) {
    uint8_t* p = photo.Row(row);
    for (int column = region.Left(); column <= region.Right(); ++column) {
      if (region.Contains(column, row)) std::memset(p + size_t(column) * 3, 255, 3);
    }
  }
  return true;
}

}  // namespace glamora
