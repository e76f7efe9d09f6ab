#pragma once
// A fast 24-bit copy of a picture with its rows addressed directly, top row
// first: the region colour shift that colours the eyes and the lips runs on it.
#include <cstdint>
#include <vector>

#include "imaging/core/Bitmap.h"
#include "imaging/core/PolygonRegion.h"

namespace glamora {

class TRgbBuffer {
 public:
  int Gap = 0;      // bytes after each row: Width mod 4
  int RowSize = 0;  // 3 × Width + Gap
  int Size = 0;     // RowSize × Height
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t*> Rows;
  uint8_t* Bits = nullptr;

  static uint8_t ClampByte(int value) { return value > 255 ? 255 : value < 0 ? 0 : uint8_t(value); }

 protected:
  void Describe(int width, int height, uint8_t* bits);
};

class TDibBuffer : public TRgbBuffer {
 public:
  // Copies the bitmap's pixels, converted to 24 bits per pixel.
  explicit TDibBuffer(const Bitmap& bitmap);

  // Copies the whole buffer onto the target with its top left at (x, y),
  // clipped to the target.
  void Draw(Bitmap& target, int x, int y) const;

  // Adds (dr, dg, db) to every pixel inside the region, each channel clamped
  // to 0..255. No region (null) changes nothing.
  void AddColorsInRegion(int dr, int dg, int db, const PolygonRegion* region);

 private:
  std::vector<uint8_t> storage_;
};

}  // namespace glamora
