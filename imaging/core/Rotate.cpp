#include "imaging/core/Rotate.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <utility>

#include "imaging/core/ReplacePicture.h"
#include "imaging/core/Rounding.h"

namespace glamora {

namespace {

enum class Turn { CounterClockwise, Clockwise, Half };

// Source pixel of destination pixel (x, y) for a source of w × h.
inline void SourceOf(Turn turn, int x, int y, int w, int h, int& sx, int& sy) {
  switch (turn) {
    case Turn::CounterClockwise: sx = w - 1 - y; sy = x; return;
    case Turn::Clockwise: sx = y; sy = h - 1 - x; return;
    case Turn::Half: sx = w - 1 - x; sy = h - 1 - y; return;
  }
}

inline unsigned IndexAt(const Bitmap& b, int x, int y) {
  const uint8_t* row = b.Row(y);
  return b.Format() == PixelFormat::Bits8 ? row[x] : (row[x >> 3] >> (7 - (x & 7))) & 1u;
}

inline void SetIndex(Bitmap& b, int x, int y, unsigned index) {
  uint8_t* row = b.Row(y);
  if (b.Format() == PixelFormat::Bits8) {
    row[x] = uint8_t(index);
    return;
  }
  const uint8_t mask = uint8_t(0x80u >> (x & 7));
  row[x >> 3] = index ? uint8_t(row[x >> 3] | mask) : uint8_t(row[x >> 3] & ~mask);
}

Bitmap Turned(const Bitmap& src, Turn turn) {
  const int w = src.Width(), h = src.Height();
  const bool swap = turn != Turn::Half;
  Bitmap dst(swap ? h : w, swap ? w : h, src.Format());
  dst.Palette() = src.Palette();
  if (src.Format() != PixelFormat::Bits24) {
    for (int y = 0; y < dst.Height(); ++y) {
      for (int x = 0; x < dst.Width(); ++x) {
        int sx, sy;
        SourceOf(turn, x, y, w, h, sx, sy);
        SetIndex(dst, x, y, IndexAt(src, sx, sy));
      }
    }
    return dst;
  }
  // Square tiles keep both the rows read and the rows written in cache.
  constexpr int kTile = 32;
  for (int ty = 0; ty < dst.Height(); ty += kTile) {
    const int yEnd = std::min(dst.Height(), ty + kTile);
    for (int tx = 0; tx < dst.Width(); tx += kTile) {
      const int xEnd = std::min(dst.Width(), tx + kTile);
      for (int y = ty; y < yEnd; ++y) {
        uint8_t* out = dst.Row(y) + 3 * size_t(tx);
        for (int x = tx; x < xEnd; ++x, out += 3) {
          int sx, sy;
          SourceOf(turn, x, y, w, h, sx, sy);
          std::memcpy(out, src.Row(sy) + 3 * size_t(sx), 3);
        }
      }
    }
  }
  return dst;
}

// The 12-bit fixed-point blend of the previous and the current source pixel:
// (previous × u + source × v + 2048) / 4096 with the fraction dropped toward
// negative infinity, then clamped. u may be negative (v then exceeds 4096);
// a negative numerator gives 0 under any rounding of the quotient, and the
// floor keeps + 2048 a plain round-half-up for every sign. Equal inputs give
// themselves back, so flat areas stay flat.
inline uint8_t Blend(int previous, int source, int u, int v) {
  return ClampToByte((previous * u + source * v + 2048) >> 12);
}

inline void BlendPixel(const uint8_t* previous, const uint8_t* source, int u, int v, uint8_t* out) {
  out[0] = Blend(previous[0], source[0], u, v);
  out[1] = Blend(previous[1], source[1], u, v);
  out[2] = Blend(previous[2], source[2], u, v);
}

struct Bgr {
  uint8_t Channel[3];
};

Bgr BgrOf(TColor color) {
  color = ResolveColor(color);
  return {{BlueOf(color), GreenOf(color), RedOf(color)}};
}

// One row of a horizontal shear: n source pixels go to out (m pixels, already
// background) shifted by `shift`, those that land outside are dropped. With
// antialias each pixel blends with the previous landed one (the background
// before the first), and when u > 0 the pixel after the last gets the blend of
// the last with the background.
void ShearRow(const uint8_t* src, int n, uint8_t* out, int m, int shift, int u, bool antialias, const Bgr& bg) {
  const int first = std::max(0, -shift);
  const int end = std::min(n, m - shift);
  if (!antialias) {
    if (end > first) std::memcpy(out + 3 * size_t(first + shift), src + 3 * size_t(first), 3 * size_t(end - first));
    return;
  }
  const int v = 4096 - u;
  const uint8_t* previous = bg.Channel;
  for (int x = first; x < end; ++x) {
    BlendPixel(previous, src + 3 * size_t(x), u, v, out + 3 * size_t(x + shift));
    previous = src + 3 * size_t(x);
  }
  const int after = shift + n;
  if (u > 0 && after >= 0 && after < m) BlendPixel(previous, bg.Channel, u, v, out + 3 * size_t(after));
}

class ShearProgress {
 public:
  ShearProgress(const ProgressHandler& handler, const ShearGeometry& g)
      : handler_(handler), total_(g.H + g.W1 + g.H2 + 0.5) {}
  void Step() {
    ++step_;
    if (handler_) handler_(int(TruncGuarded(step_ * 100 / total_)));
  }

