// TIFF coding through libtiff over the program's streams: plain 8-bit pages by
// strip or tile straight into the bitmap, other kinds through its RGBA raster.
#include "codecs/Tiff.h"

#include <tiffio.h>

#include <algorithm>
#include <memory>
#include <new>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "codecs/RowProgress.h"
#include "imaging/core/ChannelOrder.h"
#include "imaging/core/Orientation.h"
#include "imaging/core/Rounding.h"

namespace glamora::codec {

namespace {

// libtiff may allocate no single block larger than this for one page.
constexpr tmsize_t kMaxSingleAllocation = tmsize_t(1) << 30;

// The file libtiff works on: read from a span, or written into a stream
// from the position it had when writing began. Positions count from the
// file's first byte.
struct ClientFile {
  Bytes data;
  Stream* written = nullptr;
  int64_t start = 0;
  uint64_t position = 0;
  uint64_t size = 0;  // of a file being written
  PictureStatus failure = PictureStatus::Ok;
  bool cutShort = false;  // a tag's data lay past the end

  uint64_t Size() const { return written ? size : data.size(); }
};

ClientFile& FileOf(thandle_t handle) { return *static_cast<ClientFile*>(handle); }

tmsize_t ReadProc(thandle_t handle, void* buffer, tmsize_t size) {
  ClientFile& file = FileOf(handle);
  if (file.written || size <= 0 || file.position >= file.Size()) return 0;
  const uint64_t count = std::min<uint64_t>(uint64_t(size), file.Size() - file.position);
  std::memcpy(buffer, file.data.data() + file.position, size_t(count));
  file.position += count;
  return tmsize_t(count);
}

tmsize_t WriteProc(thandle_t handle, void* buffer, tmsize_t size) {
  ClientFile& file = FileOf(handle);
  if (!file.written || size < 0) return -1;
  // No exception may pass through libtiff's frames.
  try {
    file.written->Seek(file.start + int64_t(file.position));
    file.written->Write(buffer, size_t(size));
  } catch (const FileError&) {
    file.failure = PictureStatus::Unwritable;
    return -1;
  } catch (const std::bad_alloc&) {
    file.failure = PictureStatus::TooLarge;
    return -1;
  }
  file.position += uint64_t(size);
  file.size = std::max(file.size, file.position);
  return size;
}

toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
  ClientFile& file = FileOf(handle);
  uint64_t base = 0;
  if (whence == SEEK_CUR) base = file.position;
  if (whence == SEEK_END) base = file.Size();
  const uint64_t target = base + offset;
  // Only a file being written may be positioned past its end.
  if (target < base || (!file.written && target > file.Size())) return toff_t(-1);
  file.position = target;
  return target;
}

int CloseProc(thandle_t) { return 0; }
toff_t SizeProc(thandle_t handle) { return FileOf(handle).Size(); }
int MapProc(thandle_t, void**, toff_t*) { return 0; }
void UnmapProc(thandle_t, void*, toff_t) {}

// libtiff's messages are not shown. One thing they tell matters: a tag whose
// data cannot be read (it lies past the end of a file cut short) is left out
// with a warning, and the page would be read without it (a palette page
// without its colours as grey levels), so the file counts as damaged.
int NoteMessage(TIFF*, void* user, const char*, const char* format, va_list args) {
  char message[256];
  std::vsnprintf(message, sizeof message, format, args);
  if (std::strstr(message, "IO error") || std::strstr(message, "Cannot read")) {
    static_cast<ClientFile*>(user)->cutShort = true;
  }
  return 1;
}

// Opens a client file with libtiff's messages noted, not shown.
TIFF* OpenClient(ClientFile& file, const char* mode) {
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  if (!options) return nullptr;
  TIFFOpenOptionsSetErrorHandlerExtR(options, NoteMessage, &file);
  TIFFOpenOptionsSetWarningHandlerExtR(options, NoteMessage, &file);
  TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxSingleAllocation);
  TIFF* tif = TIFFClientOpenExt("memory", mode, &file, ReadProc, WriteProc, SeekProc, CloseProc, SizeProc, MapProc,
                                UnmapProc, options);
  TIFFOpenOptionsFree(options);
  return tif;
}

