#pragma once
// TFormFaceExpert: the face expert, a modal window that turns a photograph
// into a new face model. On its formatting page the user lays the
// photograph under a face-shape template, moves, scales and rotates it with
// the placement frame, and carves the face out, automatically with the
// shape's mask or by hand with the mask's outline as the guide. The carved
// face lands on the erasing page's make-up canvas, where three erasers
// finish the ears and Save writes the face file; the window then answers OK
// with SavedFileName.
//
// Fit automatically finds the face in the photograph, levels its eyes
// with the Rotate command's antialiased turn and gives the picture the
// rectangle that puts its eyes and mouth where the templates expect them;
// the user can still move, scale and turn it before carving.
//
// The window is made once at start and kept between showings: the working
// picture and its frame, the opened file, and the erasing page's canvas.
// The erasing page's tab opens only after a carve, until a click on the
// formatting page's tab locks it again. Message boxes and the program's own
// dialogs bring the formatting page back when they close.
#include <QDialog>
#include <array>
#include <functional>
#include <string>

#include "desktop/Dialogs.h"
#include "experts/core/PhotographFit.h"
#include "experts/core/PlacementCheck.h"
#include "imaging/CursorTable.h"
#include "imaging/components/ImgIO.h"
#include "imaging/components/ImgProc.h"
#include "imaging/core/Bitmap.h"
#include "landmarks/LandmarkFinder.h"
#include "model/Makeover.h"

class QAction;
class QActionGroup;
class QButtonGroup;
class QLineEdit;
class QMenu;
class QTabWidget;
class QToolButton;

namespace glamora {

class TFormRotate;
class TFrameBox;
class TImage;
class TMakeup;
class TPanel;
class TToolBar;

// The eraser cursors: numbers in the application's cursor table.
constexpr TCursor crEraserSmall = 101;
constexpr TCursor crEraserMedium = 102;
constexpr TCursor crEraserLarge = 103;

// The erasers paint this near-white half-way into the picture: the airbrush
// takes pure-white brush pixels for outside the brush and would paint nothing.
constexpr TColor kEraserColour = 0xFFFFFE;
constexpr int kEraserIntensity = 50;
constexpr int kEraserStartSize = 10;

constexpr const char* kUseErasersMessage = "Use eraser tools to carve the ears preciseley";
constexpr const char* kCarveAnywayQuestion = "Carve it all the same?";
constexpr const char* kReplaceFaceQuestion = "Do you want to replace existing file?";
constexpr const char* kSaveFaceQuestion = "The carved face is not saved. Do you want to save the face model?";

class TFormFaceExpert : public QDialog {
  Q_OBJECT

 public:
  // programFolder: the folder the data folders lie in, trailing separator.
  // The rotation dialog must outlive the window.
  TFormFaceExpert(const std::string& programFolder, TFormRotate& rotate, QWidget* parent = nullptr);
  ~TFormFaceExpert() override;

  // The design size 693 × 572 includes the window's caption and border.
  static constexpr int kClientWidth = 685;
  static constexpr int kClientHeight = 541;
  // Where the template's top-left corner lies on the drawing panel.
  static constexpr int kTemplateLeft = 133;
  static constexpr int kTemplateTop = 33;

  // ---- what the main window uses
  // Puts the main window's current picture on the drawing panel as the
  // working picture, its top-left corner on the template's, at its own size,
  // with the frame around it. Always true.
  bool PrepareWorkPicture(const Bitmap& currentPicture);
  // Shows the window modally, centred on the screen: mrOk after a face file
  // was saved (SavedFileName), mrCancel otherwise.
  TModalResult ShowModal();
  // The face file written by the last save.
  std::string SavedFileName;

  // ---- the dialogs the window asks, replaceable
  // The picture file for Open; empty when cancelled.
  std::function<std::string()> OpenDialog1;
  // The face file for Save, the dialog opened in `folder`; empty when cancelled.
  std::function<std::string(const std::string& folder)> SaveDialog1;
  // Finds the largest face in a picture, on a worker thread (the program's
  // landmark finder); without it Fit automatically is switched off.
  FindFaceFunction FindFace;
  // Help: a topic of the help file by name, and a help context number.
  std::function<void(const QString& topic)> OnHelpTopic;
  std::function<void(int context)> OnHelpContext;

  // ---- state
  const std::string& ProgramFolder() const { return programFolder_; }
  int ShapeIndex() const { return shapeIndex_; }
  bool AllowPageChange() const { return allowPageChange_; }
  const std::string& OpenedFileName() const { return openedFileName_; }
  bool FormattingPageShown() const;
  // A carved face that no save has written yet.
  bool UnsavedFace() const { return unsavedFace_; }
  Makeover& CanvasModel() { return canvasModel_; }

