#pragma once
// PNG through libpng.
//
// Every colour type and bit depth decodes to a 24-bit picture; 16-bit samples
// are scaled to 8 bits with rounding. Transparent parts (an alpha channel or a
// tRNS chunk) are composited over the file's background colour (bKGD) when it
// has one, else over white; params PngHasBackground and PngBackground tell
// which colour that was. The resolution comes from pHYs in pixels per metre.
//
// Encoding writes 8-bit RGB, or a two-colour palette picture of 1 bit per
// pixel from a 1-bit bitmap, Adam7-interlaced when params PngInterlaced is
// set, at zlib level params PngCompression, with pHYs from DpiX and DpiY.
//
// The alpha forms keep the transparency apart: DecodePngWithAlpha gives the
// colour as stored (straight, not composited) and an 8-bit alpha plane of the
// same size (0 see-through .. 255 opaque; 255 throughout for a picture without
// transparency), both left as they were on failure. EncodePngWithAlpha writes
// 8-bit RGBA from a colour bitmap and such a plane; a plane of another format
// or size is NoPicture.
#include "codecs/Codec.h"

namespace glamora::codec {

const Codec& PngCodec();

bool ProbePng(Bytes head, uint64_t streamSize);  // the eight-byte signature and more
PictureStatus InfoPng(Bytes data, PictureInfo& info);
PictureStatus DecodePng(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                        size_t& consumed);
PictureStatus EncodePng(const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress, Stream& out);

PictureStatus DecodePngWithAlpha(Bytes data, Bitmap& colour, Bitmap& alpha, TImgIOParams& params,
                                 const ProgressRecord& progress, size_t& consumed);
PictureStatus EncodePngWithAlpha(const Bitmap& colour, const Bitmap& alpha, const TImgIOParams& params,
                                 const ProgressRecord& progress, Stream& out);

}  // namespace glamora::codec
