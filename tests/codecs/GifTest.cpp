// The GIF codec: frames drawn on the logical screen, interlacing, animation
// disposal, the LZW hooks, quantised saving, limits and damage.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <set>

#include "codecs/Gif.h"
#include "tests/codecs/CodecChecks.h"
#include "tests/codecs/LibraryCodecChecks.h"
#include "tests/codecs/MagickReference.h"

namespace glamora::test {
namespace {

using codec::GifCodec;
using File = std::vector<uint8_t>;

using GifCodecTest = WithLzwHooksInstalled;

File Encode(const Bitmap& picture, const TImgIOParams& params) {
  MemoryStream coded;
  EXPECT_EQ(codec::EncodeGif(picture, params, ProgressRecord{}, coded), PictureStatus::Ok);
  return coded.Bytes();
}

std::string Hex(TColor c) {
  char text[16];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", RedOf(c), GreenOf(c), BlueOf(c));
  return text;
}

// One frame of a hand-made file.
struct Frame {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool Interlace = false;
  std::vector<TColor> LocalColors;  // empty: the global table
  int Transparent = -1;             // index, or -1 for none
  std::vector<uint8_t> Pixels;      // Width × Height indexes, top row first
  int Disposal = DISPOSAL_UNSPECIFIED;
  int DelayCs = 0;  // hundredths of a second
};

struct GifPlan {
  int ScreenWidth = 0, ScreenHeight = 0;
  int BackgroundIndex = 0;
  std::vector<TColor> GlobalColors;  // empty: none
  bool Gif89 = true;
  std::vector<Frame> Frames;
};

int WriteToVector(GifFileType* gif, const GifByteType* buffer, int length) {
  static_cast<File*>(gif->UserData)->insert(static_cast<File*>(gif->UserData)->end(), buffer, buffer + length);
  return length;
}

ColorMapObject* MakeMap(const std::vector<TColor>& colors) {
  if (colors.empty()) return nullptr;
  int size = 2;
  while (size < int(colors.size())) size *= 2;
  std::vector<GifColorType> table(size_t(size), GifColorType{0, 0, 0});
  for (size_t i = 0; i < colors.size(); ++i) table[i] = {RedOf(colors[i]), GreenOf(colors[i]), BlueOf(colors[i])};
  return GifMakeMapObject(size, table.data());
}

// Writes the file with giflib's own encoder, rows in the order the
// interlace flag asks for.
File BuildGif(const GifPlan& plan) {
  File bytes;
  int error = 0;
  GifFileType* gif = EGifOpen(&bytes, WriteToVector, &error);
  EGifSetGifVersion(gif, plan.Gif89);
  ColorMapObject* global = MakeMap(plan.GlobalColors);
  EXPECT_EQ(EGifPutScreenDesc(gif, plan.ScreenWidth, plan.ScreenHeight, 8, plan.BackgroundIndex, global), GIF_OK);
  GifFreeMapObject(global);
  for (const Frame& f : plan.Frames) {
    if (f.Transparent >= 0 || f.Disposal != DISPOSAL_UNSPECIFIED || f.DelayCs != 0) {
      GraphicsControlBlock control{};
      control.TransparentColor = f.Transparent;
      control.DisposalMode = f.Disposal;
      control.DelayTime = f.DelayCs;
      GifByteType extension[4];
      EGifGCBToExtension(&control, extension);
      EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
    }
    ColorMapObject* local = MakeMap(f.LocalColors);
    EXPECT_EQ(EGifPutImageDesc(gif, f.Left, f.Top, f.Width, f.Height, f.Interlace, local), GIF_OK);
    GifFreeMapObject(local);
    std::vector<int> order;
    for (const auto& [start, step] : f.Interlace ? std::vector<std::pair<int, int>>{{0, 8}, {4, 8}, {2, 4}, {1, 2}}
                                                 : std::vector<std::pair<int, int>>{{0, 1}}) {
      for (int y = start; y < f.Height; y += step) order.push_back(y);
    }
    std::vector<uint8_t> pixels = f.Pixels;
    for (int y : order) EGifPutLine(gif, pixels.data() + size_t(y) * f.Width, f.Width);
  }
  EGifCloseFile(gif, &error);
  return bytes;
}

GifPlan Screen(int width, int height, int backgroundIndex, std::vector<TColor> colors, bool gif89 = true) {
  GifPlan plan;
  plan.ScreenWidth = width;
  plan.ScreenHeight = height;
  plan.BackgroundIndex = backgroundIndex;
  plan.GlobalColors = std::move(colors);
  plan.Gif89 = gif89;
  return plan;
}

Frame Rect(int left, int top, int width, int height) {
  Frame f;
  f.Left = left;
  f.Top = top;
  f.Width = width;
  f.Height = height;
  return f;
}

// A frame whose pixels count 0, 1, 2, ... modulo `colors`.
Frame CountingFrame(int left, int top, int width, int height, int colors) {
  Frame f = Rect(left, top, width, height);
  for (int i = 0; i < width * height; ++i) f.Pixels.push_back(uint8_t(i % colors));
  return f;
}

const std::vector<TColor> kFour{Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255), Rgb(255, 255, 0)};

struct Decoded {
  Bitmap Picture;
  TImgIOParams Params;
};

Decoded DecodeOk(const File& file) {
  Decoded d;
  EXPECT_TRUE(DecodeWith(GifCodec(), file, d.Picture, d.Params));
  return d;
}

// The first frame is drawn on the logical screen; the reference flattens it
// onto the same fill colour (the transparent colour when the frame has one,
// else the background colour), and the pixels agree exactly.
TEST_F(GifCodecTest, DecodesLikeImageMagick) {
  GLAMORA_REQUIRE_MAGICK();
  const std::vector<std::string> alpha{"(", "-size", "70x46", "gradient:", ")", "-alpha", "off", "-compose",
                                       "CopyOpacity", "-composite", "-channel", "A", "-threshold", "50%", "+channel"};
  std::vector<std::string> transparent{"rose:"};
  transparent.insert(transparent.end(), alpha.begin(), alpha.end());
  const struct {
    const char* Name;
    std::vector<std::string> Args;
    bool Interlaced, Transparent;
    int Frames;
  } samples[] = {
      {"Plain", {"rose:"}, false, false, 1},
      {"Interlaced", {"rose:", "-interlace", "GIF"}, true, false, 1},
      {"Transparent", transparent, false, true, 1},
      {"FrameAtOffset", {"rose:", "-crop", "30x20+10+10"}, false, false, 1},
      {"TwoColours", {"rose:", "-monochrome"}, false, false, 1},
      {"Animated", {"rose:", "(", "rose:", "-negate", ")", "(", "rose:", "-flip", ")"}, false, false, 3},
  };
  TempFolder folder;
  for (const auto& s : samples) {
    SCOPED_TRACE(s.Name);
    const std::string path = folder.File(std::string(s.Name) + ".gif");
    ASSERT_FALSE(MakeSample(s.Args, "GIF:" + path).empty());
    const Decoded d = DecodeOk(ReadAll(path));
    EXPECT_EQ(d.Params.GifImageCount, s.Frames);
    EXPECT_EQ(d.Params.GifInterlaced, s.Interlaced);
    EXPECT_EQ(d.Params.GifHasTransparency, s.Transparent);
    EXPECT_EQ(d.Params.GifVersion, "GIF89a");
    EXPECT_EQ(d.Picture.Width(), 70);
    EXPECT_EQ(d.Picture.Height(), 46);
    const TColor fill = s.Transparent ? d.Params.GifTransparentColor : d.Params.GifBackground;
    Bitmap expected;
    ASSERT_TRUE(MagickDecode(path + "[0]", expected, {"-background", Hex(fill), "-flatten"}));
    EXPECT_TRUE(SamePixels(expected, d.Picture));
  }
}

TEST_F(GifCodecTest, FrameIsDrawnOnTheScreenOverTheFillColour) {
  const struct {
    const char* Name;
    int Transparent;
    TColor Fill;
  } cases[] = {{"Background", -1, kFour[2]}, {"Transparent", 1, kFour[1]}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    GifPlan plan = Screen(10, 8, 2, kFour);
    Frame frame = CountingFrame(3, 2, 4, 3, 4);
    frame.Transparent = c.Transparent;
    plan.Frames = {frame};
    const Decoded d = DecodeOk(BuildGif(plan));
    ASSERT_EQ(d.Picture.Width(), 10);
    ASSERT_EQ(d.Picture.Height(), 8);
    EXPECT_EQ(d.Params.GifBackground, kFour[2]);
    EXPECT_EQ(d.Params.GifHasTransparency, c.Transparent >= 0);
    if (c.Transparent >= 0) {
      EXPECT_EQ(d.Params.GifTransparentColor, kFour[size_t(c.Transparent)]);
    }
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 10; ++x) {
        const bool inside = x >= 3 && x < 7 && y >= 2 && y < 5;
        const int index = inside ? ((y - 2) * 4 + (x - 3)) % 4 : -1;
        const TColor want = !inside || index == c.Transparent ? c.Fill : kFour[size_t(index)];
        EXPECT_EQ(d.Picture.Pixel(x, y), want) << x << "," << y;
      }
    }
  }
}

