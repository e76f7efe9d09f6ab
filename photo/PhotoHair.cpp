// The hair's placement on a photographed face, its soft key and its compositing.
#include "photo/PhotoHair.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "face/StandardFace.h"
#include "imaging/core/Luma.h"
#include "hair/LargeHairstyle.h"
#include "imaging/components/ImgIO.h"
#include "imaging/core/Resample.h"

namespace glamora {

namespace {

// Darkness against white below this is noise of the white background.
constexpr int kNoise = 10;
// Hair at least this dark is taken as fully covering, whatever lies about it.
constexpr int kMinHairDarkness = 48;
// The shadow under the hair's edge: its softness and drop in eye distances,
// and how much light it takes at most.
constexpr double kShadowSoftness = 0.035;
constexpr double kShadowDrop = 0.02;
constexpr double kShadowStrength = 0.28;
// The share of the hair picture's width and height over which hair fades out
// at its edges.
constexpr double kEdgeFade = 0.03;

Bitmap GreyBitmap(int width, int height) {
  Bitmap grey(width, height, PixelFormat::Bits8);
  grey.Palette().resize(256);
  for (int i = 0; i < 256; ++i) grey.Palette()[size_t(i)] = Rgb(uint8_t(i), uint8_t(i), uint8_t(i));
  return grey;
}

// Channel 0 of a 24-bit picture as an 8-bit grey one.
Bitmap FirstChannel(const Bitmap& picture) {
  Bitmap grey = GreyBitmap(picture.Width(), picture.Height());
  for (int y = 0; y < picture.Height(); ++y) {
    const uint8_t* from = picture.Row(y);
    uint8_t* to = grey.Row(y);
    for (int x = 0; x < picture.Width(); ++x) to[x] = from[3 * x];
  }
  return grey;
}

// Bilinear reading of a 24-bit and an 8-bit plane of one size; outside them
// the picture is white and the coverage 0.
struct PlaneReader {
  const Bitmap& Colour;
  const Bitmap& Cover;

  // Weights of the four pixels round (u, v), or false when none is inside.
  struct Taps {
    int X0, Y0;
    int W[4];  // 8-bit fixed point, summing to 256 (some may lie outside)
  };
  bool At(double u, double v, Taps& t) const {
    if (!(u > -1 && v > -1 && u < Colour.Width() && v < Colour.Height())) return false;
    const double fu = std::floor(u), fv = std::floor(v);
    t.X0 = int(fu);
    t.Y0 = int(fv);
    const int wu = int((u - fu) * 256 + 0.5), wv = int((v - fv) * 256 + 0.5);
    t.W[0] = (256 - wu) * (256 - wv) >> 8;
    t.W[1] = wu * (256 - wv) >> 8;
    t.W[2] = (256 - wu) * wv >> 8;
    t.W[3] = 256 - t.W[0] - t.W[1] - t.W[2];
    return true;
  }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Colour.Width() && y < Colour.Height(); }
  int Coverage(const Taps& t) const {
    int sum = 0;
    for (int k = 0; k < 4; ++k) {
      const int x = t.X0 + (k & 1), y = t.Y0 + (k >> 1);
      if (Inside(x, y)) sum += t.W[k] * Cover.Row(y)[x];
    }
    return (sum + 128) >> 8;
  }
  void Colours(const Taps& t, int out[3]) const {
    int sum[3] = {0, 0, 0};
    for (int k = 0; k < 4; ++k) {
      const int x = t.X0 + (k & 1), y = t.Y0 + (k >> 1);
      const uint8_t* p = Inside(x, y) ? Colour.Row(y) + 3 * x : nullptr;
      for (int ch = 0; ch < 3; ++ch) sum[ch] += t.W[k] * (p ? p[ch] : 255);
    }
    for (int ch = 0; ch < 3; ++ch) out[ch] = (sum[ch] + 128) >> 8;
  }
};

// Hair that runs to the edge of its picture would end there in a straight
// cut: the coverage fades out over the last few percent of every side.
void FadeEdges(Bitmap& alpha) {
  const int w = alpha.Width(), h = alpha.Height();
  const double fadeX = std::max(1.0, kEdgeFade * w), fadeY = std::max(1.0, kEdgeFade * h);
  std::vector<int> across(static_cast<size_t>(w));
  for (int x = 0; x < w; ++x) {
    across[size_t(x)] = int(std::lround(256 * std::min(1.0, std::min(x + 0.5, w - x - 0.5) / fadeX)));
  }
  for (int y = 0; y < h; ++y) {
    const int down = int(std::lround(256 * std::min(1.0, std::min(y + 0.5, h - y - 0.5) / fadeY)));
    uint8_t* a = alpha.Row(y);
    for (int x = 0; x < w; ++x) a[x] = uint8_t((a[x] * across[size_t(x)] * down + (1 << 15)) >> 16);
  }
}

// The hair as it would show over white: 255 − a (255 − c).
Bitmap OverWhite(const Bitmap& colour, const Bitmap& alpha) {
  Bitmap onWhite(colour.Width(), colour.Height());
  for (int y = 0; y < colour.Height(); ++y) {
    const uint8_t* c = colour.Row(y);
    const uint8_t* a = alpha.Row(y);
    uint8_t* out = onWhite.Row(y);
    for (int x = 0; x < colour.Width(); ++x) {
      for (int ch = 0; ch < 3; ++ch) out[3 * x + ch] = uint8_t(255 - (a[x] * (255 - c[3 * x + ch]) + 127) / 255);
    }
  }
  return onWhite;
}

}  // namespace

