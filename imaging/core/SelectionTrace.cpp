// Tracing the outline of a region of pixels into polygons along pixel edges.
#include "imaging/core/SelectionTrace.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>

#include "imaging/core/MagicWand.h"

namespace glamora {

namespace {

// The directions of the walk, numbered in the order the search tries them.
struct Step {
  int Dx, Dy;
};
constexpr Step kSteps[8] = {{1, 0}, {0, -1}, {-1, 0}, {0, 1}, {1, -1}, {-1, -1}, {-1, 1}, {1, 1}};
constexpr int kNorthEast = 4;

// The cell grid over the region's bounding box: the box magnified four
// times with a margin of two cells on every side. Whether a cell is a block
// cell or an outline cell is read from the region as it is asked for, so
// the grid itself is never stored.
class CellGrid {
 public:
  explicit CellGrid(const RegionMask& region)
      : region_(region),
        left_(region.Left()),
        top_(region.Top()),
        boxWidth_(region.Right() - region.Left() + 1),
        boxHeight_(region.Bottom() - region.Top() + 1),
        width_(4 * int64_t(boxWidth_) + 4),
        height_(4 * int64_t(boxHeight_) + 4) {}

  int64_t Width() const { return width_; }
  int64_t Height() const { return height_; }
  int BoxHeight() const { return boxHeight_; }

  // Part of a region pixel's 4 × 4 block.
  bool Block(int64_t c, int64_t r) const {
    c -= 2;
    r -= 2;
    if (c < 0 || r < 0 || c >= 4 * int64_t(boxWidth_) || r >= 4 * int64_t(boxHeight_)) return false;
    return region_.Contains(left_ + int(c >> 2), top_ + int(r >> 2));
  }
  // Just outside a run of block cells along a row or a column: the cell
  // before a run's first cell, scanning either way, is a cell that is not a
  // block cell but has one as a 4-neighbour.
  bool Outline(int64_t c, int64_t r) const {
    if (c < 0 || r < 0 || c >= width_ || r >= height_ || Block(c, r)) return false;
    return Block(c - 1, r) || Block(c + 1, r) || Block(c, r - 1) || Block(c, r + 1);
  }
  // Whether the region holds pixel (px, py) of its box.
  bool Pixel(int px, int py) const { return region_.Contains(left_ + px, top_ + py); }

  // Bitmap coordinates of a cell: (c + 4 × box left − 1) div 4, likewise for rows.
  Point ToBitmap(int64_t c, int64_t r) const {
    return {int((c + 4 * int64_t(left_) - 1) / 4), int((r + 4 * int64_t(top_) - 1) / 4)};
  }

 private:
  const RegionMask& region_;
  int left_, top_, boxWidth_, boxHeight_;
  int64_t width_, height_;
};

// The outline cell nearest (squared distance) to the top-left corner of the
// outline's box, the first in row order on ties. The outline's box is the
// block cells' box grown by one, so its corner is cell (1, 1). In a row the
// leftmost outline cell is the nearest; it follows from the leftmost region
// pixel of the pixel rows around it, so each row costs one look.
struct Cell {
  int64_t C, R;
};
Cell NearestStart(const CellGrid& grid, const std::vector<int>& firstInRow) {
  const int rows = grid.BoxHeight();
  auto leftmost = [&](int64_t r) -> int64_t {
    if (r == 1) return 2 + 4 * int64_t(firstInRow[0]);  // above the top row's pixels
    if (r == 4 * int64_t(rows) + 2) return 2 + 4 * int64_t(firstInRow[size_t(rows - 1)]);  // below the bottom row's
    const int py = int((r - 2) / 4), sub = int((r - 2) % 4);
    int64_t best = 1 + 4 * int64_t(firstInRow[size_t(py)]);  // left of the row's first run
    // The top and bottom sub-rows also border the pixels above or below.
    const int other = sub == 0 ? py - 1 : sub == 3 ? py + 1 : -1;
    if (other >= 0 && other < rows) {
      const int a = firstInRow[size_t(other)];
      if (!grid.Pixel(a, py)) best = std::min(best, 2 + 4 * int64_t(a));
    }
    return best;
  };
  Cell start{0, 0};
  int64_t bestDistance = std::numeric_limits<int64_t>::max();
  for (int64_t r = 1; r <= 4 * int64_t(rows) + 2; ++r) {
    if ((r - 1) * (r - 1) > bestDistance) break;
    const int64_t c = leftmost(r);
    const int64_t d = (c - 1) * (c - 1) + (r - 1) * (r - 1);
    if (d < bestDistance) {
      bestDistance = d;
      start = {c, r};
    }
  }
  return start;
}

// The cells the walk has visited: an open-addressing hash set, as the walk
// touches a thin line through a grid that may be far too large to mark whole.
class CellSet {
 public:
  CellSet() : slots_(1024, 0) {}
  bool Contains(uint64_t key) const {
    ++key;
    for (size_t i = Slot(key);; i = (i + 1) & (slots_.size() - 1)) {
      if (slots_[i] == key) return true;
      if (slots_[i] == 0) return false;
    }
  }
  void Insert(uint64_t key) {
    if (2 * (count_ + 1) > slots_.size()) Grow();
    Place(key + 1);
  }

