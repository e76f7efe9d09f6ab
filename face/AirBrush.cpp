// The airbrush stamp: the shape mask of its square and the blend of colour
// and canvas inside it.
#include "face/AirBrush.h"

#include <algorithm>

#include "imaging/core/PolygonRegion.h"
#include "imaging/core/Rounding.h"

namespace glamora {

void TAirBrush::SetIntensity(int value) {
  if (value >= 1 && value <= 100) intensity_ = value;
}

void TAirBrush::SetSize(int value) {
  if (value >= 1 && value <= 200) size_ = value;
}

// The shapes cover the pixels whose centres lie inside them: the round one is
// the circle inscribed in the square, the slashes are bands a quarter of the
// square wide from corner to corner, the bars leave a quarter at each side.
void TAirBrush::BuildMask() {
  if (maskSize_ == size_ && maskShape_ == shape_ && !mask_.empty()) return;
  const int s = size_;
  const int q = s / 4;
  mask_.assign(size_t(s) * size_t(s), 0);
  auto fill = [&](int left, int top, int right, int bottom) {
    for (int y = std::max(top, 0); y <= std::min(bottom, s - 1); ++y)
      for (int x = std::max(left, 0); x <= std::min(right, s - 1); ++x) mask_[size_t(y) * size_t(s) + size_t(x)] = 1;
  };
  auto fillPolygon = [&](const std::vector<Point>& corners) {
    const PolygonRegion region(corners);
    for (const Span& span : region.Spans()) fill(span.X0, span.Y, span.X1, span.Y);
  };
  switch (shape_) {
    case TAirBrushShape::absRound:
      // (x + ½ − s/2)² + (y + ½ − s/2)² ≤ (s/2)², in whole numbers.
      for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x) {
          const int dx = 2 * x + 1 - s, dy = 2 * y + 1 - s;
          if (dx * dx + dy * dy <= s * s) mask_[size_t(y) * size_t(s) + size_t(x)] = 1;
        }
      break;
    case TAirBrushShape::absSquare: fill(0, 0, s - 1, s - 1); break;
    case TAirBrushShape::absLeftSlash: fillPolygon({{0, 0}, {q, 0}, {s - 1, s - 1}, {s - 1 - q, s - 1}}); break;
    case TAirBrushShape::absRightSlash: fillPolygon({{0, s - 1}, {q, s - 1}, {s - 1, 0}, {s - 1 - q, 0}}); break;
    case TAirBrushShape::absHorizontal: fill(0, q, s - 1, s - 1 - q); break;
    case TAirBrushShape::absVertical: fill(q, 0, s - 1 - q, s - 1); break;
  }
  maskSize_ = size_;
  maskShape_ = shape_;
}

void TAirBrush::Stamp(Bitmap& canvas, int x, int y) {
  if (canvas.Format() != PixelFormat::Bits24 || canvas.Empty()) return;
  const TColor c = ResolveColor(color_);
  if (c == clWhite) return;  // a white stamp is all see-through
  BuildMask();

  // result(source) per channel, for this stamp's colour and strength.
  const double strength = intensity_ / 100.0;
  uint8_t blend[3][256];
  const uint8_t colour[3] = {BlueOf(c), GreenOf(c), RedOf(c)};
  for (int ch = 0; ch < 3; ++ch) {
    for (int v = 0; v < 256; ++v) blend[ch][v] = ClampToByte(RoundEven((1 - strength) * v + strength * colour[ch]));
  }

  const int left = x - size_ / 2;
  const int top = y - size_ / 2;
  const int x0 = std::max(left, 0), x1 = std::min(left + size_, canvas.Width());
  const int y0 = std::max(top, 0), y1 = std::min(top + size_, canvas.Height());
  for (int py = y0; py < y1; ++py) {
    const uint8_t* maskRow = mask_.data() + size_t(py - top) * size_t(size_);
    uint8_t* p = canvas.Row(py) + 3 * x0;
    for (int px = x0; px < x1; ++px, p += 3) {
      if (!maskRow[px - left]) continue;
      const uint8_t b = blend[0][p[0]], g = blend[1][p[1]], r = blend[2][p[2]];
      if (b == 255 && g == 255 && r == 255) continue;  // white results are see-through
      p[0] = b;
      p[1] = g;
      p[2] = r;
    }
  }
}

}  // namespace glamora
