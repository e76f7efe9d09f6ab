#pragma once
// A soft mask: how strongly something lies on each pixel of a box of a
// picture, 0 (not at all) to 255 (fully), and the make-up blend through it.
#include <cstdint>
#include <vector>

#include "imaging/core/Bitmap.h"
#include "imaging/core/Color.h"
#include "imaging/core/PixelRect.h"

namespace glamora {

struct SoftMask {
  PixelRect Box;               // in picture pixels
  std::vector<uint8_t> Alpha;  // Box.Width × Box.Height, rows top first

  bool Empty() const { return Box.Empty(); }
  uint8_t* Row(int boxY) { return Alpha.data() + size_t(boxY) * size_t(Box.Width); }
  const uint8_t* Row(int boxY) const { return Alpha.data() + size_t(boxY) * size_t(Box.Width); }
  // The strength at a picture pixel; 0 outside the box.
  uint8_t At(int x, int y) const {
    const int bx = x - Box.Left, by = y - Box.Top;
    return bx >= 0 && by >= 0 && bx < Box.Width && by < Box.Height ? Row(by)[bx] : 0;
  }
};

// A mask of `box` (clamped to the picture) with nothing marked.
SoftMask EmptyMaskOn(const PixelRect& box, const Bitmap& picture);

// A box blur of radius r along the rows, then along the columns, `passes`
// times: one pass turns an edge into a linear ramp 2r + 1 pixels wide, three
// come close to a Gaussian of deviation r.
void FeatherMask(SoftMask& mask, int radius, int passes = 1);

// Each pixel under the mask moves towards `color` shaded by its lightness
// against the mask-weighted mean lightness, by strength × opacity percent:
// the skin's light, shadow and texture show through the colour. Nothing for
// a picture that is not 24-bit or a mask that marks nothing.
void TintUnderMask(Bitmap& picture, const SoftMask& mask, TColor color, int opacity);

}  // namespace glamora
