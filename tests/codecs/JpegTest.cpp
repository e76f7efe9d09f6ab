// The JPEG codec: decoding as convert does, density, quality, colour spaces,
// inks, scaled decoding, limits and damage.
#include <gtest/gtest.h>

#include <cstdlib>

#include "codecs/Jpeg.h"
#include "tests/codecs/CodecChecks.h"
#include "tests/codecs/LibraryCodecChecks.h"
#include "tests/codecs/MagickReference.h"

namespace glamora::test {
namespace {

using codec::JpegCodec;
using File = std::vector<uint8_t>;

File Encode(const Bitmap& picture, const TImgIOParams& params) {
  MemoryStream coded;
  EXPECT_EQ(codec::EncodeJpeg(picture, params, ProgressRecord{}, coded), PictureStatus::Ok);
  return coded.Bytes();
}

// Where the marker FF `code` first stands; 0 when it does not.
size_t FindMarker(const File& file, uint8_t code) {
  for (size_t i = 2; i + 1 < file.size(); ++i) {
    if (file[i] == 0xFF && file[i + 1] == code) return i;
  }
  return 0;
}

// Reads the file with convert, a reading option set before it.
bool MagickDecodeWithDefine(const std::string& define, const std::string& path, Bitmap& out) {
  return MagickDecode("-define", out, {define, path});
}

TImgIOParams WithQuality(int quality) {
  TImgIOParams params;
  params.JpegQuality = quality;
  return params;
}

struct Sample {
  const char* Name;
  std::vector<std::string> Args;
  JpegColorSpace Space;
  bool Progressive;
};

// The same decoder with the same DCT method gives identical pixels; CMYK and
// YCCK files differ by one at most, where the reference rounds its 16-bit
// intermediate colour before scaling to 8 bits.
TEST(JpegCodec, DecodesLikeImageMagick) {
  GLAMORA_REQUIRE_MAGICK();
  const std::vector<Sample> samples{
      {"Baseline420", {"rose:", "-quality", "85"}, JpegColorSpace::YCbCr, false},
      {"Sampling444", {"rose:", "-sampling-factor", "1x1"}, JpegColorSpace::YCbCr, false},
      {"Sampling422", {"rose:", "-sampling-factor", "2x1"}, JpegColorSpace::YCbCr, false},
      {"Progressive", {"rose:", "-interlace", "Plane"}, JpegColorSpace::YCbCr, true},
      {"Grey", {"rose:", "-colorspace", "Gray"}, JpegColorSpace::Grey, false},
      {"GreyProgressive", {"rose:", "-colorspace", "Gray", "-interlace", "Plane"}, JpegColorSpace::Grey, true},
      // convert writes CMYK pictures as YCCK with an Adobe marker.
      {"Ycck", {"rose:", "-colorspace", "CMYK"}, JpegColorSpace::Ycck, false},
      {"OddSize", {"-size", "101x75", "gradient:red-blue", "-quality", "60"}, JpegColorSpace::YCbCr, false},
  };
  TempFolder folder;
  for (const Sample& s : samples) {
    SCOPED_TRACE(s.Name);
    const std::string path = folder.File(std::string(s.Name) + ".jpg");
    ASSERT_FALSE(MakeSample(s.Args, "JPG:" + path).empty());
    EXPECT_TRUE(MatchesMagick(JpegCodec(), path, {}, s.Space == JpegColorSpace::Ycck ? 1 : 0));
    Bitmap picture;
    TImgIOParams params;
    ASSERT_TRUE(DecodeWith(JpegCodec(), ReadAll(path), picture, params));
    EXPECT_EQ(params.JpegColor, s.Space);
    EXPECT_EQ(params.JpegProgressive, s.Progressive);
    EXPECT_EQ(params.BitsPerSample, 8);
    EXPECT_EQ(params.SamplesPerPixel, 3);
    EXPECT_EQ(picture.Format(), PixelFormat::Bits24);
  }
}

TEST(JpegCodec, DctMethodsMatchImageMagick) {
  GLAMORA_REQUIRE_MAGICK();
  TempFolder folder;
  const std::string path = folder.File("rose.jpg");
  ASSERT_FALSE(MakeSample({"rose:", "-quality", "75"}, "JPG:" + path).empty());
  const struct {
    JpegDctMethod Method;
    const char* Name;
  } methods[] = {{JpegDctMethod::IntegerSlow, "islow"}, {JpegDctMethod::IntegerFast, "ifast"},
                 {JpegDctMethod::Float, "float"}};
  for (const auto& m : methods) {
    SCOPED_TRACE(m.Name);
    Bitmap expected, actual;
    ASSERT_TRUE(MagickDecodeWithDefine(std::string("jpeg:dct-method=") + m.Name, path, expected));
    TImgIOParams params;
    params.JpegDct = m.Method;
    ASSERT_TRUE(DecodeWith(JpegCodec(), ReadAll(path), actual, params));
    EXPECT_TRUE(SamePixels(expected, actual));
  }
}

TEST(JpegCodec, ReadsDensity) {
  GLAMORA_REQUIRE_MAGICK();
  // Dots per centimetre are turned into dots per inch (× 2.54, truncated).
  const struct {
    const char* Units;
    const char* Density;
    int DpiX, DpiY;
  } cases[] = {{"PixelsPerInch", "300x150", 300, 150},
               {"PixelsPerCentimeter", "38x20", 96, 50},
               {"Undefined", "2x3", 2, 3}};
  TempFolder folder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Units);
    const File file = MakeSample({"rose:", "-units", c.Units, "-density", c.Density}, "JPG:" + folder.File("d.jpg"));
    ASSERT_FALSE(file.empty());
    Bitmap picture;
    TImgIOParams params;
    ASSERT_TRUE(DecodeWith(JpegCodec(), file, picture, params));
    EXPECT_EQ(params.DpiX, c.DpiX);
    EXPECT_EQ(params.DpiY, c.DpiY);
    codec::PictureInfo info;
    ASSERT_EQ(codec::InfoJpeg(file, info), PictureStatus::Ok);
    EXPECT_EQ(info.DpiX, c.DpiX);
    EXPECT_EQ(info.DpiY, c.DpiY);
  }
}

