// The TIFF codec: pages and compressions read as convert reads them, page
// information, resolution, saving, limits and damage.
#include <gtest/gtest.h>
#include <tiffio.h>

#include "codecs/Tiff.h"
#include "tests/codecs/CodecChecks.h"
#include "tests/codecs/LibraryCodecChecks.h"
#include "tests/codecs/MagickReference.h"

namespace glamora::test {
namespace {

using codec::TiffCodec;
using File = std::vector<uint8_t>;

using TiffCodecTest = WithLzwHooksInstalled;

File Encode(const Bitmap& picture, const TImgIOParams& params) {
  MemoryStream coded;
  EXPECT_EQ(codec::EncodeTiff(picture, params, ProgressRecord{}, coded), PictureStatus::Ok);
  return coded.Bytes();
}

TImgIOParams WithCompression(TiffCompression compression) {
  TImgIOParams params;
  params.TiffCompress = compression;
  return params;
}

// The compression convert reports for a file ("None", "LZW", "Zip", "Group4", ...).
std::string CompressionOf(const File& file) {
  TempFolder folder;
  WriteAll(folder.File("c.tif"), file);
  if (!RunConvert({folder.File("c.tif") + "[0]", "-format", "%C", "info:" + folder.File("c.txt")})) return "?";
  return ReadText(folder.File("c.txt"));
}

Bitmap BilevelPicture(int width, int height) {
  Bitmap b(width, height, PixelFormat::Bits1);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if ((x * x + y * 3) % 7 < 3) b.Row(y)[x / 8] |= uint8_t(0x80 >> (x % 8));
    }
  }
  return b;
}

struct Sample {
  const char* Name;
  std::vector<std::string> Args;
  std::vector<std::string> Reference;  // convert options for the reference reading
  bool Bilevel;
  int Tolerance;
};

// The reference reads pages with libtiff too. Where it holds 16-bit values
// (samples, colour maps, the results of its CMYK and alpha arithmetic) it
// truncates them to 8 bits while libtiff's RGBA reader rounds, so those
// pages may differ by one.
TEST_F(TiffCodecTest, DecodesLikeImageMagick) {
  GLAMORA_REQUIRE_MAGICK();
  const std::vector<std::string> overWhite{"-background", "white", "-alpha", "remove"};
  const std::vector<Sample> samples{
      {"None", {"rose:", "-compress", "None"}, {}, false, 0},
      {"PackBits", {"rose:", "-compress", "RLE"}, {}, false, 0},
      {"Lzw", {"rose:", "-compress", "LZW"}, {}, false, 0},
      {"Deflate", {"rose:", "-compress", "Zip"}, {}, false, 0},
      {"Jpeg", {"rose:", "-compress", "JPEG"}, {}, false, 0},
      {"Group3", {"rose:", "-monochrome", "-compress", "Fax"}, {}, true, 0},
      {"Group4", {"rose:", "-monochrome", "-compress", "Group4"}, {}, true, 0},
      {"BilevelPlain", {"rose:", "-monochrome", "-depth", "1", "-compress", "None"}, {}, true, 0},
      {"Grey", {"rose:", "-colorspace", "Gray"}, {}, false, 0},
      {"Palette", {"rose:", "-type", "Palette"}, {}, false, 1},
      {"Cmyk", {"rose:", "-colorspace", "CMYK"}, {}, false, 1},
      {"Rgb16", {"rose:", "-evaluate", "multiply", "0.9", "-depth", "16"}, {}, false, 1},
      {"Alpha", {"rose:", "(", "-size", "70x46", "gradient:", ")", "-alpha", "off", "-compose", "CopyOpacity",
                 "-composite"},
       overWhite, false, 1},
      {"Tiled", {"rose:", "-define", "tiff:tile-geometry=32x32"}, {}, false, 0},
      {"TiledGrey", {"rose:", "-colorspace", "Gray", "-define", "tiff:tile-geometry=16x16"}, {}, false, 0},
      {"GreyWhiteIsZero", {"rose:", "-colorspace", "Gray", "-define", "quantum:polarity=min-is-white"}, {}, false, 0},
      {"LzwStrips", {"rose:", "-compress", "LZW", "-define", "tiff:rows-per-strip=5"}, {}, false, 0},
      {"BigEndian", {"rose:", "-define", "tiff:endian=msb"}, {}, false, 0},
      // Decoded as stored; the orientation is told, and the front turns it.
      {"BottomUp", {"rose:", "-orient", "BottomLeft"}, {}, false, 0},
  };
  TempFolder folder;
  for (const Sample& s : samples) {
    SCOPED_TRACE(s.Name);
    const std::string path = folder.File(std::string(s.Name) + ".tif");
    ASSERT_FALSE(MakeSample(s.Args, "TIFF:" + path).empty());
    EXPECT_TRUE(MatchesMagick(TiffCodec(), path, s.Reference, s.Tolerance));
    Bitmap picture;
    TImgIOParams params;
    ASSERT_TRUE(DecodeWith(TiffCodec(), ReadAll(path), picture, params));
    EXPECT_EQ(picture.Format(), s.Bilevel ? PixelFormat::Bits1 : PixelFormat::Bits24);
    EXPECT_EQ(params.BitsPerSample, s.Bilevel ? 1 : 8);
    EXPECT_EQ(params.TiffPageCount, 1);
    EXPECT_EQ(params.Orientation, std::string(s.Name) == "BottomUp" ? 4 : 1);
    if (s.Bilevel) {
      EXPECT_EQ(picture.Palette(), (std::vector<TColor>{clBlack, clWhite}));
    }
  }
}

