// The frame box: where it lies, how its not-xor outline shows over what lies
// beneath, the arrow keys, the mouse, and the lower limit of stretching.
#include <gtest/gtest.h>

#include <QScrollBar>

#include "imaging/Image.h"
#include "imaging/ImgView.h"
#include "tests/views/HairTestSupport.h"
#include "views/FrameBox.h"

namespace glamora {
namespace {

using test::Inverted;
using test::PatternCanvas;
using test::PixelOf;

// A pattern canvas with a picture control at (50, 40), 100 x 80, which lets
// the mouse through as the hair does, and a frame box over both.
struct BoxScene {
  BoxScene() {
    image = new TImage(&canvas);
    image->setGeometry(50, 40, 100, 80);
    image->setAttribute(Qt::WA_TransparentForMouseEvents);
    box = new TFrameBox(&canvas);
  }
  void Show() {
    canvas.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
  }
  QImage Shot() { return canvas.grab().toImage(); }

  PatternCanvas canvas;
  TImage* image = nullptr;
  TFrameBox* box = nullptr;
};

TEST(FrameBoxTest, CoversTheParentsClientArea) {
  QWidget plain;
  plain.resize(200, 150);
  auto* onPlain = new TFrameBox(&plain);
  EXPECT_EQ(onPlain->geometry(), QRect(0, 0, 200, 150));
  plain.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&plain));
  plain.resize(210, 120);
  EXPECT_EQ(onPlain->geometry(), QRect(0, 0, 210, 120));

  TImgView view;
  view.resize(200, 150);
  view.SetBorderStyle(bsSingle);
  auto* box = new TFrameBox(&view);
  ASSERT_GT(view.BorderWidth(), 0);
  EXPECT_EQ(box->geometry(), view.ClientRect());
  view.Bitmap()->Reset(1000, 1000);
  view.SetScrollBars(ssBoth);
  view.Update();
  ASSERT_LT(view.ClientRect().width(), 200 - 2 * view.BorderWidth());  // the bars take room
  EXPECT_EQ(box->geometry(), view.ClientRect());
}

TEST(FrameBoxTest, OutlineInvertsWhatLiesBeneathAndOverlapsCancel) {
  BoxScene scene;
  const QImage shot = scene.Shot();
  // The first frame: (30, 30)-(100, 100), middles at 65.
  struct Spot {
    int x, y;
    bool inverted;
  };
  const Spot spots[] = {
      {50, 30, true},    // top side
      {30, 30, false},   // corner of the frame and of handle 1
      {24, 24, true},    // outer corner of handle 1
      {27, 27, false},   // inside handle 1
      {61, 30, true},    // top side just left of handle 2
      {62, 30, false},   // top side under the lower side of handle 2
      {65, 24, true},    // upper side of handle 2
      {100, 61, true},   // right side
      {100, 65, false},  // right side under the left side of handle 5
      {106, 65, true},   // right side of handle 5
      {50, 50, false},   // inside the frame
      {100, 100, false}, // corner of the frame and of handle 8
      {106, 106, true},
  };
  for (const Spot& s : spots) {
    const TColor beneath = PatternCanvas::PatternAt(s.x, s.y);
    EXPECT_EQ(PixelOf(shot, s.x, s.y), s.inverted ? Inverted(beneath) : beneath) << s.x << ", " << s.y;
  }
}

TEST(FrameBoxTest, DrawingTheOutlineTwiceRestoresTheScreen) {
  BoxScene scene;
  const QImage withOutline = scene.Shot();
  scene.box->Frame.DrawOutline();
  const QImage erased = scene.Shot();
  scene.box->hide();
  EXPECT_EQ(erased, scene.Shot());  // as if there were no box
  scene.box->show();
  scene.box->Frame.DrawOutline();
  EXPECT_EQ(scene.Shot(), withOutline);
}

TEST(FrameBoxTest, AChangeErasesTheOldOutline) {
  BoxScene scene;
  scene.box->MoveBy(5, 0);  // now (35, 30)-(105, 100)
  const QImage shot = scene.Shot();
  EXPECT_EQ(PixelOf(shot, 30, 50), PatternCanvas::PatternAt(30, 50));  // the old left side
  EXPECT_EQ(PixelOf(shot, 35, 50), Inverted(PatternCanvas::PatternAt(35, 50)));
  EXPECT_EQ(PixelOf(shot, 55, 30), Inverted(PatternCanvas::PatternAt(55, 30)));
  EXPECT_EQ(PixelOf(shot, 103, 30), Inverted(PatternCanvas::PatternAt(103, 30)));
}

