// The main window: start-up and closing, the face it loads, layout, menus,
// help and page switching.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <filesystem>

#include "desktop/Panel.h"
#include "desktop/Settings.h"
#include "desktop/ToolBar.h"
#include "imaging/HsvPicker.h"
#include "imaging/ImgThumbView.h"
#include "shell/HelpViewer.h"
#include "tests/shell/MainWindowFixture.h"
#include "tests/support/FaceFixtures.h"
#include "views/Makeup.h"

namespace glamora::test {
namespace {

namespace fs = std::filesystem;

// ---- start-up and closing --------------------------------------------------

TEST_F(MainWindowTest, FirstRunLoadsTheModelFaceAndWritesTheProgramFolder) {
  const std::string model = CopyModelFace();
  auto form = Start();
  EXPECT_EQ(form->ProgramFolder(), program_.Path());
  EXPECT_EQ(form->FaceFileName(), model);
  EXPECT_EQ(form->windowTitle(), "Glamora - Modela.eff");
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(SettingsStore().ReadString("InstallDir"), program_.Path());
  EXPECT_TRUE(fs::is_directory(program_.File("Preview")));
  EXPECT_EQ(form->Hairstyle().CategoryFolder(), program_.Path() + "Short");
  EXPECT_EQ(form->HelpViewer().HelpFile(), program_.Path() + "Glamora.hlp");
  EXPECT_EQ(form->Canvas().Bitmap()->Width(), 228);
  EXPECT_EQ(form->Canvas().Bitmap()->Height(), 314);
}

TEST_F(MainWindowTest, StoredFaceIsLoadedAndClosingStoresTheCurrentFace) {
  CopyModelFace();
  const std::string mine = Face("Mine.mff", StandardFacePicture(), RectangleRegionsHeader());
  auto form = Start(mine);
  EXPECT_EQ(form->FaceFileName(), mine);
  EXPECT_EQ(form->windowTitle(), "Glamora - Mine.mff");

  const std::string other = Face("Other.mff", StandardFacePicture(), RectangleRegionsHeader());
  form->OpenFace(other);
  form->close();
  EXPECT_EQ(SettingsStore().ReadString("FaceFile"), other);
}

TEST_F(MainWindowTest, MissingStoredFaceFallsBackToTheModelFaceSilently) {
  const std::string model = CopyModelFace();
  auto form = Start(program_.File("Faces/Gone.mff"));
  EXPECT_EQ(form->FaceFileName(), model);
  EXPECT_EQ(form->windowTitle(), "Glamora - Modela.eff");
  EXPECT_TRUE(messages_.empty());
}

TEST_F(MainWindowTest, StoredFaceThatCannotBeLoadedIsReportedAndTheModelFaceTakesItsPlace) {
  const std::string header(FaceHeader::kByteSize, '\0');
  struct Case {
    const char* Name;
    std::string Bytes;
    bool ModelFace;  // present in "Faces"
  };
  const Case cases[] = {
      {"Short.mff", "too short for a header", true},
      {"Payload.mff", header + "not a picture in any format", true},
      {"Wrong.txt", header, true},
      {"Alone.mff", "too short for a header", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    messages_.clear();
    fs::remove(program_.File("Faces/Modela.eff"));
    const std::string model = c.ModelFace ? CopyModelFace() : std::string();
    WriteAll(program_.File(std::string("Faces/") + c.Name), c.Bytes);
    auto form = Start(program_.File(std::string("Faces/") + c.Name));
    // The message follows once the window is up, over the face that took the place.
    EXPECT_TRUE(messages_.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"There is not a saved face!"});
    EXPECT_EQ(messages_.at(0).Caption, "Glamora");
    EXPECT_EQ(messages_.at(0).Buttons, TMsgDlgButtons(mbOK));
    if (c.ModelFace) {
      EXPECT_EQ(form->FaceFileName(), model);
      EXPECT_EQ(form->windowTitle(), "Glamora - Modela.eff");
      EXPECT_EQ(form->Model().HeaderFileName(), model);
      form->close();
      EXPECT_EQ(SettingsStore().ReadString("FaceFile"), model);
    } else {
      EXPECT_EQ(form->windowTitle(), "Glamora");
    }
  }
}

TEST_F(MainWindowTest, FailedReloadKeepsThePictureAndTheCaption) {
  const std::string good = Face("Good.mff", StandardFacePicture(Rgb(10, 20, 30)), RectangleRegionsHeader());
  auto form = Start(good);
  WriteAll(program_.File("Faces/Broken.mff"), "broken");
  form->OpenFace(program_.File("Faces/Broken.mff"));
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"There is not a saved face!"});
  EXPECT_EQ(form->windowTitle(), "Glamora - Good.mff");
  EXPECT_EQ(form->FaceFileName(), good);
  EXPECT_EQ(form->Canvas().Bitmap()->Pixel(5, 5), Rgb(10, 20, 30));
}

