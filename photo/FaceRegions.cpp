// Outlines and soft masks of the make-up regions of a photographed face.
#include "photo/FaceRegions.h"

#include <algorithm>
#include <cmath>

#include "photo/Coverage.h"
#include "photo/Spline.h"

namespace glamora {

namespace {

constexpr int kSamples = 8;  // curve points between two landmarks

// Fractions of the eye distance.
constexpr double kLidFeather = 0.07;
constexpr double kLipFeather = 0.012;
constexpr double kLipLineHalfWidth = 0.012;
constexpr double kLipLineFeather = 0.006;
constexpr double kCheekFeather = 0.10;
constexpr double kSkinFeather = 0.06;

PointF Lerp(PointF a, PointF b, double t) { return {a.X + (b.X - a.X) * t, a.Y + (b.Y - a.Y) * t}; }

std::vector<PointF> Range(const FaceLandmarks& p, LandmarkRange r) {
  return {p.begin() + r.First, p.begin() + r.First + r.Count};
}

// The face's own axes: `across` from the picture-left eye to the other,
// `down` at right angles to it towards the mouth, both one eye distance long.
struct FaceFrame {
  PointF Across, Down;
  PointF At(PointF origin, double across, double down) const {
    return {origin.X + Across.X * across + Down.X * down, origin.Y + Across.Y * across + Down.Y * down};
  }
};

FaceFrame FrameOf(const FaceLandmarks& p) {
  const PointF left = Centre(p, landmark::kLeftEye), right = Centre(p, landmark::kRightEye);
  const PointF across{right.X - left.X, right.Y - left.Y};
  return {across, {-across.Y, across.X}};
}

// Lid and crease of one eye: from the outer corner along a line between the
// upper lid and the brow to the inner corner, then just under the lower
// lashes back. `eye` runs from its picture-left corner (clockwise), `brow`
// from its picture-left end.
std::vector<PointF> LidOutline(const std::vector<PointF>& eye, const std::vector<PointF>& brow, const FaceFrame& f) {
  // Upper boundary: the brow's points pulled 40 % of the way down to the lid.
  const PointF lidLeft = eye[0], lidRight = eye[3];
  std::vector<PointF> ring;
  const double outward = 0.06, under = 0.05;
  ring.push_back(f.At(lidLeft, -outward, 0));
  for (size_t i = 0; i < brow.size(); ++i) {
    const double t = double(i) / double(brow.size() - 1);
    // The lid point below this brow point: along the upper lid corner to corner.
    const PointF lid = t < 1.0 / 3 ? Lerp(eye[0], eye[1], t * 3)
                       : t < 2.0 / 3 ? Lerp(eye[1], eye[2], t * 3 - 1)
                                     : Lerp(eye[2], eye[3], t * 3 - 2);
    ring.push_back(Lerp(lid, brow[i], 0.6));
  }
  ring.push_back(f.At(lidRight, outward, 0));
  ring.push_back(f.At(eye[4], 0, under));
  ring.push_back(f.At(eye[5], 0, under));
  return ring;
}

std::vector<PointF> Ellipse(PointF centre, const FaceFrame& f, double across, double down, double turn) {
  std::vector<PointF> ring;
  constexpr int kPoints = 48;
  const double c = std::cos(turn), s = std::sin(turn);
  for (int i = 0; i < kPoints; ++i) {
    const double a = 2 * M_PI * i / kPoints, u = across * std::cos(a), v = down * std::sin(a);
    ring.push_back(f.At(centre, u * c - v * s, u * s + v * c));
  }
  return ring;
}

SoftMask Filled(const std::vector<PointF>& outline, int feather, const Bitmap& photo) {
  SoftMask mask = EmptyMaskOn(BoundsOf(outline, 3 * feather + 2), photo);
  FillPolygon(mask, outline);
  FeatherMask(mask, feather, 3);
  return mask;
}

SoftMask Hard(const std::vector<PointF>& outline, const Bitmap& photo) {
  SoftMask mask = EmptyMaskOn(BoundsOf(outline, 1), photo);
  FillPolygon(mask, outline);
  return mask;
}

// Two masks in one, over the box of both.
SoftMask Joined(const SoftMask& a, const SoftMask& b, const Bitmap& photo) {
  const PixelRect& p = a.Box;
  const PixelRect& q = b.Box;
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  SoftMask both = EmptyMaskOn(PixelRect::FromEdges(std::min(p.Left, q.Left), std::min(p.Top, q.Top),
                                                   std::max(p.Right(), q.Right()), std::max(p.Bottom(), q.Bottom())),
                              photo);
  for (const SoftMask* m : {&a, &b}) {
    for (int y = 0; y < m->Box.Height; ++y) {
      const uint8_t* from = m->Row(y);
      uint8_t* to = both.Row(m->Box.Top + y - both.Box.Top) + (m->Box.Left - both.Box.Left);
      for (int x = 0; x < m->Box.Width; ++x) to[x] = std::max(to[x], from[x]);
    }
  }
  return both;
}

int Pixels(double fraction, double eyeDistance) { return std::max(1, int(std::lround(fraction * eyeDistance))); }

}  // namespace

double EyeDistance(const FaceLandmarks& p) {
  const PointF l = Centre(p, landmark::kLeftEye), r = Centre(p, landmark::kRightEye);
  return std::hypot(r.X - l.X, r.Y - l.Y);
}

FaceOutlineCurves OutlineCurves(const FaceLandmarks& p) {
  const FaceFrame f = FrameOf(p);
  FaceOutlineCurves c;
  const std::vector<PointF> leftEye = Range(p, landmark::kLeftEye), rightEye = Range(p, landmark::kRightEye);
  c.LeftEyeOpening = ClosedSpline(leftEye, kSamples);
  c.RightEyeOpening = ClosedSpline(rightEye, kSamples);
  c.LeftEyeLid = ClosedSpline(LidOutline(leftEye, Range(p, landmark::kLeftBrow), f), kSamples);
  c.RightEyeLid = ClosedSpline(LidOutline(rightEye, Range(p, landmark::kRightBrow), f), kSamples);
  c.Lips = ClosedSpline(Range(p, landmark::kOuterLips), kSamples);
  c.MouthOpening = ClosedSpline(Range(p, landmark::kInnerLips), kSamples);

  // Cheeks: below the cheekbones, under the outer half of each eye at the
  // height of the nose's lower half, tilted up towards the temples.
  const PointF leftEyeCentre = Centre(p, landmark::kLeftEye), rightEyeCentre = Centre(p, landmark::kRightEye);
  c.LeftCheek = Ellipse(f.At(leftEyeCentre, -0.1, 0.5), f, 0.27, 0.17, -0.35);
  c.RightCheek = Ellipse(f.At(rightEyeCentre, 0.1, 0.5), f, 0.27, 0.17, 0.35);

  // Skin: along the jaw from ear to ear, then over the forehead above the
  // brows, about two thirds of an eye distance up.
  std::vector<PointF> skin = Range(p, landmark::kJaw);
  for (int i = 26; i >= 17; --i) {
    const double lift = 0.45 + 0.15 * std::sin(M_PI * (26 - i) / 9.0);
    skin.push_back(f.At(p[size_t(i)], 0, -lift));
  }
  c.Skin = ClosedSpline(skin, kSamples);
  return c;
}

FaceRegionMasks RegionMasks(const FaceLandmarks& p, const Bitmap& photo) {
  const double d = std::max(EyeDistance(p), 1.0);
  const FaceOutlineCurves c = OutlineCurves(p);
  const SoftMask leftOpening = Hard(c.LeftEyeOpening, photo), rightOpening = Hard(c.RightEyeOpening, photo);
  const SoftMask mouthOpening = Hard(c.MouthOpening, photo);
  FaceRegionMasks m;

  SoftMask leftLid = Filled(c.LeftEyeLid, Pixels(kLidFeather, d), photo);
  SoftMask rightLid = Filled(c.RightEyeLid, Pixels(kLidFeather, d), photo);
  CutOut(leftLid, leftOpening);
  CutOut(rightLid, rightOpening);
  m.Eyes = Joined(leftLid, rightLid, photo);

  m.Lips = Filled(c.Lips, Pixels(kLipFeather, d), photo);
  CutOut(m.Lips, mouthOpening);

  m.LipLine = EmptyMaskOn(BoundsOf(c.Lips, Pixels(kLipLineHalfWidth + 3 * kLipLineFeather, d) + 2), photo);
  StrokePolyline(m.LipLine, c.Lips, kLipLineHalfWidth * d, true);
  FeatherMask(m.LipLine, Pixels(kLipLineFeather, d), 2);
  CutOut(m.LipLine, mouthOpening);

  m.Skin = Filled(c.Skin, Pixels(kSkinFeather, d), photo);
  const SoftMask hardSkin = Hard(c.Skin, photo);
  Intersect(m.Skin, hardSkin);  // no complexion beyond the jaw line onto the neck or the background
  CutOut(m.Skin, leftOpening);
  CutOut(m.Skin, rightOpening);
  CutOut(m.Skin, Hard(c.Lips, photo));

  m.Cheeks = Joined(Filled(c.LeftCheek, Pixels(kCheekFeather, d), photo),
                    Filled(c.RightCheek, Pixels(kCheekFeather, d), photo), photo);
  Intersect(m.Cheeks, m.Skin);
  return m;
}

}  // namespace glamora