TEST_F(TiffCodecTest, PagesAreCountedAndChosen) {
  GLAMORA_REQUIRE_MAGICK();
  TempFolder folder;
  const std::string path = folder.File("pages.tif");
  ASSERT_FALSE(MakeSample({"rose:", "(", "rose:", "-negate", ")", "(", "rose:", "-flip", "-compress", "LZW", ")"},
                          "TIFF:" + path)
                   .empty());
  const File file = ReadAll(path);
  codec::PictureInfo info;
  ASSERT_EQ(codec::InfoTiff(file, info), PictureStatus::Ok);
  EXPECT_EQ(info.FrameCount, 3);
  for (int page = 0; page < 3; ++page) {
    SCOPED_TRACE(page);
    Bitmap picture, expected;
    TImgIOParams params;
    params.TiffPage = page;
    ASSERT_TRUE(DecodeWith(TiffCodec(), file, picture, params));
    EXPECT_EQ(params.TiffPageCount, 3);
    ASSERT_TRUE(MagickDecode(path + "[" + std::to_string(page) + "]", expected));
    EXPECT_TRUE(SamePixels(expected, picture));
  }
  TImgIOParams beyond;
  beyond.TiffPage = 3;
  EXPECT_TRUE(FailsLeavingOutputAlone(TiffCodec(), file, beyond));
}

