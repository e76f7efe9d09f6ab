#include <gtest/gtest.h>

#include "codecs/Bmp.h"
#include "codecs/Gif.h"
#include "codecs/Icon.h"
#include "codecs/Jpeg.h"
#include "codecs/Pcx.h"
#include "codecs/Png.h"
#include "codecs/Targa.h"
#include "codecs/Tiff.h"
#include "tests/codecs/LibraryCodecChecks.h"

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

}  // namespace
}  // namespace glamora::test
