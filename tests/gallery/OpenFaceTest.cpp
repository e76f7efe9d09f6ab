// The face browser: its list, preview, Delete key, Browse and answers.
#include "gallery/OpenFace.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "desktop/FileFunctions.h"
#include "face/FaceHeader.h"
#include "imaging/ImgEditor.h"
#include "tests/gallery/MessageScript.h"
#include "tests/support/FaceFixtures.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

namespace fs = std::filesystem;
using test::MessageScript;
using test::TempFolder;

constexpr TColor kModelSkin = Rgb(210, 170, 150);
constexpr TColor kUserSkin = Rgb(120, 90, 70);

class OpenFaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(faces());
    test::WriteTestFace(face("Modela.eff"), test::StandardFacePicture(kModelSkin), test::RectangleRegionsHeader());
    for (const char* name : {"b.mff", "A.mff", "C.MFF"}) {
      test::WriteTestFace(face(name), test::StandardFacePicture(kUserSkin), test::RectangleRegionsHeader());
    }
    test::WriteTestFace(face("d.EFF"), test::StandardFacePicture(kModelSkin), test::RectangleRegionsHeader());
    for (const char* name : {"notes.txt", "e.mffx", "Modela.eff.bak"}) test::WriteAll(face(name), std::string("x"));
    fs::create_directory(face("folder.mff"));
  }

  std::string faces() const { return program.File("Faces"); }
  std::string face(const std::string& name) const { return program.File("Faces/" + name); }

  std::vector<std::string> Listed() const {
    std::vector<std::string> names;
    for (int i = 0; i < browser.FileListBox1->count(); ++i) {
      names.push_back(browser.FileListBox1->item(i)->text().toStdString());
    }
    return names;
  }

  void Select(const std::string& name) {
    const auto items = browser.FileListBox1->findItems(QString::fromStdString(name), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << name;
    browser.FileListBox1->setCurrentItem(items.first());
  }

  TColor PreviewCentre() const {
    const Bitmap& shown = *browser.ImgEditor1->Bitmap();
    return shown.Pixel(shown.Width() / 2, shown.Height() / 4);
  }

  TempFolder program;
  TFormOpenFace browser{program.Path()};
};

TEST_F(OpenFaceTest, LayoutOfTheDialog) {
  EXPECT_EQ(browser.windowTitle(), "Open face file");
  EXPECT_EQ(browser.size(), QSize(287, 245));
  EXPECT_EQ(browser.FileListBox1->geometry(), QRect(13, 13, 144, 202));
  EXPECT_EQ(browser.ImgEditor1->geometry(), QRect(170, 13, 108, 131));
  EXPECT_TRUE(browser.ImgEditor1->AutoFit());
  EXPECT_EQ(browser.bOpen->text(), "Open");
  EXPECT_EQ(browser.bBrowse->text(), "Browse");
  EXPECT_EQ(browser.bCancel->text(), "Cancel");
  EXPECT_TRUE(browser.bOpen->isDefault());
  EXPECT_EQ(browser.FacesFolder(), faces());
}

TEST_F(OpenFaceTest, ListsTheFaceFilesInNameOrderNoneSelected) {
  browser.FormActivate();
  EXPECT_EQ(Listed(), (std::vector<std::string>{"A.mff", "b.mff", "C.MFF", "d.EFF", "Modela.eff"}));
  EXPECT_TRUE(browser.FileListBox1->selectedItems().isEmpty());
  EXPECT_EQ(browser.SelectedPath(), "");
}

TEST_F(OpenFaceTest, ActivationReadsTheFolderAnewAndKeepsThePreview) {
  browser.FormActivate();
  Select("Modela.eff");
  const TColor shown = PreviewCentre();
  test::WriteTestFace(face("Z.mff"), test::StandardFacePicture(kUserSkin), test::RectangleRegionsHeader());
  fs::remove(face("A.mff"));
  browser.FormActivate();
  EXPECT_EQ(Listed(), (std::vector<std::string>{"b.mff", "C.MFF", "d.EFF", "Modela.eff", "Z.mff"}));
  EXPECT_TRUE(browser.FileListBox1->selectedItems().isEmpty());
  EXPECT_EQ(PreviewCentre(), shown);
}

TEST_F(OpenFaceTest, SelectingShowsThePictureOfPlainAndEncipheredFaces) {
  browser.FormActivate();
  Select("b.mff");
  EXPECT_EQ(browser.ImgEditor1->Bitmap()->Width(), 228);
  EXPECT_EQ(PreviewCentre(), kUserSkin);
  Select("Modela.eff");
  EXPECT_EQ(PreviewCentre(), kModelSkin);
  EXPECT_EQ(browser.SelectedPath(), face("Modela.eff"));
}

