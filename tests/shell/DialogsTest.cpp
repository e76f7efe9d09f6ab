// Message boxes through the hook, the error box of event handlers, the
// support web page and the About box.
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "imaging/core/Stream.h"
#include "shell/About.h"
#include "tests/shell/MainWindowFixture.h"

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

// ---- the support page and the About box -------------------------------------------

TEST_F(MainWindowTest, SupportPageOpensTheAddressAndReportsOnlyAFailure) {
  CopyModelFace();
  auto form = Start();
  form->M45->trigger();
  ASSERT_EQ(openedUrls_.size(), 1u);
  EXPECT_EQ(openedUrls_[0], QUrl(kSupportAddress));
  EXPECT_TRUE(messages_.empty());

  openerSucceeds_ = false;
  form->M45->trigger();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].Caption, "Error Explore Web");
  EXPECT_EQ(messages_[0].Text, "Error: File not found");
  EXPECT_EQ(messages_[0].Buttons, TMsgDlgButtons(mbOK));
}

TEST_F(MainWindowTest, AboutBoxShowsModallyOverTheMainWindow) {
  CopyModelFace();
  auto form = Start();
  TFormAbout about(form.get());
  form->SetOtherWindows({&about});

  bool checked = false;
  QTimer::singleShot(0, [&] {
    checked = true;
    EXPECT_TRUE(about.isVisible());
    EXPECT_TRUE(about.isModal());
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.size(), QSize(377, 252));
    EXPECT_LE((about.geometry().center() - form->frameGeometry().center()).manhattanLength(), 3);
    EXPECT_EQ(about.Logo()->height(), 53);
    EXPECT_FALSE(about.Logo()->pixmap().isNull());
    EXPECT_EQ(about.Link()->text(), kWebAddressText);
    EXPECT_EQ(about.Link()->font().pixelSize(), 15);
    EXPECT_TRUE(about.Link()->font().underline());
    EXPECT_EQ(about.Link()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(about.CloseButton()->isDefault());

    // The link does what the Help menu's support entry does, failure included.
    openerSucceeds_ = false;
    QTest::mouseClick(about.Link(), Qt::LeftButton);
    EXPECT_EQ(openedUrls_.size(), 1u);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Error: File not found"});

    // Esc closes it like the Close button: it is the cancel button too.
    QTest::keyClick(&about, Qt::Key_Escape);
  });
  form->M46->trigger();
  EXPECT_TRUE(checked);
  EXPECT_FALSE(about.isVisible());
}

TEST(About, CreditsThePortrait) {
  TFormAbout about;
  bool credited = false;
  for (const QLabel* label : about.findChildren<QLabel*>()) {
    credited = credited || label->text() == "Portrait: NASA (public domain)";
  }
  EXPECT_TRUE(credited);
}

}  // namespace
}  // namespace glamora::test
