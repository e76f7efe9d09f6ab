#pragma once
// The one bitmap type of the program: pixels addressed row by row, top row
// first, every row padded to a multiple of 4 bytes. 24-bit pixels are stored
// blue, green, red; 1-bit and 8-bit pixels index the palette (1-bit rows are
// packed most significant bit first). The bytes of a row after its last
// whole pixel (the padding, and a partly used last byte of a 1-bit row) are
// zero from the start, so that rows read back and written out the same.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "imaging/core/Color.h"
#include "imaging/core/PixelBuffer.h"

namespace glamora {

enum class PixelFormat : uint8_t { Bits1 = 1, Bits8 = 8, Bits24 = 24 };

// Largest picture any decoder or operation will allocate.
struct PictureLimits {
  static constexpr int64_t kMaxSide = 30000;
  static constexpr int64_t kMaxPixels = 200'000'000;
};

// True when a width × height picture may be allocated.
bool SizeWithinLimits(int64_t width, int64_t height);

class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height, PixelFormat format = PixelFormat::Bits24);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  PixelFormat Format() const { return format_; }
  int BitsPerPixel() const { return static_cast<int>(format_); }
  size_t Stride() const { return stride_; }
  static size_t StrideFor(int width, PixelFormat format);

  uint8_t* Row(int y) { return data_.data() + size_t(y) * stride_; }
  const uint8_t* Row(int y) const { return data_.data() + size_t(y) * stride_; }
  uint8_t* Bits() { return data_.data(); }
  const uint8_t* Bits() const { return data_.data(); }
  size_t ByteSize() const { return data_.size(); }

  // Makes a width × height bitmap of the given format whose pixels are not
  // cleared (the constructor likewise): the caller writes every one, or
  // fills the bitmap first. The memory is kept when the byte size stays.
  // Returns false, leaving the bitmap as it was, for a size over the limits.
  bool Reset(int width, int height, PixelFormat format = PixelFormat::Bits24);

  // Gives the bitmap a new size (same format) while its memory keeps the
  // bytes it holds from the start: the old rows stay where they lay, which
  // is no longer where the rows of the same number are. For operations that
  // rearrange a picture within its own memory: a large picture grows without
  // its bytes being copied or fresh memory being touched. Bytes past the old
  // ones, row padding included, are unspecified until ClearRowTails. False,
  // leaving the bitmap as it was, for a size over the limits.
  bool Reshape(int width, int height);
  // Zeroes the bytes of every row after its last whole pixel.
  void ClearRowTails();

  // Changes the size keeping the overlapping top-left part; new pixels take
  // the fill colour (24-bit) or palette index 0. False for a size over the limits.
  bool SetSize(int width, int height, TColor fill = clBlack);

  // Converts to 24 bits per pixel in place (palette pictures are expanded).
  void ConvertTo24();

  // Every pixel the colour (24-bit) or palette index 0.
  void Fill(TColor color);
  TColor Pixel(int x, int y) const;  // for tests and probes, not for loops
  void SetPixel(int x, int y, TColor color);

  // Palette of 1-bit and 8-bit bitmaps, entries as TColor.
  std::vector<TColor>& Palette() { return palette_; }
  const std::vector<TColor>& Palette() const { return palette_; }

  // Exact copy of size, format, palette and pixels (the change hook is not copied).
  void Assign(const Bitmap& other);
  bool SameContent(const Bitmap& other) const;

  // Picture controls draw this colour see-through when Transparent is set.
  bool Transparent = false;
  TColor TransparentColor = clWhite;

  // Called by Changed(); the control showing the bitmap repaints.
  std::function<void()> OnChange;
  void Changed() {
    if (OnChange) OnChange();
  }

 private:
  int width_ = 0;
  int height_ = 0;
  PixelFormat format_ = PixelFormat::Bits24;
  size_t stride_ = 0;
  PixelBuffer data_;
  std::vector<TColor> palette_;
};

}  // namespace glamora
