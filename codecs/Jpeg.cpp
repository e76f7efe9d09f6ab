// JPEG coding through libjpeg with its jumps kept inside guarded calls, a band
// of rows at a time.
#include "codecs/Jpeg.h"

#include <algorithm>
#include <array>
#include <csetjmp>
#include <memory>
#include <new>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>
#include <jerror.h>

#include "codecs/ExifOrientation.h"
#include "codecs/RowProgress.h"
#include "imaging/core/Rounding.h"

namespace glamora::codec {

namespace {

// libjpeg reports errors through error_exit, which must not return: it jumps
// back to the setjmp in Guarded. Reason says why the coding ended: a library
// error is damage unless the code that gave up set another reason first.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  PictureStatus reason = PictureStatus::Damaged;
};

ErrorManager& ErrorsOf(j_common_ptr cinfo) { return *reinterpret_cast<ErrorManager*>(cinfo->err); }

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  ErrorManager& err = ErrorsOf(cinfo);
  if (err.pub.msg_code == JERR_OUT_OF_MEMORY && err.reason == PictureStatus::Damaged) {
    err.reason = PictureStatus::TooLarge;
  }
  std::longjmp(err.jump, 1);
}

// Ends the coding for a reason of its own.
[[noreturn]] void GiveUp(j_common_ptr cinfo, PictureStatus reason) {
  ErrorsOf(cinfo).reason = reason;
  std::longjmp(ErrorsOf(cinfo).jump, 1);
}

// Frees what the library allocated, however the coding ends (a zeroed,
// never created object included).
struct Destroyer {
  j_common_ptr cinfo;
  ~Destroyer() { jpeg_destroy(cinfo); }
};

void SilentMessage(j_common_ptr) {}
void OnMessage(j_common_ptr cinfo, int level);

jpeg_error_mgr* InstallErrorManager(ErrorManager& err) {
  jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
  err.pub.output_message = SilentMessage;
  err.pub.emit_message = OnMessage;
  return &err.pub;
}

// Runs the library calls in `body` with the jump point set; the reason the
// coding ended, Ok when it did not end early. The body creates no object with
// a destructor.
template <class Body>
PictureStatus Guarded(ErrorManager& err, Body&& body) {
  if (setjmp(err.jump)) return err.reason;
  body();
  return PictureStatus::Ok;
}

// Rows handed to the library in one call: a whole band of MCUs of the
// largest sampling, so it codes without holding rows of its own.
constexpr int kBand = 16;

// A corrupt progressive file can hold thousands of scans, each of which makes
// the decoder walk the whole coefficient buffer; real files have a dozen.
constexpr int kMaxScans = 500;

void LimitScans(j_common_ptr cinfo) {
  if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
    ErrorExit(cinfo);
  }
}

// Source manager over a memory block. Data that runs out before the last row
// is decoded makes the picture damaged, where libjpeg would warn and fill the
// rest flat. Only a Huffman-coded picture, of a single scan or progressive,
// may end without its end marker: the marker is supplied, and the picture is
// damaged all the same if the decoder then lacks bits for a block (it warns
// that it hit the marker) or a progressive picture lacks scans.
struct MemorySource {
  jpeg_source_mgr pub;
  const JOCTET* data;
  size_t size;
  bool mayLackEndMarker;
  bool ranOut;            // the end marker was supplied
  bool rowsDone;
};

MemorySource& SourceOf(j_decompress_ptr cinfo) { return *reinterpret_cast<MemorySource*>(cinfo->src); }

const JOCTET kFakeEoi[2] = {0xFF, JPEG_EOI};

void InitSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr cinfo) {
  MemorySource& src = SourceOf(cinfo);
  if (!src.rowsDone && !src.mayLackEndMarker) ERREXIT(cinfo, JERR_INPUT_EOF);
  src.ranOut = true;
  cinfo->src->next_input_byte = kFakeEoi;
  cinfo->src->bytes_in_buffer = 2;
  return TRUE;
}

