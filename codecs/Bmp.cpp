// Reading and writing BMP files: the information headers, palettes, bit fields
// and run-length codes, row by row into the bitmap.
#include "codecs/Bmp.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "codecs/ByteReader.h"
#include "codecs/RowProgress.h"

namespace glamora::codec {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kJpeg = 4, kPng = 5, kAlphaBitFields = 6 };

struct Bgr {
  uint8_t B = 0, G = 0, R = 0;
};
using Palette = std::array<Bgr, 256>;

// One colour channel of a bit-field pixel, widened to 8 bits by repeating its
// bits (5-bit 7 gives 57), as 5-5-5 and 5-6-5 pixels are commonly expanded.
class Channel {
 public:
  explicit Channel(uint32_t mask) : mask_(mask) {
    if (mask == 0) return;
    shift_ = std::countr_zero(mask);
    bits_ = std::bit_width(mask >> shift_);
    if (bits_ > 8) return;
    for (uint32_t v = 0; v < (1u << bits_); ++v) {
      uint32_t repeated = 0;
      int filled = 0;
      for (; filled < 8; filled += bits_) repeated = (repeated << bits_) | v;
      widened_[v] = uint8_t(repeated >> (filled - 8));
    }
  }
  uint8_t Of(uint32_t pixel) const {
    const uint32_t value = (pixel & mask_) >> shift_;
    return bits_ > 8 ? uint8_t(value >> (bits_ - 8)) : widened_[value & 0xFF];
  }
  bool Present() const { return mask_ != 0; }

 private:
  uint32_t mask_ = 0;
  int shift_ = 0;
  int bits_ = 0;
  std::array<uint8_t, 256> widened_{};
};

size_t SourceStride(int width, int bits) { return ((size_t(width) * size_t(bits) + 31) / 32) * 4; }
size_t PackedRowBytes(int width, int bits) { return (size_t(width) * size_t(bits) + 7) / 8; }

bool ReadPalette(Bytes data, const DibHeader& h, Palette& palette) {
  palette.fill(Bgr{});
  if (h.BitsPerPixel > 8) return true;
  const uint32_t used = std::min<uint32_t>(h.PaletteStored, 1u << h.BitsPerPixel);
  ByteReader r(data);
  if (!r.Seek(h.PaletteOffset)) return false;
  for (uint32_t i = 0; i < used && r.Has(size_t(h.PaletteEntrySize)); ++i) {
    palette[i].B = r.U8();
    palette[i].G = r.U8();
    palette[i].R = r.U8();
    if (h.PaletteEntrySize == 4) r.U8();
  }
  return true;
}

bool IsBlack(const Bgr& c) { return c.B == 0 && c.G == 0 && c.R == 0; }
bool IsWhite(const Bgr& c) { return c.B == 255 && c.G == 255 && c.R == 255; }

// Expands one stored row of palette indices (1, 2, 4 or 8 bits) to BGR.
void ExpandIndexed(const uint8_t* src, int width, int bits, const Palette& palette, uint8_t* dst) {
  const unsigned mask = (1u << bits) - 1;
  for (int x = 0; x < width; ++x) {
    const size_t bit = size_t(x) * bits;
    const unsigned index = (src[bit / 8] >> (8 - bits - bit % 8)) & mask;
    const Bgr& c = palette[index];
    dst[3 * x] = c.B;
    dst[3 * x + 1] = c.G;
    dst[3 * x + 2] = c.R;
  }
}

class BitFieldRow {
 public:
  BitFieldRow(const uint32_t masks[4], int bits) : r_(masks[0]), g_(masks[1]), b_(masks[2]), a_(masks[3]), bits_(bits) {}
  // Converts a row; returns true when some pixel has a non-zero alpha.
  bool Expand(const uint8_t* src, int width, uint8_t* dst, uint8_t* alpha) const {
    bool anyAlpha = false;
    for (int x = 0; x < width; ++x) {
      uint32_t pixel;
      if (bits_ == 16) {
        pixel = uint32_t(src[2 * x]) | uint32_t(src[2 * x + 1]) << 8;
      } else {
        const uint8_t* p = src + 4 * x;
        pixel = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
      }
      dst[3 * x] = b_.Of(pixel);
      dst[3 * x + 1] = g_.Of(pixel);
      dst[3 * x + 2] = r_.Of(pixel);
      if (alpha) {
        alpha[x] = a_.Of(pixel);
        anyAlpha |= alpha[x] != 0;
      }
    }
    return anyAlpha;
  }
  bool HasAlpha() const { return a_.Present(); }

