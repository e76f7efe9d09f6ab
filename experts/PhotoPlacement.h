#pragma once
// What the experts' drawing panels are made of: a photograph under a
// face-shape template with the placement frame over both, and the commands
// that open, halve, turn and reload the photograph in it.
#include <QPoint>
#include <QSize>
#include <functional>
#include <string>

#include "imaging/core/Bitmap.h"

class QWidget;

namespace glamora {

class TFormRotate;
class TFrameBox;
class TImage;
class TImgIO;
class TImgProc;
class TPanel;

struct TPhotoPanel {
  TPanel* Frame = nullptr;          // "Panel1", lowered, around the drawing panel
  TPanel* PanePaint = nullptr;      // the white drawing panel
  TImage* ImageFace = nullptr;      // the photograph, stretched to its bounds
  TImage* ImageShape = nullptr;     // the template, auto-sized, transparent
  TFrameBox* FrameBox = nullptr;    // "FrameBoxFormat", over the whole panel
};

// Builds the panel on `page` with its top-left corner at `at`: a lowered
// frame round a white drawing panel of `paneSize` holding, from bottom to
// top, the photograph, the template with its top-left corner at
// `templateCorner`, and the frame box.
TPhotoPanel BuildPhotoPanel(QWidget* page, QPoint at, QSize paneSize, QPoint templateCorner);

// A template or mask file with 24 bits per pixel. FileError("Cannot open
// file <path>") when the file cannot be opened or read, or is not of the
// standard face's size.
Bitmap LoadShapePicture(const std::string& path);

// Shows the picture as the template: the colour of its bottom-left pixel
// lets the photograph through.
void ShowShapeTemplate(TImage& shape, const Bitmap& picture);

// Open: loads the file into the photograph at its own size with its top-left
// corner on the template's, reduced to fit the drawing panel when it is
// larger (OpenedPhotographBounds), and gives the frame its rectangle and
// proportions. False when the file could not be read (the photograph stays
// as it was); FileError when it cannot be opened.
bool OpenPhotograph(TImage& face, const TImage& shape, TFrameBox& box, TImgIO& io, const std::string& fileName);

// Zoom: the frame's bottom-right corner moves left by half the frame's
// inclusive width, the bottom following the proportions and the top-left
// corner staying; the photograph takes the frame's rectangle. The frame
// refuses a width that comes within 20 pixels of nothing.
void HalvePhotographFrame(TFrameBox& box);

// Turns the photograph's bitmap by the angle, antialiased or not, uncovered
// corners white, with the hourglass showing; its rectangle stays.
void TurnPhotograph(TImage& face, TImgProc& proc, int angle, bool antialias);

// Rotate: asks the rotation dialog about the photograph and turns it by the
// answer; false, changing nothing, for an empty photograph or Cancel.
bool RotatePhotograph(TImage& face, TImgProc& proc, TFormRotate& rotate, QWidget* owner);

// The keys an expert window sees before its controls: Ctrl+O (the letter O
// with exactly Ctrl held) runs `open`, F1 runs `help`. True when the key was
// one of them.
bool ExpertFormKeyDown(int key, Qt::KeyboardModifiers modifiers, const std::function<void()>& open,
                       const std::function<void()>& help);

}  // namespace glamora
