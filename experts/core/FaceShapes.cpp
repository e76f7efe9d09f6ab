// Names, hints and files of the face shapes.
#include "experts/core/FaceShapes.h"

#include <array>
#include <cctype>

#include "experts/core/PlacedPhotograph.h"
#include "face/StandardFace.h"

namespace glamora {

namespace {

struct ShapeEntry {
  const char* Name;
  const char* Caption;
};

constexpr std::array<ShapeEntry, kFaceShapeCount> kShapes = {{
    {"Oval", "Oval"},
    {"Wide", "Wide"},
    {"Long", "Long"},
    {"Rect", "Rectangle"},
    {"Try", "Triangle"},
}};

bool Valid(int shape) { return shape >= 1 && shape <= kFaceShapeCount; }

std::string ShapesFolder(const std::string& programFolder) { return programFolder + "Shapes/"; }

}  // namespace

std::string FaceShapeName(int shape) { return Valid(shape) ? kShapes[size_t(shape - 1)].Name : ""; }

std::string FaceShapeCaption(int shape) { return Valid(shape) ? kShapes[size_t(shape - 1)].Caption : ""; }

std::string FaceShapeHint(int shape) { return FaceShapeName(shape) + " face shape"; }

int NextFaceShape(int shape) { return shape >= kFaceShapeCount || shape < 1 ? kOvalShape : shape + 1; }

int FaceShapeByName(std::string_view name) {
  for (int shape = 1; shape <= kFaceShapeCount; ++shape) {
    const std::string_view candidate = kShapes[size_t(shape - 1)].Name;
    if (candidate.size() != name.size()) continue;
    bool same = true;
    for (size_t i = 0; i < name.size() && same; ++i) {
      same = std::tolower(static_cast<unsigned char>(name[i])) == std::tolower(static_cast<unsigned char>(candidate[i]));
    }
    if (same) return shape;
  }
  return 0;
}

std::string FaceShapeTemplateFile(const std::string& programFolder, int shape) {
  return ShapesFolder(programFolder) + "Shape" + FaceShapeName(shape) + ".bmp";
}

std::string FaceShapeMaskFile(const std::string& programFolder, int shape) {
  return ShapesFolder(programFolder) + "MaskGray" + FaceShapeName(shape) + ".bmp";
}

bool HasStandardFaceSize(const Bitmap& picture) {
  return picture.Width() == standard_face::kWidth && picture.Height() == standard_face::kHeight;
}

namespace {

Bitmap LoadFaceShapePicture(const std::string& path, const char* what) {
  Bitmap picture = LoadExpertPicture(path, what);
  if (!HasStandardFaceSize(picture)) throw PhotographError(DamagedPictureMessage(path, what));
  return picture;
}

}  // namespace

Bitmap LoadFaceShapeTemplate(const std::string& programFolder, int shape) {
  return LoadFaceShapePicture(FaceShapeTemplateFile(programFolder, shape), "face-shape template");
}

Bitmap LoadFaceShapeMask(const std::string& programFolder, int shape) {
  return LoadFaceShapePicture(FaceShapeMaskFile(programFolder, shape), "face-shape mask");
}

}  // namespace glamora