 private:
  Channel r_, g_, b_, a_;
  int bits_;
};

PictureStatus DecodeUncompressed(Bytes data, const DibHeader& h, size_t pixelOffset, bool bilevel, bool keepAlpha,
                                 const Palette& palette, DibPicture& pic, const ProgressRecord& progress) {
  const size_t stride = SourceStride(h.Width, h.BitsPerPixel);
  const size_t lastRow = PackedRowBytes(h.Width, h.BitsPerPixel);
  // The padding of the last stored row may be missing.
  if (pixelOffset > data.size() || data.size() - pixelOffset < stride * size_t(h.Height - 1) + lastRow) {
    return PictureStatus::Damaged;
  }

  Bitmap& out = pic.Pixels;
  if (!out.Reset(h.Width, h.Height, bilevel ? PixelFormat::Bits1 : PixelFormat::Bits24)) return PictureStatus::TooLarge;
  if (bilevel) out.Palette() = {Rgb(palette[0].R, palette[0].G, palette[0].B), Rgb(palette[1].R, palette[1].G, palette[1].B)};

  uint32_t masks[4] = {h.Masks[0], h.Masks[1], h.Masks[2], h.Masks[3]};
  if (h.Compression == kRgb && h.BitsPerPixel == 16) {
    masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F, masks[3] = 0;
  } else if (h.Compression == kRgb && h.BitsPerPixel == 32) {
    masks[0] = 0x00FF0000, masks[1] = 0x0000FF00, masks[2] = 0x000000FF, masks[3] = 0xFF000000;
  }
  const BitFieldRow fields(masks, h.BitsPerPixel);
  std::vector<uint8_t> alpha;
  bool anyAlpha = false;
  if (keepAlpha && h.BitsPerPixel == 32 && fields.HasAlpha()) alpha.assign(size_t(h.Width) * size_t(h.Height), 0);

  RowProgress rows(progress, h.Height);
  for (int i = 0; i < h.Height; ++i) {
    const int y = h.TopDown ? i : h.Height - 1 - i;
    const uint8_t* src = data.data() + pixelOffset + stride * size_t(i);
    uint8_t* dst = out.Row(y);
    if (bilevel) {
      std::memcpy(dst, src, lastRow);
      if (h.Width % 8) dst[lastRow - 1] &= uint8_t(0xFF << (8 - h.Width % 8));
    } else if (h.BitsPerPixel <= 8) {
      ExpandIndexed(src, h.Width, h.BitsPerPixel, palette, dst);
    } else if (h.BitsPerPixel == 24) {
      std::memcpy(dst, src, size_t(h.Width) * 3);
    } else {
      uint8_t* alphaRow = alpha.empty() ? nullptr : alpha.data() + size_t(y) * size_t(h.Width);
      anyAlpha |= fields.Expand(src, h.Width, dst, alphaRow);
    }
    if (!rows.Row(i + 1)) return PictureStatus::Stopped;
  }
  if (anyAlpha) pic.Alpha = std::move(alpha);
  pic.End = std::min(data.size(), pixelOffset + stride * size_t(h.Height));
  return PictureStatus::Ok;
}

// Rows of an RLE picture take the background colour (palette entry 0) when
// the decoder first reaches them; the rows no code reaches, at the end.
class RleCanvas {
 public:
  RleCanvas(Bitmap& out, const DibHeader& h, const Bgr& background)
      : out_(out), h_(h), blank_(size_t(h.Width) * 3) {
    for (size_t i = 0; i < blank_.size(); i += 3) {
      blank_[i] = background.B;
      blank_[i + 1] = background.G;
      blank_[i + 2] = background.R;
    }
  }

  // The picture row of coded row y, made ready for pixels.
  uint8_t* Row(int64_t y) {
    for (; filled_ <= y && filled_ < h_.Height; ++filled_) {
      std::memcpy(out_.Row(PictureRow(filled_)), blank_.data(), blank_.size());
    }
    return out_.Row(PictureRow(y));
  }
  void Finish() { Row(h_.Height - 1); }

