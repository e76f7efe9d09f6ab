// Making the shipped model face: cropping and scaling the portrait, and the
// outlines of its eyes and lips.
#include "tools/generators/modelface/ModelFace.h"

#include <algorithm>
#include <cstring>

#include "face/StandardFace.h"
#include "imaging/core/PixelRect.h"
#include "imaging/core/Resample.h"

namespace glamora::modelface {

namespace sf = glamora::standard_face;

namespace {

// The crop, in pixels of the 512 × 512 portrait. Measured on the portrait
// (pixel centres): pupils at (203, 101) and (246, 103), middle of the mouth at
// (222.5, 146), chin at (221.5, 178). The face is shorter from eyes to chin
// than the standard face for its eye distance, so the crop is scaled by
// 228/175 = 1.303 across and 314/224 = 1.402 down: the pupils land at
// (86, 150) and (142, 153), the mouth at (111, 213) and the chin at
// (110, 258), within a few pixels of the standard geometry (the head is
// turned a little to its left), while the face keeps its look: it is 7.6 %
// taller than a uniform scale would make it.
constexpr int kCropLeft = 137;
constexpr int kCropWidth = 175;
constexpr int kCropHeight = 224;
// The eyes sit close to the top of the portrait, so the crop starts 6 rows
// above it; those rows repeat the portrait's top row, plain backdrop.
constexpr int kCropTop = -6;

// Outlines in picture coordinates, placed on the scaled picture. Colouring
// shifts every pixel of a region, so each region is a ring: the outer loop
// runs around what make-up covers, then the outline steps in along a short
// bridge and runs around what it must leave alone, and steps back out along
// the same bridge. Under the even-odd rule the inner loop is a hole and the
// bridge, drawn twice, adds nothing.
//
// Eyes: the outer loop runs from the outer corner up over the lid to just
// under the brow and back along a narrow band below the lower lashes; the
// hole is the open eye (whites and iris), so eye colour lands on the lids
// and lashes, not on the eyeball.
const std::vector<FacePoint> kLeftEye = {
    // outer loop, from beside the outer corner of the eye
    {66, 151}, {67, 146}, {71, 141}, {78, 138}, {86, 138}, {93, 140}, {99, 142}, {103, 147}, {104, 151},
    {101, 154}, {95, 156}, {87, 156}, {79, 156}, {72, 154}, {66, 151},
    // the open eye, from its outer corner
    {71, 151}, {74, 148}, {78, 145}, {85, 144}, {92, 145}, {97, 147}, {100, 151}, {96, 153}, {90, 154},
    {84, 154}, {78, 153}, {71, 151},
};

const std::vector<FacePoint> kRightEye = {
    // outer loop, from beside the inner corner of the eye
    {123, 154}, {124, 149}, {128, 145}, {135, 143}, {143, 142}, {151, 143}, {158, 145}, {162, 149},
    {163, 154}, {160, 157}, {153, 159}, {144, 159}, {135, 159}, {127, 157}, {123, 154},
    // the open eye, from its inner corner
    {128, 154}, {131, 151}, {135, 149}, {141, 147}, {147, 147}, {152, 149}, {156, 151}, {159, 154},
    {155, 156}, {149, 157}, {142, 157}, {135, 156}, {128, 154},
};

// Lips: the outer edge of both lips, with the teeth of the smile as the hole.
const std::vector<FacePoint> kLips = {
    // outer edge, from the left corner of the mouth over the upper lip
    {84, 205}, {90, 203}, {98, 203}, {106, 203}, {114, 204}, {122, 203}, {130, 203}, {136, 204}, {139, 206},
    {134, 212}, {127, 218}, {118, 222}, {108, 222}, {99, 220}, {92, 215}, {87, 209}, {84, 205},
    // the teeth, from their left end
    {88, 206}, {97, 208}, {107, 208}, {117, 208}, {127, 208}, {133, 208}, {127, 213}, {117, 216}, {106, 216},
    {97, 214}, {92, 211}, {88, 206},
};

FaceRegion RegionOf(const std::vector<FacePoint>& outline) {
  FaceRegion region;
  region.Valid = 1;
  region.Count = int32_t(outline.size());
  std::copy(outline.begin(), outline.end(), region.Points.begin());
  return region;
}

}  // namespace

bool MakePicture(const Bitmap& portrait, Bitmap& face) {
  const int padding = -kCropTop;
  if (portrait.Format() != PixelFormat::Bits24 || portrait.Width() < kCropLeft + kCropWidth ||
      portrait.Height() < kCropTop + kCropHeight) {
    return false;
  }
  Bitmap padded(portrait.Width(), portrait.Height() + padding);
  for (int y = 0; y < padded.Height(); ++y) {
    std::memcpy(padded.Row(y), portrait.Row(std::max(0, y - padding)), size_t(portrait.Width()) * 3);
  }
  const PixelRect crop{kCropLeft, kCropTop + padding, kCropWidth, kCropHeight};
  return ResampleFiltered(padded, crop, face, sf::kWidth, sf::kHeight, rfLanczos3);
}

const std::vector<FacePoint>& RegionOutline(int region) {
  switch (region) {
    case FaceHeader::kLeftEye: return kLeftEye;
    case FaceHeader::kRightEye: return kRightEye;
    default: return kLips;
  }
}

FaceHeader MakeHeader() {
  FaceHeader header;
  for (int region : {FaceHeader::kLeftEye, FaceHeader::kRightEye, FaceHeader::kLips}) {
    header.Region(region) = RegionOf(RegionOutline(region));
  }
  return header;
}

}  // namespace glamora::modelface
