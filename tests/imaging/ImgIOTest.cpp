// The picture input/output front: attachment, choosing a loader or saver by
// extension and by content, stream positions and headers, and what a failed
// load or save leaves behind.
#include "imaging/components/ImgIO.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

#include "codecs/Registry.h"
#include "imaging/components/FormatTable.h"
#include "imaging/core/Stream.h"
#include "tests/codecs/MemoryGrowth.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

using Bytes = std::vector<uint8_t>;

// An image view or picture control as far as the front sees one.
class FakeHost final : public BitmapHost {
 public:
  explicit FakeHost(bool isView = true) : isView_(isView) {}
  ~FakeHost() override { NotifyDestroyed(); }

  Bitmap* HostBitmap() override { return bitmap_; }
  void HostBitmapChanged() override { ++Changes; }
  bool IsImageView() const override { return isView_; }
  TColor HostBackground() const override { return Background; }
  void SetHostBackground(TColor color) override { Background = color; }
  void SetHostDpi(int x, int y) override {
    DpiX = x;
    DpiY = y;
  }
  int HostDpiX() const override { return DpiX; }
  int HostDpiY() const override { return DpiY; }

  // Replaces the bitmap object, as a thumbnail view does, and calls the change list.
  void ReplaceBitmap(Bitmap* bitmap) {
    bitmap_ = bitmap;
    CallBitmapChangeList();
  }

  Bitmap Own{4, 3};
  int Changes = 0;
  TColor Background = clBtnFace;
  int DpiX = 72;
  int DpiY = 72;

 private:
  bool isView_;
  Bitmap* bitmap_ = &Own;
};

// A bitmap with a recognisable pattern, to check it is left exactly as it was.
Bitmap Pattern(int width, int height) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, Rgb(uint8_t(x * 37), uint8_t(y * 53), uint8_t(x ^ y)));
  }
  return b;
}

// A table with one extra format, "RAW": two bytes width and height, then
// 24-bit pixels; it reads and writes through its hooks.
constexpr int32_t kRawId = 12;

FormatTable TableWithRaw() {
  FormatTable table = FormatTable::BuiltIn();
  FileFormat raw;
  raw.Id = kRawId;
  raw.Description = "Raw Bitmap";
  raw.Extensions = "RAW;RW";
  raw.Test = [](Stream& s) {
    uint8_t magic[3] = {};
    return s.Read(magic, 3) == 3 && magic[0] == 'R' && magic[1] == 'A' && magic[2] == 'W';
  };
  raw.Read = [](Stream& s, Bitmap& out, TImgIOParams& params, const ProgressRecord&) {
    uint8_t head[5] = {};
    if (s.Read(head, 5) != 5 || head[0] != 'R') return false;
    Bitmap b(head[3], head[4]);
    for (int y = 0; y < b.Height(); ++y) {
      if (s.Read(b.Row(y), size_t(3 * b.Width())) != size_t(3 * b.Width())) return false;
    }
    params.Width = b.Width();
    params.Height = b.Height();
    params.DpiX = 300;
    params.DpiY = 150;
    out = std::move(b);
    return true;
  };
  raw.Write = [](Stream& s, const Bitmap& in, const TImgIOParams&, const ProgressRecord&) {
    if (in.Format() != PixelFormat::Bits24 || in.Width() > 255 || in.Height() > 255) return false;
    const uint8_t head[5] = {'R', 'A', 'W', uint8_t(in.Width()), uint8_t(in.Height())};
    s.Write(head, 5);
    for (int y = 0; y < in.Height(); ++y) s.Write(in.Row(y), size_t(3 * in.Width()));
    return true;
  };
  table.Add(std::move(raw));
  return table;
}

Bytes RawPicture(const Bitmap& b) {
  Bytes bytes = {'R', 'A', 'W', uint8_t(b.Width()), uint8_t(b.Height())};
  for (int y = 0; y < b.Height(); ++y) bytes.insert(bytes.end(), b.Row(y), b.Row(y) + 3 * b.Width());
  return bytes;
}

// ------------------------------------------------------------- attachment

TEST(ImgIOAttachment, ViewGivesTheBitmapAndIsLeftOnFree) {
  TImgIO io;
  auto view = std::make_unique<FakeHost>();
  io.SetAttachedImgView(view.get());
  EXPECT_EQ(io.CurrentBitmap(), &view->Own);
  EXPECT_EQ(io.AttachedImgView(), view.get());
  EXPECT_EQ(view->ClientCount(), 1u);

  view.reset();
  EXPECT_EQ(io.AttachedImgView(), nullptr);
  EXPECT_EQ(io.CurrentBitmap(), nullptr);
  EXPECT_FALSE(io.LoadFromFile("/nonexistent/picture.jpg"));  // no bitmap: nothing happens, nothing thrown
  EXPECT_FALSE(io.Aborting);
}

TEST(ImgIOAttachment, ExactlyOneOfViewAndControl) {
  TImgIO io;
  FakeHost view;
  FakeHost image(false);
  io.SetAttachedImgView(&view);
  io.SetAttachedTImage(&image);
  EXPECT_EQ(io.AttachedImgView(), nullptr);
  EXPECT_EQ(io.AttachedTImage(), &image);
  EXPECT_EQ(view.ClientCount(), 0u);
  EXPECT_EQ(io.CurrentBitmap(), &image.Own);

  io.SetAttachedImgView(&view);
  EXPECT_EQ(io.AttachedTImage(), nullptr);
  EXPECT_EQ(image.ClientCount(), 0u);

  Bitmap bare(2, 2);
  io.SetBitmap(&bare);
  EXPECT_EQ(io.AttachedImgView(), nullptr);
  EXPECT_EQ(io.AttachedTImage(), nullptr);
  EXPECT_EQ(view.ClientCount(), 0u);
  EXPECT_EQ(io.CurrentBitmap(), &bare);
}

TEST(ImgIOAttachment, FollowsTheViewsChangeList) {
  TImgIO io;
  FakeHost view;
  io.SetAttachedImgView(&view);
  Bitmap other(1, 1);
  view.ReplaceBitmap(&other);
  EXPECT_EQ(io.CurrentBitmap(), &other);
}

TEST(ImgIOAttachment, DestroyedComponentLeavesTheView) {
  FakeHost view;
  {
    TImgIO io;
    io.SetAttachedImgView(&view);
  }
  EXPECT_EQ(view.ClientCount(), 0u);
}

