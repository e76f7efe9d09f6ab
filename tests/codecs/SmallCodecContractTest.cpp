// The codec contract for the hand-written codecs (BMP, PCX, Targa, icon,
// cursor): progress, stopping on request, where the picture ends, and every
// damaged file a fuzzer ever found.
#include <gtest/gtest.h>

#include <algorithm>

#include "codecs/Bmp.h"
#include "codecs/Icon.h"
#include "codecs/Pcx.h"
#include "codecs/Targa.h"
#include "tests/codecs/CodecChecks.h"
#include "tests/codecs/MagickReference.h"

namespace glamora::test {
namespace {

using File = std::vector<uint8_t>;

Bitmap Pattern() {
  Bitmap b(37, 23);
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, Rgb(uint8_t(x * 7), uint8_t(y * 11), uint8_t(x < 20 ? 9 : x)));
  }
  return b;
}

File Encoded(const codec::Codec& codec, bool compressed) {
  TImgIOParams params;
  params.TgaCompressed = compressed;
  params.PcxCompression = compressed ? 1 : 0;
  MemoryStream file;
  EXPECT_EQ(codec.Encode(Pattern(), params, ProgressRecord{}, file), PictureStatus::Ok);
  return file.Bytes();
}

File IconFile(uint16_t type) { return IconFromBmp(Encoded(codec::BmpCodec(), false), type); }

struct Case {
  const char* Name;
  const codec::Codec& Codec;
  File Sample;
};

std::vector<Case> Cases() {
  return {
      {"Bmp", codec::BmpCodec(), Encoded(codec::BmpCodec(), false)},
      {"Pcx", codec::PcxCodec(), Encoded(codec::PcxCodec(), true)},
      {"PcxPlain", codec::PcxCodec(), Encoded(codec::PcxCodec(), false)},
      {"Targa", codec::TargaCodec(), Encoded(codec::TargaCodec(), false)},
      {"TargaRle", codec::TargaCodec(), Encoded(codec::TargaCodec(), true)},
      {"Icon", codec::IconCodec(), IconFile(1)},
      {"Cursor", codec::CursorCodec(), IconFile(2)},
  };
}

class SmallCodecContract : public ::testing::TestWithParam<Case> {};

TEST_P(SmallCodecContract, DecodesTheSampleAndReportsProgressUpToAll) {
  const Case& c = GetParam();
  ASSERT_FALSE(c.Sample.empty());
  std::vector<int> reported;
  ProgressRecord progress;
  progress.OnProgress = [&](int percent) { reported.push_back(percent); };
  Bitmap out;
  TImgIOParams params;
  size_t consumed = 0;
  ASSERT_EQ(c.Codec.Decode(c.Sample, out, params, progress, consumed), PictureStatus::Ok);
  EXPECT_TRUE(SamePixels(Pattern(), out));
  EXPECT_TRUE(c.Codec.Probe(c.Sample, c.Sample.size()));
  ASSERT_FALSE(reported.empty());
  EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
  EXPECT_EQ(reported.back(), 100);
}

TEST_P(SmallCodecContract, StopsWhenAskedAndLeavesTheOutput) {
  const Case& c = GetParam();
  for (const bool fromTheStart : {true, false}) {
    bool aborting = fromTheStart;
    ProgressRecord progress;
    progress.Aborting = &aborting;
    progress.OnProgress = [&](int) { aborting = true; };  // the caller stops at the first report
    Bitmap out(3, 3);
    const Bitmap before = out;
    TImgIOParams params;
    params.Width = 99;
    size_t consumed = 0;
    EXPECT_NE(c.Codec.Decode(c.Sample, out, params, progress, consumed), PictureStatus::Ok);
    EXPECT_TRUE(out.SameContent(before));
    EXPECT_EQ(params.Width, 99);
  }
}

TEST_P(SmallCodecContract, ConsumesThePictureAndNotWhatFollows) {
  const Case& c = GetParam();
  File followed = c.Sample;
  followed.insert(followed.end(), {1, 2, 3, 4, 5});
  Bitmap out;
  TImgIOParams params;
  size_t consumed = 0;
  ASSERT_EQ(c.Codec.Decode(followed, out, params, ProgressRecord{}, consumed), PictureStatus::Ok);
  EXPECT_EQ(consumed, c.Sample.size());
}

TEST_P(SmallCodecContract, EmptyAndTinyInputsFail) {
  const Case& c = GetParam();
  for (size_t size : {size_t(0), size_t(1), size_t(14), size_t(18), size_t(22)}) {
    const File prefix(c.Sample.begin(), c.Sample.begin() + std::ptrdiff_t(std::min(size, c.Sample.size())));
    Bitmap out;
    TImgIOParams params;
    size_t consumed = 0;
    EXPECT_NE(c.Codec.Decode(prefix, out, params, ProgressRecord{}, consumed), PictureStatus::Ok) << size;
    codec::PictureInfo info;
    if (size < 14) {
      EXPECT_NE(c.Codec.Info(prefix, info), PictureStatus::Ok) << size;  // Info reads no more than a header
    }
  }
}

TEST_P(SmallCodecContract, SurvivesEveryTruncationAndBitFlips) {
  const Case& c = GetParam();
  ExpectDamageHandled(c.Codec, c.Sample, 1, 400, 17);
}

INSTANTIATE_TEST_SUITE_P(SmallCodecs, SmallCodecContract, ::testing::ValuesIn(Cases()),
                         [](const auto& test) { return std::string(test.param.Name); });

}  // namespace
}  // namespace glamora::test
