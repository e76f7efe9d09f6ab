// Fit automatically on a placed photograph.
#include "experts/core/PhotographFit.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace glamora {

PixelRect BitmapPartUnder(int width, int height, const PixelRect& shown, const PixelRect& area) {
  if (width <= 0 || height <= 0 || shown.Empty() || area.Empty()) return {};
  const double sx = double(width) / shown.Width, sy = double(height) / shown.Height;
  const int left = std::max(0, int(std::floor((area.Left - shown.Left) * sx)));
  const int top = std::max(0, int(std::floor((area.Top - shown.Top) * sy)));
  const int right = std::min(width, int(std::ceil((area.Left + area.Width - shown.Left) * sx)));
  const int bottom = std::min(height, int(std::ceil((area.Top + area.Height - shown.Top) * sy)));
  if (right <= left || bottom <= top) return {};
  return {left, top, right - left, bottom - top};
}

Bitmap CopyOfPart(const Bitmap& bitmap, const PixelRect& part) {
  Bitmap copy(part.Width, part.Height);
  const size_t rowBytes = size_t(part.Width) * 3;
  for (int y = 0; y < part.Height; ++y) {
    std::memcpy(copy.Row(y), bitmap.Row(part.Top + y) + size_t(part.Left) * 3, rowBytes);
  }
  return copy;
}

namespace {

FaceSearch SearchUnderTemplate(const Bitmap& photo, const PixelRect& shown, const PixelRect& templateBounds,
                               const FindFaceFunction& findFace) {
  const PixelRect part = BitmapPartUnder(photo.Width(), photo.Height(), shown, templateBounds);
  if (part.Empty()) return {};
  FaceSearch search = findFace(CopyOfPart(photo, part));
  if (search.Result != FaceSearch::Outcome::Found) return search;
  for (PointF& p : search.Points) p = {p.X + part.Left, p.Y + part.Top};
  search.Face.Left += part.Left;
  search.Face.Top += part.Top;
  return search;
}

// Where the photograph as shown puts a point of its bitmap, relative to the
// template's corner, reckoned as FitToStandardFace reckons its landing points.
PointF Shown(PointF p, const Bitmap& photo, const PixelRect& shown, const PixelRect& templateBounds) {
  return {shown.Left - templateBounds.Left + p.X * shown.Width / photo.Width(),
          shown.Top - templateBounds.Top + p.Y * shown.Height / photo.Height()};
}

bool Near(PointF a, PointF b) { return std::hypot(a.X - b.X, a.Y - b.Y) <= kFittedTolerance; }

}  // namespace

PhotographFit FitPhotograph(const Bitmap& photo, const PixelRect& shown, const PixelRect& templateBounds,
                            bool faceUnderTemplate, const FindFaceFunction& findFace) {
  PhotographFit answer;
  if (photo.Empty() || !findFace) return answer;
  FaceSearch search;
  if (faceUnderTemplate && photo.Format() == PixelFormat::Bits24) {
    search = SearchUnderTemplate(photo, shown, templateBounds, findFace);
  }
  if (search.Result != FaceSearch::Outcome::Found) search = findFace(photo);
  if (search.Result != FaceSearch::Outcome::Found) {
    answer.Message = search.Message;
    return answer;
  }
  const std::optional<FaceFit> fit = FitToStandardFace(search.Points, photo.Width(), photo.Height());
  if (!fit) {
    answer.Result = PhotographFit::Outcome::CannotFit;
    return answer;
  }
  const PointF leftEye = Centre(search.Points, landmark::kLeftEye);
  const PointF rightEye = Centre(search.Points, landmark::kRightEye);
  const PointF mouth = MouthCentre(search.Points);
  if (Near(Shown(leftEye, photo, shown, templateBounds), fit->LeftEye) &&
      Near(Shown(rightEye, photo, shown, templateBounds), fit->RightEye) &&
      Near(Shown(mouth, photo, shown, templateBounds), fit->Mouth)) {
    answer.Result = PhotographFit::Outcome::AlreadyFitted;
    return answer;
  }
  answer.Result = PhotographFit::Outcome::Fitted;
  answer.Fit = *fit;
  return answer;
}

}  // namespace glamora
