#include "shell/Main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "face/Makeup.h"
#include "face/StandardFace.h"
#include "hair/Catalogue.h"
#include "hair/FrameBox.h"
#include "hair/FrameButtons.h"
#include "imaging/HsvPicker.h"
#include "imaging/Image.h"
#include "imaging/components/ImgIO.h"
#include "imaging/components/ImgProc.h"
#include "imaging/ImgThumbView.h"
#include "imaging/QtBitmap.h"
#include "imaging/core/ImgIOParams.h"
#include "imaging/core/Rounding.h"
#include "resources/Resources.h"
#include "shell/About.h"
#include "shell/Dialogs.h"
#include "shell/FileFunctions.h"
#include "shell/HelpViewer.h"
#include "shell/Panel.h"
#include "shell/Settings.h"
#include "shell/SupportPage.h"
#include "shell/ToolBar.h"

namespace glamora {

namespace {

namespace sf = standard_face;

constexpr int kFacePanelWidth = 307;
constexpr int kPageControlWidth = 194;
constexpr int kGalleryPanelWidth = 149;
const QSize kToolButtonSize(39, 38);
const QSize kToolPictureSize(32, 32);
// The thumbnails keep the proportions of the standard face, 314/228.
constexpr double kFaceAspect = 1.3771929824561404;
constexpr const char* kHelpContextProperty = "helpContext";

QString FileNameOf(const std::string& path) { return QFileInfo(QString::fromStdString(path)).fileName(); }

// The extension as spelled, with its dot: the text from the file name's last
// "." on, or empty.
std::string ExtensionOf(const std::string& path) {
  const size_t name = path.find_last_of("/\\");
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (name != std::string::npos && dot < name)) return {};
  return path.substr(dot);
}

std::string DefaultProgramFolder() {
  return WithTrailingSeparatorOf(QCoreApplication::applicationDirPath().toStdString());
}

}  // namespace

TFormMain::TFormMain(std::string programFolder)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      ProgramFolder(std::move(programFolder)) {
  InitResources();
  BuildWindow();
  ConnectCommands();
  ConnectMakeupPage();
  ConnectHairPage();
  ConnectGallery();
  FormCreate();
}

TFormMain::~TFormMain() = default;

// ---- building the window ---------------------------------------------------

