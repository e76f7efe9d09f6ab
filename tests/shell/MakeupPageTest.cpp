// The Make-up page: the tool buttons of group 1, the colour box, undo and
// reload, the complexion slider, and outlining with the commit of the header.
#include <QButtonGroup>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "desktop/Panel.h"
#include "face/FaceFile.h"
#include "face/StandardFace.h"
#include "imaging/HsvPicker.h"
#include "imaging/core/Contrast.h"
#include "imaging/core/HslVar.h"
#include "tests/shell/MainWindowFixture.h"
#include "tests/support/FaceFixtures.h"
#include "views/Makeup.h"

namespace glamora::test {
namespace {

namespace fs = std::filesystem;
namespace sf = standard_face;

constexpr const char* kChooseToolFirst = "To select a clolor you have to click one of the make-up buttons";
const TColor kSkin = Rgb(200, 160, 140);

uint8_t Shifted(uint8_t channel, uint8_t colour) { return uint8_t(std::clamp(channel + colour - 50, 0, 255)); }

TColor Coloured(TColor pixel, TColor colour) {
  return Rgb(Shifted(RedOf(pixel), RedOf(colour)), Shifted(GreenOf(pixel), GreenOf(colour)),
             Shifted(BlueOf(pixel), BlueOf(colour)));
}

FaceHeader ReadHeader(const std::string& path) {
  FaceHeader header;
  MemoryStream payload;
  EXPECT_TRUE(ReadFaceFile(path, header, payload));
  return header;
}

class MakeupPageTest : public MainWindowTest {
 protected:
  // The window on a plain face with rectangular regions, Make-up page shown.
  std::unique_ptr<TFormMain> StartOnMakeupPage(const Bitmap& picture, const std::string& name = "Face.mff") {
    facePath_ = Face(name, picture, RectangleRegionsHeader());
    auto form = Start(facePath_);
    Control<QTabWidget>(*form, "PageControl1")->setCurrentWidget(Control<QWidget>(*form, "TabSheetMakeup"));
    return form;
  }

  // Picks a colour in the make-up colour box as the user does and returns it.
  static TColor PickColour(TFormMain& form, QPoint at) {
    QTest::mousePress(Control<THsvPicker>(form, "HsvPickerMakeup"), Qt::LeftButton, {}, at);
    QTest::mouseRelease(Control<THsvPicker>(form, "HsvPickerMakeup"), Qt::LeftButton, {}, at);
    return Control<THsvPicker>(form, "HsvPickerMakeup")->Color();
  }

  static TColor LeftEye(TFormMain& form) { return form.Canvas().Bitmap()->Pixel(sf::kLeftEyeX, sf::kEyeLineY); }
  static TColor RightEye(TFormMain& form) { return form.Canvas().Bitmap()->Pixel(sf::kRightEyeX, sf::kEyeLineY); }
  static TColor Mouth(TFormMain& form) { return form.Canvas().Bitmap()->Pixel(sf::kCentreX, sf::kMouthY); }
  static TColor Cheek(TFormMain& form) { return form.Canvas().Bitmap()->Pixel(40, 240); }

