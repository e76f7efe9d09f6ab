// Reading icon and cursor files: the directory, the choice of the largest
// image, and its colour and mask bitmaps.
#include "codecs/Icon.h"

#include <algorithm>

#include "codecs/Bmp.h"
#include "codecs/ByteReader.h"
#include "codecs/Png.h"

namespace glamora::codec {

namespace {

constexpr uint16_t kIconResource = 1;
constexpr uint16_t kCursorResource = 2;
constexpr size_t kDirectoryHeader = 6;
constexpr size_t kEntrySize = 16;

struct Entry {
  size_t Offset = 0;
  size_t Size = 0;
};

// The directory, checked as the content test requires.
bool ReadDirectory(Bytes data, uint64_t streamSize, uint16_t resourceType, std::vector<Entry>& entries) {
  if (streamSize <= 22) return false;
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

PictureStatus ShapeOf(Bytes image, const DecodeLimits& limits, ImageShape& shape) {
  if (IsPng(image)) {
    ByteReader r(image, 8);
    r.U32BE();  // chunk length
    const uint32_t tag = r.U32BE();
    const uint32_t width = r.U32BE(), height = r.U32BE();
    const int depth = r.U8(), colourType = r.U8();
    if (!r.Ok() || tag != 0x49484452) return PictureStatus::Damaged;
    if (const PictureStatus size = CheckSize(width, height, limits); size != PictureStatus::Ok) return size;
    const int channels = colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
    shape = {int64_t(width) * height, depth * channels, int(width), int(height)};
    return PictureStatus::Ok;
  }
  DibHeader h;
  if (const PictureStatus read = ReadDibHeader(image, 0, true, limits, h); read != PictureStatus::Ok) return read;
  shape = {int64_t(h.Width) * h.Height, h.BitsPerPixel, h.Width, h.Height};
  return PictureStatus::Ok;
}

// The largest image: most pixels, then most bits; the first of equal ones.
// Images whose header cannot be read are passed over, but a file whose
// images run past its end is cut short and so damaged: choosing among the
// images left would show another picture than the file holds.
PictureStatus ChooseImage(Bytes data, const std::vector<Entry>& entries, const DecodeLimits& limits, Bytes& chosen,
                          ImageShape& chosenShape) {
  PictureStatus status = PictureStatus::Damaged;
  for (const Entry& e : entries) {
    if (e.Offset >= data.size() || e.Size > data.size() - e.Offset) return PictureStatus::Damaged;
  }
  for (const Entry& e : entries) {
    const Bytes image = data.subspan(e.Offset, e.Size);
    ImageShape shape;
    const PictureStatus read = ShapeOf(image, limits, shape);
    if (read != PictureStatus::Ok) {
      // Too large outranks damaged: the file may be fine, just not for these limits.
      if (status != PictureStatus::Ok && read == PictureStatus::TooLarge) status = read;
      continue;
    }
    if (status != PictureStatus::Ok || shape.Pixels > chosenShape.Pixels ||
        (shape.Pixels == chosenShape.Pixels && shape.Bits > chosenShape.Bits)) {
      chosen = image;
      chosenShape = shape;
      status = PictureStatus::Ok;
    }
  }
  return status;
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

PictureStatus DecodeImage(Bytes image, const DecodeLimits& limits, Bitmap& out, const ProgressRecord& progress) {
  if (IsPng(image)) {
    TImgIOParams pngParams;
    pngParams.Limits = limits;
    size_t pngConsumed = 0;
    Bitmap decoded;
    const PictureStatus status = DecodePng(image, decoded, pngParams, progress, pngConsumed);
    if (status == PictureStatus::Ok) out = std::move(decoded);
    return status;
  }
  DibHeader h;
  DibPicture picture;
  if (const PictureStatus read = ReadDibHeader(image, 0, true, limits, h); read != PictureStatus::Ok) return read;
  if (const PictureStatus decoded = DecodeDib(image, h, h.PixelOffset, DibUse::IconImage, picture, progress);
      decoded != PictureStatus::Ok) {
    return decoded;
  }
  ApplyTransparency(image, h, picture);
  out = std::move(picture.Pixels);
  return PictureStatus::Ok;
}

PictureStatus Info(Bytes data, uint16_t resourceType, PictureInfo& info) {
  std::vector<Entry> entries;
  Bytes image;
  ImageShape shape;
  if (!ReadDirectory(data, data.size(), resourceType, entries)) return PictureStatus::Damaged;
  if (const PictureStatus chosen = ChooseImage(data, entries, DecodeLimits{}, image, shape);
      chosen != PictureStatus::Ok) {
    return chosen;
  }
  PictureInfo result;
  result.Width = shape.Width;
  result.Height = shape.Height;
  result.FrameCount = int(entries.size());
  info = result;
  return PictureStatus::Ok;
}

PictureStatus DecodeInto(Bytes data, uint16_t resourceType, Bitmap& out, TImgIOParams& params,
                         const ProgressRecord& progress, size_t& consumed) {
  std::vector<Entry> entries;
  Bytes image;
  ImageShape shape;
  if (!ReadDirectory(data, data.size(), resourceType, entries)) return PictureStatus::Damaged;
  if (const PictureStatus chosen = ChooseImage(data, entries, params.Limits, image, shape);
      chosen != PictureStatus::Ok) {
    return chosen;
  }
  Bitmap decoded;
  if (const PictureStatus status = DecodeImage(image, params.Limits, decoded, progress); status != PictureStatus::Ok) {
    return status;
  }

  size_t end = kDirectoryHeader + kEntrySize * entries.size();
  for (const Entry& e : entries) end = std::max(end, e.Offset + e.Size);
  params.Width = decoded.Width();
  params.Height = decoded.Height();
  params.BitsPerSample = 8;
  params.SamplesPerPixel = 3;
  consumed = std::min(end, data.size());
  out = std::move(decoded);
  return PictureStatus::Ok;
}

PictureStatus Decode(Bytes data, uint16_t resourceType, Bitmap& out, TImgIOParams& params,
                     const ProgressRecord& progress, size_t& consumed) {
  return Reported(progress, [&] { return DecodeInto(data, resourceType, out, params, progress, consumed); });
}

}  // namespace

bool ProbeIcon(Bytes head, uint64_t streamSize) {
  std::vector<Entry> entries;
  return ReadDirectory(head, streamSize, kIconResource, entries);
}

bool ProbeCursor(Bytes head, uint64_t streamSize) {
  std::vector<Entry> entries;
  return ReadDirectory(head, streamSize, kCursorResource, entries);
}

PictureStatus InfoIcon(Bytes data, PictureInfo& info) { return Info(data, kIconResource, info); }
PictureStatus InfoCursor(Bytes data, PictureInfo& info) { return Info(data, kCursorResource, info); }

PictureStatus DecodeIcon(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                         size_t& consumed) {
  return Decode(data, kIconResource, out, params, progress, consumed);
}

PictureStatus DecodeCursor(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                           size_t& consumed) {
  return Decode(data, kCursorResource, out, params, progress, consumed);
}

const Codec& IconCodec() {
  static const Codec codec{"Icon", iftIcon, ProbeIcon, InfoIcon, DecodeIcon, nullptr};
  return codec;
}

const Codec& CursorCodec() {
  static const Codec codec{"Cursor", iftCursor, ProbeCursor, InfoCursor, DecodeCursor, nullptr};
  return codec;
}

}  // namespace glamora::codec