struct TiffHandle {
  TIFF* tif = nullptr;
  ~TiffHandle() {
    if (tif) TIFFClose(tif);
  }
};

// Dots per inch from a resolution tag; 0 when there is none or it makes no sense.
int ResolutionToDpi(float resolution, uint16_t unit) {
  if (!std::isfinite(resolution) || resolution <= 0 || resolution > 1e6f) return 0;
  return unit == RESUNIT_CENTIMETER ? int(TruncGuarded(resolution * 2.54)) : RoundEvenInt(resolution);
}

struct PageLayout {
  uint32_t width = 0, height = 0;
  uint16_t bitsPerSample = 1, samplesPerPixel = 1, photometric = PHOTOMETRIC_MINISWHITE, compression = 1;
  uint16_t planar = PLANARCONFIG_CONTIG;
  int dpiX = 0, dpiY = 0;
  uint16_t orientation = ORIENTATION_TOPLEFT;
};

PageLayout ReadLayout(TIFF* tif) {
  PageLayout page;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &page.width);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &page.height);
  TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &page.bitsPerSample);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &page.samplesPerPixel);
  TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &page.compression);
  TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &page.planar);
  if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &page.photometric)) page.photometric = PHOTOMETRIC_MINISWHITE;
  TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &page.orientation);
  float x = 0, y = 0;
  uint16_t unit = RESUNIT_INCH;
  TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
  if (TIFFGetField(tif, TIFFTAG_XRESOLUTION, &x) && TIFFGetField(tif, TIFFTAG_YRESOLUTION, &y)) {
    page.dpiX = ResolutionToDpi(x, unit);
    page.dpiY = ResolutionToDpi(y, unit);
    if (!page.dpiX || !page.dpiY) page.dpiX = page.dpiY = 0;
  }
  return page;
}

bool IsBilevel(const PageLayout& page) {
  return page.bitsPerSample == 1 && page.samplesPerPixel == 1 &&
         (page.photometric == PHOTOMETRIC_MINISWHITE || page.photometric == PHOTOMETRIC_MINISBLACK);
}

// Bilevel strips, row by row, into a 1-bit bitmap where a set bit is white.
PictureStatus ReadBilevel(TIFF* tif, const PageLayout& page, Bitmap& picture, const ProgressRecord& progress) {
  const uint64_t lineBytes = TIFFScanlineSize64(tif);
  const size_t rowBytes = (size_t(page.width) + 7) / 8;
  if (lineBytes < rowBytes) return PictureStatus::Damaged;
  if (!picture.Reset(int(page.width), int(page.height), PixelFormat::Bits1)) return PictureStatus::TooLarge;
  std::vector<uint8_t> line(static_cast<size_t>(lineBytes));
  const bool invert = page.photometric == PHOTOMETRIC_MINISWHITE;
  const unsigned spareBits = unsigned(rowBytes * 8 - page.width);
  const uint8_t lastMask = uint8_t(0xFF << spareBits);
  RowProgress rows(progress, page.height);
  if (!rows.Row(0)) return PictureStatus::Stopped;
  for (uint32_t y = 0; y < page.height; ++y) {
    if (TIFFReadScanline(tif, line.data(), y, 0) < 0) return PictureStatus::Damaged;
    uint8_t* row = picture.Row(int(y));
    for (size_t i = 0; i < rowBytes; ++i) row[i] = invert ? uint8_t(~line[i]) : line[i];
    row[rowBytes - 1] &= lastMask;
    if (!rows.Row(y + 1)) return PictureStatus::Stopped;
  }
  return PictureStatus::Ok;
}

