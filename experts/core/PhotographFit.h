#pragma once
// Fit automatically as the experts run it on the photograph shown on their
// drawing panel: the face to fit, the turn and the rectangle. The first fit
// of a photograph takes its largest face; a later one keeps the face that
// lies under the template, so that on a photograph of several faces it
// never jumps to another, and leaves a face that already fits alone.
#include <optional>
#include <string>

#include "imaging/core/Bitmap.h"
#include "imaging/core/PixelRect.h"
#include "landmarks/FaceFit.h"
#include "landmarks/LandmarkFinder.h"

namespace glamora {

// How far, in template pixels, the eyes and the mouth may lie from where a
// new fit would put them for the face to count as fitted already.
constexpr double kFittedTolerance = 3;

constexpr const char* kCannotFitMessage = "The face in the picture cannot be fitted to the face shape";

struct PhotographFit {
  enum class Outcome { Fitted, AlreadyFitted, NoFace, CannotFit };
  Outcome Result = Outcome::NoFace;
  std::string Message;  // the finder's line when NoFace
  FaceFit Fit;          // when Fitted: relative to the template's top-left corner
};

// The part of a width × height bitmap shown in `shown` (panel coordinates)
// that lies under `area`, in bitmap pixels, rounded outwards; empty when none.
PixelRect BitmapPartUnder(int width, int height, const PixelRect& shown, const PixelRect& area);

// A copy of the bitmap's pixels in `part` (which must lie on it).
Bitmap CopyOfPart(const Bitmap& bitmap, const PixelRect& part);

// Fits the photograph shown in `shown` under the template in
// templateBounds. With faceUnderTemplate the face is first looked for in
// the part of the photograph under the template, and only when none lies
// there in the whole photograph. A found face whose eyes and mouth already
// lie within kFittedTolerance of where the fit puts them answers
// AlreadyFitted. A finder that cannot place landmarks answers NoFace with
// its line.
PhotographFit FitPhotograph(const Bitmap& photo, const PixelRect& shown, const PixelRect& templateBounds,
                            bool faceUnderTemplate, const FindFaceFunction& findFace);

}  // namespace glamora