 private:
  int PictureRow(int64_t y) const { return h_.TopDown ? int(y) : h_.Height - 1 - int(y); }

  Bitmap& out_;
  const DibHeader& h_;
  std::vector<uint8_t> blank_;
  int64_t filled_ = 0;
};

// Walks the codes of an RLE8 or RLE4 picture: runs and absolute blocks of
// palette indices clipped to the row, ends of line, deltas and the end of the
// bitmap; rows are counted in coded order. Each pixel inside the picture goes
// to put(y, x, index), and rowDone(y) is told the rows finished; it returns
// false to stop. The codes must reach the last row or the end-of-bitmap code.
template <class Put, class RowDone>
PictureStatus WalkRle(ByteReader& r, const DibHeader& h, Put&& put, RowDone&& rowDone) {
  const bool four = h.Compression == kRle4;
  int64_t x = 0, y = 0;
  const auto pixel = [&](unsigned index) {
    if (x < h.Width && y < h.Height) put(y, x, index);
    ++x;
  };
  bool finished = false;
  while (!finished && y < h.Height) {
    if (!r.Has(2)) return PictureStatus::Damaged;
    const unsigned count = r.U8();
    const unsigned code = r.U8();
    if (count > 0) {
      const unsigned run = unsigned(std::min<int64_t>(count, std::max<int64_t>(h.Width - x, 0)));
      for (unsigned i = 0; i < run; ++i) pixel(four ? (i % 2 == 0 ? code >> 4 : code & 15) : code);
      x += count - run;
      continue;
    }
    switch (code) {
      case 0:  // end of line
        x = 0;
        ++y;
        if (!rowDone(std::min<int64_t>(y, h.Height))) return PictureStatus::Stopped;
        break;
      case 1:  // end of bitmap
        finished = true;
        break;
      case 2: {  // delta
        if (!r.Has(2)) return PictureStatus::Damaged;
        x += r.U8();
        y += r.U8();
        break;
      }
      default: {  // absolute block, padded to a 16-bit boundary
        const size_t bytes = four ? (code + 1) / 2 : code;
        Bytes block = r.Take(bytes);
        if (!r.Ok()) return PictureStatus::Damaged;
        for (unsigned i = 0; i < code && x < h.Width; ++i) {
          pixel(four ? (i % 2 == 0 ? block[i / 2] >> 4 : block[i / 2] & 15) : block[i]);
        }
        if (bytes % 2) r.Skip(1);
        if (!r.Ok()) return PictureStatus::Damaged;
        break;
      }
    }
  }
  // A picture whose last row ended with end-of-line may still carry the end-of-bitmap code.
  if (!finished && r.Has(2) && r.Rest()[0] == 0 && r.Rest()[1] == 1) r.Skip(2);
  return PictureStatus::Ok;
}

// RLE8 and RLE4. The codes are walked once without drawing, so that codes
// that stop early are found before the picture is allocated.
PictureStatus DecodeRle(Bytes data, const DibHeader& h, size_t pixelOffset, const Palette& palette, DibPicture& pic,
                        const ProgressRecord& progress) {
  ByteReader check(data);
  if (!check.Seek(pixelOffset)) return PictureStatus::Damaged;
  const PictureStatus complete =
      WalkRle(check, h, [](int64_t, int64_t, unsigned) {}, [](int64_t) { return true; });
  if (complete != PictureStatus::Ok) return complete;
  // Escapes skip pixels without data, so complete codes bound nothing: the file's size does.
  if (const PictureStatus size = CheckProportion(h.Width, h.Height, data.size()); size != PictureStatus::Ok) {
    return size;
  }

  Bitmap& out = pic.Pixels;
  if (!out.Reset(h.Width, h.Height)) return PictureStatus::TooLarge;
  RleCanvas canvas(out, h, palette[0]);
  RowProgress rows(progress, h.Height);
  ByteReader r(data);
  r.Seek(pixelOffset);
  const PictureStatus drawn = WalkRle(
      r, h,
      [&](int64_t y, int64_t x, unsigned index) {
        uint8_t* p = canvas.Row(y) + 3 * x;
        const Bgr& c = palette[index];
        p[0] = c.B;
        p[1] = c.G;
        p[2] = c.R;
      },
      [&](int64_t y) { return rows.Row(y); });
  if (drawn != PictureStatus::Ok) return drawn;
  canvas.Finish();
  if (!rows.Row(h.Height)) return PictureStatus::Stopped;
  pic.End = r.Position();
  return PictureStatus::Ok;
}

}  // namespace

