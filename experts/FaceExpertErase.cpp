// The face expert's erasing page: the three erasers, undo, and saving the
// face model.
#include <QButtonGroup>
#include <QToolButton>
#include <array>

#include "experts/FaceExpert.h"
#include "experts/core/FaceModelFile.h"
#include "views/Makeup.h"

namespace glamora {

namespace {

struct Eraser {
  int Size;
  TCursor Cursor;
};

constexpr std::array<Eraser, 3> kErasers = {{{5, crEraserSmall}, {10, crEraserMedium}, {20, crEraserLarge}}};

}  // namespace

void TFormFaceExpert::ChooseEraser(int eraser) {
  if (eraser < 1 || eraser > int(kErasers.size())) return;
  const Eraser& chosen = kErasers[size_t(eraser - 1)];
  makeup1_->SetMode(TCanvasMode::cmAirbrush);
  makeup1_->SetCursor(chosen.Cursor);
  makeup1_->SetBrushSize(chosen.Size);
  erasers_->button(eraser)->setChecked(true);
}

void TFormFaceExpert::ResetErasers() {
  makeup1_->SetMode(TCanvasMode::cmAirbrush);
  makeup1_->SetColor(kEraserColour);
  makeup1_->SetBrushIntensity(kEraserIntensity);
  // The medium eraser's size, and its cursor, so that the circle under the
  // mouse is the brush that paints.
  ChooseEraser(2);
}

void TFormFaceExpert::ToolButton13Click() { canvasModel_.Undo(); }

void TFormFaceExpert::bSaveClick() {
  FaceModelSaveDialogs dialogs;
  dialogs.AskFileName = [this](const std::string& folder) { return SaveDialog1 ? SaveDialog1(folder) : std::string(); };
  dialogs.AskReplace = [this](const std::string&) {
    const TModalResult answer = MessageDlg(kReplaceFaceQuestion, TMsgDlgType::mtWarning, mbYes | mbNo | mbCancel, mbNo);
    FormActivate();
    if (answer == mrYes) return ReplaceAnswer::Yes;
    return answer == mrNo ? ReplaceAnswer::No : ReplaceAnswer::Cancel;
  };
  const std::string written = SaveFaceModelAs(canvasModel_.Face(), programFolder_ + "Faces/", dialogs);
  if (written.empty()) return;
  SavedFileName = written;
  unsavedFace_ = false;
  done(mrOk);
}

}  // namespace glamora
