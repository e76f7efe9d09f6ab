// The help window: reading the help file, its topics and its context map.
#include "shell/HelpViewer.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

namespace glamora {

namespace {

// Room for the window manager's title bar and border around the window.
constexpr int kTitleAllowance = 32;
constexpr int kFrameAllowance = 8;

// "number topic" lines; comments start with '#', other lines are skipped.
std::map<int, QString> ReadContextMap(const QString& path) {
  std::map<int, QString> map;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return map;
  static const QRegularExpression blanks("\\s+");
  for (const QString& raw : QString::fromUtf8(file.readAll()).split('\n')) {
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith('#')) continue;
    const QStringList words = line.split(blanks);
    bool isNumber = false;
    const int number = words.value(0).toInt(&isNumber);
    if (words.size() == 2 && isNumber) map.emplace(number, words[1]);
  }
  return map;
}

std::set<QString> AnchorsOf(const QTextDocument& document) {
  std::set<QString> names;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      for (const QString& name : it.fragment().charFormat().anchorNames()) names.insert(name);
    }
  }
  return names;
}

}  // namespace

THelpViewer::THelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle("Glamora Help");
  resize(660, 540);

  auto* contents = new QPushButton("Contents", this);
  auto* index = new QPushButton("Index", this);
  auto* back = new QPushButton("Back", this);
  auto* forward = new QPushButton("Forward", this);
  browser_ = new QTextBrowser(this);
  browser_->setOpenLinks(true);
  browser_->setOpenExternalLinks(false);

  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {contents, index, back, forward}) {
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addLayout(buttons);
  layout->addWidget(browser_, 1);

  connect(contents, &QPushButton::clicked, this, [this] { ShowContents(); });
  connect(index, &QPushButton::clicked, this, [this] { ShowIndex(); });
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
  // Links inside the help move between its topics.
  connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
    if (!url.isEmpty() && problem_.isEmpty()) currentTopic_ = url.fragment();
  });
  back->setEnabled(false);
  forward->setEnabled(false);
}

THelpViewer::~THelpViewer() = default;

void THelpViewer::SetHelpFile(const std::string& path) {
  if (path == helpFile_) return;
  helpFile_ = path;
  loaded_ = false;
  topics_.clear();
  contexts_.clear();
}

bool THelpViewer::LoadHelp() {
  if (loaded_) return true;
  const QString path = QString::fromStdString(helpFile_);
  if (helpFile_.empty() || !QFileInfo(path).isFile()) {
    ShowProblem(QString("The help file %1 cannot be found.").arg(path));
    return false;
  }
  problem_.clear();
  browser_->clearHistory();
  browser_->setSource(QUrl::fromLocalFile(path), QTextDocument::HtmlResource);
  topics_ = AnchorsOf(*browser_->document());
  if (topics_.empty()) {
    ShowProblem(QString("The help file %1 holds no topics.").arg(path));
    return false;
  }
  contexts_ = ReadContextMap(QFileInfo(path).absolutePath() + "/Help/contexts.txt");
  loaded_ = true;
  return true;
}

void THelpViewer::ShowContents() { ShowTopic(kContentsTopic); }

void THelpViewer::ShowIndex() { ShowTopic(kIndexTopic); }

void THelpViewer::ShowTopic(const QString& topic) {
  if (LoadHelp()) {
    if (topics_.count(topic) == 0) {
      ShowProblem(QString("The help topic \"%1\" is not in the help file.").arg(topic));
    } else {
      problem_.clear();
      QUrl url = QUrl::fromLocalFile(QString::fromStdString(helpFile_));
      url.setFragment(topic);
      const bool firstTopic = currentTopic_.isEmpty();
      browser_->setSource(url);
      // The document as first loaded is no page to go back to.
      if (firstTopic) browser_->clearHistory();
      currentTopic_ = topic;
    }
  }
  Present();
}

void THelpViewer::ShowContext(int contextNumber) {
  if (LoadHelp()) {
    const auto found = contexts_.find(contextNumber);
    if (found == contexts_.end()) {
      ShowProblem(QString("No help topic belongs to the help context %1.").arg(contextNumber));
      Present();
      return;
    }
    ShowTopic(found->second);
    return;
  }
  Present();
}

void THelpViewer::ShowProblem(const QString& text) {
  problem_ = text;
  currentTopic_.clear();
  loaded_ = false;
  browser_->clearHistory();
  browser_->setHtml(QString("<h2>Glamora Help</h2><p>%1</p>").arg(text.toHtmlEscaped()));
}

void THelpViewer::keyPressEvent(QKeyEvent* event) {
  // Esc closes the window, as it closes the program's dialogs.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void THelpViewer::PlaceOnScreen() {
  const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
  const QScreen* screen = owner ? owner->screen() : this->screen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  // The title bar and border are not known before the window is first
  // shown; this much room is kept for them.
  const QSize frame(kFrameAllowance, kTitleAllowance + kFrameAllowance);
  resize(size().boundedTo(area.size() - frame));
  const QSize outer = size() + frame;
  const QPoint centre = owner ? owner->frameGeometry().center() : area.center();
  const int left = std::clamp(centre.x() - outer.width() / 2, area.left(), area.right() + 1 - outer.width());
  const int top = std::clamp(centre.y() - outer.height() / 2, area.top(), area.bottom() + 1 - outer.height());
  move(left, top);
}

void THelpViewer::Present() {
  if (!isVisible()) PlaceOnScreen();
  show();
  raise();
  activateWindow();
}

}  // namespace glamora
