// The frame buttons around the face: their steps, places and pictures, the
// auto-repeat between press and release, the click step, and the reset.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QToolButton>

#include "imaging/Image.h"
#include "resources/Resources.h"
#include "tests/views/HairTestSupport.h"
#include "views/FrameBox.h"
#include "views/FrameButtons.h"

namespace glamora {
namespace {

// The face panel as the main window has it: the buttons on a panel, the
// canvas with the hair and the frame box over it, the hair reset.
class FrameButtonsTest : public ::testing::Test {
 protected:
  FrameButtonsTest() {
    InitResources();
    panel_.resize(300, 390);
    canvas_ = new QWidget(&panel_);
    canvas_->setGeometry(36, 38, 228, 314);
    hair_ = new TImage(canvas_);
    hair_->SetStretch(true);
    hair_->setAttribute(Qt::WA_TransparentForMouseEvents);
    box_ = new TFrameBox(canvas_);
    box_->HideOutline();
    stepper_ = new TFrameStepper(*box_, &panel_);
    buttons_ = CreateFrameButtons(panel_, *stepper_, [this] {
      ++resets_;
      ResetHairPlacement(*box_);
    });
    box_->AttachImage(hair_);
    ResetHairPlacement(*box_);
    box_->SetMouseEnabled(false);
    panel_.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&panel_));
  }

  const TRect& Frame() const { return box_->Frame.Bounds; }
  QTimer& Timer() const { return *stepper_->TimerFrame(); }

  QWidget panel_;
  QWidget* canvas_ = nullptr;
  TImage* hair_ = nullptr;
  TFrameBox* box_ = nullptr;
  TFrameStepper* stepper_ = nullptr;
  TFrameButtons buttons_;
  int resets_ = 0;
};

