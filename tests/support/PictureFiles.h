#pragma once
// Picture files for the suites that link the picture front: writing and
// reading them by extension, and comparing colours within what lossy coding
// keeps.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "imaging/components/ImgIO.h"

namespace glamora::test {

// Writes the picture in the format its extension names; a failure fails the test.
inline void SavePicture(Bitmap picture, const std::string& path) {
  TImgIO io;
  io.SetBitmap(&picture);
  EXPECT_TRUE(io.SaveToFile(path)) << path;
}

// Reads a picture file; a failure fails the test and gives an empty picture.
inline Bitmap LoadPicture(const std::string& path) {
  Bitmap picture;
  TImgIO io;
  io.SetBitmap(&picture);
  EXPECT_TRUE(io.LoadFromFile(path)) << path;
  return picture;
}

// Each channel within `tolerance`.
inline bool NearColour(TColor a, TColor b, int tolerance) {
  return std::abs(RedOf(a) - RedOf(b)) <= tolerance && std::abs(GreenOf(a) - GreenOf(b)) <= tolerance &&
         std::abs(BlueOf(a) - BlueOf(b)) <= tolerance;
}

// Every pixel within `tolerance` of white.
inline bool AllWhite(const Bitmap& picture, int tolerance = 0) {
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x)
      if (!NearColour(picture.Pixel(x, y), clWhite, tolerance)) return false;
  return true;
}

}  // namespace glamora::test
