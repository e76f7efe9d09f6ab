// The picture open dialog: the file list, the preview pane and its lines, kept
// in step with the selection.
#include "imaging/ImgOpenDialog.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "imaging/CursorTable.h"
#include "imaging/components/PreviewInfo.h"

namespace glamora {

const char* const kPictureOpenFilter =
    "All graphics (*.tif;*.tiff;*.gif;*.jpg;*.jpeg;*.jpe;*.pcx;*.bmp;*.dib;*.png;*.wmf;*.emf;*.tga;*.targa;*.vda;;*.vst;"
    "*.pix;)|*.tif;*.tiff;*.gif;*.jpg;*.jpeg;*.jpe;*.pcx;*.bmp;*.dib;*.png;*.wmf;*.emf;*.tga;*.targa;*.vda;;*.vst;*.pix;"
    "|TIFF Bitmap (TIF;TIFF)|*.tif;*.tiff"
    "|CompuServe Bitmap (GIF)|*.gif"
    "|JPEG Bitmap (JPG;JPEG;JPE)|*.jpg;*.jpeg;*.jpe"
    "|PaintBrush (PCX)|*.pcx"
    "|Windows Bitmap (BMP;DIB;RLE)|*.bmp;*.dib;*.rle"
    "|Portable Network Graphics (PNG)|*.png"
    "|Targa Bitmap (TGA;TARGA;VDA;ICB;VST;PIX)|*.tga;*.targa;*.vda;*.icb;*.vst;*.pix";

namespace {

// The preview view and the frame strip share one place in the picture panel.
const QRect kViewRect(6, 32, 133, 139);
constexpr int kPanelWidth = 190;
constexpr int kLabelHeight = 20;
// How long a frame without a delay of its own shows while playing.
constexpr int kUntimedFrameDelay = 100;
// The most frames one file gives the strip, and the most pixels their
// pictures may have together before the rest are left out.
constexpr int kMostFrames = 1000;
constexpr int64_t kMostFramePixels = int64_t(1) << 28;

struct ZoomEntry {
  const char* Text;
  int Percent;  // 0: fit
};
constexpr ZoomEntry kZoomEntries[] = {{"Fit", 0},    {"25%", 25},   {"50%", 50},   {"75%", 75},
                                      {"100%", 100}, {"125%", 125}, {"150%", 150}, {"175%", 175},
                                      {"200%", 200}, {"300%", 300}, {"400%", 400}};

QToolButton* SpeedButton(QWidget* parent, const char* name, const char* icon, const QString& hint, int left) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setAutoRaise(true);
  button->setIcon(QIcon(QString(":/icons/buttons/%1.png").arg(icon)));
  button->setToolTip(hint);
  button->setGeometry(left, 5, 23, 22);
  button->setEnabled(false);
  return button;
}

QLabel* InfoLine(QWidget* parent, const char* name, int top) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setGeometry(6, top, kPanelWidth - 12, kLabelHeight);
  return label;
}

// The enlarged preview: a modal tool window with a view to zoom and scroll.
class EnlargedPreview : public QDialog {
 public:
  EnlargedPreview(QWidget* parent, const QString& fileName, const Bitmap& picture) : QDialog(parent) {
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(": " + fileName);
    setSizeGripEnabled(true);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    view_ = new TImgView(this);
    view_->setObjectName("PreviewView");
    view_->SetBackground(clWhite);
    view_->SetBackgroundStyle(ibsChessboard);
    view_->SetCenter(true);
    view_->SetScrollBars(ssBoth);
    view_->SetCursor(crDefault);
    view_->SetMouseInteract({miZoom, miScroll});
    view_->Assign(&picture);
    layout->addWidget(view_);

    const QScreen* screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // A window as large as the screen keeps its frame on it too; the frame is
    // taken to be that of the window the preview opens from.
    const QWindow* opener = parent ? parent->window()->windowHandle() : nullptr;
    const QMargins frame = opener ? opener->frameMargins() : QMargins();
    const QSize frameSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    const QSize border(2 * view_->BorderWidth(), 2 * view_->BorderWidth());
    const QSize client =
        EnlargedPreviewClientSize(QSize(picture.Width(), picture.Height()), available.size() - frameSize - border);
    resize(client + border);
    // A window's position is that of its frame.
    move(available.center() - QPoint((width() + frameSize.width()) / 2, (height() + frameSize.height()) / 2));
  }

