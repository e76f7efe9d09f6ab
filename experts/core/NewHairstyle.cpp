// The new catalogue picture: its category, its number, and its writing.
#include "experts/core/NewHairstyle.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <unordered_set>

#include "experts/core/Carving.h"
#include "experts/core/NewFile.h"
#include "imaging/components/ImgIO.h"
#include "imaging/core/Stream.h"

namespace glamora {

namespace {

namespace fs = std::filesystem;

constexpr std::array<const char*, kSaveHairItemCount> kSaveHairCaptions = {"Short", "Meddian", "Long", "Special",
                                                                           "Male"};
// Numbers of three digits.
constexpr int kThreeDigitNumbers = 1000;
// Other programs taking one new name after another are outlasted.
constexpr int kSaveAttempts = 64;

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return lower;
}

struct CategoryFolderNames {
  int Pictures = 0;                      // what CountMatchingFiles(folder, "*.jpg") counts
  std::unordered_set<std::string> Taken;  // every entry, in lower case
};

CategoryFolderNames ReadCategoryFolder(const std::string& folder) {
  CategoryFolderNames names;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    const std::string lower = Lower(name);
    names.Taken.insert(lower);
    std::error_code statusError;
    const bool hidden = name.front() == '.';
    if (!hidden && lower.ends_with(".jpg") && fs::is_regular_file(it->status(statusError))) ++names.Pictures;
  }
  return names;
}

std::string PictureName(int number) { return HairstyleNumber(number) + ".jpg"; }

std::string InFolder(const std::string& folder, const std::string& name) {
  return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace

std::string SaveHairItemCaption(int item) {
  return item >= 0 && item < kSaveHairItemCount ? kSaveHairCaptions[size_t(item)] : "";
}

HairstyleCategory CategoryOfSaveHairItem(int item) {
  return item >= 0 && item < kSaveHairItemCount ? item + 1 : 0;
}

HairstyleCategory CategoryByCaption(std::string_view caption) {
  for (HairstyleCategory category = kFirstCategory; category <= kLastCategory; ++category) {
    if (Lower(CategoryCaption(category)) == Lower(caption)) return category;
  }
  return 0;
}

int NewHairstyleNumber(const std::string& categoryFolder) {
  const CategoryFolderNames names = ReadCategoryFolder(categoryFolder);
  const auto free = [&](int number) { return !names.Taken.contains(PictureName(number)); };
  for (int number = names.Pictures; number < kThreeDigitNumbers; ++number) {
    if (free(number)) return number;
  }
  for (int number = 0; number < std::min(names.Pictures, kThreeDigitNumbers); ++number) {
    if (free(number)) return number;
  }
  int number = kThreeDigitNumbers;
  while (!free(number)) ++number;
  return number;
}

std::string NewHairstyleFile(const std::string& categoryFolder) {
  return InFolder(categoryFolder, PictureName(NewHairstyleNumber(categoryFolder)));
}

std::string SaveNewHairstyle(const Bitmap& picture, const std::string& categoryFolder) {
  if (picture.Empty()) return {};
  Bitmap copy;
  copy.Assign(picture);
  if (copy.Format() != PixelFormat::Bits24) copy.ConvertTo24();
  TImgIO io;
  io.SetBitmap(&copy);
  io.Params.JpegQuality = kHairstyleJpegQuality;
  io.Params.JpegProgressive = false;
  MemoryStream jpeg;
  if (!io.SaveToStreamJpeg(jpeg)) throw FileError("Cannot create file " + NewHairstyleFile(categoryFolder));
  // Another program may take the name between choosing and writing it: the
  // next free name is chosen again.
  std::string path;
  for (int attempt = 0; attempt < kSaveAttempts; ++attempt) {
    path = NewHairstyleFile(categoryFolder);
    if (CreateNewFile(path, jpeg.Bytes())) return path;
  }
  throw FileError("Cannot create file " + path);
}

std::string CutAndSaveHairstyle(Bitmap& photo, const PixelRect& photoBounds, const PixelRect& templateBounds,
                                const std::string& categoryFolder, const std::function<void(Bitmap& cut)>& finish) {
  Bitmap hair = PhotographUnderTemplate(photo, photoBounds, templateBounds);
  if (finish) finish(hair);
  const std::string written = SaveNewHairstyle(hair, categoryFolder);
  if (!written.empty()) photo.Fill(clWhite);
  return written;
}

}  // namespace glamora
