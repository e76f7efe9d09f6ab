#pragma once
// Turning rows of red-green-blue pixels into blue-green-red ones and back:
// the order files such as TIFF keep and the order bitmaps hold.
#include <cstddef>
#include <cstdint>

namespace glamora {

// Copies `pixels` 3-byte pixels from `in` to `out` with the first and third
// byte of each exchanged. `in` and `out` must not overlap.
void SwapRedAndBlue(const uint8_t* in, uint8_t* out, size_t pixels);

}  // namespace glamora
