// TIFF decoding of the first or second page, then a round trip. Options
// byte: bit 0 stop at once, bit 1 the second page, bit 2 no LZW decoder
// installed, bits 3-5 the compression of the save.
#include "codecs/Tiff.h"
#include "fuzz/LibraryCodecFuzzing.h"

using namespace glamora;

namespace {

const fuzz::LibraryFuzzCase& TiffCase() {
  static const fuzz::LibraryFuzzCase fuzzCase{
      codec::TiffCodec(),
      [](TImgIOParams& p, uint8_t options, const codec::PictureInfo&) {
        p.TiffPage = (options >> 1) & 1;
        p.Lzw.TiffDecoder = (options & 4) == 0;
        p.TiffCompress = TiffCompression((options >> 3) & 7);
      },
      [](const TImgIOParams&) { return false; },
      [](const codec::PictureInfo& info, const TImgIOParams& p, const Bitmap& out) {
        // The header describes the first page only.
        return p.TiffPage != 0 || (out.Width() == info.Width && out.Height() == info.Height);
      },
      [](const TImgIOParams& p) { return p.TiffCompress != TiffCompression::Jpeg; }};
  return fuzzCase;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return fuzz::FuzzLibraryCodec(TiffCase(), data, size);
}
