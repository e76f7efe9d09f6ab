// Soft masks: feathering by box blurs and the shaded make-up blend.
#include "face/SoftMask.h"

#include <algorithm>
#include <array>

#include "imaging/core/Luma.h"
#include "imaging/core/Rounding.h"

namespace glamora {

SoftMask EmptyMaskOn(const PixelRect& box, const Bitmap& picture) {
  SoftMask mask;
  mask.Box = box.ClampedTo(picture);
  mask.Alpha.assign(size_t(std::max(mask.Box.Width, 0)) * size_t(std::max(mask.Box.Height, 0)), 0);
  return mask;
}

void FeatherMask(SoftMask& mask, int radius, int passes) {
  if (radius <= 0 || mask.Empty()) return;
  const int w = mask.Box.Width, h = mask.Box.Height, window = 2 * radius + 1;
  std::vector<uint8_t> line(size_t(std::max(w, h)));
  const auto blur = [&](uint8_t* first, int n, ptrdiff_t step) {
    for (int i = 0; i < n; ++i) line[size_t(i)] = first[i * step];
    int sum = 0;
    for (int i = 0; i < std::min(radius, n); ++i) sum += line[size_t(i)];
    for (int i = 0; i < n; ++i) {
      if (i + radius < n) sum += line[size_t(i + radius)];
      if (i - radius - 1 >= 0) sum -= line[size_t(i - radius - 1)];
      first[i * step] = uint8_t((sum + window / 2) / window);
    }
  };
  for (int pass = 0; pass < passes; ++pass) {
    for (int y = 0; y < h; ++y) blur(mask.Row(y), w, 1);
    for (int x = 0; x < w; ++x) blur(mask.Alpha.data() + x, h, w);
  }
}

void TintUnderMask(Bitmap& picture, const SoftMask& mask, TColor color, int opacity) {
  opacity = std::clamp(opacity, 0, 100);
  if (picture.Format() != PixelFormat::Bits24 || mask.Empty() || opacity == 0) return;
  const PixelRect& box = mask.Box;
  int64_t weight = 0, weightedLuma = 0;
  for (int y = 0; y < box.Height; ++y) {
    const uint8_t* a = mask.Row(y);
    const uint8_t* p = picture.Row(box.Top + y) + 3 * size_t(box.Left);
    for (int x = 0; x < box.Width; ++x, p += 3) {
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
  for (int y = 0; y < box.Height; ++y) {
    const uint8_t* a = mask.Row(y);
    uint8_t* p = picture.Row(box.Top + y) + 3 * size_t(box.Left);
    for (int x = 0; x < box.Width; ++x, p += 3) {
      const int m = mix[a[x]];
      if (m == 0) continue;
      const uint8_t l = Luma(p[2], p[1], p[0]);
      for (int ch = 0; ch < 3; ++ch) p[ch] = uint8_t((p[ch] * (4096 - m) + shade[size_t(ch)][l] * m + 2048) >> 12);
    }
  }
}

}  // namespace glamora