// Warnings are silent, except that missing bits after the data ran out end
// the decoding as damage.
void OnMessage(j_common_ptr cinfo, int level) {
  if (level >= 0 || !cinfo->is_decompressor || cinfo->err->msg_code != JWRN_HIT_MARKER) return;
  const auto decompressor = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (decompressor->src && SourceOf(decompressor).ranOut) GiveUp(cinfo, PictureStatus::Damaged);
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
  if (count <= 0) return;
  jpeg_source_mgr* src = cinfo->src;
  while (size_t(count) > src->bytes_in_buffer) {
    count -= long(src->bytes_in_buffer);
    FillInputBuffer(cinfo);
  }
  src->next_input_byte += count;
  src->bytes_in_buffer -= size_t(count);
}

void TermSource(j_decompress_ptr) {}

void UseMemorySource(j_decompress_ptr cinfo, MemorySource& src, Bytes data) {
  src.pub.init_source = InitSource;
  src.pub.fill_input_buffer = FillInputBuffer;
  src.pub.skip_input_data = SkipInputData;
  src.pub.resync_to_restart = jpeg_resync_to_restart;
  src.pub.term_source = TermSource;
  src.pub.next_input_byte = data.data();
  src.pub.bytes_in_buffer = data.size();
  src.data = data.data();
  src.size = data.size();
  src.mayLackEndMarker = false;
  src.ranOut = false;
  src.rowsDone = false;
  cinfo->src = &src.pub;
}

// Bytes the decoder has taken from the block (all of it when it ran out).
size_t ConsumedBytes(const MemorySource& src) {
  if (src.pub.next_input_byte >= src.data && src.pub.next_input_byte <= src.data + src.size) {
    return size_t(src.pub.next_input_byte - src.data);
  }
  return src.size;
}

// Destination manager writing to a stream through a buffer, as the coder
// fills it.
struct StreamDestination {
  jpeg_destination_mgr pub;
  Stream* stream;
  JOCTET buffer[64 * 1024];
};

// Writes the buffer's first `count` bytes; a stream that cannot take them
// becomes a library error, as no exception may pass through its frames.
void WriteBuffer(j_compress_ptr cinfo, size_t count) {
  auto* dest = reinterpret_cast<StreamDestination*>(cinfo->dest);
  try {
    dest->stream->Write(dest->buffer, count);
  } catch (const FileError&) {
    GiveUp(reinterpret_cast<j_common_ptr>(cinfo), PictureStatus::Unwritable);
  } catch (const std::bad_alloc&) {
    GiveUp(reinterpret_cast<j_common_ptr>(cinfo), PictureStatus::TooLarge);
  }
  dest->pub.next_output_byte = dest->buffer;
  dest->pub.free_in_buffer = sizeof dest->buffer;
}

void InitDestination(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<StreamDestination*>(cinfo->dest);
  dest->pub.next_output_byte = dest->buffer;
  dest->pub.free_in_buffer = sizeof dest->buffer;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
  WriteBuffer(cinfo, sizeof reinterpret_cast<StreamDestination*>(cinfo->dest)->buffer);
  return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<StreamDestination*>(cinfo->dest);
  WriteBuffer(cinfo, sizeof dest->buffer - dest->pub.free_in_buffer);
}

// Whether the scans of a progressive picture gave every bit of every
// coefficient: one cut short between two scans lacks some.
bool EveryCoefficientCoded(const jpeg_decompress_struct& cinfo) {
  for (int c = 0; c < cinfo.num_components; ++c) {
    for (int k = 0; k < DCTSIZE2; ++k) {
      if (cinfo.coef_bits[c][k] != 0) return false;
    }
  }
  return true;
}

