// The hair canvas: strands, locks and sheets painted in greys at a multiple
// of the size, brought down to the catalogue picture or the large one.
#include "tools/generators/hairstyles/HairCanvas.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/generators/hairstyles/Head.h"

namespace glamora::hairgen {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Hair is painted on a scale of greys from kDarkest to kLightest and brought
// down to the catalogue's dark base at the end (CatalogueGrey).
constexpr double kMiddleGrey = 80;
constexpr double kDarkest = 40;
constexpr double kLightest = 168;

// The catalogue's greys: the hair colour is added to them, so black in the
// colour box must leave nearly black hair, the default colour (60, 40, 20)
// a natural brown and a light colour blond. Painted greys 40 .. 168 become
// 8 .. 100; the middle grey 80 becomes 37.
double CatalogueGrey(double painted) { return std::clamp(8 + (painted - kDarkest) * 0.72, 6.0, 100.0); }

// Edges of hair over the face: what a partly covered pixel mixes with, and
// the least coverage that stays hair.
constexpr double kOverFaceGrey = 100;
constexpr double kOverFaceCoverage = 0.35;

// Whether a point lies over the face: inside the oval or on its carved edge,
// a pixel wide on either side of it.
bool InsideFace(double x, double y) {
  const double dx = (x - head::kCx) / (head::sf::kFaceRadiusX + 1);
  const double dy = (y - head::sf::kFaceCentreY) / (head::sf::kFaceRadiusY + 1);
  return dx * dx + dy * dy < 1;
}

double Smoothstep(double e0, double e1, double x) {
  double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

QColor Grey(double g, double alpha = 1.0) {
  int v = std::clamp(int(std::lround(g)), 0, 255);
  return QColor(v, v, v, std::clamp(int(std::lround(alpha * 255)), 0, 255));
}

QPen StrandPen(double grey, double width, double alpha) {
  QPen pen(Grey(grey, alpha), width);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

// Bits of a few pixels cut off from the rest of the hair (the visible part
// of a fine hair that thins out over the face or past a tip) would stand
// alone as dark specks once the background is keyed out: they go white.
void WhitenSpecks(QImage& picture) {
  constexpr int kKept = 210;  // lighter pixels count as background, JPEG noise included
  constexpr size_t kSpeck = 6;
  const int w = picture.width(), h = picture.height();
  auto hair = [&](int x, int y) { return picture.constScanLine(y)[3 * x] <= kKept; };
  std::vector<uint8_t> seen(size_t(w) * h, 0);
  std::vector<QPoint> bit;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (seen[size_t(y) * w + x] || !hair(x, y)) continue;
      bit.assign(1, QPoint(x, y));
      seen[size_t(y) * w + x] = 1;
      for (size_t k = 0; k < bit.size(); ++k) {
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = bit[k].x() + dx, ny = bit[k].y() + dy;
            if (nx < 0 || ny < 0 || nx >= w || ny >= h || seen[size_t(ny) * w + nx] || !hair(nx, ny)) continue;
            seen[size_t(ny) * w + nx] = 1;
            bit.emplace_back(nx, ny);
          }
        }
      }
      if (bit.size() > kSpeck) continue;
      for (const QPoint& p : bit) std::fill_n(picture.scanLine(p.y()) + 3 * p.x(), 3, uint8_t(255));
    }
  }
}

}  // namespace

HairCanvas::HairCanvas(uint64_t seed, bool naturalHairline, int scale)
    : rng_(seed),
      scale_(scale),
      opening_(naturalHairline ? head::HairOpening() : head::OvalOpening()),
      layer_(head::sf::kWidth * scale, head::sf::kHeight * scale, QImage::Format_ARGB32_Premultiplied) {
  layer_.fill(Qt::transparent);
}

void HairCanvas::BeginClip(QPainter& painter, const Look& look) const {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(scale_, scale_);
  QPainterPath allowed;
  allowed.addRect(-40, -40, head::sf::kWidth + 80, head::sf::kHeight + 80);
  allowed = allowed.subtracted(head::FaceCore());
  if (look.clip == Clip::OutsideFace) allowed = allowed.subtracted(opening_);
  if (look.behindNeck) allowed = allowed.subtracted(head::NeckCore());
  painter.setClipPath(allowed);
}

