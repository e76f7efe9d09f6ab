#pragma once
// The photo make-over: a look (make-up colours with their opacities, a
// hairstyle with its tint and placement) laid on one face of a photograph at
// the photograph's own resolution.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "hair/HairPicture.h"
#include "hair/Placement.h"
#include "imaging/core/Bitmap.h"
#include "imaging/core/Color.h"
#include "imaging/core/ImgIOParams.h"
#include "landmarks/LandmarkFinder.h"

namespace glamora {

enum class PhotoMakeup { Eyes, Lips, LipLine, Blush, Complexion };
constexpr int kPhotoMakeupKinds = 5;

// The name a kind goes by on the command line ("eyes", "lips", "lipline",
// "blush", "complexion"), and back; nullopt for any other name.
const char* PhotoMakeupName(PhotoMakeup kind);
std::optional<PhotoMakeup> PhotoMakeupNamed(const std::string& name);

// How strongly each kind lies where it lies fully, in percent, at first:
// natural amounts, as make-up is worn (eyes, lips, lip line, blush,
// complexion).
constexpr std::array<int, kPhotoMakeupKinds> kDefaultPhotoOpacity{45, 60, 70, 30, 100};

struct PhotoLook {
  std::optional<TColor> Eyes, Lips, LipLine, Blush;
  int Complexion = 0;  // the complexion slider's position, −20..10
  std::array<int, kPhotoMakeupKinds> Opacity = kDefaultPhotoOpacity;  // percent

  std::string Hair;                               // a catalogue picture; empty for none
  PixelRect HairPlacement = DefaultHairPlacement();  // standard-face pixels
  THairColour HairColour = kDefaultHairColour;

  int& OpacityOf(PhotoMakeup kind) { return Opacity[size_t(kind)]; }
  int OpacityOf(PhotoMakeup kind) const { return Opacity[size_t(kind)]; }
};

// The face a make-over goes on: the largest when `number` is 0, else the
// number-th from the left (1 the leftmost); nullptr when there is no such face.
const FoundFace* ChooseFace(const FaceList& faces, int number);

enum class PhotoMakeoverStatus { Done, HairUnreadable, HairTooLarge };

// Lays the look on the face in the photograph (24-bit): complexion, blush,
// eye colour, lipstick and lip line, then the hair. When the hair cannot be
// read or placed, the make-up is laid and the status says why.
PhotoMakeoverStatus MakeOverPhoto(Bitmap& photo, const FaceLandmarks& face, const PhotoLook& look,
                                  const DecodeLimits& limits);

}  // namespace glamora