int DpiFromPixelsPerMetre(int64_t pixelsPerMetre) {
  return int(std::clamp<int64_t>((pixelsPerMetre * 254 + 5000) / 10000, 0, 1'000'000));
}

int PixelsPerMetreFromDpi(int64_t dpi) { return int(std::clamp<int64_t>((dpi * 10000 + 127) / 254, 0, INT32_MAX)); }

BmpVersion BmpVersionOf(uint32_t headerSize) {
  if (headerSize == kCoreHeaderSize) return BmpVersion::Os2v1;
  if (headerSize < 40 || headerSize == 64) return BmpVersion::Os2v2;
  if (headerSize >= 124) return BmpVersion::Windows5;
  if (headerSize >= 108) return BmpVersion::Windows4;
  return BmpVersion::Windows3;
}

PictureStatus ReadDibHeader(Bytes data, size_t offset, bool iconImage, const DecodeLimits& limits,
                            DibHeader& header) {
  ByteReader r(data);
  if (!r.Seek(offset)) return PictureStatus::Damaged;
  DibHeader h;
  h.HeaderSize = r.U32LE();
  if (!r.Ok()) return PictureStatus::Damaged;
  int64_t width = 0, height = 0;
  if (h.HeaderSize == kCoreHeaderSize) {
    width = r.U16LE();
    height = r.U16LE();
    r.U16LE();  // planes
    h.BitsPerPixel = r.U16LE();
    h.PaletteEntrySize = 3;
  } else if (h.HeaderSize >= 16 && h.HeaderSize <= 4096) {
    // Fields past the stored header size read as zero (OS/2 2.x headers may stop early).
    std::array<uint8_t, 124> fields{};
    const size_t stored = std::min<size_t>(h.HeaderSize - 4, fields.size());
    if (!r.Read(fields.data(), stored)) return PictureStatus::Damaged;
    ByteReader f(Bytes(fields.data(), fields.size()));
    width = f.I32LE();
    height = f.I32LE();
    f.U16LE();  // planes
    h.BitsPerPixel = f.U16LE();
    h.Compression = f.U32LE();
    f.U32LE();  // image size
    h.PixelsPerMetreX = std::max(f.I32LE(), 0);
    h.PixelsPerMetreY = std::max(f.I32LE(), 0);
    h.PaletteStored = f.U32LE();
    f.U32LE();  // important colours
    const bool os2 = h.HeaderSize < 40 || h.HeaderSize == 64;
    // OS/2 uses 3 and 4 for Huffman and RLE24 codings, which are not read.
    if (os2 && h.Compression != kRgb && h.Compression != kRle8 && h.Compression != kRle4) {
      return PictureStatus::Unsupported;
    }
    if (h.HeaderSize >= 52 && !os2) {
      for (int i = 0; i < (h.HeaderSize >= 56 ? 4 : 3); ++i) h.Masks[i] = f.U32LE();
    }
  } else {
    return PictureStatus::Damaged;
  }
  if (!r.Ok()) return PictureStatus::Damaged;

  h.TopDown = height < 0;
  height = height < 0 ? -height : height;
  if (iconImage) height /= 2;
  if (const PictureStatus size = CheckSize(width, height, limits); size != PictureStatus::Ok) return size;
  h.Width = int(width);
  h.Height = int(height);

  size_t masksAfterHeader = 0;
  switch (h.Compression) {
    case kRgb:
      if (h.BitsPerPixel != 1 && h.BitsPerPixel != 2 && h.BitsPerPixel != 4 && h.BitsPerPixel != 8 &&
          h.BitsPerPixel != 16 && h.BitsPerPixel != 24 && h.BitsPerPixel != 32) {
        return PictureStatus::Damaged;
      }
      break;
    case kRle8:
      if (h.BitsPerPixel != 8) return PictureStatus::Damaged;
      break;
    case kRle4:
      if (h.BitsPerPixel != 4) return PictureStatus::Damaged;
      break;
    case kBitFields:
    case kAlphaBitFields:
      if (h.BitsPerPixel != 16 && h.BitsPerPixel != 32) return PictureStatus::Damaged;
      if (h.HeaderSize == 40) {
        const int count = h.Compression == kAlphaBitFields ? 4 : 3;
        ByteReader m(data);
        if (!m.Seek(offset + 40)) return PictureStatus::Damaged;
        for (int i = 0; i < count; ++i) h.Masks[i] = m.U32LE();
        if (!m.Ok()) return PictureStatus::Damaged;
        masksAfterHeader = size_t(count) * 4;
      }
      if (h.Compression == kBitFields && h.HeaderSize < 56) h.Masks[3] = 0;
      break;
    case kJpeg:
    case kPng:
      return PictureStatus::Unsupported;
    default:
      return PictureStatus::Damaged;
  }

  if (h.BitsPerPixel <= 8 && h.PaletteStored == 0) h.PaletteStored = 1u << h.BitsPerPixel;
  if (h.PaletteStored > 65536) return PictureStatus::Damaged;
  h.PaletteOffset = offset + h.HeaderSize + masksAfterHeader;
  h.PixelOffset = h.PaletteOffset + size_t(h.PaletteStored) * size_t(h.PaletteEntrySize);
  header = h;
  return PictureStatus::Ok;
}

