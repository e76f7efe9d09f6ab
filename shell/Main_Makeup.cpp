// The Make-up page of the main window: the colour box, the seven tool
// buttons of group 1, undo, reload, help and the complexion slider.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>
#include <vector>

#include "face/Makeup.h"
#include "imaging/HsvPicker.h"
#include "shell/Dialogs.h"
#include "shell/Main.h"
#include "shell/Panel.h"

namespace glamora {

namespace {

// Make-up tools: the tags of the tool buttons.
constexpr int kToolNone = 0;
constexpr int kToolOutline = 11;
constexpr int kToolEyes = 21;
constexpr int kToolLipstick = 22;
constexpr int kToolLipLine = 23;
constexpr int kToolPencil = 31;
constexpr int kToolApplicator = 32;
constexpr int kToolBigBrush = 33;

// Cursor numbers of the main window's cursor table.
constexpr TCursor crOutline = 50;
constexpr TCursor crPencil = 51;
constexpr TCursor crBrushMid = 53;
constexpr TCursor crBrushBig = 55;
constexpr TCursor crLipStick = 56;
constexpr TCursor crLipLine = 58;
constexpr TCursor crEyes = 59;

constexpr uint8_t kColorModeRegion = 0;
constexpr uint8_t kColorModeBrush = 1;

struct ToolCursors {
  TCursor Canvas;
  TCursor ColorBox;
};

ToolCursors CursorsOf(int tool) {
  switch (tool) {
    case kToolOutline: return {crOutline, crDefault};
    case kToolEyes: return {crDefault, crEyes};
    case kToolLipstick: return {crDefault, crLipStick};
    case kToolLipLine: return {crDefault, crLipLine};
    case kToolPencil: return {crPencil, crPencil};
    case kToolApplicator: return {crBrushMid, crBrushMid};
    case kToolBigBrush: return {crBrushBig, crBrushBig};
    default: return {crDefault, crDefault};
  }
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

}  // namespace

void TFormMain::BuildMakeupPage() {
  TabSheetMakeup = new QWidget;
  TabSheetMakeup->setObjectName("TabSheetMakeup");

  PanelMakeupColor = new TPanel(TabSheetMakeup);
  PanelMakeupColor->setObjectName("PanelMakeupColor");
  PanelMakeupColor->SetBevelOuter(bvLowered);
  PanelMakeupColor->setFixedHeight(182);
  HsvPickerMakeup = new THsvPicker(PanelMakeupColor);
  HsvPickerMakeup->setObjectName("HsvPickerMakeup");
  auto* colorLayout = new QVBoxLayout(PanelMakeupColor);
  colorLayout->setContentsMargins(1, 1, 1, 1);
  colorLayout->addWidget(HsvPickerMakeup);

  QWidget* page = TabSheetMakeup;
  bOutline = SpeedButton(page, "bOutline", "Outline make-up regions", "outline");
  bEyes = SpeedButton(page, "bEyes", "Eyes colour selection ", "eyes");
  bLipstick = SpeedButton(page, "bLipstick", "Lipstick colour selection", "lipstick");
  bLipsLine = SpeedButton(page, "bLipsLine", "Lips line colour selection", "lip-line");
  PanelColor = new TPanel(page);
  PanelColor->setObjectName("PanelColor");
  PanelColor->setToolTip("Preview selected colour");
  PanelColor->setFixedSize(54, 31);
  PanelColor->SetSingleBorder(true);
  PanelColor->SetBevelOuter(bvNone);
  bPencil = SpeedButton(page, "bPencil", "Pencil", "pencil");
  bBrushMidle = SpeedButton(page, "bBrushMidle", "Applicator", "applicator");
  bBrushBig = SpeedButton(page, "bBrushBig", "Big brush", "big-brush");
  bUndoMakeup = SpeedButton(page, "bUndoMakeup", "Undo", "undo");
  SpeedButton1 = SpeedButton(page, "SpeedButton1", "Reload face", "reload-face");
  bHelpMakeup = SpeedButton(page, "bHelpMakeup", "Make-up Help", "help");

  MakeupButtons = new QButtonGroup(this);
  MakeupButtons->setObjectName("MakeupButtons");
  // At most one tool is down, and clicking the one that is down raises it;
  // the group's own exclusivity would keep it down.
  MakeupButtons->setExclusive(false);
  const std::pair<QToolButton*, int> tools[] = {{bOutline, kToolOutline},       {bEyes, kToolEyes},
                                                {bLipstick, kToolLipstick},     {bLipsLine, kToolLipLine},
                                                {bPencil, kToolPencil},         {bBrushMidle, kToolApplicator},
                                                {bBrushBig, kToolBigBrush}};
  for (const auto& [button, tag] : tools) {
    button->setCheckable(true);
    button->setProperty("tag", tag);
    MakeupButtons->addButton(button, tag);
  }

  GroupBox1 = new QGroupBox("Change face complexion", page);
  GroupBox1->setObjectName("GroupBox1");
  TrackBar1 = new QSlider(Qt::Horizontal, GroupBox1);
  TrackBar1->setObjectName("TrackBar1");
  TrackBar1->setToolTip("Change face complexion");
  TrackBar1->setRange(-20, 10);
  TrackBar1->setValue(0);
  TrackBar1->setTickInterval(1);
  TrackBar1->setSingleStep(1);
  TrackBar1->setPageStep(1);
  TrackBar1->setTickPosition(QSlider::TicksBelow);
  auto* sliderLayout = new QVBoxLayout(GroupBox1);
  sliderLayout->setContentsMargins(6, 4, 6, 6);
  sliderLayout->addWidget(TrackBar1);

  // Regions on the first row, brushes and the page's commands on the second.
  auto* tools1 = new QHBoxLayout;
  tools1->setSpacing(1);
  for (QWidget* widget : {static_cast<QWidget*>(bOutline), static_cast<QWidget*>(bEyes),
                          static_cast<QWidget*>(bLipstick), static_cast<QWidget*>(bLipsLine)}) {
    tools1->addWidget(widget);
  }
  tools1->addSpacing(4);
  tools1->addWidget(PanelColor);
  tools1->addStretch(1);
  auto* tools2 = new QHBoxLayout;
  tools2->setSpacing(1);
  for (QWidget* widget : {bPencil, bBrushMidle, bBrushBig, bUndoMakeup, SpeedButton1, bHelpMakeup}) {
    tools2->addWidget(widget);
  }
  tools2->addStretch(1);

  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(2, 3, 2, 2);
  layout->setSpacing(4);
  layout->addWidget(PanelMakeupColor);
  layout->addSpacing(6);
  layout->addLayout(tools1);
  layout->addLayout(tools2);
  layout->addSpacing(6);
  layout->addWidget(GroupBox1);
  layout->addStretch(1);
}

void TFormMain::ConnectMakeupPage() {
  HsvPickerMakeup->OnChange = [this](QObject*) { RunHandler([this] { HsvPickerMakeupChange(); }); };
  connect(MakeupButtons, &QButtonGroup::buttonClicked, this,
          [this](QAbstractButton* button) { MakeupButtonClicked(button); });
  connect(bUndoMakeup, &QToolButton::clicked, this, Guarded([this] { bUndoMakeupClick(); }));
  connect(SpeedButton1, &QToolButton::clicked, this, Guarded([this] { SpeedButton1Click(); }));
  connect(bHelpMakeup, &QToolButton::clicked, this, Guarded([this] { bHelpMakeupClick(); }));
  // valueChanged fires only when the value changes, also when it is set by program.
  connect(TrackBar1, &QSlider::valueChanged, this, Guarded([this] { TrackBar1Change(); }));
}

void TFormMain::MakeupButtonClicked(QAbstractButton* button) {
  // The buttons as they were before the click, for a command that fails.
  std::vector<std::pair<QAbstractButton*, bool>> before;
  for (QAbstractButton* other : MakeupButtons->buttons()) {
    before.emplace_back(other, other == button ? !button->isChecked() : other->isChecked());
  }
  const int32_t toolBefore = MakeupTool;
  if (button->isChecked()) {
    for (QAbstractButton* other : MakeupButtons->buttons()) {
      if (other != button) other->setChecked(false);
    }
  }
  RunHandler([&] {
    try {
      if (button == bOutline) {
        bOutlineClick();
      } else {
        bEyesClick(button);
      }
    } catch (...) {
      // The outlines could not be committed: the tool stays as it was.
      for (const auto& [other, down] : before) other->setChecked(down);
      MakeupTool = toolBefore;
      SetMakeupCursors(MakeupTool);
      throw;
    }
  });
}

void TFormMain::SetMakeupCursors(int tool) {
  const ToolCursors cursors = CursorsOf(tool);
  Makeup1->SetCursor(cursors.Canvas);
  makeupPickerCursor_ = cursors.ColorBox;
  CursorTable::Instance().Apply(*HsvPickerMakeup, cursors.ColorBox);
}

QAbstractButton* TFormMain::DownMakeupButton() const {
  for (QAbstractButton* button : {bBrushBig, bBrushMidle, bPencil, bLipsLine, bLipstick, bEyes}) {
    if (button->isChecked()) return button;
  }
  return nullptr;
}

void TFormMain::HsvPickerMakeupChange() {
  if (!DownMakeupButton()) {
    ShowMessage("To select a clolor you have to click one of the make-up buttons");
    return;
  }
  const TColor color = HsvPickerMakeup->Color();
  PanelColor->SetColor(color);
  if (MakeupColorMode == kColorModeRegion) {
    switch (MakeupTool) {
      case kToolEyes: Makeup1->ApplyColor(TMakeup::kColorEyes, color); break;
      case kToolLipstick: Makeup1->ApplyColor(TMakeup::kColorLips, color); break;
      case kToolLipLine: Makeup1->ApplyColor(TMakeup::kColorLipLine, color); break;
      default: break;
    }
  } else if (MakeupColorMode == kColorModeBrush) {
    Makeup1->SetColor(color);
  }
}

void TFormMain::bEyesClick(QAbstractButton* sender) {
  LeaveOutlineMode();
  const TColor color = HsvPickerMakeup->Color();
  Makeup1->SetColor(color);
  const int tag = MakeupButtons->id(sender);
  MakeupTool = tag;
  SetMakeupCursors(MakeupTool);
  if (tag >= kToolEyes && tag <= kToolLipLine) {
    MakeupColorMode = kColorModeRegion;
    Makeup1->SetMode(TMakeup::kModeNone);
  }
  if (tag >= kToolPencil && tag <= kToolBigBrush) {
    MakeupColorMode = kColorModeBrush;
    Makeup1->SetColor(color);
  }
  switch (tag) {
    case kToolPencil:
      Makeup1->SetMode(TMakeup::kModePencil);
      break;
    case kToolApplicator:
      Makeup1->SetMode(TMakeup::kModeAirbrush);
      Makeup1->SetBrushSize(8);
      Makeup1->SetBrushIntensity(1);
      break;
    case kToolBigBrush:
      Makeup1->SetMode(TMakeup::kModeAirbrush);
      Makeup1->SetBrushSize(15);
      Makeup1->SetBrushIntensity(1);
      break;
    default:
      break;
  }
  // Every colour applied so far becomes part of the picture.
  Makeup1->SaveUndo();
}

void TFormMain::bOutlineClick() {
  if (bOutline->isChecked()) {
    HideHair();
    MakeupTool = kToolOutline;
    LoadCurrentFace();
    Makeup1->SetZoomFactor(3);
    Makeup1->SetViewX(150);
    Makeup1->SetViewY(250);
    Makeup1->SetMode(TMakeup::kModeOutline);
  } else {
    MakeupTool = kToolNone;
    LeaveOutlineMode();
  }
  SetMakeupCursors(MakeupTool);
}

void TFormMain::bUndoMakeupClick() { Makeup1->Undo(); }

void TFormMain::SpeedButton1Click() { LoadCurrentFace(); }

void TFormMain::TrackBar1Change() {
  if (QAbstractButton* down = DownMakeupButton()) {
    down->setChecked(false);
    SetMakeupCursors(kToolNone);
  }
  const int position = TrackBar1->value();
  Makeup1->Undo();
  if (position < 0) {
    Makeup1->HSLVar(0, 0, -position);
  } else {
    Makeup1->Contrast(position);
  }
}

}  // namespace glamora
