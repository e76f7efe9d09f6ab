// Reading GIF files through giflib onto a canvas of the logical screen, and
// writing one frame with a palette made from the picture's colours.
#include "codecs/Gif.h"

#include <gif_lib.h>

#include <algorithm>
#include <new>
#include <array>
#include <cstring>
#include <string>

#include "codecs/RowProgress.h"

namespace glamora::codec {

namespace {

// ---- Reading -------------------------------------------------------------

struct MemoryReader {
  Bytes data;
  size_t position = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int length) {
  auto* reader = static_cast<MemoryReader*>(gif->UserData);
  if (length <= 0) return 0;
  const size_t count = std::min(size_t(length), reader->data.size() - reader->position);
  std::copy_n(reader->data.data() + reader->position, count, buffer);
  reader->position += count;
  return int(count);
}

// Closes the giflib decoder however the reading ends.
struct DecoderHandle {
  GifFileType* gif = nullptr;
  ~DecoderHandle() {
    int error = 0;
    if (gif) DGifCloseFile(gif, &error);
  }
};

// What a walk over the whole file learns.
struct GifContents {
  std::string Version;
  int CanvasWidth = 0;
  int CanvasHeight = 0;
  TColor Background = clBlack;
  bool HasTransparency = false;
  TColor TransparentColor = clBlack;
  bool Interlaced = false;
  int BitsPerPixel = 8;
  int Frames = 0;
  size_t Consumed = 0;
};

TColor MapColor(const ColorMapObject* map, int index) {
  if (!map || index < 0 || index >= map->ColorCount) return clBlack;
  const GifColorType& c = map->Colors[index];
  return Rgb(c.Red, c.Green, c.Blue);
}

// The picture row of each coded row. Rows of an interlaced frame come in four
// passes: every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> order;
  order.reserve(size_t(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y) order.push_back(y);
    return order;
  }
  constexpr int kStart[4] = {0, 4, 2, 1};
  constexpr int kStep[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = kStart[pass]; y < height; y += kStep[pass]) order.push_back(y);
  }
  return order;
}

// The most pixels LZW data of `bytes` bytes can give: every code takes at
// least two bits and stands for at most 4096 pixels.
constexpr uint64_t MostLzwPixels(uint64_t bytes) { return bytes * 4 * 4096; }

bool SkipImageData(GifFileType* gif) {
  int codeSize = 0;
  GifByteType* block = nullptr;
  if (DGifGetCode(gif, &codeSize, &block) == GIF_ERROR) return false;
  while (block) {
    if (DGifGetCodeNext(gif, &block) == GIF_ERROR) return false;
  }
  return true;
}

// A canvas whose rows take the fill colour when first drawn on, so that a
// frame whose data stops early has touched no more of the canvas than it
// reached; the rows no frame row reaches are filled at the end.
class Canvas {
 public:
  Canvas(Bitmap& picture, TColor fill)
      : picture_(picture), ready_(size_t(picture.Height()), false), blank_(size_t(picture.Width()) * 3) {
    for (size_t i = 0; i < blank_.size(); i += 3) {
      blank_[i] = BlueOf(fill);
      blank_[i + 1] = GreenOf(fill);
      blank_[i + 2] = RedOf(fill);
    }
  }

  uint8_t* Row(int y) {
    uint8_t* row = picture_.Row(y);
    if (!ready_[size_t(y)]) {
      std::memcpy(row, blank_.data(), blank_.size());
      ready_[size_t(y)] = true;
    }
    return row;
  }
  void Finish() {
    for (int y = 0; y < picture_.Height(); ++y) Row(y);
  }

 private:
  Bitmap& picture_;
  std::vector<bool> ready_;
  std::vector<uint8_t> blank_;
};

// The colours of the frame whose header was just read, blue, green, red per
// index. A picture without any colour table shows its indexes as grey levels.
std::array<uint8_t, 256 * 3> FrameColours(const GifFileType* gif) {
  const ColorMapObject* map = gif->Image.ColorMap ? gif->Image.ColorMap : gif->SColorMap;
  std::array<uint8_t, 256 * 3> bgr{};
  for (int i = 0; i < 256; ++i) {
    const TColor c = map ? MapColor(map, i) : Rgb(i, i, i);
    bgr[3 * i] = BlueOf(c);
    bgr[3 * i + 1] = GreenOf(c);
    bgr[3 * i + 2] = RedOf(c);
  }
  return bgr;
}

