// The image editor: a view with its own processing and input/output components.
#include "imaging/ImgEditor.h"

namespace glamora {

TImgEditor::TImgEditor(QWidget* parent)
    : TImgView(parent), proc_(std::make_unique<TImgProc>()), io_(std::make_unique<TImgIO>()) {
  proc_->SetAttachedImgView(this);
  proc_->AutoUndo = true;
  io_->SetAttachedImgView(this);
}

TImgEditor::~TImgEditor() {
  proc_.reset();
  io_.reset();
}

void TImgEditor::SetOnProgress(const ProgressHandler& handler) {
  proc_->OnProgress = handler;
  io_->OnProgress = handler;
}

}  // namespace glamora