TEST_F(GifCodecTest, PictureGrowsToTakeInAFrameLargerThanTheScreen) {
  GifPlan plan = Screen(4, 4, 0, kFour);
  plan.Frames = {CountingFrame(2, 1, 5, 6, 4)};
  const Decoded d = DecodeOk(BuildGif(plan));
  EXPECT_EQ(d.Picture.Width(), 7);
  EXPECT_EQ(d.Picture.Height(), 7);
  EXPECT_EQ(d.Params.Width, 7);
  EXPECT_EQ(d.Picture.Pixel(6, 6), kFour[(5 * 5 + 4) % 4]);
  EXPECT_EQ(d.Picture.Pixel(0, 0), kFour[0]);
}

TEST_F(GifCodecTest, EmptyFrameLeavesTheScreenAsItIs) {
  GifPlan plan = Screen(10, 8, 3, kFour);
  plan.Frames = {Rect(0, 6000, 16, 0)};
  // giflib writes no data blocks for an empty frame; the block terminator
  // before the trailer makes the file whole.
  File file = BuildGif(plan);
  file.insert(file.end() - 1, 0x00);
  const Decoded d = DecodeOk(file);
  ASSERT_EQ(d.Picture.Width(), 10);
  ASSERT_EQ(d.Picture.Height(), 8);
  EXPECT_EQ(d.Picture.Pixel(9, 7), kFour[3]);
}

