#pragma once
// The Orientation field of an EXIF block, read with libexif.
#include "codecs/Codec.h"

namespace glamora::codec {

// True when an APP1 segment's data (after its length) is an EXIF block: it
// begins with "Exif" and two zero bytes.
bool IsExifSegment(Bytes segment);

// The Orientation (1..8) of the first picture an EXIF block describes;
// 1 when the block is damaged, has no such field or gives a value outside
// 1..8. libexif sees only the bytes of `segment`.
int ExifOrientation(Bytes segment);

}  // namespace glamora::codec
