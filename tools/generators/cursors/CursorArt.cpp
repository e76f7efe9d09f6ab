// Drawing of each cursor picture from outlined white shapes.
#include "tools/generators/cursors/CursorArt.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>
#include <cmath>

namespace glamora::cursors {

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

// Coordinates name pixel centres: (3, 4) is the pixel in column 3, row 4.
// Shapes are filled white and outlined black; lines are black with a white
// halo so that they stay visible over dark pictures.
class Sketch {
 public:
  Sketch() : image_(kCursorSize, kCursorSize, QImage::Format_ARGB32) { image_.fill(Qt::transparent); }

  void Shape(const QPainterPath& path, const QColor& fill = Qt::white) {
    Draw([&](QPainter& p) {
      p.fillPath(path, fill);
      p.strokePath(path, Pen(Qt::black, 1));
    });
  }

  // A shape with a white rim round its black outline.
  void HaloShape(const QPainterPath& path, const QColor& fill = Qt::white) {
    Draw([&](QPainter& p) { p.strokePath(path, Pen(Qt::white, 3)); });
    Shape(path, fill);
  }

  void Outline(const QPainterPath& path) {
    Draw([&](QPainter& p) { p.strokePath(path, Pen(Qt::black, 1)); });
  }

  void Lines(const std::vector<QLineF>& lines, int width = 1) {
    Draw([&](QPainter& p) {
      p.setPen(Pen(Qt::white, width + 2));
      for (const QLineF& line : lines) p.drawLine(line);
      p.setPen(Pen(Qt::black, width));
      for (const QLineF& line : lines) p.drawLine(line);
    });
  }

  // Open curves, black with a white halo.
  void Strokes(const QPainterPath& path) {
    Draw([&](QPainter& p) {
      p.strokePath(path, Pen(Qt::white, 3));
      p.strokePath(path, Pen(Qt::black, 1));
    });
  }

  // Black lines without a halo, for detail inside white shapes.
  void InnerLines(const std::vector<QLineF>& lines) {
    Draw([&](QPainter& p) {
      p.setPen(Pen(Qt::black, 1));
      for (const QLineF& line : lines) p.drawLine(line);
    });
  }

  // Pixels x0..x1, y0..y1 inclusive.
  void Block(int x0, int y0, int x1, int y1, QRgb color = kBlack) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) Pixel(x, y, color);
  }

  void Pixel(int x, int y, QRgb color) {
    if (x >= 0 && y >= 0 && x < kCursorSize && y < kCursorSize) image_.setPixel(x, y, color);
  }

  QImage Finish() const { return image_; }

 private:
  // Round joins keep the halo from spiking out at sharp corners.
  static QPen Pen(const QColor& color, int width) {
    return QPen(color, width, Qt::SolidLine, Qt::SquareCap, width > 1 ? Qt::RoundJoin : Qt::MiterJoin);
  }

  template <class F>
  void Draw(F&& draw) {
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.translate(0.5, 0.5);
    draw(p);
  }

  QImage image_;
};

QPainterPath Polygon(std::initializer_list<QPointF> points, const QTransform& t = {}) {
  QPainterPath path;
  path.addPolygon(t.map(QPolygonF(QList<QPointF>(points))));
  path.closeSubpath();
  return path;
}

QPainterPath Ellipse(QPointF centre, double rx, double ry) {
  QPainterPath path;
  path.addEllipse(centre, rx, ry);
  return path;
}

QPainterPath RoundRect(const QRectF& rect, double radius, const QTransform& t = {}) {
  QPainterPath path;
  path.addRoundedRect(rect, radius, radius);
  return t.map(path);
}

QPoint Rounded(QPointF p) { return {int(std::lround(p.x())), int(std::lround(p.y()))}; }

// Tools lie on the diagonal with their working tip at the lower left: local
// x runs from the tip up to the right, local y across the tool.
QTransform ToolAxis(QPointF tip) {
  QTransform t;
  t.translate(tip.x(), tip.y());
  t.rotate(-45);
  return t;
}

// ---- the image view's cursors -------------------------------------------

