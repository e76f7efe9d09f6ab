#pragma once
// Windows icons (".ico") and cursors (".cur").
//
// Of the images in the file the largest is decoded: most pixels, then most
// bits per pixel, the first of equal ones. An image is a device-independent
// bitmap with its AND mask, or an embedded PNG. The picture is 24-bit with
// the see-through parts on white: pixels the AND mask marks, or for 32-bit
// images with an alpha channel the alpha composited over white (the mask is
// then ignored), as the PNG codec composites PNG images. A file whose images
// run past its end is damaged. Read-only.
#include <cstdint>

#include "codecs/Codec.h"

namespace glamora::codec {

const Codec& IconCodec();
const Codec& CursorCodec();

// The content tests of the picture front: a 6-byte header with reserved word
// 0, type 1 (icon) or 2 (cursor) and a non-zero count, followed by that many
// 16-byte entries each with a zero reserved byte, a non-zero data size and a
// data offset not before the end of that entry; more than 22 bytes in all.
bool ProbeIcon(Bytes head, uint64_t streamSize);
bool ProbeCursor(Bytes head, uint64_t streamSize);

PictureStatus InfoIcon(Bytes data, PictureInfo& info);
PictureStatus InfoCursor(Bytes data, PictureInfo& info);
PictureStatus DecodeIcon(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                         size_t& consumed);
PictureStatus DecodeCursor(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                           size_t& consumed);

}  // namespace glamora::codec
