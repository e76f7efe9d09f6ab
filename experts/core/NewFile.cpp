// Creating a file that replaces nothing.
//
// The content goes into an unnamed file in the target's folder, which is
// linked under its name once it is whole: the link fails when the name is
// taken, so no check can go stale between looking and writing, and a killed
// process leaves no half-written file and no temporary behind. File systems
// without unnamed files get the name reserved by an exclusive create, the
// content written into it, and the file removed again when writing fails.
#include "experts/core/NewFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "imaging/core/Stream.h"

namespace glamora {

namespace {

[[noreturn]] void CannotCreate(const std::string& path) { throw FileError("Cannot create file " + path); }

// The content, flushed to the disk; false when either fails.
bool WriteAndSync(int fd, const std::vector<uint8_t>& content) {
  try {
    WriteAll(fd, content.data(), content.size());
  } catch (const FileError&) {
    return false;
  }
  return ::fsync(fd) == 0;
}

bool NameTaken(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

// The exclusive create for file systems without unnamed files.
bool CreateByName(const std::string& path, const std::vector<uint8_t>& content) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (errno == EEXIST) return false;
    CannotCreate(path);
  }
  const bool written = WriteAndSync(fd, content);
  if (::close(fd) != 0 || !written) {
    ::unlink(path.c_str());
    CannotCreate(path);
  }
  return true;
}

}  // namespace

bool CreateNewFile(const std::string& path, const std::vector<uint8_t>& content) {
  namespace fs = std::filesystem;
  const fs::path parent = fs::path(path).parent_path();
  const std::string folder = parent.empty() ? "." : parent.string();
  // A name already taken is the common case of a race lost long ago.
  if (NameTaken(path)) return false;

  const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) return CreateByName(path, content);
    CannotCreate(path);
  }
  if (!WriteAndSync(fd, content)) {
    ::close(fd);
    CannotCreate(path);
  }
  // The descriptor's own entry names the unnamed file for linkat.
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  const int linked = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW);
  const int linkError = errno;
  ::close(fd);
  if (linked != 0) {
    if (linkError == EEXIST) return false;
    // Without /proc the unnamed file cannot be linked.
    if (linkError == ENOENT) return CreateByName(path, content);
    CannotCreate(path);
  }
  SyncFolder(folder);
  return true;
}

}  // namespace glamora
