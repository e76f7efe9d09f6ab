#pragma once
// TFormMain: the main window. The face panel with the make-up canvas on the
// left, the page control with the Hairstyle and Make-up pages in the middle,
// the gallery panel on the right; the menus, the two tool bars, start-up and
// closing, help and page switching.
//
// The window is split by concern: Main.cpp builds it and holds start-up,
// menus, help and page switching; Main_Makeup.cpp holds the Make-up page;
// Main_Gallery.cpp holds the gallery panel and the face browser;
// Main_Hair.cpp holds the Hairstyle page, the hair on the face and the random
// make-over.
#include <QMainWindow>
#include <cstdint>
#include <memory>
#include <string>

#include "gallery/GalleryExport.h"
#include "gallery/GalleryPrint.h"
#include "hair/FrameButtons.h"
#include "hair/HairStyle.h"
#include "imaging/CursorTable.h"
#include "imaging/core/Color.h"

class QAbstractButton;
class QAction;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPainter;
class QPrinter;
class QSlider;
class QTabWidget;
class QTimer;
class QToolButton;

namespace glamora {

class TFormAbout;
class TFrameBox;
class TFormOpenFace;
class TFormPreview;
class THelpViewer;
class THsvPicker;
class TImage;
class TImgIO;
class TImgProc;
class TImgThumbView;
class TMakeup;
class TPanel;
class TToolBar;

// The windows created after the main window; the program entry hands them
// over once they exist.
struct TOtherWindows {
  TFormAbout* FormAbout = nullptr;
  TFormPreview* FormPreview = nullptr;
  TFormOpenFace* FormOpenFace = nullptr;
};

class TFormMain : public QMainWindow {
  Q_OBJECT

 public:
  // programFolder: the folder the data folders lie in, with a trailing
  // separator; empty for the folder of the program file.
  explicit TFormMain(std::string programFolder = {});
  ~TFormMain() override;

  void SetOtherWindows(const TOtherWindows& windows) { windows_ = windows; }

  // Client area of the window, below the menu bar.
  static constexpr int kClientWidth = 650;
  static constexpr int kClientHeight = 444;

  // ---- window state
  std::string ProgramFolder;
  std::string FaceFileName;
  std::string CatalogueFolder;
  std::string CategoryFolder;
  int32_t SelectedHairstyle = 0;
  std::string HairFileName;
  THairColour HairColour;
  int32_t GalleryCounter = 0;
  bool ShowGalleryNumbers = false;
  int32_t ExportCounter = 1;
  std::string ExportFolder;
  int32_t RandomShowTicks = 0;
  bool RandomFaceShown = false;
  // Tag of the make-up tool button that is down, 0 for none.
  int32_t MakeupTool = 0;
  // 0: the make-up colour box feeds a region colour; 1: the brush colour.
  uint8_t MakeupColorMode = 0;

  // ---- start-up, closing and the current face
  void FormCreate();
  void FormShow();
  void LoadCurrentFace();
  // Commits outlining: writes a changed face header back into a plain face
  // file, raises the outline tool and returns the canvas to 100 %. A write
  // error is thrown on to the command that called it.
  void LeaveOutlineMode();

  // ---- commands
  void ExitProgramClick();
  void MenuHelpClick();
  void ToolButton1Click();
  void bHelpHairsClick();
  void bHelpMakeupClick();
  void ToolButton4Click();
  void M45Click();
  void M46Click();
  void PageControl1Change();
  // F1 on a highlighted menu entry: the topic of its help context.
  void ShowMenuEntryHelp(QAction* entry);

  // ---- the Make-up page
  void HsvPickerMakeupChange();
  void bEyesClick(QAbstractButton* sender);
  void bOutlineClick();
  void bUndoMakeupClick();
  void SpeedButton1Click();
  void TrackBar1Change();
  void SetMakeupCursors(int tool);
  // The first of bBrushBig, bBrushMidle, bPencil, bLipsLine, bLipstick, bEyes
  // that is down, or nullptr.
  QAbstractButton* DownMakeupButton() const;
  // The cursor the make-up colour box shows.
  TCursor MakeupPickerCursor() const { return makeupPickerCursor_; }