// Every block of a Huffman-coded picture costs at least one bit (its DC
// code), so a file whose data after the header has fewer bits than the
// picture has blocks is cut short. Checked before the decoder allocates
// anything of the picture's size; arithmetic coding has no such floor.
bool TooShortForItsBlocks(const jpeg_decompress_struct& cinfo, const MemorySource& src) {
  if (cinfo.arith_code) return false;
  uint64_t blocks = 0;
  for (int i = 0; i < cinfo.num_components; ++i) {
    blocks += uint64_t(cinfo.comp_info[i].width_in_blocks) * cinfo.comp_info[i].height_in_blocks;
  }
  return uint64_t(src.pub.bytes_in_buffer) * 8 < blocks;
}

J_DCT_METHOD DctMethod(JpegDctMethod method) {
  switch (method) {
    case JpegDctMethod::IntegerFast: return JDCT_IFAST;
    case JpegDctMethod::Float: return JDCT_FLOAT;
    case JpegDctMethod::IntegerSlow: break;
  }
  return JDCT_ISLOW;
}

JpegColorSpace ColorSpaceOf(J_COLOR_SPACE space) {
  switch (space) {
    case JCS_GRAYSCALE: return JpegColorSpace::Grey;
    case JCS_RGB: return JpegColorSpace::Rgb;
    case JCS_CMYK: return JpegColorSpace::Cmyk;
    case JCS_YCCK: return JpegColorSpace::Ycck;
    default: return JpegColorSpace::YCbCr;
  }
}

// Dots per centimetre become dots per inch.
int DensityToDpi(unsigned density, int unit) {
  return unit == 2 ? int(TruncGuarded(density * 2.54)) : int(density);
}

// APP1 segments are kept whole (they hold at most 65533 bytes) so that the
// EXIF block among them can be read after the header.
void KeepApp1Segments(j_decompress_ptr cinfo) { jpeg_save_markers(cinfo, JPEG_APP0 + 1, 0xFFFF); }

// The orientation the first EXIF block records; 1 without one.
int OrientationOf(const jpeg_decompress_struct& cinfo) {
  for (jpeg_saved_marker_ptr marker = cinfo.marker_list; marker; marker = marker->next) {
    if (marker->marker != JPEG_APP0 + 1 || !marker->data) continue;
    const Bytes segment(marker->data, marker->data_length);
    if (IsExifSegment(segment)) return ExifOrientation(segment);
  }
  return 1;
}

void FillHeader(const jpeg_decompress_struct& cinfo, JpegHeader& header) {
  header.Width = int(cinfo.image_width);
  header.Height = int(cinfo.image_height);
  header.Components = cinfo.num_components;
  header.ColorSpace = ColorSpaceOf(cinfo.jpeg_color_space);
  header.Progressive = cinfo.progressive_mode;
  header.HasDensity = cinfo.saw_JFIF_marker && cinfo.X_density > 0 && cinfo.Y_density > 0;
  header.DpiX = header.HasDensity ? DensityToDpi(cinfo.X_density, cinfo.density_unit) : 0;
  header.DpiY = header.HasDensity ? DensityToDpi(cinfo.Y_density, cinfo.density_unit) : 0;
  header.Orientation = OrientationOf(cinfo);
}

// CMYK to RGB. Inverted (Adobe) inks store 255 minus the ink, so a channel is
// ink × black / 255; plain inks give (255 − ink) × (255 − black) / 255.
constexpr uint8_t ChannelFromInvertedInk(unsigned ink, unsigned black) { return uint8_t((ink * black + 127) / 255); }
constexpr uint8_t ChannelFromInk(unsigned ink, unsigned black) {
  return ChannelFromInvertedInk(255 - ink, 255 - black);
}

void CmykRowToBgr(const uint8_t* cmyk, uint8_t* bgr, int width, bool inverted) {
  for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
    if (inverted) {
      bgr[0] = ChannelFromInvertedInk(cmyk[2], cmyk[3]);
      bgr[1] = ChannelFromInvertedInk(cmyk[1], cmyk[3]);
      bgr[2] = ChannelFromInvertedInk(cmyk[0], cmyk[3]);
    } else {
      bgr[0] = ChannelFromInk(cmyk[2], cmyk[3]);
      bgr[1] = ChannelFromInk(cmyk[1], cmyk[3]);
      bgr[2] = ChannelFromInk(cmyk[0], cmyk[3]);
    }
  }
}

