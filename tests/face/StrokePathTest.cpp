// Stamps along a stroke: close enough together for every brush size and
// direction, ending on the mouse position, none for no way at all.
#include "face/StrokePath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace glamora {
namespace {

TEST(StampsAlong, SpacesStampsByAQuarterOfTheBrushAtMost) {
  const Point from{10, 20};
  const Point ways[] = {{11, 20}, {90, 20}, {10, -70}, {73, 51}, {-40, 95}, {200, 200}};
  for (int size : {1, 3, 4, 5, 10, 20, 200}) {
    for (const Point& to : ways) {
      SCOPED_TRACE(::testing::Message() << "size " << size << " to " << to.X << ", " << to.Y);
      const std::vector<Point> stamps = StampsAlong(from, to, size);
      ASSERT_FALSE(stamps.empty());
      EXPECT_EQ(stamps.back(), to);
      Point last = from;
      double longest = 0;
      for (const Point& p : stamps) {
        const int dx = std::abs(p.X - last.X), dy = std::abs(p.Y - last.Y);
        if (size < 4) {
          // One pixel on from the one before: the pencil's line has no gaps
          // and no pixel twice.
          EXPECT_EQ(std::max(dx, dy), 1);
        } else {
          longest = std::max(longest, std::hypot(dx, dy));
        }
        last = p;
      }
      // Each end rounded to its pixel by half a pixel at most on each axis.
      EXPECT_LE(longest, StampSpacing(size) + std::sqrt(2.0));
      // No more stamps than the spacing needs.
      const double way = std::hypot(to.X - from.X, to.Y - from.Y);
      if (size >= 4) {
        EXPECT_LE(double(stamps.size()), std::ceil(way / StampSpacing(size)));
      }
    }
  }
  EXPECT_TRUE(StampsAlong(from, from, 10).empty());
  EXPECT_EQ(StampSpacing(2), 1.0);
  EXPECT_EQ(StampSpacing(20), 5.0);
}

}  // namespace
}  // namespace glamora
