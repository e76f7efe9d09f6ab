// The PCX codec: plane and bit layouts with their palettes read as convert reads
// them, runs across rows, saving, the probe and invalid headers.
#include <gtest/gtest.h>

#include "codecs/Pcx.h"
#include "tests/codecs/CodecChecks.h"
#include "tests/codecs/MagickReference.h"

namespace glamora::test {
namespace {

using codec::PcxCodec;
using File = std::vector<uint8_t>;

constexpr size_t kHeader = 128;

struct Sample {
  const char* Name;
  std::vector<std::string> Args;
  int Bits;
  int Planes;
  int Encoding;
  bool Bilevel;
};

std::vector<Sample> Samples() {
  return {
      {"TrueColourRle", {"rose:"}, 8, 3, 1, false},
      {"TrueColourPlain", {"rose:", "-compress", "None"}, 8, 3, 0, false},
      {"Palette256", {"rose:", "-type", "Palette"}, 8, 1, 1, false},
      {"Palette256Plain", {"rose:", "-type", "Palette", "-compress", "None"}, 8, 1, 0, false},
      {"Grey", {"rose:", "-colorspace", "Gray"}, 8, 3, 1, false},
      {"Resolution", {"rose:", "-density", "150x75", "-units", "PixelsPerInch"}, 8, 3, 1, false},
  };
}

class PcxSamples : public ::testing::TestWithParam<Sample> {};

TEST_P(PcxSamples, DecodeMatchesMagick) {
  GLAMORA_REQUIRE_MAGICK();
  const Sample& s = GetParam();
  TempFolder folder;
  const File file = MakeSample(s.Args, "PCX:" + folder.File("sample.pcx"));
  ASSERT_GT(file.size(), kHeader);
  ASSERT_EQ(file[3], s.Bits);
  ASSERT_EQ(file[65], s.Planes);
  ASSERT_EQ(file[2], s.Encoding);

  EXPECT_TRUE(MatchesMagick(PcxCodec(), folder.File("sample.pcx")));
  Bitmap decoded;
  TImgIOParams params;
  ASSERT_TRUE(DecodeWith(PcxCodec(), file, decoded, params));
  EXPECT_EQ(decoded.Format(), s.Bilevel ? PixelFormat::Bits1 : PixelFormat::Bits24);
  EXPECT_EQ(params.PcxVersion, 5);
  EXPECT_EQ(params.PcxCompression, s.Encoding);
  if (std::string(s.Name) == "Resolution") {
    EXPECT_EQ(params.DpiX, 150);
    EXPECT_EQ(params.DpiY, 75);
  }
  codec::PictureInfo info;
  ASSERT_EQ(PcxCodec().Info(file, info), PictureStatus::Ok);
  EXPECT_EQ(info.Width, decoded.Width());
  EXPECT_EQ(info.BitsPerSample, params.BitsPerSample);

  ExpectDamageHandled(PcxCodec(), file, std::max<size_t>(file.size() / 97, 1), 150, 3);
}

INSTANTIATE_TEST_SUITE_P(Pcx, PcxSamples, ::testing::ValuesIn(Samples()),
                         [](const auto& sample) { return std::string(sample.param.Name); });

File Header(int bits, int planes, int width, int height, size_t bytesPerLine, int encoding) {
  File f(kHeader, 0);
  f[0] = 10;
  f[1] = 5;
  f[2] = uint8_t(encoding);
  f[3] = uint8_t(bits);
  PutLE(f, 8, uint32_t(width - 1), 2);
  PutLE(f, 10, uint32_t(height - 1), 2);
  f[65] = uint8_t(planes);
  PutLE(f, 66, bytesPerLine, 2);
  PutLE(f, 68, 1, 2);
  return f;
}

// A 16-colour EGA picture: four planes of one bit, colour i of the header
// palette at x = i on the first row and x = 15 - i on the second.
File EgaPicture() {
  File f = Header(1, 4, 16, 2, 2, 0);
  for (int i = 0; i < 16; ++i) {
    f[16 + 3 * size_t(i)] = uint8_t(i * 16);
    f[17 + 3 * size_t(i)] = uint8_t(255 - i * 8);
    f[18 + 3 * size_t(i)] = uint8_t(i * 5);
  }
  for (int y = 0; y < 2; ++y) {
    for (int plane = 0; plane < 4; ++plane) {
      uint16_t bits = 0;
      for (int x = 0; x < 16; ++x) {
        const int index = y == 0 ? x : 15 - x;
        if (index & (1 << plane)) bits |= uint16_t(0x8000 >> x);
      }
      f.push_back(uint8_t(bits >> 8));
      f.push_back(uint8_t(bits));
    }
  }
  return f;
}

TEST(Pcx, SixteenColourPlanesUseTheHeaderPalette) {
  const File file = EgaPicture();
  Bitmap decoded;
  TImgIOParams params;
  ASSERT_TRUE(DecodeWith(PcxCodec(), file, decoded, params));
  for (int i = 0; i < 16; ++i) {
    const TColor colour = Rgb(uint8_t(i * 16), uint8_t(255 - i * 8), uint8_t(i * 5));
    EXPECT_EQ(decoded.Pixel(i, 0), colour) << i;
    EXPECT_EQ(decoded.Pixel(15 - i, 1), colour) << i;
  }
  GLAMORA_REQUIRE_MAGICK();
  TempFolder folder;
  WriteAll(folder.File("ega.pcx"), file);
  EXPECT_TRUE(MatchesMagick(PcxCodec(), folder.File("ega.pcx")));
  ExpectDamageHandled(PcxCodec(), file, 1, 200, 9);
}

// One plane of one bit, 12 x 2, with the given two header palette entries.
File MonoPicture(TColor first, TColor second) {
  File f = Header(1, 1, 12, 2, 2, 0);
  for (const auto& [entry, colour] : {std::pair{0, first}, {1, second}}) {
    f[16 + 3 * size_t(entry)] = RedOf(colour);
    f[17 + 3 * size_t(entry)] = GreenOf(colour);
    f[18 + 3 * size_t(entry)] = BlueOf(colour);
  }
  f.insert(f.end(), {0b10110000, 0b10100000, 0b01001111, 0b11110000});
  return f;
}

TEST(Pcx, MonoPicturesUseDistinctPaletteEntriesElseBlackAndWhite) {
  struct Case {
    const char* What;
    TColor First, Second;
    PixelFormat Format;
    TColor Zero, One;  // the colours of clear and set bits
  };
  const Case cases[] = {
      {"black and white", clBlack, clWhite, PixelFormat::Bits1, clBlack, clWhite},
      {"white and black", clWhite, clBlack, PixelFormat::Bits1, clWhite, clBlack},
      {"no palette (entries equal)", clBlack, clBlack, PixelFormat::Bits1, clBlack, clWhite},
      {"two colours", Rgb(255, 0, 0), Rgb(0, 0, 255), PixelFormat::Bits24, Rgb(255, 0, 0), Rgb(0, 0, 255)},
  };
  for (const Case& c : cases) {
    Bitmap decoded;
    TImgIOParams params;
    ASSERT_TRUE(DecodeWith(PcxCodec(), MonoPicture(c.First, c.Second), decoded, params)) << c.What;
    EXPECT_EQ(decoded.Format(), c.Format) << c.What;
    EXPECT_EQ(params.BitsPerSample, c.Format == PixelFormat::Bits1 ? 1 : 8) << c.What;
    const char* row0 = "101100001010";
    const char* row1 = "010011111111";
    for (int x = 0; x < 12; ++x) {
      EXPECT_EQ(decoded.Pixel(x, 0), row0[x] == '1' ? c.One : c.Zero) << c.What << " x " << x;
      EXPECT_EQ(decoded.Pixel(x, 1), row1[x] == '1' ? c.One : c.Zero) << c.What << " x " << x;
    }
  }
  ExpectDamageHandled(PcxCodec(), MonoPicture(clBlack, clWhite), 1, 100, 4);
}

TEST(Pcx, RunsMayCrossRowEnds) {
  File f = Header(8, 1, 3, 2, 4, 1);  // 4 bytes per line: one byte of padding a row
  f[1] = 3;  // a version before the 256-colour palette
  f.insert(f.end(), {0xC5, 7, 9, 0xC1, 0xC8, 0});  // five 7s, a literal 9, a run of one 0xC8, padding
  Bitmap decoded;
  TImgIOParams params;
  ASSERT_TRUE(DecodeWith(PcxCodec(), f, decoded, params));
  // Without the palette at the end the indices are grey levels.
  EXPECT_EQ(decoded.Pixel(2, 0), Rgb(7, 7, 7));
  EXPECT_EQ(decoded.Pixel(0, 1), Rgb(7, 7, 7));
  EXPECT_EQ(decoded.Pixel(1, 1), Rgb(9, 9, 9));
  EXPECT_EQ(decoded.Pixel(2, 1), Rgb(0xC8, 0xC8, 0xC8));
}

// Version 5 brought the 256-colour palette at the end: an 8-bit file of that
// version without it was cut short, and its indices are no grey levels.
TEST(Pcx, VersionFiveEightBitPictureWithoutItsPaletteIsDamaged) {
  File f = Header(8, 1, 3, 2, 4, 1);
  f.insert(f.end(), {0xC5, 7, 9, 0xC1, 0xC8, 0});
  Bitmap out;
  TImgIOParams params;
  size_t consumed = 0;
  EXPECT_EQ(PcxCodec().Decode(f, out, params, ProgressRecord{}, consumed), PictureStatus::Damaged);
  f.push_back(0x0C);
  f.insert(f.end(), 700, 0);  // a palette cut short
  EXPECT_EQ(PcxCodec().Decode(f, out, params, ProgressRecord{}, consumed), PictureStatus::Damaged);
  f.insert(f.end(), 68, 0);
  EXPECT_EQ(PcxCodec().Decode(f, out, params, ProgressRecord{}, consumed), PictureStatus::Ok);
}

Bitmap Pattern(int width, int height) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      // Runs longer than 63, single bytes of 0xC0 and above, and plain bytes.
      const uint8_t v = x < 100 ? uint8_t(200 + y) : uint8_t(x * 29);
      b.SetPixel(x, y, Rgb(v, uint8_t(x), uint8_t(0xC0 | (x % 7))));
    }
  }
  return b;
}

