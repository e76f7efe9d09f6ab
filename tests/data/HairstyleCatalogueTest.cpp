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

INSTANTIATE_TEST_SUITE_P(Catalogue, HairstyleCategory, ::testing::ValuesIn(kCategories),
                         [](const ::testing::TestParamInfo<CategoryCase>& category) {
                           return std::string(category.param.Folder);
                         });

}  // namespace
