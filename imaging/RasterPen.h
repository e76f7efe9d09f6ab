#pragma once
// Pens that mix with what lies under them, for outlines that are drawn once
// to show and once more to hide: drawing the same figure twice restores every
// pixel.
#include <QColor>
#include <QPainter>

#include "imaging/core/Bitmap.h"

namespace glamora {

// Each pixel under the pen becomes NOT(pen XOR pixel): a black pen inverts, a
// white pen leaves the picture alone. Width 1, solid, no brush, no antialiasing.
void UseNotXorPen(QPainter& painter, const QColor& color = Qt::black, int width = 1);

// Each pixel under the pen is inverted whatever the pen's colour.
void UseInvertingPen(QPainter& painter, int width = 1);

// Back to ordinary drawing.
void UseCopyPen(QPainter& painter, const QColor& color = Qt::black, int width = 1);

// The outline of the rectangle from (left, top) to (right, bottom), right and
// bottom excluded, drawn with an inverting pen straight into a 24-bit bitmap:
// every outline pixel inside the bitmap is inverted exactly once.
void InvertRectangleOutline(Bitmap& bitmap, int left, int top, int right, int bottom);

}  // namespace glamora
