#pragma once
// One soft stamp of a chosen shape, colour and strength: the applicator and
// big brush of the make-up page and the face expert's erasers.
#include <cstdint>
#include <vector>

#include "imaging/core/Bitmap.h"
#include "imaging/core/Color.h"

namespace glamora {

enum class TAirBrushShape : uint8_t {
  absRound,
  absSquare,
  absLeftSlash,
  absRightSlash,
  absHorizontal,
  absVertical,
};

class TAirBrush {
 public:
  TAirBrush() = default;

  int Intensity() const { return intensity_; }
  int Size() const { return size_; }
  TColor Color() const { return color_; }
  TAirBrushShape Shape() const { return shape_; }

  // Out-of-range values (intensity 1..100, size 1..200) are ignored.
  void SetIntensity(int value);
  void SetSize(int value);
  void SetColor(TColor value) { color_ = value; }
  void SetShape(TAirBrushShape value) { shape_ = value; }

  // Paints one stamp centred on (x, y): the Size × Size square whose top left
  // is (x − Size div 2, y − Size div 2). Inside the shape each channel becomes
  // round((1 − i) × canvas + i × colour) with i = Intensity / 100; a result of
  // pure white is not drawn, and neither is any part outside the canvas.
  void Stamp(Bitmap& canvas, int x, int y);

 private:
  void BuildMask();

  int intensity_ = 20;
  int size_ = 10;
  TColor color_ = clRed;
  TAirBrushShape shape_ = TAirBrushShape::absRound;
  // One byte per pixel of the square, 1 inside the shape; built for maskSize_
  // and maskShape_.
  std::vector<uint8_t> mask_;
  int maskSize_ = 0;
  TAirBrushShape maskShape_ = TAirBrushShape::absRound;
};

}  // namespace glamora
