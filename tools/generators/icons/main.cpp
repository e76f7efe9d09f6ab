// Draws the program's pictures: the tool bar, tab, button and menu icons
// (resources/icons/, with the resource list resources/icons.qrc and the
// README that says which picture is which command), the About logo
// (resources/logo.png) and the pictures of the help (data/Help/pictures/).
// Every picture is also drawn at twice the size ("@2x") for high-DPI screens.
//
// usage: glamora-gen-icons REPOSITORY-ROOT
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>

#include "tools/generators/icons/HelpPictures.h"
#include "tools/generators/icons/Icons.h"
#include "tools/generators/icons/Logo.h"

using namespace glamora::icons;

namespace {

bool Save(const QImage& image, const QString& path) {
  QDir().mkpath(QFileInfo(path).path());
  if (image.save(path, "PNG")) return true;
  std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  return false;
}

bool WriteText(const QString& path, const QString& text) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  QTextStream(&file) << text;
  return true;
}

QString ResourceList(const QStringList& files) {
  QString qrc = "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
  for (const QString& f : files) qrc += "  <file>" + f + "</file>\n";
  qrc += "</qresource>\n</RCC>\n";
  return qrc;
}

QString Readme() {
  QString text =
      "# Icons\n\n"
      "Drawn by `tools/generators/icons` (QPainter vector drawing on a 32 × 32 design grid, one flat style); do not "
      "edit the pictures by hand, change the generator and run `cmake --build <build> --target regenerate-icons`.\n\n"
      "Every picture `NAME.png` has a twice-as-large `NAME@2x.png` beside it for high-DPI screens, which `QIcon` "
      "loads by itself on such a screen. The pictures are compiled in through `resources/icons.qrc` under `:/icons/` "
      "(registered with the cursors by `glamora::InitResources()`).\n\n"
      "The tool bars take their pictures from image lists: a set below is one image list, and a picture's file name "
      "is its index in that list. Indices that no button uses have no picture.\n";
  for (const IconSet& set : IconSets()) {
    text += QString("\n## %1 (`%2/`, %3 × %4)\n\n| Picture | Control | Command |\n|---|---|---|\n")
                .arg(set.Window)
                .arg(set.Folder)
                .arg(set.Width)
                .arg(set.Height);
    for (const Icon& icon : AllIcons()) {
      if (QString(icon.Set->Folder) != set.Folder) continue;
      text += QString("| `%1.png` | %2 | %3 |\n").arg(icon.Key, icon.Control, icon.Command);
    }
  }
  text += "\n## About logo\n\n`resources/logo.png` (377 × 53, the band at the top of the About box; `logo@2x.png` "
          "754 × 106): a face in profile with a flowing stroke of hair and the word \"Glamora\", on a see-through "
          "background.\n";
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s REPOSITORY-ROOT\n", argv[0]);
    return 2;
  }
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  const QString root = QString::fromLocal8Bit(argv[1]) + "/";
  const QString resources = root + "resources/";
  bool ok = true;

  QStringList listed;
  for (const Icon& icon : AllIcons()) {
    const QString base = QString("icons/%1/%2").arg(icon.Set->Folder, icon.Key);
    ok = Save(Render(icon, 1), resources + base + ".png") && ok;
    ok = Save(Render(icon, 2), resources + base + "@2x.png") && ok;
    listed << base + ".png" << base + "@2x.png";
  }
  ok = Save(RenderLogo(1), resources + "logo.png") && ok;
  ok = Save(RenderLogo(2), resources + "logo@2x.png") && ok;
  listed << "logo.png" << "logo@2x.png";

  // The menu icon in the sizes desktops look for, installed into the hicolor theme.
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
    ok = Save(RenderAppIcon(size), root + QString("dist/icons/%1x%1/com.orvane.Glamora.png").arg(size)) && ok;
  }

  ok = WriteText(resources + "icons.qrc", ResourceList(listed)) && ok;
  ok = WriteText(resources + "icons/README.md", Readme()) && ok;

  for (const HelpPicture& picture : AllHelpPictures()) {
    ok = Save(picture.Render(), root + "data/Help/pictures/" + picture.FileName) && ok;
  }
  return ok ? 0 : 1;
}