 private:
  TImgView* view_;
};

}  // namespace

QString TrimInitialDir(const QString& folder) {
  if (folder.isEmpty() || (!folder.endsWith('/') && !folder.endsWith('\\'))) return folder;
  const bool root = folder.size() == 1 || (folder.size() == 3 && folder[0].isLetter() && folder[1] == ':');
  return root ? folder : folder.chopped(1);
}

QStringList QtNameFilters(const QString& filter) {
  QStringList filters;
  if (filter.isEmpty()) return filters;
  const QStringList fields = filter.split('|');
  for (qsizetype i = 0; i < fields.size(); i += 2) {
    QStringList patterns;
    for (const QString& pattern : fields.value(i + 1).split(';', Qt::SkipEmptyParts)) {
      QString eitherCase;
      for (const QChar c : pattern.trimmed()) {
        eitherCase += c.isLetter() ? QString("[%1%2]").arg(c.toLower()).arg(c.toUpper()) : QString(c);
      }
      if (!eitherCase.isEmpty()) patterns << eitherCase;
    }
    if (patterns.isEmpty()) patterns << "*";
    filters << QString("%1 (%2)").arg(fields[i], patterns.join(' '));
  }
  return filters;
}

QSize EnlargedPreviewClientSize(QSize picture, QSize screen) {
  const auto side = [](int pictureSide, int screenSide) {
    if (pictureSide <= 100) return 100;
    return pictureSide < screenSide ? pictureSide : screenSide;
  };
  return {side(picture.width(), screen.width()), side(picture.height(), screen.height())};
}

// ------------------------------------------------------------------- pane

