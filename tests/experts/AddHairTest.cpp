// The add-hairstyle expert window and its category dialog: showing with the
// Oval template and keeping the photograph, Open, Zoom, Rotate and Undo
// (nothing on an empty picture, nothing on Cancel), Save into the chosen
// category with the blank picture and the question after it, a failed save,
// the keys, Fit automatically with the face left white, and the background
// wand.
#include "experts/AddHair.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "experts/Rotate.h"
#include "experts/SaveHair.h"
#include "experts/core/FaceShapes.h"
#include "experts/core/HairstyleFace.h"
#include "imaging/Image.h"
#include "landmarks/FaceFit.h"
#include "tests/landmarks/Fixtures.h"
#include "tests/gallery/MessageScript.h"
#include "tests/support/PictureFiles.h"
#include "tests/support/TestSupport.h"
#include "views/FrameBox.h"

namespace glamora {
namespace {

namespace fs = std::filesystem;
using test::AllWhite;
using test::LoadPicture;
using test::SavePicture;
using test::TempFolder;

const TColor kHair = Rgb(80, 40, 10);

std::vector<std::string> Listing(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) names.push_back(entry.path().string());
  std::sort(names.begin(), names.end());
  return names;
}

class AddHairTest : public ::testing::Test {
 protected:
  AddHairTest() {
    fs::copy(test::SourceDir() + "/data/Shapes", program_.File("Shapes"));
    for (const char* folder : {"Short", "Medium", "Char"}) fs::create_directory(program_.File(folder));
    Bitmap photo(300, 400);
    photo.Fill(kHair);
    SavePicture(photo, program_.File("photo.bmp"));
    expert_.SetSaveHair(&saveHair_);
    expert_.OpenDialog1 = [this] {
      ++openAsked_;
      return openAnswer_;
    };
    expert_.OnHelpContext = [this](int context) { helpContexts_.push_back(context); };
    expert_.OnHelpTopic = [this](const QString& topic) { helpTopics_.push_back(topic.toStdString()); };
    expert_.OnHairstyleSaved = [this](const std::string& file) { saved_.push_back(file); };
  }

