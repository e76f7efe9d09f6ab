// The single-image view: zoom, scrolling and its clamping, fitting, centring,
// coordinate conversions, scroll bars, painting, mouse zoom and scroll, and the
// editor's components.
#include "imaging/ImgView.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QTest>
#include <algorithm>
#include <vector>

#include "imaging/ImgEditor.h"
#include "imaging/core/Stream.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

// A distinct colour for every pixel of a small test picture.
TColor Probe(int x, int y) { return Rgb(uint8_t(20 + 30 * x), uint8_t(20 + 30 * y), 200); }

void FillProbe(Bitmap& bitmap, int width, int height) {
  bitmap.Reset(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, Probe(x, y));
}

TColor PixelOf(const QImage& image, int x, int y) {
  const QRgb c = image.pixel(x, y);
  return Rgb(qRed(c), qGreen(c), qBlue(c));
}

// A borderless view of the given outer size: client area and outer size agree.
class ViewTest : public ::testing::Test {
 protected:
  void Make(int width, int height, int bitmapWidth, int bitmapHeight) {
    view.SetBorderStyle(bsNone);
    view.resize(width, height);
    FillProbe(*view.Bitmap(), bitmapWidth, bitmapHeight);
    view.Update();
    view.OnViewChange = [this](QObject*, int change) { changes.push_back(change); };
  }
  QImage Grab() { return view.grab().toImage(); }

  TImgView view;
  std::vector<int> changes;
};

TEST_F(ViewTest, RunTimeViewStartsEmptyWithTheDocumentedDefaults) {
  EXPECT_TRUE(view.Bitmap()->Empty());
  EXPECT_EQ(view.Zoom(), 100);
  EXPECT_EQ(view.size(), QSize(105, 105));
  EXPECT_EQ(view.Cursor(), 1785);
  EXPECT_EQ(view.Background(), clBtnFace);
  EXPECT_EQ(view.BorderStyle(), bsSingle);
  EXPECT_EQ(view.ScrollBars(), ssNone);
  EXPECT_EQ(view.ZoomFilter(), rfNone);
  EXPECT_TRUE(view.MouseInteract().Empty());
  // Every view registers the thirteen view cursors.
  for (TCursor id = crImgZoomOut; id <= crImgMove; ++id) EXPECT_TRUE(CursorTable::Instance().Contains(id)) << id;
  EXPECT_EQ(view.cursor().shape(), Qt::BitmapCursor);
}

TEST_F(ViewTest, ClientAreaLiesInsideTheBorder) {
  view.resize(100, 80);
  EXPECT_EQ(view.ClientRect(), QRect(2, 2, 96, 76));
  view.SetCtl3D(false);
  EXPECT_EQ(view.ClientRect(), QRect(1, 1, 98, 78));
  view.SetBorderStyle(bsNone);
  EXPECT_EQ(view.ClientRect(), QRect(0, 0, 100, 80));
}

TEST_F(ViewTest, AutoFitTakesTheSmallerOfTheTwoRatios) {
  Make(100, 100, 200, 400);
  view.SetAutoFit(true);
  EXPECT_EQ(view.Zoom(), 25);  // min(trunc(100 / 4), trunc(100 / 2))
  EXPECT_FALSE(changes.empty());
  EXPECT_EQ(changes.back(), 1);
}

TEST_F(ViewTest, AutoFitNeverDropsTheZoomToZero) {
  Make(100, 100, 30000, 4);
  view.SetAutoFit(true);
  EXPECT_EQ(view.Zoom(), 1);
  EXPECT_EQ(view.ScreenToBitmapX(10), 1000);
}

