#pragma once
// What the command groups share: splitting the words into files and
// "--option value" pairs, reading option values, and the make-up colours as
// the Make-up page keeps them.
#include <array>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "experts/core/PlacedPhotograph.h"
#include "hair/Placement.h"
#include "imaging/core/Color.h"
#include "model/Makeover.h"
#include "tools/cli/Cli.h"

namespace glamora::cli {

// The words that do not start with "--", in order; each "--option value"
// pair goes to `option`, which throws Failure for an option it does not know.
// The options named in `flags` take no value: they reach `option` with an
// empty one.
std::vector<std::string> SplitOptions(const Args& args,
                                      const std::function<void(const std::string& option, const std::string& value)>& option,
                                      std::initializer_list<std::string> flags = {});

// The words that do not start with "--", in order; each word that does goes
// to `option` with a function that takes the next word as its value (Failure
// when there is none), so that options may or may not have a value.
// `option` throws Failure for an option it does not know.
using OptionValue = std::function<const std::string&()>;
using OptionHandler = std::function<void(const std::string& option, const OptionValue& value)>;
std::vector<std::string> SplitWords(const Args& args, const OptionHandler& option);

// Exactly N comma-separated integers ("10,20,30"); else Failure naming the
// option and the expected form.
template <size_t N>
std::array<int, N> ParseNumbers(const std::string& option, const std::string& text, const char* form) {
  std::istringstream in(text);
  std::array<int, N> values{};
  for (size_t i = 0; i < N; ++i) {
    char comma = ',';
    if ((i > 0 && (!(in >> comma) || comma != ',')) || !(in >> values[i])) {
      throw Failure(option + " wants " + form + ", not \"" + text + "\"");
    }
  }
  if (!in.eof() && in.peek() != std::char_traits<char>::eof()) {
    throw Failure(option + " wants " + form + ", not \"" + text + "\"");
  }
  return values;
}

// The folder the program's data folders lie in, as the window chooses it:
// the program's own in the build, the user's data folder once installed;
// with a trailing separator.
std::string ProgramFolder();

// Failure when the output names the same file as one of the inputs (the same
// device and inode, whatever the names and links): writing it would destroy
// what the command reads. An output that does not exist yet is fine.
void RefuseOutputOverInput(const std::string& output, std::initializer_list<std::string> inputs);

// --place LEFT,TOP,WIDTH,HEIGHT, --rotate DEGREES and --no-antialias, as the
// commands that make something of a photograph take them: sets the placement
// and returns true; `value` gives the option's value (and throws Failure
// when there is none). False for any other word.
bool ParsePlacementOption(const std::string& word, const OptionValue& value, PhotographPlacement& placement);

// --frame L,T,R,B as the frame buttons leave the frame: inclusive sides in
// face-picture pixels, each within the picture limits, at least
// kMinFrameSide wide and high; the hair lies inside it.
TRect ParseFrame(const std::string& text);

// R,G,B with each value 0..255.
TColor ParseRgb(const std::string& option, const std::string& text);

// A colour of the Make-up page: what it goes on, and the colour.
using MakeupColour = std::pair<ColorKind, TColor>;

// --eyes, --lips and --lipline R,G,B: appends the colour to `colours` and
// returns true; false for any other option.
bool ParseMakeupColour(const std::string& option, const std::string& value, std::vector<MakeupColour>& colours);

// Applies the colours in order, each kept as choosing the next tool keeps it.
void ApplyKeptColours(Makeover& makeover, const std::vector<MakeupColour>& colours);

}  // namespace glamora::cli
