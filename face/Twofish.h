#pragma once
// Twofish block cipher, encryption direction (all that cipher feedback
// needs). Keys of 16, 24 and 32 bytes use the 128-, 192- and 256-bit
// schedules; shorter keys are padded with zero bytes to the next of those.
#include <array>
#include <cstddef>
#include <cstdint>

namespace glamora {

class Twofish {
 public:
  using Block = std::array<uint8_t, 16>;

  // keySize 1..32 bytes.
  Twofish(const uint8_t* key, size_t keySize);
  ~Twofish();
  Twofish(const Twofish&) = delete;
  Twofish& operator=(const Twofish&) = delete;

  void Encrypt(const uint8_t in[16], uint8_t out[16]) const;

 private:
  uint32_t G(uint32_t x) const;
  uint32_t subkeys_[40];
  uint32_t sbox_[4][256];  // key-dependent S-boxes folded with the MDS matrix
};

// 8-bit cipher feedback decryption in place, with an all-zero initialisation vector.
void Cfb8Decrypt(const Twofish& cipher, uint8_t* data, size_t size);

}  // namespace glamora
