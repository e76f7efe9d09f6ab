#pragma once
// The gallery folder's file rules: how pictures are named and numbered, how a
// result is added, and how pictures are deleted. The gallery exists only as
// these files; the main window keeps the running counter.
#include <cstdint>
#include <functional>
#include <string>

#include "imaging/core/Bitmap.h"

namespace glamora {

constexpr const char* kNoSavedGalleryPictures = "There is not saved gallery pictures";
constexpr const char* kNoSelectedGalleryPicture = "There is not a selected gallery picture";
constexpr const char* kDeleteAllGalleryQuestion = "Do you delete all gallery images?";

constexpr int kGalleryJpegQuality = 90;

// "0001.jpg" … "9999.jpg"; larger numbers keep all their digits ("10000.jpg")
// instead of being cut to four.
std::string GalleryFileName(int64_t number);

// The largest number a four-digit gallery name holds.
constexpr int32_t kLastFourDigitNumber = 9999;

struct GalleryPicture {
  int32_t Number = 0;
  std::string FileName;  // full path
};

// The picture that the next add writes: number counter + 1, or when a file of
// the folder already has that name (in either letter case) the next number
// whose name is free; past 9999 the lowest free four-digit number, and only
// when all of them are taken a longer one. A new picture therefore never
// replaces an existing one, and names keep four digits while they can.
GalleryPicture NextGalleryPicture(const std::string& galleryFolder, int32_t counter);

// The number NextGalleryPicture takes, with `taken` telling whether the
// gallery name of a number is in use.
int64_t NextFreeGalleryNumber(int32_t counter, const std::function<bool(int64_t number)>& taken);

struct GalleryAddition : GalleryPicture {
  bool Written = false;  // false when the work picture could not be coded (an empty one)
};

// Writes the composed work picture as the next gallery picture, JPEG quality
// 90. When it was written, its number is the new counter; otherwise the
// counter stays. Throws FileError when the file cannot be created.
GalleryAddition AddGalleryPicture(const std::string& galleryFolder, int32_t counter, const Bitmap& work);

// Deletes one picture file; a failure is not reported. The counter is not
// changed, so the number is not handed out again in this run.
void DeleteGalleryPicture(const std::string& fileName);

// The "Delete All" command: with no picture shown, says so; otherwise asks
// and on Yes deletes every file of the folder, pictures or not. Returns true
// when the files were deleted: the caller refills the view and sets the
// counter to 0.
bool DeleteAllGalleryPictures(const std::string& galleryFolder, int imageCount);

}  // namespace glamora
