// The face model's file name, its writing, and the save command's questions.
#include "experts/core/FaceModelFile.h"

#include <filesystem>
#include <system_error>

#include "face/FaceFile.h"
#include "imaging/components/ImgIO.h"
#include "imaging/core/FileExtension.h"
#include "imaging/core/Stream.h"

namespace glamora {

namespace {

bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

}  // namespace

std::string FaceModelFileName(const std::string& chosen) {
  const std::string extension = Extension(chosen);
  return chosen.substr(0, chosen.size() - extension.size()) + ".mff";
}

bool WriteFaceModel(const Bitmap& picture, const std::string& fileName) {
  if (picture.Empty()) return false;
  Bitmap copy;
  copy.Assign(picture);
  TImgIO io;
  io.SetBitmap(&copy);
  io.StreamHeaders = false;
  io.Params.JpegQuality = kFaceModelJpegQuality;
  io.Params.JpegProgressive = false;
  MemoryStream jpeg;
  if (!io.SaveToStreamJpeg(jpeg)) return false;
  return WriteFaceFile(&jpeg, fileName);
}

std::string SaveFaceModelAs(const Bitmap& picture, const std::string& folder, const FaceModelSaveDialogs& dialogs) {
  std::string fileName;
  for (;;) {
    const std::string chosen = dialogs.AskFileName(folder);
    if (chosen.empty()) return {};
    fileName = FaceModelFileName(chosen);
    if (!Exists(fileName)) break;
    const ReplaceAnswer answer = dialogs.AskReplace(fileName);
    if (answer == ReplaceAnswer::Yes) break;
    if (answer == ReplaceAnswer::Cancel) return {};
  }
  // Only an empty picture or a failed encoder write nothing without an error.
  if (!WriteFaceModel(picture, fileName)) throw FileError("Cannot create file " + fileName);
  return fileName;
}

}  // namespace glamora
