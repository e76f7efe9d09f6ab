#pragma once
// Enciphering a face payload, the inverse of reading an ".eff" file. The
// program itself never enciphers; the command-line companion uses this to
// build the shipped model faces and test data.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "face/FaceHeader.h"

namespace glamora {

// Enciphers in place with the key that DecipherFacePayload derives for this length.
void EncipherFacePayload(uint8_t* data, size_t size);

// Writes header + enciphered picture to fileName (written beside it and renamed
// into place). Throws FileError on failure.
void SealFaceFile(const FaceHeader& header, std::vector<uint8_t> picture, const std::string& fileName);

}  // namespace glamora
