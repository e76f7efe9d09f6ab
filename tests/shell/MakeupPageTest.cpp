// The Make-up page: the tool buttons of group 1, the colour box, undo and
// reload, the complexion slider, and outlining with the commit of the header.
#include <QButtonGroup>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "desktop/FileFunctions.h"
#include "desktop/Panel.h"
#include "desktop/Settings.h"
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

// ---- outlines that cannot be written back: the way out ------------------------------

class OutlineWayOutTest : public MakeupPageTest {
 protected:
  // Outline mode on, and a new outline of the left eye stored.
  void StoreLeftEye(TFormMain& form) {
    if (!Control<QToolButton>(form, "bOutline")->isChecked()) {
      QTest::mouseClick(Control<QToolButton>(form, "bOutline"), Qt::LeftButton);
    }
    for (QPoint p : {QPoint(20, 30), QPoint(120, 30), QPoint(70, 100), QPoint(21, 31)}) {
      QTest::mouseClick(&form.Canvas(), Qt::LeftButton, {}, p);
    }
    ASSERT_FALSE(form.Model().HeaderSaved());
  }

  void TurnToHairstylePage(TFormMain& form) {
    Control<QTabWidget>(form, "PageControl1")->setCurrentWidget(Control<QWidget>(form, "TabSheetHairstyles"));
  }
  bool OnMakeupPage(TFormMain& form) {
    return Control<QTabWidget>(form, "PageControl1")->currentWidget() == Control<QWidget>(form, "TabSheetMakeup");
  }

  // The save dialog of a new face file answers from `dialogAnswers_` (the
  // empty name when it runs out) and records what it proposed.
  void AnswerSaveDialog(TFormMain& form) {
    form.SetNewFaceDialog([this](const std::string& folder, const std::string& proposed) {
      proposals_.push_back(WithTrailingSeparatorOf(folder) + proposed);
      if (dialogAnswers_.empty()) return std::string();
      const std::string answer = dialogAnswers_.front();
      dialogAnswers_.erase(dialogAnswers_.begin());
      return answer;
    });
  }

  // Message boxes are answered from a list (Cancel when it runs out).
  void Answers(std::vector<TModalResult> answers) { answers_ = std::move(answers); }

  std::vector<TModalResult> answers_;
  ScopedMessageHook scripted_{[this](const MessageRequest& request) {
    messages_.push_back(request);
    if (answers_.empty()) return TModalResult(mrCancel);
    const TModalResult answer = answers_.front();
    answers_.erase(answers_.begin());
    return answer;
  }};
  std::vector<std::string> dialogAnswers_;
  std::vector<std::string> proposals_;
};

TEST_F(OutlineWayOutTest, AFileThatCannotBeWrittenAsksAndCancelGoesOnOutlining) {
  auto form = StartOnMakeupPage(StandardFacePicture(kSkin));
  const std::vector<uint8_t> before = ReadAll(facePath_);
  StoreLeftEye(*form);
  fs::permissions(facePath_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

  // Leaving the page, raising the outline tool, choosing another tool: each
  // asks, and Cancel leaves the user outlining with the outline kept.
  TurnToHairstylePage(*form);
  for (QToolButton* button : {Control<QToolButton>(*form, "bOutline"), Control<QToolButton>(*form, "bEyes")}) {
    QTest::mouseClick(button, Qt::LeftButton);
  }
  ASSERT_EQ(messages_.size(), 3u);
  for (const MessageRequest& question : messages_) {
    EXPECT_NE(question.Text.toStdString().find("Cannot open file " + facePath_), std::string::npos);
    EXPECT_EQ(question.Type, TMsgDlgType::mtWarning);
    EXPECT_EQ(question.Buttons, mbYes | mbNo | mbCancel);
    // Enter leads to the save dialog: a hasty key loses nothing.
    EXPECT_EQ(DefaultButtonOf(question), mbYes);
  }
  EXPECT_FALSE(form->Model().HeaderSaved());
  EXPECT_EQ(ReadAll(facePath_), before);
  EXPECT_TRUE(OnMakeupPage(*form));
  EXPECT_FALSE(Control<TPanel>(*form, "PanelFrameControls")->isVisible());
  EXPECT_TRUE(Control<QToolButton>(*form, "bOutline")->isChecked());
  EXPECT_FALSE(Control<QToolButton>(*form, "bEyes")->isChecked());
  EXPECT_EQ(form->MakeupPage().Tool(), TMakeupTool::mkOutline);
  EXPECT_EQ(form->Canvas().Cursor(), 50);
  EXPECT_EQ(form->Canvas().ZoomFactor(), 3);

  // Once the file may be written, the next commit stores the outline.
  fs::permissions(facePath_, fs::perms::owner_write, fs::perm_options::add);
  TurnToHairstylePage(*form);
  EXPECT_EQ(messages_.size(), 3u);
  EXPECT_TRUE(form->Model().HeaderSaved());
  EXPECT_EQ(ReadHeader(facePath_).Region(1), form->Model().Header().Region(1));
  EXPECT_TRUE(Control<TPanel>(*form, "PanelFrameControls")->isVisible());
}

// How a face file can fail to take the outlines.
enum class Loss { ReadOnly, Deleted, ReplacedByAPicture };

struct LossCase {
  const char* Name;
  Loss How;
};

const LossCase kLosses[] = {
    {"read-only", Loss::ReadOnly}, {"deleted", Loss::Deleted}, {"replaced by a picture", Loss::ReplacedByAPicture}};

// The face file as the loss leaves it (empty when deleted).
std::vector<uint8_t> Lose(const std::string& path, Loss how) {
  switch (how) {
    case Loss::ReadOnly: fs::permissions(path, fs::perms::owner_read | fs::perms::group_read); break;
    case Loss::Deleted: fs::remove(path); return {};
    case Loss::ReplacedByAPicture: {
      // Another file under the face's name, longer than a header: a rewrite
      // would write the header over its start.
      std::vector<uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE0};
      jpeg.resize(5000, 0x5A);
      WriteAll(path, jpeg);
      break;
    }
  }
  return ReadAll(path);
}

