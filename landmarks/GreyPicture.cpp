#include "landmarks/GreyPicture.h"

#include <algorithm>

namespace glamora {

namespace {

// 8-bit fixed-point luma weights; they add up to 256, so white stays 255.
constexpr int kRedWeight = 77, kGreenWeight = 150, kBlueWeight = 29;

uint8_t Luma(int r, int g, int b) { return uint8_t((kRedWeight * r + kGreenWeight * g + kBlueWeight * b + 128) >> 8); }

GreyPicture Blank(int width, int height) {
  GreyPicture g;
  g.Width = width;
  g.Height = height;
  g.Pixels.assign(size_t(width) * size_t(height), 0);
  return g;
}

GreyPicture Reduced(const GreyPicture& full, int factor) {
  GreyPicture out = Blank(full.Width / factor, full.Height / factor);
  std::vector<uint32_t> sums(size_t(out.Width));
  const uint32_t area = uint32_t(factor * factor);
  for (int y = 0; y < out.Height; ++y) {
    std::fill(sums.begin(), sums.end(), 0);
    for (int dy = 0; dy < factor; ++dy) {
      const uint8_t* row = full.Pixels.data() + size_t(y * factor + dy) * size_t(full.Width);
      for (int x = 0; x < out.Width; ++x) {
        const uint8_t* p = row + size_t(x) * size_t(factor);
        uint32_t s = 0;
        for (int dx = 0; dx < factor; ++dx) s += p[dx];
        sums[size_t(x)] += s;
      }
    }
    uint8_t* outRow = out.Pixels.data() + size_t(y) * size_t(out.Width);
    for (int x = 0; x < out.Width; ++x) outRow[x] = uint8_t((sums[size_t(x)] + area / 2) / area);
  }
  return out;
}

// Twice the size, each new pixel interpolated between the two or four
// nearest old pixel centres (new pixel x has its centre at old x / 2 − 0.25).
GreyPicture Doubled(const GreyPicture& full) {
  GreyPicture out = Blank(full.Width * 2, full.Height * 2);
  // Per output column: the left old column and its weight in quarters.
  std::vector<int> x0(size_t(out.Width)), wx(size_t(out.Width));
  const auto split = [](int i, int n, int& first, int& weight) {
    // Old position i / 2 − 0.25 in quarters: 2i − 1.
    const int q = 2 * i - 1;
    first = std::clamp(q >= 0 ? q / 4 : -1, 0, n - 1);
    const int second = std::min(first + 1, n - 1);
    weight = q < 0 ? 4 : (second == first ? 4 : 4 - (q - 4 * first));  // weight of `first`, in quarters
  };
  for (int x = 0; x < out.Width; ++x) split(x, full.Width, x0[size_t(x)], wx[size_t(x)]);
  for (int y = 0; y < out.Height; ++y) {
    int y0, wy;
    split(y, full.Height, y0, wy);
    const int y1 = std::min(y0 + 1, full.Height - 1);
    const uint8_t* r0 = full.Pixels.data() + size_t(y0) * size_t(full.Width);
    const uint8_t* r1 = full.Pixels.data() + size_t(y1) * size_t(full.Width);
    uint8_t* o = out.Pixels.data() + size_t(y) * size_t(out.Width);
    for (int x = 0; x < out.Width; ++x) {
      const int a = x0[size_t(x)], b = std::min(a + 1, full.Width - 1), w = wx[size_t(x)];
      const int top = r0[a] * w + r0[b] * (4 - w);
      const int bottom = r1[a] * w + r1[b] * (4 - w);
      o[x] = uint8_t((top * wy + bottom * (4 - wy) + 8) / 16);
    }
  }
  return out;
}

}  // namespace

GreyPicture GreyOf(const Bitmap& picture) {
  if (picture.Empty()) return {};
  GreyPicture g = Blank(picture.Width(), picture.Height());
  std::vector<uint8_t> paletteLuma;
  if (picture.Format() != PixelFormat::Bits24) {
    for (TColor c : picture.Palette()) paletteLuma.push_back(Luma(RedOf(c), GreenOf(c), BlueOf(c)));
  }
  const auto paletteAt = [&](unsigned index) { return index < paletteLuma.size() ? paletteLuma[index] : uint8_t(0); };
  for (int y = 0; y < picture.Height(); ++y) {
    const uint8_t* in = picture.Row(y);
    uint8_t* out = g.Pixels.data() + size_t(y) * size_t(g.Width);
    switch (picture.Format()) {
      case PixelFormat::Bits24:
        for (int x = 0; x < g.Width; ++x, in += 3) out[x] = Luma(in[2], in[1], in[0]);
        break;
      case PixelFormat::Bits8:
        for (int x = 0; x < g.Width; ++x) out[x] = paletteAt(in[x]);
        break;
      case PixelFormat::Bits1:
        for (int x = 0; x < g.Width; ++x) out[x] = paletteAt((in[x >> 3] >> (7 - (x & 7))) & 1u);
        break;
    }
  }
  return g;
}

DetectionCopy MakeDetectionCopy(const GreyPicture& full, int maxSide) {
  DetectionCopy copy;
  if (full.Empty() || maxSide < 2) return copy;
  const int longer = std::max(full.Width, full.Height);
  if (longer > maxSide) {
    const int factor = (longer + maxSide - 1) / maxSide;
    copy.Picture = Reduced(full, factor);
    copy.Scale = 1.0 / factor;
  } else if (longer <= maxSide / 2) {
    copy.Picture = Doubled(full);
    copy.Scale = 2;
  } else {
    copy.Picture = full;
  }
  return copy;
}

}  // namespace glamora
