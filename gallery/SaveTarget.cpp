// The save dialog and the replace question around it.
#include "gallery/SaveTarget.h"

#include <QFileDialog>
#include <QFileInfo>

#include "desktop/Dialogs.h"

namespace glamora {

AskSaveFileName SaveFileDialog(QWidget* parent, const QString& filter) {
  return [parent, filter](const std::string& folder, const std::string& proposedName) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The caller asks its own replace question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(filter);
    dialog.setDirectory(QString::fromStdString(folder));
    dialog.selectFile(QString::fromStdString(proposedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::string();
    return dialog.selectedFiles().first().toStdString();
  };
}

std::string ChooseSaveTarget(const AskSaveFileName& askFileName, const std::string& folder,
                             const std::string& proposedName,
                             const std::function<std::string(const std::string&)>& complete) {
  for (;;) {
    std::string target = askFileName(folder, proposedName);
    if (target.empty()) return {};
    if (complete) target = complete(target);
    if (!QFileInfo::exists(QString::fromStdString(target))) return target;
    const TModalResult answer =
        MessageDlg(kReplaceExistingQuestion, TMsgDlgType::mtWarning, mbYes | mbNo | mbCancel, mbNo);
    if (answer == mrYes) return target;
    if (answer != mrNo) return {};
  }
}

}  // namespace glamora
