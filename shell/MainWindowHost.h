#pragma once
// What the areas of the main window (the Hairstyle page, the Make-up page,
// the gallery panel, the random show) ask of the window that holds them: the
// program folder and the current face, the two steps every area may need
// around the face, help, and the page switch.
#include <QString>
#include <string>

namespace glamora {

class TMainWindowHost {
 public:
  virtual ~TMainWindowHost() = default;

  // The folder the data folders lie in, with a trailing separator.
  virtual const std::string& ProgramFolder() const = 0;
  // The face file shown on the canvas.
  virtual const std::string& FaceFileName() const = 0;
  // Reads the current face file into the canvas afresh; says so when it
  // cannot. True when it was read.
  virtual bool LoadCurrentFace() = 0;
  // Writes outlines not yet written back into a plain face file; when that
  // fails the user saves them as a new face, discards them or stays. False
  // when the user stays: the command that asked must not go on.
  virtual bool CommitOutlines() = 0;
  // Commits outlining (CommitOutlines), raises the outline tool and returns
  // the canvas to 100 %. False, changing nothing, when the user stays.
  virtual bool LeaveOutlineMode() = 0;
  // The canvas carries a random make-over that has not been discarded.
  virtual void SetRandomFaceShown(bool shown) = 0;
  // Makes the Hairstyle page the active page, with what switching does.
  // False when the user stays on the Make-up page to go on outlining.
  virtual bool ShowHairstylePage() = 0;
  // Hides the hair and its frame, so that mouse input reaches the canvas.
  virtual void HideHair() = 0;
  virtual void ShowHelpTopic(const QString& topic) = 0;
};

}  // namespace glamora
