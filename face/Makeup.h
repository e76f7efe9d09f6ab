#pragma once
// TMakeup: the picture on which a face is shown and made up. An image editor
// with the current face's header, a region editor for outlining the eyes and
// the lips, region colouring and the lip line, pencil and airbrush strokes,
// and one undo point (the snapshot of its processing component).
#include <QLine>
#include <QPoint>
#include <string>
#include <vector>

#include "face/AirBrush.h"
#include "face/FaceHeader.h"
#include "imaging/ImgEditor.h"

namespace glamora {

class TMakeup : public TImgEditor {
  Q_OBJECT

 public:
  enum : uint8_t { kModeNone = 1, kModeOutline = 2, kModeAirbrush = 5, kModePencil = 6 };
  enum : uint8_t { kPolygonDrawing = 1, kPolygonIdle = 2, kPolygonShowing = 3 };
  enum : int { kColorEyes = 1, kColorLips = 3, kColorLipLine = 5 };

  explicit TMakeup(QWidget* parent = nullptr);
  ~TMakeup() override;

  // Opens a face file (".eff" or ".mff", either letter case). False, changing
  // nothing, for a missing file, another extension, a file too short for a
  // header or a picture that cannot be decoded. FileError passes through.
  bool LoadFace(const std::string& fileName);
  // Writes the header into its face file when it has changed. FileError
  // passes through and the header stays marked as changed.
  void SaveHeader();

  void SetMode(int mode);
  void SetZoomFactor(int factor);
  void SetColor(TColor color);
  void SetBrushSize(int size) { airBrush_.SetSize(size); }
  void SetBrushIntensity(int intensity) { airBrush_.SetIntensity(intensity); }

  // Kind 1 colours both eyes, 3 the lips, 5 draws the lip line; each call
  // first restores the snapshot, so it replaces the previous application.
  void ApplyColor(int kind, TColor color);
  void RandomMakeup();

  // The make-up region (1 left eye, 2 right eye, 3 lips) of a client point.
  int RegionAt(int x, int y) const;
  // The picture point of a client point.
  QPoint PicturePoint(int x, int y) const;

  // Colours or outlines one region record on the picture (no snapshot).
  void ColorRegion(const FaceRegion& region, TColor color);
  void OutlineRegion(const FaceRegion& region, TColor color);

  const FaceHeader& Header() const { return header_; }
  FaceHeader& MutableHeader() { return header_; }
  const std::string& HeaderFileName() const { return headerFileName_; }
  bool HeaderSaved() const { return headerSaved_; }
  bool LoadOk() const { return loadOk_; }
  const FaceRegion& WorkPolygon() const { return workPolygon_; }
  int Mode() const { return mode_; }
  int PolygonState() const { return polygonState_; }
  int ZoomFactor() const { return zoomFactor_; }
  int CurrentRegion() const { return currentRegion_; }
  int HalfWidth() const { return halfWidth_; }
  int SplitY() const { return splitY_; }
  bool Drawing() const { return drawing_; }
  TColor PencilColor() const { return pencilColor_; }
  TAirBrush& AirBrush() { return airBrush_; }
  // Lines drawn on the window over the picture while outlining.
  const std::vector<QLine>& WindowLines() const { return windowLines_; }

  void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) override;
  void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y) override;
  void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) override;

  void HostBitmapChanged() override;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void CancelPolygon();
  void AddVertex(int x, int y);
  void StorePolygon();
  void MirrorPolygon();
  void ShowStoredRegion(int x, int y);
  void StartStroke(int x, int y);
  void ContinueStroke(int x, int y);
  void RestoreSnapshot();
  void RepaintPicture();
  void RestoreOwnCursor();
  bool NearFirstVertex(int x, int y, int reach) const;
  QRect ClientRectOfPictureRect(const QRect& pictureRect) const;
  void InvalidateLine(const QLine& line);

  FaceRegion workPolygon_;
  QPoint anchor_;
  QPoint rubberEnd_;
  int halfWidth_ = 0;
  int splitY_ = 0;
  uint8_t polygonState_ = kPolygonIdle;
  TAirBrush airBrush_;
  TColor pencilColor_ = clRed;
  bool loadOk_ = false;
  FaceHeader header_;
  std::string headerFileName_;
  int zoomFactor_ = 1;
  uint8_t currentRegion_ = 1;
  uint8_t mode_ = kModeNone;
  bool drawing_ = false;
  bool headerSaved_ = true;

  QPoint penPosition_;
  TColor penColor_ = clRed;  // the pencil colour at the press that started the stroke
  Qt::MouseButtons pressButtons_;
  std::vector<QLine> windowLines_;  // edges placed so far, and the rubber band last
  bool rubberShown_ = false;
};

}  // namespace glamora
