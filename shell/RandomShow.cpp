// The random show: one make-over a click, or a timed show of nine.
#include "shell/RandomShow.h"

#include <QEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>
#include <utility>

#include "desktop/Dialogs.h"
#include "face/Random.h"
#include "model/Makeover.h"
#include "shell/EventPreview.h"
#include "shell/HairstylePage.h"
#include "shell/MainWindowHost.h"

namespace glamora {

namespace {

// A timed show: the click's make-over and then one a second until this many
// were shown; the next tick puts the face back.
constexpr int kShowMakeovers = 9;

}  // namespace

TRandomShow::TRandomShow(TMainWindowHost& window, Makeover& model, THairstylePage& hairstylePage, QToolButton& button,
                         QObject* parent)
    : QObject(parent),
      window_(window),
      model_(model),
      hairstylePage_(hairstylePage),
      button_(button),
      timer_(new QTimer(this)) {
  timer_->setObjectName("Timer1");
  timer_->setInterval(1000);
  auto* press = new TEventPreview(this, [this](QObject*, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
      ButtonPressed(static_cast<QMouseEvent*>(event)->modifiers());
    }
    return false;
  });
  button_.installEventFilter(press);
  connect(&button_, &QToolButton::clicked, this, Guarded([this] { Clicked(); }));
  connect(timer_, &QTimer::timeout, this, Guarded([this] { Tick(); }));
}

void TRandomShow::ButtonPressed(Qt::KeyboardModifiers shift) {
  pressShift_ = shift;
  stoppedByPress_ = timer_->isActive();
  Stop();
}

void TRandomShow::Clicked() {
  // The press that ended a running show makes no make-over of its own.
  if (std::exchange(stoppedByPress_, false)) return;
  const bool startShow = pressShift_.testFlag(Qt::ShiftModifier);
  pressShift_ = {};
  if (!window_.ShowHairstylePage()) return;
  RandomMakeover();
  if (startShow) {
    ticks_ = 0;
    timer_->start();
  }
}

void TRandomShow::Tick() {
  button_.setDown(!button_.isDown());
  ++ticks_;
  if (ticks_ >= kShowMakeovers) {
    Stop();
    window_.LoadCurrentFace();
    hairstylePage_.ResetHairColour();
    return;
  }
  try {
    if (!window_.ShowHairstylePage()) {
      Stop();
      return;
    }
    RandomMakeover();
  } catch (...) {
    Stop();
    throw;
  }
}

void TRandomShow::Stop() {
  timer_->stop();
  button_.setDown(false);
}

void TRandomShow::RandomMakeover() {
  if (!model_.RandomMakeover(window_.FaceFileName(), window_.ProgramFolder(), ProgramRandom())) return;
  // The colour box keeps showing its colour.
  hairstylePage_.ShowHair();
  window_.SetRandomFaceShown(true);
}

}  // namespace glamora
