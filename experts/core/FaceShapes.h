#pragma once
// The five face shapes of the face expert: their names, the hints and menu
// captions that show them, and the template and mask files of each in the
// program's "Shapes" folder. Shapes are numbered 1 to 5 in menu order.
#include <string>
#include <string_view>

#include "imaging/core/Bitmap.h"

namespace glamora {

constexpr int kFaceShapeCount = 5;
constexpr int kOvalShape = 1;

// "Oval", "Wide", "Long", "Rect", "Try": the name in file names and hints.
// Numbers outside 1..5 give the empty string.
std::string FaceShapeName(int shape);
// The menu item's caption: "Oval", "Wide", "Long", "Rectangle", "Triangle".
std::string FaceShapeCaption(int shape);
// The shape button's hint: the name followed by " face shape".
std::string FaceShapeHint(int shape);
// The shape after `shape`, Oval again after Try.
int NextFaceShape(int shape);
// The shape whose name is `name` in any letter case ("oval", "TRY"), 0 for none.
int FaceShapeByName(std::string_view name);

// programFolder (trailing separator) + "Shapes/Shape" + name + ".bmp": the
// outline drawn over the photograph.
std::string FaceShapeTemplateFile(const std::string& programFolder, int shape);
// programFolder + "Shapes/MaskGray" + name + ".bmp": the mask the carving uses.
std::string FaceShapeMaskFile(const std::string& programFolder, int shape);

// True for a template or mask drawn to the standard face: 228 × 314 pixels,
// so that template and mask match each other and the face made from them.
bool HasStandardFaceSize(const Bitmap& picture);

// The shape's template and mask loaded as the makers load pictures. Throws
// PhotographError with the message for a damaged file, naming it, when the
// file cannot be read or is not of the standard face's size; FileError when
// it cannot be opened.
Bitmap LoadFaceShapeTemplate(const std::string& programFolder, int shape);
Bitmap LoadFaceShapeMask(const std::string& programFolder, int shape);

}  // namespace glamora
