#pragma once
// Fitting a photograph to the standard face: the turn that levels the eyes
// and the rectangle, relative to the face-shape template's top-left corner,
// into which the turned picture is stretched so that its eyes and mouth land
// where the templates expect them. The face expert applies the turn with the
// same antialiased Rotate as its Rotate command and gives the picture
// control that rectangle; carving then resamples the picture to it.
#include <optional>

#include "imaging/core/PixelRect.h"
#include "landmarks/FaceLandmarks.h"

namespace glamora {

// How much taller or wider than a uniform scale the fit may make a face, so
// that an unusually long or short face keeps its look; within this the eyes
// and the mouth land exactly, beyond it the misses are spread evenly.
constexpr double kMaxFaceStretch = 1.1;

// Where Rotate(angle, antialias on) carries the point p of a width × height
// picture: quarter turns first, then the three shears (pixel coordinates,
// x right, y down; positive angles counter-clockwise).
PointF RotatedPoint(PointF p, int width, int height, int angle);

struct RotatedSize {
  int Width = 0;
  int Height = 0;
};
// The size of a width × height picture after Rotate(angle).
RotatedSize RotatedSizeOf(int width, int height, int angle);

struct FaceFit {
  int Angle = 0;        // degrees counter-clockwise that level the eyes
  RotatedSize Turned;   // the picture's size after that turn
  PixelRect Picture;    // where the turned picture goes, relative to the template's top-left corner
  // Where the eye centres and the middle of the mouth land on the template.
  PointF LeftEye, RightEye, Mouth;
};

// The fit for a width × height picture with these landmarks. Nothing when
// the points do not make an upright-able face (the eyes less than a pixel
// apart, the mouth not below the eyes once they are level) or when the face
// is so small that the stretched picture would exceed the picture limits.
std::optional<FaceFit> FitToStandardFace(const FaceLandmarks& points, int width, int height);

}  // namespace glamora
