// What every encoder promises about its output vector: the coded picture is
// appended after what the vector held, and an encode that fails part of the
// way through leaves the vector exactly as it was.
#include <gtest/gtest.h>

#include "codecs/Bmp.h"
#include "codecs/Gif.h"
#include "codecs/Jpeg.h"
#include "codecs/Pcx.h"
#include "codecs/Png.h"
#include "codecs/Targa.h"
#include "codecs/Tiff.h"
#include "tests/codecs/LibraryCodecChecks.h"

namespace glamora::test {
namespace {

using File = std::vector<uint8_t>;

const codec::Codec* const kEncoders[] = {&codec::BmpCodec(), &codec::PcxCodec(),  &codec::TargaCodec(),
                                         &codec::GifCodec(), &codec::JpegCodec(), &codec::PngCodec(),
                                         &codec::TiffCodec()};

TImgIOParams WithEveryCoder() {
  TImgIOParams params;
  params.Lzw = LzwHooks{true, true, true, true};
  return params;
}

TEST(EncoderContract, PictureIsAppendedAfterWhatWasThere) {
  const Bitmap picture = SmoothPicture(40, 30);
  for (const codec::Codec* c : kEncoders) {
    SCOPED_TRACE(c->Name);
    MemoryStream stream(File{7, 8, 9});
    stream.Seek(3);
    ASSERT_EQ(c->Encode(picture, WithEveryCoder(), ProgressRecord{}, stream), PictureStatus::Ok);
    const File& out = stream.Bytes();
    ASSERT_GT(out.size(), 3u);
    EXPECT_EQ(File(out.begin(), out.begin() + 3), (File{7, 8, 9}));
    EXPECT_EQ(stream.Position(), stream.Size());
    Bitmap decoded;
    TImgIOParams params = WithEveryCoder();
    size_t consumed = 0;
    ASSERT_EQ(c->Decode(codec::Bytes(out).subspan(3), decoded, params, ProgressRecord{}, consumed), PictureStatus::Ok);
    EXPECT_EQ(decoded.Width(), 40);
    EXPECT_EQ(decoded.Height(), 30);
  }
}

TEST(EncoderContract, StoppingPartWayLeavesTheOutputAsItWas) {
  const Bitmap picture = SmoothPicture(40, 30);
  for (const codec::Codec* c : kEncoders) {
    SCOPED_TRACE(c->Name);
    // The caller asks to stop at the second report, when rows have been coded.
    bool aborting = false;
    int reports = 0;
    ProgressRecord progress;
    progress.Aborting = &aborting;
    progress.OnProgress = [&](int) {
      if (++reports == 2) aborting = true;
    };
    MemoryStream out(File{7, 8, 9});
    out.Seek(3);
    EXPECT_EQ(c->Encode(picture, WithEveryCoder(), progress, out), PictureStatus::Stopped);
    EXPECT_EQ(reports, 2);
    EXPECT_EQ(out.Bytes(), (File{7, 8, 9}));
    EXPECT_EQ(out.Position(), 3);
    EXPECT_TRUE(aborting);
  }
}

}  // namespace
}  // namespace glamora::test
