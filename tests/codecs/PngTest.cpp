// The PNG codec: every colour type and depth, rounding of scaled and
// composited samples, resolution, saving, limits and damage.
#include <gtest/gtest.h>
#include <zlib.h>

#include "codecs/Png.h"
#include "tests/codecs/CodecChecks.h"
#include "tests/codecs/LibraryCodecChecks.h"
#include "tests/codecs/MagickReference.h"
#include "tests/codecs/MemoryGrowth.h"

namespace glamora::test {
namespace {

using codec::PngCodec;
using File = std::vector<uint8_t>;

File Encode(const Bitmap& picture, const TImgIOParams& params) {
  MemoryStream coded;
  EXPECT_EQ(codec::EncodePng(picture, params, ProgressRecord{}, coded), PictureStatus::Ok);
  return coded.Bytes();
}

void PutBE(File& f, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) f[at + size_t(i)] = uint8_t(value >> (24 - 8 * i));
}

// Changes the declared size and mends the header chunk's CRC.
File WithDeclaredSize(File f, uint32_t width, uint32_t height) {
  PutBE(f, 16, width);
  PutBE(f, 20, height);
  PutBE(f, 29, uint32_t(crc32(0, f.data() + 12, 17)));
  return f;
}

// The alpha of the samples falls from opaque at the top to clear at the bottom.
const std::vector<std::string> kAlphaRamp{"(", "-size", "70x46", "gradient:", ")", "-alpha", "off",
                                          "-compose", "CopyOpacity", "-composite"};

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

struct Sample {
  const char* Name;
  std::vector<std::string> Args;
  const char* Coder;
  bool Interlaced;
  TColor Background;  // what transparent parts are composited over
  int Tolerance;
};

// Samples with alpha are compared with the reference composited over the
// same colour. Where the reference holds a 16-bit value (16-bit samples, or
// the result of compositing) it truncates when reducing it to 8 bits, while
// this decoder rounds, so those samples may differ by one; the exact
// rounding is checked on hand-made files below.
TEST(PngCodec, DecodesLikeImageMagick) {
  GLAMORA_REQUIRE_MAGICK();
  const std::vector<std::string> noBackground{"-define", "png:exclude-chunks=bKGD"};
  const std::vector<std::string> grey{"rose:", "-colorspace", "Gray"};
  const std::vector<Sample> samples{
      {"Rgb8", {"rose:"}, "PNG24", false, clWhite, 0},
      {"Rgb16", {"-size", "64x48", "gradient:red-blue"}, "PNG48", false, clWhite, 1},
      {"Palette8", {"rose:", "-colors", "200", "-type", "Palette"}, "PNG8", false, clWhite, 0},
      {"Palette4", {"rose:", "-colors", "4", "-type", "Palette"}, "PNG", false, clWhite, 0},
      {"PaletteTransparent", Join(Join({"rose:"}, kAlphaRamp), noBackground), "PNG8", false, clWhite, 0},
      {"Grey1", {"rose:", "-monochrome"}, "PNG", false, clWhite, 0},
      {"Grey2", Join(grey, {"-define", "png:bit-depth=2", "-define", "png:color-type=0"}), "PNG", false, clWhite, 0},
      {"Grey4", Join(grey, {"-define", "png:bit-depth=4", "-define", "png:color-type=0"}), "PNG", false, clWhite, 0},
      {"Grey8", grey, "PNG", false, clWhite, 0},
      {"Grey16", Join(grey, {"-depth", "16"}), "PNG", false, clWhite, 1},
      {"GreyAlpha", Join(Join(grey, kAlphaRamp), {"-define", "png:color-type=4", "-background", "#808080"}), "PNG",
       false, Rgb(0x80, 0x80, 0x80), 1},
      {"Rgba8OverWhite", Join(Join({"rose:"}, kAlphaRamp), noBackground), "PNG32", false, clWhite, 1},
      {"Rgba8OverBackground", Join(Join({"rose:"}, kAlphaRamp), {"-background", "#3366cc"}), "PNG32", false,
       Rgb(0x33, 0x66, 0xcc), 1},
      {"Rgba16", Join(Join({"rose:"}, kAlphaRamp), {"-background", "#3366cc"}), "PNG64", false, Rgb(0x33, 0x66, 0xcc),
       1},
      {"Interlaced", {"rose:", "-interlace", "PNG"}, "PNG24", true, clWhite, 0},
      {"InterlacedRgba", Join(Join({"rose:"}, kAlphaRamp), {"-interlace", "PNG", "-background", "#204060"}), "PNG32",
       true, Rgb(0x20, 0x40, 0x60), 1},
      {"InterlacedPalette4", {"rose:", "-colors", "4", "-type", "Palette", "-interlace", "PNG"}, "PNG", true, clWhite,
       0},
  };
  TempFolder folder;
  for (const Sample& s : samples) {
    SCOPED_TRACE(s.Name);
    const std::string path = folder.File(std::string(s.Name) + ".png");
    ASSERT_FALSE(MakeSample(s.Args, std::string(s.Coder) + ":" + path).empty());
    char background[16];
    std::snprintf(background, sizeof background, "#%02x%02x%02x", RedOf(s.Background), GreenOf(s.Background),
                  BlueOf(s.Background));
    EXPECT_TRUE(MatchesMagick(PngCodec(), path, {"-background", background, "-alpha", "remove"}, s.Tolerance));
    Bitmap picture;
    TImgIOParams params;
    ASSERT_TRUE(DecodeWith(PngCodec(), ReadAll(path), picture, params));
    EXPECT_EQ(params.PngInterlaced, s.Interlaced);
    EXPECT_EQ(params.PngBackground, s.Background);
    EXPECT_EQ(picture.Format(), PixelFormat::Bits24);
  }
}

// A PNG made chunk by chunk: one IDAT holding the rows, each with filter 0.
File BuildPng(uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colorType,
              const std::vector<std::vector<uint8_t>>& rows, const std::vector<std::pair<std::string, File>>& chunks) {
  File png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  const auto add = [&png](const std::string& type, const File& data) {
    File chunk(4 + 4 + data.size() + 4);
    PutBE(chunk, 0, uint32_t(data.size()));
    std::copy(type.begin(), type.end(), chunk.begin() + 4);
    std::copy(data.begin(), data.end(), chunk.begin() + 8);
    PutBE(chunk, 8 + data.size(), uint32_t(crc32(0, chunk.data() + 4, uInt(4 + data.size()))));
    png.insert(png.end(), chunk.begin(), chunk.end());
  };
  File header(13);
  PutBE(header, 0, width);
  PutBE(header, 4, height);
  header[8] = bitDepth;
  header[9] = colorType;
  add("IHDR", header);
  for (const auto& [type, data] : chunks) add(type, data);
  File raw;
  for (const auto& row : rows) {
    raw.push_back(0);
    raw.insert(raw.end(), row.begin(), row.end());
  }
  uLongf size = compressBound(uLong(raw.size()));
  File packed(size);
  compress(packed.data(), &size, raw.data(), uLong(raw.size()));
  packed.resize(size);
  add("IDAT", packed);
  add("IEND", {});
  return png;
}

// 16-bit samples become round(v / 257); alpha composites as
// round((c × a + b × (255 − a)) / 255) over the background.
TEST(PngCodec, ScalesAndCompositesWithRounding) {
  const uint16_t samples[] = {0, 128, 129, 32767, 64141, 65535};
  const int expected[] = {0, 0, 1, 127, 250, 255};
  std::vector<uint8_t> row;
  for (uint16_t v : samples) row.insert(row.end(), {uint8_t(v >> 8), uint8_t(v)});
  Bitmap picture;
  TImgIOParams params;
  ASSERT_TRUE(DecodeWith(PngCodec(), BuildPng(6, 1, 16, 0, {row}, {}), picture, params));
  for (int x = 0; x < 6; ++x) EXPECT_EQ(picture.Pixel(x, 0), Rgb(expected[x], expected[x], expected[x])) << x;

  const std::vector<std::vector<uint8_t>> rgba{{100, 200, 0, 128, 9, 9, 9, 0, 1, 2, 3, 255}};
  ASSERT_TRUE(DecodeWith(PngCodec(), BuildPng(3, 1, 8, 6, rgba, {}), picture, params));
  EXPECT_EQ(picture.Pixel(0, 0), Rgb(177, 227, 127));
  EXPECT_EQ(picture.Pixel(1, 0), clWhite);
  EXPECT_EQ(picture.Pixel(2, 0), Rgb(1, 2, 3));
  EXPECT_FALSE(params.PngHasBackground);

  const File black{0, 0, 0, 0, 0, 0};
  ASSERT_TRUE(DecodeWith(PngCodec(), BuildPng(3, 1, 8, 6, rgba, {{"bKGD", black}}), picture, params));
  EXPECT_EQ(picture.Pixel(0, 0), Rgb(50, 100, 0));
  EXPECT_EQ(picture.Pixel(1, 0), clBlack);
  EXPECT_TRUE(params.PngHasBackground);
  EXPECT_EQ(params.PngBackground, clBlack);
}

TEST(PngCodec, TellsWhetherTheFileHasABackgroundColour) {
  GLAMORA_REQUIRE_MAGICK();
  TempFolder folder;
  const struct {
    std::vector<std::string> Args;
    bool Has;
    TColor Color;
  } cases[] = {{{"rose:", "-define", "png:exclude-chunks=bKGD"}, false, clWhite},
               {{"rose:", "-background", "#102030"}, true, Rgb(0x10, 0x20, 0x30)},
               {{"rose:", "-colorspace", "Gray", "-depth", "16", "-background", "#404040"}, true, Rgb(0x40, 0x40, 0x40)},
               {{"rose:", "-colors", "4", "-type", "Palette", "-background", "#000000"}, true, clBlack}};
  for (const auto& c : cases) {
    const File file = MakeSample(c.Args, folder.File("b.png"));
    ASSERT_FALSE(file.empty());
    Bitmap picture;
    TImgIOParams params;
    params.PngHasBackground = !c.Has;
    ASSERT_TRUE(DecodeWith(PngCodec(), file, picture, params));
    EXPECT_EQ(params.PngHasBackground, c.Has) << c.Args.back();
    EXPECT_EQ(params.PngBackground, c.Color) << c.Args.back();
  }
}

// pHYs holds pixels per metre; they become dots per inch, rounded.
TEST(PngCodec, ReadsResolution) {
  GLAMORA_REQUIRE_MAGICK();
  const struct {
    const char* Units;
    const char* Density;
    int DpiX, DpiY;
  } cases[] = {{"PixelsPerInch", "300x150", 300, 150}, {"PixelsPerCentimeter", "38x20", 97, 51}};
  TempFolder folder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Units);
    const File file = MakeSample({"rose:", "-units", c.Units, "-density", c.Density}, folder.File("d.png"));
    Bitmap picture;
    TImgIOParams params;
    ASSERT_TRUE(DecodeWith(PngCodec(), file, picture, params));
    EXPECT_EQ(params.DpiX, c.DpiX);
    EXPECT_EQ(params.DpiY, c.DpiY);
    codec::PictureInfo info;
    ASSERT_EQ(codec::InfoPng(file, info), PictureStatus::Ok);
    EXPECT_EQ(info.DpiX, c.DpiX);
  }
  // Without pHYs the resolution stays.
  const File plain = Encode(SmoothPicture(8, 8), [] {
    TImgIOParams p;
    p.DpiX = 0;
    return p;
  }());
  Bitmap picture;
  TImgIOParams params;
  params.DpiX = 55;
  ASSERT_TRUE(DecodeWith(PngCodec(), plain, picture, params));
  EXPECT_EQ(params.DpiX, 55);
}

