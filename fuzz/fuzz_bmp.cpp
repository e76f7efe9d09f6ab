// Probe, info, decode and round trip of the BMP codec on arbitrary bytes.
#include "codecs/Bmp.h"
#include "fuzz/CodecFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return glamora::fuzz::FuzzCodec(glamora::codec::BmpCodec(), data, size);
}
