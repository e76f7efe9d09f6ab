// Option parsing and the make-up colours shared by the command groups.
#include "tools/cli/CliOptions.h"

#include <sys/stat.h>

#include <algorithm>

namespace glamora::cli {

std::vector<std::string> SplitOptions(const Args& args,
                                      const std::function<void(const std::string& option, const std::string& value)>& option,
                                      std::initializer_list<std::string> flags) {
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word.rfind("--", 0) != 0) {
      files.push_back(word);
      continue;
    }
    if (std::find(flags.begin(), flags.end(), word) != flags.end()) {
      option(word, {});
      continue;
    }
    if (i + 1 >= args.size()) throw Failure(word + " needs a value");
    option(word, args[++i]);
  }
  return files;
}

void RefuseOutputOverInput(const std::string& output, std::initializer_list<std::string> inputs) {
  struct stat target {};
  if (::stat(output.c_str(), &target) != 0) return;
  for (const std::string& input : inputs) {
    struct stat source {};
    if (::stat(input.c_str(), &source) == 0 && source.st_dev == target.st_dev && source.st_ino == target.st_ino) {
      throw Failure(output + " is the same file as the input " + input + "; write to another file");
    }
  }
}

TColor ParseRgb(const std::string& option, const std::string& text) {
  constexpr const char* kForm = "R,G,B with each value 0..255";
  const auto values = ParseNumbers<3>(option, text, kForm);
  for (int v : values) {
    if (v < 0 || v > 255) throw Failure(option + " wants " + kForm + ", not \"" + text + "\"");
  }
  return Rgb(uint8_t(values[0]), uint8_t(values[1]), uint8_t(values[2]));
}

bool ParseMakeupColour(const std::string& option, const std::string& value, std::vector<MakeupColour>& colours) {
  ColorKind kind;
  if (option == "--eyes") {
    kind = ColorKind::Eyes;
  } else if (option == "--lips") {
    kind = ColorKind::Lips;
  } else if (option == "--lipline") {
    kind = ColorKind::LipLine;
  } else {
    return false;
  }
  colours.emplace_back(kind, ParseRgb(option, value));
  return true;
}

void ApplyKeptColours(Makeover& makeover, const std::vector<MakeupColour>& colours) {
  for (const auto& [kind, colour] : colours) {
    makeover.ApplyColor(kind, colour);
    makeover.SaveUndo();
  }
}

}  // namespace glamora::cli
