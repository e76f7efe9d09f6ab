// Message boxes through the replaceable hook, and the application's error box.
#include "desktop/Dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace glamora {

namespace {

MessageHook& CurrentHook() {
  static MessageHook hook;
  return hook;
}

QString TypeCaption(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::mtWarning: return "Warning";
    case TMsgDlgType::mtError: return "Error";
    case TMsgDlgType::mtInformation: return "Information";
    case TMsgDlgType::mtConfirmation: return "Confirmation";
    case TMsgDlgType::mtCustom: break;
  }
  return kApplicationTitle;
}

QMessageBox::Icon TypeIcon(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::mtWarning: return QMessageBox::Warning;
    case TMsgDlgType::mtError: return QMessageBox::Critical;
    case TMsgDlgType::mtInformation: return QMessageBox::Information;
    case TMsgDlgType::mtConfirmation: return QMessageBox::Question;
    case TMsgDlgType::mtCustom: break;
  }
  return QMessageBox::NoIcon;
}

TModalResult ShowRealBox(const MessageRequest& request) {
  QMessageBox box(TypeIcon(request.Type), request.Caption, request.Text, QMessageBox::NoButton,
                  QApplication::activeWindow());
  struct Choice {
    TMsgDlgBtn Flag;
    QMessageBox::StandardButton Button;
    TModalResult Result;
  };
  const Choice choices[] = {{mbYes, QMessageBox::Yes, mrYes},
                            {mbNo, QMessageBox::No, mrNo},
                            {mbOK, QMessageBox::Ok, mrOk},
                            {mbCancel, QMessageBox::Cancel, mrCancel}};
  for (const Choice& choice : choices) {
    if (request.Buttons.testFlag(choice.Flag)) box.addButton(choice.Button);
  }
  const TMsgDlgBtn defaultFlag = DefaultButtonOf(request);
  for (const Choice& choice : choices) {
    if (choice.Flag == defaultFlag) box.setDefaultButton(choice.Button);
  }
  box.exec();
  const auto clicked = box.standardButton(box.clickedButton());
  for (const Choice& choice : choices) {
    if (clicked == choice.Button) return choice.Result;
  }
  // Closed with Esc or the title bar: Cancel when offered, else No, else OK.
  if (request.Buttons.testFlag(mbCancel)) return mrCancel;
  if (request.Buttons.testFlag(mbNo)) return mrNo;
  return mrOk;
}

TModalResult Show(const MessageRequest& request) {
  if (const MessageHook& hook = CurrentHook()) return hook(request);
  return ShowRealBox(request);
}

}  // namespace

TMsgDlgBtn DefaultButtonOf(const MessageRequest& request) {
  // The first button is the default one unless the request names another.
  for (TMsgDlgBtn flag : {mbYes, mbNo, mbOK, mbCancel}) {
    if (request.Buttons.testFlag(flag) && request.Default.testFlag(flag)) return flag;
  }
  for (TMsgDlgBtn flag : {mbYes, mbNo, mbOK, mbCancel}) {
    if (request.Buttons.testFlag(flag)) return flag;
  }
  return mbOK;
}

MessageHook SetMessageHook(MessageHook hook) {
  MessageHook previous = std::move(CurrentHook());
  CurrentHook() = std::move(hook);
  return previous;
}

void ShowMessage(const QString& text) {
  Show({kApplicationTitle, text, TMsgDlgType::mtCustom, mbOK});
}

TModalResult MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons,
                        TMsgDlgButtons defaultButton) {
  return Show({TypeCaption(type), text, type, buttons, defaultButton});
}

TModalResult MessageBox(const QString& text, const QString& caption, TMsgDlgButtons buttons, TMsgDlgType type) {
  return Show({caption, text, type, buttons});
}

void ShowException(const std::exception& error) {
  Show({kApplicationTitle, QString::fromUtf8(error.what()), TMsgDlgType::mtError, mbOK});
}

}  // namespace glamora