TEST(FrameBoxTest, HiddenOutlineIsNotShownAfterTheNextRepaint) {
  BoxScene scene;
  scene.box->hide();
  const QImage bare = scene.Shot();
  scene.box->show();
  scene.box->HideOutline();
  scene.box->RepaintBox();
  EXPECT_EQ(scene.Shot(), bare);
  scene.box->MoveBy(3, 3);
  EXPECT_EQ(scene.Shot(), bare);
}

TEST(FrameBoxTest, AttachAndMovesWorkInTheClientCoordinatesOfABorderedParent) {
  TImgView view;
  view.resize(300, 400);
  view.SetBorderStyle(bsSingle);
  auto* image = new TImage(&view);
  auto* box = new TFrameBox(&view);
  const QPoint origin = view.ClientOrigin();
  ASSERT_NE(origin, QPoint(0, 0));
  image->setGeometry(QRect(origin + QPoint(10, 20), QSize(50, 30)));
  box->AttachImage(image);
  EXPECT_EQ(box->Frame.Bounds, (TRect{10, 20, 59, 49}));
  box->MoveBy(1, 0);
  EXPECT_EQ(image->geometry(), QRect(origin + QPoint(12, 21), QSize(48, 28)));
}

TEST(FrameBoxTest, MoveAndGrowLeaveProportionsAndAttachedBoundsAlone) {
  BoxScene scene;
  scene.box->AttachImage(scene.image);
  const TRect attached = scene.box->Frame.AttachedBounds;
  scene.box->MoveBy(-3, 4);
  EXPECT_EQ(scene.box->Frame.Bounds, (TRect{47, 44, 146, 123}));
  EXPECT_EQ(scene.image->geometry(), QRect(48, 45, 98, 78));
  ASSERT_TRUE(scene.box->GrowBy(2, -1));
  EXPECT_EQ(scene.box->Frame.Bounds, (TRect{45, 45, 148, 122}));
  EXPECT_EQ(scene.image->geometry(), QRect(46, 46, 102, 76));
  EXPECT_EQ(scene.box->Frame.AttachedBounds, attached);
  EXPECT_DOUBLE_EQ(scene.box->Frame.Aspect, 100.0 / 80);
}

TEST(FrameBoxTest, StretchingStopsBeforeThePictureLosesItsLastPixel) {
  BoxScene scene;
  scene.image->setGeometry(50, 40, 20, 11);
  scene.box->AttachImage(scene.image);
  for (int i = 0; i < 30; ++i) {
    scene.box->GrowBy(-1, -1);
    scene.box->GrowBy(-1, 0);
    scene.box->GrowBy(0, -1);
    scene.box->HandleKey(Qt::Key_Right, Qt::ControlModifier);  // scales down
  }
  const TFrame& frame = scene.box->Frame;
  EXPECT_GE(frame.Width(), TFrame::kMinSide);
  EXPECT_GE(frame.Height(), TFrame::kMinSide);
  EXPECT_GE(scene.image->width(), 1);
  EXPECT_GE(scene.image->height(), 1);

  // A refused step changes nothing; a growing one is still taken.
  scene.image->setGeometry(50, 40, 5, 40);
  scene.box->AttachImage(scene.image);
  EXPECT_TRUE(scene.box->GrowBy(-1, 0));  // width 3
  const TRect narrowest = frame.Bounds;
  const QRect picture = scene.image->geometry();
  EXPECT_EQ(picture.width(), 1);
  EXPECT_FALSE(scene.box->GrowBy(-1, 0));
  EXPECT_FALSE(scene.box->GrowBy(-1, 1));
  EXPECT_EQ(frame.Bounds, narrowest);
  EXPECT_EQ(scene.image->geometry(), picture);
  EXPECT_TRUE(scene.box->GrowBy(0, 1));
}

