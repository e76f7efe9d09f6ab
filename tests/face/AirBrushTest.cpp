// Airbrush stamps and the region colour shift.
#include <gtest/gtest.h>

#include <QRect>

#include "face/AirBrush.h"
#include "face/RgbBuffer.h"

namespace glamora {
namespace {

Bitmap Flat(int w, int h, TColor c) {
  Bitmap b(w, h);
  b.Fill(c);
  return b;
}

// Bounding box of the pixels that differ from the flat colour.
QRect ChangedBox(const Bitmap& b, TColor flat) {
  QRect box;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.Pixel(x, y) != flat) box |= QRect(x, y, 1, 1);
  return box;
}

TEST(AirBrush, OutOfRangeSettingsAreIgnored) {
  TAirBrush brush;
  brush.SetSize(12);
  brush.SetIntensity(30);
  for (int v : {0, 201, -5}) brush.SetSize(v);
  for (int v : {0, 101}) brush.SetIntensity(v);
  EXPECT_EQ(brush.Size(), 12);
  EXPECT_EQ(brush.Intensity(), 30);
  brush.SetSize(200);
  brush.SetIntensity(100);
  EXPECT_EQ(brush.Size(), 200);
  EXPECT_EQ(brush.Intensity(), 100);
}

TEST(AirBrush, StampCoversItsSquare) {
  const struct {
    int size;
    QRect box;
  } cases[] = {{8, QRect(QPoint(96, 96), QPoint(103, 103))}, {15, QRect(QPoint(93, 93), QPoint(107, 107))}};
  for (const auto& c : cases) {
    Bitmap canvas = Flat(200, 200, Rgb(200, 200, 200));
    TAirBrush brush;
    brush.SetShape(TAirBrushShape::absSquare);
    brush.SetSize(c.size);
    brush.SetIntensity(100);
    brush.SetColor(Rgb(10, 20, 30));
    brush.Stamp(canvas, 100, 100);
    EXPECT_EQ(ChangedBox(canvas, Rgb(200, 200, 200)), c.box) << c.size;
    EXPECT_EQ(canvas.Pixel(c.box.left(), c.box.top()), Rgb(10, 20, 30));  // intensity 100 paints exactly Color
  }
}

TEST(AirBrush, WeakStampsMoveOnlyLargeDifferences) {
  TAirBrush brush;
  brush.SetIntensity(1);
  brush.SetSize(10);
  brush.SetColor(Rgb(100, 100, 100));
  Bitmap near = Flat(50, 50, Rgb(130, 130, 130));
  brush.Stamp(near, 25, 25);
  EXPECT_EQ(ChangedBox(near, Rgb(130, 130, 130)), QRect());  // differs by 30: Round(0.3) = 0

  Bitmap far = Flat(50, 50, Rgb(250, 250, 250));
  brush.Stamp(far, 25, 25);
  EXPECT_EQ(far.Pixel(25, 25), Rgb(248, 248, 248));  // Round(0.99 × 250 + 1) = Round(248.5) = 248 (to even)
}

TEST(AirBrush, WhiteIsNeverPaintedAndEdgesStayUnpainted) {
  TAirBrush brush;
  brush.SetIntensity(100);
  brush.SetColor(clWhite);
  Bitmap canvas = Flat(20, 20, Rgb(1, 2, 3));
  brush.Stamp(canvas, 10, 10);
  EXPECT_EQ(ChangedBox(canvas, Rgb(1, 2, 3)), QRect());

  // A stamp hanging over the corner paints only what lies inside the canvas.
  brush.SetColor(Rgb(9, 9, 9));
  brush.SetShape(TAirBrushShape::absSquare);
  brush.SetSize(10);
  brush.Stamp(canvas, 0, 0);
  EXPECT_EQ(ChangedBox(canvas, Rgb(1, 2, 3)), QRect(0, 0, 5, 5));
  brush.Stamp(canvas, 500, -500);  // entirely outside: nothing
  EXPECT_EQ(ChangedBox(canvas, Rgb(1, 2, 3)), QRect(0, 0, 5, 5));
}

TEST(AirBrush, ShapesLieInsideTheirSquare) {
  // Each shape's mask covers a plausible part of the square: the round one
  // misses the corners, the bands miss their opposite corners.
  const struct {
    TAirBrushShape shape;
    QPoint inside;
    QPoint outside;
  } cases[] = {
      {TAirBrushShape::absRound, {10, 10}, {0, 0}},
      {TAirBrushShape::absSquare, {0, 0}, {-1, -1}},
      {TAirBrushShape::absLeftSlash, {1, 0}, {19, 0}},
      {TAirBrushShape::absRightSlash, {3, 17}, {0, 0}},
      {TAirBrushShape::absHorizontal, {0, 10}, {10, 0}},
      {TAirBrushShape::absVertical, {10, 0}, {0, 10}},
  };
  for (const auto& c : cases) {
    TAirBrush brush;
    brush.SetSize(20);
    brush.SetIntensity(100);
    brush.SetColor(Rgb(0, 0, 0));
    brush.SetShape(c.shape);
    Bitmap canvas = Flat(20, 20, clWhite);
    brush.Stamp(canvas, 10, 10);
    EXPECT_EQ(canvas.Pixel(c.inside.x(), c.inside.y()), Rgb(0, 0, 0)) << int(c.shape);
    if (c.outside.x() >= 0) {
      EXPECT_EQ(canvas.Pixel(c.outside.x(), c.outside.y()), clWhite) << int(c.shape);
    }
  }
}

TEST(DibBuffer, RowLayoutMatchesThePaddingRule) {
  const struct {
    int width, gap, rowSize;
  } cases[] = {{1, 1, 4}, {4, 0, 12}, {2, 2, 8}, {3, 3, 12}};
  for (const auto& c : cases) {
    TDibBuffer buffer(Bitmap(c.width, 3));
    EXPECT_EQ(buffer.Gap, c.gap);
    EXPECT_EQ(buffer.RowSize, c.rowSize);
    EXPECT_EQ(buffer.Size, c.rowSize * 3);
    EXPECT_EQ(buffer.Rows[2] - buffer.Rows[0], 2 * c.rowSize);
  }
}

TEST(DibBuffer, RegionShiftClampsInsideAndKeepsOutside) {
  const PolygonRegion square(std::vector<Point>{{2, 2}, {6, 2}, {6, 6}, {2, 6}});
  const struct {
    int d;
    TColor inside;
  } cases[] = {{0, Rgb(100, 150, 30)}, {205, Rgb(255, 255, 235)}, {-50, Rgb(50, 100, 0)}};
  for (const auto& c : cases) {
    Bitmap picture = Flat(10, 10, Rgb(100, 150, 30));
    TDibBuffer buffer(picture);
    buffer.AddColorsInRegion(c.d, c.d, c.d, &square);
    buffer.Draw(picture, 0, 0);
    EXPECT_EQ(picture.Pixel(3, 3), c.inside) << c.d;
    EXPECT_EQ(picture.Pixel(0, 0), Rgb(100, 150, 30));
    EXPECT_EQ(picture.Pixel(8, 8), Rgb(100, 150, 30));
  }
  Bitmap picture = Flat(4, 4, Rgb(7, 7, 7));
  TDibBuffer buffer(picture);
  buffer.AddColorsInRegion(50, 50, 50, nullptr);
  buffer.Draw(picture, 0, 0);
  EXPECT_EQ(picture.Pixel(1, 1), Rgb(7, 7, 7));
}

}  // namespace
}  // namespace glamora
