// Rotation: quarter turns, the three shears against their definition pixel by
// pixel, the blend weights, sizes, limits and progress.
#include "imaging/core/Rotate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <vector>

#include "imaging/core/PolygonRegion.h"
#include "imaging/core/Rounding.h"
#include "imaging/core/ShearKernels.h"
#include "tests/core/TestPictures.h"

namespace glamora {
namespace {

using test::FirstDifference;
using test::FlatPicture;
using test::RandomPicture;

// A grey picture from rows of levels, and the levels of a grey picture.
Bitmap GreyPicture(const std::vector<std::vector<int>>& rows) {
  Bitmap b(int(rows[0].size()), int(rows.size()));
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      const uint8_t v = uint8_t(rows[size_t(y)][size_t(x)]);
      b.SetPixel(x, y, Rgb(v, v, v));
    }
  }
  return b;
}

std::vector<std::vector<int>> GreyLevels(const Bitmap& b) {
  std::vector<std::vector<int>> rows(size_t(b.Height()), std::vector<int>(size_t(b.Width())));
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      const TColor c = b.Pixel(x, y);
      EXPECT_TRUE(RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c)) << x << "," << y;
      rows[size_t(y)][size_t(x)] = RedOf(c);
    }
  }
  return rows;
}

using Levels = std::vector<std::vector<int>>;
const Levels kSmall = {{0, 100, 200}, {40, 140, 240}};

TEST(Rotate, ASmallTurnWorkedByHand) {
  // 3 × 2 by 40° on white (W). t = tan 20° = 0.364, s = sin 40° = 0.643;
  // W1 = round(2t + 4) = 5, d = round(2s) = 1, H2 = round(5s + 3) − 2 = 4,
  // e = round(t × (6 − 2 − 1)) = 1, W3 = round(4t + 5 + 1 − 2) = 5.
  // First shear: rows 0 and 1 move by round(0t) = round(t) = 0.
  // Second shear: column c moves down by round((5 − c) s) − 1 = 2, 2, 1, 0, 0:
  //   W W W W W / W W 200 W W / 0 100 240 W W / 40 140 W W W.
  // Third shear: row r moves right by round(r t) − 1 = −1, −1, 0, 0, so the
  // 200 of row 1 goes one column left.
  Bitmap b = GreyPicture(kSmall);
  ASSERT_TRUE(Rotate(b, 40, false, clWhite));
  const Levels expected = {{255, 255, 255, 255, 255},
                           {255, 200, 255, 255, 255},
                           {0, 100, 240, 255, 255},
                           {40, 140, 255, 255, 255}};
  EXPECT_EQ(GreyLevels(b), expected);
}

TEST(Rotate, BlendsWithTwelveBitWeights) {
  // The same picture antialiased. In the first shear row 1 has k t = 0.364,
  // o = 0, u = trunc(0.364 × 4096) = 1490, v = 2606, so its first pixel becomes
  // (255 × 1490 + 40 × 2606 + 2048) / 4096 = 118 before the other two shears
  // blend it on. A rounded shift can leave a negative weight, which sharpens:
  // the black pixel comes out as 1 here, and a level can overshoot to 0 or 255.
  struct Case {
    int Angle;
    Levels Expected;
  };
  const Case cases[] = {
      {40, {{255, 255, 255, 255, 255}, {255, 217, 231, 254, 255}, {1, 28, 250, 255, 255}, {108, 105, 241, 255, 255}}},
      {-40, {{180, 54, 89, 214, 255}, {255, 151, 178, 221, 252}, {255, 255, 236, 255, 255}, {255, 255, 255, 255, 255}}},
  };
  for (const Case& c : cases) {
    Bitmap b = GreyPicture(kSmall);
    ASSERT_TRUE(Rotate(b, c.Angle, true, clWhite));
    EXPECT_EQ(GreyLevels(b), c.Expected) << c.Angle;
  }
}

// The three shears pixel by pixel, straight from their definition, each into
// a canvas of its own: line `in` (n pixels) moves by `shift` onto a line of m
// pixels; with antialias each landed pixel blends with the one landed before
// it (the background before the first) by weights u and 4096 − u, and when
// u > 0 the place after the last source pixel gets the last blended with the
// background.
using Line = std::vector<TColor>;