TEST(FrameButtonStepTest, TagsGiveTheirKindAndStep) {
  struct Case {
    int tag;
    std::optional<TFrameStep> step;
  };
  const Case cases[] = {
      {0, std::nullopt},
      {1, TFrameStep{false, -1, 0}},
      {2, TFrameStep{false, 0, -1}},
      {3, TFrameStep{false, 1, 0}},
      {4, TFrameStep{false, 0, 1}},
      {5, TFrameStep{true, 0, 1}},
      {6, TFrameStep{true, 0, -1}},
      {7, TFrameStep{true, 1, 0}},
      {8, TFrameStep{true, -1, 0}},
      {9, TFrameStep{true, 1, 1}},
      {10, TFrameStep{true, -1, -1}},
      {11, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(FrameButtonStep(c.tag), c.step) << "tag " << c.tag;
}

TEST_F(FrameButtonsTest, ButtonsLieAtTheirPlacesWithTheirTagsPicturesAndHints) {
  const QToolButton* created[] = {buttons_.b1, buttons_.b2, buttons_.b3, buttons_.b4,  buttons_.b5,          buttons_.b6,
                                  buttons_.b7, buttons_.b8, buttons_.b9, buttons_.b10, buttons_.SpeedButton9};
  const struct {
    const char* name;
    int tag;
    QRect place;
    const char* effect;  // what the hint says the button does to the hair
  } expected[] = {
      {"b1", 1, {5, 143, 26, 81}, "left"},
      {"b2", 2, {116, 9, 65, 27}, "up"},
      {"b3", 3, {264, 143, 25, 78}, "right"},
      {"b4", 4, {113, 353, 73, 22}, "down"},
      {"b5", 5, {4, 50, 26, 36}, "taller"},
      {"b6", 6, {4, 90, 26, 40}, "shorter"},
      {"b7", 7, {44, 10, 30, 26}, "wider"},
      {"b8", 8, {75, 9, 34, 27}, "narrower"},
      {"b9", 9, {8, 7, 30, 31}, "larger"},
      {"b10", 10, {252, 8, 32, 33}, "smaller"},
      {"SpeedButton9", 0, {5, 234, 25, 85}, "whole face"},
  };
  for (size_t i = 0; i < std::size(expected); ++i) {
    ASSERT_NE(created[i], nullptr);
    EXPECT_EQ(created[i]->objectName(), expected[i].name);
    EXPECT_EQ(created[i]->property("tag").toInt(), expected[i].tag) << expected[i].name;
    EXPECT_EQ(created[i]->geometry(), expected[i].place) << expected[i].name;
    EXPECT_EQ(created[i]->parentWidget(), &panel_);
    EXPECT_FALSE(created[i]->icon().pixmap(16, 16).isNull()) << expected[i].name;
    EXPECT_TRUE(created[i]->toolTip().contains("hair")) << expected[i].name;
    EXPECT_TRUE(created[i]->toolTip().contains(expected[i].effect)) << expected[i].name;
  }
}

TEST_F(FrameButtonsTest, ResetCoversTheWholeFace) {
  EXPECT_EQ(hair_->geometry(), QRect(0, 0, 228, 314));
  EXPECT_EQ(Frame(), (TRect{0, 0, 227, 313}));
  EXPECT_EQ(box_->Frame.AttachedBounds, Frame());
  EXPECT_DOUBLE_EQ(box_->Frame.Aspect, 228.0 / 314);
  EXPECT_EQ(Timer().interval(), 100);
  EXPECT_FALSE(Timer().isActive());
}

TEST_F(FrameButtonsTest, ClickingMoveRightPutsTheHairInsideTheOutlineThenMovesIt) {
  QTest::mouseClick(buttons_.b3, Qt::LeftButton);
  EXPECT_EQ(Frame(), (TRect{1, 0, 228, 313}));
  EXPECT_EQ(hair_->geometry(), QRect(2, 1, 226, 312));
  EXPECT_FALSE(Timer().isActive());
  for (int i = 0; i < 3; ++i) QTest::mouseClick(buttons_.b3, Qt::LeftButton);
  EXPECT_EQ(hair_->geometry(), QRect(5, 1, 226, 312));
  QTest::mouseClick(buttons_.b2, Qt::LeftButton);
  QTest::mouseClick(buttons_.b4, Qt::LeftButton);
  QTest::mouseClick(buttons_.b4, Qt::LeftButton);
  QTest::mouseClick(buttons_.b1, Qt::LeftButton);
  EXPECT_EQ(hair_->geometry(), QRect(4, 2, 226, 312));
  EXPECT_FALSE(stepper_->FrameStepStretches);
  EXPECT_EQ(stepper_->FrameStepX, -1);
  EXPECT_EQ(stepper_->FrameStepY, 0);
}

TEST_F(FrameButtonsTest, HoldingGrowRepeatsUntilReleaseAndKeepsTheCentre) {
  QTest::mousePress(buttons_.b9, Qt::LeftButton);
  EXPECT_TRUE(Timer().isActive());
  EXPECT_TRUE(stepper_->FrameStepStretches);
  EXPECT_EQ(Frame(), (TRect{0, 0, 227, 313}));  // the press alone makes no step
  for (int tick = 0; tick < 10; ++tick) stepper_->TimerTick();
  QTest::mouseRelease(buttons_.b9, Qt::LeftButton);
  EXPECT_FALSE(Timer().isActive());
  // Ten repeats and the click: eleven steps of one pixel on every side.
  EXPECT_EQ(Frame(), (TRect{-11, -11, 238, 324}));
  EXPECT_EQ(box_->Frame.Width(), 228 + 22);
  EXPECT_EQ(box_->Frame.Height(), 314 + 22);
  EXPECT_EQ(hair_->geometry(), QRect(-10, -10, 248, 334));
}

TEST_F(FrameButtonsTest, TheRepeatTimerDrivesTheSteps) {
  QTest::mousePress(buttons_.b7, Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return box_->Frame.Width() >= 232; }, 5000));
  QTest::mouseRelease(buttons_.b7, Qt::LeftButton);
  const TRect stopped = Frame();
  EXPECT_EQ(stopped.Top, 0);
  EXPECT_EQ(stopped.Bottom, 313);
  QTest::qWait(250);
  EXPECT_EQ(Frame(), stopped);
}

