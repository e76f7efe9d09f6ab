// Nearest-pixel stretching by precomputed column and row tables.
#include "imaging/core/StretchNearest.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace glamora {

namespace {

// The visible part of a destination span and, for each visible pixel, its
// source pixel by the pixel-centre rule, clamped to the source bitmap.
struct SpanMap {
  int First = 0;  // first visible destination pixel, in target coordinates
  std::vector<int> Source;
};

SpanMap MapSpan(int srcStart, int srcSpan, int dstStart, int dstSpan, int targetSize, int sourceSize) {
  SpanMap map;
  const int64_t from = std::max<int64_t>(0, -int64_t(dstStart));
  const int64_t to = std::min<int64_t>(dstSpan, int64_t(targetSize) - dstStart);
  if (to <= from) return map;
  map.First = int(dstStart + from);
  map.Source.resize(size_t(to - from));
  for (int64_t d = from; d < to; ++d) {
    const int64_t s = srcStart + (2 * d + 1) * int64_t(srcSpan) / (2 * int64_t(dstSpan));
    map.Source[size_t(d - from)] = int(std::clamp<int64_t>(s, 0, sourceSize - 1));
  }
  return map;
}

using PaletteBgr = std::array<std::array<uint8_t, 3>, 256>;

PaletteBgr PaletteOf(const Bitmap& src) {
  PaletteBgr table{};
  const auto& palette = src.Palette();
  for (size_t i = 0; i < table.size() && i < palette.size(); ++i) {
    table[i] = {BlueOf(palette[i]), GreenOf(palette[i]), RedOf(palette[i])};
  }
  return table;
}

inline unsigned BitAt(const uint8_t* row, int x) { return (row[x >> 3] >> (7 - (x & 7))) & 1u; }

template <int OutBytes>
void DrawColorRow(const Bitmap& src, const uint8_t* in, const std::vector<int>& cols, const PaletteBgr& palette,
                  uint8_t* out) {
  const size_t n = cols.size();
  const int* col = cols.data();
  auto put = [&](size_t i, const uint8_t* bgr) {
    uint8_t* o = out + i * OutBytes;
    o[0] = bgr[0];
    o[1] = bgr[1];
    o[2] = bgr[2];
    if constexpr (OutBytes == 4) o[3] = 0xFF;
  };
  switch (src.Format()) {
    case PixelFormat::Bits24:
      for (size_t i = 0; i < n; ++i) put(i, in + 3 * size_t(col[i]));
      break;
    case PixelFormat::Bits8:
      for (size_t i = 0; i < n; ++i) put(i, palette[in[col[i]]].data());
      break;
    case PixelFormat::Bits1:
      for (size_t i = 0; i < n; ++i) put(i, palette[BitAt(in, col[i])].data());
      break;
  }
}

void DrawIndexRow(PixelFormat format, const uint8_t* in, const std::vector<int>& cols, int firstX, uint8_t* out) {
  const size_t n = cols.size();
  if (format == PixelFormat::Bits8) {
    for (size_t i = 0; i < n; ++i) out[size_t(firstX) + i] = in[cols[i]];
    return;
  }
  for (size_t i = 0; i < n; ++i) {
    const int x = firstX + int(i);
    const uint8_t mask = uint8_t(0x80u >> (x & 7));
    uint8_t& byte = out[x >> 3];
    byte = BitAt(in, cols[i]) ? uint8_t(byte | mask) : uint8_t(byte & ~mask);
  }
}

// Row bytes that a visible span occupies in the destination, for copying a
// finished row to the next one that maps to the same source row.
struct RowBytes {
  size_t Offset;
  size_t Count;
};

RowBytes SpanBytes(PixelFormat format, int firstX, size_t count) {
  if (format == PixelFormat::Bits1) {
    // Whole bytes only; partial edge bytes are redrawn.
    return {0, 0};
  }
  const size_t bytes = format == PixelFormat::Bits8 ? 1 : 3;
  return {size_t(firstX) * bytes, count * bytes};
}

}  // namespace

void StretchNearest(const Bitmap& src, const PixelRect& srcRect, const RasterTarget& dst, const PixelRect& dstRect) {
  if (src.Empty() || srcRect.Empty() || dstRect.Empty() || !dst.Bits || dst.Width <= 0 || dst.Height <= 0) return;
  const SpanMap cols = MapSpan(srcRect.Left, srcRect.Width, dstRect.Left, dstRect.Width, dst.Width, src.Width());
  const SpanMap rows = MapSpan(srcRect.Top, srcRect.Height, dstRect.Top, dstRect.Height, dst.Height, src.Height());
  if (cols.Source.empty() || rows.Source.empty()) return;
  const PaletteBgr palette = PaletteOf(src);
  const size_t outBytes = dst.Layout == RasterLayout::Bgrx32 ? 4 : 3;
  const size_t rowOffset = size_t(cols.First) * outBytes;
  const size_t rowLength = cols.Source.size() * outBytes;
  for (size_t i = 0; i < rows.Source.size(); ++i) {
    uint8_t* out = dst.Bits + size_t(rows.First + int(i)) * dst.Stride + rowOffset;
    if (i > 0 && rows.Source[i] == rows.Source[i - 1]) {
      std::memcpy(out, out - dst.Stride, rowLength);
      continue;
    }
    const uint8_t* in = src.Row(rows.Source[i]);
    if (dst.Layout == RasterLayout::Bgrx32) {
      DrawColorRow<4>(src, in, cols.Source, palette, out);
    } else {
      DrawColorRow<3>(src, in, cols.Source, palette, out);
    }
  }
}

bool StretchNearest(const Bitmap& src, const PixelRect& srcRect, Bitmap& dst, const PixelRect& dstRect) {
  if (&src == &dst) {
    const Bitmap copy = src;
    return StretchNearest(copy, srcRect, dst, dstRect);
  }
  if (dst.Format() == PixelFormat::Bits24) {
    StretchNearest(src, srcRect, RasterTarget{dst.Bits(), dst.Stride(), dst.Width(), dst.Height(), RasterLayout::Bgr24},
                   dstRect);
    return true;
  }
  if (dst.Format() != src.Format()) return false;
  if (src.Empty() || srcRect.Empty() || dstRect.Empty() || dst.Empty()) return true;
  const SpanMap cols = MapSpan(srcRect.Left, srcRect.Width, dstRect.Left, dstRect.Width, dst.Width(), src.Width());
  const SpanMap rows = MapSpan(srcRect.Top, srcRect.Height, dstRect.Top, dstRect.Height, dst.Height(), src.Height());
  if (cols.Source.empty() || rows.Source.empty()) return true;
  const RowBytes span = SpanBytes(dst.Format(), cols.First, cols.Source.size());
  for (size_t i = 0; i < rows.Source.size(); ++i) {
    const int y = rows.First + int(i);
    if (i > 0 && span.Count > 0 && rows.Source[i] == rows.Source[i - 1]) {
      std::memcpy(dst.Row(y) + span.Offset, dst.Row(y - 1) + span.Offset, span.Count);
      continue;
    }
    DrawIndexRow(dst.Format(), src.Row(rows.Source[i]), cols.Source, cols.First, dst.Row(y));
  }
  return true;
}

bool StretchNearest(const Bitmap& src, Bitmap& dst) {
  return StretchNearest(src, PixelRect::Of(src), dst, PixelRect::Of(dst));
}

}  // namespace glamora