TEST_F(OpenFaceTest, ABrokenFaceFileKeepsThePreviewWithoutAMessage) {
  test::WriteAll(face("short.mff"), std::string(100, 'x'));
  std::vector<uint8_t> garbage(FaceHeader::kByteSize + 500, 0x5A);
  test::WriteAll(face("garbage.mff"), garbage);
  // A BMP header declaring a picture of 2^31 - 1 pixels a side.
  const uint8_t bmpHeader[] = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
                               0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 24, 0};
  std::vector<uint8_t> hugeBmp(FaceHeader::kByteSize + sizeof bmpHeader + 40, 0);
  std::copy(std::begin(bmpHeader), std::end(bmpHeader), hugeBmp.begin() + FaceHeader::kByteSize);
  test::WriteAll(face("huge.mff"), hugeBmp);

  MessageScript messages;
  browser.FormActivate();
  Select("b.mff");
  for (const char* broken : {"short.mff", "garbage.mff", "huge.mff"}) {
    Select(broken);
    EXPECT_EQ(PreviewCentre(), kUserSkin) << broken;
  }
  EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(OpenFaceTest, DeletingAModelFaceIsRefusedInAnyLetterCase) {
  for (const char* name : {"Modela.eff", "d.EFF"}) {
    browser.FormActivate();
    Select(name);
    MessageScript messages({mrYes});
    browser.FileListBox1KeyDown(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"The removing of the model file is forbidden"}) << name;
    EXPECT_TRUE(fs::exists(face(name)));
  }
}

TEST_F(OpenFaceTest, DeleteKeyAsksAndRemovesAUserFaceOnYes) {
  browser.show();
  browser.FormActivate();
  Select("b.mff");
  ASSERT_NE(PreviewCentre(), ResolveColor(browser.ImgEditor1->Background()));
  MessageScript messages({mrYes});
  QTest::keyClick(browser.FileListBox1, Qt::Key_Delete);

  ASSERT_EQ(messages.Shown().size(), 1u);
  EXPECT_EQ(messages.Shown()[0].Text.toStdString(), "Are you sure you want to delete the selected file?");
  EXPECT_EQ(messages.Shown()[0].Type, TMsgDlgType::mtWarning);
  EXPECT_EQ(messages.Shown()[0].Buttons, mbYes | mbNo);
  EXPECT_EQ(DefaultButtonOf(messages.Shown()[0]), mbNo);
  EXPECT_FALSE(fs::exists(face("b.mff")));
  EXPECT_EQ(Listed(), (std::vector<std::string>{"A.mff", "C.MFF", "d.EFF", "Modela.eff"}));
  // The preview is blank: every pixel the view's background.
  const Bitmap& shown = *browser.ImgEditor1->Bitmap();
  const TColor background = ResolveColor(browser.ImgEditor1->Background());
  for (int y = 0; y < shown.Height(); y += 7) {
    for (int x = 0; x < shown.Width(); x += 7) ASSERT_EQ(shown.Pixel(x, y), background) << x << ", " << y;
  }
}

TEST_F(OpenFaceTest, NoKeepsTheFile) {
  browser.FormActivate();
  Select("A.mff");
  MessageScript messages({mrNo});
  browser.FileListBox1KeyDown(Qt::Key_Delete, Qt::NoModifier);
  EXPECT_EQ(messages.Shown().size(), 1u);
  EXPECT_TRUE(fs::exists(face("A.mff")));
  EXPECT_EQ(PreviewCentre(), kUserSkin);
}