  std::string facePath_;
};

// ---- the tool buttons ----------------------------------------------------------

TEST_F(MakeupPageTest, ToolButtonsCarryTheirTagsAndHints) {
  auto form = StartOnMakeupPage(StandardFacePicture());
  const std::vector<std::tuple<const char*, int, const char*>> tools = {{"bOutline", 11, "Outline make-up regions"},
                                                                        {"bEyes", 21, "Eyes colour selection "},
                                                                        {"bLipstick", 22, "Lipstick colour selection"},
                                                                        {"bLipsLine", 23, "Lips line colour selection"},
                                                                        {"bPencil", 31, "Pencil"},
                                                                        {"bBrushMidle", 32, "Applicator"},
                                                                        {"bBrushBig", 33, "Big brush"}};
  for (const auto& [name, tag, hint] : tools) {
    QToolButton* button = Control<QToolButton>(*form, name);
    EXPECT_EQ(Control<QButtonGroup>(*form, "MakeupButtons")->id(button), tag) << hint;
    EXPECT_EQ(button->property("tag").toInt(), tag) << hint;
    EXPECT_EQ(button->toolTip(), hint);
    EXPECT_TRUE(button->isCheckable()) << hint;
  }
  EXPECT_EQ(Control<QToolButton>(*form, "bUndoMakeup")->toolTip(), "Undo");
  EXPECT_EQ(Control<QToolButton>(*form, "SpeedButton1")->toolTip(), "Reload face");
  EXPECT_EQ(Control<QToolButton>(*form, "bHelpMakeup")->toolTip(), "Make-up Help");
  EXPECT_EQ(Control<TPanel>(*form, "PanelColor")->toolTip(), "Preview selected colour");
  EXPECT_EQ(Control<QSlider>(*form, "TrackBar1")->minimum(), -20);
  EXPECT_EQ(Control<QSlider>(*form, "TrackBar1")->maximum(), 10);
  EXPECT_EQ(Control<QSlider>(*form, "TrackBar1")->value(), 0);
  EXPECT_EQ(Control<QSlider>(*form, "TrackBar1")->tickPosition(), QSlider::TicksBelow);
}

TEST_F(MakeupPageTest, EachToolSetsTheCanvasModeBrushAndCursors) {
  auto form = StartOnMakeupPage(StandardFacePicture());
  // Modes, cursors and colour box feeds by their stored numbers.
  struct Case {
    const char* Button;
    int Mode;
    int BrushSize;  // 0: left as it was
    TCursor Canvas;
    TCursor ColorBox;
    int ColorMode;  // -1: left as it was
  };
  const Case cases[] = {
      {"bEyes", 1, 0, crDefault, 59, 0},     {"bLipstick", 1, 0, crDefault, 56, 0},
      {"bLipsLine", 1, 0, crDefault, 58, 0}, {"bPencil", 6, 0, 51, 51, 1},
      {"bBrushMidle", 5, 8, 53, 53, 1},      {"bBrushBig", 5, 15, 55, 55, 1},
      {"bOutline", 2, 0, 50, crDefault, -1},
  };
  const QButtonGroup* group = Control<QButtonGroup>(*form, "MakeupButtons");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Button);
    QToolButton* button = Control<QToolButton>(*form, c.Button);
    form->Canvas().SetBrushSize(3);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(button->isChecked());
    EXPECT_EQ(int(form->MakeupPage().Tool()), group->id(button));
    EXPECT_EQ(int(form->Canvas().Mode()), c.Mode);
    EXPECT_EQ(form->Canvas().AirBrush().Size(), c.BrushSize ? c.BrushSize : 3);
    EXPECT_EQ(form->Canvas().Cursor(), c.Canvas);
    EXPECT_EQ(form->MakeupPage().ColorBoxCursor(), c.ColorBox);
    if (c.ColorMode >= 0) {
      EXPECT_EQ(int(form->MakeupPage().ColorBoxFeed()), c.ColorMode);
    }
    // Only the button just chosen is down.
    for (QAbstractButton* other : group->buttons()) {
      if (other != button) {
        EXPECT_FALSE(other->isChecked()) << other->objectName().toStdString();
      }
    }
  }
}

TEST_F(MakeupPageTest, ClickingTheDownButtonRaisesItAndTheColourBoxAsksForATool) {
  auto form = StartOnMakeupPage(StandardFacePicture());
  QTest::mouseClick(Control<QToolButton>(*form, "bEyes"), Qt::LeftButton);
  QTest::mouseClick(Control<QToolButton>(*form, "bEyes"), Qt::LeftButton);
  EXPECT_FALSE(Control<QToolButton>(*form, "bEyes")->isChecked());
  EXPECT_EQ(form->MakeupPage().DownMakeupButton(), nullptr);
  EXPECT_EQ(form->MakeupPage().Tool(), TMakeupTool::mkEyes);
  EXPECT_EQ(form->Canvas().Mode(), TCanvasMode::cmNone);

  const TColor panelBefore = Control<TPanel>(*form, "PanelColor")->Color();
  const Bitmap before = *form->Canvas().Bitmap();
  PickColour(*form, {20, 20});
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{kChooseToolFirst});
  EXPECT_EQ(Control<TPanel>(*form, "PanelColor")->Color(), panelBefore);
  EXPECT_TRUE(form->Canvas().Bitmap()->SameContent(before));
}

