#pragma once
// JPEG through libjpeg (the version-6 interface).
//
// Decoding gives a 24-bit picture for grey, RGB, YCbCr, CMYK and YCCK files.
// CMYK and YCCK files that carry an Adobe marker store their inks inverted
// (255 means no ink), as every program that writes that marker does; files
// without it are read as plain CMYK.
//
// Data that ends before the last row makes the picture damaged; a file that
// ends after it without its end marker is whole.
//
// Reduced scales come from the library's scaled IDCT; it rounds the scaled
// size up: a 101 × 75 picture gives 51 × 38 at 1/2, 26 × 19 at 1/4 and
// 13 × 10 at 1/8.
//
// The resolution is read from the JFIF density: unit none or dots per inch as
// stored, dots per centimetre times 2.54, truncated. It is written in the JFIF
// header, which libjpeg writes for grey and YCbCr files only (a JFIF header
// would make readers take an RGB or CMYK file for YCbCr).
//
// The picture is decoded as stored; params Orientation tells the orientation
// the EXIF block (APP1) records. Files are written without EXIF.
#include <cstdint>

#include "codecs/Codec.h"

namespace glamora::codec {

const Codec& JpegCodec();

bool ProbeJpeg(Bytes head, uint64_t streamSize);  // FF D8 FF
PictureStatus InfoJpeg(Bytes data, PictureInfo& info);

// What the header says, read without decoding any pixel.
struct JpegHeader {
  int Width = 0;
  int Height = 0;
  int Components = 0;
  JpegColorSpace ColorSpace = JpegColorSpace::YCbCr;
  bool Progressive = false;
  bool HasDensity = false;  // a JFIF header with a non-zero density
  int DpiX = 0;
  int DpiY = 0;
  int Orientation = 1;  // the EXIF Orientation, 1 without an EXIF block
};
PictureStatus ReadJpegHeader(Bytes data, JpegHeader& header);

// Decodes with the scale params.JpegDecodeScale selects.
PictureStatus DecodeJpeg(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                         size_t& consumed);

// Decodes at 1/denominator of the full size; denominator is 1, 2, 4 or 8.
PictureStatus DecodeJpegScaled(Bytes data, int denominator, Bitmap& out, TImgIOParams& params,
                               const ProgressRecord& progress, size_t& consumed);

PictureStatus EncodeJpeg(const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress, Stream& out);

// The denominator (1, 2, 4 or 8) for a decoding scale. Automatic picks the
// scale whose pixel count (width div k) × (height div k) is closest to
// wantedPixels, the larger picture winning a tie, and full size when
// wantedPixels is 0.
int JpegScaleDenominator(JpegScale scale, int width, int height, int64_t wantedPixels);

// The size libjpeg decodes a side of `size` pixels to at 1/denominator.
constexpr int JpegScaledSide(int size, int denominator) { return (size + denominator - 1) / denominator; }

}  // namespace glamora::codec
