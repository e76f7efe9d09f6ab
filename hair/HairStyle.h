#pragma once
// Putting a hairstyle on the face: loading a hairstyle picture into the hair
// picture control, whitening its background into the see-through colour,
// tinting it with the hair colour, and composing face and hair into one
// picture exactly as the screen shows them.
#include <QRect>
#include <cstdint>
#include <string>

#include "imaging/core/Bitmap.h"

class QWidget;

namespace glamora {

class TFrameBox;
class TImage;
class TImgIO;
class TImgProc;
class TImgView;

// Offsets added to the hair's red, green and blue channels: the default warms
// grey hair towards brown, black leaves the hair as whitened.
struct THairColour {
  uint8_t Red = 60;
  uint8_t Green = 40;
  uint8_t Blue = 20;
  friend bool operator==(const THairColour&, const THairColour&) = default;
};

// The hair picture control with the components attached to it and the frame
// box that places it.
struct THairPicture {
  TImage& Image;
  TImgProc& Proc;  // attached to Image
  TImgIO& IO;      // attached to Image
  TFrameBox& FrameBox;
};

enum class THairLoad {
  Loaded,
  NoFile,      // no file of that name
  Refused,     // an extension other than .bmp, .jpg, .tif (and .tiff)
  Unreadable,  // the decoder could not read it; the previous hair stays
};

// The name as a full path, a relative one taken against the current working
// folder; the empty name stays empty.
std::string FullHairPath(const std::string& name);

// Whether a hairstyle file of this name is loaded: its extension with the
// dot, lower-cased and cut to four characters, is ".bmp", ".jpg" or ".tif".
bool AcceptedHairExtension(const std::string& fileName);

// Loads the hairstyle file into the hair picture: whitens every channel
// above 180 to 255, takes the colour of pixel (5, 5) as the see-through
// colour, tints with `colour` (the whitened picture stays the undo copy) and
// lets the frame adopt the picture at its current bounds. `hairFileName`
// receives the full path in every case. A missing file, a refused extension
// or an unreadable picture leaves the previous hair as it was. Pictures that
// are not 24-bit are shown without whitening and tinting. A file that cannot
// be opened throws FileError.
THairLoad LoadHairstyle(const THairPicture& hair, const std::string& fileName, THairColour colour,
                        std::string& hairFileName);

// Tints the hair anew from its untinted copy, so tints never accumulate.
void TintHair(TImgProc& proc, THairColour colour);

// Where the hair control lies relative to the face picture's top-left pixel
// in the canvas at 100 %: the rectangle the hair is stretched into.
QRect HairBoundsOnPicture(const TImgView& canvas, const QWidget& hairImage);

// A copy of the face picture (24-bit) with the hair drawn over it as the hair
// control shows it: stretched by nearest pixel into `hairBounds` (relative
// to the face picture's top-left pixel), leaving out pixels of the hair's
// see-through colour when its Transparent flag is set, clipped to the face.
Bitmap ComposeResult(const Bitmap& face, const Bitmap& hair, const QRect& hairBounds);

}  // namespace glamora
