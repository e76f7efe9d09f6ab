#pragma once
// A hairstyle as it goes on the face: read from its catalogue file, its light
// background whitened into the see-through colour, and tinted by adding the
// hair colour to every channel. The whitened picture is kept untinted, so
// every tint starts from it and tints never add up.
#include <cstdint>
#include <string>

#include "imaging/core/Bitmap.h"
#include "imaging/core/ImgIOParams.h"

namespace glamora {

// Offsets added to the hair's red, green and blue channels: black leaves the
// hair as whitened, white would turn it white.
struct THairColour {
  uint8_t Red = 0;
  uint8_t Green = 0;
  uint8_t Blue = 0;
  friend bool operator==(const THairColour&, const THairColour&) = default;
};

// The colour every run starts with and the colour reset brings back: it
// warms grey hair towards brown.
constexpr THairColour kDefaultHairColour{60, 40, 20};

enum class THairLoad {
  Loaded,
  NoFile,      // no file of that name
  Refused,     // an extension other than .bmp, .jpg, .tif (and .tiff)
  Unreadable,  // the decoder could not read it; the previous hair stays
};

// The name as a full path, a relative one taken against the current working
// folder, "." and ".." resolved; the empty name stays empty.
std::string FullHairPath(const std::string& name);

// Whether a hairstyle file of this name is loaded: its extension with the
// dot, lower-cased and cut to four characters, is ".bmp", ".jpg" or ".tif".
bool AcceptedHairExtension(const std::string& fileName);

// Reads a hairstyle file (a full path) into `untinted`: every channel above
// 180 becomes 255, the colour of pixel (5, 5) (or the nearest one of a
// smaller picture) becomes the see-through colour, and the picture is marked
// see-through. A missing file, a refused extension or an unreadable picture
// (one beyond `limits` included) leaves `untinted` as it was. Pictures that
// are not 24-bit are kept as they were read. A file that cannot be opened
// throws FileError.
THairLoad ReadHairstyle(const std::string& fileName, Bitmap& untinted, const DecodeLimits& limits);

// The untinted hair with the colour added to each channel (clamped to 255),
// its see-through colour kept as it was; a picture that is not 24-bit is
// copied as it is.
void TintHair(const Bitmap& untinted, THairColour colour, Bitmap& hair);

}  // namespace glamora
