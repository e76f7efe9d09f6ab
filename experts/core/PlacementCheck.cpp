// Judging a placed photograph: uncovered face area and enlargement.
#include "experts/core/PlacementCheck.h"

#include <cmath>
#include <cstdio>

#include "codecs/Codec.h"
#include "experts/core/Carving.h"
#include "landmarks/FaceFit.h"

namespace glamora {

namespace {

double Distance(PointF a, PointF b) { return std::hypot(b.X - a.X, b.Y - a.Y); }

// Which side of the line a→b the point p lies on: the sign of the cross product.
double Side(PointF a, PointF b, PointF p) { return (b.X - a.X) * (p.Y - a.Y) - (b.Y - a.Y) * (p.X - a.X); }

}  // namespace

PhotographOutline::PhotographOutline(int width, int height)
    : originalWidth_(width), originalHeight_(height), corners_{{{0, 0}, {1, 0}, {1, 1}, {0, 1}}} {}

void PhotographOutline::Turn(int angle, int width, int height) {
  if (Empty() || width <= 0 || height <= 0) return;
  const RotatedSize turned = RotatedSizeOf(width, height, angle);
  for (PointF& corner : corners_) {
    // Shares run over pixel edges, RotatedPoint over pixel centres.
    const PointF centre{corner.X * width - 0.5, corner.Y * height - 0.5};
    const PointF moved = RotatedPoint(centre, width, height, angle);
    corner = {(moved.X + 0.5) / turned.Width, (moved.Y + 0.5) / turned.Height};
  }
}

std::array<PointF, 4> PhotographOutline::Corners(const PixelRect& shown) const {
  std::array<PointF, 4> onPanel{};
  for (size_t i = 0; i < corners_.size(); ++i) {
    onPanel[i] = {shown.Left + corners_[i].X * shown.Width, shown.Top + corners_[i].Y * shown.Height};
  }
  return onPanel;
}

double PhotographOutline::Enlargement(const PixelRect& shown) const {
  if (Empty()) return 1;
  const std::array<PointF, 4> c = Corners(shown);
  return std::max(Distance(c[0], c[1]) / originalWidth_, Distance(c[0], c[3]) / originalHeight_);
}

PlacementVerdict JudgePlacement(const PhotographOutline& outline, const PixelRect& shown,
                                const PixelRect& templateBounds, const Bitmap& mask) {
  PlacementVerdict verdict;
  verdict.Enlargement = outline.Enlargement(shown);
  if (mask.Empty()) return verdict;
  Bitmap expanded;
  const Bitmap* face = &codec::Pixels24(mask, expanded);
  const std::array<PointF, 4> c = outline.Corners(shown);
  // The corners go round one way; a point inside lies on the same side of all four edges.
  const auto inside = [&](PointF p) {
    int positive = 0, negative = 0;
    for (size_t i = 0; i < c.size(); ++i) {
      const double side = Side(c[i], c[(i + 1) % c.size()], p);
      positive += side > 0;
      negative += side < 0;
    }
    return !outline.Empty() && (positive == 0 || negative == 0);
  };
  const TColor keep = MaskKeepColour(*face);
  const uint8_t keepBlue = BlueOf(keep), keepGreen = GreenOf(keep), keepRed = RedOf(keep);
  int64_t area = 0, uncovered = 0;
  for (int y = 0; y < face->Height(); ++y) {
    const uint8_t* m = face->Row(y);
    const double panelY = templateBounds.Top + y + 0.5;
    for (int x = 0; x < face->Width(); ++x, m += 3) {
      if (m[0] != keepBlue || m[1] != keepGreen || m[2] != keepRed) continue;
      ++area;
      uncovered += !inside({templateBounds.Left + x + 0.5, panelY});
    }
  }
  if (area > 0) verdict.UncoveredShare = double(uncovered) / double(area);
  return verdict;
}

std::string PlacementProblem(const PlacementVerdict& verdict) {
  std::string problem;
  char part[120];
  if (verdict.UncoveredShare > kMaxUncoveredShare) {
    std::snprintf(part, sizeof part, "The photograph leaves %.1f %% of the face shape uncovered",
                  verdict.UncoveredShare * 100);
    problem = part;
  }
  if (verdict.Enlargement > kMaxEnlargement) {
    std::snprintf(part, sizeof part, "%s face is enlarged %.1f times and will look blurred",
                  problem.empty() ? "The" : " and the", verdict.Enlargement);
    problem += part;
  }
  return problem;
}

}  // namespace glamora
