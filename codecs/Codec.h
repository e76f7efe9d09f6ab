#pragma once
// The shape every picture codec has: probe (does this data look like mine),
// info (size and depth without decoding pixels), decode and encode, and the
// picture file type ids they are known by.
//
// Contract shared by all codecs:
// - Decoders read only inside [data, data + size) and check the declared
//   picture size against params.Limits before allocating anything for it;
//   they allocate nothing of the picture's size before they have seen that
//   the data can hold it, and a picture whose data ends early is Damaged.
// - A decoder that fails returns the reason, sets the abort flag and leaves
//   `out` and `params` exactly as they were (it decodes into its own bitmap
//   and moves it into `out` at the end). It stops with Stopped when
//   progress.Aborted().
// - A successful decode sets `out` to 24 bits per pixel (1 bit for bilevel
//   pictures), fills params Width, Height, BitsPerSample, SamplesPerPixel,
//   DpiX, DpiY (when the file has a resolution), Orientation and its own
//   per-format fields, and sets `consumed` to the bytes the picture occupied.
//   The picture is as stored: turning it upright is the front's work.
// - Encoders take a 24-bit or 1-bit bitmap and write the coded picture to the
//   stream from its position as they go. One that fails sets the abort flag
//   and cuts the stream back to where it began.
#include <cstddef>
#include <cstdint>
#include <new>
#include <span>

#include "codecs/PictureStatus.h"
#include "imaging/core/Bitmap.h"
#include "imaging/core/ImgIOParams.h"
#include "imaging/core/Progress.h"
#include "imaging/core/Stream.h"

namespace glamora {

// Picture file type ids, as Params.FileType reports them.
enum ImageFileType : int32_t {
  iftUnknown = 0,
  iftTiff = 1,
  iftGif = 2,
  iftJpeg = 3,
  iftPcx = 4,
  iftBmp = 5,
  iftIcon = 6,
  iftCursor = 7,
  iftPng = 8,
  iftWmf = 9,
  iftEmf = 10,
  iftTarga = 11,
};

}  // namespace glamora

namespace glamora::codec {

using Bytes = std::span<const uint8_t>;

struct PictureInfo {
  int Width = 0;
  int Height = 0;
  int BitsPerSample = 8;
  int SamplesPerPixel = 3;
  int DpiX = 0;  // 0 when the file stores no resolution
  int DpiY = 0;
  int FrameCount = 1;  // pages or frames in the file
  int Orientation = 1;  // as the file records it (JPEG EXIF, TIFF tag); Width and Height are as stored

  // How the picture is coded, as a description of the file tells it. Each
  // codec sets the fields of its own format; the others keep these values.
  bool Interlaced = false;  // GIF, PNG
  bool Compressed = false;  // BMP, PCX and Targa run-length coding
  JpegColorSpace JpegColor = JpegColorSpace::YCbCr;
  TiffCompression TiffCompress = TiffCompression::None;
  BmpVersion BmpHeader = BmpVersion::Windows3;
};

// `head` holds the bytes from the picture's first byte on (as many as the
// caller has); streamSize is the size the content tests' size rules count,
// which for a picture inside a larger stream is the whole stream's.
using ProbeFn = bool (*)(Bytes head, uint64_t streamSize);
using InfoFn = PictureStatus (*)(Bytes data, PictureInfo& info);
using DecodeFn = PictureStatus (*)(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                                   size_t& consumed);
using EncodeFn = PictureStatus (*)(const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress,
                                   Stream& out);

struct Codec {
  const char* Name;  // "BMP", "JPEG", ...
  int32_t FileType;
  ProbeFn Probe;
  InfoFn Info;
  DecodeFn Decode;
  EncodeFn Encode;  // null when the format is read-only
};

// The picture an encoder writes from: `in` itself when it has 24 bits per
// pixel, else a 24-bit copy made in `scratch`.
inline const Bitmap& Pixels24(const Bitmap& in, Bitmap& scratch) {
  if (in.Format() == PixelFormat::Bits24) return in;
  scratch.Assign(in);
  scratch.ConvertTo24();
  return scratch;
}

// Runs a decode or encode step and turns how it ended into one status:
// running out of memory for a picture within the limits is TooLarge, a stream
// that cannot be written Unwritable, and a caller who asked to stop during the
// last report Stopped. Any failure sets the abort flag.
template <class Step>
PictureStatus Reported(const ProgressRecord& progress, Step&& step) {
  PictureStatus status = PictureStatus::Damaged;
  try {
    status = step();
  } catch (const std::bad_alloc&) {
    status = PictureStatus::TooLarge;
  } catch (const FileError&) {
    status = PictureStatus::Unwritable;
  }
  if (status == PictureStatus::Ok && progress.Aborted()) status = PictureStatus::Stopped;
  if (status != PictureStatus::Ok) progress.Abort();
  return status;
}

// Runs an encode step as Reported does; a failure cuts the stream back to the
// position it had, so that nothing of the picture stays behind.
template <class Step>
PictureStatus ReportedWrite(const ProgressRecord& progress, Stream& out, Step&& step) {
  const int64_t start = out.Position();
  const PictureStatus status = Reported(progress, step);
  if (status != PictureStatus::Ok) {
    try {
      out.Truncate(start);
    } catch (const FileError&) {
      // The caller discards a stream it could not write to anyway.
    }
  }
  return status;
}

// The status of a picture whose declared size is width × height: TooLarge
// beyond the limits, Damaged when a side is zero or negative, else Ok.
inline PictureStatus CheckSize(int64_t width, int64_t height, const DecodeLimits& limits) {
  if (width <= 0 || height <= 0) return PictureStatus::Damaged;
  return limits.Allow(width, height) ? PictureStatus::Ok : PictureStatus::TooLarge;
}

// Codings that can skip pixels without data (BMP run-length escapes, a GIF
// screen larger than its frames) let a file of a few bytes declare a picture
// of hundreds of megabytes. Such a picture is refused before its bitmap is
// allocated when it is larger than kPixelsAnyFileMayDeclare and than
// kMostPixelsPerFileByte for each byte of the file.
constexpr int64_t kPixelsAnyFileMayDeclare = int64_t(16) << 20;  // every ordinary picture stays within this
// LZW codes are at most 12 bits and stand for at most 4096 pixels each, and a
// run-length code gives at most 255 pixels for two bytes: no data gives more.
constexpr int64_t kMostPixelsPerFileByte = 4096;

// TooLarge when width × height is out of all proportion to a file of
// fileBytes bytes, else Ok.
inline PictureStatus CheckProportion(int64_t width, int64_t height, size_t fileBytes) {
  const int64_t pixels = width * height;  // sides already within the limits
  const bool beyondData = uint64_t(pixels) > uint64_t(kMostPixelsPerFileByte) * uint64_t(fileBytes);
  return pixels > kPixelsAnyFileMayDeclare && beyondData ? PictureStatus::TooLarge : PictureStatus::Ok;
}

}  // namespace glamora::codec
