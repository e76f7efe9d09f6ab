#pragma once
// What the two thumbnail views of the main window share: how they are filled
// from a folder, their sizes in the face's proportions, and the golden frame
// drawn over each thumbnail.
#include <string>

#include "imaging/core/Color.h"

class QPainter;

namespace glamora {

class TImgThumbView;

// Selection frames, frames and numbers of both views: a golden orange.
constexpr TColor kThumbnailMarkColor = 0x00AFDB;

// Fills the view with the folder's ".jpg" files (either letter case) in name
// order, each named by its full path, and selects `selection`.
void FillThumbnails(TImgThumbView& view, const std::string& folder, int selection);

// Selects the thumbnail of the file (its full path, as FillThumbnails names
// it) and scrolls it into view. False, changing nothing, when the view does
// not hold the file.
bool SelectThumbnailOf(TImgThumbView& view, const std::string& fileName);

// Thumbnail width := (view width − (columns − 1) × border − 35) div columns,
// height := width in the standard face's proportions, rounded.
void SizeThumbnails(TImgThumbView& view);

// The one-pixel frame over the thumbnail whose cell starts at (left, top):
// along (left, top)-(left + width - 1, top + height - 1), right and bottom
// excluded, in the mark colour.
void FrameThumbnail(QPainter& canvas, const TImgThumbView& view, int left, int top);

}  // namespace glamora
