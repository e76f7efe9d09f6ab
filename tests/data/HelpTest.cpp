// The help file beside the program: its topics as the help buttons and the
// context numbers of the menus name them, and every link and picture in it.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <map>

#include "tests/support/TestSupport.h"

namespace {

QString DataFolder() { return QString::fromStdString(glamora::test::SourceDir()) + "/data/"; }
QString HelpFile() { return DataFolder() + "Glamora.hlp"; }

QString ReadText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

// The anchors the help viewer can jump to, as QTextBrowser finds them in the
// loaded document.
QSet<QString> Anchors() {
  QTextBrowser browser;
  browser.setSource(QUrl::fromLocalFile(HelpFile()));
  QSet<QString> names;
  for (QTextBlock block = browser.document()->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      for (const QString& name : it.fragment().charFormat().anchorNames()) names.insert(name);
    }
  }
  return names;
}

// "number topic" lines; anything else that is not a comment is reported.
struct ContextMap {
  std::map<int, QString> Topics;
  QStringList BadLines;
  QList<int> Repeated;
};

ContextMap ReadContexts() {
  ContextMap map;
  const QStringList lines = ReadText(DataFolder() + "Help/contexts.txt").split('\n');
  for (const QString& raw : lines) {
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith('#')) continue;
    const QStringList words = line.split(QRegularExpression("\\s+"));
    bool isNumber = false;
    const int number = words.value(0).toInt(&isNumber);
    if (words.size() != 2 || !isNumber) {
      map.BadLines << line;
      continue;
    }
    if (map.Topics.count(number)) map.Repeated << number;
    map.Topics[number] = words[1];
  }
  return map;
}

TEST(Help, NamesEveryTopicThatTheProgramOpens) {
  const QSet<QString> anchors = Anchors();
  // The help buttons of the main window and the experts, and the contents and
  // index pages of the Contents command.
  for (const char* topic : {"SHM_contents0006", "SHM_contents0008", "SHM_contents0011", "SHM_contents0012",
                            "SHM_contents0013", "contents", "index"}) {
    EXPECT_TRUE(anchors.contains(topic)) << topic;
  }
}

TEST(Help, MapsEveryMenuContextNumberToATopic) {
  const ContextMap map = ReadContexts();
  EXPECT_TRUE(map.BadLines.isEmpty()) << map.BadLines.join(" | ").toStdString();
  EXPECT_TRUE(map.Repeated.isEmpty());
  const QSet<QString> anchors = Anchors();
  // The context numbers of the menu entries, 9 also for F1 in the experts.
  for (int number : {1, 4, 8, 9, 14, 15}) {
    ASSERT_TRUE(map.Topics.count(number)) << "context " << number << " is not mapped";
    EXPECT_TRUE(anchors.contains(map.Topics.at(number)))
        << "context " << number << " names the missing topic " << map.Topics.at(number).toStdString();
  }
  for (const auto& [number, topic] : map.Topics) {
    EXPECT_TRUE(anchors.contains(topic)) << "context " << number << ": " << topic.toStdString();
  }
}

TEST(Help, EveryLinkAndPictureResolves) {
  const QString html = ReadText(HelpFile());
  ASSERT_FALSE(html.isEmpty());
  const QSet<QString> anchors = Anchors();
  int links = 0, pictures = 0;

  QRegularExpression href("href=\"([^\"]*)\"");
  for (auto it = href.globalMatch(html); it.hasNext();) {
    const QString target = it.next().captured(1);
    ++links;
    if (target.startsWith('#')) {
      EXPECT_TRUE(anchors.contains(target.mid(1))) << "link to " << target.toStdString();
    } else {
      EXPECT_FALSE(target.contains("://")) << "the help links only to itself: " << target.toStdString();
      const QString file = target.section('#', 0, 0);
      EXPECT_TRUE(QFileInfo::exists(DataFolder() + file)) << "link to " << target.toStdString();
    }
  }

  QRegularExpression src("<img[^>]*src=\"([^\"]*)\"");
  for (auto it = src.globalMatch(html); it.hasNext();) {
    const QString picture = it.next().captured(1);
    ++pictures;
    EXPECT_FALSE(QImage(DataFolder() + picture).isNull()) << "picture " << picture.toStdString();
  }
  EXPECT_GT(links, 50);
  EXPECT_GT(pictures, 50);
}

TEST(Help, CreditsThePortraitOfTheModelFace) {
  QTextBrowser browser;
  browser.setSource(QUrl::fromLocalFile(HelpFile()));
  EXPECT_TRUE(browser.document()->toPlainText().contains("Portrait: NASA (public domain)"));
}

}  // namespace
