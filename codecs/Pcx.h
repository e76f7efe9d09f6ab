#pragma once
// PC Paintbrush pictures (".pcx").
//
// Reads 1-bit, 2-bit and 4-bit pictures of one to four planes with the
// header's 16-colour palette (a black-and-white one decodes to a 1-bit
// bitmap), 8-bit pictures with the 256-colour palette that follows the 0x0C
// marker at the end of the file (version 5 files must have it; older ones
// read as grey levels), and 24-bit pictures of three or four planes;
// run-length coded or not. Runs may cross row ends. Writes 24-bit three-plane version 5 files, run-length coded
// unless PcxCompression is 0, with the Params' resolution.
#include <cstdint>
#include <vector>

#include "codecs/Codec.h"

namespace glamora::codec {

const Codec& PcxCodec();

// The content test of the picture front: more than a 128-byte header,
// manufacturer byte 10 and a version up to 5.
bool ProbePcx(Bytes head, uint64_t streamSize);
PictureStatus InfoPcx(Bytes data, PictureInfo& info);
PictureStatus DecodePcx(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                        size_t& consumed);
PictureStatus EncodePcx(const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress, Stream& out);

}  // namespace glamora::codec
