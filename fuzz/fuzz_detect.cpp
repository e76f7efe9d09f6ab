// Content detection and LoadFromStream on arbitrary bytes: every decoder the
// front reaches by content. The last byte chooses the options: bit 0 stream
// headers, bits 1-3 the JPEG decoding scale, bit 4 a start position of 1.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "codecs/Registry.h"
#include "imaging/components/FormatTable.h"
#include "imaging/components/ImgIO.h"
#include "imaging/core/Stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace glamora;
  if (size < 1) return 0;
  const uint8_t options = data[size - 1];
  std::vector<uint8_t> bytes(data, data + size - 1);
  const int64_t start = (options & 0x10) && !bytes.empty() ? 1 : 0;

  MemoryStream stream(bytes);
  stream.Seek(start);
  const int32_t type = DetectFileType(stream);
  if (stream.Position() != start) __builtin_trap();

  // Pictures that declare a huge size only make the run slow.
  if (const codec::Codec* codec = codec::CodecFor(type); codec && codec->Info) {
    codec::PictureInfo info;
    const codec::Bytes rest(bytes.data() + start, bytes.size() - size_t(start));
    if (codec->Info(rest, info) == PictureStatus::Ok && int64_t(info.Width) * info.Height > (int64_t(1) << 22)) {
      return 0;
    }
  }

  Bitmap bitmap(2, 2);
  const Bitmap before = bitmap;
  TImgIO io;
  io.SetBitmap(&bitmap);
  io.StreamHeaders = (options & 1) != 0;
  io.Params.JpegDecodeScale = JpegScale((options >> 1) % 5);
  io.Params.Width = 64;
  io.Params.Height = 64;
  io.Params.Limits.MaxPixels = int64_t(1) << 22;
  const bool loaded = io.LoadFromStream(stream);
  if (loaded != (io.Status() == PictureStatus::Ok) || loaded == io.Aborting) __builtin_trap();

  // A failed load leaves the picture and the position as they were; a
  // successful one leaves the position inside the stream.
  if (!loaded && (!bitmap.SameContent(before) || stream.Position() != start)) __builtin_trap();
  if (loaded && (stream.Position() < start || stream.Position() > stream.Size())) __builtin_trap();
  if (loaded && !bitmap.Empty()) {
    volatile uint8_t sink = bitmap.Row(bitmap.Height() - 1)[bitmap.Stride() - 1];
    (void)sink;
  }
  return 0;
}
