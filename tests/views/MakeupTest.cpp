// The make-up canvas over its model: showing the face, the region editor
// driven by the mouse, and the pencil and airbrush strokes.
#include <gtest/gtest.h>

#include <QTest>
#include <cmath>

#include "face/FaceFile.h"
#include "face/StandardFace.h"
#include "model/Makeover.h"
#include "tests/support/FaceFixtures.h"
#include "tests/support/TestSupport.h"
#include "views/Makeup.h"

namespace glamora {
namespace {

namespace sf = standard_face;
using test::TempFolder;

const TColor kSkin = Rgb(200, 160, 140);

class MakeupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    facePath_ = test::WriteTestFace(dir_.File("face.mff"), test::StandardFacePicture(kSkin),
                                    test::RectangleRegionsHeader());
    canvas_.SetScrollBars(ssBoth);
    canvas_.SetBackground(clWhite);
    ASSERT_TRUE(model_.LoadFace(facePath_));
    canvas_.show();
  }

  QPoint Widget(int x, int y) const { return QPoint(x, y) + canvas_.ClientOrigin(); }
  void Click(int x, int y, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {}) {
    QTest::mouseClick(&canvas_, button, keys, Widget(x, y));
  }
  void Press(int x, int y, Qt::KeyboardModifiers keys = {}) {
    QTest::mousePress(&canvas_, Qt::LeftButton, keys, Widget(x, y));
  }
  void Move(int x, int y) { QTest::mouseMove(&canvas_, Widget(x, y)); }
  void Release(int x, int y) { QTest::mouseRelease(&canvas_, Qt::LeftButton, {}, Widget(x, y)); }
  TColor Pixel(int x, int y) { return model_.Face().Pixel(x, y); }

  // Outlines a polygon by clicking its client points and closing on the first.
  void Outline(const std::vector<QPoint>& points) {
    for (const QPoint& p : points) Click(p.x(), p.y());
    Click(points[0].x() + 1, points[0].y() + 1);
  }

  TempFolder dir_;
  std::string facePath_;
  Makeover model_;
  TMakeup canvas_{model_};
};

// The canvas shows the model's picture whatever changed it: a colour applied
// to the model, a stroke drawn at 300 % scrolled, another face loaded.
TEST_F(MakeupTest, ShowsTheModelsPictureAfterEveryChange) {
  EXPECT_TRUE(canvas_.Bitmap()->SameContent(model_.Face()));
  model_.ApplyColor(ColorKind::Eyes, Rgb(100, 50, 50));
  EXPECT_TRUE(canvas_.Bitmap()->SameContent(model_.Face()));

  canvas_.SetZoomFactor(3);
  canvas_.SetViewXY(150, 250);
  canvas_.SetMode(TCanvasMode::cmPencil);
  canvas_.SetColor(Rgb(0, 0, 255));
  Press(10, 10);
  Move(40, 10);
  Release(40, 10);
  EXPECT_EQ(Pixel(58, 87), Rgb(0, 0, 255));  // client (25, 12) at 300 % from (150, 250)
  EXPECT_TRUE(canvas_.Bitmap()->SameContent(model_.Face()));
  EXPECT_EQ(canvas_.grab().toImage().pixelColor(Widget(25, 12)), QColor(0, 0, 255));

  Bitmap small(100, 80);
  small.Fill(Rgb(9, 99, 199));
  ASSERT_TRUE(model_.LoadFace(test::WriteTestFace(dir_.File("small.mff"), small, test::RectangleRegionsHeader())));
  EXPECT_TRUE(canvas_.Bitmap()->SameContent(model_.Face()));
  EXPECT_EQ(canvas_.size(), QSize(100, 80));
}

TEST_F(MakeupTest, RegionAtFollowsTheSplitLines) {
  canvas_.SetZoomFactor(3);
  const struct {
    int x, y, region;
  } cases[] = {{0, 564, 3}, {0, 563, 1}, {342, 0, 1}, {343, 0, 2}, {600, 563, 2}, {600, 564, 3}};
  for (const auto& c : cases) EXPECT_EQ(canvas_.RegionAt(c.x, c.y), c.region) << c.x << "," << c.y;
  canvas_.SetViewXY(100, 200);
  EXPECT_EQ(canvas_.RegionAt(242, 0), 1);
  EXPECT_EQ(canvas_.RegionAt(243, 0), 2);
  EXPECT_EQ(canvas_.RegionAt(0, 364), 3);
}

