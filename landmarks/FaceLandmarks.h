#pragma once
// The 68 points that place a face in a picture: jaw, brows, nose, eyes and
// lips, numbered as the common 68-point face annotation numbers them, in
// picture pixel coordinates. "Left" and "right" are the picture's: the
// first eye and brow lie on the picture's left.
#include <array>

namespace glamora {

struct PointF {
  double X = 0;
  double Y = 0;
  friend bool operator==(const PointF&, const PointF&) = default;
};

constexpr int kLandmarkCount = 68;
using FaceLandmarks = std::array<PointF, kLandmarkCount>;

// Consecutive landmark numbers First .. First + Count − 1.
struct LandmarkRange {
  int First;
  int Count;
};

namespace landmark {
constexpr LandmarkRange kJaw{0, 17};
constexpr LandmarkRange kLeftBrow{17, 5};   // from its outer end to its inner end
constexpr LandmarkRange kRightBrow{22, 5};  // from its inner end to its outer end
constexpr LandmarkRange kNose{27, 9};
// Each eye runs clockwise from its left corner: two points on the upper lid,
// the right corner, two on the lower lid.
constexpr LandmarkRange kLeftEye{36, 6};
constexpr LandmarkRange kRightEye{42, 6};
// The lips' outer edge clockwise from the left corner of the mouth (48 to 59),
// then the line where the lips meet or the opening between them (60 to 67).
constexpr LandmarkRange kOuterLips{48, 12};
constexpr LandmarkRange kInnerLips{60, 8};
}  // namespace landmark

// The mean of the points of a range.
PointF Centre(const FaceLandmarks& points, LandmarkRange range);

// The middle of the mouth: halfway between its corners across, and at the
// mean height of the line where the lips meet (or of the opening between
// them) down. The mean of the inner points alone leans towards the side
// where they bunch up.
PointF MouthCentre(const FaceLandmarks& points);

}  // namespace glamora
