// The gallery panel: its tool bar and thumbnails, adding the current result,
// browsing, deleting, and the preview with export and print.
#include "shell/GalleryPanel.h"

#include <QDir>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QToolButton>

#include "desktop/Dialogs.h"
#include "desktop/FileFunctions.h"
#include "desktop/Panel.h"
#include "desktop/ToolBar.h"
#include "gallery/GalleryFolder.h"
#include "gallery/Preview.h"
#include "imaging/ImgThumbView.h"
#include "model/Makeover.h"
#include "shell/MainWindowHost.h"
#include "shell/Thumbnails.h"

namespace glamora {

namespace {

const QSize kToolButtonSize(39, 38);
const QSize kToolPictureSize(32, 32);

}  // namespace

TGalleryPanel::TGalleryPanel(TMainWindowHost& window, const Makeover& model, QWidget& parent, const QRect& place)
    : QObject(&parent), window_(window), model_(model) {
  Build(parent, place);
  Connect();
}

TGalleryPanel::~TGalleryPanel() = default;

void TGalleryPanel::Build(QWidget& parent, const QRect& place) {
  panel_ = new TPanel(&parent);
  panel_->setObjectName("PanelPreview");
  panel_->setGeometry(place);
  panel_->SetBevelInner(bvLowered);
  panel_->SetBorderWidth(3);

  toolBar_ = new TToolBar(Qt::Vertical, kToolButtonSize, kToolPictureSize, panel_);
  toolBar_->setObjectName("ToolBar2");
  addButton_ = toolBar_->AddButton("tbAddGalery", "Add to Gallery", "main", 6);
  firstButton_ = toolBar_->AddButton("ToolButton6", "Go to first", "main", 14);
  lastButton_ = toolBar_->AddButton("ToolButton5", "Go to last", "main", 13);
  deleteAllButton_ = toolBar_->AddButton("tbDeleteAll", "Delete All", "main", 9);
  exportButton_ = toolBar_->AddButton("tbExport", "Export selected", "main", 7);
  printButton_ = toolBar_->AddButton("tbPrint", "Print selected", "main", 8);
  numbersButton_ = toolBar_->AddButton("tbShowGalleryThumbs", "Show pictures number", "main", 16);
  numbersButton_->setCheckable(true);
  helpButton_ = toolBar_->AddButton("ToolButton4", "Gallery Help", "main", 12);
  const QRect inner = panel_->AlignRect();
  panel_->PlaceChild(*toolBar_, inner.left(), inner.top(), toolBar_->Thickness(), inner.height());

  thumbnails_ = new TImgThumbView(panel_);
  thumbnails_->setObjectName("ThumbViewPreview");
  thumbnails_->setToolTip("Double click to enlarge");
  thumbnails_->SetBorderStyle(bsNone);
  thumbnails_->SetScrollBars(ssVertical);
  thumbnails_->SetGridWidth(1);
  thumbnails_->SetHorizBorder(2);
  thumbnails_->SetVertBorder(2);
  thumbnails_->SetBottomGap(3);
  thumbnails_->SetSelectionWidth(2);
  thumbnails_->SetSelectionColor(kThumbnailMarkColor);
  thumbnails_->SetMouseInteract(mmiScroll | mmiSelect);
  thumbnails_->SetKeyInteract({});
  thumbnails_->SetCursor(crHandPoint);
  panel_->PlaceChild(*thumbnails_, inner.left() + toolBar_->Thickness(), inner.top(),
                     inner.width() - toolBar_->Thickness(), inner.height());

  exportDialog_ = ExportFileDialog(panel_);
  printDialog_ = PrintDialog(panel_);
}

void TGalleryPanel::Connect() {
  connect(addButton_, &QToolButton::clicked, this, Guarded([this] { AddToGallery(); }));
  connect(firstButton_, &QToolButton::clicked, this, Guarded([this] { SelectFirst(); }));
  connect(lastButton_, &QToolButton::clicked, this, Guarded([this] { SelectLast(); }));
  connect(deleteAllButton_, &QToolButton::clicked, this, Guarded([this] { DeleteAll(); }));
  connect(numbersButton_, &QToolButton::clicked, this, Guarded([this] { ToggleNumbers(); }));
  // Export and Print open the same preview, where the user chooses.
  for (QToolButton* button : {exportButton_, printButton_}) {
    connect(button, &QToolButton::clicked, this, Guarded([this] { PreviewSelected(); }));
  }
  connect(helpButton_, &QToolButton::clicked, this, Guarded([this] { window_.ShowHelpTopic("SHM_contents0012"); }));
  thumbnails_->OnDblClick = [this](QObject*) { RunHandler([this] { PreviewSelected(); }); };
  thumbnails_->OnMouseDown = [this](QObject*, Qt::MouseButton button, Qt::KeyboardModifiers, int, int) {
    RunHandler([this, button] { GalleryMouseDown(button); });
  };
  thumbnails_->OnImageDraw = [this](QObject*, int index, int left, int top, QPainter& canvas) {
    DrawThumbnail(index, left, top, canvas);
  };
}

std::string TGalleryPanel::GalleryFolder() const { return window_.ProgramFolder() + "Preview" + kPathSeparator; }

// ---- what the window asks ----------------------------------------------------

void TGalleryPanel::FormCreate() {
  export_ = {1, DefaultDocumentsFolder()};
  counter_ = GalleryCounterOf(window_.ProgramFolder() + "Preview");
  // A missing gallery folder is created; a failure is left to the first add.
  QDir().mkdir(QString::fromStdString(window_.ProgramFolder() + "Preview"));
  showNumbers_ = false;
}

void TGalleryPanel::FormShow() {
  SizeThumbnails(*thumbnails_);
  FillThumbnails(*thumbnails_, GalleryFolder(), 0);
}

void TGalleryPanel::DeleteKey() {
  if (!thumbnails_->hasFocus() || thumbnails_->ImageCount() == 0) return;
  const int selected = thumbnails_->SelectedImage();
  const std::string fileName = thumbnails_->GetImageFileName(selected);
  thumbnails_->DeleteImage(selected);
  if (!fileName.empty()) DeleteGalleryPicture(fileName);
}

// ---- adding and browsing -----------------------------------------------------

void TGalleryPanel::AddToGallery() {
  // The hair goes where the model places it on the face, whatever the canvas
  // shows at the moment.
  const GalleryAddition added = AddGalleryPicture(GalleryFolder(), counter_, model_.Compose());
  if (!added.Written) return;
  counter_ = added.Number;
  // The new picture is selected by its name, wherever it sorts.
  FillThumbnails(*thumbnails_, GalleryFolder(), -1);
  SelectThumbnailOf(*thumbnails_, added.FileName);
}

void TGalleryPanel::GalleryMouseDown(Qt::MouseButton button) {
  if (button == Qt::RightButton) AddToGallery();
}

void TGalleryPanel::SelectFirst() { thumbnails_->MoveSelection(ThumbMove::First); }

void TGalleryPanel::SelectLast() { thumbnails_->MoveSelection(ThumbMove::Last); }

void TGalleryPanel::ToggleNumbers() {
  showNumbers_ = numbersButton_->isChecked();
  // Only the drawing over the thumbnails changes; the pictures stay loaded.
  thumbnails_->update();
}

void TGalleryPanel::DrawThumbnail(int index, int left, int top, QPainter& canvas) {
  FrameThumbnail(canvas, *thumbnails_, left, top);
  if (showNumbers_) {
    const QString text = QString::fromStdString(FileBaseName(thumbnails_->GetImageFileName(index)));
    const QFontMetrics metrics(canvas.font());
    const int bottom = top + thumbnails_->ThumbHeight();
    const QRect box(left, bottom - 1 - metrics.height(), metrics.horizontalAdvance(text), metrics.height());
    canvas.fillRect(box, Qt::white);
    canvas.setPen(Qt::black);
    canvas.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
  }
  // Again, so the number's white box never covers the frame.
  FrameThumbnail(canvas, *thumbnails_, left, top);
}

void TGalleryPanel::DeleteAll() {
  if (!DeleteAllGalleryPictures(GalleryFolder(), thumbnails_->ImageCount())) return;
  FillThumbnails(*thumbnails_, GalleryFolder(), 0);
  counter_ = 0;
}

// ---- preview, export and print -----------------------------------------------

void TGalleryPanel::PreviewSelected() {
  const int selected = thumbnails_->SelectedImage();
  if (selected < 0) {
    ShowMessage(kNoSelectedGalleryPicture);
    return;
  }
  if (!preview_) return;
  const TModalResult answer = preview_->ShowGalleryPicture(thumbnails_->GetImageFileName(selected));
  if (answer == mrExport) {
    ExportSelected();
  } else if (answer == mrPrint) {
    PrintSelected();
  }
}

void TGalleryPanel::ExportSelected() {
  const int selected = thumbnails_->SelectedImage();
  if (selected < 0) {
    ShowMessage(kNoSelectedGalleryPicture);
    return;
  }
  ExportGalleryPicture(thumbnails_->GetImageFileName(selected), export_, exportDialog_);
}

void TGalleryPanel::SetPictureLimits(const DecodeLimits& limits) {
  limits_ = limits;
  thumbnails_->IO().Params.Limits = limits;
}

QRect TGalleryPanel::PrintSelected() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  const int selected = thumbnails_->SelectedImage();
  return PrintSelectedGalleryPicture(thumbnails_->ImageCount(), thumbnails_->GetImageFileName(selected), *printer_,
                                     printDialog_, limits_);
}

}  // namespace glamora
