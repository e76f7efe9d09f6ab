#pragma once
// SHA-1 message digest (FIPS 180-1), used to derive face file keys.
#include <array>
#include <cstddef>
#include <cstdint>

namespace glamora {

class Sha1 {
 public:
  using Digest = std::array<uint8_t, 20>;

  Sha1();
  void Update(const uint8_t* data, size_t size);
  Digest Final();

  static Digest Of(const uint8_t* data, size_t size);

 private:
  void Block(const uint8_t* block);
  uint32_t state_[5];
  uint64_t length_ = 0;  // bytes hashed so far
  uint8_t buffer_[64];
  size_t buffered_ = 0;
};

}  // namespace glamora
