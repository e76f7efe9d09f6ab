// The image view's selection: magic-wand selections with their coordinate
// bases and operations, points added by hand, the marching ants and grips,
// removal when the bitmap changes size, and processing inside the selection.
#include <gtest/gtest.h>

#include <QTest>
#include <vector>

#include "imaging/ImgEditor.h"
#include "imaging/ImgView.h"
#include "imaging/QtBitmap.h"
#include "imaging/core/MagicWand.h"

namespace glamora {
namespace {

constexpr TColor kGround = Rgb(90, 120, 150);
constexpr TColor kPatch = Rgb(200, 60, 40);

// A 20 × 15 ground with a patch at columns 5..9, rows 4..7, in a borderless
// view at zoom 100 with the background far from both colours.
template <class View>
struct Fixture {
  Fixture() {
    view.SetBorderStyle(bsNone);
    view.SetBackground(Rgb(0, 255, 0));
    view.resize(40, 30);
    Bitmap& b = *view.Bitmap();
    b.Reset(20, 15);
    b.Fill(kGround);
    for (int y = 4; y <= 7; ++y)
      for (int x = 5; x <= 9; ++x) b.SetPixel(x, y, kPatch);
    view.Update();
    view.OnSelectionChange = [this](QObject*) { ++changes; };
  }
  TColor Shown(const QImage& shot, int x, int y) const { return FromQColor(shot.pixelColor(x, y)); }

