// Region colouring and outlining on the face picture.
#include "face/RegionColouring.h"

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

void ColorRegion(Bitmap& picture, const FaceRegion& record, TColor color) {
  if (!record.IsOutlined() || picture.Empty()) return;
  const PolygonRegion region = RegionOf(record);
  TDibBuffer buffer(picture);
  buffer.AddColorsInRegion(RedOf(color) - 50, GreenOf(color) - 50, BlueOf(color) - 50, &region);
  buffer.Draw(picture, 0, 0);
}

void OutlineRegion(Bitmap& picture, const FaceRegion& record, TColor color) {
  if (!record.IsOutlined() || picture.Format() != PixelFormat::Bits24) return;
  const PolygonRegion region = RegionOf(record);
  const TColor c = ResolveColor(color);
  for (const Span& span : region.Spans()) {
    for (int x = span.X0; x <= span.X1; ++x) {
      const int y = span.Y;
      const bool edge = x == span.X0 || x == span.X1 || !region.Contains(x, y - 1) || !region.Contains(x, y + 1);
      if (edge) picture.SetPixel(x, y, c);
    }
  }
}

}  // namespace glamora