void TFormMain::BuildWindow() {
  setObjectName("FormMain");
  setWindowTitle("Glamora");
  ClientArea = new QWidget(this);
  ClientArea->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(ClientArea);

  BuildFacePanel();
  BuildPageControl();
  BuildGalleryPanel();
  BuildMenus();

  Timer1 = new QTimer(this);
  Timer1->setInterval(1000);
  ProcHair = std::make_unique<TImgProc>();
  ImgIOHair = std::make_unique<TImgIO>();
  HelpViewer = new THelpViewer(this);

  // The client area keeps its size: the window cannot be resized.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TFormMain::BuildFacePanel() {
  PanelFace = new TPanel(ClientArea);
  PanelFace->setObjectName("PanelFace");
  PanelFace->setGeometry(0, 0, kFacePanelWidth, kClientHeight);
  PanelFace->SetSingleBorder(true);
  PanelFace->SetBevelInner(bvLowered);
  PanelFace->SetBorderWidth(3);

  ToolBar1 = new TToolBar(Qt::Horizontal, kToolButtonSize, kToolPictureSize, PanelFace);
  ToolBar1->setObjectName("ToolBar1");
  ToolBar1->SetLineBelow(true);
  tbOpenFace = ToolBar1->AddButton("tbOpenFace", "Open face file", "main", 0);
  tbOpenFile = ToolBar1->AddButton("tbOpenFile", "Open graphic file", "main", 1);
  tbFaceExpert = ToolBar1->AddButton("tbFaceExpert", "Face expert", "main", 18);
  tbHairExpert = ToolBar1->AddButton("tbHairExpert", "Create Hairstyle", "main", 4);
  ToolBar1->AddSeparator(8);
  tbRandomShow = ToolBar1->AddButton("tbRandomShow", "Random show", "main", 15);
  ToolButton1 = ToolBar1->AddButton("ToolButton1", "Help contents", "main", 12);
  const QRect inner = PanelFace->AlignRect();
  PanelFace->PlaceChild(*ToolBar1, inner.left(), inner.top(), inner.width(), ToolBar1->Thickness());

  PanelFrameControls = new TPanel(PanelFace);
  PanelFrameControls->setObjectName("PanelFrameControls");
  PanelFrameControls->SetBevelOuter(bvNone);
  PanelFace->PlaceChild(*PanelFrameControls, inner.left(), inner.top() + ToolBar1->Thickness(), inner.width(),
                        inner.height() - ToolBar1->Thickness());

  // The small edit box behind the canvas takes the keyboard focus when
  // nothing else should have it.
  edFrame = new QLineEdit(PanelFace);
  edFrame->setObjectName("edFrame");
  PanelFace->PlaceChild(*edFrame, 100, 200, 25, 21);

  Makeup1 = new TMakeup(PanelFace);
  Makeup1->setObjectName("Makeup1");
  Makeup1->SetBorderStyle(bsNone);
  Makeup1->SetBackground(clWhite);
  Makeup1->SetScrollBars(ssBoth);
  Makeup1->SetCursor(crDefault);
  Makeup1->resize(sf::kWidth, sf::kHeight);
  CentreCanvas();

  ImageHair = new TImage(Makeup1);
  ImageHair->setObjectName("ImageHair");
  ImageHair->SetStretch(true);
  ImageHair->SetTransparent(true);
  ImageHair->setGeometry(0, 0, sf::kWidth, sf::kHeight);
  // Mouse input goes to the canvas beneath.
  ImageHair->setAttribute(Qt::WA_TransparentForMouseEvents);
  BuildHairFrame();
}

void TFormMain::BuildPageControl() {
  PageControl1 = new QTabWidget(ClientArea);
  PageControl1->setObjectName("PageControl1");
  PageControl1->setGeometry(kFacePanelWidth, 0, kPageControlWidth, kClientHeight);
  PageControl1->setIconSize(QSize(20, 20));
  PageControl1->setUsesScrollButtons(false);
  // Both tabs, picture and caption, fit side by side in the narrow control.
  PageControl1->tabBar()->setStyleSheet("QTabBar::tab { padding: 3px 4px 3px 3px; }");
  BuildHairstylePage();
  BuildMakeupPage();
  PageControl1->addTab(TabSheetHairstyles, QIcon(":/icons/maintabs/0.png"), "Hairstyle");
  PageControl1->addTab(TabSheetMakeup, QIcon(":/icons/maintabs/1.png"), "Make-up");
  PageControl1->setCurrentWidget(TabSheetHairstyles);
}

