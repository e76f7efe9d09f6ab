#pragma once
// The ten frame buttons around the face that move and stretch the hair, with
// their auto-repeat, and the reset of the hair to the whole face.
//
// Each button carries its number 1..10 in its "tag" property. A press with
// any mouse button chooses the button's step and starts the 100 ms repeat; a
// release stops it; a click (the release of the left button over the button)
// makes one step of the button's own kind.
#include <QObject>
#include <QRect>
#include <cstdint>
#include <functional>
#include <optional>

class QAbstractButton;
class QTimer;
class QToolButton;
class QWidget;

namespace glamora {

class TFrameBox;

// What one step of a frame button does: move the frame by (X, Y), or stretch
// it by (X, Y) on each side.
struct TFrameStep {
  bool Stretches = false;
  int X = 0;
  int Y = 0;
  friend bool operator==(const TFrameStep&, const TFrameStep&) = default;
};

// The step of the button with tag 1..10; none for other tags.
std::optional<TFrameStep> FrameButtonStep(int tag);

// Where a button lies on the frame-button panel, its picture under
// ":/icons/frame/", and the hint that says what it does.
struct TFrameButtonPlace {
  int Tag;
  const char* Name;
  const char* Picture;
  QRect Place;
  const char* Hint;
};
// b1..b10 and then SpeedButton9 (tag 0).
extern const TFrameButtonPlace kFrameButtonPlaces[11];

class TFrameStepper : public QObject {
  Q_OBJECT

 public:
  static constexpr int kRepeatInterval = 100;  // milliseconds

  // The box must outlive the stepper.
  explicit TFrameStepper(TFrameBox& frameBox, QObject* parent = nullptr);

  // The running step: stretch (true) or move, and its vector.
  bool FrameStepStretches = false;
  int32_t FrameStepX = 0;
  int32_t FrameStepY = 0;

  // The auto-repeat timer; off except between a press and a release.
  QTimer* TimerFrame() const { return timer_; }

  // A press with any mouse button on the button with `tag`: its kind and
  // step become the running step and the repeat starts.
  void ButtonMouseDown(int tag);
  // One repeat step with the running step.
  void TimerTick();
  // Any release: the repeat stops.
  void ButtonMouseUp();
  // The click of the button with `tag`: its step becomes the running vector
  // and one step of the button's own kind is made.
  void ButtonClick(int tag);

  // Routes the button's presses, releases and clicks to the handlers above,
  // with the button's "tag".
  void Connect(QAbstractButton& button);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Step(bool stretches, int x, int y);

  TFrameBox& frameBox_;
  QTimer* timer_;
};

struct TFrameButtons {
  QToolButton* b1 = nullptr;
  QToolButton* b2 = nullptr;
  QToolButton* b3 = nullptr;
  QToolButton* b4 = nullptr;
  QToolButton* b5 = nullptr;
  QToolButton* b6 = nullptr;
  QToolButton* b7 = nullptr;
  QToolButton* b8 = nullptr;
  QToolButton* b9 = nullptr;
  QToolButton* b10 = nullptr;
  QToolButton* SpeedButton9 = nullptr;
};

// Creates the ten frame buttons and the reset button on the panel at their
// places, connects the ten to the stepper and the reset button's click to
// `onReset`.
TFrameButtons CreateFrameButtons(QWidget& panel, TFrameStepper& stepper, std::function<void()> onReset);

// Puts the box's target over the whole face area, (0, 0) to (227, 313) of
// the frame's coordinates, and makes the frame adopt it there.
void ResetHairPlacement(TFrameBox& frameBox);

}  // namespace glamora
