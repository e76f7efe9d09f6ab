// Retouching the model face: the portrait's hair inside the face replaced by
// skin grown from around it.
#include "tools/generators/modelface/Retouch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "face/StandardFace.h"

namespace glamora::modelface {

namespace sf = glamora::standard_face;

namespace {

// One float per pixel and channel (blue, green, red as in the bitmap).
struct Plane {
  int Width = 0;
  int Height = 0;
  std::vector<std::array<float, 3>> Values;

  Plane(int width, int height) : Width(width), Height(height), Values(size_t(width) * height, {0, 0, 0}) {}
  std::array<float, 3>& At(int x, int y) { return Values[size_t(y) * Width + x]; }
  const std::array<float, 3>& At(int x, int y) const { return Values[size_t(y) * Width + x]; }
};

Plane ToPlane(const Bitmap& picture) {
  Plane plane(picture.Width(), picture.Height());
  for (int y = 0; y < picture.Height(); ++y) {
    const uint8_t* p = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x, p += 3) plane.At(x, y) = {float(p[0]), float(p[1]), float(p[2])};
  }
  return plane;
}

// Gaussian blur that averages only the pixels the weight mask marks, so skin
// next to the region is not darkened by the hair inside it.
Plane MaskedBlur(const Plane& in, const PixelMask& use, double sigma) {
  const int radius = int(std::ceil(3 * sigma));
  std::vector<float> kernel(size_t(2 * radius + 1));
  for (int k = -radius; k <= radius; ++k) kernel[size_t(k + radius)] = float(std::exp(-k * k / (2 * sigma * sigma)));
  const int w = in.Width, h = in.Height;
  Plane sum(w, h), weight(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      std::array<float, 3> s{0, 0, 0};
      float n = 0;
      for (int k = -radius; k <= radius; ++k) {
        const int xx = x + k;
        if (!use.At(xx, y)) continue;
        const float kw = kernel[size_t(k + radius)];
        for (int c = 0; c < 3; ++c) s[c] += kw * in.At(xx, y)[c];
        n += kw;
      }
      sum.At(x, y) = s;
      weight.At(x, y)[0] = n;
    }
  }
  Plane out(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      std::array<float, 3> s{0, 0, 0};
      float n = 0;
      for (int k = -radius; k <= radius; ++k) {
        const int yy = y + k;
        if (yy < 0 || yy >= h) continue;
        const float kw = kernel[size_t(k + radius)];
        for (int c = 0; c < 3; ++c) s[c] += kw * sum.At(x, yy)[c];
        n += kw * weight.At(x, yy)[0];
      }
      if (n > 1e-6f) {
        for (int c = 0; c < 3; ++c) out.At(x, y)[c] = s[c] / n;
      } else {
        out.At(x, y) = in.At(x, y);
      }
    }
  }
  return out;
}

