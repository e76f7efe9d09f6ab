// PNG coding through libpng from memory into bitmap rows, and out to a stream.
#include "codecs/Png.h"

#include <png.h>

#include <algorithm>
#include <new>
#include <csetjmp>

#include "codecs/RowProgress.h"
#include "imaging/core/Rounding.h"

namespace glamora::codec {

namespace {

constexpr double kMetresPerInch = 0.0254;
// Ancillary chunks larger than this (text, profiles) are refused.
constexpr png_alloc_size_t kMaxChunkBytes = 8 * 1024 * 1024;

[[noreturn]] void ErrorToJump(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

// Why the coding ended when libpng jumped out: damage unless the code that
// gave up said otherwise.
struct Outcome {
  PictureStatus Reason = PictureStatus::Damaged;
};

[[noreturn]] void GiveUp(png_structp png, Outcome& outcome, PictureStatus reason) {
  outcome.Reason = reason;
  png_error(png, PictureStatusText(reason));
}

// Runs the library calls in `body` with libpng's jump point set; the reason
// the coding ended, Ok when it did not end early. The body creates no object
// with a destructor.
template <class Body>
PictureStatus Guarded(png_structp png, const Outcome& outcome, Body&& body) {
  if (setjmp(png_jmpbuf(png))) return outcome.Reason;
  body();
  return PictureStatus::Ok;
}

// The most deflate can expand: a 258-byte match for two bits.
constexpr uint64_t kMostDeflateExpansion = 1032;

struct MemoryReader {
  Bytes data;
  size_t position = 0;
};

void ReadFromMemory(png_structp png, png_bytep buffer, png_size_t length) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (length > reader->data.size() - reader->position) png_error(png, "read past the end");
  std::copy_n(reader->data.data() + reader->position, length, buffer);
  reader->position += length;
}

struct StreamWriter {
  Stream* stream;
  Outcome* outcome;
};

void WriteToStream(png_structp png, png_bytep buffer, png_size_t length) {
  auto* writer = static_cast<StreamWriter*>(png_get_io_ptr(png));
  // No exception may pass through libpng's frames.
  try {
    writer->stream->Write(buffer, length);
  } catch (const FileError&) {
    GiveUp(png, *writer->outcome, PictureStatus::Unwritable);
  } catch (const std::bad_alloc&) {
    GiveUp(png, *writer->outcome, PictureStatus::TooLarge);
  }
}

void FlushNothing(png_structp) {}

// A sample of the file's bit depth scaled to 8 bits, rounded.
constexpr uint8_t SampleTo8(unsigned value, int bitDepth) {
  if (bitDepth == 16) return uint8_t((value * 255 + 32895) >> 16);
  const unsigned top = (1u << bitDepth) - 1;
  return uint8_t(std::min(value, top) * 255 / top);
}

// Alpha over a background: (c × a + b × (255 − a)) / 255, rounded.
constexpr uint8_t Over(unsigned c, unsigned background, unsigned alpha) {
  return uint8_t((c * alpha + background * (255 - alpha) + 127) / 255);
}

void SplitBgraRow(const uint8_t* bgra, uint8_t* bgr, uint8_t* alpha, int width) {
  for (int x = 0; x < width; ++x, bgra += 4, bgr += 3) {
    bgr[0] = bgra[0];
    bgr[1] = bgra[1];
    bgr[2] = bgra[2];
    alpha[x] = bgra[3];
  }
}

void JoinBgraRow(const uint8_t* bgr, const uint8_t* alpha, uint8_t* bgra, int width) {
  for (int x = 0; x < width; ++x, bgr += 3, bgra += 4) {
    bgra[0] = bgr[0];
    bgra[1] = bgr[1];
    bgra[2] = bgr[2];
    bgra[3] = alpha[x];
  }
}

// Palette of an alpha plane: index i shows as grey i.
std::vector<TColor> GreyPalette() {
  std::vector<TColor> palette(256);
  for (int i = 0; i < 256; ++i) palette[size_t(i)] = Rgb(uint8_t(i), uint8_t(i), uint8_t(i));
  return palette;
}

void CompositeBgraRow(const uint8_t* bgra, uint8_t* bgr, int width, TColor background) {
  const unsigned b = BlueOf(background), g = GreenOf(background), r = RedOf(background);
  for (int x = 0; x < width; ++x, bgra += 4, bgr += 3) {
    const unsigned a = bgra[3];
    bgr[0] = Over(bgra[0], b, a);
    bgr[1] = Over(bgra[1], g, a);
    bgr[2] = Over(bgra[2], r, a);
  }
}

// The file's bKGD colour in 8-bit channels; false when it has none.
bool FileBackground(png_structp png, png_infop info, TColor& color) {
  png_color_16p background = nullptr;
  if (!png_get_bKGD(png, info, &background) || !background) return false;
  const int bitDepth = png_get_bit_depth(png, info);
  switch (png_get_color_type(png, info)) {
    case PNG_COLOR_TYPE_PALETTE: {
      png_colorp palette = nullptr;
      int count = 0;
      if (!png_get_PLTE(png, info, &palette, &count) || background->index >= count) return false;
      const png_color& entry = palette[background->index];
      color = Rgb(entry.red, entry.green, entry.blue);
      return true;
    }
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_GRAY_ALPHA: {
      const uint8_t grey = SampleTo8(background->gray, bitDepth);
      color = Rgb(grey, grey, grey);
      return true;
    }
    default:
      color = Rgb(SampleTo8(background->red, bitDepth), SampleTo8(background->green, bitDepth),
                  SampleTo8(background->blue, bitDepth));
      return true;
  }
}

struct ReadStructs {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ReadStructs() {
    png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, ErrorToJump, IgnoreWarning);
    if (png) info = png_create_info_struct(png);
  }
  ~ReadStructs() { png_destroy_read_struct(&png, &info, nullptr); }
  ReadStructs(const ReadStructs&) = delete;
  ReadStructs& operator=(const ReadStructs&) = delete;
  bool Ok() const { return png && info; }
};

void StartReading(png_structp png, MemoryReader& reader) {
  png_set_read_fn(png, &reader, ReadFromMemory);
  // The size is checked against the caller's limits once the header is read,
  // so that a picture too large is told from a damaged one.
  png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
  png_set_chunk_malloc_max(png, kMaxChunkBytes);
  // Of the ancillary chunks only the background and the resolution are used.
  // The others are skipped as they are read, never held: libpng would take a
  // text chunk's declared length in memory before reading it, however short
  // the file.
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  static constexpr png_byte kUsed[] = "bKGD\0pHYs";
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_AS_DEFAULT, kUsed, 2);
}

