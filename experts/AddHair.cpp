// The add-hairstyle expert: its tool bar and drawing panel, showing, the
// photograph's commands, saving into the catalogue, the keys and closing.
#include "experts/AddHair.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QStandardPaths>
#include <QToolButton>

#include "desktop/Dialogs.h"
#include "desktop/Panel.h"
#include "desktop/ToolBar.h"
#include "experts/PictureUnder.h"
#include "experts/Rotate.h"
#include "experts/SaveHair.h"
#include "experts/core/FaceShapes.h"
#include "experts/core/NewHairstyle.h"
#include "imaging/ImgOpenDialog.h"
#include "imaging/Image.h"
#include "resources/Resources.h"
#include "views/FrameBox.h"

namespace glamora {

namespace {

const QSize kToolButtonSize(45, 42);
const QSize kToolPictureSize(38, 36);
constexpr int kPaintPaneWidth = 585;
constexpr int kPaintPaneHeight = 401;

}  // namespace

TFormAddHair::TFormAddHair(const std::string& programFolder, TFormRotate& rotate, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      programFolder_(programFolder),
      rotate_(rotate) {
  InitResources();
  setObjectName("FormAddHair");
  setWindowTitle("Add hairstyles expert");
  BuildWindow();

  openedFileName_.clear();
  openFolder_ = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation).toStdString();
  imgIOFormat_.SetAttachedTImage(panel_.ImageFace);
  // Undo reloads the opened file; the component keeps no copy of a photograph.
  imgProcFormat_.AutoUndo = false;
  imgProcFormat_.SetBackground(clWhite);
  imgProcFormat_.SetAttachedTImage(panel_.ImageFace);

  OpenDialog1 = [this] {
    return TImgOpenDialog::Choose(this, kPictureOpenFilter, QString::fromStdString(openFolder_)).toStdString();
  };
}

TFormAddHair::~TFormAddHair() {
  // The pictures' components follow the pictures: the controls go first.
  delete panel_.Frame;
}

void TFormAddHair::BuildWindow() {
  setFixedSize(kClientWidth, kClientHeight);

  // Behind the tool bar, where it cannot be seen: it only holds the keyboard
  // focus for the frame.
  edit1_ = new QLineEdit(this);
  edit1_->setObjectName("Edit1");
  edit1_->setGeometry(4, 4, 40, 21);
  edit1_->installEventFilter(this);

  toolBar1_ = new TToolBar(Qt::Horizontal, kToolButtonSize, kToolPictureSize, this);
  toolBar1_->setObjectName("ToolBar1");
  toolBar1_->setAutoFillBackground(true);
  auto add = [this](const char* name, const char* hint, int picture, void (TFormAddHair::*handler)()) {
    QToolButton* button = toolBar1_->AddButton(name, hint, "addhair", picture);
    connect(button, &QToolButton::clicked, this, Guarded([this, handler] { (this->*handler)(); }));
  };
  add("bOpen", "Open graphic hairstyle file", 0, &TFormAddHair::bOpenClick);
  add("bZoomIn", "Decrease the face if it is too large", 1, &TFormAddHair::bZoomInClick);
  add("bRotate", "Rotate", 2, &TFormAddHair::bRotateClick);
  add("bUndo", "Undo", 3, &TFormAddHair::bUndoClick);
  add("bSave", "Save hairstyle", 4, &TFormAddHair::bSaveClick);
  add("bHelp", "Help", 5, &TFormAddHair::bHelpClick);
  add("bClose", "Close", 6, &TFormAddHair::bCloseClick);
  toolBar1_->setGeometry(0, 0, kClientWidth, toolBar1_->Thickness());

  const int top = toolBar1_->Thickness() + 2;
  panel_ = BuildPhotoPanel(this, QPoint((kClientWidth - kPaintPaneWidth - 2) / 2, top),
                           QSize(kPaintPaneWidth, std::min(kPaintPaneHeight, kClientHeight - top - 6)),
                           QPoint(kTemplateLeft, kTemplateTop));
  panel_.FrameBox->OnMouseDown = [this](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
    edit1_->setFocus();
  };
  // No frame round nothing: it shows with the first photograph.
  panel_.FrameBox->HideOutline();
}

// ---- showing and closing -----------------------------------------------------------

void TFormAddHair::ShowExpert() {
  if (!isVisible()) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
  }
  show();
  raise();
  activateWindow();
}

