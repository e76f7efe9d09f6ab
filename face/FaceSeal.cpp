// Enciphering a face payload and writing a sealed (".eff") face file.
#include "face/FaceSeal.h"

#include <algorithm>
#include <cstring>

#include "face/FaceFile.h"
#include "face/Sha1.h"
#include "face/Twofish.h"
#include "imaging/core/Stream.h"

namespace glamora {

void EncipherFacePayload(uint8_t* data, size_t size) {
  auto keyText = BuildFaceKeyText(uint32_t(size));
  auto key = Sha1::Of(keyText.data(), keyText.size());
  const Twofish cipher(key.data(), key.size());
  uint8_t shift[16] = {};
  uint8_t keystream[16];
  for (size_t i = 0; i < size; ++i) {
    cipher.Encrypt(shift, keystream);
    data[i] ^= keystream[0];
    std::memmove(shift, shift + 1, 15);
    shift[15] = data[i];
  }
  std::fill(keyText.begin(), keyText.end(), 0);
  std::fill(key.begin(), key.end(), 0);
}

void SealFaceFile(const FaceHeader& header, std::vector<uint8_t> picture, const std::string& fileName) {
  EncipherFacePayload(picture.data(), picture.size());
  std::vector<uint8_t> file(FaceHeader::kByteSize);
  header.Write(file.data());
  file.insert(file.end(), picture.begin(), picture.end());
  WriteFileAtomically(fileName, file.data(), file.size());
}

}  // namespace glamora