  // ---- the formatting page's commands
  // Asks for a picture file and opens it.
  void bOpenClick();
  // Opens a picture file as the working picture, at its own size on the
  // template's corner, and remembers it for Undo. False when the file could
  // not be read (the working picture stays); FileError when it cannot be opened.
  bool OpenPicture(const std::string& fileName);
  // Halves the frame's width, the height in proportion, top-left corner kept.
  void bZoomInClick();
  // Turns the working picture's bitmap by the rotation dialog's answer.
  void bRotateClick();
  // Reloads the picture file last opened into the current rectangle.
  void bUndoClick();
  // Shape n (1..5): template, check mark, the button's picture and hint.
  void ChooseShape(int shape);
  // The shape button's own part: the next shape.
  void bShapeClick();
  // Fit automatically: turns and places the working picture so that its
  // face fits the standard face; a message and no change when no face is
  // found or it cannot be fitted. After a first fit the face under the
  // template is kept, and one that fits already is left alone. A fit that
  // leaves the face shape partly uncovered or enlarges the face far warns.
  void bFitAutoClick();
  // What carving the working picture as it lies now would give.
  PlacementVerdict JudgeWorkPicture();
  void tbCarveAutoClick();
  void bCutByHandClick();
  void bHelpClick();
  void bCloseClick();

  // ---- the erasing page's commands
  // Eraser 1, 2 or 3: brush size 5, 10 or 20 with cursor 101, 102 or 103.
  void ChooseEraser(int eraser);
  void ToolButton13Click();
  // Asks for a face file name and saves; OK closes the window.
  void bSaveClick();

  // ---- window events
  // What activation does: the formatting page, an empty caption.
  void FormActivate();
  // The window's keys before its controls: Ctrl+O and F1; true when handled.
  bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);

 public slots:
  // Every closing first makes the formatting page current. Closing without a
  // save while a carved face is unsaved asks first: Yes saves, No discards,
  // Cancel (the default) keeps the window open.
  void done(int result) override;
  // The close box answers Cancel.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildWindow();
  QWidget* BuildFormattingPage();
  QWidget* BuildErasingPage();
  void FormShow();
  // Makes a page current as a command does, past the tab lock.
  void ShowPage(QWidget* page);
  void SetAllowPageChange(bool allow);
  void PageControl1Change(int index);
  // Runs a command; an error is shown in the error box, after which the
  // window is activated again.
  template <class Command>
  void Run(Command&& command);
  // A message box of the window's own; closing it activates the window.
  void Message(const QString& text);
  void MoveFaceToTemplate();
  // The working picture's bitmap is a picture just opened.
  void PictureOpened();
  // Asks before carving a photograph that JudgeWorkPicture finds unsound;
  // false when the user keeps it from being carved.
  bool MayCarve();
  // The eraser brush as a showing and carving by hand leave it.
  void ResetErasers();
  // Asks whether to save the unsaved face before closing; false to stay open.
  bool MayCloseWithoutSave();
  // The photograph under the template drawn at the canvas's corner; the
  // working picture keeps its bitmap resampled to its shown size.
  Bitmap CarvedPhotograph(const Bitmap& canvas);

  std::string programFolder_;
  TFormRotate& rotate_;
  int shapeIndex_ = 1;
  bool allowPageChange_ = false;
  bool commandPageChange_ = false;
  bool unsavedFace_ = false;
  int currentPage_ = 0;
  std::string openedFileName_;
  std::string openFolder_;
  // The working picture as opened, through its turns since.
  PhotographOutline photoOutline_;
  // A fit was made since the picture was opened.
  bool fitted_ = false;

  Makeover canvasModel_;
  // The working picture's processing (background white) and input/output.
  TImgProc imgProcFormat_;
  TImgIO imgIOFormat_;

  TToolBar* toolBar1_ = nullptr;
  TToolBar* toolBar2_ = nullptr;
  QTabWidget* pages_ = nullptr;
  QWidget* formatPage_ = nullptr;
  QWidget* erasePage_ = nullptr;
  TPanel* paintPane_ = nullptr;
  TImage* imageFace_ = nullptr;
  TImage* imageShape_ = nullptr;
  TFrameBox* frameBox_ = nullptr;
  QLineEdit* edit1_ = nullptr;
  QToolButton* shapeButton_ = nullptr;
  QToolButton* fitButton_ = nullptr;
  QMenu* shapeMenu_ = nullptr;
  QActionGroup* shapeGroup_ = nullptr;
  std::array<QAction*, 5> shapeItems_{};
  TMakeup* makeup1_ = nullptr;
  QButtonGroup* erasers_ = nullptr;
};

}  // namespace glamora