// Draws the frame whose header was just read onto a fresh canvas.
PictureStatus DrawFirstFrame(GifFileType* gif, const GifContents& contents, int transparentIndex, Bitmap& picture,
                             const ProgressRecord& progress) {
  const GifImageDesc& frame = gif->Image;
  RowProgress rows(progress, frame.Height);
  if (!rows.Row(0)) return PictureStatus::Stopped;
  if (!picture.Reset(contents.CanvasWidth, contents.CanvasHeight)) return PictureStatus::TooLarge;
  Canvas canvas(picture, contents.HasTransparency ? contents.TransparentColor : contents.Background);
  if (frame.Width <= 0 || frame.Height <= 0) {
    if (!SkipImageData(gif)) return PictureStatus::Damaged;
    canvas.Finish();
    return PictureStatus::Ok;
  }

  const std::array<uint8_t, 256 * 3> bgr = FrameColours(gif);
  const std::vector<int> order = RowOrder(frame.Height, frame.Interlace);
  std::vector<GifPixelType> line(size_t(frame.Width));
  for (int i = 0; i < frame.Height; ++i) {
    if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) return PictureStatus::Damaged;
    uint8_t* p = canvas.Row(frame.Top + order[size_t(i)]) + size_t(frame.Left) * 3;
    for (int x = 0; x < frame.Width; ++x, p += 3) {
      const int index = line[size_t(x)];
      if (index == transparentIndex) continue;
      p[0] = bgr[3 * index];
      p[1] = bgr[3 * index + 1];
      p[2] = bgr[3 * index + 2];
    }
    if (!rows.Row(i + 1)) return PictureStatus::Stopped;
  }
  canvas.Finish();
  return PictureStatus::Ok;
}

// Opens the decoder on the reader's data and reads the screen's version and
// background colour.
PictureStatus OpenGif(MemoryReader& reader, DecoderHandle& handle, GifContents& contents) {
  if (!ProbeGif(reader.data, reader.data.size())) return PictureStatus::Damaged;
  int error = 0;
  handle.gif = DGifOpen(&reader, ReadFromMemory, &error);
  if (!handle.gif) return error == D_GIF_ERR_NOT_ENOUGH_MEM ? PictureStatus::TooLarge : PictureStatus::Damaged;
  contents.Version.assign(reinterpret_cast<const char*>(reader.data.data()), 6);
  contents.Background = MapColor(handle.gif->SColorMap, handle.gif->SBackGroundColor);
  return PictureStatus::Ok;
}

// Walks every record of the file, counting frames; with a canvas, draws the
// first frame on it. A damaged record after the first frame ends the walk.
PictureStatus ReadGifFile(Bytes data, const DecodeLimits& limits, GifContents& contents, Bitmap* canvas,
                          const ProgressRecord& progress) {
  MemoryReader reader{data};
  DecoderHandle handle;
  if (const PictureStatus opened = OpenGif(reader, handle, contents); opened != PictureStatus::Ok) return opened;
  GifFileType* gif = handle.gif;
  int transparentIndex = -1;  // from the control block before the first frame
  bool firstDone = false;
  for (bool more = true; more;) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif, &record) == GIF_ERROR) {
      if (!firstDone) return PictureStatus::Damaged;
      break;
    }
    switch (record) {
      case IMAGE_DESC_RECORD_TYPE: {
        if (DGifGetImageHeader(gif) == GIF_ERROR) {
          if (!firstDone) return PictureStatus::Damaged;
          more = false;
          break;
        }
        ++contents.Frames;
        if (firstDone) {
          more = SkipImageData(gif);
          break;
        }
        const GifImageDesc& frame = gif->Image;
        const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
        const bool empty = frame.Width <= 0 || frame.Height <= 0;
        contents.CanvasWidth = empty ? gif->SWidth : std::max(gif->SWidth, frame.Left + frame.Width);
        contents.CanvasHeight = empty ? gif->SHeight : std::max(gif->SHeight, frame.Top + frame.Height);
        contents.Interlaced = frame.Interlace;
        contents.BitsPerPixel = map ? map->BitsPerPixel : 8;
        contents.HasTransparency = transparentIndex >= 0;
        contents.TransparentColor = contents.HasTransparency ? MapColor(map, transparentIndex) : clBlack;
        if (const PictureStatus size = CheckSize(contents.CanvasWidth, contents.CanvasHeight, limits);
            size != PictureStatus::Ok) {
          return size;
        }
        // A frame larger than what is left of the file could code: cut short.
        if (!empty && uint64_t(frame.Width) * uint64_t(frame.Height) > MostLzwPixels(data.size() - reader.position)) {
          return PictureStatus::Damaged;
        }
        // The screen around the frame costs the file nothing; its size is held against the file's.
        if (const PictureStatus size = CheckProportion(contents.CanvasWidth, contents.CanvasHeight, data.size());
            canvas && size != PictureStatus::Ok) {
          return size;
        }
        if (canvas) {
          if (const PictureStatus drawn = DrawFirstFrame(gif, contents, transparentIndex, *canvas, progress);
              drawn != PictureStatus::Ok) {
            return drawn;
          }
        } else if (!SkipImageData(gif)) {
          return PictureStatus::Damaged;
        }
        firstDone = true;
        break;
      }
      case EXTENSION_RECORD_TYPE: {
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) {
          if (!firstDone) return PictureStatus::Damaged;
          more = false;
          break;
        }
        if (!firstDone && code == GRAPHICS_EXT_FUNC_CODE && block) {
          GraphicsControlBlock control{};
          if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
            transparentIndex = control.TransparentColor;
          }
        }
        while (block && more) {
          if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) {
            if (!firstDone) return PictureStatus::Damaged;
            more = false;
          }
        }
        break;
      }
      case TERMINATE_RECORD_TYPE: more = false; break;
      default:
        if (!firstDone) return PictureStatus::Damaged;
        more = false;
        break;
    }
  }
  if (!firstDone) return PictureStatus::Damaged;
  contents.Consumed = reader.position;
  return PictureStatus::Ok;
}

