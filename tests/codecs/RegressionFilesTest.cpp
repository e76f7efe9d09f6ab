// Files that once broke a decoder, kept per format, and small valid files
// declaring huge pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>
#include <vector>

#include "codecs/Bmp.h"
#include "codecs/Gif.h"
#include "codecs/Icon.h"
#include "codecs/Jpeg.h"
#include "codecs/Pcx.h"
#include "codecs/Png.h"
#include "codecs/Targa.h"
#include "codecs/Tiff.h"
#include "codecs/Registry.h"
#include "tests/codecs/LibraryCodecChecks.h"
#include "tests/codecs/MemoryGrowth.h"
#include "tests/support/TestSupport.h"

namespace glamora::test {
namespace {

// Inputs the fuzz targets found, one folder per format, decoded with every
// LZW hook installed so that the whole decoder runs.
TEST(CodecRegressions, EveryFileIsHandled) {
  TImgIOParams params;
  params.Lzw = LzwHooks{true, true, true, true};
  const struct {
    const codec::Codec& Codec;
    const char* Folder;
  } formats[] = {{codec::JpegCodec(), "jpeg"}, {codec::PngCodec(), "png"}, {codec::GifCodec(), "gif"},
                 {codec::TiffCodec(), "tiff"},
                 {codec::BmpCodec(), "bmp"},   {codec::PcxCodec(), "pcx"}, {codec::TargaCodec(), "targa"},
                 {codec::IconCodec(), "icon"}, {codec::CursorCodec(), "cursor"}};
  int files = 0;
  for (const auto& f : formats) {
    SCOPED_TRACE(f.Folder);
    files += ExpectRegressionFilesHandled(f.Codec, f.Folder, params);
  }
  EXPECT_GT(files, 0) << "the regression folders are missing";
}

// Valid files of a few dozen bytes that expand to hundreds of megabytes (a
// run-length picture ended early by its end code, a tiny frame on a huge
// screen) are refused at once, under the window's limits and without limits.
TEST(CodecRegressions, ValidBombsAreRefusedAtOnce) {
  namespace fs = std::filesystem;
  int files = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(SourceDir()) / "tests/codecs/regressions/bombs")) {
    ++files;
    const std::vector<uint8_t> bytes = ReadAll(entry.path().string());
    const codec::Codec* codec = codec::CodecFor(codec::DetectByProbes(bytes, bytes.size()));
    ASSERT_NE(codec, nullptr) << entry.path();
    for (const DecodeLimits limits : {kWindowPictureLimits, DecodeLimits{}}) {
      TImgIOParams params;
      params.Lzw = LzwHooks{true, true, true, true};
      params.Limits = limits;
      Bitmap out;
      size_t consumed = 0;
      PictureStatus status = PictureStatus::Ok;
      const int64_t growth =
          PeakMemoryGrowthKiB([&] { status = codec->Decode(bytes, out, params, ProgressRecord{}, consumed); });
      EXPECT_EQ(status, PictureStatus::TooLarge) << entry.path() << " within " << limits.MaxPixels << " pixels";
      EXPECT_GE(growth, 0);
      EXPECT_LT(growth, 16 * 1024) << entry.path();
    }
  }
  EXPECT_GT(files, 0);
}

void PutLE(std::vector<uint8_t>& f, size_t at, int bytes, uint32_t value) {
  for (int i = 0; i < bytes; ++i) f[at + i] = uint8_t(value >> (8 * i));
}

// An RLE8 BMP of black (index 0) and white (index 1) holding `codes`.
std::vector<uint8_t> Rle8Bmp(int width, int height, const std::vector<uint8_t>& codes) {
  constexpr size_t kCodesAt = 14 + 40 + 8;
  std::vector<uint8_t> f(kCodesAt + codes.size(), 0);
  std::copy(codes.begin(), codes.end(), f.begin() + kCodesAt);
  f[0] = 'B', f[1] = 'M';
  PutLE(f, 2, 4, uint32_t(f.size()));
  PutLE(f, 10, 4, uint32_t(kCodesAt));
  PutLE(f, 14, 4, 40);
  PutLE(f, 18, 4, uint32_t(width));
  PutLE(f, 22, 4, uint32_t(height));
  PutLE(f, 26, 2, 1);
  PutLE(f, 28, 2, 8);
  PutLE(f, 30, 4, 1);  // RLE8
  PutLE(f, 46, 4, 2);  // colours
  PutLE(f, 58, 3, 0xFFFFFF);
  return f;
}

