// The help viewer over the help file beside the program: topics by name, by
// context number, and the reports of what it cannot show.
#include <gtest/gtest.h>

#include <QScreen>
#include <QTest>
#include <QTextBrowser>

#include "shell/HelpViewer.h"
#include "tests/support/TestSupport.h"

namespace glamora::test {
namespace {

class HelpViewerTest : public ::testing::Test {
 protected:
  HelpViewerTest() { viewer_.SetHelpFile(SourceDir() + "/data/Glamora.hlp"); }
  THelpViewer viewer_;
};

TEST_F(HelpViewerTest, ContextNumbersLeadToTheirTopics) {
  const std::pair<int, const char*> contexts[] = {{1, "contents"}, {4, "support"}, {8, "pictures"},
                                                  {9, "faces"},    {14, "SHM_contents0012"}, {15, "SHM_contents0013"}};
  for (const auto& [number, topic] : contexts) {
    viewer_.ShowContext(number);
    EXPECT_EQ(viewer_.CurrentTopic(), topic) << number;
    EXPECT_TRUE(viewer_.Problem().isEmpty()) << number;
  }
  EXPECT_TRUE(viewer_.isVisible());
}

TEST_F(HelpViewerTest, UnknownTopicOrContextIsReportedAndTheViewerRecovers) {
  viewer_.ShowTopic("no-such-topic");
  EXPECT_TRUE(viewer_.CurrentTopic().isEmpty());
  EXPECT_NE(viewer_.Problem().indexOf("no-such-topic"), -1);
  EXPECT_NE(viewer_.Browser()->toPlainText().indexOf("no-such-topic"), -1);

  viewer_.ShowContext(999);
  EXPECT_NE(viewer_.Problem().indexOf("999"), -1);

  viewer_.ShowIndex();
  EXPECT_EQ(viewer_.CurrentTopic(), "index");
  EXPECT_TRUE(viewer_.Problem().isEmpty());
  EXPECT_EQ(viewer_.Browser()->source().fragment(), "index");
}

TEST_F(HelpViewerTest, LinksInsideTheHelpMoveBetweenTopics) {
  viewer_.ShowContents();
  QUrl link = viewer_.Browser()->source();
  link.setFragment("SHM_contents0011");
  viewer_.Browser()->setSource(link);
  EXPECT_EQ(viewer_.CurrentTopic(), "SHM_contents0011");
}

TEST_F(HelpViewerTest, EscClosesTheWindow) {
  viewer_.ShowContents();
  ASSERT_TRUE(viewer_.isVisible());
  QTest::keyClick(viewer_.Browser(), Qt::Key_Escape);
  EXPECT_FALSE(viewer_.isVisible());
  // The next request shows it again.
  viewer_.ShowIndex();
  EXPECT_TRUE(viewer_.isVisible());
}

TEST(HelpViewerPlacement, OpensCentredOverItsWindowAndWhollyOnTheScreen) {
  QWidget owner;
  owner.resize(400, 300);
  const QRect area = owner.screen()->availableGeometry();
  struct Case {
    const char* Name;
    QPoint OwnerAt;
    bool Centred;  // there is room to centre the help over the owner
  };
  const Case cases[] = {
      {"owner in the middle", area.center() - QPoint(200, 150), true},
      {"owner at the bottom right", area.bottomRight() - QPoint(150, 100), false},
      {"owner partly above and left of the screen", area.topLeft() - QPoint(250, 200), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    owner.move(c.OwnerAt);
    owner.show();
    THelpViewer viewer(&owner);
    viewer.SetHelpFile(SourceDir() + "/data/Glamora.hlp");
    viewer.ShowContents();
    EXPECT_TRUE(area.contains(viewer.frameGeometry())) << viewer.frameGeometry().x() << "," << viewer.frameGeometry().y();
    if (c.Centred) {
      EXPECT_LE((viewer.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 40);
    }
    // Shown again while open, it stays where the user has put it.
    viewer.move(area.topLeft() + QPoint(5, 5));
    viewer.ShowIndex();
    EXPECT_EQ(viewer.pos(), area.topLeft() + QPoint(5, 5));
  }
}

}  // namespace
}  // namespace glamora::test