  // ---- the gallery and the face browser
  // Shows the face browser; on OK commits outlining and switches to the
  // chosen face. A face that cannot be loaded leaves the current one.
  void OpenFaceFileClick();
  // Adds the face with its make-up and the hair, as the screen shows them,
  // as the next gallery picture, and selects it.
  void MenuAddClick();
  // A right-click on the gallery adds, like MenuAddClick.
  void ThumbViewPreviewMouseDown(Qt::MouseButton button);
  void ToolButton6Click();
  void ToolButton5Click();
  void tbDeleteAllClick();
  void tbShowGalleryThumbsClick();
  // The frame over each gallery thumbnail and, when shown, its number.
  void ThumbViewPreviewImageDraw(int index, int left, int top, QPainter& canvas);
  // Export, Print, the tool buttons and a double click: the preview dialog.
  void MenuExportClick();
  void ShowGalleryPicture();
  void ExportGalleryPicture();
  // Returns the printed rectangle; empty when nothing was printed.
  QRect PrintGalleryPicture();
  // The Delete key with the gallery focused: deletes the selected picture and
  // its file without a question; the counter stays, so the number is not
  // handed out again in this run.
  void GalleryDeleteKey();
  // ProgramFolder + "Preview" with a trailing separator.
  std::string GalleryFolder() const;
  // The export's save dialog and the print dialog.
  AskExportFileName SaveDialog1;
  ChoosePrinter PrintDialog1;

  // ---- the Hairstyle page, the hair on the face and the random make-over
  // Puts the hairstyle of the file on the face at the hair's current place,
  // tinted with HairColour. A missing file or another extension than .bmp,
  // .jpg, .tif changes nothing but HairFileName.
  void LoadHairstyle(const std::string& fileName);
  // HairColour := the colour box's colour; the hair is tinted anew from its
  // untinted copy.
  void HsvPickerHairChange();
  // Sets the colour box silently, tints with it and reloads the selected
  // catalogue hairstyle.
  void SetHairColour(uint8_t red, uint8_t green, uint8_t blue);
  void bColorResetClick();
  // The hair over the whole face area; also the reset button SpeedButton9.
  void ResetHairPlacement();
  // Fills the view with the folder's ".jpg" files in name order, each
  // named by its full path, and selects `selection`.
  void FillThumbnails(TImgThumbView& view, const std::string& folder, int selection);
  void cbHairDirChange();
  void ThumbViewHairImageSelect(int index);
  // The index and a frame over each catalogue thumbnail.
  void ThumbViewHairImageDraw(int index, int left, int top, QPainter& canvas);
  // The window's key handler, which sees the keys of the two thumbnail views
  // and of edFrame before they do: Delete deletes the selected hairstyle
  // (after a question) or gallery picture.
  void edFrameKeyDown(int key, Qt::KeyboardModifiers shift);
  // A press of the Random show button stops a running timed show.
  void tbRandomShowMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift);
  // One make-over on the Hairstyle page; pressed with Shift, the first of a
  // timed show of nine, a second apart.
  void tbRandomShowClick();
  // A fresh copy of the face with random make-up, a random hairstyle of the
  // first four categories and a random tint.
  void RandomMakeover();
  // A tick of the timed show: the next make-over, or after the ninth the
  // face and the default hair colour back.
  void Timer1Timer();
  // Stops a running timed show and raises the Random show button.
  void StopRandomShow();

  // ---- controls
  QWidget* ClientArea = nullptr;

  TPanel* PanelFace = nullptr;
  TToolBar* ToolBar1 = nullptr;
  QToolButton* tbOpenFace = nullptr;
  QToolButton* tbOpenFile = nullptr;
  QToolButton* tbFaceExpert = nullptr;
  QToolButton* tbHairExpert = nullptr;
  QToolButton* tbRandomShow = nullptr;
  QToolButton* ToolButton1 = nullptr;
  TPanel* PanelFrameControls = nullptr;
  // b1 .. b10 and SpeedButton9 on PanelFrameControls.
  TFrameButtons FrameButtons;
  TMakeup* Makeup1 = nullptr;
  TImage* ImageHair = nullptr;
  TFrameBox* FrameBoxHair = nullptr;
  QLineEdit* edFrame = nullptr;

  QTabWidget* PageControl1 = nullptr;
  QWidget* TabSheetHairstyles = nullptr;
  TPanel* PanelHairColor = nullptr;
  THsvPicker* HsvPickerHair = nullptr;
  QComboBox* cbHairDir = nullptr;
  QToolButton* bColorReset = nullptr;
  QToolButton* bHelpHairs = nullptr;
  TImgThumbView* ThumbViewHair = nullptr;

