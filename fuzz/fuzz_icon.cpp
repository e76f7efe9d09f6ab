// Probe, info and decode of the icon and cursor codecs on arbitrary bytes;
// bit 2 of the last byte makes the directory's type word that of a cursor.
#include <vector>

#include "codecs/Icon.h"
#include "fuzz/CodecFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace glamora;
  if (size < 1 || !(data[size - 1] & 4)) return fuzz::FuzzCodec(codec::IconCodec(), data, size);
  std::vector<uint8_t> cursor(data, data + size);
  if (cursor.size() > 3) {
    cursor[2] = 2;
    cursor[3] = 0;
  }
  return fuzz::FuzzCodec(codec::CursorCodec(), cursor.data(), cursor.size());
}