CursorArt Cross() {
  Sketch s;
  s.Lines({{15, 3, 15, 27}, {3, 15, 27, 15}});
  return {"CROSS", s.Finish(), {15, 15}};
}

CursorArt Cross1() {
  Sketch s;
  s.Lines({{15, 2, 15, 11}, {15, 19, 15, 28}, {2, 15, 11, 15}, {19, 15, 28, 15}, {15, 15, 15, 15}});
  return {"CROSS1", s.Finish(), {15, 15}};
}

CursorArt Cross2() {
  Sketch s;
  s.Lines({{15, 3, 15, 10}, {15, 20, 15, 27}, {3, 15, 10, 15}, {20, 15, 27, 15}});
  s.Lines({{12, 12, 18, 12}, {18, 12, 18, 18}, {18, 18, 12, 18}, {12, 18, 12, 12}});
  s.Pixel(15, 15, kBlack);
  return {"CROSS2", s.Finish(), {15, 15}};
}

CursorArt Magnifier(const char* name, bool plus) {
  Sketch s;
  s.Lines({{19, 19, 27, 27}}, 3);
  s.HaloShape(Ellipse({12, 12}, 9, 9));
  s.Outline(Ellipse({12, 12}, 8, 8));
  s.Block(9, 11, 15, 13);
  if (plus) s.Block(11, 9, 13, 15);
  return {name, s.Finish(), {12, 12}};
}

CursorArt Hand() {
  Sketch s;
  QPainterPath hand = RoundRect({7, 13, 18, 15}, 4);
  const double fingerTops[] = {5, 3, 4, 7};
  for (int i = 0; i < 4; ++i) hand = hand.united(RoundRect({7.0 + 4.5 * i, fingerTops[i], 4.5, 16}, 2.2));
  QTransform thumb;
  thumb.translate(8, 21);
  thumb.rotate(-130);
  hand = hand.united(RoundRect({-1, -2.2, 10, 4.5}, 2.2, thumb));
  s.HaloShape(hand.simplified());
  s.InnerLines({{11.5, 7, 11.5, 14}, {16, 6, 16, 14}, {20.5, 8, 20.5, 14}});
  return {"HAND", s.Finish(), {15, 15}};
}

CursorArt Pen() {
  Sketch s;
  const QPointF tip(2, 29);
  const QTransform t = ToolAxis(tip);
  s.HaloShape(Polygon({{0, 0}, {6, -3.5}, {11, -3.5}, {11, 3.5}, {6, 3.5}}, t));
  s.HaloShape(Polygon({{11, -4.5}, {34, -4.5}, {36, 0}, {34, 4.5}, {11, 4.5}}, t), Qt::black);
  s.InnerLines({{t.map(QPointF(1, 0)), t.map(QPointF(7, 0))}});
  return {"PEN", s.Finish(), Rounded(tip)};
}

CursorArt Eraser() {
  Sketch s;
  const QPointF tip(4, 27);
  const QTransform t = ToolAxis(tip);
  s.HaloShape(Polygon({{0, -6}, {8, -6}, {8, 6}, {0, 6}}, t));
  s.HaloShape(Polygon({{8, -6}, {27, -6}, {27, 6}, {8, 6}}, t), Qt::black);
  return {"ERASER", s.Finish(), Rounded(tip)};
}

// A two-headed arrow along local x, centred on the origin.
QPainterPath DoubleArrow(double half, const QTransform& t) {
  return Polygon({{-half, 0},
                  {-half + 5, -5},
                  {-half + 5, -2},
                  {half - 5, -2},
                  {half - 5, -5},
                  {half, 0},
                  {half - 5, 5},
                  {half - 5, 2},
                  {-half + 5, 2},
                  {-half + 5, 5}},
                 t);
}

QTransform CentredAt(QPointF centre, double degrees) {
  QTransform t;
  t.translate(centre.x(), centre.y());
  t.rotate(degrees);
  return t;
}

CursorArt Move(const char* name, double degrees) {
  Sketch s;
  const double half = std::fmod(degrees, 90.0) == 0 ? 13 : 15;
  s.HaloShape(DoubleArrow(half, CentredAt({15, 15}, degrees)));
  return {name, s.Finish(), {15, 15}};
}