void TFormAddHair::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;
  RunHandler([this] { FormShow(); });
}

void TFormAddHair::FormShow() {
  panel_.ImageFace->raise();
  panel_.ImageShape->raise();
  panel_.FrameBox->raise();
  imgIOFormat_.Params.Lzw.GifDecoder = true;
  edit1_->setFocus();
  LoadTemplate();
}

void TFormAddHair::LoadTemplate() {
  ShowShapeTemplate(*panel_.ImageShape, LoadShapePicture(FaceShapeTemplateFile(programFolder_, kOvalShape)));
}

void TFormAddHair::bCloseClick() { close(); }

// ---- the photograph ------------------------------------------------------------------

void TFormAddHair::bOpenClick() {
  const std::string fileName = OpenDialog1 ? OpenDialog1() : std::string();
  if (fileName.empty()) return;
  OpenPicture(fileName);
}

bool TFormAddHair::OpenPicture(const std::string& fileName) {
  openedFileName_ = fileName;
  openFolder_ = QFileInfo(QString::fromStdString(fileName)).absolutePath().toStdString();
  const bool read = OpenPhotograph(*panel_.ImageFace, *panel_.ImageShape, *panel_.FrameBox, imgIOFormat_, fileName);
  panel_.FrameBox->Frame.Hidden = panel_.ImageFace->Bitmap()->Empty();
  panel_.FrameBox->RepaintBox();
  return read;
}

void TFormAddHair::bZoomInClick() {
  if (panel_.ImageFace->Bitmap()->Empty()) return;
  HalvePhotographFrame(*panel_.FrameBox);
}

void TFormAddHair::bRotateClick() { RotatePhotograph(*panel_.ImageFace, imgProcFormat_, rotate_, this); }

void TFormAddHair::bUndoClick() {
  if (panel_.ImageFace->Bitmap()->Empty() || openedFileName_.empty()) return;
  imgIOFormat_.LoadFromFile(openedFileName_);
}

// ---- saving --------------------------------------------------------------------------

void TFormAddHair::bSaveClick() {
  TImage& face = *panel_.ImageFace;
  if (face.Bitmap()->Empty() || !saveHair_) return;
  if (!saveHair_->Ask(this)) return;
  // A template that could not be shown is reported now, before anything changes.
  if (panel_.ImageShape->Bitmap()->Empty()) LoadTemplate();
  const std::string folder = CategoryFolderOf(programFolder_, saveHair_->Category());
  std::string written;
  {
    const BusyCursor busy;
    imgProcFormat_.SetAttachedTImage(&face);
    try {
      written = CutAndSaveHairstyle(*face.Bitmap(), BoundsOf(face), BoundsOf(*panel_.ImageShape), folder);
    } catch (...) {
      // The photograph keeps the bitmap resampled to its shown size.
      face.PictureChanged();
      throw;
    }
    face.PictureChanged();
  }
  if (OnHairstyleSaved) OnHairstyleSaved(written);
  if (MessageDlg(kAddAnotherHairstyleQuestion, TMsgDlgType::mtWarning, mbYes | mbNo) == mrYes) {
    bOpenClick();
  } else {
    close();
  }
}

// ---- help and keys -------------------------------------------------------------------

void TFormAddHair::bHelpClick() {
  if (OnHelpTopic) OnHelpTopic("SHM_contents0013");
}

bool TFormAddHair::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  return ExpertFormKeyDown(
      key, modifiers, [this] { RunHandler([this] { bOpenClick(); }); },
      [this] {
        if (OnHelpContext) OnHelpContext(9);
      });
}

void TFormAddHair::keyPressEvent(QKeyEvent* event) {
  if (FormKeyDown(event->key(), event->modifiers())) {
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool TFormAddHair::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit1_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    // The window sees its own keys first; the arrows then move the frame.
    if (FormKeyDown(key->key(), key->modifiers())) return true;
    if (panel_.FrameBox->HandleKey(key->key(), key->modifiers())) return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace glamora
