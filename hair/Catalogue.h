#pragma once
// The hairstyle catalogue's naming: five categories numbered 1 to 5, each a
// folder beside the program, and one picture per hairstyle named by a
// three-digit number ("000.jpg", "001.jpg", ...).
#include <string>

namespace glamora {

// A category number, 1..5; the category selector's position plus one.
using HairstyleCategory = int;

constexpr HairstyleCategory kFirstCategory = 1;
constexpr HairstyleCategory kLastCategory = 5;
// The random make-over draws from the first four categories ("Male" never)
// and hairstyle numbers below this.
constexpr HairstyleCategory kRandomCategories = 4;
constexpr int kRandomHairstyles = 30;

// The folder name of a category: "Short", "Medium", "Long", "Char", "Male";
// the empty string for any other number.
std::string CategoryName(HairstyleCategory category);

// How the category selector shows a category: as its folder name, except
// "Special" for the "Char" folder; empty for any other number.
std::string CategoryCaption(HairstyleCategory category);

// base + CategoryName(category), no separator added.
std::string CategoryFolderOf(const std::string& base, HairstyleCategory category);

// programFolder (with its trailing separator) + name + separator.
std::string ProgramSubfolder(const std::string& programFolder, const std::string& name);

// The number as three decimal digits with leading zeros; a number past 999
// in all its digits ("1000"), never cut to name another entry.
std::string HairstyleNumber(int number);

// ProgramSubfolder of the folder name + HairstyleNumber(number) + ".jpg".
std::string HairstyleFileName(const std::string& programFolder, const std::string& folderName, int number);

}  // namespace glamora