TEST(ImgIOAttachment, BackgroundIsTheViewsOrItsOwn) {
  TImgIO io;
  io.SetBackground(clRed);
  EXPECT_EQ(io.Background(), clRed);
  FakeHost view;
  io.SetAttachedImgView(&view);
  EXPECT_EQ(io.Background(), clBtnFace);
  io.SetBackground(clWhite);
  EXPECT_EQ(view.Background, clWhite);
  io.SetAttachedImgView(nullptr);
  EXPECT_EQ(io.Background(), clRed);
}

TEST(ImgIOAttachment, ResetParamsTakesBitmapSizeAndViewResolution) {
  TImgIO io;
  FakeHost view;
  io.SetAttachedImgView(&view);
  io.Params.JpegQuality = 90;
  io.ResetParams();
  EXPECT_EQ(io.Params.Width, 4);
  EXPECT_EQ(io.Params.Height, 3);
  EXPECT_EQ(io.Params.DpiX, 72);
  EXPECT_EQ(io.Params.JpegQuality, 50);
}

// ------------------------------------------------ extensions and the table

class ImgIOFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    view.Own = Pattern(5, 4);
    before.Assign(view.Own);
    io.SetAttachedImgView(&view);
  }
  // The view's picture and the change count are as they were before.
  void ExpectUntouched() {
    EXPECT_TRUE(view.Own.SameContent(before));
    EXPECT_EQ(view.Changes, 0);
  }

  test::TempFolder folder;
  FakeHost view;
  Bitmap before;
  TImgIO io;
};

TEST_F(ImgIOFiles, TargaEntryWithoutReadHookLoadsNothing) {
  const std::string name = folder.File("picture.PIX");
  test::WriteAll(name, Bytes(100, 0));
  io.Params.FileName = "old";
  io.Params.FileType = iftJpeg;
  EXPECT_FALSE(io.LoadFromFile(name));
  EXPECT_TRUE(io.Aborting);
  EXPECT_EQ(io.Params.FileName, "");
  EXPECT_EQ(io.Params.FileType, 0);
  ExpectUntouched();
}

TEST_F(ImgIOFiles, UnlistedExtensionsSetAborting) {
  for (const char* name : {"picture.xyz", "picture", "picture.jpg.bak", "picture.win.txt"}) {
    const std::string path = folder.File(name);
    test::WriteAll(path, Bytes{0xFF, 0xD8, 0xFF, 0xE0});
    EXPECT_FALSE(io.LoadFromFile(path)) << name;
    EXPECT_TRUE(io.Aborting) << name;
    EXPECT_FALSE(io.SaveToFile(folder.File(std::string("out-") + name))) << name;
    EXPECT_TRUE(io.Aborting) << name;
    EXPECT_FALSE(std::filesystem::exists(folder.File(std::string("out-") + name))) << name;
  }
  ExpectUntouched();
}

TEST_F(ImgIOFiles, SaveOnlyTakesItsOwnExtensions) {
  // Loadable, but not among the save extensions, and their table entries have no write hook.
  for (const char* name : {"p.jpe", "p.dib", "p.ico", "p.cur", "p.wmf", "p.targa", "p.pix"}) {
    EXPECT_FALSE(io.SaveToFile(folder.File(name))) << name;
    EXPECT_TRUE(io.Aborting) << name;
    EXPECT_FALSE(std::filesystem::exists(folder.File(name))) << name;
  }
}

TEST_F(ImgIOFiles, MissingFileThrowsCannotOpen) {
  const std::string name = folder.File("missing.jpg");
  try {
    io.LoadFromFile(name);
    FAIL() << "no exception";
  } catch (const FileError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + name);
  }
  ExpectUntouched();
}

TEST_F(ImgIOFiles, HookedFormatReadsAndWritesByExtension) {
  const FormatTable table = TableWithRaw();
  io.SetFormatTable(table);
  const std::string name = folder.File("picture.Rw");
  EXPECT_TRUE(io.SaveToFile(name));
  EXPECT_FALSE(io.Aborting);
  EXPECT_EQ(test::ReadAll(name), RawPicture(before));

  view.Own.Reset(1, 1);
  EXPECT_TRUE(io.LoadFromFile(name));
  EXPECT_FALSE(io.Aborting);
  EXPECT_TRUE(view.Own.SameContent(before));
  EXPECT_EQ(io.Params.FileType, kRawId);
  EXPECT_EQ(io.Params.FileName, "");
  EXPECT_EQ(view.DpiX, 300);
  EXPECT_EQ(view.DpiY, 150);
  EXPECT_EQ(view.Changes, 1);
}

TEST_F(ImgIOFiles, FailedHookReadLeavesEverythingAsItWas) {
  const FormatTable table = TableWithRaw();
  io.SetFormatTable(table);
  Bytes truncated = RawPicture(Pattern(5, 5));
  truncated.resize(truncated.size() - 1);
  const std::string name = folder.File("cut.raw");
  test::WriteAll(name, truncated);
  io.Params.JpegQuality = 77;
  EXPECT_FALSE(io.LoadFromFile(name));
  EXPECT_TRUE(io.Aborting);
  EXPECT_EQ(io.Params.JpegQuality, 77);
  ExpectUntouched();
}

TEST_F(ImgIOFiles, FailedHookWriteLeavesTheOldFile) {
  const FormatTable table = TableWithRaw();
  io.SetFormatTable(table);
  const std::string name = folder.File("keep.raw");
  const Bytes good = {'g', 'o', 'o', 'd'};
  test::WriteAll(name, good);
  view.Own.Reset(300, 2);  // too wide for the format
  EXPECT_FALSE(io.SaveToFile(name));
  EXPECT_TRUE(io.Aborting);
  EXPECT_EQ(test::ReadAll(name), good);
}

TEST_F(ImgIOFiles, StreamContentFoundByTestHook) {
  const FormatTable table = TableWithRaw();
  io.SetFormatTable(table);
  const Bitmap picture = Pattern(3, 2);
  Bytes bytes = {'x', 'y'};
  const Bytes raw = RawPicture(picture);
  bytes.insert(bytes.end(), raw.begin(), raw.end());
  bytes.push_back('z');
  MemoryStream stream(bytes);
  stream.Seek(2);
  io.Params.FileName = "old";
  EXPECT_TRUE(io.LoadFromStream(stream));
  EXPECT_TRUE(view.Own.SameContent(picture));
  EXPECT_EQ(io.Params.FileType, kRawId);
  EXPECT_EQ(io.Params.FileName, "");
  EXPECT_EQ(stream.Position(), int64_t(2 + raw.size()));
  EXPECT_EQ(view.Changes, 1);
}

