// The face expert window: showing from the Oval shape, the shape button and
// menu, Zoom and its floor, the keys on the hidden edit box, Open, Rotate and
// Undo, the tab lock around both carvings, the erasers and Save with its
// replace question.
#include "experts/FaceExpert.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cstring>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "experts/Rotate.h"
#include "experts/core/Carving.h"
#include "experts/core/FaceShapes.h"
#include "face/FaceFile.h"
#include "face/StandardFace.h"
#include "imaging/Image.h"
#include "imaging/ImgEditor.h"
#include "imaging/components/ImgIO.h"
#include "imaging/core/Rotate.h"
#include "landmarks/FaceFit.h"
#include "landmarks/LandmarkFinder.h"
#include "tests/landmarks/Fixtures.h"
#include "tests/gallery/MessageScript.h"
#include "tests/support/TestSupport.h"
#include "views/FrameBox.h"
#include "views/Makeup.h"

namespace glamora {
namespace {

namespace fs = std::filesystem;
namespace sf = standard_face;
using test::TempFolder;

const TColor kSkin = Rgb(200, 150, 120);

Bitmap Flat(int width, int height, TColor colour = kSkin) {
  Bitmap b(width, height);
  b.Fill(colour);
  return b;
}

Bitmap LoadPicture(const std::string& path) {
  Bitmap b;
  TImgIO io;
  io.SetBitmap(&b);
  EXPECT_TRUE(io.LoadFromFile(path)) << path;
  return b;
}

void SavePicture(Bitmap picture, const std::string& path) {
  TImgIO io;
  io.SetBitmap(&picture);
  ASSERT_TRUE(io.SaveToFile(path)) << path;
}

class FaceExpertTest : public ::testing::Test {
 protected:
  FaceExpertTest() {
    fs::create_directories(program_.File("Faces"));
    fs::copy(test::SourceDir() + "/data/Shapes", program_.File("Shapes"));
    expert_.OpenDialog1 = [this] {
      ++openAsked_;
      return openAnswer_;
    };
    expert_.SaveDialog1 = [this](const std::string& folder) {
      saveFolders_.push_back(folder);
      if (saveNames_.empty()) return std::string();
      std::string name = saveNames_.front();
      saveNames_.pop_front();
      return name;
    };
    expert_.OnHelpContext = [this](int context) { helpContexts_.push_back(context); };
    expert_.OnHelpTopic = [this](const QString& topic) { helpTopics_.push_back(topic.toStdString()); };
  }

  // What the main window does: the current picture, then the window shown
  // (here without a modal loop, so the test can go on).
  void Show(const Bitmap& current = Flat(sf::kWidth, sf::kHeight)) {
    expert_.PrepareWorkPicture(current);
    expert_.show();
  }

