// The Make-up page: its controls, the tool buttons of group 1, the colour box
// and the complexion slider, and what each does to the canvas and the model.
#include "shell/MakeupPage.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>
#include <vector>

#include "desktop/BusyWork.h"
#include "desktop/Dialogs.h"
#include "desktop/Panel.h"
#include "imaging/HsvPicker.h"
#include "model/Makeover.h"
#include "model/ProposedRegions.h"
#include "shell/MainCursors.h"
#include "shell/MainWindowHost.h"
#include "views/Makeup.h"

namespace glamora {

namespace {

struct ToolCursors {
  TCursor Canvas;
  TCursor ColorBox;
};

ToolCursors CursorsOf(TMakeupTool tool) {
  switch (tool) {
    case TMakeupTool::mkOutline: return {CursorNumber(TMainCursor::mcOutline), crDefault};
    case TMakeupTool::mkEyes: return {crDefault, CursorNumber(TMainCursor::mcEyes)};
    case TMakeupTool::mkLipstick: return {crDefault, CursorNumber(TMainCursor::mcLipStick)};
    case TMakeupTool::mkLipLine: return {crDefault, CursorNumber(TMainCursor::mcLipLine)};
    case TMakeupTool::mkPencil: return {CursorNumber(TMainCursor::mcPencil), CursorNumber(TMainCursor::mcPencil)};
    case TMakeupTool::mkApplicator:
      return {CursorNumber(TMainCursor::mcBrushMid), CursorNumber(TMainCursor::mcBrushMid)};
    case TMakeupTool::mkBigBrush: return {CursorNumber(TMainCursor::mcBrushBig), CursorNumber(TMainCursor::mcBrushBig)};
    case TMakeupTool::mkNone: break;
  }
  return {crDefault, crDefault};
}

bool IsRegionTool(TMakeupTool tool) {
  return tool == TMakeupTool::mkEyes || tool == TMakeupTool::mkLipstick || tool == TMakeupTool::mkLipLine;
}

bool IsBrushTool(TMakeupTool tool) {
  return tool == TMakeupTool::mkPencil || tool == TMakeupTool::mkApplicator || tool == TMakeupTool::mkBigBrush;
}

QToolButton* SpeedButton(QWidget* parent, const QString& name, const QString& hint, const QString& picture) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setToolTip(hint);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setIcon(QIcon(QString(":/icons/makeup/%1.png").arg(picture)));
  button->setIconSize(QSize(24, 24));
  button->setFixedSize(31, 31);
  return button;
}

constexpr const char* kChooseToolFirst = "To select a clolor you have to click one of the make-up buttons";
constexpr const char* kRegionsOffThePicture = "The eyes and lips of the face lie outside the picture";

std::optional<ColorKind> RegionKindOf(TMakeupTool tool) {
  switch (tool) {
    case TMakeupTool::mkEyes: return ColorKind::Eyes;
    case TMakeupTool::mkLipstick: return ColorKind::Lips;
    case TMakeupTool::mkLipLine: return ColorKind::LipLine;
    default: return std::nullopt;
  }
}

}  // namespace

TMakeupPage::TMakeupPage(TMainWindowHost& window, Makeover& model, TMakeup& canvas, QObject* parent)
    : QObject(parent), window_(window), model_(model), canvas_(canvas) {
  Build();
  Connect();
}

