// The face expert's formatting page: opening, placing, rotating and reloading
// the photograph, the face shapes, and both carvings.
#include <QAction>
#include <QFileInfo>
#include <QToolButton>

#include "desktop/BusyWork.h"
#include "experts/FaceExpert.h"
#include "experts/PhotoPlacement.h"
#include "experts/PictureUnder.h"
#include "experts/Rotate.h"
#include "experts/core/Carving.h"
#include "experts/core/FaceShapes.h"
#include "experts/core/PhotographFit.h"
#include "imaging/Image.h"
#include "views/FrameBox.h"
#include "views/Makeup.h"

namespace glamora {

void TFormFaceExpert::MoveFaceToTemplate() { imageFace_->move(imageShape_->pos()); }

void TFormFaceExpert::PictureOpened() {
  const Bitmap& photo = *imageFace_->Bitmap();
  photoOutline_ = PhotographOutline(photo.Width(), photo.Height());
  fitted_ = false;
}

// ---- the photograph ----------------------------------------------------------------

void TFormFaceExpert::bOpenClick() {
  const std::string fileName = OpenDialog1 ? OpenDialog1() : std::string();
  if (fileName.empty()) return;
  OpenPicture(fileName);
}

bool TFormFaceExpert::OpenPicture(const std::string& fileName) {
  openedFileName_ = fileName;
  openFolder_ = QFileInfo(QString::fromStdString(fileName)).absolutePath().toStdString();
  const bool read = OpenPhotograph(*imageFace_, *imageShape_, *frameBox_, imgIOFormat_, fileName);
  if (read) PictureOpened();
  return read;
}

void TFormFaceExpert::bZoomInClick() { HalvePhotographFrame(*frameBox_); }

void TFormFaceExpert::bRotateClick() {
  const Bitmap& photo = *imageFace_->Bitmap();
  if (photo.Empty()) return;
  const bool turn = rotate_.Ask(photo, this);
  // Closing the dialog activates the window again.
  FormActivate();
  if (!turn) return;
  const int width = photo.Width(), height = photo.Height();
  TurnPhotograph(*imageFace_, imgProcFormat_, rotate_.Angle(), rotate_.Antialias());
  photoOutline_.Turn(rotate_.Angle(), width, height);
}

void TFormFaceExpert::bUndoClick() {
  if (openedFileName_.empty()) return;
  if (imgIOFormat_.LoadFromFile(openedFileName_)) PictureOpened();
}

// ---- face shapes ---------------------------------------------------------------------

void TFormFaceExpert::ChooseShape(int shape) {
  if (FaceShapeName(shape).empty()) return;
  shapeButton_->setIcon(shapeItems_[size_t(shape - 1)]->icon());
  Bitmap shapeTemplate;
  try {
    shapeTemplate = LoadShapePicture(FaceShapeTemplateFile(programFolder_, shape));
  } catch (...) {
    // The menu checks the item it was clicked on; the shape stays the old one.
    shapeItems_[size_t(shapeIndex_ - 1)]->setChecked(true);
    throw;
  }
  ShowShapeTemplate(*imageShape_, shapeTemplate);
  shapeItems_[size_t(shape - 1)]->setChecked(true);
  shapeButton_->setToolTip(QString::fromStdString(FaceShapeHint(shape)));
  shapeIndex_ = shape;
}

void TFormFaceExpert::bShapeClick() { ChooseShape(NextFaceShape(shapeIndex_)); }

// ---- fitting automatically -------------------------------------------------------------

void TFormFaceExpert::bFitAutoClick() {
  Bitmap& photo = *imageFace_->Bitmap();
  if (photo.Empty() || !FindFace) return;
  const PixelRect shown = BoundsOf(*imageFace_);
  const PixelRect templateBounds = BoundsOf(*imageShape_);
  // Input waits meanwhile, so the picture stays as the finder reads it.
  const PhotographFit found =
      RunBusy([&] { return FitPhotograph(photo, shown, templateBounds, fitted_, FindFace); });
  switch (found.Result) {
    case PhotographFit::Outcome::NoFace: Message(QString::fromStdString(found.Message)); return;
    case PhotographFit::Outcome::CannotFit: Message(kCannotFitMessage); return;
    case PhotographFit::Outcome::AlreadyFitted: fitted_ = true; return;
    case PhotographFit::Outcome::Fitted: break;
  }
  const FaceFit& fit = found.Fit;
  {
    const BusyCursor busy;
    const int width = photo.Width(), height = photo.Height();
    imgProcFormat_.SetAttachedTImage(imageFace_);
    imgProcFormat_.Rotate(fit.Angle, true);
    photoOutline_.Turn(fit.Angle, width, height);
  }
  const QPoint corner = imageShape_->pos();
  imageFace_->setGeometry(corner.x() + fit.Picture.Left, corner.y() + fit.Picture.Top, fit.Picture.Width,
                          fit.Picture.Height);
  frameBox_->AttachImage(imageFace_);
  fitted_ = true;
  const std::string problem = PlacementProblem(JudgeWorkPicture());
  if (!problem.empty()) {
    MessageDlg(QString::fromStdString(problem) + ".", TMsgDlgType::mtWarning, mbOK);
    FormActivate();
  }
}

PlacementVerdict TFormFaceExpert::JudgeWorkPicture() {
  const Bitmap mask = LoadShapePicture(FaceShapeMaskFile(programFolder_, shapeIndex_));
  return JudgePlacement(photoOutline_, BoundsOf(*imageFace_), BoundsOf(*imageShape_), mask);
}

bool TFormFaceExpert::MayCarve() {
  const std::string problem = PlacementProblem(JudgeWorkPicture());
  if (problem.empty()) return true;
  const TModalResult answer = MessageDlg(QString::fromStdString(problem) + ". " + kCarveAnywayQuestion,
                                         TMsgDlgType::mtWarning, mbYes | mbNo, mbNo);
  FormActivate();
  return answer == mrYes;
}

// ---- carving ---------------------------------------------------------------------------

void TFormFaceExpert::tbCarveAutoClick() {
  Bitmap& photo = *imageFace_->Bitmap();
  if (photo.Empty()) return;
  if (!MayCarve()) return;
  // A mask that cannot be used stops the carving before anything changes.
  const Bitmap mask = LoadShapePicture(FaceShapeMaskFile(programFolder_, shapeIndex_));
  const BusyCursor busy;
  imgProcFormat_.SetAttachedTImage(imageFace_);
  Bitmap face;
  face.Assign(canvasModel_.Face());
  DrawAtCanvasOrigin(PhotographUnderTemplate(photo, BoundsOf(*imageFace_), BoundsOf(*imageShape_)), face);
  imageFace_->PictureChanged();
  canvasModel_.SetFace(face);
  DrawMaskOver(mask, face);
  // An outline left by carving by hand would no longer fit this picture.
  makeup1_->Deselect();
  canvasModel_.SetFace(face);
  canvasModel_.SaveUndo();
  unsavedFace_ = true;
  SetAllowPageChange(true);
  ShowPage(erasePage_);
  // The message asks for the erasers, so their page stays current when it closes.
  ShowMessage(kUseErasersMessage);
}

void TFormFaceExpert::bCutByHandClick() {
  if (!imageFace_->Bitmap()->Empty() && !MayCarve()) return;
  const Bitmap mask = LoadShapePicture(FaceShapeMaskFile(programFolder_, shapeIndex_));
  canvasModel_.SetFace(mask);
  makeup1_->Deselect();
  makeup1_->SelectMagicWand(kHandCarveSeedX, kHandCarveSeedY, SelectionOp::Replace);
  Bitmap& photo = *imageFace_->Bitmap();
  if (photo.Empty()) return;
  const BusyCursor busy;
  imgProcFormat_.SetAttachedTImage(imageFace_);
  // The outline stays over the photograph as the guide for erasing.
  canvasModel_.SetFace(CarveByHand(photo, BoundsOf(*imageFace_), BoundsOf(*imageShape_), mask));
  imageFace_->PictureChanged();
  canvasModel_.SaveUndo();
  unsavedFace_ = true;
  SetAllowPageChange(true);
  ShowPage(erasePage_);
  ResetErasers();
}

// ---- help and closing --------------------------------------------------------------

void TFormFaceExpert::bHelpClick() {
  if (OnHelpTopic) OnHelpTopic("SHM_contents0006");
}

void TFormFaceExpert::bCloseClick() { done(mrCancel); }

}  // namespace glamora