// Channel of a colour premultiplied by its alpha, over white: c + 255 − a.
constexpr uint8_t OverWhite(uint32_t premultiplied, uint32_t alpha) {
  return uint8_t(std::min<uint32_t>(premultiplied + 255 - alpha, 255));
}

// 8-bit RGB and grey pages of interleaved samples without extra samples:
// read strip by strip or tile by tile straight into the rows of the picture.
// Every other kind goes through libtiff's RGBA raster.
bool IsPlainEightBit(TIFF* tif, const PageLayout& page) {
  uint16_t sampleFormat = SAMPLEFORMAT_UINT, extraCount = 0;
  uint16_t* extra = nullptr;
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &sampleFormat);
  TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extra);
  const bool rgb = page.photometric == PHOTOMETRIC_RGB && page.samplesPerPixel == 3;
  const bool grey = (page.photometric == PHOTOMETRIC_MINISBLACK || page.photometric == PHOTOMETRIC_MINISWHITE) &&
                    page.samplesPerPixel == 1;
  return page.bitsPerSample == 8 && (rgb || grey) && page.planar == PLANARCONFIG_CONTIG &&
         sampleFormat == SAMPLEFORMAT_UINT && extraCount == 0 &&
         page.compression != COMPRESSION_OJPEG;
}

// Copies `width` pixels of interleaved samples (RGB, or grey with white as
// zero when `invert`) into a 24-bit row.
void SamplesToBgr(const uint8_t* in, uint8_t* out, uint32_t width, bool grey, bool invert) {
  if (grey) {
    for (uint32_t x = 0; x < width; ++x, out += 3) out[0] = out[1] = out[2] = invert ? uint8_t(255 - in[x]) : in[x];
    return;
  }
  SwapRedAndBlue(in, out, width);
}

PictureStatus ReadPlainEightBit(TIFF* tif, const PageLayout& page, Bitmap& picture, const ProgressRecord& progress) {
  const bool grey = page.samplesPerPixel == 1;
  const bool invert = page.photometric == PHOTOMETRIC_MINISWHITE;
  const bool tiled = TIFFIsTiled(tif);
  const uint64_t pieceBytes = tiled ? TIFFTileSize64(tif) : TIFFStripSize64(tif);
  if (pieceBytes == 0 || pieceBytes > uint64_t(kMaxSingleAllocation)) return PictureStatus::Damaged;
  if (!picture.Reset(int(page.width), int(page.height))) return PictureStatus::TooLarge;
  std::unique_ptr<uint8_t[]> piece(new uint8_t[size_t(pieceBytes)]);
  RowProgress rows(progress, page.height);
  if (!rows.Row(0)) return PictureStatus::Stopped;

  if (!tiled) {
    uint32_t rowsPerStrip = page.height;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    rowsPerStrip = std::clamp<uint32_t>(rowsPerStrip, 1, page.height);
    const uint64_t lineBytes = TIFFScanlineSize64(tif);
    for (uint32_t top = 0, strip = 0; top < page.height; top += rowsPerStrip, ++strip) {
      const uint32_t count = std::min(rowsPerStrip, page.height - top);
      const tmsize_t wanted = tmsize_t(lineBytes * count);
      if (TIFFReadEncodedStrip(tif, strip, piece.get(), wanted) != wanted) return PictureStatus::Damaged;
      for (uint32_t i = 0; i < count; ++i) {
        SamplesToBgr(piece.get() + lineBytes * i, picture.Row(int(top + i)), page.width, grey, invert);
      }
      if (!rows.Row(top + count)) return PictureStatus::Stopped;
    }
    return PictureStatus::Ok;
  }

  uint32_t tileWidth = 0, tileHeight = 0;
  TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
  TIFFGetField(tif, TIFFTAG_TILELENGTH, &tileHeight);
  const uint64_t tileLine = TIFFTileRowSize64(tif);
  if (tileWidth == 0 || tileHeight == 0 || tileLine * tileHeight > pieceBytes) return PictureStatus::Damaged;
  for (uint32_t top = 0; top < page.height; top += tileHeight) {
    const uint32_t count = std::min(tileHeight, page.height - top);
    for (uint32_t left = 0; left < page.width; left += tileWidth) {
      const ttile_t tile = TIFFComputeTile(tif, left, top, 0, 0);
      if (TIFFReadEncodedTile(tif, tile, piece.get(), tmsize_t(pieceBytes)) != tmsize_t(pieceBytes)) {
        return PictureStatus::Damaged;
      }
      const uint32_t across = std::min(tileWidth, page.width - left);
      for (uint32_t i = 0; i < count; ++i) {
        SamplesToBgr(piece.get() + tileLine * i, picture.Row(int(top + i)) + size_t(left) * 3, across, grey, invert);
      }
    }
    if (!rows.Row(top + count)) return PictureStatus::Stopped;
  }
  return PictureStatus::Ok;
}

