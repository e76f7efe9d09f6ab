// Writing outlines back into their face file, and the way out when that fails.
#include "shell/OutlineCommit.h"

#include <QFileInfo>

#include "desktop/Dialogs.h"
#include "desktop/FileFunctions.h"
#include "face/FaceFile.h"
#include "gallery/FileDialogFilter.h"
#include "model/Makeover.h"

namespace glamora {

namespace {

bool Exists(const std::string& path) { return QFileInfo::exists(QString::fromStdString(path)); }

// A typed name becomes a plain face file: ".mff" is added unless it is there.
std::string AsPlainFaceFile(const std::string& name) {
  return FaceFileKindOf(name) == FaceFileKind::Plain ? name : name + ".mff";
}

}  // namespace

TOutlineCommit::TOutlineCommit(Makeover& model, QWidget* dialogParent)
    : model_(model), saveDialog_(SaveFileDialog(dialogParent, EitherCaseFilter("Glamora face format", "MFF"))) {}

TOutlineOutcome TOutlineCommit::Commit(const std::string& facesFolder) {
  if (model_.HeaderSaved()) return TOutlineOutcome::ooWritten;
  try {
    model_.SaveHeader();
    return TOutlineOutcome::ooWritten;
  } catch (const FileError& error) {
    return OfferWayOut(error.what(), facesFolder);
  }
}

TOutlineOutcome TOutlineCommit::OfferWayOut(const std::string& reason, const std::string& facesFolder) {
  const QString question = QString(kOutlinesNotWritten).arg(QString::fromStdString(reason));
  const std::string proposed = ProposedFaceName(facesFolder, model_.HeaderFileName());
  for (;;) {
    // Enter saves (through the dialog); nothing is lost by a hasty key.
    const TModalResult answer = MessageDlg(question, TMsgDlgType::mtWarning, mbYes | mbNo | mbCancel, mbYes);
    if (answer == mrNo) {
      model_.DiscardHeaderChanges();
      return TOutlineOutcome::ooDiscarded;
    }
    if (answer != mrYes) return TOutlineOutcome::ooStay;
    const std::string target = ChooseSaveTarget(saveDialog_, facesFolder, proposed, AsPlainFaceFile);
    if (target.empty()) continue;
    try {
      model_.SaveFaceAs(target);
      return TOutlineOutcome::ooSavedAsNewFace;
    } catch (const FileError& error) {
      ShowException(error);
    }
  }
}

std::string TOutlineCommit::ProposedFaceName(const std::string& facesFolder, const std::string& currentFace) {
  std::string base = FileBaseName(currentFace);
  if (base.empty()) base = "Face";
  const std::string folder = WithTrailingSeparatorOf(facesFolder);
  std::string name = base + ".mff";
  for (int number = 2; Exists(folder + name); ++number) name = base + std::to_string(number) + ".mff";
  return name;
}

}  // namespace glamora