TEST_F(GifCodecTest, InterlacedRowsArePutInPlace) {
  for (int height : {1, 2, 3, 5, 8, 9, 17}) {
    GifPlan plan = Screen(3, height, 0, {});
    std::vector<TColor> grey;
    for (int i = 0; i < 32; ++i) grey.push_back(Rgb(uint8_t(i * 8), uint8_t(i * 8), uint8_t(i * 8)));
    plan.GlobalColors = grey;
    Frame plain = Rect(0, 0, 3, height);
    for (int y = 0; y < height; ++y) plain.Pixels.insert(plain.Pixels.end(), {uint8_t(y), uint8_t(y), uint8_t(y)});
    Frame interlaced = plain;
    interlaced.Interlace = true;
    plan.Frames = {plain};
    const Decoded a = DecodeOk(BuildGif(plan));
    plan.Frames = {interlaced};
    const Decoded b = DecodeOk(BuildGif(plan));
    EXPECT_TRUE(a.Picture.SameContent(b.Picture)) << "height " << height;
    EXPECT_TRUE(b.Params.GifInterlaced);
    EXPECT_EQ(b.Picture.Pixel(1, height - 1), grey[size_t(height - 1)]);
  }
}

TEST_F(GifCodecTest, LocalColourTableAndVersionAreRead) {
  GifPlan plan = Screen(2, 1, 0, kFour, false);
  Frame frame = CountingFrame(0, 0, 2, 1, 2);
  frame.LocalColors = {Rgb(10, 20, 30), Rgb(40, 50, 60)};
  plan.Frames = {frame};
  const Decoded d = DecodeOk(BuildGif(plan));
  EXPECT_EQ(d.Params.GifVersion, "GIF87a");
  EXPECT_EQ(d.Picture.Pixel(1, 0), Rgb(40, 50, 60));
  EXPECT_EQ(d.Params.GifBackground, kFour[0]);
}

