// The Targa codec: image types, depths and origins read as convert reads them,
// runs, saving, the content rule and what cannot be decoded.
#include <gtest/gtest.h>

#include <functional>

#include "codecs/Targa.h"
#include "tests/codecs/CodecChecks.h"
#include "tests/codecs/MagickReference.h"

namespace glamora::test {
namespace {

using codec::TargaCodec;
using File = std::vector<uint8_t>;

constexpr size_t kHeader = 18;

// convert keeps the stored row order and records the origin corner as an
// orientation; -auto-orient applies it. (Its own writer stores the top row
// first while declaring a bottom-left origin, so its samples are upside down.)
const std::vector<std::string> kOriented{"-auto-orient"};

// Mirrors every row of an uncompressed 24-bit file and marks it right-to-left.
File RightToLeft(const File& f) {
  const size_t width = GetLE(f, 12, 2), height = GetLE(f, 14, 2);
  File out = f;
  for (size_t y = 0; y < height; ++y) {
    for (size_t x = 0; x < width; ++x) {
      std::copy_n(f.begin() + std::ptrdiff_t(kHeader + (y * width + x) * 3), 3,
                  out.begin() + std::ptrdiff_t(kHeader + (y * width + width - 1 - x) * 3));
    }
  }
  out[17] |= 0x10;
  return out;
}

File WithId(const File& f) {
  const std::string id = "Glamora sample";
  File out(f.begin(), f.begin() + kHeader);
  out[0] = uint8_t(id.size() + 1);
  out.reserve(f.size() + id.size() + 1);
  for (char ch : id) out.push_back(uint8_t(ch));
  out.push_back(0);  // the identification may end with a zero byte
  out.insert(out.end(), f.begin() + kHeader, f.end());
  return out;
}

// Colour map indices starting at 3 instead of 0: every stored index moves up by 3.
File MapStartingAtThree(const File& f) {
  File out = f;
  PutLE(out, 3, 3, 2);
  const size_t mapBytes = GetLE(f, 5, 2) * ((f[7] + 7) / 8);
  for (size_t i = kHeader + mapBytes; i < out.size(); ++i) out[i] = uint8_t(out[i] + 3);
  return out;
}

struct Sample {
  const char* Name;
  std::vector<std::string> Args;
  std::function<File(const File&)> Change;
  int Type;
  int Depth;
  int Tolerance = 0;  // convert widens 5-bit channels by another rounding than bit repetition
};

std::vector<Sample> Samples() {
  return {
      {"TrueColour24", {"rose:"}, nullptr, 2, 24},
      {"TrueColour24Rle", {"rose:", "-compress", "RLE"}, nullptr, 10, 24},
      {"TrueColour32", {"rose:", "-alpha", "set"}, nullptr, 2, 32},
      {"TrueColour16", {"rose:", "-depth", "5"}, nullptr, 2, 16, 1},
      {"Grey", {"rose:", "-colorspace", "Gray"}, nullptr, 3, 8},
      {"GreyRle", {"rose:", "-colorspace", "Gray", "-compress", "RLE"}, nullptr, 11, 8},
      {"Mapped", {"rose:", "-type", "Palette"}, nullptr, 1, 8},
      {"MappedRle", {"rose:", "-type", "Palette", "-compress", "RLE"}, nullptr, 9, 8},
      {"MappedFromThree", {"rose:", "-type", "Palette"}, MapStartingAtThree, 1, 8},
      {"TopLeft", {"rose:", "-define", "tga:image-origin=TopLeft"}, nullptr, 2, 24},
      {"RightToLeft", {"rose:"}, RightToLeft, 2, 24},
      {"WithId", {"rose:", "-compress", "RLE"}, WithId, 10, 24},
  };
}

class TargaSamples : public ::testing::TestWithParam<Sample> {};

TEST_P(TargaSamples, DecodeMatchesMagick) {
  GLAMORA_REQUIRE_MAGICK();
  const Sample& s = GetParam();
  TempFolder folder;
  File file = MakeSample(s.Args, "TGA:" + folder.File("sample.tga"));
  ASSERT_FALSE(file.empty());
  if (s.Change) file = s.Change(file);
  ASSERT_EQ(file[2], s.Type);
  ASSERT_EQ(file[16], s.Depth);
  WriteAll(folder.File("changed.tga"), file);

  EXPECT_TRUE(MatchesMagick(TargaCodec(), folder.File("changed.tga"), kOriented, s.Tolerance));
  Bitmap decoded;
  TImgIOParams params;
  ASSERT_TRUE(DecodeWith(TargaCodec(), file, decoded, params));
  EXPECT_EQ(params.TgaCompressed, s.Type > 8);
  EXPECT_EQ(params.TgaDescription, std::string(s.Name) == "WithId" ? "Glamora sample" : "");
  EXPECT_TRUE(TargaCodec().Probe(file, file.size()));

  ExpectDamageHandled(TargaCodec(), file, std::max<size_t>(file.size() / 97, 1), 150, 5);
}

INSTANTIATE_TEST_SUITE_P(Targa, TargaSamples, ::testing::ValuesIn(Samples()),
                         [](const auto& sample) { return std::string(sample.param.Name); });

File Header(int type, int width, int height, int depth, uint8_t descriptor = 0) {
  File f(kHeader, 0);
  f[2] = uint8_t(type);
  PutLE(f, 12, uint32_t(width), 2);
  PutLE(f, 14, uint32_t(height), 2);
  f[16] = uint8_t(depth);
  f[17] = descriptor;
  return f;
}

TEST(Targa, RunsCrossRowsAndStopAtThePictureEnd) {
  File f = Header(11, 3, 2, 8, 0x20);
  f.insert(f.end(), {0x80 | 3, 10, 0x7F, 20, 30});  // a run of 4 grey 10s, then a raw packet of 128 cut short
  Bitmap decoded;
  TImgIOParams params;
  ASSERT_TRUE(DecodeWith(TargaCodec(), f, decoded, params));
  EXPECT_EQ(decoded.Pixel(2, 0), Rgb(10, 10, 10));
  EXPECT_EQ(decoded.Pixel(0, 1), Rgb(10, 10, 10));  // the run went on into the second row
  EXPECT_EQ(decoded.Pixel(1, 1), Rgb(20, 20, 20));
  EXPECT_EQ(decoded.Pixel(2, 1), Rgb(30, 30, 30));

  f = Header(11, 3, 2, 8);
  f.insert(f.end(), {0xFF, 99});  // one run of 128 covers the picture and is clipped
  ASSERT_TRUE(DecodeWith(TargaCodec(), f, decoded, params));
  EXPECT_EQ(decoded.Pixel(2, 1), Rgb(99, 99, 99));
}

TEST(Targa, FifteenBitPicturesDecodeThoughTheContentTestSkipsThem) {
  File f = Header(2, 2, 1, 15);
  f.insert(f.end(), {0x1F, 0x00, 0xE0, 0x7F});  // pure blue; red and green full (bit 15 unused)
  EXPECT_FALSE(TargaCodec().Probe(f, f.size()));
  Bitmap decoded;
  TImgIOParams params;
  ASSERT_TRUE(DecodeWith(TargaCodec(), f, decoded, params));
  EXPECT_EQ(decoded.Pixel(0, 0), Rgb(0, 0, 255));
  EXPECT_EQ(decoded.Pixel(1, 0), Rgb(255, 255, 0));
}

Bitmap Pattern(int width, int height) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      // Long runs, short runs and single pixels, so both packet kinds appear.
      const uint8_t v = x < width / 2 ? uint8_t(y) : uint8_t((x / 3) * 7 + (x % 5 == 0));
      b.SetPixel(x, y, Rgb(v, uint8_t(v + y), uint8_t(x)));
    }
  }
  return b;
}

