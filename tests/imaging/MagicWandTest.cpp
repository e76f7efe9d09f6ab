// The magic wand without a window: which pixels the fill takes, growing the
// region, the traced outline and its vertices, and the point-list helpers.
#include "imaging/core/MagicWand.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "imaging/core/PolygonRegion.h"
#include "imaging/core/SelectionTrace.h"

namespace glamora {
namespace {

constexpr TColor kGround = Rgb(100, 100, 100);
constexpr TColor kInk = Rgb(20, 200, 40);

// A picture drawn from text rows: '#' is ink, anything else the ground.
Bitmap Drawn(const std::vector<std::string>& rows) {
  Bitmap b(int(rows[0].size()), int(rows.size()));
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, rows[size_t(y)][size_t(x)] == '#' ? kInk : kGround);
  }
  return b;
}

std::vector<std::string> Rows(const RegionMask& region) {
  std::vector<std::string> rows(size_t(region.Height()), std::string(size_t(region.Width()), '.'));
  for (int y = 0; y < region.Height(); ++y) {
    for (int x = 0; x < region.Width(); ++x) {
      if (region.Contains(x, y)) rows[size_t(y)][size_t(x)] = '#';
    }
  }
  return rows;
}

// The pixels the traced outline covers under the alternate fill rule.
std::vector<std::string> Covered(const std::vector<Point>& outline, int width, int height) {
  std::vector<std::string> rows(size_t(height), std::string(size_t(width), '.'));
  const PolygonRegion region(outline);
  for (const Span& span : region.Spans()) {
    for (int x = span.X0; x <= span.X1; ++x) {
      if (span.Y >= 0 && span.Y < height && x >= 0 && x < width) rows[size_t(span.Y)][size_t(x)] = '#';
    }
  }
  return rows;
}

TEST(MagicWandFill, TakesNeighboursWithinTheToleranceInEveryChannel) {
  struct Case {
    int db, dg, dr;
    bool taken;
  };
  const Case cases[] = {
      {15, 15, 15, true}, {-15, -15, -15, true}, {15, -15, 0, true},
      {16, 0, 0, false},  {0, 16, 0, false},     {0, 0, -16, false},
  };
  for (const Case& c : cases) {
    // A 5 × 3 ground whose middle column is the neighbour colour.
    Bitmap b(5, 3);
    b.Fill(kGround);
    const TColor neighbour = Rgb(uint8_t(100 + c.dr), uint8_t(100 + c.dg), uint8_t(100 + c.db));
    for (int y = 0; y < 3; ++y) b.SetPixel(2, y, neighbour);
    const RegionMask region = MagicWandRegion(b, 0, 1, 15);
    SCOPED_TRACE(testing::Message() << "blue " << c.db << " green " << c.dg << " red " << c.dr);
    EXPECT_EQ(region.Contains(2, 1), c.taken);
    // Past the column only when the column joins the region.
    EXPECT_EQ(region.Contains(4, 1), c.taken);
    EXPECT_EQ(region.Count(), c.taken ? 15 : 6);
  }
}

TEST(MagicWandFill, FollowsFourNeighboursOnlyAndKeepsTheBox) {
  const Bitmap b = Drawn({
      "#.....",
      ".#.##.",
      ".###..",
      "......",
  });
  const RegionMask region = MagicWandRegion(b, 2, 2, 15);
  EXPECT_EQ(Rows(region), (std::vector<std::string>{
                              "......",
                              ".#.##.",
                              ".###..",
                              "......",
                          }));  // the corner pixel touches only diagonally
  EXPECT_EQ(region.Left(), 1);
  EXPECT_EQ(region.Top(), 1);
  EXPECT_EQ(region.Right(), 4);
  EXPECT_EQ(region.Bottom(), 2);
  // A span fill must also go back up and round: a U whose arms meet the seed's row only at the bottom.
  const Bitmap u = Drawn({
      "#.#.#",
      "#.#.#",
      "#####",
  });
  EXPECT_EQ(MagicWandRegion(u, 0, 0, 0).Count(), 11);
}

TEST(MagicWandFill, NothingForASeedOutsideOrAPaletteBitmap) {
  Bitmap b(4, 3);
  b.Fill(kGround);
  for (const auto& [x, y] : {std::pair{-1, 0}, std::pair{4, 0}, std::pair{0, 3}, std::pair{0, -1}}) {
    EXPECT_TRUE(MagicWandRegion(b, x, y, 15).Empty()) << x << ", " << y;
    EXPECT_TRUE(MagicWandOutline(b, x, y, 15, false).empty());
  }
  Bitmap palette(4, 3, PixelFormat::Bits8);
  EXPECT_TRUE(MagicWandRegion(palette, 1, 1, 255).Empty());
  EXPECT_TRUE(MagicWandRegion(b, 1, 1, -1).Empty());  // not even the seed matches itself
}

