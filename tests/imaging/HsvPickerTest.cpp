// The HSV colour box: its picture, the silent setters, and picking with the
// mouse in the field, the gap and the hue bar.
#include "imaging/HsvPicker.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTest>

#include "imaging/core/HsvColor.h"

namespace glamora {
namespace {

TColor AsColor(const RgbBytes& c) { return Rgb(c.Red, c.Green, c.Blue); }

// The box at the size of the main window's panels: a 157-pixel field, the gap
// at columns 157..161 and the hue bar at 162..181.
class HsvPickerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    picker.resize(182, 91);
    picker.OnChange = [this](QObject*) {
      ++changes;
      colourSeen = picker.Color();
    };
    picker.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&picker));
  }
  TColor Shown(int x, int y) const { return picker.Picture().Pixel(x, y); }
  // Sent directly: QTest reads the point (0, 0) as "the widget's centre".
  void Click(int x, int y) {
    const QPointF at(x, y);
    QMouseEvent press(QEvent::MouseButtonPress, at, picker.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&picker, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, picker.mapToGlobal(at), Qt::LeftButton, Qt::NoButton, {});
    QCoreApplication::sendEvent(&picker, &release);
  }

  THsvPicker picker;
  int changes = 0;
  TColor colourSeen = 0;
};

TEST_F(HsvPickerTest, PictureHasFieldGapAndHueBar) {
  EXPECT_EQ(picker.FieldWidth(), 157);
  ASSERT_EQ(picker.Picture().Width(), 182);
  ASSERT_EQ(picker.Picture().Height(), 91);
  for (int x = 157; x < 162; ++x) EXPECT_EQ(Shown(x, 45), ResolveColor(clBtnFace)) << x;
  // Hue bar rows count from the bottom with the step 360 / 91 in single
  // precision: row 60 is c = 30, hue trunc(118.68) = 118.
  EXPECT_EQ(Shown(162, 60), AsColor(HsvToRgb(118, 99, 99)));
  EXPECT_EQ(Shown(181, 60), Rgb(10, 255, 0));
  // The top row is close to a full turn, the bottom row starts at red.
  EXPECT_EQ(Shown(170, 0), AsColor(HsvToRgb(356, 99, 99)));
}

TEST_F(HsvPickerTest, FieldRunsFromGreyAtTheLeftToBrightAtTheTop) {
  picker.SetHue(200);
  struct Case {
    int x, y, sat, val;
  };
  // saturation = trunc(x × 100 / 157), value = trunc(c × 100 / 91) with c
  // counted from the bottom row.
  for (const Case& c : {Case{4, 90, 2, 0}, Case{156, 0, 99, 98}, Case{78, 45, 49, 49}, Case{20, 10, 12, 87}}) {
    EXPECT_EQ(Shown(c.x, c.y), AsColor(HsvToRgb(200, c.sat, c.val))) << c.x << "," << c.y;
  }
}

TEST_F(HsvPickerTest, SettersClampAndStaySilent) {
  struct Case {
    void (THsvPicker::*set)(int);
    int (THsvPicker::*get)() const;
    int value, stored;
  };
  const Case cases[] = {
      {&THsvPicker::SetHue, &THsvPicker::Hue, 400, 359}, {&THsvPicker::SetHue, &THsvPicker::Hue, -3, 0},
      {&THsvPicker::SetSat, &THsvPicker::Sat, -5, 0},     {&THsvPicker::SetSat, &THsvPicker::Sat, 150, 99},
      {&THsvPicker::SetVal, &THsvPicker::Val, 100, 99},   {&THsvPicker::SetVal, &THsvPicker::Val, 42, 42},
  };
  for (const Case& c : cases) {
    (picker.*c.set)(c.value);
    EXPECT_EQ((picker.*c.get)(), c.stored) << c.value;
  }
  EXPECT_EQ(changes, 0);
  picker.SetHue(120);
  picker.SetSat(99);
  picker.SetVal(99);
  EXPECT_EQ(picker.Red(), 0);
  EXPECT_EQ(picker.Green(), 255);
  EXPECT_EQ(picker.Blue(), 0);
  EXPECT_EQ(picker.Color(), Rgb(0, 255, 0));
  EXPECT_EQ(changes, 0);
}

TEST_F(HsvPickerTest, SetRgbShowsTheNearestHsvAndKeepsTheBytes) {
  picker.SetRGB(255, 255, 255);
  EXPECT_EQ(picker.Hue(), 0);
  EXPECT_EQ(picker.Sat(), 0);
  EXPECT_EQ(picker.Val(), 99);
  EXPECT_EQ(picker.Color(), clWhite);
  picker.SetRGB(10, 20, 30);
  EXPECT_EQ(picker.Red(), 10);
  EXPECT_EQ(picker.Blue(), 30);
  EXPECT_EQ(picker.Color(), Rgb(10, 20, 30));
  EXPECT_EQ(picker.Hue(), 210);
  EXPECT_EQ(changes, 0);
}

