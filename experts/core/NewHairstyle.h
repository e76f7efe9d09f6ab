#pragma once
// A new entry of the hairstyle catalogue as the add-hairstyle expert makes
// it: the category dialog's items and the categories they save into, the
// number and name a new picture takes in its category folder, and cutting
// the photograph under the template and writing it there.
#include <functional>
#include <string>
#include <string_view>

#include "hair/Catalogue.h"
#include "imaging/core/Bitmap.h"
#include "imaging/core/PixelRect.h"

namespace glamora {

// New hairstyle pictures are baseline JPEG pictures of this quality.
constexpr int kHairstyleJpegQuality = 90;

// The category dialog's items, top to bottom: "Short", "Meddian", "Long",
// "Special", "Male"; the empty string outside 0..4.
constexpr int kSaveHairItemCount = 5;
std::string SaveHairItemCaption(int item);
// The category an item saves into: the item + 1, so that "Meddian" saves
// into the "Medium" folder and "Special" into "Char"; 0 outside 0..4.
HairstyleCategory CategoryOfSaveHairItem(int item);

// The category whose name the category selector shows ("Short", "Medium",
// "Long", "Special", "Male"), in any letter case; 0 for any other text.
HairstyleCategory CategoryByCaption(std::string_view caption);

// The number a new picture of the category folder takes. By the catalogue's
// rule it is the count of the folder's catalogue pictures (regular,
// non-hidden "*.jpg" files in either letter case). When that number's file
// exists (a deletion left a gap) or the count passes 999, the next free
// number after it is taken, then the first free one from 0: names stay
// three digits while any is free, and only then go on with 1000. A name is
// taken in any letter case, by any kind of entry.
int NewHairstyleNumber(const std::string& categoryFolder);

// categoryFolder + "/" + HairstyleNumber(NewHairstyleNumber(...)) + ".jpg".
std::string NewHairstyleFile(const std::string& categoryFolder);

// Writes the picture as a new hairstyle of the category folder: a baseline
// JPEG of quality 90 with 24 bits per pixel, under the name NewHairstyleFile
// gives at the moment of writing, never over an existing file, and never
// half-written. Returns the path written; an empty picture writes nothing
// and returns the empty string. Throws FileError("Cannot create file
// <path>") when the folder is missing or the file cannot be made.
std::string SaveNewHairstyle(const Bitmap& picture, const std::string& categoryFolder);

// The expert's Save: what the template covers of the photograph as shown
// (the photograph resampled to its shown size, which it keeps; white where it
// does not reach), written with SaveNewHairstyle; then the photograph is
// blanked white, keeping its size. Returns the path written. When writing
// fails the FileError passes and the photograph is not blanked.
// `finish`, when given, works on the cut picture before it is written.
std::string CutAndSaveHairstyle(Bitmap& photo, const PixelRect& photoBounds, const PixelRect& templateBounds,
                                const std::string& categoryFolder,
                                const std::function<void(Bitmap& cut)>& finish = {});

}  // namespace glamora