  template <class T = QWidget>
  T* Control(const char* name) {
    T* control = expert_.findChild<T*>(name);
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  TImage& Face() { return *Control<TImage>("ImageFace"); }
  TImage& Shape() { return *Control<TImage>("ImageShape"); }
  TFrameBox& Box() { return *Control<TFrameBox>("FrameBoxFormat"); }
  TMakeup& Canvas() { return *Control<TMakeup>("Makeup1"); }
  QTabWidget& Pages() { return *Control<QTabWidget>("PageControl1"); }
  bool ErasingPageShown() { return Pages().currentWidget() == Control("TabSheetMakeup"); }
  QRect FaceRect() { return Face().geometry(); }
  TRect FrameRect() { return Box().Frame.Bounds; }
  void ClickTab(int index) {
    QTabBar* bar = Pages().tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
  }
  void Key(int key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(Control<QLineEdit>("Edit1"), Qt::Key(key), modifiers);
  }
  std::string ShapeFile(int shape) const { return FaceShapeTemplateFile(program_.Path(), shape); }

  TempFolder program_;
  test::MessageScript messages_;
  TFormRotate rotate_;
  TFormFaceExpert expert_{program_.Path(), rotate_};
  int openAsked_ = 0;
  std::string openAnswer_;
  std::deque<std::string> saveNames_;
  std::vector<std::string> saveFolders_;
  std::vector<int> helpContexts_;
  std::vector<std::string> helpTopics_;
};

TEST_F(FaceExpertTest, CreationRegistersTheThreeEraserCursors) {
  const std::pair<TCursor, QPoint> erasers[] = {
      {crEraserSmall, {2, 2}}, {crEraserMedium, {5, 5}}, {crEraserLarge, {10, 10}}};
  for (const auto& [number, hotSpot] : erasers) {
    ASSERT_TRUE(CursorTable::Instance().Contains(number)) << number;
    EXPECT_EQ(CursorTable::Instance().Get(number).hotSpot(), hotSpot) << number;
  }
}

// Every showing starts from Oval: template, check mark, picture, hint and
// index together, so the template on display is the mask's shape.
TEST_F(FaceExpertTest, EachShowingStartsFromOvalOnTheLockedFormattingPage) {
  Show();
  Control<QAction>("Triangle1")->trigger();
  EXPECT_EQ(expert_.ShapeIndex(), 5);
  EXPECT_EQ(Control<QToolButton>("bShape")->toolTip(), "Try face shape");
  expert_.close();
  EXPECT_EQ(expert_.result(), mrCancel) << "the close box answers Cancel";

  Show();
  EXPECT_EQ(expert_.ShapeIndex(), 1);
  EXPECT_TRUE(Control<QAction>("Oval1")->isChecked());
  EXPECT_FALSE(Control<QAction>("Triangle1")->isChecked());
  EXPECT_EQ(Control<QToolButton>("bShape")->toolTip(), "Oval face shape");
  const Bitmap oval = LoadPicture(ShapeFile(1));
  EXPECT_TRUE(Shape().Bitmap()->SameContent(oval));
  EXPECT_TRUE(Shape().Bitmap()->Transparent);
  EXPECT_EQ(Shape().Bitmap()->TransparentColor, oval.Pixel(0, oval.Height() - 1));
  EXPECT_EQ(Shape().geometry(), QRect(133, 33, sf::kWidth, sf::kHeight));
  QWidget* pane = Control("PanePaint");
  EXPECT_EQ(pane->size(), QSize(665, 451));
  EXPECT_TRUE(expert_.rect().contains(QRect(pane->mapTo(&expert_, QPoint(0, 0)), pane->size())))
      << "the whole drawing panel shows";
  EXPECT_TRUE(expert_.FormattingPageShown());
  EXPECT_FALSE(expert_.AllowPageChange());
  EXPECT_EQ(expert_.windowTitle(), "");
  EXPECT_EQ(Canvas().size(), QSize(sf::kWidth, sf::kHeight));
  EXPECT_EQ(expert_.CanvasModel().Face().Width(), sf::kWidth);
  EXPECT_EQ(expert_.CanvasModel().Face().Height(), sf::kHeight);
}

TEST_F(FaceExpertTest, ShapeButtonRunsThroughTheShapesAndBackToOval) {
  Show();
  const int expected[] = {2, 3, 4, 5, 1};
  for (int shape : expected) {
    Control<QToolButton>("bShape")->click();
    EXPECT_EQ(expert_.ShapeIndex(), shape);
    EXPECT_EQ(Control<QToolButton>("bShape")->toolTip().toStdString(), FaceShapeHint(shape));
    EXPECT_TRUE(Shape().Bitmap()->SameContent(LoadPicture(ShapeFile(shape)))) << shape;
    int checked = 0;
    for (const char* item : {"Oval1", "Wide1", "Long1", "Rectangle1", "Triangle1"}) {
      checked += Control<QAction>(item)->isChecked();
    }
    EXPECT_EQ(checked, 1);
  }
}

// A template that is missing, or not of the standard face's size, is as
// one that cannot be read.
TEST_F(FaceExpertTest, MissingOrWrongSizeTemplateIsReportedAndTheShapeStays) {
  Show();
  const struct {
    const char* What;
    int Width, Height;  // 0: no file at all
  } cases[] = {{"missing", 0, 0}, {"1 x 1", 1, 1}, {"512 x 512", 512, 512}, {"a row short", sf::kWidth, sf::kHeight - 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    const size_t shown = messages_.Texts().size();
    fs::remove(ShapeFile(2));
    if (c.Width > 0) SavePicture(Flat(c.Width, c.Height), ShapeFile(2));
    Control<QAction>("Wide1")->trigger();
    ASSERT_EQ(messages_.Texts().size(), shown + 1);
    EXPECT_EQ(messages_.Texts().back(), "Cannot open file " + ShapeFile(2));
    EXPECT_EQ(expert_.ShapeIndex(), 1);
    EXPECT_TRUE(Control<QAction>("Oval1")->isChecked());
    EXPECT_FALSE(Control<QAction>("Wide1")->isChecked());
    EXPECT_EQ(Control<QToolButton>("bShape")->toolTip(), "Oval face shape");
    EXPECT_TRUE(Shape().Bitmap()->SameContent(LoadPicture(ShapeFile(1))));
  }
}

// A mask of another size stops the carving before anything changes.
TEST_F(FaceExpertTest, AWrongSizeMaskStopsCarvingAndChangesNothing) {
  Show(Flat(sf::kWidth, sf::kHeight, Rgb(0, 0, 0)));
  SavePicture(Flat(512, 512), FaceShapeMaskFile(program_.Path(), 1));
  const Bitmap before = expert_.CanvasModel().Face();
  Control<QToolButton>("tbCarveAuto")->click();
  ASSERT_EQ(messages_.Texts().size(), 1u);
  EXPECT_EQ(messages_.Texts()[0], "Cannot open file " + FaceShapeMaskFile(program_.Path(), 1));
  EXPECT_TRUE(expert_.CanvasModel().Face().SameContent(before));
  EXPECT_FALSE(ErasingPageShown());
}

// Zoom moves the right edge left by half the inclusive width, the bottom
// following the proportions, until the right edge would come within 20
// pixels of the left; the bitmap is never touched.
TEST_F(FaceExpertTest, ZoomHalvesTheFrameDownToItsFloor) {
  struct Case {
    int Width, Height;
    std::vector<int> Widths;  // the frame's inclusive width after each Zoom
  };
  const Case cases[] = {{228, 314, {114, 57, 29, 29}}, {45, 62, {23, 23}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Width);
    Show(Flat(c.Width, c.Height));
    const TRect start = FrameRect();
    ASSERT_EQ(start, (TRect{133, 33, 133 + c.Width - 1, 33 + c.Height - 1}));
    for (int width : c.Widths) {
      Control<QToolButton>("bZoomIn")->click();
      const TRect frame = FrameRect();
      EXPECT_EQ(frame.Left, start.Left);
      EXPECT_EQ(frame.Top, start.Top);
      EXPECT_EQ(frame.Right - frame.Left + 1, width);
      EXPECT_EQ(frame.Bottom, frame.Top + int(std::nearbyint((width) / (double(c.Width) / c.Height))));
      EXPECT_EQ(FaceRect(), QRect(frame.Left + 1, frame.Top + 1, width - 2, frame.Bottom - frame.Top - 1));
    }
    EXPECT_EQ(Face().Bitmap()->Width(), c.Width);
    expert_.hide();
  }
}

// The keys reach the frame through the hidden edit box: arrows move, with
// Shift stretch, with Ctrl scale; Ctrl+O opens and F1 asks for help.
TEST_F(FaceExpertTest, KeysOnTheHiddenEditBoxMoveTheFrameOpenAndAskForHelp) {
  Show(Flat(100, 200));
  ASSERT_EQ(FrameRect(), (TRect{133, 33, 232, 232}));
  struct Case {
    int Key;
    Qt::KeyboardModifiers Modifiers;
    TRect Frame;
  };
  const Case cases[] = {
      {Qt::Key_Right, {}, {134, 33, 233, 232}},
      {Qt::Key_Down, {}, {134, 34, 233, 233}},
      {Qt::Key_Right, Qt::ShiftModifier, {133, 34, 234, 233}},
      {Qt::Key_Up, Qt::ShiftModifier, {133, 35, 234, 232}},
      // Scaling keeps the proportions of the picture when it was attached.
      {Qt::Key_Left, Qt::ControlModifier, {132, 34, 235, 242}},
      {Qt::Key_Right, Qt::ControlModifier, {133, 35, 234, 239}},
  };
  for (const Case& c : cases) {
    Key(c.Key, c.Modifiers);
    EXPECT_EQ(FrameRect(), c.Frame) << c.Key << " " << c.Modifiers;
    const TRect f = FrameRect();
    EXPECT_EQ(FaceRect(), QRect(f.Left + 1, f.Top + 1, f.Right - f.Left - 1, f.Bottom - f.Top - 1));
  }
  Key(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(openAsked_, 1);
  Key(Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(openAsked_, 1) << "only Ctrl alone opens";
  Key(Qt::Key_F1);
  Control<QToolButton>("bHelp")->click();
  EXPECT_EQ(helpContexts_, std::vector<int>{9});
  EXPECT_EQ(helpTopics_, std::vector<std::string>{"SHM_contents0006"});
}

// A drag inside the frame moves only the outline while the button is held;
// the picture takes the frame's inside on release. The press gives the
// hidden edit box the keyboard, so the arrows then reach the frame.
TEST_F(FaceExpertTest, MouseDragMovesThePictureOnReleaseAndLeavesTheKeysToTheFrame) {
  Show(Flat(100, 200));
  QWidget* box = &Box();
  Control<QToolButton>("bZoomIn")->setFocus();
  QTest::mousePress(box, Qt::LeftButton, {}, QPoint(150, 100));
  QTest::mouseMove(box, QPoint(170, 130));
  // The grab counts from 1: the frame lands a pixel up and left of the path.
  EXPECT_EQ(FrameRect(), (TRect{152, 62, 251, 261}));
  EXPECT_EQ(FaceRect(), QRect(133, 33, 100, 200)) << "only the outline follows the mouse";
  QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(170, 130));
  EXPECT_EQ(FaceRect(), QRect(153, 63, 98, 198));
  EXPECT_EQ(expert_.focusWidget(), Control("Edit1"));
}

TEST_F(FaceExpertTest, OpenRotateAndUndoWorkOnTheWorkingPicture) {
  TempFolder dir;
  Bitmap photo = Flat(300, 200);
  for (int x = 0; x < 150; ++x) photo.SetPixel(x, 0, Rgb(0, 0, 255));
  SavePicture(photo, dir.File("photo.bmp"));
  test::WriteAll(dir.File("broken.bmp"), std::string("BM not a picture"));
  Show();

  // Cancelling the dialog changes nothing; Open puts the picture at its own
  // size on the template's corner.
  expert_.bOpenClick();
  EXPECT_EQ(expert_.OpenedFileName(), "");
  openAnswer_ = dir.File("photo.bmp");
  expert_.bOpenClick();
  EXPECT_EQ(expert_.OpenedFileName(), dir.File("photo.bmp"));
  EXPECT_TRUE(Face().Bitmap()->SameContent(photo));
  EXPECT_EQ(FaceRect(), QRect(133, 33, 300, 200));
  EXPECT_EQ(FrameRect(), (TRect{133, 33, 432, 232}));

  // Rotating turns the bitmap and keeps the rectangle; the dialog's preview
  // starts from the angle 0.
  Key(Qt::Key_Left);
  const QRect placed = FaceRect();
  QTimer::singleShot(0, &rotate_, [this] {
    EXPECT_EQ(rotate_.Angle(), 0);
    rotate_.SetAngle(90);
    rotate_.BitBtn3->click();
  });
  Control<QToolButton>("bRotate")->click();
  EXPECT_EQ(Face().Bitmap()->Width(), 200);
  EXPECT_EQ(Face().Bitmap()->Height(), 300);
  EXPECT_EQ(Face().Bitmap()->Pixel(0, 299), Rgb(0, 0, 255)) << "counter-clockwise: the top row runs up the left";
  EXPECT_EQ(FaceRect(), placed);

  // Cancel and the angle 0 leave the picture alone.
  const Bitmap turned = *Face().Bitmap();
  QTimer::singleShot(0, &rotate_, [this] {
    rotate_.SetAngle(45);
    rotate_.BitBtn2->click();
  });
  expert_.bRotateClick();
  QTimer::singleShot(0, &rotate_, [this] { rotate_.BitBtn3->click(); });
  expert_.bRotateClick();
  EXPECT_TRUE(Face().Bitmap()->SameContent(turned));

  // Undo reloads the file into the rectangle the picture has now.
  expert_.bUndoClick();
  EXPECT_TRUE(Face().Bitmap()->SameContent(photo));
  EXPECT_EQ(FaceRect(), placed);

  // A file that cannot be read leaves the picture as it was.
  openAnswer_ = dir.File("broken.bmp");
  expert_.bOpenClick();
  EXPECT_TRUE(Face().Bitmap()->SameContent(photo));
  EXPECT_TRUE(messages_.Texts().empty());
}

// Fit automatically with a stand-in finder: the face found on the working
// picture is levelled by the Rotate command's antialiased turn and the
// picture gets the fit's rectangle on the template; no face changes
// nothing; without a finder the button is off.
TEST_F(FaceExpertTest, FitAutomaticallyTurnsAndPlacesThePictureByItsFace) {
  QToolButton& fit = *Control<QToolButton>("bFitAuto");
  EXPECT_EQ(fit.toolTip(), "Fit the face automatically");
  Show();
  EXPECT_FALSE(fit.isEnabled());
  expert_.hide();

  Bitmap photo = Flat(512, 400);
  for (int x = 0; x < 512; ++x) photo.SetPixel(x, 100, Rgb(0, 0, 255));
  // The portrait's face turned 8 degrees clockwise as seen: the right eye lower.
  const FaceLandmarks points = test::Moved(test::AstronautLandmarks(), {256, 200}, -8, 1.0);
  FaceSearch answer;
  answer.Result = FaceSearch::Outcome::NoFace;
  answer.Message = "No face was found in the picture";
  std::thread::id searchedOn;
  bool wholePicture = true;
  expert_.FindFace = [&](const Bitmap& picture) {
    searchedOn = std::this_thread::get_id();
    if (wholePicture) {
      EXPECT_TRUE(picture.SameContent(*Face().Bitmap()));
    }
    return answer;
  };
  Show(photo);
  ASSERT_TRUE(fit.isEnabled());
  const QRect opened = FaceRect();
  fit.click();
  EXPECT_NE(searchedOn, std::this_thread::get_id()) << "the search runs off the user-interface thread";
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"No face was found in the picture"});
  EXPECT_TRUE(Face().Bitmap()->SameContent(photo));
  EXPECT_EQ(FaceRect(), opened);

  answer.Result = FaceSearch::Outcome::Found;
  answer.Points = points;
  fit.click();
  const std::optional<FaceFit> expected = FitToStandardFace(points, 512, 400);
  ASSERT_TRUE(expected);
  EXPECT_EQ(expected->Angle, 11) << "levels the right eye, 8 degrees plus the portrait's own 4 lower";
  Bitmap turned;
  turned.Assign(photo);
  ASSERT_TRUE(Rotate(turned, expected->Angle, true, clWhite));
  EXPECT_TRUE(Face().Bitmap()->SameContent(turned));
  const PixelRect& r = expected->Picture;
  EXPECT_EQ(FaceRect(), QRect(TFormFaceExpert::kTemplateLeft + r.Left, TFormFaceExpert::kTemplateTop + r.Top, r.Width,
                              r.Height));
  EXPECT_EQ(FrameRect(), (TRect{FaceRect().left(), FaceRect().top(), FaceRect().right(), FaceRect().bottom()}));
  EXPECT_EQ(messages_.Texts().size(), 1u);

  // Points that make no face to fit (both eyes on one spot) are said so;
  // a later fit looks under the template first.
  wholePicture = false;
  for (int i = landmark::kLeftEye.First; i < landmark::kInnerLips.First; ++i) {
    if (i < landmark::kOuterLips.First) answer.Points[size_t(i)] = {250, 150};
  }
  const Bitmap before = *Face().Bitmap();
  fit.click();
  EXPECT_EQ(messages_.Texts().back(), kCannotFitMessage);
  EXPECT_TRUE(Face().Bitmap()->SameContent(before));
}

// The erasing page opens only after a carve; carving automatically asks for
// the erasers, whose page stays current when the message closes, while
// other messages bring the formatting page back; a click on the formatting
// tab locks the erasing page again.
TEST_F(FaceExpertTest, ErasingTabOpensAfterACarveAndLocksOnTheFormattingTab) {
  Show();
  ClickTab(1);
  EXPECT_TRUE(expert_.FormattingPageShown());

  expert_.tbCarveAutoClick();
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{kUseErasersMessage});
  EXPECT_TRUE(ErasingPageShown()) << "the message asks for the erasers, which lie on the erasing page";
  EXPECT_TRUE(expert_.AllowPageChange());
  expert_.FormActivate();
  EXPECT_TRUE(expert_.FormattingPageShown());
  ClickTab(1);
  EXPECT_TRUE(ErasingPageShown());
  ClickTab(0);
  EXPECT_TRUE(expert_.FormattingPageShown());
  EXPECT_FALSE(expert_.AllowPageChange());
  ClickTab(1);
  EXPECT_TRUE(expert_.FormattingPageShown());

