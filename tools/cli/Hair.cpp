// glamora-cli hair add: a catalogue hairstyle from a photograph, as the
// add-hairstyle expert makes it.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "experts/core/HairstyleMaker.h"
#include "experts/core/NewHairstyle.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliOptions.h"

namespace glamora::cli {

namespace {

constexpr const char* kAddUsage =
    "usage: glamora-cli hair add PHOTO CATEGORY [--place LEFT,TOP,WIDTH,HEIGHT] [--rotate DEGREES] "
    "[--no-antialias] [--data FOLDER]";

// The folder the category folders lie in, with a trailing separator.
std::string CatalogueFolder(const std::string& given) {
  if (given.empty()) return ProgramFolder();
  std::error_code error;
  if (!std::filesystem::is_directory(given, error)) throw Failure("there is no data folder " + given);
  return given.back() == '/' ? given : given + "/";
}

// Prints the hairstyle file written.
int Add(const Args& args) {
  HairstyleRecipe recipe;
  std::string data;
  std::vector<std::string> words;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    const auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw Failure(word + " needs a value");
      return args[++i];
    };
    if (word == "--no-antialias") {
      recipe.Antialias = false;
    } else if (word == "--place") {
      const auto v = ParseNumbers<4>(word, value(), "LEFT,TOP,WIDTH,HEIGHT");
      recipe.Place = PixelRect{v[0], v[1], v[2], v[3]};
    } else if (word == "--rotate") {
      recipe.Rotation = ParseNumbers<1>(word, value(), "a whole number of degrees")[0];
    } else if (word == "--data") {
      data = value();
    } else if (word.rfind("--", 0) == 0) {
      throw Failure("unknown option " + word + " (" + kAddUsage + ")");
    } else {
      words.push_back(word);
    }
  }
  if (words.size() != 2) throw Failure(kAddUsage);
  recipe.Photograph = words[0];
  recipe.Category = CategoryByCaption(words[1]);
  if (recipe.Category == 0) {
    throw Failure("unknown hairstyle category \"" + words[1] + "\" (Short, Medium, Long, Special or Male)");
  }
  // The new picture never takes the name of an existing file, so it cannot
  // be the photograph under another name.
  const std::string written = MakeHairstyle(recipe, ProgramFolder(), CatalogueFolder(data));
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
    "           [--data FOLDER]\n"
    "                                        a new catalogue hairstyle cut from a photograph under the Oval\n"
    "                                        template (Short, Medium, Long, Special or Male; prints the path)\n",
    Run);

}  // namespace
}  // namespace glamora::cli
