// The magic wand's span fill, its growth by one pixel and its outline.
#include "imaging/core/MagicWand.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>

#include "imaging/core/SelectionTrace.h"

namespace glamora {

RegionMask::RegionMask(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      words_((size_t(width_) + 63) / 64),
      bits_(words_ * size_t(height_), 0) {}

void RegionMask::SetSpan(int y, int x0, int x1) {
  uint64_t* row = Row(y);
  const size_t first = size_t(x0) >> 6, last = size_t(x1) >> 6;
  const uint64_t head = ~uint64_t(0) << (x0 & 63);
  const uint64_t tail = ~uint64_t(0) >> (63 - (x1 & 63));
  if (first == last) {
    row[first] |= head & tail;
  } else {
    row[first] |= head;
    std::fill(row + first + 1, row + last, ~uint64_t(0));
    row[last] |= tail;
  }
  if (Empty()) {
    left_ = x0, right_ = x1, top_ = bottom_ = y;
    return;
  }
  left_ = std::min(left_, x0);
  right_ = std::max(right_, x1);
  top_ = std::min(top_, y);
  bottom_ = std::max(bottom_, y);
}

int RegionMask::FirstInRow(int y) const {
  if (y < 0 || y >= height_) return -1;
  const uint64_t* row = Row(y);
  for (size_t w = 0; w < words_; ++w) {
    if (row[w]) return int(w * 64 + size_t(std::countr_zero(row[w])));
  }
  return -1;
}

int64_t RegionMask::Count() const {
  int64_t n = 0;
  for (uint64_t word : bits_) n += std::popcount(word);
  return n;
}

RegionMask MagicWandRegion(const Bitmap& bitmap, int x, int y, int tolerance) {
  const int width = bitmap.Width(), height = bitmap.Height();
  if (bitmap.Format() != PixelFormat::Bits24 || x < 0 || y < 0 || x >= width || y >= height) return {};
  RegionMask region(width, height);

  // Per channel: which values lie within the tolerance of the seed's.
  const uint8_t* seed = bitmap.Row(y) + 3 * size_t(x);
  std::array<std::array<bool, 256>, 3> near{};
  for (int c = 0; c < 3; ++c) {
    for (int v = 0; v < 256; ++v) near[size_t(c)][size_t(v)] = std::abs(v - seed[c]) <= tolerance;
  }
  // Not yet taken, and near enough: `row` is the pixel row, `taken` its bits.
  auto open = [&](const uint8_t* row, const uint64_t* taken, int px) {
    if ((taken[size_t(px) >> 6] >> (px & 63)) & 1u) return false;
    const uint8_t* p = row + 3 * size_t(px);
    return near[0][p[0]] && near[1][p[1]] && near[2][p[2]];
  };

  // Each entry starts a span still to be filled; a pixel taken meanwhile is skipped.
  struct Seed {
    int X, Y;
  };
  std::vector<Seed> stack{{x, y}};
  while (!stack.empty()) {
    const Seed s = stack.back();
    stack.pop_back();
    const uint8_t* row = bitmap.Row(s.Y);
    const uint64_t* taken = region.Row(s.Y);
    if (!open(row, taken, s.X)) continue;
    int x0 = s.X, x1 = s.X;
    while (x0 > 0 && open(row, taken, x0 - 1)) --x0;
    while (x1 < width - 1 && open(row, taken, x1 + 1)) ++x1;
    region.SetSpan(s.Y, x0, x1);
    for (const int ny : {s.Y - 1, s.Y + 1}) {
      if (ny < 0 || ny >= height) continue;
      const uint8_t* next = bitmap.Row(ny);
      const uint64_t* nextTaken = region.Row(ny);
      bool inRun = false;
      for (int px = x0; px <= x1; ++px) {
        const bool o = open(next, nextTaken, px);
        if (o && !inRun) stack.push_back({px, ny});
        inRun = o;
      }
    }
  }
  return region;
}

RegionMask GrowRegion(const RegionMask& region) {
  RegionMask grown(region.Width(), region.Height());
  if (region.Empty()) return grown;
  const size_t words = region.WordsPerRow();
  // Bits past the last pixel of a row stay clear.
  const int spare = int(words * 64) - region.Width();
  const uint64_t lastMask = spare > 0 ? ~uint64_t(0) >> spare : ~uint64_t(0);
  std::vector<uint64_t> column(words);
  const int top = std::max(region.Top() - 1, 0), bottom = std::min(region.Bottom() + 1, region.Height() - 1);
  for (int y = top; y <= bottom; ++y) {
    // The row with its neighbours above and below, then spread sideways.
    for (size_t w = 0; w < words; ++w) {
      uint64_t bits = region.Row(y)[w];
      if (y > 0) bits |= region.Row(y - 1)[w];
      if (y + 1 < region.Height()) bits |= region.Row(y + 1)[w];
      column[w] = bits;
    }
    uint64_t* out = grown.Row(y);
    for (size_t w = 0; w < words; ++w) {
      const uint64_t fromLeft = (column[w] << 1) | (w > 0 ? column[w - 1] >> 63 : 0);
      const uint64_t fromRight = (column[w] >> 1) | (w + 1 < words ? column[w + 1] << 63 : 0);
      out[w] = column[w] | fromLeft | fromRight;
    }
    out[words - 1] &= lastMask;
  }
  grown.left_ = std::max(region.Left() - 1, 0);
  grown.right_ = std::min(region.Right() + 1, region.Width() - 1);
  grown.top_ = top;
  grown.bottom_ = bottom;
  return grown;
}

std::vector<Point> MagicWandOutline(const Bitmap& bitmap, int x, int y, int tolerance, bool grow) {
  RegionMask region = MagicWandRegion(bitmap, x, y, tolerance);
  if (region.Empty()) return {};
  if (grow) region = GrowRegion(region);
  return TraceRegionOutline(region);
}

void ClampToPixels(std::vector<Point>& points, int width, int height) {
  for (Point& p : points) {
    p.X = std::clamp(p.X, 0, std::max(width - 1, 0));
    p.Y = std::clamp(p.Y, 0, std::max(height - 1, 0));
  }
}

}  // namespace glamora
