#pragma once
// Memory for pixels: handed out without being cleared, as nearly every
// bitmap is written over at once. Buffers are aligned to 64 bytes; large ones
// are mapped on their own, aligned to 2 MB and advised for huge pages, so a
// fresh picture of tens of megabytes costs tens of page faults rather than
// thousands, and goes back to the system as soon as it is freed.
#include <cstddef>
#include <cstdint>

namespace glamora {

class PixelBuffer {
 public:
  PixelBuffer() = default;
  // `bytes` bytes of unspecified content (a fixed pattern in builds with
  // assertions, so that code relying on zeros shows itself). Throws
  // std::bad_alloc when the memory cannot be had.
  explicit PixelBuffer(size_t bytes);
  ~PixelBuffer();
  PixelBuffer(const PixelBuffer& other);
  PixelBuffer& operator=(const PixelBuffer& other);
  PixelBuffer(PixelBuffer&& other) noexcept;
  PixelBuffer& operator=(PixelBuffer&& other) noexcept;

  // Makes the buffer `bytes` long keeping its first bytes up to the shorter
  // length; bytes past the old ones are unspecified. A large buffer grows by
  // moving its pages into a larger mapping, neither copied nor touched. On
  // std::bad_alloc the buffer is as it was.
  void Resize(size_t bytes);

  uint8_t* data() { return data_; }
  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }

  // Buffers from this size on are mapped apart and advised for huge pages.
  static constexpr size_t kMappedFrom = size_t(4) << 20;

 private:
  void Release() noexcept;

  uint8_t* data_ = nullptr;
  size_t size_ = 0;
  size_t mapped_ = 0;  // length of the mapping, 0 for heap memory
};

}  // namespace glamora
