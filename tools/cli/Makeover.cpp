// glamora-cli makeover: a face with make-up and a hairstyle, composed as the
// main window adds it to the gallery.
#include "model/Makeover.h"

#include "hair/Placement.h"
#include "imaging/components/ImgIO.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliOptions.h"

namespace glamora::cli {
namespace {

constexpr const char* kUsage =
    "usage: makeover FACE OUT [--hair FILE] [--tint R,G,B] [--eyes R,G,B] [--lips R,G,B] [--lipline R,G,B] "
    "[--frame L,T,R,B] [--soft]";

struct Options {
  std::string Face, Out, Hair;
  std::vector<MakeupColour> Colours;  // in the order given
  THairColour Tint = kDefaultHairColour;
  bool HasTint = false;
  bool HasFrame = false;
  TRect Frame;
  bool Soft = false;
};

Options ParseOptions(const Args& args) {
  Options o;
  const auto takeOption = [&o](const std::string& option, const std::string& value) {
    if (ParseMakeupColour(option, value, o.Colours)) return;
    if (option == "--soft") {
      o.Soft = true;
    } else if (option == "--hair") {
      o.Hair = value;
    } else if (option == "--tint") {
      const TColor tint = ParseRgb(option, value);
      o.Tint = {RedOf(tint), GreenOf(tint), BlueOf(tint)};
      o.HasTint = true;
    } else if (option == "--frame") {
      o.Frame = ParseFrame(value);
      o.HasFrame = true;
    } else {
      throw Failure("unknown option " + option);
    }
  };
  const std::vector<std::string> files = SplitOptions(args, takeOption, {"--soft"});
  if (files.size() != 2) throw Failure(kUsage);
  if (o.Hair.empty() && (o.HasTint || o.HasFrame)) throw Failure("--tint and --frame need --hair");
  o.Face = files[0];
  o.Out = files[1];
  return o;
}

// Puts the hairstyle on the face as the main window places it: over the
// whole face, or inside the given frame.
void PlaceHair(const Options& o, Makeover& makeover) {
  makeover.SetTint(o.Tint);
  switch (makeover.LoadHairstyle(o.Hair)) {
    case THairLoad::Loaded: break;
    case THairLoad::NoFile: throw Failure(o.Hair + ": no such hairstyle file");
    case THairLoad::Refused: throw Failure(o.Hair + ": a hairstyle is a .bmp, .jpg or .tif file");
    case THairLoad::Unreadable: throw Failure(o.Hair + ": cannot read this picture");
  }
  if (o.HasFrame) makeover.SetHairPlacement(InsideOfFrame(o.Frame));
}

int Run(const Args& args) {
  const Options o = ParseOptions(args);
  RefuseOutputOverInput(o.Out, {o.Face, o.Hair});
  Makeover makeover;
  if (!makeover.LoadFace(o.Face)) throw Failure(o.Face + ": cannot load this face file");
  makeover.SetSoftEdges(o.Soft);
  ApplyKeptColours(makeover, o.Colours);

  Bitmap result;
  if (o.Hair.empty()) {
    result.Assign(makeover.Face());
  } else {
    PlaceHair(o, makeover);
    result = makeover.Compose();
  }

  TImgIO out;
  out.SetBitmap(&result);
  if (!out.SaveToFile(o.Out)) throw Failure(o.Out + ": cannot write a picture of this type");
  return 0;
}

const Registration registration(
    "makeover",
    "  makeover FACE OUT [--hair FILE] [--tint R,G,B] [--eyes R,G,B] [--lips R,G,B] [--lipline R,G,B]\n"
    "           [--frame L,T,R,B] [--soft]\n"
    "                                        a face with make-up and a hairstyle (over the whole face, or\n"
    "                                        inside the frame L,T,R,B), tinted by R,G,B (default 60,40,20),\n"
    "                                        composed as Add to gallery does; written by OUT's extension;\n"
    "                                        --soft lays the colours on with soft edges\n",
    Run);

}  // namespace
}  // namespace glamora::cli