// ---- Playing an animation ------------------------------------------------

struct FrameRect {
  int Left = 0, Top = 0, Width = 0, Height = 0;
};

void FillRect(Bitmap& picture, const FrameRect& r, TColor colour) {
  for (int y = r.Top; y < r.Top + r.Height; ++y) {
    uint8_t* p = picture.Row(y) + size_t(r.Left) * 3;
    for (int x = 0; x < r.Width; ++x, p += 3) {
      p[0] = BlueOf(colour);
      p[1] = GreenOf(colour);
      p[2] = RedOf(colour);
    }
  }
}

// Copies the rectangle between a picture and a rectangle-sized store.
void SaveRect(const Bitmap& picture, const FrameRect& r, Bitmap& store) {
  for (int y = 0; y < r.Height; ++y) {
    std::memcpy(store.Row(y), picture.Row(r.Top + y) + size_t(r.Left) * 3, size_t(r.Width) * 3);
  }
}

void RestoreRect(const Bitmap& store, const FrameRect& r, Bitmap& picture) {
  for (int y = 0; y < r.Height; ++y) {
    std::memcpy(picture.Row(r.Top + y) + size_t(r.Left) * 3, store.Row(y), size_t(r.Width) * 3);
  }
}

// The canvas of the animation, one frame after another. The screen grows to
// take in the first frame as DecodeGif's picture does; later frames are cut
// to it.
class Animation {
 public:
  Animation(GifFileType* gif, GifContents& contents) : gif_(gif), contents_(contents) {}

  // Everything known once the first frame's header is read.
  PictureStatus Start(const DecodeLimits& limits, size_t fileBytes) {
    const GifImageDesc& frame = gif_->Image;
    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif_->SColorMap;
    const bool empty = frame.Width <= 0 || frame.Height <= 0;
    contents_.CanvasWidth = empty ? gif_->SWidth : std::max(gif_->SWidth, frame.Left + frame.Width);
    contents_.CanvasHeight = empty ? gif_->SHeight : std::max(gif_->SHeight, frame.Top + frame.Height);
    contents_.Interlaced = frame.Interlace;
    contents_.BitsPerPixel = map ? map->BitsPerPixel : 8;
    contents_.HasTransparency = control_.TransparentColor >= 0;
    contents_.TransparentColor = contents_.HasTransparency ? MapColor(map, control_.TransparentColor) : clBlack;
    if (const PictureStatus size = CheckSize(contents_.CanvasWidth, contents_.CanvasHeight, limits);
        size != PictureStatus::Ok) {
      return size;
    }
    if (const PictureStatus size = CheckProportion(contents_.CanvasWidth, contents_.CanvasHeight, fileBytes);
        size != PictureStatus::Ok) {
      return size;
    }
    if (!canvas_.Reset(contents_.CanvasWidth, contents_.CanvasHeight)) return PictureStatus::TooLarge;
    fill_ = contents_.HasTransparency ? contents_.TransparentColor : contents_.Background;
    canvas_.Fill(fill_);
    return PictureStatus::Ok;
  }

