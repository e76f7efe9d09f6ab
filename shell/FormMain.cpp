// The main window's assembly: building the window and its menus, start-up
// and closing, the current face, help and page switching.
#include "shell/FormMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <array>
#include <cstdio>

#include "datafolder/DataFolder.h"
#include "desktop/Dialogs.h"
#include "desktop/FileFunctions.h"
#include "desktop/Panel.h"
#include "desktop/Settings.h"
#include "desktop/SupportPage.h"
#include "desktop/ToolBar.h"
#include "experts/AddHair.h"
#include "experts/FaceExpert.h"
#include "face/StandardFace.h"
#include "gallery/OpenFace.h"
#include "gallery/Preview.h"
#include "imaging/ImgEditor.h"
#include "imaging/ImgOpenDialog.h"
#include "imaging/ImgThumbView.h"
#include "imaging/core/FileExtension.h"
#include "imaging/core/ImgIOParams.h"
#include "imaging/core/Stream.h"
#include "resources/Resources.h"
#include "shell/About.h"
#include "shell/EventPreview.h"
#include "shell/GalleryPanel.h"
#include "shell/HairstylePage.h"
#include "shell/HelpViewer.h"
#include "shell/MainCursors.h"
#include "shell/MakeupPage.h"
#include "shell/OutlineCommit.h"
#include "shell/RandomShow.h"
#include "views/Makeup.h"

