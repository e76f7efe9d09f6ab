// Contact sheets of the catalogue, each style put on the model face as the
// program shows it.
#include "tools/generators/hairstyles/ContactSheet.h"

#include "tools/generators/hairstyles/ImageFiles.h"

#include <QPainter>
#include <QRect>
#include <algorithm>

#include "codecs/Jpeg.h"
#include "face/FaceFile.h"
#include "face/FaceHeader.h"
#include "face/StandardFace.h"
#include "hair/Compose.h"
#include "imaging/core/Intensity.h"
#include "imaging/core/PixelRect.h"
#include "imaging/core/Stream.h"
#include "imaging/core/Threshold.h"

namespace glamora::hairgen {

namespace sf = glamora::standard_face;

const std::vector<Tint>& SheetTints() {
  static const std::vector<Tint> tints = {
      {"default", 60, 40, 20}, {"black", 0, 0, 0}, {"brown", 100, 62, 32}, {"blond", 190, 160, 100}, {"red", 150, 52, 22},
  };
  return tints;
}

Bitmap ReadModelFace(const std::string& faceFile) {
  FaceHeader header;
  MemoryStream payload;
  Bitmap face;
  try {
    if (!ReadFaceFile(faceFile, header, payload)) return {};
  } catch (const FileError&) {
    return {};
  }
  TImgIOParams params;
  size_t consumed = 0;
  if (codec::DecodeJpeg(payload.Bytes(), face, params, ProgressRecord(), consumed) != PictureStatus::Ok) return {};
  face.ConvertTo24();
  return face;
}

QImage PutOn(const Bitmap& face, const QImage& hair, const Tint& tint) {
  Bitmap h = ToBitmap(hair);
  const PixelRect all = PixelRect::Of(h);
  Threshold(h, all, ThresholdLimits{Rgb(0, 0, 0), Rgb(180, 180, 180), Rgb(0, 0, 0), Rgb(255, 255, 255)});
  h.Transparent = true;
  h.TransparentColor = h.Pixel(std::min(5, h.Width() - 1), std::min(5, h.Height() - 1));
  IntensityRgbAll(h, all, tint.red, tint.green, tint.blue);
  return ToImage(ComposeResult(face, h, PixelRect{0, 0, sf::kWidth, sf::kHeight}));
}

QImage ContactSheet(const std::vector<QImage>& pictures, const QString& title, int columns, double scale) {
  const int cellW = int(sf::kWidth * scale), cellH = int(sf::kHeight * scale);
  const int gap = 6, label = 16, header = 28;
  const int rows = (int(pictures.size()) + columns - 1) / columns;
  QImage sheet(columns * (cellW + gap) + gap, header + rows * (cellH + label + gap) + gap, QImage::Format_RGB888);
  sheet.fill(QColor(250, 250, 250));
  QPainter p(&sheet);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.setRenderHint(QPainter::TextAntialiasing);
  QFont font("DejaVu Sans");
  font.setPixelSize(16);
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(40, 40, 40));
  p.drawText(QRect(gap, 4, sheet.width(), header - 6), Qt::AlignLeft | Qt::AlignVCenter, title);
  font.setPixelSize(12);
  font.setBold(false);
  p.setFont(font);
  for (size_t i = 0; i < pictures.size(); ++i) {
    int col = int(i) % columns, row = int(i) / columns;
    QRect cell(gap + col * (cellW + gap), header + row * (cellH + label + gap), cellW, cellH);
    p.drawImage(cell, pictures[i]);
    p.setPen(QColor(200, 200, 200));
    p.drawRect(cell.adjusted(0, 0, -1, -1));
    p.setPen(QColor(40, 40, 40));
    p.drawText(QRect(cell.left(), cell.bottom() + 1, cellW, label), Qt::AlignCenter, QString::number(i));
  }
  return sheet;
}

}  // namespace glamora::hairgen
