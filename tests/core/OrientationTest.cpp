// Turning a stored photograph upright for each of the eight orientations a
// camera records.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "imaging/core/Orientation.h"
#include "tests/core/TestPictures.h"

namespace glamora {
namespace {

// A picture of one row of letters per text row, each letter a grey level.
Bitmap Lettered(const std::vector<std::string>& rows, PixelFormat format = PixelFormat::Bits24) {
  Bitmap b(int(rows[0].size()), int(rows.size()), format);
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const int level = rows[size_t(y)][size_t(x)];
      b.SetPixel(x, y, format == PixelFormat::Bits24 ? Rgb(level, level, level) : TColor(level));
    }
  return b;
}

std::vector<std::string> Letters(const Bitmap& b) {
  std::vector<std::string> rows(size_t(b.Height()), std::string(size_t(b.Width()), ' '));
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) rows[size_t(y)][size_t(x)] = char(RedOf(b.Pixel(x, y)));
  return rows;
}

// What a viewer shows for the stored picture "abc" over "def".
TEST(Orientation, EachValueShowsTheStoredPictureAsTheCameraSawIt) {
  const struct {
    int Orientation;
    std::vector<std::string> Upright;
  } cases[] = {
      {1, {"abc", "def"}},         {2, {"cba", "fed"}},         {3, {"fed", "cba"}},
      {4, {"def", "abc"}},         {5, {"ad", "be", "cf"}},     {6, {"da", "eb", "fc"}},
      {7, {"fc", "eb", "da"}},     {8, {"cf", "be", "ad"}},     {0, {"abc", "def"}},
      {9, {"abc", "def"}},
  };
  const Bitmap stored = Lettered({"abc", "def"});
  for (const auto& c : cases) {
    EXPECT_EQ(Letters(Oriented(stored, c.Orientation)), c.Upright) << c.Orientation;
    Bitmap inPlace;
    inPlace.Assign(stored);
    TurnUpright(inPlace, c.Orientation);
    EXPECT_EQ(Letters(inPlace), c.Upright) << c.Orientation;
    EXPECT_EQ(OrientationSwapsSides(c.Orientation), c.Upright.size() == 3) << c.Orientation;
  }
}

// Pictures larger than a tile, of odd sizes, in every pixel format: turned
// in place and into a new picture alike, and turned back by the inverse.
TEST(Orientation, TilesAndPaletteFormatsAgreeWithTheWholePicture) {
  const Bitmap colour = test::RandomPicture(131, 70, 7);
  for (int o = 1; o <= 8; ++o) {
    const Bitmap upright = Oriented(colour, o);
    Bitmap inPlace;
    inPlace.Assign(colour);
    inPlace.OnChange = [] {};
    TurnUpright(inPlace, o);
    EXPECT_TRUE(inPlace.SameContent(upright)) << o << ": " << test::FirstDifference(inPlace, upright);
    EXPECT_TRUE(bool(inPlace.OnChange)) << "the control's hook stays, " << o;
    const Bitmap back = Oriented(upright, InverseOrientation(o));
    EXPECT_TRUE(back.SameContent(colour)) << o << ": " << test::FirstDifference(back, colour);
  }
  // 1-bit rows cross byte boundaries; 8-bit keeps its palette.
  for (const PixelFormat format : {PixelFormat::Bits1, PixelFormat::Bits8}) {
    Bitmap palette(19, 10, format);
    const Bitmap noise = test::RandomPicture(int(palette.Stride()), palette.Height(), 3);
    for (int y = 0; y < palette.Height(); ++y) std::copy_n(noise.Row(y), palette.Stride(), palette.Row(y));
    palette.ClearRowTails();
    Bitmap expanded;
    expanded.Assign(palette);
    expanded.ConvertTo24();
    for (int o = 1; o <= 8; ++o) {
      Bitmap upright = Oriented(palette, o);
      EXPECT_EQ(upright.Format(), format);
      upright.ConvertTo24();
      const Bitmap wanted = Oriented(expanded, o);
      EXPECT_TRUE(upright.SameContent(wanted)) << int(format) << " " << o << ": "
                                               << test::FirstDifference(upright, wanted);
    }
  }
}

}  // namespace
}  // namespace glamora