namespace glamora {

namespace {

namespace sf = standard_face;

constexpr int kFacePanelWidth = 307;
constexpr int kPageControlWidth = 194;
constexpr int kGalleryPanelWidth = 149;
const QSize kToolButtonSize(39, 38);
const QSize kToolPictureSize(32, 32);
constexpr const char* kHelpContextProperty = "helpContext";
constexpr const char* kNoSavedFace = "There is not a saved face!";

QString FileNameOf(const std::string& path) { return QFileInfo(QString::fromStdString(path)).fileName(); }

// Beside the program in the build, the user's own folder once installed.
DataFolderChoice DefaultDataFolder() {
  return ChooseDataFolder(WithTrailingSeparatorOf(QCoreApplication::applicationDirPath().toStdString()),
                          ProcessEnvironment);
}

// True when an entry of the menus has `keys` as its shortcut.
bool IsMenuShortcut(const QMenuBar& menus, const QKeySequence& keys) {
  const QList<QAction*> entries = menus.findChildren<QAction*>();
  return std::any_of(entries.begin(), entries.end(), [&](const QAction* entry) { return entry->shortcut() == keys; });
}

}  // namespace

TFormMain::TFormMain(std::string programFolder)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      programFolder_(std::move(programFolder)) {
  InitResources();
  BuildWindow();
  ConnectCommands();
  InstallKeyPreview();
  FormCreate();
  // The backslash compares wherever the focus lies in the window, before
  // the focused control (the edit box behind the canvas would type it).
  qApp->installEventFilter(new TEventPreview(this, [this](QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (key->key() != Qt::Key_Backslash || !widget || widget->window() != this) return false;
    if (!key->isAutoRepeat()) SetComparing(event->type() == QEvent::KeyPress);
    return true;
  }));
}

TFormMain::~TFormMain() {
  // The views follow the model: they go first.
  delete takeCentralWidget();
}

void TFormMain::SetNewFaceDialog(AskSaveFileName dialog) { outlineCommit_->SetSaveDialog(std::move(dialog)); }

void TFormMain::SetFaceFinder(FindFaceFunction finder) {
  makeupPage_->SetFaceFinder(std::move(finder));
  findRegionsEntry_->setEnabled(makeupPage_->CanFindFaces());
}

void TFormMain::SetOtherWindows(const TOtherWindows& windows) {
  windows_ = windows;
  ApplyPictureLimits();
  galleryPanel_->SetPreview(windows.FormPreview);
  if (TFormFaceExpert* expert = windows.FormFaceExpert) {
    expert->OnHelpTopic = [this](const QString& topic) { ShowHelpTopic(topic); };
    expert->OnHelpContext = [this](int context) { helpViewer_->ShowContext(context); };
  }
  for (QAction* action : {openGraphicFileEntry_}) action->setEnabled(windows.FormFaceExpert != nullptr);
  for (QToolButton* button : {openFileButton_, faceExpertButton_}) button->setEnabled(windows.FormFaceExpert != nullptr);
  if (TFormAddHair* expert = windows.FormAddHair) {
    expert->OnHelpTopic = [this](const QString& topic) { ShowHelpTopic(topic); };
    expert->OnHelpContext = [this](int context) { helpViewer_->ShowContext(context); };
    expert->OnHairstyleSaved = [this](const std::string& fileName) { hairstylePage_->HairstyleAdded(fileName); };
  }
  createHairstyleEntry_->setEnabled(windows.FormAddHair != nullptr);
  hairExpertButton_->setEnabled(windows.FormAddHair != nullptr);
}

// ---- building the window -----------------------------------------------------

void TFormMain::BuildWindow() {
  setObjectName("FormMain");
  setWindowTitle("Glamora");
  clientArea_ = new QWidget(this);
  clientArea_->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(clientArea_);

  BuildFacePanel();
  hairstylePage_ = new THairstylePage(*this, model_, *canvas_, *frameControls_, this);
  makeupPage_ = new TMakeupPage(*this, model_, *canvas_, this);
  BuildPageControl();
  galleryPanel_ = new TGalleryPanel(*this, model_, *clientArea_,
                                    QRect(kClientWidth - kGalleryPanelWidth, 0, kGalleryPanelWidth, kClientHeight));
  randomShow_ = new TRandomShow(*this, model_, *hairstylePage_, *randomShowButton_, this);
  BuildMenus();
  helpViewer_ = new THelpViewer(this);
  outlineCommit_ = std::make_unique<TOutlineCommit>(model_, this);

  // The client area keeps its size: the window cannot be resized.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TFormMain::BuildFacePanel() {
  facePanel_ = new TPanel(clientArea_);
  facePanel_->setObjectName("PanelFace");
  facePanel_->setGeometry(0, 0, kFacePanelWidth, kClientHeight);
  facePanel_->SetSingleBorder(true);
  facePanel_->SetBevelInner(bvLowered);
  facePanel_->SetBorderWidth(3);

  faceToolBar_ = new TToolBar(Qt::Horizontal, kToolButtonSize, kToolPictureSize, facePanel_);
  faceToolBar_->setObjectName("ToolBar1");
  faceToolBar_->SetLineBelow(true);
  openFaceButton_ = faceToolBar_->AddButton("tbOpenFace", "Open face file", "main", 0);
  openFileButton_ = faceToolBar_->AddButton("tbOpenFile", "Open graphic file", "main", 1);
  faceExpertButton_ = faceToolBar_->AddButton("tbFaceExpert", "Face expert", "main", 18);
  hairExpertButton_ = faceToolBar_->AddButton("tbHairExpert", "Create Hairstyle", "main", 4);
  faceToolBar_->AddSeparator(8);
  randomShowButton_ = faceToolBar_->AddButton("tbRandomShow", "Random show", "main", 15);
  helpContentsButton_ = faceToolBar_->AddButton("ToolButton1", "Help contents", "main", 12);
  faceToolBar_->AddSeparator(8);
  compareButton_ = faceToolBar_->AddButton("tbCompare", "Compare (hold)", "main", 19);
  const QRect inner = facePanel_->AlignRect();
  facePanel_->PlaceChild(*faceToolBar_, inner.left(), inner.top(), inner.width(), faceToolBar_->Thickness());

  frameControls_ = new TPanel(facePanel_);
  frameControls_->setObjectName("PanelFrameControls");
  frameControls_->SetBevelOuter(bvNone);
  facePanel_->PlaceChild(*frameControls_, inner.left(), inner.top() + faceToolBar_->Thickness(), inner.width(),
                         inner.height() - faceToolBar_->Thickness());

  keyCatcher_ = new QLineEdit(facePanel_);
  keyCatcher_->setObjectName("edFrame");
  facePanel_->PlaceChild(*keyCatcher_, 100, 200, 25, 21);

  canvas_ = new TMakeup(model_, facePanel_);
  canvas_->setObjectName("Makeup1");
  canvas_->SetBorderStyle(bsNone);
  canvas_->SetBackground(clWhite);
  canvas_->SetScrollBars(ssBoth);
  canvas_->SetCursor(crDefault);
  canvas_->resize(sf::kWidth, sf::kHeight);
  CentreCanvas();
}

void TFormMain::BuildPageControl() {
  pages_ = new QTabWidget(clientArea_);
  pages_->setObjectName("PageControl1");
  pages_->setGeometry(kFacePanelWidth, 0, kPageControlWidth, kClientHeight);
  pages_->setIconSize(QSize(20, 20));
  pages_->setUsesScrollButtons(false);
  // Both tabs, picture and caption, fit side by side in the narrow control.
  pages_->tabBar()->setStyleSheet("QTabBar::tab { padding: 3px 4px 3px 3px; }");
  pages_->addTab(hairstylePage_->Sheet(), QIcon(":/icons/maintabs/0.png"), "Hairstyle");
  pages_->addTab(makeupPage_->Sheet(), QIcon(":/icons/maintabs/1.png"), "Make-up");
  pages_->setCurrentWidget(hairstylePage_->Sheet());
}

void TFormMain::BuildMenus() {
  auto entry = [](QMenu* menu, const char* name, const QString& caption, const QString& picture,
                  const QKeySequence& shortcut, int helpContext) {
    QAction* action = menu->addAction(QIcon(QString(":/icons/menu/%1.png").arg(picture)), caption);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    action->setProperty(kHelpContextProperty, helpContext);
    return action;
  };
  auto menu = [](QMenu* parent, const char* name, const QString& title) {
    QMenu* created = parent->addMenu(title);
    created->setObjectName(name);
    return created;
  };
  QMenu* fileMenu = menuBar()->addMenu("File");
  fileMenu->setObjectName("FileMenu");
  QMenu* openMenu = menu(fileMenu, "OpenMenu", "Open");
  openFaceFileEntry_ = entry(openMenu, "OpenFaceFile", "Face file", "face-file", QKeySequence("Ctrl+O"), 9);
  openGraphicFileEntry_ = entry(openMenu, "OpenGraphicFile", "Graphic File", "graphic-file", QKeySequence("Ctrl+G"), 8);
  createHairstyleEntry_ =
      entry(fileMenu, "Addhairstyle1", "Create hairstyle", "create-hairstyle", QKeySequence("Ctrl+H"), 15);
  findRegionsEntry_ = entry(fileMenu, "FindEyesAndLips", "Find eyes and lips", "find-regions", QKeySequence("Ctrl+L"), 0);
  findRegionsEntry_->setEnabled(false);
  fileMenu->addSeparator();
  exitEntry_ = entry(fileMenu, "ExitProgram", "EXIT", "exit", QKeySequence(), 0);

  QMenu* galleryMenu = menuBar()->addMenu("Gallery");
  galleryMenu->setObjectName("GalleryMenu");
  galleryAddEntry_ = entry(galleryMenu, "MenuAdd", "&Add", "gallery-add", QKeySequence("Ctrl+A"), 14);
  galleryExportEntry_ = entry(galleryMenu, "MenuExport", "&Export", "gallery-export", QKeySequence("Ctrl+E"), 14);
  galleryPrintEntry_ = entry(galleryMenu, "MenuPrint", "&Print", "gallery-print", QKeySequence("Ctrl+P"), 14);

  QMenu* helpMenu = menuBar()->addMenu("Help");
  helpMenu->setObjectName("HelpMenu");
  helpContentsEntry_ = entry(helpMenu, "MenuHelp", "Contents", "help-contents", QKeySequence(Qt::Key_F1), 1);
  helpMenu->addSeparator();
  supportEntry_ = entry(helpMenu, "M45", "Support e-mail", "support", QKeySequence(), 4);
  helpMenu->addSeparator();
  aboutEntry_ = entry(helpMenu, "M46", "About", "about", QKeySequence(), 1);

  for (QMenu* each : {fileMenu, openMenu, galleryMenu, helpMenu}) each->installEventFilter(this);
  // The experts' commands wait for their windows (SetOtherWindows).
  for (QAction* action : {openGraphicFileEntry_, createHairstyleEntry_}) action->setEnabled(false);
  for (QToolButton* button : {openFileButton_, faceExpertButton_, hairExpertButton_}) button->setEnabled(false);
}

void TFormMain::ConnectCommands() {
  connect(openFaceFileEntry_, &QAction::triggered, this, Guarded([this] { OpenFaceFile(); }));
  connect(openFaceButton_, &QToolButton::clicked, this, Guarded([this] { OpenFaceFile(); }));
  connect(faceExpertButton_, &QToolButton::clicked, this, Guarded([this] { FaceExpert(); }));
  connect(openGraphicFileEntry_, &QAction::triggered, this, Guarded([this] { OpenGraphicFile(); }));
  connect(openFileButton_, &QToolButton::clicked, this, Guarded([this] { OpenGraphicFile(); }));
  connect(createHairstyleEntry_, &QAction::triggered, this, Guarded([this] { CreateHairstyle(); }));
  connect(hairExpertButton_, &QToolButton::clicked, this, Guarded([this] { CreateHairstyle(); }));
  connect(exitEntry_, &QAction::triggered, this, Guarded([this] { ExitProgram(); }));
  connect(helpContentsEntry_, &QAction::triggered, this, Guarded([this] { ShowHelpContents(); }));
  connect(helpContentsButton_, &QToolButton::clicked, this, Guarded([this] { ShowHelpContents(); }));
  connect(supportEntry_, &QAction::triggered, this, Guarded([this] { OpenSupportPage(); }));
  connect(aboutEntry_, &QAction::triggered, this, Guarded([this] { ShowAbout(); }));
  connect(pages_, &QTabWidget::currentChanged, this, Guarded([this] { PageChanged(); }));
  connect(findRegionsEntry_, &QAction::triggered, this, Guarded([this] { FindEyesAndLips(); }));
  connect(compareButton_, &QToolButton::pressed, this, [this] { SetComparing(true); });
  connect(compareButton_, &QToolButton::released, this, [this] { SetComparing(false); });

  connect(galleryAddEntry_, &QAction::triggered, this, Guarded([this] { galleryPanel_->AddToGallery(); }));
  // Export and Print open the same preview, where the user chooses.
  for (QAction* entry : {galleryExportEntry_, galleryPrintEntry_}) {
    connect(entry, &QAction::triggered, this, Guarded([this] { galleryPanel_->PreviewSelected(); }));
  }
}

void TFormMain::InstallKeyPreview() {
  auto* keyPreview = new TEventPreview(this, [this](QObject* watched, QEvent* event) {
    // The edit box would claim the keys of its own editing commands (Ctrl+A
    // selects all); the window's menu shortcuts come first.
    if (event->type() == QEvent::ShortcutOverride && watched == keyCatcher_ &&
        IsMenuShortcut(*menuBar(), QKeySequence(static_cast<QKeyEvent*>(event)->keyCombination()))) {
      event->ignore();
      return true;
    }
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      RunHandler([this, key] { KeyPressed(key); });
    }
    return false;
  });
  for (QWidget* control : {static_cast<QWidget*>(&hairstylePage_->Catalogue()),
                           static_cast<QWidget*>(&galleryPanel_->Thumbnails()), static_cast<QWidget*>(keyCatcher_)}) {
    control->installEventFilter(keyPreview);
  }
}

