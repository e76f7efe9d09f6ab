// The thumbnail view: layout, cell drawing, selection and its deletion rules,
// mouse and keys, scrolling, the loader with its placeholders and remembered
// failures, and that only what is on screen (plus the selection) holds
// picture data.
#include "imaging/ImgThumbView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <string>
#include <vector>

#include "codecs/Jpeg.h"
#include "imaging/components/ImgIO.h"
#include "imaging/QtBitmap.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

constexpr TColor kBack = Rgb(250, 250, 250);
constexpr TColor kRed = Rgb(220, 20, 30);
constexpr TColor kBlue = Rgb(20, 40, 210);
constexpr TColor kFrame = Rgb(0, 200, 0);

// Left half red, right half blue, so placement and orientation both show.
Bitmap TwoColour(int width, int height) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, x < width / 2 ? kRed : kBlue);
  }
  return b;
}

std::vector<uint8_t> JpegBytes(const Bitmap& picture) {
  TImgIOParams params;
  params.JpegQuality = 95;
  MemoryStream bytes;
  EXPECT_EQ(codec::EncodeJpeg(picture, params, ProgressRecord{}, bytes), PictureStatus::Ok);
  return bytes.Bytes();
}

void SaveJpeg(const std::string& path, const Bitmap& picture) { test::WriteAll(path, JpegBytes(picture)); }

void SaveBmp(const std::string& path, Bitmap picture) {
  TImgIO io;
  io.SetBitmap(&picture);
  ASSERT_TRUE(io.SaveToFile(path));
}

bool Near(TColor a, TColor b, int tolerance = 24) {
  return std::abs(RedOf(a) - RedOf(b)) <= tolerance && std::abs(GreenOf(a) - GreenOf(b)) <= tolerance &&
         std::abs(BlueOf(a) - BlueOf(b)) <= tolerance;
}

TColor At(const QImage& image, int x, int y) { return FromQColor(image.pixelColor(x, y)); }

// Runs the event loop until the view's loader has nothing left to do.
[[nodiscard]] bool Settle(TImgThumbView& view) {
  return QTest::qWaitFor([&] { return !view.LoadingPending(); }, 5000);
}

// A view laid out like the hairstyle catalogue, without a border so client
// and widget coordinates agree.
struct Catalogue {
  explicit Catalogue(int width = 170, int height = 300) {
    view.SetBorderStyle(bsNone);
    view.SetBackground(kBack);
    view.SetThumbWidth(50);
    view.SetThumbHeight(70);
    view.SetHorizBorder(3);
    view.SetVertBorder(3);
    view.SetGridWidth(3);
    view.SetSelectionColor(kFrame);
    view.resize(width, height);
    view.OnImageSelect = [this](QObject*, int idx) { selections.push_back(idx); };
  }
  void Fill(int count, const std::string& file = std::string()) {
    for (int i = 0; i < count; ++i) {
      const int index = view.AppendImage();
      view.SetImageFileName(index, file);
    }
  }
  QImage Grab() { return view.grab().toImage(); }
  QImage SettledGrab() {
    EXPECT_TRUE(Settle(view));
    return Grab();
  }

  TImgThumbView view;
  std::vector<int> selections;
};

// ---------------------------------------------------------------- layout

TEST(ThumbViewLayout, PlacesItemsByGridWidth) {
  struct Case {
    int gridWidth;
    int clientWidth;
    int x, y, row, column;  // of item 4
    int virtualWidth, virtualHeight;
  };
  // Borders 3, cells 50 × 70: a pitch of 53 across and 73 down.
  const Case cases[] = {
      {3, 170, 56, 76, 1, 1, 162, 149},
      {-1, 170, 56, 76, 1, 1, 162, 149},  // (170 - 3) div 53 = 3 columns
      {-1, 230, 3, 76, 1, 0, 215, 149},   // 4 columns
      {-1, 40, 215, 3, 0, 4, 268, 76},    // narrower than a cell: no column fits, one row
      {0, 170, 215, 3, 0, 4, 268, 76},    // one row
      {1, 170, 3, 295, 4, 0, 56, 368},
  };
  for (const Case& c : cases) {
    Catalogue cat(c.clientWidth, 300);
    cat.view.SetGridWidth(c.gridWidth);
    cat.Fill(5);
    SCOPED_TRACE(testing::Message() << "grid width " << c.gridWidth << ", client width " << c.clientWidth);
    EXPECT_EQ(cat.view.ImageX(4), c.x);
    EXPECT_EQ(cat.view.ImageY(4), c.y);
    EXPECT_EQ(cat.view.ImageRow(4), c.row);
    EXPECT_EQ(cat.view.ImageColumn(4), c.column);
    EXPECT_EQ(cat.view.VirtualWidth(), c.virtualWidth);
    EXPECT_EQ(cat.view.VirtualHeight(), c.virtualHeight);
  }
}

