// Face pictures, headers and face files for tests.
#include "tests/support/FaceFixtures.h"

#include <stdexcept>

#include "codecs/Bmp.h"
#include "face/FaceFile.h"
#include "face/FaceSeal.h"
#include "face/StandardFace.h"
#include "imaging/core/Stream.h"

namespace glamora::test {

namespace sf = standard_face;

Bitmap StandardFacePicture(TColor skin) {
  Bitmap picture(sf::kWidth, sf::kHeight);
  picture.Fill(skin);
  return picture;
}

namespace {

void SetRectangle(FaceRegion& region, int left, int top, int right, int bottom) {
  region = FaceRegion{};
  region.Valid = 1;
  region.Count = 4;
  region.Points[0] = {left, top};
  region.Points[1] = {right, top};
  region.Points[2] = {right, bottom};
  region.Points[3] = {left, bottom};
}

}  // namespace

FaceHeader RectangleRegionsHeader() {
  FaceHeader h;
  SetRectangle(h.Region(1), sf::kLeftEyeX - 14, sf::kEyeLineY - 8, sf::kLeftEyeX + 14, sf::kEyeLineY + 8);
  SetRectangle(h.Region(2), sf::kRightEyeX - 14, sf::kEyeLineY - 8, sf::kRightEyeX + 14, sf::kEyeLineY + 8);
  SetRectangle(h.Region(3), sf::kCentreX - 20, sf::kMouthY - 8, sf::kCentreX + 20, sf::kMouthY + 8);
  return h;
}

FaceRegion OutlinedRegion(std::initializer_list<FacePoint> vertices) {
  FaceRegion region;
  region.Valid = 1;
  region.Count = int32_t(vertices.size());
  size_t i = 0;
  for (const FacePoint& p : vertices) region.Points[i++] = p;
  return region;
}

std::string WriteTestFace(const std::string& path, const Bitmap& picture, const FaceHeader& header) {
  TImgIOParams params;
  MemoryStream coded;
  if (codec::BmpCodec().Encode(picture, params, ProgressRecord{}, coded) != PictureStatus::Ok) {
    throw std::runtime_error("BMP encode");
  }
  const std::vector<uint8_t>& bmp = coded.Bytes();
  if (FaceFileKindOf(path) == FaceFileKind::Enciphered) {
    SealFaceFile(header, bmp, path);
  } else {
    std::vector<uint8_t> file(FaceHeader::kByteSize);
    header.Write(file.data());
    file.insert(file.end(), bmp.begin(), bmp.end());
    WriteFileAtomically(path, file.data(), file.size());
  }
  return path;
}

}  // namespace glamora::test
