// glamora-cli face make: a face model from a photograph, as the face expert
// makes it by carving automatically; with --auto fitted by the face's
// landmarks and saved with its eye and lip regions.
#include <cstdio>
#include <string>
#include <vector>

#include "experts/core/FaceMaker.h"
#include "experts/core/FaceModelFile.h"
#include "landmarks/LandmarkFinder.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliOptions.h"

namespace glamora::cli {

namespace {

constexpr const char* kMakeUsage =
    "usage: glamora-cli face make PHOTO OUT [--shape oval|wide|long|rect|try] [--place LEFT,TOP,WIDTH,HEIGHT] "
    "[--rotate DEGREES] [--no-antialias] [--auto] [--allow-partial]";

}  // namespace

// Prints the face file written: OUT with its extension made ".mff".
int FaceMake(const Args& args) {
  FaceModelRecipe recipe;
  const std::vector<std::string> files = SplitWords(args, [&](const std::string& option, const OptionValue& value) {
    if (ParsePlacementOption(option, value, recipe)) return;
    if (option == "--auto") {
      recipe.Automatic = true;
      return;
    }
    if (option == "--allow-partial") {
      recipe.AllowPartial = true;
      return;
    }
    if (option != "--shape") throw Failure("unknown option " + option + " (" + kMakeUsage + ")");
    const std::string& name = value();
    recipe.Shape = FaceShapeByName(name);
    if (recipe.Shape == 0) throw Failure("unknown face shape \"" + name + "\" (oval, wide, long, rect or try)");
  });
  if (files.size() != 2) throw Failure(kMakeUsage);
  recipe.Photograph = files[0];
  // Under any name or link, the face file must not be the photograph (or a
  // shape's picture) it is made from.
  RefuseOutputOverInput(FaceModelFileName(files[1]),
                        {files[0], FaceShapeTemplateFile(ProgramFolder(), recipe.Shape),
                         FaceShapeMaskFile(ProgramFolder(), recipe.Shape)});
  LandmarkFinder finder;
  const std::string written = MakeFaceModel(recipe, ProgramFolder(), files[1], &finder);
  std::printf("%s\n", written.c_str());
  return 0;
}

}  // namespace glamora::cli