double HairCanvas::Shade(const Look& look, double s, double offset, QPointF at) const {
  double g = kMiddleGrey + look.tone + offset;
  g -= look.rootShade * (1 - Smoothstep(0, 0.14, s));
  for (const Sheen& sheen : look.sheens) {
    double d = (s - sheen.at) / sheen.width;
    g += sheen.strength * std::exp(-d * d);
  }
  // Hair lying against the face and the neck is in their shadow.
  double r = head::FaceRadius(at);
  if (r < 1.3) g -= 24 * (1 - Smoothstep(1.0, 1.3, r)) * Smoothstep(92, 125, at.y());
  return std::clamp(g, kDarkest, kLightest);
}

void HairCanvas::DrawShadedPolyline(QPainter& painter, const Points& points, const std::vector<double>& greys,
                                    double width, double alpha, bool fading) {
  constexpr size_t kRun = 3;
  for (size_t i = 0; i + 1 < points.size(); i += kRun) {
    size_t end = std::min(points.size() - 1, i + kRun);
    double grey = 0;
    for (size_t k = i; k <= end; ++k) grey += greys[k];
    grey /= double(end - i + 1);
    // A fading hair thins out toward its end instead of stopping dark.
    const double fade = fading ? 1 - double(i + end) / 2 / double(points.size() - 1) : 1;
    painter.setPen(StrandPen(grey, width, alpha * fade));
    painter.drawPolyline(points.data() + i, int(end - i + 1));
  }
}

namespace {

// Where the strand at t (between guide floor(t) and the next) is at the
// fraction s of its length, and how far through a wave it is.
struct SheetGeometry {
  const std::vector<Curve>& guides;
  const Look& look;
  int locks;

  QPointF Position(double t, double s, double* wavePhase = nullptr) const {
    t = std::clamp(t, 0.0, double(locks));
    int i = std::min(int(t), locks - 1);
    double f = t - i;
    QPointF p = Lerp(guides[i].At(s), guides[i + 1].At(s), f);
    if (wavePhase) *wavePhase = 0;
    if (look.wave > 0) {
      double ramp = Smoothstep(look.waveFrom, look.waveFrom + 0.2, s);
      if (ramp > 0) {
        double length = guides[i].Length() + (guides[i + 1].Length() - guides[i].Length()) * f;
        QPointF dir = Unit(Lerp(guides[i].Tangent(s), guides[i + 1].Tangent(s), f));
        double phase = 2 * kPi * s * length / look.waveLength + 0.45 * t;
        p += Perp(dir) * (look.wave * ramp * std::sin(phase));
        if (wavePhase) *wavePhase = ramp * std::cos(phase);
      }
    }
    return p;
  }

  // Feathered ends: the middle of a lock reaches further than its edges,
  // and locks differ in length. `f` runs across lock j from 0 to 1. The
  // difference comes from a hash of the lock, not the generator, so the
  // outline and the strands of a lock agree on it.
  double TipEnd(int j, double f) const {
    double h = std::sin((j + 1) * 12.9898 + locks * 78.233) * 43758.5453;
    double shorter = 0.6 * look.ragged * (h - std::floor(h));
    return 1 - look.ragged * std::pow(std::abs(2 * f - 1), 1.4) - shorter * std::sin(kPi * f);
  }

  QPainterPath Outline() const {
    QPainterPath body;
    body.setFillRule(Qt::WindingFill);
    constexpr int kAlong = 48;
    constexpr int kAcross = 10;
    for (int j = 0; j < locks; ++j) {
      QPolygonF outline;
      double e0 = TipEnd(j, 0);
      for (int k = 0; k <= kAlong; ++k) outline << Position(j - 0.04, e0 * k / kAlong);
      for (int q = 0; q <= kAcross; ++q) {
        double f = double(q) / kAcross;
        outline << Position(j + f, TipEnd(j, f));
      }
      for (int k = kAlong; k >= 0; --k) outline << Position(j + 1.04, e0 * k / kAlong);
      body.addPolygon(outline);
      body.closeSubpath();
    }
    return body;
  }
};

}  // namespace