void TFormMain::BuildHairstylePage() {
  TabSheetHairstyles = new QWidget;
  TabSheetHairstyles->setObjectName("TabSheetHairstyles");

  PanelHairColor = new TPanel(TabSheetHairstyles);
  PanelHairColor->setObjectName("PanelHairColor");
  PanelHairColor->SetBevelOuter(bvLowered);
  PanelHairColor->setFixedSize(184, 93);
  HsvPickerHair = new THsvPicker(PanelHairColor);
  HsvPickerHair->setObjectName("HsvPickerHair");
  HsvPickerHair->setGeometry(1, 1, 182, 91);

  cbHairDir = new QComboBox(TabSheetHairstyles);
  cbHairDir->setObjectName("cbHairDir");
  for (HairstyleCategory category = kFirstCategory; category <= kLastCategory; ++category) {
    cbHairDir->addItem(QString::fromStdString(CategoryCaption(category)));
  }
  cbHairDir->setPlaceholderText("Hairstyles");
  cbHairDir->setCurrentIndex(-1);
  cbHairDir->setToolTip("Hairstyle types");
  QFont selectorFont = cbHairDir->font();
  selectorFont.setPixelSize(15);
  cbHairDir->setFont(selectorFont);

  auto smallButton = [this](const QString& name, const QString& hint, const QString& picture) {
    auto* button = new QToolButton(TabSheetHairstyles);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setIcon(QIcon(QString(":/icons/buttons/%1.png").arg(picture)));
    button->setIconSize(QSize(16, 16));
    button->setFixedSize(25, 25);
    return button;
  };
  bColorReset = smallButton("bColorReset", "Default hairstyle color", "colour-reset");
  bHelpHairs = smallButton("bHelpHairs", "Hairstyles Help", "help");

  ThumbViewHair = new TImgThumbView(TabSheetHairstyles);
  ThumbViewHair->setObjectName("ThumbViewHair");
  ThumbViewHair->SetScrollBars(ssVertical);
  ThumbViewHair->SetGridWidth(3);
  ThumbViewHair->SetHorizBorder(3);
  ThumbViewHair->SetVertBorder(3);
  ThumbViewHair->SetSelectionWidth(2);
  ThumbViewHair->SetSelectionColor(kThumbnailMarkColor);
  ThumbViewHair->SetMouseInteract(mmiScroll | mmiSelect);
  ThumbViewHair->SetCursor(crHandPoint);

  auto* row = new QHBoxLayout;
  row->setSpacing(2);
  row->addWidget(cbHairDir, 1);
  row->addWidget(bColorReset);
  row->addWidget(bHelpHairs);
  auto* page = new QVBoxLayout(TabSheetHairstyles);
  page->setContentsMargins(2, 3, 2, 2);
  page->setSpacing(4);
  page->addWidget(PanelHairColor, 0, Qt::AlignHCenter);
  page->addLayout(row);
  page->addWidget(ThumbViewHair, 1);
}

void TFormMain::BuildGalleryPanel() {
  PanelPreview = new TPanel(ClientArea);
  PanelPreview->setObjectName("PanelPreview");
  PanelPreview->setGeometry(kClientWidth - kGalleryPanelWidth, 0, kGalleryPanelWidth, kClientHeight);
  PanelPreview->SetBevelInner(bvLowered);
  PanelPreview->SetBorderWidth(3);

  ToolBar2 = new TToolBar(Qt::Vertical, kToolButtonSize, kToolPictureSize, PanelPreview);
  ToolBar2->setObjectName("ToolBar2");
  tbAddGalery = ToolBar2->AddButton("tbAddGalery", "Add to Gallery", "main", 6);
  ToolButton6 = ToolBar2->AddButton("ToolButton6", "Go to first", "main", 14);
  ToolButton5 = ToolBar2->AddButton("ToolButton5", "Go to last", "main", 13);
  tbDeleteAll = ToolBar2->AddButton("tbDeleteAll", "Delete All", "main", 9);
  tbExport = ToolBar2->AddButton("tbExport", "Export selected", "main", 7);
  tbPrint = ToolBar2->AddButton("tbPrint", "Print selected", "main", 8);
  tbShowGalleryThumbs = ToolBar2->AddButton("tbShowGalleryThumbs", "Show pictures number", "main", 16);
  tbShowGalleryThumbs->setCheckable(true);
  ToolButton4 = ToolBar2->AddButton("ToolButton4", "Gallery Help", "main", 12);
  const QRect inner = PanelPreview->AlignRect();
  PanelPreview->PlaceChild(*ToolBar2, inner.left(), inner.top(), ToolBar2->Thickness(), inner.height());

  ThumbViewPreview = new TImgThumbView(PanelPreview);
  ThumbViewPreview->setObjectName("ThumbViewPreview");
  ThumbViewPreview->setToolTip("Double click to enlarge");
  ThumbViewPreview->SetBorderStyle(bsNone);
  ThumbViewPreview->SetScrollBars(ssVertical);
  ThumbViewPreview->SetGridWidth(1);
  ThumbViewPreview->SetHorizBorder(2);
  ThumbViewPreview->SetVertBorder(2);
  ThumbViewPreview->SetBottomGap(3);
  ThumbViewPreview->SetSelectionWidth(2);
  ThumbViewPreview->SetSelectionColor(kThumbnailMarkColor);
  ThumbViewPreview->SetMouseInteract(mmiScroll | mmiSelect);
  ThumbViewPreview->SetKeyInteract({});
  ThumbViewPreview->SetCursor(crHandPoint);
  PanelPreview->PlaceChild(*ThumbViewPreview, inner.left() + ToolBar2->Thickness(), inner.top(),
                           inner.width() - ToolBar2->Thickness(), inner.height());
}

