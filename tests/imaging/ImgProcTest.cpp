// The processing component: undo, AutoUndo, the guards of each operation,
// attachment and telling the owner, and the working region of a selection.
#include "imaging/components/ImgProc.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "imaging/core/Contrast.h"
#include "imaging/core/HslVar.h"
#include "imaging/core/PolygonRegion.h"

namespace glamora {
namespace {

// An image view or picture control as far as the component sees one.
class FakeHost final : public BitmapHost {
 public:
  explicit FakeHost(bool isView = true) : isView_(isView) {}
  ~FakeHost() override { NotifyDestroyed(); }

  Bitmap* HostBitmap() override { return bitmap_; }
  void HostBitmapChanged() override { ++Changes; }
  bool IsImageView() const override { return isView_; }
  TColor HostBackground() const override { return Background; }
  void SetHostBackground(TColor color) override { Background = color; }
  bool HostSelection(WorkSelection& selection) const override {
    if (!Selected) return false;
    selection = Selection;
    return true;
  }

  void ReplaceBitmap(Bitmap* bitmap) {
    bitmap_ = bitmap;
    CallBitmapChangeList();
  }

  Bitmap Own;
  int Changes = 0;
  TColor Background = clWhite;
  bool Selected = false;
  WorkSelection Selection;

 private:
  bool isView_;
  Bitmap* bitmap_ = &Own;
};

Bitmap Picture(int width, int height, uint32_t seed = 1) {
  Bitmap b(width, height);
  uint32_t s = seed;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < 3 * width; ++x) {
      s = s * 134775813u + 1;
      b.Row(y)[x] = uint8_t(s >> 24);
    }
  }
  return b;
}

class ImgProcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.Own = Picture(8, 6);
    proc.SetAttachedImgView(&host);
  }
  FakeHost host;
  TImgProc proc;
};

TEST_F(ImgProcTest, UndoReturnsToTheSavedStateAgainAndAgain) {
  const Bitmap original = host.Own;
  proc.HSLVar(0, 0, 30);
  EXPECT_FALSE(host.Own.SameContent(original));
  proc.Undo();
  EXPECT_TRUE(host.Own.SameContent(original));
  // Undo keeps the copy: restore-then-apply redoes an adjustment from the same picture.
  proc.AutoUndo = false;
  proc.Contrast(40);
  proc.Undo();
  EXPECT_TRUE(host.Own.SameContent(original));
  proc.Undo();
  EXPECT_TRUE(host.Own.SameContent(original));
}

TEST_F(ImgProcTest, UndoNeedsASavedCopyAtLeastTwoByTwo) {
  for (const auto& [w, h] : {std::pair{1, 5}, std::pair{5, 1}}) {
    host.Own = Picture(w, h);
    proc.SaveUndo();
    EXPECT_EQ(proc.UndoBitmap().Width(), w);
    proc.AutoUndo = false;
    proc.IntensityRGBall(50, 50, 50);
    const Bitmap changed = host.Own;
    const int changes = host.Changes;
    proc.Undo();
    EXPECT_TRUE(host.Own.SameContent(changed)) << w << "x" << h;
    EXPECT_EQ(host.Changes, changes);
  }
}

TEST_F(ImgProcTest, SaveUndoOfAnEmptyBitmapLeavesTheOneByOneMark) {
  host.Own = Picture(4, 4);
  proc.SaveUndo();
  host.Own = Bitmap(0, 0, PixelFormat::Bits8);
  proc.SaveUndo();
  EXPECT_EQ(proc.UndoBitmap().Width(), 1);
  EXPECT_EQ(proc.UndoBitmap().Height(), 1);
  EXPECT_EQ(proc.UndoBitmap().Format(), PixelFormat::Bits8);
}

