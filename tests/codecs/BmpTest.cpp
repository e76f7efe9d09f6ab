// The BMP codec: every header version, bit depth and run-length form read as
// convert reads it, saving, and refusing huge or invalid headers.
#include <gtest/gtest.h>

#include <functional>

#include "codecs/Bmp.h"
#include "tests/codecs/CodecChecks.h"
#include "tests/codecs/MagickReference.h"

namespace glamora::test {
namespace {

using codec::BmpCodec;
using File = std::vector<uint8_t>;

constexpr size_t kInfoHeader = 14;

uint32_t HeaderSize(const File& f) { return GetLE(f, kInfoHeader, 4); }

// Keeps the first `kept` bytes of the information header, declares
// `declared` as its size and moves the rest of the file up. Declaring 40
// while keeping 52 bytes of a larger header leaves its three masks right
// after a 40-byte header, as bit-field files with that header store them.
File RewriteHeader(const File& f, uint32_t kept, uint32_t declared) {
  const uint32_t old = HeaderSize(f);
  File out(f.begin(), f.begin() + kInfoHeader + kept);
  out.insert(out.end(), f.begin() + kInfoHeader + old, f.end());
  PutLE(out, kInfoHeader, declared, 4);
  PutLE(out, 2, out.size(), 4);
  PutLE(out, 10, GetLE(f, 10, 4) - (old - kept), 4);
  return out;
}

File WithCompression(File f, uint32_t compression) {
  PutLE(f, 30, compression, 4);
  return f;
}

// Stores the rows top-down: negative height, rows in reverse order.
File TopDown(const File& f) {
  const int width = int(GetLE(f, 18, 4)), height = int(GetLE(f, 22, 4)), bits = int(GetLE(f, 28, 2));
  const size_t stride = ((size_t(width) * size_t(bits) + 31) / 32) * 4;
  const size_t offset = GetLE(f, 10, 4);
  File out = f;
  PutLE(out, 22, uint32_t(-height), 4);
  for (int y = 0; y < height; ++y) {
    std::copy_n(f.begin() + std::ptrdiff_t(offset + stride * size_t(y)), stride,
                out.begin() + std::ptrdiff_t(offset + stride * size_t(height - 1 - y)));
  }
  return out;
}

struct Sample {
  const char* Name;
  std::vector<std::string> Args;  // convert arguments before the output
  const char* Coder;
  std::function<File(const File&)> Change;  // applied to the written file, if set
  uint32_t HeaderSize;
  int Bits;
  bool Bilevel;
};

std::vector<Sample> Samples() {
  const std::vector<std::string> palette8{"rose:", "-type", "Palette", "-compress", "None"};
  const std::vector<std::string> palette4{"rose:", "-colors", "16", "-type", "Palette", "-compress", "None"};
  const std::vector<std::string> alpha32{"rose:", "-alpha", "set"};
  const std::vector<std::string> rgb565{"rose:", "-define", "bmp:subtype=RGB565"};
  const std::vector<std::string> rgb555{"rose:", "-define", "bmp:subtype=RGB555"};
  return {
      {"Palette8", palette8, "BMP3", nullptr, 40, 8, false},
      {"Palette4", palette4, "BMP3", nullptr, 40, 4, false},
      {"Bilevel", {"rose:", "-monochrome"}, "BMP3", nullptr, 40, 1, true},
      {"Rle8", {"rose:", "-type", "Palette", "-compress", "RLE"}, "BMP3", nullptr, 40, 8, false},
      {"Os2Core24", {"rose:"}, "BMP2", nullptr, 12, 24, false},
      {"Os2Core4", {"rose:", "-colors", "16", "-type", "Palette"}, "BMP2", nullptr, 12, 4, false},
      {"Rgb24", {"rose:"}, "BMP3", nullptr, 40, 24, false},
      {"V5Rgb24", {"rose:"}, "BMP", nullptr, 124, 24, false},
      {"V5BitFields565", rgb565, "BMP", nullptr, 124, 16, false},
      {"V5BitFields555", rgb555, "BMP", nullptr, 124, 16, false},
      {"V5Alpha32", alpha32, "BMP", nullptr, 124, 32, false},
      {"V4Alpha32", alpha32, "BMP", [](const File& f) { return RewriteHeader(f, 108, 108); }, 108, 32, false},
      {"V3BitFields565", rgb565, "BMP", [](const File& f) { return RewriteHeader(f, 56, 56); }, 56, 16, false},
      {"V2BitFields565", rgb565, "BMP", [](const File& f) { return RewriteHeader(f, 52, 52); }, 52, 16, false},
      {"MasksAfterHeader565", rgb565, "BMP", [](const File& f) { return RewriteHeader(f, 52, 40); }, 40, 16, false},
      {"Plain16", rgb555, "BMP", [](const File& f) { return WithCompression(RewriteHeader(f, 40, 40), 0); }, 40, 16,
       false},
      {"Plain32", alpha32, "BMP", [](const File& f) { return WithCompression(RewriteHeader(f, 40, 40), 0); }, 40, 32,
       false},
      {"TopDown24", {"rose:"}, "BMP3", TopDown, 40, 24, false},
      {"TopDown8", palette8, "BMP3", TopDown, 40, 8, false},
      {"TopDownBilevel", {"rose:", "-monochrome"}, "BMP3", TopDown, 40, 1, true},
  };
}

class BmpSamples : public ::testing::TestWithParam<Sample> {};

TEST_P(BmpSamples, DecodeMatchesMagick) {
  GLAMORA_REQUIRE_MAGICK();
  const Sample& s = GetParam();
  TempFolder folder;
  File file = MakeSample(s.Args, std::string(s.Coder) + ":" + folder.File("sample.bmp"));
  ASSERT_FALSE(file.empty());
  if (s.Change) file = s.Change(file);
  ASSERT_EQ(HeaderSize(file), s.HeaderSize);
  ASSERT_EQ(int(GetLE(file, kInfoHeader + (s.HeaderSize == 12 ? 10 : 14), 2)), s.Bits);
  const std::string path = folder.File("changed.bmp");
  WriteAll(path, file);

  EXPECT_TRUE(MatchesMagick(BmpCodec(), path));
  Bitmap decoded;
  TImgIOParams params;
  ASSERT_TRUE(DecodeWith(BmpCodec(), file, decoded, params));
  EXPECT_EQ(decoded.Format(), s.Bilevel ? PixelFormat::Bits1 : PixelFormat::Bits24);
  EXPECT_EQ(params.BitsPerSample, s.Bilevel ? 1 : 8);
  EXPECT_EQ(params.SamplesPerPixel, s.Bilevel ? 1 : 3);
  EXPECT_EQ(params.BmpCompressed, std::string(s.Name) == "Rle8");

  codec::PictureInfo info;
  ASSERT_EQ(BmpCodec().Info(file, info), PictureStatus::Ok);
  EXPECT_EQ(info.Width, decoded.Width());
  EXPECT_EQ(info.Height, decoded.Height());
  EXPECT_EQ(info.BitsPerSample, params.BitsPerSample);

  ExpectDamageHandled(BmpCodec(), file, std::max<size_t>(file.size() / 97, 1), 150, 7);
}

INSTANTIATE_TEST_SUITE_P(Bmp, BmpSamples, ::testing::ValuesIn(Samples()),
                         [](const auto& sample) { return std::string(sample.param.Name); });

// A 4-bit RLE picture of 8 x 4 with an encoded run, an odd absolute block
// (padded), a run of `secondRun` pixels, a delta, and an end of bitmap before
// the last rows are done: skipped pixels take palette entry 0.
File Rle4Picture(uint8_t secondRun) {
  File f(14 + 40 + 64, 0);
  f[0] = 'B';
  f[1] = 'M';
  PutLE(f, 10, f.size(), 4);
  PutLE(f, 14, 40, 4);
  PutLE(f, 18, 8, 4);
  PutLE(f, 22, 4, 4);
  PutLE(f, 26, 1, 2);
  PutLE(f, 28, 4, 2);
  PutLE(f, 30, 2, 4);  // RLE4
  for (int i = 0; i < 16; ++i) PutLE(f, 54 + 4 * size_t(i), Rgb(uint8_t(i * 16), uint8_t(255 - i * 16), uint8_t(i * 40)), 4);
  const File data{5, 0x12, 0, 3, 0x34, 0x50, 0, 0,  // run 1,2,1,2,1; absolute 3,4,5; end of line
                  secondRun, 0x9A, 0, 0,            // run 9,10,9,10...; end of line
                  0, 2, 2, 0,                       // delta two pixels right
                  2, 0x77, 0, 1};                   // run 7,7; end of bitmap
  f.insert(f.end(), data.begin(), data.end());
  f.insert(f.end(), 16, 0);  // convert wants more data than the codes need
  PutLE(f, 2, f.size(), 4);
  return f;
}

TEST(Bmp, Rle4WithDeltaAndEarlyEndMatchesMagick) {
  GLAMORA_REQUIRE_MAGICK();
  TempFolder folder;
  const File file = Rle4Picture(8);
  WriteAll(folder.File("rle4.bmp"), file);
  EXPECT_TRUE(MatchesMagick(BmpCodec(), folder.File("rle4.bmp")));
  ExpectDamageHandled(BmpCodec(), file, 1, 300, 11);
}

TEST(Bmp, Rle4RunsAreClippedToTheRow) {
  Bitmap decoded;
  TImgIOParams params;
  ASSERT_TRUE(DecodeWith(BmpCodec(), Rle4Picture(9), decoded, params));
  const auto entry = [](int i) { return Rgb(uint8_t(i * 40), uint8_t(255 - i * 16), uint8_t(i * 16)); };
  EXPECT_EQ(decoded.Pixel(4, 3), entry(1));  // the bottom row comes first
  EXPECT_EQ(decoded.Pixel(7, 3), entry(5));
  EXPECT_EQ(decoded.Pixel(7, 2), entry(10));  // the ninth pixel of the run is dropped...
  EXPECT_EQ(decoded.Pixel(0, 1), entry(0));   // ...not carried into the next row
  EXPECT_EQ(decoded.Pixel(2, 1), entry(7));
  EXPECT_EQ(decoded.Pixel(5, 1), entry(0));  // after the end of bitmap
  EXPECT_EQ(decoded.Pixel(3, 0), entry(0));
  EXPECT_TRUE(params.BmpCompressed);
}

Bitmap Pattern(int width, int height) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, Rgb(uint8_t(x * 37 + y), uint8_t(y * 53), uint8_t(x ^ y)));
  }
  return b;
}

