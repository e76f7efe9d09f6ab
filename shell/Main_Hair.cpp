// The Hairstyle page of the main window and the hair on the face: the frame
// buttons, the hair colour box and its reset, the catalogue with its
// categories and the Delete key, and the random make-over with its timed show.
#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "face/FaceKeyGenerator.h"
#include "face/Makeup.h"
#include "hair/Catalogue.h"
#include "hair/FrameBox.h"
#include "hair/FrameButtons.h"
#include "imaging/HsvPicker.h"
#include "imaging/Image.h"
#include "imaging/components/ImgIO.h"
#include "imaging/components/ImgProc.h"
#include "imaging/ImgThumbView.h"
#include "imaging/QtBitmap.h"
#include "imaging/core/Stream.h"
#include "shell/Dialogs.h"
#include "shell/FileFunctions.h"
#include "shell/Main.h"
#include "shell/Panel.h"

namespace glamora {

namespace {

constexpr THairColour kDefaultHairColour{60, 40, 20};
// A timed show: the click's make-over and then one a second until this many
// were shown; the next tick puts the face back.
constexpr int kShowMakeovers = 9;

// Lets the window see an event of another object before that object does,
// as a key preview does; the handler returns true to keep the event.
class EventPreview : public QObject {
 public:
  using Handler = std::function<bool(QObject* watched, QEvent* event)>;
  EventPreview(QObject* parent, Handler handler) : QObject(parent), handler_(std::move(handler)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override { return handler_(watched, event); }

 private:
  Handler handler_;
};

// True when an entry of the menus has `keys` as its shortcut.
bool IsMenuShortcut(const QMenuBar& menus, const QKeySequence& keys) {
  const QList<QAction*> entries = menus.findChildren<QAction*>();
  return std::any_of(entries.begin(), entries.end(), [&](const QAction* entry) { return entry->shortcut() == keys; });
}

}  // namespace

// ---- building ------------------------------------------------------------------

void TFormMain::BuildHairFrame() {
  // Created after the hair picture, so it lies above it.
  FrameBoxHair = new TFrameBox(Makeup1);
  FrameBoxHair->setObjectName("FrameBoxHair");
  FrameStepper = new TFrameStepper(*FrameBoxHair, this);
  TimerFrame = FrameStepper->TimerFrame();
  FrameButtons =
      CreateFrameButtons(*PanelFrameControls, *FrameStepper, [this] { RunHandler([this] { ResetHairPlacement(); }); });
}

void TFormMain::ConnectHairPage() {
  HsvPickerHair->OnChange = [this](QObject*) { RunHandler([this] { HsvPickerHairChange(); }); };
  connect(bColorReset, &QToolButton::clicked, this, Guarded([this] { bColorResetClick(); }));
  // Every choice in the selector, the same category again too, fills the
  // catalogue afresh.
  connect(cbHairDir, &QComboBox::activated, this, Guarded([this] { cbHairDirChange(); }));
  ThumbViewHair->OnImageSelect = [this](QObject*, int index) {
    RunHandler([this, index] { ThumbViewHairImageSelect(index); });
  };
  ThumbViewHair->OnImageDraw = [this](QObject*, int index, int left, int top, QPainter& canvas) {
    ThumbViewHairImageDraw(index, left, top, canvas);
  };

  // The window's key handler sees the keys of the two views and of edFrame
  // before they do.
  auto* keyPreview = new EventPreview(this, [this](QObject* watched, QEvent* event) {
    // The edit box would claim the keys of its own editing commands (Ctrl+A
    // selects all); the window's menu shortcuts come first.
    if (event->type() == QEvent::ShortcutOverride && watched == edFrame &&
        IsMenuShortcut(*menuBar(), QKeySequence(static_cast<QKeyEvent*>(event)->keyCombination()))) {
      event->ignore();
      return true;
    }
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      RunHandler([this, key] { edFrameKeyDown(key->key(), key->modifiers()); });
    }
    return false;
  });
  for (QWidget* control : {static_cast<QWidget*>(ThumbViewHair), static_cast<QWidget*>(ThumbViewPreview),
                           static_cast<QWidget*>(edFrame)}) {
    control->installEventFilter(keyPreview);
  }

  auto* randomShowPress = new EventPreview(this, [this](QObject*, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      tbRandomShowMouseDown(mouse->button(), mouse->modifiers());
    }
    return false;
  });
  tbRandomShow->installEventFilter(randomShowPress);
  connect(tbRandomShow, &QToolButton::clicked, this, Guarded([this] { tbRandomShowClick(); }));
  connect(Timer1, &QTimer::timeout, this, Guarded([this] { Timer1Timer(); }));
}

// ---- the frame -------------------------------------------------------------------

void TFormMain::ResetHairPlacement() { glamora::ResetHairPlacement(*ImageHair, *FrameBoxHair); }

void TFormMain::HideHair() { FrameBoxHair->HideWithImage(); }

void TFormMain::ShowHair() { FrameBoxHair->ShowWithImage(); }

// ---- hair colour -----------------------------------------------------------------

THairPicture TFormMain::HairPicture() { return {*ImageHair, *ProcHair, *ImgIOHair, *FrameBoxHair}; }

void TFormMain::LoadHairstyle(const std::string& fileName) {
  glamora::LoadHairstyle(HairPicture(), fileName, HairColour, HairFileName);
}

void TFormMain::HsvPickerHairChange() {
  HairColour = {HsvPickerHair->Red(), HsvPickerHair->Green(), HsvPickerHair->Blue()};
  TintHair(*ProcHair, HairColour);
}

