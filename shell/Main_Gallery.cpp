// The gallery panel of the main window: adding the current result, browsing,
// deleting, the preview with export and print; and opening a face through the
// face browser.
#include <QAction>
#include <QPainter>
#include <QPrinter>
#include <QToolButton>

#include "face/Makeup.h"
#include "gallery/GalleryFolder.h"
#include "gallery/OpenFace.h"
#include "gallery/Preview.h"
#include "hair/HairStyle.h"
#include "imaging/Image.h"
#include "imaging/ImgThumbView.h"
#include "shell/Dialogs.h"
#include "shell/FileFunctions.h"
#include "shell/Main.h"

namespace glamora {

namespace {

// The thumbnail view's MoveSelection codes.
constexpr int kMoveFirst = 4;
constexpr int kMoveLast = 5;

}  // namespace

void TFormMain::ConnectGallery() {
  connect(OpenFaceFile, &QAction::triggered, this, Guarded([this] { OpenFaceFileClick(); }));
  connect(tbOpenFace, &QToolButton::clicked, this, Guarded([this] { OpenFaceFileClick(); }));

  connect(MenuAdd, &QAction::triggered, this, Guarded([this] { MenuAddClick(); }));
  connect(tbAddGalery, &QToolButton::clicked, this, Guarded([this] { MenuAddClick(); }));
  connect(ToolButton6, &QToolButton::clicked, this, Guarded([this] { ToolButton6Click(); }));
  connect(ToolButton5, &QToolButton::clicked, this, Guarded([this] { ToolButton5Click(); }));
  connect(tbDeleteAll, &QToolButton::clicked, this, Guarded([this] { tbDeleteAllClick(); }));
  connect(tbShowGalleryThumbs, &QToolButton::clicked, this, Guarded([this] { tbShowGalleryThumbsClick(); }));
  // Export and Print open the same preview, where the user chooses.
  for (QAction* entry : {MenuExport, MenuPrint}) {
    connect(entry, &QAction::triggered, this, Guarded([this] { MenuExportClick(); }));
  }
  for (QToolButton* button : {tbExport, tbPrint}) {
    connect(button, &QToolButton::clicked, this, Guarded([this] { MenuExportClick(); }));
  }

  ThumbViewPreview->OnDblClick = [this](QObject*) { RunHandler([this] { MenuExportClick(); }); };
  ThumbViewPreview->OnMouseDown = [this](QObject*, Qt::MouseButton button, Qt::KeyboardModifiers, int, int) {
    RunHandler([this, button] { ThumbViewPreviewMouseDown(button); });
  };
  ThumbViewPreview->OnImageDraw = [this](QObject*, int index, int left, int top, QPainter& canvas) {
    ThumbViewPreviewImageDraw(index, left, top, canvas);
  };

  SaveDialog1 = ExportFileDialog(this);
  PrintDialog1 = PrintDialog(this);
}

std::string TFormMain::GalleryFolder() const { return ProgramFolder + "Preview" + kPathSeparator; }

// ---- the face browser ------------------------------------------------------

void TFormMain::OpenFaceFileClick() {
  TFormOpenFace* browser = windows_.FormOpenFace;
  if (!browser || browser->ShowModalCentred(this) != mrOk) return;
  LeaveOutlineMode();
  const std::string previous = FaceFileName;
  FaceFileName = browser->SelectedFaceFile;
  LoadCurrentFace();
  // The canvas keeps the previous face when the chosen one cannot be loaded;
  // so does FaceFileName, which is what closing stores for the next start.
  if (Makeup1->HeaderFileName() != FaceFileName) FaceFileName = previous;
}

// ---- adding and browsing ---------------------------------------------------

void TFormMain::MenuAddClick() {
  // The hair goes where and at the size the frame shows it over the face.
  const QRect hairBounds = HairBoundsOnPicture(*Makeup1, *ImageHair);
  const Bitmap work = ComposeResult(*Makeup1->Bitmap(), *ImageHair->Bitmap(), hairBounds);
  GalleryCounter = AddGalleryPicture(GalleryFolder(), GalleryCounter, work).Number;
  // The counter is a number, not an index, so the fill's selection is
  // usually ignored; the new picture is the last in name order.
  FillThumbnails(*ThumbViewPreview, GalleryFolder(), GalleryCounter);
  ThumbViewPreview->MoveSelection(kMoveLast);
}

void TFormMain::ThumbViewPreviewMouseDown(Qt::MouseButton button) {
  if (button == Qt::RightButton) MenuAddClick();
}

void TFormMain::ToolButton6Click() { ThumbViewPreview->MoveSelection(kMoveFirst); }

void TFormMain::ToolButton5Click() { ThumbViewPreview->MoveSelection(kMoveLast); }

void TFormMain::tbShowGalleryThumbsClick() {
  ShowGalleryNumbers = tbShowGalleryThumbs->isChecked();
  // Only the drawing over the thumbnails changes; the pictures stay loaded.
  ThumbViewPreview->update();
}

void TFormMain::ThumbViewPreviewImageDraw(int index, int left, int top, QPainter& canvas) {
  FrameThumbnail(canvas, *ThumbViewPreview, left, top);
  if (ShowGalleryNumbers) {
    const QString text = QString::fromStdString(FileBaseName(ThumbViewPreview->GetImageFileName(index)));
    const QFontMetrics metrics(canvas.font());
    const int bottom = top + ThumbViewPreview->ThumbHeight();
    const QRect box(left, bottom - 1 - metrics.height(), metrics.horizontalAdvance(text), metrics.height());
    canvas.fillRect(box, Qt::white);
    canvas.setPen(Qt::black);
    canvas.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
  }
  // Again, so the number's white box never covers the frame.
  FrameThumbnail(canvas, *ThumbViewPreview, left, top);
}

// ---- deleting --------------------------------------------------------------

void TFormMain::GalleryDeleteKey() {
  if (ThumbViewPreview->ImageCount() == 0) return;
  const int selected = ThumbViewPreview->SelectedImage();
  const std::string fileName = ThumbViewPreview->GetImageFileName(selected);
  ThumbViewPreview->DeleteImage(selected);
  if (!fileName.empty()) DeleteGalleryPicture(fileName);
}

void TFormMain::tbDeleteAllClick() {
  if (!DeleteAllGalleryPictures(GalleryFolder(), ThumbViewPreview->ImageCount())) return;
  FillThumbnails(*ThumbViewPreview, GalleryFolder(), 0);
  GalleryCounter = 0;
}

// ---- preview, export and print ---------------------------------------------

void TFormMain::MenuExportClick() { ShowGalleryPicture(); }

void TFormMain::ShowGalleryPicture() {
  const int selected = ThumbViewPreview->SelectedImage();
  if (selected < 0) {
    ShowMessage(kNoSelectedGalleryPicture);
    return;
  }
  if (!windows_.FormPreview) return;
  const TModalResult answer = windows_.FormPreview->ShowGalleryPicture(ThumbViewPreview->GetImageFileName(selected));
  if (answer == mrExport) {
    ExportGalleryPicture();
  } else if (answer == mrPrint) {
    PrintGalleryPicture();
  }
}

void TFormMain::ExportGalleryPicture() {
  const int selected = ThumbViewPreview->SelectedImage();
  if (selected < 0) {
    ShowMessage(kNoSelectedGalleryPicture);
    return;
  }
  ExportState state{ExportCounter, ExportFolder};
  glamora::ExportGalleryPicture(ThumbViewPreview->GetImageFileName(selected), state, SaveDialog1);
  ExportCounter = state.Counter;
  ExportFolder = state.Folder;
}

QRect TFormMain::PrintGalleryPicture() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  const int selected = ThumbViewPreview->SelectedImage();
  return PrintSelectedGalleryPicture(ThumbViewPreview->ImageCount(), ThumbViewPreview->GetImageFileName(selected),
                                     *printer_, PrintDialog1);
}

}  // namespace glamora
