#pragma once
// TFormMain: the main window's assembly. It lays out the three areas (the
// face panel with the make-up canvas, the page control with the Hairstyle
// and Make-up pages, the gallery panel), builds the menus and the face
// panel's tool bar, and holds what the areas share: the make-over model, the
// program folder, the current face and its loading and committing, help,
// start-up and closing, and page switching. Each area is a class of its own
// that owns its controls and state (THairstylePage, TMakeupPage,
// TGalleryPanel, TRandomShow).
#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>

#include "gallery/SaveTarget.h"
#include "landmarks/LandmarkFinder.h"
#include "model/Makeover.h"
#include "shell/MainWindowHost.h"

class QAction;
class QLineEdit;
class QTabWidget;
class QToolButton;

namespace glamora {

class TFormAbout;
class TFormAddHair;
class TFormFaceExpert;
class TFormOpenFace;
class TFormPreview;
class TGalleryPanel;
class THairstylePage;
class THelpViewer;
class TMakeup;
class TMakeupPage;
class TOutlineCommit;
class TPanel;
class TRandomShow;
class TToolBar;

// What the main window says when a new face from the face expert is opened
// for outlining: without proposed regions, and with them.
constexpr const char* kOutlineRegions = "Outline the make-up regions!";
constexpr const char* kCheckProposedRegions =
    "Check the proposed outlines of the eyes and lips, and correct them where needed!";

// The windows created after the main window; the program entry hands them
// over once they exist.
struct TOtherWindows {
  TFormAbout* FormAbout = nullptr;
  TFormPreview* FormPreview = nullptr;
  TFormOpenFace* FormOpenFace = nullptr;
  TFormFaceExpert* FormFaceExpert = nullptr;
  TFormAddHair* FormAddHair = nullptr;
};

class TFormMain : public QMainWindow, private TMainWindowHost {
  Q_OBJECT

 public:
  // programFolder: the folder the data folders lie in, with a trailing
  // separator; empty for the folder of the program file.
  explicit TFormMain(std::string programFolder = {});
  ~TFormMain() override;

  void SetOtherWindows(const TOtherWindows& windows);
  // The program's face finder: the Make-up page proposes eye and lip
  // regions with it, after the face expert and on "Find eyes and lips".
  void SetFaceFinder(FindFaceFunction finder);

  // Client area of the window, below the menu bar.
  static constexpr int kClientWidth = 650;
  static constexpr int kClientHeight = 444;

  // ---- the current face
  const std::string& ProgramFolder() const override { return programFolder_; }
  const std::string& FaceFileName() const override { return faceFileName_; }
  // The canvas carries a random make-over that has not been discarded.
  bool RandomFaceShown() const { return randomFaceShown_; }
  bool LoadCurrentFace() override;
  bool CommitOutlines() override;
  bool LeaveOutlineMode() override;
  // What the face browser's OK does: commits outlining, then makes the file
  // the current face and loads it. A face that cannot be loaded leaves the
  // current one, also for what closing stores.
  void OpenFace(const std::string& fileName);
  // Outlines that cannot be written back are saved as a new face file
  // through this dialog (tests answer it).
  void SetNewFaceDialog(AskSaveFileName dialog);

  // ---- commands
  // Shows the face browser; on OK the chosen face becomes the current one.
  void OpenFaceFile();
  // The face expert on the current picture; on OK its new face becomes the
  // current one, on the Make-up page with outlining started.
  void FaceExpert();
  // Asks for a photograph and starts the face expert with it opened. A
  // photograph that cannot be read is reported and the expert stays closed.
  void OpenGraphicFile();
  // A file named on the command line (the file manager's "open with"): a
  // face file becomes the current face, any other file is taken for a
  // photograph and opened in the face expert as "Graphic File" does.
  void OpenGivenFile(const std::string& path);
  // The photograph for "Graphic File", through the picture open dialog
  // (starting in the home folder, then where the last one was chosen);
  // empty when cancelled. Replaceable.
  std::function<std::string()> GraphicFileDialog;
  // Shows the add-hairstyle expert beside the window, without waiting.
  void CreateHairstyle();
  // "Find eyes and lips": the regions proposed again for the current face,
  // shown over it on the Make-up page; the Hairstyle page stays as it is.
  void FindEyesAndLips();
  // While the Compare button or the backslash key is held, the face as
  // loaded, without make-up and hair.
  void SetComparing(bool on);
  void ExitProgram();
  void ShowHelpContents();
  void ShowHelpTopic(const QString& topic) override;
  void OpenSupportPage();
  void ShowAbout();
  // The page tabs: the hair, the frame buttons and the cursors follow the page.
  void PageChanged();
  // F1 on a highlighted menu entry: the topic of its help context.
  void ShowMenuEntryHelp(QAction* entry);
  // The window's key handler sees the keys of the two thumbnail views and of
  // the edit box behind the canvas before they do: Delete deletes the
  // selected hairstyle (after a question) or gallery picture.
  void KeyPressed(int key);