TEST(ThumbViewLayout, EmptyViewAndSingleMode) {
  Catalogue cat;
  EXPECT_EQ(cat.view.VirtualWidth(), 53);
  EXPECT_EQ(cat.view.VirtualHeight(), 73);
  cat.Fill(4);
  cat.view.SetDisplayMode(mdSingle);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(cat.view.ImageX(i), 3);
    EXPECT_EQ(cat.view.ImageY(i), 3);
  }
}

TEST(ThumbViewLayout, VisibilityOfCells) {
  Catalogue cat(170, 150);  // rows at 3..72 and 76..145 fit, the third starts at 149
  cat.Fill(12);
  EXPECT_EQ(cat.view.ImageVisibility(0), 2);
  EXPECT_EQ(cat.view.ImageVisibility(5), 2);
  EXPECT_EQ(cat.view.ImageVisibility(6), 1);
  EXPECT_EQ(cat.view.ImageVisibility(9), 0);
  cat.view.SetViewY(145);  // the bottom: rows now start at -142, -69, 4 and 77
  EXPECT_EQ(cat.view.ImageVisibility(0), 0);
  EXPECT_EQ(cat.view.ImageVisibility(3), 1);
  EXPECT_EQ(cat.view.ImageVisibility(11), 2);
  EXPECT_EQ(cat.view.ImageVisibility(12), 0);  // no such item
}

// ---------------------------------------------------------------- drawing

TEST(ThumbViewDrawing, FitsPictureIntoCellAboveBottomGap) {
  // A 120 × 160 picture in a 60 × 80 cell with a bottom gap of 40:
  // s = min(40 / 160, 60 / 120) = 0.25, so 30 × 40 at (left + 15, top).
  for (const std::string ext : {".bmp", ".jpg"}) {
    SCOPED_TRACE(ext);
    test::TempFolder folder;
    const std::string file = folder.File("picture" + ext);
    if (ext == ".bmp") {
      SaveBmp(file, TwoColour(120, 160));
    } else {
      SaveJpeg(file, TwoColour(120, 160));
    }
    TImgThumbView view;
    view.SetBorderStyle(bsNone);
    view.SetBackground(kBack);
    view.SetThumbWidth(60);
    view.SetThumbHeight(80);
    view.SetHorizBorder(5);
    view.SetVertBorder(5);
    view.SetBottomGap(40);
    view.SetGridWidth(1);
    view.SetVisibleSelection(false);
    view.resize(100, 120);
    view.SetImageFileName(view.AppendImage(), file);

    ASSERT_TRUE(Settle(view));
    const QImage shot = view.grab().toImage();
    const int left = 5 + 15, top = 5;
    EXPECT_TRUE(Near(At(shot, left, top), kRed));
    EXPECT_TRUE(Near(At(shot, left + 12, top + 39), kRed));
    EXPECT_TRUE(Near(At(shot, left + 17, top), kBlue));
    EXPECT_TRUE(Near(At(shot, left + 29, top + 39), kBlue));
    // The margins around the picture and the gap below it are background.
    EXPECT_EQ(At(shot, left - 1, top), kBack);
    EXPECT_EQ(At(shot, left + 30, top + 20), kBack);
    EXPECT_EQ(At(shot, left, top + 40), kBack);
    EXPECT_EQ(At(shot, 5, 5 + 79), kBack);
    // Held no larger than the cell needs: halved twice, or decoded at 1/4.
    EXPECT_EQ(view.HeldPictureSize(0), QSize(30, 40));
  }
}

TEST(ThumbViewDrawing, JpegScaleKeepsThePictureAtLeastAsLargeAsTheCell) {
  struct Case {
    int width, height;
    QSize fit;
    int denominator;
  };
  const Case cases[] = {
      {228, 314, {50, 68}, 4},  // 57 × 79 at 1/4; 29 × 40 at 1/8 is too small
      {101, 75, {13, 10}, 8},   // 1/8 rounds up to 13 × 10
      {101, 75, {14, 10}, 4},
      {100, 100, {50, 50}, 2},
      {100, 100, {51, 50}, 1},
      {100, 100, {}, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ThumbJpegDenominator(c.width, c.height, c.fit), c.denominator)
        << c.width << " x " << c.height << " into " << c.fit.width() << " x " << c.fit.height();
  }
  EXPECT_EQ(ThumbFitSize(228, 314, 50, 70), QSize(50, 68));
  EXPECT_EQ(ThumbFitSize(120, 160, 60, 40), QSize(30, 40));
  EXPECT_EQ(ThumbFitSize(10, 10, 60, 40), QSize(40, 40));  // small pictures grow
  EXPECT_TRUE(ThumbFitSize(120, 160, 60, 0).isEmpty());
}

