// The face model's file name, its writing, and the save command's questions.
#include "experts/core/FaceModelFile.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "face/FaceFile.h"
#include "face/Random.h"
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

namespace {

// The picture as a face model keeps it: a baseline JPEG of quality 100
// without the picture front's stream header; false when it cannot be encoded.
bool EncodeFacePicture(const Bitmap& picture, MemoryStream& jpeg) {
  if (picture.Empty()) return false;
  Bitmap copy;
  copy.Assign(picture);
  TImgIO io;
  io.SetBitmap(&copy);
  io.StreamHeaders = false;
  io.Params.JpegQuality = kFaceModelJpegQuality;
  io.Params.JpegProgressive = false;
  return io.SaveToStreamJpeg(jpeg);
}

}  // namespace

FaceHeader NoiseFaceHeader() {
  RandomGenerator& noise = ProgramRandom();
  std::array<uint8_t, FaceHeader::kByteSize> bytes;
  for (uint8_t& byte : bytes) byte = uint8_t(noise.Draw(256));
  return FaceHeader::FromBytes(bytes.data());
}

bool WriteFaceModel(const Bitmap& picture, const std::string& fileName) {
  MemoryStream jpeg;
  if (!EncodeFacePicture(picture, jpeg)) return false;
  return WriteFaceFile(&jpeg, fileName);
}

bool WriteFaceModel(const Bitmap& picture, const std::string& fileName, const FaceHeader& header) {
  MemoryStream jpeg;
  if (!EncodeFacePicture(picture, jpeg)) return false;
  WriteFaceFile(header, jpeg.Bytes(), fileName);
  return true;
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
