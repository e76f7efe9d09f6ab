// Pixel memory: aligned heap blocks for small pictures, mappings advised for
// huge pages for large ones.
#include "imaging/core/PixelBuffer.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace glamora {

namespace {

constexpr size_t kHugePage = size_t(2) << 20;
constexpr std::align_val_t kAlignment{64};

// A mapping of `length` bytes (a multiple of the huge page) starting on a huge
// page boundary: a huge page more is mapped and the unaligned ends given back.
uint8_t* MapAligned(size_t length) {
  void* reserved = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (reserved == MAP_FAILED) throw std::bad_alloc();
  const uintptr_t start = reinterpret_cast<uintptr_t>(reserved);
  const uintptr_t aligned = (start + kHugePage - 1) & ~uintptr_t(kHugePage - 1);
  if (aligned > start) munmap(reserved, aligned - start);
  const size_t tail = start + length + kHugePage - (aligned + length);
  if (tail > 0) munmap(reinterpret_cast<void*>(aligned + length), tail);
  // Only advice: without transparent huge pages the mapping works the same.
  madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
  return reinterpret_cast<uint8_t*>(aligned);
}

// Bytes of unspecified content get a fixed pattern in builds with
// assertions, so that code relying on zeros shows itself.
void MarkUnspecified([[maybe_unused]] uint8_t* bytes, [[maybe_unused]] size_t count) {
#ifndef NDEBUG
  std::memset(bytes, 0xCD, count);
#endif
}

}  // namespace

PixelBuffer::PixelBuffer(size_t bytes) : size_(bytes) {
  if (bytes == 0) return;
  if (bytes >= kMappedFrom) {
    mapped_ = (bytes + kHugePage - 1) & ~(kHugePage - 1);
    data_ = MapAligned(mapped_);
  } else {
    data_ = static_cast<uint8_t*>(::operator new(bytes, kAlignment));
  }
  MarkUnspecified(data_, bytes);
}

PixelBuffer::~PixelBuffer() { Release(); }

void PixelBuffer::Resize(size_t bytes) {
  const size_t kept = std::min(bytes, size_);
  if (bytes <= size_ || (mapped_ && bytes <= mapped_)) {
    size_ = bytes;
    MarkUnspecified(data_ + kept, bytes - kept);
    return;
  }
  if (mapped_ && bytes >= kMappedFrom) {
    const size_t length = (bytes + kHugePage - 1) & ~(kHugePage - 1);
    uint8_t* const larger = MapAligned(length);
    // The old pages take the start of the new mapping; both lie on huge page
    // boundaries, so huge pages move whole.
    if (mremap(data_, mapped_, mapped_, MREMAP_MAYMOVE | MREMAP_FIXED, larger) != MAP_FAILED) {
      data_ = larger;
      size_ = bytes;
      mapped_ = length;
      MarkUnspecified(data_ + kept, bytes - kept);
      return;
    }
    munmap(larger, length);
  }
  PixelBuffer larger(bytes);
  if (size_) std::memcpy(larger.data_, data_, size_);
  *this = std::move(larger);
}

PixelBuffer::PixelBuffer(const PixelBuffer& other) : PixelBuffer(other.size_) {
  if (size_) std::memcpy(data_, other.data_, size_);
}

PixelBuffer& PixelBuffer::operator=(const PixelBuffer& other) {
  if (this != &other) {
    if (size_ != other.size_) *this = PixelBuffer(other.size_);
    if (size_) std::memcpy(data_, other.data_, size_);
  }
  return *this;
}

PixelBuffer::PixelBuffer(PixelBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      mapped_(std::exchange(other.mapped_, 0)) {}

PixelBuffer& PixelBuffer::operator=(PixelBuffer&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    mapped_ = std::exchange(other.mapped_, 0);
  }
  return *this;
}

void PixelBuffer::Release() noexcept {
  if (!data_) return;
  if (mapped_) {
    munmap(data_, mapped_);
  } else {
    ::operator delete(data_, kAlignment);
  }
  data_ = nullptr;
  size_ = 0;
  mapped_ = 0;
}

}  // namespace glamora