TEST(Pcx, EncodeRoundTripsAndMagickReadsIt) {
  for (const int compression : {1, 0}) {
    for (const auto& [width, height] : {std::pair{1, 1}, {3, 2}, {150, 4}, {70, 46}}) {
      SCOPED_TRACE(::testing::Message() << "compression " << compression << " " << width << "x" << height);
      const Bitmap picture = Pattern(width, height);
      TImgIOParams params;
      params.PcxCompression = compression;
      params.DpiX = 200;
      params.DpiY = 100;
      MemoryStream coded;
      ASSERT_EQ(PcxCodec().Encode(picture, params, ProgressRecord{}, coded), PictureStatus::Ok);
      const File& file = coded.Bytes();
      EXPECT_EQ(file[1], 5);
      EXPECT_EQ(file[2], compression);
      EXPECT_EQ(file[65], 3);
      EXPECT_EQ(GetLE(file, 66, 2) % 2, 0u);  // bytes per line kept even

      Bitmap decoded;
      TImgIOParams read;
      ASSERT_TRUE(DecodeWith(PcxCodec(), file, decoded, read));
      EXPECT_TRUE(decoded.SameContent(picture));
      EXPECT_EQ(read.DpiX, 200);
      EXPECT_EQ(read.DpiY, 100);
      EXPECT_EQ(read.PcxCompression, compression);

      GLAMORA_REQUIRE_MAGICK();
      TempFolder folder;
      WriteAll(folder.File("ours.pcx"), file);
      Bitmap magick;
      ASSERT_TRUE(MagickDecode(folder.File("ours.pcx"), magick));
      EXPECT_TRUE(SamePixels(picture, magick));
    }
  }
}