// ---- start-up and closing ------------------------------------------------------

void TFormMain::FormCreate() {
  if (programFolder_.empty()) {
    const DataFolderChoice choice = DefaultDataFolder();
    programFolder_ = choice.Folder;
    dataFolderProblem_ = choice.Problem;
  }
  WithTrailingSeparator(programFolder_);
  helpViewer_->SetHelpFile(programFolder_ + "Glamora.hlp");
  hairstylePage_->FormCreate();
  faceFileName_ = ReadStartupSettings(programFolder_);
  pictureLimits_ = ReadWindowPictureLimits();
  ApplyPictureLimits();
  galleryPanel_->FormCreate();
  CursorTable& cursors = CursorTable::Instance();
  for (const TMainCursorResource& entry : kMainCursorResources) {
    cursors.Register(CursorNumber(entry.Cursor), entry.Resource);
  }
  randomFaceShown_ = false;
  graphicFolder_ = QDir::homePath().toStdString();
  GraphicFileDialog = [this] {
    const QString chosen = TImgOpenDialog::Choose(this, kPictureOpenFilter, QString::fromStdString(graphicFolder_));
    if (!chosen.isEmpty()) graphicFolder_ = QFileInfo(chosen).absolutePath().toStdString();
    return chosen.toStdString();
  };
}