TEST_F(MakeupPageTest, OutlineButtonDownDoesNotCountAsAMakeupButton) {
  auto form = StartOnMakeupPage(StandardFacePicture());
  QTest::mouseClick(Control<QToolButton>(*form, "bOutline"), Qt::LeftButton);
  PickColour(*form, {20, 20});
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{kChooseToolFirst});
}

// ---- colours ---------------------------------------------------------------------

TEST_F(MakeupPageTest, EachColourBoxChangeReplacesThePreviousColour) {
  auto form = StartOnMakeupPage(StandardFacePicture(kSkin));
  QTest::mouseClick(Control<QToolButton>(*form, "bEyes"), Qt::LeftButton);
  const TColor first = PickColour(*form, {15, 15});
  EXPECT_EQ(LeftEye(*form), Coloured(kSkin, first));
  EXPECT_EQ(RightEye(*form), Coloured(kSkin, first));

  const TColor second = PickColour(*form, {60, 70});
  ASSERT_NE(first, second);
  EXPECT_EQ(LeftEye(*form), Coloured(kSkin, second));
  EXPECT_EQ(RightEye(*form), Coloured(kSkin, second));
  EXPECT_EQ(Mouth(*form), kSkin);
  EXPECT_EQ(Cheek(*form), kSkin);
  EXPECT_EQ(Control<TPanel>(*form, "PanelColor")->Color(), second);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(MakeupPageTest, AnotherToolKeepsTheColourAndUndoReturnsToTheToolChoice) {
  auto form = StartOnMakeupPage(StandardFacePicture(kSkin));
  QTest::mouseClick(Control<QToolButton>(*form, "bEyes"), Qt::LeftButton);
  const TColor eyes = PickColour(*form, {15, 15});
  QTest::mouseClick(Control<QToolButton>(*form, "bLipstick"), Qt::LeftButton);
  const TColor lips = PickColour(*form, {80, 40});
  EXPECT_EQ(LeftEye(*form), Coloured(kSkin, eyes));
  EXPECT_EQ(Mouth(*form), Coloured(kSkin, lips));

  QTest::mouseClick(Control<QToolButton>(*form, "bUndoMakeup"), Qt::LeftButton);
  EXPECT_EQ(LeftEye(*form), Coloured(kSkin, eyes));
  EXPECT_EQ(Mouth(*form), kSkin);
}

TEST_F(MakeupPageTest, BrushToolsTakeTheColourBoxColour) {
  auto form = StartOnMakeupPage(StandardFacePicture(kSkin));
  QTest::mouseClick(Control<QToolButton>(*form, "bPencil"), Qt::LeftButton);
  const Bitmap before = *form->Canvas().Bitmap();
  const TColor colour = PickColour(*form, {30, 50});
  EXPECT_EQ(form->Canvas().PencilColor(), colour);
  EXPECT_TRUE(form->Canvas().Bitmap()->SameContent(before));
}

TEST_F(MakeupPageTest, LipLineColourIsDrawnOnTheLipOutline) {
  auto form = StartOnMakeupPage(StandardFacePicture(kSkin));
  QTest::mouseClick(Control<QToolButton>(*form, "bLipsLine"), Qt::LeftButton);
  const TColor colour = PickColour(*form, {40, 30});
  // Down the middle of the lips: the line crosses the top and bottom edges only.
  const FaceHeader header = RectangleRegionsHeader();
  const FaceRegion& lips = header.Region(3);
  const int top = lips.Points[0].Y, bottom = lips.Points[2].Y;
  std::vector<int> lineRows;
  for (int y = top - 2; y <= bottom + 2; ++y) {
    if (form->Canvas().Bitmap()->Pixel(sf::kCentreX, y) == colour) lineRows.push_back(y);
  }
  ASSERT_EQ(lineRows.size(), 2u);
  EXPECT_LE(std::abs(lineRows[0] - top), 1);
  EXPECT_LE(std::abs(lineRows[1] - bottom), 1);
  EXPECT_EQ(Mouth(*form), kSkin);
  EXPECT_EQ(form->Model().Header().LipLineColor, colour);
}

TEST_F(MakeupPageTest, ReloadDiscardsTheMakeup) {
  auto form = StartOnMakeupPage(StandardFacePicture(kSkin));
  QTest::mouseClick(Control<QToolButton>(*form, "bEyes"), Qt::LeftButton);
  PickColour(*form, {15, 15});
  QTest::mouseClick(Control<QToolButton>(*form, "SpeedButton1"), Qt::LeftButton);
  EXPECT_EQ(LeftEye(*form), kSkin);
}

// ---- complexion ----------------------------------------------------------------

TEST_F(MakeupPageTest, SliderAdjustsFromTheSnapshotWithoutAddingUp) {
  auto form = StartOnMakeupPage(GradientFace());
  const Bitmap snapshot = *form->Canvas().Bitmap();
  const PixelRect all = PixelRect::Of(snapshot);

  Control<QSlider>(*form, "TrackBar1")->setValue(-20);
  Bitmap paler = snapshot;
  HslVar(paler, all, 0, 0, 20);
  EXPECT_TRUE(form->Canvas().Bitmap()->SameContent(paler));

  Control<QSlider>(*form, "TrackBar1")->setValue(10);
  Bitmap contrast = snapshot;
  Contrast(contrast, all, 10);
  EXPECT_TRUE(form->Canvas().Bitmap()->SameContent(contrast));
  EXPECT_FALSE(contrast.SameContent(snapshot));

  Control<QSlider>(*form, "TrackBar1")->setValue(0);
  EXPECT_TRUE(form->Canvas().Bitmap()->SameContent(snapshot));
}

TEST_F(MakeupPageTest, SliderDropsAnUnsnapshottedColourAndRaisesTheTool) {
  auto form = StartOnMakeupPage(StandardFacePicture(kSkin));
  QTest::mouseClick(Control<QToolButton>(*form, "bEyes"), Qt::LeftButton);
  PickColour(*form, {15, 15});
  ASSERT_NE(LeftEye(*form), kSkin);

  Control<QSlider>(*form, "TrackBar1")->setValue(-5);
  EXPECT_EQ(LeftEye(*form), HslVarColor(kSkin, 0, 0, 5));
  EXPECT_FALSE(Control<QToolButton>(*form, "bEyes")->isChecked());
  EXPECT_EQ(form->MakeupPage().Tool(), TMakeupTool::mkEyes);
  EXPECT_EQ(form->MakeupPage().ColorBoxCursor(), crDefault);
}

TEST_F(MakeupPageTest, LoadingTheFaceSetsTheSliderBackToZero) {
  auto form = StartOnMakeupPage(GradientFace());
  const Bitmap face = *form->Canvas().Bitmap();
  Control<QSlider>(*form, "TrackBar1")->setValue(7);
  QTest::mouseClick(Control<QToolButton>(*form, "SpeedButton1"), Qt::LeftButton);
  EXPECT_EQ(Control<QSlider>(*form, "TrackBar1")->value(), 0);
  EXPECT_TRUE(form->Canvas().Bitmap()->SameContent(face));
}

// ---- outlining and the commit of the header ---------------------------------------

TEST_F(MakeupPageTest, OutlineToolZoomsIntoTheMiddleOfTheCleanFace) {
  auto form = StartOnMakeupPage(StandardFacePicture(kSkin));
  QTest::mouseClick(Control<QToolButton>(*form, "bEyes"), Qt::LeftButton);
  PickColour(*form, {15, 15});
  QTest::mouseClick(Control<QToolButton>(*form, "bOutline"), Qt::LeftButton);
  EXPECT_EQ(form->MakeupPage().Tool(), TMakeupTool::mkOutline);
  EXPECT_EQ(form->Canvas().ZoomFactor(), 3);
  EXPECT_EQ(form->Canvas().ViewX(), 150);
  EXPECT_EQ(form->Canvas().ViewY(), 250);
  EXPECT_EQ(form->Canvas().Mode(), TCanvasMode::cmOutline);
  EXPECT_EQ(LeftEye(*form), kSkin);

  // Raising it returns to 100 % but leaves the canvas in outline mode.
  QTest::mouseClick(Control<QToolButton>(*form, "bOutline"), Qt::LeftButton);
  EXPECT_EQ(form->MakeupPage().Tool(), TMakeupTool::mkNone);
  EXPECT_EQ(form->Canvas().ZoomFactor(), 1);
  EXPECT_EQ(form->Canvas().Mode(), TCanvasMode::cmOutline);
  EXPECT_EQ(form->Canvas().Cursor(), crDefault);
}

TEST_F(MakeupPageTest, OutlinedPolygonReachesTheFaceFileInPictureCoordinates) {
  auto form = StartOnMakeupPage(StandardFacePicture(kSkin));
  QTest::mouseClick(Control<QToolButton>(*form, "bOutline"), Qt::LeftButton);
  TMakeup& canvas = form->Canvas();
  ASSERT_EQ(canvas.ViewX(), 150);
  ASSERT_EQ(canvas.ViewY(), 250);

  const std::vector<QPoint> clicks = {{20, 30}, {120, 25}, {130, 110}, {25, 120}};
  QTest::mouseClick(&canvas, Qt::LeftButton, {}, clicks[0]);
  QTest::mouseClick(&canvas, Qt::LeftButton, {}, clicks[1]);
  // Scrolled between clicks: every vertex is converted with the final position.
  canvas.SetViewX(171);
  canvas.SetViewY(262);
  QTest::mouseClick(&canvas, Qt::LeftButton, {}, clicks[2]);
  QTest::mouseClick(&canvas, Qt::LeftButton, {}, clicks[3]);
  QTest::mouseClick(&canvas, Qt::LeftButton, {}, clicks[0] + QPoint(3, -4));  // closes
  EXPECT_FALSE(form->Model().HeaderSaved());

  // Choosing another tool commits the outline into the file.
  QTest::mouseClick(Control<QToolButton>(*form, "bEyes"), Qt::LeftButton);
  EXPECT_TRUE(form->Model().HeaderSaved());
  EXPECT_EQ(canvas.ZoomFactor(), 1);
  const FaceHeader stored = ReadHeader(facePath_);
  // The first click, at (20 + 150, 30 + 250) / 3 in the picture, lies left
  // of the middle and above the mouth: the left eye.
  const FaceRegion& region = stored.Region(1);
  EXPECT_EQ(region.Valid, 1);
  ASSERT_EQ(region.Count, 4);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(region.Points[size_t(i)].X, int(std::nearbyint((clicks[size_t(i)].x() + 171) / 3.0)));
    EXPECT_EQ(region.Points[size_t(i)].Y, int(std::nearbyint((clicks[size_t(i)].y() + 262) / 3.0)));
  }
  EXPECT_EQ(stored.Region(2), RectangleRegionsHeader().Region(2));
  EXPECT_EQ(stored.Region(3), RectangleRegionsHeader().Region(3));
}

