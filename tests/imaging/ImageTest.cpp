// The picture control: placement, stretching, auto-size, and transparency
// that lets the parent's painting show through.
#include "imaging/Image.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QPixmap>

#include "imaging/components/ImgProc.h"
#include "imaging/QtBitmap.h"

namespace glamora {
namespace {

TColor PixelOf(const QImage& image, int x, int y) {
  const QRgb c = image.pixel(x, y);
  return Rgb(qRed(c), qGreen(c), qBlue(c));
}

// A parent that paints itself in one colour, as the make-up canvas paints
// the face under the hair picture.
class SolidParent : public QWidget {
 public:
  explicit SolidParent(TColor colour) : colour_(colour) { resize(40, 40); }

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), ToQColor(colour_)); }

 private:
  TColor colour_;
};

// A 2 x 2 picture: red, green / blue, white.
void FillQuadrants(Bitmap& bitmap) {
  bitmap.Reset(2, 2);
  bitmap.SetPixel(0, 0, clRed);
  bitmap.SetPixel(1, 0, Rgb(0, 255, 0));
  bitmap.SetPixel(0, 1, Rgb(0, 0, 255));
  bitmap.SetPixel(1, 1, clWhite);
}

TEST(ImageTest, PictureIsPlacedTopLeftCentredOrStretched) {
  TImage image;
  image.resize(30, 20);
  image.Bitmap()->Reset(10, 6);
  image.Bitmap()->Changed();
  EXPECT_EQ(image.PictureRect(), QRect(0, 0, 10, 6));
  image.SetCenter(true);
  EXPECT_EQ(image.PictureRect(), QRect(10, 7, 10, 6));
  image.SetStretch(true);
  EXPECT_EQ(image.PictureRect(), QRect(0, 0, 30, 20));
}

TEST(ImageTest, StretchedPictureFillsTheControlPixelByNearestPixel) {
  TImage image;
  image.resize(20, 10);
  FillQuadrants(*image.Bitmap());
  image.SetStretch(true);
  const QImage shot = image.grab().toImage();
  EXPECT_EQ(PixelOf(shot, 0, 0), clRed);
  EXPECT_EQ(PixelOf(shot, 9, 4), clRed);
  EXPECT_EQ(PixelOf(shot, 10, 4), Rgb(0, 255, 0));
  EXPECT_EQ(PixelOf(shot, 9, 5), Rgb(0, 0, 255));
  EXPECT_EQ(PixelOf(shot, 19, 9), clWhite);
}

TEST(ImageTest, TransparentPixelsShowTheParent) {
  SolidParent parent(Rgb(0, 0, 128));
  auto* image = new TImage(&parent);
  image->setGeometry(5, 5, 20, 20);
  FillQuadrants(*image->Bitmap());
  image->Bitmap()->TransparentColor = clWhite;
  image->SetStretch(true);
  image->SetTransparent(true);
  const QImage shot = parent.grab().toImage();
  EXPECT_EQ(PixelOf(shot, 4, 4), Rgb(0, 0, 128));     // outside the control
  EXPECT_EQ(PixelOf(shot, 5, 5), clRed);              // top-left quadrant
  EXPECT_EQ(PixelOf(shot, 24, 5), Rgb(0, 255, 0));    // top-right quadrant
  EXPECT_EQ(PixelOf(shot, 20, 20), Rgb(0, 0, 128));   // white quadrant: see-through
  EXPECT_EQ(PixelOf(shot, 24, 24), Rgb(0, 0, 128));

  // A new see-through colour takes effect at the next paint.
  image->Bitmap()->TransparentColor = clRed;
  image->Bitmap()->Changed();
  const QImage again = parent.grab().toImage();
  EXPECT_EQ(PixelOf(again, 5, 5), Rgb(0, 0, 128));
  EXPECT_EQ(PixelOf(again, 20, 20), clWhite);

  image->SetTransparent(false);
  EXPECT_EQ(PixelOf(parent.grab().toImage(), 5, 5), clRed);
}

