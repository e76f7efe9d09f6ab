#pragma once
// The ".eff" payload cipher built only from the published rules and the
// reference library: key text from the generator, its SHA-1 digest as a
// 192-bit Twofish key (zero padded), 8-bit cipher feedback from a zero
// vector. Tests check the program's own cipher against it. Suites that
// include it link nettle.
#include <nettle/cfb.h>
#include <nettle/sha1.h>
#include <nettle/twofish.h>

#include <cstdint>
#include <vector>

#include "face/FaceFile.h"

namespace glamora::test {

enum class CipherDirection { Encipher, Decipher };

inline std::vector<uint8_t> ReferenceFaceCipher(const std::vector<uint8_t>& data, CipherDirection direction) {
  uint32_t s = uint32_t(data.size()) + FaceSeedConstant;
  uint8_t keyText[128];
  for (uint8_t& b : keyText) {
    s = s * 134775813u + 1u;
    b = uint8_t(s >> 24);
  }
  sha1_ctx sha;
  sha1_init(&sha);
  sha1_update(&sha, sizeof keyText, keyText);
  uint8_t key[24] = {};
  sha1_digest(&sha, 20, key);
  twofish_ctx ctx;
  twofish_set_key(&ctx, sizeof key, key);
  uint8_t iv[16] = {};
  std::vector<uint8_t> out(data.size());
  const auto encrypt = reinterpret_cast<nettle_cipher_func*>(twofish_encrypt);
  if (direction == CipherDirection::Encipher) {
    cfb8_encrypt(&ctx, encrypt, 16, iv, data.size(), out.data(), data.data());
  } else {
    cfb8_decrypt(&ctx, encrypt, 16, iv, data.size(), out.data(), data.data());
  }
  return out;
}

}  // namespace glamora::test