  View view;
  int changes = 0;
};
using ViewFixture = Fixture<TImgView>;

const std::vector<Point> kPatchOutline = {{5, 4}, {10, 4}, {10, 4}, {10, 8}, {10, 8}, {5, 8}, {5, 8}, {5, 4}};

TEST(ImgViewSelection, StartsWithoutASelectionAndTheDocumentedSettings) {
  ViewFixture f;
  EXPECT_FALSE(f.view.Selected());
  EXPECT_EQ(f.view.MagicWandTolerance(), 15);
  EXPECT_FALSE(f.view.MagicWandMaxFilter());
  EXPECT_EQ(f.view.SelectionBase(), isbClientArea);
  EXPECT_EQ(f.view.SelectionOptions(), isoAnimated | isoSizeable | isoMoveable);
  EXPECT_EQ(f.view.SelectionRecord().Color1, clBlack);
  EXPECT_EQ(f.view.SelectionRecord().Color2, clWhite);
  EXPECT_EQ(f.view.SelectionTimer().interval(), 150);
  EXPECT_FALSE(f.view.SelectionTimer().isActive());
}

TEST(ImgViewSelection, MagicWandSeedIsConvertedByTheSelectionBase) {
  struct Case {
    TImgSelectionBase base;
    int zoom, viewX;
    QPoint seed;
    bool selects;
  };
  const Case cases[] = {
      {isbClientArea, 100, 0, {6, 5}, true},
      {isbClientArea, 200, 0, {14, 12}, true},  // bitmap (7, 6)
      {isbClientArea, 200, 0, {6, 5}, false},   // bitmap (3, 2): the ground
      {isbClientArea, 300, 9, {12, 15}, true},  // bitmap (7, 5), scrolled
      {isbClientArea, 300, 0, {12, 15}, false}, // bitmap (4, 5): the ground
      {isbBitmap, 200, 0, {6, 5}, true},
  };
  for (const Case& c : cases) {
    ViewFixture f;
    f.view.SetSelectionBase(c.base);
    f.view.SetZoom(c.zoom);
    f.view.SetViewX(c.viewX);
    f.view.SelectMagicWand(c.seed.x(), c.seed.y());
    const bool patch = f.view.Selected() && f.view.SelectionRecord().Points == kPatchOutline;
    SCOPED_TRACE(testing::Message() << "base " << c.base << " zoom " << c.zoom << " at " << c.seed.x() << ", "
                                    << c.seed.y());
    ASSERT_TRUE(f.view.Selected());
    EXPECT_EQ(patch, c.selects);
  }
}

TEST(ImgViewSelection, WandSelectionCarriesItsBoxAndIsShown) {
  ViewFixture f;
  f.view.SelectMagicWand(7, 5);
  ASSERT_TRUE(f.view.Selected());
  const TSelectionRecord& r = f.view.SelectionRecord();
  EXPECT_EQ(r.Points, kPatchOutline);
  EXPECT_EQ((std::vector<int>{r.Left, r.Top, r.Right, r.Bottom}), (std::vector<int>{5, 4, 10, 8}));
  EXPECT_TRUE(r.Visible);
  EXPECT_TRUE(f.view.SelectionTimer().isActive());
  EXPECT_EQ(f.changes, 1);
}

TEST(ImgViewSelection, SeedOutsideOrPaletteBitmapKeepsTheSelection) {
  ViewFixture f;
  f.view.SelectMagicWand(7, 5);
  for (const QPoint seed : {QPoint(-1, 3), QPoint(20, 3), QPoint(3, 15)}) f.view.SelectMagicWand(seed.x(), seed.y());
  EXPECT_EQ(f.view.SelectionRecord().Points, kPatchOutline);
  EXPECT_EQ(f.changes, 1);

  Fixture<TImgView> palette;
  palette.view.Bitmap()->Reset(6, 6, PixelFormat::Bits8);
  palette.view.Update();
  palette.view.SelectMagicWand(2, 2);
  EXPECT_FALSE(palette.view.Selected());
}

TEST(ImgViewSelection, AddAppendsASeparatedPolygonAndReplaceStartsAfresh) {
  ViewFixture f;
  f.view.SelectMagicWand(7, 5);
  f.view.SelectMagicWand(0, 0, SelectionOp::Add);  // the ground around the patch
  const std::vector<Point>& points = f.view.SelectionRecord().Points;
  ASSERT_GT(points.size(), kPatchOutline.size() + 1);
  EXPECT_EQ(std::vector<Point>(points.begin(), points.begin() + 8), kPatchOutline);
  EXPECT_EQ(points[8], kSelectionSeparator);
  EXPECT_EQ(points[9], (Point{0, 0}));
  EXPECT_EQ(SplitPolygons(points).size(), 2u);
  EXPECT_EQ(f.view.SelectionRecord().Right, 19);  // the ground reaches the edge, clamped
  EXPECT_EQ(f.view.SelectionRecord().Bottom, 14);

  f.view.SelectMagicWand(7, 5, SelectionOp::Replace);
  EXPECT_EQ(f.view.SelectionRecord().Points, kPatchOutline);
  EXPECT_EQ(f.view.SelectionRecord().Left, 5);

  // Add on a view without a selection adds no separator.
  ViewFixture fresh;
  fresh.view.SelectMagicWand(7, 5, SelectionOp::Add);
  EXPECT_EQ(fresh.view.SelectionRecord().Points, kPatchOutline);
}

TEST(ImgViewSelection, GrowingTakesOnePixelMore) {
  ViewFixture f;
  f.view.SetMagicWandMaxFilter(true);
  f.view.SelectMagicWand(7, 5);
  const TSelectionRecord& r = f.view.SelectionRecord();
  EXPECT_EQ((std::vector<int>{r.Left, r.Top, r.Right, r.Bottom}), (std::vector<int>{4, 3, 11, 9}));
}

TEST(ImgViewSelection, AddedPointsAreConvertedClampedAndBoxed) {
  ViewFixture f;
  f.view.SetZoom(200);
  f.view.AddSelPoint(6, 4);  // bitmap (3, 2)
  EXPECT_TRUE(f.view.Selected());
  f.view.AddSelPoint(500, 8);  // bitmap (250, 4), clamped to column 19
  f.view.AddSelPoint(2, -50);
  const TSelectionRecord& r = f.view.SelectionRecord();
  EXPECT_EQ(r.Points, (std::vector<Point>{{3, 2}, {19, 4}, {1, 0}}));
  EXPECT_EQ((std::vector<int>{r.Left, r.Top, r.Right, r.Bottom}), (std::vector<int>{1, 0, 19, 4}));
}

TEST(ImgViewSelection, DeselectRemovesEverythingAndRepaints) {
  ViewFixture f;
  f.view.SelectMagicWand(7, 5);
  f.view.Deselect();
  EXPECT_FALSE(f.view.Selected());
  EXPECT_TRUE(f.view.SelectionRecord().Points.empty());
  EXPECT_FALSE(f.view.SelectionTimer().isActive());
  EXPECT_EQ(f.changes, 2);
  f.view.Deselect();
  EXPECT_EQ(f.changes, 2);
  const QImage shot = f.view.grab().toImage();
  EXPECT_EQ(f.Shown(shot, 5, 4), kPatch);
}

TEST(ImgViewSelection, ResizedBitmapLosesTheSelectionAtTheNextUpdate) {
  Fixture<TImgEditor> f;
  f.view.SelectMagicWand(7, 5);
  // Drawing that keeps the size keeps the selection.
  f.view.Bitmap()->SetPixel(0, 0, kPatch);
  f.view.Update();
  EXPECT_TRUE(f.view.Selected());
  f.view.Resample(30, 20, rfNone);
  EXPECT_FALSE(f.view.Selected());
  EXPECT_TRUE(f.view.SelectionRecord().Points.empty());
  EXPECT_EQ(f.changes, 2);

  // A size changed and changed back between two updates goes unseen.
  f.view.SelectMagicWand(0, 0);
  f.view.Bitmap()->SetSize(5, 5);
  f.view.Bitmap()->SetSize(30, 20);
  f.view.Update();
  EXPECT_TRUE(f.view.Selected());
}

TEST(ImgViewSelection, OperationsWorkInsideTheSelectionOnly) {
  Fixture<TImgEditor> f;
  f.view.SelectMagicWand(7, 5);
  f.view.Proc().IntensityRGBall(-40, 40, 10);
  const Bitmap& b = *f.view.Bitmap();
  for (int y = 0; y < 15; ++y) {
    for (int x = 0; x < 20; ++x) {
      const bool inside = x >= 5 && x <= 9 && y >= 4 && y <= 7;
      ASSERT_EQ(b.Pixel(x, y), inside ? Rgb(160, 100, 50) : kGround) << x << ", " << y;
    }
  }
  // The ground reaches every edge of the picture: its last column and row
  // are worked on too, though the stored outline is clamped to them.
  f.view.SelectMagicWand(0, 0);
  EXPECT_EQ(f.view.SelectionRecord().Right, 19);
  f.view.Proc().IntensityRGBall(10, 0, 0);
  for (const QPoint p : {QPoint(0, 0), QPoint(4, 5), QPoint(19, 3), QPoint(8, 14), QPoint(19, 14)}) {
    EXPECT_EQ(b.Pixel(p.x(), p.y()), Rgb(100, 120, 150)) << p.x() << ", " << p.y();
  }
  // The outline follows the ground's outer edge only: the patch, a hole in it, lies inside.
  EXPECT_EQ(b.Pixel(7, 5), Rgb(170, 100, 50));

  f.view.Deselect();
  f.view.Proc().IntensityRGBall(0, 0, 5);
  EXPECT_EQ(b.Pixel(19, 14), Rgb(100, 120, 155));
}

TEST(ImgViewSelection, MarchingAntsRunThreeDarkThreeLightAndMoveOnEachTick) {
  ViewFixture f;
  f.view.SelectMagicWand(7, 5);
  // Along the top edge from (5, 4): the counter starts at the phase.
  auto topEdge = [&] {
    const QImage shot = f.view.grab().toImage();
    std::string dashes;
    for (int x = 5; x <= 10; ++x) {
      const TColor c = f.Shown(shot, x, 4);
      dashes += c == clBlack ? 'd' : c == clWhite ? 'l' : '?';
    }
    return dashes;
  };
  EXPECT_EQ(topEdge(), "dddlll");
  f.view.AnimateSelection();
  EXPECT_EQ(f.view.SelectionRecord().Phase, 1);
  EXPECT_EQ(topEdge(), "ddllld");
  for (int i = 0; i < 5; ++i) f.view.AnimateSelection();
  EXPECT_EQ(f.view.SelectionRecord().Phase, 0);
  EXPECT_EQ(topEdge(), "dddlll");
  // The picture inside the outline is untouched.
  EXPECT_EQ(f.Shown(f.view.grab().toImage(), 7, 6), kPatch);

  // Hidden, nothing is drawn and nothing moves; an update shows it again.
  // (Shown on screen first: grabbing a widget that never was resizes it,
  // and so updates it, each time.)
  f.view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f.view));
  f.view.HideSelection();
  EXPECT_FALSE(f.view.SelectionTimer().isActive());
  f.view.AnimateSelection();
  EXPECT_EQ(f.view.SelectionRecord().Phase, 0);
  EXPECT_EQ(f.Shown(f.view.grab().toImage(), 5, 4), kPatch);
  f.view.Update();
  EXPECT_EQ(topEdge(), "dddlll");

