#pragma once
// The five face shapes of the face expert, drawn to the standard face
// geometry: every shape keeps the eye line, the mouth, the neck and the
// shoulders and varies only the outline of the face and so where the ears sit.
#include <QPainterPath>
#include <QPolygonF>

namespace glamora::shapes {

enum class FaceShape { Oval, Wide, Long, Rect, Try };

constexpr FaceShape kAllShapes[] = {FaceShape::Oval, FaceShape::Wide, FaceShape::Long, FaceShape::Rect,
                                    FaceShape::Try};

// The name in the file names "Shape<name>.bmp" and "MaskGray<name>.bmp".
const char* ShapeName(FaceShape shape);

// Top of the forehead and bottom of the chin of the shape.
double FaceTop(FaceShape shape);
double FaceChin(FaceShape shape);

// Half the face width at height y (0 above the forehead and below the chin).
double FaceHalfWidth(FaceShape shape, double y);

// The closed face outline, clockwise from the top of the forehead.
QPolygonF FaceOutline(FaceShape shape);

enum class Side { Left, Right };

// The outer rim of an ear: an open curve that leaves the face outline at the
// ear's top and meets it again at the ear's bottom.
QPainterPath EarRim(FaceShape shape, Side side);
// The fold inside the ear.
QPainterPath EarFold(FaceShape shape, Side side);

// The two sides of the neck running down into the shoulder lines, as open curves.
QPainterPath NeckAndShoulderLines();

// Everything the face model keeps: face, ears, neck and shoulders down to the
// bottom edge, as one closed area.
QPainterPath Silhouette(FaceShape shape);

}  // namespace glamora::shapes
