#pragma once
// Enumerates the pixels of a line from (x1, y1) to (x2, y2), the start
// included and the end excluded, calling plot(x, y) for each in order. Lines
// drawn end to end thus touch each shared vertex once, which keeps a dashed
// pattern running evenly round a polygon.
#include <cstdlib>

namespace glamora {

template <class Plot>
void LineDda(int x1, int y1, int x2, int y2, Plot&& plot) {
  const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  const int steps = dx > dy ? dx : dy;
  // Bresenham along the major axis; the error term decides the minor steps.
  int x = x1, y = y1;
  if (dx >= dy) {
    int error = 2 * dy - dx;
    for (int i = 0; i < steps; ++i) {
      plot(x, y);
      if (error > 0) {
        y += sy;
        error -= 2 * dx;
      }
      error += 2 * dy;
      x += sx;
    }
  } else {
    int error = 2 * dx - dy;
    for (int i = 0; i < steps; ++i) {
      plot(x, y);
      if (error > 0) {
        x += sx;
        error -= 2 * dy;
      }
      error += 2 * dx;
      y += sy;
    }
  }
}

}  // namespace glamora