// The rows as stored, each with its filter byte: the least the image data
// must inflate to.
uint64_t StoredImageBytes(png_structp png, png_infop info) {
  const uint64_t width = png_get_image_width(png, info), height = png_get_image_height(png, info);
  const uint64_t bitsPerPixel = uint64_t(png_get_channels(png, info)) * png_get_bit_depth(png, info);
  return height * (1 + (width * bitsPerPixel + 7) / 8);
}

// Decodes into `out`; with `alphaOut` the colour stays as stored and the
// alpha goes into its own 8-bit plane, else it is composited.
PictureStatus TryDecode(Bytes data, Bitmap& out, Bitmap* alphaOut, TImgIOParams& params,
                        const ProgressRecord& progress, size_t& consumed) {
  if (!ProbePng(data, data.size())) return PictureStatus::Damaged;
  ReadStructs s;
  if (!s.Ok()) return PictureStatus::TooLarge;
  MemoryReader reader{data};
  Bitmap decoded;
  Bitmap alphaPlane;
  std::vector<uint8_t> rgba;  // rows with alpha, before compositing
  bool hasBackground = false;
  TColor background = clWhite;
  bool interlaced = false;
  int dpiX = 0, dpiY = 0;
  bool rowsDone = false;
  Outcome outcome;

  const PictureStatus status = Guarded(s.png, outcome, [&] {
    png_structp png = s.png;
    png_infop info = s.info;
    StartReading(png, reader);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    const PictureStatus size = CheckSize(width, height, params.Limits);
    if (size != PictureStatus::Ok) GiveUp(png, outcome, size);
    // What is left of the file cannot inflate to the rows: it was cut short.
    if (uint64_t(data.size() - reader.position) * kMostDeflateExpansion < StoredImageBytes(png, info)) {
      GiveUp(png, outcome, PictureStatus::Damaged);
    }
    const int colorType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    hasBackground = FileBackground(png, info, background);
    png_uint_32 resX = 0, resY = 0;
    int unit = 0;
    if (png_get_pHYs(png, info, &resX, &resY, &unit) && unit == PNG_RESOLUTION_METER && resX > 0 && resY > 0) {
      dpiX = RoundEvenInt(resX * kMetresPerInch);
      dpiY = RoundEvenInt(resY * kMetresPerInch);
    }

    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (bitDepth == 16) png_set_scale_16(png);
    if (!(colorType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
    png_set_bgr(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const int channels = png_get_channels(png, info);
    if ((channels != 3 && channels != 4) || png_get_rowbytes(png, info) != size_t(width) * channels) {
      png_error(png, "unexpected row layout");
    }

    if (!decoded.Reset(int(width), int(height))) GiveUp(png, outcome, PictureStatus::TooLarge);
    const bool alpha = channels == 4;
    if (alphaOut) {
      if (!alphaPlane.Reset(int(width), int(height), PixelFormat::Bits8)) GiveUp(png, outcome, PictureStatus::TooLarge);
      alphaPlane.Palette() = GreyPalette();
      if (!alpha) {
        for (int y = 0; y < alphaPlane.Height(); ++y) std::fill_n(alphaPlane.Row(y), alphaPlane.Width(), uint8_t(255));
      }
    }
    // Interlaced passes fill each row in turns, so rows with alpha are all
    // kept until the last pass; otherwise one row is enough.
    if (alpha) rgba.resize(size_t(width) * 4 * (passes > 1 ? height : 1));
    RowProgress rows(progress, int64_t(passes) * height);
    int64_t rowsRead = 0;
    if (!rows.Row(0)) GiveUp(png, outcome, PictureStatus::Stopped);
    for (int pass = 0; pass < passes; ++pass) {
      for (png_uint_32 y = 0; y < height; ++y) {
        uint8_t* row = alpha ? rgba.data() + (passes > 1 ? size_t(y) * width * 4 : 0) : decoded.Row(int(y));
        png_read_row(png, row, nullptr);
        if (alpha && pass == passes - 1) {
          if (alphaOut) {
            SplitBgraRow(row, decoded.Row(int(y)), alphaPlane.Row(int(y)), int(width));
          } else {
            CompositeBgraRow(row, decoded.Row(int(y)), int(width), background);
          }
        }
        if (!rows.Row(++rowsRead)) GiveUp(png, outcome, PictureStatus::Stopped);
      }
    }
    rowsDone = true;
    png_read_end(png, nullptr);
  });
  // A file cut short or damaged after its last row still gives the whole picture.
  if (status != PictureStatus::Ok && !rowsDone) return status;

  consumed = reader.position;
  params.Width = decoded.Width();
  params.Height = decoded.Height();
  params.BitsPerSample = 8;
  params.SamplesPerPixel = 3;
  if (dpiX > 0 && dpiY > 0) {
    params.DpiX = dpiX;
    params.DpiY = dpiY;
  }
  params.PngHasBackground = hasBackground;
  params.PngBackground = background;
  params.PngInterlaced = interlaced;
  out = std::move(decoded);
  if (alphaOut) *alphaOut = std::move(alphaPlane);
  return PictureStatus::Ok;
}

// Encodes `in`; with `alpha` (an 8-bit plane of the same size) as RGBA.
PictureStatus TryEncode(const Bitmap& in, const Bitmap* alpha, const TImgIOParams& params,
                        const ProgressRecord& progress, Stream& out) {
  if (in.Empty()) return PictureStatus::NoPicture;
  if (alpha && (alpha->Format() != PixelFormat::Bits8 || alpha->Width() != in.Width() ||
                alpha->Height() != in.Height())) {
    return PictureStatus::NoPicture;
  }
  Bitmap expanded;
  const bool bilevel = !alpha && in.Format() == PixelFormat::Bits1 && in.Palette().size() >= 2;
  const Bitmap* source = bilevel ? &in : &Pixels24(in, expanded);

  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, ErrorToJump, IgnoreWarning);
  if (!png) return PictureStatus::TooLarge;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return PictureStatus::TooLarge;
  }
  std::vector<uint8_t> rgba(alpha ? size_t(in.Width()) * 4 : 0);
  Outcome outcome;
  StreamWriter writer{&out, &outcome};
  png_color palette[2] = {};
  if (bilevel) {
    for (int i = 0; i < 2; ++i) {
      const TColor c = ResolveColor(source->Palette()[i]);
      palette[i] = {RedOf(c), GreenOf(c), BlueOf(c)};
    }
  }

  const PictureStatus status = Guarded(png, outcome, [&] {
    const int width = source->Width(), height = source->Height();
    png_set_write_fn(png, &writer, WriteToStream, FlushNothing);
    png_set_compression_level(png, std::clamp(params.PngCompression, 0, 9));
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), bilevel ? 1 : 8,
                 bilevel ? PNG_COLOR_TYPE_PALETTE : alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 params.PngInterlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (bilevel) png_set_PLTE(png, info, palette, 2);
    if (params.DpiX > 0 && params.DpiY > 0) {
      png_set_pHYs(png, info, png_uint_32(RoundEven(params.DpiX / kMetresPerInch)),
                   png_uint_32(RoundEven(params.DpiY / kMetresPerInch)), PNG_RESOLUTION_METER);
    }
    png_write_info(png, info);
    if (!bilevel) png_set_bgr(png);
    const int passes = png_set_interlace_handling(png);
    RowProgress rows(progress, int64_t(passes) * height);
    int64_t rowsWritten = 0;
    if (!rows.Row(0)) GiveUp(png, outcome, PictureStatus::Stopped);
    for (int pass = 0; pass < passes; ++pass) {
      for (int y = 0; y < height; ++y) {
        if (alpha) {
          JoinBgraRow(source->Row(y), alpha->Row(y), rgba.data(), width);
          png_write_row(png, rgba.data());
        } else {
          png_write_row(png, source->Row(y));
        }
        if (!rows.Row(++rowsWritten)) GiveUp(png, outcome, PictureStatus::Stopped);
      }
    }
    png_write_end(png, nullptr);
  });
  png_destroy_write_struct(&png, &info);
  return status;
}

}  // namespace