  void SetControl(const GraphicsControlBlock& control) { control_ = control; }

  // Disposes of the previous frame and draws the one whose header was just
  // read; false when its data is damaged.
  bool DrawFrame() {
    if (disposal_ == DISPOSE_BACKGROUND) FillRect(canvas_, last_, fill_);
    if (disposal_ == DISPOSE_PREVIOUS && saved_.Width() == last_.Width && saved_.Height() == last_.Height) {
      RestoreRect(saved_, last_, canvas_);
    }
    const GifImageDesc& frame = gif_->Image;
    FrameRect shown;
    shown.Left = std::min(frame.Left, canvas_.Width());
    shown.Top = std::min(frame.Top, canvas_.Height());
    shown.Width = std::clamp(frame.Width, 0, canvas_.Width() - shown.Left);
    shown.Height = std::clamp(frame.Height, 0, canvas_.Height() - shown.Top);
    disposal_ = control_.DisposalMode;
    last_ = shown;
    if (disposal_ == DISPOSE_PREVIOUS) {
      if (saved_.Reset(std::max(shown.Width, 1), std::max(shown.Height, 1))) SaveRect(canvas_, shown, saved_);
    }
    const int transparent = control_.TransparentColor;
    control_ = GraphicsControlBlock{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    if (frame.Width <= 0 || frame.Height <= 0) return SkipImageData(gif_);

    const std::array<uint8_t, 256 * 3> bgr = FrameColours(gif_);
    const std::vector<int> order = RowOrder(frame.Height, frame.Interlace);
    std::vector<GifPixelType> line(size_t(frame.Width));
    for (int i = 0; i < frame.Height; ++i) {
      if (DGifGetLine(gif_, line.data(), frame.Width) == GIF_ERROR) return false;
      const int y = frame.Top + order[size_t(i)];
      if (y >= canvas_.Height()) continue;
      uint8_t* p = canvas_.Row(y) + size_t(shown.Left) * 3;
      for (int x = 0; x < shown.Width; ++x, p += 3) {
        const int index = line[size_t(shown.Left - frame.Left + x)];
        if (index == transparent) continue;
        p[0] = bgr[3 * index];
        p[1] = bgr[3 * index + 1];
        p[2] = bgr[3 * index + 2];
      }
    }
    return true;
  }

  const Bitmap& Canvas() const { return canvas_; }
  // The delay of the control block in force, in milliseconds.
  int DelayMs() const { return control_.DelayTime * 10; }

 private:
  GifFileType* gif_;
  GifContents& contents_;
  GraphicsControlBlock control_{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
  Bitmap canvas_;
  TColor fill_ = clBlack;
  int disposal_ = DISPOSAL_UNSPECIFIED;
  FrameRect last_;
  Bitmap saved_;
};

// Walks the file, handing each frame to `take` as it is drawn. A damaged
// record after the first frame ends the animation.
PictureStatus PlayGifFile(Bytes data, const DecodeLimits& limits, const ProgressRecord& progress,
                          const GifFrameSink& take, GifContents& contents) {
  MemoryReader reader{data};
  DecoderHandle handle;
  if (const PictureStatus opened = OpenGif(reader, handle, contents); opened != PictureStatus::Ok) return opened;
  GifFileType* gif = handle.gif;
  Animation animation(gif, contents);
  const auto ended = [&] { return contents.Frames > 0 ? PictureStatus::Ok : PictureStatus::Damaged; };
  if (!progress.Aborted()) progress.Report(0);
  for (;;) {
    if (progress.Aborted()) return PictureStatus::Stopped;
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif, &record) == GIF_ERROR) return ended();
    if (record == TERMINATE_RECORD_TYPE) break;
    if (record == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return ended();
      if (code == GRAPHICS_EXT_FUNC_CODE && block) {
        GraphicsControlBlock control{};
        if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) animation.SetControl(control);
      }
      while (block) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return ended();
      }
      continue;
    }
    if (record != IMAGE_DESC_RECORD_TYPE || DGifGetImageHeader(gif) == GIF_ERROR) return ended();
    const GifImageDesc& frame = gif->Image;
    // A frame larger than what is left of the file could code: cut short.
    if (frame.Width > 0 && frame.Height > 0 &&
        uint64_t(frame.Width) * uint64_t(frame.Height) > MostLzwPixels(data.size() - reader.position)) {
      return ended();
    }
    if (contents.Frames == 0) {
      const PictureStatus started = animation.Start(limits, data.size());
      if (started != PictureStatus::Ok) return started;
    }
    const int delay = animation.DelayMs();
    if (!animation.DrawFrame()) return ended();
    ++contents.Frames;
    contents.Consumed = reader.position;
    progress.Report(int(uint64_t(reader.position) * 100 / data.size()));
    if (progress.Aborted()) return PictureStatus::Stopped;
    if (!take(animation.Canvas(), delay)) return PictureStatus::Ok;
  }
  if (contents.Frames == 0) return PictureStatus::Damaged;
  contents.Consumed = reader.position;
  return PictureStatus::Ok;
}

