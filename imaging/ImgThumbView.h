#pragma once
// TImgThumbView: a scrollable grid of thumbnails, one per picture file. The
// view knows its items by file name and holds a picture only while its cell
// is on screen or the item is selected, so a folder of any size costs only
// what is on screen plus the selected item. Windows draw captions and frames
// over each cell through OnImageDraw and learn of a choice through
// OnImageSelect.
//
// Loading never happens while painting. Each item is waiting, loaded or
// failed. Painting shows a placeholder for a waiting cell and a cross for a
// failed one, and asks for the loader: a zero-delay single-shot timer that,
// once the pending events are handled, drops the pictures of cells that left
// the screen, loads the waiting cells on screen in reading order for a few
// milliseconds and repaints them, and comes back while some still wait. The
// selected item is loaded at once, as attached components need its bitmap.
// A failure is remembered: the file is not read again until the item gets a
// file name anew, and with RemoveCorrupted the loader removes the item.
//
// Pictures are held small: a JPEG is decoded at the smallest of the reduced
// scales 1/2, 1/4, 1/8 that is still at least as large as the picture drawn
// in the cell, and any picture at least twice that size on both sides is
// halved (2 × 2 averages) until it is not. The cell geometry always comes
// from the picture's size in its file, so the cell shows the picture exactly
// where the full-size picture would go. Bitmap() therefore gives the selected
// item's picture at that held size.
//
// Keys: the view handles Page Up, Page Down, Home, End and the arrow keys
// itself (and claims them over window shortcuts while it has the focus).
// Every other key is left unaccepted, so it travels on to the parent
// widgets. A window that wants to see every key first, as a key preview
// does, installs an event filter on the view; a filter that lets a key pass
// leaves the view's own handling as it is.
#include <QFlags>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "imaging/CursorTable.h"
#include "imaging/DibDraw.h"
#include "imaging/components/ImgIO.h"
#include "imaging/ImgView.h"
#include "imaging/ImgViewBase.h"

namespace glamora {

enum TThumbDisplayMode { mdGrid, mdSingle };

enum TThumbMouseInteractItem { mmiScroll = 0x1, mmiSelect = 0x2 };
Q_DECLARE_FLAGS(TThumbMouseInteract, TThumbMouseInteractItem)
Q_DECLARE_OPERATORS_FOR_FLAGS(TThumbMouseInteract)

enum TThumbKeyInteractItem { mkiMoveSelected = 0x1 };
Q_DECLARE_FLAGS(TThumbKeyInteract, TThumbKeyInteractItem)
Q_DECLARE_OPERATORS_FOR_FLAGS(TThumbKeyInteract)

// Where an item's picture stands.
enum class ThumbState : uint8_t {
  Waiting,  // not held: never read, or dropped when its cell left the screen
  Loaded,   // held, packed or expanded
  Failed,   // its file could not be read; not tried again until renamed
};

// The moves of MoveSelection, by their stored codes.
enum class ThumbMove : int {
  Previous = 0,
  Next = 1,
  Up = 2,
  Down = 3,
  First = 4,
  Last = 5,
  PageDown = 6,
  PageUp = 7,
};

using TThumbSelectEvent = std::function<void(QObject* sender, int idx)>;
// Left and Top are the cell's corner in client coordinates; the painter's
// origin is the client area's top-left corner.
using TThumbDrawEvent = std::function<void(QObject* sender, int idx, int left, int top, QPainter& canvas)>;
using TThumbProgressEvent = std::function<void(QObject* sender, int per, int idx)>;
using TProgressEvent = std::function<void(QObject* sender, int per)>;

// The size a w × h picture is drawn at inside a cell area: scaled by
// min(areaHeight / h, cellWidth / w), truncated; small pictures grow too.
// Empty when either side comes to 0 or less.
QSize ThumbFitSize(int pictureWidth, int pictureHeight, int cellWidth, int areaHeight);

// The JPEG scale denominator (1, 2, 4 or 8) for a thumbnail: the largest
// whose decoded size still covers `fit` on both sides, 1 when none does or
// when `fit` is empty.
int ThumbJpegDenominator(int pictureWidth, int pictureHeight, QSize fit);

// The decoding scale of a JPEG scale denominator (1, 2, 4 or 8; any other
// value gives full size).
JpegScale ScaleOfDenominator(int denominator);

// Halves a picture with 2 × 2 averages (an odd last row or column is left
// out); palette pictures come out with 24 bits per pixel. False, leaving
// `out` alone, for a picture narrower or lower than 2 pixels.
bool HalvePicture(const glamora::Bitmap& in, glamora::Bitmap& out);

class TImgThumbView : public TImgViewBase {
  Q_OBJECT

 public:
  explicit TImgThumbView(QWidget* parent = nullptr);
  ~TImgThumbView() override;