TEST_F(MakeupTest, OutlinedPolygonIsStoredInPictureCoordinates) {
  canvas_.SetZoomFactor(3);
  canvas_.SetViewXY(150, 250);
  canvas_.SetMode(TCanvasMode::cmOutline);
  // Left eye at zoom 3: picture (80, 140) is client (240 − 150, 420 − 250).
  Outline({{90, 170}, {150, 170}, {150, 200}, {90, 200}});
  const FaceRegion& stored = model_.Header().Region(1);
  ASSERT_TRUE(stored.IsOutlined());
  EXPECT_EQ(stored.Count, 4);
  EXPECT_EQ(stored.Points[0], (FacePoint{80, 140}));
  EXPECT_EQ(stored.Points[2], (FacePoint{100, 150}));
  EXPECT_EQ(model_.Header().Region(2), test::RectangleRegionsHeader().Region(2));
  EXPECT_FALSE(model_.HeaderSaved());
  EXPECT_EQ(model_.Header().StoreMark, 0);
  EXPECT_EQ(canvas_.PolygonState(), TPolygonState::psIdle);
  EXPECT_EQ(canvas_.WorkPolygon().Count, 0);
  // The yellow outline lasted only while the button was held.
  EXPECT_EQ(Pixel(80, 140), kSkin);

  model_.SaveHeader();
  EXPECT_TRUE(model_.HeaderSaved());
  FaceHeader onDisk;
  MemoryStream payload;
  ASSERT_TRUE(ReadFaceFile(facePath_, onDisk, payload));
  EXPECT_EQ(onDisk.Region(1).Points[0], (FacePoint{80, 140}));
  EXPECT_EQ(onDisk.Region(1).Count, 4);
}

TEST_F(MakeupTest, ClosingDistanceAndTheHundredthVertex) {
  canvas_.SetMode(TCanvasMode::cmOutline);
  Click(20, 20);
  Click(60, 20);
  Click(24, 20);  // x1 + 4: a vertex, not a close
  EXPECT_EQ(canvas_.WorkPolygon().Count, 3);
  EXPECT_EQ(canvas_.PolygonState(), TPolygonState::psDrawing);
  Click(23, 16);  // (x1 + 3, y1 − 4) closes
  EXPECT_EQ(canvas_.PolygonState(), TPolygonState::psIdle);
  EXPECT_EQ(model_.Header().Region(1).Count, 3);

  Click(10, 10);
  for (int i = 1; i < 105; ++i) Click(10 + (i % 90), 30 + i);
  EXPECT_EQ(canvas_.WorkPolygon().Count, 100);
  EXPECT_EQ(canvas_.WorkPolygon().Points[99], (FacePoint{10 + 99 % 90, 30 + 99}));
  Click(11, 11);
  EXPECT_EQ(model_.Header().Region(1).Count, 100);
}

