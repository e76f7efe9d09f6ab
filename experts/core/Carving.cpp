// Carving the face out of the photograph: automatically with the mask, or by
// hand with the mask's outline as the guide.
#include "experts/core/Carving.h"

#include <algorithm>
#include <cstring>

#include "experts/core/CopyPictureUnder.h"
#include "imaging/core/Resample.h"

namespace glamora {

bool ResampleToShownSize(Bitmap& photo, int width, int height) {
  if (photo.Empty() || width <= 0 || height <= 0 || !SizeWithinLimits(width, height)) return false;
  if (photo.Width() == width && photo.Height() == height) {
    // Lanczos3 weighs only the pixel itself at scale 1: nothing would change.
    if (photo.Format() != PixelFormat::Bits24) photo.ConvertTo24();
    return true;
  }
  Bitmap resampled;
  if (!Resample(photo, resampled, width, height, rfLanczos3)) return false;
  if (resampled.Format() != PixelFormat::Bits24) resampled.ConvertTo24();
  photo = std::move(resampled);
  return true;
}

Bitmap PhotographUnderTemplate(Bitmap& photo, const PixelRect& photoBounds, const PixelRect& templateBounds) {
  ResampleToShownSize(photo, photoBounds.Width, photoBounds.Height);
  Bitmap under;
  CopyPictureUnder(photo, photoBounds, under, templateBounds);
  return under;
}

void DrawAtCanvasOrigin(const Bitmap& picture, Bitmap& canvas) {
  if (picture.Empty() || canvas.Empty()) return;
  if (canvas.Format() != PixelFormat::Bits24) canvas.ConvertTo24();
  const Bitmap* from = &picture;
  Bitmap expanded;
  if (picture.Format() != PixelFormat::Bits24) {
    expanded.Assign(picture);
    expanded.ConvertTo24();
    from = &expanded;
  }
  const int width = std::min(picture.Width(), canvas.Width());
  const int height = std::min(picture.Height(), canvas.Height());
  for (int y = 0; y < height; ++y) std::memcpy(canvas.Row(y), from->Row(y), 3 * size_t(width));
}

TColor MaskKeepColour(const Bitmap& mask) { return mask.Empty() ? clWhite : mask.Pixel(0, mask.Height() - 1); }

void DrawMaskOver(const Bitmap& mask, Bitmap& canvas) {
  if (mask.Empty() || canvas.Empty()) return;
  if (canvas.Format() != PixelFormat::Bits24) canvas.ConvertTo24();
  Bitmap expanded;
  const Bitmap* from = &mask;
  if (mask.Format() != PixelFormat::Bits24) {
    expanded.Assign(mask);
    expanded.ConvertTo24();
    from = &expanded;
  }
  const TColor keep = MaskKeepColour(*from);
  const uint8_t keepBlue = BlueOf(keep), keepGreen = GreenOf(keep), keepRed = RedOf(keep);
  const int width = std::min(mask.Width(), canvas.Width());
  const int height = std::min(mask.Height(), canvas.Height());
  for (int y = 0; y < height; ++y) {
    const uint8_t* m = from->Row(y);
    uint8_t* c = canvas.Row(y);
    for (int x = 0; x < width; ++x, m += 3, c += 3) {
      if (m[0] == keepBlue && m[1] == keepGreen && m[2] == keepRed) continue;
      c[0] = m[0];
      c[1] = m[1];
      c[2] = m[2];
    }
  }
}

void CarveAutomatically(Bitmap& photo, const PixelRect& photoBounds, const PixelRect& templateBounds,
                        const Bitmap& mask, Bitmap& canvas) {
  DrawAtCanvasOrigin(PhotographUnderTemplate(photo, photoBounds, templateBounds), canvas);
  DrawMaskOver(mask, canvas);
}

Bitmap CarveByHand(Bitmap& photo, const PixelRect& photoBounds, const PixelRect& templateBounds, const Bitmap& mask) {
  Bitmap canvas;
  canvas.Assign(mask);
  if (canvas.Format() != PixelFormat::Bits24) canvas.ConvertTo24();
  DrawAtCanvasOrigin(PhotographUnderTemplate(photo, photoBounds, templateBounds), canvas);
  return canvas;
}

}  // namespace glamora
