#pragma once
// Runs glamora-cli and captures what it prints.
#include <string>
#include <vector>

#include "imaging/core/Bitmap.h"

namespace glamora::test {

struct CliResult {
  int ExitCode = -1;
  std::string Out;
  std::string Err;
};

CliResult RunCli(const std::vector<std::string>& args);

// The picture of a BMP file the command wrote; a failed decode fails the test.
Bitmap DecodeBmp(const std::string& path);

}  // namespace glamora::test
