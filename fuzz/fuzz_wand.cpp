// The magic wand over an arbitrary picture of up to 64 x 64 pixels (1, 8 or
// 24 bits), from an arbitrary seed (inside the picture or not), with any
// tolerance, grown or not; its outline split into polygons and clamped.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "imaging/core/MagicWand.h"
#include "imaging/core/SelectionTrace.h"

using namespace glamora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzInput in(data, size);
  const int width = in.TakeInRange(1, 64), height = in.TakeInRange(1, 64);
  static const PixelFormat kFormats[] = {PixelFormat::Bits1, PixelFormat::Bits8, PixelFormat::Bits24};
  const PixelFormat format = kFormats[in.TakeInRange(0, 2)];
  const int x = in.Take<int16_t>() % 80, y = in.Take<int16_t>() % 80;
  const int tolerance = in.TakeInRange(-10, 300);
  const bool grow = (in.Take<uint8_t>() & 1) != 0;

  Bitmap picture(width, height, format);
  for (int row = 0; row < height; ++row) in.TakeBytes(picture.Row(row), picture.Stride());

  const std::vector<Point> outline = MagicWandOutline(picture, x, y, tolerance, grow);
  for (int i = 0; i < int(outline.size()); ++i) {
    if (outline[size_t(i)].X < -1 || outline[size_t(i)].X > width + 1) __builtin_trap();
  }
  for (std::vector<Point> polygon : SplitPolygons(outline)) {
    IsRectangle(polygon);
    ClampToPixels(polygon, width, height);
  }
  return 0;
}