TEST_F(ViewTest, FittingKeepsTheWholePictureInsideTheBorder) {
  // The gallery preview: a 228 x 314 picture in a 227 x 314 view whose border
  // leaves a 223 x 310 client area.
  view.resize(227, 314);
  FillProbe(*view.Bitmap(), 228, 314);
  for (bool autoFit : {true, false}) {
    SCOPED_TRACE(autoFit ? "AutoFit" : "Fit");
    view.SetZoom(100);
    view.SetAutoFit(autoFit);
    if (!autoFit) view.Fit();
    EXPECT_EQ(view.Zoom(), 97);  // min(trunc(310 / 3.14), trunc(223 / 2.28))
    EXPECT_EQ(view.MaxViewXY(), QPoint(0, 0));
    // The picture's last column and row are on the screen.
    const QImage shown = view.grab().toImage();
    const QPoint last(view.BitmapToScreenX(227), view.BitmapToScreenY(313));
    EXPECT_TRUE(view.ClientRect().contains(last + view.ClientOrigin()));
    EXPECT_EQ(PixelOf(shown, last.x() + view.ClientOrigin().x(), last.y() + view.ClientOrigin().y()), Probe(227, 313));
    view.SetAutoFit(false);
  }
}

TEST_F(ViewTest, FitUsesTheClientAreaAndIgnoresAnEmptyBitmap) {
  Make(100, 100, 0, 0);
  view.Fit();
  EXPECT_EQ(view.Zoom(), 100);
  EXPECT_TRUE(changes.empty());
  FillProbe(*view.Bitmap(), 300, 50);
  view.Fit();
  EXPECT_EQ(view.Zoom(), 33);
  EXPECT_EQ(changes, std::vector<int>{1});
}