// ---- Quantising ----------------------------------------------------------

constexpr TColor PixelColor(const uint8_t* bgr) { return Rgb(bgr[2], bgr[1], bgr[0]); }

// The picture's own colours when there are at most maxColors of them.
bool ExactColors(const Bitmap& picture, int maxColors, const TColor* reserved, IndexedPicture& result) {
  // Open addressing over 1024 slots keeps the table sparse for 256 colours.
  constexpr uint32_t kEmpty = 0xFFFFFFFF;
  std::array<uint32_t, 1024> keys;
  std::array<uint8_t, 1024> indexes{};
  keys.fill(kEmpty);
  const auto slotOf = [&keys](TColor c) {
    uint32_t slot = (c * 2654435761u) >> 22;
    while (keys[slot] != kEmpty && keys[slot] != c) slot = (slot + 1) & 1023;
    return slot;
  };
  const auto add = [&](TColor c, uint32_t slot) {
    if (int(result.Palette.size()) >= maxColors) return false;
    keys[slot] = c;
    indexes[slot] = uint8_t(result.Palette.size());
    result.Palette.push_back(c);
    return true;
  };
  if (reserved) add(*reserved, slotOf(*reserved));

  const int width = picture.Width(), height = picture.Height();
  result.Pixels.resize(size_t(width) * height);
  uint8_t* out = result.Pixels.data();
  TColor last = kEmpty;
  uint8_t lastIndex = 0;
  for (int y = 0; y < height; ++y) {
    const uint8_t* p = picture.Row(y);
    for (int x = 0; x < width; ++x, p += 3) {
      const TColor c = PixelColor(p);
      if (c != last) {
        const uint32_t slot = slotOf(c);
        if (keys[slot] == kEmpty && !add(c, slot)) return false;
        last = c;
        lastIndex = indexes[slot];
      }
      *out++ = lastIndex;
    }
  }
  return true;
}

// Median cut over a histogram of 5 bits a channel.
constexpr int kLevels = 32;
constexpr int BinOf(unsigned r, unsigned g, unsigned b) { return int((r >> 3) << 10 | (g >> 3) << 5 | (b >> 3)); }

struct Bin {
  uint64_t count = 0;
  uint64_t red = 0, green = 0, blue = 0;
};

struct Box {
  std::array<int, 3> lo{0, 0, 0};  // red, green, blue levels, inclusive
  std::array<int, 3> hi{kLevels - 1, kLevels - 1, kLevels - 1};
  uint64_t count = 0;

  int LongestAxis() const {
    int axis = 0;
    for (int a = 1; a < 3; ++a) {
      if (hi[a] - lo[a] > hi[axis] - lo[axis]) axis = a;
    }
    return axis;
  }
  int Side(int axis) const { return hi[axis] - lo[axis]; }
};

template <class Visit>
void ForEachBin(const Box& box, Visit&& visit) {
  for (int r = box.lo[0]; r <= box.hi[0]; ++r) {
    for (int g = box.lo[1]; g <= box.hi[1]; ++g) {
      for (int b = box.lo[2]; b <= box.hi[2]; ++b) visit(r, g, b, r << 10 | g << 5 | b);
    }
  }
}

// Narrows a box to the bins that hold pixels and counts them.
void Shrink(Box& box, const std::vector<Bin>& bins) {
  std::array<int, 3> lo{kLevels, kLevels, kLevels}, hi{-1, -1, -1};
  uint64_t count = 0;
  ForEachBin(box, [&](int r, int g, int b, int bin) {
    if (!bins[size_t(bin)].count) return;
    count += bins[size_t(bin)].count;
    const int level[3] = {r, g, b};
    for (int a = 0; a < 3; ++a) {
      lo[a] = std::min(lo[a], level[a]);
      hi[a] = std::max(hi[a], level[a]);
    }
  });
  box.count = count;
  if (count) {
    box.lo = lo;
    box.hi = hi;
  }
}