TImgPreviewPane::TImgPreviewPane(QWidget* parent) : QWidget(parent) {
  setObjectName("PreviewPane");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);

  picturePanel_ = new QWidget(this);
  picturePanel_->setObjectName("PicturePanel");
  picturePanel_->setFixedWidth(kPanelWidth);
  picturePanel_->setMinimumHeight(280);
  layout->addWidget(picturePanel_);
  layout->addStretch();

  zoomCombo_ = new QComboBox(picturePanel_);
  zoomCombo_->setObjectName("ZoomCombo");
  zoomCombo_->setToolTip("Zoom");
  zoomCombo_->setGeometry(6, 5, 50, 22);
  for (const ZoomEntry& entry : kZoomEntries) zoomCombo_->addItem(entry.Text, entry.Percent);
  previewButton_ = SpeedButton(picturePanel_, "PreviewButton", "preview", "Enlarged preview", 60);
  playButton_ = SpeedButton(picturePanel_, "PlayButton", "play", "Play", 85);
  playButton_->setCheckable(true);

  imgView_ = new TImgView(picturePanel_);
  imgView_->setObjectName("ImgView");
  imgView_->setGeometry(kViewRect);
  imgView_->SetBorderStyle(bsSingle);
  imgView_->SetBackground(clWhite);
  imgView_->SetBackgroundStyle(ibsDiagonals);
  imgView_->SetCenter(true);
  imgView_->SetCursor(crDefault);
  imgView_->SetMouseInteract({miScroll});
  imgView_->installEventFilter(this);
  screenDpiX_ = imgView_->DpiX();
  screenDpiY_ = imgView_->DpiY();

  thumbView_ = new TImgThumbView(picturePanel_);
  thumbView_->setObjectName("ImgThumbView");
  thumbView_->setGeometry(kViewRect);
  thumbView_->SetBackground(clWhite);
  thumbView_->SetScrollBars(ssHorizontal);
  thumbView_->SetMouseInteract(mmiScroll | mmiSelect);
  thumbView_->SetKeyInteract(mkiMoveSelected);
  thumbView_->SetThumbWidth(100);
  thumbView_->SetThumbHeight(109);
  thumbView_->hide();
  thumbView_->OnImageSelect = [this](QObject*, int index) { FrameSelected(index); };

  picLabels_[0] = InfoLine(picturePanel_, "PicLabel1", 180);
  picLabels_[1] = InfoLine(picturePanel_, "PicLabel2", 203);
  picLabels_[2] = InfoLine(picturePanel_, "PicLabel3", 226);

  previewCheck_ = new QCheckBox(picturePanel_);
  previewCheck_->setObjectName("PreviewCheck");
  previewCheck_->setGeometry(6, 252, kPanelWidth - 12, kLabelHeight);
  previewCheck_->setChecked(true);

  progressBar_ = new QProgressBar(picturePanel_);
  progressBar_->setObjectName("ProgressBar");
  progressBar_->setRange(0, 100);
  progressBar_->setTextVisible(false);
  progressBar_->setGeometry(kViewRect.left() + 8, kViewRect.center().y() - 7, kViewRect.width() - 16, 14);
  progressBar_->hide();

  advancedButton_ = new QPushButton(picturePanel_);
  advancedButton_->setObjectName("AdvancedButton");
  advancedButton_->hide();

  infoPanel_ = new QWidget(this);
  infoPanel_->setObjectName("InfoPanel");
  infoPanel_->setMinimumHeight(52);
  infoLabels_[0] = InfoLine(infoPanel_, "InfoLabel1", 6);
  infoLabels_[1] = InfoLine(infoPanel_, "InfoLabel2", 29);
  for (QLabel* label : infoLabels_) label->setMinimumWidth(360);
  layout->addWidget(infoPanel_);

  io_.SetAttachedImgView(imgView_);
  io_.OnProgress = [this](int percent) { Progress(percent); };

  connect(zoomCombo_, &QComboBox::currentIndexChanged, this, [this] { ZoomChanged(); });
  connect(previewButton_, &QToolButton::clicked, this, [this] { ShowEnlargedPreview(); });
  connect(playButton_, &QToolButton::toggled, this, [this](bool checked) { PlayToggled(checked); });
  connect(previewCheck_, &QCheckBox::toggled, this, [this](bool checked) { PreviewToggled(checked); });

  SetMsgLanguage(language_);
  EmptyViews();
}

TImgPreviewPane::~TImgPreviewPane() { io_.SetAttachedImgView(nullptr); }

void TImgPreviewPane::SetMsgLanguage(TMsgLanguage language) {
  language_ = language;
  previewCheck_->setText(QString::fromUtf8(Msg(kMsgPreview, language_)));
}

