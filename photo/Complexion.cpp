// Complexion under a soft mask: the slider's operation on a copy of the
// mask's box, blended back by the mask's strength.
#include "photo/Complexion.h"

#include <algorithm>

#include "imaging/core/Contrast.h"
#include "imaging/core/HslVar.h"

namespace glamora {

namespace {

ChannelMeans MeansUnder(const Bitmap& photo, const SoftMask& mask) {
  int64_t weight = 0, sums[3] = {0, 0, 0};
  for (int y = 0; y < mask.Box.Height; ++y) {
    const uint8_t* a = mask.Row(y);
    const uint8_t* p = photo.Row(mask.Box.Top + y) + 3 * size_t(mask.Box.Left);
    for (int x = 0; x < mask.Box.Width; ++x, p += 3) {
      weight += a[x];
      for (int ch = 0; ch < 3; ++ch) sums[ch] += int64_t(a[x]) * p[ch];
    }
  }
  if (weight == 0) return {};
  return {int(sums[2] / weight), int(sums[1] / weight), int(sums[0] / weight)};
}

}  // namespace

void LayComplexion(Bitmap& photo, const SoftMask& skin, int position) {
  position = std::clamp(position, kMinComplexion, kMaxComplexion);
  if (position == 0 || skin.Empty() || photo.Format() != PixelFormat::Bits24) return;
  const PixelRect& box = skin.Box;
  Bitmap changed(box.Width, box.Height);
  for (int y = 0; y < box.Height; ++y) {
    std::copy_n(photo.Row(box.Top + y) + 3 * size_t(box.Left), 3 * size_t(box.Width), changed.Row(y));
  }
  if (position < 0) {
    HslVar(changed, PixelRect::Of(changed), 0, 0, -position);
  } else {
    ContrastWithMeans(changed, PixelRect::Of(changed), position, MeansUnder(photo, skin));
  }
  for (int y = 0; y < box.Height; ++y) {
    const uint8_t* a = skin.Row(y);
    const uint8_t* c = changed.Row(y);
    uint8_t* p = photo.Row(box.Top + y) + 3 * size_t(box.Left);
    for (int x = 0; x < box.Width; ++x, p += 3, c += 3) {
      if (a[x] == 0) continue;
      for (int ch = 0; ch < 3; ++ch) p[ch] = uint8_t((p[ch] * (255 - a[x]) + c[ch] * a[x] + 127) / 255);
    }
  }
}

}  // namespace glamora