// Splits along the longest side where half the pixels lie on each part.
std::pair<Box, Box> Split(const Box& box, const std::vector<Bin>& bins) {
  const int axis = box.LongestAxis();
  std::array<uint64_t, kLevels> perLevel{};
  ForEachBin(box, [&](int r, int g, int b, int bin) {
    const int level[3] = {r, g, b};
    perLevel[size_t(level[axis])] += bins[size_t(bin)].count;
  });
  int cut = box.lo[axis];
  uint64_t below = perLevel[size_t(cut)];
  while (cut < box.hi[axis] - 1 && below * 2 < box.count) below += perLevel[size_t(++cut)];
  Box low = box, high = box;
  low.hi[axis] = cut;
  high.lo[axis] = cut + 1;
  Shrink(low, bins);
  Shrink(high, bins);
  return {low, high};
}

TColor MeanColor(const Box& box, const std::vector<Bin>& bins) {
  uint64_t red = 0, green = 0, blue = 0, count = 0;
  ForEachBin(box, [&](int, int, int, int bin) {
    const Bin& b = bins[size_t(bin)];
    red += b.red;
    green += b.green;
    blue += b.blue;
    count += b.count;
  });
  if (!count) return clBlack;
  return Rgb(uint8_t((red + count / 2) / count), uint8_t((green + count / 2) / count),
             uint8_t((blue + count / 2) / count));
}

int DistanceSquared(TColor a, TColor b) {
  const int dr = int(RedOf(a)) - RedOf(b), dg = int(GreenOf(a)) - GreenOf(b), db = int(BlueOf(a)) - BlueOf(b);
  return dr * dr + dg * dg + db * db;
}

struct OccupiedBin {
  int Index;
  TColor Mean;
  uint64_t Count;
  uint8_t Entry = 0;  // the palette entry nearest to the mean
};

std::vector<OccupiedBin> OccupiedBins(const std::vector<Bin>& bins) {
  std::vector<OccupiedBin> occupied;
  for (size_t i = 0; i < bins.size(); ++i) {
    const Bin& b = bins[i];
    if (!b.count) continue;
    occupied.push_back({int(i),
                        Rgb(uint8_t(b.red / b.count), uint8_t(b.green / b.count), uint8_t(b.blue / b.count)),
                        b.count});
  }
  return occupied;
}