 private:
  const ProgressHandler& handler_;
  double total_;
  int64_t step_ = 0;
};

// First shear: row r of T moves right by round(k × t), k = r for a positive
// angle and H − r otherwise; its fraction (truncated) weighs the blend.
void FirstShear(const Bitmap& t, const ShearGeometry& g, bool antialias, const Bgr& bg, Bitmap& out,
                ShearProgress& progress) {
  for (int r = 0; r < g.H; ++r) {
    const double kt = (g.Theta > 0 ? r : g.H - r) * g.T;
    const int64_t o = RoundEven(kt);
    const int u = int(TruncGuarded((kt - double(o)) * 4096));
    ShearRow(t.Row(r), g.W, out.Row(r), g.W1, int(o), u, antialias, bg);
    progress.Step();
  }
}

// Second shear: column c moves down by round(k × s) − D, k = W1 − c for a
// positive angle and c otherwise. Columns are done in narrow strips, row by
// row inside a strip, so that reads and writes run along rows.
void SecondShear(const Bitmap& a, const ShearGeometry& g, bool antialias, const Bgr& bg, Bitmap& out,
                 ShearProgress& progress) {
  std::vector<int> shift(size_t(g.W1)), u(size_t(g.W1));
  for (int c = 0; c < g.W1; ++c) {
    const double ks = (g.Theta > 0 ? g.W1 - c : c) * g.S;
    const int64_t o = RoundEven(ks);
    u[size_t(c)] = int(RoundEven((ks - double(o)) * 4096));
    shift[size_t(c)] = int(o) - g.D;
  }
  constexpr int kStrip = 16;
  for (int c0 = 0; c0 < g.W1; c0 += kStrip) {
    const int c1 = std::min(g.W1, c0 + kStrip);
    for (int r = 0; r < g.H2; ++r) {
      uint8_t* row = out.Row(r);
      for (int c = c0; c < c1; ++c) {
        uint8_t* px = row + 3 * size_t(c);
        const int y = r - shift[size_t(c)];
        const int uc = u[size_t(c)];
        const bool inside = y >= 0 && y < g.H;
        const bool tail = antialias && uc > 0 && y == g.H;
        if (!inside && !tail) {
          std::memcpy(px, bg.Channel, 3);
          continue;
        }
        const uint8_t* source = inside ? a.Row(y) + 3 * size_t(c) : bg.Channel;
        if (!antialias) {
          std::memcpy(px, source, 3);
          continue;
        }
        // The pixel above blends in only when it landed inside too.
        const uint8_t* previous = (y >= 1 && r >= 1) ? a.Row(y - 1) + 3 * size_t(c) : bg.Channel;
        BlendPixel(previous, source, uc, 4096 - uc, px);
      }
    }
    for (int c = c0; c < c1; ++c) progress.Step();
  }
}

// Third shear: row r moves right by round(k × t) − E, k = r for a positive
// angle and H2 − r otherwise.
void ThirdShear(const Bitmap& b, const ShearGeometry& g, bool antialias, const Bgr& bg, Bitmap& out,
                ShearProgress& progress) {
  for (int r = 0; r < g.H2; ++r) {
    const double kt = (g.Theta > 0 ? r : g.H2 - r) * g.T;
    const int64_t o = RoundEven(kt);
    const int u = int(RoundEven((kt - double(o)) * 4096));
    ShearRow(b.Row(r), g.W1, out.Row(r), g.W3, int(o) - g.E, u, antialias, bg);
    progress.Step();
  }
}

bool FitsLimits(const ShearGeometry& g) {
  return g.W1 > 0 && g.H2 > 0 && g.W3 > 0 && SizeWithinLimits(g.W1, g.H) && SizeWithinLimits(g.W1, g.H2) &&
         SizeWithinLimits(g.W3, g.H2);
}

}  // namespace

Bitmap TurnedCounterClockwise(const Bitmap& src) { return Turned(src, Turn::CounterClockwise); }
Bitmap TurnedClockwise(const Bitmap& src) { return Turned(src, Turn::Clockwise); }
Bitmap TurnedHalf(const Bitmap& src) { return Turned(src, Turn::Half); }

ShearGeometry ShearGeometryFor(int width, int height, int degrees) {
  ShearGeometry g;
  g.W = width;
  g.H = height;
  g.Theta = degrees * std::numbers::pi / 180;
  g.T = std::fabs(std::sin(g.Theta / 2) / std::cos(g.Theta / 2));
  g.S = std::fabs(std::sin(g.Theta));
  g.W1 = int(RoundEven(height * g.T + width + 1));
  g.D = int(RoundEven((g.W1 - width) * g.S));
  const int h2 = int(RoundEven(g.S * g.W1 + height + 1));
  g.E = int(RoundEven(g.T * (h2 - height - g.D)));
  g.H2 = h2 - 2 * g.D;
  g.W3 = int(RoundEven(g.T * g.H2 + g.W1 + 1 - 2 * g.E));
  return g;
}

bool Rotate(Bitmap& bitmap, int angle, bool antialias, TColor background, const ProgressHandler& progress) {
  if (bitmap.Empty()) return false;
  Bitmap converted;
  const Bitmap* source = &bitmap;
  if (bitmap.Format() != PixelFormat::Bits24) {
    converted.Assign(bitmap);
    converted.ConvertTo24();
    source = &converted;
  }
  // Quarter turns until the rest lies in −45..45; turning four times is no
  // turn at all, so only the count modulo 4 is carried out.
  int n = angle % 360;
  int quarters = 0;
  while (n > 45) {
    n -= 90;
    ++quarters;
  }
  while (n < -45) {
    n += 90;
    --quarters;
  }
  Bitmap turned;
  switch ((quarters % 4 + 4) % 4) {
    case 1: turned = TurnedCounterClockwise(*source); break;
    case 2: turned = TurnedHalf(*source); break;
    case 3: turned = TurnedClockwise(*source); break;
    default: turned.Assign(*source); break;
  }
  if (n == 0) {
    ReplacePicture(bitmap, std::move(turned));
    return true;
  }
  const ShearGeometry g = ShearGeometryFor(turned.Width(), turned.Height(), n);
  if (!FitsLimits(g)) return false;
  const Bgr bg = BgrOf(background);
  ShearProgress steps(progress, g);
  Bitmap first(g.W1, g.H);
  first.Fill(background);
  FirstShear(turned, g, antialias, bg, first, steps);
  turned = Bitmap();
  Bitmap second(g.W1, g.H2);
  SecondShear(first, g, antialias, bg, second, steps);
  first = Bitmap();
  Bitmap third(g.W3, g.H2);
  third.Fill(background);
  ThirdShear(second, g, antialias, bg, third, steps);
  ReplacePicture(bitmap, std::move(third));
  return true;
}

}  // namespace glamora