double Smoothstep(double e0, double e1, double x) {
  const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// Distance from the pixel to the nearest marked pixel of `mask`, up to `limit`
// (returned when none is nearer).
double DistanceTo(const PixelMask& mask, int x, int y, int limit, uint8_t marked) {
  double best = limit;
  for (int dy = -limit; dy <= limit; ++dy) {
    for (int dx = -limit; dx <= limit; ++dx) {
      const int xx = x + dx, yy = y + dy;
      const bool isMarked = mask.Inside(xx, yy) ? mask.At(xx, yy) == marked : marked == 0;
      if (isMarked) best = std::min(best, std::hypot(double(dx), double(dy)));
    }
  }
  return best;
}

// The brows, measured on the cropped portrait: the hair above them comes
// within a few pixels, and they stay as they are.
struct Brow {
  double X, Y, HalfWidth, HalfHeight;
};
constexpr Brow kBrows[] = {{84, 134, 19, 5}, {146, 138, 15, 5}};

bool InBrow(int x, int y) {
  for (const Brow& b : kBrows) {
    const double dx = (x - b.X) / b.HalfWidth, dy = (y - b.Y) / b.HalfHeight;
    if (dx * dx + dy * dy <= 1) return true;
  }
  return false;
}

PixelMask Grown(const PixelMask& mask, const PixelMask& within, int radius) {
  PixelMask out(mask.Width, mask.Height);
  for (int y = 0; y < mask.Height; ++y) {
    for (int x = 0; x < mask.Width; ++x) {
      if (within.At(x, y) && !InBrow(x, y) && DistanceTo(mask, x, y, radius + 1, 1) <= radius) out.At(x, y) = 1;
    }
  }
  return out;
}

// Source rectangles of clean skin for the grain: both cheeks, clear of the
// eyes, the nose, the folds beside the mouth and the jaw's edge.
struct SkinPatch {
  int Left, Top, Width, Height;
};
constexpr SkinPatch kGrainSources[] = {{64, 166, 22, 26}, {142, 168, 22, 26}};

// The skin's fine detail: each pixel minus the skin's local average.
Plane Grain(const Plane& picture, const Plane& smooth) {
  Plane grain(picture.Width, picture.Height);
  for (size_t i = 0; i < grain.Values.size(); ++i) {
    for (int c = 0; c < 3; ++c) grain.Values[i][c] = picture.Values[i][c] - smooth.Values[i][c];
  }
  return grain;
}

// A small deterministic generator, so the retouched face is the same on every run.
struct Lcg {
  uint32_t State;
  uint32_t Next() { return State = State * 1664525u + 1013904223u; }
  int Below(int n) { return int((uint64_t(Next()) * uint32_t(n)) >> 32); }
};

// Grain for the region: overlapping windows, each a randomly placed piece of
// a source patch, added with raised-cosine weights and scaled back to the
// source's strength, so neither a repeat nor a window's border shows.
Plane SynthesisedGrain(const Plane& grain, int width, int height) {
  constexpr int kWindow = 12;
  constexpr int kHop = kWindow / 2;
  Plane out(width, height);
  std::vector<float> energy(size_t(width) * height, 0.f);
  Lcg random{20240611u};
  for (int top = -kHop; top < height; top += kHop) {
    for (int left = -kHop; left < width; left += kHop) {
      const SkinPatch& source = kGrainSources[size_t(random.Below(std::size(kGrainSources)))];
      const int sx = source.Left + random.Below(source.Width - kWindow + 1);
      const int sy = source.Top + random.Below(source.Height - kWindow + 1);
      const bool mirror = random.Below(2) == 1;
      for (int j = 0; j < kWindow; ++j) {
        const int y = top + j;
        if (y < 0 || y >= height) continue;
        const float wy = float(std::sin(M_PI * (j + 0.5) / kWindow));
        for (int i = 0; i < kWindow; ++i) {
          const int x = left + i;
          if (x < 0 || x >= width) continue;
          const float wgt = wy * float(std::sin(M_PI * (i + 0.5) / kWindow));
          const auto& g = grain.At(sx + (mirror ? kWindow - 1 - i : i), sy + j);
          for (int c = 0; c < 3; ++c) out.At(x, y)[c] += wgt * g[c];
          energy[size_t(y) * width + x] += wgt * wgt;
        }
      }
    }
  }
  for (size_t i = 0; i < out.Values.size(); ++i) {
    const float scale = energy[i] > 1e-6f ? 1.f / std::sqrt(energy[i]) : 0.f;
    for (int c = 0; c < 3; ++c) out.Values[i][c] *= scale;
  }
  return out;
}

}  // namespace

PixelMask Silhouette(const Bitmap& mask, int width, int height) {
  if (mask.Width() != width || mask.Height() != height) return {};
  PixelMask silhouette(width, height);
  const TColor inside = mask.Pixel(0, height - 1);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) silhouette.At(x, y) = mask.Pixel(x, y) == inside ? 1 : 0;
  }
  return silhouette;
}

bool LooksLikeHair(uint8_t red, uint8_t green, uint8_t blue) {
  const int lightness = (red + green + blue) / 3;
  if (lightness < 95) return true;
  const int chroma = std::max({red, green, blue}) - std::min({red, green, blue});
  if (chroma < 25 || red < green || red < blue) return false;
  const double hue = 60.0 * (green - blue) / chroma;
  return hue >= 31;
}