TEST(JpegCodec, FileWithoutDensityKeepsTheDpi) {
  // libjpeg writes no JFIF header, and so no density, for an RGB file.
  TImgIOParams save;
  save.JpegColor = JpegColorSpace::Rgb;
  const File file = Encode(SmoothPicture(40, 30), save);
  Bitmap picture;
  TImgIOParams params;
  params.DpiX = 77;
  params.DpiY = 78;
  ASSERT_TRUE(DecodeWith(JpegCodec(), file, picture, params));
  EXPECT_EQ(params.DpiX, 77);
  EXPECT_EQ(params.DpiY, 78);
}

TEST(JpegCodec, WritesDensityInDotsPerInch) {
  TImgIOParams save;
  save.DpiX = 300;
  save.DpiY = 200;
  codec::JpegHeader header;
  ASSERT_EQ(codec::ReadJpegHeader(Encode(SmoothPicture(40, 30), save), header), PictureStatus::Ok);
  EXPECT_TRUE(header.HasDensity);
  EXPECT_EQ(header.DpiX, 300);
  EXPECT_EQ(header.DpiY, 200);
}

TEST(JpegCodec, LowerQualityGivesSmallerFiles) {
  const Bitmap picture = SmoothPicture(160, 120);
  size_t previous = 0;
  for (int quality : {5, 25, 50, 75, 90, 100}) {
    const size_t size = Encode(picture, WithQuality(quality)).size();
    EXPECT_GT(size, previous) << "quality " << quality;
    previous = size;
  }
}

TEST(JpegCodec, QualityOutOfRangeIsClamped) {
  const Bitmap picture = SmoothPicture(64, 48);
  EXPECT_EQ(Encode(picture, WithQuality(0)), Encode(picture, WithQuality(1)));
  EXPECT_EQ(Encode(picture, WithQuality(250)), Encode(picture, WithQuality(100)));
}

