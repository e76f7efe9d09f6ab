// Temporary folders, the source folder and whole-file reads and writes for tests.
#include "tests/support/TestSupport.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace glamora::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "glamora-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern + "/";
}

TempFolder::~TempFolder() {
  std::error_code ec;
  // Read-only files made by a test must not keep the folder alive.
  for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator(); ++it) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(path_, ec);
}

std::string SourceDir() {
  if (const char* dir = std::getenv("GLAMORA_SOURCE_DIR")) return dir;
  return fs::current_path().string();
}

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void WriteAll(const std::string& path, const std::string& text) {
  WriteAll(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<uint8_t> SparseRunLengthBmp(int width, int height) {
  // Runs of 100 pixels of entry 1, an end of row, and an end of picture.
  const std::vector<uint8_t> runs = {100, 1, 0, 0, 100, 1, 0, 1};
  constexpr uint32_t kPixelsAt = 14 + 40 + 2 * 4;
  std::vector<uint8_t> bytes;
  const auto put = [&](uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes.push_back(uint8_t(value >> (8 * i)));
  };
  bytes.push_back('B');
  bytes.push_back('M');
  put(kPixelsAt + uint32_t(runs.size()), 4);
  put(0, 4);
  put(kPixelsAt, 4);
  put(40, 4);                        // the information header
  put(uint32_t(width), 4);
  put(uint32_t(height), 4);
  put(1, 2);                         // planes
  put(8, 2);                         // bits a pixel
  put(1, 4);                         // run-length coded, 8 bits
  put(uint32_t(runs.size()), 4);
  put(2835, 4);
  put(2835, 4);
  put(2, 4);                         // colours used
  put(0, 4);
  put(0xFFFFFF, 4);                  // entry 0 white
  put(0x000000, 4);                  // entry 1 black
  bytes.insert(bytes.end(), runs.begin(), runs.end());
  return bytes;
}

bool MakeUnwritable(const std::string& folder) {
  ::chmod(folder.c_str(), 0555);
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  int flags = 0;
  if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
    flags |= FS_IMMUTABLE_FL;
    ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
  }
  if (fd >= 0) ::close(fd);
  const std::string probe = folder + "/probe";
  const int made = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
  if (made < 0) return true;
  ::close(made);
  ::unlink(probe.c_str());
  return false;
}

void MakeWritable(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  int flags = 0;
  if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_IMMUTABLE_FL)) {
    flags &= ~FS_IMMUTABLE_FL;
    ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
  }
  if (fd >= 0) ::close(fd);
  ::chmod(folder.c_str(), 0755);
}

}  // namespace glamora::test