PixelMask HairInside(const Bitmap& face, const PixelMask& silhouette) {
  const int w = face.Width(), h = face.Height();
  PixelMask hair(w, h);
  if (silhouette.Width != w || silhouette.Height != h) return hair;
  auto hairAt = [&](int x, int y) {
    const uint8_t* p = face.Row(y) + 3 * x;
    return silhouette.At(x, y) && !InBrow(x, y) && LooksLikeHair(p[2], p[1], p[0]);
  };
  // Forehead: everything down to the lowest hair of the column, above the brows.
  const int foreheadBottom = sf::kEyeLineY - 17;
  for (int x = 0; x < w; ++x) {
    int lowest = -1;
    for (int y = 0; y <= foreheadBottom; ++y) {
      if (hairAt(x, y)) lowest = y;
    }
    for (int y = 0; y <= lowest; ++y) {
      if (silhouette.At(x, y)) hair.At(x, y) = 1;
    }
  }
  // Sides: from the silhouette's edge in to the innermost hair near it, from
  // the temples down past the ears.
  constexpr int kReach = 24;
  for (int y = sf::kFaceTop + 30; y <= sf::kEarBottom + 8; ++y) {
    for (int side : {-1, 1}) {
      int edge = side < 0 ? 0 : w - 1;
      while (edge >= 0 && edge < w && !silhouette.At(edge, y)) edge -= side;
      if (edge < 0 || edge >= w) continue;
      int innermost = -1;
      for (int k = 0; k < kReach; ++k) {
        const int x = edge - side * k;
        if (x >= 0 && x < w && hairAt(x, y)) innermost = k;
      }
      for (int k = 0; k <= innermost; ++k) hair.At(edge - side * k, y) = 1;
    }
  }
  return Grown(hair, silhouette, 4);
}