TEST(JpegCodec, ProgressiveFlagRoundTrips) {
  GLAMORA_REQUIRE_MAGICK();
  TempFolder folder;
  for (bool progressive : {false, true}) {
    SCOPED_TRACE(progressive);
    TImgIOParams save;
    save.JpegProgressive = progressive;
    const File file = Encode(SmoothPicture(64, 48), save);
    Bitmap picture;
    TImgIOParams params;
    params.JpegProgressive = !progressive;
    ASSERT_TRUE(DecodeWith(JpegCodec(), file, picture, params));
    EXPECT_EQ(params.JpegProgressive, progressive);
    WriteAll(folder.File("p.jpg"), file);
    ASSERT_TRUE(RunConvert({folder.File("p.jpg"), "-format", "%[interlace]", "info:" + folder.File("p.txt")}));
    EXPECT_EQ(ReadText(folder.File("p.txt")), progressive ? "JPEG" : "None");
  }
}

// Every colour space the encoder offers: the header names it, the picture
// comes back close to the original, and the reference reads it as we do.
TEST(JpegCodec, SavesEachColourSpace) {
  GLAMORA_REQUIRE_MAGICK();
  const Bitmap original = SmoothPicture(64, 48);
  const struct {
    JpegColorSpace Space;
    int Tolerance;  // against the reference decoder
  } spaces[] = {{JpegColorSpace::Rgb, 0},
                {JpegColorSpace::Grey, 0},
                {JpegColorSpace::YCbCr, 0},
                {JpegColorSpace::Cmyk, 1},
                {JpegColorSpace::Ycck, 1}};
  TempFolder folder;
  for (const auto& s : spaces) {
    SCOPED_TRACE(int(s.Space));
    TImgIOParams save = WithQuality(95);
    save.JpegColor = s.Space;
    const File file = Encode(original, save);
    codec::JpegHeader header;
    ASSERT_EQ(codec::ReadJpegHeader(file, header), PictureStatus::Ok);
    EXPECT_EQ(header.ColorSpace, s.Space);

    Bitmap decoded;
    TImgIOParams params;
    ASSERT_TRUE(DecodeWith(JpegCodec(), file, decoded, params));
    EXPECT_EQ(params.JpegColor, s.Space);
    const Bitmap expected = s.Space == JpegColorSpace::Grey ? Greyed(original) : original;
    EXPECT_LT(MeanAbsoluteError(expected, decoded), 2.0);

    const std::string path = folder.File("space.jpg");
    WriteAll(path, file);
    EXPECT_TRUE(MatchesMagick(JpegCodec(), path, {}, s.Tolerance));
  }
}

