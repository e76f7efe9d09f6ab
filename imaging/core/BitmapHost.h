#pragma once
// What processing and input/output components attach to: an image view or a
// picture control that owns the current bitmap. The host tells its attached
// clients when its bitmap object is replaced (the change list) and when it
// goes away (free notification).
#include <vector>

#include "imaging/core/Bitmap.h"
#include "imaging/core/Color.h"
#include "imaging/core/PolygonRegion.h"

namespace glamora {

class BitmapHost;

class BitmapClient {
 public:
  virtual ~BitmapClient() = default;
  // The host's current bitmap object changed; re-read it.
  virtual void HostBitmapReplaced(BitmapHost& host) = 0;
  // The host is being destroyed; drop every reference to it.
  virtual void HostDestroyed(BitmapHost& host) = 0;
};

// The part of a view's selection that operations restrict themselves to:
// bounding box in bitmap pixels (inclusive) and its polygons.
struct WorkSelection {
  int Left = 0, Top = 0, Right = -1, Bottom = -1;
  std::vector<std::vector<Point>> Polygons;  // empty: the box itself
  bool IsRectangle = true;
};

class BitmapHost {
 public:
  virtual ~BitmapHost();

  virtual Bitmap* HostBitmap() = 0;
  // Called after an operation changed the bitmap: a view updates and fires
  // its image change, a picture control repaints.
  virtual void HostBitmapChanged() = 0;
  virtual bool IsImageView() const { return false; }
  // Background colour of a view; picture controls have none.
  virtual TColor HostBackground() const { return clWhite; }
  virtual void SetHostBackground(TColor) {}
  virtual void SetHostDpi(int dpiX, int dpiY) {}
  virtual int HostDpiX() const { return 96; }
  virtual int HostDpiY() const { return 96; }
  // The selection of a view, when it has one.
  virtual bool HostSelection(WorkSelection& selection) const { return false; }

  void AttachClient(BitmapClient* client);
  void DetachClient(BitmapClient* client);
  // Invokes every attached client's refresh (the change list).
  void CallBitmapChangeList();
  size_t ClientCount() const { return clients_.size(); }

 protected:
  // Derived destructors call this first, while the host is still whole.
  void NotifyDestroyed();

 private:
  std::vector<BitmapClient*> clients_;
};

// What processing and input/output components share: attachment to one view
// or one picture control (or a bare bitmap), the current bitmap that follows
// the host, and the background colour (the view's, else the component's own).
class BitmapComponent : public BitmapClient {
 public:
  BitmapComponent() = default;
  ~BitmapComponent() override { DetachHosts(); }
  BitmapComponent(const BitmapComponent&) = delete;
  BitmapComponent& operator=(const BitmapComponent&) = delete;

  // Attachment: at most one of the view and the picture control is set.
  void SetAttachedImgView(BitmapHost* view);
  void SetAttachedTImage(BitmapHost* image);
  BitmapHost* AttachedImgView() const { return view_; }
  BitmapHost* AttachedTImage() const { return image_; }
  // Points the component at a bitmap directly, detaching view and control.
  void SetBitmap(Bitmap* bitmap);
  Bitmap* CurrentBitmap() const { return bitmap_; }

  // The attached view's background, else the component's own colour.
  TColor Background() const { return view_ ? view_->HostBackground() : background_; }
  void SetBackground(TColor color);

  void HostBitmapReplaced(BitmapHost& host) override;
  void HostDestroyed(BitmapHost& host) override;

 protected:
  void DetachHosts();

  Bitmap* bitmap_ = nullptr;
  BitmapHost* view_ = nullptr;
  BitmapHost* image_ = nullptr;
  TColor background_ = clBtnFace;
};

}  // namespace glamora