TEST(FrameBoxTest, ArrowKeysScaleWithCtrlGrowWithShiftAndMoveOtherwise) {
  struct Case {
    int key;
    Qt::KeyboardModifiers shift;
    TRect bounds;
  };
  // Attached to a 100 x 200 picture at (20, 10): the frame is (20, 10)-(119, 209).
  const Case cases[] = {
      {Qt::Key_Left, Qt::ControlModifier, {19, 9, 120, 9 + 204}},
      {Qt::Key_Up, Qt::ControlModifier, {19, 9, 120, 9 + 204}},
      {Qt::Key_Right, Qt::ControlModifier, {21, 11, 118, 11 + 196}},
      {Qt::Key_Down, Qt::ControlModifier, {21, 11, 118, 11 + 196}},
      {Qt::Key_Left, Qt::ControlModifier | Qt::KeypadModifier, {19, 9, 120, 9 + 204}},
      {Qt::Key_Left, Qt::ShiftModifier, {21, 10, 118, 209}},
      {Qt::Key_Up, Qt::ShiftModifier, {20, 11, 119, 208}},
      {Qt::Key_Right, Qt::ShiftModifier, {19, 10, 120, 209}},
      {Qt::Key_Down, Qt::ShiftModifier, {20, 9, 119, 210}},
      {Qt::Key_Left, Qt::NoModifier, {19, 10, 118, 209}},
      {Qt::Key_Up, Qt::NoModifier, {20, 9, 119, 208}},
      {Qt::Key_Right, Qt::NoModifier, {21, 10, 120, 209}},
      {Qt::Key_Down, Qt::NoModifier, {20, 11, 119, 210}},
      {Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier, {19, 10, 118, 209}},
      {Qt::Key_Left, Qt::AltModifier, {19, 10, 118, 209}},
      {Qt::Key_Right, Qt::ControlModifier | Qt::AltModifier, {21, 10, 120, 209}},
      {Qt::Key_A, Qt::NoModifier, {20, 10, 119, 209}},
  };
  for (const Case& c : cases) {
    BoxScene scene;
    scene.image->setGeometry(20, 10, 100, 200);
    scene.box->AttachImage(scene.image);
    scene.box->HandleKey(c.key, c.shift);
    EXPECT_EQ(scene.box->Frame.Bounds, c.bounds) << "key " << c.key << " shift " << c.shift.toInt();
    const TRect& b = scene.box->Frame.Bounds;
    if (c.key != Qt::Key_A) {
      EXPECT_EQ(scene.image->geometry(), QRect(b.Left + 1, b.Top + 1, b.Right - b.Left - 1, b.Bottom - b.Top - 1));
    }
  }
}

TEST(FrameBoxTest, KeysDoNothingWhileTheBoxIsHidden) {
  BoxScene scene;
  scene.box->AttachImage(scene.image);
  scene.box->HideWithImage();
  EXPECT_TRUE(scene.box->isHidden());
  EXPECT_TRUE(scene.image->isHidden());
  EXPECT_FALSE(scene.box->HandleKey(Qt::Key_Left, Qt::NoModifier));
  EXPECT_EQ(scene.box->Frame.Bounds, (TRect{50, 40, 149, 119}));
  scene.box->ShowWithImage();
  EXPECT_FALSE(scene.image->isHidden());
  EXPECT_TRUE(scene.box->HandleKey(Qt::Key_Left, Qt::NoModifier));
  EXPECT_EQ(scene.box->Frame.Bounds, (TRect{49, 40, 148, 119}));
}

TEST(FrameBoxTest, BodyDragMovesTheOutlineAndPlacesThePictureOnRelease) {
  BoxScene scene;
  scene.box->AttachImage(scene.image);  // (50, 40)-(149, 119)
  scene.Show();
  bool movingWhenCalled = true;
  QPoint handlerPoint;
  scene.box->OnMouseDown = [&](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
    movingWhenCalled = scene.box->Frame.Moving;
    handlerPoint = QPoint(x, y);
  };
  QTest::mousePress(scene.box, Qt::LeftButton, {}, QPoint(80, 60));
  EXPECT_FALSE(movingWhenCalled);  // the owner's handler runs first
  EXPECT_EQ(handlerPoint, QPoint(80, 60));
  EXPECT_TRUE(scene.box->Frame.Moving);
  QTest::mouseMove(scene.box, QPoint(90, 70));
  EXPECT_EQ(scene.box->Frame.Bounds, (TRect{59, 49, 158, 128}));
  EXPECT_EQ(scene.image->geometry(), QRect(50, 40, 100, 80));  // only the outline follows
  QTest::mouseRelease(scene.box, Qt::LeftButton, {}, QPoint(90, 70));
  EXPECT_FALSE(scene.box->Frame.Moving);
  EXPECT_EQ(scene.image->geometry(), QRect(60, 50, 98, 78));
  EXPECT_EQ(scene.canvas.Presses, 0);
}

