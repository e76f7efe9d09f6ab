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

// Reads a face file into the caller's header and payload stream (emptied,
// refilled, positioned at its start), deciphering an ".eff" payload.
// Returns false, touching neither output, when the extension is neither
// ".eff" nor ".mff" or the file is shorter than a header. Throws FileError
// when the file cannot be opened or read.
bool ReadFaceFile(const std::string& fileName, FaceHeader& header, MemoryStream& payload);

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

// Overwrites the first 3260 bytes of an existing face file, keeping the rest.
// Throws FileError (the file unchanged) when the file cannot be opened for
// writing, is shorter than a header, or the write fails.
void RewriteFaceHeader(const std::string& fileName, const FaceHeader& header);

}  // namespace glamora