void TFormMain::ApplyPictureLimits() {
  model_.SetLoadLimits(pictureLimits_);
  hairstylePage_->Catalogue().IO().Params.Limits = pictureLimits_;
  galleryPanel_->SetPictureLimits(pictureLimits_);
  if (windows_.FormPreview) windows_.FormPreview->ImgEditor1->IO().Params.Limits = pictureLimits_;
  if (windows_.FormOpenFace) windows_.FormOpenFace->ImgEditor1->IO().Params.Limits = pictureLimits_;
}

void TFormMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (event->spontaneous()) return;
  if (const QScreen* screen = this->screen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
  }
  RunHandler([this] { FormShow(); });
}

void TFormMain::FormShow() {
  if (!TryLoadCurrentFace()) {
    // The face remembered from the last run cannot be opened: the model face
    // takes its place, as for a missing file, and the message follows once
    // the window stands behind it.
    const std::string modelFace = DefaultFaceFile(programFolder_);
    if (faceFileName_ != modelFace) {
      faceFileName_ = modelFace;
      TryLoadCurrentFace();
    }
    QTimer::singleShot(0, this, Guarded([] { ShowMessage(kNoSavedFace); }));
  }
  if (!dataFolderProblem_.empty()) {
    const std::string problem = "The data folder is not ready: " + dataFolderProblem_;
    std::fprintf(stderr, "glamora: %s\n", problem.c_str());
    QTimer::singleShot(0, this, Guarded([problem] { ShowMessage(QString::fromStdString(problem)); }));
    dataFolderProblem_.clear();
  }
  makeupPage_->ResetComplexion();
  CentreCanvas();
  SetStandardCanvasSize();
  hairstylePage_->SizeThumbnails();
  galleryPanel_->FormShow();
  hairstylePage_->FormShow();
}