bool TImgPreviewPane::eventFilter(QObject* watched, QEvent* event) {
  if (watched == imgView_ && event->type() == QEvent::MouseButtonDblClick) {
    ShowEnlargedPreview();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void TImgPreviewPane::SelectionChange(const QString& path) {
  if (handling_) return;
  handling_ = true;
  StopPlaying();
  // A file without a resolution of its own shows the screen's, not that of
  // the file before it.
  imgView_->SetDpi(screenDpiX_, screenDpiY_);
  path_ = path;
  name_ = path.toStdString();
  const QFileInfo file(path);
  bool shown = false;
  if (!path.isEmpty() && file.isFile()) {
    fileSize_ = file.size();
    try {
      io_.Params.TiffPage = 0;
      shown = io_.ParamsFromFile(name_);
      if (shown) fileParams_ = io_.Params;
      if (shown && previewCheck_->isChecked()) {
        const BusyCursor busy;
        EmptyViews();
        const bool frames = FrameCountOf(fileParams_) > 1;
        playButton_->setEnabled(frames);
        zoomCombo_->setEnabled(!frames);
        imgView_->setVisible(!frames);
        thumbView_->setVisible(frames);
        progressBar_->setValue(0);
        progressBar_->show();
        progressBar_->raise();
        shown = frames ? LoadFrames() : LoadPicture(FitDenominator());
        progressBar_->hide();
        if (shown && !frames) ShowInformation(fileParams_);
        if (shown && frames && AlwaysAnimate && fileParams_.FileType == iftGif) playButton_->setChecked(true);
      } else if (shown) {
        ShowInformation(fileParams_);
      }
    } catch (const std::exception&) {
      shown = false;
    }
  }
  progressBar_->hide();
  if (shown) {
    shown_ = true;
    const QSignalBlocker blocker(zoomCombo_);
    zoomCombo_->setCurrentIndex(0);
    if (imgView_->Bitmap()->Width() > 1) imgView_->Fit();
    previewButton_->setEnabled(!thumbView_->Playing());
  } else {
    ShowNothing();
  }
  handling_ = false;
  if (OnSelectionHandled) OnSelectionHandled();
}

void TImgPreviewPane::Close() {
  StopPlaying();
  EmptyViews();
}

void TImgPreviewPane::ShowNothing() {
  shown_ = false;
  ClearInformation();
  previewButton_->setEnabled(false);
  playButton_->setEnabled(false);
  EmptyViews();
}

void TImgPreviewPane::ClearInformation() {
  for (QLabel* label : picLabels_) label->clear();
  for (QLabel* label : infoLabels_) label->clear();
}

void TImgPreviewPane::ShowInformation(const TImgIOParams& params) {
  const PreviewInfo info = DescribePreview(params, uint64_t(std::max<int64_t>(fileSize_, 0)), language_);
  picLabels_[0]->setText(QString::fromStdString(info.Size));
  picLabels_[1]->setText(QString::fromStdString(info.Colours));
  picLabels_[2]->setText(QString::fromStdString(info.Resolution));
  infoLabels_[0]->setText(QString::fromStdString(info.Format));
  infoLabels_[1]->setText(QString::fromStdString(info.FileAndMemory));
}

void TImgPreviewPane::EmptyViews() {
  imgView_->SetBackground(clWhite);
  imgView_->Bitmap()->Reset(1, 1);
  imgView_->Bitmap()->Fill(clWhite);
  imgView_->Update();
  thumbView_->SetBackground(clWhite);
  thumbView_->DeleteAllImages();
  denominator_ = 1;
}

bool TImgPreviewPane::LoadPicture(int denominator) {
  const bool jpeg = fileParams_.FileType == iftJpeg;
  io_.Params.JpegDecodeScale = ScaleOfDenominator(jpeg ? denominator : 1);
  const bool loaded = io_.LoadFromFile(name_);
  if (loaded) denominator_ = jpeg ? denominator : 1;
  return loaded;
}

bool TImgPreviewPane::LoadFrames() {
  const QSize fit(thumbView_->ThumbWidth(), thumbView_->ThumbHeight());
  int count = 0;
  int64_t pixels = 0;
  const bool loaded = io_.LoadFramesFromFile(name_, [&](const Bitmap& frame, int delayMs) {
    // Frames are held about the size of their cell; the enlarged preview
    // decodes the chosen one again at full size.
    const QSize size = ThumbFitSize(frame.Width(), frame.Height(), fit.width(), fit.height());
    const Bitmap* held = &frame;
    Bitmap reduced;
    while (!size.isEmpty() && held->Format() != PixelFormat::Bits1 && held->Width() / 2 >= size.width() &&
           held->Height() / 2 >= size.height()) {
      Bitmap half;
      if (!HalvePicture(*held, half)) break;
      reduced = std::move(half);
      held = &reduced;
    }
    const int index = thumbView_->AppendImage();
    thumbView_->SetImage(index, *held);
    thumbView_->SetImageDelay(index, delayMs > 0 ? delayMs : kUntimedFrameDelay);
    pixels += int64_t(frame.Width()) * frame.Height();
    return ++count < kMostFrames && pixels < kMostFramePixels;
  });
  if (!loaded || thumbView_->ImageCount() == 0) return false;
  thumbView_->MoveSelection(ThumbMove::First);
  return true;
}

void TImgPreviewPane::FrameSelected(int index) {
  if (index < 0 || thumbView_->Playing()) return;
  if (fileParams_.FileType != iftTiff) {
    ShowInformation(fileParams_);
    return;
  }
  // Pages may differ in size and coding: each shows its own.
  io_.Params.TiffPage = index;
  bool read = false;
  try {
    read = io_.ParamsFromFile(name_);
  } catch (const std::exception&) {
    read = false;
  }
  io_.Params.TiffPage = 0;
  if (read) {
    ShowInformation(io_.Params);
  } else {
    ClearInformation();
  }
}

int TImgPreviewPane::FitDenominator() const {
  if (fileParams_.FileType != iftJpeg) return 1;
  const QSize fit = ThumbFitSize(fileParams_.Width, fileParams_.Height, imgView_->width(), imgView_->height());
  return ThumbJpegDenominator(fileParams_.Width, fileParams_.Height, fit);
}

void TImgPreviewPane::ZoomChanged() {
  if (!shown_ || !previewCheck_->isChecked() || thumbView_->isVisibleTo(picturePanel_)) return;
  const int percent = zoomCombo_->currentData().toInt();
  // A JPEG is decoded at the smallest scale that the zoom does not enlarge.
  int denominator = 1;
  if (percent == 0) {
    denominator = FitDenominator();
  } else if (fileParams_.FileType == iftJpeg) {
    for (const int k : {8, 4, 2}) {
      if (percent * k <= 100) {
        denominator = k;
        break;
      }
    }
  }
  if (denominator != denominator_) {
    try {
      const BusyCursor busy;
      LoadPicture(denominator);
    } catch (const std::exception&) {
      ShowNothing();
      return;
    }
  }
  if (percent == 0) {
    imgView_->Fit();
  } else {
    imgView_->SetZoom(percent * denominator_);
  }
}

void TImgPreviewPane::PreviewToggled(bool checked) {
  if (checked) {
    SelectionChange(path_);
    return;
  }
  StopPlaying();
  ClearInformation();
  EmptyViews();
  imgView_->SetZoom(100);
  playButton_->setEnabled(false);
}

void TImgPreviewPane::PlayToggled(bool checked) {
  if (checked) {
    thumbView_->Play();
    previewButton_->setEnabled(false);
    return;
  }
  thumbView_->Stop();
  previewButton_->setEnabled(shown_);
  FrameSelected(thumbView_->SelectedImage());
}

void TImgPreviewPane::StopPlaying() {
  if (playButton_->isChecked()) playButton_->setChecked(false);
}

void TImgPreviewPane::Progress(int percent) {
  if (percent == progressBar_->value()) return;
  progressBar_->setValue(percent);
  if (progressBar_->isVisible()) progressBar_->repaint();
}

void TImgPreviewPane::ShowEnlargedPreview() {
  if (!shown_ || thumbView_->Playing()) return;
  const int frame = thumbView_->isVisibleTo(picturePanel_) ? std::max(thumbView_->SelectedImage(), 0) : 0;
  Bitmap picture;
  TImgIO io;
  io.SetBitmap(&picture);
  bool loaded = false;
  try {
    const BusyCursor busy;
    loaded = io.LoadFrameFromFile(name_, frame);
  } catch (const std::exception&) {
    loaded = false;
  }
  if (!loaded) return;
  EnlargedPreview window(this, path_, picture);
  window.exec();
}

// ----------------------------------------------------------------- dialog

namespace {

// Asks the window's question before a chosen file closes the dialog.
class PictureFileDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;
  std::function<bool()> CanClose;

  void accept() override {
    const QFileInfo chosen(selectedFiles().value(0));
    if (chosen.isFile() && CanClose && !CanClose()) return;
    QFileDialog::accept();
  }
};

}  // namespace

TImgOpenDialog::TImgOpenDialog(QObject* owner) : QObject(owner) {}

TImgOpenDialog::~TImgOpenDialog() = default;

QString TImgOpenDialog::FileName() const {
  if (dialog_) return dialog_->selectedFiles().value(0);
  return fileName_;
}

bool TImgOpenDialog::Execute(QWidget* parent) {
  PictureFileDialog dialog(parent);
  dialog.setObjectName("ImgOpenDialog");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (!title_.isEmpty()) dialog.setWindowTitle(title_);

  if (AutoSetFilter) filter_ = QString::fromStdString(OpenDialogFilter(BuiltInFormats()));
  QStringList filters = QtNameFilters(filter_);
  if (filters.isEmpty()) filters << "All files (*)";
  dialog.setNameFilters(filters);
  if (filterIndex_ >= 1 && filterIndex_ <= filters.size()) dialog.selectNameFilter(filters[filterIndex_ - 1]);
  const QFileInfo named(fileName_);
  const QString start = !initialDir_.isEmpty() ? initialDir_ : !fileName_.isEmpty() ? named.absolutePath() : QString();
  if (!start.isEmpty()) dialog.setDirectory(start);
  if (!fileName_.isEmpty()) dialog.selectFile(fileName_);
  dialog.setDefaultSuffix(!defaultExt_.isEmpty() ? defaultExt_ : named.suffix());

  // The pane: picture panel right of everything, information below the list.
  auto* pane = new TImgPreviewPane(&dialog);
  pane->AlwaysAnimate = AlwaysAnimate;
  pane->SetMsgLanguage(MsgLanguage);
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
    const int rows = grid->rowCount(), columns = grid->columnCount();
    grid->addWidget(pane->InfoPanel(), rows, 0, 1, columns);
    grid->addWidget(pane, 0, columns, rows + 1, 1);
  } else if (dialog.layout()) {
    dialog.layout()->addWidget(pane);
  }
  dialog.resize(dialog.sizeHint().expandedTo(QSize(760, 480)));

  // Moving fast through the list asks only for the file it stops on: the
  // preview follows once the pending events are handled.
  QTimer selection;
  selection.setSingleShot(true);
  selection.setInterval(0);
  QString pending;
  connect(&dialog, &QFileDialog::currentChanged, &selection, [&](const QString& path) {
    pending = path;
    selection.start();
  });
  connect(&selection, &QTimer::timeout, pane, [&] { pane->SelectionChange(pending); });
  pane->OnSelectionHandled = [this] {
    if (OnSelectionChange) OnSelectionChange(this);
  };
  connect(&dialog, &QFileDialog::directoryEntered, this, [this] {
    if (OnFolderChange) OnFolderChange(this);
  });
  connect(&dialog, &QFileDialog::filterSelected, this, [this] {
    if (OnTypeChange) OnTypeChange(this);
  });
  dialog.CanClose = [this] {
    bool canClose = true;
    if (OnCanClose) OnCanClose(this, canClose);
    return canClose;
  };

  dialog_ = &dialog;
  pane_ = pane;
  if (OnShow) OnShow(this);
  const bool accepted = dialog.exec() == QDialog::Accepted;
  selection.stop();
  pane->Close();
  if (OnClose) OnClose(this);
  const QString chosen = dialog.selectedFiles().value(0);
  if (accepted && !chosen.isEmpty()) {
    fileName_ = chosen;
    // The filter list shows the descriptions only, and selectedNameFilter
    // gives what it shows; its position is the filter's.
    const auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
    filterIndex_ = types ? types->currentIndex() + 1 : int(filters.indexOf(dialog.selectedNameFilter())) + 1;
  }
  dialog_ = nullptr;
  pane_ = nullptr;
  return accepted && !chosen.isEmpty();
}

QString TImgOpenDialog::Choose(QWidget* parent, const QString& filter, const QString& initialDir,
                               const QString& title) {
  TImgOpenDialog dialog;
  dialog.AutoSetFilter = false;
  dialog.SetFilter(filter);
  dialog.SetInitialDir(initialDir);
  dialog.SetTitle(title);
  return dialog.Execute(parent) ? dialog.FileName() : QString();
}

}  // namespace glamora
