#pragma once
// TOutlineCommit: writes outlined make-up regions (a changed face header)
// back into the face file they belong to, and offers a way out when that
// cannot be done: the face file is read-only, has gone, or is no longer the
// face that was opened. The user then saves the face with its outlines as a
// new face file in the faces folder, discards the outlines, or goes on
// outlining; no answer leaves the user stuck or loses the outlines unasked.
#include <string>

#include "gallery/SaveTarget.h"

class QWidget;

namespace glamora {

class Makeover;

constexpr const char* kOutlinesNotWritten =
    "%1\n\nThe outlines of the make-up regions cannot be written into that face file. Do you save the face "
    "with its outlines as a new face file?\n\nYes: choose a name for the new face file.\nNo: discard the "
    "outlines.\nCancel: go on outlining.";

enum class TOutlineOutcome {
  ooWritten,         // nothing was pending, or the face file took the outlines
  ooSavedAsNewFace,  // the face and its outlines are in a new face file, now the model's
  ooDiscarded,       // the outlines were dropped
  ooStay,            // the user goes on outlining; nothing changed
};

class TOutlineCommit {
 public:
  // The save dialog opens over dialogParent.
  TOutlineCommit(Makeover& model, QWidget* dialogParent);

  // Replaces the save dialog of a new face file (tests answer it).
  void SetSaveDialog(AskSaveFileName dialog) { saveDialog_ = std::move(dialog); }

  // Writes the model's changed header into its face file; when that fails,
  // asks what to do. facesFolder: where a new face file is proposed.
  TOutlineOutcome Commit(const std::string& facesFolder);

  // The name proposed for a new face file in the folder: the current face's
  // base name with ".mff", or that name with the lowest number from 2 that
  // names no file of the folder.
  static std::string ProposedFaceName(const std::string& facesFolder, const std::string& currentFace);

 private:
  TOutlineOutcome OfferWayOut(const std::string& reason, const std::string& facesFolder);

  Makeover& model_;
  AskSaveFileName saveDialog_;
};

}  // namespace glamora