TEST_F(MakeupPageTest, HeaderIsWrittenBackOnlyIntoFilesNotNamedExactlyEff) {
  struct Case {
    const char* Name;
    bool Written;
  };
  const Case cases[] = {{"Model.eff", false}, {"Capital.EFF", true}, {"Plain.mff", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto form = StartOnMakeupPage(StandardFacePicture(kSkin), c.Name);
    const std::vector<uint8_t> before = ReadAll(facePath_);
    QTest::mouseClick(Control<QToolButton>(*form, "bOutline"), Qt::LeftButton);
    TMakeup& canvas = form->Canvas();
    for (QPoint p : {QPoint(20, 30), QPoint(120, 30), QPoint(70, 100), QPoint(21, 31)}) {
      QTest::mouseClick(&canvas, Qt::LeftButton, {}, p);
    }
    ASSERT_FALSE(form->Model().HeaderSaved());
    Control<QTabWidget>(*form, "PageControl1")->setCurrentWidget(Control<QWidget>(*form, "TabSheetHairstyles"));
    EXPECT_EQ(ReadAll(facePath_) != before, c.Written);
    EXPECT_EQ(form->Model().HeaderSaved(), c.Written);
    EXPECT_FALSE(Control<QToolButton>(*form, "bOutline")->isChecked());
    EXPECT_EQ(canvas.ZoomFactor(), 1);
    EXPECT_TRUE(messages_.empty());
  }
}

TEST_F(MakeupPageTest, HeaderThatCannotBeWrittenIsReportedAndKeptForTheNextTry) {
  auto form = StartOnMakeupPage(StandardFacePicture(kSkin));
  const std::vector<uint8_t> before = ReadAll(facePath_);
  QTest::mouseClick(Control<QToolButton>(*form, "bOutline"), Qt::LeftButton);
  TMakeup& canvas = form->Canvas();
  for (QPoint p : {QPoint(20, 30), QPoint(120, 30), QPoint(70, 100), QPoint(21, 31)}) {
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, p);
  }
  fs::permissions(facePath_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

  // Leaving the page: the error box, the header still unsaved, and the user
  // stays on the Make-up page.
  Control<QTabWidget>(*form, "PageControl1")->setCurrentWidget(Control<QWidget>(*form, "TabSheetHairstyles"));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].Text.toStdString(), "Cannot open file " + facePath_);
  EXPECT_EQ(messages_[0].Type, TMsgDlgType::mtError);
  EXPECT_FALSE(form->Model().HeaderSaved());
  EXPECT_EQ(ReadAll(facePath_), before);
  EXPECT_EQ(Control<QTabWidget>(*form, "PageControl1")->currentWidget(), Control<QWidget>(*form, "TabSheetMakeup"));
  EXPECT_FALSE(Control<TPanel>(*form, "PanelFrameControls")->isVisible());

  // Raising the outline tool or choosing another tool fails the same way and
  // leaves the outline tool down.
  for (QToolButton* button : {Control<QToolButton>(*form, "bOutline"), Control<QToolButton>(*form, "bEyes")}) {
    SCOPED_TRACE(button->objectName().toStdString());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(messages_.back().Text.toStdString(), "Cannot open file " + facePath_);
    EXPECT_FALSE(form->Model().HeaderSaved());
    EXPECT_TRUE(Control<QToolButton>(*form, "bOutline")->isChecked());
    EXPECT_FALSE(Control<QToolButton>(*form, "bEyes")->isChecked());
    EXPECT_EQ(form->MakeupPage().Tool(), TMakeupTool::mkOutline);
    EXPECT_EQ(canvas.Cursor(), 50);
  }
  EXPECT_EQ(messages_.size(), 3u);

  // Once the file may be written, the next commit stores the outline.
  fs::permissions(facePath_, fs::perms::owner_write, fs::perm_options::add);
  Control<QTabWidget>(*form, "PageControl1")->setCurrentWidget(Control<QWidget>(*form, "TabSheetHairstyles"));
  EXPECT_EQ(messages_.size(), 3u);
  EXPECT_TRUE(form->Model().HeaderSaved());
  EXPECT_NE(ReadAll(facePath_), before);
  EXPECT_TRUE(Control<TPanel>(*form, "PanelFrameControls")->isVisible());
}

}  // namespace
}  // namespace glamora::test
