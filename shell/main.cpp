// The program entry: the application object, then the run's windows
// (TProgram), then the event loop until the main window closes.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <string>

#include "desktop/Dialogs.h"
#include "imaging/components/ImgIO.h"
#include "shell/Program.h"

namespace {

// Last line of defence: an exception that escapes an event handler outside
// the guarded command handlers is shown in the error box, not fatal.
class TApplication final : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
      glamora::ShowException(error);
      return false;
    }
  }
};

constexpr const char* kUsage =
    "usage: glamora [FILE]\n"
    "  FILE              a face file (.eff, .mff) to make up, or a photograph to open in the face expert\n"
    "  --help            this text\n"
    "  --version         the program's version\n";

}  // namespace

int main(int argc, char** argv) {
  // The command line is read before the window system is needed, so that
  // --version and --help work anywhere.
  std::string givenFile;
  bool filesOnly = false;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (!filesOnly && word == "--version") {
      std::printf("glamora %s\n", GLAMORA_VERSION);
      return 0;
    }
    if (!filesOnly && (word == "--help" || word == "-h")) {
      std::printf("%s", kUsage);
      return 0;
    }
    if (!filesOnly && word == "--") {
      filesOnly = true;
    } else if ((!filesOnly && word.starts_with("-")) || !givenFile.empty()) {
      std::fprintf(stderr, "glamora: %s \"%s\"\n%s", givenFile.empty() ? "unknown option" : "one file only, not also",
                   word.c_str(), kUsage);
      return 2;
    } else {
      givenFile = word;
    }
  }

  TApplication app(argc, argv);
  app.setApplicationName("Glamora");
  app.setOrganizationName("Orvane");
  app.setQuitOnLastWindowClosed(false);
  // Before any picture component exists, so each starts with the coders.
  glamora::StartPictureIO();
  glamora::TProgram program;
  glamora::TFormMain& formMain = program.MainWindow();
  QObject::connect(&formMain, &glamora::TFormMain::Closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
  formMain.show();
  if (!givenFile.empty()) {
    QTimer::singleShot(0, &formMain, glamora::Guarded([&formMain, givenFile] { formMain.OpenGivenFile(givenFile); }));
  }
  return app.exec();
}
