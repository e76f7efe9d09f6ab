#pragma once
// Picture files of every kind the picture preview describes, made by the
// tests: single pictures through the codecs, and the multi-frame ones (an
// animated GIF, a TIFF of several pages) through giflib and libtiff.
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstdint>
#include <string>
#include <vector>

#include "codecs/Registry.h"
#include "imaging/core/Bitmap.h"
#include "imaging/core/ImgIOParams.h"
#include "imaging/core/Stream.h"
#include "tests/support/TestSupport.h"

namespace glamora::test {

// Gentle gradients, which every codec codes compactly.
inline Bitmap GradientPicture(int width, int height) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    uint8_t* p = b.Row(y);
    for (int x = 0; x < width; ++x, p += 3) {
      p[0] = uint8_t(x * 255 / std::max(width - 1, 1));
      p[1] = uint8_t(y * 255 / std::max(height - 1, 1));
      p[2] = uint8_t((x + y) / 4);
    }
  }
  return b;
}

// The picture coded by the codec of `fileType` with `params`.
inline std::vector<uint8_t> Coded(int32_t fileType, const Bitmap& picture, TImgIOParams params) {
  params.Lzw = LzwHooks{true, true, true, true};
  MemoryStream out;
  EXPECT_EQ(codec::CodecFor(fileType)->Encode(picture, params, ProgressRecord{}, out), PictureStatus::Ok);
  return out.Bytes();
}

// Writes the bytes, padded with zeros to `size` bytes when that is longer.
inline std::string WritePictureFile(const std::string& path, std::vector<uint8_t> bytes, size_t size = 0) {
  if (bytes.size() < size) bytes.resize(size, 0);
  WriteAll(path, bytes);
  return path;
}

inline int WriteGifBytes(GifFileType* gif, const GifByteType* buffer, int length) {
  auto* bytes = static_cast<std::vector<uint8_t>*>(gif->UserData);
  bytes->insert(bytes->end(), buffer, buffer + length);
  return length;
}

// An animation of `frames` full-screen frames on a four-colour screen, frame
// i filled with colour i mod 4 (red, green, blue, white) and shown for
// `delayCs` hundredths of a second.
inline std::vector<uint8_t> AnimatedGif(int frames, int width, int height, int delayCs) {
  std::vector<uint8_t> bytes;
  int error = 0;
  GifFileType* gif = EGifOpen(&bytes, WriteGifBytes, &error);
  EGifSetGifVersion(gif, true);
  const GifColorType colours[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  ColorMapObject* map = GifMakeMapObject(4, colours);
  EXPECT_EQ(EGifPutScreenDesc(gif, width, height, 2, 0, map), GIF_OK);
  GifFreeMapObject(map);
  std::vector<GifPixelType> row(static_cast<size_t>(width));
  for (int f = 0; f < frames; ++f) {
    GraphicsControlBlock control{};
    control.DelayTime = delayCs;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
    EXPECT_EQ(EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr), GIF_OK);
    std::fill(row.begin(), row.end(), GifPixelType(f % 4));
    for (int y = 0; y < height; ++y) EGifPutLine(gif, row.data(), width);
  }
  EGifCloseFile(gif, &error);
  return bytes;
}

// A TIFF of `pages` RGB pages, page i of width + i pixels, uncompressed.
inline void WriteTiffPages(const std::string& path, int pages, int width, int height) {
  TIFF* tif = TIFFOpen(path.c_str(), "w");
  ASSERT_NE(tif, nullptr);
  for (int page = 0; page < pages; ++page) {
    const Bitmap picture = GradientPicture(width + page, height);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(picture.Width()));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(height));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(height));
    std::vector<uint8_t> row(size_t(picture.Width()) * 3);
    for (int y = 0; y < height; ++y) {
      const uint8_t* p = picture.Row(y);
      for (size_t x = 0; x < row.size(); x += 3) {
        row[x] = p[x + 2];
        row[x + 1] = p[x + 1];
        row[x + 2] = p[x];
      }
      ASSERT_EQ(TIFFWriteScanline(tif, row.data(), uint32_t(y), 0), 1);
    }
    ASSERT_TRUE(TIFFWriteDirectory(tif));
  }
  TIFFClose(tif);
}

}  // namespace glamora::test
