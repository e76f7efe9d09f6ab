// The face expert's assembly: its two pages and tool bars, showing and
// activation, the tab lock, the keys and closing.
#include "experts/FaceExpert.h"

#include <QActionGroup>
#include <QButtonGroup>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTabWidget>
#include <QToolButton>

#include "desktop/Panel.h"
#include "desktop/ToolBar.h"
#include "experts/PhotoPlacement.h"
#include "experts/PictureFileDialog.h"
#include "experts/core/FaceShapes.h"
#include "face/StandardFace.h"
#include "imaging/Image.h"
#include "resources/Resources.h"
#include "views/FrameBox.h"
#include "views/Makeup.h"

namespace glamora {

namespace {

const QSize kToolButtonSize(45, 42);
const QSize kToolPictureSize(38, 36);
constexpr int kPaintPaneWidth = 665;
constexpr int kPaintPaneHeight = 451;
// The width inside the page control.
constexpr int kPageWidth = TFormFaceExpert::kClientWidth - 12;
// The arrow part of the shape button.
constexpr int kDropDownWidth = 14;

constexpr const char* kShapeItemNames[kFaceShapeCount] = {"Oval1", "Wide1", "Long1", "Rectangle1", "Triangle1"};

QIcon ShapeIcon(int shape) { return QIcon(QString(":/icons/faceexpert/%1.png").arg(shape + 7)); }

}  // namespace

// ---- running commands ------------------------------------------------------------

template <class Command>
void TFormFaceExpert::Run(Command&& command) {
  try {
    std::forward<Command>(command)();
  } catch (const std::exception& error) {
    ShowException(error);
    // Closing the error box activates the window again.
    FormActivate();
  }
}

void TFormFaceExpert::Message(const QString& text) {
  ShowMessage(text);
  FormActivate();
}

TFormFaceExpert::TFormFaceExpert(const std::string& programFolder, TFormRotate& rotate, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint),
      programFolder_(programFolder),
      rotate_(rotate) {
  InitResources();
  setObjectName("FormFaceExpert");
  BuildWindow();

  // What the window's creation sets up once.
  shapeIndex_ = kOvalShape;
  CursorTable& cursors = CursorTable::Instance();
  cursors.Register(crEraserSmall, "BRUSH1");
  cursors.Register(crEraserMedium, "BRUSH2");
  cursors.Register(crEraserLarge, "BRUSH3");
  openedFileName_.clear();
  openFolder_ = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation).toStdString();

  imgIOFormat_.SetAttachedTImage(imageFace_);
  // Undo reloads the opened file; the component keeps no copy of a photograph.
  imgProcFormat_.AutoUndo = false;
  imgProcFormat_.SetBackground(clWhite);
  imgProcFormat_.SetAttachedTImage(imageFace_);

  OpenDialog1 = [this] { return AskPictureFile(this, openFolder_); };
  SaveDialog1 = [this](const std::string& folder) {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The save asks its own replace question, about the name it really writes.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDirectory(QString::fromStdString(folder));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::string();
    return dialog.selectedFiles().first().toStdString();
  };
}

TFormFaceExpert::~TFormFaceExpert() {
  // The canvas follows its model, and the pictures' components follow them:
  // the controls go first.
  delete pages_;
}

// ---- building the window -------------------------------------------------------

void TFormFaceExpert::BuildWindow() {
  setFixedSize(kClientWidth, kClientHeight);
  pages_ = new QTabWidget(this);
  pages_->setObjectName("PageControl1");
  pages_->setGeometry(4, 4, kClientWidth - 8, kClientHeight - 8);
  formatPage_ = BuildFormattingPage();
  erasePage_ = BuildErasingPage();
  pages_->addTab(formatPage_, "Face formating");
  pages_->addTab(erasePage_, QIcon(":/icons/faceexpert-erase/1.png"), "");
  pages_->setCurrentWidget(formatPage_);
  SetAllowPageChange(false);
  connect(pages_, &QTabWidget::currentChanged, this, [this](int index) { PageControl1Change(index); });
}