PictureStatus ReadRgba(TIFF* tif, const PageLayout& page, Bitmap& picture, const ProgressRecord& progress) {
  char message[1024];
  if (!TIFFRGBAImageOK(tif, message)) return PictureStatus::Unsupported;
  if (!picture.Reset(int(page.width), int(page.height))) return PictureStatus::TooLarge;
  // Every pixel of the raster is written by libtiff; it needs no clearing.
  std::unique_ptr<uint32_t[]> raster(new uint32_t[size_t(page.width) * page.height]);
  // libtiff reads the page in one call; progress is told before and after.
  RowProgress rows(progress, page.height);
  if (!rows.Row(0)) return PictureStatus::Stopped;
  // Asking for the page's own orientation gives the rows as stored, as the
  // other readers give them.
  const int stored = ValidOrientation(page.orientation);
  if (!TIFFReadRGBAImageOriented(tif, page.width, page.height, raster.get(), stored, 1)) {
    return PictureStatus::Damaged;
  }
  for (uint32_t y = 0; y < page.height; ++y) {
    const uint32_t* source = raster.get() + size_t(y) * page.width;
    uint8_t* p = picture.Row(int(y));
    for (uint32_t x = 0; x < page.width; ++x, p += 3) {
      const uint32_t pixel = source[x], alpha = TIFFGetA(pixel);
      p[0] = OverWhite(TIFFGetB(pixel), alpha);
      p[1] = OverWhite(TIFFGetG(pixel), alpha);
      p[2] = OverWhite(TIFFGetR(pixel), alpha);
    }
  }
  return rows.Row(page.height) ? PictureStatus::Ok : PictureStatus::Stopped;
}

// The most a compression can expand its data; 0 when it has no useful bound.
uint64_t MostExpansion(uint16_t compression) {
  switch (compression) {
    case COMPRESSION_NONE: return 1;
    case COMPRESSION_PACKBITS: return 64;                 // two bytes for a run of 128
    case COMPRESSION_LZW: return 4096 * 8 / 9 + 1;        // a 9-bit code for at most 4096 bytes
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE: return 1032;                // a 258-byte match for two bits
    default: return 0;
  }
}

// Whether the page's strips or tiles lie inside the file and their data can
// hold the page: a file cut short, or one that declares a page far larger
// than its data, fails here before anything of the page's size is allocated.
bool DataCanHoldPage(TIFF* tif, const PageLayout& page, uint64_t fileSize) {
  const bool tiled = TIFFIsTiled(tif);
  const uint32_t pieces = tiled ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
  if (pieces == 0) return false;
  uint64_t stored = 0;
  for (uint32_t i = 0; i < pieces; ++i) {
    int error = 0;
    const uint64_t offset = TIFFGetStrileOffsetWithErr(tif, i, &error);
    const uint64_t count = TIFFGetStrileByteCountWithErr(tif, i, &error);
    if (error || offset > fileSize || count > fileSize - offset) return false;
    stored += count;
  }
  const uint64_t expansion = MostExpansion(page.compression);
  if (expansion == 0) return true;
  // Strips count whole rows (the last strip of a plane may be short); tiles
  // are whole even where they pass the page's edge.
  const uint64_t planes = page.planar == PLANARCONFIG_SEPARATE ? page.samplesPerPixel : 1;
  const uint64_t needed = tiled ? TIFFTileSize64(tif) * pieces : TIFFScanlineSize64(tif) * page.height * planes;
  return stored * expansion >= needed;
}

