// The add-hairstyle expert: its tool bar and drawing panel, showing, the
// photograph's commands, saving into the catalogue, the keys and closing.
#include "experts/AddHair.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QSpinBox>
#include <QStandardPaths>
#include <QToolButton>

#include "desktop/Dialogs.h"
#include "desktop/Panel.h"
#include "desktop/ToolBar.h"
#include "experts/PictureUnder.h"
#include "experts/Rotate.h"
#include "experts/SaveHair.h"
#include "desktop/BusyWork.h"
#include "experts/core/FaceShapes.h"
#include "experts/core/HairstyleFace.h"
#include "experts/core/PhotographFit.h"
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
  auto add = [this](const char* name, const char* hint, const char* list, int picture,
                    void (TFormAddHair::*handler)()) {
    QToolButton* button = toolBar1_->AddButton(name, hint, list, picture);
    connect(button, &QToolButton::clicked, this, Guarded([this, handler] { (this->*handler)(); }));
    return button;
  };
  add("bOpen", "Open graphic hairstyle file", "addhair", 0, &TFormAddHair::bOpenClick);
  add("bZoomIn", "Decrease the face if it is too large", "addhair", 1, &TFormAddHair::bZoomInClick);
  add("bRotate", "Rotate", "addhair", 2, &TFormAddHair::bRotateClick);
  add("bUndo", "Undo", "addhair", 3, &TFormAddHair::bUndoClick);
  fitButton_ = add("bFitAuto", "Fit the face automatically", "faceexpert", 13, &TFormAddHair::bFitAutoClick);
  wandButton_ = toolBar1_->AddButton("bWand", "Whiten the background: click it on the photograph", "faceexpert-erase", 2);
  wandButton_->setCheckable(true);
  connect(wandButton_, &QToolButton::toggled, this, [this](bool on) { SetBackgroundWand(on); });
  wandTolerance_ = new QSpinBox(toolBar1_);
  wandTolerance_->setObjectName("WandTolerance");
  wandTolerance_->setToolTip("Tolerance of the background wand");
  wandTolerance_->setRange(0, 255);
  wandTolerance_->setValue(kBackgroundWandTolerance);
  const QRect wand = wandButton_->geometry();
  wandTolerance_->setGeometry(wand.right() + 3, wand.top() + (wand.height() - 24) / 2, 52, 24);
  toolBar1_->AddSeparator(58);
  add("bSave", "Save hairstyle", "addhair", 4, &TFormAddHair::bSaveClick);
  add("bHelp", "Help", "addhair", 5, &TFormAddHair::bHelpClick);
  add("bClose", "Close", "addhair", 6, &TFormAddHair::bCloseClick);
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
  // The background wand takes the clicks before the frame.
  panel_.FrameBox->installEventFilter(this);
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
  fitButton_->setEnabled(bool(FindFace));
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
  if (read) {
    fitted_ = false;
    ForgetWhitening();
  }
  panel_.FrameBox->Frame.Hidden = panel_.ImageFace->Bitmap()->Empty();
  panel_.FrameBox->RepaintBox();
  return read;
}

void TFormAddHair::bZoomInClick() {
  if (panel_.ImageFace->Bitmap()->Empty()) return;
  HalvePhotographFrame(*panel_.FrameBox);
}

void TFormAddHair::bRotateClick() {
  if (RotatePhotograph(*panel_.ImageFace, imgProcFormat_, rotate_, this)) ForgetWhitening();
}

void TFormAddHair::bUndoClick() {
  Bitmap& photo = *panel_.ImageFace->Bitmap();
  if (photo.Empty()) return;
  if (!beforeWhitening_.Empty()) {
    photo.Assign(beforeWhitening_);
    ForgetWhitening();
    panel_.ImageFace->PictureChanged();
    return;
  }
  if (openedFileName_.empty()) return;
  if (imgIOFormat_.LoadFromFile(openedFileName_)) fitted_ = false;
}

void TFormAddHair::ForgetWhitening() { beforeWhitening_ = Bitmap(); }