// Every frame is counted; a record damaged after the first frame ends the
// count but keeps the picture.
TEST_F(GifCodecTest, FramesAreCounted) {
  GifPlan plan = Screen(4, 4, 0, kFour);
  plan.Frames = {CountingFrame(0, 0, 4, 4, 4), CountingFrame(1, 1, 2, 2, 3), CountingFrame(0, 0, 4, 4, 2),
                 CountingFrame(0, 0, 1, 1, 1)};
  const File file = BuildGif(plan);
  EXPECT_EQ(DecodeOk(file).Params.GifImageCount, 4);
  codec::PictureInfo info;
  ASSERT_EQ(codec::InfoGif(file, info), PictureStatus::Ok);
  EXPECT_EQ(info.FrameCount, 4);

  plan.Frames.resize(1);
  const size_t firstFrameEnds = BuildGif(plan).size() - 1;  // before the trailer
  File cut = file;
  cut.resize(firstFrameEnds + 5);  // inside the second frame's descriptor
  const Decoded d = DecodeOk(cut);
  EXPECT_EQ(d.Params.GifImageCount, 1);
  EXPECT_TRUE(d.Picture.SameContent(DecodeOk(file).Picture));
}

// Frames as an animation shows them: each drawn over what the previous one
// left after its disposal: left in place, cleared to the fill colour, or
// restored to what lay beneath it.
TEST_F(GifCodecTest, AnimationFramesAreDrawnOverTheDisposedPrevious) {
  GifPlan plan = Screen(4, 4, 3, kFour);
  Frame base = CountingFrame(0, 0, 4, 4, 2);  // red and green
  base.DelayCs = 7;
  Frame cleared = Rect(1, 1, 2, 2);
  cleared.Pixels = {2, 2, 2, 0};  // blue, one pixel transparent
  cleared.Transparent = 0;
  cleared.Disposal = DISPOSE_BACKGROUND;
  Frame restored = Rect(0, 0, 1, 1);
  restored.Pixels = {2};
  restored.Disposal = DISPOSE_PREVIOUS;
  restored.DelayCs = 50;
  Frame last = Rect(3, 3, 1, 1);
  last.Pixels = {3};
  plan.Frames = {base, cleared, restored, last};
  const File file = BuildGif(plan);

  std::vector<Bitmap> shown;
  std::vector<int> delays;
  TImgIOParams params;
  ASSERT_EQ(codec::DecodeGifFrames(file, params, ProgressRecord{},
                                   [&](const Bitmap& picture, int delayMs) {
                                     shown.emplace_back().Assign(picture);
                                     delays.push_back(delayMs);
                                     return true;
                                   }),
            PictureStatus::Ok);
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(delays, (std::vector<int>{70, 0, 500, 0}));
  EXPECT_EQ(params.GifImageCount, 4);
  EXPECT_TRUE(shown[0].SameContent(DecodeOk(file).Picture));

  const TColor red = kFour[0], green = kFour[1], blue = kFour[2], yellow = kFour[3];
  // The screen's fill colour is its background entry, yellow.
  EXPECT_EQ(shown[1].Pixel(1, 1), blue);
  EXPECT_EQ(shown[1].Pixel(2, 2), red) << "a transparent pixel shows the frame beneath";
  EXPECT_EQ(shown[2].Pixel(1, 1), yellow) << "cleared to the fill colour";
  EXPECT_EQ(shown[2].Pixel(2, 2), yellow);
  EXPECT_EQ(shown[2].Pixel(0, 0), blue);
  EXPECT_EQ(shown[3].Pixel(0, 0), red) << "restored to what lay beneath";
  EXPECT_EQ(shown[3].Pixel(1, 0), green);
  EXPECT_EQ(shown[3].Pixel(3, 3), yellow);

  // The sink stops the animation; a damaged record ends it after the whole frames.
  int taken = 0;
  EXPECT_EQ(codec::DecodeGifFrames(file, params, ProgressRecord{}, [&](const Bitmap&, int) { return ++taken < 2; }),
            PictureStatus::Ok);
  EXPECT_EQ(taken, 2);
  File cut = file;
  cut.resize(cut.size() - 6);  // inside the last frame
  taken = 0;
  EXPECT_EQ(codec::DecodeGifFrames(cut, params, ProgressRecord{}, [&](const Bitmap&, int) { return ++taken > 0; }),
            PictureStatus::Ok);
  EXPECT_EQ(taken, 3);
  cut.resize(30);  // before the first frame is whole
  bool aborting = false;
  ProgressRecord progress;
  progress.Aborting = &aborting;
  EXPECT_EQ(codec::DecodeGifFrames(cut, params, progress, [](const Bitmap&, int) { return true; }),
            PictureStatus::Damaged);
  EXPECT_TRUE(aborting);
}

