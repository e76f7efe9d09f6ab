#pragma once
// Runs glamora-cli (or the window's program) and captures what it prints.
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
// Runs another of the built programs ("glamora").
CliResult RunProgram(const std::string& name, const std::vector<std::string>& args);
// The path of a built program.
std::string BuiltProgram(const std::string& name);

// The picture of a BMP file the command wrote; a failed decode fails the test.
Bitmap DecodeBmp(const std::string& path);

}  // namespace glamora::test