// Each page is described on its own: its size and its compression as the
// parameters name it, Group 3 telling one- from two-dimensional coding.
TEST_F(TiffCodecTest, InfoDescribesEachPageAndItsCompression) {
  const struct {
    uint16_t Library;
    uint32_t Group3Options;
    TiffCompression Named;
  } pages[] = {
      {COMPRESSION_NONE, 0, TiffCompression::None},
      {COMPRESSION_CCITTRLE, 0, TiffCompression::CcittRle},
      {COMPRESSION_CCITTFAX3, 0, TiffCompression::CcittFax3},
      {COMPRESSION_CCITTFAX3, GROUP3OPT_2DENCODING, TiffCompression::CcittFax3TwoD},
      {COMPRESSION_CCITTFAX4, 0, TiffCompression::CcittFax4},
      {COMPRESSION_LZW, 0, TiffCompression::Lzw},
      {COMPRESSION_PACKBITS, 0, TiffCompression::PackBits},
      {COMPRESSION_ADOBE_DEFLATE, 0, TiffCompression::Deflate},
  };
  TempFolder folder;
  const std::string path = folder.File("pages.tif");
  TIFF* tif = TIFFOpen(path.c_str(), "w");
  ASSERT_NE(tif, nullptr);
  for (size_t i = 0; i < std::size(pages); ++i) {
    const uint32_t width = 16 + uint32_t(i), height = 4;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, pages[i].Library);
    if (pages[i].Library == COMPRESSION_CCITTFAX3) TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, pages[i].Group3Options);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, height);
    std::vector<uint8_t> row((width + 7) / 8, 0x5A);
    for (uint32_t y = 0; y < height; ++y) ASSERT_EQ(TIFFWriteScanline(tif, row.data(), y, 0), 1);
    ASSERT_TRUE(TIFFWriteDirectory(tif));
  }
  TIFFClose(tif);

  const File file = ReadAll(path);
  for (int i = 0; i < int(std::size(pages)); ++i) {
    SCOPED_TRACE(i);
    codec::PictureInfo info;
    ASSERT_EQ(codec::InfoTiffPage(file, i, info), PictureStatus::Ok);
    EXPECT_EQ(info.Width, 16 + i);
    EXPECT_EQ(info.FrameCount, int(std::size(pages)));
    EXPECT_EQ(info.TiffCompress, pages[i].Named);
  }
  codec::PictureInfo info;
  EXPECT_EQ(codec::InfoTiffPage(file, int(std::size(pages)), info), PictureStatus::Unsupported);
  EXPECT_EQ(codec::InfoTiffPage(file, -1, info), PictureStatus::Unsupported);
}

TEST_F(TiffCodecTest, ReadsResolution) {
  GLAMORA_REQUIRE_MAGICK();
  const struct {
    const char* Units;
    const char* Density;
    int DpiX, DpiY;
  } cases[] = {{"PixelsPerInch", "300x150", 300, 150}, {"PixelsPerCentimeter", "38x20", 96, 50}};
  TempFolder folder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Units);
    const File file = MakeSample({"rose:", "-units", c.Units, "-density", c.Density}, "TIFF:" + folder.File("d.tif"));
    Bitmap picture;
    TImgIOParams params;
    ASSERT_TRUE(DecodeWith(TiffCodec(), file, picture, params));
    EXPECT_EQ(params.DpiX, c.DpiX);
    EXPECT_EQ(params.DpiY, c.DpiY);
  }
}

TEST_F(TiffCodecTest, LzwPagesNeedTheDecoderHook) {
  const File file = Encode(SmoothPicture(16, 8), WithCompression(TiffCompression::Lzw));
  TImgIOParams noDecoder;
  noDecoder.Lzw.TiffDecoder = false;
  EXPECT_TRUE(FailsLeavingOutputAlone(TiffCodec(), file, noDecoder));
  const File deflate = Encode(SmoothPicture(16, 8), WithCompression(TiffCompression::Deflate));
  Bitmap picture;
  EXPECT_TRUE(DecodeWith(TiffCodec(), deflate, picture, noDecoder));
}

