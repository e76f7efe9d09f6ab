// Reading and writing Targa files: the header, colour maps, run-length
// packets and the corner the rows start from.
#include "codecs/Targa.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "codecs/ByteReader.h"
#include "codecs/RowProgress.h"

namespace glamora::codec {

namespace {

constexpr size_t kHeaderSize = 18;
constexpr uint8_t kTopOrigin = 0x20;
constexpr uint8_t kRightToLeft = 0x10;

enum ImageType : uint8_t { kMapped = 1, kTrueColour = 2, kGrey = 3, kMappedRle = 9, kTrueColourRle = 10, kGreyRle = 11 };

struct Header {
  uint8_t IdLength = 0;
  uint8_t ColourMapType = 0;
  uint8_t Type = 0;
  uint16_t MapFirst = 0;
  uint16_t MapLength = 0;
  uint8_t MapEntryBits = 0;
  int Width = 0;
  int Height = 0;
  uint8_t Depth = 0;
  uint8_t Descriptor = 0;

  uint8_t BaseType() const { return Type > 8 ? Type - 8 : Type; }
  bool Rle() const { return Type > 8; }
  int PixelBytes() const { return (Depth + 7) / 8; }
  size_t MapBytes() const { return ColourMapType == 1 ? size_t(MapLength) * ((MapEntryBits + 7) / 8) : 0; }
};

bool ReadHeader(Bytes data, Header& h) {
  ByteReader r(data);
  h.IdLength = r.U8();
  h.ColourMapType = r.U8();
  h.Type = r.U8();
  h.MapFirst = r.U16LE();
  h.MapLength = r.U16LE();
  h.MapEntryBits = r.U8();
  r.U16LE();  // x origin
  r.U16LE();  // y origin
  h.Width = r.U16LE();
  h.Height = r.U16LE();
  h.Depth = r.U8();
  h.Descriptor = r.U8();
  return r.Ok();
}

bool IsEntryDepth(int bits) { return bits == 15 || bits == 16 || bits == 24 || bits == 32; }

// Whether the header describes a picture this decoder reads.
PictureStatus Decodable(const Header& h, const DecodeLimits& limits) {
  if (const PictureStatus size = CheckSize(h.Width, h.Height, limits); size != PictureStatus::Ok) return size;
  if (h.ColourMapType > 1) return PictureStatus::Damaged;
  if (h.ColourMapType == 1 && !IsEntryDepth(h.MapEntryBits)) return PictureStatus::Unsupported;
  bool known = false;
  switch (h.BaseType()) {
    case kMapped: known = h.ColourMapType == 1 && (h.Depth == 8 || h.Depth == 16); break;
    case kTrueColour: known = IsEntryDepth(h.Depth); break;
    case kGrey: known = h.Depth == 8 || h.Depth == 16; break;
    default: break;
  }
  return known ? PictureStatus::Ok : PictureStatus::Unsupported;
}

constexpr uint8_t Expand5(unsigned v) { return uint8_t((v << 3) | (v >> 2)); }

struct Bgr {
  uint8_t B = 0, G = 0, R = 0;
};

// A 15/16, 24 or 32-bit colour value as stored (little-endian, blue first).
Bgr ColourOf(const uint8_t* p, int bits) {
  if (bits <= 16) {
    const unsigned v = unsigned(p[0]) | unsigned(p[1]) << 8;
    return {Expand5(v & 31), Expand5((v >> 5) & 31), Expand5((v >> 10) & 31)};
  }
  return {p[0], p[1], p[2]};
}

// Converts rows of stored pixels to 24-bit rows.
class RowConverter {
 public:
  RowConverter(const Header& h, std::vector<Bgr> map) : h_(h), map_(std::move(map)) {}

  void Convert(const uint8_t* src, uint8_t* dst) const {
    const int bytes = h_.PixelBytes();
    const bool reversed = h_.Descriptor & kRightToLeft;
    for (int i = 0; i < h_.Width; ++i, src += bytes) {
      Bgr c;
      switch (h_.BaseType()) {
        case kMapped: {
          const unsigned index = bytes == 1 ? src[0] : unsigned(src[0]) | unsigned(src[1]) << 8;
          if (index >= h_.MapFirst && index - h_.MapFirst < map_.size()) c = map_[index - h_.MapFirst];
          break;
        }
        case kGrey: c = {src[0], src[0], src[0]}; break;
        default: c = ColourOf(src, h_.Depth); break;
      }
      uint8_t* p = dst + 3 * size_t(reversed ? h_.Width - 1 - i : i);
      p[0] = c.B;
      p[1] = c.G;
      p[2] = c.R;
    }
  }

