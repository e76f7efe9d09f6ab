#pragma once
// The large hairstyles: each catalogue picture's companion at four times its
// size with an alpha channel, in a folder beside its category named after it
// with "Large" ("Short" -> "ShortLarge"), as "NNN.png".
#include <string>

#include "imaging/core/Bitmap.h"
#include "imaging/core/ImgIOParams.h"

namespace glamora {

// The large companion of a catalogue picture ("<folder>/Short/004.jpg" -> "<folder>/ShortLarge/004.png"),
// empty when the picture is not in a category folder.
std::string LargeHairstylePath(const std::string& cataloguePicture);

struct HairWithAlpha {
  Bitmap Colour;  // 24-bit, the hair's own colour (straight, not mixed with any background)
  Bitmap Alpha;   // 8-bit, 0 see-through .. 255 hair; the same size as Colour
};

// Reads a large hairstyle; false (leaving `hair` as it was) when missing, unreadable or beyond limits.
bool ReadLargeHairstyle(const std::string& fileName, HairWithAlpha& hair, const DecodeLimits& limits);

}  // namespace glamora
