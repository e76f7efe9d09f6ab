#pragma once
// Grey copies of a picture for finding faces: the full-resolution copy the
// landmarks are placed on, and the small copy the face detector scans.
#include <cstdint>
#include <vector>

#include "imaging/core/Bitmap.h"

namespace glamora {

// One byte per pixel, rows top first, no padding.
struct GreyPicture {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Pixels;

  bool Empty() const { return Width <= 0 || Height <= 0; }
  uint8_t At(int x, int y) const { return Pixels[size_t(y) * size_t(Width) + size_t(x)]; }
};

// Luma (0.299 R + 0.587 G + 0.114 B) of every pixel; palette pictures are
// read through their palette.
GreyPicture GreyOf(const Bitmap& picture);

// The copy the detector scans: pictures longer than `maxSide` are reduced so
// that the longer side is maxSide (each pixel the mean of the area it
// covers); pictures whose longer side is at most maxSide / 2 are doubled, so
// that small faces reach the detector's smallest window; the rest are
// copied. Scale is copy size / picture size: copy pixel x covers
// [x / Scale, (x + 1) / Scale) of the picture, and a point x of the copy lies
// at (x + 0.5) / Scale − 0.5 in it.
struct DetectionCopy {
  GreyPicture Picture;
  double Scale = 1;
};
DetectionCopy MakeDetectionCopy(const GreyPicture& full, int maxSide);

}  // namespace glamora