TEST(Bmp, EncodeRoundTripsAndMagickReadsIt) {
  for (const auto& [width, height] : {std::pair{1, 1}, {2, 3}, {3, 2}, {70, 46}}) {
    SCOPED_TRACE(::testing::Message() << width << "x" << height);
    const Bitmap picture = Pattern(width, height);
    TImgIOParams params;
    params.DpiX = 300;
    params.DpiY = 150;
    MemoryStream coded;
    ASSERT_EQ(BmpCodec().Encode(picture, params, ProgressRecord{}, coded), PictureStatus::Ok);
    const File& file = coded.Bytes();
    EXPECT_EQ(GetLE(file, 38, 4), 11811u);  // 300 dots per inch in pixels per metre
    EXPECT_EQ(GetLE(file, 42, 4), 5906u);

    Bitmap decoded;
    TImgIOParams read;
    ASSERT_TRUE(DecodeWith(BmpCodec(), file, decoded, read));
    EXPECT_TRUE(decoded.SameContent(picture));
    EXPECT_EQ(read.DpiX, 300);
    EXPECT_EQ(read.DpiY, 150);

    GLAMORA_REQUIRE_MAGICK();
    TempFolder folder;
    WriteAll(folder.File("ours.bmp"), file);
    Bitmap magick;
    ASSERT_TRUE(MagickDecode(folder.File("ours.bmp"), magick));
    EXPECT_TRUE(SamePixels(picture, magick));
  }
}