// RGB to inverted CMYK (the file gets an Adobe marker): black is the
// brightest channel, and each ink scales its channel up to it, so decoding
// ink × black / 255 gives the channel back.
void BgrRowToInvertedCmyk(const uint8_t* bgr, uint8_t* cmyk, int width) {
  for (int x = 0; x < width; ++x, bgr += 3, cmyk += 4) {
    const unsigned b = bgr[0], g = bgr[1], r = bgr[2];
    const unsigned black = std::max({r, g, b});
    const auto ink = [black](unsigned channel) {
      return black == 0 ? uint8_t(0) : uint8_t((channel * 255 + black / 2) / black);
    };
    cmyk[0] = ink(r);
    cmyk[1] = ink(g);
    cmyk[2] = ink(b);
    cmyk[3] = uint8_t(black);
  }
}

PictureStatus DecodeAt(Bytes data, int denominator, Bitmap& out, TImgIOParams& params,
                       const ProgressRecord& progress, size_t& consumed) {
  if (!ProbeJpeg(data, data.size())) return PictureStatus::Damaged;
  if (denominator != 1 && denominator != 2 && denominator != 4 && denominator != 8) return PictureStatus::Unsupported;

  jpeg_decompress_struct cinfo{};
  ErrorManager err;
  jpeg_progress_mgr monitor{};
  MemorySource source;
  Bitmap decoded;
  std::vector<uint8_t> inks;
  JpegHeader header;
  cinfo.err = InstallErrorManager(err);
  const Destroyer destroyer{reinterpret_cast<j_common_ptr>(&cinfo)};
  const PictureStatus status = Guarded(err, [&] {
    const auto common = reinterpret_cast<j_common_ptr>(&cinfo);
    jpeg_create_decompress(&cinfo);
    monitor.progress_monitor = LimitScans;
    cinfo.progress = &monitor;
    UseMemorySource(&cinfo, source, data);
    KeepApp1Segments(&cinfo);
    jpeg_read_header(&cinfo, TRUE);
    const PictureStatus size = CheckSize(cinfo.image_width, cinfo.image_height, params.Limits);
    if (size != PictureStatus::Ok) GiveUp(common, size);
    if (TooShortForItsBlocks(cinfo, source)) GiveUp(common, PictureStatus::Damaged);
    source.mayLackEndMarker = !cinfo.arith_code && (cinfo.progressive_mode || !jpeg_has_multiple_scans(&cinfo));
    FillHeader(cinfo, header);

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    const bool inverted = cinfo.saw_Adobe_marker;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    cinfo.scale_num = 1;
    cinfo.scale_denom = unsigned(denominator);
    cinfo.dct_method = DctMethod(params.JpegDct);
    jpeg_start_decompress(&cinfo);
    // A progressive picture is read whole by now.
    if (source.ranOut && cinfo.progressive_mode && !EveryCoefficientCoded(cinfo)) {
      GiveUp(common, PictureStatus::Damaged);
    }

    const int width = int(cinfo.output_width), height = int(cinfo.output_height);
    if (!decoded.Reset(width, height)) GiveUp(common, PictureStatus::TooLarge);
    if (cmyk) inks.resize(size_t(width) * 4);
    RowProgress rows(progress, height);
    if (!rows.Row(0)) GiveUp(common, PictureStatus::Stopped);
    while (cinfo.output_scanline < cinfo.output_height) {
      const int y = int(cinfo.output_scanline);
      if (cmyk) {
        JSAMPROW row = inks.data();
        jpeg_read_scanlines(&cinfo, &row, 1);
        CmykRowToBgr(inks.data(), decoded.Row(y), width, inverted);
      } else {
        // Straight into the picture's rows, a band at a time.
        std::array<JSAMPROW, kBand> band;
        const int count = std::min(kBand, height - y);
        for (int i = 0; i < count; ++i) band[size_t(i)] = decoded.Row(y + i);
        jpeg_read_scanlines(&cinfo, band.data(), JDIMENSION(count));
      }
      if (!rows.Row(cinfo.output_scanline)) GiveUp(common, PictureStatus::Stopped);
    }
    source.rowsDone = true;
    jpeg_finish_decompress(&cinfo);
  });
  if (status != PictureStatus::Ok) return status;

  consumed = ConsumedBytes(source);
  params.JpegColor = header.ColorSpace;
  params.JpegProgressive = header.Progressive;
  params.Orientation = header.Orientation;
  params.Width = decoded.Width();
  params.Height = decoded.Height();
  if (header.HasDensity) {
    params.DpiX = header.DpiX;
    params.DpiY = header.DpiY;
  }
  params.BitsPerSample = 8;
  params.SamplesPerPixel = 3;
  out = std::move(decoded);
  return PictureStatus::Ok;
}

