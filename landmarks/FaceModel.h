#pragma once
// The engine behind LandmarkFinder: the face detector and the shape model.
// Each build links exactly one implementation: DlibFaceModel.cpp when dlib
// is found, MissingFaceModel.cpp otherwise.
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/PixelRect.h"
#include "landmarks/FaceLandmarks.h"
#include "landmarks/GreyPicture.h"

namespace glamora {

class FaceModel {
 public:
  FaceModel();
  ~FaceModel();
  FaceModel(const FaceModel&) = delete;
  FaceModel& operator=(const FaceModel&) = delete;

  // False, with the reason, when this build has no engine.
  static bool Built();
  static std::string MissingReason();

  // Builds the detector and reads the shape model, side by side (each takes
  // a second or two). Empty on success, else the one-line reason the shape
  // model cannot be used; the detector works either way. Called once.
  std::string Load(const std::string& shapeModelFile);
  // The faces on a grey picture, in its pixels. After Load; safe from
  // several threads.
  std::vector<PixelRect> Detect(const GreyPicture& picture);
  // The 68 points of the face in `face`, on the picture the box refers to.
  // After a successful Load; safe from several threads.
  FaceLandmarks Place(const GreyPicture& picture, const PixelRect& face) const;

 private:
  struct Engine;
  std::unique_ptr<Engine> engine_;
};

}  // namespace glamora