// Each compression the encoder offers, with what convert says was written:
// where the requested one cannot be used the page is written with Deflate.
TEST_F(TiffCodecTest, SavedPagesComeBack) {
  GLAMORA_REQUIRE_MAGICK();
  const Bitmap colour = SmoothPicture(45, 30);
  const Bitmap bilevel = BilevelPicture(45, 30);
  Bitmap whiteFirst = BilevelPicture(45, 30);
  whiteFirst.Palette() = {clWhite, clBlack};
  Bitmap coloured = BilevelPicture(45, 30);
  coloured.Palette() = {Rgb(200, 0, 0), Rgb(0, 0, 200)};
  const struct {
    const char* Name;
    const Bitmap& Picture;
    TiffCompression Compression;
    bool EncoderHook;
    const char* Written;
    bool Bilevel;
  } cases[] = {
      {"None", colour, TiffCompression::None, false, "None", false},
      {"PackBits", colour, TiffCompression::PackBits, false, "RLE", false},
      {"Lzw", colour, TiffCompression::Lzw, true, "LZW", false},
      {"LzwWithoutEncoder", colour, TiffCompression::Lzw, false, "Zip", false},
      {"Deflate", colour, TiffCompression::Deflate, false, "Zip", false},
      {"CcittOnColour", colour, TiffCompression::CcittFax4, false, "Zip", false},
      {"BilevelNone", bilevel, TiffCompression::None, false, "None", true},
      {"BilevelGroup3", bilevel, TiffCompression::CcittFax3, false, "Fax", true},
      {"BilevelGroup4", bilevel, TiffCompression::CcittFax4, false, "Group4", true},
      {"BilevelRle", bilevel, TiffCompression::CcittRle, false, "RLE", true},
      {"BilevelLzw", bilevel, TiffCompression::Lzw, true, "LZW", true},
      {"WhiteFirstGroup4", whiteFirst, TiffCompression::CcittFax4, false, "Group4", true},
      {"TwoColours", coloured, TiffCompression::CcittFax4, false, "Zip", false},
  };
  TempFolder folder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TImgIOParams save = WithCompression(c.Compression);
    save.Lzw.TiffEncoder = c.EncoderHook;
    const File file = Encode(c.Picture, save);
    EXPECT_EQ(CompressionOf(file), c.Written);
    Bitmap decoded;
    TImgIOParams params;
    ASSERT_TRUE(DecodeWith(TiffCodec(), file, decoded, params));
    EXPECT_EQ(decoded.Format(), c.Bilevel ? PixelFormat::Bits1 : PixelFormat::Bits24);
    Bitmap expected;
    expected.Assign(c.Picture);
    expected.ConvertTo24();
    EXPECT_TRUE(SamePixels(expected, decoded));
    const std::string path = folder.File("saved.tif");
    WriteAll(path, file);
    EXPECT_TRUE(MatchesMagick(TiffCodec(), path));
  }
}

TEST_F(TiffCodecTest, JpegPagesUseTheJpegQuality) {
  GLAMORA_REQUIRE_MAGICK();
  const Bitmap picture = SmoothPicture(64, 48);
  TImgIOParams low = WithCompression(TiffCompression::Jpeg), high = low;
  low.JpegQuality = 20;
  high.JpegQuality = 95;
  const File small = Encode(picture, low), large = Encode(picture, high);
  EXPECT_LT(small.size(), large.size());
  EXPECT_EQ(CompressionOf(large), "JPEG");
  Bitmap decoded;
  TImgIOParams params;
  ASSERT_TRUE(DecodeWith(TiffCodec(), large, decoded, params));
  EXPECT_LT(MeanAbsoluteError(picture, decoded), 2.0);
  TempFolder folder;
  WriteAll(folder.File("j.tif"), large);
  EXPECT_TRUE(MatchesMagick(TiffCodec(), folder.File("j.tif")));
}

TEST_F(TiffCodecTest, WritesResolution) {
  TImgIOParams save;
  save.DpiX = 300;
  save.DpiY = 120;
  codec::PictureInfo info;
  ASSERT_EQ(codec::InfoTiff(Encode(SmoothPicture(8, 8), save), info), PictureStatus::Ok);
  EXPECT_EQ(info.DpiX, 300);
  EXPECT_EQ(info.DpiY, 120);
}

