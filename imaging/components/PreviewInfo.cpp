// The preview's five lines, worked out from a file and what its decoder tells.
#include "imaging/components/PreviewInfo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "codecs/Codec.h"

namespace glamora {

namespace {

const char* TiffCompressionText(TiffCompression compression) {
  switch (compression) {
    case TiffCompression::None: return " Uncompressed";
    case TiffCompression::CcittRle: return " Huffman";
    case TiffCompression::CcittFax3: return " Group 3 Fax";
    case TiffCompression::CcittFax3TwoD: return " Group 3 Fax 2D";
    case TiffCompression::CcittFax4: return " Group 4 Fax";
    case TiffCompression::Lzw: return " LZW";
    case TiffCompression::OldJpeg: return " Jpeg v.5";
    case TiffCompression::Jpeg: return " Jpeg";
    case TiffCompression::PackBits: return " PackBits RLE";
    case TiffCompression::Deflate: return " Deflate";
    case TiffCompression::Other: break;
  }
  return "";
}

const char* JpegColourText(JpegColorSpace space) {
  switch (space) {
    case JpegColorSpace::Grey: return " Gray level";
    case JpegColorSpace::YCbCr: return " YCbCr";
    case JpegColorSpace::Cmyk: return " CMYK";
    case JpegColorSpace::Ycck: return " YCbCrK";
    case JpegColorSpace::Rgb: break;
  }
  return "";
}

const char* BmpVersionText(BmpVersion version) {
  switch (version) {
    case BmpVersion::Windows3: return " ver.3";
    case BmpVersion::Windows4: return " ver.4";
    case BmpVersion::Windows5: return " ver.5";
    case BmpVersion::Os2v1: return " OS/2 v.1";
    case BmpVersion::Os2v2: return " OS/2 v.2";
  }
  return "";
}

// ((W × d + 31) div 32 × 4) × H × frames, with d = 1 for one-bit pictures
// and 24 otherwise; kilobytes through floating point where the bytes would
// not fit 64 bits.
std::string MemoryText(const TImgIOParams& params, int frames) {
  const uint64_t width = uint64_t(std::max(params.Width, 0));
  const uint64_t height = uint64_t(std::max(params.Height, 0));
  const uint64_t depth = params.SamplesPerPixel == 1 && params.BitsPerSample == 1 ? 1 : 24;
  const uint64_t rowBytes = (width * depth + 31) / 32 * 4;
  uint64_t bytes = 0;
  if (!__builtin_mul_overflow(rowBytes, height, &bytes) && !__builtin_mul_overflow(bytes, uint64_t(frames), &bytes)) {
    return ByteSizeText(bytes);
  }
  char text[64];
  std::snprintf(text, sizeof text, "%.0Lf Kb", std::floor(static_cast<long double>(rowBytes) * height * frames / 1024));
  return text;
}

}  // namespace

std::string ByteSizeText(uint64_t bytes) {
  return bytes > 1023 ? std::to_string(bytes / 1024) + " Kb" : std::to_string(bytes) + " bytes";
}

std::string PowerOfTwoText(int64_t bits) {
  bits = std::max<int64_t>(bits, 0);
  if (bits < 64) return std::to_string(uint64_t(1) << bits);
  // Sample layouts no picture has; a header may still declare them.
  if (bits > 4096) return "2^" + std::to_string(bits);
  std::string digits = "1";  // least significant first
  for (int64_t i = 0; i < bits; ++i) {
    int carry = 0;
    for (char& d : digits) {
      const int v = (d - '0') * 2 + carry;
      d = char('0' + v % 10);
      carry = v / 10;
    }
    if (carry) digits += char('0' + carry);
  }
  return std::string(digits.rbegin(), digits.rend());
}

int FrameCountOf(const TImgIOParams& params) {
  if (params.FileType == iftGif) return std::max(params.GifImageCount, 1);
  if (params.FileType == iftTiff) return std::max(params.TiffPageCount, 1);
  return 1;
}

std::string CodingDetail(const TImgIOParams& params) {
  switch (params.FileType) {
    case iftTiff: return TiffCompressionText(params.TiffCompress);
    case iftGif: return params.GifInterlaced ? " Interlaced" : "";
    case iftPng: return params.PngInterlaced ? " Interlaced" : "";
    case iftJpeg: return JpegColourText(params.JpegColor);
    case iftPcx: return params.PcxCompression == 0 ? " Uncompressed" : "";
    case iftBmp: return BmpVersionText(params.BmpHeader);
    case iftTarga: return params.TgaCompressed ? " Compressed" : " Uncompressed";
    default: return "";
  }
}

PreviewInfo DescribePreview(const TImgIOParams& params, uint64_t fileSize, TMsgLanguage language,
                            const FormatTable& formats) {
  const int frames = FrameCountOf(params);
  PreviewInfo info;
  info.Size = std::to_string(params.Width) + " x " + std::to_string(params.Height) + " pixel";
  if (frames > 1) info.Size += " , " + std::to_string(frames) + " frames";

  const int64_t bits = int64_t(params.SamplesPerPixel) * params.BitsPerSample;
  const std::string count =
      params.SamplesPerPixel == 4 && params.BitsPerSample == 8 ? "16777216" : PowerOfTwoText(bits);
  info.Colours = count + " " + std::string(Msg(kMsgColors, language)) + " (" + std::to_string(bits) + " bit)";

  info.Resolution = std::to_string(params.DpiX) + " x " + std::to_string(params.DpiY) + " dpi";

  if (const FileFormat* format = formats.FindById(params.FileType)) {
    std::string extension = format->Extensions.substr(0, format->Extensions.find(';'));
    for (char& c : extension) c = char(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    info.Format = format->Description + " (" + extension + ")" + CodingDetail(params);
  }

  info.FileAndMemory = "File: " + ByteSizeText(fileSize) + "   Mem: " + MemoryText(params, frames);
  return info;
}

}  // namespace glamora