uint16_t LibraryCompression(TiffCompression compression) {
  switch (compression) {
    case TiffCompression::PackBits: return COMPRESSION_PACKBITS;
    case TiffCompression::Lzw: return COMPRESSION_LZW;
    case TiffCompression::Deflate: return COMPRESSION_ADOBE_DEFLATE;
    case TiffCompression::Jpeg: return COMPRESSION_JPEG;
    case TiffCompression::CcittFax3: return COMPRESSION_CCITTFAX3;
    case TiffCompression::CcittFax4: return COMPRESSION_CCITTFAX4;
    case TiffCompression::CcittRle: return COMPRESSION_CCITTRLE;
    case TiffCompression::CcittFax3TwoD: return COMPRESSION_CCITTFAX3;
    case TiffCompression::OldJpeg: return COMPRESSION_JPEG;
    case TiffCompression::None:
    case TiffCompression::Other: break;
  }
  return COMPRESSION_NONE;
}

// The compression of the current page as the parameters name it.
TiffCompression PageCompression(TIFF* tif, uint16_t compression) {
  switch (compression) {
    case COMPRESSION_NONE: return TiffCompression::None;
    case COMPRESSION_CCITTRLE: return TiffCompression::CcittRle;
    case COMPRESSION_CCITTFAX3: {
      uint32_t options = 0;
      TIFFGetField(tif, TIFFTAG_GROUP3OPTIONS, &options);
      return (options & GROUP3OPT_2DENCODING) ? TiffCompression::CcittFax3TwoD : TiffCompression::CcittFax3;
    }
    case COMPRESSION_CCITTFAX4: return TiffCompression::CcittFax4;
    case COMPRESSION_LZW: return TiffCompression::Lzw;
    case COMPRESSION_OJPEG: return TiffCompression::OldJpeg;
    case COMPRESSION_JPEG: return TiffCompression::Jpeg;
    case COMPRESSION_PACKBITS: return TiffCompression::PackBits;
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE: return TiffCompression::Deflate;
    default: return TiffCompression::Other;
  }
}

bool IsCcitt(uint16_t compression) {
  return compression == COMPRESSION_CCITTFAX3 || compression == COMPRESSION_CCITTFAX4 ||
         compression == COMPRESSION_CCITTRLE;
}

