// Filling, sizing and framing the main window's thumbnail views.
#include "shell/Thumbnails.h"

#include <QPainter>
#include <vector>

#include "desktop/FileFunctions.h"
#include "face/StandardFace.h"
#include "imaging/ImgThumbView.h"
#include "imaging/QtBitmap.h"
#include "imaging/core/Rounding.h"

namespace glamora {

void FillThumbnails(TImgThumbView& view, const std::string& folder, int selection) {
  view.DeleteAllImages();
  std::vector<std::string> names;
  ListFiles(folder, "*.jpg", true, names);
  const std::string prefix = WithTrailingSeparatorOf(folder);
  for (const std::string& name : names) {
    const int index = view.AppendImage();
    view.SetImageFileName(index, prefix + name);
  }
  view.SetSelectedImage(selection);
}

bool SelectThumbnailOf(TImgThumbView& view, const std::string& fileName) {
  for (int index = 0; index < view.ImageCount(); ++index) {
    if (view.GetImageFileName(index) != fileName) continue;
    view.SetSelectedImage(index);
    const int top = view.ImageY(index) - view.VertBorder();
    const int bottom = view.ImageY(index) + view.ThumbHeight() + view.VertBorder();
    if (top < view.ViewY()) {
      view.SetViewY(top);
    } else if (bottom > view.ViewY() + view.ClientHeight()) {
      view.SetViewY(bottom - view.ClientHeight());
    }
    return true;
  }
  return false;
}

void SizeThumbnails(TImgThumbView& view) {
  const int columns = view.GridWidth();
  const int width = (view.width() - (columns - 1) * view.HorizBorder() - 35) / columns;
  view.SetThumbWidth(width);
  view.SetThumbHeight(RoundEvenInt(width * standard_face::kAspect));
}

void FrameThumbnail(QPainter& canvas, const TImgThumbView& view, int left, int top) {
  const int width = view.ThumbWidth() - 1;
  const int height = view.ThumbHeight() - 1;
  if (width <= 0 || height <= 0) return;
  const QColor mark = ToQColor(kThumbnailMarkColor);
  canvas.fillRect(left, top, width, 1, mark);
  canvas.fillRect(left, top + height - 1, width, 1, mark);
  canvas.fillRect(left, top, 1, height, mark);
  canvas.fillRect(left + width - 1, top, 1, height, mark);
}

}  // namespace glamora
