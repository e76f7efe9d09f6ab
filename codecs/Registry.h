#pragma once
// The codecs built into the program, by the picture front's type id.
#include <cstdint>

#include "codecs/Codec.h"

namespace glamora::codec {

// The codec that reads (and, when it has an encoder, writes) the type, or
// null when the program has none for it.
const Codec* CodecFor(int32_t fileType);

}  // namespace glamora::codec
