// The support web page from the Help menu, and the About box over the main window.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "shell/About.h"
#include "tests/shell/MainWindowFixture.h"

namespace glamora::test {
namespace {

TEST_F(MainWindowTest, SupportPageOpensTheAddressAndReportsOnlyAFailure) {
  CopyModelFace();
  auto form = Start();
  Control<QAction>(*form, "M45")->trigger();
  ASSERT_EQ(openedUrls_.size(), 1u);
  EXPECT_EQ(openedUrls_[0], QUrl(kSupportAddress));
  EXPECT_TRUE(messages_.empty());

  openerSucceeds_ = false;
  Control<QAction>(*form, "M45")->trigger();
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
  Control<QAction>(*form, "M46")->trigger();
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