// Hovering needs no button: the rubber band follows the pointer from the
// last vertex, inverting what lies under it and erasing its old place, and
// the hand shows near the first vertex.
TEST_F(MakeupTest, HoverDrawsTheRubberBandAndShowsTheHandNearTheFirstVertex) {
  canvas_.SetMode(TCanvasMode::cmOutline);
  Click(20, 20);
  Click(60, 20);
  auto onScreen = [&](int x, int y) { return canvas_.grab().toImage().pixelColor(Widget(x, y)); };
  const QColor skin(RedOf(kSkin), GreenOf(kSkin), BlueOf(kSkin));
  const QColor inverted(255 - skin.red(), 255 - skin.green(), 255 - skin.blue());

  Move(60, 80);
  EXPECT_EQ(onScreen(60, 50), inverted);
  EXPECT_EQ(onScreen(40, 20), inverted);  // the placed edge stays
  Move(100, 20);
  EXPECT_EQ(onScreen(60, 50), skin);  // the old band is gone
  EXPECT_EQ(onScreen(80, 20), inverted);
  EXPECT_EQ(Pixel(80, 20), kSkin);  // drawn on the window, not into the picture

  EXPECT_NE(canvas_.cursor().shape(), Qt::PointingHandCursor);
  Move(22, 17);  // within x1 - 3 <= x < x1 + 3, likewise y
  EXPECT_EQ(canvas_.cursor().shape(), Qt::PointingHandCursor);
  Move(23, 20);
  EXPECT_NE(canvas_.cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(MakeupTest, OneVertexPolygonClosedAtOnceColoursNothing) {
  canvas_.SetMode(TCanvasMode::cmOutline);
  Click(50, 250);
  Click(51, 251);
  EXPECT_EQ(model_.Header().Region(3).Count, 1);
  model_.ApplyColor(ColorKind::Lips, Rgb(250, 50, 50));
  EXPECT_EQ(Pixel(114, 216), kSkin);
}

// The two ways to mirror the polygon in progress: an Alt-click, and the M
// key for window managers that take Alt and the mouse for themselves.
enum class MirrorWay { AltClick, KeyM };

TEST_F(MakeupTest, MirroringCompletesASymmetricShape) {
  for (MirrorWay way : {MirrorWay::AltClick, MirrorWay::KeyM}) {
    SCOPED_TRACE(way == MirrorWay::AltClick ? "Alt-click" : "M key");
    ASSERT_TRUE(model_.LoadFace(facePath_));
    const auto mirror = [&] {
      if (way == MirrorWay::AltClick) {
        Click(0, 0, Qt::LeftButton, Qt::AltModifier);
      } else {
        QTest::keyClick(&canvas_, Qt::Key_M);
      }
    };
    canvas_.SetMode(TCanvasMode::cmOutline);
    // Half of the lips drawn from the axis x = 114 and back to it.
    Click(114, 205);
    Click(94, 210);
    Click(96, 226);
    Click(116, 228);  // moved onto the axis by the mirror
    mirror();
    const FaceRegion& lips = model_.Header().Region(3);
    ASSERT_EQ(lips.Count, 6);
    const std::vector<FacePoint> expected = {{114, 205}, {94, 210}, {96, 226}, {114, 228}, {132, 226}, {134, 210}};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(lips.Points[size_t(i)], expected[size_t(i)]) << i;
    EXPECT_EQ(canvas_.PolygonState(), TPolygonState::psIdle);
    // The stored outline's yellow is gone once the button or the key is up.
    EXPECT_TRUE(model_.Face().SameContent(model_.UndoPicture()));

    // One vertex mirrors into an empty region; 52 vertices have no room and are kept.
    Click(50, 50);
    mirror();
    EXPECT_EQ(model_.Header().Region(1).Count, 0);
    EXPECT_EQ(model_.Header().Region(1).Valid, 1);
    Click(10, 250);
    for (int i = 1; i < 52; ++i) Click(10 + i, 255 + i % 7);
    mirror();
    EXPECT_EQ(canvas_.WorkPolygon().Count, 52);
    EXPECT_EQ(canvas_.PolygonState(), TPolygonState::psDrawing);
    EXPECT_EQ(model_.Header().Region(3).Count, 6);
    Click(0, 0, Qt::RightButton);
  }
}

TEST_F(MakeupTest, TheMKeyShowsTheMirroredOutlineWhileHeldAndNeedsAPolygonInProgress) {
  canvas_.SetMode(TCanvasMode::cmOutline);
  Click(114, 205);
  Click(94, 210);
  Click(96, 226);
  Click(114, 228);
  // With Ctrl or Alt the key is no mirror.
  QTest::keyClick(&canvas_, Qt::Key_M, Qt::ControlModifier);
  QTest::keyClick(&canvas_, Qt::Key_M, Qt::AltModifier);
  EXPECT_EQ(canvas_.PolygonState(), TPolygonState::psDrawing);
  EXPECT_TRUE(model_.HeaderSaved());

  QTest::keyPress(&canvas_, Qt::Key_M);
  EXPECT_EQ(Pixel(114, 205), Rgb(255, 255, 0));
  QTest::keyRelease(&canvas_, Qt::Key_M);
  EXPECT_EQ(Pixel(114, 205), kSkin);
  EXPECT_FALSE(model_.HeaderSaved());

  // No polygon in progress: nothing, and no other mode mirrors either.
  const FaceHeader stored = model_.Header();
  QTest::keyClick(&canvas_, Qt::Key_M);
  canvas_.SetMode(TCanvasMode::cmPencil);
  Click(30, 30);
  QTest::keyClick(&canvas_, Qt::Key_M);
  EXPECT_EQ(model_.Header(), stored);
}

TEST_F(MakeupTest, ACtrlClickThrowsAwayThePolygonInProgressBeforeShowingARegion) {
  canvas_.SetMode(TCanvasMode::cmOutline);
  const FaceHeader before = model_.Header();
  // Three vertices of the left eye, then a Ctrl-click on the lips.
  Click(40, 60);
  Click(80, 60);
  Click(60, 90);
  Press(114, 230, Qt::ControlModifier);
  EXPECT_EQ(canvas_.CurrentRegion(), 3);
  EXPECT_EQ(canvas_.PolygonState(), TPolygonState::psIdle);
  EXPECT_EQ(canvas_.WorkPolygon().Count, 0);
  EXPECT_TRUE(canvas_.WindowLines().empty());
  Release(114, 230);
  // The mirror that follows has nothing to store: the lips stay as they were.
  Click(0, 0, Qt::LeftButton, Qt::AltModifier);
  QTest::keyClick(&canvas_, Qt::Key_M);
  EXPECT_EQ(model_.Header(), before);
  EXPECT_TRUE(model_.HeaderSaved());
  EXPECT_TRUE(model_.Face().SameContent(model_.UndoPicture()));
}

TEST_F(MakeupTest, ShiftStateMustBeExact) {
  canvas_.SetMode(TCanvasMode::cmOutline);
  Click(30, 30);
  Click(60, 30, Qt::LeftButton, Qt::AltModifier | Qt::ShiftModifier);  // a plain vertex
  EXPECT_EQ(canvas_.WorkPolygon().Count, 2);
  Click(60, 60, Qt::RightButton);  // cancels
  EXPECT_EQ(canvas_.WorkPolygon().Count, 0);
  EXPECT_EQ(canvas_.PolygonState(), TPolygonState::psIdle);
  EXPECT_EQ(canvas_.CurrentRegion(), 1);

  // In pencil mode Alt and Ctrl clicks start no stroke.
  canvas_.SetMode(TCanvasMode::cmPencil);
  canvas_.SetColor(clBlack);
  Press(20, 20, Qt::AltModifier);
  Move(40, 20);
  EXPECT_FALSE(canvas_.Drawing());
  EXPECT_EQ(Pixel(30, 20), kSkin);
  Release(40, 20);
  Press(20, 20, Qt::ControlModifier);
  Move(40, 20);
  EXPECT_EQ(Pixel(30, 20), kSkin);
  Release(40, 20);
}

TEST_F(MakeupTest, CtrlClickShowsAStoredRegionUntilRelease) {
  canvas_.SetMode(TCanvasMode::cmOutline);
  const FaceRegion& left = model_.Header().Region(1);
  const int x = left.Points[0].X, y = left.Points[0].Y;
  Press(60, 60, Qt::ControlModifier);
  EXPECT_EQ(Pixel(x, y), Rgb(0, 255, 0));
  Release(60, 60);
  EXPECT_EQ(Pixel(x, y), kSkin);
  EXPECT_EQ(canvas_.CurrentRegion(), 1);
}

TEST_F(MakeupTest, StrokesPaintAndUndoInOneStep) {
  canvas_.SetMode(TCanvasMode::cmPencil);
  canvas_.SetColor(Rgb(0, 0, 255));
  Press(20, 40);
  Move(60, 40);
  Move(60, 80);
  Release(60, 80);
  EXPECT_FALSE(canvas_.Drawing());
  EXPECT_EQ(Pixel(40, 40), Rgb(0, 0, 255));
  EXPECT_EQ(Pixel(60, 60), Rgb(0, 0, 255));
  model_.Undo();
  EXPECT_EQ(Pixel(40, 40), kSkin);

  canvas_.SetMode(TCanvasMode::cmAirbrush);
  canvas_.SetBrushSize(15);
  canvas_.SetBrushIntensity(100);
  canvas_.SetColor(Rgb(0, 200, 0));
  // A move to the pressed point may be dropped as no move at all, so the
  // stroke steps off and back.
  Press(100, 100);
  Move(101, 100);
  Move(100, 100);
  Release(100, 100);
  EXPECT_EQ(Pixel(100, 100), Rgb(0, 200, 0));
  EXPECT_EQ(Pixel(100, 120), kSkin);
}

TEST_F(MakeupTest, AStrokeKeepsThePenOfItsPressAndPaintsOnlyInPaintingModes) {
  canvas_.SetMode(TCanvasMode::cmPencil);
  canvas_.SetColor(Rgb(0, 0, 255));
  Press(20, 40);
  canvas_.SetColor(Rgb(255, 0, 0));  // takes effect at the next press
  Move(60, 40);
  EXPECT_EQ(Pixel(40, 40), Rgb(0, 0, 255));

  // Leaving the painting modes while the button is held paints nothing more.
  canvas_.SetMode(TCanvasMode::cmNone);
  EXPECT_TRUE(canvas_.Drawing());
  Move(60, 80);
  EXPECT_EQ(Pixel(60, 80), kSkin);
  EXPECT_EQ(Pixel(60, 60), kSkin);
  Release(60, 80);
  EXPECT_FALSE(canvas_.Drawing());
}

// A fast drag, one move far from the press, paints the whole way as a slow
// one would, with the pencil, the airbrush and the face expert's erasers
// (the airbrush in near-white) alike.
TEST_F(MakeupTest, AFastDragPaintsTheWholeWay) {
  const struct {
    TCanvasMode Mode;
    int Size;
    TColor Color;
  } tools[] = {{TCanvasMode::cmPencil, 1, Rgb(0, 0, 255)},
               {TCanvasMode::cmAirbrush, 8, Rgb(0, 200, 0)},
               {TCanvasMode::cmAirbrush, 5, Rgb(254, 255, 255)},
               {TCanvasMode::cmAirbrush, 20, Rgb(254, 255, 255)}};
  for (const auto& tool : tools) {
    ASSERT_TRUE(model_.LoadFace(facePath_));
    canvas_.SetMode(tool.Mode);
    canvas_.SetBrushSize(tool.Size);
    canvas_.SetBrushIntensity(100);
    canvas_.SetColor(tool.Color);
    Press(20, 100);
    Move(95, 130);
    Release(95, 130);
    // Along the line y = 100 + 0.4 (x − 20), every pixel took the colour.
    for (int x = 20; x <= 95; ++x) {
      const int y = 100 + int(std::lround(0.4 * (x - 20)));
      ASSERT_EQ(Pixel(x, y), tool.Color) << "size " << tool.Size << " at " << x << ", " << y;
    }
  }
}

// A click with no move lays exactly one stamp: at intensity 50 the pixel
// under it moves half-way to the colour, once.
TEST_F(MakeupTest, AClickLaysOneStamp) {
  canvas_.SetMode(TCanvasMode::cmAirbrush);
  canvas_.SetBrushSize(10);
  canvas_.SetBrushIntensity(50);
  canvas_.SetColor(Rgb(254, 255, 255));
  Click(60, 60);
  EXPECT_EQ(Pixel(60, 60), Rgb(227, 208, 198));  // (200, 160, 140) half-way, halves to even
  EXPECT_EQ(Pixel(60, 70), kSkin);
  EXPECT_FALSE(canvas_.Drawing());

  canvas_.SetMode(TCanvasMode::cmPencil);
  canvas_.SetColor(Rgb(0, 0, 255));
  Click(30, 30);
  EXPECT_EQ(Pixel(30, 30), Rgb(0, 0, 255));
  EXPECT_EQ(Pixel(31, 30), kSkin);
  model_.Undo();
  EXPECT_EQ(Pixel(30, 30), kSkin);
  EXPECT_EQ(Pixel(60, 60), Rgb(227, 208, 198));
}

TEST_F(MakeupTest, ZoomFactorDrivesTheViewZoom) {
  canvas_.SetZoomFactor(3);
  EXPECT_EQ(canvas_.Zoom(), 300);
  canvas_.SetZoomFactor(0);
  EXPECT_EQ(canvas_.ZoomFactor(), 1);
  EXPECT_EQ(canvas_.Zoom(), 100);
}

}  // namespace
}  // namespace glamora