PictureStatus DecodeDib(Bytes data, const DibHeader& header, size_t pixelOffset, DibUse use, DibPicture& picture,
                        const ProgressRecord& progress) {
  Palette palette;
  if (!ReadPalette(data, header, palette)) return PictureStatus::Damaged;
  const bool bilevel = use == DibUse::File && header.BitsPerPixel == 1 &&
                       ((IsBlack(palette[0]) && IsWhite(palette[1])) || (IsWhite(palette[0]) && IsBlack(palette[1])));
  DibPicture decoded;
  const PictureStatus status =
      header.Compression == kRle8 || header.Compression == kRle4
          ? DecodeRle(data, header, pixelOffset, palette, decoded, progress)
          : DecodeUncompressed(data, header, pixelOffset, bilevel, use == DibUse::IconImage, palette, decoded,
                               progress);
  if (status == PictureStatus::Ok) picture = std::move(decoded);
  return status;
}

bool ProbeBmp(Bytes head, uint64_t streamSize) {
  return streamSize > kFileHeaderSize && head.size() >= 2 && head[0] == 'B' && head[1] == 'M';
}

namespace {

// The file header's pixel offset when it is plausible, else the offset right after the palette.
size_t PixelOffsetOf(Bytes data, const DibHeader& h) {
  ByteReader r(data, 10);
  const size_t stored = r.U32LE();
  return r.Ok() && stored >= kFileHeaderSize + h.HeaderSize && stored < data.size() ? stored : h.PixelOffset;
}

PictureStatus DecodeBmpInto(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                            size_t& consumed) {
  if (!ProbeBmp(data, data.size())) return PictureStatus::Damaged;
  DibHeader h;
  if (const PictureStatus read = ReadDibHeader(data, kFileHeaderSize, false, params.Limits, h);
      read != PictureStatus::Ok) {
    return read;
  }
  DibPicture picture;
  if (const PictureStatus decoded = DecodeDib(data, h, PixelOffsetOf(data, h), DibUse::File, picture, progress);
      decoded != PictureStatus::Ok) {
    return decoded;
  }

  const bool bilevel = picture.Pixels.Format() == PixelFormat::Bits1;
  params.Width = h.Width;
  params.Height = h.Height;
  params.BitsPerSample = bilevel ? 1 : 8;
  params.SamplesPerPixel = bilevel ? 1 : 3;
  if (h.PixelsPerMetreX > 0 && h.PixelsPerMetreY > 0) {
    params.DpiX = DpiFromPixelsPerMetre(h.PixelsPerMetreX);
    params.DpiY = DpiFromPixelsPerMetre(h.PixelsPerMetreY);
  }
  params.BmpCompressed = h.Compression == kRle8 || h.Compression == kRle4;
  params.BmpHeader = BmpVersionOf(h.HeaderSize);
  consumed = picture.End;
  out = std::move(picture.Pixels);
  return PictureStatus::Ok;
}

void PutU16(uint8_t* at, uint32_t v) {
  at[0] = uint8_t(v);
  at[1] = uint8_t(v >> 8);
}
void PutU32(uint8_t* at, uint32_t v) {
  PutU16(at, v & 0xFFFF);
  PutU16(at + 2, v >> 16);
}

PictureStatus EncodeBmpInto(const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress,
                            Stream& out) {
  if (in.Empty()) return PictureStatus::NoPicture;
  Bitmap expanded;
  const Bitmap* source = &Pixels24(in, expanded);
  const int width = source->Width(), height = source->Height();
  const size_t stride = SourceStride(width, 24);
  constexpr size_t kHeaderBytes = kFileHeaderSize + 40;
  const uint64_t fileSize = kHeaderBytes + uint64_t(stride) * uint64_t(height);
  if (fileSize > UINT32_MAX) return PictureStatus::TooLarge;

  std::array<uint8_t, kHeaderBytes> header{};
  header[0] = 'B';
  header[1] = 'M';
  PutU32(&header[2], uint32_t(fileSize));
  PutU32(&header[10], uint32_t(kHeaderBytes));
  PutU32(&header[14], 40);
  PutU32(&header[18], uint32_t(width));
  PutU32(&header[22], uint32_t(height));
  PutU16(&header[26], 1);
  PutU16(&header[28], 24);
  PutU32(&header[30], kRgb);
  PutU32(&header[34], uint32_t(stride * size_t(height)));
  PutU32(&header[38], uint32_t(PixelsPerMetreFromDpi(std::max(params.DpiX, 0))));
  PutU32(&header[42], uint32_t(PixelsPerMetreFromDpi(std::max(params.DpiY, 0))));
  out.Write(header.data(), header.size());

  // Rows go out bottom first, their padding zeroed (a bitmap's own padding
  // bytes hold nothing defined).
  std::vector<uint8_t> row(stride, 0);
  RowProgress rows(progress, height);
  for (int i = 0; i < height; ++i) {
    std::memcpy(row.data(), source->Row(height - 1 - i), size_t(width) * 3);
    out.Write(row.data(), row.size());
    if (!rows.Row(i + 1)) return PictureStatus::Stopped;
  }
  return PictureStatus::Ok;
}

}  // namespace

