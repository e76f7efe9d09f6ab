// Draws the face-shape templates "Shape<name>.bmp" and masks
// "MaskGray<name>.bmp" of the face expert into the folder given on the
// command line.
//
// A template is an outline drawing shown over the photograph; its bottom-left
// pixel gives the see-through colour. The strokes are bright with a dark rim,
// so they stay visible over light and dark photographs alike, and the rim's
// soft edge fades into the black see-through colour rather than into a colour
// that would fringe the lines.
//
// A mask is the grey silhouette of face, ears, neck and shoulders on white,
// without anti-aliasing: the grey reaches the bottom-left corner, whose colour
// marks the part of the photograph that carving keeps, and the magic wand of
// hand carving starts at pixel (0, 310) inside it.
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <string>

#include "codecs/Bmp.h"
#include "face/StandardFace.h"
#include "imaging/core/Bitmap.h"
#include "imaging/core/ImgIOParams.h"
#include "imaging/core/Stream.h"
#include "tools/generators/shapes/FaceShapes.h"

namespace sf = glamora::standard_face;
using namespace glamora::shapes;

namespace {

const QColor kSeeThrough(0, 0, 0);
const QColor kRim(12, 28, 64);
const QColor kOutline(255, 216, 0);
const QColor kGuide(0, 224, 255);
const QColor kMaskGrey(128, 128, 128);
const QColor kMaskOutside(255, 255, 255);

// Coverage below this is left see-through: a faint speck of rim would show
// as dirt over the photograph.
constexpr int kMinimumAlpha = 48;

void Stroke(QPainter& p, const QPainterPath& path, const QColor& colour, double width, Qt::PenStyle style) {
  QPen rim(kRim, width + 2.2, style, Qt::RoundCap, Qt::RoundJoin);
  QPen line(colour, width, style, Qt::RoundCap, Qt::RoundJoin);
  if (style != Qt::SolidLine) {
    // Dashes are measured in pen widths; keep rim and line dashes aligned.
    rim.setDashPattern({4.0 * width / (width + 2.2), 3.0 * width / (width + 2.2)});
    line.setDashPattern({4.0, 3.0});
  }
  p.strokePath(path, rim);
  p.strokePath(path, line);
}

// Face outline, ears, neck and shoulders in one colour, drawn in two passes
// so no rim crosses a bright line.
void DrawFigure(QPainter& p, FaceShape shape, bool rimPass) {
  QPainterPath face;
  face.addPolygon(FaceOutline(shape));
  face.closeSubpath();

  QPainterPath figure = face;
  for (Side side : {Side::Left, Side::Right}) {
    figure.addPath(EarRim(shape, side));
    figure.addPath(EarFold(shape, side));
  }

  // The neck lines start where they leave the face.
  QPainterPath outsideFace;
  outsideFace.addRect(-10, -10, sf::kWidth + 20, sf::kHeight + 20);
  outsideFace = outsideFace.subtracted(face);

  const double width = 1.8;
  const QPen pen(rimPass ? kRim : kOutline, rimPass ? width + 2.2 : width, Qt::SolidLine, Qt::RoundCap,
                 Qt::RoundJoin);
  p.strokePath(figure, pen);
  p.save();
  p.setClipPath(outsideFace);
  p.strokePath(NeckAndShoulderLines(), pen);
  p.restore();
}

void DrawGuides(QPainter& p, FaceShape shape) {
  const double eyeY = sf::kEyeLineY;
  const double w = sf::kEyeHalfWidth;
  const double h = sf::kEyeHalfHeight;
  const double left = sf::kCentreX - FaceHalfWidth(shape, eyeY) + 5;
  const double right = sf::kCentreX + FaceHalfWidth(shape, eyeY) - 5;

  // Eye line, dashed, broken where the eyes are so they stay in sight.
  QPainterPath eyeLine(QPointF(left, eyeY));
  eyeLine.lineTo(sf::kLeftEyeX - w - 3, eyeY);
  eyeLine.moveTo(sf::kLeftEyeX + w + 3, eyeY);
  eyeLine.lineTo(sf::kRightEyeX - w - 3, eyeY);
  eyeLine.moveTo(sf::kRightEyeX + w + 3, eyeY);
  eyeLine.lineTo(right, eyeY);
  Stroke(p, eyeLine, kGuide, 1.0, Qt::DashLine);

  // Each eye: ticks at its corners and the arc of the upper lid above it.
  for (int x : {sf::kLeftEyeX, sf::kRightEyeX}) {
    QPainterPath eye(QPointF(x - w, eyeY - 4));
    eye.lineTo(x - w, eyeY + 4);
    eye.moveTo(x + w, eyeY - 4);
    eye.lineTo(x + w, eyeY + 4);
    eye.moveTo(x - w + 2, eyeY - h - 3);
    eye.quadTo(x, eyeY - h - 9, x + w - 2, eyeY - h - 3);
    Stroke(p, eye, kGuide, 1.3, Qt::SolidLine);
  }

  // Centre line from the forehead to the chin, dashed, clear of eyes and mouth.
  QPainterPath centre(QPointF(sf::kCentreX, FaceTop(shape) + 8));
  centre.lineTo(sf::kCentreX, eyeY - h - 10);
  centre.moveTo(sf::kCentreX, sf::kMouthY + 10);
  centre.lineTo(sf::kCentreX, FaceChin(shape) - 6);
  Stroke(p, centre, kGuide, 1.0, Qt::DashLine);

  // Mouth: ticks at its corners joined by a dashed line.
  const double mw = sf::kMouthHalfWidth;
  const double my = sf::kMouthY;
  QPainterPath corners(QPointF(sf::kCentreX - mw, my - 4));
  corners.lineTo(sf::kCentreX - mw, my + 4);
  corners.moveTo(sf::kCentreX + mw, my - 4);
  corners.lineTo(sf::kCentreX + mw, my + 4);
  Stroke(p, corners, kGuide, 1.3, Qt::SolidLine);
  QPainterPath mouth(QPointF(sf::kCentreX - mw + 4, my));
  mouth.lineTo(sf::kCentreX + mw - 4, my);
  Stroke(p, mouth, kGuide, 1.0, Qt::DashLine);
}

// Lays the anti-aliased drawing over the see-through colour. Every pixel that
// keeps some drawing differs from the see-through colour, so the outline is
// never punched through.
QImage OverSeeThrough(const QImage& drawing) {
  QImage out(drawing.size(), QImage::Format_RGB32);
  const QRgb key = kSeeThrough.rgb();
  for (int y = 0; y < drawing.height(); ++y) {
    const QRgb* in = reinterpret_cast<const QRgb*>(drawing.constScanLine(y));
    QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < drawing.width(); ++x) {
      const int a = qAlpha(in[x]);
      if (a < kMinimumAlpha) {
        row[x] = key;
        continue;
      }
      // Premultiplied pixels are already the drawing over black; blend the
      // rest of the way to the see-through colour.
      const int r = qRed(in[x]) + (255 - a) * kSeeThrough.red() / 255;
      const int g = qGreen(in[x]) + (255 - a) * kSeeThrough.green() / 255;
      const int b = qBlue(in[x]) + (255 - a) * kSeeThrough.blue() / 255;
      QRgb c = qRgb(r, g, b);
      if ((c & 0xFFFFFF) == (key & 0xFFFFFF)) c = qRgb(r, g, b ^ 1);
      row[x] = c;
    }
  }
  return out;
}