TEST_F(ImgProcTest, AutoUndoSavesBeforeEachChange) {
  const Bitmap original = host.Own;
  proc.Rotate(90, false);
  EXPECT_TRUE(proc.UndoBitmap().SameContent(original));
  proc.AutoUndo = false;
  const Bitmap turned = host.Own;
  proc.Clear();
  EXPECT_TRUE(proc.UndoBitmap().SameContent(original));  // not the turned picture
  EXPECT_FALSE(turned.SameContent(original));
}

TEST_F(ImgProcTest, EveryOperationTellsTheHost) {
  struct Step {
    const char* Name;
    void (*Run)(TImgProc&);
  };
  const Step steps[] = {
      {"HSLVar", [](TImgProc& p) { p.HSLVar(10, 0, 0); }},
      {"Contrast", [](TImgProc& p) { p.Contrast(10); }},
      {"IntensityRGBall", [](TImgProc& p) { p.IntensityRGBall(1, 2, 3); }},
      {"Threshold", [](TImgProc& p) { p.Threshold(Rgb(0, 0, 0), Rgb(180, 180, 180), Rgb(0, 0, 0), clWhite); }},
      {"Resample", [](TImgProc& p) { p.Resample(5, 5, rfTriangle); }},
      {"Rotate", [](TImgProc& p) { p.Rotate(10, true); }},
      {"Clear", [](TImgProc& p) { p.Clear(); }},
      {"Undo", [](TImgProc& p) { p.Undo(); }},
  };
  for (const Step& step : steps) {
    const int before = host.Changes;
    step.Run(proc);
    EXPECT_EQ(host.Changes, before + 1) << step.Name;
  }
}

TEST_F(ImgProcTest, ColourOperationsLeavePaletteBitmapsAndTheUndoCopyAlone) {
  host.Own = Bitmap(6, 6, PixelFormat::Bits8);
  host.Own.Row(2)[3] = 77;
  const Bitmap original = host.Own;
  proc.HSLVar(0, 0, 50);
  proc.Contrast(50);
  proc.IntensityRGBall(9, 9, 9);
  proc.Threshold(Rgb(0, 0, 0), Rgb(1, 1, 1), Rgb(0, 0, 0), clWhite);
  EXPECT_TRUE(host.Own.SameContent(original));
  EXPECT_EQ(proc.UndoBitmap().Width(), 1);
  EXPECT_EQ(host.Changes, 0);
}

TEST_F(ImgProcTest, ContrastOfATooSmallBitmapStillSavesUndo) {
  host.Own = Picture(1, 5);
  const Bitmap original = host.Own;
  proc.Contrast(50);
  EXPECT_TRUE(host.Own.SameContent(original));
  EXPECT_TRUE(proc.UndoBitmap().SameContent(original));
  EXPECT_EQ(host.Changes, 0);
}

TEST_F(ImgProcTest, ThresholdOverTheFullRangeDoesNothingAfterSavingUndo) {
  const Bitmap original = host.Own;
  proc.Threshold(Rgb(0, 0, 0), Rgb(255, 255, 255), Rgb(3, 3, 3), Rgb(4, 4, 4));
  EXPECT_TRUE(host.Own.SameContent(original));
  EXPECT_TRUE(proc.UndoBitmap().SameContent(original));
  EXPECT_EQ(host.Changes, 0);
}

TEST_F(ImgProcTest, ResampleWithBothSidesNegativeOnlySavesUndo) {
  host.Own = Picture(5, 4);
  proc.SaveUndo();
  host.Own = Picture(7, 3, 2);
  const Bitmap current = host.Own;
  proc.Resample(-1, -1, rfLanczos3);
  EXPECT_TRUE(host.Own.SameContent(current));
  EXPECT_TRUE(proc.UndoBitmap().SameContent(current));
  EXPECT_EQ(host.Changes, 0);
}

