// One run's windows and the face finder they share.
#include "shell/Program.h"

#include "imaging/core/InPlaceSave.h"

namespace glamora {

TProgram::TProgram(const std::string& programFolder, const std::string& faceModelFile)
    : finder_(faceModelFile),
      formMain_(programFolder),
      formPreview_(&formMain_),
      formRotate_(&formMain_),
      formFaceExpert_(formMain_.ProgramFolder(), formRotate_, &formMain_),
      formAddHair_(formMain_.ProgramFolder(), formRotate_, &formMain_),
      formSaveHair_(&formAddHair_),
      formAbout_(&formMain_),
      formOpenFace_(formMain_.ProgramFolder(), &formMain_) {
  formAddHair_.SetSaveHair(&formSaveHair_);
  formMain_.SetOtherWindows({.FormAbout = &formAbout_,
                             .FormPreview = &formPreview_,
                             .FormOpenFace = &formOpenFace_,
                             .FormFaceExpert = &formFaceExpert_,
                             .FormAddHair = &formAddHair_});
  // The face finder's model is large and slow to read, so it loads at the
  // first search (under the hourglass of the command that searches) and
  // stays for the rest of the run; a run that finds no face never holds it.
  const FindFaceFunction findFace = [this](const Bitmap& picture) { return finder_.Find(picture); };
  formMain_.SetFaceFinder(findFace);
  formFaceExpert_.FindFace = findFace;
  formAddHair_.FindFace = findFace;
  // Saves killed midway in an earlier run left their temporary files and
  // unfinished in-place copies behind.
  FinishInterruptedSaves(formMain_.ProgramFolder(), true);
}

}  // namespace glamora
