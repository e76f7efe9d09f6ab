// Bitmap sizes, conversion to 24 bits, filling and pixel access.
#include "imaging/core/Bitmap.h"

#include <algorithm>
#include <cstring>

namespace glamora {

bool SizeWithinLimits(int64_t width, int64_t height) {
  return width >= 0 && height >= 0 && width <= PictureLimits::kMaxSide &&
         height <= PictureLimits::kMaxSide && width * height <= PictureLimits::kMaxPixels;
}

size_t Bitmap::StrideFor(int width, PixelFormat format) {
  const size_t bits = size_t(std::max(width, 0)) * size_t(format);
  return ((bits + 31) / 32) * 4;
}

Bitmap::Bitmap(int width, int height, PixelFormat format) { Reset(width, height, format); }

bool Bitmap::Reset(int width, int height, PixelFormat format) {
  if (!SizeWithinLimits(width, height)) return false;
  const size_t stride = StrideFor(width, format);
  if (data_.size() != stride * size_t(height)) data_ = PixelBuffer(stride * size_t(height));
  width_ = width;
  height_ = height;
  format_ = format;
  stride_ = stride;
  ClearRowTails();
  palette_.clear();
  if (format == PixelFormat::Bits1) palette_ = {clBlack, clWhite};
  if (format == PixelFormat::Bits8) {
    palette_.resize(256);
    for (int i = 0; i < 256; ++i) palette_[i] = Rgb(i, i, i);
  }
  return true;
}

bool Bitmap::Reshape(int width, int height) {
  if (!SizeWithinLimits(width, height)) return false;
  const size_t stride = StrideFor(width, format_);
  data_.Resize(stride * size_t(height));
  width_ = width;
  height_ = height;
  stride_ = stride;
  return true;
}

bool Bitmap::SetSize(int width, int height, TColor fill) {
  if (width == width_ && height == height_) return true;
  if (!SizeWithinLimits(width, height)) return false;
  Bitmap resized;
  resized.Reset(width, height, format_);
  resized.palette_ = palette_;
  resized.Fill(fill);
  const int rows = std::min(height, height_);
  const size_t bytes = std::min(StrideFor(std::min(width, width_), format_), std::min(stride_, resized.stride_));
  for (int y = 0; y < rows; ++y) std::memcpy(resized.Row(y), Row(y), bytes);
  resized.ClearRowTails();
  width_ = width;
  height_ = height;
  stride_ = resized.stride_;
  data_ = std::move(resized.data_);
  return true;
}

void Bitmap::ClearRowTails() {
  const size_t used = size_t(width_) * size_t(format_) / 8;
  if (used >= stride_) return;
  for (int y = 0; y < height_; ++y) std::memset(Row(y) + used, 0, stride_ - used);
}

void Bitmap::ConvertTo24() {
  if (format_ == PixelFormat::Bits24) return;
  Bitmap converted(width_, height_, PixelFormat::Bits24);
  for (int y = 0; y < height_; ++y) {
    const uint8_t* src = Row(y);
    uint8_t* dst = converted.Row(y);
    for (int x = 0; x < width_; ++x) {
      const unsigned index = format_ == PixelFormat::Bits8 ? src[x] : (src[x >> 3] >> (7 - (x & 7))) & 1u;
      const TColor c = index < palette_.size() ? palette_[index] : clBlack;
      dst[3 * x] = BlueOf(c);
      dst[3 * x + 1] = GreenOf(c);
      dst[3 * x + 2] = RedOf(c);
    }
  }
  format_ = PixelFormat::Bits24;
  stride_ = converted.stride_;
  data_ = std::move(converted.data_);
  palette_.clear();
}

void Bitmap::Fill(TColor color) {
  color = ResolveColor(color);
  if (format_ != PixelFormat::Bits24) {
    if (data_.size()) std::memset(data_.data(), 0, data_.size());
    return;
  }
  const uint8_t b = BlueOf(color), g = GreenOf(color), r = RedOf(color);
  for (int y = 0; y < height_; ++y) {
    uint8_t* p = Row(y);
    for (int x = 0; x < width_; ++x, p += 3) {
      p[0] = b;
      p[1] = g;
      p[2] = r;
    }
  }
}

TColor Bitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return clBlack;
  const uint8_t* row = Row(y);
  switch (format_) {
    case PixelFormat::Bits24: return Rgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    case PixelFormat::Bits8: return row[x] < palette_.size() ? palette_[row[x]] : clBlack;
    case PixelFormat::Bits1: {
      const unsigned index = (row[x >> 3] >> (7 - (x & 7))) & 1u;
      return index < palette_.size() ? palette_[index] : clBlack;
    }
  }
  return clBlack;
}

void Bitmap::SetPixel(int x, int y, TColor color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || format_ != PixelFormat::Bits24) return;
  uint8_t* p = Row(y) + 3 * x;
  p[0] = BlueOf(color);
  p[1] = GreenOf(color);
  p[2] = RedOf(color);
}

void Bitmap::Assign(const Bitmap& other) {
  if (this == &other) return;
  width_ = other.width_;
  height_ = other.height_;
  format_ = other.format_;
  stride_ = other.stride_;
  data_ = other.data_;
  palette_ = other.palette_;
  Transparent = other.Transparent;
  TransparentColor = other.TransparentColor;
}

bool Bitmap::SameContent(const Bitmap& other) const {
  return width_ == other.width_ && height_ == other.height_ && format_ == other.format_ &&
         data_.size() == other.data_.size() &&
         (data_.size() == 0 || std::memcmp(data_.data(), other.data_.data(), data_.size()) == 0) &&
         (format_ == PixelFormat::Bits24 || palette_ == other.palette_);
}

}  // namespace glamora
