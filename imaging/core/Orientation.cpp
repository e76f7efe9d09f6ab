// Turning a stored photograph upright: row copies and mirrors for the
// orientations that keep the size, tiled transposition for those that swap it.
#include "imaging/core/Orientation.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "imaging/core/ReplacePicture.h"

namespace glamora {

namespace {

// Where the upright pixel (x, y) lies in the stored W × H picture. Without
// Swap: sx = x, sy = y; with Swap: sx = y, sy = x; each then mirrored
// (W − 1 − sx, H − 1 − sy) where its flag says.
struct Mapping {
  bool Swap;
  bool MirrorX;
  bool MirrorY;
};

constexpr Mapping MappingOf(int orientation) {
  constexpr Mapping kMappings[9] = {
      {false, false, false},                                                      // unused
      {false, false, false}, {false, true, false}, {false, true, true},  {false, false, true},   // 1..4
      {true, false, false},  {true, false, true},  {true, true, true},   {true, true, false},   // 5..8
  };
  return kMappings[ValidOrientation(orientation)];
}

inline unsigned IndexAt(const uint8_t* row, PixelFormat format, int x) {
  return format == PixelFormat::Bits8 ? row[x] : (row[x >> 3] >> (7 - (x & 7))) & 1u;
}

inline void SetIndex(uint8_t* row, PixelFormat format, int x, unsigned index) {
  if (format == PixelFormat::Bits8) {
    row[x] = uint8_t(index);
    return;
  }
  const uint8_t mask = uint8_t(0x80u >> (x & 7));
  row[x >> 3] = index ? uint8_t(row[x >> 3] | mask) : uint8_t(row[x >> 3] & ~mask);
}

// Palette pictures are small or rare among photographs: pixel by pixel.
void OrientIndices(const Bitmap& src, const Mapping& m, Bitmap& dst) {
  const int w = src.Width(), h = src.Height();
  for (int y = 0; y < dst.Height(); ++y) {
    uint8_t* out = dst.Row(y);
    for (int x = 0; x < dst.Width(); ++x) {
      int sx = m.Swap ? y : x, sy = m.Swap ? x : y;
      if (m.MirrorX) sx = w - 1 - sx;
      if (m.MirrorY) sy = h - 1 - sy;
      SetIndex(out, dst.Format(), x, IndexAt(src.Row(sy), src.Format(), sx));
    }
  }
}

// Reverses the order of the 24-bit pixels of a row.
void MirrorRow(uint8_t* row, int width) {
  for (uint8_t *left = row, *right = row + 3 * size_t(width - 1); left < right; left += 3, right -= 3) {
    std::swap_ranges(left, left + 3, right);
  }
}

// Copies a 24-bit row, reversed when `mirror`.
void CopyRow(const uint8_t* in, uint8_t* out, int width, bool mirror) {
  if (!mirror) {
    std::memcpy(out, in, 3 * size_t(width));
    return;
  }
  const uint8_t* from = in + 3 * size_t(width - 1);
  for (int x = 0; x < width; ++x, out += 3, from -= 3) std::memcpy(out, from, 3);
}

// Upright column x is stored row sy(x), upright row y stored column sx(y):
// each upright row gathers one stored column. Square tiles keep the stored
// rows a tile reads in cache while the upright rows are written.
void Transpose24(const Bitmap& src, const Mapping& m, Bitmap& dst) {
  const int w = src.Width(), h = src.Height();
  std::vector<const uint8_t*> storedRowOfColumn(size_t(dst.Width()));
  for (int x = 0; x < dst.Width(); ++x) storedRowOfColumn[size_t(x)] = src.Row(m.MirrorY ? h - 1 - x : x);
  constexpr int kTile = 64;
  for (int ty = 0; ty < dst.Height(); ty += kTile) {
    const int yEnd = std::min(dst.Height(), ty + kTile);
    for (int tx = 0; tx < dst.Width(); tx += kTile) {
      const int xEnd = std::min(dst.Width(), tx + kTile);
      const uint8_t* const* rows = storedRowOfColumn.data();
      for (int y = ty; y < yEnd; ++y) {
        const size_t column = 3 * size_t(m.MirrorX ? w - 1 - y : y);
        uint8_t* out = dst.Row(y) + 3 * size_t(tx);
        for (int x = tx; x < xEnd; ++x, out += 3) std::memcpy(out, rows[x] + column, 3);
      }
    }
  }
}

}  // namespace

Bitmap Oriented(const Bitmap& stored, int orientation) {
  const Mapping m = MappingOf(orientation);
  const int w = stored.Width(), h = stored.Height();
  if (stored.Empty()) return Bitmap{};
  Bitmap upright(m.Swap ? h : w, m.Swap ? w : h, stored.Format());
  upright.Palette() = stored.Palette();
  if (stored.Format() != PixelFormat::Bits24) {
    if (stored.Format() == PixelFormat::Bits1) {
      // Bits of a 1-bit row are set one by one: start from zeros.
      for (int y = 0; y < upright.Height(); ++y) std::memset(upright.Row(y), 0, upright.Stride());
    }
    OrientIndices(stored, m, upright);
  } else if (m.Swap) {
    Transpose24(stored, m, upright);
  } else {
    for (int y = 0; y < h; ++y) CopyRow(stored.Row(m.MirrorY ? h - 1 - y : y), upright.Row(y), w, m.MirrorX);
  }
  return upright;
}

void TurnUpright(Bitmap& picture, int orientation) {
  const Mapping m = MappingOf(orientation);
  if (picture.Empty() || (!m.Swap && !m.MirrorX && !m.MirrorY)) return;
  if (m.Swap || picture.Format() != PixelFormat::Bits24) {
    ReplacePicture(picture, Oriented(picture, orientation));
    return;
  }
  const int w = picture.Width(), h = picture.Height();
  if (m.MirrorY) {
    for (int top = 0, bottom = h - 1; top < bottom; ++top, --bottom) {
      std::swap_ranges(picture.Row(top), picture.Row(top) + picture.Stride(), picture.Row(bottom));
    }
  }
  if (m.MirrorX) {
    for (int y = 0; y < h; ++y) MirrorRow(picture.Row(y), w);
  }
}

}  // namespace glamora
