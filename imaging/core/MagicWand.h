#pragma once
// The magic wand: the 4-connected region of pixels around a seed whose colour
// lies within a tolerance of the seed's in every channel, found with a span
// fill, optionally grown by one pixel, and its outline as polygon vertices
// (the trace is in SelectionTrace).
#include <cstdint>
#include <vector>

#include "imaging/core/Bitmap.h"
#include "imaging/core/PolygonRegion.h"

namespace glamora {

// A set of pixels of a width × height picture, one bit each, with the
// bounding box of the pixels set.
class RegionMask {
 public:
  RegionMask() = default;
  // An empty set over a width × height picture.
  RegionMask(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // False outside the picture.
  bool Contains(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
    return (Row(y)[size_t(x) >> 6] >> (x & 63)) & 1u;
  }
  // Sets pixels x0 .. x1 (inclusive, inside the picture) of row y.
  void SetSpan(int y, int x0, int x1);

  bool Empty() const { return right_ < left_; }
  // Bounding box of the pixels set, inclusive; Left > Right when empty.
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Right() const { return right_; }
  int Bottom() const { return bottom_; }
  // The leftmost pixel set in row y, or -1.
  int FirstInRow(int y) const;
  int64_t Count() const;

  // Words of 64 pixels, pixel x in bit x % 64 of word x / 64.
  size_t WordsPerRow() const { return words_; }
  uint64_t* Row(int y) { return bits_.data() + size_t(y) * words_; }
  const uint64_t* Row(int y) const { return bits_.data() + size_t(y) * words_; }

 private:
  friend RegionMask GrowRegion(const RegionMask& region);
  int width_ = 0, height_ = 0;
  size_t words_ = 0;
  std::vector<uint64_t> bits_;
  int left_ = 0, top_ = 0, right_ = -1, bottom_ = -1;
};

// The region around (x, y): every pixel 4-connected to the seed through
// pixels whose blue, green and red each differ from the seed's by at most
// `tolerance`. Empty for a seed outside the bitmap or a bitmap that does not
// have 24 bits per pixel.
RegionMask MagicWandRegion(const Bitmap& bitmap, int x, int y, int tolerance);

// The region grown by one pixel in all eight directions, within the picture.
RegionMask GrowRegion(const RegionMask& region);

// The outline of the region around (x, y) (grown first when `grow`) as
// TraceRegionOutline gives it: along pixel edges, so a region reaching the
// right edge has vertices at x = width. Empty when there is no region.
std::vector<Point> MagicWandOutline(const Bitmap& bitmap, int x, int y, int tolerance, bool grow);

// Clamps every point to the pixels of a width × height picture, as a
// selection stores the outline: edges at x = width or y = height then run
// along the last column or row.
void ClampToPixels(std::vector<Point>& points, int width, int height);

}  // namespace glamora
