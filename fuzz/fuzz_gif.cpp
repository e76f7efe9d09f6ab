// GIF decoding of the first frame with every frame counted, then a round
// trip through the quantiser, then the animation played frame by frame.
// Options byte: bit 0 stop at once, bit 1 no LZW decoder installed, bit 2 an
// interlaced save, bit 3 a transparent colour.
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

// The animation plays exactly when the first frame decodes, starting with
// that picture, every frame the size of the first.
void PlayAnimation(const uint8_t* data, size_t size) {
  if (size < 1) return;
  const codec::Bytes bytes(data, size - 1);
  TImgIOParams params;
  params.Lzw.GifDecoder = true;
  params.Limits.MaxPixels = int64_t(1) << 20;
  TImgIOParams firstParams = params;
  Bitmap first;
  size_t consumed = 0;
  const bool decoded = codec::DecodeGif(bytes, first, firstParams, ProgressRecord{}, consumed) == PictureStatus::Ok;
  int frames = 0;
  const PictureStatus played = codec::DecodeGifFrames(bytes, params, ProgressRecord{}, [&](const Bitmap& picture, int) {
    fuzz::Require(decoded && picture.Width() == first.Width() && picture.Height() == first.Height());
    if (frames == 0) fuzz::Require(picture.SameContent(first));
    return ++frames < 64;
  });
  fuzz::Require((played == PictureStatus::Ok) == decoded);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzLibraryCodec(GifCase(), data, size);
  PlayAnimation(data, size);
  return 0;
}