  // ---- items
  // Appends an empty item, selects it and returns its index.
  int AppendImage();
  // An empty item before `index` (appended when index >= count); it becomes
  // the selection. A negative index is ignored.
  void InsertImage(int index);
  // Replaces the item's file name. A picture already held stays until its
  // cell leaves the screen; a failed item is tried again.
  void SetImageFileName(int index, const std::string& name);
  // Empty for an index outside the items.
  std::string GetImageFileName(int index) const;
  int ImageCount() const { return int(items_.size()); }
  // Removes the item; the selection stays on the item it was on, moves to
  // the item that took the deleted one's place, or to the new last item.
  void DeleteImage(int index);
  void DeleteAllImages();
  // Replaces an item's picture with a copy of `picture`, as a load does.
  void SetImage(int index, const glamora::Bitmap& picture);

  // ---- frames of an animation
  // How long the item shows while the view plays, in milliseconds.
  void SetImageDelay(int index, int delayMs);
  int ImageDelay(int index) const;
  // Plays the items in sequence in single display, each for its delay (at
  // least kMinFrameDelay), from the selected one on and round again, until
  // Stop. The selection moves with the frames without firing OnImageSelect;
  // SetSelectedImage and clicks select nothing meanwhile. Nothing without items.
  void Play();
  // Ends the playing and returns to the display mode it began in.
  void Stop();
  bool Playing() const { return playTimer_.isActive(); }
  static constexpr int kMinFrameDelay = 10;

  // ---- selection
  int SelectedImage() const { return selected_; }
  // Selects the item (an index outside the items keeps the selection) and
  // always fires OnImageSelect with the resulting selection. Does nothing
  // at all while the view plays.
  void SetSelectedImage(int index);
  // Selects by a move and scrolls the selected item into view. Nothing
  // without items.
  void MoveSelection(ThumbMove move);
  // The same by stored code 0..7; other codes do nothing.
  void MoveSelection(int code);
  // The selected item's picture, held expanded while it is selected.
  glamora::Bitmap* Bitmap() override;
  using TImgViewBase::Bitmap;

  // Holds an item's picture expanded (loading it when needed) until as many
  // releases; nullptr, holding nothing, when it has no picture.
  glamora::Bitmap* LockImage(int index);
  void ReleaseImage(int index);

  // ---- geometry
  // Cell position in the virtual area and in the grid, from the last Update.
  int ImageX(int index) const;
  int ImageY(int index) const;
  int ImageRow(int index) const;
  int ImageColumn(int index) const;
  TColor ImageBackground(int index) const;
  // The item whose cell holds the client point; the row just below a cell
  // counts as the cell's. -1 when none.
  int ImageAtPos(int x, int y) const;
  // 2 when the cell lies wholly inside the client area, 1 partly, 0 not at all.
  int ImageVisibility(int index) const;
  int VirtualWidth() const { return virtualWidth_; }
  int VirtualHeight() const { return virtualHeight_; }
  // The column count of the layout.
  int Columns() const;

  // How far the virtual area reaches past the client area.
  QPoint MaxViewXY() const override;

  // Lays the items out, corrects the scroll position and the scroll bars,
  // calls the change list and invalidates the window.
  void Update();
  // Draws at once.
  void Paint() { repaint(); }

  // ---- loading
  // Waiting for an index outside the items.
  ThumbState ImageState(int index) const;
  // True while the loader is due to run: cells on screen may still wait.
  bool LoadingPending() const { return loadTimer_.isActive(); }

  // ---- picture memory, for tests and measurements
  bool HoldsPicture(int index) const;
  int HeldPictureCount() const;
  size_t HeldPictureBytes() const;
  // The size of the picture the item holds (empty when none).
  QSize HeldPictureSize(int index) const;

  // ---- properties (each setter stores and runs Update unless noted)
  int ThumbWidth() const { return thumbWidth_; }
  void SetThumbWidth(int value);
  int ThumbHeight() const { return thumbHeight_; }
  void SetThumbHeight(int value);
  int HorizBorder() const { return horizBorder_; }
  void SetHorizBorder(int value);
  int VertBorder() const { return vertBorder_; }
  void SetVertBorder(int value);
  int BottomGap() const { return bottomGap_; }
  void SetBottomGap(int value);
  int UpperGap() const { return upperGap_; }
  void SetUpperGap(int value);
  // -1: as many columns as fit, (client width - HorizBorder) div
  // (HorizBorder + ThumbWidth); 0, or no column fitting: all items in one row.
  int GridWidth() const { return gridWidth_; }
  void SetGridWidth(int value);
  TThumbDisplayMode DisplayMode() const { return displayMode_; }
  // mdSingle puts every item on the first cell and shows only the selected one.
  void SetDisplayMode(TThumbDisplayMode mode);
  int SelectionWidth() const { return selectionWidth_; }
  void SetSelectionWidth(int value);
  TColor SelectionColor() const { return selectionColor_; }
  void SetSelectionColor(TColor color);
  bool VisibleSelection() const { return visibleSelection_; }
  void SetVisibleSelection(bool value);
  // Items whose file cannot be read are removed by the loader.
  bool RemoveCorrupted() const { return removeCorrupted_; }
  void SetRemoveCorrupted(bool value);
  // Cell margins take the item's own background instead of the view's.
  bool DrawImageBackground() const { return drawImageBackground_; }
  void SetDrawImageBackground(bool value);
  void SetBackground(TColor color) override;
  // Stored only.
  TThumbMouseInteract MouseInteract() const { return mouseInteract_; }
  void SetMouseInteract(TThumbMouseInteract modes) { mouseInteract_ = modes; }
  TThumbKeyInteract KeyInteract() const { return keyInteract_; }
  void SetKeyInteract(TThumbKeyInteract modes) { keyInteract_ = modes; }
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor id);