TEST(MagicWandGrow, AddsOnePixelInAllEightDirectionsWithinThePicture) {
  const Bitmap b = Drawn({
      "#....",
      ".....",
      "...#.",
      ".....",
  });
  const RegionMask inner = GrowRegion(MagicWandRegion(b, 3, 2, 0));
  EXPECT_EQ(Rows(inner), (std::vector<std::string>{
                             ".....",
                             "..###",
                             "..###",
                             "..###",
                         }));
  EXPECT_EQ(inner.Left(), 2);
  EXPECT_EQ(inner.Right(), 4);
  EXPECT_EQ(inner.Bottom(), 3);
  const RegionMask corner = GrowRegion(MagicWandRegion(b, 0, 0, 0));
  EXPECT_EQ(corner.Count(), 4);
  EXPECT_EQ(corner.Right(), 1);

  // Across the 64-pixel words of a row.
  Bitmap wide(130, 1);
  wide.Fill(kGround);
  wide.SetPixel(64, 0, kInk);
  const RegionMask grown = GrowRegion(MagicWandRegion(wide, 64, 0, 0));
  EXPECT_EQ(grown.Count(), 3);
  EXPECT_TRUE(grown.Contains(63, 0));
  EXPECT_TRUE(grown.Contains(65, 0));
}

TEST(MagicWandTrace, OnePixelIsOutlinedAlongItsEdges) {
  Bitmap b(7, 6);
  b.Fill(kGround);
  b.SetPixel(3, 2, kInk);
  // The start, then every change of direction: each corner of the pixel is
  // reached by a diagonal step, so it comes twice.
  const std::vector<Point> expected = {{3, 2}, {4, 2}, {4, 2}, {4, 3}, {4, 3}, {3, 3}, {3, 3}, {3, 2}};
  EXPECT_EQ(MagicWandOutline(b, 3, 2, 15, false), expected);
  EXPECT_EQ(Covered(expected, 7, 6)[2], "...#...");

  // In the bottom-right corner the edges lie on the picture's border; a
  // selection clamps them to its last pixel.
  b.SetPixel(6, 5, kInk);
  std::vector<Point> corner = MagicWandOutline(b, 6, 5, 15, false);
  EXPECT_EQ(corner, (std::vector<Point>{{6, 5}, {7, 5}, {7, 5}, {7, 6}, {7, 6}, {6, 6}, {6, 6}, {6, 5}}));
  ClampToPixels(corner, 7, 6);
  for (const Point& p : corner) EXPECT_EQ(p, (Point{6, 5}));
}

TEST(MagicWandTrace, RegionsTouchingThePictureBorderAreClampedToIt) {
  Bitmap flat(4, 3);
  flat.Fill(kGround);
  const std::vector<Point> edges = {{0, 0}, {4, 0}, {4, 0}, {4, 3}, {4, 3}, {0, 3}, {0, 3}, {0, 0}};
  EXPECT_EQ(MagicWandOutline(flat, 2, 1, 15, false), edges);
  EXPECT_EQ(MagicWandOutline(flat, 2, 1, 15, true), edges);  // growing stays inside the picture
  std::vector<Point> clamped = edges;
  ClampToPixels(clamped, 4, 3);
  EXPECT_EQ(clamped, (std::vector<Point>{{0, 0}, {3, 0}, {3, 0}, {3, 2}, {3, 2}, {0, 2}, {0, 2}, {0, 0}}));

  // A band along the left edge: its left side lies on x = 0, its right side past the band.
  const Bitmap band = Drawn({
      "##...",
      "##...",
      "##...",
  });
  std::vector<Point> outline = MagicWandOutline(band, 0, 1, 15, false);
  EXPECT_EQ(Covered(outline, 5, 3), (std::vector<std::string>{"##...", "##...", "##..."}));
  ClampToPixels(outline, 5, 3);
  for (const Point& p : outline) {
    EXPECT_TRUE(p.X == 0 || p.X == 2) << p.X;
    EXPECT_TRUE(p.Y == 0 || p.Y == 2) << p.Y;  // the bottom edge, y = 3, is clamped
  }
}

