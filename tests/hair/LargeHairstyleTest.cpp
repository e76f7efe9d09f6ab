// The large hairstyles: their names, reading them, and the shipped ones built
// beside the program, which must be the catalogue's pictures drawn larger.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "codecs/Jpeg.h"
#include "codecs/Png.h"
#include "hair/Catalogue.h"
#include "hair/LargeHairstyle.h"
#include "imaging/core/Stream.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

namespace fs = std::filesystem;

TEST(LargeHairstyle, PathIsTheCompanionFolderAndPng) {
  const struct {
    const char* Picture;
    const char* Large;
  } cases[] = {
      {"/opt/glamora/Short/004.jpg", "/opt/glamora/ShortLarge/004.png"},
      {"/opt/glamora/Char/029.jpg", "/opt/glamora/CharLarge/029.png"},
      {"/opt/glamora/Male/000.jpg", "/opt/glamora/MaleLarge/000.png"},
      {"data/Medium/012.jpg", "data/MediumLarge/012.png"},
      {"Long/001.jpg", "LongLarge/001.png"},
      {"/opt/glamora/Faces/004.jpg", ""},     // not a category
      {"/opt/glamora/ShortLarge/004.png", ""},  // already large
      {"/opt/glamora/short/004.jpg", ""},     // folder names are exact
      {"/opt/glamora/Short/", ""},
      {"004.jpg", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(LargeHairstylePath(c.Picture), c.Large) << c.Picture;
}

Bitmap Plane(int width, int height, uint8_t value) {
  Bitmap plane(width, height, PixelFormat::Bits8);
  for (int y = 0; y < height; ++y) std::fill_n(plane.Row(y), width, value);
  return plane;
}

// Missing, unreadable, cut short or beyond the limits: false, the hair kept.
TEST(LargeHairstyle, ReadingFailsLeavingTheHairAlone) {
  test::TempFolder folder;
  Bitmap colour(40, 30);
  colour.Fill(Rgb(30, 20, 10));
  MemoryStream coded;
  ASSERT_EQ(codec::EncodePngWithAlpha(colour, Plane(40, 30, 200), {}, ProgressRecord{}, coded), PictureStatus::Ok);
  const std::vector<uint8_t> good = coded.Bytes();
  test::WriteAll(folder.File("good.png"), good);
  test::WriteAll(folder.File("cut.png"), std::vector<uint8_t>(good.begin(), good.begin() + long(good.size() / 2)));
  test::WriteAll(folder.File("text.png"), std::string("not a picture"));

  HairWithAlpha hair;
  ASSERT_TRUE(ReadLargeHairstyle(folder.File("good.png"), hair, {}));
  EXPECT_EQ(hair.Colour.Width(), 40);
  EXPECT_EQ(hair.Colour.Pixel(39, 29), Rgb(30, 20, 10));
  EXPECT_EQ(hair.Alpha.Format(), PixelFormat::Bits8);
  EXPECT_EQ(hair.Alpha.Row(29)[39], 200);

  const DecodeLimits small{39, 10000};
  const struct {
    const char* File;
    DecodeLimits Limits;
  } failures[] = {{"missing.png", {}}, {"cut.png", {}}, {"text.png", {}}, {"good.png", small}, {"", {}}};
  for (const auto& f : failures) {
    SCOPED_TRACE(f.File);
    HairWithAlpha kept;
    kept.Colour = Bitmap(2, 2);
    kept.Colour.Fill(Rgb(9, 9, 9));
    EXPECT_FALSE(ReadLargeHairstyle(f.File[0] ? folder.File(f.File) : "", kept, f.Limits));
    EXPECT_EQ(kept.Colour.Width(), 2);
    EXPECT_EQ(kept.Colour.Pixel(1, 1), Rgb(9, 9, 9));
    EXPECT_TRUE(kept.Alpha.Empty());
  }
}

// The catalogue pictures beside the built program, category by category.
std::vector<std::string> ShippedHairstyles() {
  const char* bin = std::getenv("GLAMORA_BIN_DIR");
  std::vector<std::string> pictures;
  if (!bin) return pictures;
  for (HairstyleCategory category = kFirstCategory; category <= kLastCategory; ++category) {
    for (int number = 0;; ++number) {
      const std::string file = HairstyleFileName(std::string(bin) + "/", CategoryName(category), number);
      if (!fs::exists(file)) break;
      pictures.push_back(file);
    }
  }
  return pictures;
}

Bitmap ReadJpeg(const std::string& file) {
  Bitmap picture;
  TImgIOParams params;
  size_t consumed = 0;
  EXPECT_EQ(codec::JpegCodec().Decode(ReadFileBytes(file), picture, params, ProgressRecord{}, consumed),
            PictureStatus::Ok)
      << file;
  picture.ConvertTo24();
  return picture;
}

// The hair over white: c × a + 255 × (1 − a).
Bitmap OnWhite(const HairWithAlpha& hair) {
  Bitmap out(hair.Colour.Width(), hair.Colour.Height());
  for (int y = 0; y < out.Height(); ++y) {
    const uint8_t* colour = hair.Colour.Row(y);
    const uint8_t* alpha = hair.Alpha.Row(y);
    uint8_t* row = out.Row(y);
    for (int x = 0; x < out.Width(); ++x) {
      for (int k = 0; k < 3; ++k) row[3 * x + k] = uint8_t((colour[3 * x + k] * alpha[x] + 255 * (255 - alpha[x]) + 127) / 255);
    }
  }
  return out;
}

// The area average of every factor × factor block: the exact reduction by a
// whole factor, each reduced pixel centred on the block it stands for.
Bitmap Reduced(const Bitmap& picture, int factor) {
  Bitmap out(picture.Width() / factor, picture.Height() / factor);
  std::vector<int> sums(size_t(out.Width()) * 3);
  for (int y = 0; y < out.Height(); ++y) {
    std::fill(sums.begin(), sums.end(), 0);
    for (int dy = 0; dy < factor; ++dy) {
      const uint8_t* row = picture.Row(y * factor + dy);
      for (int x = 0; x < 3 * out.Width() * factor; ++x) sums[size_t(x / (3 * factor) * 3 + x % 3)] += row[x];
    }
    for (size_t k = 0; k < sums.size(); ++k) out.Row(y)[k] = uint8_t((sums[k] + factor * factor / 2) / (factor * factor));
  }
  return out;
}

struct Box {
  int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;
};

// Where the hair is: pixels clearly darker than the background.
Box HairBox(const Bitmap& picture) {
  Box box;
  for (int y = 0; y < picture.Height(); ++y) {
    const uint8_t* row = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x) {
      if (row[3 * x + 1] >= 160) continue;
      box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x), std::max(box.Bottom, y)};
    }
  }
  return box;
}