PictureStatus InfoBmp(Bytes data, PictureInfo& info) {
  if (!ProbeBmp(data, data.size())) return PictureStatus::Damaged;
  DibHeader h;
  if (const PictureStatus read = ReadDibHeader(data, kFileHeaderSize, false, DecodeLimits{}, h);
      read != PictureStatus::Ok) {
    return read;
  }
  PictureInfo result;
  result.Width = h.Width;
  result.Height = h.Height;
  Palette palette;
  const bool bilevel = h.BitsPerPixel == 1 && ReadPalette(data, h, palette) &&
                       ((IsBlack(palette[0]) && IsWhite(palette[1])) || (IsWhite(palette[0]) && IsBlack(palette[1])));
  result.BitsPerSample = bilevel ? 1 : 8;
  result.SamplesPerPixel = bilevel ? 1 : 3;
  if (h.PixelsPerMetreX > 0 && h.PixelsPerMetreY > 0) {
    result.DpiX = DpiFromPixelsPerMetre(h.PixelsPerMetreX);
    result.DpiY = DpiFromPixelsPerMetre(h.PixelsPerMetreY);
  }
  result.Compressed = h.Compression == kRle8 || h.Compression == kRle4;
  result.BmpHeader = BmpVersionOf(h.HeaderSize);
  info = result;
  return PictureStatus::Ok;
}

PictureStatus DecodeBmp(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                        size_t& consumed) {
  return Reported(progress, [&] { return DecodeBmpInto(data, out, params, progress, consumed); });
}

PictureStatus EncodeBmp(const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress, Stream& out) {
  return ReportedWrite(progress, out, [&] { return EncodeBmpInto(in, params, progress, out); });
}

const Codec& BmpCodec() {
  static const Codec codec{"BMP", iftBmp, ProbeBmp, InfoBmp, DecodeBmp, EncodeBmp};
  return codec;
}

}  // namespace glamora::codec