TEST(ThumbViewDrawing, HalvePictureAveragesBlocks) {
  Bitmap in(5, 3);  // the odd last column and row are left out
  in.Fill(Rgb(9, 9, 9));
  in.SetPixel(0, 0, Rgb(0, 0, 0));
  in.SetPixel(1, 0, Rgb(10, 20, 30));
  in.SetPixel(0, 1, Rgb(20, 40, 60));
  in.SetPixel(1, 1, Rgb(31, 61, 91));
  Bitmap out;
  ASSERT_TRUE(HalvePicture(in, out));
  EXPECT_EQ(out.Width(), 2);
  EXPECT_EQ(out.Height(), 1);
  EXPECT_EQ(out.Pixel(0, 0), Rgb(15, 30, 45));  // (61 + 2) / 4, (121 + 2) / 4, (181 + 2) / 4
  EXPECT_EQ(out.Pixel(1, 0), Rgb(9, 9, 9));

  Bitmap palette(2, 2, PixelFormat::Bits8);
  palette.Palette() = std::vector<TColor>(256, Rgb(40, 80, 120));
  ASSERT_TRUE(HalvePicture(palette, out));
  EXPECT_EQ(out.Format(), PixelFormat::Bits24);
  EXPECT_EQ(out.Pixel(0, 0), Rgb(40, 80, 120));

  Bitmap thin(1, 8);
  EXPECT_FALSE(HalvePicture(thin, out));
}

TEST(ThumbViewDrawing, SelectionFrameAndWindowDrawingOverTheCell) {
  test::TempFolder folder;
  SaveBmp(folder.File("a.bmp"), TwoColour(50, 70));
  Catalogue cat;
  cat.view.SetSelectionWidth(3);
  std::vector<QPoint> corners;
  cat.view.OnImageDraw = [&](QObject*, int idx, int left, int top, QPainter& canvas) {
    corners.emplace_back(left, top);
    canvas.fillRect(left + 1, top + 1, 2, 2, ToQColor(Rgb(1, 2, 3)));
  };
  cat.Fill(2, folder.File("a.bmp"));
  cat.view.SetSelectedImage(1);

  QImage shot = cat.SettledGrab();
  ASSERT_EQ(corners.size(), 2u);
  EXPECT_EQ(corners[1], QPoint(56, 3));
  // What the window drew lies over the picture.
  EXPECT_EQ(At(shot, 57, 4), Rgb(1, 2, 3));
  // Without the focus the frame is one pixel wide, just outside the cell.
  EXPECT_EQ(At(shot, 55, 40), kFrame);
  EXPECT_EQ(At(shot, 106, 40), kFrame);
  EXPECT_EQ(At(shot, 80, 73), kFrame);
  EXPECT_EQ(At(shot, 54, 40), kBack);
  EXPECT_EQ(At(shot, 2, 40), kBack);  // item 0 has no frame

  cat.view.show();
  cat.view.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&cat.view));
  cat.view.setFocus();
  ASSERT_TRUE(cat.view.hasFocus());
  shot = cat.Grab();
  // With the focus: SelectionWidth nested rectangles.
  for (int x : {53, 54, 55, 106, 107, 108}) EXPECT_EQ(At(shot, x, 40), kFrame) << x;
  EXPECT_EQ(At(shot, 109, 40), kBack);
  EXPECT_TRUE(Near(At(shot, 52, 40), kBlue));  // item 0's right edge is untouched
}

TEST(ThumbViewDrawing, ReportsDrawProgressPerItem) {
  Catalogue cat;
  std::vector<std::pair<int, int>> calls;
  cat.view.OnDrawProgress = [&](QObject*, int per, int idx) { calls.emplace_back(per, idx); };
  cat.Fill(3);
  cat.Grab();
  const std::vector<std::pair<int, int>> expected = {{0, 0}, {33, 1}, {66, 2}, {100, 0}};
  EXPECT_EQ(calls, expected);
}

// ---------------------------------------------------------------- selection

TEST(ThumbViewSelection, AppendSelectsAndSetSelectedImageAlwaysReports) {
  Catalogue cat;
  EXPECT_EQ(cat.view.SelectedImage(), -1);
  EXPECT_EQ(cat.view.AppendImage(), 0);
  EXPECT_EQ(cat.view.SelectedImage(), 0);
  cat.Fill(2);
  cat.view.SetSelectedImage(1);
  cat.view.SetSelectedImage(5);
  cat.view.SetSelectedImage(-1);
  EXPECT_EQ(cat.view.SelectedImage(), 1);
  EXPECT_EQ(cat.selections, (std::vector<int>{1, 1, 1}));

  Catalogue empty;
  empty.view.SetSelectedImage(0);
  EXPECT_EQ(empty.selections, std::vector<int>{-1});
}

