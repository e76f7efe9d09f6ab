// Probe, info, decode and round trip of the PCX codec on arbitrary bytes.
#include "codecs/Pcx.h"
#include "fuzz/CodecFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return glamora::fuzz::FuzzCodec(glamora::codec::PcxCodec(), data, size);
}
