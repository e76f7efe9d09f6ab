// glamora-cli: the command table and the entry that runs one command.
#include <cstdio>
#include <exception>

#include "imaging/components/ImgIO.h"
#include "tools/cli/Cli.h"

namespace glamora::cli {

std::vector<Command>& Commands() {
  static std::vector<Command> commands;
  return commands;
}

Registration::Registration(std::string name, std::string usage, Handler run) {
  Commands().push_back({std::move(name), std::move(usage), std::move(run)});
}

}  // namespace glamora::cli

namespace {

void PrintUsage(std::FILE* to) {
  std::fprintf(to, "usage: glamora-cli COMMAND ...\n");
  for (const auto& c : glamora::cli::Commands()) std::fprintf(to, "%s", c.Usage.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  glamora::StartPictureIO();
  if (argc < 2 || std::string(argv[1]) == "help" || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
    PrintUsage(argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  if (std::string(argv[1]) == "--version") {
    std::printf("glamora-cli %s\n", GLAMORA_VERSION);
    return 0;
  }
  const std::string name = argv[1];
  glamora::cli::Args args(argv + 2, argv + argc);
  for (const auto& c : glamora::cli::Commands()) {
    if (c.Name != name) continue;
    try {
      return c.Run(args);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "glamora-cli %s: %s\n", name.c_str(), e.what());
      return 1;
    }
  }
  std::fprintf(stderr, "glamora-cli: unknown command \"%s\"\n", name.c_str());
  PrintUsage(stderr);
  return 2;
}
