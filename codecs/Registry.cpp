#include "codecs/Registry.h"

#include <array>

namespace glamora::codec {

namespace {

// Every built-in codec; the front finds them by type id.
const std::array<const Codec*, 0>& BuiltInCodecs() {
  static const std::array<const Codec*, 0> codecs{};
  return codecs;
}

}  // namespace

const Codec* CodecFor(int32_t fileType) {
  for (const Codec* c : BuiltInCodecs()) {
    if (c && c->FileType == fileType) return c;
  }
  return nullptr;
}

}  // namespace glamora::codec