int BlendByHand(int previous, int source, int u) {
  const int sum = previous * u + source * (4096 - u) + 2048;
  const int floored = sum >= 0 ? sum / 4096 : -((-sum + 4095) / 4096);
  return std::clamp(floored, 0, 255);
}

TColor BlendByHand(TColor previous, TColor source, int u) {
  return Rgb(uint8_t(BlendByHand(RedOf(previous), RedOf(source), u)),
             uint8_t(BlendByHand(GreenOf(previous), GreenOf(source), u)),
             uint8_t(BlendByHand(BlueOf(previous), BlueOf(source), u)));
}

Line ShearByHand(const Line& in, int m, int shift, int u, bool antialias, TColor bg) {
  const int n = int(in.size());
  Line out(size_t(m), bg);
  const int first = std::max(0, -shift);
  bool landed = false;
  for (int j = 0; j < m; ++j) {
    const int i = j - shift;
    if (i < first || i >= n) continue;
    landed = true;
    out[size_t(j)] = antialias ? BlendByHand(i == first ? bg : in[size_t(i - 1)], in[size_t(i)], u) : in[size_t(i)];
  }
  if (antialias && landed && u > 0 && shift + n >= 0 && shift + n < m) {
    out[size_t(shift + n)] = BlendByHand(in.back(), bg, u);
  }
  return out;
}

Bitmap RotateByHand(const Bitmap& src, int angle, bool antialias, TColor bg) {
  const ShearGeometry g = ShearGeometryFor(src.Width(), src.Height(), angle);
  const bool positive = g.Theta > 0;
  std::vector<Line> first(size_t(g.H));  // rows of W1
  for (int r = 0; r < g.H; ++r) {
    Line row(size_t(g.W));
    for (int x = 0; x < g.W; ++x) row[size_t(x)] = src.Pixel(x, r);
    const double kt = (positive ? r : g.H - r) * g.T;
    const int o = int(RoundEven(kt));
    first[size_t(r)] = ShearByHand(row, g.W1, o, int(TruncGuarded((kt - o) * 4096)), antialias, bg);
  }
  std::vector<Line> second(size_t(g.W1));  // columns of H2
  for (int c = 0; c < g.W1; ++c) {
    Line column(size_t(g.H));
    for (int r = 0; r < g.H; ++r) column[size_t(r)] = first[size_t(r)][size_t(c)];
    const double ks = (positive ? g.W1 - c : c) * g.S;
    const int o = int(RoundEven(ks));
    second[size_t(c)] = ShearByHand(column, g.H2, o - g.D, int(RoundEven((ks - o) * 4096)), antialias, bg);
  }
  Bitmap out(g.W3, g.H2);
  for (int r = 0; r < g.H2; ++r) {
    Line row(size_t(g.W1));
    for (int c = 0; c < g.W1; ++c) row[size_t(c)] = second[size_t(c)][size_t(r)];
    const double kt = (positive ? r : g.H2 - r) * g.T;
    const int o = int(RoundEven(kt));
    const Line sheared = ShearByHand(row, g.W3, o - g.E, int(RoundEven((kt - o) * 4096)), antialias, bg);
    for (int x = 0; x < g.W3; ++x) out.SetPixel(x, r, sheared[size_t(x)]);
  }
  return out;
}

TEST(Rotate, ShearsGiveThePixelsOfTheirDefinition) {
  // Sizes around the blocks and vectors the shears work in, and one large
  // enough to be shared between threads; every angle sign and both blends.
  struct Size {
    int W, H;
  };
  for (const Size size : {Size{1, 1}, Size{2, 3}, Size{17, 5}, Size{5, 40}, Size{67, 33}, Size{1200, 800}}) {
    const Bitmap src = RandomPicture(size.W, size.H, uint32_t(size.W * 31 + size.H));
    for (const int angle : {1, -1, 17, -17, 33, -44, 45, -45}) {
      for (const bool antialias : {false, true}) {
        if (size.W * size.H > 100000 && angle % 17 != 0) continue;
        Bitmap b = src;
        ASSERT_TRUE(Rotate(b, angle, antialias, Rgb(30, 140, 250)));
        const Bitmap expected = RotateByHand(src, angle, antialias, Rgb(30, 140, 250));
        ASSERT_TRUE(b.SameContent(expected)) << size.W << "x" << size.H << " by " << angle << (antialias ? " blended" : "")
                                             << ": " << FirstDifference(b, expected);
      }
    }
  }
}

