#pragma once
// A rectangle of bitmap pixels: left, top, width, height.
#include <algorithm>

#include "imaging/core/Bitmap.h"

namespace glamora {

struct PixelRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;

  bool Empty() const { return Width <= 0 || Height <= 0; }
  int Right() const { return Left + Width - 1; }   // last column inside
  int Bottom() const { return Top + Height - 1; }  // last row inside

  // From inclusive edges, as selections give them.
  static PixelRect FromEdges(int left, int top, int right, int bottom) {
    return {left, top, right - left + 1, bottom - top + 1};
  }
  static PixelRect Of(const Bitmap& bitmap) { return {0, 0, bitmap.Width(), bitmap.Height()}; }

  // The part of this rectangle that lies on the bitmap (empty when none).
  PixelRect ClampedTo(const Bitmap& bitmap) const {
    const long long left = std::max<long long>(Left, 0);
    const long long top = std::max<long long>(Top, 0);
    const long long right = std::min<long long>((long long)Left + Width, bitmap.Width());
    const long long bottom = std::min<long long>((long long)Top + Height, bitmap.Height());
    if (right <= left || bottom <= top) return {0, 0, 0, 0};
    return {int(left), int(top), int(right - left), int(bottom - top)};
  }

  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

}  // namespace glamora
