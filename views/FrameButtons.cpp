// The frame buttons: their steps, places, auto-repeat and the reset.
#include "views/FrameButtons.h"

#include <QAbstractButton>
#include <QEvent>
#include <QIcon>
#include <QTimer>
#include <QToolButton>
#include <QVariant>
#include <iterator>
#include <utility>

#include "hair/Placement.h"
#include "views/FrameBox.h"

namespace glamora {

std::optional<TFrameStep> FrameButtonStep(int tag) {
  switch (tag) {
    case 1: return TFrameStep{false, -1, 0};
    case 2: return TFrameStep{false, 0, -1};
    case 3: return TFrameStep{false, 1, 0};
    case 4: return TFrameStep{false, 0, 1};
    case 5: return TFrameStep{true, 0, 1};
    case 6: return TFrameStep{true, 0, -1};
    case 7: return TFrameStep{true, 1, 0};
    case 8: return TFrameStep{true, -1, 0};
    case 9: return TFrameStep{true, 1, 1};
    case 10: return TFrameStep{true, -1, -1};
    default: return std::nullopt;
  }
}

const TFrameButtonPlace kFrameButtonPlaces[11] = {
    {1, "b1", "move-left", {5, 143, 26, 81}, "Move the hair left (hold to keep moving)"},
    {2, "b2", "move-up", {116, 9, 65, 27}, "Move the hair up (hold to keep moving)"},
    {3, "b3", "move-right", {264, 143, 25, 78}, "Move the hair right (hold to keep moving)"},
    {4, "b4", "move-down", {113, 353, 73, 22}, "Move the hair down (hold to keep moving)"},
    {5, "b5", "taller", {4, 50, 26, 36}, "Make the hair taller (hold to keep stretching)"},
    {6, "b6", "shorter", {4, 90, 26, 40}, "Make the hair shorter (hold to keep shrinking)"},
    {7, "b7", "wider", {44, 10, 30, 26}, "Make the hair wider (hold to keep stretching)"},
    {8, "b8", "narrower", {75, 9, 34, 27}, "Make the hair narrower (hold to keep shrinking)"},
    {9, "b9", "grow", {8, 7, 30, 31}, "Make the hair larger: wider and taller (hold to keep growing)"},
    {10, "b10", "shrink", {252, 8, 32, 33}, "Make the hair smaller: narrower and shorter (hold to keep shrinking)"},
    {0, "SpeedButton9", "reset", {5, 234, 25, 85}, "Put the hair back over the whole face"},
};

TFrameStepper::TFrameStepper(TFrameBox& frameBox, QObject* parent)
    : QObject(parent), frameBox_(frameBox), timer_(new QTimer(this)) {
  timer_->setInterval(kRepeatInterval);
  connect(timer_, &QTimer::timeout, this, &TFrameStepper::TimerTick);
}

void TFrameStepper::ButtonMouseDown(int tag) {
  const std::optional<TFrameStep> step = FrameButtonStep(tag);
  if (!step) return;
  FrameStepStretches = step->Stretches;
  FrameStepX = step->X;
  FrameStepY = step->Y;
  timer_->start();
}

void TFrameStepper::TimerTick() { Step(FrameStepStretches, FrameStepX, FrameStepY); }

void TFrameStepper::ButtonMouseUp() { timer_->stop(); }

void TFrameStepper::ButtonClick(int tag) {
  const std::optional<TFrameStep> step = FrameButtonStep(tag);
  if (!step) return;
  FrameStepX = step->X;
  FrameStepY = step->Y;
  Step(step->Stretches, FrameStepX, FrameStepY);
}

void TFrameStepper::Step(bool stretches, int x, int y) {
  if (stretches) {
    frameBox_.GrowBy(x, y);
  } else {
    frameBox_.MoveBy(x, y);
  }
}

void TFrameStepper::Connect(QAbstractButton& button) {
  button.installEventFilter(this);
  connect(&button, &QAbstractButton::clicked, this, [this, &button] { ButtonClick(button.property("tag").toInt()); });
}

bool TFrameStepper::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    // A quick second press arrives as a double click.
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: ButtonMouseDown(watched->property("tag").toInt()); break;
    case QEvent::MouseButtonRelease: ButtonMouseUp(); break;
    default: break;
  }
  // The button itself still sees the event, so the left button clicks.
  return QObject::eventFilter(watched, event);
}

TFrameButtons CreateFrameButtons(QWidget& panel, TFrameStepper& stepper, std::function<void()> onReset) {
  TFrameButtons buttons;
  QToolButton** targets[] = {&buttons.b1, &buttons.b2, &buttons.b3, &buttons.b4,  &buttons.b5,          &buttons.b6,
                           &buttons.b7, &buttons.b8, &buttons.b9, &buttons.b10, &buttons.SpeedButton9};
  for (size_t i = 0; i < std::size(kFrameButtonPlaces); ++i) {
    const TFrameButtonPlace& place = kFrameButtonPlaces[i];
    auto* button = new QToolButton(&panel);
    button->setObjectName(place.Name);
    button->setProperty("tag", place.Tag);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIcon(QIcon(QStringLiteral(":/icons/frame/%1.png").arg(QLatin1String(place.Picture))));
    button->setIconSize(QSize(16, 16));
    button->setGeometry(place.Place);
    button->setToolTip(QString::fromUtf8(place.Hint));
    if (place.Tag != 0) stepper.Connect(*button);
    *targets[i] = button;
  }
  if (onReset) {
    QObject::connect(buttons.SpeedButton9, &QToolButton::clicked, buttons.SpeedButton9,
                     [reset = std::move(onReset)] { reset(); });
  }
  return buttons;
}

void ResetHairPlacement(TFrameBox& frameBox) {
  TFrameTarget* target = frameBox.Frame.Target;
  if (!target) return;
  target->PlaceTarget(DefaultHairPlacement());
  frameBox.AttachTarget(target);
}

}  // namespace glamora