  // Without isoAnimated the dashes stand still.
  f.view.SetSelectionOptions(isoSizeable);
  EXPECT_FALSE(f.view.SelectionTimer().isActive());
  f.view.AnimateSelection();
  EXPECT_EQ(f.view.SelectionRecord().Phase, 0);
}

TEST(ImgViewSelection, TheTimerMovesTheDashes) {
  ViewFixture f;
  f.view.SelectMagicWand(7, 5);
  EXPECT_TRUE(QTest::qWaitFor([&] { return f.view.SelectionRecord().Phase != 0; }, 2000));
}

TEST(ImgViewSelection, RectangleGetsGripsAtItsCorners) {
  ViewFixture f;
  f.view.SetSelectionBase(isbBitmap);
  for (const QPoint p : {QPoint(4, 3), QPoint(16, 3), QPoint(16, 12), QPoint(4, 12)}) f.view.AddSelPoint(p.x(), p.y());
  ASSERT_TRUE(IsRectangle(f.view.SelectionRecord().Points));
  QImage shot = f.view.grab().toImage();
  // A grip covers (x - 3, y - 3) .. (x + 2, y + 2): a dark frame, light inside.
  EXPECT_EQ(f.Shown(shot, 1, 0), clBlack);
  EXPECT_EQ(f.Shown(shot, 6, 5), clBlack);
  EXPECT_EQ(f.Shown(shot, 2, 1), clWhite);
  EXPECT_EQ(f.Shown(shot, 5, 4), clWhite);
  EXPECT_EQ(f.Shown(shot, 15, 13), clWhite);  // the grip of (16, 12)
  EXPECT_EQ(f.Shown(shot, 10, 7), kGround);
  // The ants between the grips: x = 4..6 dark, 7..9 light, 10..12 dark.
  EXPECT_EQ(f.Shown(shot, 7, 3), clWhite);
  EXPECT_EQ(f.Shown(shot, 9, 3), clWhite);
  EXPECT_EQ(f.Shown(shot, 10, 3), clBlack);

  f.view.SetSelectionOptions(isoAnimated);  // not sizeable: no grips
  shot = f.view.grab().toImage();
  EXPECT_EQ(f.Shown(shot, 1, 0), kGround);
  EXPECT_EQ(f.Shown(shot, 2, 1), kGround);
}

}  // namespace
}  // namespace glamora
