// Outlining a region: its frame on the picture, whatever part of the region
// lies beyond the picture's edges.
#include "face/RegionColouring.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/FaceFixtures.h"

namespace glamora {
namespace {

constexpr TColor kSkin = Rgb(200, 160, 140);
constexpr TColor kLine = Rgb(255, 255, 0);

using test::OutlinedRegion;

// The frame by its definition: a pixel of the region with one of its four
// neighbours outside the region, each tested on its own.
Bitmap ExpectedOutline(const Bitmap& picture, const FaceRegion& record) {
  Bitmap expected;
  expected.Assign(picture);
  const PolygonRegion region = RegionOf(record);
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      if (!region.Contains(x, y)) continue;
      if (!region.Contains(x - 1, y) || !region.Contains(x + 1, y) || !region.Contains(x, y - 1) ||
          !region.Contains(x, y + 1)) {
        expected.SetPixel(x, y, kLine);
      }
    }
  }
  return expected;
}

TEST(OutlineRegion, DrawsTheFrameOnThePictureWhereverTheRegionLies) {
  struct Case {
    const char* Name;
    FaceRegion Region;
  };
  const Case cases[] = {
      {"inside", OutlinedRegion({{10, 12}, {50, 8}, {44, 40}, {14, 36}})},
      {"crossing the left and top edges", OutlinedRegion({{-15, -9}, {30, 4}, {20, 30}})},
      {"crossing the right and bottom edges", OutlinedRegion({{40, 20}, {75, 30}, {58, 61}})},
      // Pixels on the picture's edge whose outer neighbour is inside are no frame.
      {"covering the picture", OutlinedRegion({{-20, -20}, {100, -20}, {100, 100}, {-20, 100}})},
      {"reaching 20000 pixels out", OutlinedRegion({{-20000, -20000}, {20000, -19993}, {19997, 20000}, {-19995, 19998}})},
      {"a bow tie", OutlinedRegion({{5, 5}, {55, 45}, {55, 5}, {5, 45}})},
      {"a ring of the even-odd rule", OutlinedRegion({{4, 4}, {56, 4}, {56, 46}, {4, 46}, {4, 4}, {20, 16}, {40, 16}, {40, 34},
                                               {20, 34}, {20, 16}})},
      {"beside the picture", OutlinedRegion({{70, 10}, {90, 10}, {80, 30}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Bitmap picture(60, 50);
    picture.Fill(kSkin);
    const Bitmap expected = ExpectedOutline(picture, c.Region);
    OutlineRegion(picture, c.Region, kLine);
    EXPECT_TRUE(picture.SameContent(expected));
  }
}

TEST(OutlineRegion, VisitsOnlyTheRowsOfTheAreaThatTheRegionCovers) {
  const PolygonRegion region = RegionOf(OutlinedRegion({{-20000, 10}, {20000, 10}, {20000, 30}, {-20000, 30}}));
  std::vector<int> rows;
  ForEachFrameRow(region, {5, 0, 7, 100}, [&](int y, const uint8_t* frame) {
    rows.push_back(y);
    // Only the top and bottom rows of the band are frame within the area.
    for (int i = 0; i < 7; ++i) EXPECT_EQ(frame[i], y == 10 || y == 29) << y << " " << i;
  });
  ASSERT_EQ(rows.size(), 20u);
  EXPECT_EQ(rows.front(), 10);
  EXPECT_EQ(rows.back(), 29);
}

// The record of a polygon the outline editor could have stored: 3 to 100
// vertices; anything else gives a record that colours nothing.
TEST(RegionRecordOf, TakesThreeToAHundredVertices) {
  const auto polygon = [](size_t n) {
    std::vector<Point> p;
    for (size_t i = 0; i < n; ++i) p.push_back({int(i % 2 ? 40 + i : i), int(i / 2 * 3)});
    return p;
  };
  const struct {
    size_t Vertices;
    bool Outlined;
  } cases[] = {{0, false}, {2, false}, {3, true}, {100, true}, {101, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Vertices);
    const std::vector<Point> p = polygon(c.Vertices);
    const FaceRegion record = RegionRecordOf(p);
    EXPECT_EQ(record.IsOutlined(), c.Outlined);
    if (!c.Outlined) {
      EXPECT_EQ(record, FaceRegion{});
      continue;
    }
    EXPECT_EQ(record.Count, int(c.Vertices));
    EXPECT_EQ(record.Points[c.Vertices - 1], (FacePoint{p.back().X, p.back().Y}));
    EXPECT_EQ(RegionOf(record).Spans().size(), PolygonRegion(p).Spans().size());
  }
}

// A ring gives its outer loop; a single outline, or a record that comes
// back to its start without the ring's way back out, comes back whole.
TEST(OuterLoopOf, TakesTheOuterLoopOfARingOnly) {
  const FaceRegion ring = test::OutlinedRegion(
      {{0, 0}, {30, 0}, {30, 20}, {0, 20}, {0, 0}, {10, 5}, {20, 5}, {20, 15}, {10, 15}, {10, 5}});
  const FaceRegion outer = OuterLoopOf(ring);
  EXPECT_EQ(outer, test::OutlinedRegion({{0, 0}, {30, 0}, {30, 20}, {0, 20}}));
  EXPECT_TRUE(RegionOf(outer).Contains(15, 10)) << "the opening is no hole of the outer loop";

  const FaceRegion cases[] = {
      test::OutlinedRegion({{0, 0}, {30, 0}, {30, 20}, {0, 20}}),
      test::OutlinedRegion({{0, 0}, {30, 0}, {30, 20}, {0, 20}, {0, 0}, {10, 5}, {20, 5}, {20, 15}}),
      test::OutlinedRegion({{0, 0}, {30, 0}, {0, 0}, {10, 5}, {20, 5}, {10, 5}}),
      FaceRegion{},
  };
  for (const FaceRegion& record : cases) EXPECT_EQ(OuterLoopOf(record), record);
}

}  // namespace
}  // namespace glamora