// Playing shows one frame at a time, each for its delay, round and round;
// nothing selects meanwhile, and stopping returns to the grid.
TEST(ThumbViewFrames, PlayingStepsThroughTheFramesByTheirDelays) {
  Catalogue cat;
  cat.Fill(3);
  for (int i = 0; i < 3; ++i) cat.view.SetImage(i, TwoColour(20, 20));
  cat.view.SetImageDelay(0, 0);
  cat.view.SetImageDelay(1, 60'000);
  cat.view.SetImageDelay(2, 20);
  cat.view.SetSelectedImage(2);
  cat.selections.clear();

  cat.view.Play();
  EXPECT_TRUE(cat.view.Playing());
  EXPECT_EQ(cat.view.DisplayMode(), mdSingle);
  // From the last frame the play goes round to the first, shown for the
  // shortest delay allowed (its own is 0), and then holds on the long second.
  ASSERT_TRUE(QTest::qWaitFor([&] { return cat.view.SelectedImage() == 1; }, 5000));
  QTest::qWait(50);
  EXPECT_EQ(cat.view.SelectedImage(), 1);
  cat.view.SetSelectedImage(2);
  cat.view.MoveSelection(ThumbMove::First);
  EXPECT_EQ(cat.view.SelectedImage(), 1);
  EXPECT_TRUE(cat.selections.empty());

  cat.view.Stop();
  EXPECT_FALSE(cat.view.Playing());
  EXPECT_EQ(cat.view.DisplayMode(), mdGrid);
  cat.view.SetSelectedImage(0);
  EXPECT_EQ(cat.selections, std::vector<int>{0});

  Catalogue empty;
  empty.view.Play();
  EXPECT_FALSE(empty.view.Playing());
}

TEST(ThumbViewSelection, DeleteImageMovesTheSelectionWithoutReporting) {
  struct Case {
    int count, selected, deleted;
    int expected;      // the new selection
    int wasSelected;   // which item, by its index before the deletion
  };
  const Case cases[] = {
      {3, 2, 2, 1, 1},     // the selected last item: the new last
      {1, 0, 0, -1, -1},   // the only item
      {4, 2, 0, 1, 2},     // before the selection: it shifts
      {4, 1, 3, 1, 1},     // after the selection: it stays
      {4, 1, 1, 1, 2},     // the selected middle item: the one that took its place
      {3, 1, 7, 1, 1},     // out of range: nothing
      {3, 1, -1, 1, 1},
  };
  for (const Case& c : cases) {
    Catalogue cat;
    for (int i = 0; i < c.count; ++i) cat.view.SetImageFileName(cat.view.AppendImage(), std::to_string(i));
    cat.view.SetSelectedImage(c.selected);
    cat.selections.clear();
    cat.view.DeleteImage(c.deleted);
    SCOPED_TRACE(testing::Message() << c.count << " items, selected " << c.selected << ", deleted " << c.deleted);
    EXPECT_EQ(cat.view.SelectedImage(), c.expected);
    EXPECT_TRUE(cat.selections.empty());
    if (c.expected >= 0) {
      EXPECT_EQ(cat.view.GetImageFileName(c.expected), std::to_string(c.wasSelected));
    }
  }
}

TEST(ThumbViewSelection, FileNamesAndDeleteAll) {
  Catalogue cat;
  cat.view.SetImageFileName(0, "ignored");
  cat.view.SetImageFileName(cat.view.AppendImage(), "a.jpg");
  cat.view.SetImageFileName(cat.view.AppendImage(), "b.jpg");
  cat.view.InsertImage(1);
  EXPECT_EQ(cat.view.ImageCount(), 3);
  EXPECT_EQ(cat.view.SelectedImage(), 1);
  EXPECT_EQ(cat.view.GetImageFileName(0), "a.jpg");
  EXPECT_EQ(cat.view.GetImageFileName(1), "");
  EXPECT_EQ(cat.view.GetImageFileName(2), "b.jpg");
  EXPECT_EQ(cat.view.GetImageFileName(3), "");
  EXPECT_EQ(cat.view.GetImageFileName(-1), "");
  cat.view.DeleteAllImages();
  EXPECT_EQ(cat.view.ImageCount(), 0);
  EXPECT_EQ(cat.view.SelectedImage(), -1);
}

TEST(ThumbViewSelection, SelectedItemIsHeldExpandedForAttachedComponents) {
  test::TempFolder folder;
  SaveBmp(folder.File("a.bmp"), TwoColour(50, 70));
  Catalogue cat;
  TImgIO io;
  io.SetAttachedImgView(&cat.view);
  cat.Fill(3, folder.File("a.bmp"));
  EXPECT_EQ(cat.view.Bitmap(), nullptr);  // the last item was selected before it had a file
  cat.view.SetSelectedImage(1);
  ASSERT_NE(cat.view.Bitmap(), nullptr);
  EXPECT_EQ(io.CurrentBitmap(), cat.view.Bitmap());
  EXPECT_EQ(cat.view.Bitmap()->Width(), 50);

  // A load through the attached component lands in the selected item.
  SaveBmp(folder.File("b.bmp"), TwoColour(8, 6));
  ASSERT_TRUE(io.LoadFromFile(folder.File("b.bmp")));
  EXPECT_EQ(cat.view.HeldPictureSize(1), QSize(8, 6));

  cat.view.DeleteAllImages();
  EXPECT_EQ(io.CurrentBitmap(), nullptr);
}

TEST(ThumbViewSelection, InsertingBeforeTheSelectionReleasesTheRightItem) {
  test::TempFolder folder;
  SaveBmp(folder.File("a.bmp"), TwoColour(50, 70));
  Catalogue cat(60, 75);  // shows the first cell only
  cat.view.SetGridWidth(1);
  cat.Fill(3, folder.File("a.bmp"));
  cat.view.SetSelectedImage(2);
  cat.Grab();
  EXPECT_TRUE(cat.view.HoldsPicture(2));
  cat.view.InsertImage(0);  // the former selection is now item 3, out of sight
  ASSERT_TRUE(Settle(cat.view));
  EXPECT_EQ(cat.view.SelectedImage(), 0);
  EXPECT_FALSE(cat.view.HoldsPicture(3));
}

TEST(ThumbViewSelection, GrowingCellsReadReducedPicturesAgain) {
  test::TempFolder folder;
  SaveJpeg(folder.File("a.jpg"), TwoColour(228, 314));
  Catalogue cat;
  cat.Fill(2, folder.File("a.jpg"));
  cat.view.SetSelectedImage(0);
  EXPECT_EQ(cat.view.HeldPictureSize(0), QSize(57, 79));
  glamora::Bitmap* held = cat.view.Bitmap();
  cat.view.SetThumbWidth(120);
  cat.view.SetThumbHeight(170);  // fit 120 × 165: half size (114 × 157) is too small
  EXPECT_EQ(cat.view.HeldPictureSize(0), QSize(228, 314));
  EXPECT_EQ(cat.view.Bitmap(), held);
}

// ---------------------------------------------------------------- mouse

TEST(ThumbViewMouse, ReleaseSelectsTheCellUnderThePoint) {
  struct Case {
    QPoint point;
    int expected;  // -1: nothing selected, no report
  };
  const Case cases[] = {
      {{56, 3}, 1},      // top-left pixel of item 1
      {{105, 73}, 1},    // the row just below the cell
      {{56, 74}, -1},    // two rows below: the border
      {{106, 20}, -1},   // one column right of the cell
      {{3, 76}, 3},
  };
  for (const Case& c : cases) {
    Catalogue cat;
    cat.view.SetMouseInteract({mmiScroll, mmiSelect});
    cat.Fill(6);
    cat.selections.clear();
    cat.view.show();
    QTest::mouseClick(&cat.view, Qt::LeftButton, {}, c.point);
    SCOPED_TRACE(testing::Message() << c.point.x() << ", " << c.point.y());
    EXPECT_EQ(cat.view.ImageAtPos(c.point.x(), c.point.y()), c.expected);
    if (c.expected >= 0) {
      EXPECT_EQ(cat.view.SelectedImage(), c.expected);
      EXPECT_EQ(cat.selections, std::vector<int>{c.expected});
    } else {
      EXPECT_EQ(cat.view.SelectedImage(), 5);
      EXPECT_TRUE(cat.selections.empty());
    }
  }
}

TEST(ThumbViewMouse, WithoutSelectModeAClickSelectsNothing) {
  Catalogue cat;
  cat.view.SetMouseInteract(mmiScroll);
  cat.Fill(3);
  cat.selections.clear();
  cat.view.show();
  QTest::mouseClick(&cat.view, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(cat.view.SelectedImage(), 2);
  EXPECT_TRUE(cat.selections.empty());
}

TEST(ThumbViewMouse, DragScrollsFromThePressPosition) {
  Catalogue cat(170, 150);
  cat.view.SetMouseInteract({mmiScroll, mmiSelect});
  cat.Fill(30);  // 10 rows: 733 high
  cat.view.MouseDown(Qt::LeftButton, {}, 50, 140);
  cat.view.MouseMove(Qt::LeftButton, {}, 50, 40);
  EXPECT_EQ(cat.view.ViewY(), 100);
  cat.view.MouseMove(Qt::LeftButton, {}, 50, 100);
  EXPECT_EQ(cat.view.ViewY(), 40);
  cat.view.MouseMove(Qt::NoButton, {}, 50, 0);  // no button held: no scroll
  EXPECT_EQ(cat.view.ViewY(), 40);
  cat.view.MouseUp(Qt::LeftButton, {}, 50, 60);
  // The release selects what lies under the point (virtual y 100: row 1),
  // then scrolls once more.
  EXPECT_EQ(cat.selections.back(), 3);
  EXPECT_EQ(cat.view.ViewY(), 80);
}

TEST(ThumbViewMouse, PressPassesThroughAndDoubleClickReports) {
  Catalogue cat;
  cat.Fill(3);
  std::vector<Qt::MouseButton> presses;
  int doubleClicks = 0;
  cat.view.OnMouseDown = [&](QObject*, Qt::MouseButton button, Qt::KeyboardModifiers, int, int) {
    presses.push_back(button);
  };
  cat.view.OnDblClick = [&](QObject*) { ++doubleClicks; };
  cat.view.show();
  cat.view.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&cat.view));
  QTest::mouseClick(&cat.view, Qt::RightButton, {}, QPoint(10, 10));
  EXPECT_TRUE(cat.view.hasFocus());
  QTest::mouseDClick(&cat.view, Qt::LeftButton, {}, QPoint(60, 10));
  EXPECT_EQ(doubleClicks, 1);
  ASSERT_FALSE(presses.empty());
  EXPECT_EQ(presses.front(), Qt::RightButton);
}

