// The program entry: the application object, then the windows in their fixed
// order, each once for the whole run, then the event loop until the main
// window closes.
#include <QApplication>
#include <exception>

#include "desktop/Dialogs.h"
#include "experts/AddHair.h"
#include "experts/FaceExpert.h"
#include "experts/Rotate.h"
#include "experts/SaveHair.h"
#include "gallery/OpenFace.h"
#include "gallery/Preview.h"
#include "imaging/components/ImgIO.h"
#include "imaging/core/InPlaceSave.h"
#include "landmarks/LandmarkFinder.h"
#include "shell/About.h"
#include "shell/FormMain.h"

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
  // One face finder for the whole run; its model loads on a worker thread
  // while the windows are made.
  glamora::LandmarkFinder finder;
  finder.StartLoading();
  const glamora::FindFaceFunction findFace = [&finder](const glamora::Bitmap& picture) { return finder.Find(picture); };

  // Each window's creation sees the ones made before it; the main window
  // learns of the others once they all exist.
  glamora::TFormMain formMain;
  glamora::TFormPreview formPreview(&formMain);
  // The rotation dialog serves both experts, so it exists before them.
  glamora::TFormRotate formRotate(&formMain);
  glamora::TFormFaceExpert formFaceExpert(formMain.ProgramFolder(), formRotate, &formMain);
  glamora::TFormAddHair formAddHair(formMain.ProgramFolder(), formRotate, &formMain);
  // The category dialog opens over the expert that asks it.
  glamora::TFormSaveHair formSaveHair(&formAddHair);
  formAddHair.SetSaveHair(&formSaveHair);
  glamora::TFormAbout formAbout(&formMain);
  glamora::TFormOpenFace formOpenFace(formMain.ProgramFolder(), &formMain);
  formMain.SetOtherWindows({.FormAbout = &formAbout,
                            .FormPreview = &formPreview,
                            .FormOpenFace = &formOpenFace,
                            .FormFaceExpert = &formFaceExpert,
                            .FormAddHair = &formAddHair});
  formMain.SetFaceFinder(findFace);
  formFaceExpert.FindFace = findFace;
  // Saves killed midway in an earlier run left their temporary files and
  // unfinished in-place copies behind.
  glamora::FinishInterruptedSaves(formMain.ProgramFolder(), true);

  QObject::connect(&formMain, &glamora::TFormMain::Closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
  formMain.show();
  return app.exec();
}