void TFormMain::CentreCanvas() {
  const int toolBarHeight = faceToolBar_->height();
  const int left = std::abs(facePanel_->ClientWidth() - sf::kWidth) / 2;
  const int top = std::abs(facePanel_->ClientHeight() - toolBarHeight - sf::kHeight) / 2 + toolBarHeight;
  facePanel_->PlaceChild(*canvas_, left, top, canvas_->width(), canvas_->height());
}

void TFormMain::SetStandardCanvasSize() {
  // A picture of another size is cut or extended with the background.
  model_.SetFaceSize(sf::kWidth, sf::kHeight, canvas_->Background());
  canvas_->resize(sf::kWidth, sf::kHeight);
  canvas_->Update();
}

void TFormMain::closeEvent(QCloseEvent* event) {
  // Outlines not yet written go into their face file first; a user who
  // stays to go on outlining keeps the program open. An unforeseen error is
  // shown and never keeps the program from closing.
  bool stay = false;
  RunHandler([&] { stay = !CommitOutlines(); });
  if (stay) {
    event->ignore();
    return;
  }
  WriteClosingSettings(faceFileName_);
  event->accept();
  helpViewer_->close();
  emit Closed();
}

// ---- the current face ------------------------------------------------------------

bool TFormMain::TryLoadCurrentFace() {
  bool loaded = false;
  try {
    loaded = model_.LoadFace(faceFileName_);
  } catch (const FileError&) {
    loaded = false;
  }
  if (loaded) {
    randomFaceShown_ = false;
    setWindowTitle("Glamora - " + FileNameOf(faceFileName_));
  }
  return loaded;
}

