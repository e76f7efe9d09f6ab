// Reading and writing the prefixes that may come before a picture in a stream.
#include "imaging/components/ImgIOStreamHeader.h"

#include <cstring>

namespace glamora {

namespace {

bool Begins(codec::Bytes head, const char* prefix, size_t length) {
  return head.size() >= length && std::memcmp(head.data(), prefix, length) == 0;
}

// The length a full header declares; 0 when the header is cut short.
int64_t DeclaredLength(codec::Bytes head) {
  if (head.size() < kStreamHeaderSize) return 0;
  const uint8_t* p = head.data() + 8;
  return int64_t(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24));
}

}  // namespace

const char* StreamHeaderMagic(int32_t fileType) {
  switch (fileType) {
    case iftJpeg: return "JFIF";
    case iftTiff: return "TIFF";
    case iftPcx: return "PCX2";
    default: return nullptr;
  }
}

std::array<uint8_t, kStreamHeaderSize> MakeStreamHeader(const char* magic, size_t length) {
  std::array<uint8_t, kStreamHeaderSize> header{};
  std::memcpy(header.data(), magic, 4);
  for (int i = 0; i < 4; ++i) header[8 + i] = uint8_t(uint32_t(length) >> (8 * i));
  return header;
}

int32_t DetectStreamHeader(codec::Bytes head, uint64_t streamSize) {
  if (streamSize > kStreamHeaderSize && Begins(head, "JFIF\0", 5)) return iftJpeg;
  if (streamSize > kStreamHeaderSize && Begins(head, "PCX2\0", 5)) return iftPcx;
  if (streamSize > 4 && Begins(head, "PCX\0", 4)) return iftPcx;
  if (streamSize > kStreamHeaderSize && Begins(head, "TIFF\0", 5)) return iftTiff;
  return iftUnknown;
}

bool LocatePicture(int32_t fileType, codec::Bytes head, bool streamHeaders, PictureSpan& span) {
  span = {};
  switch (fileType) {
    case iftJpeg:
      if (Begins(head, "JFIF\0", 5)) span = {kStreamHeaderSize, DeclaredLength(head)};
      return true;
    case iftPcx:
      if (!streamHeaders) return true;
      if (!Begins(head, "PCX", 3)) return false;
      // The older prefix, "PCX" and a zero byte, has no length.
      span = Begins(head, "PCX2", 4) ? PictureSpan{kStreamHeaderSize, DeclaredLength(head)} : PictureSpan{4, -1};
      return true;
    case iftTiff:
      if (!streamHeaders) return true;
      if (!Begins(head, "TIFF", 4)) return false;
      span = {kStreamHeaderSize, DeclaredLength(head)};
      return true;
    default:
      return true;
  }
}

}  // namespace glamora