// A picture stretched to another size is drawn from a copy at the control's
// size for the part its parent shows: kept while the control moves inside
// the parent, made anew for a new size, new pixels or a part that comes into
// view, and always the same pixels as the direct stretched draw.
TEST(ImageTest, StretchedCopyIsKeptWhileTheControlMovesAndMadeAnewWhenItMustBe) {
  SolidParent parent(Rgb(0, 0, 128));
  parent.resize(60, 40);
  auto* image = new TImage(&parent);
  image->setGeometry(-10, 5, 40, 20);  // the left quarter lies outside the parent
  FillQuadrants(*image->Bitmap());
  image->SetStretch(true);
  QImage shot = parent.grab().toImage();
  EXPECT_EQ(image->StretchedCopyPart(), QRect(10, 0, 30, 20));
  EXPECT_EQ(PixelOf(shot, 0, 5), clRed);
  EXPECT_EQ(PixelOf(shot, 10, 5), Rgb(0, 255, 0));
  EXPECT_EQ(PixelOf(shot, 29, 24), clWhite);

  // The part that comes into view is drawn from a copy made for it.
  image->move(5, 5);
  shot = parent.grab().toImage();
  EXPECT_EQ(image->StretchedCopyPart(), QRect(0, 0, 40, 20));
  EXPECT_EQ(PixelOf(shot, 5, 5), clRed);
  EXPECT_EQ(PixelOf(shot, 44, 24), clWhite);

  // Moving keeps the copy: pixels changed behind the control's back show
  // only once it is told.
  image->Bitmap()->SetPixel(1, 1, Rgb(1, 2, 3));
  image->move(15, 10);
  shot = parent.grab().toImage();
  EXPECT_EQ(PixelOf(shot, 54, 29), clWhite) << "the kept copy";
  EXPECT_EQ(PixelOf(shot, 15, 10), clRed);
  image->Bitmap()->Changed();
  EXPECT_EQ(PixelOf(parent.grab().toImage(), 54, 29), Rgb(1, 2, 3));

  // A new size stretches anew, by the same nearest-pixel rule as ever.
  image->setGeometry(0, 0, 7, 3);
  shot = parent.grab().toImage();
  const struct {
    int X, Y;
    TColor Colour;
  } expected[] = {{2, 0, clRed}, {3, 0, Rgb(0, 255, 0)}, {0, 1, Rgb(0, 0, 255)}, {6, 2, Rgb(1, 2, 3)}};
  for (const auto& e : expected) EXPECT_EQ(PixelOf(shot, e.X, e.Y), e.Colour) << e.X << ", " << e.Y;

  // With the see-through colour set the copy leaves those pixels undrawn.
  image->Bitmap()->TransparentColor = clRed;
  image->SetTransparent(true);
  EXPECT_EQ(PixelOf(parent.grab().toImage(), 0, 0), Rgb(0, 0, 128));
}

TEST(ImageTest, AutoSizeFollowsTheBitmap) {
  TImage image;
  image.SetAutoSize(true);
  image.Bitmap()->Reset(30, 40);
  image.Bitmap()->Changed();
  EXPECT_EQ(image.size(), QSize(30, 40));
  image.SetAutoSize(false);
  image.Bitmap()->Reset(10, 10);
  image.Bitmap()->Changed();
  EXPECT_EQ(image.size(), QSize(30, 40));
}

TEST(ImageTest, AttachedProcessingRepaintsAndResizesThroughTheControl) {
  TImage image;
  image.SetAutoSize(true);
  FillQuadrants(*image.Bitmap());
  TImgProc proc;
  proc.SetAttachedTImage(&image);
  EXPECT_EQ(proc.CurrentBitmap(), image.Bitmap());
  proc.SetBackground(Rgb(1, 2, 3));
  proc.Resample(8, 6, rfNone);
  EXPECT_EQ(image.size(), QSize(8, 6));
  proc.Clear();
  EXPECT_EQ(PixelOf(image.grab().toImage(), 7, 5), Rgb(1, 2, 3));
}

TEST(ImageTest, DestroyedControlLeavesItsComponents) {
  TImgProc proc;
  {
    TImage image;
    proc.SetAttachedTImage(&image);
  }
  EXPECT_EQ(proc.AttachedTImage(), nullptr);
  EXPECT_EQ(proc.CurrentBitmap(), nullptr);
  proc.Clear();  // no bitmap: nothing happens
}

}  // namespace
}  // namespace glamora