TEST(MagicWandTrace, OutlineCoversExactlyTheRegion) {
  // Regions without holes, away from the right and bottom edges: the polygon
  // of the outline, filled by pixel centres, gives back every pixel.
  const std::vector<std::vector<std::string>> shapes = {
      {".......", ".####..", ".####..", ".......", "......."},
      {".......", ".#.....", ".#.....", ".####..", "......."},
      {".......", ".#..#..", ".#..#..", ".####..", "......."},
      {".......", "..#....", ".###...", "..#....", "......."},
      {"........", ".#......", ".##.....", ".###....", ".####...", "........"},
      {"........", "....##..", "...##...", "..##....", ".##.....", "........"},
      {"........", ".######.", ".#......", ".#.###..", ".###....", "........"},
  };
  for (const auto& shape : shapes) {
    const Bitmap b = Drawn(shape);
    int sx = -1, sy = -1;
    for (int y = 0; y < b.Height() && sx < 0; ++y) {
      for (int x = 0; x < b.Width(); ++x) {
        if (shape[size_t(y)][size_t(x)] == '#') {
          sx = x, sy = y;
          break;
        }
      }
    }
    const std::vector<Point> outline = MagicWandOutline(b, sx, sy, 15, false);
    SCOPED_TRACE(testing::Message() << shape[1] << " / " << shape[2] << " / " << shape[3]);
    EXPECT_EQ(Covered(outline, b.Width(), b.Height()), shape);
    // Every vertex lies on a corner of a region pixel.
    for (const Point& p : outline) {
      bool corner = false;
      for (int dy = -1; dy <= 0; ++dy)
        for (int dx = -1; dx <= 0; ++dx) corner |= shape[size_t(p.Y + dy)][size_t(p.X + dx)] == '#';
      EXPECT_TRUE(corner) << p.X << ", " << p.Y;
    }
  }
}

TEST(MagicWandTrace, LargeRegionStartsAtItsTopLeftCorner) {
  Bitmap b(300, 200);
  b.Fill(kGround);
  for (int y = 20; y < 150; ++y)
    for (int x = 40; x < 260; ++x) b.SetPixel(x, y, kInk);
  const std::vector<Point> outline = MagicWandOutline(b, 100, 100, 15, false);
  ASSERT_FALSE(outline.empty());
  EXPECT_EQ(outline.front(), (Point{40, 20}));
  const std::vector<std::vector<Point>> polygons = SplitPolygons(outline);
  ASSERT_EQ(polygons.size(), 1u);
  const PolygonRegion covered(outline);
  EXPECT_EQ(covered.Left(), 40);
  EXPECT_EQ(covered.Top(), 20);
  EXPECT_EQ(covered.Right(), 259);
  EXPECT_EQ(covered.Bottom(), 149);
}

