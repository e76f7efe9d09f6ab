#pragma once
// Lets a window see an event of another object before that object does, as
// a key preview does; the handler returns true to keep the event.
#include <QObject>
#include <functional>
#include <utility>

namespace glamora {

class TEventPreview : public QObject {
 public:
  using Handler = std::function<bool(QObject* watched, QEvent* event)>;
  TEventPreview(QObject* parent, Handler handler) : QObject(parent), handler_(std::move(handler)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override { return handler_(watched, event); }

 private:
  Handler handler_;
};

}  // namespace glamora
