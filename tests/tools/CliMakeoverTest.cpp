// glamora-cli makeover composes a made-up face with a whitened, tinted
// hairstyle at the window's default place or inside a given frame.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "codecs/Bmp.h"
#include "face/FaceFile.h"
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

const TColor kSkin = Rgb(200, 160, 140);

std::string WriteBmp(const std::string& path, const Bitmap& picture) {
  TImgIOParams params;
  MemoryStream bytes;
  EXPECT_EQ(codec::BmpCodec().Encode(picture, params, ProgressRecord{}, bytes), PictureStatus::Ok);
  test::WriteAll(path, bytes.Bytes());
  return path;
}

// A face-sized hairstyle: a light background that whitens, a grey
// (100, 100, 100) band over the top of the head and one pixel of
// (0, 181, 90) at (20, 20).
Bitmap FaceSizedHair() {
  Bitmap picture(sf::kWidth, sf::kHeight);
  picture.Fill(Rgb(200, 190, 250));
  for (int y = 10; y < 40; ++y)
    for (int x = 40; x < 190; ++x) picture.SetPixel(x, y, Rgb(100, 100, 100));
  picture.SetPixel(20, 20, Rgb(0, 181, 90));
  return picture;
}

class CliMakeover : public ::testing::Test {
 protected:
  CliMakeover()
      : face_(test::WriteTestFace(dir_.File("face.mff"), test::StandardFacePicture(kSkin),
                                  test::RectangleRegionsHeader())) {}

  Bitmap Makeover(std::vector<std::string> options) {
    std::vector<std::string> args = {"makeover", face_, dir_.File("out.bmp")};
    args.insert(args.end(), options.begin(), options.end());
    const auto r = RunCli(args);
    EXPECT_EQ(r.ExitCode, 0) << r.Err;
    return DecodeBmp(dir_.File("out.bmp"));
  }

  TempFolder dir_;
  std::string face_;
};

TEST_F(CliMakeover, TheHairCoversTheFaceWhitenedAndWarmedByTheDefaultTint) {
  const std::string hair = WriteBmp(dir_.File("hair.bmp"), FaceSizedHair());
  const Bitmap out = Makeover({"--hair", hair});
  ASSERT_EQ(out.Width(), sf::kWidth);
  ASSERT_EQ(out.Height(), sf::kHeight);
  EXPECT_EQ(out.Pixel(100, 20), Rgb(160, 140, 120));
  EXPECT_EQ(out.Pixel(20, 20), Rgb(60, 255, 110));  // 0 stays 0, 181 whitens, 90 stays
  // The whitened background is see-through.
  EXPECT_EQ(out.Pixel(5, 5), kSkin);
  EXPECT_EQ(out.Pixel(sf::kCentreX, sf::kMouthY), kSkin);

  // Black leaves the hair as whitened.
  const Bitmap plain = Makeover({"--hair", hair, "--tint", "0,0,0"});
  EXPECT_EQ(plain.Pixel(100, 20), Rgb(100, 100, 100));
  EXPECT_EQ(plain.Pixel(20, 20), Rgb(0, 255, 90));
}

// The window refuses faces and hairstyles above 16 megapixels; the command
// line takes anything up to the program's own limits.
TEST_F(CliMakeover, AFaceAndAHairstyleAboveTheWindowsLimitsAreTaken) {
  const std::string face = dir_.File("big.mff");
  WriteFaceFile(test::RectangleRegionsHeader(), test::SparseRunLengthBmp(4001, 4000), face);
  const std::string hair = dir_.File("big.bmp");
  test::WriteAll(hair, test::SparseRunLengthBmp(4001, 4000));
  const auto r = RunCli({"makeover", face, dir_.File("out.bmp"), "--hair", hair});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  const Bitmap out = DecodeBmp(dir_.File("out.bmp"));
  EXPECT_EQ(out.Width(), 4001);
  EXPECT_EQ(out.Height(), 4000);
}

TEST_F(CliMakeover, MakeupGoesOnTheFaceUnderTheHair) {
  const std::string hair = WriteBmp(dir_.File("hair.bmp"), FaceSizedHair());
  const Bitmap out = Makeover({"--eyes", "100,50,50", "--hair", hair, "--lips", "50,50,0", "--tint", "10,20,30"});
  EXPECT_EQ(out.Pixel(sf::kLeftEyeX, sf::kEyeLineY), Rgb(250, 160, 140));
  EXPECT_EQ(out.Pixel(sf::kCentreX, sf::kMouthY), Rgb(200, 160, 90));
  EXPECT_EQ(out.Pixel(100, 20), Rgb(110, 120, 130));
  EXPECT_EQ(out.Pixel(5, 5), kSkin);

  // Without a hairstyle the made-up face alone.
  const Bitmap bare = Makeover({"--lips", "50,50,0"});
  EXPECT_EQ(bare.Pixel(sf::kCentreX, sf::kMouthY), Rgb(200, 160, 90));
  EXPECT_EQ(bare.Pixel(100, 20), kSkin);

  // Soft edges blend the lipstick in instead of shifting the channels.
  const TColor softLips = Makeover({"--soft", "--lips", "50,50,0"}).Pixel(sf::kCentreX, sf::kMouthY);
  EXPECT_NE(softLips, Rgb(200, 160, 90));
  EXPECT_LT(BlueOf(softLips), BlueOf(kSkin));
}

