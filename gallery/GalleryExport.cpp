// Exporting a gallery picture: the name question loop and the byte-for-byte copy.
#include "gallery/GalleryExport.h"

#include <QFileInfo>

#include "desktop/FileFunctions.h"
#include "gallery/FileDialogFilter.h"

namespace glamora {

std::string ProposedExportName(int32_t counter) { return "MyFace" + std::to_string(counter) + ".jpg"; }

AskExportFileName ExportFileDialog(QWidget* parent) {
  return SaveFileDialog(parent, EitherCaseFilter("JPG - JPEG Bitmap", "JPG"));
}

bool ExportGalleryPicture(const std::string& source, ExportState& state, const AskExportFileName& askFileName) {
  const std::string target = ChooseSaveTarget(askFileName, state.Folder, ProposedExportName(state.Counter));
  if (target.empty()) return false;
  CopyFileContents(source, target);
  state.Counter += 1;
  state.Folder = WithTrailingSeparatorOf(QFileInfo(QString::fromStdString(target)).absolutePath().toStdString());
  return true;
}

}  // namespace glamora