bool TFormMain::LoadCurrentFace() {
  const bool loaded = TryLoadCurrentFace();
  if (!loaded) ShowMessage(kNoSavedFace);
  makeupPage_->ResetComplexion();
  return loaded;
}

bool TFormMain::CommitOutlines() {
  // Model faces are never written; the header goes back only into the plain
  // face file it came from. The extension is compared as spelled.
  if (Extension(faceFileName_) == ".eff" || Extension(model_.HeaderFileName()) == ".eff") return true;
  switch (outlineCommit_->Commit(FacesFolder())) {
    case TOutlineOutcome::ooStay: return false;
    case TOutlineOutcome::ooSavedAsNewFace:
      faceFileName_ = model_.HeaderFileName();
      setWindowTitle("Glamora - " + FileNameOf(faceFileName_));
      return true;
    case TOutlineOutcome::ooWritten:
    case TOutlineOutcome::ooDiscarded: break;
  }
  return true;
}

bool TFormMain::LeaveOutlineMode() {
  if (!CommitOutlines()) return false;
  makeupPage_->RaiseOutlineTool();
  canvas_->SetZoomFactor(1);
  return true;
}

void TFormMain::OpenFace(const std::string& fileName) {
  if (!LeaveOutlineMode()) return;
  const std::string previous = faceFileName_;
  faceFileName_ = fileName;
  LoadCurrentFace();
  // The canvas keeps the previous face when the chosen one cannot be loaded;
  // so does the file name, which is what closing stores for the next start.
  if (model_.HeaderFileName() != faceFileName_) faceFileName_ = previous;
}

void TFormMain::OpenFaceFile() {
  TFormOpenFace* browser = windows_.FormOpenFace;
  if (!browser) return;
  browser->CurrentFaceFile = faceFileName_;
  if (browser->ShowModalCentred(this) != mrOk) return;
  OpenFace(browser->SelectedFaceFile);
}

// ---- the face expert -------------------------------------------------------------

void TFormMain::FaceExpert() {
  TFormFaceExpert* expert = windows_.FormFaceExpert;
  if (!expert) return;
  expert->PrepareWorkPicture(model_.Face());
  RunFaceExpert(*expert);
}

void TFormMain::OpenGraphicFile() {
  TFormFaceExpert* expert = windows_.FormFaceExpert;
  if (!expert || !GraphicFileDialog) return;
  const std::string photograph = GraphicFileDialog();
  if (photograph.empty()) return;
  expert->PrepareWorkPicture(model_.Face());
  if (!expert->OpenPicture(photograph)) {
    ShowMessage("The picture " + FileNameOf(photograph) + " cannot be read");
    return;
  }
  RunFaceExpert(*expert);
}

void TFormMain::OpenGivenFile(const std::string& path) {
  const std::string file = QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
  const std::string extension = LowerExtension(file);
  if (extension == ".eff" || extension == ".mff") {
    OpenFace(file);
    return;
  }
  // The dialog comes back however the expert ends.
  struct RestoreDialog {
    std::function<std::string()>& Slot;
    std::function<std::string()> Saved;
    ~RestoreDialog() { Slot = std::move(Saved); }
  } restore{GraphicFileDialog, GraphicFileDialog};
  GraphicFileDialog = [file] { return file; };
  OpenGraphicFile();
}

