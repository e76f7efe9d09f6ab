// Exporting a gallery picture: the name question loop and the byte-for-byte copy.
#include "gallery/GalleryExport.h"

#include <QFileDialog>
#include <QFileInfo>

#include "desktop/Dialogs.h"
#include "desktop/FileFunctions.h"
#include "gallery/FileDialogFilter.h"

namespace glamora {

std::string ProposedExportName(int32_t counter) { return "MyFace" + std::to_string(counter) + ".jpg"; }

AskExportFileName ExportFileDialog(QWidget* parent) {
  return [parent](const std::string& folder, const std::string& proposedName) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The export asks its own replace question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(EitherCaseFilter("JPG - JPEG Bitmap", "JPG"));
    dialog.setDirectory(QString::fromStdString(folder));
    dialog.selectFile(QString::fromStdString(proposedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::string();
    return dialog.selectedFiles().first().toStdString();
  };
}

bool ExportGalleryPicture(const std::string& source, ExportState& state, const AskExportFileName& askFileName) {
  const std::string proposed = ProposedExportName(state.Counter);
  std::string target;
  for (;;) {
    target = askFileName(state.Folder, proposed);
    if (target.empty()) return false;
    if (!QFileInfo::exists(QString::fromStdString(target))) break;
    const TModalResult answer =
        MessageDlg(kReplaceExistingQuestion, TMsgDlgType::mtWarning, mbYes | mbNo | mbCancel);
    if (answer == mrYes) break;
    if (answer != mrNo) return false;
  }
  CopyFileContents(source, target);
  state.Counter += 1;
  state.Folder = WithTrailingSeparatorOf(QFileInfo(QString::fromStdString(target)).absolutePath().toStdString());
  return true;
}

}  // namespace glamora
