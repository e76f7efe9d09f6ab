#pragma once
// The five lines of information a picture preview shows about a file: its
// size with the frame count, its colours, its resolution, its format with
// how it is coded, and the sizes of the file and of the picture in memory.
// The picture open dialog shows them beside the preview and the
// command-line companion prints them.
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/components/FormatTable.h"
#include "imaging/components/MsgTable.h"
#include "imaging/core/ImgIOParams.h"

namespace glamora {

struct PreviewInfo {
  std::string Size;           // "640 x 480 pixel", then " , 3 frames" for several frames
  std::string Colours;        // "16777216 Colors (24 bit)"
  std::string Resolution;     // "72 x 72 dpi"
  std::string Format;         // "JPEG Bitmap (JPG) YCbCr"; empty for an unknown type
  std::string FileAndMemory;  // "File: 50 Kb   Mem: 900 Kb"

  // The lines in the order above.
  std::vector<std::string> Lines() const { return {Size, Colours, Resolution, Format, FileAndMemory}; }
};

// The lines for a picture whose parameters were read from a file of
// fileSize bytes (see TImgIO::ParamsFromFile).
PreviewInfo DescribePreview(const TImgIOParams& params, uint64_t fileSize, TMsgLanguage language,
                            const FormatTable& formats = BuiltInFormats());

// Frames of a GIF or pages of a TIFF by the parameters; 1 for other files.
int FrameCountOf(const TImgIOParams& params);

// "1023 bytes" up to 1023 bytes, whole kilobytes above: "1 Kb".
std::string ByteSizeText(uint64_t bytes);

// 2 to the power `bits`, in decimal.
std::string PowerOfTwoText(int64_t bits);

// How the picture is coded, as the format line ends: " LZW", " Interlaced",
// " YCbCr", " ver.3", ... or empty.
std::string CodingDetail(const TImgIOParams& params);

}  // namespace glamora