  template <class T = QWidget>
  T* Control(const char* name) {
    T* control = expert_.findChild<T*>(name);
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  TImage& Face() { return *Control<TImage>("ImageFace"); }
  TImage& Shape() { return *Control<TImage>("ImageShape"); }
  TRect FrameRect() { return Control<TFrameBox>("FrameBoxFormat")->Frame.Bounds; }
  void Click(const char* button) { Control<QToolButton>(button)->click(); }
  void Open() {
    openAnswer_ = program_.File("photo.bmp");
    Click("bOpen");
  }
  // Answers the category dialog once it shows: the item, then Save or Cancel.
  void WhenAsked(int item, bool save) {
    QTimer::singleShot(0, &saveHair_, [this, item, save] {
      asked_ = saveHair_.isVisible();
      if (item >= 0) saveHair_.findChild<QRadioButton*>(QString("RadioItem%1").arg(item))->click();
      (save ? saveHair_.BitBtn1 : saveHair_.BitBtn2)->click();
    });
  }

  TempFolder program_;
  test::MessageScript messages_;
  TFormRotate rotate_;
  TFormAddHair expert_{program_.Path(), rotate_};
  TFormSaveHair saveHair_;
  int openAsked_ = 0;
  std::string openAnswer_;
  bool asked_ = false;
  std::vector<int> helpContexts_;
  std::vector<std::string> helpTopics_;
  std::vector<std::string> saved_;
};

TEST_F(AddHairTest, ShowingShowsTheOvalTemplateAndKeepsThePhotograph) {
  expert_.ShowExpert();
  EXPECT_TRUE(expert_.isVisible());
  EXPECT_FALSE(expert_.isModal());
  EXPECT_EQ(expert_.windowTitle(), "Add hairstyles expert");
  const Bitmap oval = LoadPicture(FaceShapeTemplateFile(program_.Path(), kOvalShape));
  EXPECT_TRUE(Shape().Bitmap()->SameContent(oval));
  EXPECT_EQ(Shape().Bitmap()->TransparentColor, oval.Pixel(0, oval.Height() - 1));
  EXPECT_EQ(Shape().geometry(), QRect(95, 41, 228, 314));
  QWidget* pane = Control("PanePaint");
  EXPECT_EQ(pane->size(), QSize(585, 401));
  EXPECT_TRUE(expert_.rect().contains(QRect(pane->mapTo(&expert_, QPoint(0, 0)), pane->size())));
  const char* hints[][2] = {{"bOpen", "Open graphic hairstyle file"},
                            {"bZoomIn", "Decrease the face if it is too large"},
                            {"bRotate", "Rotate"},
                            {"bUndo", "Undo"},
                            {"bSave", "Save hairstyle"},
                            {"bHelp", "Help"},
                            {"bClose", "Close"}};
  for (const auto& [name, hint] : hints) EXPECT_EQ(Control<QToolButton>(name)->toolTip(), hint);

  Open();
  Shape().Bitmap()->Fill(clBlack);
  Click("bClose");
  EXPECT_FALSE(expert_.isVisible());
  expert_.ShowExpert();
  EXPECT_TRUE(Shape().Bitmap()->SameContent(oval)) << "the template again";
  EXPECT_EQ(Face().geometry(), QRect(95, 41, 300, 400)) << "the photograph stays";
  EXPECT_EQ(expert_.OpenedFileName(), program_.File("photo.bmp"));

  fs::remove(FaceShapeTemplateFile(program_.Path(), kOvalShape));
  expert_.hide();
  expert_.ShowExpert();
  EXPECT_EQ(messages_.Texts(),
            std::vector<std::string>{"Cannot open file " + FaceShapeTemplateFile(program_.Path(), kOvalShape)});
}

// Cancel in the open dialog, in the rotation dialog and in the category
// dialog changes nothing; with no picture Zoom, Rotate, Undo and Save do
// nothing and ask nothing.
TEST_F(AddHairTest, CancelAnywhereAndAnEmptyPictureChangeNothing) {
  expert_.ShowExpert();
  for (const char* button : {"bZoomIn", "bRotate", "bUndo", "bSave"}) Click(button);
  EXPECT_TRUE(Face().Bitmap()->Empty());
  EXPECT_FALSE(rotate_.isVisible());
  Click("bOpen");
  EXPECT_EQ(openAsked_, 1);
  EXPECT_EQ(expert_.OpenedFileName(), "");
  EXPECT_TRUE(Face().Bitmap()->Empty());

  Open();
  const Bitmap photo = *Face().Bitmap();
  const QRect placed = Face().geometry();
  QTimer::singleShot(0, &rotate_, [this] {
    rotate_.SetAngle(30);
    rotate_.BitBtn2->click();
  });
  Click("bRotate");
  WhenAsked(2, false);
  Click("bSave");
  EXPECT_TRUE(asked_);
  EXPECT_TRUE(Face().Bitmap()->SameContent(photo));
  EXPECT_EQ(Face().geometry(), placed);
  EXPECT_TRUE(saved_.empty());
  EXPECT_TRUE(messages_.Texts().empty());
  EXPECT_TRUE(fs::is_empty(program_.File("Short")));
  EXPECT_EQ(saveHair_.ItemIndex(), 2) << "the choice stays even on Cancel";
}

TEST_F(AddHairTest, OpenZoomRotateAndUndoWorkOnThePhotograph) {
  expert_.ShowExpert();
  EXPECT_TRUE(Control<TFrameBox>("FrameBoxFormat")->Frame.Hidden) << "no frame round nothing";
  Open();
  EXPECT_FALSE(Control<TFrameBox>("FrameBoxFormat")->Frame.Hidden);
  EXPECT_EQ(Face().geometry(), QRect(95, 41, 300, 400));
  EXPECT_EQ(FrameRect(), (TRect{95, 41, 394, 440}));
  Click("bZoomIn");
  EXPECT_EQ(FrameRect().Right - FrameRect().Left + 1, 150);
  EXPECT_EQ(Face().Bitmap()->Width(), 300) << "Zoom changes the rectangle only";

  QTimer::singleShot(0, &rotate_, [this] {
    rotate_.SetAngle(90);
    rotate_.BitBtn3->click();
  });
  const QRect placed = Face().geometry();
  Click("bRotate");
  EXPECT_EQ(Face().Bitmap()->Width(), 400);
  EXPECT_EQ(Face().geometry(), placed);
  Click("bUndo");
  EXPECT_EQ(Face().Bitmap()->Width(), 300);
  EXPECT_EQ(Face().geometry(), placed);
}

// Save into "Meddian" writes Medium's next picture and blanks the working
// picture; Yes opens at once, and after cancelling that Undo brings the
// photograph back; a save after a save writes white into "Special"'s "Char";
// No closes the window.
TEST_F(AddHairTest, SaveWritesTheCategorysNextPictureThenAsksToAddAnother) {
  test::WriteAll(program_.File("Medium/000.jpg"), std::string("old"));
  test::WriteAll(program_.File("Medium/002.jpg"), std::string("old"));
  expert_.ShowExpert();
  Open();
  // The photograph moved right: it lies inside the frame, which moves a
  // pixel a key.
  for (int i = 0; i < 10; ++i) QTest::keyClick(Control<QLineEdit>("Edit1"), Qt::Key_Right);
  ASSERT_EQ(Face().geometry().left(), 95 + 11);

  openAnswer_.clear();
  {
    test::MessageScript answers({mrYes});
    WhenAsked(1, true);
    Click("bSave");
    EXPECT_EQ(answers.Texts(), std::vector<std::string>{kAddAnotherHairstyleQuestion});
    EXPECT_EQ(answers.Shown()[0].Type, TMsgDlgType::mtWarning);
    EXPECT_EQ(answers.Shown()[0].Buttons, mbYes | mbNo);
  }
  const std::string first = program_.File("Medium/003.jpg");
  EXPECT_EQ(saved_, std::vector<std::string>{first});
  EXPECT_EQ(test::ReadAll(program_.File("Medium/002.jpg")).size(), 3u);
  const Bitmap hair = LoadPicture(first);
  ASSERT_EQ(hair.Width(), 228);
  ASSERT_EQ(hair.Height(), 314);
  EXPECT_GT(RedOf(hair.Pixel(5, 100)), 240) << "left of the photograph: white";
  EXPECT_LT(RedOf(hair.Pixel(100, 100)), 120) << "the photograph";
  EXPECT_EQ(openAsked_, 2) << "Yes opens the dialog at once";
  EXPECT_TRUE(AllWhite(*Face().Bitmap())) << "cancelling it leaves the blank picture";
  EXPECT_EQ(Face().Bitmap()->Width(), Face().width()) << "at the size it is shown";

  {
    test::MessageScript answers({mrNo});
    WhenAsked(3, true);
    Click("bSave");
  }
  ASSERT_EQ(saved_.size(), 2u);
  EXPECT_EQ(saved_[1], program_.File("Char/000.jpg"));
  EXPECT_TRUE(AllWhite(LoadPicture(saved_[1]))) << "a save after a save is white";
  EXPECT_FALSE(expert_.isVisible()) << "No closes the window";

  expert_.ShowExpert();
  Click("bUndo");
  EXPECT_FALSE(AllWhite(*Face().Bitmap())) << "Undo brings the photograph back";
  EXPECT_EQ(saveHair_.ItemIndex(), 3);
}

// A portrait made into a hairstyle: Fit automatically places it by its
// face as the face expert does, and a face the finder sees under the
// template at Save is left white, see-through once loaded; a photograph in
// which it sees none is cut as it lies.
TEST_F(AddHairTest, FitAutomaticallyAndAFaceUnderTheTemplateLeftWhiteAtSave) {
  QToolButton& fit = *Control<QToolButton>("bFitAuto");
  expert_.ShowExpert();
  EXPECT_FALSE(fit.isEnabled()) << "no finder, no fit";
  expert_.hide();

  FaceSearch answer;
  answer.Result = FaceSearch::Outcome::Found;
  answer.Points = test::Moved(test::AstronautLandmarks(), {225, 130}, 0, 1.0, 150 - 225, 200 - 130);
  int searches = 0;
  expert_.FindFace = [&](const Bitmap&) {
    ++searches;
    return answer;
  };
  expert_.ShowExpert();
  ASSERT_TRUE(fit.isEnabled());
  Open();
  fit.click();
  const std::optional<FaceFit> expected = FitToStandardFace(answer.Points, 300, 400);
  ASSERT_TRUE(expected);
  const PixelRect& r = expected->Picture;
  EXPECT_EQ(Face().geometry(), QRect(95 + r.Left, 41 + r.Top, r.Width, r.Height));

  openAnswer_.clear();
  {
    test::MessageScript answers({mrYes});
    WhenAsked(0, true);
    Click("bSave");
  }
  ASSERT_EQ(saved_.size(), 1u);
  Bitmap hair = LoadPicture(saved_[0]);
  EXPECT_GT(BlueOf(hair.Pixel(114, 160)), 240) << "the face area is white";
  EXPECT_GT(BlueOf(hair.Pixel(114, 300)), 240) << "and the neck";
  EXPECT_LT(RedOf(hair.Pixel(10, 20)), 120) << "the hair beside the head stays";

  // No face under the template: the hairstyle is the photograph as it lies.
  answer.Result = FaceSearch::Outcome::NoFace;
  Open();
  {
    test::MessageScript answers({mrNo});
    WhenAsked(0, true);
    Click("bSave");
  }
  ASSERT_EQ(saved_.size(), 2u);
  hair = LoadPicture(saved_[1]);
  EXPECT_LT(RedOf(hair.Pixel(114, 160)), 120);
  EXPECT_GT(searches, 2);
}

// The background wand: while it is on, a click on the photograph whitens
// the region of colours within its tolerance of the clicked one and leaves
// the frame alone; Undo takes the whitening back, and a second Undo
// reloads the photograph as before.
TEST_F(AddHairTest, BackgroundWandWhitensTheClickedRegionAndUndoTakesItBack) {
  Bitmap photo(300, 400);
  photo.Fill(Rgb(150, 160, 170));  // a grey wall, a little darker at the bottom
  for (int y = 300; y < 400; ++y)
    for (int x = 0; x < 300; ++x) photo.SetPixel(x, y, Rgb(130, 140, 150));
  for (int y = 50; y < 250; ++y)
    for (int x = 100; x < 200; ++x) photo.SetPixel(x, y, kHair);
  SavePicture(photo, program_.File("photo.bmp"));
  expert_.ShowExpert();
  Open();
  const TRect frame = FrameRect();
  EXPECT_EQ(expert_.WandTolerance(), kBackgroundWandTolerance);

  QWidget& box = *Control<TFrameBox>("FrameBoxFormat");
  Control<QToolButton>("bWand")->click();
  ASSERT_TRUE(expert_.BackgroundWandOn());
  expert_.SetWandTolerance(10);
  QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(95 + 10, 41 + 10));
  const Bitmap& shown = *Face().Bitmap();
  EXPECT_EQ(shown.Pixel(10, 10), clWhite);
  EXPECT_EQ(shown.Pixel(10, 350), Rgb(130, 140, 150)) << "20 levels darker: beyond the tolerance";
  EXPECT_EQ(shown.Pixel(150, 150), kHair);
  EXPECT_EQ(FrameRect(), frame) << "the click did not move the frame";