PointF Similarity::Unmap(PointF p) const {
  const double det = A * A + B * B, x = p.X - Tx, y = p.Y - Ty;
  return {(A * x + B * y) / det, (-B * x + A * y) / det};
}

double Similarity::Scale() const { return std::hypot(A, B); }

Similarity StandardFaceOnto(const FaceLandmarks& points) {
  namespace sf = standard_face;
  const std::array<PointF, 3> from{PointF{double(sf::kLeftEyeX), double(sf::kEyeLineY)},
                                   PointF{double(sf::kRightEyeX), double(sf::kEyeLineY)},
                                   PointF{double(sf::kCentreX), double(sf::kMouthY)}};
  const std::array<PointF, 3> to{Centre(points, landmark::kLeftEye), Centre(points, landmark::kRightEye),
                                 MouthCentre(points)};
  PointF fromMean{}, toMean{};
  for (size_t i = 0; i < 3; ++i) {
    fromMean = {fromMean.X + from[i].X / 3, fromMean.Y + from[i].Y / 3};
    toMean = {toMean.X + to[i].X / 3, toMean.Y + to[i].Y / 3};
  }
  double dot = 0, cross = 0, norm = 0;
  for (size_t i = 0; i < 3; ++i) {
    const double qx = from[i].X - fromMean.X, qy = from[i].Y - fromMean.Y;
    const double px = to[i].X - toMean.X, py = to[i].Y - toMean.Y;
    dot += qx * px + qy * py;
    cross += qx * py - qy * px;
    norm += qx * qx + qy * qy;
  }
  Similarity s;
  s.A = dot / norm;
  s.B = cross / norm;
  s.Tx = toMean.X - (s.A * fromMean.X - s.B * fromMean.Y);
  s.Ty = toMean.Y - (s.B * fromMean.X + s.A * fromMean.Y);
  return s;
}