void TMakeupPage::Build() {
  sheet_ = new QWidget;
  sheet_->setObjectName("TabSheetMakeup");

  colorBoxPanel_ = new TPanel(sheet_);
  colorBoxPanel_->setObjectName("PanelMakeupColor");
  colorBoxPanel_->SetBevelOuter(bvLowered);
  colorBoxPanel_->setFixedHeight(182);
  colorBox_ = new THsvPicker(colorBoxPanel_);
  colorBox_->setObjectName("HsvPickerMakeup");
  auto* colorLayout = new QVBoxLayout(colorBoxPanel_);
  colorLayout->setContentsMargins(1, 1, 1, 1);
  colorLayout->addWidget(colorBox_);

  outlineTool_ = SpeedButton(sheet_, "bOutline", "Outline make-up regions", "outline");
  eyesTool_ = SpeedButton(sheet_, "bEyes", "Eyes colour selection ", "eyes");
  lipstickTool_ = SpeedButton(sheet_, "bLipstick", "Lipstick colour selection", "lipstick");
  lipLineTool_ = SpeedButton(sheet_, "bLipsLine", "Lips line colour selection", "lip-line");
  colorPreview_ = new TPanel(sheet_);
  colorPreview_->setObjectName("PanelColor");
  colorPreview_->setToolTip("Preview selected colour");
  colorPreview_->setFixedSize(54, 31);
  colorPreview_->SetSingleBorder(true);
  colorPreview_->SetBevelOuter(bvNone);
  pencilTool_ = SpeedButton(sheet_, "bPencil", "Pencil", "pencil");
  applicatorTool_ = SpeedButton(sheet_, "bBrushMidle", "Applicator", "applicator");
  bigBrushTool_ = SpeedButton(sheet_, "bBrushBig", "Big brush", "big-brush");
  undoButton_ = SpeedButton(sheet_, "bUndoMakeup", "Undo", "undo");
  reloadButton_ = SpeedButton(sheet_, "SpeedButton1", "Reload face", "reload-face");
  helpButton_ = SpeedButton(sheet_, "bHelpMakeup", "Make-up Help", "help");
  findRegionsButton_ = SpeedButton(sheet_, "bFindRegions", "Find eyes and lips", "find-regions");
  findRegionsButton_->setEnabled(false);
  softEdges_ = new QCheckBox("Soft edges", sheet_);
  softEdges_->setObjectName("cbSoftEdges");
  softEdges_->setToolTip("Lay eye colour, lipstick and lip line on with soft edges");
  softEdges_->setFocusPolicy(Qt::NoFocus);

  toolButtons_ = new QButtonGroup(this);
  toolButtons_->setObjectName("MakeupButtons");
  // At most one tool is down, and clicking the one that is down raises it;
  // the group's own exclusivity would keep it down.
  toolButtons_->setExclusive(false);
  const std::pair<QToolButton*, TMakeupTool> tools[] = {
      {outlineTool_, TMakeupTool::mkOutline},   {eyesTool_, TMakeupTool::mkEyes},
      {lipstickTool_, TMakeupTool::mkLipstick}, {lipLineTool_, TMakeupTool::mkLipLine},
      {pencilTool_, TMakeupTool::mkPencil},     {applicatorTool_, TMakeupTool::mkApplicator},
      {bigBrushTool_, TMakeupTool::mkBigBrush}};
  for (const auto& [button, tool] : tools) {
    button->setCheckable(true);
    button->setProperty("tag", int(tool));
    toolButtons_->addButton(button, int(tool));
  }

  auto* complexion = new QGroupBox("Change face complexion", sheet_);
  complexion->setObjectName("GroupBox1");
  complexionSlider_ = new QSlider(Qt::Horizontal, complexion);
  complexionSlider_->setObjectName("TrackBar1");
  complexionSlider_->setToolTip("Change face complexion");
  complexionSlider_->setRange(-20, 10);
  complexionSlider_->setValue(0);
  complexionSlider_->setTickInterval(1);
  complexionSlider_->setSingleStep(1);
  complexionSlider_->setPageStep(1);
  complexionSlider_->setTickPosition(QSlider::TicksBelow);
  auto* sliderLayout = new QVBoxLayout(complexion);
  sliderLayout->setContentsMargins(6, 4, 6, 6);
  sliderLayout->addWidget(complexionSlider_);

  // Regions on the first row, brushes and the page's commands on the second.
  auto* regionRow = new QHBoxLayout;
  regionRow->setSpacing(1);
  for (QWidget* widget : {outlineTool_, eyesTool_, lipstickTool_, lipLineTool_}) regionRow->addWidget(widget);
  regionRow->addSpacing(4);
  regionRow->addWidget(colorPreview_);
  regionRow->addStretch(1);
  auto* brushRow = new QHBoxLayout;
  brushRow->setSpacing(1);
  for (QWidget* widget : {pencilTool_, applicatorTool_, bigBrushTool_, undoButton_, reloadButton_, helpButton_}) {
    brushRow->addWidget(widget);
  }
  brushRow->addStretch(1);
  auto* findRow = new QHBoxLayout;
  findRow->setSpacing(4);
  findRow->addWidget(findRegionsButton_);
  findRow->addWidget(softEdges_);
  findRow->addStretch(1);

  auto* layout = new QVBoxLayout(sheet_);
  layout->setContentsMargins(2, 3, 2, 2);
  layout->setSpacing(4);
  layout->addWidget(colorBoxPanel_);
  layout->addSpacing(6);
  layout->addLayout(regionRow);
  layout->addLayout(brushRow);
  layout->addLayout(findRow);
  layout->addSpacing(6);
  layout->addWidget(complexion);
  layout->addStretch(1);
}