CursorArt MoveAll() {
  Sketch s;
  // Four arrow heads joined by a cross of shafts 5 pixels wide.
  QPolygonF arm;
  for (int quarter = 0; quarter < 4; ++quarter) {
    const QTransform t = CentredAt({15, 15}, 90.0 * quarter);
    for (QPointF p : {QPointF(2, -2), QPointF(8, -2), QPointF(8, -5), QPointF(13, 0), QPointF(8, 5), QPointF(8, 2)})
      arm << t.map(p);
  }
  QPainterPath path;
  path.addPolygon(arm);
  path.closeSubpath();
  s.HaloShape(path);
  return {"MOVE", s.Finish(), {15, 15}};
}

// ---- the main window's make-up tools -------------------------------------

CursorArt Outline() {
  Sketch s;
  s.Lines({{9, 2, 9, 16}, {2, 9, 16, 9}});
  const QPoint corners[] = {{19, 17}, {28, 20}, {27, 29}, {17, 28}};
  std::vector<QLineF> edges;
  for (int i = 0; i < 4; ++i) edges.emplace_back(corners[i], corners[(i + 1) % 4]);
  s.Lines(edges);
  for (QPoint v : corners) {
    s.Block(v.x() - 1, v.y() - 1, v.x() + 1, v.y() + 1, kBlack);
    s.Pixel(v.x(), v.y(), kWhite);
  }
  return {"OUTLINE", s.Finish(), {9, 9}};
}

// A pencil with a black lead; a lip liner carries a small mouth beside it.
CursorArt Pencil(const char* name, double width, bool withLips) {
  Sketch s;
  const QPointF tip(1, 30);
  const QTransform t = ToolAxis(tip);
  const double w = width / 2;
  s.HaloShape(Polygon({{0, 0}, {9, -w}, {36, -w}, {36, w}, {9, w}}, t));
  s.Shape(Polygon({{0, 0}, {3.5, -w * 0.4}, {3.5, w * 0.4}}, t), Qt::black);
  s.InnerLines({{t.map(QPointF(9, -w)), t.map(QPointF(9, w))}, {t.map(QPointF(31, -w)), t.map(QPointF(31, w))}});
  if (withLips) {
    QPainterPath lips;
    lips.moveTo(1, 7);
    lips.cubicTo(3, 2, 6, 1, 8, 4);
    lips.cubicTo(10, 1, 13, 2, 15, 7);
    lips.cubicTo(12, 13, 4, 13, 1, 7);
    lips.closeSubpath();
    s.HaloShape(lips);
    QPainterPath mouth;
    mouth.moveTo(2, 7);
    mouth.cubicTo(5, 8, 11, 8, 14, 7);
    s.Outline(mouth);
  }
  return {name, s.Finish(), Rounded(tip)};
}

// A paint brush: black bristles, a banded ferrule and a slim handle; the hair
// brush carries a lock of hair beside it.
CursorArt Brush(const char* name, double bristleWidth, double bristleLength, bool withHair) {
  Sketch s;
  const QPointF tip(2, 29);
  const QTransform t = ToolAxis(tip);
  const double b = bristleWidth / 2, l = bristleLength;
  QPainterPath bristles;
  bristles.moveTo(0, 0);
  bristles.cubicTo(0, -b, l / 3, -b, l, -b);
  bristles.lineTo(l, b);
  bristles.cubicTo(l / 3, b, 0, b, 0, 0);
  bristles.closeSubpath();
  s.HaloShape(t.map(bristles), Qt::black);
  const double f = b + 1;
  s.HaloShape(Polygon({{l, -f}, {l + 6, -f}, {l + 6, f}, {l, f}}, t));
  s.InnerLines({{t.map(QPointF(l + 3, -f)), t.map(QPointF(l + 3, f))}});
  s.HaloShape(Polygon({{l + 6, -2}, {37, -2}, {38, 0}, {37, 2}, {l + 6, 2}}, t));
  if (withHair) {
    QPainterPath lock;
    for (double y : {2.0, 6.0, 10.0}) {
      lock.moveTo(1, y);
      lock.cubicTo(4, y - 3, 7, y + 3, 10, y);
      lock.cubicTo(11, y - 1, 12, y - 1, 13, y);
    }
    s.Strokes(lock);
  }
  return {name, s.Finish(), Rounded(tip)};
}