std::vector<std::pair<const char*, const shear::Kernels*>> ShearKernelForms() {
  std::vector<std::pair<const char*, const shear::Kernels*>> forms{{"portable", &shear::PortableKernels()}};
  if (shear::Avx2Kernels()) forms.emplace_back("AVX2", shear::Avx2Kernels());
  return forms;
}

TEST(ShearKernels, EveryFormBlendsAsDefined) {
  // Every pair of a channel and the same channel of the pixel before it: a
  // pixel of p is followed by one of s, for 24-bit and for 32-bit pixels.
  for (const int pixelBytes : {3, shear::kColumnPixelBytes}) {
    std::vector<uint8_t> in;
    for (int p = 0; p < 256; ++p) {
      for (int s = 0; s < 256; ++s) {
        in.insert(in.end(), size_t(pixelBytes), uint8_t(p));
        in.insert(in.end(), size_t(pixelBytes), uint8_t(s));
      }
    }
    const size_t P = size_t(pixelBytes), bytes = in.size() - P;
    std::vector<int> weights = {-2048, -2047, -1, 0, 1, 2047, 2048};
    for (int u = -2048; u <= 2048; u += 61) weights.push_back(u);
    std::vector<uint8_t> out(bytes);
    for (const auto& [name, kernels] : ShearKernelForms()) {
      const auto blend = pixelBytes == 3 ? kernels->BlendRow : kernels->BlendColumn;
      for (const int u : weights) {
        blend(in.data() + P, bytes, u, out.data());
        for (size_t i = 0; i < bytes; ++i) {
          ASSERT_EQ(out[i], BlendByHand(in[i], in[i + P], u))
              << name << " " << pixelBytes << "-byte u " << u << ": " << int(in[i]) << " then " << int(in[i + P]);
        }
      }
      // Every length, so that each form's whole steps and its rest meet the end.
      for (size_t length = 0; length <= 100; ++length) {
        std::vector<uint8_t> line(length, 0xA5);
        blend(in.data() + P + 7 * length, length, 1234, line.data());
        for (size_t i = 0; i < length; ++i) {
          ASSERT_EQ(line[i], BlendByHand(in[7 * length + i], in[7 * length + i + P], 1234))
              << name << " " << pixelBytes << "-byte length " << length;
        }
      }
    }
  }
}