void TFormMain::BuildMenus() {
  auto entry = [](QMenu* menu, const QString& caption, const QString& picture, const QKeySequence& shortcut,
                  int helpContext) {
    QAction* action = menu->addAction(QIcon(QString(":/icons/menu/%1.png").arg(picture)), caption);
    action->setShortcut(shortcut);
    action->setProperty(kHelpContextProperty, helpContext);
    return action;
  };
  FileMenu = menuBar()->addMenu("File");
  OpenMenu = FileMenu->addMenu("Open");
  OpenFaceFile = entry(OpenMenu, "Face file", "face-file", QKeySequence("Ctrl+O"), 9);
  OpenGraphicFile = entry(OpenMenu, "Graphic File", "graphic-file", QKeySequence("Ctrl+G"), 8);
  Addhairstyle1 = entry(FileMenu, "Create hairstyle", "create-hairstyle", QKeySequence("Ctrl+H"), 15);
  FileMenu->addSeparator();
  ExitProgram = entry(FileMenu, "EXIT", "exit", QKeySequence(), 0);

  GalleryMenu = menuBar()->addMenu("Gallery");
  MenuAdd = entry(GalleryMenu, "&Add", "gallery-add", QKeySequence("Ctrl+A"), 14);
  MenuExport = entry(GalleryMenu, "&Export", "gallery-export", QKeySequence("Ctrl+E"), 14);
  MenuPrint = entry(GalleryMenu, "&Print", "gallery-print", QKeySequence("Ctrl+P"), 14);

  HelpMenu = menuBar()->addMenu("Help");
  MenuHelp = entry(HelpMenu, "Contents", "help-contents", QKeySequence(Qt::Key_F1), 1);
  HelpMenu->addSeparator();
  M45 = entry(HelpMenu, "Support e-mail", "support", QKeySequence(), 4);
  HelpMenu->addSeparator();
  M46 = entry(HelpMenu, "About", "about", QKeySequence(), 1);

  for (QMenu* menu : {FileMenu, OpenMenu, GalleryMenu, HelpMenu}) menu->installEventFilter(this);
  for (QAction* action : {OpenGraphicFile, Addhairstyle1}) {
    action->setEnabled(false);
  }
  for (QToolButton* button : {tbOpenFile, tbFaceExpert, tbHairExpert}) {
    button->setEnabled(false);
  }
}

void TFormMain::ConnectCommands() {
  connect(ExitProgram, &QAction::triggered, this, Guarded([this] { ExitProgramClick(); }));
  connect(MenuHelp, &QAction::triggered, this, Guarded([this] { MenuHelpClick(); }));
  connect(M45, &QAction::triggered, this, Guarded([this] { M45Click(); }));
  connect(M46, &QAction::triggered, this, Guarded([this] { M46Click(); }));
  connect(ToolButton1, &QToolButton::clicked, this, Guarded([this] { ToolButton1Click(); }));
  connect(bHelpHairs, &QToolButton::clicked, this, Guarded([this] { bHelpHairsClick(); }));
  connect(ToolButton4, &QToolButton::clicked, this, Guarded([this] { ToolButton4Click(); }));
  connect(PageControl1, &QTabWidget::currentChanged, this, Guarded([this] { PageControl1Change(); }));
}