TEST_F(GifCodecTest, NothingIsCodedWithoutTheLzwHooks) {
  const File file = Encode(SmoothPicture(8, 8), TImgIOParams{});
  TImgIOParams noDecoder;
  noDecoder.Lzw.GifDecoder = false;
  EXPECT_TRUE(FailsLeavingOutputAlone(GifCodec(), file, noDecoder));
  codec::PictureInfo info;
  EXPECT_EQ(codec::InfoGif(file, info), PictureStatus::Ok);

  TImgIOParams noEncoder;
  noEncoder.Lzw.GifEncoder = false;
  MemoryStream out(File{7});
  out.Seek(1);
  bool aborting = false;
  ProgressRecord progress;
  progress.Aborting = &aborting;
  EXPECT_EQ(codec::EncodeGif(SmoothPicture(8, 8), noEncoder, progress, out), PictureStatus::Unsupported);
  EXPECT_EQ(out.Bytes(), File{7});
  EXPECT_TRUE(aborting);
}

// A picture of `count` distinct colours in a row.
Bitmap DistinctColours(int count) {
  Bitmap b(count, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < count; ++x) b.SetPixel(x, y, Rgb(uint8_t(x), uint8_t(255 - x), uint8_t(x * 7 % 256)));
  }
  return b;
}

TEST_F(GifCodecTest, FewColoursAreSavedExactly) {
  GLAMORA_REQUIRE_MAGICK();
  Bitmap bilevel(13, 5, PixelFormat::Bits1);
  bilevel.Row(2)[0] = 0xAA;
  Bitmap bilevel24;
  bilevel24.Assign(bilevel);
  bilevel24.ConvertTo24();
  const struct {
    const char* Name;
    Bitmap Picture, Expected;
    bool Interlaced;
  } cases[] = {{"OneColour", Checkerboard(5, 5, 5), Checkerboard(5, 5, 5), false},
               {"Bilevel", bilevel, bilevel24, false},
               {"Colours100", DistinctColours(100), DistinctColours(100), true},
               {"Colours256", DistinctColours(256), DistinctColours(256), false}};
  TempFolder folder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TImgIOParams save;
    save.GifInterlaced = c.Interlaced;
    const File file = Encode(c.Picture, save);
    const Decoded d = DecodeOk(file);
    EXPECT_TRUE(SamePixels(c.Expected, d.Picture));
    EXPECT_EQ(d.Params.GifInterlaced, c.Interlaced);
    EXPECT_EQ(d.Params.GifVersion, "GIF89a");
    const std::string path = folder.File("saved.gif");
    WriteAll(path, file);
    EXPECT_TRUE(MatchesMagick(GifCodec(), path));
  }
}

void WritePpm(const std::string& path, const Bitmap& picture) {
  const std::string header = "P6 " + std::to_string(picture.Width()) + " " + std::to_string(picture.Height()) + " 255\n";
  File bytes(header.begin(), header.end());
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      const TColor c = picture.Pixel(x, y);
      bytes.insert(bytes.end(), {RedOf(c), GreenOf(c), BlueOf(c)});
    }
  }
  WriteAll(path, bytes);
}