TEST_F(ViewTest, SetZoomIgnoresZeroNegativeAndTheCurrentValue) {
  Make(100, 100, 50, 50);
  view.SetZoom(0);
  view.SetZoom(-20);
  view.SetZoom(100);
  EXPECT_EQ(view.Zoom(), 100);
  EXPECT_TRUE(changes.empty());
  view.SetZoom(300);
  EXPECT_EQ(view.Zoom(), 300);
  EXPECT_EQ(changes, std::vector<int>{1});
  EXPECT_EQ(view.ZoomedWidth(), 150);
  EXPECT_EQ(view.ExtentX(), 100);
  view.SetZoom(2'000'000'000);  // would overflow the zoomed size
  EXPECT_EQ(view.Zoom(), TImgView::kMaxZoom);
  EXPECT_EQ(view.ZoomedWidth(), 500'000);
}

TEST_F(ViewTest, ScrollPositionIsClampedToTheMaximum) {
  Make(100, 100, 300, 200);
  EXPECT_EQ(view.MaxViewXY(), QPoint(200, 100));
  struct Case {
    int x, y;
    QPoint expected;
  };
  for (const Case& c : {Case{-5, -1, {0, 0}}, Case{1000, 30, {200, 30}}, Case{150, 1000, {150, 100}}}) {
    view.SetViewXY(c.x, c.y);
    EXPECT_EQ(QPoint(view.ViewX(), view.ViewY()), c.expected) << c.x << "," << c.y;
  }
  view.SetViewX(200);
  changes.clear();
  view.SetViewX(5000);  // already at the maximum: nothing changes, nothing fires
  EXPECT_TRUE(changes.empty());
  view.SetViewX(10);
  EXPECT_EQ(changes, std::vector<int>{0});
}

TEST_F(ViewTest, AViewHoldingTheWholeZoomedBitmapNeverScrolls) {
  Make(100, 100, 60, 40);
  view.SetZoom(150);  // 90 x 60 fits
  view.SetViewXY(30, 30);
  EXPECT_EQ(QPoint(view.ViewX(), view.ViewY()), QPoint(0, 0));
}

TEST_F(ViewTest, OuterSizeDecidesWhetherScrollingIsPossible) {
  // The 2-pixel border leaves a 96 x 96 client area, yet the outer size
  // holds the 100 x 100 picture, so there is nothing to scroll.
  view.resize(100, 100);
  FillProbe(*view.Bitmap(), 100, 100);
  view.Update();
  EXPECT_EQ(view.MaxViewXY(), QPoint(0, 0));
  FillProbe(*view.Bitmap(), 101, 100);
  view.Update();
  EXPECT_EQ(view.MaxViewXY(), QPoint(5, 4));
}

TEST_F(ViewTest, ShrinkingTheBitmapPullsTheScrollPositionBack) {
  Make(100, 100, 300, 300);
  view.SetViewXY(150, 180);
  changes.clear();
  FillProbe(*view.Bitmap(), 150, 300);
  view.Update();
  EXPECT_EQ(view.ViewX(), 50);
  EXPECT_EQ(view.ViewY(), 180);
  EXPECT_EQ(changes, std::vector<int>{0});
}

TEST_F(ViewTest, CoordinateConversionsRoundHalvesToEven) {
  Make(100, 100, 300, 300);
  view.SetZoom(200);
  struct Case {
    int viewX, screenX, bitmapX;
  };
  for (const Case& c : {Case{150, 0, 75}, Case{1, 0, 0}, Case{3, 0, 2}, Case{5, 0, 2}, Case{0, 99, 50}}) {
    view.SetViewX(c.viewX);
    EXPECT_EQ(view.ScreenToBitmapX(c.screenX), c.bitmapX) << "ViewX " << c.viewX << " x " << c.screenX;
  }
  view.SetViewXY(150, 40);
  EXPECT_EQ(view.BitmapToScreenX(75), 0);
  EXPECT_EQ(view.BitmapToScreenY(30), 20);
  EXPECT_EQ(view.ScreenToBitmapY(20), 30);
}

TEST_F(ViewTest, ExactHalvesRoundToEvenAtEveryZoom) {
  // Zoomed sizes 7 × 1.5 = 10.5 and 7 × 3.5 = 24.5, and bitmap points
  // 100 / 24 × 15 = 62.5 and 100 / 24 × 27 = 112.5 are exact halves that
  // floating-point ratios (0.07 × 150, 4.1666… × 15) would push upward.
  struct Case {
    int zoom, size, zoomedSize, screen, bitmap;
  };
  for (const Case& c : {Case{150, 7, 10, 3, 2}, Case{350, 7, 24, 7, 2}, Case{24, 400, 96, 15, 62},
                        Case{24, 400, 96, 27, 112}}) {
    view.SetZoom(100);
    FillProbe(*view.Bitmap(), c.size, c.size);
    view.SetZoom(c.zoom);
    EXPECT_EQ(view.ZoomedWidth(), c.zoomedSize) << c.zoom << " " << c.size;
    EXPECT_EQ(view.ZoomedHeight(), c.zoomedSize) << c.zoom << " " << c.size;
    EXPECT_EQ(view.ExtentX(), std::min(c.zoomedSize, 100)) << c.zoom << " " << c.size;
    EXPECT_EQ(view.ScreenToBitmapX(c.screen), c.bitmap) << c.zoom << " x " << c.screen;
    EXPECT_EQ(view.ScreenToBitmapY(c.screen), c.bitmap) << c.zoom << " y " << c.screen;
  }
}

TEST_F(ViewTest, SourceRectangleRoundsExactHalvesToEven) {
  // 15 pixels at zoom 146 are 22 zoomed pixels; 11 client pixels show
  // 11 × 15 / 22 = 7.5 source pixels, rounded to 8, starting at ViewX × 15 / 22.
  Make(11, 4, 15, 1);
  view.SetZoom(146);
  ASSERT_EQ(view.ZoomedWidth(), 22);
  // 8 source pixels over 11: the last client pixel shows source pixel 7.
  EXPECT_EQ(PixelOf(Grab(), 10, 0), Probe(7, 0));
  // Scrolled by 11: the source starts at round(7.5) = 8.
  view.SetViewX(11);
  ASSERT_EQ(view.ViewX(), 11);
  EXPECT_EQ(PixelOf(Grab(), 0, 0), Probe(8, 0));
}

TEST_F(ViewTest, ZoomAtCentresAFarPointAtTheLargestZoom) {
  // Bitmap x 20000 times the zoom does not fit 32 bits.
  Make(100, 100, 30000, 1);
  view.SetZoom(TImgView::kMaxZoom);
  view.SetViewX(200'000'000 - 80);
  ASSERT_EQ(view.ScreenToBitmapX(80), 20000);
  view.ZoomAt(80, 0, TImgView::kMaxZoom);
  EXPECT_EQ(view.ViewX(), 200'000'000 - 50);  // bitmap x 20000 at the centre, 50
}

TEST_F(ViewTest, CentringOffsetsAreHalfTheSpareRoomRoundedDown) {
  Make(100, 100, 31, 20);
  EXPECT_EQ(view.OffsetX(), 0);
  view.SetCenter(true);
  EXPECT_EQ(view.OffsetX(), 34);  // (100 - 31) div 2
  EXPECT_EQ(view.OffsetY(), 40);
  EXPECT_EQ(view.ScreenToBitmapX(34), 0);
  EXPECT_EQ(view.BitmapToScreenY(0), 40);
}

TEST_F(ViewTest, PaintsTheBitmapTopLeftAndTheBackgroundAround) {
  Make(20, 16, 4, 3);
  view.SetBackground(clRed);
  view.SetZoom(200);
  const QImage shot = Grab();
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 20; ++x) {
      const TColor expected = (x < 8 && y < 6) ? Probe(x / 2, y / 2) : clRed;
      ASSERT_EQ(PixelOf(shot, x, y), expected) << x << "," << y;
    }
  }
}

