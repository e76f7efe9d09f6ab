// A photograph placed on an expert's drawing panel, without a window: where
// Open shows a large one, how much of the face shape a placed and turned
// photograph leaves uncovered and how far it is enlarged, and Fit
// automatically keeping the face under the template.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>

#include "experts/core/PhotographFit.h"
#include "experts/core/PlacedPhotograph.h"
#include "experts/core/PlacementCheck.h"
#include "tests/landmarks/Fixtures.h"

namespace glamora {
namespace {

const PixelRect kTemplate{133, 33, 228, 314};
constexpr int kPaneWidth = 665, kPaneHeight = 451;

TEST(OpenedPhotographBoundsTest, LargePhotographsAreReducedToFitThePanelUnderTheTemplate) {
  struct Case {
    int Width, Height;
    PixelRect Expected;
  };
  const Case cases[] = {
      {300, 200, {133, 33, 300, 200}},   // fits: own size on the template's corner
      {665, 451, {133, 33, 665, 451}},   // exactly the panel's size still fits
      {2000, 1500, {0, 0, 601, 451}},    // as high as the panel, pushed back inside it
      {700, 200, {0, 95, 665, 190}},     // as wide as the panel, centred on the template's height
      {3000, 3000, {22, 0, 451, 451}},   // centred on the template's width
      {9000, 20, {0, 190, 665, 1}},      // never thinner than a pixel
  };
  for (const Case& c : cases) {
    const PixelRect shown = OpenedPhotographBounds(c.Width, c.Height, kPaneWidth, kPaneHeight, kTemplate);
    EXPECT_EQ(shown, c.Expected) << c.Width << " x " << c.Height;
  }
}

// A mask whose face area (its bottom-left colour) is the whole 100 × 100
// picture but for a white band of 10 columns on the right.
Bitmap BandedMask() {
  Bitmap mask(100, 100);
  mask.Fill(Rgb(128, 128, 128));
  for (int y = 0; y < 100; ++y)
    for (int x = 90; x < 100; ++x) mask.SetPixel(x, y, clWhite);
  return mask;
}

TEST(PlacementCheckTest, UncoveredShareCountsOnlyTheFaceAreaAndTurnedCorners) {
  const Bitmap mask = BandedMask();
  const PixelRect templ{50, 40, 100, 100};
  const PhotographOutline photo(100, 100);
  struct Case {
    PixelRect Shown;
    double Uncovered;
  };
  const Case cases[] = {
      {{50, 40, 100, 100}, 0.0},
      {{40, 30, 200, 200}, 0.0},
      {{50, 70, 100, 100}, 0.3},              // the top 30 rows of the face area are bare
      {{70, 40, 100, 100}, 20.0 / 90},        // 20 of its 90 columns; the white band does not count
      {{150, 40, 100, 100}, 1.0},             // beside the template
  };
  for (const Case& c : cases) {
    const PlacementVerdict verdict = JudgePlacement(photo, c.Shown, templ, mask);
    EXPECT_NEAR(verdict.UncoveredShare, c.Uncovered, 1e-9) << c.Shown.Left << ", " << c.Shown.Top;
  }
  EXPECT_DOUBLE_EQ(JudgePlacement(PhotographOutline(), templ, templ, mask).UncoveredShare, 1.0);

  // Turned by 45 degrees the bitmap grows and its white corners cover
  // nothing: shown at its turned size over a template of that size, about
  // half the square around the diamond is bare, and nothing is enlarged.
  PhotographOutline turned(200, 200);
  turned.Turn(45, 200, 200);
  const RotatedSize size = RotatedSizeOf(200, 200, 45);
  Bitmap square(size.Width, size.Height);
  square.Fill(Rgb(128, 128, 128));
  const PixelRect whole{0, 0, size.Width, size.Height};
  const PlacementVerdict verdict = JudgePlacement(turned, whole, whole, square);
  EXPECT_NEAR(verdict.UncoveredShare, 1 - 200.0 * 200 / (double(size.Width) * size.Height), 0.01);
  EXPECT_NEAR(verdict.Enlargement, 1.0, 0.01);
  // A quarter turn covers the same square it came from.
  PhotographOutline quarter(200, 100);
  quarter.Turn(90, 200, 100);
  Bitmap upright(100, 200);
  upright.Fill(Rgb(128, 128, 128));
  EXPECT_DOUBLE_EQ(JudgePlacement(quarter, {0, 0, 100, 200}, {0, 0, 100, 200}, upright).UncoveredShare, 0.0);
  EXPECT_DOUBLE_EQ(quarter.Enlargement({0, 0, 100, 200}), 1.0);
}

TEST(PlacementCheckTest, EnlargementFollowsThePicturesOwnPixelsAndTheProblemIsOneLine) {
  const PhotographOutline small(80, 80);
  EXPECT_DOUBLE_EQ(small.Enlargement({0, 0, 200, 200}), 2.5);
  EXPECT_DOUBLE_EQ(small.Enlargement({0, 0, 228, 160}), 228.0 / 80) << "the larger direction counts";
  EXPECT_DOUBLE_EQ(small.Enlargement({0, 0, 40, 40}), 0.5);

  struct Case {
    PlacementVerdict Verdict;
    const char* Problem;
  };
  const Case cases[] = {
      {{0.05, 2.5}, ""},
      {{0.12, 1.0}, "The photograph leaves 12.0 % of the face shape uncovered"},
      {{0.0, 3.14}, "The face is enlarged 3.1 times and will look blurred"},
      {{0.5, 2.86},
       "The photograph leaves 50.0 % of the face shape uncovered and the face is enlarged 2.9 times and will look "
       "blurred"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlacementProblem(c.Verdict), c.Problem);
    EXPECT_EQ(c.Verdict.Sound(), std::string(c.Problem).empty());
  }
}

// A stand-in finder that reads marks instead of faces: a red pixel marks a
// large face, a blue one a small face, each centred on its mark; it answers
// the largest face marked in the picture it is given, as the detector does.
struct MarkedFaces {
  static constexpr double kLargeScale = 1.4, kSmallScale = 1.0;
  // The portrait's face levelled, so that fitting it needs no turn.
  static FaceLandmarks FaceAt(PointF mark, double scale) {
    const FaceLandmarks face = test::AstronautLandmarks();
    const PointF l = Centre(face, landmark::kLeftEye), r = Centre(face, landmark::kRightEye);
    const double level = std::atan2(r.Y - l.Y, r.X - l.X) * 180 / std::numbers::pi;
    return test::Moved(face, {225, 130}, level, scale, mark.X - 225, mark.Y - 130);
  }
  FaceSearch operator()(const Bitmap& picture) const {
    std::optional<PointF> large, small;
    for (int y = 0; y < picture.Height(); ++y)
      for (int x = 0; x < picture.Width(); ++x) {
        if (picture.Pixel(x, y) == Rgb(255, 0, 0)) large = PointF{double(x), double(y)};
        if (picture.Pixel(x, y) == Rgb(0, 0, 255)) small = PointF{double(x), double(y)};
      }
    FaceSearch search;
    if (!large && !small) {
      search.Message = "No face was found in the picture";
      return search;
    }
    search.Result = FaceSearch::Outcome::Found;
    search.Points = large ? FaceAt(*large, kLargeScale) : FaceAt(*small, kSmallScale);
    return search;
  }
};

PixelRect OnPanel(const FaceFit& fit) {
  return {kTemplate.Left + fit.Picture.Left, kTemplate.Top + fit.Picture.Top, fit.Picture.Width, fit.Picture.Height};
}

TEST(PhotographFitTest, LaterFitsKeepTheFaceUnderTheTemplateAndLeaveAFittedOneAlone) {
  Bitmap photo(900, 500);
  photo.Fill(Rgb(200, 180, 160));
  const PointF largeMark{650, 250}, smallMark{200, 250};
  photo.SetPixel(int(largeMark.X), int(largeMark.Y), Rgb(255, 0, 0));
  photo.SetPixel(int(smallMark.X), int(smallMark.Y), Rgb(0, 0, 255));
  const MarkedFaces finder;
  const std::optional<FaceFit> onLarge =
      FitToStandardFace(MarkedFaces::FaceAt(largeMark, MarkedFaces::kLargeScale), 900, 500);
  const std::optional<FaceFit> onSmall =
      FitToStandardFace(MarkedFaces::FaceAt(smallMark, MarkedFaces::kSmallScale), 900, 500);
  ASSERT_TRUE(onLarge && onSmall);
  ASSERT_EQ(onLarge->Angle, 0);

  // The first fit takes the largest face.
  const PixelRect opened{kTemplate.Left, kTemplate.Top, 900, 500};
  PhotographFit fit = FitPhotograph(photo, opened, kTemplate, false, finder);
  ASSERT_EQ(fit.Result, PhotographFit::Outcome::Fitted);
  EXPECT_EQ(fit.Fit.Picture, onLarge->Picture);

  // Fitted, a second fit changes nothing.
  fit = FitPhotograph(photo, OnPanel(*onLarge), kTemplate, true, finder);
  EXPECT_EQ(fit.Result, PhotographFit::Outcome::AlreadyFitted);

  // Moved roughly onto the small face, a later fit fits that face, where
  // the first fit's rule would jump back to the large one.
  PixelRect nearSmall = OnPanel(*onSmall);
  nearSmall.Left += 12;
  nearSmall.Top -= 9;
  fit = FitPhotograph(photo, nearSmall, kTemplate, true, finder);
  ASSERT_EQ(fit.Result, PhotographFit::Outcome::Fitted);
  EXPECT_EQ(fit.Fit.Picture, onSmall->Picture);
  EXPECT_EQ(FitPhotograph(photo, nearSmall, kTemplate, false, finder).Fit.Picture, onLarge->Picture);

  // With no face under the template a later fit takes the largest again;
  // with none at all it says so.
  const PixelRect aside{kTemplate.Left - 300, kTemplate.Top, 900, 500};
  EXPECT_EQ(FitPhotograph(photo, aside, kTemplate, true, finder).Fit.Picture, onLarge->Picture);
  Bitmap bare(300, 300);
  bare.Fill(clWhite);
  fit = FitPhotograph(bare, opened, kTemplate, true, finder);
  EXPECT_EQ(fit.Result, PhotographFit::Outcome::NoFace);
  EXPECT_EQ(fit.Message, "No face was found in the picture");
}

TEST(PhotographFitTest, BitmapPartUnderAnAreaRoundsOutwardsAndStaysOnTheBitmap) {
  // A 400 × 200 bitmap shown at half size from (10, 20).
  const PixelRect shown{10, 20, 200, 100};
  EXPECT_EQ(BitmapPartUnder(400, 200, shown, {10, 20, 200, 100}), (PixelRect{0, 0, 400, 200}));
  EXPECT_EQ(BitmapPartUnder(400, 200, shown, {60, 45, 50, 25}), (PixelRect{100, 50, 100, 50}));
  EXPECT_EQ(BitmapPartUnder(400, 200, shown, {0, 0, 1000, 1000}), (PixelRect{0, 0, 400, 200}));
  EXPECT_TRUE(BitmapPartUnder(400, 200, shown, {300, 20, 50, 50}).Empty());
}

}  // namespace
}  // namespace glamora