TEST(PngCodec, SavedPicturesComeBackExactly) {
  GLAMORA_REQUIRE_MAGICK();
  Bitmap twoColours(37, 11, PixelFormat::Bits1);
  twoColours.Palette() = {Rgb(200, 10, 10), Rgb(10, 10, 200)};
  for (int y = 0; y < 11; ++y) twoColours.Row(y)[y % 4] = 0xA5;
  Bitmap bilevel(29, 7, PixelFormat::Bits1);
  bilevel.Row(3)[1] = 0xF0;
  Bitmap grey8(9, 5, PixelFormat::Bits8);
  for (int x = 0; x < 9; ++x) grey8.Row(2)[x] = uint8_t(x * 30);
  const struct {
    const char* Name;
    Bitmap Picture;
    bool Interlaced;
    int Level;
  } cases[] = {
      {"Plain", SmoothPicture(70, 46), false, 6},
      {"Interlaced", SmoothPicture(70, 46), true, 6},
      {"Stored", SmoothPicture(33, 5), false, 0},
      {"Level9", SmoothPicture(33, 5), false, 9},
      {"OnePixel", SmoothPicture(1, 1), true, 6},
      {"Bilevel", bilevel, false, 6},
      {"TwoColours", twoColours, true, 6},
      {"Grey8", grey8, false, 6},
  };
  TempFolder folder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TImgIOParams save;
    save.PngInterlaced = c.Interlaced;
    save.PngCompression = c.Level;
    const File file = Encode(c.Picture, save);
    Bitmap decoded;
    TImgIOParams params;
    ASSERT_TRUE(DecodeWith(PngCodec(), file, decoded, params));
    Bitmap expected;
    expected.Assign(c.Picture);
    expected.ConvertTo24();
    EXPECT_TRUE(SamePixels(expected, decoded));
    EXPECT_EQ(params.PngInterlaced, c.Interlaced);
    codec::PictureInfo info;
    ASSERT_EQ(codec::InfoPng(file, info), PictureStatus::Ok);
    EXPECT_EQ(info.BitsPerSample, c.Picture.Format() == PixelFormat::Bits1 ? 1 : 8);
    const std::string path = folder.File("saved.png");
    WriteAll(path, file);
    EXPECT_TRUE(MatchesMagick(PngCodec(), path));
  }
}

