// The main window's face expert and "Graphic File" commands: the expert
// starts on the current picture or on a chosen photograph; OK makes the new
// face current on the Make-up page with outlining started, Cancel changes
// nothing. End to end with a real portrait: photograph, carve, save, make up.
#include <QAction>
#include <QTest>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <memory>

#include "experts/FaceExpert.h"
#include "face/FaceFile.h"
#include "face/RegionColouring.h"
#include "imaging/core/Stream.h"
#include "landmarks/LandmarkFinder.h"
#include "tests/landmarks/Fixtures.h"
#include "experts/Rotate.h"
#include "imaging/Image.h"
#include "tests/shell/MainWindowFixture.h"
#include "tests/support/FaceFixtures.h"
#include "views/FrameBox.h"
#include "views/Makeup.h"

namespace glamora::test {
namespace {

namespace fs = std::filesystem;

class FaceExpertCommandTest : public MainWindowTest {
 protected:
  // The main window on a plain face, with the expert and its rotation
  // dialog handed over as the program entry does.
  std::unique_ptr<TFormMain> StartWithExpert() {
    fs::copy(SourceDir() + "/data/Shapes", program_.File("Shapes"));
    const std::string face = Face("Plain.mff", StandardFacePicture(Rgb(150, 120, 100)), RectangleRegionsHeader());
    auto form = Start(face);
    rotate_ = std::make_unique<TFormRotate>();
    expert_ = std::make_unique<TFormFaceExpert>(program_.Path(), *rotate_);
    expert_->SaveDialog1 = [this](const std::string& folder) {
      saveFolder_ = folder;
      return program_.File("Faces/" + saveName_);
    };
    form->SetOtherWindows({.FormFaceExpert = expert_.get()});
    return form;
  }

  // What the user does inside the modal expert once it is shown.
  void WhenShown(std::function<void()> act) {
    QTimer::singleShot(0, expert_.get(), [this, act] {
      shown_ = expert_->isVisible();
      act();
      // Whatever happened, the modal loop must end, discarding an unsaved face.
      if (expert_->isVisible()) {
        answer_ = mrNo;
        expert_->done(mrCancel);
      }
    });
  }

  bool OnMakeupPage(TFormMain& form) {
    return Control<QTabWidget>(form, "PageControl1")->currentWidget() == form.MakeupPage().Sheet();
  }

  ~FaceExpertCommandTest() override {
    expert_.reset();
    rotate_.reset();
  }

  std::unique_ptr<TFormRotate> rotate_;
  std::unique_ptr<TFormFaceExpert> expert_;
  std::string saveName_ = "Mine.jpg";
  std::string saveFolder_;
  bool shown_ = false;
};

TEST_F(FaceExpertCommandTest, OkMakesTheNewFaceCurrentOnTheMakeupPageWithOutliningStarted) {
  auto form = StartWithExpert();
  const Bitmap current = form->Model().Face();
  ASSERT_TRUE(Control<QToolButton>(*form, "tbFaceExpert")->isEnabled());
  WhenShown([&] {
    // The expert works on the main window's picture.
    EXPECT_TRUE(expert_->findChild<TImage*>("ImageFace")->Bitmap()->SameContent(current));
    expert_->tbCarveAutoClick();
    expert_->bSaveClick();
  });
  Control<QToolButton>(*form, "tbFaceExpert")->click();
  EXPECT_TRUE(shown_);

  const std::string saved = program_.File("Faces/Mine.mff");
  EXPECT_EQ(saveFolder_, program_.File("Faces/"));
  EXPECT_EQ(form->FaceFileName(), saved);
  EXPECT_EQ(form->windowTitle(), "Glamora - Mine.mff");
  EXPECT_TRUE(OnMakeupPage(*form));
  EXPECT_TRUE(Control<QToolButton>(*form, "bOutline")->isChecked());
  EXPECT_EQ(form->MakeupPage().Tool(), TMakeupTool::mkOutline);
  EXPECT_EQ(form->Canvas().Mode(), TCanvasMode::cmOutline);
  EXPECT_EQ(form->Canvas().ZoomFactor(), 3);
  EXPECT_FALSE(Control<THairView>(*form, "ImageHair")->isVisible());
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{kUseErasersMessage, "Outline the make-up regions!"}));
}

