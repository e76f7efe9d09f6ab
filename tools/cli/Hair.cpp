// glamora-cli hair add: a catalogue hairstyle from a photograph, as the
// add-hairstyle expert makes it.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "experts/core/HairstyleMaker.h"
#include "experts/core/NewHairstyle.h"
#include "landmarks/LandmarkFinder.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliOptions.h"

namespace glamora::cli {

namespace {

constexpr const char* kAddUsage =
    "usage: glamora-cli hair add PHOTO CATEGORY [--place LEFT,TOP,WIDTH,HEIGHT] [--rotate DEGREES] "
    "[--no-antialias] [--auto] [--data FOLDER]";

// The folder the category folders lie in, with a trailing separator: the
// program's own unless --data gave one (an empty one names no folder).
std::string CatalogueFolder(const std::optional<std::string>& given) {
  if (!given) return ProgramFolder();
  std::error_code error;
  if (given->empty() || !std::filesystem::is_directory(*given, error)) {
    throw Failure("there is no data folder \"" + *given + "\"");
  }
  return given->back() == '/' ? *given : *given + "/";
}

// Prints the hairstyle file written.
int Add(const Args& args) {
  HairstyleRecipe recipe;
  std::optional<std::string> data;
  const std::vector<std::string> words = SplitWords(args, [&](const std::string& option, const OptionValue& value) {
    if (ParsePlacementOption(option, value, recipe)) return;
    if (option == "--auto") {
      recipe.Automatic = true;
      return;
    }
    if (option != "--data") throw Failure("unknown option " + option + " (" + kAddUsage + ")");
    data = value();
  });
  if (words.size() != 2) throw Failure(kAddUsage);
  recipe.Photograph = words[0];
  recipe.Category = CategoryByCaption(words[1]);
  if (recipe.Category == 0) {
    throw Failure("unknown hairstyle category \"" + words[1] + "\" (Short, Medium, Long, Special or Male)");
  }
  // The new picture never takes the name of an existing file, so it cannot
  // be the photograph under another name.
  LandmarkFinder finder;
  const std::string written = MakeHairstyle(recipe, ProgramFolder(), CatalogueFolder(data), &finder);
  std::printf("%s\n", written.c_str());
  return 0;
}

int Run(const Args& args) {
  if (args.empty()) throw Failure("usage: hair add ...");
  const std::string verb = args[0];
  const Args rest(args.begin() + 1, args.end());
  if (verb == "add") return Add(rest);
  throw Failure("unknown hair command \"" + verb + "\"");
}

const Registration registration(
    "hair",
    "  hair add PHOTO CATEGORY [--place LEFT,TOP,WIDTH,HEIGHT] [--rotate DEGREES] [--no-antialias]\n"
    "           [--auto] [--data FOLDER]\n"
    "                                        a new catalogue hairstyle cut from a photograph under the Oval\n"
    "                                        template (Short, Medium, Long, Special or Male; prints the path);\n"
    "                                        --auto fits a portrait by its face and leaves the face white\n",
    Run);

}  // namespace
}  // namespace glamora::cli