TEST(Pcx, ProbeFollowsTheContentRule) {
  File f(129, 0);
  f[0] = 10;
  f[1] = 5;
  EXPECT_TRUE(PcxCodec().Probe(f, f.size()));
  f[1] = 6;
  EXPECT_FALSE(PcxCodec().Probe(f, f.size()));
  f[1] = 0;
  EXPECT_TRUE(PcxCodec().Probe(f, f.size()));
  f[0] = 11;
  EXPECT_FALSE(PcxCodec().Probe(f, f.size()));
  f[0] = 10;
  f.resize(128);
  EXPECT_FALSE(PcxCodec().Probe(f, f.size()));
}

TEST(Pcx, RefusesHugeAndInvalidHeaders) {
  struct Case {
    const char* What;
    File Data;
  };
  auto withPixels = [](File f, size_t bytes) {
    f.resize(f.size() + bytes, 0);
    return f;
  };
  File reversed = withPixels(Header(8, 3, 4, 4, 4, 1), 100);
  PutLE(reversed, 4, 10, 2);  // x minimum beyond the maximum
  const Case cases[] = {
      {"wider than the side limit", withPixels(Header(8, 3, 40000, 1, 40000, 1), 100)},
      {"over the pixel limit", withPixels(Header(8, 1, 20000, 20000, 20000, 1), 100)},
      {"far too little data for the size", withPixels(Header(8, 3, 10000, 10000, 10000, 1), 100)},
      {"line shorter than the width", withPixels(Header(8, 3, 40, 2, 39, 1), 400)},
      {"two planes of eight bits", withPixels(Header(8, 2, 4, 4, 4, 1), 100)},
      {"sixteen bits", withPixels(Header(16, 1, 4, 4, 8, 1), 100)},
      {"unknown encoding", withPixels(Header(8, 3, 4, 4, 4, 2), 100)},
      {"window reversed", reversed},
      {"rows cut short", withPixels(Header(8, 3, 4, 4, 4, 0), 47)},
  };
  for (const Case& c : cases) {
    Bitmap out(1, 1);
    TImgIOParams params;
    size_t consumed = 0;
    EXPECT_NE(PcxCodec().Decode(c.Data, out, params, ProgressRecord{}, consumed), PictureStatus::Ok) << c.What;
    EXPECT_EQ(out.Width(), 1) << c.What;
  }
}

}  // namespace
}  // namespace glamora::test