TEST_F(ImgProcTest, ResampleKeepsTheAspectRatioForANegativeSide) {
  host.Own = Picture(300, 200);
  proc.Resample(100, -1, rfBSpline);
  EXPECT_EQ(host.Own.Width(), 100);
  EXPECT_EQ(host.Own.Height(), 66);
  proc.Resample(-1, 33, rfNone);
  EXPECT_EQ(host.Own.Width(), 50);
  EXPECT_EQ(host.Own.Height(), 33);
}

TEST_F(ImgProcTest, RotateUsesTheViewsBackgroundAndReportsProgress) {
  host.Own = Bitmap(20, 10);
  host.Own.Fill(clBlack);
  host.Background = Rgb(0, 128, 255);
  int reports = 0;
  proc.OnProgress = [&](int) { ++reports; };
  proc.Rotate(30, false);
  EXPECT_EQ(host.Own.Pixel(0, 0), Rgb(0, 128, 255));
  EXPECT_GT(reports, 0);
}

TEST_F(ImgProcTest, RotateByAQuarterLeavesNoMargin) {
  host.Own = Picture(9, 4);
  const Bitmap original = host.Own;
  proc.Rotate(90, true);
  EXPECT_EQ(host.Own.Width(), 4);
  EXPECT_EQ(host.Own.Height(), 9);
  proc.Rotate(-90, true);
  EXPECT_TRUE(host.Own.SameContent(original));
}

TEST_F(ImgProcTest, RectangularSelectionLimitsColourOperations) {
  const Bitmap original = host.Own;
  host.Selected = true;
  host.Selection.Left = 2;
  host.Selection.Top = -3;  // hangs over the top: clamped
  host.Selection.Right = 4;
  host.Selection.Bottom = 1;
  proc.IntensityRGBall(255, 255, 255);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool inside = x >= 2 && x <= 4 && y <= 1;
      EXPECT_EQ(host.Own.Pixel(x, y), inside ? clWhite : original.Pixel(x, y)) << x << "," << y;
    }
  }
}

TEST_F(ImgProcTest, PolygonSelectionChangesOnlyPixelsInsideItsPolygons) {
  host.Own = Picture(20, 12);
  const Bitmap original = host.Own;
  const std::vector<Point> triangle = {{1, 1}, {9, 1}, {1, 9}};
  const std::vector<Point> square = {{12, 2}, {18, 2}, {18, 8}, {12, 8}};
  host.Selected = true;
  host.Selection.Left = 1;
  host.Selection.Top = 1;
  host.Selection.Right = 18;
  host.Selection.Bottom = 9;
  host.Selection.Polygons = {triangle, square};
  host.Selection.IsRectangle = false;
  // Contrast −100 paints with the means of the whole bitmap.
  const ChannelMeans m = ContrastMeans(original);
  const TColor mean = Rgb(uint8_t(m.Red), uint8_t(m.Green), uint8_t(m.Blue));
  proc.Contrast(-100);
  const PolygonRegion inTriangle(triangle), inSquare(square);
  int painted = 0;
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 20; ++x) {
      const bool inside = inTriangle.Contains(x, y) || inSquare.Contains(x, y);
      painted += inside;
      EXPECT_EQ(host.Own.Pixel(x, y), inside ? mean : original.Pixel(x, y)) << x << "," << y;
    }
  }
  EXPECT_GT(painted, 40);
}

TEST_F(ImgProcTest, SelectionOutsideTheBitmapChangesNothing) {
  const Bitmap original = host.Own;
  host.Selected = true;
  host.Selection.Left = 20;
  host.Selection.Top = 20;
  host.Selection.Right = 30;
  host.Selection.Bottom = 30;
  host.Selection.Polygons = {{{20, 20}, {30, 20}, {25, 30}}};
  host.Selection.IsRectangle = false;
  proc.HSLVar(100, 0, 0);
  EXPECT_TRUE(host.Own.SameContent(original));
}