  QWidget* TabSheetMakeup = nullptr;
  TPanel* PanelMakeupColor = nullptr;
  THsvPicker* HsvPickerMakeup = nullptr;
  QToolButton* bOutline = nullptr;
  QToolButton* bEyes = nullptr;
  QToolButton* bLipstick = nullptr;
  QToolButton* bLipsLine = nullptr;
  TPanel* PanelColor = nullptr;
  QToolButton* bPencil = nullptr;
  QToolButton* bBrushMidle = nullptr;
  QToolButton* bBrushBig = nullptr;
  QToolButton* bUndoMakeup = nullptr;
  QToolButton* SpeedButton1 = nullptr;
  QToolButton* bHelpMakeup = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QSlider* TrackBar1 = nullptr;
  // Group 1: the seven tool buttons, each under its tag.
  QButtonGroup* MakeupButtons = nullptr;

  TPanel* PanelPreview = nullptr;
  TToolBar* ToolBar2 = nullptr;
  QToolButton* tbAddGalery = nullptr;
  QToolButton* ToolButton6 = nullptr;
  QToolButton* ToolButton5 = nullptr;
  QToolButton* tbDeleteAll = nullptr;
  QToolButton* tbExport = nullptr;
  QToolButton* tbPrint = nullptr;
  QToolButton* tbShowGalleryThumbs = nullptr;
  QToolButton* ToolButton4 = nullptr;
  TImgThumbView* ThumbViewPreview = nullptr;

  QMenu* FileMenu = nullptr;
  QMenu* OpenMenu = nullptr;
  QMenu* GalleryMenu = nullptr;
  QMenu* HelpMenu = nullptr;
  QAction* OpenFaceFile = nullptr;
  QAction* OpenGraphicFile = nullptr;
  QAction* Addhairstyle1 = nullptr;
  QAction* ExitProgram = nullptr;
  QAction* MenuAdd = nullptr;
  QAction* MenuExport = nullptr;
  QAction* MenuPrint = nullptr;
  QAction* MenuHelp = nullptr;
  QAction* M45 = nullptr;
  QAction* M46 = nullptr;

  // The random show's timer and the frame buttons' auto-repeat; both off.
  QTimer* Timer1 = nullptr;
  QTimer* TimerFrame = nullptr;
  // The frame buttons' running step and auto-repeat; TimerFrame is its timer.
  TFrameStepper* FrameStepper = nullptr;
  // The hair picture's processing and input/output components.
  std::unique_ptr<TImgProc> ProcHair;
  std::unique_ptr<TImgIO> ImgIOHair;

  THelpViewer* HelpViewer = nullptr;

 signals:
  // The window accepted a close request.
  void Closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildWindow();
  void BuildFacePanel();
  // The hair's frame box over the canvas and the frame buttons.
  void BuildHairFrame();
  void BuildPageControl();
  void BuildHairstylePage();
  void BuildMakeupPage();
  void BuildGalleryPanel();
  void BuildMenus();
  void ConnectCommands();
  void ConnectMakeupPage();
  void ConnectHairPage();
  void ConnectGallery();
  void RegisterCursors();

  void CentreCanvas();
  void SetStandardCanvasSize();
  void SizeThumbnails();
  void AttachHairComponents();
  // Hide or show the hair over the face.
  void HideHair();
  void ShowHair();
  THairPicture HairPicture();
  // Turns to the Hairstyle page and makes one make-over.
  void RandomShowStep();
  void ShowHelp(const QString& topic);
  // The one-pixel frame over a thumbnail of the view whose cell starts at
  // (left, top): along (left, top)-(left + thumb width - 1, top + thumb
  // height - 1), right and bottom excluded, in the mark colour.
  static void FrameThumbnail(QPainter& canvas, const TImgThumbView& view, int left, int top);
  bool MakeupPageActive() const;
  void MakeupButtonClicked(QAbstractButton* button);

  // Selection frames, frames and numbers of both thumbnail views: a golden
  // orange.
  static constexpr TColor kThumbnailMarkColor = 0x00AFDB;

  TOtherWindows windows_;
  // Kept for the run, so the printer chosen last is offered again.
  std::unique_ptr<QPrinter> printer_;
  TCursor makeupPickerCursor_ = crDefault;
  // The shift state of the last press on the Random show button, and whether
  // that press stopped a running show.
  Qt::KeyboardModifiers randomShowShift_;
  bool showStoppedByPress_ = false;
};

}  // namespace glamora
