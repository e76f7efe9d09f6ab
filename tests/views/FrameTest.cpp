// The placement frame on its own: handle geometry, hit testing, cursors,
// body and handle drags, scaling in the attached proportions.
#include <gtest/gtest.h>

#include <QWidget>
#include <limits>
#include <string>

#include "imaging/Image.h"
#include "tests/views/HairTestSupport.h"
#include "views/Frame.h"

namespace glamora {
namespace {

// A frame (no box) set to the given bounds, with the handles drawn there.
TFrame FrameAt(const TRect& bounds) {
  TFrame frame(nullptr);
  frame.SetRect(bounds);
  frame.DrawOutline();
  return frame;
}

TEST(FrameTest, StartsAtThirtyToAHundredWithSquareProportions) {
  const TFrame frame(nullptr);
  EXPECT_EQ(frame.Bounds, (TRect{30, 30, 100, 100}));
  EXPECT_EQ(frame.Width(), 71);
  EXPECT_EQ(frame.Height(), 71);
  EXPECT_DOUBLE_EQ(frame.Aspect, 1.0);
  EXPECT_EQ(frame.AttachedBounds, TRect{});
  EXPECT_EQ(frame.ActiveHandle, 0);
  EXPECT_FALSE(frame.Moving || frame.Resizing || frame.Hidden);
  EXPECT_EQ(frame.PenColor, clBlack);
}

TEST(FrameTest, HandlesLieAroundTheFrame) {
  struct Case {
    TRect bounds;
    TRect handles[8];
  };
  const Case cases[] = {
      // 100 x 40: the middles are at 100 + 50 and 50 + 20.
      {{100, 50, 199, 89},
       {{94, 44, 100, 50},
        {147, 44, 153, 50},
        {199, 44, 205, 50},
        {94, 67, 100, 73},
        {199, 67, 205, 73},
        {94, 89, 100, 95},
        {147, 89, 153, 95},
        {199, 89, 205, 95}}},
      // 5 x 3: width div 2 and height div 2 drop the half.
      {{0, 0, 4, 2},
       {{-6, -6, 0, 0}, {-1, -6, 5, 0}, {4, -6, 10, 0}, {-6, -2, 0, 4}, {4, -2, 10, 4}, {-6, 2, 0, 8}, {-1, 2, 5, 8},
        {4, 2, 10, 8}}},
  };
  for (const Case& c : cases) {
    const TFrame frame = FrameAt(c.bounds);
    for (int n = 1; n <= 8; ++n) {
      EXPECT_EQ(TFrame::HandleRect(c.bounds, n), c.handles[n - 1]) << c.bounds << " handle " << n;
      EXPECT_EQ(frame.Handle(n), c.handles[n - 1]) << c.bounds << " handle " << n;
    }
  }
}

TEST(FrameTest, HitTestFindsTheHighestHandleCountingLeftAndTopOnly) {
  struct Case {
    TRect bounds;
    int x, y, handle;
  };
  const Case cases[] = {
      {{100, 50, 199, 89}, 94, 44, 1},    // top-left pixel of handle 1
      {{100, 50, 199, 89}, 99, 49, 1},
      {{100, 50, 199, 89}, 100, 50, 0},   // the frame's corner: right/bottom of handle 1 excluded
      {{100, 50, 199, 89}, 150, 45, 2},
      {{100, 50, 199, 89}, 204, 49, 3},
      {{100, 50, 199, 89}, 205, 49, 0},
      {{100, 50, 199, 89}, 95, 70, 4},
      {{100, 50, 199, 89}, 200, 70, 5},
      {{100, 50, 199, 89}, 95, 90, 6},
      {{100, 50, 199, 89}, 150, 94, 7},
      {{100, 50, 199, 89}, 199, 89, 8},
      {{100, 50, 199, 89}, 199, 95, 0},
      {{100, 50, 199, 89}, 150, 70, 0},   // inside the frame
      // A 3 x 3 frame: the handles overlap and the higher number wins.
      {{10, 10, 12, 12}, 9, 9, 4},        // in 1, 2 and 4
      {{10, 10, 12, 12}, 12, 9, 5},       // in 2, 3 and 5
      {{10, 10, 12, 12}, 9, 12, 7},       // in 4, 6 and 7
      {{10, 10, 12, 12}, 13, 13, 8},      // in 5, 7 and 8
      {{10, 10, 12, 12}, 8, 5, 2},        // in 1 and 2
  };
  for (const Case& c : cases) {
    const TFrame frame = FrameAt(c.bounds);
    EXPECT_EQ(frame.HitTest(c.x, c.y), c.handle) << c.bounds << " at " << c.x << ", " << c.y;
  }
}

TEST(FrameTest, HiddenFrameHasNoHandles) {
  TFrame frame = FrameAt({100, 50, 199, 89});
  frame.HideOutline();
  EXPECT_EQ(frame.HitTest(94, 44), 0);
  EXPECT_EQ(frame.HitTest(199, 89), 0);
  EXPECT_EQ(frame.CursorAt(199, 89), crDefault);
  EXPECT_EQ(frame.CursorAt(150, 70), crHandPoint);
}

TEST(FrameTest, CursorShowsWhatAPressWouldDo) {
  struct Case {
    int x, y;
    TCursor cursor;
  };
  const Case cases[] = {
      {100, 50, crHandPoint},   // inside counts the left and top sides
      {198, 88, crHandPoint},
      {199, 70, crSizeWE},      // the right side is outside, on handle 5
      {150, 89, crSizeNS},      // the bottom side is outside, on handle 7
      {97, 47, crSizeNWSE},     // 1
      {150, 45, crSizeNS},      // 2
      {202, 47, crSizeNESW},    // 3
      {95, 70, crSizeWE},       // 4
      {95, 92, crSizeNESW},     // 6
      {202, 92, crSizeNWSE},    // 8
      {120, 40, crDefault},
  };
  const TFrame frame = FrameAt({100, 50, 199, 89});
  for (const Case& c : cases) EXPECT_EQ(frame.CursorAt(c.x, c.y), c.cursor) << c.x << ", " << c.y;
}

TEST(FrameTest, BodyDragStartsOnePixelUpAndLeftOfTheMouse) {
  TFrame frame = FrameAt({100, 100, 199, 149});
  frame.Grab(150, 120);
  EXPECT_EQ(frame.GrabX, 51);
  EXPECT_EQ(frame.GrabY, 21);
  frame.DragTo(150, 120, false);
  EXPECT_EQ(frame.Bounds, (TRect{99, 99, 198, 148}));
  frame.DragTo(160, 125, false);
  EXPECT_EQ(frame.Bounds, (TRect{109, 104, 208, 153}));
}

TEST(FrameTest, ResizeFollowsTheHandleTableWithItsTwentyPixelRule) {
  struct Case {
    int handle, x, y;
    TRect bounds;
    double aspect;
  };
  // A 100 x 50 frame, Aspect 2.
  const TRect start{100, 100, 199, 149};
  const Case cases[] = {
      {1, 60, 0, {60, 79, 199, 149}, 2.0},       // 40 left: width 140, top = bottom - 70
      {1, 178, 0, {178, 138, 199, 149}, 2.0},    // 21 from the right side: width 22
      {1, 179, 0, start, 2.0},                   // 20 from it: no change
      {2, 0, 60, {100, 60, 199, 149}, 100.0 / 90},
      {2, 0, 129, start, 2.0},
      {3, 239, 0, {100, 79, 239, 149}, 2.0},
      {3, 120, 0, start, 2.0},
      {4, 50, 0, {50, 100, 199, 149}, 3.0},
      {4, 180, 0, start, 2.0},                   // a side handle within 20 pixels
      {5, 121, 0, {100, 100, 121, 149}, 22.0 / 50},
      {5, 120, 0, start, 2.0},
      {6, 60, 0, {60, 100, 199, 170}, 2.0},
      {6, 190, 0, start, 2.0},
      {7, 0, 200, {100, 100, 199, 200}, 100.0 / 101},
      {7, 0, 120, start, 2.0},
      {8, 239, 0, {100, 100, 239, 170}, 2.0},
      {8, 240, 0, {100, 100, 240, 170}, 2.0},    // 141 / 2 = 70.5 goes to the even 70
      {8, 242, 0, {100, 100, 242, 172}, 2.0},    // 143 / 2 = 71.5 goes to the even 72
      {0, 10, 10, start, 2.0},                   // no active handle
  };
  for (const Case& c : cases) {
    TFrame frame = FrameAt(start);
    frame.ActiveHandle = uint8_t(c.handle);
    frame.ResizeTo(c.x, c.y, false);
    EXPECT_EQ(frame.Bounds, c.bounds) << "handle " << c.handle << " to " << c.x << ", " << c.y;
    EXPECT_DOUBLE_EQ(frame.Aspect, c.aspect) << "handle " << c.handle << " to " << c.x << ", " << c.y;
  }
}

TEST(FrameTest, AttachAdoptsThePictureAndApplyPutsItInsideTheOutline) {
  QWidget parent;
  parent.resize(300, 300);
  auto* image = new TImage(&parent);
  image->setGeometry(12, 7, 50, 30);
  TFrame frame(nullptr);
  TImageTarget target(*image, frame);
  frame.Attach(&target);
  EXPECT_EQ(frame.Bounds, (TRect{12, 7, 61, 36}));
  EXPECT_EQ(frame.AttachedBounds, frame.Bounds);
  EXPECT_DOUBLE_EQ(frame.Aspect, 50.0 / 30);
  EXPECT_EQ(image->geometry(), QRect(12, 7, 50, 30));

  frame.ApplyToImage();
  EXPECT_EQ(image->geometry(), QRect(13, 8, 48, 28));

  // A handle drag places the picture only when asked to.
  frame.ActiveHandle = 8;
  frame.ResizeTo(101, 0, false);
  EXPECT_EQ(image->geometry(), QRect(13, 8, 48, 28));
  frame.ResizeTo(101, 0, true);
  EXPECT_EQ(image->geometry(), QRect(13, 8, 88, frame.Height() - 2));
}

TEST(FrameTest, ScaleByKeepsTheAttachedProportions) {
  QWidget parent;
  parent.resize(300, 300);
  auto* image = new TImage(&parent);
  image->setGeometry(10, 20, 100, 200);
  TFrame frame(nullptr);
  TImageTarget target(*image, frame);
  frame.Attach(&target);

  ASSERT_TRUE(frame.ScaleBy(1));
  EXPECT_EQ(frame.Bounds, (TRect{9, 19, 110, 19 + 204}));  // width 102, bottom = top + 102 x 2
  EXPECT_EQ(image->geometry(), QRect(10, 20, 100, 203));
  EXPECT_DOUBLE_EQ(frame.Aspect, 0.5);

  ASSERT_TRUE(frame.ScaleBy(-1));
  ASSERT_TRUE(frame.ScaleBy(-1));
  EXPECT_EQ(frame.Bounds, (TRect{11, 21, 108, 21 + 196}));
  EXPECT_EQ(frame.AttachedBounds, (TRect{10, 20, 109, 219}));
}

TEST(FrameTest, ScaleByRoundsHalvesToEven) {
  // Attached 4 x 3: a width of 10 gives 7.5 -> 8, a width of 14 gives 10.5 -> 10.
  QWidget parent;
  auto* image = new TImage(&parent);
  image->setGeometry(0, 0, 4, 3);
  TFrame frame(nullptr);
  TImageTarget target(*image, frame);
  frame.Attach(&target);
  frame.SetRect({0, 0, 7, 5});  // width 8
  ASSERT_TRUE(frame.ScaleBy(1));
  EXPECT_EQ(frame.Bounds.Bottom - frame.Bounds.Top, 8);
  ASSERT_TRUE(frame.ScaleBy(2));
  EXPECT_EQ(frame.Bounds.Bottom - frame.Bounds.Top, 10);
}

TEST(FrameTest, ScaleByRefusesToShrinkBelowThreePixelsOrWithoutProportions) {
  QWidget parent;
  auto* image = new TImage(&parent);
  image->setGeometry(0, 0, 5, 5);
  TFrame frame(nullptr);
  TImageTarget target(*image, frame);
  frame.Attach(&target);
  ASSERT_TRUE(frame.ScaleBy(-1));  // width 3, bottom = top + 3
  EXPECT_EQ(frame.Bounds, (TRect{1, 1, 3, 4}));
  EXPECT_EQ(image->geometry(), QRect(2, 2, 1, 2));
  EXPECT_FALSE(frame.ScaleBy(-1));
  EXPECT_EQ(frame.Bounds, (TRect{1, 1, 3, 4}));
  EXPECT_TRUE(frame.ScaleBy(1));

  image->setGeometry(0, 0, 0, 10);  // a picture without width gives no proportions
  frame.Attach(&target);
  const TRect before = frame.Bounds;
  EXPECT_FALSE(frame.ScaleBy(1));
  EXPECT_EQ(frame.Bounds, before);
}

TEST(FrameTest, SizeLimitRefusesOnlyShrinkingBelowThree) {
  struct Case {
    int oldWidth, oldHeight, newWidth, newHeight;
    bool allowed;
  };
  const Case cases[] = {
      {5, 5, 3, 3, true},  {4, 9, 2, 9, false}, {9, 4, 9, 2, false}, {3, 3, 1, 1, false},
      {1, 1, 3, 1, true},  // growing the width of a thin frame
      {1, 1, 1, 1, true},  {2, 8, 2, 10, true}, {50, 2, 48, 4, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TFrame::SizeAllowed(c.oldWidth, c.oldHeight, c.newWidth, c.newHeight), c.allowed)
        << c.oldWidth << "x" << c.oldHeight << " -> " << c.newWidth << "x" << c.newHeight;
  }
}

TEST(FrameTest, SidesOfTheWidestRectanglesDoNotOverflow) {
  constexpr int kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();
  struct Case {
    TRect Bounds;
    int Width, Height;
    PixelRect Inside;
  };
  const Case cases[] = {
      {{kMin, kMin, kMax, kMax}, kMax, kMax, {kMin + 1, kMin + 1, kMax - 2, kMax - 2}},
      {{kMax, kMax, kMin, kMin}, kMin, kMin, {kMax, kMax, 0, 0}},
      {{kMax - 4, 0, kMax, 9}, 5, 10, {kMax - 3, 1, 3, 8}},
      {{-1, -2, 1, 2}, 3, 5, {0, -1, 1, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.Bounds.Left) + "," + std::to_string(c.Bounds.Right));
    TFrame frame(nullptr);
    frame.Bounds = c.Bounds;
    EXPECT_EQ(frame.Width(), c.Width);
    EXPECT_EQ(frame.Height(), c.Height);
    EXPECT_EQ(InsideOfFrame(c.Bounds), c.Inside);
  }
  // A placed picture as far out as int reaches.
  EXPECT_EQ(FrameAround({kMax - 1, kMin, kMax, 3}), (TRect{kMax - 1, kMin, kMax, kMin + 2}));
}

TEST(FrameTest, DrawingTheOutlineTwiceTakesItOffAgain) {
  TFrame frame(nullptr);
  EXPECT_FALSE(frame.OutlineShown());
  frame.DrawOutline();
  EXPECT_TRUE(frame.OutlineShown());
  frame.DrawOutline();
  EXPECT_FALSE(frame.OutlineShown());
  // Every change erases before and draws after.
  frame.DrawOutline();
  frame.Grab(40, 40);
  frame.DragTo(50, 60, false);
  EXPECT_TRUE(frame.OutlineShown());
  frame.ActiveHandle = 8;
  frame.ResizeTo(120, 0, false);
  EXPECT_TRUE(frame.OutlineShown());
  frame.HideOutline();
  frame.ClearOutline();
  frame.DrawOutline();
  EXPECT_FALSE(frame.OutlineShown());
}

}  // namespace
}  // namespace glamora
