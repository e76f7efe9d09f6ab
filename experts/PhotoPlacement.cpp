// The experts' drawing panel and the commands on its photograph.
#include "experts/PhotoPlacement.h"

#include "desktop/Panel.h"
#include "experts/PictureUnder.h"
#include "experts/Rotate.h"
#include "experts/core/FaceShapes.h"
#include "experts/core/PlacedPhotograph.h"
#include "imaging/CursorTable.h"
#include "imaging/Image.h"
#include "imaging/components/ImgIO.h"
#include "imaging/components/ImgProc.h"
#include "imaging/core/Stream.h"
#include "views/FrameBox.h"

namespace glamora {

TPhotoPanel BuildPhotoPanel(QWidget* page, QPoint at, QSize paneSize, QPoint templateCorner) {
  TPhotoPanel panel;
  panel.Frame = new TPanel(page);
  panel.Frame->setObjectName("Panel1");
  panel.Frame->SetBevelOuter(bvLowered);
  panel.Frame->setGeometry(at.x(), at.y(), paneSize.width() + 2, paneSize.height() + 2);
  panel.PanePaint = new TPanel(panel.Frame);
  panel.PanePaint->setObjectName("PanePaint");
  panel.PanePaint->SetBevelOuter(bvNone);
  panel.PanePaint->SetColor(clWhite);
  const QRect inside = panel.Frame->AlignRect();
  panel.Frame->PlaceChild(*panel.PanePaint, inside.left(), inside.top(), paneSize.width(), paneSize.height());

  panel.ImageFace = new TImage(panel.PanePaint);
  panel.ImageFace->setObjectName("ImageFace");
  panel.ImageFace->SetStretch(true);
  panel.ImageFace->move(templateCorner);
  panel.ImageShape = new TImage(panel.PanePaint);
  panel.ImageShape->setObjectName("ImageShape");
  panel.ImageShape->SetAutoSize(true);
  panel.ImageShape->SetTransparent(true);
  panel.ImageShape->move(templateCorner);
  panel.FrameBox = new TFrameBox(panel.PanePaint);
  panel.FrameBox->setObjectName("FrameBoxFormat");
  return panel;
}

Bitmap LoadShapePicture(const std::string& path) {
  Bitmap picture;
  TImgIO io;
  io.SetBitmap(&picture);
  // A file that cannot be opened throws here; one that cannot be read is no
  // template either.
  // A template or mask of another size than the standard face's is as
  // damaged: carving with it would give a face of the wrong size.
  if (!io.LoadFromFile(path) || !HasStandardFaceSize(picture)) throw FileError("Cannot open file " + path);
  if (picture.Format() != PixelFormat::Bits24) picture.ConvertTo24();
  return picture;
}

void ShowShapeTemplate(TImage& shape, const Bitmap& picture) {
  Bitmap& shown = *shape.Bitmap();
  shown.Assign(picture);
  shown.Transparent = true;
  shown.TransparentColor = shown.Pixel(0, shown.Height() - 1);
  shape.PictureChanged();
}

bool OpenPhotograph(TImage& face, const TImage& shape, TFrameBox& box, TImgIO& io, const std::string& fileName) {
  face.SetAutoSize(true);
  bool read = false;
  try {
    io.SetAttachedTImage(&face);
    io.Params.Limits = kPhotographLimits;
    read = io.LoadFromFile(fileName);
  } catch (...) {
    face.SetAutoSize(false);
    throw;
  }
  face.move(shape.pos());
  face.SetAutoSize(false);
  const QWidget* pane = face.parentWidget();
  const Bitmap& photo = *face.Bitmap();
  if (pane && !photo.Empty()) {
    const PixelRect shown = OpenedPhotographBounds(photo.Width(), photo.Height(), pane->width(), pane->height(),
                                                   BoundsOf(shape));
    face.setGeometry(shown.Left, shown.Top, shown.Width, shown.Height);
  }
  box.AttachImage(&face);
  return read;
}

void HalvePhotographFrame(TFrameBox& box) {
  TFrame& frame = box.Frame;
  const int width = frame.Bounds.Right - frame.Bounds.Left + 1;
  frame.ActiveHandle = 8;
  frame.ResizeTo(frame.Bounds.Right - width / 2, 0, true);
}

void TurnPhotograph(TImage& face, TImgProc& proc, int angle, bool antialias) {
  const BusyCursor busy;
  proc.SetAttachedTImage(&face);
  proc.Rotate(angle, antialias);
}

bool RotatePhotograph(TImage& face, TImgProc& proc, TFormRotate& rotate, QWidget* owner) {
  const Bitmap& photo = *face.Bitmap();
  if (photo.Empty() || !rotate.Ask(photo, owner)) return false;
  TurnPhotograph(face, proc, rotate.Angle(), rotate.Antialias());
  return true;
}

bool ExpertFormKeyDown(int key, Qt::KeyboardModifiers modifiers, const std::function<void()>& open,
                       const std::function<void()>& help) {
  const Qt::KeyboardModifiers shift =
      modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  if (key == Qt::Key_O && shift == Qt::ControlModifier) {
    open();
    return true;
  }
  if (key == Qt::Key_F1) {
    help();
    return true;
  }
  return false;
}

}  // namespace glamora
