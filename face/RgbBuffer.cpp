// The row-addressed 24-bit copy of a picture and its region colour shift.
#include "face/RgbBuffer.h"

#include <algorithm>
#include <cstring>

namespace glamora {

void TRgbBuffer::Describe(int width, int height, uint8_t* bits) {
  Width = width;
  Height = height;
  Gap = width % 4;
  RowSize = 3 * width + Gap;
  Size = RowSize * height;
  Bits = bits;
  Rows.resize(size_t(std::max(height, 0)));
  for (int r = 0; r < height; ++r) Rows[size_t(r)] = bits + size_t(r) * size_t(RowSize);
}

TDibBuffer::TDibBuffer(const Bitmap& bitmap) {
  Bitmap copy;
  const Bitmap* source = &bitmap;
  if (bitmap.Format() != PixelFormat::Bits24) {
    copy.Assign(bitmap);
    copy.ConvertTo24();
    source = &copy;
  }
  const int w = source->Width(), h = source->Height();
  storage_.assign(size_t(3 * w + w % 4) * size_t(h), 0);
  Describe(w, h, storage_.data());
  for (int y = 0; y < h; ++y) std::memcpy(Rows[size_t(y)], source->Row(y), size_t(3 * w));
}

void TDibBuffer::Draw(Bitmap& target, int x, int y) const {
  if (target.Format() != PixelFormat::Bits24) return;
  const int x0 = std::max(x, 0), x1 = std::min(x + Width, target.Width());
  const int y0 = std::max(y, 0), y1 = std::min(y + Height, target.Height());
  if (x0 >= x1) return;
  for (int ty = y0; ty < y1; ++ty) {
    std::memcpy(target.Row(ty) + 3 * x0, Rows[size_t(ty - y)] + 3 * (x0 - x), size_t(3 * (x1 - x0)));
  }
}

void TDibBuffer::AddColorsInRegion(int dr, int dg, int db, const PolygonRegion* region) {
  if (!region) return;
  uint8_t tb[256], tg[256], tr[256];
  for (int i = 0; i < 256; ++i) {
    tb[i] = ClampByte(i + db);
    tg[i] = ClampByte(i + dg);
    tr[i] = ClampByte(i + dr);
  }
  for (const Span& span : region->Spans()) {
    if (span.Y < 0 || span.Y >= Height) continue;
    const int x0 = std::max(span.X0, 0), x1 = std::min(span.X1, Width - 1);
    uint8_t* p = Rows[size_t(span.Y)] + 3 * x0;
    for (int x = x0; x <= x1; ++x, p += 3) {
      p[0] = tb[p[0]];
      p[1] = tg[p[1]];
      p[2] = tr[p[2]];
    }
  }
}

}  // namespace glamora
