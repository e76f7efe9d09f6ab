#pragma once
// The generator's picture files, coded by the program's own JPEG and PNG codecs.
#include <QImage>
#include <string>

#include "imaging/core/Bitmap.h"

namespace glamora::hairgen {

// A picture as a 24-bit bitmap (blue, green, red) and back.
Bitmap ToBitmap(const QImage& picture);
QImage ToImage(const Bitmap& bitmap);

// Writes a picture as a baseline JPEG of the given quality; false when it cannot.
bool WriteJpeg(const std::string& path, const QImage& picture, int quality);
// Reads a JPEG into a 24-bit picture; a null picture when it cannot.
QImage ReadJpeg(const std::string& path);
// Writes a picture as PNG; false when it cannot.
bool WritePng(const std::string& path, const QImage& picture);
// Writes a colour picture and its alpha (Grayscale8, the same size) as an RGBA PNG; false when it cannot.
bool WritePngWithAlpha(const std::string& path, const QImage& colour, const QImage& alpha);

}  // namespace glamora::hairgen
