#pragma once
// TProgram: one run's windows, made once each in their fixed order, and the
// face finder they share. The program entry makes one and shows its main
// window; the tests make one to see the run as it starts.
#include <string>

#include "experts/AddHair.h"
#include "experts/FaceExpert.h"
#include "experts/Rotate.h"
#include "experts/SaveHair.h"
#include "gallery/OpenFace.h"
#include "gallery/Preview.h"
#include "landmarks/LandmarkFinder.h"
#include "shell/About.h"
#include "shell/FormMain.h"

namespace glamora {

class TProgram {
 public:
  // An empty program folder is the program file's own; `faceModelFile` is
  // the face finder's shape model.
  explicit TProgram(const std::string& programFolder = {},
                    const std::string& faceModelFile = LandmarkFinder::DefaultModelFile());
  TProgram(const TProgram&) = delete;
  TProgram& operator=(const TProgram&) = delete;

  TFormMain& MainWindow() { return formMain_; }
  TFormFaceExpert& FaceExpert() { return formFaceExpert_; }
  LandmarkFinder& FaceFinder() { return finder_; }

 private:
  // The finder outlives the windows that search with it.
  LandmarkFinder finder_;
  // Each window's creation sees the ones made before it.
  TFormMain formMain_;
  TFormPreview formPreview_;
  // The rotation dialog serves both experts, so it exists before them.
  TFormRotate formRotate_;
  TFormFaceExpert formFaceExpert_;
  TFormAddHair formAddHair_;
  // The category dialog opens over the expert that asks it.
  TFormSaveHair formSaveHair_;
  TFormAbout formAbout_;
  TFormOpenFace formOpenFace_;
};

}  // namespace glamora