void TFormMain::RunFaceExpert(TFormFaceExpert& expert) {
  if (expert.ShowModal() != mrOk) return;
  // The face being outlined keeps its outlines before the new one replaces it.
  OpenFace(expert.SavedFileName);
  ShowMakeupPage();
  // Regions proposed from the new face's landmarks are written back when
  // outlining starts, as outlines stored by hand are.
  const bool proposed = makeupPage_->CanFindFaces() && !makeupPage_->ProposeRegions();
  const FaceHeader proposal = model_.Header();
  makeupPage_->PressOutlineTool();
  const auto regionsOf = [](const FaceHeader& header) {
    return std::array{header.Region(FaceHeader::kLeftEye), header.Region(FaceHeader::kRightEye),
                      header.Region(FaceHeader::kLips)};
  };
  // Discarded at a failed write, they are not there to check.
  if (proposed && regionsOf(model_.Header()) == regionsOf(proposal)) {
    canvas_->ShowRegionOutlines();
    ShowMessage(kCheckProposedRegions);
  } else {
    ShowMessage(kOutlineRegions);
  }
}

void TFormMain::ShowMakeupPage() {
  {
    const QSignalBlocker blocker(pages_);
    pages_->setCurrentWidget(makeupPage_->Sheet());
  }
  PageChanged();
}

void TFormMain::FindEyesAndLips() {
  // On the Hairstyle page the view goes on showing what Add to gallery
  // keeps, the made-up face under the hair; the outlines are drawn over the
  // face on the Make-up page only.
  makeupPage_->FindEyesAndLips(MakeupPageActive());
}

void TFormMain::SetComparing(bool on) { canvas_->SetComparing(on); }

void TFormMain::changeEvent(QEvent* event) {
  // A key or button released while another window had the focus never
  // arrives: comparing ends with the window's activation.
  if (event->type() == QEvent::ActivationChange && !isActiveWindow()) SetComparing(false);
  QMainWindow::changeEvent(event);
}

void TFormMain::CreateHairstyle() {
  if (windows_.FormAddHair) windows_.FormAddHair->ShowExpert();
}

// ---- commands ------------------------------------------------------------------

void TFormMain::ExitProgram() { close(); }

void TFormMain::ShowHelpContents() { helpViewer_->ShowContents(); }

void TFormMain::ShowHelpTopic(const QString& topic) { helpViewer_->ShowTopic(topic); }

void TFormMain::OpenSupportPage() { glamora::OpenSupportPage(); }

void TFormMain::ShowAbout() {
  if (windows_.FormAbout) windows_.FormAbout->ShowModalCentred(this);
}

void TFormMain::ShowMenuEntryHelp(QAction* entry) {
  while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  const int context = entry ? entry->property(kHelpContextProperty).toInt() : 0;
  if (context > 0) {
    helpViewer_->ShowContext(context);
  } else {
    helpViewer_->ShowContents();
  }
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
    if (auto* menu = qobject_cast<QMenu*>(watched)) {
      QAction* entry = menu->activeAction();
      RunHandler([this, entry] { ShowMenuEntryHelp(entry); });
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TFormMain::KeyPressed(int key) {
  if (key != Qt::Key_Delete) return;
  hairstylePage_->DeleteKey();
  galleryPanel_->DeleteKey();
}

// ---- page switching ------------------------------------------------------------

bool TFormMain::MakeupPageActive() const { return pages_->currentWidget() == makeupPage_->Sheet(); }

void TFormMain::PageChanged() {
  SetComparing(false);
  if (MakeupPageActive()) {
    hairstylePage_->HideHair();
    makeupPage_->ShowToolCursors();
    randomShow_->Stop();
    if (randomFaceShown_) LoadCurrentFace();
  } else {
    if (!LeaveOutlineMode()) {
      // The user goes on outlining on the Make-up page.
      const QSignalBlocker blocker(pages_);
      pages_->setCurrentWidget(makeupPage_->Sheet());
      return;
    }
    hairstylePage_->ShowHair();
    canvas_->SetCursor(crDefault);
  }
  frameControls_->setVisible(!MakeupPageActive());
}

bool TFormMain::ShowHairstylePage() {
  {
    const QSignalBlocker blocker(pages_);
    pages_->setCurrentWidget(hairstylePage_->Sheet());
  }
  PageChanged();
  return !MakeupPageActive();
}

void TFormMain::HideHair() { hairstylePage_->HideHair(); }

}  // namespace glamora
