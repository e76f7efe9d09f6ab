#pragma once
// TFormOpenFace: the face browser. It lists the face files of the program's
// faces folder with a preview of the selected one, refuses to delete the
// model faces that come with the program, deletes the user's own after a
// question, and answers OK with the chosen file in SelectedFaceFile. Browse
// picks a face file anywhere on disk and answers OK with it as well.
#include <QDialog>
#include <functional>
#include <string>

class QListWidget;
class QPushButton;

namespace glamora {

class TImgEditor;

constexpr const char* kNoSelectedFace = "There is not a selected face!";
constexpr const char* kModelFileDeleteForbidden = "The removing of the model file is forbidden";
constexpr const char* kDeleteSelectedFileQuestion = "Are you sure you want to delete the selected file?";
constexpr const char* kOpenFaceDeleteForbidden =
    "This face is open in the main window and cannot be deleted. Open another face first.";

class TFormOpenFace : public QDialog {
  Q_OBJECT

 public:
  explicit TFormOpenFace(const std::string& programFolder, QWidget* parent = nullptr);

  // Asks for a face file anywhere on disk; the empty string when cancelled.
  using AskFaceFile = std::function<std::string()>;
  // The file dialog of Browse; the platform's open dialog filtered to ".mff" files.
  AskFaceFile OpenDialog1;

  // The face file delivered with the answer OK.
  std::string SelectedFaceFile;
  // The face open in the main window, which Delete refuses; set before showing.
  std::string CurrentFaceFile;

  // The program's folder + "Faces", without a trailing separator.
  const std::string& FacesFolder() const { return facesFolder_; }
  // The faces folder + separator + the selected name; empty when nothing is selected.
  std::string SelectedPath() const;

  // Shows the dialog modally, centred on the given window.
  int ShowModalCentred(QWidget* owner);

  // Reads the faces folder anew: its ".eff" and ".mff" files (either letter
  // case) in name order, none selected; the preview keeps its picture. Throws
  // FileError, leaving the list as it was, when the folder does not exist.
  void FormActivate();
  // Shows the selected face's picture in the preview.
  void FileListBox1Click();
  // Answers OK with the selected face, or says that none is selected.
  void bOpenClick();
  // The Delete key: refuses model faces (".eff") and the face that is open,
  // asks before deleting others.
  void FileListBox1KeyDown(int key, Qt::KeyboardModifiers modifiers);
  // Answers OK with a face file chosen in OpenDialog1, Cancel when none was chosen.
  void bBrowseClick();

  static constexpr int kClientWidth = 287;
  static constexpr int kClientHeight = 245;

  QListWidget* FileListBox1 = nullptr;
  TImgEditor* ImgEditor1 = nullptr;
  QPushButton* bOpen = nullptr;
  QPushButton* bBrowse = nullptr;
  QPushButton* bCancel = nullptr;

 public slots:
  void reject() override;

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // What activation does: reads the folder, and reports a missing one in the
  // error box once; closing that box activates the dialog again, which must
  // not report it again.
  void Activated();
  // A message of the dialog's own; closing it activates the dialog again.
  void Message(const char* text);

  std::string facesFolder_;
  bool folderErrorShown_ = false;
};

}  // namespace glamora
