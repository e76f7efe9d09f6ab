// glamora-cli makeup: the Make-up page in batch form.
#include <QApplication>
#include <cstdlib>
#include <memory>
#include <sstream>

#include "face/Makeup.h"
#include "tools/cli/Cli.h"

namespace glamora::cli {
namespace {

TColor ParseColor(const std::string& option, const std::string& text) {
  std::istringstream in(text);
  int r, g, b;
  char c1, c2;
  if (!(in >> r >> c1 >> g >> c2 >> b) || c1 != ',' || c2 != ',' || !in.eof() || r < 0 || r > 255 || g < 0 ||
      g > 255 || b < 0 || b > 255) {
    throw Failure(option + " wants R,G,B with each value 0..255, not \"" + text + "\"");
  }
  return Rgb(uint8_t(r), uint8_t(g), uint8_t(b));
}

int ParseComplexion(const std::string& text) {
  char* end = nullptr;
  const long p = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || p < -20 || p > 10) {
    throw Failure("--complexion wants a slider position from -20 to 10, not \"" + text + "\"");
  }
  return int(p);
}

// The widgets need an application object; batch work runs without a display.
std::unique_ptr<QApplication> MakeApplication() {
  if (QApplication::instance()) return nullptr;
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "glamora-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QApplication>(argc, argv);
}

int Run(const Args& args) {
  std::vector<std::string> files;
  std::vector<std::pair<int, TColor>> colours;  // in the order given
  bool hasComplexion = false;
  int complexion = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.rfind("--", 0) == 0) {
      if (i + 1 >= args.size()) throw Failure(a + " needs a value");
      const std::string& value = args[++i];
      if (a == "--eyes") colours.emplace_back(TMakeup::kColorEyes, ParseColor(a, value));
      else if (a == "--lips") colours.emplace_back(TMakeup::kColorLips, ParseColor(a, value));
      else if (a == "--lipline") colours.emplace_back(TMakeup::kColorLipLine, ParseColor(a, value));
      else if (a == "--complexion") hasComplexion = true, complexion = ParseComplexion(value);
      else throw Failure("unknown option " + a);
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 2) {
    throw Failure("usage: makeup FACE OUT [--eyes R,G,B] [--lips R,G,B] [--lipline R,G,B] [--complexion P]");
  }

  const auto app = MakeApplication();
  TMakeup canvas;
  if (!canvas.LoadFace(files[0])) throw Failure(files[0] + ": cannot load this face file");
  // Each colour is kept, as choosing the next tool keeps it on the page.
  for (const auto& [kind, colour] : colours) {
    canvas.ApplyColor(kind, colour);
    canvas.SaveUndo();
  }
  if (hasComplexion) {
    canvas.Undo();
    if (complexion < 0) {
      canvas.HSLVar(0, 0, -complexion);
    } else {
      canvas.Contrast(complexion);
    }
  }
  if (!canvas.SaveToFile(files[1])) throw Failure(files[1] + ": cannot write a picture of this type");
  return 0;
}

const Registration registration(
    "makeup",
    "  makeup FACE OUT [--eyes R,G,B] [--lips R,G,B] [--lipline R,G,B] [--complexion P]\n"
    "                                        make up a face as the Make-up page would, write the picture\n",
    Run);

}  // namespace
}  // namespace glamora::cli
