// Writing the generator's pictures through the program's codecs.
#include "tools/generators/hairstyles/ImageFiles.h"

#include <algorithm>
#include <vector>

#include "codecs/Jpeg.h"
#include "codecs/Png.h"
#include "imaging/core/Bitmap.h"
#include "imaging/core/Stream.h"

namespace glamora::hairgen {

Bitmap ToBitmap(const QImage& picture) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
  Bitmap bitmap(rgb.width(), rgb.height());
  for (int y = 0; y < rgb.height(); ++y) {
    const uint8_t* src = rgb.constScanLine(y);
    uint8_t* dst = bitmap.Row(y);
    for (int x = 0; x < rgb.width(); ++x) {
      dst[3 * x] = src[3 * x + 2];
      dst[3 * x + 1] = src[3 * x + 1];
      dst[3 * x + 2] = src[3 * x];
    }
  }
  return bitmap;
}

QImage ToImage(const Bitmap& bitmap) {
  QImage picture(bitmap.Width(), bitmap.Height(), QImage::Format_RGB888);
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* src = bitmap.Row(y);
    uint8_t* dst = picture.scanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      dst[3 * x] = src[3 * x + 2];
      dst[3 * x + 1] = src[3 * x + 1];
      dst[3 * x + 2] = src[3 * x];
    }
  }
  return picture;
}

namespace {

bool WriteBytes(const std::string& path, const MemoryStream& bytes) {
  try {
    WriteFileAtomically(path, bytes.Bytes().data(), bytes.Bytes().size());
  } catch (const FileError&) {
    return false;
  }
  return true;
}

bool Write(const std::string& path, const codec::Codec& codec, const QImage& picture, const TImgIOParams& params) {
  MemoryStream bytes;
  return codec.Encode(ToBitmap(picture), params, ProgressRecord(), bytes) == PictureStatus::Ok &&
         WriteBytes(path, bytes);
}

}  // namespace

bool WriteJpeg(const std::string& path, const QImage& picture, int quality) {
  TImgIOParams params;
  params.JpegQuality = quality;
  return Write(path, codec::JpegCodec(), picture, params);
}

QImage ReadJpeg(const std::string& path) {
  std::vector<uint8_t> bytes;
  try {
    bytes = ReadFileBytes(path);
  } catch (const FileError&) {
    return {};
  }
  Bitmap bitmap;
  TImgIOParams params;
  size_t consumed = 0;
  if (codec::JpegCodec().Decode(bytes, bitmap, params, ProgressRecord(), consumed) != PictureStatus::Ok) return {};
  bitmap.ConvertTo24();
  return ToImage(bitmap);
}

bool WritePng(const std::string& path, const QImage& picture) {
  return Write(path, codec::PngCodec(), picture, TImgIOParams());
}

bool WritePngWithAlpha(const std::string& path, const QImage& colour, const QImage& alpha) {
  const QImage grey = alpha.convertToFormat(QImage::Format_Grayscale8);
  Bitmap plane(grey.width(), grey.height(), PixelFormat::Bits8);
  for (int y = 0; y < grey.height(); ++y) std::copy_n(grey.constScanLine(y), grey.width(), plane.Row(y));
  MemoryStream bytes;
  return codec::EncodePngWithAlpha(ToBitmap(colour), plane, TImgIOParams(), ProgressRecord(), bytes) ==
             PictureStatus::Ok &&
         WriteBytes(path, bytes);
}

}  // namespace glamora::hairgen
