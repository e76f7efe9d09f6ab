#pragma once
// Stream headers: the 12-byte prefix ("JFIF", "TIFF" or "PCX2", four zero
// bytes, the 32-bit little-endian length of the coded picture) that may come
// before a picture in a stream, and the older 4-byte PCX prefix ("PCX" and a
// zero byte). Content detection and the picture front's stream loads and
// saves read them here.
#include <array>
#include <cstddef>
#include <cstdint>

#include "codecs/Codec.h"

namespace glamora {

inline constexpr size_t kStreamHeaderSize = 12;

// The four magic characters of a type's header, or null for types without one.
const char* StreamHeaderMagic(int32_t fileType);

std::array<uint8_t, kStreamHeaderSize> MakeStreamHeader(const char* magic, size_t length);

// The type whose header (or old PCX prefix) begins `head`, with the content
// test's size rules (the stream must hold more than the header), or
// iftUnknown.
int32_t DetectStreamHeader(codec::Bytes head, uint64_t streamSize);

// Where the coded picture lies, from the stream position: after Skip bytes,
// Length bytes (or to the end when Length is negative).
struct PictureSpan {
  size_t Skip = 0;
  int64_t Length = -1;
};

// Applies a type's header rules to the bytes at the position: a JPEG load
// takes a "JFIF" header whenever there is one; with headers on, PCX and TIFF
// demand theirs. False when a demanded header is missing.
bool LocatePicture(int32_t fileType, codec::Bytes head, bool streamHeaders, PictureSpan& span);

}  // namespace glamora
