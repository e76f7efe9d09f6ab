// Builds the model face from the portrait: writes the 228 × 314 picture as a
// JPEG of quality 100 ("Modela.jpg"), the 3260-byte face header
// ("Modela.header") and a check picture ("Modela-check.png": the face three
// times enlarged with the region outlines, and beside it the face coloured
// through the regions as the make-up page colours it). The header and the
// picture are then sealed into "Faces/Modela.eff" by
//   glamora-cli face seal Modela.jpg Modela.header Modela.eff
// (the regenerate-modelface target does both).
//
// usage: glamora-gen-modelface PORTRAIT.png OUTPUT-FOLDER
#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "codecs/Bmp.h"
#include "codecs/Jpeg.h"
#include "codecs/Png.h"
#include "imaging/core/PolygonRegion.h"
#include "imaging/core/Stream.h"
#include "tools/generators/modelface/ModelFace.h"
#include "tools/generators/modelface/Retouch.h"

using namespace glamora;

namespace {

QImage ToImage(const Bitmap& bitmap) {
  QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* in = bitmap.Row(y);
    QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < bitmap.Width(); ++x) out[x] = qRgb(in[3 * x + 2], in[3 * x + 1], in[3 * x]);
  }
  return image;
}

// The make-up page's region colouring: every channel inside the region moves
// by the colour's channel minus 50.
void ShiftRegion(Bitmap& picture, const std::vector<FacePoint>& outline, QColor colour) {
  std::vector<Point> vertices;
  for (const FacePoint& p : outline) vertices.push_back({p.X, p.Y});
  const PolygonRegion region(vertices);
  const int shift[3] = {colour.blue() - 50, colour.green() - 50, colour.red() - 50};
  for (const Span& span : region.Spans()) {
    if (span.Y < 0 || span.Y >= picture.Height()) continue;
    uint8_t* row = picture.Row(span.Y);
    for (int x = std::max(0, span.X0); x <= std::min(picture.Width() - 1, span.X1); ++x) {
      for (int c = 0; c < 3; ++c) row[3 * x + c] = uint8_t(std::clamp(row[3 * x + c] + shift[c], 0, 255));
    }
  }
}

QImage CheckPicture(const Bitmap& face) {
  constexpr int kZoom = 3;
  const int w = face.Width() * kZoom, h = face.Height() * kZoom;
  QImage check(2 * w + 10, h, QImage::Format_RGB32);
  check.fill(Qt::white);
  QPainter p(&check);
  p.drawImage(QRect(0, 0, w, h), ToImage(face));

  Bitmap madeUp;
  madeUp.Assign(face);
  ShiftRegion(madeUp, modelface::RegionOutline(FaceHeader::kLeftEye), QColor(150, 90, 200));
  ShiftRegion(madeUp, modelface::RegionOutline(FaceHeader::kRightEye), QColor(150, 90, 200));
  ShiftRegion(madeUp, modelface::RegionOutline(FaceHeader::kLips), QColor(210, 30, 90));
  p.drawImage(QRect(w + 10, 0, w, h), ToImage(madeUp));

  p.setRenderHint(QPainter::Antialiasing);
  const QColor colours[] = {Qt::yellow, Qt::green, Qt::red};
  for (int region : {FaceHeader::kLeftEye, FaceHeader::kRightEye, FaceHeader::kLips}) {
    QPolygonF polygon;
    for (const FacePoint& pt : modelface::RegionOutline(region)) {
      polygon << QPointF((pt.X + 0.5) * kZoom, (pt.Y + 0.5) * kZoom);
    }
    p.setPen(QPen(colours[region - 1], 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(polygon);
    for (const QPointF& v : polygon) p.drawRect(QRectF(v.x() - 1.5, v.y() - 1.5, 3, 3));
  }
  return check;
}

bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
  try {
    WriteFileAtomically(path, bytes.data(), bytes.size());
    return true;
  } catch (const FileError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return false;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s PORTRAIT.png MASK.bmp OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  const std::string folder = std::string(argv[3]) + "/";

  std::vector<uint8_t> source;
  try {
    source = ReadFileBytes(argv[1]);
  } catch (const FileError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  Bitmap portrait;
  TImgIOParams readParams;
  size_t consumed = 0;
  if (codec::DecodePng(source, portrait, readParams, ProgressRecord(), consumed) != PictureStatus::Ok) {
    std::fprintf(stderr, "%s: not a PNG picture\n", argv[1]);
    return 1;
  }
  Bitmap face;
  if (!modelface::MakePicture(portrait, face)) {
    std::fprintf(stderr, "%s: the portrait is too small for the crop\n", argv[1]);
    return 1;
  }

  // The portrait's own hair inside the face becomes skin, and the face is
  // carved along the oval face shape, as a face made with the face expert
  // is, so any hairstyle sits on a clean silhouette of bare skin.
  Bitmap mask;
  try {
    const std::vector<uint8_t> maskBytes = ReadFileBytes(argv[2]);
    TImgIOParams maskParams;
    size_t maskConsumed = 0;
    if (codec::DecodeBmp(maskBytes, mask, maskParams, ProgressRecord(), maskConsumed) != PictureStatus::Ok) {
      std::fprintf(stderr, "%s: not a BMP picture\n", argv[2]);
      return 1;
    }
  } catch (const FileError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  mask.ConvertTo24();
  const modelface::PixelMask silhouette = modelface::Silhouette(mask, face.Width(), face.Height());
  if (silhouette.Values.empty()) {
    std::fprintf(stderr, "%s: the mask is not the size of the face\n", argv[2]);
    return 1;
  }
  modelface::FillWithSkin(face, modelface::HairInside(face, silhouette), silhouette);
  modelface::CarveSoftly(face, silhouette);

  TImgIOParams jpegParams;
  jpegParams.JpegQuality = 100;
  jpegParams.JpegProgressive = false;
  MemoryStream jpeg;
  if (codec::EncodeJpeg(face, jpegParams, ProgressRecord(), jpeg) != PictureStatus::Ok) {
    std::fprintf(stderr, "cannot encode the face picture\n");
    return 1;
  }
  const auto headerBytes = modelface::MakeHeader().Bytes();
  bool ok = Write(folder + "Modela.jpg", jpeg.Bytes());
  ok = Write(folder + "Modela.header", std::vector<uint8_t>(headerBytes.begin(), headerBytes.end())) && ok;
  if (!CheckPicture(face).save(QString::fromStdString(folder + "Modela-check.png"))) {
    std::fprintf(stderr, "cannot write the check picture\n");
    ok = false;
  }
  return ok ? 0 : 1;
}
