#pragma once
// The 3260-byte block at the start of every face file: where the eyes and
// the lips lie, as polygons in the pixel coordinates of the face picture.
// Read and written field by field as little-endian values; bytes the
// program does not interpret are carried unchanged.
#include <array>
#include <cstddef>
#include <cstdint>

namespace glamora {

struct FacePoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const FacePoint&, const FacePoint&) = default;
};

struct FaceRegion {
  static constexpr size_t kByteSize = 812;
  static constexpr int kMaxPoints = 100;

  uint8_t Valid = 0;
  std::array<uint8_t, 3> Reserved1{};
  int32_t Count = 0;
  int32_t Reserved2 = 0;
  std::array<FacePoint, kMaxPoints> Points{};

  // A region colours and outlines something only when it is marked valid
  // and its vertex count is one a polygon can have in the record: 3..100.
  bool IsOutlined() const { return Valid != 0 && Count >= 3 && Count <= kMaxPoints; }

  void Read(const uint8_t* bytes);
  void Write(uint8_t* bytes) const;
  friend bool operator==(const FaceRegion&, const FaceRegion&) = default;
};

struct FaceHeader {
  static constexpr size_t kByteSize = 3260;
  static constexpr int kRegionCount = 4;
  // Region numbers as the make-up tools use them.
  static constexpr int kLeftEye = 1;
  static constexpr int kRightEye = 2;
  static constexpr int kLips = 3;

  std::array<uint8_t, 4> Reserved0{};
  uint8_t StoreMark = 0;
  std::array<uint8_t, 3> Reserved5{};
  uint32_t LipLineColor = 0;
  std::array<FaceRegion, kRegionCount> Regions{};

  // Region 1..4.
  FaceRegion& Region(int number) { return Regions[size_t(number - 1)]; }
  const FaceRegion& Region(int number) const { return Regions[size_t(number - 1)]; }

  void Read(const uint8_t* bytes);  // exactly kByteSize bytes
  void Write(uint8_t* bytes) const;
  std::array<uint8_t, kByteSize> Bytes() const;
  static FaceHeader FromBytes(const uint8_t* bytes);
  friend bool operator==(const FaceHeader&, const FaceHeader&) = default;
};

}  // namespace glamora
