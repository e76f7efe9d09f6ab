// Memory and file streams, mapped files guarded against being cut short, and
// saving through a temporary file.
#include "imaging/core/Stream.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <ctime>
#include <functional>
#include <string_view>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <utility>

#include "imaging/core/ImgIOParams.h"
#include "imaging/core/InPlaceSave.h"
#include "imaging/core/SaveNames.h"

namespace glamora {

namespace {

// Mappings in use, so that the bus error of a page another program cut off
// the file can be told from any other and mended: the page is replaced by one
// of zeros and the mapping marked. A fixed table, as the signal handler may
// take no lock; a mapping that finds no free entry reads the file instead.
struct MappingGuard {
  std::atomic<bool> Used{false};
  std::atomic<uintptr_t> Begin{0};
  std::atomic<uintptr_t> End{0};
  std::atomic<bool> Lost{false};
};

std::array<MappingGuard, 64> g_guards;
struct sigaction g_previousBusAction {};

void OnBusError(int signal, siginfo_t* info, void* context) {
  const auto address = reinterpret_cast<uintptr_t>(info->si_addr);
  for (MappingGuard& guard : g_guards) {
    if (!guard.Used.load() || address < guard.Begin.load() || address >= guard.End.load()) continue;
    const auto page = uintptr_t(::sysconf(_SC_PAGESIZE));
    void* start = reinterpret_cast<void*>(address & ~(page - 1));
    if (::mmap(start, page, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
      guard.Lost.store(true);
      return;  // the read is made again and finds zeros
    }
  }
  // Not a mapping of ours: what was there before decides.
  if ((g_previousBusAction.sa_flags & SA_SIGINFO) && g_previousBusAction.sa_sigaction) {
    g_previousBusAction.sa_sigaction(signal, info, context);
    return;
  }
  if (g_previousBusAction.sa_handler != SIG_DFL && g_previousBusAction.sa_handler != SIG_IGN &&
      g_previousBusAction.sa_handler) {
    g_previousBusAction.sa_handler(signal);
    return;
  }
  ::signal(SIGBUS, SIG_DFL);  // the read faults again and ends the program as it would have
}

int ClaimGuard(const void* begin, size_t size) {
  static std::once_flag installed;
  std::call_once(installed, [] {
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    action.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &g_previousBusAction);
  });
  for (size_t i = 0; i < g_guards.size(); ++i) {
    bool free = false;
    if (!g_guards[i].Used.compare_exchange_strong(free, true)) continue;
    g_guards[i].Lost.store(false);
    g_guards[i].Begin.store(reinterpret_cast<uintptr_t>(begin));
    g_guards[i].End.store(reinterpret_cast<uintptr_t>(begin) + size);
    return int(i);
  }
  return -1;
}

void ReleaseGuard(int index) {
  if (index < 0) return;
  g_guards[size_t(index)].End.store(0);
  g_guards[size_t(index)].Begin.store(0);
  g_guards[size_t(index)].Used.store(false);
}

[[noreturn]] void CannotOpen(const std::string& path) { throw FileError("Cannot open file " + path); }

}  // namespace

int OpenRegularFile(const std::string& path) {
  // Without blocking, a pipe nobody writes to opens at once, to be refused.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) CannotOpen(path);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    CannotOpen(path);
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

MappedFile::MappedFile(const std::string& path) {
  const int fd = OpenRegularFile(path);
  const bool mapped = Map(fd);
  ::close(fd);
  if (!mapped) CannotOpen(path);
}

MappedFile::~MappedFile() { Release(); }

MappedFile::MappedFile(MappedFile&& other) noexcept { *this = std::move(other); }

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    mapping_ = std::exchange(other.mapping_, nullptr);
    buffer_ = std::move(other.buffer_);
    guard_ = std::exchange(other.guard_, -1);
  }
  return *this;
}

void MappedFile::Release() {
  ReleaseGuard(guard_);
  if (mapping_) ::munmap(mapping_, size_);
  buffer_.reset();
  data_ = nullptr;
  size_ = 0;
  mapping_ = nullptr;
  guard_ = -1;
}