TEST(Bmp, EncodeAppendsAndExpandsBilevel) {
  Bitmap bilevel(9, 2, PixelFormat::Bits1);
  bilevel.Row(0)[0] = 0xA5;
  bilevel.Row(1)[1] = 0x80;
  MemoryStream coded(File{0xEE});
  coded.Seek(1);
  ASSERT_EQ(BmpCodec().Encode(bilevel, TImgIOParams{}, ProgressRecord{}, coded), PictureStatus::Ok);
  const File& file = coded.Bytes();
  EXPECT_EQ(file[0], 0xEE);  // appended after what was there
  Bitmap decoded;
  TImgIOParams params;
  ASSERT_TRUE(DecodeWith(BmpCodec(), File(file.begin() + 1, file.end()), decoded, params));
  EXPECT_EQ(decoded.Format(), PixelFormat::Bits24);
  EXPECT_TRUE(SamePixels(bilevel, decoded));

  MemoryStream unchanged(File{1, 2});
  unchanged.Seek(2);
  bool aborting = false;
  ProgressRecord progress;
  progress.Aborting = &aborting;
  EXPECT_NE(BmpCodec().Encode(Bitmap{}, TImgIOParams{}, progress, unchanged), PictureStatus::Ok);
  EXPECT_EQ(unchanged.Bytes(), (File{1, 2}));
}