double MeanDifference(const Bitmap& a, const Bitmap& b) {
  double sum = 0;
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < 3 * a.Width(); ++x) sum += std::abs(int(a.Row(y)[x]) - int(b.Row(y)[x]));
  }
  return sum / (3.0 * a.Width() * a.Height());
}

// Every shipped hairstyle has its large companion, four times its size;
// reduced and put on white it is the catalogue picture (the same style in
// the same place); and where it is hair, its colour is hair, not background.
TEST(LargeHairstyle, ShippedCompanionsAreTheCataloguePicturesLarger) {
  constexpr double kMostMeanDifference = 3.0;
  constexpr int kMostBoxShift = 3;
  constexpr int kSolidHair = 128;     // alpha from which a pixel is mostly hair
  constexpr int kNearWhite = 200;     // no channel of such a pixel's colour this light
  const std::vector<std::string> pictures = ShippedHairstyles();
  ASSERT_GE(pictures.size(), 100u) << "the catalogue beside the program";
  for (const std::string& picture : pictures) {
    SCOPED_TRACE(picture);
    const Bitmap catalogue = ReadJpeg(picture);
    HairWithAlpha large;
    ASSERT_TRUE(ReadLargeHairstyle(LargeHairstylePath(picture), large, {}));
    ASSERT_EQ(large.Colour.Width(), 4 * catalogue.Width());
    ASSERT_EQ(large.Colour.Height(), 4 * catalogue.Height());

    int whiteUnderHair = 0;
    for (int y = 0; y < large.Colour.Height(); ++y) {
      const uint8_t* colour = large.Colour.Row(y);
      const uint8_t* alpha = large.Alpha.Row(y);
      for (int x = 0; x < large.Colour.Width(); ++x) {
        const uint8_t* c = colour + 3 * x;
        if (alpha[x] >= kSolidHair && std::max({c[0], c[1], c[2]}) >= kNearWhite) ++whiteUnderHair;
      }
    }
    EXPECT_EQ(whiteUnderHair, 0);

    const Bitmap reduced = Reduced(OnWhite(large), 4);
    EXPECT_LT(MeanDifference(reduced, catalogue), kMostMeanDifference);
    const Box want = HairBox(catalogue), got = HairBox(reduced);
    EXPECT_LE(std::abs(got.Left - want.Left), kMostBoxShift);
    EXPECT_LE(std::abs(got.Top - want.Top), kMostBoxShift);
    EXPECT_LE(std::abs(got.Right - want.Right), kMostBoxShift);
    EXPECT_LE(std::abs(got.Bottom - want.Bottom), kMostBoxShift);
  }
}

}  // namespace
}  // namespace glamora
