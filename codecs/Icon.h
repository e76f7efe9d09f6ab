#pragma once
// Windows icons (".ico") and cursors (".cur").
//
// Of the images in the file the largest is decoded: most pixels, then most
// bits per pixel, the first of equal ones. An image is a device-independent
// bitmap with its AND mask, or an embedded PNG. The picture is 24-bit with
// the see-through parts on white: pixels the AND mask marks, or for 32-bit
// images with an alpha channel the alpha composited over white (the mask is
// then ignored), as the PNG codec composites PNG images. Read-only.
#include <cstdint>

#include "codecs/Codec.h"

namespace glamora::codec {

const Codec& IconCodec();
const Codec& CursorCodec();

// The content tests of the picture front: a 6-byte header with reserved word
// 0, type 1 (icon) or 2 (cursor) and a non-zero count, followed by that many
// 16-byte entries each with a zero reserved byte, a non-zero data size and a
// data offset not before the end of that entry; more than 22 bytes in all.
bool ProbeIcon(Bytes data);
bool ProbeCursor(Bytes data);

bool InfoIcon(Bytes data, PictureInfo& info);
bool InfoCursor(Bytes data, PictureInfo& info);
bool DecodeIcon(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress, size_t& consumed);
bool DecodeCursor(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress, size_t& consumed);

}  // namespace glamora::codec
