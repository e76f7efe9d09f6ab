// Reading, deciphering, writing and rewriting face files.
#include "face/FaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "face/Random.h"
#include "face/Sha1.h"
#include "face/Twofish.h"
#include "imaging/core/FileExtension.h"

namespace glamora {

FaceFileKind FaceFileKindOf(const std::string& fileName) {
  const std::string ext = LowerExtension(fileName);
  if (ext == ".eff") return FaceFileKind::Enciphered;
  if (ext == ".mff") return FaceFileKind::Plain;
  return FaceFileKind::NotAFaceFile;
}

std::array<uint8_t, 128> BuildFaceKeyText(uint32_t payloadLength) {
  RandomGenerator generator(payloadLength + FaceSeedConstant);
  std::array<uint8_t, 128> text{};
  for (uint8_t& byte : text) byte = uint8_t(generator.Draw(256));
  return text;
}

void DecipherFacePayload(uint8_t* data, size_t size) {
  std::array<uint8_t, 128> keyText = BuildFaceKeyText(uint32_t(size));
  Sha1::Digest key = Sha1::Of(keyText.data(), keyText.size());
  {
    const Twofish cipher(key.data(), key.size());
    Cfb8Decrypt(cipher, data, size);
  }
  std::fill(keyText.begin(), keyText.end(), 0);
  std::fill(key.begin(), key.end(), 0);
}

FaceFileIdentity IdentityOfFaceFile(const std::vector<uint8_t>& fileBytes) {
  FaceFileIdentity identity;
  identity.Size = fileBytes.size();
  const size_t header = std::min(fileBytes.size(), FaceHeader::kByteSize);
  identity.PayloadDigest = Sha1::Of(fileBytes.data() + header, fileBytes.size() - header);
  return identity;
}

bool ReadFaceFile(const std::string& fileName, FaceHeader& header, MemoryStream& payload, FaceFileIdentity* identity,
                  const DecodeLimits& limits) {
  const FaceFileKind kind = FaceFileKindOf(fileName);
  if (kind == FaceFileKind::NotAFaceFile) return false;
  std::vector<uint8_t> bytes = ReadFileBytes(fileName, FaceHeader::kByteSize + limits.MaxFileBytes());
  const FaceFileIdentity read = IdentityOfFaceFile(bytes);
  if (!ParseFaceFile(std::move(bytes), kind, header, payload)) return false;
  if (identity) *identity = read;
  return true;
}

bool ParseFaceFile(std::vector<uint8_t> bytes, FaceFileKind kind, FaceHeader& header, MemoryStream& payload) {
  if (kind == FaceFileKind::NotAFaceFile || bytes.size() < FaceHeader::kByteSize) return false;
  header.Read(bytes.data());
  bytes.erase(bytes.begin(), bytes.begin() + FaceHeader::kByteSize);
  std::vector<uint8_t>& picture = bytes;
  if (kind == FaceFileKind::Enciphered) DecipherFacePayload(picture.data(), picture.size());
  payload.Clear();
  payload.Bytes() = std::move(picture);
  payload.Seek(0);
  return true;
}

bool WriteFaceFile(const Stream* payload, const std::string& fileName) {
  if (!payload || fileName.empty()) return false;
  RandomGenerator& noise = ProgramRandom();
  std::vector<uint8_t> file(FaceHeader::kByteSize);
  for (uint8_t& byte : file) byte = uint8_t(noise.Draw(256));

  // The whole stream, whatever its current position; the position is kept.
  Stream& source = const_cast<Stream&>(*payload);
  const int64_t position = source.Position();
  source.Seek(0);
  std::vector<uint8_t> picture = source.ReadRemaining();
  source.Seek(position);
  file.insert(file.end(), picture.begin(), picture.end());

  WriteFileAtomically(fileName, file.data(), file.size());
  return true;
}

FaceFileIdentity WriteFaceFile(const FaceHeader& header, const std::vector<uint8_t>& payload,
                               const std::string& fileName) {
  std::vector<uint8_t> file(FaceHeader::kByteSize);
  header.Write(file.data());
  file.insert(file.end(), payload.begin(), payload.end());
  WriteFileAtomically(fileName, file.data(), file.size());
  return IdentityOfFaceFile(file);
}

namespace {

// The identity of the file open as fd, of the given size, read from disk.
bool HasIdentity(int fd, off_t size, const FaceFileIdentity& expected) {
  if (uint64_t(size) != expected.Size) return false;
  Sha1 digest;
  std::vector<uint8_t> block(1 << 16);
  for (off_t at = off_t(FaceHeader::kByteSize); at < size;) {
    const ssize_t got = ::pread(fd, block.data(), std::min<size_t>(block.size(), size_t(size - at)), at);
    if (got <= 0) return false;
    digest.Update(block.data(), size_t(got));
    at += got;
  }
  return digest.Final() == expected.PayloadDigest;
}

void RewriteHeader(const std::string& fileName, const FaceHeader& header, const FaceFileIdentity* expected) {
  if (IsReadOnlyFile(fileName)) throw FileError("Cannot open file " + fileName);
  const int fd = ::open(fileName.c_str(), O_RDWR);
  if (fd < 0) throw FileError("Cannot open file " + fileName);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < off_t(FaceHeader::kByteSize)) {
    ::close(fd);
    throw FileError("I/O error: " + fileName + " is not a face file");
  }
  if (expected && !HasIdentity(fd, st.st_size, *expected)) {
    ::close(fd);
    throw FaceFileReplaced("The file " + fileName + " is no longer the face that was opened");
  }
  const auto bytes = header.Bytes();
  const ssize_t written = ::pwrite(fd, bytes.data(), bytes.size(), 0);
  const bool synced = written == ssize_t(bytes.size()) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!synced || !closed) throw FileError("I/O error: cannot write " + fileName);
}

}  // namespace

void RewriteFaceHeader(const std::string& fileName, const FaceHeader& header) {
  RewriteHeader(fileName, header, nullptr);
}

void RewriteFaceHeader(const std::string& fileName, const FaceHeader& header, const FaceFileIdentity& expected) {
  RewriteHeader(fileName, header, &expected);
}

}  // namespace glamora
