#pragma once
// The parameter record of the picture input/output front: what the last load
// read and what the next save writes. Codecs read and fill it.
#include <algorithm>
#include <cstdint>
#include <string>

#include "imaging/core/Bitmap.h"
#include "imaging/core/Color.h"

namespace glamora {

// Stand-ins for the LZW coder hooks: GIF and TIFF LZW data is coded only when
// the matching hook is installed (the program installs them at start-up).
struct LzwHooks {
  bool GifDecoder = false;
  bool GifEncoder = false;
  bool TiffDecoder = false;
  bool TiffEncoder = false;
};

// Process-wide defaults copied into every parameter record when it is reset.
LzwHooks& DefaultLzwHooks();
// Installs the program's LZW coders as the GIF decoder, GIF encoder and TIFF
// decoder; StartPictureIO does, once at start.
void InstallLzwCoders();

// The largest picture a decoder accepts. A declared size beyond them is
// refused before anything is allocated for it; the defaults are the largest
// bitmap the program can hold at all.
struct DecodeLimits {
  int64_t MaxSide = PictureLimits::kMaxSide;
  int64_t MaxPixels = PictureLimits::kMaxPixels;

  // True when a width × height picture may be decoded.
  bool Allow(int64_t width, int64_t height) const {
    return width >= 0 && height >= 0 && width <= MaxSide && height <= MaxSide && width * height <= MaxPixels &&
           SizeWithinLimits(width, height);
  }
  // The longest file a picture within the limits can need: eight bytes a
  // pixel (16-bit RGBA, the widest sample layout read) and room for what
  // surrounds the pixels. Longer files are refused unread.
  uint64_t MaxFileBytes() const { return uint64_t(std::max<int64_t>(MaxPixels, 0)) * 8 + (uint64_t(16) << 20); }

  bool operator==(const DecodeLimits&) const = default;
};

// What the window uses for faces, hairstyles and gallery pictures, which are
// small (a face is 228 × 314): a file declaring more than 16 megapixels is
// refused at once instead of taking gigabytes to open.
inline constexpr DecodeLimits kWindowPictureLimits{PictureLimits::kMaxSide, 16'000'000};

enum class JpegColorSpace : uint8_t { Rgb = 0, Grey = 1, YCbCr = 2, Cmyk = 3, Ycck = 4 };
enum class JpegDctMethod : uint8_t { IntegerSlow = 0, IntegerFast = 1, Float = 2 };
enum class JpegScale : uint8_t { Automatic = 0, Full = 1, Half = 2, Quarter = 3, Eighth = 4 };

// CcittFax3 is one-dimensional Group 3 coding, CcittFax3TwoD the same with
// two-dimensional rows; OldJpeg the first TIFF JPEG scheme (read only, written
// as Jpeg); Other any compression not named here.
enum class TiffCompression : uint8_t {
  None,
  PackBits,
  Lzw,
  Deflate,
  Jpeg,
  CcittFax3,
  CcittFax4,
  CcittRle,
  CcittFax3TwoD,
  OldJpeg,
  Other,
};

// The information header of a BMP file: Windows 3 (40 bytes, also the 52- and
// 56-byte forms with colour masks), Windows 4 (108) and 5 (124), OS/2 1.x
// (12-byte core header) and OS/2 2.x (16 to 64 bytes).
enum class BmpVersion : uint8_t { Windows3, Windows4, Windows5, Os2v1, Os2v2 };

struct TImgIOParams {
  int32_t BitsPerSample = 8;
  int32_t SamplesPerPixel = 3;
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t DpiX = 96;
  int32_t DpiY = 96;
  // The orientation the camera recorded (1..8, see Orientation.h), as the
  // file states it: the EXIF Orientation of a JPEG, the Orientation tag of a
  // TIFF; 1 for files that state none.
  int32_t Orientation = 1;

  LzwHooks Lzw = DefaultLzwHooks();

  // GIF
  std::string GifVersion = "GIF89a";
  TColor GifBackground = clBlack;
  TColor GifTransparentColor = clBlack;
  bool GifHasTransparency = false;
  int32_t GifImageCount = 0;
  bool GifInterlaced = false;

  // JPEG
  JpegColorSpace JpegColor = JpegColorSpace::YCbCr;
  int32_t JpegQuality = 50;
  JpegDctMethod JpegDct = JpegDctMethod::IntegerSlow;
  bool JpegOptimalHuffman = false;
  int32_t JpegSmoothing = 0;
  bool JpegProgressive = false;
  JpegScale JpegDecodeScale = JpegScale::Full;

  // PCX
  int32_t PcxVersion = 5;
  int32_t PcxCompression = 1;

  // TIFF
  TiffCompression TiffCompress = TiffCompression::None;
  int32_t TiffPageCount = 0;
  int32_t TiffPage = 0;

  // PNG
  bool PngHasBackground = false;
  TColor PngBackground = clWhite;
  bool PngInterlaced = false;
  int32_t PngCompression = 6;

  // Targa
  bool TgaCompressed = false;
  std::string TgaDescription;

  // BMP
  bool BmpCompressed = false;
  BmpVersion BmpHeader = BmpVersion::Windows3;

  std::string FileName;
  int32_t FileType = 0;

  // What decoders accept; set by the owner, not by loads, and kept by Reset.
  DecodeLimits Limits;

  // Restores every picture parameter; the LZW hooks come from the
  // process-wide defaults.
  void Reset(int width = 0, int height = 0, int dpiX = 96, int dpiY = 96) {
    const DecodeLimits limits = Limits;
    *this = TImgIOParams{};
    Width = width;
    Height = height;
    DpiX = dpiX;
    DpiY = dpiY;
    Lzw = DefaultLzwHooks();
    Limits = limits;
  }
};

}  // namespace glamora
