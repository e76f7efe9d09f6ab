// Reading and writing PCX files: the header, the run-length rows of each
// plane and the palettes.
#include "codecs/Pcx.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "codecs/ByteReader.h"
#include "codecs/RowProgress.h"

namespace glamora::codec {

namespace {

constexpr size_t kHeaderSize = 128;
constexpr uint8_t kManufacturer = 10;
constexpr uint8_t kPaletteMarker = 0x0C;
constexpr size_t kVgaPaletteBytes = 1 + 256 * 3;

struct Header {
  uint8_t Version = 0;
  uint8_t Encoding = 0;
  int Bits = 0;  // per pixel and plane
  int Width = 0;
  int Height = 0;
  int DpiX = 0;
  int DpiY = 0;
  std::array<uint8_t, 48> Palette{};
  int Planes = 0;
  size_t BytesPerLine = 0;

  bool TrueColour() const { return Bits == 8 && (Planes == 3 || Planes == 4); }
  bool VgaPalette() const { return Bits == 8 && Planes == 1; }
  bool Mono() const { return Bits == 1 && Planes == 1; }
};

PictureStatus ReadHeader(Bytes data, const DecodeLimits& limits, Header& h) {
  ByteReader r(data);
  if (r.U8() != kManufacturer) return PictureStatus::Damaged;
  h.Version = r.U8();
  h.Encoding = r.U8();
  h.Bits = r.U8();
  const int xMin = r.U16LE(), yMin = r.U16LE(), xMax = r.U16LE(), yMax = r.U16LE();
  h.DpiX = r.U16LE();
  h.DpiY = r.U16LE();
  r.Read(h.Palette.data(), h.Palette.size());
  r.U8();  // reserved
  h.Planes = r.U8();
  h.BytesPerLine = r.U16LE();
  if (!r.Ok() || h.Version > 5 || h.Encoding > 1) return PictureStatus::Damaged;
  if (xMax < xMin || yMax < yMin) return PictureStatus::Damaged;
  if (const PictureStatus size = CheckSize(xMax - xMin + 1, yMax - yMin + 1, limits); size != PictureStatus::Ok) {
    return size;
  }
  h.Width = xMax - xMin + 1;
  h.Height = yMax - yMin + 1;
  const bool paletted = (h.Bits == 1 || h.Bits == 2 || h.Bits == 4) && h.Planes >= 1 && h.Bits * h.Planes <= 4;
  if (!paletted && !h.TrueColour() && !h.VgaPalette()) return PictureStatus::Unsupported;
  return h.BytesPerLine >= (size_t(h.Width) * size_t(h.Bits) + 7) / 8 ? PictureStatus::Ok : PictureStatus::Damaged;
}

struct Bgr {
  uint8_t B = 0, G = 0, R = 0;
};
using Palette = std::array<Bgr, 256>;

bool IsBlack(const Bgr& c) { return c.B == 0 && c.G == 0 && c.R == 0; }
bool IsWhite(const Bgr& c) { return c.B == 255 && c.G == 255 && c.R == 255; }

// The header palette; a mono picture whose two entries are equal (often both
// zero) is black on white.
Palette HeaderPalette(const Header& h) {
  Palette palette{};
  for (int i = 0; i < 16; ++i) palette[i] = {h.Palette[3 * i + 2], h.Palette[3 * i + 1], h.Palette[3 * i]};
  if (h.Mono() && palette[0].B == palette[1].B && palette[0].G == palette[1].G && palette[0].R == palette[1].R) {
    palette[0] = {0, 0, 0};
    palette[1] = {255, 255, 255};
  }
  return palette;
}

bool HasVgaPalette(Bytes data, size_t pictureEnd) {
  return data.size() >= pictureEnd + kVgaPaletteBytes && data[data.size() - kVgaPaletteBytes] == kPaletteMarker;
}

// Version 5 brought the 256-colour palette at the end; an 8-bit picture of
// that version without it was cut short. Older ones read as grey levels.
constexpr uint8_t kVgaPaletteVersion = 5;

// The 256-colour palette after the marker at the end, if the file has one
// beyond the picture data; grey levels otherwise.
Palette VgaPalette(Bytes data, size_t pictureEnd) {
  Palette palette{};
  if (HasVgaPalette(data, pictureEnd)) {
    const uint8_t* p = data.data() + data.size() - kVgaPaletteBytes + 1;
    for (int i = 0; i < 256; ++i) palette[i] = {p[3 * i + 2], p[3 * i + 1], p[3 * i]};
  } else {
    for (int i = 0; i < 256; ++i) palette[i] = {uint8_t(i), uint8_t(i), uint8_t(i)};
  }
  return palette;
}

// Reads one scan line (all planes) of run-length coded or plain data. Runs
// may continue from one scan line into the next.
class LineReader {
 public:
  LineReader(ByteReader& reader, bool rle) : r_(reader), rle_(rle) {}

