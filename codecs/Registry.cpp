// The table of the program's own codecs and the lookups over it.
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

std::span<const Codec* const> CodecsByProbeStrength() {
  static const std::array<const Codec*, 9> kCodecs = {
      &JpegCodec(), &GifCodec(),  &BmpCodec(),    &TiffCodec(),  &PngCodec(),
      &PcxCodec(),  &IconCodec(), &CursorCodec(), &TargaCodec(),
  };
  return kCodecs;
}

const Codec* CodecFor(int32_t fileType) {
  for (const Codec* c : CodecsByProbeStrength()) {
    if (c->FileType == fileType) return c;
  }
  return nullptr;
}

int32_t DetectByProbes(Bytes head, uint64_t streamSize) {
  for (const Codec* c : CodecsByProbeStrength()) {
    if (c->Probe(head, streamSize)) return c->FileType;
  }
  return iftUnknown;
}

}  // namespace glamora::codec