TEST_F(ImgProcTest, SelectionDoesNotRestrictClearResampleOrRotate) {
  host.Selected = true;
  host.Selection.Left = 0;
  host.Selection.Top = 0;
  host.Selection.Right = 1;
  host.Selection.Bottom = 1;
  host.Background = clRed;
  proc.Clear();
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) EXPECT_EQ(host.Own.Pixel(x, y), clRed);
  }
  proc.Resample(16, 12, rfTriangle);
  EXPECT_EQ(host.Own.Width(), 16);
}

TEST(ImgProc, WithoutABitmapEveryOperationReturnsQuietly) {
  TImgProc proc;
  proc.SaveUndo();
  proc.Undo();
  proc.HSLVar(1, 2, 3);
  proc.Contrast(5);
  proc.IntensityRGBall(1, 1, 1);
  proc.Threshold(clBlack, clWhite, clBlack, clWhite);
  proc.Resample(10, 10, rfBell);
  proc.Rotate(33, true);
  proc.Clear();
  EXPECT_EQ(proc.CurrentBitmap(), nullptr);
  EXPECT_EQ(proc.UndoBitmap().Width(), 1);
}

TEST(ImgProc, BareBitmapIsMarkedModifiedAndKeepsItsHooks) {
  Bitmap bitmap = Picture(10, 10);
  bitmap.Transparent = true;
  bitmap.TransparentColor = clRed;
  int modified = 0;
  bitmap.OnChange = [&] { ++modified; };
  TImgProc proc;
  proc.SetBitmap(&bitmap);
  proc.Resample(4, 4, rfMitchell);
  proc.Rotate(45, true);
  proc.Undo();
  EXPECT_EQ(modified, 3);
  EXPECT_EQ(bitmap.Width(), 4);
  EXPECT_TRUE(bitmap.Transparent);
  EXPECT_EQ(bitmap.TransparentColor, clRed);
  bitmap.Changed();
  EXPECT_EQ(modified, 4);
}

TEST(ImgProc, BackgroundIsTheViewsOrTheComponentsOwn) {
  TImgProc proc;
  proc.SetBackground(clWhite);
  FakeHost view;
  view.Background = Rgb(1, 2, 3);
  proc.SetAttachedImgView(&view);
  EXPECT_EQ(proc.Background(), Rgb(1, 2, 3));
  proc.SetBackground(Rgb(4, 5, 6));
  EXPECT_EQ(view.Background, Rgb(4, 5, 6));
  FakeHost picture(false);
  picture.Own = Picture(3, 3);
  proc.SetAttachedTImage(&picture);
  EXPECT_EQ(proc.AttachedImgView(), nullptr);
  EXPECT_EQ(proc.Background(), clWhite);
  proc.Clear();
  EXPECT_EQ(picture.Own.Pixel(1, 1), clWhite);
  EXPECT_EQ(picture.Changes, 1);
  EXPECT_EQ(view.ClientCount(), 0u);
}

TEST(ImgProc, FollowsAReplacedBitmapAndForgetsADestroyedHost) {
  TImgProc proc;
  auto host = std::make_unique<FakeHost>();
  host->Own = Picture(4, 4);
  proc.SetAttachedImgView(host.get());
  Bitmap other = Picture(6, 6, 9);
  host->ReplaceBitmap(&other);
  EXPECT_EQ(proc.CurrentBitmap(), &other);
  host.reset();
  EXPECT_EQ(proc.CurrentBitmap(), nullptr);
  EXPECT_EQ(proc.AttachedImgView(), nullptr);
  proc.HSLVar(0, 0, 10);  // nothing to work on, and no dangling host
}

TEST(ImgProc, DetachesFromItsHostWhenDestroyed) {
  FakeHost host;
  {
    TImgProc proc;
    proc.SetAttachedImgView(&host);
    EXPECT_EQ(host.ClientCount(), 1u);
  }
  EXPECT_EQ(host.ClientCount(), 0u);
}

}  // namespace
}  // namespace glamora
