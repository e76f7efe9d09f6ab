// The cursor table and the cursor pictures compiled into the program.
#include "imaging/CursorTable.h"

#include <gtest/gtest.h>

#include <QPixmap>
#include <QWidget>

namespace glamora {
namespace {

TEST(CursorTableTest, EveryNamedCursorLoadsAsA32PixelPicture) {
  const char* const names[] = {"OUTLINE", "PENCIL",  "BRUSH_MID", "BRUSH_BIG", "BRUSH_HAIR", "LIP_STICK", "LIP_LINE",
                               "EYES",    "SIZE",    "BRUSH1",    "BRUSH2",    "BRUSH3",     "ZOOMOUT",   "ZOOMIN",
                               "CROSS",   "ERASER",  "HAND",      "PEN",       "CROSS1",     "CROSS2",    "MOVE2",
                               "MOVEY",   "MOVE1",   "MOVEX",     "MOVE"};
  for (const char* name : names) {
    QCursor cursor;
    ASSERT_TRUE(CursorTable::LoadResource(name, cursor)) << name;
    EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32)) << name;
    EXPECT_TRUE(QRect(0, 0, 32, 32).contains(cursor.hotSpot())) << name;
  }
}

TEST(CursorTableTest, EraserCirclesHaveTheirHotSpotAtTheCentre) {
  struct Case {
    const char* name;
    int diameter;
  };
  for (const Case& c : {Case{"BRUSH1", 5}, Case{"BRUSH2", 11}, Case{"BRUSH3", 21}}) {
    QCursor cursor;
    ASSERT_TRUE(CursorTable::LoadResource(c.name, cursor));
    const int centre = (c.diameter - 1) / 2;
    EXPECT_EQ(cursor.hotSpot(), QPoint(centre, centre)) << c.name;
    const QImage picture = cursor.pixmap().toImage();
    EXPECT_EQ(picture.pixel(centre, centre), qRgb(255, 255, 255)) << c.name;  // white inside
    EXPECT_EQ(picture.pixel(centre, 0), qRgb(0, 0, 0)) << c.name;             // black rim
    EXPECT_EQ(picture.pixel(c.diameter - 1, centre), qRgb(0, 0, 0)) << c.name;
    EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0) << c.name;                      // corners see-through
    EXPECT_EQ(qAlpha(picture.pixel(c.diameter, centre)), 0) << c.name;
  }
}

TEST(CursorTableTest, RegistrationReplacesAndUnknownNamesRegisterNothing) {
  CursorTable& table = CursorTable::Instance();
  EXPECT_FALSE(table.Register(9001, "NO_SUCH_CURSOR"));
  EXPECT_FALSE(table.Contains(9001));
  ASSERT_TRUE(table.Register(9002, "BRUSH1"));
  EXPECT_EQ(table.Get(9002).hotSpot(), QPoint(2, 2));
  ASSERT_TRUE(table.Register(9002, "BRUSH3"));
  EXPECT_EQ(table.Get(9002).hotSpot(), QPoint(10, 10));
}

TEST(CursorTableTest, StandardNumbersGiveStandardShapes) {
  const CursorTable& table = CursorTable::Instance();
  EXPECT_EQ(table.Get(crArrow).shape(), Qt::ArrowCursor);
  EXPECT_EQ(table.Get(crHandPoint).shape(), Qt::PointingHandCursor);
  EXPECT_EQ(table.Get(crHourGlass).shape(), Qt::WaitCursor);
  EXPECT_EQ(table.Get(crSizeAll).shape(), Qt::SizeAllCursor);
  EXPECT_EQ(table.Get(4242).shape(), Qt::ArrowCursor);  // nobody registered it
}

TEST(CursorTableTest, ApplyingTheDefaultGivesTheWidgetItsParentsCursor) {
  QWidget parent;
  auto* widget = new QWidget(&parent);
  CursorTable::Instance().Apply(parent, crHourGlass);
  CursorTable::Instance().Apply(*widget, crHandPoint);
  EXPECT_EQ(widget->cursor().shape(), Qt::PointingHandCursor);
  CursorTable::Instance().Apply(*widget, crDefault);
  EXPECT_FALSE(widget->testAttribute(Qt::WA_SetCursor));
  EXPECT_EQ(widget->cursor().shape(), Qt::WaitCursor);
}

}  // namespace
}  // namespace glamora