// A GIF of one white pixel at the top left of a black screen.
std::vector<uint8_t> PixelOnAGifScreen(int width, int height) {
  std::vector<uint8_t> f = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF,
                            0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x4C, 0x01, 0, 0x3B};
  PutLE(f, 6, 2, uint32_t(width));
  PutLE(f, 8, 2, uint32_t(height));
  return f;
}

// Codings that skip pixels without data (run-length escapes, a screen around
// a frame) may declare any ordinary picture over a few bytes, but not one of
// hundreds of megabytes: past 16 megapixels a picture needs a byte of file for
// each 4096 of its pixels, and is refused before its bitmap is allocated.
TEST(CodecRegressions, PicturesOutOfProportionToTheirFileAreRefusedAtOnce) {
  const std::vector<uint8_t> endAtOnce = {0, 1};
  // White runs at the bottom left and 255 pixels right and up, the rest skipped.
  const std::vector<uint8_t> mostlySkipped = {3, 1, 0, 2, 255, 255, 2, 1, 0, 1};
  std::vector<uint8_t> endOfLineEachRow;
  for (int y = 0; y < 4200; ++y) endOfLineEachRow.insert(endOfLineEachRow.end(), {0, 0});
  using PixelList = std::vector<std::tuple<int, int, TColor>>;
  const struct {
    const char* Name;
    const codec::Codec& Codec;
    std::vector<uint8_t> File;
    bool Refused;
    int Side = 0;  // of a picture that decodes, with some of its pixels
    PixelList Pixels = {};
  } cases[] = {
      {"RLE8 of 14142 x 14142 ending at once", codec::BmpCodec(), Rle8Bmp(14142, 14142, endAtOnce), true},
      {"RLE8 of 4200 x 4200 ending at once", codec::BmpCodec(), Rle8Bmp(4200, 4200, endAtOnce), true},
      {"RLE8 of 4200 x 4200, an end of line a row", codec::BmpCodec(), Rle8Bmp(4200, 4200, endOfLineEachRow),
       false, 4200, {{0, 0, clBlack}, {4199, 4199, clBlack}}},
      {"RLE8 of 2000 x 2000 mostly skipped", codec::BmpCodec(), Rle8Bmp(2000, 2000, mostlySkipped), false, 2000,
       {{0, 1999, clWhite}, {2, 1999, clWhite}, {3, 1999, clBlack}, {258, 1744, clWhite}, {259, 1744, clWhite},
        {260, 1744, clBlack}, {1999, 0, clBlack}}},
      {"1 x 1 frame on a 14000 x 14000 GIF screen", codec::GifCodec(), PixelOnAGifScreen(14000, 14000), true},
      {"1 x 1 frame on a 4200 x 4200 GIF screen", codec::GifCodec(), PixelOnAGifScreen(4200, 4200), true},
      {"1 x 1 frame on a 2000 x 2000 GIF screen", codec::GifCodec(), PixelOnAGifScreen(2000, 2000), false, 2000,
       {{0, 0, clWhite}, {1, 0, clBlack}, {1999, 1999, clBlack}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TImgIOParams params;
    params.Lzw = LzwHooks{true, true, true, true};
    Bitmap out(2, 2);
    size_t consumed = 0;
    PictureStatus status = PictureStatus::Ok;
    const int64_t growth =
        PeakMemoryGrowthKiB([&] { status = c.Codec.Decode(c.File, out, params, ProgressRecord{}, consumed); });
    if (c.Refused) {
      EXPECT_EQ(status, PictureStatus::TooLarge);
      EXPECT_EQ(out.Width(), 2);
      EXPECT_LT(growth, 16 * 1024);
      continue;
    }
    ASSERT_EQ(status, PictureStatus::Ok);
    ASSERT_EQ(out.Width(), c.Side);
    ASSERT_EQ(out.Height(), c.Side);
    for (const auto& [x, y, colour] : c.Pixels) EXPECT_EQ(out.Pixel(x, y), colour) << x << ", " << y;
  }
}

}  // namespace
}  // namespace glamora::test
