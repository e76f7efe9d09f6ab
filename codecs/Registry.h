#pragma once
// The codecs built into the program: by type id, and in the order content
// detection tries their probes.
#include <cstdint>
#include <span>

#include "codecs/Codec.h"

namespace glamora::codec {

// The codec that reads (and, when it has an encoder, writes) the type, or
// null when the program has none for it.
const Codec* CodecFor(int32_t fileType);

// Every codec, distinctive signatures first (JPEG, GIF, BMP, TIFF, PNG), then
// the weak guesses that other content can pass for: a PCX manufacturer byte,
// an icon or cursor directory, a Targa header.
std::span<const Codec* const> CodecsByProbeStrength();

// The type of the first codec in that order whose probe accepts the head
// (see ProbeFn), or iftUnknown.
int32_t DetectByProbes(Bytes head, uint64_t streamSize);

}  // namespace glamora::codec
