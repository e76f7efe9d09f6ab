// Picture controls as placed pictures.
#include "experts/PictureUnder.h"

#include "experts/core/CopyPictureUnder.h"
#include "imaging/Image.h"

namespace glamora {

PixelRect BoundsOf(const TImage& control) {
  return {control.x(), control.y(), control.width(), control.height()};
}

void CopyPictureUnder(const TImage& source, TImage& dest) {
  CopyPictureUnder(*source.Bitmap(), BoundsOf(source), *dest.Bitmap(), BoundsOf(dest));
  dest.PictureChanged();
}

}  // namespace glamora
