#pragma once
// TMakeup: the make-up canvas, the view of a make-over's face. It shows the
// face picture at a whole-number zoom with scroll bars and turns the mouse
// into the make-over's operations by the mode it is in: outlining the eyes
// and the lips as polygons (the region editor), pencil lines and airbrush
// strokes. The polygon in progress, the brush and the pencil colour are the
// canvas's own; the picture, its header and its undo point are the model's.
// While a polygon is in progress the M key mirrors it as an Alt-click does,
// for window managers that take Alt and the mouse for moving windows.
//
// Two views of the make-over that leave the picture alone: the outlines of
// the eye and lip regions drawn over the picture (after they were proposed,
// until the next click), and comparing, which shows the face as it was
// loaded instead of the made-up one, without what lies over it.
#include <QLine>
#include <QPoint>
#include <QPointer>
#include <cstdint>
#include <vector>

#include "face/AirBrush.h"
#include "face/FaceHeader.h"
#include "imaging/ImgView.h"
#include "imaging/core/PixelRect.h"

namespace glamora {

class Makeover;

// What the left mouse button does on the canvas; the values are the
// canvas's stored mode numbers.
enum class TCanvasMode : uint8_t { cmNone = 1, cmOutline = 2, cmAirbrush = 5, cmPencil = 6 };

// The region editor: a polygon being drawn, none in progress, or a stored
// region shown during one mouse press.
enum class TPolygonState : uint8_t { psDrawing = 1, psIdle = 2, psShowing = 3 };

class TMakeup : public TImgView {
  Q_OBJECT

 public:
  // The model must outlive the canvas.
  explicit TMakeup(Makeover& model, QWidget* parent = nullptr);
  ~TMakeup() override;

  Makeover& Model() { return model_; }

  // Outline mode starts with no polygon in progress, the painting modes with
  // no stroke.
  void SetMode(TCanvasMode mode);
  TCanvasMode Mode() const { return mode_; }
  // The zoom in whole hundreds; 0 and below give 1.
  void SetZoomFactor(int factor);
  int ZoomFactor() const { return zoomFactor_; }
  // The airbrush's and the pencil's colour.
  void SetColor(TColor color);
  void SetBrushSize(int size) { airBrush_.SetSize(size); }
  void SetBrushIntensity(int intensity) { airBrush_.SetIntensity(intensity); }
  TColor PencilColor() const { return pencilColor_; }
  TAirBrush& AirBrush() { return airBrush_; }

  // The make-up region (1 left eye, 2 right eye, 3 lips) of a client point.
  int RegionAt(int x, int y) const;
  // The picture point of a client point.
  QPoint PicturePoint(int x, int y) const;

  // The polygon in progress, in client coordinates until it is stored.
  const FaceRegion& WorkPolygon() const { return workPolygon_; }
  TPolygonState PolygonState() const { return polygonState_; }
  // Where the polygon in progress will be stored, or the region last hit.
  int CurrentRegion() const { return currentRegion_; }
  // A pencil or airbrush stroke is in progress.
  bool Drawing() const { return drawing_; }
  // Lines drawn on the window over the picture while outlining.
  const std::vector<QLine>& WindowLines() const { return windowLines_; }

  // Draws the frames of the header's eye and lip regions over the picture
  // (not into it) in lime, until the next mouse press, mode change or face.
  void ShowRegionOutlines();
  // The picture pixels the frames cover while they are shown.
  const std::vector<QPoint>& RegionOutlines() const { return regionOutlines_; }

  // While comparing, the canvas shows the model's face as loaded, hides the
  // controls lying over it (the hair and its frame) and takes no mouse
  // input; afterwards the made-up face and those controls come back.
  void SetComparing(bool on);
  bool Comparing() const { return comparing_; }

  void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) override;
  void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y) override;
  void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) override;
  // M mirrors the polygon in progress; the stored outline shows until the
  // key is released.
  void KeyDown(int key, Qt::KeyboardModifiers modifiers);
  void KeyUp(int key);
  void ViewChange(int change) override;

 signals:
  // The zoom or the scroll position changed, so picture points lie elsewhere.
  void PictureMoved();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // Shows the model's face anew where it changed.
  void ShowFace(const PixelRect& area, bool loaded);
  void HideRegionOutlines();
  void CancelPolygon();
  void AddVertex(int x, int y);
  void StorePolygon();
  void MirrorPolygon();
  void ShowStoredRegion(int x, int y);
  void StartStroke(int x, int y);
  void ContinueStroke(int x, int y);
  void RestoreOwnCursor();
  bool NearFirstVertex(int x, int y, int reach) const;
  QRect ClientRectOfPictureRect(const PixelRect& pictureRect) const;
  void InvalidateLine(const QLine& line);

  Makeover& model_;
  FaceRegion workPolygon_;
  QPoint anchor_;
  QPoint rubberEnd_;
  TPolygonState polygonState_ = TPolygonState::psIdle;
  TAirBrush airBrush_;
  TColor pencilColor_ = clRed;
  int zoomFactor_ = 1;
  uint8_t currentRegion_ = 1;
  TCanvasMode mode_ = TCanvasMode::cmNone;
  bool drawing_ = false;

  QPoint penPosition_;
  TColor penColor_ = clRed;  // the pencil colour at the press that started the stroke
  Qt::MouseButtons pressButtons_;
  std::vector<QLine> windowLines_;  // edges placed so far, and the rubber band last
  bool rubberShown_ = false;
  bool mirroredByKey_ = false;  // the yellow of a polygon mirrored by M is on the picture
  std::vector<QPoint> regionOutlines_;
  bool comparing_ = false;
  std::vector<QPointer<QWidget>> hiddenForComparing_;
};

}  // namespace glamora