// With a face finder, the regions its landmarks propose for the new face
// are written into the face file when outlining starts, shown over the face,
// and the message asks to check them; without a face the message is the
// plain request to outline.
TEST_F(FaceExpertCommandTest, OkProposesTheRegionsOfTheNewFaceBeforeOutlining) {
  const struct {
    const char* Name;
    FaceSearch::Outcome Result;
    const char* Message;
  } cases[] = {{"a face", FaceSearch::Outcome::Found, kCheckProposedRegions},
               {"no face", FaceSearch::Outcome::NoFace, "Outline the make-up regions!"}};
  auto form = StartWithExpert();
  FaceSearch answer;
  answer.Points = Moved(AstronautLandmarks(), {0, 0}, 0, 1.23, -163, 26);
  form->SetFaceFinder([&](const Bitmap&) { return answer; });
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    messages_.clear();
    answer.Result = c.Result;
    saveName_ = std::string(c.Name) + ".mff";
    WhenShown([&] {
      expert_->tbCarveAutoClick();
      expert_->bSaveClick();
    });
    Control<QToolButton>(*form, "tbFaceExpert")->click();

    const std::string saved = program_.File("Faces/" + saveName_);
    ASSERT_EQ(form->FaceFileName(), saved);
    EXPECT_EQ(form->MakeupPage().Tool(), TMakeupTool::mkOutline);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{kUseErasersMessage, c.Message}));
    FaceHeader onDisk;
    MemoryStream payload;
    ASSERT_TRUE(ReadFaceFile(saved, onDisk, payload));
    EXPECT_EQ(onDisk, form->Model().Header());
    const bool found = c.Result == FaceSearch::Outcome::Found;
    // A header of noise only rarely holds a count a polygon can have.
    if (found) {
      for (int region : {1, 2, 3}) EXPECT_TRUE(onDisk.Region(region).IsOutlined()) << region;
    }
    EXPECT_EQ(form->Canvas().RegionOutlines().empty(), !found);
  }
}

TEST_F(FaceExpertCommandTest, CancelChangesNeitherFacePageNorCaption) {
  auto form = StartWithExpert();
  const std::string face = form->FaceFileName();
  const QString caption = form->windowTitle();
  const Bitmap picture = form->Model().Face();
  // The carved face is discarded at the question Close asks.
  answer_ = mrNo;
  WhenShown([&] {
    expert_->tbCarveAutoClick();
    expert_->bCloseClick();
  });
  Control<QToolButton>(*form, "tbFaceExpert")->click();
  EXPECT_TRUE(shown_);
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{kUseErasersMessage, kSaveFaceQuestion}));
  EXPECT_EQ(form->FaceFileName(), face);
  EXPECT_EQ(form->windowTitle(), caption);
  EXPECT_FALSE(OnMakeupPage(*form));
  EXPECT_TRUE(form->Model().Face().SameContent(picture));
  EXPECT_FALSE(fs::exists(program_.File("Faces/Mine.mff")));
}

TEST_F(FaceExpertCommandTest, GraphicFileThatCannotBeReadIsReportedWithoutTheExpert) {
  auto form = StartWithExpert();
  QAction* graphicFile = Control<QAction>(*form, "OpenGraphicFile");
  EXPECT_TRUE(graphicFile->isEnabled());
  EXPECT_EQ(graphicFile->shortcut(), QKeySequence("Ctrl+G"));
  WriteAll(program_.File("broken.png"), std::string("not a picture"));
  std::string answer;
  form->GraphicFileDialog = [&] { return answer; };
  WhenShown([] {});

  graphicFile->trigger();  // cancelled: nothing at all
  EXPECT_TRUE(MessageTexts().empty());
  answer = program_.File("broken.png");
  Control<QToolButton>(*form, "tbOpenFile")->click();
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"The picture broken.png cannot be read"});
  EXPECT_FALSE(shown_);
}

