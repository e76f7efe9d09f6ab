// The hairstyle catalogue that ships in Short/, Medium/, Long/, Char/ and
// Male/: entries numbered from 000 without gaps, at the standard face size,
// on a background that whitens into the see-through colour, in neutral greys
// that the hair colour can tint, and never over the eyes, nose or mouth.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "codecs/Bmp.h"
#include "codecs/Jpeg.h"
#include "face/StandardFace.h"
#include "imaging/core/Bitmap.h"
#include "imaging/core/FileExtension.h"
#include "tests/support/TestSupport.h"

namespace sf = glamora::standard_face;
namespace fs = std::filesystem;

namespace {

// Channels above this turn white when a hairstyle is loaded.
constexpr int kWhitening = 180;

struct CategoryCase {
  const char* Folder;
  size_t Minimum;  // the random make-over draws numbers 0 to 29 in the first four
};

void PrintTo(const CategoryCase& c, std::ostream* os) { *os << c.Folder; }

const CategoryCase kCategories[] = {{"Short", 30}, {"Medium", 30}, {"Long", 30}, {"Char", 30}, {"Male", 12}};

std::string CategoryFolder(const CategoryCase& c) { return glamora::test::SourceDir() + "/data/" + c.Folder; }

std::string NumberedName(size_t number) {
  std::string digits = std::to_string(number);
  return std::string(3 - std::min<size_t>(3, digits.size()), '0') + digits + ".jpg";
}

std::vector<std::string> FileNames(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

struct Rgb {
  int R, G, B;
  int Min() const { return std::min({R, G, B}); }
  int Max() const { return std::max({R, G, B}); }
};

Rgb At(const glamora::Bitmap& b, int x, int y) {
  const uint8_t* p = b.Row(y) + 3 * x;
  return {p[2], p[1], p[0]};
}

// The eyes with their lids and the space below the brows, and an ellipse
// over the nose and mouth: hair never lies there.
bool InFaceCentre(int x, int y) {
  for (int eyeX : {sf::kLeftEyeX, sf::kRightEyeX}) {
    if (std::abs(x - eyeX) <= sf::kEyeHalfWidth + 2 && y >= sf::kEyeLineY - 10 &&
        y <= sf::kEyeLineY + sf::kEyeHalfHeight + 4)
      return true;
  }
  const double cy = (sf::kEyeLineY + sf::kMouthY) / 2.0;
  const double rx = sf::kMouthHalfWidth + 12.0;
  const double ry = (sf::kMouthY - sf::kEyeLineY) / 2.0 + 12.0;
  const double dx = (x - sf::kCentreX) / rx, dy = (y - cy) / ry;
  return dx * dx + dy * dy <= 1;
}

glamora::Bitmap Decoded(const std::string& path) {
  glamora::Bitmap picture;
  glamora::TImgIOParams params;
  size_t consumed = 0;
  const std::vector<uint8_t> bytes = glamora::test::ReadAll(path);
  const bool jpeg = glamora::LowerExtension(path) == ".jpg";
  const glamora::PictureStatus status =
      jpeg ? glamora::codec::DecodeJpeg(bytes, picture, params, glamora::ProgressRecord(), consumed)
           : glamora::codec::DecodeBmp(bytes, picture, params, glamora::ProgressRecord(), consumed);
  EXPECT_EQ(status, glamora::PictureStatus::Ok) << path;
  return picture;
}

class HairstyleCategory : public ::testing::TestWithParam<CategoryCase> {};

TEST_P(HairstyleCategory, IsNumberedFromZeroWithoutGaps) {
  const std::vector<std::string> names = FileNames(CategoryFolder(GetParam()));
  ASSERT_GE(names.size(), GetParam().Minimum);
  // Sorted names match 000.jpg, 001.jpg, ... one for one only when every name
  // is three digits and no number is missing.
  for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(names[i], NumberedName(i));
}

TEST_P(HairstyleCategory, EveryPictureIsGreyHairOnWhiteThatLeavesTheFaceFree) {
  const std::vector<std::string> names = FileNames(CategoryFolder(GetParam()));
  ASSERT_FALSE(names.empty());
  for (const std::string& name : names) {
    SCOPED_TRACE(std::string(GetParam().Folder) + "/" + name);
    const glamora::Bitmap picture = Decoded(CategoryFolder(GetParam()) + "/" + name);
    ASSERT_EQ(picture.Width(), sf::kWidth);
    ASSERT_EQ(picture.Height(), sf::kHeight);
    ASSERT_EQ(picture.Format(), glamora::PixelFormat::Bits24);

    // The see-through colour is taken from (5, 5) after whitening: it must be white.
    EXPECT_GT(At(picture, 5, 5).Min(), kWhitening);

    int hair = 0, faceCovered = 0, tinted = 0;
    for (int y = 0; y < picture.Height(); ++y) {
      for (int x = 0; x < picture.Width(); ++x) {
        const Rgb c = At(picture, x, y);
        if (c.Min() > kWhitening) continue;
        ++hair;
        if (InFaceCentre(x, y)) ++faceCovered;
        if (c.Max() - c.Min() > 10) ++tinted;
      }
    }
    EXPECT_EQ(faceCovered, 0) << "pixels of hair over the eyes, nose or mouth";
    EXPECT_EQ(tinted, 0) << "hair pixels that are not neutral grey";
    EXPECT_GE(hair, sf::kWidth * sf::kHeight / 20) << "too little hair";
  }
}

// Faces are carved along the oval mask. Where hair comes up to the face it
// must cover the carved-away pixels next to the mask, or the white behind
// the face shows as a seam between hair and face.
TEST_P(HairstyleCategory, HairMeetsTheCarvedFaceWithoutASeam) {
  const glamora::Bitmap mask = Decoded(glamora::test::SourceDir() + "/data/Shapes/MaskGrayOval.bmp");
  ASSERT_EQ(mask.Width(), sf::kWidth);
  ASSERT_EQ(mask.Height(), sf::kHeight);
  auto face = [&](int x, int y) { return At(mask, x, y).Max() < 250; };
  for (const std::string& name : FileNames(CategoryFolder(GetParam()))) {
    SCOPED_TRACE(std::string(GetParam().Folder) + "/" + name);
    const glamora::Bitmap picture = Decoded(CategoryFolder(GetParam()) + "/" + name);
    ASSERT_EQ(picture.Width(), sf::kWidth);
    auto hair = [&](int x, int y) { return At(picture, x, y).Min() <= kWhitening; };
    // A background pixel is a seam when, across the face outline, the face
    // lies on its inner side and hair on its outer side.
    int seam = 0;
    for (int y = sf::kFaceTop; y <= sf::kChinY; ++y) {
      for (int x = 1; x < sf::kWidth - 1; ++x) {
        if (face(x, y) || hair(x, y)) continue;
        // The outward normal of the oval here, as a one-pixel step.
        const double dx = double(x - sf::kFaceCentreX) / (sf::kFaceRadiusX * sf::kFaceRadiusX);
        const double dy = double(y - sf::kFaceCentreY) / (sf::kFaceRadiusY * sf::kFaceRadiusY);
        const double length = std::hypot(dx, dy);
        if (length == 0) continue;
        const int ux = int(std::lround(dx / length)), uy = int(std::lround(dy / length));
        if (face(x - ux, y - uy) && hair(x + ux, y + uy)) ++seam;
      }
    }
    // A few pixels where strand ends meet the jaw or lie beside the ears
    // are fine; a seam along the outline runs to some fifty.
    EXPECT_LE(seam, 20) << "white pixels between the hair and the face";
  }
}

// The hair as the program keeps it after whitening: for every pixel, its
// grey when it stays hair, -1 where it turns into the see-through white.
std::vector<int> WhitenedHair(const glamora::Bitmap& picture) {
  std::vector<int> hair(size_t(picture.Width()) * picture.Height(), -1);
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      const Rgb c = At(picture, x, y);
      if (c.Min() <= kWhitening) hair[size_t(y) * picture.Width() + x] = (c.R + c.G + c.B) / 3;
    }
  }
  return hair;
}