TEST(ShearKernels, BlocksMoveBetweenRowsAndColumnsAndTouchNothingElse) {
  // A block inside a larger picture, so that its neighbours show any byte
  // read or written outside it; sizes around the eight-by-eight tiles.
  struct Block {
    int Height, Count;
  };
  const Bitmap picture = RandomPicture(40, 40, 9);
  const int left = 3, top = 2;
  const size_t columnStride = 4 * 40 + 8;
  for (const Block block : {Block{1, 1}, Block{7, 9}, Block{8, 8}, Block{17, 16}, Block{33, 31}, Block{37, 1}}) {
    for (const auto& [name, kernels] : ShearKernelForms()) {
      const std::string what = std::string(name) + " " + std::to_string(block.Height) + "x" + std::to_string(block.Count);
      std::vector<uint8_t> columns(columnStride * size_t(block.Count) + 16, 0xEE);
      kernels->RowsToColumns(picture.Row(top) + 3 * left, picture.Stride(), block.Height, block.Count, columns.data(),
                             columnStride);
      for (int j = 0; j < block.Count; ++j) {
        for (int y = 0; y < block.Height; ++y) {
          const uint8_t* pixel = columns.data() + size_t(j) * columnStride + 4 * size_t(y);
          ASSERT_EQ(Rgb(pixel[2], pixel[1], pixel[0]), picture.Pixel(left + j, top + y)) << what << " " << j << "," << y;
        }
        for (size_t i = 4 * size_t(block.Height); i < columnStride; ++i) {
          ASSERT_EQ(columns[size_t(j) * columnStride + i], 0xEE) << what << " written past column " << j;
        }
      }
      // Back into a picture of another colour: the block comes back, nothing else changes.
      Bitmap target = FlatPicture(40, 40, Rgb(1, 2, 3));
      kernels->ColumnsToRows(columns.data(), columnStride, block.Height, block.Count, target.Row(top) + 3 * left,
                             target.Stride());
      for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
          const bool inside = x >= left && x < left + block.Count && y >= top && y < top + block.Height;
          ASSERT_EQ(target.Pixel(x, y), inside ? picture.Pixel(x, y) : Rgb(1, 2, 3)) << what << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST(Rotate, QuarterTurnsComeBeforeTheShears) {
  // An angle outside −45..45 is the picture turned by quarters, then rotated
  // by the rest.
  const Bitmap src = RandomPicture(13, 7, 1);
  struct Case {
    int Angle;
    Bitmap (*Turn)(const Bitmap&);
    int Rest;
  };
  const Case cases[] = {{100, TurnedCounterClockwise, 10}, {46, TurnedCounterClockwise, -44},
                        {200, TurnedHalf, 20},             {-135, TurnedClockwise, -45},
                        {-46, TurnedClockwise, 44},        {-200, TurnedHalf, -20},
                        {359, nullptr, -1},                {405, nullptr, 45}};
  for (const Case& c : cases) {
    for (const bool antialias : {false, true}) {
      Bitmap rotated = src;
      ASSERT_TRUE(Rotate(rotated, c.Angle, antialias, Rgb(250, 251, 252)));
      Bitmap expected = c.Turn ? c.Turn(src) : src;
      ASSERT_TRUE(Rotate(expected, c.Rest, antialias, Rgb(250, 251, 252)));
      EXPECT_TRUE(rotated.SameContent(expected)) << c.Angle << ": " << FirstDifference(rotated, expected);
    }
  }
}

TEST(Rotate, TinyPicturesTakeTheShearSizes) {
  struct Size {
    int W, H;
  };
  for (const Size size : {Size{1, 1}, Size{1, 2}, Size{3, 1}, Size{2, 9}}) {
    for (const int angle : {1, -1, 13, -30, 45, -45}) {
      for (const bool antialias : {false, true}) {
        Bitmap b = RandomPicture(size.W, size.H, 3);
        ASSERT_TRUE(Rotate(b, angle, antialias, clWhite));
        const ShearGeometry g = ShearGeometryFor(size.W, size.H, angle);
        EXPECT_EQ(b.Width(), g.W3) << size.W << "x" << size.H << " by " << angle;
        EXPECT_EQ(b.Height(), g.H2) << size.W << "x" << size.H << " by " << angle;
      }
    }
  }
}

TEST(Rotate, LargePicturesKeepEveryPixelOnce) {
  // Large enough for the shears to be shared between threads. Without
  // antialias every output pixel is a source pixel or background, no source
  // pixel appears twice, and only pixels near the edge may fall off.
  const int W = 1600, H = 1200;
  Bitmap b(W, H);
  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) b.SetPixel(x, y, Rgb(uint8_t(x), uint8_t(x >> 8 | y << 3), uint8_t(y >> 5)));
  }
  ASSERT_TRUE(Rotate(b, 17, false, Rgb(255, 255, 255)));
  std::vector<bool> seen(size_t(W) * H);
  int64_t kept = 0;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      const TColor c = b.Pixel(x, y);
      if (c == clWhite) continue;
      const int sx = RedOf(c) | (GreenOf(c) & 7) << 8, sy = GreenOf(c) >> 3 | BlueOf(c) << 5;
      ASSERT_TRUE(sx < W && sy < H) << x << "," << y;
      ASSERT_FALSE(seen[size_t(sy) * W + sx]) << "twice: " << sx << "," << sy;
      seen[size_t(sy) * W + sx] = true;
      ++kept;
    }
  }
  EXPECT_GT(kept, int64_t(W) * H - 2 * (W + H));
}

