// Composing face and hair into one picture.
#include "hair/Compose.h"

#include <algorithm>
#include <cstring>

#include "imaging/core/StretchNearest.h"

namespace glamora {

Bitmap ComposeResult(const Bitmap& face, const Bitmap& hair, const PixelRect& placement) {
  Bitmap work;
  work.Assign(face);
  work.Transparent = false;
  if (work.Format() != PixelFormat::Bits24) work.ConvertTo24();
  const PixelRect visible = placement.ClampedTo(work);
  if (hair.Empty() || visible.Empty()) return work;

  // The visible part of the stretched hair, by the same pixel mapping as the
  // hair's drawing on the screen: the full placement is mapped, the rest skipped.
  Bitmap stretched(visible.Width, visible.Height);
  const PixelRect target{placement.Left - visible.Left, placement.Top - visible.Top, placement.Width, placement.Height};
  StretchNearest(hair, PixelRect::Of(hair), stretched, target);

  const TColor key = ResolveColor(hair.TransparentColor);
  const uint8_t keyBgr[3] = {BlueOf(key), GreenOf(key), RedOf(key)};
  const bool keyed = hair.Transparent;
  for (int y = 0; y < visible.Height; ++y) {
    const uint8_t* in = stretched.Row(y);
    uint8_t* out = work.Row(visible.Top + y) + 3 * size_t(visible.Left);
    if (!keyed) {
      std::memcpy(out, in, 3 * size_t(visible.Width));
      continue;
    }
    for (int x = 0; x < visible.Width; ++x, in += 3, out += 3) {
      if (in[0] == keyBgr[0] && in[1] == keyBgr[1] && in[2] == keyBgr[2]) continue;
      out[0] = in[0];
      out[1] = in[1];
      out[2] = in[2];
    }
  }
  return work;
}

}  // namespace glamora