// ---------------------------------------------------------------- keys

TEST(ThumbViewKeys, NavigationKeysMoveTheSelection) {
  struct Case {
    int from;
    Qt::Key key;
    int expected;
  };
  // 12 items in 3 columns; the client is 159 high, so a page is
  // 3 × ((159 - 3) div 73) = 6 items.
  const Case cases[] = {
      {4, Qt::Key_Right, 5},     {4, Qt::Key_Left, 3},    {0, Qt::Key_Left, 0},
      {4, Qt::Key_Up, 1},        {1, Qt::Key_Up, 0},      {4, Qt::Key_Down, 7},
      {10, Qt::Key_Down, 11},    {11, Qt::Key_Right, 11}, {5, Qt::Key_Home, 0},
      {5, Qt::Key_End, 11},      {0, Qt::Key_PageDown, 6}, {8, Qt::Key_PageUp, 2},
      {4, Qt::Key_PageUp, 4},    {7, Qt::Key_PageDown, 7},
  };
  for (const Case& c : cases) {
    Catalogue cat(170, 159);
    cat.Fill(12);
    cat.view.SetSelectedImage(c.from);
    cat.selections.clear();
    QTest::keyClick(&cat.view, c.key);
    SCOPED_TRACE(testing::Message() << "from " << c.from << " key " << c.key);
    EXPECT_EQ(cat.view.SelectedImage(), c.expected);
    EXPECT_EQ(cat.selections, std::vector<int>{c.expected});
  }
}