TEST_F(ViewTest, DoubleBufferedViewShowsTheSamePixels) {
  Make(30, 20, 7, 5);
  view.SetZoom(300);
  view.SetViewXY(2, 1);
  const QImage first = Grab();
  view.SetViewXY(4, 3);
  const QImage second = Grab();
  view.SetViewXY(2, 1);
  view.SetDoubleBuffer(true);
  EXPECT_EQ(Grab(), first);
  view.SetViewXY(4, 3);  // the buffer is drawn again after a scroll
  EXPECT_EQ(Grab(), second);
}

TEST_F(ViewTest, CentredPictureHasBackgroundOnEverySide) {
  Make(20, 20, 4, 4);
  view.SetBackground(clWhite);
  view.SetCenter(true);
  const QImage shot = Grab();
  EXPECT_EQ(view.OffsetX(), 8);
  EXPECT_EQ(PixelOf(shot, 7, 10), clWhite);
  EXPECT_EQ(PixelOf(shot, 8, 8), Probe(0, 0));
  EXPECT_EQ(PixelOf(shot, 11, 11), Probe(3, 3));
  EXPECT_EQ(PixelOf(shot, 12, 12), clWhite);
  EXPECT_EQ(PixelOf(shot, 10, 19), clWhite);
}

TEST_F(ViewTest, ReducingZoomTakesTheNearestPixelByItsCentre) {
  Make(20, 20, 8, 8);
  view.SetBackground(clWhite);
  view.SetZoom(50);
  const QImage shot = Grab();
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelOf(shot, x, y), Probe(2 * x + 1, 2 * y + 1)) << x << "," << y;
  EXPECT_EQ(PixelOf(shot, 4, 0), clWhite);
}

TEST_F(ViewTest, ScrolledPictureStartsAtTheScrollPosition) {
  Make(10, 10, 8, 8);
  view.SetZoom(300);  // 24 x 24 zoomed
  view.SetViewXY(6, 9);
  // Source: x = round(6 / 3) = 2, width = round(10 / 3) = 3 (y likewise from 3),
  // stretched over the 10 client pixels.
  const QImage shot = Grab();
  EXPECT_EQ(PixelOf(shot, 0, 0), Probe(2, 3));
  EXPECT_EQ(PixelOf(shot, 9, 9), Probe(4, 5));
}

