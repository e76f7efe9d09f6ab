#pragma once
// Pixels inside a polygon under the alternate (even-odd) fill rule. A pixel
// belongs to the region when its centre lies inside; the same rule serves
// colouring, hit tests and selections, so they always agree.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace glamora {

struct Point {
  int X = 0;
  int Y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Span {
  int Y;
  int X0;  // first pixel inside
  int X1;  // last pixel inside
};

class PolygonRegion {
 public:
  PolygonRegion() = default;
  // A polygon with fewer than three vertices covers nothing.
  explicit PolygonRegion(const std::vector<Point>& vertices);
  PolygonRegion(const Point* vertices, int count);

  bool Empty() const { return spans_.empty(); }
  bool Contains(int x, int y) const;
  // Spans in increasing row order, and in increasing x within a row.
  const std::vector<Span>& Spans() const { return spans_; }
  // Bounding box of the covered pixels (inclusive); empty region gives Left > Right.
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Right() const { return right_; }
  int Bottom() const { return bottom_; }

 private:
  void Build(const Point* vertices, int count);
  std::vector<Span> spans_;
  std::vector<size_t> rowStart_;  // index of the first span of row Top()+i, size rows+1
  int left_ = 0, top_ = 0, right_ = -1, bottom_ = -1;
};

}  // namespace glamora
