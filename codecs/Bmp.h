#pragma once
// Windows and OS/2 bitmaps (".bmp", ".dib", ".rle").
//
// Reads 1, 2, 4 and 8 bits with a palette, 16 and 32 bits as 5-5-5 / 8-8-8
// or with bit-field masks, 24 bits, RLE8 and RLE4 (delta and end-of-line
// codes; pixels a delta skips take palette entry 0), bottom-up and top-down
// rows, the OS/2 1.x core header and the Windows headers of 40, 52, 56, 108
// and 124 bytes (OS/2 2.x headers of 16 to 64 bytes without their Huffman and
// RLE24 codings). A 1-bit picture whose palette is black and white decodes to
// a 1-bit bitmap; every other picture decodes to 24 bits. Alpha is ignored.
// Writes 24-bit uncompressed bottom-up files with the Params' resolution.
#include <cstdint>
#include <vector>

#include "codecs/Codec.h"

namespace glamora::codec {

const Codec& BmpCodec();

bool ProbeBmp(Bytes head, uint64_t streamSize);  // "BM" and more than the 14-byte file header
PictureStatus InfoBmp(Bytes data, PictureInfo& info);
PictureStatus DecodeBmp(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                        size_t& consumed);
PictureStatus EncodeBmp(const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress, Stream& out);

// The information header of a device-independent bitmap, as BMP files and
// icons store it.
struct DibHeader {
  uint32_t HeaderSize = 0;
  int Width = 0;
  int Height = 0;  // rows of the picture (for an icon image, without the AND mask)
  bool TopDown = false;
  int BitsPerPixel = 0;
  uint32_t Compression = 0;  // 0 none, 1 RLE8, 2 RLE4, 3 bit fields, 6 bit fields with alpha
  uint32_t Masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha for 16 and 32 bits
  int PixelsPerMetreX = 0;
  int PixelsPerMetreY = 0;
  size_t PaletteOffset = 0;
  int PaletteEntrySize = 4;     // 3 in the OS/2 core format
  uint32_t PaletteStored = 0;   // entries the palette occupies
  size_t PixelOffset = 0;       // right after the palette
};

// Reads and checks the header at `offset`. An icon image stores twice its
// height (picture and AND mask); iconImage halves it.
PictureStatus ReadDibHeader(Bytes data, size_t offset, bool iconImage, const DecodeLimits& limits,
                            DibHeader& header);

struct DibPicture {
  Bitmap Pixels;               // 24 bits, or 1 bit for a black-and-white picture of a file
  std::vector<uint8_t> Alpha;  // per pixel, top row first; icon images with a non-zero alpha only
  size_t End = 0;              // offset just past the pixel data
};

// A BMP file's picture may decode to 1 bit and has no alpha; an icon image
// is always 24-bit and keeps the alpha of 32-bit data for compositing.
enum class DibUse { File, IconImage };

// Decodes the pixels that start at pixelOffset; truncated data is Damaged.
PictureStatus DecodeDib(Bytes data, const DibHeader& header, size_t pixelOffset, DibUse use, DibPicture& picture,
                        const ProgressRecord& progress);

// The version an information header of this size stands for.
BmpVersion BmpVersionOf(uint32_t headerSize);

// Resolution conversions between dots per inch and pixels per metre, rounded.
int DpiFromPixelsPerMetre(int64_t pixelsPerMetre);
int PixelsPerMetreFromDpi(int64_t dpi);

}  // namespace glamora::codec