  bool Next(uint8_t* line, size_t size) {
    if (!rle_) return r_.Read(line, size);
    size_t filled = 0;
    while (filled < size) {
      if (left_ == 0) {
        const uint8_t b = r_.U8();
        if ((b & 0xC0) == 0xC0) {
          left_ = b & 0x3F;
          value_ = r_.U8();
        } else {
          left_ = 1;
          value_ = b;
        }
        if (!r_.Ok()) return false;
        continue;
      }
      const size_t n = std::min(left_, size - filled);
      std::memset(line + filled, value_, n);
      filled += n;
      left_ -= n;
    }
    return true;
  }

 private:
  ByteReader& r_;
  bool rle_;
  size_t left_ = 0;
  uint8_t value_ = 0;
};

PictureStatus DecodePcxInto(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                            size_t& consumed) {
  Header h;
  if (!ProbePcx(data, data.size())) return PictureStatus::Damaged;
  if (const PictureStatus read = ReadHeader(data, params.Limits, h); read != PictureStatus::Ok) return read;
  const size_t lineBytes = h.BytesPerLine * size_t(h.Planes);
  // Even the best run-length coding needs two bytes per 63 bytes of picture,
  // and plain data all of them.
  const size_t leastData = h.Encoding == 1 ? lineBytes * size_t(h.Height) / 63 * 2 : lineBytes * size_t(h.Height);
  if (data.size() - kHeaderSize < leastData) return PictureStatus::Damaged;

  ByteReader r(data, kHeaderSize);
  LineReader lines(r, h.Encoding == 1);
  std::vector<uint8_t> line(lineBytes);
  Palette palette = HeaderPalette(h);
  const bool bilevel = h.Mono() && ((IsBlack(palette[0]) && IsWhite(palette[1])) ||
                                    (IsWhite(palette[0]) && IsBlack(palette[1])));
  Bitmap decoded;
  if (!decoded.Reset(h.Width, h.Height, bilevel ? PixelFormat::Bits1 : PixelFormat::Bits24)) {
    return PictureStatus::TooLarge;
  }
  if (bilevel) {
    decoded.Palette() = {Rgb(palette[0].R, palette[0].G, palette[0].B), Rgb(palette[1].R, palette[1].G, palette[1].B)};
  }

  // 8-bit pictures keep their indices until the palette at the end is known.
  std::vector<uint8_t> indices;
  if (h.VgaPalette()) indices.resize(size_t(h.Width) * size_t(h.Height));

  const size_t monoBytes = (size_t(h.Width) + 7) / 8;
  const unsigned mask = (1u << h.Bits) - 1;
  RowProgress rows(progress, h.Height);
  for (int y = 0; y < h.Height; ++y) {
    if (!lines.Next(line.data(), lineBytes)) return PictureStatus::Damaged;
    uint8_t* dst = decoded.Row(y);
    if (bilevel) {
      std::memcpy(dst, line.data(), monoBytes);
      if (h.Width % 8) dst[monoBytes - 1] &= uint8_t(0xFF << (8 - h.Width % 8));
    } else if (h.TrueColour()) {
      const uint8_t* red = line.data();
      const uint8_t* green = red + h.BytesPerLine;
      const uint8_t* blue = green + h.BytesPerLine;
      for (int x = 0; x < h.Width; ++x) {
        dst[3 * x] = blue[x];
        dst[3 * x + 1] = green[x];
        dst[3 * x + 2] = red[x];
      }
    } else if (h.VgaPalette()) {
      std::memcpy(indices.data() + size_t(y) * size_t(h.Width), line.data(), size_t(h.Width));
    } else {
      for (int x = 0; x < h.Width; ++x) {
        const size_t bit = size_t(x) * size_t(h.Bits);
        unsigned index = 0;
        for (int p = 0; p < h.Planes; ++p) {
          const uint8_t byte = line[size_t(p) * h.BytesPerLine + bit / 8];
          index |= ((byte >> (8 - h.Bits - bit % 8)) & mask) << (p * h.Bits);
        }
        const Bgr& c = palette[index];
        dst[3 * x] = c.B;
        dst[3 * x + 1] = c.G;
        dst[3 * x + 2] = c.R;
      }
    }
    if (!rows.Row(y + 1)) return PictureStatus::Stopped;
  }
  consumed = r.Position();

  if (h.VgaPalette()) {
    if (h.Version >= kVgaPaletteVersion && !HasVgaPalette(data, consumed)) return PictureStatus::Damaged;
    palette = VgaPalette(data, consumed);
    if (HasVgaPalette(data, consumed)) consumed = data.size();
    for (int y = 0; y < h.Height; ++y) {
      const uint8_t* src = indices.data() + size_t(y) * size_t(h.Width);
      uint8_t* dst = decoded.Row(y);
      for (int x = 0; x < h.Width; ++x) {
        const Bgr& c = palette[src[x]];
        dst[3 * x] = c.B;
        dst[3 * x + 1] = c.G;
        dst[3 * x + 2] = c.R;
      }
    }
  }

  params.Width = h.Width;
  params.Height = h.Height;
  params.BitsPerSample = bilevel ? 1 : 8;
  params.SamplesPerPixel = bilevel ? 1 : 3;
  if (h.DpiX > 0 && h.DpiY > 0) {
    params.DpiX = h.DpiX;
    params.DpiY = h.DpiY;
  }
  params.PcxVersion = h.Version;
  params.PcxCompression = h.Encoding;
  out = std::move(decoded);
  return PictureStatus::Ok;
}

void PutU16(uint8_t* at, unsigned v) {
  at[0] = uint8_t(v);
  at[1] = uint8_t(v >> 8);
}

// Runs of up to 63 equal bytes; a single byte below 0xC0 stands for itself.
void EncodeRlePlane(const uint8_t* plane, size_t size, std::vector<uint8_t>& out) {
  size_t i = 0;
  while (i < size) {
    size_t run = 1;
    while (i + run < size && run < 63 && plane[i + run] == plane[i]) ++run;
    if (run > 1 || plane[i] >= 0xC0) out.push_back(uint8_t(0xC0 | run));
    out.push_back(plane[i]);
    i += run;
  }
}

PictureStatus EncodePcxInto(const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress,
                            Stream& out) {
  if (in.Empty()) return PictureStatus::NoPicture;
  if (in.Width() > 0xFFFF || in.Height() > 0xFFFF) return PictureStatus::TooLarge;
  Bitmap expanded;
  const Bitmap* source = &Pixels24(in, expanded);
  const int width = source->Width(), height = source->Height();
  const size_t bytesPerLine = (size_t(width) + 1) & ~size_t(1);  // kept even
  const bool rle = params.PcxCompression != 0;

  std::array<uint8_t, kHeaderSize> header{};
  header[0] = kManufacturer;
  header[1] = 5;
  header[2] = rle ? 1 : 0;
  header[3] = 8;
  PutU16(&header[8], unsigned(width - 1));
  PutU16(&header[10], unsigned(height - 1));
  PutU16(&header[12], unsigned(std::clamp(params.DpiX, 0, 0xFFFF)));
  PutU16(&header[14], unsigned(std::clamp(params.DpiY, 0, 0xFFFF)));
  header[65] = 3;  // planes; no 16-colour palette before them
  PutU16(&header[66], unsigned(bytesPerLine));
  PutU16(&header[68], 1);  // colour palette information
  out.Write(header.data(), header.size());

  std::vector<uint8_t> plane(bytesPerLine, 0);
  std::vector<uint8_t> coded;
  coded.reserve(3 * 2 * bytesPerLine);
  RowProgress rows(progress, height);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = source->Row(y);
    coded.clear();
    for (int channel = 2; channel >= 0; --channel) {  // red, green, blue planes
      for (int x = 0; x < width; ++x) plane[size_t(x)] = row[3 * x + channel];
      if (rle) {
        EncodeRlePlane(plane.data(), plane.size(), coded);
      } else {
        coded.insert(coded.end(), plane.begin(), plane.end());
      }
    }
    out.Write(coded.data(), coded.size());
    if (!rows.Row(y + 1)) return PictureStatus::Stopped;
  }
  return PictureStatus::Ok;
}

}  // namespace