void TMakeupPage::Connect() {
  colorBox_->OnChange = [this](QObject*) { RunHandler([this] { ColourBoxChanged(); }); };
  connect(toolButtons_, &QButtonGroup::buttonClicked, this,
          [this](QAbstractButton* button) { ToolButtonClicked(button); });
  connect(undoButton_, &QToolButton::clicked, this, Guarded([this] { UndoMakeup(); }));
  connect(reloadButton_, &QToolButton::clicked, this, Guarded([this] { ReloadFace(); }));
  connect(helpButton_, &QToolButton::clicked, this, Guarded([this] { window_.ShowHelpTopic("SHM_contents0011"); }));
  connect(findRegionsButton_, &QToolButton::clicked, this, Guarded([this] { FindEyesAndLips(true); }));
  connect(softEdges_, &QCheckBox::toggled, this, Guarded([this] { SoftEdgesChanged(); }));
  // valueChanged fires only when the value changes, also when it is set by program.
  connect(complexionSlider_, &QSlider::valueChanged, this, Guarded([this] { ComplexionChanged(); }));
}

// ---- what the window asks ----------------------------------------------------

void TMakeupPage::ShowToolCursors() { SetToolCursors(tool_); }

void TMakeupPage::RaiseOutlineTool() {
  if (!outlineTool_->isChecked()) return;
  outlineTool_->setChecked(false);
  tool_ = TMakeupTool::mkNone;
}

void TMakeupPage::PressOutlineTool() {
  outlineTool_->setChecked(true);
  ToolButtonClicked(outlineTool_);
}

void TMakeupPage::ResetComplexion() { complexionSlider_->setValue(0); }

void TMakeupPage::SetFaceFinder(FindFaceFunction finder) {
  findFace_ = std::move(finder);
  findRegionsButton_->setEnabled(bool(findFace_));
}

// ---- the tools -------------------------------------------------------------------

void TMakeupPage::ToolButtonClicked(QAbstractButton* button) {
  // The buttons as they were before the click, for a command that fails.
  std::vector<std::pair<QAbstractButton*, bool>> before;
  for (QAbstractButton* other : toolButtons_->buttons()) {
    before.emplace_back(other, other == button ? !button->isChecked() : other->isChecked());
  }
  const TMakeupTool toolBefore = tool_;
  if (button->isChecked()) {
    for (QAbstractButton* other : toolButtons_->buttons()) {
      if (other != button) other->setChecked(false);
    }
  }
  const auto restore = [&] {
    for (const auto& [other, down] : before) other->setChecked(down);
    tool_ = toolBefore;
    SetToolCursors(tool_);
  };
  RunHandler([&] {
    try {
      if (!(button == outlineTool_ ? ToggleOutlining() : ChooseTool(button))) restore();
    } catch (...) {
      restore();
      throw;
    }
  });
}

void TMakeupPage::SetToolCursors(TMakeupTool tool) {
  const ToolCursors cursors = CursorsOf(tool);
  canvas_.SetCursor(cursors.Canvas);
  colorBoxCursor_ = cursors.ColorBox;
  CursorTable::Instance().Apply(*colorBox_, cursors.ColorBox);
}

QAbstractButton* TMakeupPage::DownMakeupButton() const {
  for (QAbstractButton* button :
       {bigBrushTool_, applicatorTool_, pencilTool_, lipLineTool_, lipstickTool_, eyesTool_}) {
    if (button->isChecked()) return button;
  }
  return nullptr;
}

void TMakeupPage::ColourBoxChanged() {
  if (!DownMakeupButton()) {
    ShowMessage(kChooseToolFirst);
    return;
  }
  const TColor color = colorBox_->Color();
  colorPreview_->SetColor(color);
  if (feed_ == TColorBoxFeed::cfBrush) {
    canvas_.SetColor(color);
    return;
  }
  if (const std::optional<ColorKind> kind = RegionKindOf(tool_)) {
    model_.ApplyColor(*kind, color);
    shownColour_.emplace(*kind, color);
  }
}