TEST_F(FrameButtonsTest, RightButtonRepeatsWithoutAClickStep) {
  QTest::mousePress(buttons_.b10, Qt::RightButton);
  EXPECT_TRUE(Timer().isActive());
  EXPECT_TRUE(stepper_->FrameStepStretches);
  EXPECT_EQ(stepper_->FrameStepX, -1);
  EXPECT_EQ(stepper_->FrameStepY, -1);
  stepper_->TimerTick();
  stepper_->TimerTick();
  QTest::mouseRelease(buttons_.b10, Qt::RightButton);
  EXPECT_FALSE(Timer().isActive());
  EXPECT_EQ(Frame(), (TRect{2, 2, 225, 311}));

  QTest::mouseClick(buttons_.b5, Qt::RightButton);
  EXPECT_FALSE(Timer().isActive());
  EXPECT_EQ(Frame(), (TRect{2, 2, 225, 311}));
}

TEST_F(FrameButtonsTest, ClickStepsByTheButtonsOwnKind) {
  // A stretch button pressed with the right button leaves a stretch running;
  // a click on a move button still moves.
  stepper_->ButtonMouseDown(9);
  stepper_->ButtonMouseUp();
  stepper_->ButtonClick(3);
  EXPECT_EQ(Frame(), (TRect{1, 0, 228, 313}));
  stepper_->ButtonClick(6);  // two pixels shorter
  EXPECT_EQ(Frame(), (TRect{1, 1, 228, 312}));
  stepper_->ButtonClick(0);
  EXPECT_EQ(Frame(), (TRect{1, 1, 228, 312}));
}

TEST_F(FrameButtonsTest, HoldingShrinkStopsAtTheLowerLimit) {
  QTest::mousePress(buttons_.b10, Qt::LeftButton);
  for (int tick = 0; tick < 200; ++tick) stepper_->TimerTick();
  QTest::mouseRelease(buttons_.b10, Qt::LeftButton);
  EXPECT_GE(box_->Frame.Width(), TFrame::kMinSide);
  EXPECT_GE(box_->Frame.Height(), TFrame::kMinSide);
  EXPECT_GE(hair_->width(), 1);
  EXPECT_GE(hair_->height(), 1);
  // Still centred where the face's centre was.
  EXPECT_EQ(box_->Frame.Bounds.Left + box_->Frame.Bounds.Right, 227);
}

TEST_F(FrameButtonsTest, ResetButtonPutsTheHairBack) {
  for (int i = 0; i < 4; ++i) QTest::mouseClick(buttons_.b8, Qt::LeftButton);
  ASSERT_NE(hair_->geometry(), QRect(0, 0, 228, 314));
  QTest::mouseClick(buttons_.SpeedButton9, Qt::LeftButton);
  EXPECT_EQ(resets_, 1);
  EXPECT_EQ(hair_->geometry(), QRect(0, 0, 228, 314));
  EXPECT_EQ(Frame(), (TRect{0, 0, 227, 313}));
  EXPECT_FALSE(Timer().isActive());
}

TEST_F(FrameButtonsTest, AQuickSecondPressStillStartsTheRepeat) {
  QTest::mouseClick(buttons_.b5, Qt::LeftButton);
  // A second press soon after the first arrives as a double click.
  const QPointF at(5, 5);
  const QPointF global = buttons_.b5->mapToGlobal(at);
  QMouseEvent second(QEvent::MouseButtonDblClick, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(buttons_.b5, &second);
  EXPECT_TRUE(Timer().isActive());
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(buttons_.b5, &release);
  EXPECT_FALSE(Timer().isActive());
  EXPECT_EQ(box_->Frame.Height(), 314 + 4);  // two click steps
}

}  // namespace
}  // namespace glamora
