#pragma once
// Checks every hand-written codec's tests share: samples made with convert,
// decoding compared with convert's reading of the same file, and damaged
// input that must fail cleanly or decode within limits.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "codecs/Codec.h"
#include "tests/support/TestSupport.h"

namespace glamora::test {

// Runs convert with args followed by `output` (a path with an optional
// coder prefix such as "BMP3:") and returns the written file, empty on failure.
std::vector<uint8_t> MakeSample(const std::vector<std::string>& args, const std::string& output);

// Decodes with the codec; on failure the output and params must be untouched.
::testing::AssertionResult DecodeWith(const codec::Codec& codec, const std::vector<uint8_t>& bytes, Bitmap& out,
                                      TImgIOParams& params);

// Decodes path with the codec and with convert (options as for MagickDecode)
// and compares the pixels.
::testing::AssertionResult MatchesMagick(const codec::Codec& codec, const std::string& path,
                                         const std::vector<std::string>& magickOptions = {}, int tolerance = 0);

// Every prefix of the file on the given stride, and `flips` seeded single-bit
// flips, decode without crashing; a failure leaves output and params as
// they were, a success gives a picture within the limits.
void ExpectDamageHandled(const codec::Codec& codec, const std::vector<uint8_t>& file, size_t stride, int flips,
                         uint32_t seed);

// One damaged input: the decode fails leaving output and params as they were
// and setting the abort flag, or gives a picture within the limits.
::testing::AssertionResult HandlesDamage(const codec::Codec& codec, const std::vector<uint8_t>& bytes);

// An icon (type 1) or cursor (type 2) whose one image is the picture of a
// BMP file: its information header on, the height doubled, an opaque AND mask.
std::vector<uint8_t> IconFromBmp(const std::vector<uint8_t>& bmp, uint16_t type);

// Little-endian fields for hand-made headers.
void PutLE(std::vector<uint8_t>& bytes, size_t offset, uint64_t value, int size);
uint32_t GetLE(const std::vector<uint8_t>& bytes, size_t offset, int size);

}  // namespace glamora::test
