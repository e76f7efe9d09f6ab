#pragma once
// Face files: a 3260-byte FaceHeader followed by one picture file stream to
// the end of the file. ".eff" files carry the picture enciphered (Twofish,
// 8-bit cipher feedback, key from the payload length), ".mff" files plain.
// The program reads both kinds and writes only plain ones.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "face/FaceHeader.h"
#include "face/Sha1.h"
#include "imaging/core/ImgIOParams.h"
#include "imaging/core/Stream.h"

namespace glamora {

// Part of every ".eff" key; the shipped model faces decipher only with it.
constexpr uint32_t FaceSeedConstant = 0x6C1A3E29u;

enum class FaceFileKind { NotAFaceFile, Enciphered, Plain };

// By the file name's extension, compared in lower case.
FaceFileKind FaceFileKindOf(const std::string& fileName);

// The 128-byte key text for a payload of the given length.
std::array<uint8_t, 128> BuildFaceKeyText(uint32_t payloadLength);

// Deciphers an ".eff" payload in place; every byte, the last included.
void DecipherFacePayload(uint8_t* data, size_t size);

// What tells one face file from another that later takes its name: its
// size and the digest of the payload bytes as they lie in the file.
struct FaceFileIdentity {
  uint64_t Size = 0;
  Sha1::Digest PayloadDigest{};
  friend bool operator==(const FaceFileIdentity&, const FaceFileIdentity&) = default;
};

// The identity of a face file's bytes (a header and its payload).
FaceFileIdentity IdentityOfFaceFile(const std::vector<uint8_t>& fileBytes);

// Reads a face file into the caller's header and payload stream (emptied,
// refilled, positioned at its start), deciphering an ".eff" payload, and
// when asked the identity of the file as read. Returns false, touching no
// output, when the extension is neither ".eff" nor ".mff" or the file is
// shorter than a header. Throws FileError when the file cannot be opened or
// read, or is longer than a header and the longest picture file within
// `limits` (so a huge file is refused unread).
bool ReadFaceFile(const std::string& fileName, FaceHeader& header, MemoryStream& payload,
                  FaceFileIdentity* identity = nullptr, const DecodeLimits& limits = {});

// The in-memory part of ReadFaceFile: splits the bytes of a face file of the
// given kind into header and payload. False, outputs untouched, for a file
// shorter than a header or a kind that is not a face file.
bool ParseFaceFile(std::vector<uint8_t> bytes, FaceFileKind kind, FaceHeader& header, MemoryStream& payload);

// Writes a plain face file: 3260 bytes of noise from the program's
// generator, then the whole payload stream whatever its position. The file
// is written beside the target and renamed into place, so a failed write
// never damages an existing face file. Returns false, writing nothing, when
// the stream is absent or the name empty; throws FileError when writing fails.
bool WriteFaceFile(const Stream* payload, const std::string& fileName);

// Writes a plain face file of the given header and payload bytes, beside the
// target and renamed into place like WriteFaceFile, and returns the identity
// of the file written. Throws FileError.
FaceFileIdentity WriteFaceFile(const FaceHeader& header, const std::vector<uint8_t>& payload,
                               const std::string& fileName);

// Overwrites the first 3260 bytes of an existing face file, keeping the rest.
// Throws FileError (the file unchanged) when the file cannot be opened for
// writing, is shorter than a header, or the write fails.
void RewriteFaceHeader(const std::string& fileName, const FaceHeader& header);

// The file under a face file's name is no longer the face that was read.
class FaceFileReplaced : public FileError {
 public:
  using FileError::FileError;
};

// RewriteFaceHeader for a face read earlier: writes only when the file still
// has the expected identity, and throws FaceFileReplaced, writing nothing,
// when another file (or another face) has taken its name since.
void RewriteFaceHeader(const std::string& fileName, const FaceHeader& header, const FaceFileIdentity& expected);

}  // namespace glamora
