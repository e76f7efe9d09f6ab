// The face browser dialog: the list of face files, the preview, Delete and Browse.
#include "gallery/OpenFace.h"

#include <QFileDialog>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>
#include <filesystem>

#include "desktop/Dialogs.h"
#include "desktop/FileFunctions.h"
#include "face/FaceFile.h"
#include "gallery/FileDialogFilter.h"
#include "imaging/ImgEditor.h"
#include "imaging/core/Stream.h"

namespace glamora {

TFormOpenFace::TFormOpenFace(const std::string& programFolder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      facesFolder_(WithTrailingSeparatorOf(programFolder) + "Faces") {
  setWindowTitle("Open face file");
  setFixedSize(kClientWidth, kClientHeight);

  FileListBox1 = new QListWidget(this);
  FileListBox1->setObjectName("FileListBox1");
  FileListBox1->setGeometry(13, 13, 144, 202);
  FileListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  FileListBox1->installEventFilter(this);
  connect(FileListBox1, &QListWidget::itemSelectionChanged, this, Guarded([this] { FileListBox1Click(); }));
  connect(FileListBox1, &QListWidget::itemDoubleClicked, this, Guarded([this] { bOpenClick(); }));

  ImgEditor1 = new TImgEditor(this);
  ImgEditor1->setObjectName("ImgEditor1");
  ImgEditor1->BeginLoading();
  ImgEditor1->SetBounds(170, 13, 108, 131);
  ImgEditor1->EndLoading();
  ImgEditor1->SetAutoFit(true);

  auto button = [this](const char* name, const char* caption, int top, int height) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setGeometry(176, top, 98, height);
    return b;
  };
  bOpen = button("bOpen", "Open", 150, 27);
  bBrowse = button("bBrowse", "Browse", 177, 28);
  bCancel = button("bCancel", "Cancel", 206, 27);
  bOpen->setDefault(true);
  connect(bOpen, &QPushButton::clicked, this, Guarded([this] { bOpenClick(); }));
  connect(bBrowse, &QPushButton::clicked, this, Guarded([this] { bBrowseClick(); }));
  connect(bCancel, &QPushButton::clicked, this, &TFormOpenFace::reject);

  OpenDialog1 = [this] {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(EitherCaseFilter("Glamora face format", "MFF"));
    dialog.setDirectory(QString::fromStdString(facesFolder_));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::string();
    return dialog.selectedFiles().first().toStdString();
  };
}

std::string TFormOpenFace::SelectedPath() const {
  const QList<QListWidgetItem*> selected = FileListBox1->selectedItems();
  if (selected.isEmpty()) return {};
  return facesFolder_ + kPathSeparator + selected.first()->text().toStdString();
}

int TFormOpenFace::ShowModalCentred(QWidget* owner) {
  if (owner) move(owner->window()->frameGeometry().center() - QPoint(width() / 2, height() / 2));
  return exec();
}

void TFormOpenFace::FormActivate() {
  std::vector<std::string> names;
  if (!ListFiles(facesFolder_, "*", true, names)) throw FileError("Cannot open file " + facesFolder_);
  std::erase_if(names, [](const std::string& name) { return FaceFileKindOf(name) == FaceFileKind::NotAFaceFile; });

  const QSignalBlocker quiet(FileListBox1);
  FileListBox1->clear();
  for (const std::string& name : names) FileListBox1->addItem(QString::fromStdString(name));
  FileListBox1->setCurrentRow(-1);
  FileListBox1->clearSelection();
}

void TFormOpenFace::FileListBox1Click() {
  const std::string path = SelectedPath();
  if (path.empty()) return;
  FaceHeader header;
  MemoryStream picture;
  if (ReadFaceFile(path, header, picture, nullptr, ImgEditor1->IO().Params.Limits)) ImgEditor1->LoadFromStream(picture);
}

void TFormOpenFace::bOpenClick() {
  SelectedFaceFile = SelectedPath();
  if (!SelectedFaceFile.empty()) {
    done(mrOk);
    return;
  }
  Message(kNoSelectedFace);
}

void TFormOpenFace::FileListBox1KeyDown(int key, Qt::KeyboardModifiers) {
  if (key != Qt::Key_Delete) return;
  const std::string path = SelectedPath();
  if (FaceFileKindOf(path) == FaceFileKind::Enciphered) {
    Message(kModelFileDeleteForbidden);
    return;
  }
  std::error_code ignored;
  if (!path.empty() && (path == CurrentFaceFile || std::filesystem::equivalent(path, CurrentFaceFile, ignored))) {
    Message(kOpenFaceDeleteForbidden);
    return;
  }
  const TModalResult answer = MessageDlg(kDeleteSelectedFileQuestion, TMsgDlgType::mtWarning, mbYes | mbNo, mbNo);
  Activated();
  if (answer != mrYes) return;
  // A read-only face file is kept, as the file system of the original
  // platform keeps it; the failure is not reported.
  if (!path.empty() && !IsReadOnlyFile(path)) std::filesystem::remove(path, ignored);
  FormActivate();
  ImgEditor1->Clear();
}

void TFormOpenFace::bBrowseClick() {
  const std::string chosen = OpenDialog1 ? OpenDialog1() : std::string();
  if (chosen.empty()) {
    done(mrCancel);
    return;
  }
  SelectedFaceFile = chosen;
  done(mrOk);
}

void TFormOpenFace::reject() { done(mrCancel); }

void TFormOpenFace::Activated() {
  try {
    FormActivate();
    folderErrorShown_ = false;
  } catch (const FileError& error) {
    if (folderErrorShown_) return;
    folderErrorShown_ = true;
    ShowException(error);
  }
}

void TFormOpenFace::Message(const char* text) {
  ShowMessage(text);
  Activated();
}

bool TFormOpenFace::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) Activated();
  return QDialog::event(event);
}

void TFormOpenFace::showEvent(QShowEvent* event) {
  folderErrorShown_ = false;
  QDialog::showEvent(event);
}

void TFormOpenFace::keyPressEvent(QKeyEvent* event) {
  // Browse is the first of the two cancel buttons, so Esc presses it.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    bBrowse->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TFormOpenFace::eventFilter(QObject* watched, QEvent* event) {
  if (watched == FileListBox1 && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Delete) {
      RunHandler([&] { FileListBox1KeyDown(key->key(), key->modifiers()); });
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace glamora
