// glamora-cli makeup applies colours as the Make-up page does and writes the picture.
#include <gtest/gtest.h>

#include "face/StandardFace.h"
#include "tests/support/FaceFixtures.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/CliSupport.h"

namespace glamora {
namespace {

namespace sf = standard_face;
using test::DecodeBmp;
using test::RunCli;
using test::TempFolder;

TEST(CliMakeup, ColoursAreKeptInOrderAndTheComplexionComesLast) {
  TempFolder dir;
  const TColor skin = Rgb(200, 160, 140);
  const std::string face =
      test::WriteTestFace(dir.File("face.mff"), test::StandardFacePicture(skin), test::RectangleRegionsHeader());

  auto r = RunCli({"makeup", face, dir.File("out.bmp"), "--eyes", "100,50,50", "--lips", "50,50,0"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  Bitmap out = DecodeBmp(dir.File("out.bmp"));
  ASSERT_EQ(out.Width(), 228);
  EXPECT_EQ(out.Pixel(sf::kLeftEyeX, sf::kEyeLineY), Rgb(250, 160, 140));
  EXPECT_EQ(out.Pixel(sf::kRightEyeX, sf::kEyeLineY), Rgb(250, 160, 140));
  EXPECT_EQ(out.Pixel(sf::kCentreX, sf::kMouthY), Rgb(200, 160, 90));
  EXPECT_EQ(out.Pixel(5, 5), skin);

  // Lightness +20 on top of the eye colour: everything paler, the eye still redder than the skin.
  r = RunCli({"makeup", face, dir.File("pale.bmp"), "--eyes", "100,50,50", "--complexion", "-20"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  out = DecodeBmp(dir.File("pale.bmp"));
  const TColor paleSkin = out.Pixel(5, 5), paleEye = out.Pixel(sf::kLeftEyeX, sf::kEyeLineY);
  EXPECT_GT(RedOf(paleSkin), 200);
  EXPECT_GT(GreenOf(paleSkin), 160);
  EXPECT_GT(GreenOf(paleEye), 160);
  EXPECT_GT(RedOf(paleEye), RedOf(paleSkin));
}

TEST(CliMakeup, BadArgumentsFailWithOneLine) {
  TempFolder dir;
  const std::string face = test::WriteTestFace(dir.File("face.mff"), test::StandardFacePicture(),
                                               test::RectangleRegionsHeader());
  const std::vector<std::vector<std::string>> failing = {
      {"makeup", face, dir.File("o.bmp"), "--eyes", "1,2"},
      {"makeup", face, dir.File("o.bmp"), "--lips", "300,0,0"},
      {"makeup", face, dir.File("o.bmp"), "--complexion", "11"},
      {"makeup", face, dir.File("o.bmp"), "--glitter", "1,1,1"},
      {"makeup", dir.File("missing.mff"), dir.File("o.bmp")},
      {"makeup", face, dir.File("o.xyz")},
      {"makeup", face},
  };
  for (const auto& args : failing) {
    const auto r = RunCli(args);
    EXPECT_NE(r.ExitCode, 0) << args.back();
    EXPECT_NE(r.Err.find("glamora-cli makeup:"), std::string::npos) << r.Err;
  }
}

// --soft takes no value and lays the colours on softly: inside the regions
// part of the way to the colour, outside them nothing but a fading edge.
TEST(CliMakeup, SoftEdgesBlendTheColoursIn) {
  TempFolder dir;
  const TColor skin = Rgb(200, 160, 140);
  const std::string face =
      test::WriteTestFace(dir.File("face.mff"), test::StandardFacePicture(skin), test::RectangleRegionsHeader());
  auto r = RunCli({"makeup", face, dir.File("soft.bmp"), "--soft", "--eyes", "60,40,200", "--lips", "200,30,60"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  const Bitmap soft = DecodeBmp(dir.File("soft.bmp"));
  const TColor eye = soft.Pixel(sf::kLeftEyeX, sf::kEyeLineY), mouth = soft.Pixel(sf::kCentreX, sf::kMouthY);
  EXPECT_TRUE(RedOf(eye) < RedOf(skin) && BlueOf(eye) > BlueOf(skin) && BlueOf(eye) < 200) << std::hex << eye;
  EXPECT_TRUE(GreenOf(mouth) < GreenOf(skin) && GreenOf(mouth) > 30) << std::hex << mouth;
  EXPECT_EQ(soft.Pixel(5, 5), skin);
  EXPECT_EQ(soft.Pixel(sf::kLeftEyeX, sf::kEyeLineY + 20), skin);

  r = RunCli({"makeup", face, dir.File("flat.bmp"), "--eyes", "60,40,200", "--lips", "200,30,60"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(DecodeBmp(dir.File("flat.bmp")).Pixel(sf::kLeftEyeX, sf::kEyeLineY), Rgb(210, 150, 255));
}

}  // namespace
}  // namespace glamora