// The encoder stores inverted inks, as the Adobe marker it writes says. The
// same samples without the marker are plain inks: (255 − ink) × (255 − black) / 255.
TEST(JpegCodec, InksAreInvertedOnlyUnderAnAdobeMarker) {
  Bitmap flat(16, 16);
  flat.Fill(Rgb(200, 100, 50));
  TImgIOParams save = WithQuality(100);
  save.JpegColor = JpegColorSpace::Cmyk;
  const File withMarker = Encode(flat, save);
  const size_t adobe = FindMarker(withMarker, 0xEE);
  ASSERT_NE(adobe, 0u);
  File withoutMarker = withMarker;
  const size_t length = size_t(withMarker[adobe + 2]) << 8 | withMarker[adobe + 3];
  withoutMarker.erase(withoutMarker.begin() + std::ptrdiff_t(adobe),
                      withoutMarker.begin() + std::ptrdiff_t(adobe + 2 + length));

  // Stored inverted inks: black 200, cyan 255, magenta 128, yellow 64.
  const struct {
    const char* Name;
    const File& Bytes;
    TColor Expected;
  } cases[] = {{"Adobe", withMarker, Rgb(200, 100, 50)}, {"Plain", withoutMarker, Rgb(0, 27, 41)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Bitmap decoded;
    TImgIOParams params;
    ASSERT_TRUE(DecodeWith(JpegCodec(), c.Bytes, decoded, params));
    EXPECT_EQ(params.JpegColor, JpegColorSpace::Cmyk);
    Bitmap expected(16, 16);
    expected.Fill(c.Expected);
    EXPECT_TRUE(SamePixels(expected, decoded, 1));
  }
}

TEST(JpegCodec, OptimalHuffmanTablesShrinkTheFileNotThePixels) {
  const Bitmap picture = SmoothPicture(96, 64);
  TImgIOParams plain = WithQuality(80), optimal = WithQuality(80);
  optimal.JpegOptimalHuffman = true;
  const File a = Encode(picture, plain), b = Encode(picture, optimal);
  EXPECT_LT(b.size(), a.size());
  Bitmap fromA, fromB;
  TImgIOParams pa, pb;
  ASSERT_TRUE(DecodeWith(JpegCodec(), a, fromA, pa));
  ASSERT_TRUE(DecodeWith(JpegCodec(), b, fromB, pb));
  EXPECT_TRUE(fromA.SameContent(fromB));
}

TEST(JpegCodec, SmoothingChangesTheCodedPicture) {
  const Bitmap picture = Checkerboard(64, 48, 1);
  TImgIOParams smooth = WithQuality(90);
  smooth.JpegSmoothing = 80;
  EXPECT_NE(Encode(picture, WithQuality(90)), Encode(picture, smooth));
}

TEST(JpegCodec, OneBitBitmapIsSavedAsItsColours) {
  Bitmap bilevel(32, 16, PixelFormat::Bits1);
  for (int y = 0; y < 16; ++y) {
    for (int x = 16; x < 32; ++x) bilevel.Row(y)[x / 8] |= uint8_t(0x80 >> (x % 8));
  }
  Bitmap decoded;
  TImgIOParams params;
  ASSERT_TRUE(DecodeWith(JpegCodec(), Encode(bilevel, WithQuality(95)), decoded, params));
  Bitmap expected;
  expected.Assign(bilevel);
  expected.ConvertTo24();
  EXPECT_TRUE(SamePixels(expected, decoded, 12));
}

TEST(JpegCodec, EmptyBitmapIsNotSaved) {
  MemoryStream out(File{1, 2, 3});
  out.Seek(3);
  bool aborting = false;
  ProgressRecord progress;
  progress.Aborting = &aborting;
  EXPECT_EQ(codec::EncodeJpeg(Bitmap{}, TImgIOParams{}, progress, out), PictureStatus::NoPicture);
  EXPECT_EQ(out.Bytes(), (File{1, 2, 3}));
  EXPECT_TRUE(aborting);
}

TEST(JpegCodec, EncodedPictureIsAppended) {
  MemoryStream stream(File{9, 9});
  stream.Seek(2);
  ASSERT_EQ(codec::EncodeJpeg(SmoothPicture(16, 16), TImgIOParams{}, ProgressRecord{}, stream), PictureStatus::Ok);
  const File& out = stream.Bytes();
  EXPECT_EQ(out[0], 9);
  EXPECT_TRUE(codec::ProbeJpeg(codec::Bytes(out).subspan(2), out.size() - 2));
}

struct ScaleCase {
  JpegScale Scale;
  int Width, Height;
  int64_t Wanted;
  int Denominator;
};

TEST(JpegScale, DenominatorFollowsTheRule) {
  const ScaleCase cases[] = {
      {JpegScale::Automatic, 640, 480, 0, 1},            // no wish: full size
      {JpegScale::Automatic, 640, 480, 320 * 240, 2},    // exact
      {JpegScale::Automatic, 640, 480, 100 * 100, 8},    // 4800 is closest to 10000
      {JpegScale::Automatic, 640, 480, 1000 * 1000, 1},  // larger than the picture
      {JpegScale::Automatic, 16, 16, 40, 2},             // 64 and 16 are as close: the first wins
      {JpegScale::Automatic, 101, 75, 50 * 37, 2},       // sides are divided with truncation
      {JpegScale::Automatic, 101, 75, 13 * 10, 8},       // 12 × 9 = 108 is closest to 130
      {JpegScale::Full, 640, 480, 10, 1},
      {JpegScale::Half, 640, 480, 10, 2},
      {JpegScale::Quarter, 640, 480, 10, 4},
      {JpegScale::Eighth, 640, 480, 0, 8},
  };
  for (const ScaleCase& c : cases) {
    EXPECT_EQ(codec::JpegScaleDenominator(c.Scale, c.Width, c.Height, c.Wanted), c.Denominator)
        << int(c.Scale) << " " << c.Width << "x" << c.Height << " wanting " << c.Wanted;
  }
}

// libjpeg rounds scaled sides up; the reference uses the same scaled IDCT
// when asked for a size, so the pixels agree exactly.
TEST(JpegScale, ScaledDecodingRoundsSidesUp) {
  GLAMORA_REQUIRE_MAGICK();
  TempFolder folder;
  const std::string path = folder.File("odd.jpg");
  ASSERT_FALSE(MakeSample({"-size", "101x75", "gradient:red-blue", "-quality", "90"}, "JPG:" + path).empty());
  const File file = ReadAll(path);
  const struct {
    int Denominator, Width, Height;
  } cases[] = {{1, 101, 75}, {2, 51, 38}, {4, 26, 19}, {8, 13, 10}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Denominator);
    Bitmap picture;
    TImgIOParams params;
    size_t consumed = 0;
    ASSERT_EQ(codec::DecodeJpegScaled(file, c.Denominator, picture, params, ProgressRecord{}, consumed), PictureStatus::Ok);
    EXPECT_EQ(picture.Width(), c.Width);
    EXPECT_EQ(picture.Height(), c.Height);
    EXPECT_EQ(params.Width, c.Width);
    EXPECT_EQ(params.Height, c.Height);
    EXPECT_EQ(c.Width, codec::JpegScaledSide(101, c.Denominator));
    Bitmap expected;
    const std::string size = std::to_string(101 / c.Denominator) + "x" + std::to_string(75 / c.Denominator);
    ASSERT_TRUE(MagickDecodeWithDefine("jpeg:size=" + size, path, expected));
    EXPECT_TRUE(SamePixels(expected, picture));
  }
  Bitmap picture;
  TImgIOParams params;
  size_t consumed = 0;
  EXPECT_NE(codec::DecodeJpegScaled(file, 3, picture, params, ProgressRecord{}, consumed), PictureStatus::Ok);
}