PictureStatus TryDecode(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                        size_t& consumed) {
  if (!ProbeTiff(data, data.size())) return PictureStatus::Damaged;
  ClientFile file{data};
  TiffHandle handle{OpenClient(file, "rm")};
  TIFF* tif = handle.tif;
  if (!tif) return PictureStatus::Damaged;
  const int pages = int(TIFFNumberOfDirectories(tif));
  if (file.cutShort || pages <= 0) return PictureStatus::Damaged;
  if (params.TiffPage < 0 || params.TiffPage >= pages) return PictureStatus::Unsupported;
  if (params.TiffPage > 0 && !TIFFSetDirectory(tif, tdir_t(params.TiffPage))) return PictureStatus::Damaged;

  const PageLayout page = ReadLayout(tif);
  if (file.cutShort) return PictureStatus::Damaged;
  if (const PictureStatus size = CheckSize(page.width, page.height, params.Limits); size != PictureStatus::Ok) {
    return size;
  }
  if (page.compression == COMPRESSION_LZW && !params.Lzw.TiffDecoder) return PictureStatus::Unsupported;
  if (!DataCanHoldPage(tif, page, data.size())) return PictureStatus::Damaged;
  Bitmap picture;
  const PictureStatus read = IsBilevel(page) && !TIFFIsTiled(tif) ? ReadBilevel(tif, page, picture, progress)
                             : IsPlainEightBit(tif, page)         ? ReadPlainEightBit(tif, page, picture, progress)
                                                                  : ReadRgba(tif, page, picture, progress);
  if (read != PictureStatus::Ok) return read;

  // Pages may lie anywhere in the file, so the whole of it belongs to the picture.
  consumed = data.size();
  params.Width = picture.Width();
  params.Height = picture.Height();
  params.BitsPerSample = picture.Format() == PixelFormat::Bits1 ? 1 : 8;
  params.SamplesPerPixel = picture.Format() == PixelFormat::Bits1 ? 1 : 3;
  if (page.dpiX > 0) {
    params.DpiX = page.dpiX;
    params.DpiY = page.dpiY;
  }
  params.TiffPageCount = pages;
  params.Orientation = ValidOrientation(page.orientation);
  out = std::move(picture);
  return PictureStatus::Ok;
}

PictureStatus TryEncode(const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress, Stream& out) {
  if (in.Empty()) return PictureStatus::NoPicture;
  uint16_t compression = LibraryCompression(params.TiffCompress);
  if (compression == COMPRESSION_LZW && !params.Lzw.TiffEncoder) compression = COMPRESSION_ADOBE_DEFLATE;

  // A 1-bit black-and-white bitmap stays bilevel; which palette entry is
  // white decides how its bits read.
  const auto plain = [](TColor c) { return ResolveColor(c) & 0xFFFFFF; };
  const std::vector<TColor>& palette = in.Palette();
  const bool oneBit = in.Format() == PixelFormat::Bits1 && palette.size() >= 2;
  const bool blackIsZero = oneBit && plain(palette[0]) == clBlack && plain(palette[1]) == clWhite;
  const bool whiteIsZero = oneBit && plain(palette[0]) == clWhite && plain(palette[1]) == clBlack;
  const bool bilevel = (blackIsZero || whiteIsZero) && compression != COMPRESSION_JPEG;
  if (IsCcitt(compression) && !bilevel) compression = COMPRESSION_ADOBE_DEFLATE;

  Bitmap expanded;
  const Bitmap* source = bilevel ? &in : &Pixels24(in, expanded);
  const uint32_t width = uint32_t(source->Width()), height = uint32_t(source->Height());

  ClientFile file{Bytes{}, &out, out.Position()};
  TiffHandle handle{OpenClient(file, "w")};
  TIFF* tif = handle.tif;
  if (!tif) return file.failure != PictureStatus::Ok ? file.failure : PictureStatus::TooLarge;
  bool ok = TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width) && TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height) &&
            TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bilevel ? 1 : 8) &&
            TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, bilevel ? 1 : 3) &&
            TIFFSetField(tif, TIFFTAG_PHOTOMETRIC,
                         bilevel ? (blackIsZero ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_MINISWHITE)
                                 : PHOTOMETRIC_RGB) &&
            TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
            TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
  if (ok && (compression == COMPRESSION_LZW || compression == COMPRESSION_ADOBE_DEFLATE) && !bilevel) {
    ok = TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
  }
  if (ok && compression == COMPRESSION_JPEG) {
    ok = TIFFSetField(tif, TIFFTAG_JPEGQUALITY, std::clamp(params.JpegQuality, 1, 100));
  }
  if (ok && params.DpiX > 0 && params.DpiY > 0) {
    ok = TIFFSetField(tif, TIFFTAG_XRESOLUTION, double(params.DpiX)) &&
         TIFFSetField(tif, TIFFTAG_YRESOLUTION, double(params.DpiY)) &&
         TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  }
  // Strips of about a megabyte, as many rows as the compression allows.
  const size_t rowBytes = bilevel ? (size_t(width) + 7) / 8 : size_t(width) * 3;
  const uint32_t rowsPerStrip =
      std::min(height, TIFFDefaultStripSize(tif, uint32_t(std::max<size_t>((size_t(1) << 20) / rowBytes, 1))));
  ok = ok && TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);

  std::vector<uint8_t> strip(rowBytes * rowsPerStrip);
  RowProgress rows(progress, height);
  bool stopped = ok && !rows.Row(0);
  for (uint32_t top = 0, index = 0; ok && !stopped && top < height; top += rowsPerStrip, ++index) {
    const uint32_t count = std::min(rowsPerStrip, height - top);
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* row = source->Row(int(top + i));
      uint8_t* line = strip.data() + rowBytes * i;
      if (bilevel) {
        std::copy_n(row, rowBytes, line);
      } else {
        SwapRedAndBlue(row, line, width);
      }
    }
    ok = TIFFWriteEncodedStrip(tif, index, strip.data(), tmsize_t(rowBytes * count)) >= 0;
    stopped = ok && !rows.Row(top + count);
  }
  if (stopped) return PictureStatus::Stopped;
  ok = ok && TIFFWriteDirectory(tif);
  TIFFClose(handle.tif);
  handle.tif = nullptr;
  // Leave the stream after the file, wherever libtiff wrote last.
  out.Seek(file.start + int64_t(file.size));
  if (file.failure != PictureStatus::Ok) return file.failure;
  return ok ? PictureStatus::Ok : PictureStatus::TooLarge;
}

}  // namespace

