// The picture input/output front: attachment, choosing a loader or saver by
// extension and by content, stream positions and headers, and what a failed
// load or save leaves behind.
#include "imaging/ImgIO.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "codecs/Registry.h"
#include "imaging/FormatTable.h"
#include "imaging/core/Stream.h"
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

}  // namespace
}  // namespace glamora