bool TMakeupPage::ChooseTool(QAbstractButton* button) {
  if (!window_.LeaveOutlineMode()) return false;
  const TColor color = colorBox_->Color();
  canvas_.SetColor(color);
  tool_ = TMakeupTool(toolButtons_->id(button));
  SetToolCursors(tool_);
  if (IsRegionTool(tool_)) {
    feed_ = TColorBoxFeed::cfRegion;
    canvas_.SetMode(TCanvasMode::cmNone);
  }
  if (IsBrushTool(tool_)) feed_ = TColorBoxFeed::cfBrush;
  switch (tool_) {
    case TMakeupTool::mkPencil: canvas_.SetMode(TCanvasMode::cmPencil); break;
    case TMakeupTool::mkApplicator:
      canvas_.SetMode(TCanvasMode::cmAirbrush);
      canvas_.SetBrushSize(8);
      canvas_.SetBrushIntensity(1);
      break;
    case TMakeupTool::mkBigBrush:
      canvas_.SetMode(TCanvasMode::cmAirbrush);
      canvas_.SetBrushSize(15);
      canvas_.SetBrushIntensity(1);
      break;
    default: break;
  }
  // Every colour applied so far becomes part of the picture.
  model_.SaveUndo();
  shownColour_.reset();
  return true;
}

bool TMakeupPage::ToggleOutlining() {
  if (outlineTool_->isChecked()) {
    // Outlines stored since the tool was last raised are kept before the
    // face is read again.
    if (!window_.CommitOutlines()) return false;
    window_.HideHair();
    tool_ = TMakeupTool::mkOutline;
    // Outlining starts from the clean face: any make-up is discarded.
    window_.LoadCurrentFace();
    canvas_.SetZoomFactor(3);
    canvas_.SetViewX(150);
    canvas_.SetViewY(250);
    canvas_.SetMode(TCanvasMode::cmOutline);
  } else {
    if (!window_.LeaveOutlineMode()) return false;
    tool_ = TMakeupTool::mkNone;
  }
  SetToolCursors(tool_);
  return true;
}

void TMakeupPage::UndoMakeup() { model_.Undo(); }

std::optional<std::string> TMakeupPage::ProposeRegions() {
  if (!findFace_) return "No face finder";
  // The face as loaded: make-up would only get in the finder's way.
  const Bitmap& face = model_.LoadedFace().Empty() ? model_.Face() : model_.LoadedFace();
  const FaceSearch search = RunBusy([&] { return findFace_(face); });
  if (search.Result != FaceSearch::Outcome::Found) {
    return search.Message.empty() ? "No face was found in the picture" : search.Message;
  }
  if (StoreProposedRegions(model_, search.Points) == 0) return kRegionsOffThePicture;
  return std::nullopt;
}

void TMakeupPage::FindEyesAndLips(bool showOutlines) {
  if (!findFace_) return;
  if (const std::optional<std::string> why = ProposeRegions()) {
    ShowMessage(QString::fromStdString(*why));
    return;
  }
  // A user who stays after a failed write goes on with the proposal as it is.
  window_.CommitOutlines();
  ReapplyShownColour();
  if (showOutlines) canvas_.ShowRegionOutlines();
}

void TMakeupPage::SoftEdgesChanged() {
  // The model lays the colours applied since the face was loaded again.
  model_.SetSoftEdges(softEdges_->isChecked());
}

void TMakeupPage::ReapplyShownColour() {
  // Only a colour still on the picture since the last undo point, with its
  // tool still down, is laid on again.
  if (!shownColour_ || !DownMakeupButton() || RegionKindOf(tool_) != shownColour_->first ||
      model_.Face().SameContent(model_.UndoPicture())) {
    return;
  }
  model_.ApplyColor(shownColour_->first, shownColour_->second);
}

void TMakeupPage::ReloadFace() {
  if (window_.CommitOutlines()) window_.LoadCurrentFace();
}

void TMakeupPage::ComplexionChanged() {
  if (QAbstractButton* down = DownMakeupButton()) {
    down->setChecked(false);
    SetToolCursors(TMakeupTool::mkNone);
  }
  model_.Complexion(complexionSlider_->value());
}

}  // namespace glamora