TEST(Bmp, NoResolutionKeepsTheParams) {
  MemoryStream coded;
  ASSERT_EQ(BmpCodec().Encode(Pattern(4, 4), TImgIOParams{}, ProgressRecord{}, coded), PictureStatus::Ok);
  File file = coded.Bytes();
  PutLE(file, 38, 0, 8);
  Bitmap decoded;
  TImgIOParams params;
  params.DpiX = 123;
  params.DpiY = 45;
  ASSERT_TRUE(DecodeWith(BmpCodec(), file, decoded, params));
  EXPECT_EQ(params.DpiX, 123);
  EXPECT_EQ(params.DpiY, 45);
  codec::PictureInfo info;
  ASSERT_EQ(BmpCodec().Info(file, info), PictureStatus::Ok);
  EXPECT_EQ(info.DpiX, 0);
}

TEST(Bmp, RefusesHugeAndInvalidHeaders) {
  MemoryStream coded;
  ASSERT_EQ(BmpCodec().Encode(Pattern(4, 4), TImgIOParams{}, ProgressRecord{}, coded), PictureStatus::Ok);
  const File valid = coded.Bytes();
  struct Case {
    const char* What;
    size_t Offset;
    uint32_t Value;
    int Size;
  };
  const Case cases[] = {
      {"width over the side limit", 18, 30001, 4},
      {"height over the side limit", 22, 30001, 4},
      {"area over the pixel limit", 18, 20000, 4},  // with the height below
      {"most negative height", 22, 0x80000000u, 4},
      {"zero width", 18, 0, 4},
      {"negative width", 18, uint32_t(-4), 4},
      {"zero height", 22, 0, 4},
      {"unknown bit depth", 28, 7, 2},
      {"JPEG compression", 30, 4, 4},
      {"RLE8 with 24 bits", 30, 1, 4},
      {"unknown header size", 14, 20000, 4},
  };
  for (const Case& c : cases) {
    File file = valid;
    PutLE(file, c.Offset, c.Value, c.Size);
    if (std::string(c.What) == "area over the pixel limit") PutLE(file, 22, 20000, 4);
    codec::PictureInfo info;
    EXPECT_NE(BmpCodec().Info(file, info), PictureStatus::Ok) << c.What;
    Bitmap out;
    TImgIOParams params;
    size_t consumed = 0;
    EXPECT_NE(BmpCodec().Decode(file, out, params, ProgressRecord{}, consumed), PictureStatus::Ok) << c.What;
    EXPECT_TRUE(out.Empty()) << c.What;
  }
}