bool ProbePcx(Bytes head, uint64_t streamSize) {
  return streamSize > kHeaderSize && head.size() >= 2 && head[0] == kManufacturer && head[1] <= 5;
}

PictureStatus InfoPcx(Bytes data, PictureInfo& info) {
  Header h;
  if (!ProbePcx(data, data.size())) return PictureStatus::Damaged;
  if (const PictureStatus read = ReadHeader(data, DecodeLimits{}, h); read != PictureStatus::Ok) return read;
  PictureInfo result;
  result.Width = h.Width;
  result.Height = h.Height;
  const Palette palette = HeaderPalette(h);
  const bool bilevel = h.Mono() && ((IsBlack(palette[0]) && IsWhite(palette[1])) ||
                                    (IsWhite(palette[0]) && IsBlack(palette[1])));
  result.BitsPerSample = bilevel ? 1 : 8;
  result.SamplesPerPixel = bilevel ? 1 : 3;
  if (h.DpiX > 0 && h.DpiY > 0) {
    result.DpiX = h.DpiX;
    result.DpiY = h.DpiY;
  }
  result.Compressed = h.Encoding != 0;
  info = result;
  return PictureStatus::Ok;
}

PictureStatus DecodePcx(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                        size_t& consumed) {
  return Reported(progress, [&] { return DecodePcxInto(data, out, params, progress, consumed); });
}

PictureStatus EncodePcx(const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress, Stream& out) {
  return ReportedWrite(progress, out, [&] { return EncodePcxInto(in, params, progress, out); });
}

const Codec& PcxCodec() {
  static const Codec codec{"PCX", iftPcx, ProbePcx, InfoPcx, DecodePcx, EncodePcx};
  return codec;
}

}  // namespace glamora::codec
