#pragma once
// TImgViewBase: the common base of the single-image view and the thumbnail
// view. It holds the background colour, the border, the resolution stored
// with the image, the scroll position with its scroll bars, and the change
// list through which attached processing and input/output components follow
// the view's current bitmap.
//
// Client coordinates: the area inside the border and the scroll bars is the
// client area; every coordinate a view takes or reports (mouse handlers,
// painting, conversions) is relative to its top-left corner, ClientOrigin()
// in widget coordinates.
#include <QScrollBar>
#include <QWidget>
#include <functional>

#include "imaging/core/Bitmap.h"
#include "imaging/core/BitmapHost.h"
#include "imaging/core/Color.h"

namespace glamora {

enum TBorderStyle { bsNone, bsSingle };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

using TNotifyEvent = std::function<void(QObject* sender)>;
// Change is 1 when the zoom changed, 0 when the scroll position changed.
using TViewChangeEvent = std::function<void(QObject* sender, int change)>;

class TImgViewBase : public QWidget, public BitmapHost {
  Q_OBJECT

 public:
  explicit TImgViewBase(QWidget* parent = nullptr);
  ~TImgViewBase() override;

  TColor Background() const { return background_; }
  virtual void SetBackground(TColor color);

  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle style);
  // A sunken two-pixel edge when true, a plain one-pixel frame when false.
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool value);

  int DpiX() const { return dpiX_; }
  int DpiY() const { return dpiY_; }
  virtual void SetDpiX(int value) { dpiX_ = value; }
  virtual void SetDpiY(int value) { dpiY_ = value; }
  void SetDpi(int x, int y);

  // The current bitmap; the base has none.
  virtual glamora::Bitmap* Bitmap() { return nullptr; }
  const glamora::Bitmap* Bitmap() const { return const_cast<TImgViewBase*>(this)->Bitmap(); }
  virtual void ImageChange() {}

  int BorderWidth() const;
  QPoint ClientOrigin() const { return {BorderWidth(), BorderWidth()}; }
  // In widget coordinates.
  QRect ClientRect() const;
  int ClientWidth() const { return ClientRect().width(); }
  int ClientHeight() const { return ClientRect().height(); }

  // BitmapHost: attached components read and repaint through these.
  glamora::Bitmap* HostBitmap() override { return Bitmap(); }
  void HostBitmapChanged() override;
  bool IsImageView() const override { return true; }
  TColor HostBackground() const override { return Background(); }
  void SetHostBackground(TColor color) override { SetBackground(color); }
  void SetHostDpi(int dpiX, int dpiY) override { SetDpi(dpiX, dpiY); }
  int HostDpiX() const override { return DpiX(); }
  int HostDpiY() const override { return DpiY(); }

  // Scroll position in the derived view's pixels, 0 .. MaxViewXY(). Each
  // coordinate is clamped; unchanged values are ignored; otherwise the view
  // redraws (ViewMoved) and the thumb of each shown scroll bar follows.
  int ViewX() const { return viewX_; }
  int ViewY() const { return viewY_; }
  void SetViewX(int x) { SetViewXY(x, viewY_); }
  void SetViewY(int y) { SetViewXY(viewX_, y); }
  void SetViewXY(int x, int y);
  // The largest scroll position; the base has nothing to scroll.
  virtual QPoint MaxViewXY() const { return {}; }

  // The scroll bars are child widgets inside the border at the right and the
  // bottom; each shows while its style allows it and there is something to
  // scroll that way.
  TScrollStyle ScrollBars() const { return scrollBars_; }
  virtual void SetScrollBars(TScrollStyle style);
  QScrollBar* HorizontalScrollBar() const { return hBar_; }
  QScrollBar* VerticalScrollBar() const { return vBar_; }

  TViewChangeEvent OnViewChange;
  virtual void ViewChange(int change);

 protected:
  // What SetViewXY does after the position changed, before the bars follow.
  virtual void ViewMoved() { update(); }
  // Part of the derived view's Update: lowers the scroll position to
  // `maximum` where it exceeds it (ViewChange(0) then), and sets, shows or
  // hides the bars, a click on a bar's arrow moving by `line`. True when the
  // client area changed size through a bar that appeared or vanished.
  bool UpdateScrolling(QPoint maximum, QSize line);

  // The border changed the client area; the base repaints.
  virtual void ClientAreaChanged();

  // Draws the border and the square where both scroll bars meet.
  void PaintFrame(QPainter& painter) const;

 private:
  // Sets a bar's range 0 .. maximum with the given page and line steps and
  // position; false (the bar is to be hidden) when not allowed or nothing scrolls.
  static bool UpdateScrollBar(QScrollBar* bar, bool allowed, int maximum, int page, int line, int position);
  // Reserves room for the shown bars and lays them along the client area.
  void PlaceScrollBars();
  void ScrollAction(QScrollBar* bar, int action);

  int viewX_ = 0, viewY_ = 0;
  TScrollStyle scrollBars_ = ssNone;
  QScrollBar* hBar_ = nullptr;
  QScrollBar* vBar_ = nullptr;
  bool hBarShown_ = false, vBarShown_ = false;

  TColor background_ = clBtnFace;
  TBorderStyle borderStyle_ = bsSingle;
  bool ctl3D_ = true;
  int dpiX_ = 96;
  int dpiY_ = 96;
  // Room the shown bars take at the right and bottom edges inside the border.
  int rightReserve_ = 0;
  int bottomReserve_ = 0;
};

}  // namespace glamora
