#pragma once
// Bounds-checked reading of little- and big-endian values from a byte span.
// A read past the end returns zero and makes the reader fail for good, so a
// decoder reads a whole header and checks Ok() once.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace glamora::codec {

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> data, size_t position = 0) : data_(data) { Seek(position); }

  size_t Size() const { return data_.size(); }
  size_t Position() const { return position_; }
  size_t Remaining() const { return data_.size() - position_; }
  bool Has(size_t count) const { return ok_ && count <= Remaining(); }
  bool Ok() const { return ok_; }
  // The bytes from the position to the end.
  std::span<const uint8_t> Rest() const { return data_.subspan(position_); }

  // Moves to an absolute position; a position past the end fails the reader.
  bool Seek(size_t position) {
    if (position > data_.size()) return Fail();
    position_ = position;
    return ok_;
  }
  bool Skip(size_t count) {
    if (!Has(count)) return Fail();
    position_ += count;
    return true;
  }

  uint8_t U8() { return uint8_t(Next(1)); }
  uint16_t U16LE() { return uint16_t(Next(2)); }
  uint32_t U32LE() { return uint32_t(Next(4)); }
  int16_t I16LE() { return int16_t(U16LE()); }
  int32_t I32LE() { return int32_t(U32LE()); }
  uint16_t U16BE() { return uint16_t(NextBigEndian(2)); }
  uint32_t U32BE() { return uint32_t(NextBigEndian(4)); }

  // Copies count bytes, or fails leaving dst untouched.
  bool Read(void* dst, size_t count) {
    if (!Has(count)) return Fail();
    if (count) std::memcpy(dst, data_.data() + position_, count);
    position_ += count;
    return true;
  }
  // The next count bytes as a span (empty and failed when fewer remain).
  std::span<const uint8_t> Take(size_t count) {
    if (!Has(count)) {
      Fail();
      return {};
    }
    auto part = data_.subspan(position_, count);
    position_ += count;
    return part;
  }

 private:
  bool Fail() {
    ok_ = false;
    position_ = data_.size();
    return false;
  }
  uint64_t Next(size_t count) {
    if (!Has(count)) return Fail();
    uint64_t value = 0;
    for (size_t i = 0; i < count; ++i) value |= uint64_t(data_[position_ + i]) << (8 * i);
    position_ += count;
    return value;
  }
  uint64_t NextBigEndian(size_t count) {
    if (!Has(count)) return Fail();
    uint64_t value = 0;
    for (size_t i = 0; i < count; ++i) value = (value << 8) | data_[position_ + i];
    position_ += count;
    return value;
  }

  std::span<const uint8_t> data_;
  size_t position_ = 0;
  bool ok_ = true;
};

}  // namespace glamora::codec
