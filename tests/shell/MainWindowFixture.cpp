// The main window fixture: a program folder, settings and message boxes of its own.
#include "tests/shell/MainWindowFixture.h"

#include <QSettings>
#include <filesystem>

#include "desktop/Settings.h"
#include "face/StandardFace.h"
#include "tests/support/FaceFixtures.h"

namespace glamora::test {

namespace fs = std::filesystem;

MainWindowTest::MainWindowTest()
    : hook_([this](const MessageRequest& request) {
        messages_.push_back(request);
        return answer_;
      }) {
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(config_.Path()));
  fs::create_directories(program_.File("Faces"));
  previousOpener_ = SetUrlOpener([this](const QUrl& url) {
    openedUrls_.push_back(url);
    return openerSucceeds_;
  });
}

MainWindowTest::~MainWindowTest() { SetUrlOpener(std::move(previousOpener_)); }

std::unique_ptr<TFormMain> MainWindowTest::Start(const std::string& storedFace) {
  if (!storedFace.empty()) WriteClosingSettings(storedFace);
  auto form = std::make_unique<TFormMain>(program_.Path());
  form->show();
  return form;
}

std::string MainWindowTest::Face(const std::string& name, const Bitmap& picture, const FaceHeader& header) const {
  return WriteTestFace(program_.File("Faces/" + name), picture, header);
}

std::string MainWindowTest::CopyModelFace() const {
  const std::string target = program_.File("Faces/Modela.eff");
  fs::copy_file(SourceDir() + "/data/Faces/Modela.eff", target, fs::copy_options::overwrite_existing);
  return target;
}

void MainWindowTest::CopyHelp() const {
  fs::copy_file(SourceDir() + "/data/Glamora.hlp", program_.File("Glamora.hlp"));
  fs::create_directories(program_.File("Help"));
  fs::copy_file(SourceDir() + "/data/Help/contexts.txt", program_.File("Help/contexts.txt"));
}

std::vector<std::string> MainWindowTest::MessageTexts() const {
  std::vector<std::string> texts;
  for (const MessageRequest& request : messages_) texts.push_back(request.Text.toStdString());
  return texts;
}

Bitmap GradientFace() {
  Bitmap picture(standard_face::kWidth, standard_face::kHeight);
  for (int y = 0; y < picture.Height(); ++y) {
    uint8_t* row = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x) {
      row[3 * x + 0] = uint8_t(60 + (x * 120) / picture.Width());   // blue
      row[3 * x + 1] = uint8_t(80 + (y * 100) / picture.Height());  // green
      row[3 * x + 2] = uint8_t(120 + ((x + y) % 100));              // red
    }
  }
  return picture;
}

}  // namespace glamora::test
