#pragma once
// The "--quality Q" option of the commands that may write a JPEG: the
// quality (1..100) given to the picture writer in place of its own default.
#include <algorithm>
#include <charconv>
#include <optional>
#include <string>

#include "tools/cli/Cli.h"

namespace glamora::cli {

// Takes "--quality Q" out of `args` wherever it stands; nothing when absent.
// Failure for a missing or non-numeric value or one outside 1..100.
inline std::optional<int> TakeQualityOption(Args& args) {
  const auto flag = std::find(args.begin(), args.end(), "--quality");
  if (flag == args.end()) return std::nullopt;
  if (flag + 1 == args.end()) throw Failure("--quality needs a value (1..100)");
  const std::string& text = *(flag + 1);
  int quality = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, quality);
  if (error != std::errc() || stop != end || quality < 1 || quality > 100) {
    throw Failure("--quality wants a number 1..100, not \"" + text + "\"");
  }
  args.erase(flag, flag + 2);
  return quality;
}

}  // namespace glamora::cli