Bitmap KeyHairOnWhite(const Bitmap& onWhite) {
  const int w = onWhite.Width(), h = onWhite.Height();
  // Darkness against white, then the darkest hair within two pixels.
  std::vector<uint8_t> dark(size_t(w) * size_t(h)), near(dark.size()), across(dark.size());
  for (int y = 0; y < h; ++y) {
    const uint8_t* p = onWhite.Row(y);
    for (int x = 0; x < w; ++x, p += 3) dark[size_t(y) * w + x] = uint8_t(255 - Luma(p[2], p[1], p[0]));
  }
  constexpr int r = 2;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t m = 0;
      for (int i = std::max(0, x - r); i <= std::min(w - 1, x + r); ++i) m = std::max(m, dark[size_t(y) * w + i]);
      across[size_t(y) * w + x] = m;
    }
  }
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t m = 0;
      for (int j = std::max(0, y - r); j <= std::min(h - 1, y + r); ++j) m = std::max(m, across[size_t(j) * w + x]);
      near[size_t(y) * w + x] = m;
    }
  }
  Bitmap alpha = GreyBitmap(w, h);
  for (int y = 0; y < h; ++y) {
    uint8_t* a = alpha.Row(y);
    for (int x = 0; x < w; ++x) {
      const int d = dark[size_t(y) * w + x] - kNoise;
      const int full = std::max<int>(near[size_t(y) * w + x], kMinHairDarkness) - kNoise;
      a[x] = uint8_t(d <= 0 ? 0 : std::min(255, (d * 255 + full / 2) / full));
    }
  }
  return alpha;
}

bool LoadHairLayer(const std::string& cataloguePicture, double facePixels, HairLayer& layer,
                   const DecodeLimits& limits) {
  if (!AcceptedHairExtension(cataloguePicture)) return false;
  HairWithAlpha large;
  const std::string largeFile = facePixels > 1 ? LargeHairstylePath(cataloguePicture) : std::string();
  if (!largeFile.empty() && ReadLargeHairstyle(largeFile, large, limits)) {
    layer.OnWhite = OverWhite(large.Colour, large.Alpha);
    layer.Alpha = GreyBitmap(large.Alpha.Width(), large.Alpha.Height());
    for (int y = 0; y < large.Alpha.Height(); ++y) {
      std::copy_n(large.Alpha.Row(y), large.Alpha.Width(), layer.Alpha.Row(y));
    }
    FadeEdges(layer.Alpha);
    return true;
  }
  Bitmap picture;
  TImgIO io;
  io.Params.Limits = limits;
  io.SetBitmap(&picture);
  try {
    if (!io.LoadFromFile(cataloguePicture) || picture.Empty()) return false;
  } catch (const FileError&) {
    return false;
  }
  picture.ConvertTo24();
  layer.Alpha = KeyHairOnWhite(picture);
  FadeEdges(layer.Alpha);
  layer.OnWhite = std::move(picture);
  return true;
}