TEST(JpegScale, AutomaticScaleAimsAtTheParamsSize) {
  const File file = Encode(SmoothPicture(101, 75), WithQuality(90));
  const struct {
    int WantedWidth, WantedHeight, Width, Height;
  } cases[] = {{0, 0, 101, 75}, {50, 37, 51, 38}, {24, 20, 26, 19}, {10, 10, 13, 10}, {400, 400, 101, 75}};
  for (const auto& c : cases) {
    Bitmap picture;
    TImgIOParams params;
    params.JpegDecodeScale = JpegScale::Automatic;
    params.Width = c.WantedWidth;
    params.Height = c.WantedHeight;
    ASSERT_TRUE(DecodeWith(JpegCodec(), file, picture, params));
    EXPECT_EQ(picture.Width(), c.Width) << c.WantedWidth << "x" << c.WantedHeight;
    EXPECT_EQ(picture.Height(), c.Height) << c.WantedWidth << "x" << c.WantedHeight;
  }
}

TEST(JpegCodec, InfoReadsTheHeaderOnly) {
  TImgIOParams save;
  save.JpegColor = JpegColorSpace::Cmyk;
  save.JpegProgressive = true;
  const File file = Encode(SmoothPicture(33, 17), save);
  codec::PictureInfo info;
  ASSERT_EQ(codec::InfoJpeg(file, info), PictureStatus::Ok);
  EXPECT_EQ(info.Width, 33);
  EXPECT_EQ(info.Height, 17);
  EXPECT_EQ(info.SamplesPerPixel, 4);
  codec::JpegHeader header;
  ASSERT_EQ(codec::ReadJpegHeader(File(file.begin(), file.begin() + std::ptrdiff_t(file.size() / 2)), header), PictureStatus::Ok);
  EXPECT_TRUE(header.Progressive);
  EXPECT_EQ(header.ColorSpace, JpegColorSpace::Cmyk);
}

TEST(JpegCodec, RejectsWhatIsNotAJpegPicture) {
  const File good = Encode(SmoothPicture(16, 16), TImgIOParams{});
  File tablesOnly(good.begin(), good.begin() + 2);  // SOI and then EOI: no picture
  tablesOnly.insert(tablesOnly.end(), {0xFF, 0xD9});
  const std::vector<File> inputs{
      {},
      {0xFF, 0xD8},
      {0xFF, 0xD8, 0xFE, 0x00, 0x02, 0xFF, 0xD9},  // does not start FF D8 FF
      {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A},
      tablesOnly,
      {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0x00},  // cut inside the header
  };
  for (size_t i = 0; i < inputs.size(); ++i) {
    EXPECT_TRUE(FailsLeavingOutputAlone(JpegCodec(), inputs[i])) << "input " << i;
  }
}

