// Soft eye colour, lipstick and lip line on a face model: the region marked, feathered and tinted.
#include "face/SoftMakeup.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "face/RegionColouring.h"
#include "face/SoftMask.h"
#include "imaging/core/Luma.h"
#include "imaging/core/PixelRect.h"
#include "imaging/core/PolygonRegion.h"
#include "imaging/core/Rounding.h"

namespace glamora {

namespace {

constexpr int kMaxFeather = 32;

// The region's box widened by `margin`, on the picture, with nothing marked.
SoftMask StrengthAround(const PolygonRegion& region, int margin, const Bitmap& picture) {
  return EmptyMaskOn(PixelRect::FromEdges(region.Left() - margin, region.Top() - margin, region.Right() + margin,
                                          region.Bottom() + margin),
                     picture);
}

// 255 on the region's pixels.
void MarkInside(const PolygonRegion& region, SoftMask& s) {
  for (const Span& span : region.Spans()) {
    const int y = span.Y - s.Box.Top;
    if (y < 0 || y >= s.Box.Height) continue;
    const int x0 = std::max(span.X0 - s.Box.Left, 0), x1 = std::min(span.X1 - s.Box.Left, s.Box.Width - 1);
    if (x0 <= x1) std::fill(s.Row(y) + x0, s.Row(y) + x1 + 1, uint8_t(255));
  }
}

// 255 on the region's frame: its pixels with a neighbour outside it, as
// outlining a region draws them.
void MarkFrame(const PolygonRegion& region, SoftMask& s) {
  ForEachFrameRow(region, s.Box, [&](int y, const uint8_t* frame) {
    uint8_t* row = s.Row(y - s.Box.Top);
    for (int x = 0; x < s.Box.Width; ++x) row[x] = frame[x] ? 255 : row[x];
  });
}

// Full strength on the marked pixels, falling off linearly to nothing at
// r + 1 pixels from them (distances by the 3-4 chamfer, three units a pixel).
void FadeWithDistance(SoftMask& s, int r) {
  const int w = s.Box.Width, h = s.Box.Height, reach = 3 * (r + 1);
  std::vector<int> d(s.Alpha.size());
  for (size_t i = 0; i < d.size(); ++i) d[i] = s.Alpha[i] ? 0 : reach;
  const auto at = [&](int x, int y) -> int& { return d[size_t(y) * size_t(w) + size_t(x)]; };
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      int& v = at(x, y);
      if (x > 0) v = std::min(v, at(x - 1, y) + 3);
      if (y > 0) {
        v = std::min(v, at(x, y - 1) + 3);
        if (x > 0) v = std::min(v, at(x - 1, y - 1) + 4);
        if (x + 1 < w) v = std::min(v, at(x + 1, y - 1) + 4);
      }
    }
  }
  for (int y = h - 1; y >= 0; --y) {
    for (int x = w - 1; x >= 0; --x) {
      int& v = at(x, y);
      if (x + 1 < w) v = std::min(v, at(x + 1, y) + 3);
      if (y + 1 < h) {
        v = std::min(v, at(x, y + 1) + 3);
        if (x + 1 < w) v = std::min(v, at(x + 1, y + 1) + 4);
        if (x > 0) v = std::min(v, at(x - 1, y + 1) + 4);
      }
    }
  }
  for (size_t i = 0; i < d.size(); ++i) s.Alpha[i] = uint8_t(d[i] >= reach ? 0 : 255 * (reach - d[i]) / reach);
}

enum class Shape { Fill, Frame };

void Apply(Bitmap& picture, const FaceRegion& record, TColor color, const SoftMakeupStyle& style, Shape shape) {
  const int opacity = std::clamp(style.Opacity, 0, 100);
  const int feather = std::clamp(style.Feather, 0, kMaxFeather);
  if (opacity == 0 || picture.Format() != PixelFormat::Bits24 || picture.Empty()) return;
  const PolygonRegion region = RegionOf(record);
  if (region.Empty()) return;
  SoftMask s = StrengthAround(region, feather + 1, picture);
  if (s.Box.Empty()) return;
  if (shape == Shape::Fill) {
    MarkInside(region, s);
    FeatherMask(s, feather);
  } else {
    MarkFrame(region, s);
    FadeWithDistance(s, feather);
  }
  TintUnderMask(picture, s, color, opacity);
}

}  // namespace

void SoftColorRegion(Bitmap& picture, const FaceRegion& region, TColor color, const SoftMakeupStyle& style) {
  Apply(picture, region, color, style, Shape::Fill);
}

void SoftOutlineRegion(Bitmap& picture, const FaceRegion& region, TColor color, const SoftMakeupStyle& style) {
  Apply(picture, region, color, style, Shape::Frame);
}

}  // namespace glamora