uint8_t NearestEntry(const std::vector<TColor>& palette, size_t first, TColor color) {
  size_t best = first;
  int bestDistance = DistanceSquared(color, palette[first]);
  for (size_t i = first + 1; i < palette.size() && bestDistance > 0; ++i) {
    const int distance = DistanceSquared(color, palette[i]);
    if (distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return uint8_t(best);
}

// Median cut places the entries roughly; a few rounds of moving each entry
// to the mean of the bins nearest to it (k-means over the histogram) fit
// them to the picture. Entries before `first` stay as they are. Returns the
// entry each bin maps to.
constexpr int kRefinementRounds = 3;

std::vector<uint8_t> RefineAndMap(const std::vector<Bin>& bins, std::vector<TColor>& palette, size_t first) {
  std::vector<OccupiedBin> occupied = OccupiedBins(bins);
  for (int round = 0; round < kRefinementRounds; ++round) {
    std::vector<Bin> sums(palette.size());
    for (OccupiedBin& b : occupied) {
      b.Entry = NearestEntry(palette, first, b.Mean);
      const Bin& source = bins[size_t(b.Index)];
      Bin& sum = sums[b.Entry];
      sum.count += source.count;
      sum.red += source.red;
      sum.green += source.green;
      sum.blue += source.blue;
    }
    for (size_t i = first; i < palette.size(); ++i) {
      const Bin& sum = sums[i];
      if (!sum.count) continue;
      palette[i] = Rgb(uint8_t((sum.red + sum.count / 2) / sum.count), uint8_t((sum.green + sum.count / 2) / sum.count),
                       uint8_t((sum.blue + sum.count / 2) / sum.count));
    }
  }
  std::vector<uint8_t> nearest(bins.size(), uint8_t(first));
  for (const OccupiedBin& b : occupied) nearest[size_t(b.Index)] = NearestEntry(palette, first, b.Mean);
  return nearest;
}

IndexedPicture MedianCut(const Bitmap& picture, int maxColors, const TColor* reserved) {
  const int width = picture.Width(), height = picture.Height();
  std::vector<Bin> bins(kLevels * kLevels * kLevels);
  for (int y = 0; y < height; ++y) {
    const uint8_t* p = picture.Row(y);
    for (int x = 0; x < width; ++x, p += 3) {
      if (reserved && PixelColor(p) == *reserved) continue;
      Bin& bin = bins[size_t(BinOf(p[2], p[1], p[0]))];
      ++bin.count;
      bin.red += p[2];
      bin.green += p[1];
      bin.blue += p[0];
    }
  }

  const int boxLimit = reserved ? maxColors - 1 : maxColors;
  std::vector<Box> boxes(1);
  Shrink(boxes[0], bins);
  if (!boxes[0].count) boxes.clear();
  while (int(boxes.size()) < boxLimit) {
    // The box with the most pixels times its longest side is split next.
    int chosen = -1;
    uint64_t bestScore = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
      const uint64_t score = boxes[i].count * uint64_t(boxes[i].Side(boxes[i].LongestAxis()));
      if (score > bestScore) {
        bestScore = score;
        chosen = int(i);
      }
    }
    if (chosen < 0) break;
    auto [low, high] = Split(boxes[size_t(chosen)], bins);
    boxes[size_t(chosen)] = low;
    boxes.push_back(high);
  }

  IndexedPicture result;
  if (reserved) result.Palette.push_back(*reserved);
  const size_t first = result.Palette.size();
  for (const Box& box : boxes) result.Palette.push_back(MeanColor(box, bins));
  if (result.Palette.size() == first) result.Palette.push_back(clBlack);
  const std::vector<uint8_t> nearest = RefineAndMap(bins, result.Palette, first);

  result.Pixels.resize(size_t(width) * height);
  uint8_t* out = result.Pixels.data();
  for (int y = 0; y < height; ++y) {
    const uint8_t* p = picture.Row(y);
    for (int x = 0; x < width; ++x, p += 3) {
      *out++ = reserved && PixelColor(p) == *reserved ? 0 : nearest[size_t(BinOf(p[2], p[1], p[0]))];
    }
  }
  return result;
}

// ---- Writing -------------------------------------------------------------

struct StreamWriter {
  Stream* stream;
  PictureStatus failure = PictureStatus::Ok;
};

// A short count tells giflib the write failed; no exception may pass
// through its frames.
int WriteToStream(GifFileType* gif, const GifByteType* buffer, int length) {
  auto* writer = static_cast<StreamWriter*>(gif->UserData);
  try {
    writer->stream->Write(buffer, size_t(length));
  } catch (const FileError&) {
    writer->failure = PictureStatus::Unwritable;
    return 0;
  } catch (const std::bad_alloc&) {
    writer->failure = PictureStatus::TooLarge;
    return 0;
  }
  return length;
}

// What a decode tells of the file: the picture is the screen in 24 bits.
void FillParams(const GifContents& contents, TImgIOParams& params) {
  params.Width = contents.CanvasWidth;
  params.Height = contents.CanvasHeight;
  params.BitsPerSample = 8;
  params.SamplesPerPixel = 3;
  params.GifVersion = contents.Version;
  params.GifBackground = contents.Background;
  params.GifHasTransparency = contents.HasTransparency;
  params.GifTransparentColor = contents.TransparentColor;
  params.GifImageCount = contents.Frames;
  params.GifInterlaced = contents.Interlaced;
}

PictureStatus TryDecode(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                        size_t& consumed) {
  if (!params.Lzw.GifDecoder) return PictureStatus::Unsupported;
  GifContents contents;
  Bitmap canvas;
  if (const PictureStatus read = ReadGifFile(data, params.Limits, contents, &canvas, progress);
      read != PictureStatus::Ok) {
    return read;
  }
  consumed = contents.Consumed;
  FillParams(contents, params);
  out = std::move(canvas);
  return PictureStatus::Ok;
}

PictureStatus TryEncode(const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress,
                        Stream& out) {
  if (in.Empty()) return PictureStatus::NoPicture;
  if (!params.Lzw.GifEncoder) return PictureStatus::Unsupported;
  Bitmap expanded;
  const Bitmap* source = &Pixels24(in, expanded);
  const int width = source->Width(), height = source->Height();
  const TColor transparent = ResolveColor(params.GifTransparentColor) & 0xFFFFFF;
  IndexedPicture indexed = QuantizePicture(*source, 256, params.GifHasTransparency ? &transparent : nullptr);

  // giflib wants a power-of-two colour table of at least two entries.
  int tableSize = 2;
  while (tableSize < int(indexed.Palette.size())) tableSize *= 2;
  std::vector<GifColorType> table(size_t(tableSize), GifColorType{0, 0, 0});
  for (size_t i = 0; i < indexed.Palette.size(); ++i) {
    const TColor c = indexed.Palette[i];
    table[i] = GifColorType{RedOf(c), GreenOf(c), BlueOf(c)};
  }
  // The background colour is the entry nearest to it, the transparent
  // entry only when it is the colour asked for.
  const TColor background = ResolveColor(params.GifBackground) & 0xFFFFFF;
  const bool backgroundIsKey = params.GifHasTransparency && background == transparent;
  const size_t firstOpaque = params.GifHasTransparency && !backgroundIsKey && indexed.Palette.size() > 1 ? 1 : 0;
  const int backgroundIndex = NearestEntry(indexed.Palette, firstOpaque, background);

  int error = 0;
  StreamWriter writer{&out};
  GifFileType* gif = EGifOpen(&writer, WriteToStream, &error);
  if (!gif) return PictureStatus::TooLarge;
  ColorMapObject* map = GifMakeMapObject(tableSize, table.data());
  bool ok = map != nullptr;
  EGifSetGifVersion(gif, true);
  ok = ok && EGifPutScreenDesc(gif, width, height, 8, backgroundIndex, map) == GIF_OK;
  GifFreeMapObject(map);
  if (ok && params.GifHasTransparency) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSAL_UNSPECIFIED;
    control.TransparentColor = 0;  // the reserved entry
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_OK;
  }
  ok = ok && EGifPutImageDesc(gif, 0, 0, width, height, params.GifInterlaced, nullptr) == GIF_OK;
  bool stopped = false;
  if (ok) {
    const std::vector<int> order = RowOrder(height, params.GifInterlaced);
    RowProgress rows(progress, height);
    stopped = !rows.Row(0);
    for (int i = 0; ok && !stopped && i < height; ++i) {
      ok = EGifPutLine(gif, indexed.Pixels.data() + size_t(order[size_t(i)]) * width, width) == GIF_OK;
      stopped = ok && !rows.Row(i + 1);
    }
  }
  // Closing writes the trailer and frees the encoder in every case.
  ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
  if (stopped) return PictureStatus::Stopped;
  if (writer.failure != PictureStatus::Ok) return writer.failure;
  return ok ? PictureStatus::Ok : PictureStatus::TooLarge;
}

}  // namespace

