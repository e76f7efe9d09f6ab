// The face expert's picture file dialog.
#include "experts/PictureFileDialog.h"

#include "imaging/ImgOpenDialog.h"

namespace glamora {

std::string AskPictureFile(QWidget* parent, const std::string& folder) {
  TImgOpenDialog dialog;
  // The filter is built from the formats the picture front reads.
  dialog.AutoSetFilter = true;
  dialog.SetInitialDir(QString::fromStdString(folder));
  if (!dialog.Execute(parent)) return {};
  return dialog.FileName().toStdString();
}

}  // namespace glamora
