#pragma once
// THelpViewer: the program's help window. It shows the help file (an HTML
// document beside the program, "Glamora.hlp") with its contents and index
// pages, jumps to a topic by name (a named anchor of the document) and to the
// topic of a help context number through the context map that lies beside
// the help file ("Help/contexts.txt": one "number topic" pair a line).
// A missing help file, topic or context number is reported in the window.
// The window opens centred over the window it belongs to and wholly on that
// window's screen; Esc closes it.
#include <QString>
#include <QWidget>
#include <map>
#include <set>
#include <string>

class QTextBrowser;

namespace glamora {

class THelpViewer : public QWidget {
  Q_OBJECT

 public:
  explicit THelpViewer(QWidget* parent = nullptr);
  ~THelpViewer() override;

  // The help file; it is read when a topic is first asked for.
  void SetHelpFile(const std::string& path);
  const std::string& HelpFile() const { return helpFile_; }

  // Shows the contents page; its Index button leads to the index.
  void ShowContents();
  void ShowIndex();
  void ShowTopic(const QString& topic);
  void ShowContext(int contextNumber);

  // The topic shown, or empty while a problem is reported instead.
  const QString& CurrentTopic() const { return currentTopic_; }
  // The report shown instead of a topic, or empty.
  const QString& Problem() const { return problem_; }
  QTextBrowser* Browser() const { return browser_; }

  static constexpr const char* kContentsTopic = "contents";
  static constexpr const char* kIndexTopic = "index";

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool LoadHelp();
  void ShowProblem(const QString& text);
  void Present();
  // Centres the hidden window over its parent window, inside the screen.
  void PlaceOnScreen();

  QTextBrowser* browser_ = nullptr;
  std::string helpFile_;
  bool loaded_ = false;
  std::set<QString> topics_;
  std::map<int, QString> contexts_;
  QString currentTopic_;
  QString problem_;
};

}  // namespace glamora
