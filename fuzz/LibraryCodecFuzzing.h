#pragma once
// The libFuzzer body shared by the library-backed codecs (JPEG, PNG, GIF,
// TIFF): probe, info, decode with options taken from the input's last byte,
// and a round trip through the encoder of what was decoded. Properties that
// must hold trap.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "codecs/Codec.h"
#include "imaging/core/Orientation.h"

namespace glamora::fuzz {

inline void Require(bool holds) {
  if (!holds) __builtin_trap();
}

struct LibraryFuzzCase {
  const codec::Codec& Codec;
  // Decoding and encoding parameters for the options byte and the header.
  std::function<void(TImgIOParams& params, uint8_t options, const codec::PictureInfo& info)> Configure;
  // True when decoding with these params must fail (a missing LZW hook).
  std::function<bool(const TImgIOParams& params)> MustFail;
  // The size the decoder must give; null when it cannot be told from the header.
  std::function<bool(const codec::PictureInfo& info, const TImgIOParams& params, const Bitmap& out)> ExpectedSize;
  // True when the round trip must give the decoded picture back exactly.
  std::function<bool(const TImgIOParams& params)> Lossless;
};

inline int FuzzLibraryCodec(const LibraryFuzzCase& fuzz, const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t options = data[size - 1];
  const codec::Bytes bytes(data, size - 1);
  const codec::Codec& codec = fuzz.Codec;
  codec.Probe(bytes, bytes.size());

  // Pictures that declare a huge size only make the run slow.
  codec::PictureInfo info;
  const bool described = codec.Info(bytes, info) == PictureStatus::Ok;
  if (described && int64_t(info.Width) * info.Height > (int64_t(1) << 22)) return 0;

  TImgIOParams params;
  params.Lzw = LzwHooks{true, true, true, true};
  params.Limits.MaxPixels = int64_t(1) << 22;
  fuzz.Configure(params, options, info);
  const bool abortAtOnce = (options & 1) != 0;
  Bitmap out(2, 2);
  const Bitmap before = out;
  const TImgIOParams paramsBefore = params;
  bool aborting = abortAtOnce;
  ProgressRecord progress;
  progress.Aborting = &aborting;
  size_t consumed = 0;
  const bool decoded = codec.Decode(bytes, out, params, progress, consumed) == PictureStatus::Ok;
  if (!decoded) {
    Require(out.SameContent(before) && aborting && params.Width == paramsBefore.Width &&
            params.Height == paramsBefore.Height && params.DpiX == paramsBefore.DpiX);
    return 0;
  }
  Require(!abortAtOnce && !fuzz.MustFail(paramsBefore));
  Require(described && SizeWithinLimits(out.Width(), out.Height()) && !out.Empty());
  Require(params.Width == out.Width() && params.Height == out.Height() && consumed <= bytes.size());
  if (fuzz.ExpectedSize) Require(fuzz.ExpectedSize(info, paramsBefore, out));
  // The orientation the file records is one of the eight, and the picture
  // turned upright by it has its sides as that orientation says.
  Require(params.Orientation >= 1 && params.Orientation <= 8);
  const Bitmap upright = Oriented(out, params.Orientation);
  const bool swapped = OrientationSwapsSides(params.Orientation);
  Require(upright.Width() == (swapped ? out.Height() : out.Width()) &&
          upright.Height() == (swapped ? out.Width() : out.Height()));

  MemoryStream coded;
  Require(codec.Encode(out, params, ProgressRecord{}, coded) == PictureStatus::Ok);
  Bitmap again;
  TImgIOParams readBack;
  readBack.Lzw = LzwHooks{true, true, true, true};
  Require(codec.Decode(coded.Bytes(), again, readBack, ProgressRecord{}, consumed) == PictureStatus::Ok);
  Require(again.Width() == out.Width() && again.Height() == out.Height() && readBack.Orientation == 1);
  if (fuzz.Lossless(params)) {
    Bitmap expected;
    expected.Assign(out);
    expected.ConvertTo24();
    again.ConvertTo24();
    Require(again.SameContent(expected));
  }
  return 0;
}

}  // namespace glamora::fuzz
