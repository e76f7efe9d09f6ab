#pragma once
// Folder and file functions shared by the catalogue, the gallery and the
// start-up code. Paths are UTF-8 strings spelt with the platform separator;
// a folder argument may come with or without a trailing separator. File
// masks ("*.jpg") match letters of either case.
#include <string>
#include <vector>

namespace glamora {

constexpr char kPathSeparator = '/';

// Appends the separator unless the text already ends with it; empty stays empty.
void WithTrailingSeparator(std::string& folder);
std::string WithTrailingSeparatorOf(std::string folder);

// Prefixes 35 zeros and keeps the last `width` (1..35) characters:
// ZeroPad("7", 3) = "007", ZeroPad("1234", 3) = "234".
std::string ZeroPad(const std::string& digits, int width);

// The file name without folder and without the text from its last "." on;
// a name without "." gives the empty string.
std::string FileBaseName(const std::string& path);

// Names (without folder) of the regular, non-hidden files of folder that match
// mask. Returns false and leaves the list as it was when the folder does not
// exist. With sorted, the names are in case-insensitive collation order.
bool ListFiles(const std::string& folder, const std::string& mask, bool sorted, std::vector<std::string>& list);

int CountMatchingFiles(const std::string& folder, const std::string& mask);

// The last name of the sorted listing, or the empty string.
std::string LastMatchingFile(const std::string& folder, const std::string& mask);

// Deletes every matching entry but folders, hidden files included; failures
// are ignored.
void DeleteMatchingFiles(const std::string& folder, const std::string& mask);

// Copies all bytes of source over target (created or replaced; written beside
// it and renamed into place) when source exists and is named neither "." nor
// "..". Throws FileError when the copy cannot be made.
void CopyFileContents(const std::string& source, const std::string& target);

// The user's documents folder when it exists, else the home folder; with a
// trailing separator.
std::string DefaultDocumentsFolder();

// The highest gallery picture number: the base name of the last "*.jpg" of
// the gallery folder read as a decimal integer, or 0 when there is none or
// the name is not a decimal integer.
int GalleryCounterOf(const std::string& galleryFolder);

}  // namespace glamora
