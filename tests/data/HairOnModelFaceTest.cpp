// The shipped hairstyles put on the shipped model face, as the program puts
// them: hair and face meet without a light line between them, and the
// women's styles have a hairline over the temples rather than ending in the
// bare oval of the face.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include "face/StandardFace.h"
#include "hair/HairPicture.h"
#include "imaging/core/Bitmap.h"
#include "model/Makeover.h"
#include "tests/support/TestSupport.h"

namespace sf = glamora::standard_face;
namespace fs = std::filesystem;

namespace {

constexpr double kPi = 3.14159265358979323846;

std::string DataFolder() { return glamora::test::SourceDir() + "/data/"; }

int Lightness(glamora::TColor c) { return (glamora::RedOf(c) + glamora::GreenOf(c) + glamora::BlueOf(c)) / 3; }

// The pixel `offset` pixels out from the face oval (negative: inside) along
// its normal at the angle `degrees`.
glamora::TColor AtOval(const glamora::Bitmap& picture, double degrees, double offset) {
  const double a = degrees * kPi / 180;
  const double x = sf::kFaceCentreX + (sf::kFaceRadiusX + offset) * std::cos(a);
  const double y = sf::kFaceCentreY + (sf::kFaceRadiusY + offset) * std::sin(a);
  return picture.Pixel(int(std::floor(x)), int(std::floor(y)));
}

class HairOnModelFace : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { ASSERT_TRUE(model_.LoadFace(DataFolder() + "Faces/Modela.eff")); }

  // Every hairstyle of the category on the face in the default hair colour.
  template <typename Check>
  void ForEachStyle(Check check) {
    int styles = 0;
    for (int number = 0;; ++number) {
      char name[16];
      std::snprintf(name, sizeof name, "%03d.jpg", number);
      const std::string file = DataFolder() + GetParam() + "/" + name;
      if (!fs::exists(file)) break;
      SCOPED_TRACE(std::string(GetParam()) + "/" + name);
      ASSERT_EQ(model_.LoadHairstyle(file), glamora::THairLoad::Loaded);
      check(model_.Compose());
      ++styles;
    }
    EXPECT_GT(styles, 0);
  }

  glamora::Makeover model_;
};

// Faces are carved along the oval with a light, soft edge, and hair edges are
// mixed with white: where either shows between hair and face, the outline
// has pixels lighter than the skin inside and the hair outside. Wherever hair
// lies beside the face, no pixel of the outline may stand out lighter than
// both sides and than the skin.
TEST_P(HairOnModelFace, NoLightLineBetweenHairAndFace) {
  constexpr int kLighter = 40;  // hair and skin texture vary by less between pixels two apart
  constexpr int kLighterThanSkin = 16;
  constexpr int kHairBelow = 110;  // hair in the default colour is darker than this, skin lighter
  ForEachStyle([&](const glamora::Bitmap& made) {
    std::string seams;
    int count = 0;
    for (double degrees = 0; degrees < 360; degrees += 0.5) {
      // Beside the temples, where the hair of every style lies along the
      // face: above is the hairline, below the ears (whose joins to the face
      // are the face's own) and the jaw, which a bob's ends leave.
      const double y = sf::kFaceCentreY + sf::kFaceRadiusY * std::sin(degrees * kPi / 180);
      if (y < sf::kEyeLineY - 36 || y >= sf::kEarTop - 6) continue;
      // Hair beside the face, not an ear the hair leaves free.
      if (Lightness(AtOval(made, degrees, 3)) >= kHairBelow || Lightness(AtOval(made, degrees, 6)) >= kHairBelow)
        continue;
      for (double offset = -2; offset <= 0; offset += 1) {
        const int middle = Lightness(AtOval(made, degrees, offset));
        const int inner = Lightness(AtOval(made, degrees, offset - 2));
        const int outer = Lightness(AtOval(made, degrees, offset + 2));
        // Skin showing between strands is no lighter than the skin further in.
        const int skin = Lightness(AtOval(made, degrees, -8));
        if (middle - std::max(inner, outer) <= kLighter || middle - skin <= kLighterThanSkin) continue;
        if (count++ < 5) seams += " " + std::to_string(int(degrees)) + "°/" + std::to_string(int(offset));
      }
    }
    EXPECT_EQ(count, 0) << "light pixels between hair and face, at (angle/offset)" << seams;
  });
}

INSTANTIATE_TEST_SUITE_P(Catalogue, HairOnModelFace, ::testing::Values("Short", "Medium", "Long", "Char", "Male"),
                         [](const ::testing::TestParamInfo<const char*>& category) {
                           return std::string(category.param);
                         });

// The women's and special styles come down over the upper sides of the
// forehead to the temples: points inside the face oval there, between the
// oval's top and a natural hairline, are hair. (Men's styles draw their own
// hairlines.)
class NaturalHairline : public HairOnModelFace {};

TEST_P(NaturalHairline, HairCoversTheUpperSidesOfTheForehead) {
  struct Point {
    int X, Y;
  };
  // Each at least six pixels inside the oval and above the brows by forty.
  const Point points[] = {{81, 88}, {147, 88}, {100, 75}, {128, 75}};
  ForEachStyle([&](const glamora::Bitmap& made) {
    for (const Point& p : points) {
      const glamora::TColor c = made.Pixel(p.X, p.Y);
      // Hair in the default colour is far darker than the forehead's skin.
      EXPECT_LT(Lightness(c), 160) << "bare forehead at " << p.X << "," << p.Y;
    }
  });
}

INSTANTIATE_TEST_SUITE_P(Catalogue, NaturalHairline, ::testing::Values("Short", "Medium", "Long", "Char"),
                         [](const ::testing::TestParamInfo<const char*>& category) {
                           return std::string(category.param);
                         });

}  // namespace