TEST_F(ViewTest, MagnifyingFilterBlendsWhereNearestStretchingWouldNot) {
  Make(40, 10, 2, 1);
  view.Bitmap()->SetPixel(0, 0, clBlack);
  view.Bitmap()->SetPixel(1, 0, clWhite);
  view.SetZoom(1000);
  auto greys = [&] {
    const QImage shot = Grab();
    int count = 0;
    for (int x = 0; x < 20; ++x) {
      const TColor c = PixelOf(shot, x, 2);
      if (c != clBlack && c != clWhite) ++count;
    }
    return count;
  };
  EXPECT_EQ(greys(), 0);
  view.SetZoomFilter(rfTriangle);
  EXPECT_GT(greys(), 0);
}

TEST_F(ViewTest, ChessboardStartsWithTheComplementAndAlternates) {
  Make(40, 40, 0, 0);
  view.SetBackground(Rgb(10, 20, 30));
  view.SetBackgroundStyle(ibsChessboard);
  const QImage shot = Grab();
  const TColor complement = Rgb(245, 235, 225);
  EXPECT_EQ(PixelOf(shot, 0, 0), complement);
  EXPECT_EQ(PixelOf(shot, 15, 15), complement);
  EXPECT_EQ(PixelOf(shot, 16, 0), Rgb(10, 20, 30));
  EXPECT_EQ(PixelOf(shot, 0, 16), Rgb(10, 20, 30));
  EXPECT_EQ(PixelOf(shot, 16, 16), complement);
}

TEST_F(ViewTest, ScrollBarsAppearOnlyWhenNeededAndRunToTheMaximum) {
  Make(100, 100, 95, 150);
  view.SetScrollBars(ssBoth);
  // The vertical bar narrows the client area, which then needs the horizontal
  // bar as well: both are shown and the client area shrinks on both sides.
  ASSERT_FALSE(view.VerticalScrollBar()->isHidden());
  ASSERT_FALSE(view.HorizontalScrollBar()->isHidden());
  const int bar = view.VerticalScrollBar()->width();
  EXPECT_EQ(view.ClientWidth(), 100 - bar);
  EXPECT_EQ(view.ClientHeight(), 100 - bar);
  const QPoint maximum = view.MaxViewXY();
  EXPECT_EQ(maximum, QPoint(95 - view.ClientWidth(), 150 - view.ClientHeight()));
  EXPECT_EQ(view.VerticalScrollBar()->maximum(), maximum.y());
  EXPECT_EQ(view.VerticalScrollBar()->pageStep(), view.ClientHeight());

  view.SetScrollBars(ssHorizontal);
  EXPECT_TRUE(view.VerticalScrollBar()->isHidden());

  FillProbe(*view.Bitmap(), 50, 50);
  view.SetScrollBars(ssBoth);
  EXPECT_TRUE(view.VerticalScrollBar()->isHidden());
  EXPECT_TRUE(view.HorizontalScrollBar()->isHidden());
  EXPECT_EQ(view.ClientWidth(), 100);
}

TEST_F(ViewTest, ScrollBarActionsMoveTheView) {
  Make(100, 100, 400, 100);
  view.SetScrollBars(ssHorizontal);
  QScrollBar* bar = view.HorizontalScrollBar();
  ASSERT_FALSE(bar->isHidden());
  const int maximum = view.MaxViewXY().x();
  struct Case {
    QAbstractSlider::SliderAction action;
    int expected;
  };
  for (const Case& c : {Case{QAbstractSlider::SliderSingleStepSub, 0}, Case{QAbstractSlider::SliderSingleStepAdd, 1},
                        Case{QAbstractSlider::SliderPageStepAdd, 1 + 100}, Case{QAbstractSlider::SliderToMaximum, maximum},
                        Case{QAbstractSlider::SliderPageStepAdd, maximum}, Case{QAbstractSlider::SliderPageStepSub, maximum - 100},
                        Case{QAbstractSlider::SliderToMinimum, 0}}) {
    bar->triggerAction(c.action);
    EXPECT_EQ(view.ViewX(), c.expected) << c.action;
    EXPECT_EQ(bar->value(), c.expected) << c.action;
  }
}

