// GIF decoding of the first frame with every frame counted, then a round
// trip through the quantiser. Options byte: bit 0 stop at once, bit 1 no LZW
// decoder installed, bit 2 an interlaced save, bit 3 a transparent colour.
#include "codecs/Gif.h"
#include "fuzz/LibraryCodecFuzzing.h"

using namespace glamora;

namespace {

const fuzz::LibraryFuzzCase& GifCase() {
  static const fuzz::LibraryFuzzCase fuzzCase{
      codec::GifCodec(),
      [](TImgIOParams& p, uint8_t options, const codec::PictureInfo&) {
        p.Lzw.GifDecoder = (options & 2) == 0;
        p.GifInterlaced = (options & 4) != 0;
        p.GifHasTransparency = (options & 8) != 0;
        p.GifTransparentColor = Rgb(options, 0, 255 - options);
      },
      [](const TImgIOParams& p) { return !p.Lzw.GifDecoder; },
      [](const codec::PictureInfo& info, const TImgIOParams&, const Bitmap& out) {
        return out.Width() == info.Width && out.Height() == info.Height;
      },
      [](const TImgIOParams&) { return false; }};
  return fuzzCase;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return fuzz::FuzzLibraryCodec(GifCase(), data, size);
}