 private:
  const Header& h_;
  std::vector<Bgr> map_;
};

// Run-length packets may run on from one row into the next.
class RleRows {
 public:
  RleRows(ByteReader& reader, int pixelBytes) : r_(reader), bytes_(size_t(pixelBytes)) {}

  bool Next(uint8_t* row, int width) {
    size_t filled = 0;
    while (filled < size_t(width)) {
      if (left_ == 0) {
        const uint8_t packet = r_.U8();
        left_ = (packet & 0x7F) + 1u;
        run_ = packet & 0x80;
        if (run_) r_.Read(value_.data(), bytes_);
        if (!r_.Ok()) return false;
      }
      const size_t n = std::min(size_t(left_), size_t(width) - filled);
      uint8_t* dst = row + filled * bytes_;
      if (run_) {
        for (size_t i = 0; i < n; ++i) std::memcpy(dst + i * bytes_, value_.data(), bytes_);
      } else if (!r_.Read(dst, n * bytes_)) {
        return false;
      }
      filled += n;
      left_ -= unsigned(n);
    }
    return true;
  }

 private:
  ByteReader& r_;
  size_t bytes_;
  unsigned left_ = 0;
  bool run_ = false;
  std::array<uint8_t, 4> value_{};
};

PictureStatus DecodeTargaInto(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                              size_t& consumed) {
  Header h;
  if (!ReadHeader(data, h)) return PictureStatus::Damaged;
  if (const PictureStatus decodable = Decodable(h, params.Limits); decodable != PictureStatus::Ok) return decodable;

  ByteReader r(data, kHeaderSize);
  Bytes id = r.Take(h.IdLength);
  std::vector<Bgr> map;
  if (h.ColourMapType == 1) {
    Bytes stored = r.Take(h.MapBytes());
    if (!r.Ok()) return PictureStatus::Damaged;
    const size_t entryBytes = (h.MapEntryBits + 7) / 8;
    map.resize(h.MapLength);
    for (size_t i = 0; i < map.size(); ++i) map[i] = ColourOf(stored.data() + i * entryBytes, h.MapEntryBits);
  }
  if (!r.Ok()) return PictureStatus::Damaged;
  const size_t rowBytes = size_t(h.Width) * size_t(h.PixelBytes());
  const size_t pixels = size_t(h.Width) * size_t(h.Height);
  // Plain rows need all their bytes; a run packet of pixelBytes + 1 bytes
  // stands for at most 128 pixels.
  const size_t leastData = h.Rle() ? pixels / 128 * (size_t(h.PixelBytes()) + 1) : rowBytes * size_t(h.Height);
  if (r.Remaining() < leastData) return PictureStatus::Damaged;

  Bitmap decoded;
  if (!decoded.Reset(h.Width, h.Height)) return PictureStatus::TooLarge;
  const RowConverter converter(h, std::move(map));
  RleRows rle(r, h.PixelBytes());
  std::vector<uint8_t> row(rowBytes);
  const bool topDown = h.Descriptor & kTopOrigin;
  RowProgress rows(progress, h.Height);
  for (int i = 0; i < h.Height; ++i) {
    const bool ok = h.Rle() ? rle.Next(row.data(), h.Width) : r.Read(row.data(), rowBytes);
    if (!ok) return PictureStatus::Damaged;
    converter.Convert(row.data(), decoded.Row(topDown ? i : h.Height - 1 - i));
    if (!rows.Row(i + 1)) return PictureStatus::Stopped;
  }

  params.Width = h.Width;
  params.Height = h.Height;
  params.BitsPerSample = 8;
  params.SamplesPerPixel = 3;
  params.TgaCompressed = h.Rle();
  params.TgaDescription.assign(id.begin(), std::find(id.begin(), id.end(), uint8_t(0)));
  consumed = r.Position();
  out = std::move(decoded);
  return PictureStatus::Ok;
}

void PutU16(uint8_t* at, unsigned v) {
  at[0] = uint8_t(v);
  at[1] = uint8_t(v >> 8);
}

bool SamePixel(const uint8_t* a, const uint8_t* b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }

// One row as run packets (two or more equal pixels) and raw packets.
void EncodeRleRow(const uint8_t* row, int width, std::vector<uint8_t>& out) {
  int x = 0;
  while (x < width) {
    int run = 1;
    while (x + run < width && run < 128 && SamePixel(row + 3 * x, row + 3 * (x + run))) ++run;
    if (run >= 2) {
      out.push_back(uint8_t(0x80 | (run - 1)));
      out.insert(out.end(), row + 3 * x, row + 3 * x + 3);
      x += run;
      continue;
    }
    int raw = 1;
    while (x + raw < width && raw < 128 &&
           !(x + raw + 1 < width && SamePixel(row + 3 * (x + raw), row + 3 * (x + raw + 1)))) {
      ++raw;
    }
    out.push_back(uint8_t(raw - 1));
    out.insert(out.end(), row + 3 * x, row + 3 * (x + raw));
    x += raw;
  }
}

PictureStatus EncodeTargaInto(const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress,
                              Stream& out) {
  if (in.Empty()) return PictureStatus::NoPicture;
  if (in.Width() > 0xFFFF || in.Height() > 0xFFFF) return PictureStatus::TooLarge;
  Bitmap expanded;
  const Bitmap* source = &Pixels24(in, expanded);
  const int width = source->Width(), height = source->Height();
  const size_t idLength = std::min<size_t>(params.TgaDescription.size(), 255);

  std::array<uint8_t, kHeaderSize> header{};
  header[0] = uint8_t(idLength);
  header[1] = 0;  // no colour map
  header[2] = params.TgaCompressed ? kTrueColourRle : kTrueColour;
  PutU16(&header[12], unsigned(width));
  PutU16(&header[14], unsigned(height));
  header[16] = 24;
  header[17] = 0;  // bottom-left origin, no alpha bits
  out.Write(header.data(), header.size());
  out.Write(params.TgaDescription.data(), idLength);

  std::vector<uint8_t> coded;
  RowProgress rows(progress, height);
  for (int i = 0; i < height; ++i) {
    const uint8_t* row = source->Row(height - 1 - i);
    if (params.TgaCompressed) {
      coded.clear();
      EncodeRleRow(row, width, coded);
      out.Write(coded.data(), coded.size());
    } else {
      out.Write(row, 3 * size_t(width));
    }
    if (!rows.Row(i + 1)) return PictureStatus::Stopped;
  }
  return PictureStatus::Ok;
}

}  // namespace

bool ProbeTarga(Bytes head, uint64_t streamSize) {
  if (head.size() < kHeaderSize || streamSize < kHeaderSize) return false;
  const uint8_t type = head[2], depth = head[16];
  const bool knownType = type == 1 || type == 2 || type == 3 || type == 9 || type == 10 || type == 11;
  const bool knownDepth = depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
  return knownType && knownDepth;
}

PictureStatus InfoTarga(Bytes data, PictureInfo& info) {
  Header h;
  if (!ReadHeader(data, h)) return PictureStatus::Damaged;
  if (const PictureStatus decodable = Decodable(h, DecodeLimits{}); decodable != PictureStatus::Ok) return decodable;
  PictureInfo result;
  result.Width = h.Width;
  result.Height = h.Height;
  result.Compressed = h.Rle();
  info = result;
  return PictureStatus::Ok;
}

PictureStatus DecodeTarga(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                          size_t& consumed) {
  return Reported(progress, [&] { return DecodeTargaInto(data, out, params, progress, consumed); });
}

PictureStatus EncodeTarga(const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress,
                          Stream& out) {
  return ReportedWrite(progress, out, [&] { return EncodeTargaInto(in, params, progress, out); });
}

const Codec& TargaCodec() {
  static const Codec codec{"Targa", iftTarga, ProbeTarga, InfoTarga, DecodeTarga, EncodeTarga};
  return codec;
}

}  // namespace glamora::codec
