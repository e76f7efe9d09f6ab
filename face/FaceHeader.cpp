// The face header's little-endian layout, field by field.
#include "face/FaceHeader.h"

#include <cstring>

namespace glamora {

namespace {

int32_t ReadI32(const uint8_t* p) {
  return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

void WriteI32(uint8_t* p, int32_t value) {
  const uint32_t v = uint32_t(value);
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

constexpr size_t kRegionOffset = 12;

}  // namespace

void FaceRegion::Read(const uint8_t* bytes) {
  Valid = bytes[0];
  std::memcpy(Reserved1.data(), bytes + 1, 3);
  Count = ReadI32(bytes + 4);
  Reserved2 = ReadI32(bytes + 8);
  for (int i = 0; i < kMaxPoints; ++i) {
    Points[size_t(i)].X = ReadI32(bytes + 12 + 8 * i);
    Points[size_t(i)].Y = ReadI32(bytes + 16 + 8 * i);
  }
}

void FaceRegion::Write(uint8_t* bytes) const {
  bytes[0] = Valid;
  std::memcpy(bytes + 1, Reserved1.data(), 3);
  WriteI32(bytes + 4, Count);
  WriteI32(bytes + 8, Reserved2);
  for (int i = 0; i < kMaxPoints; ++i) {
    WriteI32(bytes + 12 + 8 * i, Points[size_t(i)].X);
    WriteI32(bytes + 16 + 8 * i, Points[size_t(i)].Y);
  }
}

void FaceHeader::Read(const uint8_t* bytes) {
  std::memcpy(Reserved0.data(), bytes, 4);
  StoreMark = bytes[4];
  std::memcpy(Reserved5.data(), bytes + 5, 3);
  LipLineColor = uint32_t(ReadI32(bytes + 8));
  for (int r = 0; r < kRegionCount; ++r) Regions[size_t(r)].Read(bytes + kRegionOffset + FaceRegion::kByteSize * r);
}

void FaceHeader::Write(uint8_t* bytes) const {
  std::memcpy(bytes, Reserved0.data(), 4);
  bytes[4] = StoreMark;
  std::memcpy(bytes + 5, Reserved5.data(), 3);
  WriteI32(bytes + 8, int32_t(LipLineColor));
  for (int r = 0; r < kRegionCount; ++r) Regions[size_t(r)].Write(bytes + kRegionOffset + FaceRegion::kByteSize * r);
}

std::array<uint8_t, FaceHeader::kByteSize> FaceHeader::Bytes() const {
  std::array<uint8_t, kByteSize> bytes{};
  Write(bytes.data());
  return bytes;
}

FaceHeader FaceHeader::FromBytes(const uint8_t* bytes) {
  FaceHeader header;
  header.Read(bytes);
  return header;
}

static_assert(12 + 4 * FaceRegion::kByteSize == FaceHeader::kByteSize);
static_assert(12 + 8 * FaceRegion::kMaxPoints == FaceRegion::kByteSize);

}  // namespace glamora
