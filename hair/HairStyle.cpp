#include "hair/HairStyle.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

#include "hair/FrameBox.h"
#include "imaging/Image.h"
#include "imaging/components/ImgIO.h"
#include "imaging/components/ImgProc.h"
#include "imaging/ImgView.h"
#include "imaging/core/PixelRect.h"
#include "imaging/core/StretchNearest.h"

namespace glamora {

namespace {

// Every channel above 180 becomes 255 and 0 stays 0: a light background
// turns pure white.
constexpr TColor kWhitenDownLimit = Rgb(0, 0, 0);
constexpr TColor kWhitenUpLimit = Rgb(180, 180, 180);
constexpr TColor kWhitenDownValue = Rgb(0, 0, 0);
constexpr TColor kWhitenUpValue = Rgb(255, 255, 255);

// The pixel whose colour becomes the see-through colour.
constexpr int kBackgroundProbe = 5;

}  // namespace

std::string FullHairPath(const std::string& name) {
  if (name.empty()) return {};
  const QString full = QDir::cleanPath(QFileInfo(QString::fromStdString(name)).absoluteFilePath());
  return QDir::toNativeSeparators(full).toStdString();
}

bool AcceptedHairExtension(const std::string& fileName) {
  const QString name = QFileInfo(QString::fromStdString(fileName)).fileName();
  const qsizetype dot = name.lastIndexOf(u'.');
  if (dot < 0) return false;
  const QString extension = name.mid(dot).toLower().left(4);
  return extension == u".bmp" || extension == u".jpg" || extension == u".tif";
}

THairLoad LoadHairstyle(const THairPicture& hair, const std::string& fileName, THairColour colour,
                        std::string& hairFileName) {
  hairFileName = FullHairPath(fileName);
  if (hairFileName.empty() || !QFileInfo(QString::fromStdString(hairFileName)).isFile()) return THairLoad::NoFile;
  if (!AcceptedHairExtension(hairFileName)) return THairLoad::Refused;
  // A picture the decoder cannot read leaves the previous hair untouched;
  // whitening and tinting it again would add the tint a second time.
  if (!hair.IO.LoadFromFile(hairFileName)) return THairLoad::Unreadable;

  Bitmap& picture = *hair.Image.Bitmap();
  // Whitening saves the undo copy of a 24-bit picture; one of another format
  // is saved here, so that a later tint change never brings back the
  // previous hairstyle.
  if (picture.Format() != PixelFormat::Bits24) hair.Proc.SaveUndo();
  hair.Proc.Threshold(kWhitenDownLimit, kWhitenUpLimit, kWhitenDownValue, kWhitenUpValue);
  // A picture smaller than the probe point gives the colour of its nearest pixel.
  const int probeX = std::clamp(kBackgroundProbe, 0, std::max(0, picture.Width() - 1));
  const int probeY = std::clamp(kBackgroundProbe, 0, std::max(0, picture.Height() - 1));
  picture.TransparentColor = picture.Pixel(probeX, probeY);
  hair.Proc.IntensityRGBall(colour.Red, colour.Green, colour.Blue);
  hair.FrameBox.AttachImage(&hair.Image);
  return THairLoad::Loaded;
}

void TintHair(TImgProc& proc, THairColour colour) {
  proc.Undo();
  proc.IntensityRGBall(colour.Red, colour.Green, colour.Blue);
}

QRect HairBoundsOnPicture(const TImgView& canvas, const QWidget& hairImage) {
  const QPoint picture = canvas.ClientOrigin() + QPoint(canvas.BitmapToScreenX(0), canvas.BitmapToScreenY(0));
  return hairImage.geometry().translated(-picture);
}

Bitmap ComposeResult(const Bitmap& face, const Bitmap& hair, const QRect& hairBounds) {
  Bitmap work;
  work.Assign(face);
  work.Transparent = false;
  if (work.Format() != PixelFormat::Bits24) work.ConvertTo24();
  const QRect visible = hairBounds & QRect(0, 0, work.Width(), work.Height());
  if (hair.Empty() || visible.isEmpty()) return work;

  // The visible part of the stretched hair, by the same pixel mapping as the
  // hair control's drawing: the full bounds are mapped, the rest is skipped.
  Bitmap stretched(visible.width(), visible.height());
  const PixelRect target{hairBounds.x() - visible.x(), hairBounds.y() - visible.y(), hairBounds.width(),
                         hairBounds.height()};
  StretchNearest(hair, PixelRect::Of(hair), stretched, target);

  const TColor key = ResolveColor(hair.TransparentColor);
  const uint8_t keyBgr[3] = {BlueOf(key), GreenOf(key), RedOf(key)};
  const bool keyed = hair.Transparent;
  for (int y = 0; y < visible.height(); ++y) {
    const uint8_t* in = stretched.Row(y);
    uint8_t* out = work.Row(visible.y() + y) + 3 * size_t(visible.x());
    if (!keyed) {
      std::memcpy(out, in, 3 * size_t(visible.width()));
      continue;
    }
    for (int x = 0; x < visible.width(); ++x, in += 3, out += 3) {
      if (in[0] == keyBgr[0] && in[1] == keyBgr[1] && in[2] == keyBgr[2]) continue;
      out[0] = in[0];
      out[1] = in[1];
      out[2] = in[2];
    }
  }
  return work;
}

}  // namespace glamora