CursorArt LipStick() {
  Sketch s;
  const QPointF tip(2, 27);
  const QTransform t = ToolAxis(tip);
  // The bullet's slanted end touches first.
  s.HaloShape(Polygon({{0, 3.5}, {0, 1}, {7, -3.5}, {11, -3.5}, {11, 3.5}}, t), Qt::black);
  s.HaloShape(Polygon({{11, -4.5}, {15, -4.5}, {15, 4.5}, {11, 4.5}}, t));
  s.HaloShape(Polygon({{15, -6}, {34, -6}, {34, 6}, {15, 6}}, t));
  s.InnerLines({{t.map(QPointF(19, -6)), t.map(QPointF(19, 6))}});
  return {"LIP_STICK", s.Finish(), Rounded(t.map(QPointF(0, 2)))};
}

CursorArt Eyes() {
  Sketch s;
  QPainterPath eye;
  eye.moveTo(2, 16);
  eye.cubicTo(8, 6, 22, 6, 29, 16);
  eye.cubicTo(22, 25, 8, 25, 2, 16);
  eye.closeSubpath();
  s.HaloShape(eye);
  s.Shape(Ellipse({15, 15}, 5, 5), Qt::black);
  s.Block(13, 12, 14, 13, kWhite);
  s.Lines({{9, 8, 7, 4}, {15, 6, 15, 2}, {21, 8, 23, 4}});
  return {"EYES", s.Finish(), {15, 15}};
}

CursorArt Size() {
  Sketch s;
  QPainterPath big;
  big.addRect(QRectF(3, 3, 25, 25));
  s.Outline(big);
  QPainterPath small;
  small.addRect(QRectF(3, 3, 10, 10));
  s.HaloShape(small);
  QTransform t;
  t.translate(21, 21);
  t.rotate(45);
  s.HaloShape(Polygon({{-8, -1.5}, {0, -1.5}, {0, -5}, {6, 0}, {0, 5}, {0, 1.5}, {-8, 1.5}}, t));
  return {"SIZE", s.Finish(), {15, 15}};
}

// ---- the face expert's erasers -------------------------------------------

// A circle `diameter` pixels across at the top-left corner: black rim, white
// inside, hot spot at its centre.
CursorArt Circle(const char* name, int diameter) {
  Sketch s;
  const double c = (diameter - 1) / 2.0, r = c;
  for (int y = 0; y < diameter; ++y) {
    for (int x = 0; x < diameter; ++x) {
      const double d = std::hypot(x - c, y - c);
      if (std::lround(d) == std::lround(r)) {
        s.Pixel(x, y, kBlack);
      } else if (d < r) {
        s.Pixel(x, y, kWhite);
      }
    }
  }
  const int centre = int(c);
  return {name, s.Finish(), {centre, centre}};
}

}  // namespace

std::vector<CursorArt> DrawAllCursors() {
  return {
      // Main window, numbers 50 to 61.
      Outline(),
      Pencil("PENCIL", 7, false),
      Brush("BRUSH_MID", 6, 10, false),
      Brush("BRUSH_BIG", 10, 12, false),
      Brush("BRUSH_HAIR", 5, 9, true),
      LipStick(),
      Pencil("LIP_LINE", 5, true),
      Eyes(),
      Size(),
      // Face expert erasers, 101 to 103.
      Circle("BRUSH1", 5),
      Circle("BRUSH2", 11),
      Circle("BRUSH3", 21),
      // Image view, 1778 to 1790.
      Magnifier("ZOOMOUT", false),
      Magnifier("ZOOMIN", true),
      Cross(),
      Eraser(),
      Hand(),
      Pen(),
      Cross1(),
      Cross2(),
      Move("MOVE2", -45),
      Move("MOVEY", 90),
      Move("MOVE1", 45),
      Move("MOVEX", 0),
      MoveAll(),
  };
}

}  // namespace glamora::cursors