TEST(FrameBoxTest, HandleDragWorksWithAnyButtonButBodyDragOnlyWithTheLeft) {
  BoxScene scene;
  scene.box->AttachImage(scene.image);  // (50, 40)-(149, 119), Aspect 1.25
  scene.Show();
  QTest::mousePress(scene.box, Qt::RightButton, {}, QPoint(80, 60));
  EXPECT_FALSE(scene.box->Frame.Moving);
  EXPECT_FALSE(scene.box->Frame.Resizing);
  QTest::mouseRelease(scene.box, Qt::RightButton, {}, QPoint(80, 60));

  QTest::mousePress(scene.box, Qt::RightButton, {}, QPoint(152, 122));  // handle 8
  EXPECT_EQ(scene.box->Frame.ActiveHandle, 8);
  EXPECT_TRUE(scene.box->Frame.Resizing);
  QTest::mouseMove(scene.box, QPoint(174, 130));
  EXPECT_EQ(scene.box->Frame.Bounds, (TRect{50, 40, 174, 140}));  // width 125, height 125 / 1.25 + 1
  EXPECT_EQ(scene.image->geometry(), QRect(50, 40, 100, 80));
  QTest::mouseRelease(scene.box, Qt::RightButton, {}, QPoint(174, 130));
  EXPECT_FALSE(scene.box->Frame.Resizing);
  EXPECT_EQ(scene.image->geometry(), QRect(51, 41, 123, 99));
}

TEST(FrameBoxTest, CursorFollowsThePointer) {
  BoxScene scene;
  scene.box->AttachImage(scene.image);
  scene.Show();
  struct Case {
    QPoint at;
    Qt::CursorShape shape;
  };
  const Case cases[] = {
      {{80, 60}, Qt::PointingHandCursor},
      {{46, 36}, Qt::SizeFDiagCursor},  // handle 1
      {{100, 36}, Qt::SizeVerCursor},   // handle 2
      {{152, 36}, Qt::SizeBDiagCursor}, // handle 3
      {{46, 80}, Qt::SizeHorCursor},    // handle 4
      {{10, 200}, Qt::ArrowCursor},
  };
  for (const Case& c : cases) {
    QTest::mouseMove(scene.box, c.at);
    EXPECT_EQ(scene.box->cursor().shape(), c.shape) << c.at.x() << ", " << c.at.y();
  }
  EXPECT_FALSE(scene.box->testAttribute(Qt::WA_SetCursor));
}

TEST(FrameBoxTest, WithTheMouseOffPressesReachTheCanvasBeneath) {
  BoxScene scene;
  scene.box->AttachImage(scene.image);
  scene.Show();
  int handlerCalls = 0;
  scene.box->OnMouseDown = [&](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++handlerCalls; };
  scene.box->SetMouseEnabled(false);
  QTest::mousePress(scene.box, Qt::LeftButton, {}, QPoint(80, 60));
  QTest::mouseMove(scene.box, QPoint(95, 75));
  QTest::mouseRelease(scene.box, Qt::LeftButton, {}, QPoint(95, 75));
  EXPECT_EQ(scene.canvas.Presses, 1);
  EXPECT_EQ(scene.canvas.LastPress, QPoint(80, 60));
  EXPECT_EQ(handlerCalls, 0);
  EXPECT_FALSE(scene.box->Frame.Moving);
  EXPECT_EQ(scene.box->Frame.Bounds, (TRect{50, 40, 149, 119}));
  EXPECT_EQ(scene.image->geometry(), QRect(50, 40, 100, 80));

  scene.box->SetMouseEnabled(true);
  QTest::mousePress(scene.box, Qt::LeftButton, {}, QPoint(80, 60));
  EXPECT_EQ(scene.canvas.Presses, 1);
  EXPECT_EQ(handlerCalls, 1);
  EXPECT_TRUE(scene.box->Frame.Moving);
  QTest::mouseRelease(scene.box, Qt::LeftButton, {}, QPoint(80, 60));
}

}  // namespace
}  // namespace glamora
