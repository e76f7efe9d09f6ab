#pragma once
// Guide curves for the recurring parts of a hairstyle, from a few measures.
// Each builder returns guides ordered so that neighbouring guides bound one
// lock; a style hands them to HairCanvas::Sheet with the look it wants.
#include <vector>

#include "tools/generators/hairstyles/Curve.h"
#include "tools/generators/hairstyles/Head.h"

namespace glamora::hairgen {

using Guides = std::vector<Curve>;

constexpr int kLeft = -1;
constexpr int kRight = 1;

// Hair that grows from a parting and falls down one side of the head. The
// first guide runs along the face (hairline, temple, cheek), the last along
// the outer outline.
struct Fall {
  int side = kLeft;
  double partX = head::kCx;  // where the parting meets the hairline
  double volume = 12;        // how far the hair stands off the skull
  double lift = 0;           // extra height over the top of the head
  double length = 250;       // y of the ends at the outer edge
  double frontLength = 0;    // y of the ends beside the face (0: as length)
  double spread = 0;         // how far the ends swing out beyond the head
  double tuck = 0;           // ends turn under toward the face (+) or flick out (-)
  double faceGap = 0;        // inner edge kept this far off the face (hair behind the ears)
  double jawX =
      0;         // below the jaw the inner edge falls straight at this offset from the face centre (0: beside the jaw)
  Points front;  // three knots across the forehead to the temple; empty: along the hairline
  int guides = 8;
};
Guides FallGuides(const Fall& fall);

// Knots for Fall::front: the inner edge sweeps across the forehead from the
// parting and is lowest (`depth`) where it reaches the far temple.
Points SweptFront(int side, double partX, double depth);
// Knots for Fall::front: curtain bangs opening from a centre parting.
Points CurtainFront(int side, double depth);

// Hair hanging behind the head, seen around the neck and below the side hair.
struct Back {
  double top = 120;     // where it appears from under the front hair
  double length = 300;  // y of the ends
  double halfWidth = 74;
  double spread = 8;  // extra width at the ends
  int guides = 12;
};
Guides BackGuides(const Back& back);

// A fringe falling forward from the crown over the forehead.
struct Fringe {
  double left = 58, right = 170;  // span of the ends
  double depth = 130;             // lowest point of the ends (no lower than the brows)
  double arch = 4;                // the ends rise toward the sides by this much
  double slant = 0;               // the ends fall toward the right (+) or the left (-) by this much
  double rootY = 50;              // where the strands start on the crown
  double rootSpread = 0.5;        // roots span this fraction of the ends' span
  double bulge = 6;               // the fringe's outward curve
  int guides = 10;
};
Guides FringeGuides(const Fringe& fringe);

// Hair drawn up and back from the hairline to a point on top of the head
// (high ponytail, bun, updo): roots
// along the hairline between two angles of the face oval, all strands
// meeting at `gather` after passing over the skull grown by `volume`.
struct PulledBack {
  double fromDegrees = 192, toDegrees = 348;  // hairline span, left temple to right temple
  QPointF gather{head::kCx, 40};
  double volume = 5;
  double lift = 0;  // extra height in the middle
  int guides = 12;
};
Guides PulledBackGuides(const PulledBack& pulled);

// Hair combed up and back from the hairline into a rounded roll (quiff,
// pompadour): roots along the hairline, tips at the back of the top.
struct Roll {
  double left = 62, right = 166;  // hairline span
  double height = 28;             // rise above the crown
  double forward = 0;             // the roll leans this far to the right (+) or left (-)
  double sideFrom = 0;            // 0: from the hairline; > 0 roots start this far down the sides
  int guides = 12;
};
Guides RollGuides(const Roll& roll);

// A hanging tail (ponytail, side swoop): from a gathered root, `width` wide,
// along the path through the knots, spreading to `endWidth`.
Guides TailGuides(const Points& knots, double width, double endWidth, int guides = 7);

// The hair along the natural hairline on one side: from the middle of the
// forehead over its upper side to the temple. The first guide runs along the
// hairline, the last along the skull. HairlineKnots is the hairline itself.
Points HairlineKnots(int side);
Guides HairlineGuides(int side);

// A curl's path: starting at `start`, hanging down with a sway.
Curve HangingPath(QPointF start, double length, double sway, double lean = 0);

}  // namespace glamora::hairgen
