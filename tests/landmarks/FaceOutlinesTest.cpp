// The proposed make-up rings, from a fixed set of landmarks: what they
// cover and leave out under the colouring's even-odd rule, their vertex
// limit and their place in the picture.
#include "landmarks/FaceOutlines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "tests/landmarks/Fixtures.h"

namespace glamora {
namespace {

int64_t PixelCount(const PolygonRegion& region) {
  int64_t n = 0;
  for (const Span& s : region.Spans()) n += s.X1 - s.X0 + 1;
  return n;
}

bool Covers(const std::vector<Point>& ring, PointF p) {
  return PolygonRegion(ring).Contains(int(std::lround(p.X)), int(std::lround(p.Y)));
}

PointF Between(PointF a, PointF b, double t) { return {a.X + (b.X - a.X) * t, a.Y + (b.Y - a.Y) * t}; }

// Each ring empty or a polygon of 3 to 100 vertices inside the picture.
void ExpectWithinLimits(const FaceOutlines& o, int width, int height) {
  for (const std::vector<Point>* ring : {&o.LeftEye, &o.RightEye, &o.Lips}) {
    if (!ring->empty()) {
      EXPECT_GE(ring->size(), 3u);
    }
    EXPECT_LE(ring->size(), size_t(kMaxOutlineVertices));
    for (const Point& p : *ring) {
      EXPECT_TRUE(p.X >= 0 && p.X < width && p.Y >= 0 && p.Y < height) << p.X << "," << p.Y;
    }
  }
}

// Splits a ring at its step into the outer and the inner loop: the outer
// loop closes on its first vertex, the rest is the inner loop.
std::pair<std::vector<Point>, std::vector<Point>> Loops(const std::vector<Point>& ring) {
  const auto close = std::find(ring.begin() + 1, ring.end(), ring.front());
  return {std::vector<Point>(ring.begin(), close), std::vector<Point>(close + 1, ring.end())};
}

TEST(ProposeOutlines, EyeRingsCoverTheLidsAndLeaveTheOpenEyeOut) {
  // The portrait's points, twice the size, so that the eyes span some 35 pixels.
  const FaceLandmarks points = test::Moved(test::AstronautLandmarks(), {0, 0}, 0, 2);
  const FaceOutlines o = ProposeOutlines(points, 1024, 1024);
  ExpectWithinLimits(o, 1024, 1024);
  ASSERT_FALSE(o.LeftEye.empty() || o.RightEye.empty() || o.Lips.empty());
  const struct {
    const std::vector<Point>& Ring;
    LandmarkRange Eye, Brow;
  } eyes[] = {{o.LeftEye, landmark::kLeftEye, landmark::kLeftBrow},
              {o.RightEye, landmark::kRightEye, landmark::kRightBrow}};
  for (const auto& e : eyes) {
    const PointF pupil = Centre(points, e.Eye);
    const PointF upperLid = Between(points[size_t(e.Eye.First + 1)], points[size_t(e.Eye.First + 2)], 0.5);
    const PointF lowerLid = Between(points[size_t(e.Eye.First + 4)], points[size_t(e.Eye.First + 5)], 0.5);
    const PointF browMiddle = points[size_t(e.Brow.First + 2)];
    EXPECT_FALSE(Covers(e.Ring, pupil)) << "the open eye is the hole";
    EXPECT_FALSE(Covers(e.Ring, Between(pupil, upperLid, 0.6))) << "nor the eye just under the lid";
    EXPECT_TRUE(Covers(e.Ring, Between(upperLid, browMiddle, 0.25))) << "the lid";
    EXPECT_TRUE(Covers(e.Ring, {lowerLid.X, lowerLid.Y + 2})) << "the band under the lashes";
    EXPECT_FALSE(Covers(e.Ring, browMiddle)) << "the brow itself";
    EXPECT_FALSE(Covers(e.Ring, {pupil.X, pupil.Y + 20})) << "the cheek";
    // The ring reaches past both corners of the eye.
    const PolygonRegion region(e.Ring);
    EXPECT_LT(region.Left(), std::min(points[size_t(e.Eye.First)].X, points[size_t(e.Eye.First + 3)].X));
    EXPECT_GT(region.Right(), std::max(points[size_t(e.Eye.First)].X, points[size_t(e.Eye.First + 3)].X));
  }
  EXPECT_LT(PolygonRegion(o.LeftEye).Right(), PolygonRegion(o.RightEye).Left()) << "each eye its own ring";
}

TEST(ProposeOutlines, TheLipRingLeavesTheTeethOutAndItsStepAddsNothing) {
  const FaceLandmarks points = test::Moved(test::AstronautLandmarks(), {0, 0}, 0, 2);
  const FaceOutlines o = ProposeOutlines(points, 1024, 1024);
  const PointF teeth = Centre(points, landmark::kInnerLips);  // she smiles with her teeth showing
  EXPECT_FALSE(Covers(o.Lips, teeth));
  EXPECT_TRUE(Covers(o.Lips, Between(points[51], points[62], 0.5))) << "upper lip";
  EXPECT_TRUE(Covers(o.Lips, Between(points[57], points[66], 0.5))) << "lower lip";
  EXPECT_FALSE(Covers(o.Lips, {points[33].X, points[33].Y})) << "nose";

  // Under the even-odd rule the ring is exactly the outer loop less the inner
  // one: the step between them, run twice, adds and removes nothing.
  for (const std::vector<Point>* ring : {&o.LeftEye, &o.RightEye, &o.Lips}) {
    const auto [outer, inner] = Loops(*ring);
    ASSERT_GE(outer.size(), 3u);
    ASSERT_GE(inner.size(), 3u);
    const PolygonRegion whole(*ring), outside(outer), hole(inner);
    EXPECT_GT(PixelCount(hole), 0);
    EXPECT_EQ(PixelCount(whole), PixelCount(outside) - PixelCount(hole));
  }
}

TEST(ProposeOutlines, FollowsTheFaceWhicheverWayItTurnsAndStaysInsideThePicture) {
  const FaceLandmarks upright = test::Moved(test::AstronautLandmarks(), {0, 0}, 0, 2);
  const PointF middle = Centre(upright, landmark::kNose);
  // Upside down: the first eye of the numbering now lies on the picture's
  // right, and the proposal still names the eyes by their place.
  const FaceLandmarks turned = test::Moved(upright, middle, 180, 1);
  const FaceOutlines o = ProposeOutlines(turned, 1024, 1024);
  EXPECT_TRUE(Covers(o.LeftEye, Between(turned[44], turned[24], 0.25)));
  EXPECT_TRUE(Covers(o.RightEye, Between(turned[38], turned[19], 0.25)));
  EXPECT_FALSE(Covers(o.LeftEye, Centre(turned, landmark::kRightEye)));

  // A face hanging over the left edge: the vertices of the eye still on the
  // picture are clamped into it, the eye off it gets no ring.
  const FaceLandmarks offPicture = test::Moved(upright, {0, 0}, 0, 1, -middle.X, 0);
  const FaceOutlines clamped = ProposeOutlines(offPicture, 300, 400);
  ExpectWithinLimits(clamped, 300, 400);
  EXPECT_TRUE(clamped.LeftEye.empty());
  EXPECT_FALSE(clamped.RightEye.empty());
  EXPECT_FALSE(clamped.Lips.empty());
  EXPECT_EQ(PolygonRegion(clamped.Lips).Left(), 0);

  // Points that are not numbers propose nothing.
  FaceLandmarks broken = upright;
  broken[40].X = std::numeric_limits<double>::quiet_NaN();
  const FaceOutlines none = ProposeOutlines(broken, 1024, 1024);
  EXPECT_TRUE(none.LeftEye.empty() && none.RightEye.empty() && none.Lips.empty());
}

}  // namespace
}  // namespace glamora
