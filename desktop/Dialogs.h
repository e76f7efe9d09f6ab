#pragma once
// Message boxes and modal results of the program's windows, and the
// application's error box. Every message box goes through one replaceable
// hook, so tests can read what would be shown and choose the answer without
// a modal loop.
#include <QFlags>
#include <QString>
#include <exception>
#include <functional>
#include <utility>

class QWidget;

namespace glamora {

// Answers of modal windows and message boxes. The gallery preview adds its
// private results 5000 (export) and 6000 (print).
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn { mbYes = 0x1, mbNo = 0x2, mbOK = 0x4, mbCancel = 0x8 };
Q_DECLARE_FLAGS(TMsgDlgButtons, TMsgDlgBtn)
Q_DECLARE_OPERATORS_FOR_FLAGS(TMsgDlgButtons)

// One message box as it would be shown.
struct MessageRequest {
  QString Caption;
  QString Text;
  TMsgDlgType Type = TMsgDlgType::mtCustom;
  TMsgDlgButtons Buttons = mbOK;
  // The button that Enter presses; none named means the first of Buttons.
  TMsgDlgButtons Default = {};
};

// The button that Enter presses in a request: its Default, else the first
// of Yes, No, OK, Cancel that it shows.
TMsgDlgBtn DefaultButtonOf(const MessageRequest& request);

// Shows a request and returns the answer (mrOk, mrCancel, mrYes or mrNo).
using MessageHook = std::function<TModalResult(const MessageRequest&)>;

// Replaces the hook; an empty hook restores the real message boxes. Returns
// the hook that was installed before.
MessageHook SetMessageHook(MessageHook hook);

// The caption of plain messages and of the error box.
constexpr const char* kApplicationTitle = "Glamora";

// A plain message box with an OK button, captioned with the application title.
void ShowMessage(const QString& text);

// A question or notice with a type caption ("Warning", "Error", "Information",
// "Confirmation") and the given buttons; returns the button chosen. A
// question that deletes or discards names the harmless answer as its
// default button, so that Enter never destroys anything.
TModalResult MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons,
                        TMsgDlgButtons defaultButton = {});

// A message box with its own caption.
TModalResult MessageBox(const QString& text, const QString& caption, TMsgDlgButtons buttons,
                        TMsgDlgType type = TMsgDlgType::mtCustom);

// The application's error box: the exception's text under the application
// title, with an OK button ("Cannot open file <path>").
void ShowException(const std::exception& error);

// Runs one event handler; an exception escaping it ends the command and is
// shown in the error box instead of reaching the event loop.
template <class Handler>
void RunHandler(Handler&& handler) {
  try {
    std::forward<Handler>(handler)();
  } catch (const std::exception& error) {
    ShowException(error);
  }
}

// A handler for a Qt signal, guarded by RunHandler.
template <class Handler>
auto Guarded(Handler handler) {
  return [handler = std::move(handler)](auto&&...) { RunHandler(handler); };
}

// Installs a hook for the lifetime of the object and restores the previous one.
class ScopedMessageHook {
 public:
  explicit ScopedMessageHook(MessageHook hook) : previous_(SetMessageHook(std::move(hook))) {}
  ~ScopedMessageHook() { SetMessageHook(std::move(previous_)); }
  ScopedMessageHook(const ScopedMessageHook&) = delete;
  ScopedMessageHook& operator=(const ScopedMessageHook&) = delete;

 private:
  MessageHook previous_;
};

}  // namespace glamora
