// Bitmap memory: rows whose bytes after the last whole pixel are zero, and
// pixel buffers aligned for vector loads and huge pages.
#include "imaging/core/Bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace glamora {
namespace {

// True when every byte of every row from `from` to the stride is zero.
bool TailsAreZero(const Bitmap& b, size_t from) {
  for (int y = 0; y < b.Height(); ++y) {
    for (size_t i = from; i < b.Stride(); ++i) {
      if (b.Row(y)[i] != 0) return false;
    }
  }
  return true;
}

TEST(Bitmap, RowTailsAreZeroEvenWhenTheMemoryIsKept) {
  struct Case {
    int Width;
    PixelFormat Format;
    size_t Used;  // bytes of whole pixels
  };
  // 24-bit: 15 of 16 bytes; 8-bit: 3 of 4; 1-bit: one whole byte of 4, the
  // second holding two pixels.
  for (const Case c : {Case{5, PixelFormat::Bits24, 15}, Case{3, PixelFormat::Bits8, 3},
                       Case{10, PixelFormat::Bits1, 1}}) {
    Bitmap b(c.Width, 3, c.Format);
    EXPECT_TRUE(TailsAreZero(b, c.Used)) << c.Width;
    // Scribbled over, then reset to the same byte size: the memory is kept
    // and the tails are cleared again.
    std::memset(b.Bits(), 0xFF, b.ByteSize());
    const uint8_t* before = b.Bits();
    ASSERT_TRUE(b.Reset(c.Width, 3, c.Format));
    EXPECT_EQ(b.Bits(), before) << c.Width;
    EXPECT_TRUE(TailsAreZero(b, c.Used)) << c.Width;
    // Narrowed by SetSize: the copied rows bring no bytes past the new width.
    std::memset(b.Bits(), 0xFF, b.ByteSize());
    ASSERT_TRUE(b.SetSize(c.Width - 1, 2));
    const size_t used = size_t(c.Width - 1) * size_t(c.Format) / 8;
    EXPECT_TRUE(TailsAreZero(b, used)) << c.Width;
  }
}

TEST(Bitmap, PixelsAreAlignedAndCopiesStandAlone) {
  // Small pictures on 64 bytes; large ones on the 2 MB of a huge page.
  const Bitmap small(7, 5);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(small.Bits()) % 64, 0u);
  Bitmap large(3000, 2000);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(large.Bits()) % (uintptr_t(2) << 20), 0u);
  large.Fill(Rgb(1, 2, 3));
  Bitmap copy = large;
  EXPECT_NE(copy.Bits(), large.Bits());
  EXPECT_TRUE(copy.SameContent(large));
  copy.SetPixel(2999, 1999, clWhite);
  EXPECT_FALSE(copy.SameContent(large));
  EXPECT_EQ(large.Pixel(2999, 1999), Rgb(1, 2, 3));
}

TEST(Bitmap, ReshapingKeepsTheBytesWhereTheyLay) {
  // Heap to heap, heap to a mapping, a mapping to a larger one (past its
  // last huge page) and to a smaller size.
  struct Case {
    int FromWidth, FromHeight, ToWidth, ToHeight;
  };
  for (const Case c : {Case{5, 3, 9, 4}, Case{100, 100, 1500, 1000}, Case{1500, 1000, 2500, 1400},
                       Case{1500, 1000, 700, 20}}) {
    Bitmap b(c.FromWidth, c.FromHeight);
    for (size_t i = 0; i < b.ByteSize(); ++i) b.Bits()[i] = uint8_t(i * 7 + i / 251);
    const size_t before = b.ByteSize();
    ASSERT_TRUE(b.Reshape(c.ToWidth, c.ToHeight));
    EXPECT_EQ(b.Width(), c.ToWidth);
    EXPECT_EQ(b.Height(), c.ToHeight);
    EXPECT_EQ(b.Stride(), Bitmap::StrideFor(c.ToWidth, PixelFormat::Bits24));
    EXPECT_EQ(b.ByteSize(), b.Stride() * size_t(c.ToHeight));
    const size_t kept = std::min(before, b.ByteSize());
    size_t differing = 0;
    for (size_t i = 0; i < kept; ++i) differing += b.Bits()[i] != uint8_t(i * 7 + i / 251);
    EXPECT_EQ(differing, 0u) << c.FromWidth << " to " << c.ToWidth;
    if (b.ByteSize() >= PixelBuffer::kMappedFrom) {
      EXPECT_EQ(reinterpret_cast<uintptr_t>(b.Bits()) % (uintptr_t(2) << 20), 0u) << c.ToWidth;
    }
    // Every byte may be written, and the padding is zero once cleared.
    std::memset(b.Bits(), 0xFF, b.ByteSize());
    b.ClearRowTails();
    EXPECT_TRUE(TailsAreZero(b, 3 * size_t(c.ToWidth))) << c.ToWidth;
  }
  Bitmap b(4, 4);
  EXPECT_FALSE(b.Reshape(int(PictureLimits::kMaxSide) + 1, 1));
  EXPECT_EQ(b.Width(), 4);
}

}  // namespace
}  // namespace glamora
