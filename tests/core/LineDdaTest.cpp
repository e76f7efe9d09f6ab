// The line enumeration behind the dashed selection outline.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "imaging/core/LineDda.h"
#include "imaging/core/PolygonRegion.h"

namespace glamora {
namespace {

std::vector<Point> Enumerate(int x1, int y1, int x2, int y2) {
  std::vector<Point> points;
  LineDda(x1, y1, x2, y2, [&](int x, int y) { points.push_back({x, y}); });
  return points;
}

TEST(LineDdaTest, StartIncludedEndExcluded) {
  struct Case {
    int x1, y1, x2, y2;
    std::vector<Point> expected;
  };
  const Case cases[] = {
      {0, 0, 3, 0, {{0, 0}, {1, 0}, {2, 0}}},
      {5, 5, 5, 2, {{5, 5}, {5, 4}, {5, 3}}},
      {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}}},
      {2, 2, 2, 2, {}},
      {0, 0, 1, 0, {{0, 0}}},
      {0, 0, 4, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Enumerate(c.x1, c.y1, c.x2, c.y2), c.expected) << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
  }
}

TEST(LineDdaTest, EveryLineIsAConnectedRunOfItsMajorLength) {
  const int ends[][4] = {{0, 0, 17, 5}, {3, -2, -9, 4}, {0, 0, -3, -20}, {-7, 7, 7, -7}, {1, 1, 12, 13}};
  for (const auto& e : ends) {
    const auto points = Enumerate(e[0], e[1], e[2], e[3]);
    const int major = std::max(std::abs(e[2] - e[0]), std::abs(e[3] - e[1]));
    ASSERT_EQ(int(points.size()), major);
    EXPECT_EQ(points.front(), (Point{e[0], e[1]}));
    // The point after the last would be the end point.
    const Point last = points.back();
    EXPECT_LE(std::abs(last.X - e[2]), 1);
    EXPECT_LE(std::abs(last.Y - e[3]), 1);
    for (size_t i = 1; i < points.size(); ++i) {
      EXPECT_LE(std::abs(points[i].X - points[i - 1].X), 1);
      EXPECT_LE(std::abs(points[i].Y - points[i - 1].Y), 1);
    }
  }
}

}  // namespace
}  // namespace glamora
