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

}  // namespace glamora