TEST(Rotate, QuarterTurnsMoveRowsToColumns) {
  const Bitmap src = RandomPicture(3, 2, 1);
  Bitmap left = src;
  ASSERT_TRUE(Rotate(left, 90, true, clWhite));
  ASSERT_EQ(left.Width(), 2);
  ASSERT_EQ(left.Height(), 3);
  Bitmap right = src;
  ASSERT_TRUE(Rotate(right, -90, true, clWhite));
  ASSERT_EQ(right.Width(), 2);
  ASSERT_EQ(right.Height(), 3);
  for (int x = 0; x < 3; ++x) {
    // Counter-clockwise: the top row is the left column read bottom to top.
    EXPECT_EQ(left.Pixel(0, 2 - x), src.Pixel(x, 0));
    // Clockwise: the top row is the right column read top to bottom.
    EXPECT_EQ(right.Pixel(1, x), src.Pixel(x, 0));
  }
}

TEST(Rotate, FourQuarterTurnsGiveTheOriginal) {
  const Bitmap src = RandomPicture(7, 5, 2);
  for (const int step : {90, -90}) {
    Bitmap b = src;
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(Rotate(b, step, true, clWhite));
    EXPECT_TRUE(b.SameContent(src)) << step;
  }
}

TEST(Rotate, WholeTurnsAreUnchangedCopies) {
  const Bitmap src = RandomPicture(6, 9, 3);
  for (const int angle : {0, 360, -360, 720}) {
    Bitmap b = src;
    ASSERT_TRUE(Rotate(b, angle, true, clWhite));
    EXPECT_TRUE(b.SameContent(src)) << angle;
  }
}

TEST(Rotate, EquivalentAnglesAgree) {
  const Bitmap src = RandomPicture(6, 4, 4);
  auto rotated = [&](int angle) {
    Bitmap b = src;
    Rotate(b, angle, true, clWhite);
    return b;
  };
  EXPECT_TRUE(rotated(180).SameContent(rotated(-180)));
  EXPECT_TRUE(rotated(270).SameContent(rotated(-90)));
  EXPECT_TRUE(rotated(-270).SameContent(rotated(90)));
  EXPECT_TRUE(rotated(180).SameContent(TurnedHalf(src)));
}

TEST(Rotate, PositiveAnglesTurnCounterClockwise) {
  // A black dot 10 pixels right of a red centre dot rises as it turns
  // counter-clockwise: 30° takes it to (+8.7, −5) from the centre dot.
  Bitmap b = FlatPicture(41, 41, clWhite);
  b.SetPixel(20, 20, clRed);
  b.SetPixel(30, 20, clBlack);
  ASSERT_TRUE(Rotate(b, 30, false, clWhite));
  std::vector<Point> red, black;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      if (b.Pixel(x, y) == clRed) red.push_back({x, y});
      if (b.Pixel(x, y) == clBlack) black.push_back({x, y});
    }
  }
  ASSERT_EQ(red.size(), 1u);
  ASSERT_EQ(black.size(), 1u);
  EXPECT_NEAR(black[0].X - red[0].X, 10 * std::cos(std::numbers::pi / 6), 1);
  EXPECT_NEAR(black[0].Y - red[0].Y, -10 * std::sin(std::numbers::pi / 6), 1);
}

TEST(Rotate, WithoutAntialiasEveryPixelIsCopied) {
  // Unique colours: each output pixel is a source pixel or the background.
  Bitmap src(30, 20);
  std::set<TColor> colours;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 30; ++x) {
      src.SetPixel(x, y, Rgb(uint8_t(x), uint8_t(y), 7));
      colours.insert(Rgb(uint8_t(x), uint8_t(y), 7));
    }
  }
  for (const int angle : {13, -29, 45}) {
    Bitmap b = src;
    ASSERT_TRUE(Rotate(b, angle, false, clWhite));
    for (int y = 0; y < b.Height(); ++y) {
      for (int x = 0; x < b.Width(); ++x) {
        const TColor c = b.Pixel(x, y);
        EXPECT_TRUE(c == clWhite || colours.count(c)) << angle << " at " << x << "," << y;
      }
    }
  }
}