bool LayHair(Bitmap& photo, const HairLayer& hair, const PixelRect& placement, const Similarity& onto,
             THairColour tint, const SoftMask& skin) {
  if (hair.Empty() || placement.Empty() || photo.Format() != PixelFormat::Bits24) return true;
  const double scale = onto.Scale();
  if (!(scale > 0)) return true;
  // The hair at about the size it takes on the photograph, so that the
  // last step only turns and shifts it.
  const double width = std::round(hair.OnWhite.Width() * scale * placement.Width / hair.OnWhite.Width());
  const double height = std::round(hair.OnWhite.Height() * scale * placement.Height / hair.OnWhite.Height());
  if (!(width >= 1 && height >= 1) || !SizeWithinLimits(int64_t(std::min(width, 1e9)), int64_t(std::min(height, 1e9)))) {
    return false;
  }
  Bitmap colour, coverage24;
  if (!Resample(hair.OnWhite, colour, int(width), int(height), rfLanczos3) ||
      !Resample(hair.Alpha, coverage24, int(width), int(height), rfLanczos3)) {
    return false;
  }
  const Bitmap cover = FirstChannel(coverage24);
  coverage24 = Bitmap();
  const PlaneReader reader{colour, cover};
  const double kx = double(placement.Width) / width, ky = double(placement.Height) / height;

  // The photograph's pixels the placement's corners enclose.
  double left = 1e18, top = 1e18, right = -1e18, bottom = -1e18;
  for (const PointF corner : {PointF{double(placement.Left), double(placement.Top)},
                              PointF{double(placement.Left + placement.Width), double(placement.Top)},
                              PointF{double(placement.Left), double(placement.Top + placement.Height)},
                              PointF{double(placement.Left + placement.Width), double(placement.Top + placement.Height)}}) {
    const PointF p = onto.Map(corner);
    left = std::min(left, p.X);
    top = std::min(top, p.Y);
    right = std::max(right, p.X);
    bottom = std::max(bottom, p.Y);
  }
  const auto bounded = [](double v) { return int(std::clamp(v, -1e9, 1e9)); };
  SoftMask hairCover = EmptyMaskOn(
      PixelRect::FromEdges(bounded(std::floor(left)) - 1, bounded(std::floor(top)) - 1, bounded(std::ceil(right)) + 1,
                           bounded(std::ceil(bottom)) + 1),
      photo);
  if (hairCover.Empty()) return true;
  const PixelRect& box = hairCover.Box;

  // Where each photograph pixel's centre falls in the resampled hair:
  // u = (q.x − left) / kx − 0.5 for the standard-face point q, which moves
  // by a fixed step from pixel to pixel along a row.
  const auto hairPoint = [&](double px, double py) {
    const PointF q = onto.Unmap({px, py});
    return PointF{(q.X - placement.Left) / kx - 0.5, (q.Y - placement.Top) / ky - 0.5};
  };
  const PointF origin = hairPoint(box.Left + 0.5, box.Top + 0.5);
  const PointF stepX = hairPoint(box.Left + 1.5, box.Top + 0.5), stepY = hairPoint(box.Left + 0.5, box.Top + 1.5);
  const double dux = stepX.X - origin.X, dvx = stepX.Y - origin.Y, duy = stepY.X - origin.X, dvy = stepY.Y - origin.Y;
  const auto forEach = [&](auto&& visit) {
    for (int y = 0; y < box.Height; ++y) {
      double u = origin.X + duy * y, v = origin.Y + dvy * y;
      for (int x = 0; x < box.Width; ++x, u += dux, v += dvx) visit(x, y, u, v);
    }
  };

  PlaneReader::Taps taps{};
  forEach([&](int x, int y, double u, double v) {
    if (reader.At(u, v, taps)) hairCover.Row(y)[x] = uint8_t(reader.Coverage(taps));
  });

  // The shadow: the coverage softened and dropped along the face's down,
  // darkening skin the hair leaves uncovered.
  const double eyeDistance = scale * (standard_face::kRightEyeX - standard_face::kLeftEyeX);
  SoftMask shadow = hairCover;
  FeatherMask(shadow, std::max(1, int(std::lround(kShadowSoftness * eyeDistance))), 2);
  const double drop = kShadowDrop * eyeDistance;
  const int dropX = int(std::lround(-onto.B / scale * drop)), dropY = int(std::lround(onto.A / scale * drop));
  std::array<int, 256> light{};
  for (int s = 0; s < 256; ++s) light[size_t(s)] = int(std::lround(65536 * kShadowStrength * s / 255.0));

  forEach([&](int x, int y, double u, double v) {
    uint8_t* p = photo.Row(box.Top + y) + 3 * size_t(box.Left + x);
    const int a = hairCover.Row(y)[x];
    const int sx = x - dropX, sy = y - dropY;
    const int s = sx >= 0 && sy >= 0 && sx < box.Width && sy < box.Height ? shadow.Row(sy)[sx] : 0;
    const int k = s ? light[size_t(s * (255 - a) / 255 * skin.At(box.Left + x, box.Top + y) / 255)] : 0;
    if (k) {
      for (int ch = 0; ch < 3; ++ch) p[ch] = uint8_t((p[ch] * (65536 - k) + 32768) >> 16);
    }
    if (a == 0 || !reader.At(u, v, taps)) return;
    int on[3];
    reader.Colours(taps, on);
    const int add[3] = {tint.Blue, tint.Green, tint.Red};
    for (int ch = 0; ch < 3; ++ch) {
      // Hair colour times coverage, from the picture over white: c·a = on − 255 (1 − a).
      const int hairTimesCover = std::clamp(on[ch] * 255 - 255 * (255 - a) + add[ch] * a, 0, 255 * a);
      p[ch] = uint8_t((p[ch] * (255 - a) + hairTimesCover + 127) / 255);
    }
  });
  return true;
}

}  // namespace glamora
