// Even-odd polygon regions as spans of pixels, row by row.
#include "imaging/core/PolygonRegion.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace glamora {

PolygonRegion::PolygonRegion(const std::vector<Point>& vertices) {
  Build(vertices.data(), int(vertices.size()));
}

PolygonRegion::PolygonRegion(const Point* vertices, int count) { Build(vertices, count); }

void PolygonRegion::Build(const Point* v, int count) {
  if (!v || count < 3) return;
  int minY = INT_MAX, maxY = INT_MIN;
  for (int i = 0; i < count; ++i) {
    minY = std::min(minY, v[i].Y);
    maxY = std::max(maxY, v[i].Y);
  }
  if (minY >= maxY) return;
  std::vector<double> crossings;
  crossings.reserve(size_t(count));
  int left = INT_MAX, right = INT_MIN;
  // Rows whose centre y + 0.5 lies between the extreme vertices.
  for (int y = minY; y < maxY; ++y) {
    const double cy = y + 0.5;
    crossings.clear();
    for (int i = 0; i < count; ++i) {
      const Point& a = v[i];
      const Point& b = v[(i + 1) % count];
      if ((a.Y <= cy) == (b.Y <= cy)) continue;
      crossings.push_back(a.X + (cy - a.Y) * double(b.X - a.X) / double(b.Y - a.Y));
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
      // Pixel x is inside when its centre x + 0.5 lies in [c0, c1).
      const int x0 = int(std::ceil(crossings[k] - 0.5));
      const int x1 = int(std::ceil(crossings[k + 1] - 0.5)) - 1;
      if (x1 < x0) continue;
      if (!spans_.empty() && spans_.back().Y == y && spans_.back().X1 >= x0 - 1) {
        spans_.back().X1 = std::max(spans_.back().X1, x1);
        continue;
      }
      spans_.push_back({y, x0, x1});
      left = std::min(left, x0);
      right = std::max(right, x1);
    }
  }
  if (spans_.empty()) return;
  left_ = left;
  right_ = right;
  for (const Span& s : spans_) right_ = std::max(right_, s.X1);
  top_ = spans_.front().Y;
  bottom_ = spans_.back().Y;
  rowStart_.assign(size_t(bottom_ - top_ + 2), 0);
  size_t i = 0;
  for (int y = top_; y <= bottom_ + 1; ++y) {
    while (i < spans_.size() && spans_[i].Y < y) ++i;
    rowStart_[size_t(y - top_)] = i;
  }
}

bool PolygonRegion::Contains(int x, int y) const {
  if (spans_.empty() || y < top_ || y > bottom_ || x < left_ || x > right_) return false;
  const size_t row = size_t(y - top_);
  for (size_t i = rowStart_[row]; i < rowStart_[row + 1]; ++i) {
    if (x >= spans_[i].X0 && x <= spans_[i].X1) return true;
  }
  return false;
}

}  // namespace glamora
