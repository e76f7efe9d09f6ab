#pragma once
// Where a tool lays its stamps along a stroke. Mouse positions arrive far
// apart when the mouse moves fast, so every tool that paints by stamps (the
// pencil's pixel, the airbrush, the erasers) lays them along the way from one
// position to the next, close enough together that a fast drag looks like a
// slow one.
#include <vector>

#include "imaging/core/PolygonRegion.h"

namespace glamora {

// The farthest apart two stamps of a brush `brushSize` pixels across may
// lie: a quarter of its size, but never less than one pixel.
double StampSpacing(int brushSize);

// The stamp centres on the way from `from` to `to`: `from` left out (the
// press or the step before laid it), `to` included, evenly spaced and at
// most StampSpacing apart; a brush under four pixels across lays one stamp
// on each pixel of the line. None when the two points are the same.
std::vector<Point> StampsAlong(Point from, Point to, int brushSize);

}  // namespace glamora