TEST_F(OpenFaceTest, AReadOnlyFaceFileStays) {
  fs::permissions(face("A.mff"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  browser.FormActivate();
  Select("A.mff");
  MessageScript messages({mrYes});
  browser.FileListBox1KeyDown(Qt::Key_Delete, Qt::NoModifier);
  EXPECT_TRUE(fs::exists(face("A.mff")));
  EXPECT_EQ(messages.Shown().size(), 1u);
}

TEST_F(OpenFaceTest, DeleteWithNothingSelectedDeletesNothing) {
  browser.FormActivate();
  MessageScript messages({mrYes});
  browser.FileListBox1KeyDown(Qt::Key_Delete, Qt::NoModifier);
  EXPECT_EQ(messages.Shown().size(), 1u);
  EXPECT_EQ(Listed().size(), 5u);
}

TEST_F(OpenFaceTest, EnterWithASelectionAnswersOkWithThatFile) {
  browser.show();
  browser.FormActivate();
  Select("C.MFF");
  browser.FileListBox1->setFocus();
  QTest::keyClick(browser.FileListBox1, Qt::Key_Return);
  EXPECT_EQ(browser.result(), mrOk);
  EXPECT_FALSE(browser.isVisible());
  EXPECT_EQ(browser.SelectedFaceFile, face("C.MFF"));
}

TEST_F(OpenFaceTest, EnterWithoutSelectionSaysSoStaysOpenAndReadsTheFolderAnew) {
  browser.show();
  browser.FormActivate();
  browser.FileListBox1->setFocus();
  test::WriteTestFace(face("New.mff"), test::StandardFacePicture(kUserSkin), test::RectangleRegionsHeader());
  MessageScript messages;
  QTest::keyClick(browser.FileListBox1, Qt::Key_Return);
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{"There is not a selected face!"});
  EXPECT_TRUE(browser.isVisible());
  EXPECT_EQ(browser.SelectedFaceFile, "");
  // Closing the message activated the dialog again.
  EXPECT_EQ(Listed().size(), 6u);
}

TEST_F(OpenFaceTest, DoubleClickOpens) {
  browser.show();
  browser.FormActivate();
  QListWidget* list = browser.FileListBox1;
  const QRect item = list->visualItemRect(list->item(0));
  // A double click is a first click followed by the double-click press.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
  EXPECT_EQ(browser.result(), mrOk);
  EXPECT_EQ(browser.SelectedFaceFile, face("A.mff"));
}

TEST_F(OpenFaceTest, ADoubleClickOnTheEmptyPartOfTheListDoesNothing) {
  browser.show();
  browser.FormActivate();
  QListWidget* list = browser.FileListBox1;
  const QPoint empty(list->viewport()->width() / 2, list->viewport()->height() - 5);
  ASSERT_EQ(list->itemAt(empty), nullptr);
  for (const char* selected : {"", "b.mff"}) {
    SCOPED_TRACE(selected);
    if (*selected) Select(selected);
    MessageScript messages;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, empty);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, empty);
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_TRUE(browser.isVisible());
    EXPECT_EQ(browser.result(), 0);
  }
}

TEST_F(OpenFaceTest, TheFaceThatIsOpenCannotBeDeleted) {
  browser.FormActivate();
  // The main window names it by another path to the same file.
  browser.CurrentFaceFile = program.File("Faces/../Faces/b.mff");
  Select("b.mff");
  MessageScript messages({mrOk, mrYes});
  browser.FileListBox1KeyDown(Qt::Key_Delete, Qt::NoModifier);
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{kOpenFaceDeleteForbidden});
  EXPECT_TRUE(fs::exists(face("b.mff")));
  // Any other face of the user's is deleted as before.
  Select("A.mff");
  browser.FileListBox1KeyDown(Qt::Key_Delete, Qt::NoModifier);
  EXPECT_FALSE(fs::exists(face("A.mff")));
}

TEST_F(OpenFaceTest, EscPressesBrowseNotCancel) {
  struct Case {
    std::string chosen;
    TModalResult result;
  };
  for (const Case& c : {Case{"", mrCancel}, Case{"/elsewhere/mine.MFF", mrOk}}) {
    browser.SelectedFaceFile = "before";
    int asked = 0;
    browser.OpenDialog1 = [&] {
      ++asked;
      return c.chosen;
    };
    browser.show();
    browser.FileListBox1->setFocus();
    QTest::keyClick(browser.FileListBox1, Qt::Key_Escape);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(browser.result(), c.result);
    EXPECT_FALSE(browser.isVisible());
    EXPECT_EQ(browser.SelectedFaceFile, c.chosen.empty() ? "before" : c.chosen);
  }
}

TEST_F(OpenFaceTest, BrowseDeliversTheChosenFileWithOk) {
  browser.OpenDialog1 = [] { return std::string("/home/user/faces/Me.mff"); };
  browser.show();
  browser.bBrowse->click();
  EXPECT_EQ(browser.result(), mrOk);
  EXPECT_EQ(browser.SelectedFaceFile, "/home/user/faces/Me.mff");
}

TEST_F(OpenFaceTest, CancelAnswersCancel) {
  browser.show();
  browser.bCancel->click();
  EXPECT_EQ(browser.result(), mrCancel);
}

TEST_F(OpenFaceTest, AMissingFacesFolderIsAFileErrorAndTheListStays) {
  browser.FormActivate();
  fs::rename(faces(), program.File("Gone"));
  try {
    browser.FormActivate();
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot open file " + faces());
  }
  EXPECT_EQ(Listed().size(), 5u);
}

TEST_F(OpenFaceTest, AMissingFacesFolderIsReportedOnceInTheErrorBox) {
  fs::remove_all(faces());
  MessageScript messages;
  QEvent activate(QEvent::WindowActivate);
  QCoreApplication::sendEvent(&browser, &activate);
  ASSERT_EQ(messages.Shown().size(), 1u);
  EXPECT_EQ(messages.Shown()[0].Text.toStdString(), "Cannot open file " + faces());
  EXPECT_EQ(messages.Shown()[0].Type, TMsgDlgType::mtError);
  // Closing the error box activates the dialog again: no second box.
  QCoreApplication::sendEvent(&browser, &activate);
  EXPECT_EQ(messages.Shown().size(), 1u);
  EXPECT_TRUE(browser.FileListBox1->count() == 0);
}

}  // namespace
}  // namespace glamora
