// Message boxes through the hook, and the error box of event handlers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "desktop/Dialogs.h"
#include "imaging/core/Stream.h"

namespace glamora::test {
namespace {

TEST(Dialogs, MessageBoxesReachTheHookWithCaptionButtonsAndAnswer) {
  std::vector<MessageRequest> seen;
  ScopedMessageHook hook([&](const MessageRequest& request) {
    seen.push_back(request);
    return request.Buttons.testFlag(mbCancel) ? mrCancel : mrNo;
  });
  ShowMessage("Plain");
  EXPECT_EQ(MessageDlg("Replace?", TMsgDlgType::mtWarning, mbYes | mbNo | mbCancel), mrCancel);
  EXPECT_EQ(MessageDlg("Delete?", TMsgDlgType::mtConfirmation, mbYes | mbNo), mrNo);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].Caption, "Glamora");
  EXPECT_EQ(seen[0].Buttons, TMsgDlgButtons(mbOK));
  EXPECT_EQ(seen[1].Caption, "Warning");
  EXPECT_EQ(seen[2].Caption, "Confirmation");
  EXPECT_EQ(seen[2].Text, "Delete?");
}

TEST(Dialogs, EnterAnswersTheNamedDefaultButtonElseTheFirst) {
  struct Case {
    TMsgDlgButtons Buttons;
    TMsgDlgButtons Default;
    TModalResult Enter;
  };
  const Case cases[] = {
      {mbYes | mbNo, {}, mrYes},
      {mbYes | mbNo, mbNo, mrNo},
      {mbYes | mbNo | mbCancel, mbNo, mrNo},
      {mbYes | mbNo | mbCancel, mbCancel, mrCancel},
      {mbOK, {}, mrOk},
      // A default the box does not show falls back to the first button.
      {mbYes | mbNo, mbCancel, mrYes},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.Buttons) * 100 + int(c.Default));
    // The real message box, answered by Enter once it is up.
    QTimer::singleShot(0, [] {
      QWidget* box = QApplication::activeModalWidget();
      ASSERT_NE(box, nullptr);
      QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(MessageDlg("Delete?", TMsgDlgType::mtWarning, c.Buttons, c.Default), c.Enter);
  }
}

TEST(Dialogs, ScopedHookRestoresTheOneBefore) {
  int outer = 0, inner = 0;
  ScopedMessageHook outerHook([&](const MessageRequest&) { return ++outer, mrOk; });
  {
    ScopedMessageHook innerHook([&](const MessageRequest&) { return ++inner, mrOk; });
    ShowMessage("inner");
  }
  ShowMessage("outer");
  EXPECT_EQ(inner, 1);
  EXPECT_EQ(outer, 1);
}

TEST(Dialogs, ExceptionEscapingAHandlerEndsItInTheErrorBox) {
  std::vector<MessageRequest> seen;
  ScopedMessageHook hook([&](const MessageRequest& request) {
    seen.push_back(request);
    return mrOk;
  });
  bool after = false;
  RunHandler([&] {
    throw FileError("Cannot open file /no/such/face.mff");
    after = true;
  });
  EXPECT_FALSE(after);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].Text, "Cannot open file /no/such/face.mff");
  EXPECT_EQ(seen[0].Caption, "Glamora");
  EXPECT_EQ(seen[0].Type, TMsgDlgType::mtError);

  // The same through a guarded signal handler.
  QPushButton button;
  QObject::connect(&button, &QPushButton::clicked, Guarded([] { throw std::runtime_error("broken"); }));
  button.click();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].Text, "broken");
}

}  // namespace
}  // namespace glamora::test
