// glamora-cli face make: a face model from a photograph, as the face expert
// makes it by carving automatically; with --auto fitted by the face's
// landmarks and saved with its eye and lip regions.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "experts/core/FaceMaker.h"
#include "landmarks/LandmarkFinder.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliOptions.h"

namespace glamora::cli {

namespace {

constexpr const char* kMakeUsage =
    "usage: glamora-cli face make PHOTO OUT [--shape oval|wide|long|rect|try] [--place LEFT,TOP,WIDTH,HEIGHT] "
    "[--rotate DEGREES] [--no-antialias] [--auto]";

// The folder the data folders lie in: the program's own, trailing separator.
std::string ProgramFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "./";
  return program.parent_path().string() + "/";
}

}  // namespace

// Prints the face file written: OUT with its extension made ".mff".
int FaceMake(const Args& args) {
  FaceModelRecipe recipe;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    const auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw Failure(word + " needs a value");
      return args[++i];
    };
    if (word == "--no-antialias") {
      recipe.Antialias = false;
    } else if (word == "--auto") {
      recipe.Automatic = true;
    } else if (word == "--shape") {
      const std::string& name = value();
      recipe.Shape = FaceShapeByName(name);
      if (recipe.Shape == 0) throw Failure("unknown face shape \"" + name + "\" (oval, wide, long, rect or try)");
    } else if (word == "--place") {
      const auto v = ParseNumbers<4>(word, value(), "LEFT,TOP,WIDTH,HEIGHT");
      recipe.Place = PixelRect{v[0], v[1], v[2], v[3]};
    } else if (word == "--rotate") {
      recipe.Rotation = ParseNumbers<1>(word, value(), "a whole number of degrees")[0];
    } else if (word.rfind("--", 0) == 0) {
      throw Failure("unknown option " + word + " (" + kMakeUsage + ")");
    } else {
      files.push_back(word);
    }
  }
  if (files.size() != 2) throw Failure(kMakeUsage);
  recipe.Photograph = files[0];
  LandmarkFinder finder;
  const std::string written = MakeFaceModel(recipe, ProgramFolder(), files[1], &finder);
  std::printf("%s\n", written.c_str());
  return 0;
}

}  // namespace glamora::cli
