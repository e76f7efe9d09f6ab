// A look laid on a photographed face: the regions' masks, the make-up in
// order, the hair on top.
#include "photo/PhotoMakeover.h"

#include <algorithm>
#include <array>

#include "face/SoftMask.h"
#include "photo/Complexion.h"
#include "photo/FaceRegions.h"
#include "photo/PhotoHair.h"

namespace glamora {

namespace {

constexpr std::array<const char*, kPhotoMakeupKinds> kNames{"eyes", "lips", "lipline", "blush", "complexion"};

}  // namespace

const char* PhotoMakeupName(PhotoMakeup kind) { return kNames[size_t(kind)]; }

std::optional<PhotoMakeup> PhotoMakeupNamed(const std::string& name) {
  for (size_t i = 0; i < kNames.size(); ++i) {
    if (name == kNames[i]) return PhotoMakeup(i);
  }
  return std::nullopt;
}

const FoundFace* ChooseFace(const FaceList& faces, int number) {
  if (faces.Faces.empty() || number < 0 || number > int(faces.Faces.size())) return nullptr;
  if (number > 0) return &faces.Faces[size_t(number - 1)];
  const auto area = [](const FoundFace& f) { return int64_t(f.Face.Width) * f.Face.Height; };
  return &*std::max_element(faces.Faces.begin(), faces.Faces.end(),
                            [&](const FoundFace& a, const FoundFace& b) { return area(a) < area(b); });
}

PhotoMakeoverStatus MakeOverPhoto(Bitmap& photo, const FaceLandmarks& face, const PhotoLook& look,
                                  const DecodeLimits& limits) {
  const FaceRegionMasks masks = RegionMasks(face, photo);
  LayComplexion(photo, masks.Skin, look.Complexion * look.OpacityOf(PhotoMakeup::Complexion) / 100);
  if (look.Blush) TintUnderMask(photo, masks.Cheeks, *look.Blush, look.OpacityOf(PhotoMakeup::Blush));
  if (look.Eyes) TintUnderMask(photo, masks.Eyes, *look.Eyes, look.OpacityOf(PhotoMakeup::Eyes));
  if (look.Lips) TintUnderMask(photo, masks.Lips, *look.Lips, look.OpacityOf(PhotoMakeup::Lips));
  if (look.LipLine) TintUnderMask(photo, masks.LipLine, *look.LipLine, look.OpacityOf(PhotoMakeup::LipLine));
  if (look.Hair.empty()) return PhotoMakeoverStatus::Done;

  const Similarity onto = StandardFaceOnto(face);
  HairLayer hair;
  if (!LoadHairLayer(look.Hair, onto.Scale(), hair, limits)) return PhotoMakeoverStatus::HairUnreadable;
  if (!LayHair(photo, hair, look.HairPlacement, onto, look.HairColour, masks.Skin)) {
    return PhotoMakeoverStatus::HairTooLarge;
  }
  return PhotoMakeoverStatus::Done;
}

}  // namespace glamora
