#pragma once
// Byte streams with a position, as the picture front and the face files use
// them: an in-memory stream and a file stream.
#include <cstdint>
#include <cstdio>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace glamora {

// A file that cannot be opened, created, read or written. The message is the
// one the application's error box shows ("Cannot open file <path>").
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Stream {
 public:
  virtual ~Stream() = default;
  // Reads up to count bytes; returns how many were read.
  virtual size_t Read(void* buffer, size_t count) = 0;
  // Writes count bytes or throws FileError.
  virtual void Write(const void* buffer, size_t count) = 0;
  virtual int64_t Position() const = 0;
  virtual void Seek(int64_t position) = 0;
  virtual int64_t Size() const = 0;
  // Cuts the stream to `size` bytes (or lengthens it with zeros) and puts the
  // position there; throws FileError when it cannot.
  virtual void Truncate(int64_t size) = 0;

  // Every byte of the stream, when it holds them in memory.
  virtual bool HeldInMemory(std::span<const uint8_t>& bytes) const { return false; }

  // Reads from the position to the end into memory.
  std::vector<uint8_t> ReadRemaining();
};

class MemoryStream final : public Stream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

  size_t Read(void* buffer, size_t count) override;
  void Write(const void* buffer, size_t count) override;
  int64_t Position() const override { return int64_t(position_); }
  void Seek(int64_t position) override;
  int64_t Size() const override { return int64_t(bytes_.size()); }
  void Truncate(int64_t size) override;
  bool HeldInMemory(std::span<const uint8_t>& bytes) const override {
    bytes = bytes_;
    return true;
  }

  void Clear() { bytes_.clear(); position_ = 0; }
  void SetSize(size_t size) { bytes_.resize(size); if (position_ > size) position_ = size; }
  std::vector<uint8_t>& Bytes() { return bytes_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
  size_t position_ = 0;
};

class FileStream final : public Stream {
 public:
  enum class Mode { Read, Create, ReadWrite };
  // Throws FileError("Cannot open file <path>") or ("Cannot create file <path>").
  FileStream(const std::string& path, Mode mode);
  ~FileStream() override;
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  size_t Read(void* buffer, size_t count) override;
  void Write(const void* buffer, size_t count) override;
  int64_t Position() const override;
  void Seek(int64_t position) override;
  int64_t Size() const override;
  void Truncate(int64_t size) override;
  // Flushes and closes; throws FileError when buffered data cannot be written.
  void Close();

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
};

// The bytes of a stream from a position to its end, at most maxBytes of
// them: a view of the stream's own memory when it holds its bytes there,
// else a copy read from it. The stream's position is left where it was.
class StreamBytes {
 public:
  StreamBytes(Stream& stream, int64_t position, uint64_t maxBytes = UINT64_MAX);
  std::span<const uint8_t> Bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> copy_;
  std::span<const uint8_t> bytes_;
};

// True for an existing file that may not be written: no write permission bit
// is set (the read-only attribute, honoured even for the superuser) or the
// process has no write access.
bool IsReadOnlyFile(const std::string& path);

// Whole-file helpers. ReadFileBytes throws FileError("Cannot open file ...").
std::vector<uint8_t> ReadFileBytes(const std::string& path);
// Writes the bytes to a temporary file beside the target and renames it into
// place, so a failure never leaves a half-written file. A read-only target is
// refused. Throws FileError.
void WriteFileAtomically(const std::string& path, const uint8_t* data, size_t size);

}  // namespace glamora
