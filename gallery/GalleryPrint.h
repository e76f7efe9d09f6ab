#pragma once
// Printing a gallery picture: one page, the picture 2.8 inches wide at the
// top left of the printable area, its height in the picture's proportion.
#include <QRect>
#include <QSize>
#include <functional>
#include <string>

#include "imaging/core/Bitmap.h"
#include "imaging/core/ImgIOParams.h"

class QPrinter;
class QWidget;

namespace glamora {

// Printed width = round(dpiX × 70 × 0.04), height = round(width × H / W),
// halves to even. Empty for an empty picture.
QSize PrintedSize(int dpiX, int width, int height);

// The one-pixel white frame along (0, 0)–(W − 1, H − 1), right and bottom
// exclusive: columns 0 and W − 2, rows 0 and H − 2 of a 24-bit picture.
void DrawPrintFrame(Bitmap& picture);

// Loads the picture (decoder by extension, within `limits`), frames it and
// prints it on one page. Returns the printed rectangle in printer dots,
// relative to the printable area; an empty one when nothing was printed (a
// picture that could not be decoded, a job that could not be started). Throws
// FileError when the file cannot be opened.
QRect PrintGalleryPicture(const std::string& pictureFile, QPrinter& printer,
                          const DecodeLimits& limits = kWindowPictureLimits);

// Lets the user choose the printer; false when cancelled.
using ChoosePrinter = std::function<bool(QPrinter& printer)>;

// The platform's print dialog, with the page-range and selection choices.
ChoosePrinter PrintDialog(QWidget* parent);

// The Print command of the preview: with no picture in the gallery or none
// selected says "There is not a selected gallery picture"; otherwise asks for
// the printer and prints. The choices made in the dialog (pages, selection,
// copies) do not change what is printed. Returns the printed rectangle.
QRect PrintSelectedGalleryPicture(int imageCount, const std::string& pictureFile, QPrinter& printer,
                                  const ChoosePrinter& choosePrinter,
                                  const DecodeLimits& limits = kWindowPictureLimits);

}  // namespace glamora
