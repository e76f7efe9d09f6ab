#pragma once
// Byte streams with a position, as the picture front and the face files use
// them: an in-memory stream and a file stream.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
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

  // Every byte of the stream without copying them, when it can give them so:
  // a memory stream its own, a file opened for reading its mapping.
  virtual bool Contents(std::span<const uint8_t>& bytes) { return false; }
  // True when part of what Contents gave vanished since (another program cut
  // the file short); what was read of it is then not to be trusted.
  virtual bool ContentsLost() const { return false; }

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
  bool Contents(std::span<const uint8_t>& bytes) override {
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

// A regular file's bytes, mapped read-only into memory (read into a buffer
// where the file cannot be mapped). Should another program cut the file
// short while it is mapped, the pages it no longer backs read as zeros
// instead of ending this program, and Changed() tells.
class MappedFile {
 public:
  MappedFile() = default;
  // Throws FileError("Cannot open file <path>") unless the path names a
  // regular file that can be opened for reading.
  explicit MappedFile(const std::string& path);
  ~MappedFile();
  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&& other) noexcept;

  // Maps the regular file open on `descriptor` (which stays the caller's).
  bool Map(int descriptor);
  std::span<const uint8_t> Bytes() const { return {data_, size_}; }
  // True when part of the file vanished while it was mapped.
  bool Changed() const;

 private:
  void Release();

  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  void* mapping_ = nullptr;
  std::unique_ptr<uint8_t[]> buffer_;
  int guard_ = -1;
};

// Opens a regular file for reading without blocking on anything else (a
// pipe, a device, a folder), which it refuses; throws FileError("Cannot open
// file <path>") then and when the file cannot be opened.
int OpenRegularFile(const std::string& path);

class FileStream final : public Stream {
 public:
  enum class Mode { Read, Create, ReadWrite };
  // Throws FileError("Cannot open file <path>") or ("Cannot create file
  // <path>"). Only regular files are opened for reading.
  FileStream(const std::string& path, Mode mode);
  // Writes to a file just created on `descriptor`, which the stream takes over.
  FileStream(int descriptor, const std::string& path);
  ~FileStream() override;
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  size_t Read(void* buffer, size_t count) override;
  void Write(const void* buffer, size_t count) override;
  int64_t Position() const override;
  void Seek(int64_t position) override;
  int64_t Size() const override;
  void Truncate(int64_t size) override;
  // A stream opened for reading gives its file mapped.
  bool Contents(std::span<const uint8_t>& bytes) override;
  bool ContentsLost() const override { return map_.Changed(); }
  // Flushes, commits to the disk and closes; throws FileError when buffered
  // data cannot be written.
  void Close();
  std::FILE* File() const { return file_; }

 private:
  std::string path_;
  Mode mode_;
  std::FILE* file_ = nullptr;
  MappedFile map_;
  bool mapped_ = false;
};

// The bytes of a stream from a position to its end, at most maxBytes of
// them: a view of what Contents gives (a memory stream's own bytes, a file's
// mapping) where it can, else a copy read from the stream. The stream's
// position is left where it was.
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

// The whole of a regular file of at most maxBytes, by default the longest
// file a picture within the default decode limits can need. Throws
// FileError("Cannot open file <path>") when the file cannot be opened, is no
// regular file or is longer.
std::vector<uint8_t> ReadFileBytes(const std::string& path);
std::vector<uint8_t> ReadFileBytes(const std::string& path, uint64_t maxBytes);
// Writes all `size` bytes to the descriptor, going on after short and
// interrupted writes. Throws FileError("Cannot write file") when it fails.
void WriteAll(int fd, const uint8_t* data, size_t size);

// Makes a folder's entries (a file just renamed or linked into it) durable;
// nothing happens when the folder cannot be opened.
void SyncFolder(const std::string& folder);

// Saves a file as a careful editor does. `write` puts the content into the
// stream it is given, as it goes, and returns false to give up, when nothing
// changes and SaveFile returns false.
// - The content goes to a temporary file beside the target, which replaces
//   the target by a rename once it is whole, so a failure never leaves a
//   half-written file. The temporary's name fits the 255-byte limit of a name
//   whatever the target's, and the next save into that folder (or
//   RemoveStaleTemporaries) removes one that a killed save left behind.
// - A symbolic link is written through: the file it leads to is replaced and
//   the link stays.
// - The new file keeps the replaced file's mode, and its owner and group
//   where the process may set them.
// - A file with other names (hard links) is written in place once the whole
//   content is made in memory, so that every name shows the new content; so
//   is a file in a folder where no temporary can be made, when the file
//   itself may be written.
// A read-only target, or one that is no regular file, is refused. Throws
// FileError("Cannot create file <path>") when the file cannot be written.
bool SaveFile(const std::string& path, const std::function<bool(Stream&)>& write);

// SaveFile with content already in memory.
void WriteFileAtomically(const std::string& path, const uint8_t* data, size_t size);

// Removes the temporary files in `folder` (and, with subfolders, in the
// folders inside it) that saves killed midway left behind; those of saves
// still running are kept. The program calls it at start for its folders.
void RemoveStaleTemporaries(const std::string& folder, bool subfolders = false);

}  // namespace glamora