TEST(PngCodec, CompressionLevelIsUsed) {
  const Bitmap picture = SmoothPicture(120, 90);
  TImgIOParams stored, best;
  stored.PngCompression = 0;
  best.PngCompression = 9;
  EXPECT_GT(Encode(picture, stored).size(), 120u * 90u * 3u);
  EXPECT_LT(Encode(picture, best).size(), Encode(picture, stored).size() / 2);
}

TEST(PngCodec, WritesResolution) {
  TImgIOParams save;
  save.DpiX = 300;
  save.DpiY = 72;
  codec::PictureInfo info;
  ASSERT_EQ(codec::InfoPng(Encode(SmoothPicture(4, 4), save), info), PictureStatus::Ok);
  EXPECT_EQ(info.DpiX, 300);
  EXPECT_EQ(info.DpiY, 72);
}

TEST(PngCodec, RejectsWhatIsNotAPngPicture) {
  const File good = Encode(SmoothPicture(16, 16), TImgIOParams{});
  File badCrc = good;
  badCrc[30] ^= 0x40;  // inside the header chunk
  const std::vector<File> inputs{
      {},
      File(good.begin(), good.begin() + 8),
      File(good.begin(), good.begin() + 20),
      {0xFF, 0xD8, 0xFF, 0xE0, 0, 0, 0, 0, 0},
      badCrc,
      WithDeclaredSize(good, 0, 16),
  };
  for (size_t i = 0; i < inputs.size(); ++i) {
    EXPECT_TRUE(FailsLeavingOutputAlone(PngCodec(), inputs[i])) << "input " << i;
  }
}