void HairCanvas::Sheet(const std::vector<Curve>& guides, const Look& look) {
  const int locks = int(guides.size()) - 1;
  if (locks < 1) return;
  QPainter painter(&layer_);
  BeginClip(painter, look);
  const SheetGeometry geometry{guides, look, locks};
  auto position = [&](double t, double s) { return geometry.Position(t, s); };
  painter.fillPath(geometry.Outline(), Grey(kMiddleGrey + look.tone - 34));

  struct Pass {
    double perPixel;  // strands per pixel of lock width
    double width;
    double alpha;
    double spread;  // grey spread between strands
    double lift;    // added grey
    bool shineOnly;
  };
  const Pass passes[] = {
      {1.1, 1.7, 0.5, 5, 0, false},
      {2.6, 0.75, 0.55, 18, 0, false},
      {1.0, 0.55, 0.75, 8, 16, true},
  };
  for (int j = 0; j < locks; ++j) {
    double width = 0;
    for (double s : {0.3, 0.6, 0.9}) width += Distance(guides[j].At(s), guides[j + 1].At(s)) / 3;
    const double length = (guides[j].Length() + guides[j + 1].Length()) / 2;
    width = std::max(width, 2.0);
    double lockTone = rng_.Normal() * 7 * look.contrast;
    for (const Pass& pass : passes) {
      if (pass.shineOnly && look.sheens.empty()) continue;
      int count = std::max(4, int(width * pass.perPixel * look.density));
      for (int n = 0; n < count; ++n) {
        double f = rng_.Unit();
        double t = j + f;
        double s0 = rng_.Range(0, 0.04);
        double s1 = geometry.TipEnd(j, f) + rng_.Normal() * look.jag;
        double offset = lockTone + rng_.Normal() * pass.spread * look.contrast + pass.lift;
        double wobble = rng_.Range(0.2, 0.7) / width;
        double phase = rng_.Range(0, 2 * kPi);
        double shineFrom = 0, shineTo = 1;
        if (pass.shineOnly) {
          const Sheen& sheen = look.sheens[size_t(rng_.Below(int(look.sheens.size())))];
          double c = sheen.at + rng_.Normal() * sheen.width * 0.3;
          double half = sheen.width * rng_.Range(0.6, 1.4);
          shineFrom = std::max(s0, c - half);
          shineTo = std::min(s1, c + half);
          if (shineTo <= shineFrom) continue;
        }
        double from = std::max(s0, shineFrom), to = std::min(s1, shineTo);
        int points = std::max(6, int((to - from) * length / 2.0));
        Points line;
        std::vector<double> greys;
        line.reserve(points + 1);
        greys.reserve(points + 1);
        for (int k = 0; k <= points; ++k) {
          double s = from + (to - from) * k / points;
          double crest = 0;
          QPointF p = geometry.Position(t + wobble * std::sin(s * length / 9.0 + phase), s, &crest);
          line.push_back(p);
          greys.push_back(Shade(look, s, offset + look.waveShade * crest, p));
        }
        DrawShadedPolyline(painter, line, greys, pass.width, pass.alpha);
      }
    }
    // Stray hairs that break the outline at the ends, fading out past the
    // tips, so none ends in a dark speck on the background.
    int strays = int(look.flyaways) + (rng_.Chance(look.flyaways - int(look.flyaways)) ? 1 : 0);
    for (int n = 0; n < strays; ++n) {
      double f = rng_.Range(0.15, 0.85);
      double t = j + f;
      double s1 = geometry.TipEnd(j, f);
      double from = s1 - rng_.Range(0.1, 0.22);
      double to = s1 + rng_.Range(2.5, 6.0) / length;
      double drift = rng_.Jitter(6);
      int points = std::max(6, int((to - from) * length / 2.0));
      Points line;
      std::vector<double> greys;
      for (int k = 0; k <= points; ++k) {
        double u = double(k) / points;
        double s = from + (to - from) * u;
        QPointF p = position(t, s);
        p += Perp(Unit(position(t, s + 0.01) - p)) * (drift * u * u);
        line.push_back(p);
        greys.push_back(Shade(look, s, -30, p));
      }
      DrawShadedPolyline(painter, line, greys, 0.8, 1.0, true);
    }
  }
}

