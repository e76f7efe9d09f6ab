#include "codecs/Icon.h"

#include <algorithm>

#include "codecs/Bmp.h"
#include "codecs/ByteReader.h"
#include "codecs/Png.h"

namespace glamora::codec {

namespace {

constexpr int kIconFileType = 6;
constexpr int kCursorFileType = 7;
constexpr uint16_t kIconResource = 1;
constexpr uint16_t kCursorResource = 2;
constexpr size_t kDirectoryHeader = 6;
constexpr size_t kEntrySize = 16;

struct Entry {
  size_t Offset = 0;
  size_t Size = 0;
};

// The directory, checked as the content test requires.
bool ReadDirectory(Bytes data, uint16_t resourceType, std::vector<Entry>& entries) {
  if (data.size() <= 22) return false;
  ByteReader r(data);
  const uint16_t reserved = r.U16LE(), type = r.U16LE(), count = r.U16LE();
  if (!r.Ok() || reserved != 0 || type != resourceType || count == 0) return false;
  std::vector<Entry> found;
  for (size_t i = 0; i < count; ++i) {
    r.Skip(3);  // width, height, colour count
    const uint8_t zero = r.U8();
    r.Skip(4);  // planes and bit count, or the cursor's hot spot
    const uint32_t size = r.U32LE(), offset = r.U32LE();
    if (!r.Ok() || zero != 0 || size == 0 || offset < kDirectoryHeader + kEntrySize * (i + 1)) return false;
    found.push_back({offset, size});
  }
  entries = std::move(found);
  return true;
}

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

bool IsPng(Bytes image) { return image.size() >= 8 && std::equal(kPngSignature, kPngSignature + 8, image.begin()); }

// Size and bits per pixel of one image, read from its own header.
struct ImageShape {
  int64_t Pixels = 0;
  int Bits = 0;
  int Width = 0;
  int Height = 0;
};

bool ShapeOf(Bytes image, ImageShape& shape) {
  if (IsPng(image)) {
    ByteReader r(image, 8);
    r.U32BE();  // chunk length
    const uint32_t tag = r.U32BE();
    const uint32_t width = r.U32BE(), height = r.U32BE();
    const int depth = r.U8(), colourType = r.U8();
    if (!r.Ok() || tag != 0x49484452 || !SizeWithinLimits(width, height) || width == 0 || height == 0) return false;
    const int channels = colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
    shape = {int64_t(width) * height, depth * channels, int(width), int(height)};
    return true;
  }
  DibHeader h;
  if (!ReadDibHeader(image, 0, true, h)) return false;
  shape = {int64_t(h.Width) * h.Height, h.BitsPerPixel, h.Width, h.Height};
  return true;
}

// The largest image: most pixels, then most bits; the first of equal ones.
bool ChooseImage(Bytes data, const std::vector<Entry>& entries, Bytes& chosen, ImageShape& chosenShape) {
  bool any = false;
  for (const Entry& e : entries) {
    if (e.Offset >= data.size()) continue;
    const Bytes image = data.subspan(e.Offset, std::min(e.Size, data.size() - e.Offset));
    ImageShape shape;
    if (!ShapeOf(image, shape)) continue;
    if (!any || shape.Pixels > chosenShape.Pixels ||
        (shape.Pixels == chosenShape.Pixels && shape.Bits > chosenShape.Bits)) {
      chosen = image;
      chosenShape = shape;
      any = true;
    }
  }
  return any;
}

constexpr uint8_t OverWhite(unsigned c, unsigned alpha) { return uint8_t((c * alpha + 255 * (255 - alpha) + 127) / 255); }

// Puts the see-through parts of a decoded DIB image on white.
void ApplyTransparency(Bytes image, const DibHeader& h, DibPicture& picture) {
  Bitmap& pixels = picture.Pixels;
  if (!picture.Alpha.empty()) {
    for (int y = 0; y < h.Height; ++y) {
      uint8_t* row = pixels.Row(y);
      const uint8_t* alpha = picture.Alpha.data() + size_t(y) * size_t(h.Width);
      for (int x = 0; x < h.Width * 3; ++x) row[x] = OverWhite(row[x], alpha[x / 3]);
    }
    return;
  }
  // The AND mask follows the colour rows, bottom-up, one bit per pixel; an
  // image without a complete mask is opaque.
  const size_t colourStride = ((size_t(h.Width) * size_t(h.BitsPerPixel) + 31) / 32) * 4;
  const size_t maskStride = ((size_t(h.Width) + 31) / 32) * 4;
  const size_t maskOffset = h.PixelOffset + colourStride * size_t(h.Height);
  if (maskOffset > image.size() || image.size() - maskOffset < maskStride * size_t(h.Height)) return;
  for (int i = 0; i < h.Height; ++i) {
    const uint8_t* mask = image.data() + maskOffset + maskStride * size_t(i);
    uint8_t* row = pixels.Row(h.TopDown ? i : h.Height - 1 - i);
    for (int x = 0; x < h.Width; ++x) {
      if (mask[x / 8] & (0x80 >> (x % 8))) row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = 255;
    }
  }
}

bool DecodeImage(Bytes image, Bitmap& out, const ProgressRecord& progress) {
  if (IsPng(image)) {
    TImgIOParams pngParams;
    size_t pngConsumed = 0;
    Bitmap decoded;
    if (!DecodePng(image, decoded, pngParams, progress, pngConsumed)) return false;
    out = std::move(decoded);
    return true;
  }
  DibHeader h;
  DibPicture picture;
  if (!ReadDibHeader(image, 0, true, h) || !DecodeDib(image, h, h.PixelOffset, DibUse::IconImage, picture, progress)) return false;
  ApplyTransparency(image, h, picture);
  out = std::move(picture.Pixels);
  return true;
}

bool Info(Bytes data, uint16_t resourceType, PictureInfo& info) {
  std::vector<Entry> entries;
  Bytes image;
  ImageShape shape;
  if (!ReadDirectory(data, resourceType, entries) || !ChooseImage(data, entries, image, shape)) return false;
  PictureInfo result;
  result.Width = shape.Width;
  result.Height = shape.Height;
  result.FrameCount = int(entries.size());
  info = result;
  return true;
}

bool DecodeInto(Bytes data, uint16_t resourceType, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                size_t& consumed) {
  std::vector<Entry> entries;
  Bytes image;
  ImageShape shape;
  if (!ReadDirectory(data, resourceType, entries) || !ChooseImage(data, entries, image, shape)) return false;
  Bitmap decoded;
  if (!DecodeImage(image, decoded, progress)) return false;

  size_t end = kDirectoryHeader + kEntrySize * entries.size();
  for (const Entry& e : entries) end = std::max(end, e.Offset + e.Size);
  params.Width = decoded.Width();
  params.Height = decoded.Height();
  params.BitsPerSample = 8;
  params.SamplesPerPixel = 3;
  consumed = std::min(end, data.size());
  out = std::move(decoded);
  return true;
}

bool Decode(Bytes data, uint16_t resourceType, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
            size_t& consumed) {
  return Reported(progress, [&] { return DecodeInto(data, resourceType, out, params, progress, consumed); });
}

}  // namespace

bool ProbeIcon(Bytes data) {
  std::vector<Entry> entries;
  return ReadDirectory(data, kIconResource, entries);
}

bool ProbeCursor(Bytes data) {
  std::vector<Entry> entries;
  return ReadDirectory(data, kCursorResource, entries);
}

bool InfoIcon(Bytes data, PictureInfo& info) { return Info(data, kIconResource, info); }
bool InfoCursor(Bytes data, PictureInfo& info) { return Info(data, kCursorResource, info); }

bool DecodeIcon(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress, size_t& consumed) {
  return Decode(data, kIconResource, out, params, progress, consumed);
}

bool DecodeCursor(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress, size_t& consumed) {
  return Decode(data, kCursorResource, out, params, progress, consumed);
}

const Codec& IconCodec() {
  static const Codec codec{"Icon", kIconFileType, ProbeIcon, InfoIcon, DecodeIcon, nullptr};
  return codec;
}

const Codec& CursorCodec() {
  static const Codec codec{"Cursor", kCursorFileType, ProbeCursor, InfoCursor, DecodeCursor, nullptr};
  return codec;
}

}  // namespace glamora::codec