TEST(ThumbViewKeys, GridWidthZeroMovesByOneAndEmptyViewIgnoresKeys) {
  Catalogue row;
  row.view.SetGridWidth(0);
  row.Fill(5);
  row.view.SetSelectedImage(2);
  row.view.MoveSelection(ThumbMove::Up);
  EXPECT_EQ(row.view.SelectedImage(), 1);
  row.view.MoveSelection(ThumbMove::Down);
  row.view.MoveSelection(ThumbMove::Down);
  EXPECT_EQ(row.view.SelectedImage(), 3);

  Catalogue empty;
  QTest::keyClick(&empty.view, Qt::Key_Home);
  QTest::keyClick(&empty.view, Qt::Key_End);
  EXPECT_EQ(empty.view.SelectedImage(), -1);
  EXPECT_TRUE(empty.selections.empty());
}

TEST(ThumbViewKeys, StoredCodesAreTheMoves) {
  // Windows keep codes as numbers: 4 is first and 5 last; others do nothing.
  Catalogue cat;
  cat.Fill(6);
  cat.view.SetSelectedImage(2);
  cat.selections.clear();
  cat.view.MoveSelection(4);
  EXPECT_EQ(cat.view.SelectedImage(), 0);
  cat.view.MoveSelection(5);
  EXPECT_EQ(cat.view.SelectedImage(), 5);
  cat.view.MoveSelection(8);
  cat.view.MoveSelection(-1);
  EXPECT_EQ(cat.selections, (std::vector<int>{0, 5}));
  EXPECT_EQ(int(ThumbMove::PageUp), 7);
  EXPECT_EQ(int(ThumbMove::Previous), 0);
}

TEST(ThumbViewKeys, SelectionIsScrolledIntoView) {
  Catalogue cat(170, 159);
  cat.Fill(30);  // rows of 73 from y = 3
  cat.view.SetSelectedImage(0);
  cat.view.MoveSelection(5);  // last item, row 9 at y = 660
  EXPECT_EQ(cat.view.ViewY(), 660 + 70 + 3 - 159);
  EXPECT_EQ(cat.view.ImageVisibility(29), 2);
  cat.view.MoveSelection(7);  // a page of 6 up: item 23, row 7 at y = 514, above the client
  EXPECT_EQ(cat.view.SelectedImage(), 23);
  EXPECT_EQ(cat.view.ViewY(), 514 - 3);
  cat.view.MoveSelection(1);  // item 24 is visible: no scroll
  EXPECT_EQ(cat.view.ViewY(), 511);
  cat.view.MoveSelection(4);
  EXPECT_EQ(cat.view.ViewY(), 0);
}

// A window that previews keys through an event filter and records what
// reaches its own key handler.
class KeyWindow : public QWidget {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) previewed.push_back(static_cast<QKeyEvent*>(event)->key());
    return false;
  }
  std::vector<int> previewed, reached;

 protected:
  void keyPressEvent(QKeyEvent* event) override { reached.push_back(event->key()); }
};