TEST(ImgViewZoomSteps, ClicksWalkTheZoomTable) {
  struct Case {
    int zoom, in, out;
  };
  for (const Case& c : {Case{1, 2, 2}, Case{2, 5, 2}, Case{3, 5, 2}, Case{33, 50, 25}, Case{75, 100, 50},
                        Case{99, 100, 75}, Case{100, 200, 75}, Case{150, 250, 100}, Case{200, 300, 100},
                        Case{450, 550, 350}}) {
    EXPECT_EQ(TImgView::NextZoomIn(c.zoom), c.in) << c.zoom;
    EXPECT_EQ(TImgView::NextZoomOut(c.zoom), c.out) << c.zoom;
  }
}

TEST(ImgViewMouseInteract, FirstAddedModeDecidesWhatRemains) {
  struct Case {
    TImgMouseInteract before, requested, expected;
  };
  const Case cases[] = {
      {{}, {miZoom, miScroll}, {miZoom, miScroll}},
      {{}, {miZoom, miScroll, miSelectPolygon}, {miZoom, miScroll}},
      {{miZoom, miScroll}, {miZoom, miScroll, miSelectPolygon}, {miSelectPolygon}},
      {{}, {miSelect, miSelectCircle, miZoom}, {miZoom, miSelect}},
      {{}, {miZoom, miSelectZoom, miSelectMagicWand}, {miZoom, miSelectZoom}},
      {{}, {miZoom, miSelectMagicWand}, {miZoom}},
      {{miSelectPolygon}, {}, {}},
      {{miZoom, miScroll}, {miZoom}, {miZoom}},
  };
  for (const Case& c : cases) {
    TImgView view;
    view.SetMouseInteract(c.before);
    ASSERT_EQ(view.MouseInteract(), c.before);
    view.SetMouseInteract(c.requested);
    EXPECT_EQ(view.MouseInteract(), c.expected);
  }
}

class MouseTest : public ViewTest {
 protected:
  void SetUp() override {
    Make(100, 100, 200, 200);
    view.SetMouseInteract({miZoom, miScroll});
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  }
};

TEST_F(MouseTest, LeftClickZoomsInAroundTheClickedPoint) {
  QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(20, 30));
  EXPECT_EQ(view.Zoom(), 200);
  // Bitmap point (20, 30) comes to the centre: view = point × 2 − client / 2.
  EXPECT_EQ(view.ViewX(), 0);  // 40 - 50, clamped
  EXPECT_EQ(view.ViewY(), 60 - 50);
  // At zoom 200 and ViewY 10, client (80, 70) is bitmap (40, 40).
  QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(80, 70));
  EXPECT_EQ(view.Zoom(), 300);
  EXPECT_EQ(view.ViewX(), 120 - 50);
  EXPECT_EQ(view.ViewY(), 120 - 50);
  QTest::mouseClick(&view, Qt::RightButton, {}, QPoint(50, 50));
  EXPECT_EQ(view.Zoom(), 200);
  QTest::mouseClick(&view, Qt::RightButton, {}, QPoint(50, 50));
  EXPECT_EQ(view.Zoom(), 100);
  QTest::mouseClick(&view, Qt::RightButton, {}, QPoint(50, 50));
  EXPECT_EQ(view.Zoom(), 75);
}

TEST_F(MouseTest, TheSecondClickOfADoubleClickCountsAsAClick) {
  std::vector<QPoint> downs;
  view.OnMouseDown = [&](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) { downs.emplace_back(x, y); };
  // A double click reaches a widget as press, release, double click, release:
  // the double click stands for the second press.
  const QPointF at(20, 30);
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                            QEvent::MouseButtonRelease}) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, view.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &event);
  }
  EXPECT_EQ(downs, (std::vector<QPoint>{{20, 30}, {20, 30}}));
  EXPECT_EQ(view.Zoom(), 300);  // two clicks: two steps in
}

TEST_F(MouseTest, DraggingScrollsByTheDistanceMoved) {
  QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(60, 60));
  QTest::mouseMove(&view, QPoint(40, 50));
  EXPECT_EQ(QPoint(view.ViewX(), view.ViewY()), QPoint(20, 10));
  QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(30, 50));
  EXPECT_EQ(QPoint(view.ViewX(), view.ViewY()), QPoint(30, 10));
  EXPECT_EQ(view.Zoom(), 100);
}