bool ProbePng(Bytes head, uint64_t streamSize) {
  return streamSize > 8 && head.size() >= 8 && png_sig_cmp(head.data(), 0, 8) == 0;
}

PictureStatus InfoPng(Bytes data, PictureInfo& info) {
  if (!ProbePng(data, data.size())) return PictureStatus::Damaged;
  ReadStructs s;
  if (!s.Ok()) return PictureStatus::TooLarge;
  MemoryReader reader{data};
  PictureInfo read;
  const Outcome outcome;
  const PictureStatus status = Guarded(s.png, outcome, [&] {
    StartReading(s.png, reader);
    png_read_info(s.png, s.info);
    read.Width = int(png_get_image_width(s.png, s.info));
    read.Height = int(png_get_image_height(s.png, s.info));
    read.BitsPerSample = png_get_bit_depth(s.png, s.info);
    read.SamplesPerPixel = png_get_channels(s.png, s.info);
    read.Interlaced = png_get_interlace_type(s.png, s.info) != PNG_INTERLACE_NONE;
    png_uint_32 x = 0, y = 0;
    int unit = 0;
    if (png_get_pHYs(s.png, s.info, &x, &y, &unit) && unit == PNG_RESOLUTION_METER && x > 0 && y > 0) {
      read.DpiX = RoundEvenInt(x * kMetresPerInch);
      read.DpiY = RoundEvenInt(y * kMetresPerInch);
    }
  });
  if (status == PictureStatus::Ok) info = read;
  return status;
}