TEST_F(MainWindowTest, GalleryCounterStartsAtTheHighestPictureNumber) {
  CopyModelFace();
  fs::create_directories(program_.File("Preview"));
  WriteAll(program_.File("Preview/0003.jpg"), "x");
  WriteAll(program_.File("Preview/0012.jpg"), "x");
  auto form = Start();
  EXPECT_EQ(form->Gallery().Counter(), 12);
}

TEST_F(MainWindowTest, CursorTableHoldsTheMainWindowCursors) {
  CopyModelFace();
  auto form = Start();
  for (TCursor id : {50, 51, 53, 55, 56, 58, 59, 60, 61}) {
    EXPECT_TRUE(CursorTable::Instance().Contains(id)) << id;
  }
}

// ---- layout ----------------------------------------------------------------

TEST_F(MainWindowTest, AreasFillTheFixedClientArea) {
  CopyModelFace();
  auto form = Start();
  EXPECT_EQ(form->centralWidget()->size(), QSize(650, 444));
  EXPECT_EQ(form->minimumSize(), form->maximumSize());
  EXPECT_EQ(Control<TPanel>(*form, "PanelFace")->geometry(), QRect(0, 0, 307, 444));
  EXPECT_EQ(Control<QTabWidget>(*form, "PageControl1")->geometry(), QRect(307, 0, 194, 444));
  EXPECT_EQ(Control<TPanel>(*form, "PanelPreview")->geometry(), QRect(501, 0, 149, 444));

  // The canvas is centred in the face panel below the tool bar.
  const int toolBar = Control<TToolBar>(*form, "ToolBar1")->height();
  const QPoint origin = Control<TPanel>(*form, "PanelFace")->ClientOrigin();
  EXPECT_EQ(form->Canvas().size(), QSize(228, 314));
  EXPECT_EQ(form->Canvas().x() - origin.x(), std::abs(Control<TPanel>(*form, "PanelFace")->ClientWidth() - 228) / 2);
  EXPECT_EQ(form->Canvas().y() - origin.y(),
            std::abs(Control<TPanel>(*form, "PanelFace")->ClientHeight() - toolBar - 314) / 2 + toolBar);
  EXPECT_EQ(form->Canvas().Background(), clWhite);
  EXPECT_EQ(form->Canvas().ScrollBars(), ssBoth);
  EXPECT_EQ(Control<QLineEdit>(*form, "edFrame")->size(), QSize(25, 21));
  EXPECT_EQ(Control<THairView>(*form, "ImageHair")->parentWidget(), &form->Canvas());
  EXPECT_TRUE(Control<THairView>(*form, "ImageHair")->Stretch());
  EXPECT_TRUE(Control<THairView>(*form, "ImageHair")->Transparent());
  // The canvas lies over the frame-button panel.
  EXPECT_GT(Control<TPanel>(*form, "PanelFace")->children().indexOf(&form->Canvas()),
            Control<TPanel>(*form, "PanelFace")->children().indexOf(Control<TPanel>(*form, "PanelFrameControls")));
}

TEST_F(MainWindowTest, ThumbnailsAreSizedFromTheViewsFinalWidths) {
  CopyModelFace();
  auto form = Start();
  QApplication::processEvents();
  const int hairWidth = Control<TImgThumbView>(*form, "ThumbViewHair")->width();
  ASSERT_GT(hairWidth, 100);
  EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewHair")->ThumbWidth(), (hairWidth - 2 * 3 - 35) / 3);
  EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewHair")->ThumbHeight(),
            int(std::nearbyint(Control<TImgThumbView>(*form, "ThumbViewHair")->ThumbWidth() * 314.0 / 228.0)));
  const int galleryWidth = Control<TImgThumbView>(*form, "ThumbViewPreview")->width();
  EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewPreview")->ThumbWidth(), galleryWidth - 35);
  EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewPreview")->ThumbHeight(),
            int(std::nearbyint(Control<TImgThumbView>(*form, "ThumbViewPreview")->ThumbWidth() * 314.0 / 228.0)));
  EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewPreview")->toolTip(), "Double click to enlarge");
}

