#pragma once
// Contact sheets for judging the catalogue: every hairstyle put on a plain
// model face the way the program shows it (whitened, see-through background,
// tinted with the default hair colour), numbered, on one picture.
#include <QColor>
#include <QImage>
#include <QString>
#include <vector>

namespace glamora::hairgen {

// A plain face drawn to the standard face geometry: skin, ears, neck,
// shoulders, eyes, brows, nose and mouth on a light background.
QImage ModelFace();

// The face with the hair on it: channels above 180 of the hair become 255,
// the colour at (5, 5) is see-through, and the tint is added to the rest.
QImage PutOn(const QImage& face, const QImage& hair, QColor tint = QColor(60, 40, 20));

// The pictures in a grid, `columns` wide, each scaled by `scale` and numbered from 0.
QImage ContactSheet(const std::vector<QImage>& pictures, const QString& title, int columns, double scale);

}  // namespace glamora::hairgen