bool MappedFile::Map(int descriptor) {
  Release();
  struct stat st {};
  if (::fstat(descriptor, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0 ||
      uint64_t(st.st_size) > SIZE_MAX) {
    return false;
  }
  size_ = size_t(st.st_size);
  if (size_ == 0) return true;
  void* mapping = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, descriptor, 0);
  if (mapping != MAP_FAILED) {
    guard_ = ClaimGuard(mapping, size_);
    if (guard_ >= 0) {
      mapping_ = mapping;
      data_ = static_cast<const uint8_t*>(mapping);
      return true;
    }
    ::munmap(mapping, size_);
  }
  // No mapping (or no guard for one): the file is read into memory.
  buffer_.reset(new (std::nothrow) uint8_t[size_]);
  if (!buffer_) {
    size_ = 0;
    return false;
  }
  size_t done = 0;
  while (done < size_) {
    const ssize_t n = ::pread(descriptor, buffer_.get() + done, size_ - done, off_t(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += size_t(n);
  }
  size_ = done;  // a file cut short meanwhile gives what it still held
  data_ = buffer_.get();
  return true;
}

bool MappedFile::Changed() const { return guard_ >= 0 && g_guards[size_t(guard_)].Lost.load(); }

std::vector<uint8_t> Stream::ReadRemaining() {
  const int64_t remaining = std::max<int64_t>(Size() - Position(), 0);
  std::vector<uint8_t> bytes(static_cast<size_t>(remaining));
  bytes.resize(Read(bytes.data(), bytes.size()));
  return bytes;
}

size_t MemoryStream::Read(void* buffer, size_t count) {
  const size_t available = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
  count = std::min(count, available);
  if (count) std::memcpy(buffer, bytes_.data() + position_, count);
  position_ += count;
  return count;
}

void MemoryStream::Write(const void* buffer, size_t count) {
  if (position_ + count > bytes_.size()) bytes_.resize(position_ + count);
  if (count) std::memcpy(bytes_.data() + position_, buffer, count);
  position_ += count;
}

void MemoryStream::Seek(int64_t position) { position_ = size_t(std::max<int64_t>(position, 0)); }

void MemoryStream::Truncate(int64_t size) {
  bytes_.resize(size_t(std::max<int64_t>(size, 0)));
  position_ = bytes_.size();
}

FileStream::FileStream(const std::string& path, Mode mode) : path_(path), mode_(mode) {
  if (mode == Mode::Read) {
    const int fd = OpenRegularFile(path);
    file_ = ::fdopen(fd, "rb");
    if (!file_) {
      ::close(fd);
      CannotOpen(path);
    }
    return;
  }
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    file_ = nullptr;
  } else {
    file_ = std::fopen(path.c_str(), mode == Mode::Create ? "wb" : "r+b");
  }
  if (!file_) {
    throw FileError((mode == Mode::Create ? "Cannot create file " : "Cannot open file ") + path);
  }
}

bool FileStream::Contents(std::span<const uint8_t>& bytes) {
  if (mode_ != Mode::Read || !file_) return false;
  if (!mapped_) mapped_ = map_.Map(fileno(file_));
  if (!mapped_) return false;
  bytes = map_.Bytes();
  return true;
}

FileStream::~FileStream() {
  if (file_) std::fclose(file_);
}

size_t FileStream::Read(void* buffer, size_t count) { return file_ ? std::fread(buffer, 1, count, file_) : 0; }

void FileStream::Write(const void* buffer, size_t count) {
  if (!file_ || std::fwrite(buffer, 1, count, file_) != count) {
    throw FileError("Cannot write file " + path_);
  }
}

int64_t FileStream::Position() const { return file_ ? int64_t(std::ftell(file_)) : 0; }

void FileStream::Seek(int64_t position) {
  if (file_) std::fseek(file_, long(position), SEEK_SET);
}

int64_t FileStream::Size() const {
  if (!file_) return 0;
  struct stat st {};
  std::fflush(file_);
  if (::fstat(fileno(file_), &st) != 0) return 0;
  return int64_t(st.st_size);
}

void FileStream::Truncate(int64_t size) {
  size = std::max<int64_t>(size, 0);
  if (!file_ || std::fflush(file_) != 0 || ::ftruncate(fileno(file_), off_t(size)) != 0 ||
      std::fseek(file_, long(size), SEEK_SET) != 0) {
    throw FileError("Cannot write file " + path_);
  }
}

void FileStream::Close() {
  if (!file_) return;
  const bool ok = std::fflush(file_) == 0 && ::fsync(fileno(file_)) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!ok || !closed) throw FileError("Cannot write file " + path_);
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) { return ReadFileBytes(path, DecodeLimits{}.MaxFileBytes()); }

std::vector<uint8_t> ReadFileBytes(const std::string& path, uint64_t maxBytes) {
  FileStream file(path, FileStream::Mode::Read);
  if (uint64_t(file.Size()) > maxBytes) CannotOpen(path);
  // One read of the size the file has, straight into its buffer; what a file
  // that grows meanwhile (or reports no size, as some special files do) holds
  // beyond that is read on in chunks, up to the bound.
  std::vector<uint8_t> bytes = file.ReadRemaining();
  uint8_t chunk[65536];
  for (size_t n; (n = file.Read(chunk, sizeof chunk)) > 0;) {
    if (bytes.size() + n > maxBytes) CannotOpen(path);
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  return bytes;
}

StreamBytes::StreamBytes(Stream& stream, int64_t position, uint64_t maxBytes) {
  std::span<const uint8_t> all;
  if (stream.Contents(all)) {
    const size_t start = size_t(std::clamp<int64_t>(position, 0, int64_t(all.size())));
    bytes_ = all.subspan(start, size_t(std::min<uint64_t>(all.size() - start, maxBytes)));
    return;
  }
  const int64_t before = stream.Position();
  const uint64_t remaining = uint64_t(std::max<int64_t>(stream.Size() - position, 0));
  copy_.resize(size_t(std::min(remaining, maxBytes)));
  stream.Seek(position);
  copy_.resize(stream.Read(copy_.data(), copy_.size()));
  stream.Seek(before);
  bytes_ = copy_;
}

bool IsReadOnlyFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

namespace {

[[noreturn]] void CannotCreate(const std::string& path) { throw FileError("Cannot create file " + path); }

// A temporary no save holds is stale once it is this old; the wait covers
// the moment between a save creating its temporary and locking it.
constexpr int kStaleSeconds = 2;

// The file a path names once its symbolic links are followed, link by link;
// the path itself when it is no link (or names nothing yet).
std::string FollowLinks(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path current(path);
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current.string();
    std::error_code error;
    const fs::path target = fs::read_symlink(current, error);
    if (error) CannotCreate(path);
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  CannotCreate(path);  // a loop of links
}

// The content made in memory, then written over the file itself through a
// pending copy kept beside it (or, where no file can be made there, in the
// fallback folder).
bool SaveInPlace(const std::string& path, const std::string& folder, const std::function<bool(Stream&)>& write) {
  MemoryStream content;
  if (!write(content)) return false;
  WriteInPlace(path, content.Bytes(), {folder, PendingCopyFallbackFolder()});
  return true;
}

}  // namespace

void WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw FileError("Cannot write file");
    data += n;
    size -= size_t(n);
  }
}

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

