#include "landmarks/GreyPicture.h"

#include <algorithm>
#include <cmath>

#include "imaging/core/Luma.h"

namespace glamora {

namespace {

GreyPicture Blank(int width, int height) {
  GreyPicture g;
  g.Width = width;
  g.Height = height;
  g.Pixels.assign(size_t(width) * size_t(height), 0);
  return g;
}

// The source pixels that output pixel i of a reduction by `scale` covers,
// [i / scale, (i + 1) / scale), each with the length it covers.
struct Coverage {
  int First = 0;
  std::vector<float> Weights;
  float Total = 0;
};

std::vector<Coverage> CoverageOf(int sourceSize, int size, double scale) {
  std::vector<Coverage> out(static_cast<size_t>(size));
  for (int i = 0; i < size; ++i) {
    const double from = i / scale, to = std::min((i + 1) / scale, double(sourceSize));
    Coverage& c = out[size_t(i)];
    c.First = int(from);
    for (int j = c.First; j < to; ++j) {
      c.Weights.push_back(float(std::min<double>(j + 1, to) - std::max<double>(j, from)));
      c.Total += c.Weights.back();
    }
  }
  return out;
}

// Each output pixel the mean of the source area it covers, partly covered
// source pixels counting by the part.
GreyPicture Reduced(const GreyPicture& full, int width, int height, double scale) {
  GreyPicture out = Blank(width, height);
  const std::vector<Coverage> columns = CoverageOf(full.Width, width, scale);
  const std::vector<Coverage> rows = CoverageOf(full.Height, height, scale);
  std::vector<float> sums(static_cast<size_t>(width));
  for (int y = 0; y < height; ++y) {
    std::fill(sums.begin(), sums.end(), 0.0f);
    const Coverage& r = rows[size_t(y)];
    for (size_t k = 0; k < r.Weights.size(); ++k) {
      const uint8_t* in = full.Pixels.data() + size_t(r.First + int(k)) * size_t(full.Width);
      for (int x = 0; x < width; ++x) {
        const Coverage& c = columns[size_t(x)];
        float s = 0;
        for (size_t j = 0; j < c.Weights.size(); ++j) s += c.Weights[j] * in[c.First + int(j)];
        sums[size_t(x)] += r.Weights[k] * s;
      }
    }
    uint8_t* outRow = out.Pixels.data() + size_t(y) * size_t(width);
    for (int x = 0; x < width; ++x) {
      outRow[x] = uint8_t(std::clamp(sums[size_t(x)] / (r.Total * columns[size_t(x)].Total) + 0.5f, 0.0f, 255.0f));
    }
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
    copy.Scale = double(maxSide) / longer;
    const auto side = [&](int n) { return n == longer ? maxSide : std::max(1, int(std::lround(n * copy.Scale))); };
    copy.Picture = Reduced(full, side(full.Width), side(full.Height), copy.Scale);
  } else if (longer <= maxSide / 2) {
    copy.Picture = Doubled(full);
    copy.Scale = 2;
  } else {
    copy.Picture = full;
  }
  return copy;
}

}  // namespace glamora
