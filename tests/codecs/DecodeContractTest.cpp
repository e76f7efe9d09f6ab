// What every decoder promises whatever its format: the declared size is
// held against the caller's limits.
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

namespace glamora::test {
namespace {

using File = std::vector<uint8_t>;

constexpr int kWidth = 40, kHeight = 30;

TImgIOParams WithEveryCoder() {
  TImgIOParams params;
  params.Lzw = LzwHooks{true, true, true, true};
  return params;
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
  return {
      {"Jpeg", codec::JpegCodec(), Encoded(codec::JpegCodec())},
      {"JpegProgressive", codec::JpegCodec(), Encoded(codec::JpegCodec(), progressive)},
      {"Png", codec::PngCodec(), Encoded(codec::PngCodec())},
      {"Gif", codec::GifCodec(), Encoded(codec::GifCodec())},
      {"Tiff", codec::TiffCodec(), Encoded(codec::TiffCodec())},
      {"TiffDeflate", codec::TiffCodec(), Encoded(codec::TiffCodec(), compressed)},
      {"Bmp", codec::BmpCodec(), Encoded(codec::BmpCodec())},
      {"Pcx", codec::PcxCodec(), Encoded(codec::PcxCodec(), compressed)},
      {"PcxPlain", codec::PcxCodec(), Encoded(codec::PcxCodec(), plain)},
      {"Targa", codec::TargaCodec(), Encoded(codec::TargaCodec())},
      {"TargaRle", codec::TargaCodec(), Encoded(codec::TargaCodec(), compressed)},
      {"Icon", codec::IconCodec(), IconFromBmp(Encoded(codec::BmpCodec()), 1)},
      {"Cursor", codec::CursorCodec(), IconFromBmp(Encoded(codec::BmpCodec()), 2)},
  };
}

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
  ASSERT_EQ(DecodeWithin(file, {kWidth, kWidth * kHeight}, out), PictureStatus::Ok);
  EXPECT_EQ(out.Width(), kWidth);
  EXPECT_EQ(out.Height(), kHeight);
  for (const DecodeLimits limits : {DecodeLimits{kWidth - 1, 1'000'000}, DecodeLimits{1000, kWidth * kHeight - 1}}) {
    Bitmap untouched(2, 2);
    EXPECT_EQ(DecodeWithin(file, limits, untouched), PictureStatus::TooLarge)
        << limits.MaxSide << " a side, " << limits.MaxPixels << " pixels";
    EXPECT_EQ(untouched.Width(), 2);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, DecodeContract, ::testing::ValuesIn(Samples()),
                         [](const auto& test) { return test.param.Name; });

}  // namespace
}  // namespace glamora::test