TEST_F(OutlineWayOutTest, YesSavesTheFaceWithItsOutlinesAsANewFaceFileThatBecomesTheCurrentFace) {
  for (const LossCase& c : kLosses) {
    SCOPED_TRACE(c.Name);
    messages_.clear();
    proposals_.clear();
    for (const char* name : {"Face.mff", "Face2.mff"}) {
      if (fs::exists(program_.File(std::string("Faces/") + name))) {
        fs::permissions(program_.File(std::string("Faces/") + name), fs::perms::owner_all, fs::perm_options::add);
        fs::remove(program_.File(std::string("Faces/") + name));
      }
    }
    auto form = StartOnMakeupPage(StandardFacePicture(kSkin));
    AnswerSaveDialog(*form);
    StoreLeftEye(*form);
    const FaceHeader outlined = form->Model().Header();
    const std::vector<uint8_t> lost = Lose(facePath_, c.How);

    // The dialog proposes a free name in the faces folder; ".mff" is added to a name typed without it.
    const std::string chosen = program_.File("Faces/Outlined");
    dialogAnswers_ = {chosen};
    Answers({mrYes});
    TurnToHairstylePage(*form);

    ASSERT_EQ(messages_.size(), 1u);
    ASSERT_EQ(proposals_.size(), 1u);
    EXPECT_EQ(proposals_[0], program_.File(c.How == Loss::Deleted ? "Faces/Face.mff" : "Faces/Face2.mff"));
    const std::string saved = chosen + ".mff";
    EXPECT_EQ(form->FaceFileName(), saved);
    EXPECT_EQ(form->windowTitle(), "Glamora - Outlined.mff");
    EXPECT_TRUE(form->Model().HeaderSaved());
    EXPECT_FALSE(OnMakeupPage(*form));
    EXPECT_EQ(form->Canvas().ZoomFactor(), 1);
    // The lost file stays as it was.
    if (c.How != Loss::Deleted) {
      EXPECT_EQ(ReadAll(facePath_), lost);
    }
    EXPECT_EQ(c.How == Loss::Deleted, !fs::exists(facePath_));

    // The new face file holds the picture and the outlines, and takes the
    // outlines that follow.
    Makeover reread;
    ASSERT_TRUE(reread.LoadFace(saved));
    EXPECT_TRUE(reread.Face().SameContent(form->Model().UndoPicture()));
    EXPECT_EQ(reread.Header(), outlined);
    Control<QTabWidget>(*form, "PageControl1")->setCurrentWidget(Control<QWidget>(*form, "TabSheetMakeup"));
    StoreLeftEye(*form);
    TurnToHairstylePage(*form);
    EXPECT_EQ(messages_.size(), 1u);
    EXPECT_EQ(ReadHeader(saved), form->Model().Header());
    form->close();
    EXPECT_EQ(SettingsStore().ReadString("FaceFile"), saved);
    fs::remove(saved);
  }
}