  // Carving by hand goes to the erasing page at once, without a message.
  expert_.bCutByHandClick();
  EXPECT_TRUE(ErasingPageShown());
  EXPECT_TRUE(expert_.AllowPageChange());
  EXPECT_EQ(messages_.Texts().size(), 1u);
  // Closing from the erasing page leaves the formatting page current.
  {
    test::MessageScript discard({mrNo});
    expert_.bCloseClick();
  }
  EXPECT_TRUE(expert_.FormattingPageShown());
}

// A carved face not yet saved is never thrown away unasked: Close, the
// erasing page's Close and the close box ask whether to save it, Cancel
// (the default) stays, Yes saves as Save does, No discards; with nothing
// carved, or once saved, nothing is asked.
TEST_F(FaceExpertTest, ClosingWithAnUnsavedFaceAsksWhetherToSaveIt) {
  Show();
  {
    test::MessageScript none;
    expert_.bCloseClick();
    EXPECT_TRUE(none.Texts().empty()) << "nothing carved, nothing to lose";
  }
  EXPECT_FALSE(expert_.isVisible());

  Show();
  expert_.tbCarveAutoClick();
  ASSERT_TRUE(expert_.UnsavedFace());
  const std::vector<std::function<void()>> closings = {
      [this] { expert_.bCloseClick(); }, [this] { Control<QToolButton>("ToolButton15")->click(); },
      [this] { expert_.close(); }};
  for (const auto& closing : closings) {
    test::MessageScript cancel({mrCancel});
    closing();
    ASSERT_EQ(cancel.Texts(), std::vector<std::string>{kSaveFaceQuestion});
    EXPECT_EQ(cancel.Shown()[0].Buttons, mbYes | mbNo | mbCancel);
    EXPECT_EQ(DefaultButtonOf(cancel.Shown()[0]), mbCancel) << "Enter keeps the work";
    EXPECT_TRUE(expert_.isVisible());
    EXPECT_TRUE(ErasingPageShown()) << "the carved face stays in front";
  }

  // Yes with the save dialog cancelled keeps the window open and the face unsaved.
  {
    test::MessageScript yes({mrYes});
    expert_.bCloseClick();
  }
  EXPECT_TRUE(expert_.isVisible());
  EXPECT_TRUE(expert_.UnsavedFace());
  // Yes with a name saves and answers OK.
  saveNames_ = {program_.File("Faces/kept")};
  {
    test::MessageScript yes({mrYes});
    expert_.bCloseClick();
    EXPECT_EQ(yes.Texts(), std::vector<std::string>{kSaveFaceQuestion});
  }
  EXPECT_EQ(expert_.result(), mrOk);
  EXPECT_EQ(expert_.SavedFileName, program_.File("Faces/kept.mff"));
  EXPECT_TRUE(fs::is_regular_file(expert_.SavedFileName));
  EXPECT_FALSE(expert_.UnsavedFace());

  // Once saved, closing asks nothing; No discards a new carve.
  Show();
  {
    test::MessageScript none;
    expert_.bCloseClick();
    EXPECT_TRUE(none.Texts().empty());
  }
  Show();
  expert_.bCutByHandClick();
  {
    test::MessageScript no({mrNo});
    expert_.close();
    EXPECT_EQ(no.Texts(), std::vector<std::string>{kSaveFaceQuestion});
  }
  EXPECT_FALSE(expert_.isVisible());
  EXPECT_EQ(expert_.result(), mrCancel);
  EXPECT_EQ(std::distance(fs::directory_iterator(program_.File("Faces")), fs::directory_iterator()), 1)
      << "No writes nothing";
}

TEST_F(FaceExpertTest, WithoutAPictureCarvingByHandOnlyOutlinesTheMask) {
  Show(Bitmap());
  const Bitmap before = expert_.CanvasModel().Face();
  Control<QToolButton>("tbCarveAuto")->click();
  EXPECT_TRUE(expert_.CanvasModel().Face().SameContent(before));
  EXPECT_TRUE(messages_.Texts().empty());

  expert_.bCutByHandClick();
  const Bitmap mask = LoadPicture(FaceShapeMaskFile(program_.Path(), 1));
  EXPECT_TRUE(expert_.CanvasModel().Face().SameContent(mask));
  ASSERT_TRUE(Canvas().Selected());
  // The outline runs round the grey around the seed, whose box reaches the
  // mask's bottom corners.
  EXPECT_EQ(Canvas().SelectionRecord().Left, 0);
  EXPECT_EQ(Canvas().SelectionRecord().Bottom, sf::kHeight - 1);
  EXPECT_TRUE(expert_.FormattingPageShown());
  EXPECT_FALSE(expert_.AllowPageChange());
}

// The photograph moved two pixels right of the template's corner: the two
// columns it leaves are white where the mask keeps the photograph, the
// mask's white is white everywhere, the rest is the photograph; the
// working picture keeps its bitmap resampled to the shown size.
TEST_F(FaceExpertTest, CarvingAutomaticallyTakesThePhotographUnderTheTemplate) {
  Show(Flat(sf::kWidth, sf::kHeight, Rgb(0, 0, 0)));
  Key(Qt::Key_Right);
  ASSERT_EQ(FaceRect(), QRect(135, 34, 226, 312));
  expert_.tbCarveAutoClick();
  EXPECT_EQ(Face().Bitmap()->Width(), 226);
  EXPECT_EQ(Face().Bitmap()->Height(), 312);

  const Bitmap mask = LoadPicture(FaceShapeMaskFile(program_.Path(), 1));
  const TColor grey = mask.Pixel(0, sf::kHeight - 1);
  const Bitmap& face = expert_.CanvasModel().Face();
  int photographed = 0;
  for (int y = 0; y < sf::kHeight; ++y)
    for (int x = 0; x < sf::kWidth; ++x) {
      const bool covered = x >= 2 && y >= 1 && x < 228 && y < 313;
      const TColor expected = mask.Pixel(x, y) != grey ? mask.Pixel(x, y) : covered ? Rgb(0, 0, 0) : clWhite;
      ASSERT_EQ(face.Pixel(x, y), expected) << x << ", " << y;
      photographed += expected == Rgb(0, 0, 0);
    }
  EXPECT_GT(photographed, 20000);
  EXPECT_TRUE(expert_.CanvasModel().UndoPicture().SameContent(face)) << "the carved face is the undo point";
}

TEST_F(FaceExpertTest, ErasersWhitenStepByStepNeverToPureWhiteAndUndoTakesBackAStroke) {
  Show(Flat(sf::kWidth, sf::kHeight, Rgb(0, 0, 0)));
  // Two columns at the left are left white.
  Key(Qt::Key_Right);
  expert_.bCutByHandClick();
  ASSERT_TRUE(ErasingPageShown());
  EXPECT_EQ(Canvas().Cursor(), crEraserMedium);
  EXPECT_EQ(Canvas().AirBrush().Size(), kEraserStartSize);
  const struct {
    const char* Button;
    int Size;
    TCursor Cursor;
  } erasers[] = {{"bBrush1", 5, crEraserSmall}, {"bBrush3", 20, crEraserLarge}, {"bBrush2", 10, crEraserMedium}};
  for (const auto& e : erasers) {
    Control<QToolButton>(e.Button)->click();
    EXPECT_EQ(Canvas().AirBrush().Size(), e.Size) << e.Button;
    EXPECT_EQ(Canvas().Cursor(), e.Cursor) << e.Button;
    EXPECT_EQ(Canvas().Mode(), TCanvasMode::cmAirbrush);
  }
  Control<QToolButton>("bBrush3")->click();

  const Bitmap carved = expert_.CanvasModel().Face();
  const QPoint origin = Canvas().ClientOrigin();
  // A click is a stroke of one stamp.
  auto stroke = [&](QPoint at) {
    QTest::mousePress(&Canvas(), Qt::LeftButton, {}, at + origin);
    QTest::mouseRelease(&Canvas(), Qt::LeftButton, {}, at + origin);
  };
  // On the photograph (black) each stamp moves half-way to the eraser colour.
  stroke({115, 160});
  const TColor once = expert_.CanvasModel().Face().Pixel(115, 160);
  EXPECT_EQ(once, Rgb(127, 128, 128));
  stroke({115, 160});
  const TColor twice = expert_.CanvasModel().Face().Pixel(115, 160);
  EXPECT_EQ(twice, Rgb(190, 192, 192));
  // Where the photograph did not reach (white), the eraser colour itself.
  stroke({0, 100});
  EXPECT_EQ(expert_.CanvasModel().Face().Pixel(1, 100), kEraserColour);

  Control<QToolButton>("ToolButton13")->click();
  Control<QToolButton>("ToolButton13")->click();
  EXPECT_EQ(expert_.CanvasModel().Face().Pixel(115, 160), twice) << "one level: before the last stroke";
  EXPECT_EQ(expert_.CanvasModel().Face().Pixel(1, 100), clWhite);
  EXPECT_FALSE(expert_.CanvasModel().Face().SameContent(carved));
}

TEST_F(FaceExpertTest, SaveAsksAgainOnNoAndAnswersOkWithTheFaceFile) {
  Show();
  expert_.bCutByHandClick();
  ClickTab(1);
  const std::string existing = program_.File("Faces/mine.mff");
  test::WriteAll(existing, std::string("my old face"));
  saveNames_ = {program_.File("Faces/mine.jpg"), program_.File("Faces/mine"), program_.File("Faces/new.face.jpg")};
  {
    test::MessageScript answers({mrNo, mrNo});
    Control<QToolButton>("bSave")->click();
    EXPECT_EQ(answers.Texts(), std::vector<std::string>(2, kReplaceFaceQuestion));
    EXPECT_EQ(answers.Shown()[0].Type, TMsgDlgType::mtWarning);
    EXPECT_EQ(answers.Shown()[0].Buttons, mbYes | mbNo | mbCancel);
    EXPECT_EQ(DefaultButtonOf(answers.Shown()[0]), mbNo) << "Enter never replaces a face";
  }
  EXPECT_EQ(saveFolders_, std::vector<std::string>(3, program_.File("Faces/")));
  EXPECT_EQ(expert_.result(), mrOk);
  EXPECT_EQ(expert_.SavedFileName, program_.File("Faces/new.face.mff"));
  EXPECT_EQ(test::ReadAll(existing).size(), 11u);

  Makeover reopened;
  ASSERT_TRUE(reopened.LoadFace(expert_.SavedFileName));
  EXPECT_EQ(reopened.Face().Width(), sf::kWidth);
  EXPECT_EQ(reopened.Face().Height(), sf::kHeight);
}

TEST_F(FaceExpertTest, CancelAtTheReplaceQuestionOrAFailedWriteKeepTheWindowOpen) {
  Show();
  expert_.bCutByHandClick();
  test::WriteAll(program_.File("Faces/mine.mff"), std::string("my old face"));
  saveNames_ = {program_.File("Faces/mine.bmp")};
  {
    test::MessageScript answers({mrCancel});
    expert_.bSaveClick();
    EXPECT_EQ(answers.Texts(), std::vector<std::string>{kReplaceFaceQuestion});
  }
  EXPECT_TRUE(expert_.isVisible());
  EXPECT_TRUE(expert_.FormattingPageShown()) << "closing the question activates the window";
  EXPECT_TRUE(expert_.AllowPageChange());

  saveNames_ = {program_.File("no such folder/face")};
  Control<QToolButton>("bSave")->click();
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Cannot create file " + program_.File("no such folder/face.mff")});
  EXPECT_TRUE(expert_.isVisible());
  EXPECT_EQ(expert_.SavedFileName, "");
}

// A photograph larger than the drawing panel opens reduced to fit it, its
// proportions kept, under the template; a small one at its own size.
TEST_F(FaceExpertTest, LargePhotographOpensReducedToFitTheDrawingPanel) {
  TempFolder dir;
  SavePicture(Flat(1330, 1000), dir.File("large.bmp"));
  Show();
  openAnswer_ = dir.File("large.bmp");
  expert_.bOpenClick();
  const QWidget& pane = *Face().parentWidget();
  EXPECT_EQ(FaceRect().height(), pane.height());
  EXPECT_NEAR(FaceRect().width(), 1330.0 * pane.height() / 1000, 1);
  EXPECT_TRUE(pane.rect().contains(FaceRect()));
  EXPECT_TRUE(FaceRect().contains(Shape().geometry())) << "the template lies over the photograph";
  EXPECT_EQ(FrameRect(), (TRect{FaceRect().left(), FaceRect().top(), FaceRect().right(), FaceRect().bottom()}));
  EXPECT_EQ(Face().Bitmap()->Width(), 1330) << "only the rectangle is reduced";
}

// A fit that leaves the face shape partly bare or enlarges a small face far
// warns at once, and carving such a placement asks first: No keeps the
// formatting page and the canvas, Yes carves.
TEST_F(FaceExpertTest, UnsoundPlacementsWarnAfterFittingAndAskBeforeCarving) {
  FaceSearch small;
  small.Result = FaceSearch::Outcome::Found;
  small.Points = test::Moved(test::AstronautLandmarks(), {225, 130}, 0, 0.3, 80 - 225, 80 - 130);
  expert_.FindFace = [&](const Bitmap&) { return small; };
  Show(Flat(160, 160));
  Control<QToolButton>("bFitAuto")->click();
  ASSERT_EQ(messages_.Shown().size(), 1u);
  EXPECT_EQ(messages_.Shown()[0].Type, TMsgDlgType::mtWarning);
  EXPECT_NE(messages_.Texts()[0].find("enlarged"), std::string::npos) << messages_.Texts()[0];
  EXPECT_GT(expert_.JudgeWorkPicture().Enlargement, 2.5);

  const Bitmap canvas = expert_.CanvasModel().Face();
  {
    test::MessageScript no({mrNo});
    expert_.tbCarveAutoClick();
    expert_.bCutByHandClick();
    ASSERT_EQ(no.Shown().size(), 2u);
    EXPECT_NE(no.Texts()[0].find(kCarveAnywayQuestion), std::string::npos);
    EXPECT_EQ(DefaultButtonOf(no.Shown()[0]), mbNo);
  }
  EXPECT_TRUE(expert_.CanvasModel().Face().SameContent(canvas));
  EXPECT_TRUE(expert_.FormattingPageShown());
  EXPECT_FALSE(expert_.AllowPageChange());

  // A photograph at its own size that covers the template's top-left part
  // only leaves most of the face shape bare.
  TempFolder dir;
  SavePicture(Flat(100, 100, Rgb(0, 0, 0)), dir.File("small.bmp"));
  openAnswer_ = dir.File("small.bmp");
  expert_.bOpenClick();
  EXPECT_GT(expert_.JudgeWorkPicture().UncoveredShare, 0.5);
  {
    test::MessageScript yes({mrYes});
    expert_.tbCarveAutoClick();
    ASSERT_EQ(yes.Shown().size(), 2u);
    EXPECT_NE(yes.Texts()[0].find("of the face shape uncovered"), std::string::npos) << yes.Texts()[0];
    EXPECT_EQ(yes.Texts()[1], kUseErasersMessage);
  }
  EXPECT_FALSE(expert_.CanvasModel().Face().SameContent(canvas)) << "carved all the same";
  EXPECT_TRUE(ErasingPageShown());

  // A photograph that covers the template is carved without a word.
  Show();
  const size_t shown = messages_.Shown().size();
  {
    test::MessageScript script;
    expert_.tbCarveAutoClick();
    EXPECT_EQ(script.Texts(), std::vector<std::string>{kUseErasersMessage});
  }
  EXPECT_EQ(messages_.Shown().size(), shown);
}

// With the real face finder: a second Fit automatically on a photograph of
// two faces neither turns the picture again nor moves it.
TEST_F(FaceExpertTest, SecondFitOnAPhotographOfTwoFacesChangesNothing) {
  const std::string portrait = GLAMORA_TEST_PORTRAIT;
  if (portrait.empty() || !LandmarkFinder::Built() || !fs::exists(LandmarkFinder::DefaultModelFile())) {
    GTEST_SKIP() << "needs the portrait and the face finder";
  }
  const Bitmap face = LoadPicture(portrait);
  Bitmap half;
  half.Assign(face);
  ASSERT_TRUE(ResampleToShownSize(half, face.Width() / 2, face.Height() / 2));
  Bitmap collage = Flat(face.Width() + half.Width() + 40, face.Height(), clWhite);
  DrawAtCanvasOrigin(half, collage);
  for (int y = 0; y < face.Height(); ++y) {
    std::memcpy(collage.Row(y) + size_t(half.Width() + 40) * 3, face.Row(y), size_t(face.Width()) * 3);
  }
  TempFolder dir;
  SavePicture(collage, dir.File("two.bmp"));
  LandmarkFinder finder;
  expert_.FindFace = [&finder](const Bitmap& picture) { return finder.Find(picture); };
  Show();
  openAnswer_ = dir.File("two.bmp");
  expert_.bOpenClick();
  QToolButton& fit = *Control<QToolButton>("bFitAuto");
  fit.click();
  const Bitmap fitted = *Face().Bitmap();
  const QRect placed = FaceRect();
  ASSERT_NE(placed.width(), collage.Width()) << "the first fit placed the picture";
  fit.click();
  EXPECT_TRUE(Face().Bitmap()->SameContent(fitted)) << "not turned again";
  EXPECT_EQ(FaceRect(), placed);
  EXPECT_TRUE(messages_.Texts().empty());
}

TEST(RotateDialogTest, PreviewFollowsTheAngleAndAntialiasing) {
  TFormRotate rotate;
  Bitmap picture(228, 314);
  for (int y = 0; y < 314; ++y)
    for (int x = 0; x < 228; ++x) picture.SetPixel(x, y, (x / 20 + y / 20) % 2 ? clWhite : Rgb(30, 60, 90));
  rotate.SetAngle(17);
  rotate.PreparePreview(picture);
  EXPECT_EQ(rotate.Angle(), 0);
  const Bitmap& preview = *rotate.ImgEditor1->Bitmap();
  EXPECT_EQ(preview.Width(), 183);
  EXPECT_EQ(preview.Height(), 183 * 314 / 228);

  rotate.SetAngle(90);
  EXPECT_EQ(preview.Width(), 183 * 314 / 228);
  EXPECT_EQ(preview.Height(), 183);
  rotate.SetAngle(30);
  rotate.SetAntialias(true);
  const Bitmap smooth = preview;
  rotate.SetAntialias(false);
  EXPECT_EQ(preview.Width(), smooth.Width());
  EXPECT_FALSE(preview.SameContent(smooth));
  rotate.SetAngle(0);
  EXPECT_EQ(preview.Width(), 183);

  // Enter and Esc both answer Cancel; OK answers OK.
  EXPECT_TRUE(rotate.BitBtn2->isDefault());
  QTimer::singleShot(0, &rotate, [&] { QTest::keyClick(&rotate, Qt::Key_Escape); });
  EXPECT_FALSE(rotate.Ask(picture, nullptr));
  QTimer::singleShot(0, &rotate, [&] { rotate.BitBtn3->click(); });
  EXPECT_TRUE(rotate.Ask(picture, nullptr));
}

}  // namespace
}  // namespace glamora
