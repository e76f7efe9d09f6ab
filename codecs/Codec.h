#pragma once
// The shape every picture codec has: probe (does this data look like mine),
// info (size and depth without decoding pixels), decode and encode.
//
// Contract shared by all codecs:
// - Decoders read only inside [data, data + size) and check the declared
//   picture size with SizeWithinLimits before allocating anything for it.
// - A decoder that fails returns false and leaves `out` and `params` exactly
//   as they were (it decodes into its own bitmap and moves it into `out` at
//   the end). It stops early, returning false, when progress.Aborted().
// - A successful decode sets `out` to 24 bits per pixel (1 bit for bilevel
//   pictures), fills params Width, Height, BitsPerSample, SamplesPerPixel,
//   DpiX, DpiY (when the file has a resolution) and its own per-format
//   fields, and sets `consumed` to the bytes the picture occupied.
// - Encoders take a 24-bit or 1-bit bitmap, append the coded picture to `out`
//   and return false (out unchanged) when they cannot.
#include <cstddef>
#include <cstdint>
#include <new>
#include <span>
#include <vector>

#include "imaging/core/Bitmap.h"
#include "imaging/core/ImgIOParams.h"
#include "imaging/core/Progress.h"

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
};

using ProbeFn = bool (*)(Bytes data);
using InfoFn = bool (*)(Bytes data, PictureInfo& info);
using DecodeFn = bool (*)(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                          size_t& consumed);
using EncodeFn = bool (*)(const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress,
                          std::vector<uint8_t>& out);

struct Codec {
  const char* Name;  // "BMP", "JPEG", ...
  int FileType;      // the picture front's type id
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

// Runs a decode or encode step; a failure, running out of memory for a
// picture within the limits included, sets the abort flag.
template <class Step>
bool Reported(const ProgressRecord& progress, Step&& step) {
  try {
    if (step()) return true;
  } catch (const std::bad_alloc&) {
  }
  progress.Abort();
  return false;
}

// Runs an encode step that appends to `out` as Reported does; a failure
// takes `out` back to the size it had, so that it ends as it began.
template <class Step>
bool ReportedAppend(const ProgressRecord& progress, std::vector<uint8_t>& out, Step&& step) {
  const size_t before = out.size();
  if (Reported(progress, step)) return true;
  out.resize(before);
  return false;
}

}  // namespace glamora::codec