TEST_F(HsvPickerTest, MarkersInvertAndErasingRestoresThePicture) {
  const Bitmap initial = picker.Picture();
  picker.SetHue(180);
  // Hue marker at y = round(90 × 179 / 360) = 45: its outline covers rows
  // 43..46 from column 162 to the right edge.
  const RgbBytes bar = HsvToRgb(int(47 * double(360.0f / 91.0f)), 99, 99);
  EXPECT_EQ(Shown(162, 43), Rgb(255 - bar.Red, 255 - bar.Green, 255 - bar.Blue));
  picker.SetSat(50);
  picker.SetVal(60);
  picker.SetRGB(0, 0, 0);
  EXPECT_TRUE(picker.Picture().SameContent(initial));
}

TEST_F(HsvPickerTest, PressInTheGapChangesNothing) {
  picker.SetRGB(200, 100, 50);
  const TColor before = picker.Color();
  Click(159, 40);
  QTest::mousePress(&picker, Qt::LeftButton, {}, QPoint(157, 40));
  EXPECT_EQ(picker.Drag(), THsvPicker::dmNone);
  QTest::mouseMove(&picker, QPoint(20, 20));
  QTest::mouseRelease(&picker, Qt::LeftButton, {}, QPoint(20, 20));
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(picker.Color(), before);
}

TEST_F(HsvPickerTest, FieldCornersPickTheExtremes) {
  picker.SetHue(240);
  Click(0, 0);
  EXPECT_EQ(picker.Sat(), 0);
  EXPECT_EQ(picker.Val(), 99);
  EXPECT_EQ(picker.Color(), clWhite);
  Click(156, 90);
  EXPECT_EQ(picker.Sat(), 99);
  EXPECT_EQ(picker.Val(), 0);
  Click(156, 0);
  EXPECT_EQ(picker.Color(), Rgb(0, 0, 255));
  EXPECT_EQ(colourSeen, Rgb(0, 0, 255));  // the handler already sees the new colour
  EXPECT_EQ(picker.Hue(), 240);
  EXPECT_EQ(changes, 3);
}

TEST_F(HsvPickerTest, DragLeavingTheFieldKeepsPickingOnItsEdge) {
  picker.SetHue(30);
  QTest::mousePress(&picker, Qt::LeftButton, {}, QPoint(10, 45));
  EXPECT_EQ(picker.Drag(), THsvPicker::dmField);
  QTest::mouseMove(&picker, QPoint(181, 45));
  EXPECT_EQ(picker.Sat(), 99);  // the field's last column
  EXPECT_EQ(picker.Hue(), 30);  // the hue bar under the pointer is not picked
  QTest::mouseMove(&picker, QPoint(-20, 300));
  EXPECT_EQ(picker.Sat(), 0);
  EXPECT_EQ(picker.Val(), 0);
  QTest::mouseRelease(&picker, Qt::LeftButton, {}, QPoint(-20, 300));
  EXPECT_EQ(picker.Drag(), THsvPicker::dmNone);
  EXPECT_EQ(changes, 3);
}

TEST_F(HsvPickerTest, HueBarRunsFrom359AtTheTopTo0AtTheBottom) {
  picker.SetSat(99);
  picker.SetVal(99);
  Click(170, 0);
  EXPECT_EQ(picker.Hue(), 359);
  Click(181, 90);
  EXPECT_EQ(picker.Hue(), 0);
  EXPECT_EQ(picker.Color(), Rgb(255, 0, 0));
  // A drag that started in the bar stays in it: left of the bar, above and
  // below the box it picks on the nearest bar pixel.
  QTest::mousePress(&picker, Qt::LeftButton, {}, QPoint(165, 45));
  EXPECT_EQ(picker.Drag(), THsvPicker::dmHueBar);
  EXPECT_EQ(picker.Hue(), 359 - 180);
  QTest::mouseMove(&picker, QPoint(5, -40));
  EXPECT_EQ(picker.Hue(), 359);
  EXPECT_EQ(picker.Sat(), 99);
  QTest::mouseMove(&picker, QPoint(500, 500));
  EXPECT_EQ(picker.Hue(), 0);
  QTest::mouseRelease(&picker, Qt::LeftButton, {}, QPoint(500, 500));
  EXPECT_EQ(changes, 5);
}

TEST_F(HsvPickerTest, OtherButtonsPickNothing) {
  QTest::mouseClick(&picker, Qt::RightButton, {}, QPoint(30, 30));
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(picker.Drag(), THsvPicker::dmNone);
}

TEST_F(HsvPickerTest, BackgroundFillsTheGapAndResizingRedraws) {
  picker.SetBackground(clWhite);
  EXPECT_EQ(Shown(160, 30), clWhite);
  picker.resize(120, 60);
  QTest::qWait(0);
  EXPECT_EQ(picker.Picture().Width(), 120);
  EXPECT_EQ(picker.FieldWidth(), 95);
  EXPECT_EQ(Shown(97, 30), clWhite);
}

}  // namespace
}  // namespace glamora