TEST_F(OutlineWayOutTest, NoDiscardsTheOutlinesAndWritesNothing) {
  for (const LossCase& c : kLosses) {
    SCOPED_TRACE(c.Name);
    messages_.clear();
    if (fs::exists(program_.File("Faces/Face.mff"))) {
      fs::permissions(program_.File("Faces/Face.mff"), fs::perms::owner_all, fs::perm_options::add);
    }
    auto form = StartOnMakeupPage(StandardFacePicture(kSkin));
    AnswerSaveDialog(*form);
    StoreLeftEye(*form);
    const std::vector<uint8_t> lost = Lose(facePath_, c.How);
    const std::vector<std::string> facesBefore = [&] {
      std::vector<std::string> names;
      ListFiles(program_.File("Faces"), "*", true, names);
      return names;
    }();

    Answers({mrNo});
    TurnToHairstylePage(*form);
    EXPECT_EQ(messages_.size(), 1u);
    EXPECT_TRUE(proposals_.empty());
    EXPECT_FALSE(OnMakeupPage(*form));
    EXPECT_TRUE(form->Model().HeaderSaved());
    EXPECT_EQ(form->Model().Header(), RectangleRegionsHeader());
    EXPECT_EQ(form->FaceFileName(), facePath_);
    if (c.How != Loss::Deleted) {
      EXPECT_EQ(ReadAll(facePath_), lost);
    }
    std::vector<std::string> facesAfter;
    ListFiles(program_.File("Faces"), "*", true, facesAfter);
    EXPECT_EQ(facesAfter, facesBefore);
  }
}

TEST_F(OutlineWayOutTest, ACancelledSaveDialogAsksAgainAndAFailedSaveIsReported) {
  auto form = StartOnMakeupPage(StandardFacePicture(kSkin));
  AnswerSaveDialog(*form);
  StoreLeftEye(*form);
  Lose(facePath_, Loss::Deleted);
  // Yes, the dialog cancelled; Yes, a name in a folder that does not exist;
  // Cancel: the user goes on outlining.
  dialogAnswers_ = {"", program_.File("Missing/New.mff")};
  Answers({mrYes, mrYes, mrOk, mrCancel});
  TurnToHairstylePage(*form);
  ASSERT_EQ(messages_.size(), 4u);
  EXPECT_EQ(messages_[2].Type, TMsgDlgType::mtError);
  EXPECT_EQ(messages_[0].Text, messages_[1].Text);
  EXPECT_EQ(messages_[0].Text, messages_[3].Text);
  EXPECT_TRUE(OnMakeupPage(*form));
  EXPECT_FALSE(form->Model().HeaderSaved());
  EXPECT_EQ(form->FaceFileName(), facePath_);
}

TEST_F(OutlineWayOutTest, ReloadAndClosingWriteTheOutlinesFirst) {
  auto form = StartOnMakeupPage(StandardFacePicture(kSkin));
  StoreLeftEye(*form);
  QTest::mouseClick(Control<QToolButton>(*form, "SpeedButton1"), Qt::LeftButton);
  EXPECT_TRUE(form->Model().HeaderSaved());
  EXPECT_EQ(ReadHeader(facePath_), form->Model().Header());
  EXPECT_NE(form->Model().Header(), RectangleRegionsHeader());

  FaceRegion lips = RectangleRegionsHeader().Region(3);
  lips.Points[0].X += 2;
  form->Model().StoreRegion(3, lips);
  form->close();
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(ReadHeader(facePath_).Region(3).Points[0].X, lips.Points[0].X);
}

TEST_F(OutlineWayOutTest, ReloadAndClosingOfferTheWayOutAndCancelStays) {
  auto form = StartOnMakeupPage(StandardFacePicture(Rgb(30, 60, 90)));
  StoreLeftEye(*form);
  Lose(facePath_, Loss::Deleted);
  const FaceHeader outlined = form->Model().Header();

  // Reload: Cancel keeps the outlines and the picture; nothing is reloaded.
  Answers({mrCancel});
  QTest::mouseClick(Control<QToolButton>(*form, "SpeedButton1"), Qt::LeftButton);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(form->Model().Header(), outlined);
  EXPECT_FALSE(form->Model().HeaderSaved());

  // Closing: Cancel keeps the program open.
  Answers({mrCancel});
  form->close();
  EXPECT_EQ(messages_.size(), 2u);
  EXPECT_TRUE(form->isVisible());

  // No discards the outlines, and the program closes.
  Answers({mrNo});
  form->close();
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(SettingsStore().ReadString("FaceFile"), facePath_);
}

}  // namespace
}  // namespace glamora::test