TEST(PngCodec, RefusesSizesOverTheLimits) {
  const File good = Encode(SmoothPicture(16, 16), TImgIOParams{});
  const struct {
    uint32_t Width, Height;
  } sizes[] = {{30001, 16}, {16, 30001}, {20000, 20000}, {0x7FFFFFFF, 1}};
  for (const auto& s : sizes) {
    EXPECT_TRUE(FailsLeavingOutputAlone(PngCodec(), WithDeclaredSize(good, s.Width, s.Height)))
        << s.Width << "x" << s.Height;
  }
}

// Everything after the last row (the end chunk, text) may be missing or
// damaged without losing the picture.
TEST(PngCodec, DamageAfterTheLastRowKeepsThePicture) {
  const Bitmap original = SmoothPicture(24, 24);
  const File file = Encode(original, TImgIOParams{});
  const File withoutEnd(file.begin(), file.end() - 12);
  Bitmap picture;
  TImgIOParams params;
  ASSERT_TRUE(DecodeWith(PngCodec(), withoutEnd, picture, params));
  EXPECT_TRUE(SamePixels(original, picture));
}

// A chunk of `type` holding `data` but declaring `declared` bytes (its CRC is
// that of the bytes given), put right after the header chunk.
File WithChunkAfterHeader(File f, const char* type, const File& data, uint32_t declared) {
  File chunk(8);
  PutBE(chunk, 0, declared);
  std::copy(type, type + 4, chunk.begin() + 4);
  chunk.insert(chunk.end(), data.begin(), data.end());
  chunk.resize(chunk.size() + 4);
  PutBE(chunk, chunk.size() - 4, uint32_t(crc32(0, chunk.data() + 4, uInt(4 + data.size()))));
  f.insert(f.begin() + 33, chunk.begin(), chunk.end());
  return f;
}

