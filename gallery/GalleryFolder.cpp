// The gallery folder: naming and numbering pictures, adding and deleting them.
#include "gallery/GalleryFolder.h"

#include <QDir>
#include <algorithm>
#include <filesystem>
#include <set>

#include "desktop/Dialogs.h"
#include "desktop/FileFunctions.h"
#include "imaging/components/ImgIO.h"

namespace glamora {

namespace {

// Every name in the folder, files, folders and hidden entries alike, in
// lower case: a name taken in any letter case is not free.
std::set<QString> TakenNames(const std::string& folder) {
  std::set<QString> names;
  const QDir dir(QString::fromStdString(folder));
  for (const QString& name :
       dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
    names.insert(name.toLower());
  }
  return names;
}

}  // namespace

std::string GalleryFileName(int64_t number) {
  const std::string digits = std::to_string(number);
  return (digits.size() < 4 ? ZeroPad(digits, 4) : digits) + ".jpg";
}

int64_t NextFreeGalleryNumber(int32_t counter, const std::function<bool(int64_t number)>& taken) {
  const int64_t next = std::max<int64_t>(int64_t(counter) + 1, 1);
  // Four digits while any such name is free: from the counter on, then the lowest.
  for (int64_t number = next; number <= kLastFourDigitNumber; ++number) {
    if (!taken(number)) return number;
  }
  for (int64_t number = 1; number < std::min<int64_t>(next, kLastFourDigitNumber + 1); ++number) {
    if (!taken(number)) return number;
  }
  int64_t number = std::max<int64_t>(next, kLastFourDigitNumber + 1);
  while (taken(number)) ++number;
  return number;
}

GalleryPicture NextGalleryPicture(const std::string& galleryFolder, int32_t counter) {
  const std::set<QString> names = TakenNames(galleryFolder);
  const int64_t number = NextFreeGalleryNumber(
      counter, [&](int64_t n) { return names.count(QString::fromStdString(GalleryFileName(n))) != 0; });
  return {int32_t(number), WithTrailingSeparatorOf(galleryFolder) + GalleryFileName(number)};
}

GalleryAddition AddGalleryPicture(const std::string& galleryFolder, int32_t counter, const Bitmap& work) {
  GalleryAddition addition;
  static_cast<GalleryPicture&>(addition) = NextGalleryPicture(galleryFolder, counter);
  // The caller's picture stays as it is: saving as JPEG may convert it.
  Bitmap picture;
  picture.Assign(work);
  TImgIO io;
  io.SetBitmap(&picture);
  io.Params.JpegQuality = kGalleryJpegQuality;
  addition.Written = io.SaveToFile(addition.FileName);
  return addition;
}

void DeleteGalleryPicture(const std::string& fileName) {
  std::error_code ignored;
  std::filesystem::remove(fileName, ignored);
}

bool DeleteAllGalleryPictures(const std::string& galleryFolder, int imageCount) {
  if (imageCount <= 0) {
    ShowMessage(kNoSavedGalleryPictures);
    return false;
  }
  if (MessageDlg(kDeleteAllGalleryQuestion, TMsgDlgType::mtWarning, mbYes | mbNo, mbNo) != mrYes) return false;
  // Every file goes, with or without an extension.
  DeleteMatchingFiles(galleryFolder, "*");
  return true;
}

}  // namespace glamora