TEST(Targa, EncodeRoundTripsAndMagickReadsIt) {
  for (const bool compressed : {false, true}) {
    for (const auto& [width, height] : {std::pair{1, 1}, {2, 3}, {300, 5}, {70, 46}}) {
      SCOPED_TRACE(::testing::Message() << (compressed ? "RLE " : "plain ") << width << "x" << height);
      const Bitmap picture = Pattern(width, height);
      TImgIOParams params;
      params.TgaCompressed = compressed;
      params.TgaDescription = "round trip";
      MemoryStream coded;
      ASSERT_EQ(TargaCodec().Encode(picture, params, ProgressRecord{}, coded), PictureStatus::Ok);
      const File& file = coded.Bytes();
      EXPECT_EQ(file[2], compressed ? 10 : 2);
      EXPECT_EQ(file[16], 24);

      Bitmap decoded;
      TImgIOParams read;
      ASSERT_TRUE(DecodeWith(TargaCodec(), file, decoded, read));
      EXPECT_TRUE(decoded.SameContent(picture));
      EXPECT_EQ(read.TgaCompressed, compressed);
      EXPECT_EQ(read.TgaDescription, "round trip");

      GLAMORA_REQUIRE_MAGICK();
      TempFolder folder;
      WriteAll(folder.File("ours.tga"), file);
      Bitmap magick;
      ASSERT_TRUE(MagickDecode(folder.File("ours.tga"), magick, kOriented));
      EXPECT_TRUE(SamePixels(picture, magick));
    }
  }
}

