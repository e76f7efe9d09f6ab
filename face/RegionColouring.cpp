// Region colouring and outlining on the face picture.
#include "face/RegionColouring.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "face/RgbBuffer.h"

namespace glamora {

namespace {

// Vertices placed with the mouse lie within a few thousand pixels of the
// picture; coordinates beyond this come only from a damaged header, and a
// polygon built from them would span billions of rows.
constexpr int kFarthestVertex = 32767;

}  // namespace

PolygonRegion RegionOf(const FaceRegion& record) {
  if (!record.IsOutlined()) return {};
  std::vector<Point> vertices(size_t(record.Count));
  for (int i = 0; i < record.Count; ++i) {
    const FacePoint& p = record.Points[size_t(i)];
    if (std::abs(int64_t(p.X)) > kFarthestVertex || std::abs(int64_t(p.Y)) > kFarthestVertex) return {};
    vertices[size_t(i)] = {p.X, p.Y};
  }
  return PolygonRegion(vertices);
}

FaceRegion RegionRecordOf(const std::vector<Point>& polygon) {
  FaceRegion record;
  if (polygon.size() < 3 || polygon.size() > size_t(FaceRegion::kMaxPoints)) return record;
  record.Valid = 1;
  record.Count = int32_t(polygon.size());
  for (size_t i = 0; i < polygon.size(); ++i) record.Points[i] = {polygon[i].X, polygon[i].Y};
  return record;
}

FaceRegion OuterLoopOf(const FaceRegion& record) {
  if (!record.IsOutlined()) return record;
  const auto& p = record.Points;
  const int count = record.Count;
  // The outer loop needs three vertices, the inner one three more.
  for (int back = 3; back + 3 < count; ++back) {
    if (!(p[size_t(back)] == p[0])) continue;
    if (!(p[size_t(count - 1)] == p[size_t(back + 1)])) break;
    FaceRegion outer = record;
    outer.Count = back;
    std::fill(outer.Points.begin() + back, outer.Points.end(), FacePoint{});
    return outer;
  }
  return record;
}

void ColorRegion(Bitmap& picture, const FaceRegion& record, TColor color) {
  if (!record.IsOutlined() || picture.Empty()) return;
  const PolygonRegion region = RegionOf(record);
  TDibBuffer buffer(picture);
  buffer.AddColorsInRegion(RedOf(color) - 50, GreenOf(color) - 50, BlueOf(color) - 50, &region);
  buffer.Draw(picture, 0, 0);
}

namespace {

// Marks the pixels of row y that lie inside the region, for the columns
// left − 1 … left + width of the mask (one beyond the area on each side, so
// that a pixel at the area's edge sees whether its outer neighbour is inside).
void CoverRow(const std::vector<Span>& spans, int y, int left, std::vector<uint8_t>& mask) {
  std::fill(mask.begin(), mask.end(), 0);
  const int first = left - 1, last = left + int(mask.size()) - 2;
  auto span = std::lower_bound(spans.begin(), spans.end(), y, [](const Span& s, int row) { return s.Y < row; });
  for (; span != spans.end() && span->Y == y; ++span) {
    const int x0 = std::max(span->X0, first), x1 = std::min(span->X1, last);
    for (int x = x0; x <= x1; ++x) mask[size_t(x - first)] = 1;
  }
}

}  // namespace

void ForEachFrameRow(const PolygonRegion& region, const PixelRect& area,
                     const std::function<void(int y, const uint8_t* frame)>& visit) {
  // Only the rows and columns of the area are walked, however far the
  // region reaches beyond it.
  const int top = std::max(region.Top(), area.Top), bottom = std::min(region.Bottom(), area.Bottom());
  if (region.Empty() || area.Empty() || top > bottom) return;
  const size_t width = size_t(area.Width);
  // Rows y − 1, y and y + 1; mask index x − area.Left + 1 is column x.
  std::vector<uint8_t> above(width + 2), here(width + 2), below(width + 2), frame(width);
  CoverRow(region.Spans(), top - 1, area.Left, above);
  CoverRow(region.Spans(), top, area.Left, here);
  for (int y = top; y <= bottom; ++y) {
    CoverRow(region.Spans(), y + 1, area.Left, below);
    for (size_t i = 1; i <= width; ++i) {
      frame[i - 1] = here[i] && !(here[i - 1] && here[i + 1] && above[i] && below[i]);
    }
    visit(y, frame.data());
    std::swap(above, here);
    std::swap(here, below);
  }
}

void OutlineRegion(Bitmap& picture, const FaceRegion& record, TColor color) {
  if (!record.IsOutlined() || picture.Format() != PixelFormat::Bits24) return;
  const TColor c = ResolveColor(color);
  ForEachFrameRow(RegionOf(record), PixelRect::Of(picture), [&](int y, const uint8_t* frame) {
    for (int x = 0; x < picture.Width(); ++x) {
      if (frame[x]) picture.SetPixel(x, y, c);
    }
  });
}

}  // namespace glamora
