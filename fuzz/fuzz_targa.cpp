// Probe, info, decode and round trip of the Targa codec on arbitrary bytes.
#include "codecs/Targa.h"
#include "fuzz/CodecFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return glamora::fuzz::FuzzCodec(glamora::codec::TargaCodec(), data, size);
}
