#pragma once
// TImgProc: the processing component. It changes the pixels of one current
// bitmap in place, owned by the image view or picture control it is attached
// to (or set directly), keeps one undo copy, and tells the owner to repaint
// after every change.
//
// No operation reports an error: without a current bitmap, or with one that
// does not suit the operation, it returns silently (after SaveUndo when that
// already ran). The colour operations work on 24-bit bitmaps only and, on a
// view with a selection, only inside the selection.
#include "imaging/core/Bitmap.h"
#include "imaging/core/BitmapHost.h"
#include "imaging/core/Color.h"
#include "imaging/core/Progress.h"
#include "imaging/core/ResampleFilter.h"

namespace glamora {

class TImgProc final : public BitmapComponent {
 public:
  TImgProc();
  ~TImgProc() override;
  TImgProc(const TImgProc&) = delete;
  TImgProc& operator=(const TImgProc&) = delete;

  // Every changing operation runs SaveUndo first while this is set.
  bool AutoUndo = true;
  // Called with percentages while Rotate runs.
  ProgressHandler OnProgress;

  // The saved copy; 1 × 1 means empty.
  const Bitmap& UndoBitmap() const { return undo_; }
  void SaveUndo();
  // Copies the saved state back (it stays saved, so Undo can be repeated);
  // nothing while the saved copy is narrower or lower than 2 pixels.
  void Undo();

  void HSLVar(int hue, int sat, int lum);
  void Contrast(int amount);
  void IntensityRGBall(int r, int g, int b);
  void Threshold(TColor downLimit, TColor upLimit, TColor downVal, TColor upVal);
  // −1 for one side keeps the aspect ratio.
  void Resample(int width, int height, TResampleFilter filter);
  // Degrees, counter-clockwise positive; the uncovered canvas is Background.
  void Rotate(int angle, bool antialias);
  // Fills the whole bitmap with Background.
  void Clear();

 private:
  // The guards of the colour operations: a 24-bit current bitmap, then
  // SaveUndo when AutoUndo.
  bool StartColourOperation();
  // Runs `op` on the working region: the whole bitmap, a rectangular
  // selection clamped to the bitmap, or a copy of a polygon selection's box
  // drawn back inside the polygons. `op` is called as op(bitmap, region).
  template <class Operation>
  void ForWorkingRegion(Operation&& op);
  void TellOwner();

  Bitmap undo_;
};

}  // namespace glamora