// The file the program is started with: a face file (its extension in any
// case) becomes the current face, anything else goes into the expert as a
// photograph, and the "Graphic File" dialog is the user's again afterwards.
TEST_F(FaceExpertCommandTest, AFileGivenAtStartOpensAsFaceOrAsPhotograph) {
  auto form = StartWithExpert();
  const std::string other = Face("Other.MFF", StandardFacePicture(Rgb(40, 90, 160)), RectangleRegionsHeader());
  form->OpenGivenFile(other);
  EXPECT_EQ(form->FaceFileName(), other);
  const TColor shown = form->Model().Face().Pixel(5, 5);
  EXPECT_GT(BlueOf(shown), RedOf(shown)) << "the blue face, not the plain one";
  EXPECT_FALSE(shown_);

  WriteAll(program_.File("photo.bmp"), ReadAll(SourceDir() + "/data/Shapes/ShapeOval.bmp"));
  int dialogs = 0;
  form->GraphicFileDialog = [&] {
    ++dialogs;
    return std::string();
  };
  std::string opened;
  WhenShown([&] { opened = expert_->OpenedFileName(); });
  form->OpenGivenFile(program_.File("photo.bmp"));
  EXPECT_TRUE(shown_);
  EXPECT_EQ(opened, program_.File("photo.bmp"));
  EXPECT_EQ(form->FaceFileName(), other) << "cancelled: the face stays";
  EXPECT_EQ(dialogs, 0);
  Control<QAction>(*form, "OpenGraphicFile")->trigger();
  EXPECT_EQ(dialogs, 1);
}

// A photograph to a made-up face of one's own: the portrait opened from the
// main window, placed under the template as dragging the frame leaves it,
// carved, saved, and made the current face; then an eye colour on it.
TEST_F(FaceExpertCommandTest, PortraitBecomesAFaceModelThatTheMainWindowMakesUp) {
  const std::string portrait = GLAMORA_TEST_PORTRAIT;
  if (portrait.empty()) GTEST_SKIP() << "the portrait is not available";
  auto form = StartWithExpert();
  form->GraphicFileDialog = [&] { return portrait; };
  saveName_ = "Astronaut.png";
  WhenShown([&] {
    TImage* photo = expert_->findChild<TImage*>("ImageFace");
    // Higher than the drawing panel, it opens reduced to the panel's height.
    const QSize pane = photo->parentWidget()->size();
    EXPECT_EQ(photo->geometry().size(), QSize(pane.height(), pane.height()));
    EXPECT_EQ(expert_->OpenedFileName(), portrait);
    // The face scaled by 4/3 and moved so that it fits the template.
    TFrame& frame = expert_->findChild<TFrameBox*>("FrameBoxFormat")->Frame;
    frame.SetRect({133 - 183, 33 + 17, 133 - 183 + 683, 33 + 17 + 683});
    frame.ApplyToImage();
    expert_->tbCarveAutoClick();
    expert_->bSaveClick();
  });
  Control<QAction>(*form, "OpenGraphicFile")->trigger();
  ASSERT_TRUE(shown_);

  ASSERT_EQ(form->FaceFileName(), program_.File("Faces/Astronaut.mff"));
  EXPECT_TRUE(OnMakeupPage(*form));
  EXPECT_EQ(form->MakeupPage().Tool(), TMakeupTool::mkOutline);
  const Bitmap& face = form->Model().Face();
  ASSERT_EQ(face.Width(), 228);
  ASSERT_EQ(face.Height(), 314);
  EXPECT_EQ(face.Pixel(5, 5), clWhite) << "outside the face shape";
  const TColor cheek = face.Pixel(90, 185);
  EXPECT_GT(RedOf(cheek), GreenOf(cheek)) << "skin, not white";
  EXPECT_LT(GreenOf(cheek), 230);

  // The new face takes make-up once its regions are outlined.
  FaceRegion eye;
  eye.Count = 4;
  eye.Points[0] = {75, 145};
  eye.Points[1] = {100, 145};
  eye.Points[2] = {100, 156};
  eye.Points[3] = {75, 156};
  form->Model().StoreRegion(FaceHeader::kLeftEye, eye);
  form->Model().SaveUndo();
  const TColor before = form->Model().Face().Pixel(88, 150);
  form->Model().ApplyColor(ColorKind::Eyes, Rgb(40, 90, 200));
  EXPECT_NE(form->Model().Face().Pixel(88, 150), before);
}