// A minimal little-endian file: header, one directory of the given entries
// (tag, type, count, value), no pixel data unless an entry points at some.
File MinimalTiff(const std::vector<std::array<uint32_t, 4>>& entries, size_t pixelBytes = 0) {
  File f(8);
  PutLE(f, 0, 0x002A4949, 4);
  PutLE(f, 4, 8, 4);
  PutLE(f, 8, entries.size(), 2);
  size_t at = 10;
  for (const auto& e : entries) {
    PutLE(f, at, e[0], 2);
    PutLE(f, at + 2, e[1], 2);
    PutLE(f, at + 4, e[2], 4);
    PutLE(f, at + 8, e[3], 4);
    at += 12;
  }
  PutLE(f, at, 0, 4);
  f.resize(at + 4 + pixelBytes, 0x55);
  return f;
}

TEST_F(TiffCodecTest, RejectsWhatIsNotATiffPicture) {
  const File good = Encode(SmoothPicture(8, 8), TImgIOParams{});
  const std::vector<File> inputs{
      {},
      {'I', 'I', 42, 0, 8, 0, 0, 0},
      {'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0, 0, 0},  // no entries
      {'M', 'M', 0, 42, 0, 0, 0, 8, 0},
      {'I', 'I', 43, 0, 8, 0, 0, 0, 0},  // BigTIFF header cut short
      File(good.begin(), good.begin() + 16),
      MinimalTiff({{256, 4, 1, 8}, {257, 4, 1, 8}, {258, 3, 1, 8}, {262, 3, 1, 2}, {273, 4, 1, 200}, {277, 3, 1, 3}}),
  };
  for (size_t i = 0; i < inputs.size(); ++i) {
    EXPECT_TRUE(FailsLeavingOutputAlone(TiffCodec(), inputs[i])) << "input " << i;
  }
}

TEST_F(TiffCodecTest, RefusesSizesOverTheLimits) {
  for (const auto& [width, height] : std::vector<std::pair<uint32_t, uint32_t>>{
           {30001, 1}, {1, 30001}, {20000, 20000}, {0xFFFFFFFF, 0xFFFFFFFF}}) {
    const File huge = MinimalTiff({{256, 4, 1, width},
                                   {257, 4, 1, height},
                                   {258, 3, 1, 8},
                                   {262, 3, 1, 1},
                                   {273, 4, 1, 122},
                                   {277, 3, 1, 1},
                                   {278, 4, 1, height},
                                   {279, 4, 1, 64}},
                                  64);
    EXPECT_TRUE(FailsLeavingOutputAlone(TiffCodec(), huge)) << width << "x" << height;
  }
}

TEST_F(TiffCodecTest, ReportsProgressAndStopsWhenAsked) {
  ExpectProgressAndAbort(TiffCodec(), Encode(SmoothPicture(20, 50), TImgIOParams{}), TImgIOParams{});
  ExpectProgressAndAbort(TiffCodec(), Encode(BilevelPicture(20, 50), WithCompression(TiffCompression::CcittFax4)),
                         TImgIOParams{});
}

TEST_F(TiffCodecTest, SurvivesDamage) {
  const Bitmap picture = SmoothPicture(40, 24);
  for (TiffCompression c : {TiffCompression::None, TiffCompression::Lzw, TiffCompression::Deflate,
                            TiffCompression::Jpeg, TiffCompression::PackBits}) {
    SCOPED_TRACE(int(c));
    ExpectDamageHandled(TiffCodec(), Encode(picture, WithCompression(c)), 11, 150, 30 + int(c));
  }
  for (TiffCompression c : {TiffCompression::CcittFax3, TiffCompression::CcittFax4, TiffCompression::CcittRle}) {
    SCOPED_TRACE(int(c));
    ExpectDamageHandled(TiffCodec(), Encode(BilevelPicture(40, 24), WithCompression(c)), 3, 150, 40 + int(c));
  }
  ExpectRandomInputHandled(TiffCodec(), {'I', 'I', 42, 0, 8, 0, 0, 0}, 300, 50);
  ExpectRandomInputHandled(TiffCodec(), {'M', 'M', 0, 42, 0, 0, 0, 8}, 300, 51);
}

}  // namespace
}  // namespace glamora::test
