#pragma once
// Landmarks to test the geometry without the shape model, and ways to move them.
#include <cmath>
#include <numbers>

#include "landmarks/FaceLandmarks.h"

namespace glamora::test {

// The 68 points the finder placed on the NASA portrait (512 × 512): an
// upright face, eyes about 44 pixels apart, smiling with the teeth showing.
inline FaceLandmarks AstronautLandmarks() {
  static constexpr int kPoints[kLandmarkCount][2] = {
      {179, 104}, {180, 116}, {180, 127}, {182, 139}, {185, 150}, {191, 160}, {200, 169}, {210, 176},
      {221, 178}, {233, 176}, {243, 170}, {253, 163}, {260, 153}, {265, 143}, {268, 131}, {270, 120},
      {271, 108}, {186, 93},  {192, 88},  {200, 87},  {208, 88},  {216, 92},  {236, 93},  {244, 90},
      {252, 90},  {260, 92},  {265, 98},  {226, 103}, {225, 111}, {225, 119}, {225, 127}, {214, 131},
      {219, 132}, {224, 134}, {229, 133}, {234, 132}, {195, 101}, {200, 98},  {207, 98},  {212, 104},
      {206, 104}, {199, 104}, {238, 105}, {244, 100}, {250, 101}, {256, 104}, {250, 107}, {244, 106},
      {200, 139}, {209, 139}, {218, 139}, {224, 141}, {230, 140}, {237, 140}, {246, 141}, {237, 151},
      {229, 155}, {222, 155}, {216, 154}, {207, 149}, {203, 140}, {217, 143}, {223, 144}, {229, 143},
      {243, 142}, {229, 150}, {223, 150}, {217, 149},
  };
  FaceLandmarks points{};
  for (int i = 0; i < kLandmarkCount; ++i) points[size_t(i)] = {double(kPoints[i][0]), double(kPoints[i][1])};
  return points;
}

// The points turned by `degrees` (counter-clockwise as seen, y down) about
// `centre`, scaled by `scale` and moved by (dx, dy).
inline FaceLandmarks Moved(FaceLandmarks points, PointF centre, double degrees, double scale, double dx = 0,
                           double dy = 0) {
  const double a = degrees * std::numbers::pi / 180, c = std::cos(a), s = std::sin(a);
  for (PointF& p : points) {
    const double x = p.X - centre.X, y = p.Y - centre.Y;
    p = {centre.X + scale * (c * x + s * y) + dx, centre.Y + scale * (-s * x + c * y) + dy};
  }
  return points;
}

}  // namespace glamora::test
