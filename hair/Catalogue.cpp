// The catalogue's category names and hairstyle file names.
#include "hair/Catalogue.h"

#include <array>

namespace glamora {

namespace {

constexpr char kSeparator = '/';

struct CategoryNames {
  const char* Folder;
  const char* Caption;
};

constexpr std::array<CategoryNames, kLastCategory> kCategories = {{
    {"Short", "Short"},
    {"Medium", "Medium"},
    {"Long", "Long"},
    {"Char", "Special"},
    {"Male", "Male"},
}};

bool ValidCategory(HairstyleCategory category) { return category >= kFirstCategory && category <= kLastCategory; }

}  // namespace

std::string CategoryName(HairstyleCategory category) {
  return ValidCategory(category) ? kCategories[size_t(category - 1)].Folder : "";
}

std::string CategoryCaption(HairstyleCategory category) {
  return ValidCategory(category) ? kCategories[size_t(category - 1)].Caption : "";
}

std::string CategoryFolderOf(const std::string& base, HairstyleCategory category) {
  return base + CategoryName(category);
}

std::string ProgramSubfolder(const std::string& programFolder, const std::string& name) {
  return programFolder + name + kSeparator;
}

std::string HairstyleNumber(int number) {
  // Past 999 the number is written in full: cut to three digits it would
  // name an entry that exists.
  if (number < 0 || number > 999) return std::to_string(number);
  const std::string padded = "000" + std::to_string(number);
  return padded.substr(padded.size() - 3);
}

std::string HairstyleFileName(const std::string& programFolder, const std::string& folderName, int number) {
  return ProgramSubfolder(programFolder, folderName) + HairstyleNumber(number) + ".jpg";
}

}  // namespace glamora
