#pragma once
// Pictures and checks the tests of the library-backed codecs (JPEG, PNG, GIF,
// TIFF) share.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "codecs/Codec.h"

namespace glamora::test {

// A 24-bit picture of smooth colour ramps, the same for the same size.
Bitmap SmoothPicture(int width, int height);
// Black and white squares of `cell` pixels, black first.
Bitmap Checkerboard(int width, int height, int cell);
// Each pixel replaced by its luma grey (0.299 R + 0.587 G + 0.114 B).
Bitmap Greyed(const Bitmap& picture);
// Mean absolute difference over every channel of two 24-bit pictures of one size.
double MeanAbsoluteError(const Bitmap& a, const Bitmap& b);

// The file's text without a trailing line break.
std::string ReadText(const std::string& path);

// Decoding fails, sets the abort flag and leaves the output bitmap and every
// parameter these codecs fill as they were.
::testing::AssertionResult FailsLeavingOutputAlone(const codec::Codec& codec, const std::vector<uint8_t>& bytes,
                                                   const TImgIOParams& params = TImgIOParams{});

// Decoding reports rising percentages up to 100; a handler that sets the
// abort flag on the first report makes the decoder fail cleanly.
void ExpectProgressAndAbort(const codec::Codec& codec, const std::vector<uint8_t>& file, const TImgIOParams& params);

// `count` seeded inputs of the prefix followed by random bytes decode
// without crashing and fail cleanly or give a picture within the limits.
void ExpectRandomInputHandled(const codec::Codec& codec, const std::vector<uint8_t>& prefix, int count,
                              uint32_t seed, const TImgIOParams& params = TImgIOParams{});

// Every file in tests/codecs/regressions/<folder>/ (inputs that once made a
// decoder crash, break its contract or spend memory its data did not hold)
// decodes or fails cleanly touching little memory, and fails cleanly when the
// abort flag is set before decoding starts; a file named damaged-* must fail
// as damaged. Returns how many files there were (none when the folder does
// not exist).
int ExpectRegressionFilesHandled(const codec::Codec& codec, const std::string& folder, const TImgIOParams& params);

// LZW data is only coded with the hooks installed; a test of this fixture
// runs with every hook in the process-wide defaults (which the shared checks
// use), and the defaults are put back afterwards.
class WithLzwHooksInstalled : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = DefaultLzwHooks();
    DefaultLzwHooks() = LzwHooks{true, true, true, true};
  }
  void TearDown() override { DefaultLzwHooks() = saved_; }

 private:
  LzwHooks saved_;
};

}  // namespace glamora::test
