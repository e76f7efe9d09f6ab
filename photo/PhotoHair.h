#pragma once
// A catalogue hairstyle laid on a photograph: the catalogue is drawn for the
// standard face, so the hair goes where a similarity (scale, rotation,
// shift) takes the standard face's eyes and mouth onto the photographed
// face's, inside the placement the user chose in standard-face pixels.
// The hair carries a soft coverage: its light background is keyed out
// softly, its edges are anti-aliased, and a faint shadow falls where the
// hairline meets the skin.
#include <string>

#include "face/SoftMask.h"
#include "hair/HairPicture.h"
#include "imaging/core/Bitmap.h"
#include "imaging/core/ImgIOParams.h"
#include "imaging/core/PixelRect.h"
#include "landmarks/FaceLandmarks.h"

namespace glamora {

// p = [A −B; B A] q + (Tx, Ty): a turn and a uniform scale, then a shift.
struct Similarity {
  double A = 1, B = 0, Tx = 0, Ty = 0;
  PointF Map(PointF q) const { return {A * q.X - B * q.Y + Tx, B * q.X + A * q.Y + Ty}; }
  PointF Unmap(PointF p) const;
  double Scale() const;
};

// The least-squares similarity from the standard face's eye centres and
// mouth centre to those of the landmarks.
Similarity StandardFaceOnto(const FaceLandmarks& points);

// A hairstyle's picture over white and how much of each pixel is hair.
struct HairLayer {
  Bitmap OnWhite;  // 24-bit: hair colour c shows as 255 − a (255 − c)
  Bitmap Alpha;    // 8-bit, same size, 0 see-through .. 255 hair
  bool Empty() const { return OnWhite.Empty(); }
};

// The coverage of a hairstyle drawn on white (a catalogue picture): each
// pixel's darkness against white over the darkness of the hair about it, so
// that edges and thin strands mixed with white become part hair instead of
// keeping a light fringe; near-white noise counts as background.
Bitmap KeyHairOnWhite(const Bitmap& onWhite);

// The hairstyle for a face shown `facePixels` photograph pixels per
// standard-face pixel: its large companion when there is one and the face is
// larger than the catalogue draws it, else the catalogue picture keyed.
// False, leaving `layer` alone, when neither can be read.
bool LoadHairLayer(const std::string& cataloguePicture, double facePixels, HairLayer& layer,
                   const DecodeLimits& limits);

// Lays the hair, tinted by adding `tint` to its colour, inside `placement`
// (standard-face pixels) on the face that `onto` places. Where `skin` is
// strong, a faint shadow falls just below the hair's edge. False, changing
// nothing, when the hair would have to be enlarged beyond the picture limits.
bool LayHair(Bitmap& photo, const HairLayer& hair, const PixelRect& placement, const Similarity& onto,
             THairColour tint, const SoftMask& skin);

}  // namespace glamora
