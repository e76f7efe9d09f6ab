// Photographs load upright: the orientation a JPEG's EXIF block or a TIFF's
// Orientation tag records turns the picture as it loads, damaged EXIF
// blocks are ignored, and pictures without one load exactly as stored.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "imaging/components/ImgIO.h"
#include "imaging/core/Orientation.h"
#include "imaging/core/Stream.h"
#include "tests/support/ExifSegments.h"
#include "tests/support/PictureFiles.h"
#include "tests/support/TestSupport.h"

namespace glamora::test {
namespace {

// Blocks of colour that no turn or mirror maps onto themselves, coded in
// whole 16-pixel blocks so that JPEG keeps them close.
Bitmap AsymmetricPicture() {
  Bitmap b(64, 48);
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const int bx = x / 16, by = y / 16;
      b.SetPixel(x, y, Rgb(bx * 80, by * 120, (bx + by) % 2 ? 220 : 30));
    }
  return b;
}

// The largest difference of any channel, averaged over the pixels.
double MeanDifference(const Bitmap& a, const Bitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return 1e9;
  double sum = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < 3 * a.Width(); ++x) sum += std::abs(a.Row(y)[x] - b.Row(y)[x]);
  return sum / (3.0 * a.Width() * a.Height());
}

struct Loaded {
  Bitmap Picture;
  TImgIOParams Params;
};

Loaded Load(const std::string& path, bool upright = true) {
  Loaded loaded;
  TImgIO io;
  io.UprightPhotographs = upright;
  io.SetBitmap(&loaded.Picture);
  EXPECT_TRUE(io.LoadFromFile(path)) << path;
  loaded.Params = io.Params;
  return loaded;
}

TEST(UprightPhotograph, EveryJpegOrientationLoadsUpright) {
  TempFolder dir;
  const Bitmap original = AsymmetricPicture();
  for (int o = 1; o <= 8; ++o) {
    SCOPED_TRACE(o);
    const std::string path = dir.File("photo" + std::to_string(o) + ".jpg");
    SavePhotograph(original, o, path);
    const Loaded upright = Load(path);
    EXPECT_EQ(upright.Params.Orientation, o);
    EXPECT_EQ(upright.Params.Width, 64);
    EXPECT_EQ(upright.Params.Height, 48);
    EXPECT_LT(MeanDifference(upright.Picture, original), 8.0);

    // The size the file's information gives is the upright one too.
    TImgIO info;
    ASSERT_TRUE(info.ParamsFromFile(path));
    EXPECT_EQ(info.Params.Orientation, o);
    EXPECT_EQ(info.Params.Width, 64);
    EXPECT_EQ(info.Params.Height, 48);

    // Switched off, the picture loads as stored.
    const Loaded stored = Load(path, false);
    EXPECT_EQ(stored.Picture.Width(), OrientationSwapsSides(o) ? 48 : 64);

    // A stream loaded by its content stands upright as well.
    FileStream file(path, FileStream::Mode::Read);
    Bitmap fromStream;
    TImgIO io;
    io.SetBitmap(&fromStream);
    ASSERT_TRUE(io.LoadFromStream(file));
    EXPECT_TRUE(fromStream.SameContent(upright.Picture));
  }
}

// Pictures without an orientation, and a reduced-scale decode of one with it.
TEST(UprightPhotograph, PicturesWithoutOrientationLoadAsStoredAndScalesTurnToo) {
  TempFolder dir;
  const Bitmap original = AsymmetricPicture();
  const std::string plain = dir.File("plain.jpg");
  SavePicture(original, plain);
  Bitmap asStored, upright;
  for (auto [picture, on] : {std::pair{&asStored, false}, std::pair{&upright, true}}) {
    TImgIO io;
    io.UprightPhotographs = on;
    io.SetBitmap(picture);
    ASSERT_TRUE(io.LoadFromFile(plain));
    EXPECT_EQ(io.Params.Orientation, 1);
  }
  EXPECT_TRUE(upright.SameContent(asStored));

  const std::string sideways = dir.File("sideways.jpg");
  SavePhotograph(original, 6, sideways);
  Bitmap half;
  TImgIO io;
  io.SetBitmap(&half);
  io.Params.JpegDecodeScale = JpegScale::Half;
  ASSERT_TRUE(io.LoadFromFile(sideways));
  EXPECT_EQ(half.Width(), 32);
  EXPECT_EQ(half.Height(), 24);
  // A PNG loaded after it records no orientation of its own.
  const std::string png = dir.File("after.png");
  SavePicture(original, png);
  ASSERT_TRUE(io.LoadFromFile(png));
  EXPECT_EQ(io.Params.Orientation, 1);
  EXPECT_TRUE(half.SameContent(original));
}

