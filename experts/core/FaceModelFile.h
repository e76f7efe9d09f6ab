#pragma once
// Saving a new face model: the name rule of the save command, the face file
// it writes (a header of noise, then the picture as a JPEG of quality 100),
// and the save command's dialogue of name and replace questions, with the
// dialogs given by the caller.
#include <functional>
#include <string>

#include "face/FaceHeader.h"
#include "imaging/core/Bitmap.h"

namespace glamora {

constexpr int kFaceModelJpegQuality = 100;

// The face file a name chosen in the save dialog gives: the extension (the
// file name's part from its last dot on) becomes ".mff", and a name without
// one gets ".mff" appended; "x.jpg" gives "x.mff", "x.y.z" gives "x.y.mff".
std::string FaceModelFileName(const std::string& chosen);

// Writes the picture as a plain face file: 3260 bytes of noise, then the
// picture as a baseline JPEG of quality 100 with 24 bits per pixel, without
// the stream header the picture front can write. The file appears whole or
// not at all. False, writing nothing, for an empty picture; FileError when
// the file cannot be created.
bool WriteFaceModel(const Bitmap& picture, const std::string& fileName);

// The header of noise a new face file gets, as WriteFaceModel writes it.
FaceHeader NoiseFaceHeader();

// The same with the given header in place of the noise, written with the
// picture in one step.
bool WriteFaceModel(const Bitmap& picture, const std::string& fileName, const FaceHeader& header);

enum class ReplaceAnswer { Yes, No, Cancel };

struct FaceModelSaveDialogs {
  // The save dialog opened in `folder`; the chosen path, or empty when cancelled.
  std::function<std::string(const std::string& folder)> AskFileName;
  // "Do you want to replace existing file?" for an existing face file.
  std::function<ReplaceAnswer(const std::string& fileName)> AskReplace;
};

// The save command: asks for a name in `folder` until the user cancels,
// chooses a face file name that does not exist yet, or answers Yes to
// replacing it (No asks for a name again, Cancel stops); then writes the
// face model there. Returns the face file written, or the empty string when
// the user cancelled. FileError passes through, nothing written.
std::string SaveFaceModelAs(const Bitmap& picture, const std::string& folder, const FaceModelSaveDialogs& dialogs);

}  // namespace glamora