// The photograph to a made-up face with the face finder where it is
// installed: Fit automatically, carve, save; the Make-up page then holds the
// new face with its eyes and lips outlined, ready to colour.
TEST_F(FaceExpertCommandTest, PortraitFittedAutomaticallyLandsOutlinedOnTheMakeupPage) {
  const std::string portrait = GLAMORA_TEST_PORTRAIT;
  if (portrait.empty() || !LandmarkFinder::Built() || !fs::exists(LandmarkFinder::DefaultModelFile())) {
    GTEST_SKIP() << "needs the portrait and the face finder";
  }
  LandmarkFinder finder;
  const FindFaceFunction findFace = [&finder](const Bitmap& picture) { return finder.Find(picture); };
  auto form = StartWithExpert();
  form->SetFaceFinder(findFace);
  expert_->FindFace = findFace;
  form->GraphicFileDialog = [&] { return portrait; };
  saveName_ = "Astronaut.mff";
  WhenShown([&] {
    expert_->findChild<QToolButton*>("bFitAuto")->click();
    // The eyes lie level, so the picture was turned by the fit's small angle.
    const QRect placed = expert_->findChild<TImage*>("ImageFace")->geometry();
    EXPECT_NE(placed, QRect(133, 33, 512, 512));
    expert_->tbCarveAutoClick();
    expert_->bSaveClick();
  });
  Control<QAction>(*form, "OpenGraphicFile")->trigger();
  ASSERT_TRUE(shown_);
  ASSERT_EQ(form->FaceFileName(), program_.File("Faces/Astronaut.mff"));
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{kUseErasersMessage, kCheckProposedRegions}));

  // The eye regions lie around the standard eyes with the pupils left out,
  // the lips around the standard mouth; eye colour goes on the lids.
  const FaceHeader& header = form->Model().Header();
  const struct {
    int Region, X, Y;
  } centres[] = {{1, 87, 150}, {2, 141, 150}, {3, 114, 216}};
  for (const auto& c : centres) {
    const PolygonRegion region = RegionOf(header.Region(c.Region));
    ASSERT_FALSE(region.Empty()) << c.Region;
    EXPECT_NEAR((region.Left() + region.Right()) / 2.0, c.X, 6) << c.Region;
    EXPECT_NEAR((region.Top() + region.Bottom()) / 2.0, c.Y, 8) << c.Region;
    if (c.Region != 3) {
      EXPECT_FALSE(region.Contains(c.X, c.Y)) << "the pupil of eye " << c.Region;
    }
  }
  QTest::mouseClick(Control<QToolButton>(*form, "bEyes"), Qt::LeftButton);
  const TColor lid = form->Model().Face().Pixel(87, 143);
  form->Model().ApplyColor(ColorKind::Eyes, Rgb(60, 40, 200));
  EXPECT_NE(form->Model().Face().Pixel(87, 143), lid);
}

}  // namespace
}  // namespace glamora::test