 private:
  size_t Slot(uint64_t stored) const {
    return size_t((stored * 0x9E3779B97F4A7C15ull) >> (64 - std::countr_zero(slots_.size())));
  }
  void Place(uint64_t stored) {
    size_t i = Slot(stored);
    while (slots_[i] != 0 && slots_[i] != stored) i = (i + 1) & (slots_.size() - 1);
    if (slots_[i] == 0) ++count_;
    slots_[i] = stored;
  }
  void Grow() {
    std::vector<uint64_t> old(slots_.size() * 2, 0);
    old.swap(slots_);
    count_ = 0;
    for (uint64_t stored : old) {
      if (stored != 0) Place(stored);
    }
  }
  std::vector<uint64_t> slots_;
  size_t count_ = 0;
};

}  // namespace

std::vector<Point> TraceRegionOutline(const RegionMask& region) {
  if (region.Empty()) return {};
  const CellGrid grid(region);
  std::vector<int> firstInRow(size_t(grid.BoxHeight()));
  for (int py = 0; py < grid.BoxHeight(); ++py) {
    // Every row of the box holds a region pixel: the region is connected.
    firstInRow[size_t(py)] = std::max(region.FirstInRow(region.Top() + py) - region.Left(), 0);
  }

  const Cell start = NearestStart(grid, firstInRow);
  auto key = [&](int64_t c, int64_t r) { return uint64_t(r) * uint64_t(grid.Width()) + uint64_t(c); };
  CellSet visited;
  visited.Insert(key(start.C, start.R));
  auto open = [&](int64_t c, int64_t r, int direction) {
    const int64_t nc = c + kSteps[direction].Dx, nr = r + kSteps[direction].Dy;
    return grid.Outline(nc, nr) && !visited.Contains(key(nc, nr));
  };

  std::vector<Point> vertices{grid.ToBitmap(start.C, start.R)};
  int64_t c = start.C, r = start.R;
  int direction = kNorthEast;
  int previous = -1;  // the code of the last step recorded
  auto record = [&](int code) {
    if (previous >= 0 && code != previous) vertices.push_back(grid.ToBitmap(c, r));
    previous = code;
  };
  for (;;) {
    int next = open(c, r, direction) ? direction : -1;
    for (int k = 0; next < 0 && k < 8; ++k) {
      if (open(c, r, k)) next = k;
    }
    if (next < 0) break;
    record(next);
    c += kSteps[next].Dx;
    r += kSteps[next].Dy;
    visited.Insert(key(c, r));
    direction = next;
  }
  // The step back to the start, when the walk ended beside it.
  for (int k = 0; k < 8; ++k) {
    if (c + kSteps[k].Dx == start.C && r + kSteps[k].Dy == start.R) {
      record(k);
      break;
    }
  }
  return vertices;
}

bool IsRectangle(const Point* points, int count) {
  if (count != 4) return false;
  // 1 for a vertical edge, 2 for a horizontal one, 0 for anything else.
  int kinds[4];
  for (int i = 0; i < 4; ++i) {
    const Point& a = points[i];
    const Point& b = points[(i + 1) % 4];
    if (a == kSelectionSeparator) return false;
    kinds[i] = a.X == b.X && a.Y != b.Y ? 1 : a.Y == b.Y && a.X != b.X ? 2 : 0;
  }
  for (int i = 0; i < 4; ++i) {
    if (kinds[i] == 0 || kinds[i] == kinds[(i + 1) % 4]) return false;
  }
  return true;
}

std::vector<std::vector<Point>> SplitPolygons(const std::vector<Point>& points) {
  std::vector<std::vector<Point>> polygons(1);
  for (const Point& p : points) {
    if (p == kSelectionSeparator) {
      if (!polygons.back().empty()) polygons.emplace_back();
    } else {
      polygons.back().push_back(p);
    }
  }
  if (polygons.back().empty()) polygons.pop_back();
  return polygons;
}

}  // namespace glamora
