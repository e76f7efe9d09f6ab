#pragma once
// TFormPreview: the gallery's preview dialog. It shows one gallery picture
// fitted into its view and answers with what the user wants done with it:
// export, print, or nothing.
#include <QDialog>
#include <string>

#include "desktop/Dialogs.h"

class QPushButton;

namespace glamora {

class TImgEditor;

// The preview's own answers beside mrCancel.
constexpr TModalResult mrExport = 5000;
constexpr TModalResult mrPrint = 6000;

class TFormPreview : public QDialog {
  Q_OBJECT

 public:
  explicit TFormPreview(QWidget* parent = nullptr);

  // Loads the JPEG picture into the view (the view keeps its picture when the
  // file cannot be decoded; a file that cannot be opened throws FileError),
  // then shows the dialog modally, centred on its parent. Returns mrExport,
  // mrPrint or mrCancel.
  TModalResult ShowGalleryPicture(const std::string& pictureFile);

  static constexpr int kClientWidth = 336;
  static constexpr int kClientHeight = 332;

  TImgEditor* ImgEditor1 = nullptr;
  QPushButton* bExport = nullptr;
  QPushButton* bPrint = nullptr;
  QPushButton* bClose = nullptr;

 public slots:
  // Esc and the window's close box answer Cancel.
  void reject() override;
};

}  // namespace glamora
