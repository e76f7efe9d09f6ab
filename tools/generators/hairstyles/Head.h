#pragma once
// The head that every hairstyle is drawn on, derived from the standard face
// geometry: the face oval, the skull above it, the ears, the neck, and the
// parts of the face that hair must leave free.
#include <QPainterPath>
#include <QPointF>

#include "face/StandardFace.h"

namespace glamora::hairgen::head {

namespace sf = glamora::standard_face;

constexpr double kCx = sf::kFaceCentreX;

// The skull: an ellipse whose top is the crown and whose sides run a little
// outside the face oval down to the ears.
constexpr double kSkullCentreY = 132;
constexpr double kSkullRadiusX = 66;
constexpr double kSkullRadiusY = kSkullCentreY - sf::kCrownY;

// Lowest point a fringe may reach: just above the eyebrows.
constexpr double kFringeLimitY = sf::kEyeLineY - 14;

// How far hair reaches over the face's carved edge. The carved edge is a
// pixel or two of skin mixed with the white outside; hair has to cover it,
// or it shows as a light seam between hair and face.
constexpr double kOverlap = 4;

// The natural hairline: a soft arch, highest in the middle of the forehead
// (a forehead about as tall as brows to nose) and coming down over the
// temples beside the brows' outer ends.
constexpr double kHairlineTopY = 80;
constexpr double kTempleY = sf::kEyeLineY - 12;
constexpr double kTempleHalfWidth = 52;

// Angles are in degrees on screen (y down): 0 right, 90 down, 180 left,
// 270 the top.
QPointF FacePoint(double degrees, double grow = 0);
QPointF SkullPoint(double degrees, double grow = 0);

// Half the face width at height y, 0 above the hairline and below the chin.
double FaceHalfWidth(double y);
// Half the skull width at height y, 0 outside it.
double SkullHalfWidth(double y);
// The x of the face edge at height y on one side (-1 left, +1 right).
double FaceEdgeX(int side, double y);
double SkullEdgeX(int side, double y);
// Where the face oval's top edge lies at column x.
double HairlineY(double x);
// Where the natural hairline lies at column x; kTempleY beyond the temples.
double NaturalHairlineY(double x);

// How far a point lies from the face oval: 1 on the outline, less inside.
double FaceRadius(QPointF p);

QPainterPath FaceOval(double grow = 0);
// What hair leaves of the face: the oval less a band of kOverlap at its edge
// (faces are carved along the oval mask, and hair reaching inside covers the
// carved edge), and above the natural hairline.
QPainterPath HairOpening();
// The oval less the band only, for styles that draw their own hairline.
QPainterPath OvalOpening();
QPainterPath Skull(double grow = 0);
// The top of the face oval above a man's hairline: level across the
// forehead at `y` and curving down at the temples, where hair covers the
// skin the oval leaves bare.
QPainterPath ForeheadAbove(double y);

// Eyes, eyebrows, nose, mouth and chin: never covered by hair.
QPainterPath FaceCore();
// The middle of the neck: hidden behind the neck hair cannot be seen.
QPainterPath NeckCore();

}  // namespace glamora::hairgen::head
