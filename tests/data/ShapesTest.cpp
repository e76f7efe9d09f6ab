// The face-shape templates and masks that ship in Shapes/: their size and
// depth, the see-through colour of the templates, and the two-colour masks
// whose grey area the carving and the magic wand rely on.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "codecs/Bmp.h"
#include "face/StandardFace.h"
#include "imaging/core/Bitmap.h"
#include "tests/support/TestSupport.h"

namespace sf = glamora::standard_face;

namespace {

const char* const kShapeNames[] = {"Oval", "Wide", "Long", "Rect", "Try"};

std::string ShapesFolder() { return glamora::test::SourceDir() + "/data/Shapes/"; }

uint32_t LittleEndian(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
  return v;
}

using glamora::TColor;

struct Picture {
  int Width = 0;
  int Height = 0;
  int BitsPerPixel = 0;
  glamora::Bitmap Pixels;  // as the program's BMP decoder reads the file
  TColor At(int x, int y) const { return Pixels.Pixel(x, y); }
};

Picture Load(const std::string& path) {
  const std::vector<uint8_t> bytes = glamora::test::ReadAll(path);
  Picture p;
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return p;
  p.Width = int(LittleEndian(bytes, 18, 4));
  p.Height = int(LittleEndian(bytes, 22, 4));
  p.BitsPerPixel = int(LittleEndian(bytes, 28, 2));
  glamora::TImgIOParams params;
  size_t consumed = 0;
  if (glamora::codec::DecodeBmp(bytes, p.Pixels, params, glamora::ProgressRecord(), consumed) !=
      glamora::PictureStatus::Ok) {
    p.Pixels = {};
  }
  return p;
}

// Pixels 4-connected to the seed that have the seed's colour.
std::vector<bool> FloodFill(const Picture& p, int seedX, int seedY) {
  std::vector<bool> inside(size_t(p.Width) * p.Height, false);
  const TColor colour = p.At(seedX, seedY);
  std::vector<std::pair<int, int>> todo{{seedX, seedY}};
  while (!todo.empty()) {
    auto [x, y] = todo.back();
    todo.pop_back();
    if (x < 0 || y < 0 || x >= p.Width || y >= p.Height) continue;
    const size_t i = size_t(y) * p.Width + x;
    if (inside[i] || p.At(x, y) != colour) continue;
    inside[i] = true;
    todo.insert(todo.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
  }
  return inside;
}

class ShapeFiles : public ::testing::TestWithParam<const char*> {
 protected:
  Picture Template() const { return Load(ShapesFolder() + "Shape" + GetParam() + ".bmp"); }
  Picture Mask() const { return Load(ShapesFolder() + "MaskGray" + GetParam() + ".bmp"); }
};

TEST_P(ShapeFiles, AreStandardFaceSizedTwentyFourBitPictures) {
  for (const Picture& p : {Template(), Mask()}) {
    EXPECT_EQ(p.Width, sf::kWidth);
    EXPECT_EQ(p.Height, sf::kHeight);
    EXPECT_EQ(p.BitsPerPixel, 24);
    ASSERT_FALSE(p.Pixels.Empty());
    EXPECT_EQ(p.Pixels.Width(), sf::kWidth);
    EXPECT_EQ(p.Pixels.Height(), sf::kHeight);
  }
}

TEST_P(ShapeFiles, TemplateGuideMarksAreDrawnInColoursOtherThanTheSeeThroughOne) {
  const Picture t = Template();
  ASSERT_FALSE(t.Pixels.Empty());
  const TColor seeThrough = t.At(0, sf::kHeight - 1);
  // The rest of the border, away from where the shoulder lines leave the
  // picture, is see-through too: the template hides nothing there.
  EXPECT_EQ(t.At(0, 0), seeThrough);
  EXPECT_EQ(t.At(sf::kWidth - 1, 0), seeThrough);
  EXPECT_EQ(t.At(sf::kWidth - 1, sf::kHeight - 1), seeThrough);

  // Corner ticks of both eyes on the eye line and of the mouth.
  const struct { int X, Y; } marks[] = {
      {sf::kLeftEyeX - sf::kEyeHalfWidth, sf::kEyeLineY}, {sf::kLeftEyeX + sf::kEyeHalfWidth, sf::kEyeLineY},
      {sf::kRightEyeX - sf::kEyeHalfWidth, sf::kEyeLineY}, {sf::kRightEyeX + sf::kEyeHalfWidth, sf::kEyeLineY},
      {sf::kCentreX - sf::kMouthHalfWidth, sf::kMouthY}, {sf::kCentreX + sf::kMouthHalfWidth, sf::kMouthY},
  };
  for (auto m : marks) EXPECT_NE(t.At(m.X, m.Y), seeThrough) << "mark at " << m.X << ", " << m.Y;

  // The pupils themselves are left clear, so the photograph's eyes show.
  EXPECT_EQ(t.At(sf::kLeftEyeX, sf::kEyeLineY), seeThrough);
  EXPECT_EQ(t.At(sf::kRightEyeX, sf::kEyeLineY), seeThrough);

  // Face, ears, neck and shoulders are drawn, as lines rather than areas.
  int drawn = 0;
  for (int y = 0; y < t.Height; ++y)
    for (int x = 0; x < t.Width; ++x) drawn += t.At(x, y) != seeThrough;
  EXPECT_GT(drawn, 1500);
  EXPECT_LT(drawn, sf::kWidth * sf::kHeight / 4);
}

TEST_P(ShapeFiles, TemplateOutlineFollowsTheMaskEdge) {
  const Picture t = Template();
  const Picture m = Mask();
  ASSERT_FALSE(t.Pixels.Empty());
  ASSERT_FALSE(m.Pixels.Empty());
  const TColor seeThrough = t.At(0, sf::kHeight - 1);
  const TColor grey = m.At(0, sf::kHeight - 1);
  // On rows across the forehead, the eyes (ears) and the mouth, the outermost
  // drawn pixel of the template and the outermost grey pixel of the mask
  // lie within a few pixels of each other on both sides.
  for (int y : {sf::kFaceTop + 30, sf::kEyeLineY + 10, sf::kMouthY}) {
    int templateLeft = -1, maskLeft = -1, templateRight = -1, maskRight = -1;
    for (int x = 0; x < sf::kWidth; ++x) {
      if (t.At(x, y) != seeThrough && templateLeft < 0) templateLeft = x;
      if (m.At(x, y) == grey && maskLeft < 0) maskLeft = x;
      if (t.At(x, y) != seeThrough) templateRight = x;
      if (m.At(x, y) == grey) maskRight = x;
    }
    ASSERT_GE(templateLeft, 0) << "row " << y;
    ASSERT_GE(maskLeft, 0) << "row " << y;
    EXPECT_NEAR(templateLeft, maskLeft, 3) << "row " << y;
    EXPECT_NEAR(templateRight, maskRight, 3) << "row " << y;
  }
}

TEST_P(ShapeFiles, MaskHasExactlyAGreySilhouetteOnWhite) {
  const Picture m = Mask();
  ASSERT_FALSE(m.Pixels.Empty());
  std::set<TColor> colours;
  for (int y = 0; y < m.Height; ++y)
    for (int x = 0; x < m.Width; ++x) colours.insert(m.At(x, y));
  EXPECT_EQ(colours.size(), 2u);

  const TColor grey = m.At(0, sf::kHeight - 1);
  EXPECT_EQ(glamora::RedOf(grey), glamora::GreenOf(grey));
  EXPECT_EQ(glamora::GreenOf(grey), glamora::BlueOf(grey));
  EXPECT_LT(glamora::RedOf(grey), 255 - 15) << "the magic wand must tell the grey from the white";
  EXPECT_EQ(m.At(0, 0), glamora::clWhite);
  EXPECT_EQ(m.At(sf::kWidth - 1, 0), glamora::clWhite);
  EXPECT_EQ(m.At(sf::kCentreX, sf::kCrownY - 20), glamora::clWhite);
}

TEST_P(ShapeFiles, MagicWandStartReachesTheWholeFaceFromTheCorner) {
  const Picture m = Mask();
  ASSERT_FALSE(m.Pixels.Empty());
  const std::vector<bool> region = FloodFill(m, 0, 310);
  auto in = [&](int x, int y) { return bool(region[size_t(y) * m.Width + x]); };

  EXPECT_TRUE(in(0, sf::kHeight - 1)) << "the grey at (0, 310) reaches the bottom-left corner";
  EXPECT_TRUE(in(sf::kWidth - 1, sf::kHeight - 1));
  const struct { int X, Y; } inside[] = {
      {sf::kLeftEyeX, sf::kEyeLineY},
      {sf::kRightEyeX, sf::kEyeLineY},
      {sf::kLeftEyeX - sf::kEyeHalfWidth, sf::kEyeLineY},
      {sf::kRightEyeX + sf::kEyeHalfWidth, sf::kEyeLineY},
      {sf::kCentreX, sf::kMouthY},
      {sf::kCentreX - sf::kMouthHalfWidth, sf::kMouthY},
      {sf::kCentreX + sf::kMouthHalfWidth, sf::kMouthY},
      {sf::kCentreX, sf::kNoseY},
      {sf::kCentreX, (sf::kNeckTop + sf::kShoulderY) / 2},
  };
  for (auto p : inside) EXPECT_TRUE(in(p.X, p.Y)) << p.X << ", " << p.Y;

  // Every grey pixel belongs to that one region: no island of grey is left
  // for automatic carving to keep that hand carving would not outline.
  const TColor grey = m.At(0, 310);
  for (int y = 0; y < m.Height; ++y)
    for (int x = 0; x < m.Width; ++x)
      if (m.At(x, y) == grey) {
        ASSERT_TRUE(in(x, y)) << "grey island at " << x << ", " << y;
      }
}

INSTANTIATE_TEST_SUITE_P(AllShapes, ShapeFiles, ::testing::ValuesIn(kShapeNames),
                         [](const ::testing::TestParamInfo<const char*>& shape) { return std::string(shape.param); });

}  // namespace
