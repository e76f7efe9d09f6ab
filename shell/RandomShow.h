#pragma once
// TRandomShow: the Random show button of the main window. A click gives the
// current face one random make-over on the Hairstyle page; a click with
// Shift starts a timed show of nine, one a second, after which the face and
// the default hair colour come back. Every draw comes from the program's one
// generator.
#include <QObject>
#include <cstdint>

class QTimer;
class QToolButton;

namespace glamora {

class Makeover;
class THairstylePage;
class TMainWindowHost;

class TRandomShow : public QObject {
  Q_OBJECT

 public:
  TRandomShow(TMainWindowHost& window, Makeover& model, THairstylePage& hairstylePage, QToolButton& button,
              QObject* parent);

  // A press of the button, with any mouse button: a running show stops.
  void ButtonPressed(Qt::KeyboardModifiers shift);
  // The button's click: one make-over, and with Shift held at the press the
  // timed show starts; a click whose press stopped a show does nothing more.
  void Clicked();
  // A tick of the timed show: the next make-over, or after the ninth the
  // face and the default hair colour back.
  void Tick();
  // Stops a running timed show and raises the button.
  void Stop();
  // A fresh copy of the face with random make-up, a random hairstyle of the
  // first four categories and a random tint, shown on the Hairstyle page.
  void RandomMakeover();

  QTimer& Timer() const { return *timer_; }
  int32_t Ticks() const { return ticks_; }

 private:
  TMainWindowHost& window_;
  Makeover& model_;
  THairstylePage& hairstylePage_;
  QToolButton& button_;
  QTimer* timer_;
  int32_t ticks_ = 0;
  // The shift state of the last press, and whether that press stopped a show.
  Qt::KeyboardModifiers pressShift_;
  bool stoppedByPress_ = false;
};

}  // namespace glamora
