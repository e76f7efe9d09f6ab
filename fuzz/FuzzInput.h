#pragma once
// Reading a fuzzer's bytes as the numbers a target needs: each Take gives
// the next bytes of the input, zeros once it runs out, so that every input
// drives the whole target.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace glamora::fuzz {

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  // The next `count` bytes into `out`, zero-filled past the end.
  void TakeBytes(void* out, size_t count) {
    const size_t available = at_ < size_ ? size_ - at_ : 0;
    const size_t copied = count < available ? count : available;
    if (copied) std::memcpy(out, data_ + at_, copied);
    if (copied < count) std::memset(static_cast<uint8_t*>(out) + copied, 0, count - copied);
    at_ += count;
  }
  template <typename T>
  T Take() {
    T value{};
    TakeBytes(&value, sizeof value);
    return value;
  }
  // A number in lo .. hi.
  int TakeInRange(int lo, int hi) { return lo + int(Take<uint32_t>() % uint32_t(hi - lo + 1)); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

}  // namespace glamora::fuzz
