#include "imaging/core/Rotate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <vector>

#include "imaging/core/PolygonRegion.h"
#include "imaging/core/Rounding.h"
#include "tests/core/TestPictures.h"

namespace glamora {
namespace {

using test::FirstDifference;
using test::FlatPicture;
using test::RandomPicture;

// ---- The rotation written out step by step, one pixel at a time.

struct Px {
  int C[3];  // blue, green, red
};

Px At(const Bitmap& b, int x, int y) {
  const uint8_t* p = b.Row(y) + 3 * x;
  return {{p[0], p[1], p[2]}};
}

void Put(Bitmap& b, int x, int y, const Px& v) {
  uint8_t* p = b.Row(y) + 3 * x;
  for (int i = 0; i < 3; ++i) p[i] = uint8_t(v.C[i]);
}

int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

Px Mix(const Px& previous, const Px& source, int u, int v) {
  Px out;
  for (int i = 0; i < 3; ++i) {
    out.C[i] = ClampToByte(FloorDiv(int64_t(previous.C[i]) * u + int64_t(source.C[i]) * v + 2048, 4096));
  }
  return out;
}

Bitmap TurnLeftByTheWords(const Bitmap& s) {
  // The top row becomes the left column, read bottom to top.
  Bitmap t(s.Height(), s.Width());
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) Put(t, y, s.Width() - 1 - x, At(s, x, y));
  }
  return t;
}

Bitmap TurnRightByTheWords(const Bitmap& s) {
  Bitmap t(s.Height(), s.Width());
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) Put(t, s.Height() - 1 - y, x, At(s, x, y));
  }
  return t;
}

Bitmap RotateByTheWords(const Bitmap& current, int angle, bool antialias, TColor background) {
  int n = angle % 360;
  Bitmap cur = current, t = current;
  while (n > 45) {
    t = TurnLeftByTheWords(cur);
    n -= 90;
    if (n > 45) cur = t;
  }
  while (n < -45) {
    t = TurnRightByTheWords(cur);
    n += 90;
    if (n < -45) cur = t;
  }
  if (n == 0) return t;
  const Px bg{{BlueOf(background), GreenOf(background), RedOf(background)}};
  const double theta = n * std::numbers::pi / 180;
  const double tn = std::fabs(std::sin(theta / 2) / std::cos(theta / 2));
  const double s = std::fabs(std::sin(theta));
  const int W = t.Width(), H = t.Height();
  const int W1 = int(RoundEven(H * tn + W + 1));
  const int d = int(RoundEven((W1 - W) * s));
  int H2 = int(RoundEven(s * W1 + H + 1));
  const int e = int(RoundEven(tn * (H2 - H - d)));
  H2 -= 2 * d;
  const int W3 = int(RoundEven(tn * H2 + W1 + 1 - 2 * e));

  Bitmap first(W1, H);
  first.Fill(background);
  for (int r = 0; r < H; ++r) {
    const double k = theta > 0 ? r : H - r;
    const int o = int(RoundEven(k * tn));
    if (!antialias) {
      for (int x = 0; x < W; ++x) Put(first, o + x, r, At(t, x, r));
      continue;
    }
    const int u = int(TruncGuarded((k * tn - o) * 4096));
    const int v = 4096 - u;
    Px previous = bg;
    for (int x = 0; x < W; ++x) {
      Put(first, o + x, r, Mix(previous, At(t, x, r), u, v));
      previous = At(t, x, r);
    }
    if (u > 0 && o + W < W1) Put(first, o + W, r, Mix(previous, bg, u, v));
  }

  Bitmap second(W1, H2);
  for (int c = 0; c < W1; ++c) {
    const double k = theta > 0 ? W1 - c : c;
    const int o = int(RoundEven(k * s));
    const int u = int(RoundEven((k * s - o) * 4096));
    const int v = 4096 - u;
    for (int y = 0; y < H2; ++y) Put(second, c, y, bg);
    Px previous = bg;
    for (int y = 0; y < H; ++y) {
      const int row = y + o - d;
      if (row < 0 || row >= H2) continue;
      Put(second, c, row, antialias ? Mix(previous, At(first, c, y), u, v) : At(first, c, y));
      previous = At(first, c, y);
    }
    const int after = H + o - d;
    if (antialias && u > 0 && after >= 0 && after < H2) Put(second, c, after, Mix(previous, bg, u, v));
  }

  Bitmap third(W3, H2);
  third.Fill(background);
  for (int r = 0; r < H2; ++r) {
    const double k = theta > 0 ? r : H2 - r;
    const int o = int(RoundEven(k * tn));
    const int u = int(RoundEven((k * tn - o) * 4096));
    const int v = 4096 - u;
    Px previous = bg;
    for (int x = 0; x < W1; ++x) {
      const int col = x + o - e;
      if (col < 0 || col >= W3) continue;
      Put(third, col, r, antialias ? Mix(previous, At(second, x, r), u, v) : At(second, x, r));
      previous = At(second, x, r);
    }
    const int after = o - e + W1;
    if (antialias && u > 0 && after >= 0 && after < W3) Put(third, after, r, Mix(previous, bg, u, v));
  }
  return third;
}

// ---- Tests

TEST(Rotate, FollowsTheStepsExactly) {
  const int angles[] = {1, -1, 7, -13, 17, 30, -30, 44, 45, -45, 46, -46, 100, 135, -135, 200, 359, -359, 405};
  struct Size {
    int W, H;
  };
  const Size sizes[] = {{1, 1}, {1, 2}, {3, 1}, {13, 7}, {8, 21}, {40, 25}};
  for (const Size& size : sizes) {
    const Bitmap src = RandomPicture(size.W, size.H, uint32_t(size.W * 100 + size.H));
    for (const int angle : angles) {
      for (const bool antialias : {false, true}) {
        Bitmap rotated = src;
        ASSERT_TRUE(Rotate(rotated, angle, antialias, Rgb(250, 251, 252)));
        const Bitmap expected = RotateByTheWords(src, angle, antialias, Rgb(250, 251, 252));
        EXPECT_TRUE(rotated.SameContent(expected))
            << size.W << "x" << size.H << " by " << angle << (antialias ? " antialiased: " : ": ")
            << FirstDifference(rotated, expected);
      }
    }
  }
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