  // ---- the parts
  Makeover& Model() { return model_; }
  TMakeup& Canvas() const { return *canvas_; }
  THairstylePage& Hairstyle() const { return *hairstylePage_; }
  TMakeupPage& MakeupPage() const { return *makeupPage_; }
  TGalleryPanel& Gallery() const { return *galleryPanel_; }
  TRandomShow& RandomShow() const { return *randomShow_; }
  THelpViewer& HelpViewer() const { return *helpViewer_; }

 signals:
  // The window accepted a close request.
  void Closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildWindow();
  void BuildFacePanel();
  void BuildPageControl();
  void BuildMenus();
  void ConnectCommands();
  void InstallKeyPreview();
  void FormCreate();
  // Gives the model, the thumbnails and the dialogs that open faces,
  // hairstyles and gallery pictures the window's limits.
  void ApplyPictureLimits();
  void FormShow();
  void CentreCanvas();
  // Shows the prepared face expert and takes its new face.
  void RunFaceExpert(TFormFaceExpert& expert);
  // Makes the Make-up page the active page, with what switching does.
  void ShowMakeupPage();
  void SetStandardCanvasSize();
  bool MakeupPageActive() const;
  // Reads the current face file into the canvas; nothing is said on failure.
  bool TryLoadCurrentFace();
  std::string FacesFolder() const { return programFolder_ + "Faces"; }

  // What the areas ask of the window.
  void SetRandomFaceShown(bool shown) override { randomFaceShown_ = shown; }
  bool ShowHairstylePage() override;
  void HideHair() override;

  Makeover model_;
  std::string programFolder_;
  // Why the user's data folder could not be made ready; shown once the window stands.
  std::string dataFolderProblem_;
  std::string faceFileName_;
  bool randomFaceShown_ = false;
  std::string graphicFolder_;
  TOtherWindows windows_;
  DecodeLimits pictureLimits_ = kWindowPictureLimits;

  QWidget* clientArea_ = nullptr;
  TPanel* facePanel_ = nullptr;
  TToolBar* faceToolBar_ = nullptr;
  QToolButton* openFaceButton_ = nullptr;
  QToolButton* openFileButton_ = nullptr;
  QToolButton* faceExpertButton_ = nullptr;
  QToolButton* hairExpertButton_ = nullptr;
  QToolButton* randomShowButton_ = nullptr;
  QToolButton* helpContentsButton_ = nullptr;
  QToolButton* compareButton_ = nullptr;
  TPanel* frameControls_ = nullptr;
  TMakeup* canvas_ = nullptr;
  // The small edit box behind the canvas takes the keyboard focus when
  // nothing else should have it.
  QLineEdit* keyCatcher_ = nullptr;
  QTabWidget* pages_ = nullptr;

  QAction* openFaceFileEntry_ = nullptr;
  QAction* openGraphicFileEntry_ = nullptr;
  QAction* createHairstyleEntry_ = nullptr;
  QAction* findRegionsEntry_ = nullptr;
  QAction* exitEntry_ = nullptr;
  QAction* galleryAddEntry_ = nullptr;
  QAction* galleryExportEntry_ = nullptr;
  QAction* galleryPrintEntry_ = nullptr;
  QAction* helpContentsEntry_ = nullptr;
  QAction* supportEntry_ = nullptr;
  QAction* aboutEntry_ = nullptr;

  THairstylePage* hairstylePage_ = nullptr;
  TMakeupPage* makeupPage_ = nullptr;
  TGalleryPanel* galleryPanel_ = nullptr;
  TRandomShow* randomShow_ = nullptr;
  THelpViewer* helpViewer_ = nullptr;
  std::unique_ptr<TOutlineCommit> outlineCommit_;
};

}  // namespace glamora