TEST(Targa, RunLengthCodingShrinksFlatPictures) {
  Bitmap flat(200, 10);
  flat.Fill(Rgb(5, 6, 7));
  TImgIOParams params;
  params.TgaCompressed = true;
  MemoryStream coded;
  ASSERT_EQ(TargaCodec().Encode(flat, params, ProgressRecord{}, coded), PictureStatus::Ok);
  EXPECT_EQ(coded.Bytes().size(), kHeader + 10 * 2 * 4);  // each row: a run of 128 and a run of 72
}

TEST(Targa, ProbeFollowsTheContentRule) {
  struct Case {
    int Type;
    int Depth;
    size_t Size;
    bool Accepted;
  };
  const Case cases[] = {
      {2, 24, 18, true},  {10, 32, 40, true}, {1, 8, 40, true},  {3, 8, 40, true},  {11, 16, 40, true},
      {9, 1, 40, true},   {1, 4, 40, true},   {2, 15, 40, false}, {4, 24, 40, false}, {0, 24, 40, false},
      {2, 24, 17, false}, {2, 0, 40, false},
  };
  for (const Case& c : cases) {
    File f = Header(c.Type, 2, 2, c.Depth);
    f.resize(c.Size);
    if (c.Size >= kHeader) {
      f[2] = uint8_t(c.Type);
      f[16] = uint8_t(c.Depth);
    }
    EXPECT_EQ(TargaCodec().Probe(f, f.size()), c.Accepted) << "type " << c.Type << " depth " << c.Depth << " size " << c.Size;
  }
}

TEST(Targa, RefusesWhatItCannotDecode) {
  struct Case {
    const char* What;
    File Data;
  };
  File mappedWithoutMap = Header(1, 2, 2, 8);
  mappedWithoutMap.resize(kHeader + 4);
  File tooShort = Header(2, 4, 4, 24);
  tooShort.resize(kHeader + 4 * 4 * 3 - 1);
  const Case cases[] = {
      {"wider than the side limit", Header(2, 30001, 1, 24)},
      {"over the pixel limit", Header(2, 20000, 20000, 24)},
      {"zero width", Header(2, 0, 5, 24)},
      {"one-bit true colour", Header(2, 4, 4, 1)},
      {"colour map type 1 missing", mappedWithoutMap},
      {"pixels cut short", tooShort},
  };
  for (const Case& c : cases) {
    Bitmap out(1, 1);
    TImgIOParams params;
    size_t consumed = 0;
    bool aborting = false;
    ProgressRecord progress;
    progress.Aborting = &aborting;
    EXPECT_NE(TargaCodec().Decode(c.Data, out, params, progress, consumed), PictureStatus::Ok) << c.What;
    EXPECT_TRUE(aborting) << c.What;
    EXPECT_EQ(out.Width(), 1) << c.What;
  }
}

}  // namespace
}  // namespace glamora::test
