// The red-blue exchange against its definition, over the lengths around the
// vector steps and at every alignment.
#include "imaging/core/ChannelOrder.h"

#include <gtest/gtest.h>

#include <vector>

namespace glamora {
namespace {

TEST(ChannelOrder, SwapsRedAndBlueAndWritesNothingElse) {
  constexpr uint8_t kGuard = 0xA5;
  for (size_t pixels : {0, 1, 4, 5, 6, 9, 10, 11, 31, 32, 33, 1001}) {
    for (size_t offset = 0; offset < 4; ++offset) {
      std::vector<uint8_t> in(offset + 3 * pixels);
      for (size_t i = 0; i < in.size(); ++i) in[i] = uint8_t(i * 37 + 11);
      std::vector<uint8_t> out(offset + 3 * pixels + 16, kGuard);
      SwapRedAndBlue(in.data() + offset, out.data() + offset, pixels);
      for (size_t x = 0; x < pixels; ++x) {
        const uint8_t* source = in.data() + offset + 3 * x;
        const uint8_t* swapped = out.data() + offset + 3 * x;
        ASSERT_EQ(swapped[0], source[2]) << pixels << " pixels, offset " << offset << ", pixel " << x;
        ASSERT_EQ(swapped[1], source[1]) << pixels << " pixels, offset " << offset << ", pixel " << x;
        ASSERT_EQ(swapped[2], source[0]) << pixels << " pixels, offset " << offset << ", pixel " << x;
      }
      for (size_t i = 0; i < offset; ++i) ASSERT_EQ(out[i], kGuard) << "before, " << pixels << " pixels";
      for (size_t i = offset + 3 * pixels; i < out.size(); ++i) {
        ASSERT_EQ(out[i], kGuard) << "after, " << pixels << " pixels, offset " << offset;
      }
    }
  }
}

}  // namespace
}  // namespace glamora