// EXIF blocks that are damaged, odd or as large as a segment holds are read
// without harm: the picture loads, with the orientation the block can give.
TEST(UprightPhotograph, DamagedOrHugeExifBlocksAreIgnored) {
  TempFolder dir;
  const Bitmap original = AsymmetricPicture();
  const std::string base = dir.File("base.jpg");
  SavePicture(original, base);
  const std::vector<uint8_t> jpeg = ReadAll(base);

  const auto patched = [](std::vector<uint8_t> block, size_t at, std::initializer_list<uint8_t> bytes) {
    for (const uint8_t byte : bytes) block.at(at++) = byte;
    return block;
  };
  const std::vector<uint8_t> good = ExifOrientationBlock(6);
  std::vector<uint8_t> huge = good;
  huge.resize(65533 - 2, 0xFF);                         // the largest segment, all of it junk after the field
  std::vector<uint8_t> manyFields = patched(good, 14, {0xFF, 0xFF});  // 65535 fields in 26 bytes
  manyFields.resize(60000, 0x12);
  const std::vector<uint8_t> xmp = {'h', 't', 't', 'p', ':', '/', '/', 'n', 's', 0};

  const struct {
    const char* What;
    std::vector<std::vector<uint8_t>> Blocks;  // APP1 segments in file order
    int Orientation;
  } cases[] = {
      {"big-endian", {ExifOrientationBlock(8, true)}, 8},
      {"after another APP1", {xmp, good}, 6},
      {"value 0", {ExifOrientationBlock(0)}, 1},
      {"value 9", {ExifOrientationBlock(9)}, 1},
      {"value 0xFFFF", {ExifOrientationBlock(0xFFFF)}, 1},
      {"cut after the TIFF header", {std::vector<uint8_t>(good.begin(), good.begin() + 14)}, 1},
      {"cut inside the field", {std::vector<uint8_t>(good.begin(), good.begin() + 24)}, 1},
      {"IFD far past the end", {patched(good, 10, {0x00, 0xFF, 0xFF, 0x7F})}, 1},
      {"IFD inside itself", {patched(good, 10, {0x00, 0x00, 0x00, 0x00})}, 1},
      {"field stored as LONG", {patched(good, 18, {0x04, 0x00})}, 1},
      {"next IFD pointing back", {patched(good, 28, {0x08, 0x00, 0x00, 0x00})}, 6},
      {"byte order unknown", {patched(good, 6, {'X', 'X'})}, 1},
      {"segment of junk", {huge}, 6},
      {"65535 fields declared, one there", {manyFields}, 6},
      {"only the word Exif", {std::vector<uint8_t>(good.begin(), good.begin() + 6)}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    std::vector<uint8_t> file = jpeg;
    for (auto block = c.Blocks.rbegin(); block != c.Blocks.rend(); ++block) file = WithApp1(file, *block);
    const std::string path = dir.File("case.jpg");
    WriteAll(path, file);
    const Loaded loaded = Load(path);
    EXPECT_EQ(loaded.Params.Orientation, c.Orientation);
    EXPECT_EQ(loaded.Picture.Width(), OrientationSwapsSides(c.Orientation) ? 48 : 64);
  }
}

// A TIFF page written with an Orientation tag, through the plain 8-bit reader
// (RGB) and libtiff's RGBA reader (RGB with an alpha sample).
void WriteOrientedTiff(const std::string& path, const Bitmap& stored, int orientation, bool alpha) {
  TIFF* tif = TIFFOpen(path.c_str(), "w");
  ASSERT_NE(tif, nullptr);
  const int samples = alpha ? 4 : 3;
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(stored.Width()));
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(stored.Height()));
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_ORIENTATION, uint16_t(orientation));
  if (alpha) {
    const uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
    TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, extra);
  }
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(7));
  std::vector<uint8_t> row(size_t(stored.Width()) * size_t(samples));
  for (int y = 0; y < stored.Height(); ++y) {
    const uint8_t* p = stored.Row(y);
    for (int x = 0; x < stored.Width(); ++x) {
      uint8_t* s = row.data() + size_t(x) * size_t(samples);
      s[0] = p[3 * x + 2];
      s[1] = p[3 * x + 1];
      s[2] = p[3 * x];
      if (alpha) s[3] = 255;
    }
    ASSERT_EQ(TIFFWriteScanline(tif, row.data(), uint32_t(y), 0), 1);
  }
  TIFFClose(tif);
}

TEST(UprightPhotograph, TiffOrientationTagTurnsThePage) {
  TempFolder dir;
  const Bitmap original = AsymmetricPicture();
  for (const bool alpha : {false, true}) {
    for (const int o : {2, 3, 6, 7, 8}) {
      SCOPED_TRACE(std::to_string(o) + (alpha ? " with alpha" : ""));
      const std::string path = dir.File("page.tif");
      WriteOrientedTiff(path, Oriented(original, InverseOrientation(o)), o, alpha);
      const Loaded loaded = Load(path);
      EXPECT_EQ(loaded.Params.Orientation, o);
      EXPECT_TRUE(loaded.Picture.SameContent(original));
    }
  }
}

}  // namespace
}  // namespace glamora::test