TEST(ThumbViewKeys, WindowPreviewsEveryKeyAndGetsTheOnesTheViewLeaves) {
  KeyWindow window;
  auto* view = new TImgThumbView(&window);
  view->installEventFilter(&window);
  view->SetImageFileName(view->AppendImage(), "a");
  view->SetImageFileName(view->AppendImage(), "b");
  QTest::keyClick(view, Qt::Key_Left);
  QTest::keyClick(view, Qt::Key_Delete);
  EXPECT_EQ(window.previewed, (std::vector<int>{Qt::Key_Left, Qt::Key_Delete}));
  EXPECT_EQ(window.reached, std::vector<int>{Qt::Key_Delete});
  EXPECT_EQ(view->SelectedImage(), 0);
}

// ---------------------------------------------------------------- scrolling

TEST(ThumbViewScrolling, PositionsAreClampedToTheVirtualArea) {
  Catalogue cat(170, 150);
  cat.Fill(30);  // 733 high: the maximum is 583
  struct Case {
    int x, y;
    QPoint expected;
  };
  const Case cases[] = {{0, -5, {0, 0}}, {0, 100000, {0, 583}}, {40, 200, {0, 200}}, {-3, 583, {0, 583}}};
  for (const Case& c : cases) {
    cat.view.SetViewXY(c.x, c.y);
    EXPECT_EQ(QPoint(cat.view.ViewX(), cat.view.ViewY()), c.expected) << c.x << ", " << c.y;
  }
  std::vector<int> changes;
  cat.view.OnViewChange = [&](QObject*, int change) { changes.push_back(change); };
  cat.view.DeleteAllImages();
  EXPECT_EQ(cat.view.ViewY(), 0);
  EXPECT_EQ(changes, std::vector<int>{0});
}

TEST(ThumbViewScrolling, VerticalBarFollowsTheMaximum) {
  Catalogue cat(170, 150);
  cat.view.SetScrollBars(ssVertical);
  cat.view.show();
  cat.Fill(3);
  EXPECT_FALSE(cat.view.VerticalScrollBar()->isVisible());
  cat.Fill(27);
  ASSERT_TRUE(cat.view.VerticalScrollBar()->isVisible());
  EXPECT_FALSE(cat.view.HorizontalScrollBar()->isVisible());
  EXPECT_EQ(cat.view.VerticalScrollBar()->maximum(), cat.view.MaxViewXY().y());
  EXPECT_EQ(cat.view.VerticalScrollBar()->pageStep(), 150);
  cat.view.SetViewY(300);
  EXPECT_EQ(cat.view.VerticalScrollBar()->value(), 300);
  cat.view.VerticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(cat.view.ViewY(), 373);  // one row
}

// ---------------------------------------------------------------- broken files

TEST(ThumbViewLoading, PaintingShowsPlaceholdersAndTheLoaderFillsThem) {
  test::TempFolder folder;
  SaveBmp(folder.File("good.bmp"), TwoColour(50, 70));
  Catalogue cat;
  cat.view.SetVisibleSelection(false);
  cat.Fill(4, folder.File("good.bmp"));  // the selection came before the file name
  EXPECT_EQ(cat.view.HeldPictureCount(), 0);

  // Painting decodes nothing: the cells wait, showing a faint frame inside.
  const QImage waiting = cat.Grab();
  for (int i = 0; i < 4; ++i) EXPECT_EQ(cat.view.ImageState(i), ThumbState::Waiting) << i;
  EXPECT_EQ(cat.view.HeldPictureCount(), 0);
  EXPECT_TRUE(cat.view.LoadingPending());
  EXPECT_NE(At(waiting, 56 + 2, 3 + 20), kBack);  // the frame's left side
  EXPECT_EQ(At(waiting, 56 + 25, 3 + 35), kBack);   // nothing inside it yet

  const QImage loaded = cat.SettledGrab();
  for (int i = 0; i < 4; ++i) EXPECT_EQ(cat.view.ImageState(i), ThumbState::Loaded) << i;
  EXPECT_TRUE(Near(At(loaded, 56 + 10, 3 + 35), kRed));
  EXPECT_TRUE(Near(At(loaded, 56 + 40, 3 + 35), kBlue));
}