FileStream::FileStream(int descriptor, const std::string& path) : path_(path), mode_(Mode::Create) {
  file_ = ::fdopen(descriptor, "wb");
  if (!file_) {
    ::close(descriptor);
    CannotCreate(path);
  }
  std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
}

void RemoveStaleTemporaries(const std::string& folder, bool subfolders) {
  namespace fs = std::filesystem;
  std::error_code error;
  for (fs::directory_iterator it(folder.empty() ? "." : folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    struct stat st {};
    if (::lstat(it->path().c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      if (subfolders) RemoveStaleTemporaries(it->path().string(), false);
      continue;
    }
    if (!IsSaveFileName(name, kTemporaryEnd) || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
        ::time(nullptr) - st.st_mtime < kStaleSeconds) {
      continue;
    }
    // A save still running holds a lock on its temporary; a killed one does not.
    const int fd = ::open(it->path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat opened {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 && opened.st_ino == st.st_ino &&
        opened.st_dev == st.st_dev) {
      ::unlink(it->path().c_str());
    }
    ::close(fd);
  }
}

bool SaveFile(const std::string& path, const std::function<bool(Stream&)>& write) {
  namespace fs = std::filesystem;
  const std::string target = FollowLinks(path);
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && (!S_ISREG(old.st_mode) || IsReadOnlyFile(target))) CannotCreate(path);
  const fs::path folderPath = fs::path(target).parent_path();
  const std::string folder = folderPath.empty() ? "." : folderPath.string();
  FinishInterruptedSaves(folder);
  // A rename would leave the file's other names showing the old content.
  if (exists && old.st_nlink > 1) return SaveInPlace(target, folder, write);

  const std::string temporary =
      (fs::path(folder) / SaveFileName(fs::path(target).filename().string(), kTemporaryEnd)).string();
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    // A folder the user may not write, over a file the user may replace.
    if (exists && ::access(target.c_str(), W_OK) == 0) return SaveInPlace(target, folder, write);
    CannotCreate(path);
  }
  ::flock(fd, LOCK_EX);  // tells RemoveStaleTemporaries that this save is running
  const auto discard = [&] {
    ::unlink(temporary.c_str());
  };
  bool written = false;
  try {
    FileStream out(fd, temporary);
    written = write(out);
    if (written) {
      if (exists) {
        ::fchmod(fileno(out.File()), old.st_mode & 07777);
        // The owner where the process may set it, else at least the group.
        if (::fchown(fileno(out.File()), old.st_uid, old.st_gid) != 0) {
          [[maybe_unused]] const int ignored = ::fchown(fileno(out.File()), uid_t(-1), old.st_gid);
        }
      }
      out.Close();
    }
  } catch (const FileError&) {
    discard();
    CannotCreate(path);
  } catch (...) {
    discard();
    throw;
  }
  if (!written) {
    discard();
    return false;
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    discard();
    CannotCreate(path);
  }
  SyncFolder(folder);
  return true;
}

void FinishInterruptedSaves(const std::string& folder, bool subfolders) {
  namespace fs = std::filesystem;
  FinishPendingCopies(PendingCopyFallbackFolder());
  std::vector<std::string> folders{folder};
  std::error_code error;
  for (fs::directory_iterator it(folder.empty() ? "." : folder, error), end; subfolders && !error && it != end;
       it.increment(error)) {
    if (it->is_directory(error) && !it->is_symlink(error)) folders.push_back(it->path().string());
  }
  for (const std::string& each : folders) {
    FinishPendingCopies(each);
    RemoveStaleTemporaries(each);
  }
}

void WriteFileAtomically(const std::string& path, const uint8_t* data, size_t size) {
  SaveFile(path, [&](Stream& out) {
    out.Write(data, size);
    return true;
  });
}

}  // namespace glamora