  // The component that loads item pictures.
  TImgIO& IO() { return io_; }


  // ---- input, in client coordinates
  virtual void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
  virtual void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
  virtual void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
  // Runs the navigation of a key and then Update; true when the key is one
  // of the view's own.
  bool KeyDown(int key);

  TThumbSelectEvent OnImageSelect;
  TThumbDrawEvent OnImageDraw;
  TThumbProgressEvent OnDrawProgress;
  TProgressEvent OnIOProgress;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnDblClick;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void ClientAreaChanged() override { Update(); }
  void ViewMoved() override;

 private:
  struct ThumbnailItem {
    // The picture while nobody holds it expanded; empty when none. An item
    // has at most one of the packed picture and the expanded bitmap.
    glamora::Bitmap Packed;
    // While locked: a bitmap object whose address clients may keep.
    std::unique_ptr<glamora::Bitmap> Expanded;
    int LockCount = 0;
    int X = 0, Y = 0;
    int Row = 0, Column = 0;
    TColor Background = clBtnFace;
    ThumbState State = ThumbState::Waiting;
    std::string FileName;
    // The picture's size in its file, and the size it was held at after
    // loading; a picture changed since is measured by its own size.
    int OriginalWidth = 0, OriginalHeight = 0;
    int LoadedWidth = 0, LoadedHeight = 0;
    int DelayMs = 0;
  };

  // Shows the next item and waits for its delay.
  void NextFrame();

  void UpdateGeometry(int depth);
  void Layout();

  void SelectInternal(int index);
  void Deselect();
  bool ValidIndex(int index) const { return index >= 0 && index < ImageCount(); }
  bool FullyVisible(int index) const { return ImageVisibility(index) == 2; }
  // The item's cell in client coordinates.
  QRect CellRect(const ThumbnailItem& item) const;
  // Whether the item's cell is drawn: on screen, and in mdSingle the selected one.
  bool IsShown(int index) const;
  // The items [first, end) among which every shown item lies.
  std::pair<int, int> ShownCandidates() const;

  // The loader (see the top of this file).
  void ScheduleLoading();
  void LoadStep();
  // Deletes the failed items that have a file name; true when any went.
  bool RemoveFailedItems();
  void DropUnshownPictures();

  static const glamora::Bitmap* HeldPicture(const ThumbnailItem& item);
  // Frees the picture; a loaded item waits again.
  static void FreePicture(ThumbnailItem& item);
  // Loads the item's picture from its file; false, marking a named item
  // failed, when there is none.
  bool LoadPicture(int index);
  bool ReadPicture(const ThumbnailItem& item, glamora::Bitmap& picture, QSize& original);
  void StorePicture(int index, glamora::Bitmap&& picture, QSize original);
  QSize AreaSize() const { return {thumbWidth_, thumbHeight_ - bottomGap_ - upperGap_}; }
  QSize FitOf(const ThumbnailItem& item) const;
  // After the cell area changed: pictures held too small for it are read again.
  void RefreshUndersizedPictures();

  void PaintCells(QPainter& painter, const QRegion& region);
  // Draws one shown cell and takes it out of `open`; true when it waits for the loader.
  bool PaintCell(QPainter& painter, int index, QRegion& open);
  void DrawCell(QPainter& painter, const ThumbnailItem& item, const QRect& cell);
  // What a cell without a picture shows: the placeholder or the failure mark.
  void DrawPictureMark(QPainter& painter, const ThumbnailItem& item, const QRect& cell) const;

  std::vector<ThumbnailItem> items_;
  int selected_ = -1;
  int virtualWidth_ = 0, virtualHeight_ = 0;
  int thumbWidth_ = 100, thumbHeight_ = 100;
  int horizBorder_ = 4, vertBorder_ = 4;
  int bottomGap_ = 0, upperGap_ = 0;
  int gridWidth_ = 0;
  TThumbDisplayMode displayMode_ = mdGrid;
  int selectionWidth_ = 3;
  TColor selectionColor_ = 255;
  bool visibleSelection_ = true;
  bool removeCorrupted_ = false;
  bool drawImageBackground_ = false;
  TThumbMouseInteract mouseInteract_ = mmiSelect;
  TThumbKeyInteract keyInteract_ = mkiMoveSelected;
  TCursor cursor_ = crDefault;

  Qt::MouseButtons heldButtons_;
  QPoint pressPoint_;
  int pressViewX_ = 0, pressViewY_ = 0;

  TImgIO io_;
  DibDraw dib_;
  QTimer loadTimer_;
  QTimer playTimer_;
  TThumbDisplayMode modeBeforePlay_ = mdGrid;
  // Where the start of a file is read to learn a JPEG's size.
  std::unique_ptr<uint8_t[]> headerPrefix_;
  bool destroying_ = false;
};

}  // namespace glamora
