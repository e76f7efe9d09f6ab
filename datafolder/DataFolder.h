#pragma once
// The folder the program works in: beside its own file when that folder holds
// the data and may be written (the build folder), else the user's own folder
// under $XDG_DATA_HOME, filled from the shipped data on first start.
#include <functional>
#include <string>

namespace glamora {

// Reads one environment variable; empty when it is not set.
using EnvironmentLookup = std::function<std::string(const char* name)>;
std::string ProcessEnvironment(const char* name);

struct DataFolderChoice {
  std::string Folder;   // with a trailing separator; the data folders lie in it
  std::string Shipped;  // the read-only shipped data, trailing separator; empty when none was found
  std::string Problem;  // why the user's folder could not be made ready; empty when all went well
};

// The folder of the running program file, with a trailing separator.
std::string RunningProgramFolder();

// True when `folder` (trailing separator) holds the program's data: the
// default model face in its "Faces" folder.
bool HoldsProgramData(const std::string& folder);

// $XDG_DATA_HOME/glamora, or ~/.local/share/glamora when XDG_DATA_HOME is
// unset or not absolute, with a trailing separator; empty when neither it
// nor HOME is usable.
std::string UserDataFolder(const EnvironmentLookup& environment);

// The data folder for a program file in programFolder (trailing separator).
// Beside the program when that folder holds the data and is writable.
// Otherwise the user's folder, created private to the user and brought up
// to date from the shipped data (beside the program, or the installed
// share/glamora relative to it) by SyncShippedFiles. When that fails the
// choice falls back to the shipped data itself and says why in Problem.
DataFolderChoice ChooseDataFolder(const std::string& programFolder, const EnvironmentLookup& environment);

}  // namespace glamora