IndexedPicture QuantizePicture(const Bitmap& picture, int maxColors, const TColor* reserved) {
  maxColors = std::clamp(maxColors, 2, 256);
  IndexedPicture exact;
  if (ExactColors(picture, maxColors, reserved, exact)) return exact;
  return MedianCut(picture, maxColors, reserved);
}

bool ProbeGif(Bytes head, uint64_t streamSize) {
  return streamSize > 13 && head.size() >= 3 && head[0] == 'G' && head[1] == 'I' && head[2] == 'F';
}

PictureStatus InfoGif(Bytes data, PictureInfo& info) {
  GifContents contents;
  if (const PictureStatus read = ReadGifFile(data, DecodeLimits{}, contents, nullptr, ProgressRecord{});
      read != PictureStatus::Ok) {
    return read;
  }
  info = PictureInfo{};
  info.Width = contents.CanvasWidth;
  info.Height = contents.CanvasHeight;
  info.BitsPerSample = contents.BitsPerPixel;
  info.SamplesPerPixel = 1;
  info.FrameCount = contents.Frames;
  info.Interlaced = contents.Interlaced;
  return PictureStatus::Ok;
}

PictureStatus DecodeGifFrames(Bytes data, TImgIOParams& params, const ProgressRecord& progress,
                              const GifFrameSink& take) {
  return Reported(progress, [&] {
    if (!params.Lzw.GifDecoder) return PictureStatus::Unsupported;
    GifContents contents;
    const PictureStatus played = PlayGifFile(data, params.Limits, progress, take, contents);
    if (played != PictureStatus::Ok) return played;
    FillParams(contents, params);
    return PictureStatus::Ok;
  });
}

PictureStatus DecodeGif(Bytes data, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress,
                        size_t& consumed) {
  return Reported(progress, [&] { return TryDecode(data, out, params, progress, consumed); });
}

PictureStatus EncodeGif(const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress, Stream& out) {
  return ReportedWrite(progress, out, [&] { return TryEncode(in, params, progress, out); });
}

const Codec& GifCodec() {
  static const Codec codec{"GIF", iftGif, ProbeGif, InfoGif, DecodeGif, EncodeGif};
  return codec;
}

}  // namespace glamora::codec
