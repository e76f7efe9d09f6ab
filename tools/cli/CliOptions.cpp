// Option parsing and the make-up colours shared by the command groups.
#include "tools/cli/CliOptions.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "datafolder/DataFolder.h"

namespace glamora::cli {

std::vector<std::string> SplitOptions(const Args& args,
                                      const std::function<void(const std::string& option, const std::string& value)>& option,
                                      std::initializer_list<std::string> flags) {
  return SplitWords(args, [&](const std::string& word, const OptionValue& value) {
    if (std::find(flags.begin(), flags.end(), word) != flags.end()) {
      option(word, {});
    } else {
      option(word, value());
    }
  });
}

std::vector<std::string> SplitWords(const Args& args, const OptionHandler& option) {
  std::vector<std::string> words;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word.rfind("--", 0) != 0) {
      words.push_back(word);
      continue;
    }
    const OptionValue value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw Failure(word + " needs a value");
      return args[++i];
    };
    option(word, value);
  }
  return words;
}

std::string ProgramFolder() {
  // Chosen once, and only by the commands that need it: the others never
  // create the user's folder.
  static const std::string folder = [] {
    const DataFolderChoice choice = ChooseDataFolder(RunningProgramFolder(), ProcessEnvironment);
    if (!choice.Problem.empty()) std::fprintf(stderr, "glamora-cli: %s\n", choice.Problem.c_str());
    return choice.Folder;
  }();
  return folder;
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

bool ParsePlacementOption(const std::string& word, const OptionValue& value, PhotographPlacement& placement) {
  if (word == "--no-antialias") {
    placement.Antialias = false;
  } else if (word == "--place") {
    const auto v = ParseNumbers<4>(word, value(), "LEFT,TOP,WIDTH,HEIGHT");
    placement.Place = PixelRect{v[0], v[1], v[2], v[3]};
  } else if (word == "--rotate") {
    placement.Rotation = ParseNumbers<1>(word, value(), "a whole number of degrees")[0];
  } else {
    return false;
  }
  return true;
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

// The frame as the frame buttons leave it: inclusive sides; the hair lies
// inside it, one pixel in from each side.
TRect ParseFrame(const std::string& text) {
  const auto v = ParseNumbers<4>("--frame", text, "L,T,R,B");
  // Picture coordinates: no side of a picture is longer than the limit.
  const int64_t reach = PictureLimits::kMaxSide;
  for (int value : v) {
    if (value < -reach || value > reach) {
      throw Failure("--frame wants L,T,R,B each within -" + std::to_string(reach) + ".." + std::to_string(reach) +
                    ", not \"" + text + "\"");
    }
  }
  const TRect frame{v[0], v[1], v[2], v[3]};
  const int64_t width = int64_t(frame.Right) - frame.Left + 1, height = int64_t(frame.Bottom) - frame.Top + 1;
  if (width < kMinFrameSide || height < kMinFrameSide) {
    throw Failure("--frame must be at least " + std::to_string(kMinFrameSide) + " pixels wide and high, not \"" + text +
                  "\"");
  }
  return frame;
}

}  // namespace glamora::cli
