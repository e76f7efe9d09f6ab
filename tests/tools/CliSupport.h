#pragma once
// Runs glamora-cli and captures what it prints.
#include <string>
#include <vector>

namespace glamora::test {

struct CliResult {
  int ExitCode = -1;
  std::string Out;
  std::string Err;
};

CliResult RunCli(const std::vector<std::string>& args);

}  // namespace glamora::test
