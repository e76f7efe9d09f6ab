#pragma once
// Targa pictures (".tga" and its aliases).
//
// Reads colour-mapped, true-colour and grey images (types 1, 2, 3) and their
// run-length forms (9, 10, 11) with 8, 15, 16, 24 or 32 bits per pixel, any
// origin corner; alpha is ignored. The image identification field is read
// into TgaDescription. Writes 24-bit type 2, or type 10 when TgaCompressed is
// set, with the origin at the bottom left and TgaDescription as identification.
#include <cstdint>
#include <vector>

#include "codecs/Codec.h"

namespace glamora::codec {

const Codec& TargaCodec();

// The content test of the picture front: an 18-byte header whose image type
// is 1, 2, 3, 9, 10 or 11 and whose pixel depth is 1, 4, 8, 16, 24 or 32.
// Decoding does not require it: a 15-bit file opened by name is read.
bool ProbeTarga(Bytes head, uint64_t streamSize);
PictureStatus InfoTarga(Bytes data, PictureInfo& info);
PictureStatus DecodeTarga(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                          size_t& consumed);
PictureStatus EncodeTarga(const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress, Stream& out);

}  // namespace glamora::codec
