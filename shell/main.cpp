// The program entry: the application object, then the run's windows
// (TProgram), then the event loop until the main window closes.
#include <QApplication>
#include <exception>

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

}  // namespace

int main(int argc, char** argv) {
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
  return app.exec();
}
