#pragma once
// Gives a bitmap object a new picture while it keeps what belongs to the
// control that shows it: the repaint hook and the see-through setting.
#include <utility>

#include "imaging/core/Bitmap.h"

namespace glamora {

inline void ReplacePicture(Bitmap& bitmap, Bitmap&& picture) {
  if (&bitmap == &picture) return;
  auto onChange = std::move(bitmap.OnChange);
  const bool transparent = bitmap.Transparent;
  const TColor transparentColor = bitmap.TransparentColor;
  bitmap = std::move(picture);
  bitmap.OnChange = std::move(onChange);
  bitmap.Transparent = transparent;
  bitmap.TransparentColor = transparentColor;
}

}  // namespace glamora