TEST_F(MainWindowTest, ToolBarButtonsInOrderWithTheirHints) {
  CopyModelFace();
  auto form = Start();
  const std::vector<std::pair<QToolButton*, const char*>> toolBar1 = {
      {Control<QToolButton>(*form, "tbOpenFace"), "Open face file"},
      {Control<QToolButton>(*form, "tbOpenFile"), "Open graphic file"},
      {Control<QToolButton>(*form, "tbFaceExpert"), "Face expert"},
      {Control<QToolButton>(*form, "tbHairExpert"), "Create Hairstyle"},
      {Control<QToolButton>(*form, "tbRandomShow"), "Random show"},
      {Control<QToolButton>(*form, "ToolButton1"), "Help contents"}};
  int left = -1;
  for (const auto& [button, hint] : toolBar1) {
    EXPECT_EQ(button->toolTip(), hint);
    EXPECT_EQ(button->size(), QSize(39, 38)) << hint;
    EXPECT_EQ(button->iconSize(), QSize(32, 32)) << hint;
    EXPECT_GT(button->x(), left) << hint;
    left = button->x();
  }
  // The separator before the random show.
  EXPECT_EQ(Control<QToolButton>(*form, "tbRandomShow")->x() - Control<QToolButton>(*form, "tbHairExpert")->x(),
            39 + 8);

  const std::vector<std::pair<QToolButton*, const char*>> toolBar2 = {
      {Control<QToolButton>(*form, "tbAddGalery"), "Add to Gallery"},
      {Control<QToolButton>(*form, "ToolButton6"), "Go to first"},
      {Control<QToolButton>(*form, "ToolButton5"), "Go to last"},
      {Control<QToolButton>(*form, "tbDeleteAll"), "Delete All"},
      {Control<QToolButton>(*form, "tbExport"), "Export selected"},
      {Control<QToolButton>(*form, "tbPrint"), "Print selected"},
      {Control<QToolButton>(*form, "tbShowGalleryThumbs"), "Show pictures number"},
      {Control<QToolButton>(*form, "ToolButton4"), "Gallery Help"}};
  int top = -1;
  for (const auto& [button, hint] : toolBar2) {
    EXPECT_EQ(button->toolTip(), hint);
    EXPECT_EQ(button->size(), QSize(39, 38)) << hint;
    EXPECT_EQ(button->x(), Control<QToolButton>(*form, "tbAddGalery")->x()) << hint;
    EXPECT_GT(button->y(), top) << hint;
    top = button->y();
  }
  EXPECT_TRUE(Control<QToolButton>(*form, "tbShowGalleryThumbs")->isCheckable());

  EXPECT_EQ(Control<QToolButton>(*form, "bColorReset")->toolTip(), "Default hairstyle color");
  EXPECT_EQ(Control<QToolButton>(*form, "bHelpHairs")->toolTip(), "Hairstyles Help");
  EXPECT_EQ(Control<THsvPicker>(*form, "HsvPickerHair")->size(), QSize(182, 91));
  EXPECT_EQ(Control<QComboBox>(*form, "cbHairDir")->count(), 5);
  EXPECT_EQ(Control<QComboBox>(*form, "cbHairDir")->itemText(3), "Special");
}

TEST_F(MainWindowTest, FrameButtonsSitAtTheirPlacesOnTheirPanel) {
  CopyModelFace();
  auto form = Start();
  const TPanel* panel = Control<TPanel>(*form, "PanelFrameControls");
  const std::vector<std::pair<const char*, QRect>> places = {
      {"b1", {5, 143, 26, 81}},   {"b2", {116, 9, 65, 27}},          {"b3", {264, 143, 25, 78}},
      {"b4", {113, 353, 73, 22}}, {"b5", {4, 50, 26, 36}},           {"b6", {4, 90, 26, 40}},
      {"b7", {44, 10, 30, 26}},   {"b8", {75, 9, 34, 27}},           {"b9", {8, 7, 30, 31}},
      {"b10", {252, 8, 32, 33}},  {"SpeedButton9", {5, 234, 25, 85}}};
  for (const auto& [name, place] : places) {
    const QToolButton* button = Control<QToolButton>(*form, name);
    EXPECT_EQ(button->parentWidget(), panel) << name;
    EXPECT_EQ(button->geometry(), place) << name;
    EXPECT_TRUE(panel->rect().contains(button->geometry())) << name;
  }
}

