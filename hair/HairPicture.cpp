// Reading, whitening and tinting a hairstyle picture.
#include "hair/HairPicture.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "imaging/components/ImgIO.h"
#include "imaging/core/FileExtension.h"
#include "imaging/core/Intensity.h"
#include "imaging/core/PixelRect.h"
#include "imaging/core/Threshold.h"

namespace glamora {

namespace {

// Every channel above 180 becomes 255 and 0 stays 0: a light background
// turns pure white.
constexpr ThresholdLimits kWhitening{Rgb(0, 0, 0), Rgb(180, 180, 180), Rgb(0, 0, 0), Rgb(255, 255, 255)};

// The pixel whose colour becomes the see-through colour.
constexpr int kBackgroundProbe = 5;

bool IsFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::string FullHairPath(const std::string& name) {
  if (name.empty()) return {};
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(name, error).lexically_normal();
  std::string text = full.string();
  // A trailing separator names the same folder; it is dropped like "." is.
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

bool AcceptedHairExtension(const std::string& fileName) {
  const std::string extension = LowerExtension(fileName).substr(0, 4);
  return extension == ".bmp" || extension == ".jpg" || extension == ".tif";
}

THairLoad ReadHairstyle(const std::string& fileName, Bitmap& untinted, const DecodeLimits& limits) {
  if (fileName.empty() || !IsFile(fileName)) return THairLoad::NoFile;
  if (!AcceptedHairExtension(fileName)) return THairLoad::Refused;
  Bitmap picture;
  TImgIO io;
  io.SetBitmap(&picture);
  io.Params.Limits = limits;
  if (!io.LoadFromFile(fileName)) return THairLoad::Unreadable;

  Threshold(picture, PixelRect::Of(picture), kWhitening);
  // A picture smaller than the probe point gives the colour of its nearest pixel.
  const int probeX = std::clamp(kBackgroundProbe, 0, std::max(0, picture.Width() - 1));
  const int probeY = std::clamp(kBackgroundProbe, 0, std::max(0, picture.Height() - 1));
  picture.TransparentColor = picture.Pixel(probeX, probeY);
  picture.Transparent = true;
  untinted = std::move(picture);
  return THairLoad::Loaded;
}

void TintHair(const Bitmap& untinted, THairColour colour, Bitmap& hair) {
  hair.Assign(untinted);
  IntensityRgbAll(hair, PixelRect::Of(hair), colour.Red, colour.Green, colour.Blue);
}

}  // namespace glamora
