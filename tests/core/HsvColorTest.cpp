// Integer HSV and RGB conversions: the truncating formulas and round trips.
#include "imaging/core/HsvColor.h"

#include <gtest/gtest.h>

namespace glamora {
namespace {

struct HsvToRgbCase {
  int Hue, Sat, Val;
  RgbBytes Expected;
};

class HsvToRgbTest : public ::testing::TestWithParam<HsvToRgbCase> {};

TEST_P(HsvToRgbTest, GivesTheBytesOfTheTruncatingFormula) {
  const HsvToRgbCase& c = GetParam();
  EXPECT_EQ(HsvToRgb(c.Hue, c.Sat, c.Val), c.Expected) << c.Hue << "," << c.Sat << "," << c.Val;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HsvToRgbTest,
    ::testing::Values(HsvToRgbCase{0, 99, 99, {255, 0, 0}},    // pure red
                      HsvToRgbCase{120, 99, 99, {0, 255, 0}},  // pure green
                      HsvToRgbCase{240, 99, 99, {0, 0, 255}},  // pure blue
                      HsvToRgbCase{60, 99, 99, {255, 255, 0}},
                      HsvToRgbCase{0, 0, 50, {129, 129, 129}},  // grey: every channel round(50 / 99 * 255)
                      HsvToRgbCase{200, 0, 50, {129, 129, 129}},
                      HsvToRgbCase{359, 0, 99, {255, 255, 255}},
                      HsvToRgbCase{0, 0, 0, {0, 0, 0}},
                      // 9801 * 30 / 5940 = 49.5 truncates to 49: green 99 - 49 = 50 -> 129
                      HsvToRgbCase{30, 99, 99, {255, 129, 0}},
                      // sector 3: p = 80 - 4000 / 99 = 40, q = 80 - 80000 / 5940 = 67
                      HsvToRgbCase{200, 50, 80, {103, 173, 206}},
                      // out-of-range input is clamped, never wrapped
                      HsvToRgbCase{-10, 99, 99, {255, 0, 0}},
                      HsvToRgbCase{400, 120, -3, {0, 0, 0}},
                      HsvToRgbCase{400, 120, 200, HsvToRgb(359, 99, 99)}));

struct RgbToHsvCase {
  uint8_t Red, Green, Blue;
  HsvValue Expected;
};

class RgbToHsvTest : public ::testing::TestWithParam<RgbToHsvCase> {};

TEST_P(RgbToHsvTest, GivesTheIntegerHsv) {
  const RgbToHsvCase& c = GetParam();
  EXPECT_EQ(RgbToHsv(c.Red, c.Green, c.Blue), c.Expected) << int(c.Red) << "," << int(c.Green) << "," << int(c.Blue);
}

INSTANTIATE_TEST_SUITE_P(Cases, RgbToHsvTest,
                         ::testing::Values(RgbToHsvCase{255, 255, 255, {0, 0, 99}},
                                           RgbToHsvCase{0, 0, 0, {0, 0, 0}},
                                           RgbToHsvCase{255, 0, 0, {0, 99, 99}},
                                           RgbToHsvCase{0, 255, 0, {120, 99, 99}},
                                           RgbToHsvCase{0, 0, 255, {240, 99, 99}},
                                           RgbToHsvCase{128, 128, 128, {0, 0, 50}},
                                           // blue 128 is 50 on the 0..99 scale; (0 - 50) * 60 / 99 = -30 + 360
                                           RgbToHsvCase{255, 0, 128, {330, 99, 99}},
                                           // saturation truncates: 49 * 99 / 99
                                           RgbToHsvCase{255, 128, 128, {0, 49, 99}}));

TEST(HsvColorTest, FullySaturatedHuesOnSectorBordersSurviveTheRoundTrip) {
  for (int hue : {0, 60, 120, 180, 240, 300}) {
    const RgbBytes rgb = HsvToRgb(hue, 99, 99);
    EXPECT_EQ(RgbToHsv(rgb.Red, rgb.Green, rgb.Blue), (HsvValue{hue, 99, 99})) << hue;
  }
}

}  // namespace
}  // namespace glamora
