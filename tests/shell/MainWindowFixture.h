#pragma once
// A main window started on a program folder of its own: a temporary folder
// with "Faces", the settings store in another temporary folder, every message
// box answered by a hook that records it, and the browser replaced by a
// recorder.
#include <gtest/gtest.h>

#include <QUrl>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "desktop/Dialogs.h"
#include "desktop/SupportPage.h"
#include "face/FaceHeader.h"
#include "imaging/core/Bitmap.h"
#include "model/Makeover.h"
#include "shell/FormMain.h"
#include "shell/GalleryPanel.h"
#include "shell/HairstylePage.h"
#include "shell/HelpViewer.h"
#include "shell/MakeupPage.h"
#include "shell/RandomShow.h"
#include "tests/support/TestSupport.h"
#include "views/FrameBox.h"
#include "views/FrameButtons.h"
#include "views/HairView.h"
#include "views/Makeup.h"

namespace glamora::test {

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest();
  ~MainWindowTest() override;

  // Creates and shows the window. A non-empty storedFace is written to the
  // settings first, as a previous run would have left it.
  std::unique_ptr<TFormMain> Start(const std::string& storedFace = {});

  // A plain or enciphered face (by the extension) in the program's "Faces".
  std::string Face(const std::string& name, const Bitmap& picture, const FaceHeader& header) const;
  // The shipped model face copied into the program's "Faces".
  std::string CopyModelFace() const;
  // The help file and its context map copied beside the program.
  void CopyHelp() const;

  std::vector<std::string> MessageTexts() const;

  TempFolder config_;
  TempFolder program_;
  std::vector<MessageRequest> messages_;
  TModalResult answer_ = mrOk;
  std::vector<QUrl> openedUrls_;
  bool openerSucceeds_ = true;

 private:
  ScopedMessageHook hook_;
  UrlOpener previousOpener_;
};

// A 228 × 314 picture whose pixels vary, so contrast and lightness changes show.
Bitmap GradientFace();

// A control of the window by its object name, the name the window's form
// gives it; a missing one fails the test.
template <class T = QWidget>
T* Control(const QObject& window, const char* name) {
  T* control = window.findChild<T*>(QString::fromLatin1(name));
  if (!control) {
    ADD_FAILURE() << "the window has no control " << name;
    throw std::runtime_error(name);
  }
  return control;
}

}  // namespace glamora::test
