// The hair view: the model's hair picture at its place over the canvas.
#include "views/HairView.h"

#include "views/Makeup.h"

namespace glamora {

THairView::THairView(TMakeup& canvas) : TImage(&canvas), canvas_(canvas), model_(canvas.Model()) {
  SetStretch(true);
  SetTransparent(true);
  // Mouse input goes to the canvas beneath.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  model_.OnHairChange = [this](HairChange change) { ShowHair(change); };
  connect(&canvas_, &TMakeup::PictureMoved, this, &THairView::FollowCanvas);
  ShowHair(HairChange::Tinted);
  FollowCanvas();
}

THairView::~THairView() { model_.OnHairChange = nullptr; }

PixelRect THairView::TargetBounds() const { return model_.HairPlacement(); }

void THairView::PlaceTarget(const PixelRect& bounds) { model_.SetHairPlacement(bounds); }

void THairView::ShowHair(HairChange change) {
  if (change == HairChange::Placed) {
    FollowCanvas();
    return;
  }
  // The control draws its own copy, see-through as the model's hair is.
  Bitmap()->Assign(model_.Hair());
  Bitmap()->Transparent = true;
  PictureChanged();
  if (change == HairChange::Loaded) emit HairstyleLoaded();
}

void THairView::FollowCanvas() {
  const PixelRect& p = model_.HairPlacement();
  const QPoint origin = canvas_.ClientOrigin();
  const int left = canvas_.BitmapToScreenX(p.Left), top = canvas_.BitmapToScreenY(p.Top);
  const int right = canvas_.BitmapToScreenX(p.Left + p.Width), bottom = canvas_.BitmapToScreenY(p.Top + p.Height);
  setGeometry(origin.x() + left, origin.y() + top, right - left, bottom - top);
}

}  // namespace glamora
