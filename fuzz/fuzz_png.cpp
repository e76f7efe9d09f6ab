// PNG decoding, then a lossless round trip. Options byte: bit 0 stop at
// once, bit 1 an interlaced save, bits 2-5 the compression level.
#include "codecs/Png.h"
#include "fuzz/LibraryCodecFuzzing.h"

using namespace glamora;

namespace {

const fuzz::LibraryFuzzCase& PngCase() {
  static const fuzz::LibraryFuzzCase fuzzCase{
      codec::PngCodec(),
      [](TImgIOParams& p, uint8_t options, const codec::PictureInfo&) {
        p.PngInterlaced = (options & 2) != 0;
        p.PngCompression = ((options >> 2) & 15) % 10;
      },
      [](const TImgIOParams&) { return false; },
      [](const codec::PictureInfo& info, const TImgIOParams&, const Bitmap& out) {
        return out.Width() == info.Width && out.Height() == info.Height;
      },
      [](const TImgIOParams&) { return true; }};
  return fuzzCase;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return fuzz::FuzzLibraryCodec(PngCase(), data, size);
}