// The trace as its rules read, on a stored grid: outline cells marked by the
// four scans, the start found by trying every cell. The traced outline reads
// both from the region as it goes and finds its start row by row; on random
// regions it must agree with this literal form.
std::vector<Point> LiteralTrace(const RegionMask& m) {
  const int left = m.Left(), top = m.Top(), bw = m.Right() - left + 1, bh = m.Bottom() - top + 1;
  const int w = 4 * bw + 4, h = 4 * bh + 4;
  std::vector<char> block(size_t(w * h)), outline(size_t(w * h)), visited(size_t(w * h));
  auto at = [w](std::vector<char>& v, int c, int r) -> char& { return v[size_t(r * w + c)]; };
  for (int r = 2; r < 4 * bh + 2; ++r)
    for (int c = 2; c < 4 * bw + 2; ++c) at(block, c, r) = m.Contains(left + (c - 2) / 4, top + (r - 2) / 4);
  for (int r = 0; r < h; ++r) {
    for (int c = 1; c < w; ++c)
      if (at(block, c, r) && !at(block, c - 1, r)) at(outline, c - 1, r) = 1;
    for (int c = w - 2; c >= 0; --c)
      if (at(block, c, r) && !at(block, c + 1, r)) at(outline, c + 1, r) = 1;
  }
  for (int c = 0; c < w; ++c) {
    for (int r = 1; r < h; ++r)
      if (at(block, c, r) && !at(block, c, r - 1)) at(outline, c, r - 1) = 1;
    for (int r = h - 2; r >= 0; --r)
      if (at(block, c, r) && !at(block, c, r + 1)) at(outline, c, r + 1) = 1;
  }
  int minC = w, minR = h;
  for (int r = 0; r < h; ++r)
    for (int c = 0; c < w; ++c)
      if (at(outline, c, r)) minC = std::min(minC, c), minR = std::min(minR, r);
  int sc = 0, sr = 0, best = w * w + h * h;
  for (int r = 0; r < h; ++r)
    for (int c = 0; c < w; ++c) {
      const int d = (c - minC) * (c - minC) + (r - minR) * (r - minR);
      if (at(outline, c, r) && d < best) best = d, sc = c, sr = r;
    }
  const int dx[8] = {1, 0, -1, 0, 1, -1, -1, 1}, dy[8] = {0, -1, 0, 1, -1, -1, 1, 1};
  auto free = [&](int c, int r) { return c >= 0 && r >= 0 && c < w && r < h && at(outline, c, r) && !at(visited, c, r); };
  std::vector<int> codes;
  std::vector<std::pair<int, int>> cells{{sc, sr}};
  int c = sc, r = sr, direction = 4;
  at(visited, c, r) = 1;
  for (;;) {
    int next = free(c + dx[direction], r + dy[direction]) ? direction : -1;
    for (int k = 0; next < 0 && k < 8; ++k)
      if (free(c + dx[k], r + dy[k])) next = k;
    if (next < 0) break;
    c += dx[next], r += dy[next];
    at(visited, c, r) = 1;
    codes.push_back(next);
    cells.emplace_back(c, r);
    direction = next;
  }
  for (int k = 0; k < 8; ++k)
    if (c + dx[k] == sc && r + dy[k] == sr) {
      codes.push_back(k);
      break;
    }
  auto toBitmap = [&](int cc, int rr) { return Point{(cc + 4 * left - 1) / 4, (rr + 4 * top - 1) / 4}; };
  std::vector<Point> vertices{toBitmap(sc, sr)};
  for (size_t i = 1; i < codes.size(); ++i)
    if (codes[i] != codes[i - 1]) vertices.push_back(toBitmap(cells[i].first, cells[i].second));
  return vertices;
}

TEST(MagicWandTrace, AgreesWithTheLiteralRulesOnRandomRegions) {
  std::mt19937 random(7);
  for (int round = 0; round < 1500; ++round) {
    const int w = 1 + int(random() % 14), h = 1 + int(random() % 12);
    const int inkPercent = int(random() % 100);
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) b.SetPixel(x, y, int(random() % 100) < inkPercent ? kInk : kGround);
    RegionMask region = MagicWandRegion(b, int(random() % unsigned(w)), int(random() % unsigned(h)), 15);
    if (round % 3 == 0) region = GrowRegion(region);
    ASSERT_EQ(TraceRegionOutline(region), LiteralTrace(region)) << "round " << round;
  }
}

TEST(SelectionPoints, IsRectangleWantsFourAlternatingEdges) {
  struct Case {
    std::vector<Point> points;
    bool rectangle;
  };
  const Case cases[] = {
      {{{0, 0}, {5, 0}, {5, 3}, {0, 3}}, true},
      {{{0, 0}, {0, 3}, {5, 3}, {5, 0}}, true},
      {{{0, 0}, {5, 0}, {5, 3}}, false},
      {{{0, 0}, {5, 0}, {5, 3}, {0, 3}, {0, 0}}, false},
      {{{0, 0}, {5, 0}, {9, 0}, {9, 3}}, false},   // two horizontal edges in a row
      {{{0, 0}, {5, 1}, {5, 3}, {0, 3}}, false},   // a slanted edge
      {{{0, 0}, {5, 0}, {5, 0}, {0, 0}}, false},   // edges of no length
      {{{0, 0}, {5, 0}, {5, 3}, {1, 3}}, false},   // the closing edge is slanted
      {{{0, 0}, {5, 0}, kSelectionSeparator, {0, 3}}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsRectangle(c.points), c.rectangle) << c.points.size() << " points, second " << c.points[1].X;
  }
}

TEST(SelectionPoints, SplitPolygonsAtSeparators) {
  const Point s = kSelectionSeparator;
  const std::vector<Point> points = {s, {1, 1}, {2, 1}, s, s, {5, 5}, {6, 6}, {5, 7}, s};
  const auto polygons = SplitPolygons(points);
  ASSERT_EQ(polygons.size(), 2u);
  EXPECT_EQ(polygons[0], (std::vector<Point>{{1, 1}, {2, 1}}));
  EXPECT_EQ(polygons[1], (std::vector<Point>{{5, 5}, {6, 6}, {5, 7}}));
  EXPECT_TRUE(SplitPolygons({}).empty());
}

}  // namespace
}  // namespace glamora