// The palette fits the picture at least as well as convert's own reduction
// to 256 colours without dithering.
TEST_F(GifCodecTest, ManyColoursAreQuantisedClosely) {
  GLAMORA_REQUIRE_MAGICK();
  TempFolder folder;
  const Bitmap original = SmoothPicture(160, 120);
  WritePpm(folder.File("original.ppm"), original);
  Bitmap reference;
  ASSERT_TRUE(MagickDecode(folder.File("original.ppm"), reference, {"+dither", "-colors", "256"}));
  const File file = Encode(original, TImgIOParams{});
  const Decoded d = DecodeOk(file);
  EXPECT_LE(MeanAbsoluteError(original, d.Picture), MeanAbsoluteError(original, reference));
  std::set<TColor> used;
  for (int y = 0; y < d.Picture.Height(); ++y) {
    for (int x = 0; x < d.Picture.Width(); ++x) used.insert(d.Picture.Pixel(x, y));
  }
  EXPECT_LE(used.size(), 256u);
  EXPECT_GT(used.size(), 200u);
  WriteAll(folder.File("q.gif"), file);
  EXPECT_TRUE(MatchesMagick(GifCodec(), folder.File("q.gif")));
}

// Exactly the pixels of the transparent colour become transparent, also
// when the rest of the picture is quantised.
TEST_F(GifCodecTest, TransparentColourIsWritten) {
  GLAMORA_REQUIRE_MAGICK();
  const TColor key = Rgb(250, 0, 250);
  for (bool manyColours : {false, true}) {
    SCOPED_TRACE(manyColours);
    Bitmap picture = manyColours ? SmoothPicture(64, 48) : DistinctColours(64);
    for (int x = 0; x < picture.Width(); x += 3) picture.SetPixel(x, 1, key);
    picture.SetPixel(1, 2, Rgb(250, 0, 249));  // near the key, but not it
    TImgIOParams save;
    save.GifHasTransparency = true;
    save.GifTransparentColor = key;
    save.GifBackground = picture.Pixel(5, 0);
    const File file = Encode(picture, save);
    const Decoded d = DecodeOk(file);
    EXPECT_TRUE(d.Params.GifHasTransparency);
    EXPECT_EQ(d.Params.GifTransparentColor, key);
    // The background is the opaque palette entry nearest to the colour asked for.
    const TColor asked = picture.Pixel(5, 0);
    const auto distance = [asked](TColor c) {
      const int dr = RedOf(c) - RedOf(asked), dg = GreenOf(c) - GreenOf(asked), db = BlueOf(c) - BlueOf(asked);
      return dr * dr + dg * dg + db * db;
    };
    for (int y = 0; y < d.Picture.Height(); ++y) {
      for (int x = 0; x < d.Picture.Width(); ++x) {
        if (d.Picture.Pixel(x, y) != key) {
          ASSERT_LE(distance(d.Params.GifBackground), distance(d.Picture.Pixel(x, y)));
        }
      }
    }
    if (!manyColours) {
      EXPECT_EQ(d.Params.GifBackground, asked);
    }
    TempFolder folder;
    WriteAll(folder.File("t.gif"), file);
    Bitmap opacity;
    ASSERT_TRUE(MagickDecode(folder.File("t.gif"), opacity, {"-alpha", "extract"}));
    for (int y = 0; y < picture.Height(); ++y) {
      for (int x = 0; x < picture.Width(); ++x) {
        const bool isKey = picture.Pixel(x, y) == key;
        EXPECT_EQ(opacity.Pixel(x, y), isKey ? clBlack : clWhite) << x << "," << y;
        EXPECT_EQ(d.Picture.Pixel(x, y) == key, isKey) << x << "," << y;
        if (!manyColours) {
          EXPECT_EQ(d.Picture.Pixel(x, y), picture.Pixel(x, y));
        }
      }
    }
  }
}

TEST(GifQuantizer, KeepsExactColoursUpToTheLimit) {
  const Bitmap picture = DistinctColours(16);
  const codec::IndexedPicture exact = codec::QuantizePicture(picture, 16);
  ASSERT_EQ(exact.Palette.size(), 16u);
  ASSERT_EQ(exact.Pixels.size(), 48u);
  for (int x = 0; x < 16; ++x) EXPECT_EQ(exact.Palette[exact.Pixels[size_t(x)]], picture.Pixel(x, 0));

  const codec::IndexedPicture reduced = codec::QuantizePicture(picture, 4);
  EXPECT_LE(reduced.Palette.size(), 4u);
  for (uint8_t index : reduced.Pixels) EXPECT_LT(index, reduced.Palette.size());
}