  Click("bUndo");
  EXPECT_TRUE(Face().Bitmap()->SameContent(photo));
  expert_.SetWandTolerance(kBackgroundWandTolerance);
  EXPECT_TRUE(expert_.WhitenAt(95 + 10, 41 + 390));
  EXPECT_EQ(shown.Pixel(10, 10), clWhite) << "the whole wall within 30 levels";
  EXPECT_EQ(shown.Pixel(10, 350), clWhite);
  EXPECT_EQ(shown.Pixel(150, 150), kHair);
  EXPECT_FALSE(expert_.WhitenAt(5, 5)) << "beside the photograph";

  // A turn forgets the whitening: Undo reloads the photograph.
  QTimer::singleShot(0, &rotate_, [this] {
    rotate_.SetAngle(90);
    rotate_.BitBtn3->click();
  });
  Click("bRotate");
  Click("bUndo");
  EXPECT_TRUE(Face().Bitmap()->SameContent(photo));

  // With the wand off a click grabs the frame again.
  Control<QToolButton>("bWand")->click();
  EXPECT_FALSE(expert_.BackgroundWandOn());
  QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(95 + 10, 41 + 10));
  EXPECT_TRUE(Face().Bitmap()->SameContent(photo));
}

TEST_F(AddHairTest, SaveIntoAMissingFolderIsReportedAndKeepsThePicture) {
  expert_.ShowExpert();
  Open();
  const std::vector<std::string> before = Listing(program_.Path());
  WhenAsked(2, true);
  Click("bSave");
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Cannot create file " + program_.File("Long/000.jpg")});
  EXPECT_FALSE(AllWhite(*Face().Bitmap()));
  EXPECT_TRUE(saved_.empty());
  EXPECT_EQ(Listing(program_.Path()), before);
  EXPECT_TRUE(expert_.isVisible());
}

