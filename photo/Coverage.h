#pragma once
// Anti-aliased coverage of shapes in a soft mask: how much of each pixel a
// polygon or a band along a curve covers, and masks combined pixel by pixel.
#include <vector>

#include "face/SoftMask.h"
#include "landmarks/FaceLandmarks.h"

namespace glamora {

// The box of picture pixels the points touch, widened by `margin` on every side.
PixelRect BoundsOf(const std::vector<PointF>& points, int margin);

// Marks how much of each pixel of the mask's box the closed polygon covers
// (even-odd rule; pixel (x, y) is the square from (x, y) to (x + 1, y + 1)),
// keeping the larger of that and what the mask already holds.
void FillPolygon(SoftMask& mask, const std::vector<PointF>& polygon);

// Marks the band of half-width `halfWidth` along the polyline (closed when
// `closed`), each pixel by how near its centre lies to the line, with a
// one-pixel anti-aliased edge, keeping the larger value.
void StrokePolyline(SoftMask& mask, const std::vector<PointF>& line, double halfWidth, bool closed);

// Takes `hole` out of the mask: each strength times what the hole leaves
// uncovered.
void CutOut(SoftMask& mask, const SoftMask& hole);

// Each strength times the other mask's strength at the same pixel (0 outside it).
void Intersect(SoftMask& mask, const SoftMask& other);

}  // namespace glamora
