// Fitting a photograph to the standard face: where Rotate carries a point,
// and the turn and rectangle that put the eyes and the mouth on the standard
// geometry once the picture is rotated and resampled as carving does it.
#include "landmarks/FaceFit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <utility>

#include "face/StandardFace.h"
#include "imaging/core/Resample.h"
#include "imaging/core/Rotate.h"
#include "tests/landmarks/Fixtures.h"

namespace glamora {
namespace {

namespace sf = standard_face;

// The centre of what a channel (0 blue, 1 green, 2 red) of `marked` adds to
// the same channel of `plain` within `reach` pixels of `near`: with the
// marks on a mid-grey ground and both pictures put through the same
// operations, the blends of Rotate and Resample move this centre exactly as
// they move the picture, since they are linear and nothing is clamped.
std::optional<PointF> ChannelCentre(const Bitmap& marked, const Bitmap& plain, int channel, PointF near, int reach) {
  double sum = 0, sx = 0, sy = 0;
  for (int y = std::max(0, int(near.Y) - reach); y <= std::min(marked.Height() - 1, int(near.Y) + reach); ++y) {
    for (int x = std::max(0, int(near.X) - reach); x <= std::min(marked.Width() - 1, int(near.X) + reach); ++x) {
      const int v = marked.Row(y)[3 * x + channel] - plain.Row(y)[3 * x + channel];
      sum += v;
      sx += v * x;
      sy += v * y;
    }
  }
  if (sum < 100) return std::nullopt;
  return PointF{sx / sum, sy / sum};
}

constexpr int kGround = 100;
const TColor kGroundColour = Rgb(kGround, kGround, kGround);

// A 3 × 3 block of 200 in one channel, centred on the point (a whole pixel).
void PutDot(Bitmap& b, PointF centre, int channel) {
  const int cx = int(std::lround(centre.X)), cy = int(std::lround(centre.Y));
  for (int y = cy - 1; y <= cy + 1; ++y) {
    for (int x = cx - 1; x <= cx + 1; ++x) b.Row(y)[3 * x + channel] = 200;
  }
}

struct RotateCase {
  int Width, Height, Angle;
};

TEST(RotatedPoint, FollowsTheRotateOperationForSmallAnglesQuarterTurnsAndBeyond) {
  const RotateCase cases[] = {{61, 47, 10},  {61, 47, -23}, {61, 47, 45},  {61, 47, -45},  {47, 61, 100},
                              {47, 61, -170}, {61, 47, 270}, {61, 47, 367}, {61, 47, -361}, {61, 47, 0}};
  const PointF dots[] = {{5, 5}, {55, 9}, {30, 23}, {8, 40}, {41, 38}};
  for (const RotateCase& c : cases) {
    const RotatedSize size = RotatedSizeOf(c.Width, c.Height, c.Angle);
    for (const PointF& dot : dots) {
      if (dot.X + 2 > c.Width || dot.Y + 2 > c.Height) continue;
      Bitmap picture(c.Width, c.Height), plain(c.Width, c.Height);
      picture.Fill(kGroundColour);
      plain.Fill(kGroundColour);
      PutDot(picture, dot, 2);
      ASSERT_TRUE(Rotate(picture, c.Angle, true, kGroundColour));
      ASSERT_TRUE(Rotate(plain, c.Angle, true, kGroundColour));
      ASSERT_EQ(picture.Width(), size.Width) << c.Angle;
      ASSERT_EQ(picture.Height(), size.Height) << c.Angle;
      const PointF predicted = RotatedPoint(dot, c.Width, c.Height, c.Angle);
      const std::optional<PointF> seen = ChannelCentre(picture, plain, 2, predicted, 5);
      ASSERT_TRUE(seen.has_value()) << "angle " << c.Angle << " dot " << dot.X << "," << dot.Y;
      EXPECT_NEAR(seen->X, predicted.X, 0.1) << "angle " << c.Angle << " dot " << dot.X << "," << dot.Y;
      EXPECT_NEAR(seen->Y, predicted.Y, 0.1) << "angle " << c.Angle << " dot " << dot.X << "," << dot.Y;
    }
  }
}

// Landmarks whose eye centres and middle of the mouth are the given points
// (each range collapsed onto its centre; the fit reads nothing else).
FaceLandmarks FaceWith(PointF leftEye, PointF rightEye, PointF mouth) {
  FaceLandmarks points{};
  const auto fill = [&](LandmarkRange r, PointF p) {
    for (int i = r.First; i < r.First + r.Count; ++i) points[size_t(i)] = p;
  };
  fill(landmark::kLeftEye, leftEye);
  fill(landmark::kRightEye, rightEye);
  fill(landmark::kInnerLips, mouth);
  fill(landmark::kOuterLips, mouth);
  return points;
}

TEST(MouthCentre, LiesHalfwayBetweenTheCornersAtTheHeightOfTheLipLine) {
  // Corners at x 100 and 140; the inner points bunch up on the left.
  FaceLandmarks points = FaceWith({90, 100}, {150, 100}, {105, 170});
  points[48] = {100, 168};
  points[54] = {140, 166};
  points[63] = {107, 178};  // one inner point lower
  const PointF m = MouthCentre(points);
  EXPECT_DOUBLE_EQ(m.X, 120);
  EXPECT_DOUBLE_EQ(m.Y, 171);
}

struct PlacedFace {
  int Width, Height;
  double Degrees, Scale, Dx, Dy;
};

// A face of exactly the standard proportions, turned, scaled and moved in a
// picture: marked with a red, a green and a blue dot, turned by the fit's
// angle with Rotate and resampled to the fit's rectangle as carving does,
// the dots must land on the template's eyes and mouth.
TEST(FitToStandardFace, PutsAFaceOfStandardProportionsExactlyOnTheTemplate) {
  const PlacedFace cases[] = {
      {228, 314, 0, 1, 0, 0},      // already the standard face
      {300, 260, 12, 1.7, 40, -20},  // tilted and larger
      {260, 300, -31, 0.8, -10, 15},
      {240, 260, 170, 1.2, 0, 30},   // upside down
      {320, 240, 95, 1.4, 20, 0},    // on its side
  };
  const PointF standardLeft{sf::kLeftEyeX, sf::kEyeLineY}, standardRight{sf::kRightEyeX, sf::kEyeLineY},
      standardMouth{sf::kCentreX, sf::kMouthY};
  for (const PlacedFace& c : cases) {
    SCOPED_TRACE(c.Degrees);
    const FaceLandmarks standard = FaceWith(standardLeft, standardRight, standardMouth);
    FaceLandmarks placed = test::Moved(standard, {sf::kCentreX, 183}, c.Degrees, c.Scale, c.Dx, c.Dy);
    // Whole pixels, so that the dots below sit exactly on the points.
    for (PointF& p : placed) p = {std::round(p.X), std::round(p.Y)};
    const std::optional<FaceFit> fit = FitToStandardFace(placed, c.Width, c.Height);
    ASSERT_TRUE(fit.has_value());
    // The turn that undoes the tilt (give or take the whole pixels above).
    EXPECT_LE(std::abs(fit->Angle + std::lround(c.Degrees)), 1) << fit->Angle;
    if (c.Degrees == 0 && c.Scale == 1) {
      EXPECT_EQ(fit->Picture, (PixelRect{0, 0, 228, 314}));
    }

    Bitmap picture(c.Width, c.Height), plain(c.Width, c.Height);
    picture.Fill(kGroundColour);
    plain.Fill(kGroundColour);
    PutDot(picture, Centre(placed, landmark::kLeftEye), 2);
    PutDot(picture, Centre(placed, landmark::kRightEye), 1);
    PutDot(picture, MouthCentre(placed), 0);
    Bitmap resampled, resampledPlain;
    for (auto [in, out] : {std::pair{&picture, &resampled}, std::pair{&plain, &resampledPlain}}) {
      ASSERT_TRUE(Rotate(*in, fit->Angle, true, kGroundColour));
      ASSERT_EQ(in->Width(), fit->Turned.Width);
      ASSERT_EQ(in->Height(), fit->Turned.Height);
      ASSERT_TRUE(Resample(*in, *out, fit->Picture.Width, fit->Picture.Height, rfLanczos3));
    }
    // Template pixel (x, y) is resampled pixel (x − left, y − top).
    const PointF corner{double(fit->Picture.Left), double(fit->Picture.Top)};
    const auto landed = [&](int channel, PointF target) {
      const std::optional<PointF> p =
          ChannelCentre(resampled, resampledPlain, channel, {target.X - corner.X, target.Y - corner.Y}, 8);
      return p ? PointF{p->X + corner.X, p->Y + corner.Y} : PointF{-1000, -1000};
    };
    const PointF l = landed(2, standardLeft), r = landed(1, standardRight), m = landed(0, standardMouth);
    // Within what whole degrees and whole pixels of the rectangle allow.
    EXPECT_NEAR(l.X, sf::kLeftEyeX, 0.5);
    EXPECT_NEAR(l.Y, sf::kEyeLineY, 0.75);
    EXPECT_NEAR(r.X, sf::kRightEyeX, 0.5);
    EXPECT_NEAR(r.Y, sf::kEyeLineY, 0.75);
    EXPECT_NEAR(m.Y, sf::kMouthY, 0.5);
    // The fit's own account of where they land agrees with what Rotate and Resample did.
    EXPECT_NEAR(fit->LeftEye.X, l.X, 0.1);
    EXPECT_NEAR(fit->RightEye.Y, r.Y, 0.1);
    EXPECT_NEAR(fit->Mouth.Y, m.Y, 0.1);
  }
}

TEST(FitToStandardFace, HoldsTheStretchOfAShortFaceAtTheLimitAndSharesTheMisses) {
  // The portrait's mouth is 1.0 eye distances below the eyes, the standard
  // face's 1.22: landing both exactly would make the face 20 % taller.
  const FaceLandmarks points = test::AstronautLandmarks();
  const std::optional<FaceFit> fit = FitToStandardFace(points, 512, 512);
  ASSERT_TRUE(fit.has_value());
  EXPECT_EQ(fit->Angle, 3);
  const double sx = double(fit->Picture.Width) / fit->Turned.Width;
  const double sy = double(fit->Picture.Height) / fit->Turned.Height;
  EXPECT_NEAR(sy / sx, kMaxFaceStretch, 0.005);
  // Eyes wider apart than 54 by as much on each side; eye line low and mouth
  // high by as much; nothing far off.
  EXPECT_NEAR(sf::kLeftEyeX - fit->LeftEye.X, fit->RightEye.X - sf::kRightEyeX, 0.75);
  EXPECT_NEAR((fit->LeftEye.Y + fit->RightEye.Y) / 2 - sf::kEyeLineY, sf::kMouthY - fit->Mouth.Y, 0.75);
  for (double miss : {fit->LeftEye.X - sf::kLeftEyeX, fit->RightEye.X - sf::kRightEyeX,
                      fit->LeftEye.Y - sf::kEyeLineY, fit->Mouth.Y - sf::kMouthY}) {
    EXPECT_LT(std::fabs(miss), 3.0);
  }

  // A long face is held the other way.
  const FaceLandmarks longFace = FaceWith({100, 100}, {140, 100}, {120, 180});
  const std::optional<FaceFit> squeezed = FitToStandardFace(longFace, 300, 300);
  ASSERT_TRUE(squeezed.has_value());
  EXPECT_NEAR((double(squeezed->Picture.Height) / 300) / (double(squeezed->Picture.Width) / 300), 1 / kMaxFaceStretch,
              0.005);
}

TEST(FitToStandardFace, RefusesPointsThatMakeNoFace) {
  EXPECT_FALSE(FitToStandardFace(FaceWith({100, 100}, {100.4, 100.3}, {100, 160}), 300, 300))
      << "eyes in one place";
  EXPECT_FALSE(FitToStandardFace(FaceWith({100, 100}, {150, 100}, {125, 60}), 300, 300)) << "mouth above the eyes";
  EXPECT_FALSE(FitToStandardFace(FaceWith({100, 100}, {150, 100}, {125, 100}), 300, 300)) << "mouth on the eye line";
  EXPECT_FALSE(FitToStandardFace(FaceWith({1000, 1000}, {1002, 1000}, {1001, 1003}), 2000, 2000))
      << "a face so small the stretched picture would exceed the limits";
  EXPECT_FALSE(FitToStandardFace(test::AstronautLandmarks(), 0, 512)) << "no picture";
}

}  // namespace
}  // namespace glamora