QWidget* TFormFaceExpert::BuildFormattingPage() {
  auto* page = new QWidget;
  page->setObjectName("TabSheetFormat");

  // Behind the tool bar, where it cannot be seen: it only holds the keyboard
  // focus for the frame.
  edit1_ = new QLineEdit(page);
  edit1_->setObjectName("Edit1");
  edit1_->setGeometry(4, 4, 40, 21);
  edit1_->installEventFilter(this);

  toolBar1_ = new TToolBar(Qt::Horizontal, kToolButtonSize, kToolPictureSize, page);
  toolBar1_->setObjectName("ToolBar1");
  toolBar1_->setAutoFillBackground(true);
  auto add = [this](const char* name, const char* hint, int picture, auto handler) {
    QToolButton* button = toolBar1_->AddButton(name, hint, "faceexpert", picture);
    connect(button, &QToolButton::clicked, this, [this, handler] { Run([this, handler] { (this->*handler)(); }); });
    return button;
  };
  add("bOpen", "Open primary graphic face file", 0, &TFormFaceExpert::bOpenClick);
  add("bZoomIn", "Decrease the face if it is too large", 1, &TFormFaceExpert::bZoomInClick);
  add("bRotate", "Rotate", 2, &TFormFaceExpert::bRotateClick);
  add("bUndo", "Undo", 3, &TFormFaceExpert::bUndoClick);
  shapeButton_ = add("bShape", "Select proper face shape ", 8, &TFormFaceExpert::bShapeClick);
  shapeButton_->resize(kToolButtonSize.width() + kDropDownWidth, kToolButtonSize.height());
  toolBar1_->AddSeparator(kDropDownWidth);
  fitButton_ = add("bFitAuto", "Fit the face automatically", 13, &TFormFaceExpert::bFitAutoClick);
  add("tbCarveAuto", "Carve automatically ", 4, &TFormFaceExpert::tbCarveAutoClick);
  add("bCutByHand", "Carve manually", 5, &TFormFaceExpert::bCutByHandClick);
  add("bHelp", "Help", 6, &TFormFaceExpert::bHelpClick);
  add("bClose", "Close", 7, &TFormFaceExpert::bCloseClick);
  toolBar1_->setGeometry(0, 0, kPageWidth, toolBar1_->Thickness());

  shapeMenu_ = new QMenu(this);
  shapeMenu_->setObjectName("PopupMenu1");
  shapeGroup_ = new QActionGroup(this);
  shapeGroup_->setExclusive(true);
  for (int shape = 1; shape <= kFaceShapeCount; ++shape) {
    QAction* item = shapeMenu_->addAction(ShapeIcon(shape), QString::fromStdString(FaceShapeCaption(shape)));
    item->setObjectName(kShapeItemNames[shape - 1]);
    item->setCheckable(true);
    item->setData(shape);
    shapeGroup_->addAction(item);
    connect(item, &QAction::triggered, this, [this, shape] { Run([this, shape] { ChooseShape(shape); }); });
    shapeItems_[size_t(shape - 1)] = item;
  }
  shapeItems_[0]->setChecked(true);
  shapeButton_->setMenu(shapeMenu_);
  shapeButton_->setPopupMode(QToolButton::MenuButtonPopup);

  auto* frame = new TPanel(page);
  frame->setObjectName("Panel1");
  frame->SetBevelOuter(bvLowered);
  frame->setGeometry(4, toolBar1_->Thickness() + 2, kPaintPaneWidth + 2, kPaintPaneHeight + 2);
  paintPane_ = new TPanel(frame);
  paintPane_->setObjectName("PanePaint");
  paintPane_->SetBevelOuter(bvNone);
  paintPane_->SetColor(clWhite);
  const QRect inside = frame->AlignRect();
  frame->PlaceChild(*paintPane_, inside.left(), inside.top(), kPaintPaneWidth, kPaintPaneHeight);

  // From bottom to top: the photograph, the template over it, the frame box
  // over both.
  imageFace_ = new TImage(paintPane_);
  imageFace_->setObjectName("ImageFace");
  imageFace_->SetStretch(true);
  imageFace_->move(kTemplateLeft, kTemplateTop);
  imageShape_ = new TImage(paintPane_);
  imageShape_->setObjectName("ImageShape");
  imageShape_->SetAutoSize(true);
  imageShape_->SetTransparent(true);
  imageShape_->move(kTemplateLeft, kTemplateTop);
  frameBox_ = new TFrameBox(paintPane_);
  frameBox_->setObjectName("FrameBoxFormat");
  frameBox_->OnMouseDown = [this](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
    edit1_->setFocus();
  };
  return page;
}

QWidget* TFormFaceExpert::BuildErasingPage() {
  auto* page = new QWidget;
  page->setObjectName("TabSheetMakeup");
  toolBar2_ = new TToolBar(Qt::Horizontal, kToolButtonSize, kToolPictureSize, page);
  toolBar2_->setObjectName("ToolBar2");
  erasers_ = new QButtonGroup(this);
  erasers_->setObjectName("Erasers");
  erasers_->setExclusive(true);
  for (int eraser = 1; eraser <= 3; ++eraser) {
    QToolButton* button =
        toolBar2_->AddButton(QString("bBrush%1").arg(eraser), "Eraser", "faceexpert-erase", eraser - 1);
    button->setCheckable(true);
    erasers_->addButton(button, eraser);
    connect(button, &QToolButton::clicked, this, [this, eraser] { Run([this, eraser] { ChooseEraser(eraser); }); });
  }
  QToolButton* undo = toolBar2_->AddButton("ToolButton13", "Undo the last change", "faceexpert-erase", 3);
  QToolButton* save = toolBar2_->AddButton("bSave", "Save the face", "faceexpert-erase", 4);
  QToolButton* close = toolBar2_->AddButton("ToolButton15", "Close", "faceexpert-erase", 5);
  connect(undo, &QToolButton::clicked, this, [this] { Run([this] { ToolButton13Click(); }); });
  connect(save, &QToolButton::clicked, this, [this] { Run([this] { bSaveClick(); }); });
  connect(close, &QToolButton::clicked, this, [this] { Run([this] { done(mrCancel); }); });
  toolBar2_->setGeometry(0, 0, kPageWidth, toolBar2_->Thickness());

  makeup1_ = new TMakeup(canvasModel_, page);
  makeup1_->setObjectName("Makeup1");
  makeup1_->SetBorderStyle(bsNone);
  makeup1_->SetBackground(clWhite);
  makeup1_->SetScrollBars(ssBoth);
  makeup1_->SetCursor(crArrow);
  // The hand-carving seed is a pixel of the mask, wherever the view scrolls.
  makeup1_->SetSelectionBase(isbBitmap);
  makeup1_->setGeometry((kPageWidth - standard_face::kWidth) / 2, toolBar2_->Thickness() + 16,
                        standard_face::kWidth, standard_face::kHeight);
  // The canvas only ever erases.
  makeup1_->SetMode(TCanvasMode::cmAirbrush);
  return page;
}

