#pragma once
// Make-up on the regions of a face: colouring a region by shifting its
// channels, and drawing a region's outline. Regions come from the face
// header in picture coordinates; a region that is not outlined, or whose
// vertices lie impossibly far out, changes nothing.
#include <cstdint>
#include <functional>
#include <vector>

#include "face/FaceHeader.h"
#include "imaging/core/Bitmap.h"
#include "imaging/core/Color.h"
#include "imaging/core/PixelRect.h"
#include "imaging/core/PolygonRegion.h"

namespace glamora {

// The pixels a region record covers; empty for a region that colours nothing.
PolygonRegion RegionOf(const FaceRegion& record);

// The record the outline editor stores for a polygon in picture
// coordinates: marked valid, with its vertices. A polygon of fewer than
// three or more than FaceRegion::kMaxPoints vertices gives a record that is
// not valid and has no vertices.
FaceRegion RegionRecordOf(const std::vector<Point>& polygon);

// The outer edge of a ring: a record that runs round an outer loop back to
// its first vertex, then round an inner loop and back out the way it came in
// (the last vertex is the inner loop's first) gives a record of the outer
// loop alone. Any other record, as a single outline drawn by hand, comes
// back as it is.
FaceRegion OuterLoopOf(const FaceRegion& record);

// Adds (red − 50, green − 50, blue − 50) of the colour to every pixel of the
// region, each channel clamped to 0..255.
void ColorRegion(Bitmap& picture, const FaceRegion& record, TColor color);

// Calls visit(y, frame) for each row y of `area` that the region covers, in
// increasing order; frame[i] is 1 where pixel (area.Left + i, y) lies on the
// region's frame (a pixel of the region with a neighbour outside it), 0
// elsewhere. The work is bounded by the area, however far the region reaches.
void ForEachFrameRow(const PolygonRegion& region, const PixelRect& area,
                     const std::function<void(int y, const uint8_t* frame)>& visit);

// Paints the region's one-pixel frame (its pixels with a neighbour outside
// the region) in the colour; 24-bit pictures only.
void OutlineRegion(Bitmap& picture, const FaceRegion& record, TColor color);

}  // namespace glamora
