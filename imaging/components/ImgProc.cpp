// The processing component: each operation on the current bitmap, its undo
// copy and the repaint that follows.
#include "imaging/components/ImgProc.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "imaging/core/Clear.h"
#include "imaging/core/Contrast.h"
#include "imaging/core/HslVar.h"
#include "imaging/core/Intensity.h"
#include "imaging/core/PolygonRegion.h"
#include "imaging/core/ReplacePicture.h"
#include "imaging/core/Resample.h"
#include "imaging/core/Rotate.h"
#include "imaging/core/Threshold.h"

namespace glamora {

namespace {

Bitmap CopyOf(const Bitmap& bitmap, const PixelRect& box) {
  Bitmap copy(box.Width, box.Height);
  for (int y = 0; y < box.Height; ++y) {
    std::memcpy(copy.Row(y), bitmap.Row(box.Top + y) + 3 * size_t(box.Left), 3 * size_t(box.Width));
  }
  return copy;
}

// Draws `copy`, which stands at box on the bitmap, back inside one polygon
// (alternate filling).
void DrawBackInside(const Bitmap& copy, const PixelRect& box, const std::vector<Point>& polygon, Bitmap& bitmap) {
  const PolygonRegion region(polygon);
  for (const Span& span : region.Spans()) {
    if (span.Y < box.Top || span.Y > box.Bottom()) continue;
    const int x0 = std::max(span.X0, box.Left);
    const int x1 = std::min(span.X1, box.Right());
    if (x1 < x0) continue;
    std::memcpy(bitmap.Row(span.Y) + 3 * size_t(x0), copy.Row(span.Y - box.Top) + 3 * size_t(x0 - box.Left),
                3 * size_t(x1 - x0 + 1));
  }
}

}  // namespace

TImgProc::TImgProc() : undo_(1, 1) {}

TImgProc::~TImgProc() = default;

void TImgProc::TellOwner() {
  if (view_) {
    view_->HostBitmapChanged();
  } else if (image_) {
    image_->HostBitmapChanged();
  } else if (bitmap_) {
    bitmap_->Changed();
  }
}

void TImgProc::SaveUndo() {
  if (!bitmap_) return;
  undo_.Reset(1, 1, bitmap_->Format());
  if (bitmap_->Width() > 0 && bitmap_->Height() > 0) undo_.Assign(*bitmap_);
}

void TImgProc::Undo() {
  if (!bitmap_ || undo_.Width() < 2 || undo_.Height() < 2) return;
  Bitmap saved;
  saved.Assign(undo_);
  ReplacePicture(*bitmap_, std::move(saved));
  TellOwner();
}

bool TImgProc::StartColourOperation() {
  if (!bitmap_ || bitmap_->Format() != PixelFormat::Bits24) return false;
  if (AutoUndo) SaveUndo();
  return true;
}

template <class Operation>
void TImgProc::ForWorkingRegion(Operation&& op) {
  Bitmap& bitmap = *bitmap_;
  WorkSelection selection;
  if (!view_ || !view_->HostSelection(selection)) {
    op(bitmap, PixelRect::Of(bitmap));
    return;
  }
  const PixelRect box =
      PixelRect::FromEdges(selection.Left, selection.Top, selection.Right, selection.Bottom).ClampedTo(bitmap);
  if (box.Empty()) return;
  if (selection.Polygons.empty() || selection.IsRectangle) {
    op(bitmap, box);
    return;
  }
  Bitmap copy = CopyOf(bitmap, box);
  op(copy, PixelRect::Of(copy));
  for (const auto& polygon : selection.Polygons) DrawBackInside(copy, box, polygon, bitmap);
}

void TImgProc::HSLVar(int hue, int sat, int lum) {
  if (!StartColourOperation()) return;
  ForWorkingRegion([&](Bitmap& b, const PixelRect& r) { ::glamora::HslVar(b, r, hue, sat, lum); });
  TellOwner();
}

void TImgProc::Contrast(int amount) {
  if (!StartColourOperation()) return;
  if (bitmap_->Width() < 2 || bitmap_->Height() < 2) return;
  // The means come from the whole bitmap even when only a selection changes.
  const ChannelMeans means = ContrastMeans(*bitmap_);
  ForWorkingRegion([&](Bitmap& b, const PixelRect& r) { ContrastWithMeans(b, r, amount, means); });
  TellOwner();
}

void TImgProc::IntensityRGBall(int r, int g, int b) {
  if (!StartColourOperation()) return;
  ForWorkingRegion([&](Bitmap& bitmap, const PixelRect& region) { IntensityRgbAll(bitmap, region, r, g, b); });
  TellOwner();
}

void TImgProc::Threshold(TColor downLimit, TColor upLimit, TColor downVal, TColor upVal) {
  if (!StartColourOperation()) return;
  const ThresholdLimits limits{downLimit, upLimit, downVal, upVal};
  if (limits.DoesNothing()) return;
  ForWorkingRegion([&](Bitmap& b, const PixelRect& r) { ::glamora::Threshold(b, r, limits); });
  TellOwner();
}

void TImgProc::Resample(int width, int height, TResampleFilter filter) {
  if (!bitmap_) return;
  if (AutoUndo) SaveUndo();
  PictureSize size;
  if (!ResampleTargetSize(bitmap_->Width(), bitmap_->Height(), width, height, size)) return;
  if (!::glamora::Resample(*bitmap_, *bitmap_, size.Width, size.Height, filter)) return;
  TellOwner();
}

void TImgProc::Rotate(int angle, bool antialias) {
  if (!bitmap_) return;
  if (AutoUndo) SaveUndo();
  if (!::glamora::Rotate(*bitmap_, angle, antialias, Background(), OnProgress)) return;
  TellOwner();
}

void TImgProc::Clear() {
  if (!bitmap_) return;
  if (AutoUndo) SaveUndo();
  ::glamora::Clear(*bitmap_, PixelRect::Of(*bitmap_), Background());
  TellOwner();
}

}  // namespace glamora
