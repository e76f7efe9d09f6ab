// Placing, turning and carving as face make and hair add do it: an
// arbitrary photograph of up to 64 x 64 pixels shown in a rectangle at any
// position (the whole int range) of up to 1024 pixels a side, turned by any
// angle, checked against the template, then carved automatically and by
// hand with a standard-size mask and cut as a hairstyle is.
#include <cstddef>
#include <cstdint>

#include "experts/core/Carving.h"
#include "experts/core/PlacedPhotograph.h"
#include "face/StandardFace.h"
#include "fuzz/FuzzInput.h"

using namespace glamora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzInput in(data, size);
  const int width = in.TakeInRange(1, 64), height = in.TakeInRange(1, 64);
  PhotographPlacement placement;
  const int32_t left = in.Take<int32_t>(), top = in.Take<int32_t>();
  const uint8_t how = in.Take<uint8_t>();
  if (how & 1) placement.Place = PixelRect{left, top, in.TakeInRange(-2, 1024), in.TakeInRange(-2, 1024)};
  placement.Rotation = in.TakeInRange(-400, 400);
  placement.Antialias = (how & 2) != 0;

  Bitmap photo(width, height);
  for (int row = 0; row < height; ++row) in.TakeBytes(photo.Row(row), size_t(width) * 3);
  Bitmap mask(standard_face::kWidth, standard_face::kHeight);
  mask.Fill(clWhite);
  const TColor keep = Rgb(128, 128, 128);
  for (int y = standard_face::kFaceTop; y < standard_face::kChinY; ++y) {
    for (int x = standard_face::kFaceLeft; x < standard_face::kFaceRight; ++x) mask.SetPixel(x, y, keep);
  }
  mask.SetPixel(0, standard_face::kHeight - 1, keep);
  const PixelRect templateBounds{0, 0, standard_face::kWidth, standard_face::kHeight};

  PixelRect shown;
  try {
    shown = PlaceLoadedPhotograph(placement, photo);
    CheckPhotographMeetsTemplate(shown, templateBounds);
  } catch (const PhotographError&) {
    return 0;
  }
  Bitmap byHand = photo, cut = photo;
  Bitmap canvas(standard_face::kWidth, standard_face::kHeight);
  canvas.Fill(clWhite);
  CarveAutomatically(photo, shown, templateBounds, mask, canvas);
  const Bitmap carved = CarveByHand(byHand, shown, templateBounds, mask);
  const Bitmap hair = PhotographUnderTemplate(cut, shown, templateBounds);
  if (canvas.Width() != standard_face::kWidth || hair.Width() != templateBounds.Width ||
      carved.Width() != mask.Width()) {
    __builtin_trap();
  }
  return 0;
}
