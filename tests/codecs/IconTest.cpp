// The icon and cursor codecs: the image chosen, its masks put on white, the
// content probe and images that cannot be decoded.
#include <gtest/gtest.h>

#include <functional>

#include "codecs/Icon.h"
#include "tests/codecs/CodecChecks.h"
#include "tests/codecs/MagickReference.h"

namespace glamora::test {
namespace {

using codec::CursorCodec;
using codec::IconCodec;
using File = std::vector<uint8_t>;

// convert reads the AND mask and the alpha channel as transparency; the
// codec puts see-through parts on white.
const std::vector<std::string> kOnWhite{"-background", "white", "-flatten"};

std::vector<File> ImagesOf(const File& icon) {
  std::vector<File> images;
  const size_t count = GetLE(icon, 4, 2);
  for (size_t i = 0; i < count; ++i) {
    const size_t size = GetLE(icon, 6 + 16 * i + 8, 4), offset = GetLE(icon, 6 + 16 * i + 12, 4);
    images.emplace_back(icon.begin() + std::ptrdiff_t(offset), icon.begin() + std::ptrdiff_t(offset + size));
  }
  return images;
}

// An icon (type 1) or cursor (type 2) file holding the images in this order.
File IconOf(const std::vector<File>& images, uint16_t type = 1) {
  File f;
  PutLE(f, 0, 0, 2);
  PutLE(f, 2, type, 2);
  PutLE(f, 4, images.size(), 2);
  size_t offset = 6 + 16 * images.size();
  for (size_t i = 0; i < images.size(); ++i) {
    const size_t entry = 6 + 16 * i;
    f.resize(entry + 16, 0);
    f[entry] = uint8_t(GetLE(images[i], 4, 1));  // width as the header states it
    PutLE(f, entry + 4, 1, 2);
    PutLE(f, entry + 8, images[i].size(), 4);
    PutLE(f, entry + 12, offset, 4);
    offset += images[i].size();
  }
  for (const File& image : images) f.insert(f.end(), image.begin(), image.end());
  return f;
}

// Marks the left eight columns of every row see-through in the AND mask of a
// 32 x 32 image with the given colour bits and palette size.
File WithMaskedColumns(const File& icon, int bits, int colours) {
  File f = icon;
  const size_t image = GetLE(f, 18, 4);
  const size_t mask = image + 40 + size_t(colours) * 4 + ((32 * size_t(bits) + 31) / 32) * 4 * 32;
  for (size_t y = 0; y < 32; ++y) f[mask + 4 * y] = 0xFF;
  return f;
}

struct Sample {
  const char* Name;
  std::vector<std::string> Args;
  std::function<File(const File&)> Change;
  int Width;
};

std::vector<Sample> Samples() {
  const std::vector<std::string> small{"rose:", "-resize", "32x32!"};
  auto with = [&](std::vector<std::string> more) {
    std::vector<std::string> args = small;
    args.insert(args.end(), more.begin(), more.end());
    return args;
  };
  return {
      {"LargestIsThePng", {"rose:", "-define", "icon:auto-resize=48,256,32,16"}, nullptr, 256},
      {"TrueColour32", with({}), nullptr, 32},
      {"PartialAlpha", with({"-alpha", "set", "-channel", "A", "-fx", "i/31", "+channel"}), nullptr, 32},
      {"Palette4", with({"-colors", "16", "-type", "Palette"}), nullptr, 32},
      {"Palette8", with({"-colors", "200", "-type", "Palette"}), nullptr, 32},
      {"Palette4Masked", with({"-colors", "16", "-type", "Palette"}),
       [](const File& f) { return WithMaskedColumns(f, 4, 16); }, 32},
  };
}

class IconSamples : public ::testing::TestWithParam<Sample> {};

TEST_P(IconSamples, DecodeMatchesMagickOnWhite) {
  GLAMORA_REQUIRE_MAGICK();
  const Sample& s = GetParam();
  TempFolder folder;
  File file = MakeSample(s.Args, "ICO:" + folder.File("sample.ico"));
  ASSERT_FALSE(file.empty());
  if (s.Change) file = s.Change(file);
  WriteAll(folder.File("changed.ico"), file);

  // The reference is the largest image alone: convert would flatten every frame.
  const std::vector<File> images = ImagesOf(file);
  size_t largest = 0;
  for (size_t i = 0; i < images.size(); ++i) {
    if (GetLE(file, 6 + 16 * i, 1) == 0) largest = i;  // 256 pixels wide
  }
  const std::string reference = folder.File("changed.ico") + "[" + std::to_string(largest) + "]";
  Bitmap expected, decoded;
  ASSERT_TRUE(MagickDecode(reference, expected, kOnWhite));
  TImgIOParams params;
  ASSERT_TRUE(DecodeWith(IconCodec(), file, decoded, params));
  EXPECT_EQ(decoded.Width(), s.Width);
  EXPECT_EQ(params.Width, s.Width);
  EXPECT_TRUE(SamePixels(expected, decoded, 1));  // alpha blending may round the other way

  codec::PictureInfo info;
  ASSERT_EQ(IconCodec().Info(file, info), PictureStatus::Ok);
  EXPECT_EQ(info.Width, s.Width);
  EXPECT_EQ(info.FrameCount, int(images.size()));

  ExpectDamageHandled(IconCodec(), file, std::max<size_t>(file.size() / 61, 1), 120, 13);
}

INSTANTIATE_TEST_SUITE_P(Icon, IconSamples, ::testing::ValuesIn(Samples()),
                         [](const auto& sample) { return std::string(sample.param.Name); });

TEST(Icon, ChoosesMostPixelsThenMostBitsThenTheFirst) {
  GLAMORA_REQUIRE_MAGICK();
  TempFolder folder;
  const auto image = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {"rose:", "-resize"});
    const File icon = MakeSample(args, "ICO:" + folder.File("part.ico"));
    return ImagesOf(icon).at(0);
  };
  const File small32 = image({"16x16!"});
  const File large4 = image({"32x32!", "-colors", "16", "-type", "Palette"});
  const File large32 = image({"32x32!"});
  const File large32Flipped = image({"32x32!", "-flip"});

