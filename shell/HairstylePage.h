#pragma once
// THairstylePage: the Hairstyle page of the main window and the hair on the
// face. It owns the page's controls (the hair colour box with its reset and
// help buttons, the category selector, the catalogue), the hair view over the
// make-up canvas with the frame box that places it, and the frame buttons
// with their auto-repeat. The hair's picture, tint and place are the model's.
#include <QObject>
#include <string>

#include "hair/HairPicture.h"

class QComboBox;
class QPainter;
class QToolButton;
class QWidget;

namespace glamora {

class Makeover;
class TFrameBox;
class TFrameStepper;
class THairView;
class THsvPicker;
class TImgThumbView;
class TMainWindowHost;
class TMakeup;
class TPanel;

class THairstylePage : public QObject {
  Q_OBJECT

 public:
  // Builds the page's controls on the tab sheet it creates (Sheet()), the
  // hair view and its frame box over the canvas, and the frame buttons on
  // `frameControls`.
  THairstylePage(TMainWindowHost& window, Makeover& model, TMakeup& canvas, QWidget& frameControls, QObject* parent);

  // The tab sheet "TabSheetHairstyles", for the page control.
  QWidget* Sheet() const { return sheet_; }

  // ---- what the window asks of the page
  // Creating the window: the catalogue lies in the program folder, and its
  // first category and hairstyle are the selected ones.
  void FormCreate();
  // Showing the window: tints with the model's colour, fills the catalogue
  // (which selects and loads the first hairstyle), and puts the hair over the
  // whole face, placed by the frame buttons alone: no outline, no mouse.
  void FormShow();
  // Thumbnail sizes from the catalogue's final width, in the face's proportions.
  void SizeThumbnails();
  void HideHair();
  void ShowHair();
  // The Delete key: with the catalogue focused, deletes the selected
  // hairstyle and its file after a question.
  void DeleteKey();
  // The catalogue view, whose keys the window sees first.
  TImgThumbView& Catalogue() const { return *catalogue_; }

  // ---- the page's commands
  // Puts the hairstyle of the file on the face at the hair's current place.
  void LoadHairstyle(const std::string& fileName);
  // The hair takes the colour box's colour, tinted afresh.
  void HairColourChanged();
  // Sets the colour box silently, tints with it and reloads the selected
  // catalogue hairstyle.
  void SetHairColour(THairColour colour);
  void ResetHairColour();
  // The hair over the whole face area.
  void ResetHairPlacement();
  void ChooseCategory();
  void ChooseHairstyle(int index);
  // A new hairstyle picture was written: when it joined the category on
  // screen the catalogue lists it at once, keeping the selected hairstyle,
  // the hair on the face and the scroll position.
  void HairstyleAdded(const std::string& fileName);

  // ---- state
  const std::string& CategoryFolder() const { return categoryFolder_; }
  int SelectedHairstyle() const { return selectedHairstyle_; }
  THairView& HairView() const { return *hairView_; }
  TFrameBox& FrameBox() const { return *frameBox_; }
  TFrameStepper& FrameStepper() const { return *frameStepper_; }

 private:
  void Build(QWidget& frameControls);
  void Connect();
  void DrawThumbnail(int index, int left, int top, QPainter& canvas);

  TMainWindowHost& window_;
  Makeover& model_;
  TMakeup& canvas_;

  QWidget* sheet_ = nullptr;
  TPanel* colorBoxPanel_ = nullptr;
  THsvPicker* colorBox_ = nullptr;
  QComboBox* categorySelector_ = nullptr;
  QToolButton* colourResetButton_ = nullptr;
  QToolButton* helpButton_ = nullptr;
  TImgThumbView* catalogue_ = nullptr;
  THairView* hairView_ = nullptr;
  TFrameBox* frameBox_ = nullptr;
  TFrameStepper* frameStepper_ = nullptr;

  std::string catalogueFolder_;
  std::string categoryFolder_;
  int selectedHairstyle_ = 0;
};

}  // namespace glamora
