// Folder and file functions over Qt's directory listing and the collation of names.
#include "desktop/FileFunctions.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>
#include <filesystem>

#include "imaging/core/FileExtension.h"
#include "imaging/core/Stream.h"

namespace glamora {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

bool Matches(const QRegularExpression& pattern, const QString& name) {
  return pattern.match(name).hasMatch();
}

QRegularExpression MaskPattern(const std::string& mask) {
  return QRegularExpression(QRegularExpression::wildcardToRegularExpression(Q(mask)),
                            QRegularExpression::CaseInsensitiveOption);
}

// Regular, non-hidden files of an existing folder that match the mask.
std::vector<std::string> MatchingFiles(const QDir& dir, const std::string& mask) {
  const QRegularExpression pattern = MaskPattern(mask);
  std::vector<std::string> names;
  for (const QFileInfo& info : dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort)) {
    if (info.isHidden() || !info.isFile()) continue;
    if (Matches(pattern, info.fileName())) names.push_back(info.fileName().toStdString());
  }
  return names;
}

void SortByCollation(std::vector<std::string>& names) {
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::stable_sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
    return collator.compare(Q(a), Q(b)) < 0;
  });
}

}  // namespace

void WithTrailingSeparator(std::string& folder) {
  if (!folder.empty() && folder.back() != kPathSeparator) folder += kPathSeparator;
}

std::string WithTrailingSeparatorOf(std::string folder) {
  WithTrailingSeparator(folder);
  return folder;
}

std::string ZeroPad(const std::string& digits, int width) {
  width = std::clamp(width, 1, 35);
  const std::string padded = std::string(35, '0') + digits;
  return padded.substr(padded.size() - size_t(width));
}

std::string FileBaseName(const std::string& path) {
  const size_t slash = path.find_last_of(kPathSeparator);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::string extension = Extension(name);
  return extension.empty() ? std::string() : name.substr(0, name.size() - extension.size());
}

bool ListFiles(const std::string& folder, const std::string& mask, bool sorted, std::vector<std::string>& list) {
  const QDir dir(Q(folder));
  if (folder.empty() || !dir.exists()) return false;
  list = MatchingFiles(dir, mask);
  if (sorted) SortByCollation(list);
  return true;
}

int CountMatchingFiles(const std::string& folder, const std::string& mask) {
  std::vector<std::string> names;
  return ListFiles(folder, mask, false, names) ? int(names.size()) : 0;
}

std::string LastMatchingFile(const std::string& folder, const std::string& mask) {
  std::vector<std::string> names;
  if (!ListFiles(folder, mask, true, names) || names.empty()) return {};
  return names.back();
}

void DeleteMatchingFiles(const std::string& folder, const std::string& mask) {
  const QDir dir(Q(folder));
  if (folder.empty() || !dir.exists()) return;
  // Every entry but folders goes, hidden ones too: unlike the listing, the
  // deletion leaves nothing behind that the mask names.
  const QRegularExpression pattern = MaskPattern(mask);
  const std::string base = WithTrailingSeparatorOf(folder);
  for (const QFileInfo& info :
       dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort)) {
    if (info.isDir() && !info.isSymLink()) continue;
    if (!Matches(pattern, info.fileName())) continue;
    std::error_code ignored;
    std::filesystem::remove(base + info.fileName().toStdString(), ignored);
  }
}

void CopyFileContents(const std::string& source, const std::string& target) {
  const std::string name = std::filesystem::path(source).filename().string();
  if (name == "." || name == ".." || !QFileInfo(Q(source)).isFile()) return;
  const std::vector<uint8_t> bytes = ReadFileBytes(source);
  WriteFileAtomically(target, bytes.data(), bytes.size());
}

std::string DefaultDocumentsFolder() {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!documents.isEmpty() && QDir(documents).exists()) return WithTrailingSeparatorOf(documents.toStdString());
  return WithTrailingSeparatorOf(QDir::homePath().toStdString());
}

int GalleryCounterOf(const std::string& galleryFolder) {
  const std::string base = FileBaseName(LastMatchingFile(galleryFolder, "*.jpg"));
  if (base.empty() || base.size() > 9 || !std::all_of(base.begin(), base.end(), ::isdigit)) return 0;
  return std::stoi(base);
}

}  // namespace glamora