TEST_F(MouseTest, PressPointIsClampedIntoThePicture) {
  FillProbe(*view.Bitmap(), 40, 40);
  view.Update();
  // A click below the picture zooms at the nearest picture point, not at the
  // point itself: the release is not at the clamped press point.
  QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(60, 60));
  EXPECT_EQ(view.Zoom(), 100);
  QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(39, 39));
  EXPECT_EQ(view.Zoom(), 200);
}

TEST_F(MouseTest, ZoomFilterRestsWhileAButtonIsDown) {
  view.SetZoomFilter(rfBSpline);
  view.SetMouseInteract({miScroll});
  QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(60, 60));
  EXPECT_EQ(view.ZoomFilter(), rfNone);
  QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(60, 60));
  EXPECT_EQ(view.ZoomFilter(), rfBSpline);
}

TEST_F(MouseTest, NoModesMeansNoZoomOrScroll) {
  view.SetMouseInteract({});
  std::vector<QPoint> downs;
  view.OnMouseDown = [&](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) { downs.emplace_back(x, y); };
  QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(20, 30));
  QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(60, 60));
  QTest::mouseMove(&view, QPoint(40, 50));
  QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(40, 50));
  EXPECT_EQ(view.Zoom(), 100);
  EXPECT_EQ(QPoint(view.ViewX(), view.ViewY()), QPoint(0, 0));
  EXPECT_EQ(downs, (std::vector<QPoint>{{20, 30}, {60, 60}}));
}

// A canvas that handles the mouse itself, as the make-up canvas does.
class OwnMouseView : public TImgView {
 public:
  void MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) override { Presses.emplace_back(x, y); }
  void MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, int, int) override {}
  void MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int, int) override {}
  std::vector<QPoint> Presses;
};

TEST(ImgViewSubclass, OverriddenMouseHandlersReplaceTheViewsOwn) {
  OwnMouseView view;
  view.resize(100, 100);
  FillProbe(*view.Bitmap(), 200, 200);
  view.SetMouseInteract({miZoom, miScroll});
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(22, 32));
  EXPECT_EQ(view.Zoom(), 100);
  // Client coordinates: the 2-pixel border is taken off.
  EXPECT_EQ(view.Presses, std::vector<QPoint>{QPoint(20, 30)});
}

TEST_F(ViewTest, PaintLockDefersTheUpdateToTheLastUnlock) {
  Make(100, 100, 10, 10);
  view.LockPaint();
  view.LockPaint();
  FillProbe(*view.Bitmap(), 30, 20);
  view.UnlockPaint();
  EXPECT_EQ(view.PaintLock(), 1);
  EXPECT_EQ(view.ExtentX(), 10);
  view.UnlockPaint();
  EXPECT_EQ(view.PaintLock(), 0);
  EXPECT_EQ(view.ExtentX(), 30);
  view.UnlockPaint();  // an extra unlock stays at 0
  EXPECT_EQ(view.PaintLock(), 0);
}

