// Writing a file over itself through a pending copy, and finishing the
// copies of saves that were killed midway.
#include "imaging/core/InPlaceSave.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "imaging/core/SaveNames.h"
#include "imaging/core/Stream.h"

namespace glamora {

namespace {

// A pending copy: this mark, the target's device, inode and new size (three
// little-endian 64-bit numbers), the length of its absolute path (32 bits),
// the path, then the new content.
constexpr char kCopyMark[8] = {'G', 'L', 'M', 'C', 'O', 'P', 'Y', '1'};
constexpr size_t kCopyHeadBytes = sizeof kCopyMark + 3 * 8 + 4;
constexpr uint32_t kMaxPathBytes = 4096;

PositionedWrite& CurrentWrite() {
  static PositionedWrite write;
  return write;
}

[[noreturn]] void CannotCreate(const std::string& path) { throw FileError("Cannot create file " + path); }

void WriteAllAt(int fd, const uint8_t* data, size_t size, off_t offset) {
  const PositionedWrite& write = CurrentWrite();
  while (size > 0) {
    const ssize_t n = write ? write(fd, data, size, offset) : ::pwrite(fd, data, size, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw FileError("Cannot write file");
    data += n;
    size -= size_t(n);
    offset += off_t(n);
  }
}

// Room for `size` bytes in the file, its content and length unchanged.
// False when the disk has no room; a file system that cannot reserve is
// taken at its word.
bool Reserve(int fd, size_t size) {
  if (size == 0 || ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, off_t(size)) == 0) return true;
  return errno != ENOSPC && errno != EDQUOT;
}

// Copies the content over the file open on fd, whose room is reserved.
void CopyOver(int fd, const uint8_t* content, size_t size) {
  WriteAllAt(fd, content, size, 0);
  if (::ftruncate(fd, off_t(size)) != 0 || ::fsync(fd) != 0) throw FileError("Cannot write file");
}

void PutNumber(std::vector<uint8_t>& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

uint64_t GetNumber(const uint8_t* in, int bytes) {
  uint64_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | in[i];
  return value;
}

struct CopyHead {
  uint64_t Device = 0;
  uint64_t Inode = 0;
  uint64_t Size = 0;
  std::string Path;
};

std::vector<uint8_t> HeadBytes(const CopyHead& head) {
  std::vector<uint8_t> bytes(kCopyMark, kCopyMark + sizeof kCopyMark);
  PutNumber(bytes, head.Device, 8);
  PutNumber(bytes, head.Inode, 8);
  PutNumber(bytes, head.Size, 8);
  PutNumber(bytes, head.Path.size(), 4);
  bytes.insert(bytes.end(), head.Path.begin(), head.Path.end());
  return bytes;
}

// The head of a pending copy's bytes and where its content starts; false for a file that is no whole pending copy.
bool ReadHead(const std::vector<uint8_t>& bytes, CopyHead& head, size_t& contentStart) {
  if (bytes.size() < kCopyHeadBytes || std::memcmp(bytes.data(), kCopyMark, sizeof kCopyMark) != 0) return false;
  const uint8_t* p = bytes.data() + sizeof kCopyMark;
  head.Device = GetNumber(p, 8);
  head.Inode = GetNumber(p + 8, 8);
  head.Size = GetNumber(p + 16, 8);
  const uint64_t pathBytes = GetNumber(p + 24, 4);
  if (pathBytes == 0 || pathBytes > kMaxPathBytes || bytes.size() - kCopyHeadBytes < pathBytes) return false;
  head.Path.assign(reinterpret_cast<const char*>(p + 28), size_t(pathBytes));
  contentStart = kCopyHeadBytes + size_t(pathBytes);
  return bytes.size() - contentStart == head.Size;
}

// A pending copy being made, locked as long as its save runs (which tells
// FinishPendingCopies to leave it alone), removed unless kept.
class PendingCopy {
 public:
  // Makes the copy in the first folder that takes it; false when none does.
  bool Make(const std::vector<std::string>& folders, const CopyHead& head, const std::vector<uint8_t>& content) {
    namespace fs = std::filesystem;
    const std::string name = fs::path(head.Path).filename().string();
    const std::vector<uint8_t> headBytes = HeadBytes(head);
    for (const std::string& folder : folders) {
      std::error_code ignored;
      fs::create_directories(folder, ignored);
      const std::string temporary = (fs::path(folder) / SaveFileName(name, kTemporaryEnd)).string();
      fd_ = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
      if (fd_ < 0) continue;
      ::flock(fd_, LOCK_EX);
      path_ = temporary;
      try {
        WriteAllAt(fd_, headBytes.data(), headBytes.size(), 0);
        WriteAllAt(fd_, content.data(), content.size(), off_t(headBytes.size()));
        if (::fsync(fd_) != 0) throw FileError("Cannot write file");
      } catch (const FileError&) {
        Remove();
        return false;  // a folder that takes the copy but not its bytes: the disk is full
      }
      const std::string pending = (fs::path(folder) / SaveFileName(name, kPendingCopyEnd)).string();
      if (::rename(temporary.c_str(), pending.c_str()) != 0) {
        Remove();
        return false;
      }
      path_ = pending;
      folder_ = folder;
      SyncFolder(folder_);
      return true;
    }
    return false;
  }

  // The copy stays for FinishPendingCopies.
  void Keep() { path_.clear(); }

  ~PendingCopy() { Remove(); }

 private:
  void Remove() {
    if (!path_.empty()) {
      ::unlink(path_.c_str());
      if (!folder_.empty()) SyncFolder(folder_);
      path_.clear();
    }
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

  int fd_ = -1;
  std::string path_;
  std::string folder_;
};

// Finishes one pending copy that no running save holds.
void FinishPendingCopy(const std::string& copyPath) {
  std::vector<uint8_t> bytes;
  try {
    bytes = ReadFileBytes(copyPath, UINT64_MAX);
  } catch (const FileError&) {
    return;
  }
  CopyHead head;
  size_t start = 0;
  bool finished = true;
  struct stat target {};
  if (ReadHead(bytes, head, start) && ::stat(head.Path.c_str(), &target) == 0 && S_ISREG(target.st_mode) &&
      uint64_t(target.st_dev) == head.Device && uint64_t(target.st_ino) == head.Inode) {
    const int fd = ::open(head.Path.c_str(), O_WRONLY | O_CLOEXEC);
    try {
      if (fd < 0 || !Reserve(fd, bytes.size() - start)) throw FileError("Cannot write file");
      CopyOver(fd, bytes.data() + start, bytes.size() - start);
    } catch (const FileError&) {
      finished = false;  // tried again another time
    }
    if (fd >= 0) ::close(fd);
  }
  // A copy whose file is gone, or was replaced by another since, no longer applies.
  if (finished) ::unlink(copyPath.c_str());
}

}  // namespace

void SetPositionedWrite(PositionedWrite write) { CurrentWrite() = std::move(write); }

std::string PendingCopyFallbackFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state && *state == '/') return std::string(state) + "/glamora/unfinished";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/.local/state/glamora/unfinished";
}

void WriteInPlace(const std::string& path, const std::vector<uint8_t>& content,
                  const std::vector<std::string>& copyFolders) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) CannotCreate(path);
  struct stat st {};
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  PendingCopy pending;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || error ||
      !pending.Make(copyFolders, {uint64_t(st.st_dev), uint64_t(st.st_ino), content.size(), absolute.string()},
                    content) ||
      !Reserve(fd, content.size())) {
    ::close(fd);
    CannotCreate(path);
  }
  try {
    CopyOver(fd, content.data(), content.size());
  } catch (const FileError&) {
    // The file may be part new now: the pending copy stays to finish it.
    pending.Keep();
    ::close(fd);
    CannotCreate(path);
  }
  if (::close(fd) != 0) {
    pending.Keep();
    CannotCreate(path);
  }
}

void FinishPendingCopies(const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  for (fs::directory_iterator it(folder.empty() ? "." : folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (!IsSaveFileName(name, kPendingCopyEnd)) continue;
    struct stat st {};
    if (::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
    // A save still running holds a lock on its pending copy; a killed one does not.
    const int fd = ::open(it->path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat opened {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 && opened.st_ino == st.st_ino &&
        opened.st_dev == st.st_dev) {
      FinishPendingCopy(it->path().string());
    }
    ::close(fd);
  }
}

}  // namespace glamora
