// The gallery's preview dialog and its three answers.
#include "gallery/Preview.h"

#include <QPushButton>

#include "imaging/ImgEditor.h"

namespace glamora {

namespace {

constexpr int kButtonLeft = 245;
constexpr int kButtonWidth = 83;
constexpr int kButtonHeight = 27;

}  // namespace

TFormPreview::TFormPreview(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
  setWindowTitle("Preview");
  setFixedSize(kClientWidth, kClientHeight);

  ImgEditor1 = new TImgEditor(this);
  ImgEditor1->setObjectName("ImgEditor1");
  ImgEditor1->BeginLoading();
  ImgEditor1->SetBounds(7, 7, 227, 314);
  ImgEditor1->EndLoading();
  ImgEditor1->SetAutoFit(true);
  ImgEditor1->SetZoomFilter(rfBSpline);

  auto button = [this](const char* name, const QString& caption, int top, TModalResult result) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setGeometry(kButtonLeft, top, kButtonWidth, kButtonHeight);
    connect(b, &QPushButton::clicked, this, [this, result] { done(result); });
    return b;
  };
  bExport = button("bExport", "Export", 7, mrExport);
  bPrint = button("bPrint", "Print", 40, mrPrint);
  bClose = button("bClose", " Close", 73, mrCancel);
  bExport->setDefault(true);
}

TModalResult TFormPreview::ShowGalleryPicture(const std::string& pictureFile) {
  ImgEditor1->LoadFromFileJpeg(pictureFile);
  if (QWidget* owner = parentWidget()) {
    move(owner->window()->frameGeometry().center() - QPoint(width() / 2, height() / 2));
  }
  return exec();
}

void TFormPreview::reject() { done(mrCancel); }

}  // namespace glamora