// Chunks the decoder has no use for (text, profiles, palettes of
// suggestions) are skipped without being read into memory: a few hundred
// bytes declaring a 2 GB text chunk fail at once, and a large text chunk
// costs nothing.
TEST(PngCodec, ChunksItDoesNotUseAreSkippedUnread) {
  const Bitmap original = SmoothPicture(16, 16);
  const File good = Encode(original, TImgIOParams{});
  const File text = {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'h', 'i'};
  const auto peak = [] { return memory_growth::StatusField("VmPeak:"); };
  for (const char* type : {"tEXt", "zTXt", "iTXt", "iCCP", "sPLT", "eXIf"}) {
    const File bomb = WithChunkAfterHeader(good, type, text, 0x7FFFFF00);
    Bitmap picture;
    TImgIOParams params;
    const int64_t before = peak();
    EXPECT_FALSE(DecodeWith(PngCodec(), bomb, picture, params)) << type;
    EXPECT_LT(peak() - before, 256 * 1024) << type << ": virtual memory grew by the declared length";
  }
  const File large = WithChunkAfterHeader(good, "tEXt", File(12 << 20, 'a'), 12 << 20);
  Bitmap picture;
  TImgIOParams params;
  ASSERT_TRUE(DecodeWith(PngCodec(), large, picture, params));
  EXPECT_TRUE(SamePixels(original, picture));
}

TEST(PngCodec, ConsumedStopsAtTheEndChunk) {
  File file = Encode(SmoothPicture(20, 20), TImgIOParams{});
  const size_t length = file.size();
  file.insert(file.end(), {'t', 'r', 'a', 'i', 'l'});
  Bitmap picture;
  TImgIOParams params;
  size_t consumed = 0;
  ASSERT_EQ(codec::DecodePng(file, picture, params, ProgressRecord{}, consumed), PictureStatus::Ok);
  EXPECT_EQ(consumed, length);
}

TEST(PngCodec, ReportsProgressAndStopsWhenAsked) {
  ExpectProgressAndAbort(PngCodec(), Encode(SmoothPicture(30, 90), TImgIOParams{}), TImgIOParams{});
  TImgIOParams interlaced;
  interlaced.PngInterlaced = true;
  ExpectProgressAndAbort(PngCodec(), Encode(SmoothPicture(30, 90), interlaced), TImgIOParams{});
}

TEST(PngCodec, SurvivesDamage) {
  GLAMORA_REQUIRE_MAGICK();
  TempFolder folder;
  const File rgba = MakeSample(Join(Join({"rose:"}, kAlphaRamp), {"-interlace", "PNG"}), "PNG32:" + folder.File("a.png"));
  const File palette = MakeSample({"rose:", "-colors", "4", "-type", "Palette"}, folder.File("p.png"));
  ASSERT_FALSE(rgba.empty());
  ASSERT_FALSE(palette.empty());
  ExpectDamageHandled(PngCodec(), rgba, 7, 300, 11);
  ExpectDamageHandled(PngCodec(), palette, 3, 300, 12);
  ExpectRandomInputHandled(PngCodec(), File(rgba.begin(), rgba.begin() + 33), 300, 13);
}

// A colour picture and an alpha plane whose values run over the whole range,
// with fully see-through and fully opaque pixels.
struct ColourAndAlpha {
  Bitmap Colour;
  Bitmap Alpha;
};

ColourAndAlpha AlphaSample(int width, int height) {
  ColourAndAlpha sample{SmoothPicture(width, height), Bitmap(width, height, PixelFormat::Bits8)};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) sample.Alpha.Row(y)[x] = uint8_t((x * 37 + y * 11) % 256);
    sample.Alpha.Row(y)[0] = 0;
    sample.Alpha.Row(y)[width - 1] = 255;
  }
  return sample;
}

File EncodeWithAlpha(const ColourAndAlpha& sample, bool interlaced) {
  TImgIOParams params;
  params.PngInterlaced = interlaced;
  MemoryStream coded;
  EXPECT_EQ(codec::EncodePngWithAlpha(sample.Colour, sample.Alpha, params, ProgressRecord{}, coded),
            PictureStatus::Ok);
  return coded.Bytes();
}

bool SameAlpha(const Bitmap& a, const Bitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || b.Format() != PixelFormat::Bits8) return false;
  for (int y = 0; y < a.Height(); ++y) {
    if (!std::equal(a.Row(y), a.Row(y) + a.Width(), b.Row(y))) return false;
  }
  return true;
}

