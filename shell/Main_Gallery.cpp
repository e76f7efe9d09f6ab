// The gallery panel of the main window: adding the current result, browsing,
// deleting, the preview with export and print; and opening a face through the
// face browser.
#include "gallery/GalleryFolder.h"
#include "imaging/ImgThumbView.h"
#include "shell/Main.h"

namespace glamora {

void TFormMain::GalleryDeleteKey() {
  if (ThumbViewPreview->ImageCount() == 0) return;
  const int selected = ThumbViewPreview->SelectedImage();
  const std::string fileName = ThumbViewPreview->GetImageFileName(selected);
  ThumbViewPreview->DeleteImage(selected);
  if (!fileName.empty()) DeleteGalleryPicture(fileName);
}

}  // namespace glamora
