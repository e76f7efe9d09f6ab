#include "face/SoftMakeup.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "face/RegionColouring.h"
#include "imaging/core/Luma.h"
#include "imaging/core/PixelRect.h"
#include "imaging/core/PolygonRegion.h"
#include "imaging/core/Rounding.h"

namespace glamora {

namespace {

constexpr int kMaxFeather = 32;

// How strongly the make-up lies on each pixel of a box of the picture, 0..255.
struct Strength {
  PixelRect Box;
  std::vector<uint8_t> Alpha;  // Box.Width × Box.Height, rows top first
  uint8_t* Row(int boxY) { return Alpha.data() + size_t(boxY) * size_t(Box.Width); }
  const uint8_t* Row(int boxY) const { return Alpha.data() + size_t(boxY) * size_t(Box.Width); }
};

// The region's box widened by `margin`, on the picture, with nothing marked.
Strength StrengthAround(const PolygonRegion& region, int margin, const Bitmap& picture) {
  Strength s;
  s.Box = PixelRect::FromEdges(region.Left() - margin, region.Top() - margin, region.Right() + margin,
                               region.Bottom() + margin)
              .ClampedTo(picture);
  s.Alpha.assign(size_t(s.Box.Width) * size_t(s.Box.Height), 0);
  return s;
}

// 255 on the region's pixels.
void MarkInside(const PolygonRegion& region, Strength& s) {
  for (const Span& span : region.Spans()) {
    const int y = span.Y - s.Box.Top;
    if (y < 0 || y >= s.Box.Height) continue;
    const int x0 = std::max(span.X0 - s.Box.Left, 0), x1 = std::min(span.X1 - s.Box.Left, s.Box.Width - 1);
    if (x0 <= x1) std::fill(s.Row(y) + x0, s.Row(y) + x1 + 1, uint8_t(255));
  }
}

// 255 on the region's frame: its pixels with a neighbour outside it, as
// outlining a region draws them.
void MarkFrame(const PolygonRegion& region, Strength& s) {
  ForEachFrameRow(region, s.Box, [&](int y, const uint8_t* frame) {
    uint8_t* row = s.Row(y - s.Box.Top);
    for (int x = 0; x < s.Box.Width; ++x) row[x] = frame[x] ? 255 : row[x];
  });
}

// A box blur of radius r along the rows, then along the columns: an edge
// becomes a ramp 2r + 1 pixels wide, half strength on the outline.
void Feather(Strength& s, int r) {
  if (r <= 0) return;
  const int w = s.Box.Width, h = s.Box.Height, window = 2 * r + 1;
  std::vector<uint8_t> line(size_t(std::max(w, h)));
  const auto blur = [&](uint8_t* first, int n, ptrdiff_t step) {
    for (int i = 0; i < n; ++i) line[size_t(i)] = first[i * step];
    int sum = 0;
    for (int i = 0; i < std::min(r, n); ++i) sum += line[size_t(i)];
    for (int i = 0; i < n; ++i) {
      if (i + r < n) sum += line[size_t(i + r)];
      if (i - r - 1 >= 0) sum -= line[size_t(i - r - 1)];
      first[i * step] = uint8_t((sum + window / 2) / window);
    }
  };
  for (int y = 0; y < h; ++y) blur(s.Row(y), w, 1);
  for (int x = 0; x < w; ++x) blur(s.Alpha.data() + x, h, w);
}

// Full strength on the marked pixels, falling off linearly to nothing at
// r + 1 pixels from them (distances by the 3-4 chamfer, three units a pixel).
void FadeWithDistance(Strength& s, int r) {
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

// Each pixel moves towards the colour shaded by its lightness against the
// strength-weighted mean lightness, by strength × opacity.
void Tint(Bitmap& picture, const Strength& s, TColor color, int opacity) {
  int64_t weight = 0, weightedLuma = 0;
  for (int y = 0; y < s.Box.Height; ++y) {
    const uint8_t* a = s.Row(y);
    const uint8_t* p = picture.Row(s.Box.Top + y) + 3 * size_t(s.Box.Left);
    for (int x = 0; x < s.Box.Width; ++x, p += 3) {
      weight += a[x];
      weightedLuma += a[x] * Luma(p[2], p[1], p[0]);
    }
  }
  if (weight == 0) return;
  const double meanLuma = std::max(1.0, double(weightedLuma) / double(weight));
  // shade[channel][luma], channels blue, green, red as stored.
  const TColor c = ResolveColor(color);
  const int target[3] = {BlueOf(c), GreenOf(c), RedOf(c)};
  std::array<std::array<uint8_t, 256>, 3> shade;
  for (int ch = 0; ch < 3; ++ch) {
    for (int l = 0; l < 256; ++l) shade[size_t(ch)][size_t(l)] = ClampToByte(RoundEven(target[ch] * l / meanLuma));
  }
  // 12-bit blend weights per strength.
  std::array<int, 256> mix;
  for (int a = 0; a < 256; ++a) mix[size_t(a)] = int(RoundEven(a * opacity * 4096.0 / (255 * 100)));
  for (int y = 0; y < s.Box.Height; ++y) {
    const uint8_t* a = s.Row(y);
    uint8_t* p = picture.Row(s.Box.Top + y) + 3 * size_t(s.Box.Left);
    for (int x = 0; x < s.Box.Width; ++x, p += 3) {
      const int m = mix[a[x]];
      if (m == 0) continue;
      const uint8_t l = Luma(p[2], p[1], p[0]);
      for (int ch = 0; ch < 3; ++ch) p[ch] = uint8_t((p[ch] * (4096 - m) + shade[size_t(ch)][l] * m + 2048) >> 12);
    }
  }
}

enum class Shape { Fill, Frame };

void Apply(Bitmap& picture, const FaceRegion& record, TColor color, const SoftMakeupStyle& style, Shape shape) {
  const int opacity = std::clamp(style.Opacity, 0, 100);
  const int feather = std::clamp(style.Feather, 0, kMaxFeather);
  if (opacity == 0 || picture.Format() != PixelFormat::Bits24 || picture.Empty()) return;
  const PolygonRegion region = RegionOf(record);
  if (region.Empty()) return;
  Strength s = StrengthAround(region, feather + 1, picture);
  if (s.Box.Empty()) return;
  if (shape == Shape::Fill) {
    MarkInside(region, s);
    Feather(s, feather);
  } else {
    MarkFrame(region, s);
    FadeWithDistance(s, feather);
  }
  Tint(picture, s, color, opacity);
}

}  // namespace

void SoftColorRegion(Bitmap& picture, const FaceRegion& region, TColor color, const SoftMakeupStyle& style) {
  Apply(picture, region, color, style, Shape::Fill);
}

void SoftOutlineRegion(Bitmap& picture, const FaceRegion& region, TColor color, const SoftMakeupStyle& style) {
  Apply(picture, region, color, style, Shape::Frame);
}

}  // namespace glamora