TEST(Rotate, FlatPictureStaysFlatInside) {
  // Blending a colour with itself gives it back under any weights, negative
  // ones included, so only the edges of the rotated rectangle may differ.
  const TColor colour = Rgb(10, 200, 100);
  const int W = 60, H = 40;
  for (const int angle : {1, 5, 17, -17, 29, 44, 45, -45, 62}) {
    Bitmap b = FlatPicture(W, H, colour);
    ASSERT_TRUE(Rotate(b, angle, true, clWhite));
    const double theta = angle * std::numbers::pi / 180;
    const double cx = (b.Width() - 1) / 2.0, cy = (b.Height() - 1) / 2.0;
    for (int y = 0; y < b.Height(); ++y) {
      for (int x = 0; x < b.Width(); ++x) {
        // Where this pixel was before the turn, from the centre.
        const double dx = (x - cx) * std::cos(theta) - (y - cy) * std::sin(theta);
        const double dy = (x - cx) * std::sin(theta) + (y - cy) * std::cos(theta);
        if (std::fabs(dx) < W / 2.0 - 3 && std::fabs(dy) < H / 2.0 - 3) {
          EXPECT_EQ(b.Pixel(x, y), colour) << angle << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST(Rotate, SizesAndProgress) {
  const Bitmap src = RandomPicture(50, 30, 5);
  const ShearGeometry g = ShearGeometryFor(50, 30, 20);
  std::vector<int> reports;
  Bitmap b = src;
  ASSERT_TRUE(Rotate(b, 20, true, clWhite, [&](int percent) { reports.push_back(percent); }));
  EXPECT_EQ(b.Width(), g.W3);
  EXPECT_EQ(b.Height(), g.H2);
  // The rotated bounding box: W cos + H sin and W sin + H cos, give or take the rounding.
  const double c = std::cos(std::numbers::pi / 9), s = std::sin(std::numbers::pi / 9);
  EXPECT_NEAR(g.W3, 50 * c + 30 * s, 3);
  EXPECT_NEAR(g.H2, 50 * s + 30 * c, 3);
  const int steps = g.H + g.W1 + g.H2;
  ASSERT_EQ(int(reports.size()), steps);
  EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
  EXPECT_EQ(reports.front(), int(100 / (steps + 0.5)));
  EXPECT_EQ(reports.back(), int(steps * 100 / (steps + 0.5)));
}

TEST(Rotate, PalettePicturesAreTurnedInColour) {
  Bitmap bits(5, 3, PixelFormat::Bits1);
  bits.Row(1)[0] = 0xF8;
  Bitmap b;
  b.Assign(bits);
  ASSERT_TRUE(Rotate(b, 90, false, clWhite));
  EXPECT_EQ(b.Format(), PixelFormat::Bits24);
  EXPECT_EQ(b.Width(), 3);
  for (int y = 0; y < 5; ++y) EXPECT_EQ(b.Pixel(1, y), clWhite);
  EXPECT_EQ(b.Pixel(0, 0), clBlack);
  // The turns themselves keep the format.
  const Bitmap turned = TurnedCounterClockwise(bits);
  EXPECT_EQ(turned.Format(), PixelFormat::Bits1);
  for (int y = 0; y < 5; ++y) EXPECT_EQ(turned.Pixel(1, y), clWhite);
}

TEST(Rotate, RefusesEmptyPicturesAndResultsOverTheLimits) {
  Bitmap empty;
  EXPECT_FALSE(Rotate(empty, 30, true, clWhite));
  Bitmap wide = FlatPicture(int(PictureLimits::kMaxSide), 1, clRed);
  EXPECT_FALSE(Rotate(wide, 45, true, clWhite));
  EXPECT_EQ(wide.Width(), PictureLimits::kMaxSide);
  EXPECT_EQ(wide.Height(), 1);
}

}  // namespace
}  // namespace glamora
