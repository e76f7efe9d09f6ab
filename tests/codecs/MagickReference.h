#pragma once
// Reference decoding through ImageMagick's convert for codec tests: samples
// are generated at run time and every decoder is checked pixel for pixel
// against what convert reads from the same file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/core/Bitmap.h"

namespace glamora::test {

// True when convert can be run (checked once per process).
bool MagickAvailable();

// Runs convert with the arguments (no shell involved); true on exit status 0.
bool RunConvert(const std::vector<std::string>& args);

// Decodes source (a file name, optionally with a frame suffix such as
// "x.ico[1]") with convert into a 24-bit bitmap. Options go between the source
// and the output, e.g. {"-background", "white", "-flatten"}.
bool MagickDecode(const std::string& source, Bitmap& out, const std::vector<std::string>& options = {});

// Equal size and every channel within tolerance; 1-bit and 8-bit bitmaps are
// compared by their colours. The failure message names the first difference.
::testing::AssertionResult SamePixels(const Bitmap& expected, const Bitmap& actual, int tolerance = 0);

}  // namespace glamora::test

// A reference comparison that cannot run is a failure, not a skip:
// scripts/setup installs ImageMagick.
#define GLAMORA_REQUIRE_MAGICK() \
  ASSERT_TRUE(::glamora::test::MagickAvailable()) << "ImageMagick's convert is not installed (run scripts/setup)"