// ---- fitting automatically and the background wand ------------------------------------

void TFormAddHair::bFitAutoClick() {
  TImage& face = *panel_.ImageFace;
  Bitmap& photo = *face.Bitmap();
  if (photo.Empty() || !FindFace) return;
  const PixelRect shown = BoundsOf(face);
  const PixelRect templateBounds = BoundsOf(*panel_.ImageShape);
  const PhotographFit found =
      RunBusy([&] { return FitPhotograph(photo, shown, templateBounds, fitted_, FindFace); });
  switch (found.Result) {
    case PhotographFit::Outcome::NoFace: ShowMessage(QString::fromStdString(found.Message)); return;
    case PhotographFit::Outcome::CannotFit: ShowMessage(kCannotFitMessage); return;
    case PhotographFit::Outcome::AlreadyFitted: fitted_ = true; return;
    case PhotographFit::Outcome::Fitted: break;
  }
  const FaceFit& fit = found.Fit;
  TurnPhotograph(face, imgProcFormat_, fit.Angle, true);
  ForgetWhitening();
  const QPoint corner = panel_.ImageShape->pos();
  face.setGeometry(corner.x() + fit.Picture.Left, corner.y() + fit.Picture.Top, fit.Picture.Width,
                   fit.Picture.Height);
  panel_.FrameBox->AttachImage(&face);
  fitted_ = true;
}

bool TFormAddHair::BackgroundWandOn() const { return wandButton_->isChecked(); }

void TFormAddHair::SetBackgroundWand(bool on) {
  wandButton_->setChecked(on);
  panel_.FrameBox->setCursor(on ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

int TFormAddHair::WandTolerance() const { return wandTolerance_->value(); }

void TFormAddHair::SetWandTolerance(int tolerance) { wandTolerance_->setValue(tolerance); }

bool TFormAddHair::WhitenAt(int x, int y) {
  TImage& face = *panel_.ImageFace;
  Bitmap& photo = *face.Bitmap();
  const PixelRect shown = BoundsOf(face);
  if (photo.Empty() || shown.Empty()) return false;
  const int64_t px = int64_t(x - shown.Left) * photo.Width() / shown.Width;
  const int64_t py = int64_t(y - shown.Top) * photo.Height() / shown.Height;
  if (x < shown.Left || y < shown.Top || px >= photo.Width() || py >= photo.Height()) return false;
  const BusyCursor busy;
  Bitmap before;
  before.Assign(photo);
  if (!WhitenBackground(photo, int(px), int(py), WandTolerance())) return false;
  beforeWhitening_ = std::move(before);
  face.PictureChanged();
  return true;
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
    // A face under the template stays see-through in the hairstyle.
    std::function<void(Bitmap&)> clearFace;
    if (FindFace) {
      const Bitmap mask = LoadShapePicture(FaceShapeMaskFile(programFolder_, kOvalShape));
      clearFace = [this, mask](Bitmap& cut) {
        if (FaceSeen(RunBusy([&] { return FindFace(cut); }))) ClearFaceArea(cut, mask);
      };
    }
    try {
      written = CutAndSaveHairstyle(*face.Bitmap(), BoundsOf(face), BoundsOf(*panel_.ImageShape), folder,
                                    clearFace);
    } catch (...) {
      // The photograph keeps the bitmap resampled to its shown size.
      face.PictureChanged();
      throw;
    }
    face.PictureChanged();
  }
  ForgetWhitening();
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
  if (watched == panel_.FrameBox && event->type() == QEvent::MouseButtonPress && BackgroundWandOn()) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton) {
      const QPoint p = panel_.FrameBox->mapTo(panel_.PanePaint, mouse->position().toPoint());
      RunHandler([this, p] { WhitenAt(p.x(), p.y()); });
    }
    return true;
  }
  if (watched == edit1_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    // The window sees its own keys first; the arrows then move the frame.
    if (FormKeyDown(key->key(), key->modifiers())) return true;
    if (panel_.FrameBox->HandleKey(key->key(), key->modifiers())) return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace glamora
