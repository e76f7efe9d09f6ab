// Finding and reading the large companion of a catalogue hairstyle.
#include "hair/LargeHairstyle.h"

#include <vector>

#include "codecs/Png.h"
#include "hair/Catalogue.h"
#include "imaging/core/Stream.h"

namespace glamora {

namespace {

bool IsCategoryFolder(const std::string& name) {
  for (HairstyleCategory category = kFirstCategory; category <= kLastCategory; ++category) {
    if (name == CategoryName(category)) return true;
  }
  return false;
}

}  // namespace

std::string LargeHairstylePath(const std::string& cataloguePicture) {
  const size_t fileStart = cataloguePicture.rfind('/');
  if (fileStart == std::string::npos || fileStart == 0) return {};
  const size_t folderStart = cataloguePicture.rfind('/', fileStart - 1);
  const size_t nameStart = folderStart == std::string::npos ? 0 : folderStart + 1;
  const std::string folder = cataloguePicture.substr(nameStart, fileStart - nameStart);
  if (!IsCategoryFolder(folder)) return {};
  const std::string file = cataloguePicture.substr(fileStart + 1);
  const size_t dot = file.rfind('.');
  const std::string stem = file.substr(0, dot);
  if (stem.empty()) return {};
  return cataloguePicture.substr(0, nameStart) + folder + "Large/" + stem + ".png";
}

bool ReadLargeHairstyle(const std::string& fileName, HairWithAlpha& hair, const DecodeLimits& limits) {
  std::vector<uint8_t> bytes;
  try {
    bytes = ReadFileBytes(fileName);
  } catch (const FileError&) {
    return false;
  }
  HairWithAlpha read;
  TImgIOParams params;
  params.Limits = limits;
  size_t consumed = 0;
  if (codec::DecodePngWithAlpha(bytes, read.Colour, read.Alpha, params, ProgressRecord(), consumed) !=
      PictureStatus::Ok) {
    return false;
  }
  hair = std::move(read);
  return true;
}

}  // namespace glamora
