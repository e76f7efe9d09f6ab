#pragma once
// The picture a make-over leaves in the gallery: the face with the hair drawn
// over it where the hair lies, exactly as the screen shows the two at 100 %.
#include "imaging/core/Bitmap.h"
#include "imaging/core/PixelRect.h"

namespace glamora {

// A 24-bit copy of the face with the hair stretched by nearest pixel into
// `placement` (face-picture pixels), leaving out pixels of the hair's
// see-through colour when its Transparent flag is set, clipped to the face.
Bitmap ComposeResult(const Bitmap& face, const Bitmap& hair, const PixelRect& placement);

}  // namespace glamora
