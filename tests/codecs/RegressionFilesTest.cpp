// Files that once broke a decoder, kept per format, and small valid files
// declaring huge pictures.
#include <gtest/gtest.h>

#include <filesystem>

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
// screen): under the window's limits they are refused at once.
TEST(CodecRegressions, ValidBombsAreRefusedUnderTheWindowLimits) {
  namespace fs = std::filesystem;
  int files = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(SourceDir()) / "tests/codecs/regressions/bombs")) {
    ++files;
    const std::vector<uint8_t> bytes = ReadAll(entry.path().string());
    const codec::Codec* codec = codec::CodecFor(codec::DetectByProbes(bytes, bytes.size()));
    ASSERT_NE(codec, nullptr) << entry.path();
    TImgIOParams params;
    params.Lzw = LzwHooks{true, true, true, true};
    params.Limits = kWindowPictureLimits;
    Bitmap out;
    size_t consumed = 0;
    PictureStatus status = PictureStatus::Ok;
    const int64_t growth =
        PeakMemoryGrowthKiB([&] { status = codec->Decode(bytes, out, params, ProgressRecord{}, consumed); });
    EXPECT_EQ(status, PictureStatus::TooLarge) << entry.path();
    EXPECT_GE(growth, 0);
    EXPECT_LT(growth, 16 * 1024) << entry.path();
  }
  EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace glamora::test