void TFormMain::SetHairColour(uint8_t red, uint8_t green, uint8_t blue) {
  HsvPickerHair->SetRGB(red, green, blue);
  HsvPickerHairChange();
  LoadHairstyle(ThumbViewHair->GetImageFileName(ThumbViewHair->SelectedImage()));
}

void TFormMain::bColorResetClick() {
  SetHairColour(kDefaultHairColour.Red, kDefaultHairColour.Green, kDefaultHairColour.Blue);
}

// ---- the catalogue ---------------------------------------------------------------

void TFormMain::FillThumbnails(TImgThumbView& view, const std::string& folder, int selection) {
  view.DeleteAllImages();
  std::vector<std::string> names;
  ListFiles(folder, "*.jpg", true, names);
  const std::string prefix = WithTrailingSeparatorOf(folder);
  for (const std::string& name : names) {
    const int index = view.AppendImage();
    view.SetImageFileName(index, prefix + name);
  }
  view.SetSelectedImage(selection);
}

void TFormMain::cbHairDirChange() {
  const HairstyleCategory category = cbHairDir->currentIndex() + 1;
  CategoryFolder = CategoryFolderOf(CatalogueFolder, category);
  FillThumbnails(*ThumbViewHair, CategoryFolder, 0);
}

void TFormMain::ThumbViewHairImageSelect(int index) {
  LoadHairstyle(ThumbViewHair->GetImageFileName(index));
  SelectedHairstyle = index;
}

void TFormMain::ThumbViewHairImageDraw(int index, int left, int top, QPainter& canvas) {
  // The number just above the bottom edge, on a white ground.
  const QString text = QString::number(index);
  const QFontMetrics metrics(canvas.font());
  const int characterHeight = QFontInfo(canvas.font()).pixelSize();
  const int x = left + (ThumbViewHair->ThumbWidth() - metrics.horizontalAdvance(text)) / 2;
  const int y = top + ThumbViewHair->ThumbHeight() - 4 - characterHeight;
  canvas.setPen(ToQColor(kThumbnailMarkColor));
  canvas.setBackground(Qt::white);
  canvas.setBackgroundMode(Qt::OpaqueMode);
  canvas.drawText(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()), Qt::AlignLeft | Qt::AlignTop, text);

  FrameThumbnail(canvas, *ThumbViewHair, left, top);
}

void TFormMain::edFrameKeyDown(int key, Qt::KeyboardModifiers) {
  if (key != Qt::Key_Delete) return;
  if (ThumbViewHair->hasFocus() && ThumbViewHair->ImageCount() >= 1 && ThumbViewHair->SelectedImage() >= 0 &&
      MessageDlg("Do you want to delete the hairstyle?", TMsgDlgType::mtConfirmation, mbYes | mbNo) == mrYes) {
    const int selected = ThumbViewHair->SelectedImage();
    const std::string fileName = ThumbViewHair->GetImageFileName(selected);
    ThumbViewHair->DeleteImage(selected);
    // A file that cannot be deleted is not reported.
    QFile::remove(QString::fromStdString(fileName));
  }
  if (ThumbViewPreview->hasFocus()) GalleryDeleteKey();
}

// ---- the random make-over --------------------------------------------------------

void TFormMain::RandomMakeover() {
  try {
    if (!Makeup1->LoadFace(FaceFileName)) return;
  } catch (const FileError&) {
    return;
  }
  Makeup1->SaveUndo();
  Makeup1->RandomMakeup();

  RandomGenerator& random = ProgramRandom();
  random.Seed(RandomGenerator::ClockSeed());
  const HairstyleCategory category = HairstyleCategory(random.Draw(kRandomCategories)) + 1;
  const int number = int(random.Draw(kRandomHairstyles));
  // A number without a file leaves the hair on the face; it is tinted anew.
  LoadHairstyle(HairstyleFileName(ProgramFolder, CategoryName(category), number));
  const uint8_t red = uint8_t(random.Draw(50) + 50);
  const uint8_t green = uint8_t(random.Draw(60));
  const uint8_t blue = uint8_t(random.Draw(40));
  HairColour = {red, green, blue};
  // The colour box keeps showing its colour.
  TintHair(*ProcHair, HairColour);
  ShowHair();
  RandomFaceShown = true;
}

void TFormMain::RandomShowStep() {
  {
    const QSignalBlocker blocker(PageControl1);
    PageControl1->setCurrentWidget(TabSheetHairstyles);
  }
  PageControl1Change();
  RandomMakeover();
}

void TFormMain::tbRandomShowMouseDown(Qt::MouseButton, Qt::KeyboardModifiers shift) {
  randomShowShift_ = shift;
  showStoppedByPress_ = Timer1->isActive();
  StopRandomShow();
}

void TFormMain::tbRandomShowClick() {
  // The press that ended a running show makes no make-over of its own.
  if (std::exchange(showStoppedByPress_, false)) return;
  const bool startShow = randomShowShift_.testFlag(Qt::ShiftModifier);
  randomShowShift_ = {};
  RandomShowStep();
  if (startShow) {
    RandomShowTicks = 0;
    Timer1->start();
  }
}

void TFormMain::Timer1Timer() {
  tbRandomShow->setDown(!tbRandomShow->isDown());
  ++RandomShowTicks;
  if (RandomShowTicks >= kShowMakeovers) {
    StopRandomShow();
    LoadCurrentFace();
    SetHairColour(kDefaultHairColour.Red, kDefaultHairColour.Green, kDefaultHairColour.Blue);
    return;
  }
  try {
    RandomShowStep();
  } catch (...) {
    StopRandomShow();
    throw;
  }
}

void TFormMain::StopRandomShow() {
  Timer1->stop();
  tbRandomShow->setDown(false);
}

}  // namespace glamora