TEST_F(CliMakeover, AFrameStretchesTheHairIntoItsInside) {
  // A 19 x 19 hairstyle whose grey square (8..12, 8..12) doubles in a frame
  // whose inside is 38 x 38 at (10, 20).
  Bitmap small(19, 19);
  small.Fill(Rgb(230, 230, 230));
  for (int y = 8; y <= 12; ++y)
    for (int x = 8; x <= 12; ++x) small.SetPixel(x, y, Rgb(100, 100, 100));
  const std::string hair = WriteBmp(dir_.File("small.bmp"), small);

  const Bitmap out = Makeover({"--hair", hair, "--frame", "9,19,48,58"});
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 80; ++x) {
      const bool grey = x >= 26 && x <= 35 && y >= 36 && y <= 45;
      EXPECT_EQ(out.Pixel(x, y), grey ? Rgb(160, 140, 120) : kSkin) << x << ", " << y;
    }
  }

  // At the default place the same hairstyle spreads over the whole face:
  // each of its pixels covers 12 × 16.5 face pixels.
  const Bitmap spread = Makeover({"--hair", hair});
  EXPECT_EQ(spread.Pixel(96, 140), Rgb(160, 140, 120));
  EXPECT_EQ(spread.Pixel(155, 214), Rgb(160, 140, 120));
  EXPECT_EQ(spread.Pixel(95, 140), kSkin);
  EXPECT_EQ(spread.Pixel(156, 214), kSkin);
}

TEST_F(CliMakeover, BadArgumentsFailWithOneLine) {
  const std::string hair = WriteBmp(dir_.File("hair.bmp"), FaceSizedHair());
  WriteBmp(dir_.File("hair.jpeg"), FaceSizedHair());
  test::WriteAll(dir_.File("broken.jpg"), std::string("not a picture"));
  const std::string out = dir_.File("o.bmp");
  const std::vector<std::vector<std::string>> failing = {
      {"makeover", face_, out, "--hair", hair, "--tint", "1,2"},
      {"makeover", face_, out, "--hair", hair, "--tint", "1,2,256"},
      {"makeover", face_, out, "--hair", hair, "--frame", "0,0,100"},
      {"makeover", face_, out, "--hair", hair, "--frame", "0,0,1,100"},
      {"makeover", face_, out, "--hair", hair, "--frame", "0,0,100,100,7"},
      // Beyond the picture coordinates: no side of a picture is longer than 30000.
      {"makeover", face_, out, "--hair", hair, "--frame", "-2147483648,-2147483648,2147483647,2147483647"},
      {"makeover", face_, out, "--hair", hair, "--frame", "0,0,30001,100"},
      {"makeover", face_, out, "--hair", hair, "--frame", "-30001,0,10,100"},
      {"makeover", face_, out, "--hair", hair, "--frame", "0,0,10,2147483648"},
      {"makeover", face_, out, "--tint", "1,2,3"},
      {"makeover", face_, out, "--frame", "0,0,100,100"},
      {"makeover", face_, out, "--hair", dir_.File("missing.jpg")},
      {"makeover", face_, out, "--hair", dir_.File("hair.jpeg")},
      {"makeover", face_, out, "--hair", dir_.File("broken.jpg")},
      {"makeover", face_, out, "--hair"},
      {"makeover", face_, out, "--curls", "1,1,1"},
      {"makeover", dir_.File("missing.mff"), out},
      {"makeover", face_, dir_.File("o.xyz"), "--hair", hair},
      {"makeover", face_},
  };
  for (const auto& args : failing) {
    std::string line;
    for (const auto& a : args) line += a + " ";
    SCOPED_TRACE(line);
    const auto r = RunCli(args);
    EXPECT_NE(r.ExitCode, 0);
    std::istringstream err(r.Err);
    int messages = 0;
    for (std::string text; std::getline(err, text);) messages += text.rfind("glamora-cli makeover: ", 0) == 0;
    EXPECT_EQ(messages, 1) << r.Err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir_.File("o.xyz")));
}

}  // namespace
}  // namespace glamora