// ---- menus and help ----------------------------------------------------------

TEST_F(MainWindowTest, MenuEntriesCarryCaptionsShortcutsAndHelpContexts) {
  CopyModelFace();
  auto form = Start();
  struct Entry {
    QAction* Action;
    const char* Caption;
    const char* Shortcut;
    int HelpContext;
  };
  const Entry entries[] = {
      {Control<QAction>(*form, "OpenFaceFile"), "Face file", "Ctrl+O", 9},
      {Control<QAction>(*form, "OpenGraphicFile"), "Graphic File", "Ctrl+G", 8},
      {Control<QAction>(*form, "Addhairstyle1"), "Create hairstyle", "Ctrl+H", 15},
      {Control<QAction>(*form, "ExitProgram"), "EXIT", "", 0},
      {Control<QAction>(*form, "MenuAdd"), "&Add", "Ctrl+A", 14},
      {Control<QAction>(*form, "MenuExport"), "&Export", "Ctrl+E", 14},
      {Control<QAction>(*form, "MenuPrint"), "&Print", "Ctrl+P", 14},
      {Control<QAction>(*form, "MenuHelp"), "Contents", "F1", 1},
      {Control<QAction>(*form, "M45"), "Support e-mail", "", 4},
      {Control<QAction>(*form, "M46"), "About", "", 1},
  };
  for (const Entry& e : entries) {
    SCOPED_TRACE(e.Caption);
    EXPECT_EQ(e.Action->text(), e.Caption);
    EXPECT_EQ(e.Action->shortcut(), QKeySequence(e.Shortcut));
    EXPECT_EQ(e.Action->property("helpContext").toInt(), e.HelpContext);
  }
  EXPECT_EQ(Control<QMenu>(*form, "FileMenu")->title(), "File");
  EXPECT_EQ(Control<QMenu>(*form, "OpenMenu")->title(), "Open");
  EXPECT_EQ(Control<QMenu>(*form, "GalleryMenu")->title(), "Gallery");
  EXPECT_EQ(Control<QMenu>(*form, "HelpMenu")->title(), "Help");
  EXPECT_TRUE(Control<QMenu>(*form, "FileMenu")->actions().contains(Control<QMenu>(*form, "OpenMenu")->menuAction()));
}

TEST_F(MainWindowTest, F1AnywhereInTheWindowOpensTheHelpContents) {
  CopyModelFace();
  CopyHelp();
  auto form = Start();
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  QTest::keyClick(Control<TImgThumbView>(*form, "ThumbViewHair"), Qt::Key_F1);
  EXPECT_TRUE(form->HelpViewer().isVisible());
  EXPECT_EQ(form->HelpViewer().CurrentTopic(), "contents");
  EXPECT_TRUE(form->HelpViewer().Problem().isEmpty());
}

TEST_F(MainWindowTest, F1OnAHighlightedMenuEntryOpensItsContextTopic) {
  CopyModelFace();
  CopyHelp();
  auto form = Start();
  Control<QMenu>(*form, "HelpMenu")->popup(form->mapToGlobal(QPoint(10, 10)));
  Control<QMenu>(*form, "HelpMenu")->setActiveAction(Control<QAction>(*form, "M45"));
  ASSERT_EQ(Control<QMenu>(*form, "HelpMenu")->activeAction(), Control<QAction>(*form, "M45"));
  QTest::keyClick(Control<QMenu>(*form, "HelpMenu"), Qt::Key_F1);
  EXPECT_EQ(form->HelpViewer().CurrentTopic(), "support");
  EXPECT_FALSE(Control<QMenu>(*form, "HelpMenu")->isVisible());
  // The support page was not opened: F1 only explains the entry.
  EXPECT_TRUE(openedUrls_.empty());
}