bool ProbeTiff(Bytes head, uint64_t streamSize) {
  return streamSize > 8 && head.size() >= 2 &&
         ((head[0] == 'I' && head[1] == 'I') || (head[0] == 'M' && head[1] == 'M'));
}

PictureStatus InfoTiff(Bytes data, PictureInfo& info) { return InfoTiffPage(data, 0, info); }

PictureStatus InfoTiffPage(Bytes data, int pageIndex, PictureInfo& info) {
  if (!ProbeTiff(data, data.size())) return PictureStatus::Damaged;
  ClientFile file{data};
  TiffHandle handle{OpenClient(file, "rm")};
  if (!handle.tif) return PictureStatus::Damaged;
  const int pages = int(TIFFNumberOfDirectories(handle.tif));
  if (pageIndex < 0 || pageIndex >= pages) return PictureStatus::Unsupported;
  if (pageIndex > 0 && !TIFFSetDirectory(handle.tif, tdir_t(pageIndex))) return PictureStatus::Damaged;
  const PageLayout page = ReadLayout(handle.tif);
  info = PictureInfo{};
  info.Width = int(std::min<uint32_t>(page.width, INT32_MAX));
  info.Height = int(std::min<uint32_t>(page.height, INT32_MAX));
  info.BitsPerSample = page.bitsPerSample;
  info.SamplesPerPixel = page.samplesPerPixel;
  info.DpiX = page.dpiX;
  info.DpiY = page.dpiY;
  info.FrameCount = pages;
  info.Orientation = ValidOrientation(page.orientation);
  info.TiffCompress = PageCompression(handle.tif, page.compression);
  return PictureStatus::Ok;
}

PictureStatus DecodeTiff(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                         size_t& consumed) {
  return Reported(progress, [&] { return TryDecode(data, out, params, progress, consumed); });
}

PictureStatus EncodeTiff(const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress,
                         Stream& out) {
  return ReportedWrite(progress, out, [&] { return TryEncode(in, params, progress, out); });
}

const Codec& TiffCodec() {
  static const Codec codec{"TIFF", iftTiff, ProbeTiff, InfoTiff, DecodeTiff, EncodeTiff};
  return codec;
}

}  // namespace glamora::codec
