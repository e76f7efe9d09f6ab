#pragma once
// The outline of a region as polygon vertices along pixel edges, and the
// point lists selections are made of: several polygons, each ended by the
// separator point, closed implicitly.
#include <vector>

#include "imaging/core/PolygonRegion.h"

namespace glamora {

class RegionMask;

// Ends one polygon of a selection and starts the next.
inline constexpr Point kSelectionSeparator{1048575, 1048575};

// Traces the region's outline on a grid of cells four times finer than the
// pixels, with a margin of two cells round the region's bounding box: the
// cells just outside the region's 4 × 4 blocks form the outline; the walk
// starts at the outline cell nearest the top-left corner of the outline's
// box, prefers to keep its direction (north-east at first), else takes the
// first unvisited outline neighbour east, north, west, south, north-east,
// north-west, south-west, south-east, and ends where none is left. The start
// and every cell where the direction changes become vertices, in bitmap
// coordinates: a region pixel at column p has its left side at x = p and its
// right side at x = p + 1. Empty for an empty region.
std::vector<Point> TraceRegionOutline(const RegionMask& region);

// True only for exactly four points whose edges, the closing one included,
// alternate strictly between vertical and horizontal.
bool IsRectangle(const Point* points, int count);
inline bool IsRectangle(const std::vector<Point>& points) { return IsRectangle(points.data(), int(points.size())); }

// The polygons of a point list, split at the separators; empty polygons are left out.
std::vector<std::vector<Point>> SplitPolygons(const std::vector<Point>& points);

}  // namespace glamora