TEST_F(AddHairTest, KeysOpenAndAskForHelpAndTheArrowsMoveTheFrame) {
  expert_.ShowExpert();
  Open();
  QLineEdit* edit = Control<QLineEdit>("Edit1");
  QTest::keyClick(edit, Qt::Key_Down);
  EXPECT_EQ(FrameRect().Top, 42);
  QTest::keyClick(edit, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(openAsked_, 2);
  QTest::keyClick(edit, Qt::Key_O, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(openAsked_, 2) << "only Ctrl alone opens";
  QTest::keyClick(edit, Qt::Key_F1);
  Click("bHelp");
  EXPECT_EQ(helpContexts_, std::vector<int>{9});
  EXPECT_EQ(helpTopics_, std::vector<std::string>{"SHM_contents0013"});
}

TEST(SaveHairDialogTest, ItemsButtonsAndAnswers) {
  TFormSaveHair dialog;
  EXPECT_EQ(dialog.windowTitle(), "Save the hairstyle as:");
  EXPECT_EQ(dialog.size(), QSize(234, 167));
  EXPECT_EQ(dialog.ItemIndex(), 0);
  EXPECT_EQ(dialog.Category(), 1);
  const char* captions[] = {"Short", "Meddian", "Long", "Special", "Male"};
  for (int item = 0; item < 5; ++item) {
    EXPECT_EQ(dialog.findChild<QRadioButton*>(QString("RadioItem%1").arg(item))->text(), captions[item]);
  }
  EXPECT_EQ(dialog.BitBtn1->text(), "&Save");
  EXPECT_EQ(dialog.BitBtn2->text(), "&Cancel");
  dialog.SetItemIndex(4);
  QTimer::singleShot(0, &dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
  EXPECT_FALSE(dialog.Ask(nullptr));
  QTimer::singleShot(0, &dialog, [&] { dialog.BitBtn1->click(); });
  EXPECT_TRUE(dialog.Ask(nullptr));
  EXPECT_EQ(dialog.Category(), 5);
}

}  // namespace
}  // namespace glamora
