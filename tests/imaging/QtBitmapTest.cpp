// The Qt faces of the bitmap: wrapping without a copy, painting on the
// bitmap's own pixels, copies both ways, and stretch drawing.
#include "imaging/QtBitmap.h"

#include <gtest/gtest.h>

#include "imaging/DibDraw.h"

namespace glamora {
namespace {

TEST(QtBitmapTest, WrappedImageSharesThePixelsInBlueGreenRedOrder) {
  Bitmap bitmap(5, 3);
  QImage image = WrapBitmap(bitmap);
  EXPECT_EQ(image.constBits(), bitmap.Bits());
  EXPECT_EQ(image.bytesPerLine(), qsizetype(bitmap.Stride()));
  image.setPixel(4, 2, qRgb(10, 20, 30));
  EXPECT_EQ(bitmap.Row(2)[12], 30);  // blue first
  EXPECT_EQ(bitmap.Row(2)[13], 20);
  EXPECT_EQ(bitmap.Row(2)[14], 10);
  EXPECT_EQ(bitmap.Pixel(4, 2), Rgb(10, 20, 30));
  Bitmap empty;
  EXPECT_TRUE(WrapBitmap(empty).isNull());
}

TEST(QtBitmapTest, CanvasDrawsIntoTheBitmap) {
  Bitmap bitmap(8, 4);
  bitmap.Fill(clBlack);
  {
    BitmapCanvas canvas(bitmap);
    ASSERT_TRUE(canvas.IsActive());
    canvas->fillRect(2, 1, 3, 2, QColor(200, 100, 50));
  }
  EXPECT_EQ(bitmap.Pixel(2, 1), Rgb(200, 100, 50));
  EXPECT_EQ(bitmap.Pixel(4, 2), Rgb(200, 100, 50));
  EXPECT_EQ(bitmap.Pixel(5, 2), clBlack);
  EXPECT_EQ(bitmap.Pixel(2, 3), clBlack);
}

TEST(QtBitmapTest, OneBitBitmapsCanBePaintedOnEightBitOnesCannot) {
  Bitmap mono(10, 2, PixelFormat::Bits1);
  {
    BitmapCanvas canvas(mono);
    ASSERT_TRUE(canvas.IsActive());
    canvas->fillRect(9, 1, 1, 1, Qt::white);
  }
  EXPECT_EQ(mono.Pixel(9, 1), clWhite);
  EXPECT_EQ(mono.Pixel(8, 1), clBlack);
  Bitmap grey(4, 4, PixelFormat::Bits8);
  BitmapCanvas canvas(grey);
  EXPECT_FALSE(canvas.IsActive());
}

TEST(QtBitmapTest, CopiesKeepDepthAndPalette) {
  Bitmap mono(9, 3, PixelFormat::Bits1);
  mono.Fill(clBlack);
  mono.Palette() = {Rgb(1, 2, 3), Rgb(250, 240, 230)};
  mono.Row(1)[1] = 0x80;  // pixel 8, the last one
  mono.Row(2)[0] = 0xA0;  // pixels 0 and 2
  const QImage copy = ToQImage(mono);
  EXPECT_NE(copy.constBits(), mono.Bits());
  Bitmap back;
  ASSERT_TRUE(FromQImage(copy, back));
  EXPECT_TRUE(back.SameContent(mono));
  EXPECT_EQ(back.Pixel(8, 1), Rgb(250, 240, 230));
  EXPECT_EQ(back.Pixel(7, 1), Rgb(1, 2, 3));

  QImage argb(3, 2, QImage::Format_ARGB32);
  argb.fill(qRgba(9, 8, 7, 100));
  Bitmap colour(1, 1, PixelFormat::Bits8);
  colour.Transparent = true;
  ASSERT_TRUE(FromQImage(argb, colour));
  EXPECT_EQ(colour.Format(), PixelFormat::Bits24);
  EXPECT_EQ(colour.Width(), 3);
  EXPECT_EQ(colour.Pixel(2, 1), Rgb(9, 8, 7));
  EXPECT_TRUE(colour.Transparent);  // the bitmap's own settings stay

  EXPECT_FALSE(FromQImage(QImage(), colour));
  EXPECT_EQ(colour.Width(), 3);
}

TEST(QtBitmapTest, SystemColoursAreResolved) {
  EXPECT_EQ(ToQColor(clBtnFace), QColor(240, 240, 240));
  EXPECT_EQ(ToQColor(Rgb(1, 2, 3)), QColor(1, 2, 3));
  EXPECT_EQ(FromQColor(QColor(1, 2, 3)), Rgb(1, 2, 3));
}

class DibDrawTest : public ::testing::Test {
 protected:
  DibDrawTest() : target(12, 12, QImage::Format_RGB32) { target.fill(Qt::black); }
  TColor At(int x, int y) const {
    const QRgb c = target.pixel(x, y);
    return Rgb(qRed(c), qGreen(c), qBlue(c));
  }
  QImage target;
  DibDraw dib;
};

TEST_F(DibDrawTest, StretchesASourceRectangleByNearestPixel) {
  Bitmap bitmap(4, 1);
  for (int x = 0; x < 4; ++x) bitmap.SetPixel(x, 0, Rgb(uint8_t(50 * x + 10), 0, 0));
  QPainter painter(&target);
  dib.Draw(painter, QRect(0, 0, 9, 2), bitmap, QRect(1, 0, 3, 1));
  for (int x = 0; x < 9; ++x) EXPECT_EQ(At(x, 1), Rgb(uint8_t(50 * (1 + x / 3) + 10), 0, 0)) << x;
  EXPECT_EQ(At(9, 1), clBlack);
  EXPECT_EQ(At(0, 2), clBlack);
}

TEST_F(DibDrawTest, ClippedDrawShowsWhatTheFullDrawWould) {
  Bitmap bitmap(3, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) bitmap.SetPixel(x, y, Rgb(uint8_t(80 * x), uint8_t(80 * y), 7));
  QImage full(12, 12, QImage::Format_RGB32);
  {
    QPainter painter(&full);
    dib.Draw(painter, QRect(1, 1, 10, 10), bitmap, QRect(0, 0, 3, 3));
  }
  {
    QPainter painter(&target);
    painter.setClipRect(5, 4, 3, 5);
    dib.Draw(painter, QRect(1, 1, 10, 10), bitmap, QRect(0, 0, 3, 3));
  }
  for (int y = 4; y < 9; ++y)
    for (int x = 5; x < 8; ++x) EXPECT_EQ(target.pixel(x, y), full.pixel(x, y)) << x << "," << y;
  EXPECT_EQ(At(4, 4), clBlack);
  EXPECT_EQ(At(5, 3), clBlack);
}

TEST_F(DibDrawTest, TransparentDrawLeavesTheKeyColourUndrawn) {
  Bitmap bitmap(2, 1);
  bitmap.SetPixel(0, 0, clWhite);
  bitmap.SetPixel(1, 0, Rgb(0, 200, 0));
  QPainter painter(&target);
  dib.DrawTransparent(painter, QRect(0, 0, 4, 1), bitmap, QRect(0, 0, 2, 1), clWhite);
  EXPECT_EQ(At(1, 0), clBlack);
  EXPECT_EQ(At(2, 0), Rgb(0, 200, 0));
  dib.DrawTransparent(painter, QRect(0, 0, 4, 1), bitmap, QRect(0, 0, 2, 1), clBtnFace);
  EXPECT_EQ(At(1, 0), clWhite);
}

TEST_F(DibDrawTest, OneBitBitmapIsDrawnThroughItsPalette) {
  Bitmap mono(8, 1, PixelFormat::Bits1);
  mono.Row(0)[0] = 0x0F;
  QPainter painter(&target);
  dib.Draw(painter, QRect(0, 0, 8, 1), mono, QRect(0, 0, 8, 1));
  EXPECT_EQ(At(3, 0), clBlack);
  EXPECT_EQ(At(4, 0), clWhite);
}

}  // namespace
}  // namespace glamora
