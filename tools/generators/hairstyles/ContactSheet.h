#pragma once
// Contact sheets for judging the catalogue: every hairstyle put on the
// shipped model face the way the program shows it (whitened, see-through
// background, tinted with a hair colour, composed over the face), numbered,
// on one picture.
#include <QImage>
#include <QString>
#include <string>
#include <vector>

#include "imaging/core/Bitmap.h"

namespace glamora::hairgen {

// A hair colour as the colour box gives it: offsets added to the hair.
struct Tint {
  const char* name;
  int red, green, blue;
};

// The default hair colour and the colours the sheets show beside it.
const std::vector<Tint>& SheetTints();

// The model face's picture from its face file; an empty bitmap when it
// cannot be read.
Bitmap ReadModelFace(const std::string& faceFile);

// The face with the hair on it, through the program's own steps: channels
// above 180 become 255, the colour at (5, 5) is see-through, the tint is
// added to the rest, and the hair is composed over the face at face size.
QImage PutOn(const Bitmap& face, const QImage& hair, const Tint& tint);

// The pictures in a grid, `columns` wide, each scaled by `scale` and numbered from 0.
QImage ContactSheet(const std::vector<QImage>& pictures, const QString& title, int columns, double scale);

}  // namespace glamora::hairgen