  struct Case {
    const char* What;
    std::vector<File> Images;
    const File* Expected;
  };
  const Case cases[] = {
      {"more pixels win over more bits", {small32, large4}, &large4},
      {"more bits win among equal sizes", {large4, large32, small32}, &large32},
      {"the first of equal images", {large32Flipped, large32}, &large32Flipped},
  };
  for (const Case& c : cases) {
    Bitmap decoded, expected;
    TImgIOParams params;
    ASSERT_TRUE(DecodeWith(IconCodec(), IconOf(c.Images), decoded, params)) << c.What;
    ASSERT_TRUE(DecodeWith(IconCodec(), IconOf({*c.Expected}), expected, params)) << c.What;
    EXPECT_TRUE(decoded.SameContent(expected)) << c.What;
  }
}

TEST(Icon, CursorsAreIconsOfType2) {
  GLAMORA_REQUIRE_MAGICK();
  TempFolder folder;
  const File icon = MakeSample({"rose:", "-resize", "32x32!"}, "ICO:" + folder.File("c.ico"));
  const File cursor = IconOf(ImagesOf(icon), 2);
  Bitmap fromIcon, fromCursor;
  TImgIOParams params;
  ASSERT_TRUE(DecodeWith(IconCodec(), icon, fromIcon, params));
  ASSERT_TRUE(DecodeWith(CursorCodec(), cursor, fromCursor, params));
  EXPECT_TRUE(fromCursor.SameContent(fromIcon));
  EXPECT_TRUE(CursorCodec().Probe(cursor, cursor.size()));
  EXPECT_FALSE(IconCodec().Probe(cursor, cursor.size()));
  EXPECT_FALSE(CursorCodec().Probe(icon, icon.size()));
  size_t consumed = 0;
  EXPECT_NE(IconCodec().Decode(cursor, fromIcon, params, ProgressRecord{}, consumed), PictureStatus::Ok);
  EXPECT_EQ(IconCodec().FileType, 6);
  EXPECT_EQ(CursorCodec().FileType, 7);
}

TEST(Icon, ProbeFollowsTheContentRule) {
  File valid = IconOf({File(20, 1)});  // 6 + 16 + 20 bytes
  ASSERT_TRUE(IconCodec().Probe(valid, valid.size()));
  struct Case {
    const char* What;
    size_t Offset;
    uint32_t Value;
    int Size;
  };
  const Case cases[] = {
      {"reserved word set", 0, 1, 2},           {"type 3", 2, 3, 2},
      {"no images", 4, 0, 2},                   {"more entries than stored", 4, 3, 2},
      {"entry's reserved byte set", 9, 1, 1},   {"empty data", 14, 0, 4},
      {"data inside the directory", 18, 21, 4},
  };
  for (const Case& c : cases) {
    File f = valid;
    PutLE(f, c.Offset, c.Value, c.Size);
    EXPECT_FALSE(IconCodec().Probe(f, f.size())) << c.What;
  }
  File atEnd = valid;
  PutLE(atEnd, 18, 22, 4);  // data right at the end of the entry is allowed
  EXPECT_TRUE(IconCodec().Probe(atEnd, atEnd.size()));
  File shortFile(valid.begin(), valid.begin() + 22);
  EXPECT_FALSE(IconCodec().Probe(shortFile, shortFile.size()));
}

TEST(Icon, UndecodableImagesFail) {
  File huge(40, 0);
  PutLE(huge, 0, 40, 4);
  PutLE(huge, 4, 40000, 4);
  PutLE(huge, 8, 2, 4);
  PutLE(huge, 12, 1, 2);
  PutLE(huge, 14, 32, 2);
  File brokenPng{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, 4, 0, 0, 0, 4, 8, 2};
  for (const File& image : {huge, brokenPng, File(30, 0)}) {
    Bitmap out(2, 2);
    TImgIOParams params;
    size_t consumed = 0;
    EXPECT_NE(IconCodec().Decode(IconOf({image}), out, params, ProgressRecord{}, consumed), PictureStatus::Ok);
    EXPECT_EQ(out.Width(), 2);
  }
}

}  // namespace
}  // namespace glamora::test