TEST(ThumbViewLoading, FailuresAreMarkedAndRememberedUntilTheItemIsRenamed) {
  test::TempFolder folder;
  const std::string bad = folder.File("bad.jpg");
  test::WriteAll(bad, std::string("not a picture at all"));
  SaveBmp(folder.File("good.bmp"), TwoColour(50, 70));
  Catalogue cat;
  cat.view.SetVisibleSelection(false);
  for (const std::string name : {"good.bmp", "bad.jpg", "missing.jpg", "good.bmp"}) {
    cat.view.SetImageFileName(cat.view.AppendImage(), folder.File(name));
  }
  const QImage shot = cat.SettledGrab();
  ASSERT_EQ(cat.view.ImageCount(), 4);
  EXPECT_EQ(cat.view.ImageState(1), ThumbState::Failed);
  EXPECT_EQ(cat.view.ImageState(2), ThumbState::Failed);
  EXPECT_EQ(cat.view.ImageState(3), ThumbState::Loaded);
  EXPECT_FALSE(cat.view.HoldsPicture(1));
  // A red cross in the middle of a failed cell, background around it.
  const TColor middle = At(shot, 56 + 25, 3 + 35);
  EXPECT_GT(RedOf(middle), 150);
  EXPECT_LT(GreenOf(middle), 80);
  EXPECT_EQ(At(shot, 56 + 3, 3 + 3), kBack);

  // The damaged file is not read again, even once it became readable.
  SaveBmp(bad, TwoColour(50, 70));
  cat.view.SetViewY(0);
  cat.view.Update();
  cat.SettledGrab();
  EXPECT_EQ(cat.view.ImageState(1), ThumbState::Failed);
  cat.view.SetSelectedImage(1);  // not even when selected
  EXPECT_EQ(cat.view.Bitmap(), nullptr);
  // A new file name is a new chance.
  cat.view.SetSelectedImage(0);
  cat.view.SetImageFileName(1, bad);
  cat.SettledGrab();
  EXPECT_EQ(cat.view.ImageState(1), ThumbState::Loaded);
}

TEST(ThumbViewLoading, RemoveCorruptedDeletesFailedItemsOutsidePainting) {
  test::TempFolder folder;
  test::WriteAll(folder.File("bad.jpg"), std::string("not a picture at all"));
  SaveBmp(folder.File("good.bmp"), TwoColour(50, 70));
  Catalogue cat;
  for (const std::string name : {"good.bmp", "bad.jpg", "missing.jpg", "good.bmp"}) {
    cat.view.SetImageFileName(cat.view.AppendImage(), folder.File(name));
  }
  cat.view.SetSelectedImage(3);
  cat.view.SetRemoveCorrupted(true);
  cat.Grab();
  EXPECT_EQ(cat.view.ImageCount(), 4);  // painting removes nothing
  cat.SettledGrab();
  ASSERT_EQ(cat.view.ImageCount(), 2);
  EXPECT_EQ(cat.view.GetImageFileName(1), folder.File("good.bmp"));
  EXPECT_EQ(cat.view.SelectedImage(), 1);  // the selection stayed on its item

  // Failures remembered before the setting are removed once it is set.
  Catalogue later;
  later.view.SetImageFileName(later.view.AppendImage(), folder.File("bad.jpg"));
  later.view.SetImageFileName(later.view.AppendImage(), folder.File("good.bmp"));
  later.SettledGrab();
  ASSERT_EQ(later.view.ImageState(0), ThumbState::Failed);
  later.view.SetRemoveCorrupted(true);
  later.SettledGrab();
  ASSERT_EQ(later.view.ImageCount(), 1);
  EXPECT_EQ(later.view.ImageState(0), ThumbState::Loaded);
}

TEST(ThumbViewFiles, OnlyVisibleCellsAndTheSelectionHoldPictures) {
  test::TempFolder folder;
  const std::vector<uint8_t> jpeg = JpegBytes(TwoColour(24, 32));
  constexpr int kCount = 2000;
  Catalogue cat(170, 300);
  cat.view.SetScrollBars(ssVertical);
  for (int i = 0; i < kCount; ++i) {
    const std::string name = folder.File(std::to_string(i) + ".jpg");
    test::WriteAll(name, jpeg);
    cat.view.SetImageFileName(cat.view.AppendImage(), name);
  }
  cat.view.SetSelectedImage(1);

  auto checkHeld = [&] {
    ASSERT_TRUE(Settle(cat.view));
    int expected = 0;
    for (int i = 0; i < kCount; ++i) {
      const bool shown = cat.view.ImageVisibility(i) > 0;
      if (shown || i == 1) ++expected;
      if (cat.view.HoldsPicture(i) != (shown || i == 1)) {
        ADD_FAILURE() << "item " << i << " at view y " << cat.view.ViewY();
        return;
      }
    }
    EXPECT_EQ(cat.view.HeldPictureCount(), expected);
    // Six rows of three at most can meet a client 300 high (tops 73 apart,
    // cells 70 high), plus the selection.
    EXPECT_LE(cat.view.HeldPictureCount(), 19);
  };
  checkHeld();
  const int step = cat.view.ClientHeight();
  for (int y = 0; y <= cat.view.MaxViewXY().y() + step; y += step) {
    cat.view.SetViewY(y);
    cat.SettledGrab();
  }
  EXPECT_EQ(cat.view.ViewY(), cat.view.MaxViewXY().y());
  checkHeld();
  EXPECT_TRUE(cat.view.HoldsPicture(kCount - 1));
  ASSERT_NE(cat.view.Bitmap(), nullptr);
}

}  // namespace
}  // namespace glamora
