// System colours resolved to the fixed values this program gives them.
#include "imaging/core/Color.h"

namespace glamora {

TColor ResolveColor(TColor c) {
  if (!IsSystemColor(c)) return c & 0x00FFFFFF;
  switch (c & 0xFF) {
    case 0x05: return Rgb(255, 255, 255);  // window
    case 0x08: return Rgb(0, 0, 0);        // window text
    case 0x0D: return Rgb(0, 120, 215);    // highlight
    case 0x0F: return Rgb(240, 240, 240);  // button face
    case 0x10: return Rgb(160, 160, 160);  // button shadow
    case 0x12: return Rgb(0, 0, 0);        // button text
    case 0x14: return Rgb(255, 255, 255);  // button highlight
    default: return Rgb(240, 240, 240);
  }
}

}  // namespace glamora
