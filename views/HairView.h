#pragma once
// THairView: the hair of a make-over, shown over the make-up canvas. A
// picture control lying in the canvas that shows the model's hair stretched
// into the model's placement, mapped through the canvas's zoom and scroll
// position, with the see-through colour left out; the mouse passes through
// to the canvas. It is also what the hair's frame places: the frame's
// coordinates are those of the face picture, so moving the frame moves the
// model's placement, and the view follows the model.
#include <QObject>

#include "imaging/Image.h"
#include "model/Makeover.h"
#include "views/Frame.h"

namespace glamora {

class TMakeup;

class THairView : public TImage, public TFrameTarget {
  Q_OBJECT

 public:
  // A child of the canvas; the canvas's model must outlive the view.
  explicit THairView(TMakeup& canvas);
  ~THairView() override;

  // The placement in face-picture pixels.
  PixelRect TargetBounds() const override;
  void PlaceTarget(const PixelRect& bounds) override;
  void ShowTarget(bool shown) override { setVisible(shown); }

 signals:
  // The model holds a new hairstyle.
  void HairstyleLoaded();

 private:
  void ShowHair(HairChange change);
  // Lays the control over the placement as the canvas shows the picture now.
  void FollowCanvas();

  TMakeup& canvas_;
  Makeover& model_;
};

}  // namespace glamora