// Colour and alpha come back exactly, straight, plain and interlaced; the
// ordinary decode of the same file still composites over white.
TEST(PngCodec, AlphaComesBackApartFromTheColour) {
  for (const bool interlaced : {false, true}) {
    SCOPED_TRACE(interlaced ? "interlaced" : "plain");
    const ColourAndAlpha sample = AlphaSample(45, 17);
    const File file = EncodeWithAlpha(sample, interlaced);
    codec::PictureInfo info;
    ASSERT_EQ(codec::InfoPng(file, info), PictureStatus::Ok);
    EXPECT_EQ(info.SamplesPerPixel, 4);

    Bitmap colour, alpha;
    TImgIOParams params;
    size_t consumed = 0;
    ASSERT_EQ(codec::DecodePngWithAlpha(file, colour, alpha, params, ProgressRecord{}, consumed), PictureStatus::Ok);
    EXPECT_TRUE(SamePixels(sample.Colour, colour));
    EXPECT_TRUE(SameAlpha(sample.Alpha, alpha));
    EXPECT_EQ(consumed, file.size());

    Bitmap composited;
    ASSERT_TRUE(DecodeWith(PngCodec(), file, composited, params));
    for (const auto& [x, y] : {std::pair{0, 3}, std::pair{44, 3}, std::pair{20, 9}}) {
      const unsigned a = sample.Alpha.Row(y)[x];
      const uint8_t* c = sample.Colour.Row(y) + 3 * x;
      const uint8_t* got = composited.Row(y) + 3 * x;
      for (int k = 0; k < 3; ++k) EXPECT_EQ(got[k], (c[k] * a + 255 * (255 - a) + 127) / 255) << x << "," << y;
    }
  }
}

// A picture without transparency reads as fully opaque; a plane that does
// not fit the colour is refused.
TEST(PngCodec, AlphaOfOpaquePicturesAndMismatchedPlanes) {
  const Bitmap opaque = SmoothPicture(9, 4);
  Bitmap colour, alpha;
  TImgIOParams params;
  size_t consumed = 0;
  ASSERT_EQ(codec::DecodePngWithAlpha(Encode(opaque, {}), colour, alpha, params, ProgressRecord{}, consumed),
            PictureStatus::Ok);
  EXPECT_TRUE(SamePixels(opaque, colour));
  Bitmap full(9, 4, PixelFormat::Bits8);
  for (int y = 0; y < 4; ++y) std::fill_n(full.Row(y), 9, uint8_t(255));
  EXPECT_TRUE(SameAlpha(full, alpha));

  MemoryStream coded;
  EXPECT_EQ(codec::EncodePngWithAlpha(opaque, Bitmap(9, 5, PixelFormat::Bits8), {}, ProgressRecord{}, coded),
            PictureStatus::NoPicture);
  EXPECT_EQ(codec::EncodePngWithAlpha(opaque, Bitmap(9, 4), {}, ProgressRecord{}, coded), PictureStatus::NoPicture);
  EXPECT_EQ(coded.Bytes().size(), 0u);
}

// Cut anywhere before its last row, an RGBA file fails and leaves both
// bitmaps as they were; over the limits it fails before allocating.
TEST(PngCodec, DamagedRgbaLeavesColourAndAlphaAlone) {
  const File file = EncodeWithAlpha(AlphaSample(64, 40), false);
  std::vector<File> inputs;
  for (size_t length = 0; length < file.size() - 12; length += 53) inputs.emplace_back(file.begin(), file.begin() + length);
  inputs.push_back(WithDeclaredSize(file, 30001, 40));
  for (size_t i = 0; i < inputs.size(); ++i) {
    SCOPED_TRACE(i);
    Bitmap colour(3, 2), alpha(3, 2, PixelFormat::Bits8);
    colour.Fill(Rgb(1, 2, 3));
    alpha.Row(1)[2] = 77;
    TImgIOParams params;
    size_t consumed = 0;
    bool aborted = false;
    ProgressRecord progress;
    progress.Aborting = &aborted;
    EXPECT_NE(codec::DecodePngWithAlpha(inputs[i], colour, alpha, params, progress, consumed), PictureStatus::Ok);
    EXPECT_TRUE(aborted);
    EXPECT_EQ(colour.Width(), 3);
    EXPECT_EQ(colour.Pixel(2, 1), Rgb(1, 2, 3));
    EXPECT_EQ(alpha.Width(), 3);
    EXPECT_EQ(alpha.Row(1)[2], 77);
  }
}

}  // namespace
}  // namespace glamora::test