TEST_F(ViewTest, AssignCopiesPictureBackgroundAndResolution) {
  Make(50, 50, 0, 0);
  int imageChanges = 0;
  view.OnImageChange = [&](QObject*) { ++imageChanges; };

  TImgView source;
  FillProbe(*source.Bitmap(), 7, 5);
  source.SetBackground(clWhite);
  source.SetDpi(300, 150);
  view.Assign(&source);
  EXPECT_TRUE(view.Bitmap()->SameContent(*source.Bitmap()));
  EXPECT_EQ(view.Background(), clWhite);
  EXPECT_EQ(view.DpiX(), 300);
  EXPECT_EQ(view.DpiY(), 150);
  EXPECT_EQ(imageChanges, 1);
  EXPECT_EQ(view.ExtentX(), 7);

  Bitmap grey(3, 2, PixelFormat::Bits8);
  grey.Row(1)[2] = 77;
  view.Assign(&grey);
  EXPECT_EQ(view.Bitmap()->Format(), PixelFormat::Bits24);
  EXPECT_EQ(view.Bitmap()->Pixel(2, 1), Rgb(77, 77, 77));

  Bitmap mono(9, 2, PixelFormat::Bits1);
  view.Assign(&mono);
  EXPECT_EQ(view.Bitmap()->Format(), PixelFormat::Bits1);

  QImage picture(4, 3, QImage::Format_ARGB32);
  picture.fill(qRgb(1, 2, 3));
  view.Assign(picture);
  EXPECT_EQ(view.Bitmap()->Format(), PixelFormat::Bits24);
  EXPECT_EQ(view.Bitmap()->Pixel(3, 2), Rgb(1, 2, 3));

  view.Assign(static_cast<const TImgView*>(nullptr));
  EXPECT_EQ(view.Bitmap()->Pixel(0, 0), clWhite);
  EXPECT_EQ(imageChanges, 4);
}

TEST_F(ViewTest, FormLoadingSizesTheBitmapToTheControl) {
  view.SetBackground(clWhite);
  view.BeginLoading();
  view.SetBounds(0, 0, 40, 30);
  view.EndLoading();
  EXPECT_EQ(view.Bitmap()->Width(), 40);
  EXPECT_EQ(view.Bitmap()->Height(), 30);
  EXPECT_EQ(view.Bitmap()->Pixel(39, 29), clWhite);
  view.SetBounds(0, 0, 60, 60);  // at run time a resize leaves the bitmap alone
  EXPECT_EQ(view.Bitmap()->Width(), 40);
}

TEST(ImgEditorTest, ComponentsWorkOnTheEditorsOwnBitmap) {
  TImgEditor editor;
  EXPECT_EQ(editor.Proc().AttachedImgView(), &editor);
  EXPECT_EQ(editor.IO().AttachedImgView(), &editor);
  EXPECT_EQ(editor.Proc().CurrentBitmap(), editor.Bitmap());
  EXPECT_TRUE(editor.AutoUndo());
  EXPECT_FALSE(editor.StreamHeaders());

  int imageChanges = 0;
  editor.OnImageChange = [&](QObject*) { ++imageChanges; };
  FillProbe(*editor.Bitmap(), 30, 20);
  editor.SetBackground(clWhite);
  imageChanges = 0;
  editor.Resample(60, -1, rfNone);
  EXPECT_EQ(editor.Bitmap()->Width(), 60);
  EXPECT_EQ(editor.Bitmap()->Height(), 40);
  EXPECT_EQ(editor.ZoomedWidth(), 60);  // the view was updated
  EXPECT_GE(imageChanges, 1);
  editor.Undo();
  EXPECT_EQ(editor.Bitmap()->Width(), 30);
  editor.Clear();
  EXPECT_EQ(editor.Bitmap()->Pixel(5, 5), clWhite);
}

TEST(ImgEditorTest, JpegRoundTripThroughAStream) {
  TImgEditor writer;
  writer.Bitmap()->Reset(16, 8);
  writer.Bitmap()->Fill(Rgb(200, 40, 40));
  MemoryStream stream;
  ASSERT_TRUE(writer.SaveToStreamJpeg(stream));
  stream.Seek(0);

  TImgEditor reader;
  ASSERT_TRUE(reader.LoadFromStream(stream));
  EXPECT_EQ(reader.Bitmap()->Width(), 16);
  EXPECT_EQ(reader.Bitmap()->Height(), 8);
  EXPECT_EQ(reader.IO().Params.FileType, 3);
  EXPECT_EQ(reader.ZoomedWidth(), 16);
  const TColor c = reader.Bitmap()->Pixel(8, 4);
  EXPECT_NEAR(RedOf(c), 200, 8);
  EXPECT_NEAR(GreenOf(c), 40, 8);
}

}  // namespace
}  // namespace glamora