TEST_F(MainWindowTest, HelpButtonsJumpToTheirTopics) {
  CopyModelFace();
  CopyHelp();
  auto form = Start();
  const std::vector<std::pair<QToolButton*, const char*>> buttons = {
      {Control<QToolButton>(*form, "ToolButton1"), "contents"},
      {Control<QToolButton>(*form, "bHelpHairs"), "SHM_contents0008"},
      {Control<QToolButton>(*form, "bHelpMakeup"), "SHM_contents0011"},
      {Control<QToolButton>(*form, "ToolButton4"), "SHM_contents0012"}};
  for (const auto& [button, topic] : buttons) {
    Control<QTabWidget>(*form, "PageControl1")
        ->setCurrentWidget(button == Control<QToolButton>(*form, "bHelpMakeup")
                               ? Control<QWidget>(*form, "TabSheetMakeup")
                               : Control<QWidget>(*form, "TabSheetHairstyles"));
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(form->HelpViewer().CurrentTopic(), topic);
  }
  // The viewer shows the topic's own text.
  EXPECT_NE(form->HelpViewer().Browser()->toPlainText().indexOf("Gallery"), -1);
}

TEST_F(MainWindowTest, MissingHelpFileIsReportedInTheViewer) {
  CopyModelFace();
  auto form = Start();
  Control<QAction>(*form, "MenuHelp")->trigger();
  EXPECT_TRUE(form->HelpViewer().isVisible());
  EXPECT_TRUE(form->HelpViewer().CurrentTopic().isEmpty());
  EXPECT_NE(form->HelpViewer().Problem().indexOf("Glamora.hlp"), -1);
  EXPECT_NE(form->HelpViewer().Browser()->toPlainText().indexOf("cannot be found"), -1);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(MainWindowTest, ExitClosesTheWindow) {
  CopyModelFace();
  auto form = Start();
  bool closed = false;
  QObject::connect(form.get(), &TFormMain::Closed, [&] { closed = true; });
  Control<QAction>(*form, "ExitProgram")->trigger();
  EXPECT_TRUE(closed);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(SettingsStore().ReadString("FaceFile"), form->FaceFileName());
}

// ---- page switching ----------------------------------------------------------

TEST_F(MainWindowTest, PageSwitchHidesAndShowsTheHairAndTheFrameButtons) {
  CopyModelFace();
  auto form = Start();
  EXPECT_EQ(Control<QTabWidget>(*form, "PageControl1")->currentWidget(), Control<QWidget>(*form, "TabSheetHairstyles"));
  EXPECT_TRUE(Control<TPanel>(*form, "PanelFrameControls")->isVisible());
  EXPECT_TRUE(Control<THairView>(*form, "ImageHair")->isVisible());

  QTabBar* tabs = Control<QTabWidget>(*form, "PageControl1")->tabBar();
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
  EXPECT_EQ(Control<QTabWidget>(*form, "PageControl1")->currentWidget(), Control<QWidget>(*form, "TabSheetMakeup"));
  EXPECT_FALSE(Control<TPanel>(*form, "PanelFrameControls")->isVisible());
  EXPECT_FALSE(Control<THairView>(*form, "ImageHair")->isVisible());

  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
  EXPECT_TRUE(Control<TPanel>(*form, "PanelFrameControls")->isVisible());
  EXPECT_TRUE(Control<THairView>(*form, "ImageHair")->isVisible());
  EXPECT_EQ(form->Canvas().Cursor(), crDefault);
}

TEST_F(MainWindowTest, MakeupPageDiscardsARandomMakeover) {
  const std::string face = Face("Plain.mff", StandardFacePicture(Rgb(100, 100, 100)), RectangleRegionsHeader());
  auto form = Start(face);
  QTabWidget* pages = Control<QTabWidget>(*form, "PageControl1");
  Bitmap scribble(228, 314);
  scribble.Fill(Rgb(1, 2, 3));
  QTest::mouseClick(Control<QToolButton>(*form, "tbRandomShow"), Qt::LeftButton);
  ASSERT_TRUE(form->RandomFaceShown());
  form->Model().SetFace(scribble);
  pages->setCurrentWidget(Control<QWidget>(*form, "TabSheetMakeup"));
  EXPECT_FALSE(form->RandomFaceShown());
  EXPECT_EQ(form->Canvas().Bitmap()->Pixel(0, 0), Rgb(100, 100, 100));

  // Without a random make-over the canvas keeps its make-up.
  pages->setCurrentWidget(Control<QWidget>(*form, "TabSheetHairstyles"));
  form->Model().SetFace(scribble);
  pages->setCurrentWidget(Control<QWidget>(*form, "TabSheetMakeup"));
  EXPECT_EQ(form->Canvas().Bitmap()->Pixel(0, 0), Rgb(1, 2, 3));
}

}  // namespace
}  // namespace glamora::test
