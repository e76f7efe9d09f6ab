// Copying the part of one placed picture that lies under another.
#include "experts/core/CopyPictureUnder.h"

#include <algorithm>
#include <cstring>

namespace glamora {

PixelRect Intersection(const PixelRect& a, const PixelRect& b) {
  if (a.Empty() || b.Empty()) return {};
  const long long left = std::max<long long>(a.Left, b.Left);
  const long long top = std::max<long long>(a.Top, b.Top);
  const long long right = std::min<long long>((long long)a.Left + a.Width, (long long)b.Left + b.Width);
  const long long bottom = std::min<long long>((long long)a.Top + a.Height, (long long)b.Top + b.Height);
  if (right <= left || bottom <= top) return {};
  return {int(left), int(top), int(right - left), int(bottom - top)};
}

void CopyPictureUnder(const Bitmap& source, const PixelRect& sourceBounds, Bitmap& dest, const PixelRect& destBounds) {
  if (dest.Empty()) {
    if (destBounds.Empty() || !dest.Reset(destBounds.Width, destBounds.Height)) return;
    dest.Fill(clWhite);
  } else if (dest.Format() != PixelFormat::Bits24) {
    dest.ConvertTo24();
  }
  if (source.Empty()) return;
  // Where the source's pixels and the destination's pixels really are: a
  // bitmap may be smaller than the control that shows it.
  const PixelRect sourcePixels{sourceBounds.Left, sourceBounds.Top, std::min(source.Width(), sourceBounds.Width),
                               std::min(source.Height(), sourceBounds.Height)};
  const PixelRect destPixels{destBounds.Left, destBounds.Top, dest.Width(), dest.Height()};
  const PixelRect under = Intersection(Intersection(sourcePixels, destBounds), destPixels);
  if (under.Empty()) return;

  Bitmap expanded;
  const Bitmap* from = &source;
  if (source.Format() != PixelFormat::Bits24) {
    expanded.Assign(source);
    expanded.ConvertTo24();
    from = &expanded;
  }
  const int sx = under.Left - sourceBounds.Left, dx = under.Left - destBounds.Left;
  for (int row = 0; row < under.Height; ++row) {
    const int y = under.Top + row;
    std::memcpy(dest.Row(y - destBounds.Top) + 3 * size_t(dx), from->Row(y - sourceBounds.Top) + 3 * size_t(sx),
                3 * size_t(under.Width));
  }
}

}  // namespace glamora
