// glamora-cli makeup: the Make-up page in batch form.
#include <cstdlib>

#include "imaging/components/ImgIO.h"
#include "model/Makeover.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliOptions.h"

namespace glamora::cli {
namespace {

int ParseComplexion(const std::string& text) {
  char* end = nullptr;
  const long p = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || p < -20 || p > 10) {
    throw Failure("--complexion wants a slider position from -20 to 10, not \"" + text + "\"");
  }
  return int(p);
}

int Run(const Args& args) {
  std::vector<MakeupColour> colours;
  bool hasComplexion = false;
  int complexion = 0;
  bool soft = false;
  const auto takeOption = [&](const std::string& option, const std::string& value) {
    if (ParseMakeupColour(option, value, colours)) return;
    if (option == "--soft") {
      soft = true;
    } else if (option == "--complexion") {
      hasComplexion = true;
      complexion = ParseComplexion(value);
    } else {
      throw Failure("unknown option " + option);
    }
  };
  const std::vector<std::string> files = SplitOptions(args, takeOption, {"--soft"});
  if (files.size() != 2) {
    throw Failure("usage: makeup FACE OUT [--eyes R,G,B] [--lips R,G,B] [--lipline R,G,B] [--complexion P] [--soft]");
  }

  RefuseOutputOverInput(files[1], {files[0]});
  Makeover makeover;
  if (!makeover.LoadFace(files[0])) throw Failure(files[0] + ": cannot load this face file");
  makeover.SetSoftEdges(soft);
  ApplyKeptColours(makeover, colours);
  if (hasComplexion) makeover.Complexion(complexion);
  Bitmap result;
  result.Assign(makeover.Face());
  TImgIO out;
  out.SetBitmap(&result);
  if (!out.SaveToFile(files[1])) throw Failure(files[1] + ": cannot write a picture of this type");
  return 0;
}

const Registration registration(
    "makeup",
    "  makeup FACE OUT [--eyes R,G,B] [--lips R,G,B] [--lipline R,G,B] [--complexion P] [--soft]\n"
    "                                        make up a face as the Make-up page would, write the picture;\n"
    "                                        --soft lays the colours on with soft edges\n",
    Run);

}  // namespace
}  // namespace glamora::cli