// ---- showing, activation and closing ---------------------------------------------

bool TFormFaceExpert::PrepareWorkPicture(const Bitmap& currentPicture) {
  setWindowTitle("");
  imgIOFormat_.SetAttachedTImage(imageFace_);
  imageFace_->SetAutoSize(true);
  imageFace_->Bitmap()->Assign(currentPicture);
  imageFace_->PictureChanged();
  MoveFaceToTemplate();
  frameBox_->AttachImage(imageFace_);
  imageFace_->SetAutoSize(false);
  PictureOpened();
  return true;
}

TModalResult TFormFaceExpert::ShowModal() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
  }
  return exec();
}

void TFormFaceExpert::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  Run([this] { FormShow(); });
  FormActivate();
}

void TFormFaceExpert::FormShow() {
  canvasModel_.SetFaceSize(standard_face::kWidth, standard_face::kHeight, clWhite);
  makeup1_->resize(standard_face::kWidth, standard_face::kHeight);
  imageFace_->raise();
  imageShape_->raise();
  frameBox_->raise();
  imgIOFormat_.Params.Lzw.GifDecoder = true;
  SetAllowPageChange(false);
  ResetErasers();
  fitButton_->setEnabled(bool(FindFace));
  edit1_->setFocus();
  // Each showing starts from the Oval shape, so that the template shown and
  // the mask the carving uses always belong together.
  ChooseShape(kOvalShape);
}

void TFormFaceExpert::FormActivate() {
  ShowPage(formatPage_);
  setWindowTitle("");
}

void TFormFaceExpert::done(int result) {
  if (result != mrOk && !MayCloseWithoutSave()) return;
  ShowPage(formatPage_);
  QDialog::done(result);
}

bool TFormFaceExpert::MayCloseWithoutSave() {
  if (!unsavedFace_) return true;
  const TModalResult answer =
      MessageDlg(kSaveFaceQuestion, TMsgDlgType::mtWarning, mbYes | mbNo | mbCancel, mbCancel);
  if (answer == mrNo) {
    unsavedFace_ = false;
    return true;
  }
  // A save that succeeds closes the window with OK itself.
  if (answer == mrYes) Run([this] { bSaveClick(); });
  return false;
}

void TFormFaceExpert::reject() { done(mrCancel); }

bool TFormFaceExpert::FormattingPageShown() const { return pages_->currentWidget() == formatPage_; }

// ---- the tab lock ----------------------------------------------------------------

void TFormFaceExpert::ShowPage(QWidget* page) {
  commandPageChange_ = true;
  pages_->setCurrentWidget(page);
  commandPageChange_ = false;
  currentPage_ = pages_->currentIndex();
}

void TFormFaceExpert::SetAllowPageChange(bool allow) {
  allowPageChange_ = allow;
  // A locked tab cannot be clicked or reached with the keys.
  commandPageChange_ = true;
  pages_->setTabEnabled(pages_->indexOf(erasePage_), allow);
  commandPageChange_ = false;
  currentPage_ = pages_->currentIndex();
}

void TFormFaceExpert::PageControl1Change(int index) {
  if (commandPageChange_) return;
  if (!allowPageChange_) {
    const QSignalBlocker blocker(pages_);
    pages_->setCurrentIndex(currentPage_);
    return;
  }
  currentPage_ = index;
  if (pages_->widget(index) == formatPage_) SetAllowPageChange(false);
}

// ---- keys --------------------------------------------------------------------------

bool TFormFaceExpert::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  return ExpertFormKeyDown(
      key, modifiers, [this] { Run([this] { bOpenClick(); }); },
      [this] {
        if (OnHelpContext) OnHelpContext(9);
      });
}

void TFormFaceExpert::keyPressEvent(QKeyEvent* event) {
  if (FormKeyDown(event->key(), event->modifiers())) {
    event->accept();
    return;
  }
  // The window has no cancel button: Esc does not close it.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TFormFaceExpert::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit1_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    // The window sees its own keys first; the arrows then move the frame.
    if (FormKeyDown(key->key(), key->modifiers())) return true;
    if (frameBox_->HandleKey(key->key(), key->modifiers())) return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace glamora