// The frame header's size is checked before anything is allocated for it.
TEST(JpegCodec, RefusesSizesOverTheLimits) {
  const File good = Encode(SmoothPicture(16, 16), TImgIOParams{});
  const size_t sof = FindMarker(good, 0xC0);
  ASSERT_NE(sof, 0u);
  const struct {
    int Width, Height;
  } sizes[] = {{30001, 8}, {8, 30001}, {20000, 20000}, {65500, 65500}};
  for (const auto& s : sizes) {
    File huge = good;
    huge[sof + 5] = uint8_t(s.Height >> 8);
    huge[sof + 6] = uint8_t(s.Height);
    huge[sof + 7] = uint8_t(s.Width >> 8);
    huge[sof + 8] = uint8_t(s.Width);
    EXPECT_TRUE(FailsLeavingOutputAlone(JpegCodec(), huge)) << s.Width << "x" << s.Height;
    codec::PictureInfo info;
    ASSERT_EQ(codec::InfoJpeg(huge, info), PictureStatus::Ok);
    EXPECT_EQ(info.Width, s.Width);
  }
}

// Data that ends before the last row is damage, not a picture with its
// bottom filled in; a file that lacks only its end marker is whole.
TEST(JpegCodec, PictureCutShortIsDamagedButAMissingEndMarkerIsNot) {
  for (const bool progressive : {false, true}) {
    SCOPED_TRACE(progressive ? "progressive" : "baseline");
    TImgIOParams save = WithQuality(90);
    save.JpegProgressive = progressive;
    const File whole = Encode(SmoothPicture(64, 64), save);
    const File cut(whole.begin(), whole.begin() + std::ptrdiff_t(whole.size() * 3 / 4));
    EXPECT_TRUE(FailsLeavingOutputAlone(JpegCodec(), cut));

    const File noEnd(whole.begin(), whole.end() - 2);
    Bitmap full, part;
    TImgIOParams pf, pp;
    ASSERT_TRUE(DecodeWith(JpegCodec(), whole, full, pf));
    ASSERT_TRUE(DecodeWith(JpegCodec(), noEnd, part, pp));
    EXPECT_TRUE(part.SameContent(full));
  }
}

TEST(JpegCodec, ConsumedStopsAtTheEndOfThePicture) {
  File file = Encode(SmoothPicture(20, 20), TImgIOParams{});
  const size_t length = file.size();
  file.insert(file.end(), {'t', 'r', 'a', 'i', 'l', 'e', 'r'});
  Bitmap picture;
  TImgIOParams params;
  size_t consumed = 0;
  ASSERT_EQ(codec::DecodeJpeg(file, picture, params, ProgressRecord{}, consumed), PictureStatus::Ok);
  EXPECT_EQ(consumed, length);
}

TEST(JpegCodec, ReportsProgressAndStopsWhenAsked) {
  const File file = Encode(SmoothPicture(40, 200), TImgIOParams{});
  ExpectProgressAndAbort(JpegCodec(), file, TImgIOParams{});
}

TEST(JpegCodec, SurvivesDamage) {
  const Bitmap picture = SmoothPicture(48, 40);
  ExpectDamageHandled(JpegCodec(), Encode(picture, WithQuality(75)), 3, 400, 1);
  TImgIOParams progressive;
  progressive.JpegProgressive = true;
  ExpectDamageHandled(JpegCodec(), Encode(picture, progressive), 3, 400, 2);
  TImgIOParams cmyk;
  cmyk.JpegColor = JpegColorSpace::Ycck;
  ExpectDamageHandled(JpegCodec(), Encode(picture, cmyk), 5, 200, 3);
  ExpectRandomInputHandled(JpegCodec(), {0xFF, 0xD8, 0xFF}, 300, 4);
}

}  // namespace
}  // namespace glamora::test
