#pragma once
// Where a face sits in the standard 228 × 314 face picture. Face-shape
// templates, masks, the model face and every hairstyle are drawn to this
// geometry, so any hairstyle fits any face made with the face expert.
//
//   x: 0 .. 227 left to right, y: 0 .. 313 top to bottom.
//   The picture's left eye lies left of x = 114, the right eye right of it;
//   both eyes lie above y = 188, the mouth below it.

namespace glamora::standard_face {

constexpr int kWidth = 228;
constexpr int kHeight = 314;
// Height over width, which thumbnails of faces keep.
constexpr double kAspect = double(kHeight) / kWidth;

// Vertical split between the eye regions and the lips, and horizontal split
// between the two eyes.
constexpr int kEyeMouthSplitY = 188;
constexpr int kCentreX = 114;

// Face outline of the Oval template: an ellipse.
constexpr int kFaceCentreX = 114;
constexpr int kFaceCentreY = 162;
constexpr int kFaceRadiusX = 62;   // half the face width at the cheekbones
constexpr int kFaceRadiusY = 96;   // half the height from hairline to chin
constexpr int kFaceTop = kFaceCentreY - kFaceRadiusY;     // hairline, y = 66
constexpr int kChinY = kFaceCentreY + kFaceRadiusY;       // chin, y = 258
constexpr int kFaceLeft = kFaceCentreX - kFaceRadiusX;    // x = 52
constexpr int kFaceRight = kFaceCentreX + kFaceRadiusX;   // x = 176

// Top of the head (skull, without hair).
constexpr int kCrownY = 44;

// Eyes.
constexpr int kEyeLineY = 150;
constexpr int kLeftEyeX = 87;
constexpr int kRightEyeX = 141;
constexpr int kEyeHalfWidth = 14;
constexpr int kEyeHalfHeight = 6;

// Nose tip and mouth.
constexpr int kNoseY = 190;
constexpr int kMouthY = 216;
constexpr int kMouthHalfWidth = 21;

// Ears (outer edge at the eye line to the nose).
constexpr int kEarTop = 140;
constexpr int kEarBottom = 196;

// Neck and shoulders.
constexpr int kNeckLeft = 90;
constexpr int kNeckRight = 138;
constexpr int kNeckTop = 240;
constexpr int kShoulderY = 284;  // where the neck widens into the shoulders
constexpr int kShoulderLeft = 0;
constexpr int kShoulderRight = kWidth - 1;

}  // namespace glamora::standard_face