TEST_F(ImgIOFiles, FailedHookStreamReadReturnsToTheStart) {
  const FormatTable table = TableWithRaw();
  io.SetFormatTable(table);
  Bytes bytes = RawPicture(Pattern(3, 2));
  bytes.resize(bytes.size() - 4);
  MemoryStream stream(bytes);
  EXPECT_FALSE(io.LoadFromStream(stream));
  EXPECT_TRUE(io.Aborting);
  EXPECT_EQ(stream.Position(), 0);
  ExpectUntouched();
}

TEST_F(ImgIOFiles, UnrecognisedStreamSetsAborting) {
  for (const Bytes& bytes : {Bytes{}, Bytes(200, 'a'), Bytes{'B', 'M', 0, 0}}) {
    MemoryStream stream(bytes);
    io.Params.FileType = iftJpeg;
    EXPECT_FALSE(io.LoadFromStream(stream));
    EXPECT_TRUE(io.Aborting);
    EXPECT_EQ(io.Params.FileType, 0);
    EXPECT_EQ(stream.Position(), 0);
  }
  ExpectUntouched();
}

TEST_F(ImgIOFiles, HeaderlessPcxOrTiffStreamWithHeadersOnStops) {
  io.StreamHeaders = true;
  const struct {
    int32_t Type;
    Bytes Content;
  } cases[] = {
      {iftPcx, Bytes(200, 10)},
      {iftPcx, Bytes{'P', 'C'}},
      {iftTiff, Bytes{'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {iftTiff, Bytes{'T', 'I', 'F'}},
  };
  for (const auto& c : cases) {
    MemoryStream stream(c.Content);
    EXPECT_FALSE(io.LoadFromStreamAs(c.Type, stream));
    EXPECT_TRUE(io.Aborting);
    EXPECT_EQ(stream.Position(), 0);
  }
  ExpectUntouched();
}

TEST_F(ImgIOFiles, NoCurrentBitmapDoesNothing) {
  TImgIO bare;
  const std::string name = folder.File("never.raw");
  const FormatTable table = TableWithRaw();
  bare.SetFormatTable(table);
  bare.Aborting = true;
  EXPECT_FALSE(bare.SaveToFile(name));
  EXPECT_FALSE(bare.Aborting);
  EXPECT_FALSE(std::filesystem::exists(name));
  MemoryStream stream(RawPicture(Pattern(2, 2)));
  EXPECT_FALSE(bare.LoadFromStream(stream));
  EXPECT_FALSE(bare.Aborting);
  EXPECT_EQ(stream.Position(), 0);
}

// ------------------------------------------------------- through the codecs

// Codes a picture with the front itself, on a bare bitmap.
Bytes Coded(int32_t type, const Bitmap& picture, bool streamHeaders = false) {
  Bitmap copy;
  copy.Assign(picture);
  TImgIO io;
  io.SetBitmap(&copy);
  io.Params.Lzw.GifEncoder = true;
  io.Params.Lzw.TiffEncoder = true;
  io.StreamHeaders = streamHeaders;
  MemoryStream out;
  EXPECT_TRUE(io.SaveToStreamAs(type, out)) << type;
  return out.Bytes();
}

// A 2 × 2 24-bit icon (type 1) or cursor (type 2): one directory entry and a
// device-independent bitmap with its AND mask.
Bytes IconFile(uint16_t type) {
  Bytes dib(40, 0);
  const auto le32 = [](Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
  };
  le32(dib, 0, 40);
  le32(dib, 4, 2);
  le32(dib, 8, 4);  // twice the height: picture and mask
  dib[12] = 1;
  dib[14] = 24;
  for (int row = 0; row < 2; ++row) dib.insert(dib.end(), {0, 0, 255, 0, 255, 0, 0, 0});  // red, green
  for (int row = 0; row < 2; ++row) dib.insert(dib.end(), {0, 0, 0, 0});                // all opaque
  Bytes file = {0, 0, uint8_t(type), 0, 1, 0, 2, 2, 0, 0, 1, 0, 24, 0};
  file.resize(22, 0);
  le32(file, 14, uint32_t(dib.size()));
  le32(file, 18, 22);
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

// A GIF of 2 × 2 pixels with the colours black, white, red, blue, whose
// background index is 1 (white) and, when asked, transparent index 2 (red).
Bytes GifFile(bool transparent) {
  Bytes g = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0x81, 1, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0, 255};
  if (transparent) g.insert(g.end(), {0x21, 0xF9, 4, 1, 0, 0, 2, 0});
  // Image descriptor, then LZW data (minimum code size 2): clear, 0, 1, 2, 3, end.
  g.insert(g.end(), {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 2, 3, 0x44, 0x34, 0x05, 0, ';'});
  return g;
}

class ImgIOCodecs : public ImgIOFiles {
 protected:
  void SetUp() override {
    ImgIOFiles::SetUp();
    io.Params.Lzw.GifDecoder = true;
    io.Params.Lzw.GifEncoder = true;
    io.Params.Lzw.TiffDecoder = true;
  }
  std::string Write(const std::string& name, const Bytes& bytes) {
    const std::string path = folder.File(name);
    test::WriteAll(path, bytes);
    return path;
  }
};

TEST_F(ImgIOCodecs, LoadFromFileChoosesTheDecoderByExtension) {
  const Bitmap picture = Pattern(7, 5);
  const struct {
    const char* Name;
    int32_t CodedAs;  // the content written under that name
    int32_t Expected;
    bool Exact;  // lossless: the pixels come back exactly
  } cases[] = {
      {"a.jpg", iftJpeg, iftJpeg, false},   {"a.JPEG", iftJpeg, iftJpeg, false}, {"a.JPE", iftJpeg, iftJpeg, false},
      {"a.png", iftPng, iftPng, true},      {"a.tif", iftTiff, iftTiff, true},   {"a.TIFF", iftTiff, iftTiff, true},
      {"a.pcx", iftPcx, iftPcx, true},      {"a.gif", iftGif, iftGif, true},     {"a.bmp", iftBmp, iftBmp, true},
      {"a.dib", iftBmp, iftBmp, true},      {"a.Rle", iftBmp, iftBmp, true},     {"a.tga", iftTarga, iftTarga, true},
      {"a.targa", iftTarga, iftTarga, true}, {"a.vda", iftTarga, iftTarga, true}, {"a.icb", iftTarga, iftTarga, true},
      {"a.vst", iftTarga, iftTarga, true},  {"a.win", iftTarga, iftTarga, true},
  };
  for (const auto& c : cases) {
    view.Own = Pattern(2, 2);
    view.Changes = 0;
    const std::string path = Write(c.Name, Coded(c.CodedAs, picture));
    EXPECT_TRUE(io.LoadFromFile(path)) << c.Name;
    EXPECT_FALSE(io.Aborting) << c.Name;
    EXPECT_EQ(io.Params.FileType, c.Expected) << c.Name;
    EXPECT_EQ(io.Params.FileName, path) << c.Name;
    EXPECT_EQ(view.Own.Width(), 7) << c.Name;
    EXPECT_EQ(view.Own.Height(), 5) << c.Name;
    EXPECT_EQ(io.Params.Width, 7) << c.Name;
    if (c.Exact) {
      EXPECT_TRUE(view.Own.SameContent(picture)) << c.Name;
    }
    EXPECT_EQ(view.Changes, 1) << c.Name;
  }
}

TEST_F(ImgIOCodecs, IconsAndCursorsByExtensionAndByContent) {
  for (const auto& [name, type] : {std::pair{"i.ico", iftIcon}, std::pair{"c.CUR", iftCursor}}) {
    const Bytes bytes = IconFile(type == iftIcon ? 1 : 2);
    EXPECT_TRUE(io.LoadFromFile(Write(name, bytes))) << name;
    EXPECT_EQ(io.Params.FileType, type);
    EXPECT_EQ(view.Own.Pixel(0, 1), clRed);  // bottom-up rows: the first stored row is the last
    MemoryStream stream(bytes);
    view.Own = Pattern(3, 3);
    EXPECT_TRUE(io.LoadFromStream(stream)) << name;
    EXPECT_EQ(io.Params.FileType, type);
    EXPECT_EQ(view.Own.Width(), 2);
  }
}

TEST_F(ImgIOCodecs, ExtensionDecidesNotContent) {
  const std::string path = Write("really-a-png.bmp", Coded(iftPng, Pattern(3, 3)));
  EXPECT_FALSE(io.LoadFromFile(path));
  EXPECT_TRUE(io.Aborting);
  ExpectUntouched();
}

TEST_F(ImgIOCodecs, SaveToFileChoosesTheEncoderByExtension) {
  const struct {
    const char* Name;
    int32_t Type;
  } cases[] = {{"s.jpg", iftJpeg}, {"s.JPEG", iftJpeg}, {"s.pcx", iftPcx}, {"s.gif", iftGif}, {"s.tif", iftTiff},
               {"s.tiff", iftTiff}, {"s.PNG", iftPng},   {"s.bmp", iftBmp}, {"s.tga", iftTarga}};
  for (const auto& c : cases) {
    const std::string path = folder.File(c.Name);
    EXPECT_TRUE(io.SaveToFile(path)) << c.Name;
    EXPECT_FALSE(io.Aborting) << c.Name;
    MemoryStream written(test::ReadAll(path));
    EXPECT_EQ(DetectFileType(written), c.Type) << c.Name;
  }
  ExpectUntouched();
}

// The extension is the part of the file name from its last dot, a name that
// is nothing but a dot and an extension included; a dot in a folder name is
// no extension.
TEST_F(ImgIOCodecs, ExtensionIsTheFileNameFromItsLastDot) {
  const Bitmap picture = Pattern(3, 2);
  for (const auto& [name, type] : {std::pair{".png", iftPng}, std::pair{".JPG", iftJpeg}}) {
    const std::string path = folder.File(name);
    view.Own.Assign(picture);
    EXPECT_TRUE(io.SaveToFile(path)) << name;
    EXPECT_FALSE(io.Aborting) << name;
    MemoryStream written(test::ReadAll(path));
    EXPECT_EQ(DetectFileType(written), type) << name;
    view.Own = Pattern(2, 2);
    EXPECT_TRUE(io.LoadFromFile(path)) << name;
    EXPECT_EQ(io.Params.FileType, type) << name;
    EXPECT_EQ(view.Own.Width(), 3) << name;
  }
  std::filesystem::create_directory(folder.File("pictures.png"));
  const std::string plain = folder.File("pictures.png/picture");
  test::WriteAll(plain, Coded(iftPng, picture));
  view.Own = Pattern(2, 2);
  EXPECT_FALSE(io.LoadFromFile(plain));
  EXPECT_TRUE(io.Aborting);
  EXPECT_EQ(view.Own.Width(), 2);
  EXPECT_FALSE(io.SaveToFile(folder.File("pictures.png/copy")));
  EXPECT_TRUE(io.Aborting);
  EXPECT_FALSE(std::filesystem::exists(folder.File("pictures.png/copy")));
}

TEST_F(ImgIOCodecs, PlainJpegPayloadAtPositionZero) {
  io.LoadFromFile(Write("first.png", Coded(iftPng, Pattern(2, 2))));
  ASSERT_EQ(io.Params.FileName, folder.File("first.png"));
  MemoryStream payload(Coded(iftJpeg, Pattern(9, 4)));
  ASSERT_EQ(payload.Bytes()[0], 0xFF);
  EXPECT_TRUE(io.LoadFromStream(payload));
  EXPECT_EQ(io.Params.FileName, "");
  EXPECT_EQ(io.Params.FileType, iftJpeg);
  EXPECT_EQ(view.Own.Width(), 9);
  EXPECT_EQ(payload.Position(), payload.Size());
}

TEST_F(ImgIOCodecs, StreamIsLeftJustAfterThePicture) {
  const Bitmap picture = Pattern(6, 3);
  for (const int32_t type : {iftJpeg, iftPng, iftBmp, iftGif, iftPcx, iftTarga}) {
    const Bytes coded = Coded(type, picture);
    Bytes bytes = {'a', 'b', 'c'};
    bytes.insert(bytes.end(), coded.begin(), coded.end());
    const Bytes trailer = {'n', 'e', 'x', 't', ' ', 'r', 'e', 'c', 'o', 'r', 'd'};
    bytes.insert(bytes.end(), trailer.begin(), trailer.end());
    MemoryStream stream(bytes);
    stream.Seek(3);
    EXPECT_TRUE(io.LoadFromStream(stream)) << type;
    EXPECT_EQ(io.Params.FileType, type);
    EXPECT_EQ(stream.Position(), int64_t(3 + coded.size())) << type;
  }
}

TEST_F(ImgIOCodecs, TwoPicturesInOneStream) {
  const Bitmap first = Pattern(4, 4), second = Pattern(3, 2);
  Bytes bytes = Coded(iftPng, first);
  const Bytes more = Coded(iftBmp, second);
  bytes.insert(bytes.end(), more.begin(), more.end());
  MemoryStream stream(bytes);
  EXPECT_TRUE(io.LoadFromStream(stream));
  EXPECT_TRUE(view.Own.SameContent(first));
  EXPECT_TRUE(io.LoadFromStream(stream));
  EXPECT_TRUE(view.Own.SameContent(second));
  EXPECT_EQ(stream.Position(), stream.Size());
  EXPECT_EQ(view.Changes, 2);
}

TEST_F(ImgIOCodecs, StreamHeadersRoundTrip) {
  const Bitmap picture = Pattern(5, 5);
  io.StreamHeaders = true;
  for (const auto& [type, magic] : {std::pair{iftJpeg, "JFIF"}, std::pair{iftTiff, "TIFF"}, std::pair{iftPcx, "PCX2"}}) {
    view.Own = Pattern(5, 5);
    MemoryStream stream(Bytes{'x', 'y'});
    stream.Seek(2);
    ASSERT_TRUE(io.SaveToStreamAs(type, stream)) << magic;
    const Bytes& b = stream.Bytes();
    ASSERT_GE(b.size(), 14u);
    EXPECT_EQ(std::string(b.begin() + 2, b.begin() + 6), magic);
    EXPECT_EQ(Bytes(b.begin() + 6, b.begin() + 10), Bytes(4, 0));
    const uint32_t length = b[10] | (b[11] << 8) | (b[12] << 16) | (uint32_t(b[13]) << 24);
    EXPECT_EQ(length, b.size() - 14) << magic;
    EXPECT_EQ(stream.Position(), stream.Size());

    // A trailer the picture's own length must not run into.
    const Bytes trailer = {0xFF, 0xD8, 0xFF, 0, 0, 0, 0, 0};
    stream.Write(trailer.data(), trailer.size());
    stream.Seek(2);
    view.Own.Reset(1, 1);
    EXPECT_TRUE(io.LoadFromStream(stream)) << magic;
    EXPECT_EQ(io.Params.FileType, type);
    EXPECT_EQ(view.Own.Width(), 5);
    if (type != iftJpeg) {
      EXPECT_TRUE(view.Own.SameContent(picture)) << magic;
    }
    EXPECT_EQ(stream.Position(), int64_t(14 + length)) << magic;
  }
}

TEST_F(ImgIOCodecs, JpegStreamHeaderIsReadEvenWithHeadersOff) {
  Bytes bytes = Coded(iftJpeg, Pattern(5, 5), true);
  ASSERT_EQ(bytes[0], 'J');
  const size_t length = bytes.size();
  bytes.insert(bytes.end(), {1, 2, 3});
  MemoryStream stream(bytes);
  EXPECT_TRUE(io.LoadFromStreamJpeg(stream));
  EXPECT_EQ(stream.Position(), int64_t(length));
}

TEST_F(ImgIOCodecs, PcxAndTiffWithoutHeadersAreNotPrefixed) {
  // Headers are written only when asked for.
  EXPECT_EQ(Coded(iftTiff, Pattern(2, 2))[0], 'I');
  EXPECT_EQ(Coded(iftPcx, Pattern(2, 2))[0], 10);
  EXPECT_EQ(Coded(iftPng, Pattern(2, 2), true)[0], 0x89);  // PNG has no header form
}

TEST_F(ImgIOCodecs, OldPcxPrefixRunsToTheEnd) {
  io.StreamHeaders = true;
  const Bitmap picture = Pattern(4, 3);
  Bytes bytes = {'P', 'C', 'X', 0};
  const Bytes coded = Coded(iftPcx, picture);
  bytes.insert(bytes.end(), coded.begin(), coded.end());
  MemoryStream stream(bytes);
  EXPECT_TRUE(io.LoadFromStream(stream));
  EXPECT_EQ(io.Params.FileType, iftPcx);
  EXPECT_TRUE(view.Own.SameContent(picture));
}

TEST_F(ImgIOCodecs, GifSetsBackgroundToTransparentElseBackgroundColour) {
  EXPECT_TRUE(io.LoadFromFile(Write("plain.gif", GifFile(false))));
  EXPECT_EQ(view.Background, clWhite);
  view.Background = clBtnFace;
  EXPECT_TRUE(io.LoadFromFile(Write("clear.gif", GifFile(true))));
  EXPECT_EQ(view.Background, clRed);

  // Without a view the component keeps the colour itself.
  Bitmap bare;
  io.SetBitmap(&bare);
  io.SetBackground(clBlack);
  MemoryStream stream(GifFile(false));
  EXPECT_TRUE(io.LoadFromStream(stream));
  EXPECT_EQ(io.Background(), clWhite);
}

TEST_F(ImgIOCodecs, PngSetsBackgroundOnlyWhenTheFileHasOne) {
  EXPECT_TRUE(io.LoadFromFile(Write("plain.png", Coded(iftPng, Pattern(2, 2)))));
  EXPECT_EQ(view.Background, clBtnFace);
  const std::string withBackground = test::SourceDir() + "/fuzz/corpus/fuzz_detect/png-bkgd.png";
  Bytes bytes = test::ReadAll(withBackground);
  ASSERT_FALSE(bytes.empty());
  bytes.pop_back();  // the fuzzer's option byte
  EXPECT_TRUE(io.LoadFromFile(Write("background.png", bytes)));
  EXPECT_EQ(view.Background, Rgb(10, 20, 30));
}

TEST_F(ImgIOCodecs, LoadsGiveTheViewTheirResolution) {
  Bitmap picture = Pattern(3, 3);
  TImgIO writer;
  writer.SetBitmap(&picture);
  writer.Params.DpiX = 300;
  writer.Params.DpiY = 150;
  MemoryStream coded;
  ASSERT_TRUE(writer.SaveToStreamJpeg(coded));
  EXPECT_TRUE(io.LoadFromFileJpeg(Write("dense.dat", coded.Bytes())));
  EXPECT_EQ(io.Params.FileType, iftJpeg);
  EXPECT_EQ(view.DpiX, 300);
  EXPECT_EQ(view.DpiY, 150);
}

TEST_F(ImgIOCodecs, SaveToFileJpegConvertsEightBitsInPlace) {
  Bitmap grey(4, 2, PixelFormat::Bits8);
  grey.Row(0)[0] = 200;
  grey.Row(1)[3] = 40;
  view.Own = std::move(grey);
  const std::string path = folder.File("grey.jpg");
  EXPECT_TRUE(io.SaveToFileJpeg(path));
  EXPECT_EQ(view.Own.Format(), PixelFormat::Bits24);
  EXPECT_EQ(view.Own.Pixel(0, 0), Rgb(200, 200, 200));
  EXPECT_EQ(view.Own.Pixel(3, 1), Rgb(40, 40, 40));
  MemoryStream written(test::ReadAll(path));
  EXPECT_EQ(DetectFileType(written), iftJpeg);
}

TEST_F(ImgIOCodecs, OtherSaversLeaveAnEightBitPictureAlone) {
  Bitmap grey(4, 2, PixelFormat::Bits8);
  grey.Row(0)[1] = 99;
  view.Own = std::move(grey);
  EXPECT_TRUE(io.SaveToFile(folder.File("grey.png")));
  EXPECT_EQ(view.Own.Format(), PixelFormat::Bits8);
  Bitmap back;
  io.SetBitmap(&back);
  EXPECT_TRUE(io.LoadFromFile(folder.File("grey.png")));
  EXPECT_EQ(back.Pixel(1, 0), Rgb(99, 99, 99));
}

TEST_F(ImgIOCodecs, OneBitPicturesStayOneBit) {
  Bitmap bilevel(9, 2, PixelFormat::Bits1);
  bilevel.Row(0)[0] = 0xA5;
  bilevel.Row(1)[1] = 0x80;
  view.Own.Assign(bilevel);
  EXPECT_TRUE(io.SaveToFile(folder.File("bw.tif")));
  view.Own.Reset(1, 1);
  EXPECT_TRUE(io.LoadFromFile(folder.File("bw.tif")));
  EXPECT_TRUE(view.Own.SameContent(bilevel));
}

// Damaged pictures: each must leave the picture, the Params and the stream
// position exactly as they were, and set Aborting.
struct DamagedCase {
  const char* Name;
  Bytes Content;
};

std::vector<DamagedCase> DamagedPictures() {
  const Bitmap picture = Pattern(16, 12);
  const auto cut = [](Bytes b, size_t keep) {
    b.resize(std::min(keep, b.size()));
    return b;
  };
  const auto flipped = [](Bytes b, size_t from) {
    for (size_t i = from; i < b.size(); ++i) b[i] ^= 0x5A;
    return b;
  };
  const Bytes jpeg = Coded(iftJpeg, picture), png = Coded(iftPng, picture), bmp = Coded(iftBmp, picture);
  const Bytes gif = Coded(iftGif, picture), tiff = Coded(iftTiff, picture), pcx = Coded(iftPcx, picture);
  const Bytes tga = Coded(iftTarga, picture);
  Bytes huge = bmp;
  huge[18] = 0xFF;  // width 0x7FFF00FF... pixels
  huge[21] = 0x7F;
  return {
      {"JPEG cut inside its header", cut(jpeg, 20)},
      {"JPEG with a damaged header", flipped(jpeg, 4)},
      {"PNG cut in half", cut(png, png.size() / 2)},
      {"PNG with damaged data", flipped(png, 40)},
      {"BMP cut in half", cut(bmp, bmp.size() / 2)},
      {"BMP declaring a huge width", huge},
      {"GIF cut after its screen", cut(gif, 14)},
      {"TIFF cut in half", cut(tiff, tiff.size() / 2)},
      {"TIFF with a damaged directory", flipped(tiff, 4)},
      {"PCX cut inside its header", cut(pcx, 130)},
      {"Targa cut in half", cut(tga, tga.size() / 2)},
      {"icon cut in half", cut(IconFile(1), 40)},
      {"bare BMP signature", Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
  };
}

TEST_F(ImgIOCodecs, DamagedStreamsLeaveEverythingAsItWas) {
  for (const DamagedCase& c : DamagedPictures()) {
    Bytes bytes = {'p', 'r', 'e'};
    bytes.insert(bytes.end(), c.Content.begin(), c.Content.end());
    MemoryStream stream(bytes);
    stream.Seek(3);
    io.Params.FileName = "kept";
    io.Params.FileType = 99;
    io.Params.Width = 5;
    EXPECT_FALSE(io.LoadFromStream(stream)) << c.Name;
    EXPECT_TRUE(io.Aborting) << c.Name;
    EXPECT_EQ(stream.Position(), 3) << c.Name;
    EXPECT_EQ(io.Params.FileName, "kept") << c.Name;
    EXPECT_EQ(io.Params.FileType, 99) << c.Name;
    EXPECT_EQ(io.Params.Width, 5) << c.Name;
    EXPECT_TRUE(view.Own.SameContent(before)) << c.Name;
  }
  EXPECT_EQ(view.Changes, 0);
}

TEST_F(ImgIOCodecs, DamagedFilesLeaveEverythingAsItWas) {
  const std::map<int32_t, std::string> extensionOf = {
      {iftJpeg, ".jpg"}, {iftPng, ".png"}, {iftBmp, ".bmp"}, {iftGif, ".gif"},
      {iftTiff, ".tif"}, {iftPcx, ".pcx"}, {iftTarga, ".tga"}, {iftIcon, ".ico"}};
  for (const DamagedCase& c : DamagedPictures()) {
    MemoryStream probe(c.Content);
    const auto ext = extensionOf.find(DetectFileType(probe));
    if (ext == extensionOf.end()) continue;
    EXPECT_FALSE(io.LoadFromFile(Write("damaged" + ext->second, c.Content))) << c.Name;
    EXPECT_TRUE(io.Aborting) << c.Name;
  }
  ExpectUntouched();
}

TEST_F(ImgIOCodecs, AbortFromTheProgressHandlerStopsTheLoad) {
  const std::string path = Write("big.png", Coded(iftPng, Pattern(64, 64)));
  int calls = 0;
  io.OnProgress = [&](int) {
    ++calls;
    io.Aborting = true;
  };
  EXPECT_FALSE(io.LoadFromFile(path));
  EXPECT_GT(calls, 0);
  EXPECT_TRUE(io.Aborting);
  ExpectUntouched();
}

TEST_F(ImgIOCodecs, WriterWithoutItsCoderLeavesTheOldFile) {
  const std::string path = Write("keep.gif", GifFile(false));
  io.Params.Lzw.GifEncoder = false;
  EXPECT_FALSE(io.SaveToFile(path));
  EXPECT_TRUE(io.Aborting);
  EXPECT_EQ(test::ReadAll(path), GifFile(false));
}

TEST_F(ImgIOCodecs, TargetInAMissingFolderCannotBeCreated) {
  const std::string path = folder.File("no-such-folder/out.png");
  try {
    io.SaveToFile(path);
    FAIL() << "no exception";
  } catch (const FileError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + path);
  }
  EXPECT_FALSE(std::filesystem::exists(folder.File("no-such-folder")));
}

TEST_F(ImgIOCodecs, ReadOnlyTargetIsNotDamaged) {
  const Bytes good = Coded(iftPng, Pattern(2, 2));
  const std::string path = Write("locked.png", good);
  // Without write bits the file is read-only even for the superuser.
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  EXPECT_THROW(io.SaveToFile(path), FileError);
  EXPECT_EQ(test::ReadAll(path), good);
}

TEST_F(ImgIOCodecs, OwnerToldForPictureControlAndBareBitmap) {
  const std::string path = Write("p.bmp", Coded(iftBmp, Pattern(3, 3)));
  FakeHost image(false);
  image.Own.Transparent = true;
  io.SetAttachedTImage(&image);
  EXPECT_TRUE(io.LoadFromFile(path));
  EXPECT_EQ(image.Changes, 1);
  EXPECT_TRUE(image.Own.Transparent);  // the control's setting survives the load
  EXPECT_EQ(image.DpiX, 72);           // only a view takes the resolution

  Bitmap bare;
  int repaints = 0;
  bare.OnChange = [&] { ++repaints; };
  io.SetBitmap(&bare);
  EXPECT_TRUE(io.LoadFromFile(path));
  EXPECT_EQ(repaints, 1);
  EXPECT_EQ(bare.Width(), 3);
  bare.Changed();
  EXPECT_EQ(repaints, 2);  // the hook is still the owner's
}

TEST_F(ImgIOCodecs, MetafilesWithoutAReaderSetAborting) {
  for (const char* name : {"m.wmf", "m.EMF"}) {
    EXPECT_FALSE(io.LoadFromFile(Write(name, Bytes(64, 1)))) << name;
    EXPECT_TRUE(io.Aborting) << name;
  }
  EXPECT_THROW(io.LoadFromFile(folder.File("missing.wmf")), FileError);
  ExpectUntouched();
}

// Pictures that declare a huge size over a few bytes of data, packed as a
// face payload is, are refused at once: as damaged when their data ends
// early, as too large when a valid file skips nearly all of them. Memory of
// the size they declare is never touched.
TEST_F(ImgIOCodecs, HugePicturesWithoutTheirDataFailFastFromAStream) {
  namespace fs = std::filesystem;
  int files = 0;
  for (const auto& folder : fs::directory_iterator(test::SourceDir() + "/tests/codecs/regressions")) {
    const bool validBombs = folder.path().filename() == "bombs";
    for (const auto& entry : fs::directory_iterator(folder.path())) {
      const std::string name = entry.path().filename().string();
      if (!validBombs && (name.rfind("damaged-", 0) != 0 || name.find("14000x14000") == std::string::npos)) continue;
      ++files;
      MemoryStream payload(test::ReadAll(entry.path().string()));
      bool loaded = true;
      const int64_t growth = test::PeakMemoryGrowthKiB([&] { loaded = io.LoadFromStream(payload); });
      EXPECT_FALSE(loaded) << name;
      EXPECT_EQ(io.Status(), validBombs ? PictureStatus::TooLarge : PictureStatus::Damaged) << name;
      EXPECT_GE(growth, 0);
      EXPECT_LT(growth, 64 * 1024) << name;
    }
  }
  EXPECT_GE(files, 8);
  ExpectUntouched();
}

// Only regular files are read: a pipe named like a picture is refused at
// once instead of blocking, a device instead of being read until memory
// runs out.
TEST_F(ImgIOCodecs, OnlyRegularFilesAreReadAsPictures) {
  const std::string pipe = folder.File("pipe.png");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string device = folder.File("zero.jpg");
  ASSERT_EQ(::symlink("/dev/zero", device.c_str()), 0);
  for (const std::string& path : {pipe, device}) {
    EXPECT_THROW(io.LoadFromFile(path), FileError) << path;
    EXPECT_EQ(io.Status(), PictureStatus::Unreadable) << path;
    EXPECT_THROW(FileStream(path, FileStream::Mode::Read), FileError) << path;
  }
  ExpectUntouched();
}

// A file longer than any picture within the limits can need is refused
// unread: under the window's limits a file of 200 MB is.
TEST_F(ImgIOCodecs, AFileLongerThanThePicturesLimitsAllowIsNotRead) {
  const std::string path = folder.File("long.bmp");
  test::WriteAll(path, Coded(iftBmp, Pattern(3, 3)));
  ASSERT_EQ(::truncate(path.c_str(), off_t(200) << 20), 0);  // a sparse tail of zeros
  io.Params.Limits = kWindowPictureLimits;
  EXPECT_FALSE(io.LoadFromFile(path));
  EXPECT_EQ(io.Status(), PictureStatus::TooLarge);
  ExpectUntouched();
}

// Faces, hairstyles and gallery pictures are small: under the window's
// limits a valid file declaring 196 megapixels is refused at once, read from
// a file or from a face payload.
TEST_F(ImgIOCodecs, TheWindowLimitsRefuseHugePicturesAtOnce) {
  io.Params.Limits = kWindowPictureLimits;
  const std::string bomb = test::SourceDir() + "/tests/codecs/regressions/bombs/rle8-14000x14000-in-74-bytes.bmp";
  EXPECT_FALSE(io.LoadFromFile(bomb));
  EXPECT_EQ(io.Status(), PictureStatus::TooLarge);
  MemoryStream payload(test::ReadAll(bomb));
  EXPECT_FALSE(io.LoadFromStream(payload));
  EXPECT_EQ(io.Status(), PictureStatus::TooLarge);
  EXPECT_EQ(payload.Position(), 0);
  ExpectUntouched();
}

// A file another program cuts short while it is read gives no picture made
// of the zeros that stand in for what vanished.
TEST_F(ImgIOCodecs, AFileCutShortWhileItIsReadIsUnreadable) {
  const std::string path = Write("cut.bmp", Coded(iftBmp, Pattern(300, 200)));
  io.OnProgress = [&](int percent) {
    if (percent == 0) {
      ASSERT_EQ(::truncate(path.c_str(), 0), 0);
    }
  };
  EXPECT_FALSE(io.LoadFromFile(path));
  EXPECT_EQ(io.Status(), PictureStatus::Unreadable);
  ExpectUntouched();
}

// A picture is coded straight into the file being written, not first into
// memory: half way through, the temporary file beside the target already
// holds a good part of it, and the target is untouched until the end.
TEST_F(ImgIOCodecs, EncodersWriteTheFileAsTheyGo) {
  view.Own = Pattern(600, 400);
  const std::string path = Write("big.bmp", Bytes{'o', 'l', 'd'});
  uintmax_t writtenAtHalf = 0;
  io.OnProgress = [&](int percent) {
    if (percent != 50) return;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
      if (entry.path().filename().string().rfind(".big.bmp.", 0) == 0) writtenAtHalf = entry.file_size();
    }
    EXPECT_EQ(test::ReadAll(path), (Bytes{'o', 'l', 'd'}));
  };
  ASSERT_TRUE(io.SaveToFile(path));
  EXPECT_GT(writtenAtHalf, 200'000u);
  EXPECT_EQ(test::ReadAll(path).size(), 54u + 600 * 3 * 400);
}

// One status tells every way a load or save ends; a failure sets Aborting
// (a missing bitmap aside, where nothing is done) and leaves the picture.
TEST_F(ImgIOCodecs, StatusTellsHowALoadOrSaveEnded) {
  const Bytes png = Coded(iftPng, Pattern(16, 12));
  const struct {
    const char* Name;
    std::function<bool(TImgIO&)> Run;
    PictureStatus Expected;
  } cases[] = {
      {"a picture", [&](TImgIO& io) { return io.LoadFromFile(Write("ok.png", png)); }, PictureStatus::Ok},
      {"an unlisted extension", [&](TImgIO& io) { return io.LoadFromFile(Write("p.xyz", png)); },
       PictureStatus::UnknownFormat},
      {"a listed type without a reader", [&](TImgIO& io) { return io.LoadFromFile(Write("p.pix", png)); },
       PictureStatus::Unsupported},
      {"a metafile", [&](TImgIO& io) { return io.LoadFromFile(Write("p.wmf", png)); }, PictureStatus::Unsupported},
      {"unrecognised content",
       [&](TImgIO& io) {
         MemoryStream stream(Bytes(200, 'a'));
         return io.LoadFromStream(stream);
       },
       PictureStatus::UnknownFormat},
      {"a cut picture",
       [&](TImgIO& io) { return io.LoadFromFile(Write("cut.png", Bytes(png.begin(), png.begin() + 60))); },
       PictureStatus::Damaged},
      {"a picture over the side limit",
       [&](TImgIO& io) {
         io.Params.Limits = {15, 1000};
         return io.LoadFromFile(Write("wide.png", png));
       },
       PictureStatus::TooLarge},
      {"a picture over the pixel limit",
       [&](TImgIO& io) {
         io.Params.Limits = {100, 16 * 12 - 1};
         return io.LoadFromFile(Write("many.png", png));
       },
       PictureStatus::TooLarge},
      {"a load stopped by the caller",
       [&](TImgIO& io) {
         io.OnProgress = [&io](int) { io.Aborting = true; };
         return io.LoadFromFile(Write("stop.png", png));
       },
       PictureStatus::Stopped},
      {"a save without its coder",
       [&](TImgIO& io) {
         io.Params.Lzw.GifEncoder = false;
         return io.SaveToFile(folder.File("no.gif"));
       },
       PictureStatus::Unsupported},
  };
  for (const auto& c : cases) {
    TImgIO io;
    FakeHost host;
    host.Own = Pattern(5, 4);
    io.SetAttachedImgView(&host);
    EXPECT_EQ(c.Run(io), c.Expected == PictureStatus::Ok) << c.Name;
    EXPECT_EQ(io.Status(), c.Expected) << c.Name;
    EXPECT_EQ(io.Aborting, c.Expected != PictureStatus::Ok) << c.Name;
    if (c.Expected != PictureStatus::Ok) {
      EXPECT_TRUE(host.Own.SameContent(Pattern(5, 4))) << c.Name;
    }
  }

  // Files that cannot be opened or created still throw, and say so in the status.
  EXPECT_THROW(io.LoadFromFile(folder.File("missing.png")), FileError);
  EXPECT_EQ(io.Status(), PictureStatus::Unreadable);
  EXPECT_THROW(io.SaveToFile(folder.File("no-such-folder/p.png")), FileError);
  EXPECT_EQ(io.Status(), PictureStatus::Unwritable);

  TImgIO bare;
  EXPECT_FALSE(bare.LoadFromFile(folder.File("ok.png")));
  EXPECT_EQ(bare.Status(), PictureStatus::NoPicture);
  EXPECT_FALSE(bare.Aborting);
}

TEST(PictureStatusText, EveryStatusHasItsOwnText) {
  std::set<std::string> texts;
  for (int s = int(PictureStatus::Ok); s <= int(PictureStatus::Unwritable); ++s) {
    const std::string text = PictureStatusText(PictureStatus(s));
    EXPECT_FALSE(text.empty()) << s;
    EXPECT_TRUE(texts.insert(text).second) << text;
  }
}

// The limits belong to the owner: a reset of the picture parameters keeps them.
TEST(ImgIOLimits, ResetKeepsTheLimits) {
  TImgIO io;
  io.Params.Limits = kWindowPictureLimits;
  io.Params.JpegQuality = 90;
  io.ResetParams();
  EXPECT_EQ(io.Params.JpegQuality, 50);
  EXPECT_EQ(io.Params.Limits, kWindowPictureLimits);
}

// Start-up installs the LZW coders once for the whole process: every
// component made afterwards can read and write GIF pictures.
TEST(StartPictureIO, GivesEveryLaterComponentTheLzwCoders) {
  const LzwHooks saved = DefaultLzwHooks();
  DefaultLzwHooks() = LzwHooks{};
  StartPictureIO();
  Bitmap picture = Pattern(3, 2);
  TImgIO writer;
  writer.SetBitmap(&picture);
  MemoryStream gif;
  EXPECT_TRUE(writer.SaveToStreamAs(iftGif, gif));
  Bitmap back;
  TImgIO reader;
  reader.SetBitmap(&back);
  gif.Seek(0);
  EXPECT_TRUE(reader.LoadFromStream(gif));
  EXPECT_TRUE(back.SameContent(picture));
  EXPECT_TRUE(reader.Params.Lzw.TiffDecoder);
  DefaultLzwHooks() = saved;
}

}  // namespace
}  // namespace glamora
