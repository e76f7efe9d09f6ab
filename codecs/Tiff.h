#pragma once
// TIFF through libtiff.
//
// Decoding reads the page params TiffPage names (0, the first, by default)
// and counts the pages (params TiffPageCount). Bilevel pages (one 1-bit
// sample, black or white is zero, in strips) give a 1-bit bitmap whose
// palette is black, white; every other page goes through libtiff's RGBA
// reader and gives a 24-bit picture, alpha composited over white. The
// resolution unit may be inches (or none) or centimetres. Pages are decoded
// as stored; params Orientation tells the page's Orientation tag.
//
// Encoding writes one page with the compression params TiffCompress names:
// a 24-bit picture as 8-bit RGB, a 1-bit black-and-white bitmap as a bilevel
// page (other two-colour bitmaps as RGB). The CCITT compressions apply to
// bilevel pages only and LZW needs params.Lzw.TiffEncoder; where the
// requested compression cannot be used the page is written with Deflate,
// which is just as lossless. JPEG compression uses params JpegQuality.
//
// LZW-compressed pages need params.Lzw.TiffDecoder to be decoded.
#include "codecs/Codec.h"

namespace glamora::codec {

const Codec& TiffCodec();

bool ProbeTiff(Bytes head, uint64_t streamSize);  // "II" or "MM" and more than 8 bytes
// Describes the first page, counting them all.
PictureStatus InfoTiff(Bytes data, PictureInfo& info);
// Describes the page of that index (0 the first); Unsupported past the last.
PictureStatus InfoTiffPage(Bytes data, int pageIndex, PictureInfo& info);
PictureStatus DecodeTiff(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                         size_t& consumed);
PictureStatus EncodeTiff(const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress, Stream& out);

}  // namespace glamora::codec
