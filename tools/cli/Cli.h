#pragma once
// glamora-cli: every command group registers itself from its own file.
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace glamora::cli {

// Thrown by a command to end with a one-line message and a non-zero exit.
class Failure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using Args = std::vector<std::string>;
using Handler = std::function<int(const Args& args)>;

struct Command {
  std::string Name;   // first word on the command line ("face", "img", "proc", ...)
  std::string Usage;  // lines shown by "glamora-cli help"
  Handler Run;        // receives the words after the name
};

// Registers a command group at static initialisation time.
struct Registration {
  Registration(std::string name, std::string usage, Handler run);
};

std::vector<Command>& Commands();

}  // namespace glamora::cli
