// What every decoder promises whatever its format: the declared size is
// held against the caller's limits, and a file cut short anywhere is damaged
// unless what was cut off held nothing of the picture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codecs/Bmp.h"
#include "codecs/Gif.h"
#include "codecs/Icon.h"
#include "codecs/Jpeg.h"
#include "codecs/Pcx.h"
#include "codecs/Png.h"
#include "codecs/Targa.h"
#include "codecs/Tiff.h"
#include "tests/codecs/CodecChecks.h"
#include "tests/codecs/LibraryCodecChecks.h"
#include "tests/support/TestSupport.h"

namespace glamora::test {
namespace {

using File = std::vector<uint8_t>;

constexpr int kWidth = 40, kHeight = 30;

TImgIOParams WithEveryCoder() {
  TImgIOParams params;
  params.Lzw = LzwHooks{true, true, true, true};
  return params;
}

// A sample of the fuzz corpus, without the options byte its harness reads last.
File CorpusFile(const std::string& path) {
  File bytes = ReadAll(SourceDir() + "/fuzz/corpus/" + path);
  if (!bytes.empty()) bytes.pop_back();
  return bytes;
}

File Encoded(const codec::Codec& codec, TImgIOParams params = WithEveryCoder()) {
  MemoryStream out;
  EXPECT_EQ(codec.Encode(SmoothPicture(kWidth, kHeight), params, ProgressRecord{}, out), PictureStatus::Ok);
  return out.Bytes();
}


struct Sample {
  std::string Name;
  const codec::Codec& Codec;
  File Bytes;
};

// A small valid file of every kind the program reads, each 40 × 30.
std::vector<Sample> Samples() {
  TImgIOParams progressive = WithEveryCoder();
  progressive.JpegProgressive = true;
  TImgIOParams compressed = WithEveryCoder();
  compressed.TgaCompressed = true;
  compressed.PcxCompression = 1;
  compressed.TiffCompress = TiffCompression::Deflate;
  TImgIOParams plain = WithEveryCoder();
  plain.PcxCompression = 0;
  TImgIOParams interlaced = WithEveryCoder();
  interlaced.PngInterlaced = true;
  interlaced.GifInterlaced = true;
  return {
      {"Jpeg", codec::JpegCodec(), Encoded(codec::JpegCodec())},
      {"JpegProgressive", codec::JpegCodec(), Encoded(codec::JpegCodec(), progressive)},
      {"Png", codec::PngCodec(), Encoded(codec::PngCodec())},
      {"PngInterlaced", codec::PngCodec(), Encoded(codec::PngCodec(), interlaced)},
      {"Gif", codec::GifCodec(), Encoded(codec::GifCodec())},
      {"GifInterlaced", codec::GifCodec(), Encoded(codec::GifCodec(), interlaced)},
      {"Tiff", codec::TiffCodec(), Encoded(codec::TiffCodec())},
      {"TiffDeflate", codec::TiffCodec(), Encoded(codec::TiffCodec(), compressed)},
      {"Bmp", codec::BmpCodec(), Encoded(codec::BmpCodec())},
      {"BmpRle8", codec::BmpCodec(), CorpusFile("fuzz_bmp/rle8_bmp")},
      {"BmpRle4", codec::BmpCodec(), CorpusFile("fuzz_bmp/rle4_delta")},
      {"Pcx8", codec::PcxCodec(), CorpusFile("fuzz_pcx/8_pcx")},
      {"Pcx", codec::PcxCodec(), Encoded(codec::PcxCodec(), compressed)},
      {"PcxPlain", codec::PcxCodec(), Encoded(codec::PcxCodec(), plain)},
      {"Targa", codec::TargaCodec(), Encoded(codec::TargaCodec())},
      {"TargaRle", codec::TargaCodec(), Encoded(codec::TargaCodec(), compressed)},
      {"Icon", codec::IconCodec(), IconFromBmp(Encoded(codec::BmpCodec()), 1)},
      {"Cursor", codec::CursorCodec(), IconFromBmp(Encoded(codec::BmpCodec()), 2)},
  };
}

void PrintTo(const Sample& sample, std::ostream* out) { *out << sample.Name; }

class DecodeContract : public ::testing::TestWithParam<Sample> {
 protected:
  PictureStatus DecodeWithin(const File& bytes, DecodeLimits limits, Bitmap& out) {
    TImgIOParams params = WithEveryCoder();
    params.Limits = limits;
    size_t consumed = 0;
    return GetParam().Codec.Decode(bytes, out, params, ProgressRecord{}, consumed);
  }
};

TEST_P(DecodeContract, HoldsTheDeclaredSizeAgainstTheCallersLimits) {
  const File& file = GetParam().Bytes;
  Bitmap out;
  ASSERT_EQ(DecodeWithin(file, DecodeLimits{}, out), PictureStatus::Ok);
  const int width = out.Width(), height = out.Height();
  ASSERT_EQ(DecodeWithin(file, {std::max(width, height), int64_t(width) * height}, out), PictureStatus::Ok);
  for (const DecodeLimits limits : {DecodeLimits{std::max(width, height) - 1, 1'000'000},
                                    DecodeLimits{1000, int64_t(width) * height - 1}}) {
    Bitmap untouched(2, 2);
    EXPECT_EQ(DecodeWithin(file, limits, untouched), PictureStatus::TooLarge)
        << limits.MaxSide << " a side, " << limits.MaxPixels << " pixels";
    EXPECT_EQ(untouched.Width(), 2);
  }
}

// Cut at every length, a file either fails as damaged, leaving the output as
// it was, or gives exactly the picture of the whole file (what was cut off
// was an end marker, a trailer or padding): never a picture partly made up.
TEST_P(DecodeContract, AFileCutShortIsDamagedOrWhole) {
  const File& file = GetParam().Bytes;
  ASSERT_FALSE(file.empty());
  Bitmap whole;
  ASSERT_EQ(DecodeWithin(file, DecodeLimits{}, whole), PictureStatus::Ok);
  for (size_t length = 0; length < file.size(); ++length) {
    const File cut(file.begin(), file.begin() + std::ptrdiff_t(length));
    Bitmap out(2, 2);
    out.Fill(Rgb(1, 2, 3));
    const PictureStatus status = DecodeWithin(cut, DecodeLimits{}, out);
    if (status == PictureStatus::Ok) {
      EXPECT_TRUE(out.SameContent(whole)) << "cut to " << length << " of " << file.size()
                                          << " bytes, it decodes to another picture";
    } else {
      EXPECT_EQ(status, PictureStatus::Damaged) << "cut to " << length;
      EXPECT_EQ(out.Width(), 2) << "cut to " << length;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, DecodeContract, ::testing::ValuesIn(Samples()),
                         [](const auto& test) { return test.param.Name; });

}  // namespace
}  // namespace glamora::test
