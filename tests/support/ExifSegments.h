#pragma once
// EXIF blocks made byte by byte, and JPEG files that carry them in an APP1
// segment, for the tests of photographs' orientation.
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/core/Bitmap.h"
#include "imaging/core/Orientation.h"
#include "tests/support/PictureFiles.h"
#include "tests/support/TestSupport.h"

namespace glamora::test {

// An EXIF block ("Exif", two zeros, then a TIFF structure) whose first IFD
// holds only the Orientation field, a SHORT, in the byte order asked for.
inline std::vector<uint8_t> ExifOrientationBlock(int orientation, bool bigEndian = false) {
  std::vector<uint8_t> b = {'E', 'x', 'i', 'f', 0, 0};
  const auto put16 = [&](unsigned v) {
    if (bigEndian) b.insert(b.end(), {uint8_t(v >> 8), uint8_t(v)});
    else b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8)});
  };
  const auto put32 = [&](uint32_t v) {
    if (bigEndian) b.insert(b.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
    else b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
  };
  b.push_back(bigEndian ? 'M' : 'I');
  b.push_back(bigEndian ? 'M' : 'I');
  put16(42);
  put32(8);       // the first IFD follows the header
  put16(1);       // one field
  put16(0x0112);  // Orientation
  put16(3);       // SHORT
  put32(1);
  put16(unsigned(orientation));
  put16(0);
  put32(0);       // no further IFD
  return b;
}

// The JPEG file with `block` as an APP1 segment right after its start marker.
inline std::vector<uint8_t> WithApp1(std::vector<uint8_t> jpeg, const std::vector<uint8_t>& block) {
  const size_t length = block.size() + 2;
  std::vector<uint8_t> segment = {0xFF, 0xE1, uint8_t(length >> 8), uint8_t(length)};
  segment.insert(segment.end(), block.begin(), block.end());
  jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
  return jpeg;
}

// Writes `upright` as a camera would store it for that orientation, at a
// camera's quality: the pixels turned the other way, the EXIF block telling
// how to turn them back.
inline void SavePhotograph(const Bitmap& upright, int orientation, const std::string& path) {
  Bitmap stored = Oriented(upright, InverseOrientation(orientation));
  TImgIO io;
  io.SetBitmap(&stored);
  io.Params.JpegQuality = 95;
  ASSERT_TRUE(io.SaveToFile(path)) << path;
  WriteAll(path, WithApp1(ReadAll(path), ExifOrientationBlock(orientation)));
}

}  // namespace glamora::test
