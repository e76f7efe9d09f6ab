#pragma once
// One libFuzzer body for a hand-written codec: probe, info, decode, and for a
// codec with an encoder a round trip of what was decoded. The last byte of
// the input chooses the options: bit 0 asks the decoder to stop at once,
// bit 1 the compressed form on encoding. Properties that must hold trap.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "codecs/Codec.h"

namespace glamora::fuzz {

inline void Check(bool holds) {
  if (!holds) __builtin_trap();
}

inline int FuzzCodec(const codec::Codec& codec, const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t options = data[size - 1];
  const codec::Bytes bytes(data, size - 1);
  codec.Probe(bytes, bytes.size());

  // Pictures that declare a huge size only make the run slow.
  codec::PictureInfo info;
  const bool described = codec.Info(bytes, info) == PictureStatus::Ok;
  if (described && int64_t(info.Width) * info.Height > (int64_t(1) << 22)) return 0;

  Bitmap out(2, 2);
  const Bitmap before = out;
  TImgIOParams params;
  params.Limits.MaxPixels = int64_t(1) << 22;
  bool aborting = (options & 1) != 0;
  ProgressRecord progress;
  progress.Aborting = &aborting;
  size_t consumed = 0;
  const bool decoded = codec.Decode(bytes, out, params, progress, consumed) == PictureStatus::Ok;
  if (!decoded) {
    Check(out.SameContent(before) && aborting);
    return 0;
  }
  Check(!(options & 1));
  Check(described && info.Width == out.Width() && info.Height == out.Height());
  Check(params.Width == out.Width() && params.Height == out.Height() && consumed <= bytes.size());
  if (!codec.Encode) return 0;

  params.TgaCompressed = (options & 2) != 0;
  params.PcxCompression = (options & 2) ? 1 : 0;
  MemoryStream coded;
  Check(codec.Encode(out, params, ProgressRecord{}, coded) == PictureStatus::Ok);
  Bitmap again;
  TImgIOParams readBack;
  Check(codec.Decode(coded.Bytes(), again, readBack, ProgressRecord{}, consumed) == PictureStatus::Ok);
  Bitmap expected;
  expected.Assign(out);
  expected.ConvertTo24();
  again.ConvertTo24();
  Check(again.SameContent(expected));
  return 0;
}

}  // namespace glamora::fuzz
