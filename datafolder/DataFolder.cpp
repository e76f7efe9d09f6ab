// Choosing the data folder: beside the program, or the user's own folder
// brought up to date from the shipped data.
#include "datafolder/DataFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "datafolder/ShippedFiles.h"

namespace glamora {

namespace fs = std::filesystem;

namespace {

std::string WithSeparator(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

// Makes every missing level of `folder` with mode 0700, as the base
// directory rules ask for the folders a program creates there.
bool MakePrivateFolders(const fs::path& folder) {
  fs::path made;
  for (const fs::path& part : folder) {
    made /= part;
    std::error_code error;
    if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST && !fs::is_directory(made, error)) return false;
  }
  std::error_code error;
  return fs::is_directory(folder, error);
}

}  // namespace

std::string ProcessEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string RunningProgramFolder() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (error) return "./";
  return WithSeparator(program.parent_path().string());
}

bool HoldsProgramData(const std::string& folder) {
  std::error_code error;
  return fs::is_regular_file(folder + "Faces/Modela.eff", error);
}

std::string UserDataFolder(const EnvironmentLookup& environment) {
  const std::string dataHome = environment("XDG_DATA_HOME");
  // Relative values are to be ignored.
  if (!dataHome.empty() && dataHome.front() == '/') return WithSeparator(dataHome) + "glamora/";
  const std::string home = environment("HOME");
  if (home.empty() || home.front() != '/') return {};
  return WithSeparator(home) + ".local/share/glamora/";
}

DataFolderChoice ChooseDataFolder(const std::string& programFolder, const EnvironmentLookup& environment) {
  const std::string besideProgram = WithSeparator(programFolder);
  if (HoldsProgramData(besideProgram) && ::access(besideProgram.c_str(), W_OK) == 0) {
    return {besideProgram, besideProgram, {}};
  }

  DataFolderChoice choice;
  if (HoldsProgramData(besideProgram)) {
    choice.Shipped = besideProgram;
  } else {
    const std::string installed =
        WithSeparator(fs::path(besideProgram + GLAMORA_SHIPPED_DATA_FROM_PROGRAM).lexically_normal().string());
    if (HoldsProgramData(installed)) choice.Shipped = installed;
  }

  const std::string user = UserDataFolder(environment);
  if (user.empty()) {
    choice.Folder = choice.Shipped.empty() ? besideProgram : choice.Shipped;
    choice.Problem = "neither XDG_DATA_HOME nor HOME names a folder for the user's data";
    return choice;
  }
  if (!MakePrivateFolders(user)) {
    choice.Folder = choice.Shipped.empty() ? besideProgram : choice.Shipped;
    choice.Problem = "Cannot create folder " + user;
    return choice;
  }
  choice.Folder = user;
  if (choice.Shipped.empty()) {
    choice.Problem = "the shipped data was found neither beside the program nor in " +
                     fs::path(besideProgram + GLAMORA_SHIPPED_DATA_FROM_PROGRAM).lexically_normal().string();
    return choice;
  }
  choice.Problem = SyncShippedFiles(choice.Shipped, user).Error;
  return choice;
}

}  // namespace glamora