void HairCanvas::Ringlet(const Curve& path, double radius, double pitch, const Look& look) {
  if (path.Empty()) return;
  QPainter painter(&layer_);
  BeginClip(painter, look);
  const double length = path.Length();
  auto radiusAt = [&](double s) {
    return radius * (1 - 0.5 * Smoothstep(0.6, 1.0, s)) * (0.8 + 0.2 * Smoothstep(0, 0.15, s));
  };

  QPolygonF envelope;
  constexpr int kSteps = 60;
  for (int k = 0; k <= kSteps; ++k) {
    double s = double(k) / kSteps;
    envelope << path.At(s) + Perp(path.Tangent(s)) * radiusAt(s) * 0.8;
  }
  for (int k = kSteps; k >= 0; --k) {
    double s = double(k) / kSteps;
    envelope << path.At(s) - Perp(path.Tangent(s)) * radiusAt(s) * 0.8;
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(Grey(kMiddleGrey + look.tone - 42));
  painter.drawPolygon(envelope);

  // Strands of one curl turn together; the far half of every turn is drawn
  // first and darker, the near half over it and lighter, so the spiral shows.
  struct Coil {
    double phase, scale, offset, s0, s1, width, alpha;
  };
  std::vector<Coil> coils;
  int strands = int((radius * 2.5 + 8) * look.density);
  for (int n = 0; n < strands; ++n) {
    bool body = n < strands / 3;
    coils.push_back({rng_.Jitter(0.3), rng_.Range(0.72, 1.05), rng_.Normal() * (body ? 4 : 12) * look.contrast,
                     rng_.Range(0, 0.04), 1 - rng_.Range(0, 0.05), (body ? 2.2 : 0.9), body ? 0.6 : 0.8});
  }
  for (int near = 0; near < 2; ++near) {
    for (const Coil& coil : coils) {
      int points = std::max(12, int((coil.s1 - coil.s0) * length / 0.8));
      Points run;
      std::vector<double> greys;
      auto flush = [&]() {
        if (run.size() > 1) DrawShadedPolyline(painter, run, greys, coil.width, coil.alpha);
        run.clear();
        greys.clear();
      };
      for (int k = 0; k <= points; ++k) {
        double s = coil.s0 + (coil.s1 - coil.s0) * k / points;
        double theta = 2 * kPi * s * length / pitch + coil.phase;
        bool isNear = std::cos(theta) > 0;
        if (isNear != bool(near)) {
          flush();
          continue;
        }
        QPointF c = path.At(s);
        QPointF along = path.Tangent(s);
        double r = radiusAt(s) * coil.scale;
        QPointF p = c + Perp(along) * (r * std::sin(theta)) + along * (r * 0.7 * std::cos(theta));
        run.push_back(p);
        greys.push_back(Shade(look, s, coil.offset + (near ? 6 + 18 * std::cos(theta) : -18), p));
      }
      flush();
    }
  }
}

void HairCanvas::Curls(const std::vector<Curve>& guides, double from, double radius, const Look& look, double pitch) {
  const int locks = int(guides.size()) - 1;
  // Columns of curls across every lock, and a second, darker row between
  // them, so the curls pack into a mass without gaps. Each curl sways a little.
  struct Column {
    int lock;
    double f;
    bool inner;
  };
  std::vector<Column> columns;
  for (int j = 0; j < locks; ++j) {
    double width = 0;
    for (double s : {0.5, 0.8}) width += Distance(guides[j].At(s), guides[j + 1].At(s)) / 2;
    int count = std::max(1, int(std::lround(width / (1.6 * radius))));
    for (int c = 0; c < count; ++c) columns.push_back({j, (c + 0.5) / count, false});
    for (int c = 0; c <= count; ++c) {
      if ((j == 0 && c == 0) || (j == locks - 1 && c == count)) continue;
      if (c < count || j == locks - 1) columns.push_back({j, double(c) / count, true});
    }
  }
  for (bool inner : {true, false}) {
    for (const Column& column : columns) {
      if (column.inner != inner) continue;
      double start = from + rng_.Jitter(0.04) + (inner ? 0.04 : 0);
      double end = 1 - (inner ? look.ragged : 0) + rng_.Jitter(0.03);
      double sway = rng_.Range(0.5, 1.5), phase = rng_.Range(0, 2 * kPi);
      Points path;
      for (int k = 0; k <= 40; ++k) {
        double s = start + (end - start) * k / 40.0;
        QPointF p = Lerp(guides[column.lock].At(s), guides[column.lock + 1].At(s), column.f);
        path.push_back(p + QPointF(sway * std::sin(phase + 6 * s), 0));
      }
      Look curl = look;
      curl.tone += rng_.Normal() * 5 - (inner ? 10 : 0);
      double r = radius * rng_.Range(0.85, 1.1) * (inner ? 0.85 : 1);
      Ringlet(Curve(std::move(path)), r, r * pitch, curl);
    }
  }
}

void HairCanvas::Wisps(const Curve& hairline, int count, const Look& look) {
  if (hairline.Empty()) return;
  QPainter painter(&layer_);
  BeginClip(painter, look);
  const QPointF faceMiddle(head::kCx, head::sf::kEyeLineY);
  for (int n = 0; n < count; ++n) {
    const double s = rng_.Range(0.03, 0.97);
    const QPointF at = hairline.At(s);
    const QPointF along = hairline.Tangent(s);
    QPointF inward = Perp(along);
    if ((faceMiddle.x() - at.x()) * inward.x() + (faceMiddle.y() - at.y()) * inward.y() < 0) inward = -inward;
    const QPointF root = at - inward * rng_.Range(1.5, 3.5) - along * rng_.Range(2, 5);
    const QPointF tip = at + inward * rng_.Range(2.5, 6.0) + along * rng_.Range(3, 7);
    const QPointF bend = Lerp(root, tip, 0.5) + inward * rng_.Jitter(1.0);
    const Curve wisp = Curve::Through({root, bend, tip});
    Points line;
    std::vector<double> greys;
    const double offset = rng_.Normal() * 8 * look.contrast - 6;
    for (int k = 0; k <= 8; ++k) {
      line.push_back(wisp.At(k / 8.0));
      greys.push_back(Shade(look, 0.5, offset, line.back()));
    }
    DrawShadedPolyline(painter, line, greys, rng_.Range(0.7, 1.1), 0.9, true);
  }
}

void HairCanvas::Braid(const Curve& path, double width, const Look& look) {
  if (path.Empty()) return;
  QPainter painter(&layer_);
  BeginClip(painter, look);
  const double length = path.Length();
  const double step = width * 0.5;
  const int segments = std::max(2, int(length / step));
  auto widthAt = [&](double s) { return width * (1 - 0.35 * Smoothstep(0.75, 1.0, s)); };

  QPolygonF ribbon;
  constexpr int kSteps = 60;
  for (int k = 0; k <= kSteps; ++k) {
    double s = double(k) / kSteps;
    ribbon << path.At(s) + Perp(path.Tangent(s)) * widthAt(s) * 0.45;
  }
  for (int k = kSteps; k >= 0; --k) {
    double s = double(k) / kSteps;
    ribbon << path.At(s) - Perp(path.Tangent(s)) * widthAt(s) * 0.45;
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(Grey(kMiddleGrey + look.tone - 44));
  painter.drawPolygon(ribbon);

  for (int i = -1; i < segments; ++i) {
    double sa = std::max(0.0, i * step / length);
    double sb = std::min(1.0, (i * step + step * 1.7) / length);
    if (sb <= sa) continue;
    int side = (i + 2) % 2 == 0 ? -1 : 1;
    double w = widthAt(sa);
    // Each piece comes out at one edge and crosses over to dive in past the middle.
    QPointF a = path.At(sa) + Perp(path.Tangent(sa)) * (side * w * 0.46);
    QPointF b = path.At(sb) - Perp(path.Tangent(sb)) * (side * w * 0.22);
    QPointF along = b - a;
    QPointF bulge = Perp(Unit(along)) * (w * 0.3);
    auto leafPoint = [&](double u, double v) {
      QPointF c1 = a + along * 0.25 + bulge * u;
      QPointF c2 = a + along * 0.75 + bulge * u;
      double m = 1 - v;
      return a * (m * m * m) + c1 * (3 * m * m * v) + c2 * (3 * m * v * v) + b * (v * v * v);
    };
    QPolygonF leaf;
    for (int k = 0; k <= 20; ++k) leaf << leafPoint(1, k / 20.0);
    for (int k = 20; k >= 0; --k) leaf << leafPoint(-1, k / 20.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Grey(kMiddleGrey + look.tone - 30));
    painter.drawPolygon(leaf);

    int strands = int(w * 2.4 * look.density) + 8;
    for (int n = 0; n < strands; ++n) {
      bool body = n < strands / 3;
      double u = rng_.Range(-0.95, 0.95);
      double offset = rng_.Normal() * (body ? 4 : 13) * look.contrast;
      Points line;
      std::vector<double> greys;
      constexpr int kPoints = 14;
      for (int k = 0; k <= kPoints; ++k) {
        double v = double(k) / kPoints;
        QPointF p = leafPoint(u * (1 - 0.2 * std::abs(2 * v - 1)), v);
        line.push_back(p);
        // Each strand dives under its neighbours at both ends of the crossing.
        double tucked = -40 * (1 - std::sin(kPi * v)) - 14 * u * u;
        double shine = 30 * std::exp(-std::pow((v - 0.45) / 0.18, 2)) * (1 - 0.5 * u * u);
        greys.push_back(Shade(look, 0.5, offset + tucked + shine, p));
      }
      DrawShadedPolyline(painter, line, greys, (body ? 1.5 : 0.65), body ? 0.55 : 0.75);
    }
  }
}

void HairCanvas::Bun(QPointF centre, double rx, double ry, const Look& look) {
  QPainter painter(&layer_);
  BeginClip(painter, look);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Grey(kMiddleGrey + look.tone - 40));
  painter.drawEllipse(centre, rx, ry);

  const double lx = -0.35, ly = -0.6, lz = 0.72;  // light from the upper left, in front
  int strands = int((rx + ry) * 3.2 * look.density) + 20;
  for (int n = 0; n < strands; ++n) {
    bool body = n < strands / 3;
    double rho = std::sqrt(rng_.Range(0.04, 1.0)) * 0.97;
    double a0 = rng_.Range(0, 2 * kPi);
    double span = rng_.Range(1.0, 2.2) * kPi;
    double shrink = rng_.Range(0.0, 0.3);
    double offset = rng_.Normal() * (body ? 4 : 13) * look.contrast;
    int points = std::max(10, int(span * rho * (rx + ry) / 2 / 1.5));
    Points line;
    std::vector<double> greys;
    for (int k = 0; k <= points; ++k) {
      double u = double(k) / points;
      double a = a0 + span * u;
      double r = rho * (1 - shrink * u);
      QPointF p = centre + QPointF(rx * r * std::cos(a), ry * r * std::sin(a));
      double nx = r * std::cos(a), ny = r * std::sin(a);
      double nz = std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
      double light = std::max(0.0, nx * lx + ny * ly + nz * lz);
      line.push_back(p);
      greys.push_back(std::clamp(kMiddleGrey + look.tone + offset - 55 + 95 * light, kDarkest, kLightest));
    }
    DrawShadedPolyline(painter, line, greys, (body ? 1.6 : 0.7), body ? 0.5 : 0.7);
  }
  // A few loose ends at the rim.
  for (int n = 0; n < int(look.flyaways * 3); ++n) {
    double a0 = rng_.Range(0, 2 * kPi);
    double span = rng_.Range(0.4, 0.9);
    Points line;
    std::vector<double> greys;
    for (int k = 0; k <= 10; ++k) {
      double a = a0 + span * k / 10.0;
      double r = 1.0 + 0.12 * k / 10.0;
      line.push_back(centre + QPointF(rx * r * std::cos(a), ry * r * std::sin(a)));
      greys.push_back(kMiddleGrey + look.tone - 20);
    }
    DrawShadedPolyline(painter, line, greys, 0.5, 0.9, true);
  }
}

void HairCanvas::CoilTexture(const QPainterPath& area, double coilRadius, const Look& look) {
  QPainter painter(&layer_);
  BeginClip(painter, look);
  painter.fillPath(area, Grey(kMiddleGrey + look.tone - 42));
  const QRectF box = area.boundingRect();
  const QPointF mid = box.center();
  const double lx = -0.35, ly = -0.65, lz = 0.68;
  auto randomPoint = [&](QPointF& p) {
    for (int tries = 0; tries < 30; ++tries) {
      p = QPointF(rng_.Range(box.left(), box.right()), rng_.Range(box.top(), box.bottom()));
      if (area.contains(p)) return true;
    }
    return false;
  };
  // The mass is shaded as one rounded form lit from the upper left.
  auto formLight = [&](QPointF p) {
    double nx = (p.x() - mid.x()) / (box.width() / 2);
    double ny = (p.y() - mid.y()) / (box.height() / 2);
    double nz = std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
    return std::max(0.0, nx * lx + ny * ly + nz * lz);
  };

  // Clumps of curls: small rounded tufts, each lit like the whole, which
  // give the mass its bumpy surface and outline.
  const double clumpRadius = coilRadius * 1.7;
  const int clumps = int(box.width() * box.height() * 0.9 / (clumpRadius * clumpRadius) * look.density);
  painter.setPen(Qt::NoPen);
  for (int n = 0; n < clumps; ++n) {
    QPointF p;
    if (!randomPoint(p)) continue;
    double grey = kMiddleGrey + look.tone - 40 + 58 * formLight(p) + rng_.Normal() * 7 * look.contrast;
    double r = clumpRadius * rng_.Range(0.7, 1.2);
    QRadialGradient shade(p + QPointF(-r * 0.35, -r * 0.4), r * 1.25);
    shade.setColorAt(0, Grey(std::clamp(grey + 16, kDarkest, kLightest)));
    shade.setColorAt(0.7, Grey(std::clamp(grey - 6, kDarkest, kLightest)));
    shade.setColorAt(1, Grey(std::clamp(grey - 22, kDarkest, kLightest)));
    painter.setBrush(shade);
    painter.drawEllipse(p, r, r * rng_.Range(0.8, 1.0));
  }

  // Fine coiled hairs over the clumps.
  const int coils = int(box.width() * box.height() * 0.7 / (coilRadius * coilRadius) * look.density);
  for (int n = 0; n < coils; ++n) {
    QPointF p;
    if (!randomPoint(p)) continue;
    double grey = kMiddleGrey + look.tone - 36 + 60 * formLight(p) + rng_.Normal() * 14 * look.contrast;
    double r = coilRadius * rng_.Range(0.5, 1.0);
    double a0 = rng_.Range(0, 2 * kPi);
    double turns = rng_.Range(0.8, 1.5);
    double squash = rng_.Range(0.55, 1.0);
    double tilt = rng_.Range(0, kPi);
    int points = std::max(10, int(turns * 2 * kPi * r / 0.8));
    Points line;
    std::vector<double> greys;
    for (int k = 0; k <= points; ++k) {
      double u = double(k) / points;
      double a = a0 + turns * 2 * kPi * u;
      double rr = r * (1 - 0.4 * u);
      double x = rr * std::cos(a), y = rr * squash * std::sin(a);
      line.push_back(p + QPointF(x * std::cos(tilt) - y * std::sin(tilt), x * std::sin(tilt) + y * std::cos(tilt)));
      // The upper rim of each coil catches the light.
      greys.push_back(std::clamp(grey + 14 * -std::sin(a), kDarkest, kLightest));
    }
    DrawShadedPolyline(painter, line, greys, 0.6, 0.55);
  }
}

void HairCanvas::Stubble(const QPainterPath& area, QPointF from, double shade, const Look& look) {
  QPainter painter(&layer_);
  BeginClip(painter, look);
  const QRectF box = area.boundingRect();
  // A fade: the hair is fullest, so darkest, on top of the head and thins
  // toward the ears and the nape, where more skin shows through it.
  auto shadeAt = [&](double y) { return shade - 26 + 52 * Smoothstep(box.top() + 20, box.bottom(), y); };
  QLinearGradient fade(0, box.top(), 0, box.bottom());
  for (double t : {0.0, 0.25, 0.5, 0.75, 1.0}) fade.setColorAt(t, Grey(shadeAt(box.top() + t * box.height())));
  painter.fillPath(area, fade);
  const int hairs = int(box.width() * box.height() * 3.0 * look.density);
  for (int n = 0; n < hairs; ++n) {
    QPointF p(rng_.Range(box.left(), box.right()), rng_.Range(box.top(), box.bottom()));
    if (!area.contains(p)) continue;
    QPointF dir = Unit(p - from);
    dir = Unit(dir + QPointF(rng_.Jitter(0.35), rng_.Jitter(0.35)));
    double len = rng_.Range(1.0, 2.6);
    double grey = std::clamp(shadeAt(p.y()) - 40 + rng_.Normal() * 10 * look.contrast, kDarkest, kLightest);
    painter.setPen(StrandPen(grey, 0.55, 0.75));
    painter.drawLine(p, p + dir * len);
  }
}

void HairCanvas::Tie(QPointF centre, double width, double height, double angleDegrees) {
  QPainter painter(&layer_);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(scale_, scale_);
  painter.translate(centre);
  painter.rotate(angleDegrees);
  QRectF band(-width / 2, -height / 2, width, height);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Grey(52));
  painter.drawRoundedRect(band, height / 2, height / 2);
  painter.setPen(StrandPen(92, 0.6, 0.9));
  painter.drawLine(QPointF(-width / 2 + 1, -height / 4), QPointF(width / 2 - 1, -height / 4));
}