// The hair colour is added to the hair's greys, so the greys decide what the
// colour box can reach: black must leave nearly black hair, and the default
// colour (60, 40, 20) must make a natural brown rather than a dark one.
TEST_P(HairstyleCategory, HairIsDarkEnoughToTintFromBlackToBlond) {
  for (const std::string& name : FileNames(CategoryFolder(GetParam()))) {
    SCOPED_TRACE(std::string(GetParam().Folder) + "/" + name);
    const glamora::Bitmap picture = Decoded(CategoryFolder(GetParam()) + "/" + name);
    std::vector<int> greys;
    for (int g : WhitenedHair(picture)) {
      if (g >= 0) greys.push_back(g);
    }
    ASSERT_FALSE(greys.empty());
    std::sort(greys.begin(), greys.end());
    const int median = greys[greys.size() / 2];
    EXPECT_LE(median, 55) << "black in the colour box would leave grey hair";
    EXPECT_GE(median, 15) << "the default colour would leave nearly black hair";
  }
}

// Strand edges are mixed with the background: hair pixels at the outline are
// lighter than the hair inside, so once the lightest mixes are keyed out the
// outline still fades instead of stepping from hair to nothing; and no bit of
// dark hair of a few pixels lies cut off from the rest, as specks beyond the
// tips.
TEST_P(HairstyleCategory, OutlineIsSmoothWithoutStraySpecks) {
  constexpr size_t kSpeck = 3;  // pixels, at most, of a cut-off bit
  for (const std::string& name : FileNames(CategoryFolder(GetParam()))) {
    SCOPED_TRACE(std::string(GetParam().Folder) + "/" + name);
    const glamora::Bitmap picture = Decoded(CategoryFolder(GetParam()) + "/" + name);
    const int w = picture.Width(), h = picture.Height();
    const std::vector<int> hair = WhitenedHair(picture);
    auto at = [&](int x, int y) { return x < 0 || y < 0 || x >= w || y >= h ? -1 : hair[size_t(y) * w + x]; };
    double edgeSum = 0, innerSum = 0;
    int edges = 0, inner = 0;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const int g = at(x, y);
        if (g < 0) continue;
        const bool open = at(x - 1, y) < 0 || at(x + 1, y) < 0 || at(x, y - 1) < 0 || at(x, y + 1) < 0;
        (open ? edgeSum : innerSum) += g;
        ++(open ? edges : inner);
      }
    }
    ASSERT_GT(edges, 0);
    ASSERT_GT(inner, 0);
    EXPECT_GE(edgeSum / edges - innerSum / inner, 25) << "edge pixels are not mixed with the background";

    // Connected bits of hair (neighbours in eight directions) and the darkest
    // grey of each small one.
    std::vector<bool> seen(hair.size(), false);
    std::string specks;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        if (at(x, y) < 0 || seen[size_t(y) * w + x]) continue;
        std::vector<std::pair<int, int>> bit{{x, y}};
        seen[size_t(y) * w + x] = true;
        int darkest = 255;
        bool atBorder = false;
        for (size_t k = 0; k < bit.size(); ++k) {
          auto [bx, by] = bit[k];
          darkest = std::min(darkest, at(bx, by));
          atBorder = atBorder || bx == 0 || by == 0 || bx == w - 1 || by == h - 1;
          for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
              const int nx = bx + dx, ny = by + dy;
              if (at(nx, ny) < 0 || seen[size_t(ny) * w + nx]) continue;
              seen[size_t(ny) * w + nx] = true;
              bit.emplace_back(nx, ny);
            }
          }
        }
        // A bit at the picture's border is hair running out of the picture.
        if (bit.size() <= kSpeck && darkest < 120 && !atBorder) specks += " " + std::to_string(x) + "," + std::to_string(y);
      }
    }
    EXPECT_TRUE(specks.empty()) << "dark specks of hair standing alone at" << specks;
  }
}