void FillWithSkin(Bitmap& face, const PixelMask& region, const PixelMask& silhouette) {
  const int w = face.Width(), h = face.Height();
  if (region.Width != w || region.Height != h || silhouette.Width != w || silhouette.Height != h) return;
  const Plane original = ToPlane(face);

  // The skin that stays: the silhouette outside the region.
  PixelMask skin(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) skin.At(x, y) = silhouette.At(x, y) && !region.At(x, y);
  }
  const Plane smooth = MaskedBlur(original, skin, 2.0);

  // The skin's shading as a function of the distance from the face's middle,
  // measured on the skin that stays (without the eyes, brows, nose and
  // mouth): the forehead and temples take the shading of the cheeks at the
  // same distance, lighter in the middle and darker toward the edge. The
  // forehead is flatter from brows to hairline than the cheeks are from
  // nose to jaw, so above the eyes the distance counts less upward.
  auto ovalRadius = [](int x, int y) {
    const double rx = (x - sf::kFaceCentreX) / double(sf::kFaceRadiusX);
    const double ry = (y - sf::kFaceCentreY) / double(sf::kFaceRadiusY) * (y < sf::kEyeLineY ? 0.55 : 1.0);
    return std::sqrt(rx * rx + ry * ry);
  };
  auto isFeature = [](int x, int y) {
    for (int eyeX : {sf::kLeftEyeX, sf::kRightEyeX}) {
      if (std::abs(x - eyeX) <= sf::kEyeHalfWidth + 6 && y >= sf::kEyeLineY - 22 && y <= sf::kEyeLineY + 10)
        return true;
    }
    return std::abs(x - sf::kCentreX) <= sf::kMouthHalfWidth + 10 && y >= sf::kEyeLineY && y <= sf::kMouthY + 14;
  };
  constexpr int kBins = 24;
  constexpr double kBinWidth = 0.05;
  std::array<std::array<double, 3>, kBins> binSum{};
  std::array<int, kBins> binCount{};
  for (int y = 0; y < sf::kMouthY; ++y) {
    for (int x = 0; x < w; ++x) {
      if (!skin.At(x, y) || isFeature(x, y)) continue;
      const auto& c = smooth.At(x, y);
      if ((c[0] + c[1] + c[2]) / 3 < 130) continue;
      const int bin = std::min(kBins - 1, int(ovalRadius(x, y) / kBinWidth));
      for (int k = 0; k < 3; ++k) binSum[size_t(bin)][size_t(k)] += c[size_t(k)];
      ++binCount[size_t(bin)];
    }
  }
  // Near the middle the skin left to measure is beside the nose, in its
  // shadow: the profile starts where the cheeks are open, and never grows
  // lighter outward.
  constexpr int kFirstBin = 9;
  std::array<std::array<double, 3>, kBins> profile{};
  int lastFilled = -1;
  for (int b = kFirstBin; b < kBins; ++b) {
    if (binCount[size_t(b)] >= 20) {
      for (int k = 0; k < 3; ++k) profile[size_t(b)][size_t(k)] = binSum[size_t(b)][size_t(k)] / binCount[size_t(b)];
      if (lastFilled < 0) {
        for (int e = 0; e < b; ++e) profile[size_t(e)] = profile[size_t(b)];
      }
      if (lastFilled >= 0) {
        const auto& inner = profile[size_t(lastFilled)];
        auto& outer = profile[size_t(b)];
        if (outer[0] + outer[1] + outer[2] > inner[0] + inner[1] + inner[2]) outer = inner;
      }
      lastFilled = b;
    } else if (lastFilled >= 0) {
      profile[size_t(b)] = profile[size_t(lastFilled)];
    }
  }
  auto radial = [&](int x, int y) {
    const double at = std::clamp(ovalRadius(x, y) / kBinWidth - 0.5, 0.0, kBins - 1.0);
    const int b = std::min(kBins - 2, int(at));
    const double f = at - b;
    std::array<double, 3> m{};
    for (int k = 0; k < 3; ++k)
      m[size_t(k)] = profile[size_t(b)][size_t(k)] * (1 - f) + profile[size_t(b + 1)][size_t(k)] * f;
    return m;
  };
  // The forehead catches more light than the cheeks: above the brows the
  // shading is raised to the skin just under the region in the middle of
  // the forehead, and eases back to the cheeks' toward the eyes.
  std::array<double, 3> foreheadGain{1, 1, 1};
  {
    std::array<double, 3> seen{0, 0, 0}, expected{0, 0, 0};
    int count = 0;
    for (int x = sf::kLeftEyeX; x <= sf::kRightEyeX; ++x) {
      int y = 0;
      while (y < sf::kEyeLineY && (region.At(x, y) || !silhouette.At(x, y))) ++y;
      for (int k = 2; k < 6 && y + k < sf::kEyeLineY - 18; ++k) {
        const auto m = radial(x, y + k);
        for (int c = 0; c < 3; ++c) {
          seen[size_t(c)] += smooth.At(x, y + k)[c];
          expected[size_t(c)] += m[size_t(c)];
        }
        ++count;
      }
    }
    if (count > 0) {
      for (int c = 0; c < 3; ++c) foreheadGain[size_t(c)] = seen[size_t(c)] / expected[size_t(c)];
    }
  }
  auto model = [&](int x, int y) {
    const auto m = radial(x, y);
    const double lift = 1 - Smoothstep(sf::kEyeLineY - 34, sf::kEyeLineY, y);
    std::array<float, 3> out{};
    for (int c = 0; c < 3; ++c) out[size_t(c)] = float(m[size_t(c)] * (1 + (foreheadGain[size_t(c)] - 1) * lift));
    return out;
  };

  // Membrane fill of what the skin around the region differs from that
  // shading: inside the region every pixel's difference becomes the average
  // of its neighbours', the skin around it holds its own, and the
  // silhouette's edge lets it run on unchanged. The seam vanishes.
  Plane fill(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const auto m = model(x, y);
      for (int c = 0; c < 3; ++c) fill.At(x, y)[c] = region.At(x, y) ? 0.f : smooth.At(x, y)[c] - m[c];
    }
  }
  std::vector<std::pair<int, int>> unknown;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (region.At(x, y)) unknown.emplace_back(x, y);
    }
  }
  if (unknown.empty()) return;
  constexpr int kIterations = 3000;
  constexpr float kOverRelax = 1.9f;
  // The difference fades about eight pixels into the region, so the skin's
  // shading, not the border's average, decides the middle of the forehead.
  constexpr float kScreening = 0.06f;
  const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
  for (int iteration = 0; iteration < kIterations; ++iteration) {
    for (auto [x, y] : unknown) {
      std::array<float, 3> s{0, 0, 0};
      int n = 0;
      for (int k = 0; k < 4; ++k) {
        const int xx = x + dx[k], yy = y + dy[k];
        if (!silhouette.At(xx, yy)) continue;
        for (int c = 0; c < 3; ++c) s[c] += fill.At(xx, yy)[c];
        ++n;
      }
      if (n == 0) continue;
      for (int c = 0; c < 3; ++c) fill.At(x, y)[c] += kOverRelax * (s[c] / (n + kScreening) - fill.At(x, y)[c]);
    }
  }
  for (auto [x, y] : unknown) {
    const auto m = model(x, y);
    for (int c = 0; c < 3; ++c) fill.At(x, y)[c] += m[c];
  }

  // The forehead and temples curve away from the light toward the oval's
  // edge; the outer part of the filled skin is a little darker there.
  for (auto [x, y] : unknown) {
    const double rx = (x - sf::kFaceCentreX) / double(sf::kFaceRadiusX);
    const double ry = (y - sf::kFaceCentreY) / double(sf::kFaceRadiusY);
    const double r = std::sqrt(rx * rx + ry * ry);
    const double shade = 1 - 0.07 * Smoothstep(0.7, 1.05, r);
    for (int c = 0; c < 3; ++c) fill.At(x, y)[c] = float(fill.At(x, y)[c] * shade);
  }

  // The ears: in shadow where they meet the head, a fold running inside the
  // rim, and a little redder than the face.
  for (auto [x, y] : unknown) {
    const double r = std::hypot((x - sf::kFaceCentreX) / double(sf::kFaceRadiusX),
                                (y - sf::kFaceCentreY) / double(sf::kFaceRadiusY));
    if (r <= 1 || y < sf::kEarTop - 10 || y > sf::kEarBottom + 10) continue;
    const double fromHead = (r - 1) * sf::kFaceRadiusX;
    const double fromRim = DistanceTo(silhouette, x, y, 8, 0);
    const double shade = 1 - 0.16 * std::exp(-fromHead / 2.0) - 0.1 * std::exp(-std::pow((fromRim - 3.5) / 1.3, 2));
    auto& c = fill.At(x, y);
    c = {float(c[0] * shade - 3), float(c[1] * shade), float(c[2] * shade + 4)};
  }

  const Plane sourceGrain = Grain(original, MaskedBlur(original, skin, 2.0));
  const Plane grain = SynthesisedGrain(sourceGrain, w, h);

  // Blend over four pixels around the region, so no seam shows.
  constexpr int kFeather = 4;
  for (int y = 0; y < h; ++y) {
    uint8_t* row = face.Row(y);
    for (int x = 0; x < w; ++x) {
      if (!silhouette.At(x, y) || InBrow(x, y)) continue;
      double weight = 1;
      if (!region.At(x, y)) {
        const double d = DistanceTo(region, x, y, kFeather + 1, 1);
        if (d > kFeather) continue;
        weight = 1 - d / (kFeather + 1);
      }
      for (int c = 0; c < 3; ++c) {
        const double made = region.At(x, y) ? fill.At(x, y)[c] + grain.At(x, y)[c]
                                            : smooth.At(x, y)[c] + grain.At(x, y)[c];
        const double value = weight * made + (1 - weight) * original.At(x, y)[c];
        row[3 * x + c] = uint8_t(std::clamp(std::lround(value), 0L, 255L));
      }
    }
  }
}

void CarveSoftly(Bitmap& face, const PixelMask& silhouette) {
  if (silhouette.Width != face.Width() || silhouette.Height != face.Height()) return;
  constexpr int kSoftness = 3;
  for (int y = 0; y < face.Height(); ++y) {
    uint8_t* p = face.Row(y);
    for (int x = 0; x < face.Width(); ++x, p += 3) {
      if (!silhouette.At(x, y)) {
        p[0] = p[1] = p[2] = 255;
        continue;
      }
      // Pixels one and two steps from the outside keep a third and two thirds
      // of their colour; the picture's own border is no edge.
      double d = kSoftness;
      for (int dy = -kSoftness; dy <= kSoftness; ++dy) {
        for (int dx = -kSoftness; dx <= kSoftness; ++dx) {
          const int xx = x + dx, yy = y + dy;
          if (!silhouette.Inside(xx, yy) || silhouette.At(xx, yy)) continue;
          d = std::min(d, std::hypot(double(dx), double(dy)));
        }
      }
      const double keep = std::min(1.0, d / kSoftness + 0.05);
      for (int c = 0; c < 3; ++c) p[c] = uint8_t(std::lround(keep * p[c] + (1 - keep) * 255));
    }
  }
}

}  // namespace glamora::modelface
