#pragma once
// TFormAddHair: the add-hairstyle expert, a window beside the main window
// (not modal) that turns a photograph of a hairstyle into a new catalogue
// picture. The user opens the photograph, lays it under the Oval template,
// moves, halves and turns it with the placement frame until the hair sits
// round the template's face, and saves: the category comes from the
// save-hairstyle dialog, the part of the photograph under the template is
// written as that category's next picture, the working picture turns white
// and the window asks whether to add another.
//
// Made from an ordinary portrait, a hairstyle would cover its wearer's face
// with the photographed one: Fit automatically places the portrait by its
// face as the face expert does, a face found under the template at Save is
// left white (see-through once loaded), and the background wand whitens
// the region of a plain background around a clicked point.
//
// The window is made once at start and kept: showing it again keeps the
// working picture, its frame and the opened file. It tells whoever listens
// of each picture it writes; nothing else passes to the main window.
#include <QWidget>
#include <functional>
#include <string>

#include "experts/PhotoPlacement.h"
#include "imaging/components/ImgIO.h"
#include "imaging/components/ImgProc.h"
#include "imaging/core/Bitmap.h"
#include "landmarks/LandmarkFinder.h"

class QLineEdit;
class QSpinBox;
class QToolButton;

namespace glamora {

class TFormRotate;
class TFormSaveHair;
class TToolBar;

constexpr const char* kAddAnotherHairstyleQuestion = "Do you add a new hairstyle?";

class TFormAddHair : public QWidget {
  Q_OBJECT

 public:
  // programFolder: the folder the data folders lie in, trailing separator.
  // The rotation dialog must outlive the window; the save-hairstyle dialog,
  // made after it, is handed over with SetSaveHair.
  TFormAddHair(const std::string& programFolder, TFormRotate& rotate, QWidget* parent = nullptr);
  ~TFormAddHair() override;

  // The design size 605 × 490 includes the window's caption and border.
  static constexpr int kClientWidth = 597;
  static constexpr int kClientHeight = 459;
  // Where the template's top-left corner lies on the drawing panel.
  static constexpr int kTemplateLeft = 95;
  static constexpr int kTemplateTop = 41;

  void SetSaveHair(TFormSaveHair* dialog) { saveHair_ = dialog; }

  // ---- what the main window uses
  // Shows the window without waiting for it, centred on the screen when it
  // was hidden, and brings it to the front.
  void ShowExpert();

  // ---- the dialogs and listeners, replaceable
  // The photograph for Open; empty when cancelled.
  std::function<std::string()> OpenDialog1;
  std::function<void(const QString& topic)> OnHelpTopic;
  std::function<void(int context)> OnHelpContext;
  // A new hairstyle picture was written (its path).
  std::function<void(const std::string& fileName)> OnHairstyleSaved;
  // Finds the largest face in a picture, on a worker thread; without it Fit
  // automatically is switched off and Save leaves every face as it is.
  FindFaceFunction FindFace;

  // ---- state
  const std::string& ProgramFolder() const { return programFolder_; }
  const std::string& OpenedFileName() const { return openedFileName_; }

  // ---- commands
  void bOpenClick();
  // Opens a photograph as the working picture, at its own size on the
  // template's corner, and remembers it for Undo. False when the file could
  // not be read; FileError when it cannot be opened.
  bool OpenPicture(const std::string& fileName);
  void bZoomInClick();
  void bRotateClick();
  // Takes back the last whitening of the background wand, if the
  // photograph has not changed otherwise since; else reloads the photograph.
  void bUndoClick();
  // Fit automatically, as in the face expert: the photograph turned and
  // placed so that its face fits the template; a message and no change when
  // no face is found.
  void bFitAutoClick();
  // The background wand: while it is on, a click on the photograph whitens
  // the region around it (WhitenAt) instead of moving the frame.
  bool BackgroundWandOn() const;
  void SetBackgroundWand(bool on);
  int WandTolerance() const;
  void SetWandTolerance(int tolerance);
  // Whitens the background region around panel point (x, y) of the
  // photograph; false when the point lies off the photograph.
  bool WhitenAt(int x, int y);
  // Asks for the category, writes the picture under the template as its next
  // hairstyle, blanks the working picture and asks whether to add another.
  void bSaveClick();
  void bHelpClick();
  void bCloseClick();

  // The window's keys before its controls: Ctrl+O and F1; true when handled.
  bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildWindow();
  void FormShow();
  void LoadTemplate();
  // The photograph changed other than by the wand: its whitening can no
  // longer be taken back.
  void ForgetWhitening();

  std::string programFolder_;
  TFormRotate& rotate_;
  TFormSaveHair* saveHair_ = nullptr;
  std::string openedFileName_;
  std::string openFolder_;
  // A fit was made since the photograph was opened.
  bool fitted_ = false;
  // The photograph before the wand's last whitening.
  Bitmap beforeWhitening_;

  TImgProc imgProcFormat_;
  TImgIO imgIOFormat_;

  TToolBar* toolBar1_ = nullptr;
  QLineEdit* edit1_ = nullptr;
  QToolButton* fitButton_ = nullptr;
  QToolButton* wandButton_ = nullptr;
  QSpinBox* wandTolerance_ = nullptr;
  TPhotoPanel panel_;
};

}  // namespace glamora