// Two hairstyles of one category must differ in what they cover. The
// distance of two pictures is the share of their hair (after whitening)
// that only one of them has: 1 - |A ∩ B| / |A ∪ B|. Redrawing a style with
// other strands or a few pixels' shift stays under 0.1; different cuts,
// partings, lengths or fringes differ by far more.
TEST_P(HairstyleCategory, NoTwoHairstylesAreNearCopies) {
  const std::vector<std::string> names = FileNames(CategoryFolder(GetParam()));
  std::vector<std::vector<bool>> masks;
  for (const std::string& name : names) {
    std::vector<bool> mask;
    for (int g : WhitenedHair(Decoded(CategoryFolder(GetParam()) + "/" + name))) mask.push_back(g >= 0);
    masks.push_back(std::move(mask));
  }
  for (size_t i = 0; i < masks.size(); ++i) {
    for (size_t j = i + 1; j < masks.size(); ++j) {
      if (masks[i].size() != masks[j].size()) continue;
      size_t both = 0, either = 0;
      for (size_t k = 0; k < masks[i].size(); ++k) {
        both += masks[i][k] && masks[j][k];
        either += masks[i][k] || masks[j][k];
      }
      const double distance = either == 0 ? 0 : 1 - double(both) / double(either);
      EXPECT_GE(distance, 0.1) << names[i] << " and " << names[j] << " are near copies";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, HairstyleCategory, ::testing::ValuesIn(kCategories),
                         [](const ::testing::TestParamInfo<CategoryCase>& category) {
                           return std::string(category.param.Folder);
                         });

}  // namespace
