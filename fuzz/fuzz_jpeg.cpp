// JPEG decoding at every scale and DCT method, then a round trip. Options
// byte: bit 0 stop at once, bits 1-3 the decoding scale, bits 4-5 the DCT
// method, bit 6 a progressive save, bit 7 a CMYK save.
#include "codecs/Jpeg.h"
#include "fuzz/LibraryCodecFuzzing.h"

using namespace glamora;

namespace {

const fuzz::LibraryFuzzCase& JpegCase() {
  static const fuzz::LibraryFuzzCase fuzzCase{
      codec::JpegCodec(),
      [](TImgIOParams& p, uint8_t options, const codec::PictureInfo& info) {
        p.JpegDecodeScale = JpegScale(((options >> 1) & 7) % 5);
        p.JpegDct = JpegDctMethod(((options >> 4) & 3) % 3);
        // What the automatic scale aims at.
        p.Width = info.Width / 3;
        p.Height = info.Height / 3;
        p.JpegProgressive = (options & 0x40) != 0;
        p.JpegColor = (options & 0x80) ? JpegColorSpace::Cmyk : JpegColorSpace::YCbCr;
        p.JpegQuality = 75;
      },
      [](const TImgIOParams&) { return false; },
      [](const codec::PictureInfo& info, const TImgIOParams& p, const Bitmap& out) {
        const int k = codec::JpegScaleDenominator(p.JpegDecodeScale, info.Width, info.Height, int64_t(p.Width) * p.Height);
        return out.Width() == codec::JpegScaledSide(info.Width, k) &&
               out.Height() == codec::JpegScaledSide(info.Height, k);
      },
      [](const TImgIOParams&) { return false; }};
  return fuzzCase;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return fuzz::FuzzLibraryCodec(JpegCase(), data, size);
}