TEST(Bmp, ProbeNeedsMoreThanTheFileHeader) {
  File exact(14, 0);
  exact[0] = 'B';
  exact[1] = 'M';
  EXPECT_FALSE(BmpCodec().Probe(exact, exact.size()));
  exact.push_back(0);
  EXPECT_TRUE(BmpCodec().Probe(exact, exact.size()));
  exact[1] = 'A';
  EXPECT_FALSE(BmpCodec().Probe(exact, exact.size()));
}

TEST(Bmp, MissingPaddingOfTheLastRowIsAccepted) {
  MemoryStream coded;
  ASSERT_EQ(BmpCodec().Encode(Pattern(3, 2), TImgIOParams{}, ProgressRecord{}, coded), PictureStatus::Ok);
  File file = coded.Bytes();
  file.resize(file.size() - 3);  // a 3-pixel row has 3 bytes of padding
  Bitmap decoded;
  TImgIOParams params;
  ASSERT_TRUE(DecodeWith(BmpCodec(), file, decoded, params));
  EXPECT_TRUE(decoded.SameContent(Pattern(3, 2)));
  file.pop_back();
  size_t consumed = 0;
  EXPECT_NE(BmpCodec().Decode(file, decoded, params, ProgressRecord{}, consumed), PictureStatus::Ok);
}

// The header size tells the version; a 64-byte header is OS/2's although
// it is longer than Windows 3's.
TEST(Bmp, HeaderSizeTellsTheVersion) {
  const std::pair<uint32_t, BmpVersion> cases[] = {
      {12, BmpVersion::Os2v1},     {16, BmpVersion::Os2v2},     {40, BmpVersion::Windows3},
      {52, BmpVersion::Windows3},  {56, BmpVersion::Windows3},  {64, BmpVersion::Os2v2},
      {108, BmpVersion::Windows4}, {124, BmpVersion::Windows5},
  };
  for (const auto& [size, version] : cases) EXPECT_EQ(codec::BmpVersionOf(size), version) << size;

  MemoryStream coded;
  ASSERT_EQ(BmpCodec().Encode(Pattern(4, 4), TImgIOParams{}, ProgressRecord{}, coded), PictureStatus::Ok);
  const File os2 = RewriteHeader(coded.Bytes(), 40, 64);
  codec::PictureInfo info;
  ASSERT_EQ(BmpCodec().Info(os2, info), PictureStatus::Ok);
  EXPECT_EQ(info.BmpHeader, BmpVersion::Os2v2);
  Bitmap decoded;
  TImgIOParams params;
  ASSERT_TRUE(DecodeWith(BmpCodec(), coded.Bytes(), decoded, params));
  EXPECT_EQ(params.BmpHeader, BmpVersion::Windows3);
}

TEST(Bmp, ResolutionConversionsRound) {
  EXPECT_EQ(codec::PixelsPerMetreFromDpi(96), 3780);
  EXPECT_EQ(codec::DpiFromPixelsPerMetre(3780), 96);
  EXPECT_EQ(codec::DpiFromPixelsPerMetre(2835), 72);
  EXPECT_EQ(codec::PixelsPerMetreFromDpi(72), 2835);
  EXPECT_EQ(codec::PixelsPerMetreFromDpi(0), 0);
}

}  // namespace
}  // namespace glamora::test