PictureStatus TryEncode(const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress, Stream& out) {
  if (in.Empty()) return PictureStatus::NoPicture;
  Bitmap expanded;
  const Bitmap* source = &Pixels24(in, expanded);

  jpeg_compress_struct cinfo{};
  ErrorManager err;
  auto destination = std::make_unique<StreamDestination>();
  std::vector<uint8_t> inks;
  J_COLOR_SPACE fileSpace = JCS_RGB;
  switch (params.JpegColor) {
    case JpegColorSpace::Grey: fileSpace = JCS_GRAYSCALE; break;
    case JpegColorSpace::YCbCr: fileSpace = JCS_YCbCr; break;
    case JpegColorSpace::Cmyk: fileSpace = JCS_CMYK; break;
    case JpegColorSpace::Ycck: fileSpace = JCS_YCCK; break;
    case JpegColorSpace::Rgb: break;
  }
  // libjpeg has no RGB to CMYK conversion; the rows are converted here.
  const bool cmyk = fileSpace == JCS_CMYK || fileSpace == JCS_YCCK;
  if (cmyk) inks.resize(size_t(source->Width()) * 4);

  cinfo.err = InstallErrorManager(err);
  const Destroyer destroyer{reinterpret_cast<j_common_ptr>(&cinfo)};
  return Guarded(err, [&] {
    const auto common = reinterpret_cast<j_common_ptr>(&cinfo);
    jpeg_create_compress(&cinfo);
    destination->pub.init_destination = InitDestination;
    destination->pub.empty_output_buffer = EmptyOutputBuffer;
    destination->pub.term_destination = TermDestination;
    destination->stream = &out;
    cinfo.dest = &destination->pub;

    cinfo.image_width = JDIMENSION(source->Width());
    cinfo.image_height = JDIMENSION(source->Height());
    cinfo.input_components = cmyk ? 4 : 3;
    cinfo.in_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, fileSpace);
    if (params.DpiX > 0 && params.DpiY > 0) {
      cinfo.density_unit = 1;
      cinfo.X_density = UINT16(std::min(params.DpiX, 65535));
      cinfo.Y_density = UINT16(std::min(params.DpiY, 65535));
    }
    cinfo.dct_method = DctMethod(params.JpegDct);
    cinfo.optimize_coding = params.JpegOptimalHuffman;
    cinfo.smoothing_factor = std::clamp(params.JpegSmoothing, 0, 100);
    jpeg_set_quality(&cinfo, std::clamp(params.JpegQuality, 1, 100), TRUE);
    if (params.JpegProgressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);

    RowProgress rows(progress, source->Height());
    if (!rows.Row(0)) GiveUp(common, PictureStatus::Stopped);
    const int height = source->Height();
    while (cinfo.next_scanline < cinfo.image_height) {
      const int y = int(cinfo.next_scanline);
      if (cmyk) {
        BgrRowToInvertedCmyk(source->Row(y), inks.data(), source->Width());
        JSAMPROW row = inks.data();
        jpeg_write_scanlines(&cinfo, &row, 1);
      } else {
        std::array<JSAMPROW, kBand> band;
        const int count = std::min(kBand, height - y);
        for (int i = 0; i < count; ++i) band[size_t(i)] = const_cast<JSAMPROW>(source->Row(y + i));
        jpeg_write_scanlines(&cinfo, band.data(), JDIMENSION(count));
      }
      if (!rows.Row(cinfo.next_scanline)) GiveUp(common, PictureStatus::Stopped);
    }
    jpeg_finish_compress(&cinfo);
  });
}

}  // namespace

