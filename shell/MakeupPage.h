#pragma once
// TMakeupPage: the Make-up page of the main window. It owns the page's
// controls (the make-up colour box, the seven tool buttons of group 1, undo,
// reload, help, the complexion slider, "Find eyes and lips" and "Soft
// edges") and the state of its tools: which tool was chosen last and whether
// the colour box feeds a region colour or the brush. The tools work on the
// make-up canvas and its model.
#include <QObject>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "imaging/CursorTable.h"
#include "imaging/core/Color.h"
#include "landmarks/LandmarkFinder.h"
#include "model/Makeover.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QSlider;
class QToolButton;
class QWidget;

namespace glamora {

class THsvPicker;
class TMainWindowHost;
class TMakeup;
class TPanel;

// The make-up tools: the tags their buttons carry.
enum class TMakeupTool : int32_t {
  mkNone = 0,
  mkOutline = 11,
  mkEyes = 21,
  mkLipstick = 22,
  mkLipLine = 23,
  mkPencil = 31,
  mkApplicator = 32,
  mkBigBrush = 33,
};

// What a change of the colour box colours: a region (eyes, lips, lip line)
// or the brush of the pencil and the airbrushes.
enum class TColorBoxFeed : uint8_t { cfRegion = 0, cfBrush = 1 };

class TMakeupPage : public QObject {
  Q_OBJECT

 public:
  // Builds the page's controls on the tab sheet it creates (Sheet()).
  TMakeupPage(TMainWindowHost& window, Makeover& model, TMakeup& canvas, QObject* parent);

  // The tab sheet "TabSheetMakeup", for the page control.
  QWidget* Sheet() const { return sheet_; }

  // ---- what the window asks of the page
  // Entering the page: the cursors of the tool chosen last.
  void ShowToolCursors();
  // Raises the outline tool when it is down; the tool becomes none.
  void RaiseOutlineTool();
  // Presses the outline tool down and runs its click: outlining starts.
  void PressOutlineTool();
  // The complexion slider back at 0; the change runs as a user's would.
  void ResetComplexion();
  // The face finder that proposes the eye and lip regions; without one
  // "Find eyes and lips" is switched off.
  void SetFaceFinder(FindFaceFunction finder);
  bool CanFindFaces() const { return bool(findFace_); }
  // Finds the face as loaded (on a worker thread, with the hourglass) and
  // stores the regions its landmarks propose into the header, marked
  // changed as hand-drawn outlines are. Nothing when regions were stored,
  // else the one line that says why not.
  std::optional<std::string> ProposeRegions();

  // ---- the page's commands
  // The colour box changed: the colour goes where the chosen tool puts it, or
  // a message says to choose a tool first.
  void ColourBoxChanged();
  // A click on one of the six make-up tool buttons, pressing or raising it.
  // False, changing nothing, when the user stays to go on outlining.
  bool ChooseTool(QAbstractButton* button);
  // A click on the outline tool: down, outlining starts on the clean face at
  // 300 %; up, outlining is committed. False, changing nothing, when the
  // user stays to go on outlining.
  bool ToggleOutlining();
  void UndoMakeup();
  // Commits outlines not yet written, then reads the face afresh.
  void ReloadFace();
  void ComplexionChanged();
  // "Find eyes and lips": proposes the regions again, writes them back
  // through the outline commit and, when asked, shows them over the face;
  // a message when no face is found.
  void FindEyesAndLips(bool showOutlines);
  // "Soft edges": how region colours are laid on; the last colour of each
  // kind applied since the face was loaded is laid again the new way.
  void SoftEdgesChanged();
  // The canvas's and the colour box's cursors for a tool.
  void SetToolCursors(TMakeupTool tool);
  // The first of the big brush, applicator, pencil, lip line, lipstick and
  // eyes buttons that is down, or nullptr.
  QAbstractButton* DownMakeupButton() const;

  TMakeupTool Tool() const { return tool_; }
  TColorBoxFeed ColorBoxFeed() const { return feed_; }
  TCursor ColorBoxCursor() const { return colorBoxCursor_; }

 private:
  void Build();
  void Connect();
  // Runs a tool button's command; when it does not go on (the user stays to
  // go on outlining) or fails, the buttons and the tool go back to how they were.
  void ToolButtonClicked(QAbstractButton* button);
  // Lays the region colour shown since the last undo point on again, after
  // the regions changed.
  void ReapplyShownColour();

  TMainWindowHost& window_;
  Makeover& model_;
  TMakeup& canvas_;

  QWidget* sheet_ = nullptr;
  TPanel* colorBoxPanel_ = nullptr;
  THsvPicker* colorBox_ = nullptr;
  QToolButton* outlineTool_ = nullptr;
  QToolButton* eyesTool_ = nullptr;
  QToolButton* lipstickTool_ = nullptr;
  QToolButton* lipLineTool_ = nullptr;
  TPanel* colorPreview_ = nullptr;
  QToolButton* pencilTool_ = nullptr;
  QToolButton* applicatorTool_ = nullptr;
  QToolButton* bigBrushTool_ = nullptr;
  QToolButton* undoButton_ = nullptr;
  QToolButton* reloadButton_ = nullptr;
  QToolButton* helpButton_ = nullptr;
  QSlider* complexionSlider_ = nullptr;
  QToolButton* findRegionsButton_ = nullptr;
  QCheckBox* softEdges_ = nullptr;
  // Group 1: the seven tool buttons, each under its tag.
  QButtonGroup* toolButtons_ = nullptr;

  TMakeupTool tool_ = TMakeupTool::mkNone;
  TColorBoxFeed feed_ = TColorBoxFeed::cfRegion;
  TCursor colorBoxCursor_ = crDefault;
  FindFaceFunction findFace_;
  // The region colour shown since the last undo point, if any.
  std::optional<std::pair<ColorKind, TColor>> shownColour_;
};

}  // namespace glamora
