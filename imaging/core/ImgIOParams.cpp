// The process-wide LZW hooks every parameter record copies, and the
// installing of the program's coders into them.
#include "imaging/core/ImgIOParams.h"

namespace glamora {

LzwHooks& DefaultLzwHooks() {
  static LzwHooks hooks;
  return hooks;
}

void InstallLzwCoders() {
  LzwHooks& hooks = DefaultLzwHooks();
  hooks.GifDecoder = true;
  hooks.GifEncoder = true;
  hooks.TiffDecoder = true;
}

}  // namespace glamora
