#include "codecs/Registry.h"

#include <array>

#include "codecs/Bmp.h"
#include "codecs/Gif.h"
#include "codecs/Icon.h"
#include "codecs/Jpeg.h"
#include "codecs/Pcx.h"
#include "codecs/Png.h"
#include "codecs/Targa.h"
#include "codecs/Tiff.h"

namespace glamora::codec {

const Codec* CodecFor(int32_t fileType) {
  static const std::array<const Codec*, 9> kCodecs = {
      &TiffCodec(), &GifCodec(), &JpegCodec(), &PcxCodec(),   &BmpCodec(),
      &IconCodec(), &CursorCodec(), &PngCodec(), &TargaCodec(),
  };
  for (const Codec* c : kCodecs) {
    if (c->FileType == fileType) return c;
  }
  return nullptr;
}

}  // namespace glamora::codec
