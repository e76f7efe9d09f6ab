// The Hairstyle page: its controls, the hair view and frame over the canvas,
// the frame buttons, the hair colour, the catalogue and its Delete key.
#include "shell/HairstylePage.h"

#include <QComboBox>
#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLayout>
#include <QPainter>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>
#include <utility>

#include "desktop/Dialogs.h"
#include "desktop/Panel.h"
#include "hair/Catalogue.h"
#include "imaging/HsvPicker.h"
#include "imaging/ImgThumbView.h"
#include "imaging/QtBitmap.h"
#include "model/Makeover.h"
#include "shell/MainCursors.h"
#include "shell/MainWindowHost.h"
#include "shell/Thumbnails.h"
#include "views/FrameBox.h"
#include "views/FrameButtons.h"
#include "views/HairView.h"
#include "views/Makeup.h"

namespace glamora {

THairstylePage::THairstylePage(TMainWindowHost& window, Makeover& model, TMakeup& canvas, QWidget& frameControls,
                               QObject* parent)
    : QObject(parent), window_(window), model_(model), canvas_(canvas) {
  Build(frameControls);
  Connect();
}

void THairstylePage::Build(QWidget& frameControls) {
  sheet_ = new QWidget;
  sheet_->setObjectName("TabSheetHairstyles");

  colorBoxPanel_ = new TPanel(sheet_);
  colorBoxPanel_->setObjectName("PanelHairColor");
  colorBoxPanel_->SetBevelOuter(bvLowered);
  colorBoxPanel_->setFixedSize(184, 93);
  colorBox_ = new THsvPicker(colorBoxPanel_);
  colorBox_->setObjectName("HsvPickerHair");
  colorBox_->setGeometry(1, 1, 182, 91);

  categorySelector_ = new QComboBox(sheet_);
  categorySelector_->setObjectName("cbHairDir");
  for (HairstyleCategory category = kFirstCategory; category <= kLastCategory; ++category) {
    categorySelector_->addItem(QString::fromStdString(CategoryCaption(category)));
  }
  categorySelector_->setPlaceholderText("Hairstyles");
  categorySelector_->setCurrentIndex(-1);
  categorySelector_->setToolTip("Hairstyle types");
  QFont selectorFont = categorySelector_->font();
  selectorFont.setPixelSize(15);
  categorySelector_->setFont(selectorFont);

  auto smallButton = [this](const QString& name, const QString& hint, const QString& picture) {
    auto* button = new QToolButton(sheet_);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setIcon(QIcon(QString(":/icons/buttons/%1.png").arg(picture)));
    button->setIconSize(QSize(16, 16));
    button->setFixedSize(25, 25);
    return button;
  };
  colourResetButton_ = smallButton("bColorReset", "Default hairstyle color", "colour-reset");
  helpButton_ = smallButton("bHelpHairs", "Hairstyles Help", "help");

  catalogue_ = new TImgThumbView(sheet_);
  catalogue_->setObjectName("ThumbViewHair");
  catalogue_->SetScrollBars(ssVertical);
  catalogue_->SetGridWidth(3);
  catalogue_->SetHorizBorder(3);
  catalogue_->SetVertBorder(3);
  catalogue_->SetSelectionWidth(2);
  catalogue_->SetSelectionColor(kThumbnailMarkColor);
  catalogue_->SetMouseInteract(mmiScroll | mmiSelect);
  catalogue_->SetCursor(crHandPoint);

  auto* row = new QHBoxLayout;
  row->setSpacing(2);
  row->addWidget(categorySelector_, 1);
  row->addWidget(colourResetButton_);
  row->addWidget(helpButton_);
  auto* page = new QVBoxLayout(sheet_);
  page->setContentsMargins(2, 3, 2, 2);
  page->setSpacing(4);
  page->addWidget(colorBoxPanel_, 0, Qt::AlignHCenter);
  page->addLayout(row);
  page->addWidget(catalogue_, 1);

  // The hair lies in the canvas, and the frame box over it.
  hairView_ = new THairView(canvas_);
  hairView_->setObjectName("ImageHair");
  frameBox_ = new TFrameBox(&canvas_);
  frameBox_->setObjectName("FrameBoxHair");
  frameBox_->AttachTarget(hairView_);
  frameStepper_ = new TFrameStepper(*frameBox_, this);
  frameStepper_->TimerFrame()->setObjectName("TimerFrame");
  CreateFrameButtons(frameControls, *frameStepper_, [this] { RunHandler([this] { ResetHairPlacement(); }); });
}

void THairstylePage::Connect() {
  colorBox_->OnChange = [this](QObject*) { RunHandler([this] { HairColourChanged(); }); };
  connect(colourResetButton_, &QToolButton::clicked, this, Guarded([this] { ResetHairColour(); }));
  connect(helpButton_, &QToolButton::clicked, this, Guarded([this] { window_.ShowHelpTopic("SHM_contents0008"); }));
  // Every choice in the selector, the same category again too, fills the
  // catalogue afresh.
  connect(categorySelector_, &QComboBox::activated, this, Guarded([this] { ChooseCategory(); }));
  catalogue_->OnImageSelect = [this](QObject*, int index) { RunHandler([this, index] { ChooseHairstyle(index); }); };
  catalogue_->OnImageDraw = [this](QObject*, int index, int left, int top, QPainter& canvas) {
    DrawThumbnail(index, left, top, canvas);
  };
  // Every new hairstyle is placed where the previous one lay, and the frame
  // adopts it there.
  connect(hairView_, &THairView::HairstyleLoaded, this, [this] { frameBox_->AttachTarget(hairView_); });
}

// ---- what the window asks ----------------------------------------------------

void THairstylePage::FormCreate() {
  selectedHairstyle_ = 0;
  catalogueFolder_ = window_.ProgramFolder();
  categoryFolder_ = CategoryFolderOf(catalogueFolder_, kFirstCategory);
}

void THairstylePage::FormShow() {
  SetHairColour(model_.Tint());
  FillThumbnails(*catalogue_, categoryFolder_, selectedHairstyle_);
  CursorTable::Instance().Apply(*colorBox_, CursorNumber(TMainCursor::mcBrushHair));
  frameBox_->HideOutline();
  ResetHairPlacement();
  frameBox_->SetMouseEnabled(false);
}

void THairstylePage::SizeThumbnails() {
  // The view takes its final width from the page layout.
  if (QLayout* page = sheet_->layout()) page->activate();
  glamora::SizeThumbnails(*catalogue_);
}

void THairstylePage::HideHair() { frameBox_->HideWithImage(); }

void THairstylePage::ShowHair() { frameBox_->ShowWithImage(); }

void THairstylePage::DeleteKey() {
  if (!catalogue_->hasFocus() || catalogue_->ImageCount() < 1 || catalogue_->SelectedImage() < 0) return;
  const TModalResult answer =
      MessageDlg("Do you want to delete the hairstyle?", TMsgDlgType::mtConfirmation, mbYes | mbNo, mbNo);
  if (answer != mrYes) return;
  const int selected = catalogue_->SelectedImage();
  const std::string fileName = catalogue_->GetImageFileName(selected);
  catalogue_->DeleteImage(selected);
  // A file that cannot be deleted is not reported.
  QFile::remove(QString::fromStdString(fileName));
}

// ---- the hair ------------------------------------------------------------------

void THairstylePage::LoadHairstyle(const std::string& fileName) { model_.LoadHairstyle(fileName); }

void THairstylePage::HairColourChanged() { model_.SetTint({colorBox_->Red(), colorBox_->Green(), colorBox_->Blue()}); }

void THairstylePage::SetHairColour(THairColour colour) {
  colorBox_->SetRGB(colour.Red, colour.Green, colour.Blue);
  HairColourChanged();
  LoadHairstyle(catalogue_->GetImageFileName(catalogue_->SelectedImage()));
}

void THairstylePage::ResetHairColour() { SetHairColour(kDefaultHairColour); }

void THairstylePage::ResetHairPlacement() { glamora::ResetHairPlacement(*frameBox_); }

// ---- the catalogue ---------------------------------------------------------------

void THairstylePage::ChooseCategory() {
  const HairstyleCategory category = categorySelector_->currentIndex() + 1;
  categoryFolder_ = CategoryFolderOf(catalogueFolder_, category);
  FillThumbnails(*catalogue_, categoryFolder_, 0);
}

void THairstylePage::HairstyleAdded(const std::string& fileName) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (!fs::equivalent(fs::path(fileName).parent_path(), categoryFolder_, error)) return;
  const std::string selected = catalogue_->GetImageFileName(catalogue_->SelectedImage());
  if (selected.empty()) {
    // Nothing of this category is on the face: as choosing it would.
    FillThumbnails(*catalogue_, categoryFolder_, 0);
    return;
  }
  const int viewY = catalogue_->ViewY();
  const auto selectHandler = std::exchange(catalogue_->OnImageSelect, nullptr);
  FillThumbnails(*catalogue_, categoryFolder_, -1);
  SelectThumbnailOf(*catalogue_, selected);
  catalogue_->SetViewY(viewY);
  catalogue_->OnImageSelect = selectHandler;
  selectedHairstyle_ = catalogue_->SelectedImage();
}

void THairstylePage::ChooseHairstyle(int index) {
  LoadHairstyle(catalogue_->GetImageFileName(index));
  selectedHairstyle_ = index;
}

void THairstylePage::DrawThumbnail(int index, int left, int top, QPainter& canvas) {
  // The number just above the bottom edge, on a white ground.
  const QString text = QString::number(index);
  const QFontMetrics metrics(canvas.font());
  const int characterHeight = QFontInfo(canvas.font()).pixelSize();
  const int x = left + (catalogue_->ThumbWidth() - metrics.horizontalAdvance(text)) / 2;
  const int y = top + catalogue_->ThumbHeight() - 4 - characterHeight;
  canvas.setPen(ToQColor(kThumbnailMarkColor));
  canvas.setBackground(Qt::white);
  canvas.setBackgroundMode(Qt::OpaqueMode);
  canvas.drawText(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()), Qt::AlignLeft | Qt::AlignTop, text);

  FrameThumbnail(canvas, *catalogue_, left, top);
}

}  // namespace glamora