void TFormMain::RegisterCursors() {
  CursorTable& cursors = CursorTable::Instance();
  cursors.Register(50, "OUTLINE");
  cursors.Register(51, "PENCIL");
  cursors.Register(53, "BRUSH_MID");
  cursors.Register(55, "BRUSH_BIG");
  cursors.Register(60, "BRUSH_HAIR");
  cursors.Register(56, "LIP_STICK");
  cursors.Register(58, "LIP_LINE");
  cursors.Register(59, "EYES");
  cursors.Register(60, "BRUSH_HAIR");
  cursors.Register(61, "SIZE");
}

// ---- start-up and closing ------------------------------------------------

void TFormMain::FormCreate() {
  MakeupTool = 0;
  SelectedHairstyle = 0;
  ExportCounter = 1;
  ExportFolder = DefaultDocumentsFolder();
  if (ProgramFolder.empty()) ProgramFolder = DefaultProgramFolder();
  WithTrailingSeparator(ProgramFolder);
  HelpViewer->SetHelpFile(ProgramFolder + "Glamora.hlp");
  CatalogueFolder = ProgramFolder;
  CategoryFolder = CatalogueFolder + "Short";
  FaceFileName = ReadStartupSettings(ProgramFolder);
  GalleryCounter = GalleryCounterOf(ProgramFolder + "Preview");
  HairColour = {60, 40, 20};
  RegisterCursors();
  QDir().mkdir(QString::fromStdString(ProgramFolder + "Preview"));
  ShowGalleryNumbers = false;
  RandomShowTicks = 0;
  RandomFaceShown = false;
  FrameStepper->FrameStepStretches = false;
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
  LoadCurrentFace();
  CentreCanvas();
  SetStandardCanvasSize();
  SizeThumbnails();
  AttachHairComponents();
  SetHairColour(HairColour.Red, HairColour.Green, HairColour.Blue);
  FillThumbnails(*ThumbViewHair, CategoryFolder, SelectedHairstyle);
  FillThumbnails(*ThumbViewPreview, GalleryFolder(), 0);
  CursorTable::Instance().Apply(*HsvPickerHair, 60);
  // The frame buttons alone place the hair: no outline, no mouse.
  ImageHair->move(0, 0);
  FrameBoxHair->HideOutline();
  ResetHairPlacement();
  FrameBoxHair->SetMouseEnabled(false);
}

void TFormMain::CentreCanvas() {
  const int toolBarHeight = ToolBar1->height();
  const int left = std::abs(PanelFace->ClientWidth() - sf::kWidth) / 2;
  const int top = std::abs(PanelFace->ClientHeight() - toolBarHeight - sf::kHeight) / 2 + toolBarHeight;
  PanelFace->PlaceChild(*Makeup1, left, top, Makeup1->width(), Makeup1->height());
}

void TFormMain::SetStandardCanvasSize() {
  glamora::Bitmap& picture = *Makeup1->Bitmap();
  if (picture.Width() != sf::kWidth || picture.Height() != sf::kHeight) {
    // A picture of another size is cut or extended with the background; the
    // undo point follows, so undoing keeps the standard size.
    if (picture.SetSize(sf::kWidth, sf::kHeight, Makeup1->Background())) Makeup1->SaveUndo();
  }
  Makeup1->resize(sf::kWidth, sf::kHeight);
  Makeup1->Update();
}

void TFormMain::SizeThumbnails() {
  // The views take their final width from the page layout.
  if (QLayout* page = TabSheetHairstyles->layout()) page->activate();
  const int hairColumns = ThumbViewHair->GridWidth();
  const int hairWidth =
      (ThumbViewHair->width() - (hairColumns - 1) * ThumbViewHair->HorizBorder() - 35) / hairColumns;
  ThumbViewHair->SetThumbWidth(hairWidth);
  ThumbViewHair->SetThumbHeight(RoundEvenInt(hairWidth * kFaceAspect));
  const int galleryWidth = (ThumbViewPreview->width() - 35) / ThumbViewPreview->GridWidth();
  ThumbViewPreview->SetThumbWidth(galleryWidth);
  ThumbViewPreview->SetThumbHeight(RoundEvenInt(galleryWidth * kFaceAspect));
}