PictureStatus DecodePng(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                        size_t& consumed) {
  return Reported(progress, [&] { return TryDecode(data, out, nullptr, params, progress, consumed); });
}

PictureStatus EncodePng(const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress, Stream& out) {
  return ReportedWrite(progress, out, [&] { return TryEncode(in, nullptr, params, progress, out); });
}

PictureStatus DecodePngWithAlpha(Bytes data, Bitmap& colour, Bitmap& alpha, TImgIOParams& params,
                                 const ProgressRecord& progress, size_t& consumed) {
  // Both bitmaps change together or not at all.
  Bitmap decodedAlpha;
  const PictureStatus status =
      Reported(progress, [&] { return TryDecode(data, colour, &decodedAlpha, params, progress, consumed); });
  if (status == PictureStatus::Ok) alpha = std::move(decodedAlpha);
  return status;
}

PictureStatus EncodePngWithAlpha(const Bitmap& colour, const Bitmap& alpha, const TImgIOParams& params,
                                 const ProgressRecord& progress, Stream& out) {
  return ReportedWrite(progress, out, [&] { return TryEncode(colour, &alpha, params, progress, out); });
}

const Codec& PngCodec() {
  static const Codec codec{"PNG", iftPng, ProbePng, InfoPng, DecodePng, EncodePng};
  return codec;
}

}  // namespace glamora::codec