bool ProbeJpeg(Bytes head, uint64_t) {
  return head.size() >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF;
}

PictureStatus ReadJpegHeader(Bytes data, JpegHeader& header) {
  if (!ProbeJpeg(data, data.size())) return PictureStatus::Damaged;
  jpeg_decompress_struct cinfo{};
  ErrorManager err;
  MemorySource source;
  cinfo.err = InstallErrorManager(err);
  const Destroyer destroyer{reinterpret_cast<j_common_ptr>(&cinfo)};
  return Guarded(err, [&] {
    jpeg_create_decompress(&cinfo);
    UseMemorySource(&cinfo, source, data);
    KeepApp1Segments(&cinfo);
    jpeg_read_header(&cinfo, TRUE);
    FillHeader(cinfo, header);
  });
}

PictureStatus InfoJpeg(Bytes data, PictureInfo& info) {
  JpegHeader header;
  if (const PictureStatus read = ReadJpegHeader(data, header); read != PictureStatus::Ok) return read;
  info = PictureInfo{};
  info.Width = header.Width;
  info.Height = header.Height;
  info.BitsPerSample = 8;
  info.SamplesPerPixel = header.Components;
  info.DpiX = header.DpiX;
  info.DpiY = header.DpiY;
  info.JpegColor = header.ColorSpace;
  info.Orientation = header.Orientation;
  return PictureStatus::Ok;
}

int JpegScaleDenominator(JpegScale scale, int width, int height, int64_t wantedPixels) {
  switch (scale) {
    case JpegScale::Half: return 2;
    case JpegScale::Quarter: return 4;
    case JpegScale::Eighth: return 8;
    case JpegScale::Automatic: break;
    case JpegScale::Full:
    default: return 1;
  }
  if (wantedPixels == 0) return 1;
  int best = 1;
  int64_t bestDistance = -1;
  for (int k : {1, 2, 4, 8}) {
    const int64_t pixels = int64_t(width / k) * (height / k);
    const int64_t distance = pixels > wantedPixels ? pixels - wantedPixels : wantedPixels - pixels;
    if (bestDistance < 0 || distance < bestDistance) {
      best = k;
      bestDistance = distance;
    }
  }
  return best;
}

PictureStatus DecodeJpegScaled(Bytes data, int denominator, Bitmap& out, TImgIOParams& params,
                               const ProgressRecord& progress, size_t& consumed) {
  return Reported(progress, [&] { return DecodeAt(data, denominator, out, params, progress, consumed); });
}

PictureStatus DecodeJpeg(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                         size_t& consumed) {
  return Reported(progress, [&] {
    JpegHeader header;
    if (const PictureStatus read = ReadJpegHeader(data, header); read != PictureStatus::Ok) return read;
    return DecodeAt(data,
                    JpegScaleDenominator(params.JpegDecodeScale, header.Width, header.Height,
                                         int64_t(params.Width) * params.Height),
                    out, params, progress, consumed);
  });
}

PictureStatus EncodeJpeg(const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress,
                         Stream& out) {
  return ReportedWrite(progress, out, [&] { return TryEncode(in, params, progress, out); });
}

const Codec& JpegCodec() {
  static const Codec codec{"JPEG", iftJpeg, ProbeJpeg, InfoJpeg, DecodeJpeg, EncodeJpeg};
  return codec;
}

}  // namespace glamora::codec
