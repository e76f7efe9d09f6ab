#pragma once
// The rotation's inner loops: the blend of an antialiased shear, and the
// moves of a block of columns between the picture's rows and buffers that
// hold each column as a row. A portable form and, where the processor has it,
// an AVX2 form; both give the same bytes.
#include <cstddef>
#include <cstdint>

namespace glamora::shear {

// The vertical shear works on columns held as rows of 32-bit pixels (blue,
// green, red, a fourth byte of no meaning), so that a block of them turns
// between rows and columns with whole-register moves.
constexpr int kColumnPixelBytes = 4;

struct Kernels {
  // Byte i of `out` becomes the blend of in[i − P] (the same channel of the
  // previous pixel, which must exist; P = 3 for BlendRow's 24-bit pixels, 4
  // for BlendColumn's 32-bit ones) with in[i] by the weights u and 4096 − u:
  // (in[i − P] × u + in[i] × (4096 − u) + 2048) / 4096 with the fraction
  // dropped toward negative infinity, clamped to 0..255; −2048 ≤ u ≤ 2048.
  // `out` does not overlap `in`.
  void (*BlendRow)(const uint8_t* in, size_t bytes, int u, uint8_t* out);
  void (*BlendColumn)(const uint8_t* in, size_t bytes, int u, uint8_t* out);
  // Copies `height` rows of `count` 24-bit pixels, the first at `rows` and
  // each `stride` bytes after the one before, into `count` columns of 32-bit
  // pixels: pixel y of column j goes to columns + j × columnStride + 4y.
  // Nothing outside those pixels is read.
  void (*RowsToColumns)(const uint8_t* rows, size_t stride, int height, int count, uint8_t* columns,
                        size_t columnStride);
  // The reverse: pixel y of column j goes to row y, pixel j, its fourth byte
  // dropped. Nothing outside those pixels is written.
  void (*ColumnsToRows)(const uint8_t* columns, size_t columnStride, int height, int count, uint8_t* rows,
                        size_t stride);
};

const Kernels& PortableKernels();
// Null when the processor has no AVX2.
const Kernels* Avx2Kernels();
// The AVX2 set when available, else the portable one.
const Kernels& BestKernels();

}  // namespace glamora::shear