TEST(GifQuantizer, ReservedColourHasItsOwnEntry) {
  const TColor key = Rgb(0, 0, 0);
  Bitmap picture = SmoothPicture(40, 40);
  picture.SetPixel(0, 0, key);
  picture.SetPixel(1, 0, Rgb(1, 1, 1));
  const codec::IndexedPicture q = codec::QuantizePicture(picture, 16, &key);
  ASSERT_LE(q.Palette.size(), 16u);
  EXPECT_EQ(q.Palette[0], key);
  for (size_t i = 0; i < q.Pixels.size(); ++i) {
    EXPECT_EQ(q.Pixels[i] == 0, i == 0) << "pixel " << i;
  }
}

TEST_F(GifCodecTest, RejectsWhatIsNotAGifPicture) {
  GifPlan noFrame = Screen(4, 4, 0, kFour);
  GifPlan emptyScreen = Screen(0, 0, 0, kFour);
  emptyScreen.Frames = {Rect(0, 0, 0, 0)};
  const File good = Encode(SmoothPicture(8, 8), TImgIOParams{});
  const std::vector<File> inputs{
      {},
      File(good.begin(), good.begin() + 13),
      File(good.begin(), good.begin() + 40),
      {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B},
      BuildGif(noFrame),
      BuildGif(emptyScreen),
  };
  for (size_t i = 0; i < inputs.size(); ++i) {
    EXPECT_TRUE(FailsLeavingOutputAlone(GifCodec(), inputs[i])) << "input " << i;
  }
}

TEST_F(GifCodecTest, RefusesSizesOverTheLimits) {
  for (const auto& [width, height] : std::vector<std::pair<int, int>>{{30001, 1}, {20000, 20000}, {65535, 65535}}) {
    GifPlan plan = Screen(width, height, 0, kFour);
    plan.Frames = {CountingFrame(0, 0, 2, 2, 4)};
    EXPECT_TRUE(FailsLeavingOutputAlone(GifCodec(), BuildGif(plan))) << width << "x" << height;
  }
  // A frame placed far outside a small screen.
  GifPlan plan = Screen(2, 2, 0, kFour);
  plan.Frames = {CountingFrame(60000, 0, 2, 2, 4)};
  EXPECT_TRUE(FailsLeavingOutputAlone(GifCodec(), BuildGif(plan)));
}

TEST_F(GifCodecTest, ConsumedStopsAfterTheTrailer) {
  File file = Encode(SmoothPicture(8, 8), TImgIOParams{});
  const size_t length = file.size();
  file.insert(file.end(), {1, 2, 3});
  Bitmap picture;
  TImgIOParams params;
  size_t consumed = 0;
  ASSERT_EQ(codec::DecodeGif(file, picture, params, ProgressRecord{}, consumed), PictureStatus::Ok);
  EXPECT_EQ(consumed, length);
}

TEST_F(GifCodecTest, ReportsProgressAndStopsWhenAsked) {
  ExpectProgressAndAbort(GifCodec(), Encode(SmoothPicture(20, 60), TImgIOParams{}), TImgIOParams{});
}

TEST_F(GifCodecTest, SurvivesDamage) {
  GifPlan plan = Screen(12, 10, 1, kFour);
  Frame interlaced = CountingFrame(1, 1, 9, 9, 4);
  interlaced.Interlace = true;
  interlaced.Transparent = 2;
  plan.Frames = {interlaced, CountingFrame(0, 0, 12, 10, 3)};
  ExpectDamageHandled(GifCodec(), BuildGif(plan), 1, 400, 21);
  ExpectDamageHandled(GifCodec(), Encode(SmoothPicture(40, 30), TImgIOParams{}), 5, 400, 22);
  ExpectRandomInputHandled(GifCodec(), {'G', 'I', 'F', '8', '9', 'a', 16, 0, 16, 0, 0xF7, 0, 0}, 300, 23);
}

}  // namespace
}  // namespace glamora::test
