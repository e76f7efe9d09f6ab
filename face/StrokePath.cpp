// Stamp centres along a stroke.
#include "face/StrokePath.h"

#include <algorithm>
#include <cmath>

namespace glamora {

namespace {

// Halves go up, so that the steps along an axis never jump.
int Nearest(double v) { return int(std::floor(v + 0.5)); }

}  // namespace

double StampSpacing(int brushSize) { return std::max(1.0, brushSize / 4.0); }

std::vector<Point> StampsAlong(Point from, Point to, int brushSize) {
  const double dx = double(to.X) - from.X, dy = double(to.Y) - from.Y;
  // One pixel is as close as stamps can lie: a brush under four pixels
  // across steps from pixel to neighbouring pixel, a wider one by at most a
  // quarter of its size.
  const double steps = brushSize < 4 ? std::max(std::fabs(dx), std::fabs(dy))
                                     : std::ceil(std::hypot(dx, dy) / StampSpacing(brushSize));
  const int count = int(std::min(steps, 1e6));
  std::vector<Point> stamps;
  stamps.reserve(size_t(count));
  for (int k = 1; k <= count; ++k) {
    const double t = double(k) / count;
    stamps.push_back({from.X + Nearest(dx * t), from.Y + Nearest(dy * t)});
  }
  return stamps;
}

}  // namespace glamora
