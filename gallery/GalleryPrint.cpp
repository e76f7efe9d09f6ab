// Printing a gallery picture at 2.8 inches wide on one page.
#include "gallery/GalleryPrint.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "desktop/Dialogs.h"
#include "gallery/GalleryFolder.h"
#include "imaging/QtBitmap.h"
#include "imaging/components/ImgIO.h"
#include "imaging/core/Rounding.h"

namespace glamora {

namespace {

constexpr double kPrintedWidthInches = 70 * 0.04;

void SetWhite(uint8_t* pixel) { pixel[0] = pixel[1] = pixel[2] = 255; }

}  // namespace

QSize PrintedSize(int dpiX, int width, int height) {
  if (width <= 0 || height <= 0) return {};
  const int printedWidth = RoundEvenInt(dpiX * kPrintedWidthInches);
  const double ratio = double(height) / width;
  return {printedWidth, RoundEvenInt(printedWidth * ratio)};
}

void DrawPrintFrame(Bitmap& picture) {
  if (picture.Format() != PixelFormat::Bits24) return;
  const int right = picture.Width() - 2;
  const int bottom = picture.Height() - 2;
  if (right < 0 || bottom < 0) return;
  for (int y : {0, bottom}) {
    uint8_t* row = picture.Row(y);
    for (int x = 0; x <= right; ++x) SetWhite(row + 3 * x);
  }
  for (int y = 0; y <= bottom; ++y) {
    SetWhite(picture.Row(y));
    SetWhite(picture.Row(y) + 3 * right);
  }
}

QRect PrintGalleryPicture(const std::string& pictureFile, QPrinter& printer, const DecodeLimits& limits) {
  Bitmap picture;
  TImgIO io;
  io.SetBitmap(&picture);
  io.Params.Limits = limits;
  if (!io.LoadFromFile(pictureFile) || picture.Empty()) return {};
  if (picture.Format() != PixelFormat::Bits24) picture.ConvertTo24();
  DrawPrintFrame(picture);

  const QRect printed(QPoint(0, 0), PrintedSize(printer.logicalDpiX(), picture.Width(), picture.Height()));
  QPainter painter;
  if (!painter.begin(&printer)) return {};
  painter.drawImage(printed, ViewBitmap(picture));
  painter.end();
  return printed;
}

ChoosePrinter PrintDialog(QWidget* parent) {
  return [parent](QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, true);
    return dialog.exec() == QDialog::Accepted;
  };
}

QRect PrintSelectedGalleryPicture(int imageCount, const std::string& pictureFile, QPrinter& printer,
                                  const ChoosePrinter& choosePrinter, const DecodeLimits& limits) {
  if (imageCount <= 0 || pictureFile.empty()) {
    ShowMessage(kNoSelectedGalleryPicture);
    return {};
  }
  if (!choosePrinter(printer)) return {};
  printer.setPrintRange(QPrinter::AllPages);
  printer.setFromTo(0, 0);
  printer.setCopyCount(1);
  return PrintGalleryPicture(pictureFile, printer, limits);
}

}  // namespace glamora
