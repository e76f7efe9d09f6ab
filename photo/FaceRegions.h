#pragma once
// The make-up regions of a face in a photograph, derived from its 68
// landmarks at the photograph's own resolution: smooth outlines through the
// points, and from them soft masks whose feathers scale with the face (a
// fraction of the distance between the eyes), so that one look gives the
// same result on a small and on a large face.
#include <vector>

#include "face/SoftMask.h"
#include "landmarks/FaceLandmarks.h"

namespace glamora {

// Closed outlines in photograph coordinates.
struct FaceOutlineCurves {
  std::vector<PointF> LeftEyeOpening, RightEyeOpening;  // between the lids
  std::vector<PointF> LeftEyeLid, RightEyeLid;          // lid and crease up towards the brow, around the opening
  std::vector<PointF> Lips;                             // the lips' outer edge
  std::vector<PointF> MouthOpening;                     // between the lips
  std::vector<PointF> LeftCheek, RightCheek;            // below the cheekbones
  std::vector<PointF> Skin;                             // jaw line and forehead
};

// The distance between the eye centres, which every size here is a fraction of.
double EyeDistance(const FaceLandmarks& points);

FaceOutlineCurves OutlineCurves(const FaceLandmarks& points);

// The soft masks of a face on a width × height photograph. Openings of the
// eyes and the mouth are left out of every mask.
struct FaceRegionMasks {
  SoftMask Eyes;      // both lids, one mask
  SoftMask Lips;
  SoftMask LipLine;   // a band along the lips' outer edge
  SoftMask Cheeks;    // both cheeks
  SoftMask Skin;      // the face for complexion, without eyes, brows' openings and lips
};

FaceRegionMasks RegionMasks(const FaceLandmarks& points, const Bitmap& photograph);

}  // namespace glamora
