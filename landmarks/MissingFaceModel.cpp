// The face finder of a build without dlib: it exists, finds nothing and says why.
#include "landmarks/FaceModel.h"

namespace glamora {

struct FaceModel::Engine {};

FaceModel::FaceModel() = default;
FaceModel::~FaceModel() = default;

bool FaceModel::Built() { return false; }

std::string FaceModel::MissingReason() {
  return "Finding faces is not available: this build was made without dlib (libdlib-dev)";
}

std::vector<PixelRect> FaceModel::Detect(const GreyPicture&) { return {}; }

std::string FaceModel::Load(const std::string&) { return MissingReason(); }

FaceLandmarks FaceModel::Place(const GreyPicture&, const PixelRect&) const { return {}; }

}  // namespace glamora