void HairCanvas::Band(const Curve& path, double width, double grey) {
  if (path.Empty()) return;
  QPainter painter(&layer_);
  BeginClip(painter, Look{.clip = Clip::FaceFrame});
  QPainterPath line;
  line.addPolygon(QPolygonF(path.Polyline().begin(), path.Polyline().end()));
  painter.strokePath(line, QPen(Grey(grey), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.strokePath(line, QPen(Grey(grey + 30, 0.8), width * 0.25, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

QImage HairCanvas::Finish() const {
  constexpr int kScale = kCatalogueScale;
  Q_ASSERT(scale_ == kScale);
  const int width = head::sf::kWidth, height = head::sf::kHeight;
  QImage out(width, height, QImage::Format_RGB888);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = out.scanLine(y);
    for (int x = 0; x < width; ++x) {
      double alpha = 0, grey = 0;
      for (int dy = 0; dy < kScale; ++dy) {
        const QRgb* src = reinterpret_cast<const QRgb*>(layer_.constScanLine(y * kScale + dy)) + x * kScale;
        for (int dx = 0; dx < kScale; ++dx) {
          alpha += qAlpha(src[dx]);
          grey += qRed(src[dx]);
        }
      }
      // A pixel that is partly hair is the hair's grey mixed with the white
      // background by how much the hair covers it, so edges and strand ends
      // are smooth: the lightest mixes whiten into the see-through colour
      // when the program loads the picture, the others keep a soft edge.
      const double coverage = alpha / (255.0 * kScale * kScale);
      double value = 255;
      if (coverage > 0) {
        // Over the face a mix with white would stay hair, only lighter than
        // both hair and skin: a light line round the face. There an edge pixel
        // mixes with the lightest hair grey instead, or goes when it is
        // mostly skin.
        const bool overFace = InsideFace(x + 0.5, y + 0.5);
        const double under = overFace ? kOverFaceGrey : 255;
        if (!overFace || coverage >= kOverFaceCoverage)
          value = coverage * CatalogueGrey(grey * 255.0 / alpha) + (1 - coverage) * under;
      }
      row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = uint8_t(std::clamp(std::lround(value), 0L, 255L));
    }
  }
  WhitenSpecks(out);
  return out;
}

LargeHair HairCanvas::FinishLarge() const {
  constexpr int kBlock = kLargeScale / kLargeSize;  // layer pixels per large pixel, each way
  Q_ASSERT(scale_ == kLargeScale);
  const int width = head::sf::kWidth * kLargeSize, height = head::sf::kHeight * kLargeSize;
  LargeHair large{QImage(width, height, QImage::Format_RGB888), QImage(width, height, QImage::Format_Grayscale8)};
  // See-through pixels keep a hair colour, so a filter that mixes them with
  // the hair next to them brings in no light fringe.
  const uint8_t hiddenGrey = uint8_t(std::lround(CatalogueGrey(kMiddleGrey)));
  for (int y = 0; y < height; ++y) {
    uint8_t* colour = large.colour.scanLine(y);
    uint8_t* alpha = large.alpha.scanLine(y);
    for (int x = 0; x < width; ++x) {
      double covered = 0, grey = 0;
      for (int dy = 0; dy < kBlock; ++dy) {
        const QRgb* src = reinterpret_cast<const QRgb*>(layer_.constScanLine(y * kBlock + dy)) + x * kBlock;
        for (int dx = 0; dx < kBlock; ++dx) {
          covered += qAlpha(src[dx]);
          grey += qRed(src[dx]);
        }
      }
      // The layer is premultiplied: the hair's own grey is the sum of greys over the sum of alphas.
      const uint8_t value = covered > 0 ? uint8_t(std::lround(CatalogueGrey(grey * 255.0 / covered))) : hiddenGrey;
      colour[3 * x] = colour[3 * x + 1] = colour[3 * x + 2] = value;
      alpha[x] = uint8_t(std::lround(covered / (kBlock * kBlock)));
    }
  }
  return large;
}

}  // namespace glamora::hairgen
