#include "imaging/core/Stream.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

namespace glamora {

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

FileStream::FileStream(const std::string& path, Mode mode) : path_(path) {
  const char* how = mode == Mode::Read ? "rb" : mode == Mode::Create ? "wb" : "r+b";
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    file_ = nullptr;
  } else {
    file_ = std::fopen(path.c_str(), how);
  }
  if (!file_) {
    throw FileError((mode == Mode::Create ? "Cannot create file " : "Cannot open file ") + path);
  }
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

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  FileStream file(path, FileStream::Mode::Read);
  // One read of the size the file has, straight into its buffer; what a file
  // that grows meanwhile (or reports no size, as some special files do) holds
  // beyond that is read on in chunks.
  std::vector<uint8_t> bytes = file.ReadRemaining();
  uint8_t chunk[65536];
  for (size_t n; (n = file.Read(chunk, sizeof chunk)) > 0;) bytes.insert(bytes.end(), chunk, chunk + n);
  return bytes;
}

StreamBytes::StreamBytes(Stream& stream, int64_t position, uint64_t maxBytes) {
  std::span<const uint8_t> all;
  if (stream.HeldInMemory(all)) {
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

void WriteFileAtomically(const std::string& path, const uint8_t* data, size_t size) {
  namespace fs = std::filesystem;
  const fs::path target(path);
  if (IsReadOnlyFile(path)) throw FileError("Cannot create file " + path);
  std::random_device rd;
  const fs::path temp = target.parent_path() /
                        ("." + target.filename().string() + ".tmp" + std::to_string(rd() % 1000000));
  try {
    FileStream out(temp.string(), FileStream::Mode::Create);
    out.Write(data, size);
    out.Close();
  } catch (const FileError&) {
    std::error_code ec;
    fs::remove(temp, ec);
    throw FileError("Cannot create file " + path);
  }
  std::error_code ec;
  fs::rename(temp, target, ec);
  if (ec) {
    fs::remove(temp, ec);
    throw FileError("Cannot create file " + path);
  }
}

}  // namespace glamora
