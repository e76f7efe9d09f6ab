#pragma once
// Helpers shared by the test suites.
#include <cstdint>
#include <string>
#include <vector>

namespace glamora::test {

// A fresh empty folder under the system's temporary folder, removed when the
// object goes out of scope.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return path_; }  // with trailing separator
  std::string File(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

std::string SourceDir();  // the repository root
std::vector<uint8_t> ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteAll(const std::string& path, const std::string& text);

// A valid 8-bit run-length BMP of width × height pixels (width ≥ 100) in 70
// bytes: a black run of 100 pixels on each of its first two rows, the rest
// left white. A picture of any size the limits allow, made at once.
std::vector<uint8_t> SparseRunLengthBmp(int width, int height);

// Makes a folder one in which no file can be made: chmod for a user, the
// immutable flag for the superuser (whom permissions do not stop). False
// when neither works here.
bool MakeUnwritable(const std::string& folder);
// Undoes MakeUnwritable, so that the folder can be removed.
void MakeWritable(const std::string& folder);

}  // namespace glamora::test
