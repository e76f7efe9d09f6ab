// Polygon and band coverage by sub-scanlines and distances, and mask arithmetic.
#include "photo/Coverage.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace glamora {

namespace {

constexpr int kSubRows = 4;  // sub-scanlines a pixel row is sampled on

}  // namespace

PixelRect BoundsOf(const std::vector<PointF>& points, int margin) {
  if (points.empty()) return {};
  double left = std::numeric_limits<double>::max(), top = left, right = -left, bottom = -left;
  for (const PointF& p : points) {
    left = std::min(left, p.X);
    top = std::min(top, p.Y);
    right = std::max(right, p.X);
    bottom = std::max(bottom, p.Y);
  }
  const auto clampInt = [](double v) { return int(std::clamp(v, -1e9, 1e9)); };
  return PixelRect::FromEdges(clampInt(std::floor(left)) - margin, clampInt(std::floor(top)) - margin,
                              clampInt(std::ceil(right)) + margin, clampInt(std::ceil(bottom)) + margin);
}

void FillPolygon(SoftMask& mask, const std::vector<PointF>& polygon) {
  if (mask.Empty() || polygon.size() < 3) return;
  const PixelRect& box = mask.Box;
  std::vector<float> row(size_t(box.Width) + 1);
  std::vector<double> crossings;
  const size_t n = polygon.size();
  for (int y = 0; y < box.Height; ++y) {
    std::fill(row.begin(), row.end(), 0.0f);
    bool any = false;
    for (int sub = 0; sub < kSubRows; ++sub) {
      const double sy = box.Top + y + (sub + 0.5) / kSubRows;
      crossings.clear();
      for (size_t i = 0; i < n; ++i) {
        const PointF& a = polygon[i];
        const PointF& b = polygon[(i + 1) % n];
        if ((a.Y <= sy) == (b.Y <= sy)) continue;
        crossings.push_back(a.X + (sy - a.Y) * (b.X - a.X) / (b.Y - a.Y) - box.Left);
      }
      std::sort(crossings.begin(), crossings.end());
      for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
        const double x0 = std::clamp(crossings[i], 0.0, double(box.Width));
        const double x1 = std::clamp(crossings[i + 1], 0.0, double(box.Width));
        if (x1 <= x0) continue;
        any = true;
        const int c0 = int(x0), c1 = int(x1);
        constexpr float w = 1.0f / kSubRows;
        if (c0 == c1) {
          row[size_t(c0)] += float(x1 - x0) * w;
          continue;
        }
        row[size_t(c0)] += float(c0 + 1 - x0) * w;
        for (int c = c0 + 1; c < c1; ++c) row[size_t(c)] += w;
        row[size_t(c1)] += float(x1 - c1) * w;
      }
    }
    if (!any) continue;
    uint8_t* out = mask.Row(y);
    for (int x = 0; x < box.Width; ++x) {
      const uint8_t v = uint8_t(std::lround(std::clamp(row[size_t(x)], 0.0f, 1.0f) * 255));
      out[x] = std::max(out[x], v);
    }
  }
}

void StrokePolyline(SoftMask& mask, const std::vector<PointF>& line, double halfWidth, bool closed) {
  if (mask.Empty() || line.size() < 2 || !(halfWidth > 0)) return;
  const PixelRect& box = mask.Box;
  const size_t segments = closed ? line.size() : line.size() - 1;
  const double reach = halfWidth + 0.5;
  for (size_t i = 0; i < segments; ++i) {
    const PointF a = line[i], b = line[(i + 1) % line.size()];
    const double dx = b.X - a.X, dy = b.Y - a.Y, length2 = dx * dx + dy * dy;
    const int x0 = std::max(int(std::floor(std::min(a.X, b.X) - reach)), box.Left);
    const int x1 = std::min(int(std::ceil(std::max(a.X, b.X) + reach)), box.Left + box.Width - 1);
    const int y0 = std::max(int(std::floor(std::min(a.Y, b.Y) - reach)), box.Top);
    const int y1 = std::min(int(std::ceil(std::max(a.Y, b.Y) + reach)), box.Top + box.Height - 1);
    for (int y = y0; y <= y1; ++y) {
      uint8_t* out = mask.Row(y - box.Top);
      const double py = y + 0.5;
      for (int x = x0; x <= x1; ++x) {
        const double px = x + 0.5;
        const double t = length2 > 0 ? std::clamp(((px - a.X) * dx + (py - a.Y) * dy) / length2, 0.0, 1.0) : 0.0;
        const double distance = std::hypot(px - (a.X + t * dx), py - (a.Y + t * dy));
        const double cover = std::clamp(reach - distance, 0.0, 1.0);
        if (cover <= 0) continue;
        out[x - box.Left] = std::max(out[x - box.Left], uint8_t(std::lround(cover * 255)));
      }
    }
  }
}

void CutOut(SoftMask& mask, const SoftMask& hole) {
  const PixelRect& box = mask.Box;
  for (int y = 0; y < box.Height; ++y) {
    const int py = box.Top + y;
    if (py < hole.Box.Top || py > hole.Box.Bottom()) continue;
    uint8_t* out = mask.Row(y);
    const uint8_t* h = hole.Row(py - hole.Box.Top);
    const int from = std::max(box.Left, hole.Box.Left), to = std::min(box.Right(), hole.Box.Right());
    for (int x = from; x <= to; ++x) {
      uint8_t& v = out[x - box.Left];
      v = uint8_t((v * (255 - h[x - hole.Box.Left]) + 127) / 255);
    }
  }
}

void Intersect(SoftMask& mask, const SoftMask& other) {
  const PixelRect& box = mask.Box;
  for (int y = 0; y < box.Height; ++y) {
    uint8_t* out = mask.Row(y);
    const int py = box.Top + y;
    for (int x = 0; x < box.Width; ++x) out[x] = uint8_t((out[x] * other.At(box.Left + x, py) + 127) / 255);
  }
}

}  // namespace glamora