QImage Template(FaceShape shape) {
  QImage drawing(sf::kWidth, sf::kHeight, QImage::Format_ARGB32_Premultiplied);
  drawing.fill(Qt::transparent);
  QPainter p(&drawing);
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(0.5, 0.5);  // geometry in pixel centres
  DrawFigure(p, shape, true);
  DrawFigure(p, shape, false);
  DrawGuides(p, shape);
  p.end();
  return OverSeeThrough(drawing);
}

QImage Mask(FaceShape shape) {
  QImage mask(sf::kWidth, sf::kHeight, QImage::Format_RGB32);
  mask.fill(kMaskOutside);
  QPainter p(&mask);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Qt::NoPen);
  p.setBrush(kMaskGrey);
  p.translate(0.5, 0.5);
  p.drawPath(Silhouette(shape));
  p.end();
  return mask;
}

// Written with the program's own BMP codec: 24 bits, bottom-up, no compression.
bool Save(const QImage& image, const std::string& path) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  glamora::Bitmap bitmap(rgb.width(), rgb.height());
  for (int y = 0; y < rgb.height(); ++y) {
    const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    uint8_t* out = bitmap.Row(y);
    for (int x = 0; x < rgb.width(); ++x) {
      out[3 * x] = uint8_t(qBlue(in[x]));
      out[3 * x + 1] = uint8_t(qGreen(in[x]));
      out[3 * x + 2] = uint8_t(qRed(in[x]));
    }
  }
  glamora::MemoryStream bytes;
  if (glamora::codec::EncodeBmp(bitmap, glamora::TImgIOParams(), glamora::ProgressRecord(), bytes) !=
      glamora::PictureStatus::Ok) {
    std::fprintf(stderr, "cannot encode %s\n", path.c_str());
    return false;
  }
  try {
    glamora::WriteFileAtomically(path, bytes.Bytes().data(), bytes.Bytes().size());
  } catch (const glamora::FileError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  bool ok = true;
  for (FaceShape shape : kAllShapes) {
    ok = Save(Template(shape), folder + "Shape" + ShapeName(shape) + ".bmp") && ok;
    ok = Save(Mask(shape), folder + "MaskGray" + ShapeName(shape) + ".bmp") && ok;
  }
  return ok ? 0 : 1;
}