void TFormMain::FrameThumbnail(QPainter& canvas, const TImgThumbView& view, int left, int top) {
  const int width = view.ThumbWidth() - 1;
  const int height = view.ThumbHeight() - 1;
  if (width <= 0 || height <= 0) return;
  const QColor mark = ToQColor(kThumbnailMarkColor);
  canvas.fillRect(left, top, width, 1, mark);
  canvas.fillRect(left, top + height - 1, width, 1, mark);
  canvas.fillRect(left, top, 1, height, mark);
  canvas.fillRect(left + width - 1, top, 1, height, mark);
}

void TFormMain::AttachHairComponents() {
  ProcHair->SetAttachedTImage(ImageHair);
  ImgIOHair->SetAttachedTImage(ImageHair);
}

void TFormMain::closeEvent(QCloseEvent* event) {
  WriteClosingSettings(FaceFileName);
  event->accept();
  HelpViewer->close();
  emit Closed();
}

void TFormMain::LoadCurrentFace() {
  bool loaded = false;
  try {
    loaded = Makeup1->LoadFace(FaceFileName);
  } catch (const FileError&) {
    loaded = false;
  }
  if (loaded) {
    RandomFaceShown = false;
    setWindowTitle("Glamora - " + FileNameOf(FaceFileName));
  } else {
    ShowMessage("There is not a saved face!");
  }
  TrackBar1->setValue(0);
}

void TFormMain::LeaveOutlineMode() {
  // Model faces are never written; the header goes back only into the plain
  // face file it came from.
  if (ExtensionOf(FaceFileName) != ".eff" && ExtensionOf(Makeup1->HeaderFileName()) != ".eff" &&
      !Makeup1->HeaderSaved()) {
    Makeup1->SaveHeader();
  }
  if (bOutline->isChecked()) {
    bOutline->setChecked(false);
    MakeupTool = 0;
  }
  Makeup1->SetZoomFactor(1);
}

// ---- commands --------------------------------------------------------------

void TFormMain::ExitProgramClick() { close(); }

void TFormMain::ShowHelp(const QString& topic) { HelpViewer->ShowTopic(topic); }

void TFormMain::MenuHelpClick() { HelpViewer->ShowContents(); }

void TFormMain::ToolButton1Click() { HelpViewer->ShowContents(); }

void TFormMain::bHelpHairsClick() { ShowHelp("SHM_contents0008"); }

void TFormMain::bHelpMakeupClick() { ShowHelp("SHM_contents0011"); }

void TFormMain::ToolButton4Click() { ShowHelp("SHM_contents0012"); }

void TFormMain::M45Click() { OpenSupportPage(); }

void TFormMain::M46Click() {
  if (windows_.FormAbout) windows_.FormAbout->ShowModalCentred(this);
}

void TFormMain::ShowMenuEntryHelp(QAction* entry) {
  while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  const int context = entry ? entry->property(kHelpContextProperty).toInt() : 0;
  if (context > 0) {
    HelpViewer->ShowContext(context);
  } else {
    HelpViewer->ShowContents();
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

// ---- page switching --------------------------------------------------------

bool TFormMain::MakeupPageActive() const { return PageControl1->currentWidget() == TabSheetMakeup; }

void TFormMain::PageControl1Change() {
  if (MakeupPageActive()) {
    HideHair();
    SetMakeupCursors(MakeupTool);
    StopRandomShow();
    if (RandomFaceShown) LoadCurrentFace();
  } else {
    try {
      LeaveOutlineMode();
    } catch (...) {
      // The outlines could not be kept: the user stays on the Make-up page,
      // where they can be saved again or discarded by reloading the face.
      const QSignalBlocker blocker(PageControl1);
      PageControl1->setCurrentWidget(TabSheetMakeup);
      throw;
    }
    ShowHair();
    Makeup1->SetCursor(crDefault);
  }
  PanelFrameControls->setVisible(!MakeupPageActive());
}

}  // namespace glamora
