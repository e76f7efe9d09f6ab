// Bringing a user's data folder up to date with the shipped data, guided by
// the record of what was shipped to it before.
#include "datafolder/ShippedFiles.h"

#include <sys/stat.h>

#include <filesystem>
#include <sstream>
#include <system_error>
#include <vector>

#include "imaging/core/Stream.h"

namespace glamora {

namespace fs = std::filesystem;

namespace {

// The gallery is the user's own even when the shipped data is a program
// folder that was run from.
bool IsShippable(const fs::path& relative) {
  const std::string first = relative.begin()->string();
  return first != "Preview" && first != kShippedRecordName;
}

// Size and modification time of a regular file; false when it is none.
bool StatShipped(const std::string& path, ShippedEntry& entry) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  entry.Size = uint64_t(info.st_size);
  entry.Time = int64_t(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
  return true;
}

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::symlink_status(path, error).type() != fs::file_type::not_found && !error;
}

uint64_t HashOf(const std::vector<uint8_t>& bytes) { return ContentHash(bytes.data(), bytes.size()); }

// The user's file's hash, or false when it cannot be read.
bool HashOfFile(const std::string& path, uint64_t& hash) {
  try {
    hash = HashOf(ReadFileBytes(path, UINT64_MAX));
    return true;
  } catch (const FileError&) {
    return false;
  }
}

// Writes the shipped bytes under the user's name, its folders made first.
void Install(const std::vector<uint8_t>& bytes, const fs::path& target) {
  std::error_code error;
  fs::create_directories(target.parent_path(), error);
  if (error) throw FileError("Cannot create folder " + target.parent_path().string());
  WriteFileAtomically(target.string(), bytes.data(), bytes.size());
}

}  // namespace

uint64_t ContentHash(const uint8_t* data, size_t size) {
  uint64_t hash = 14695981039346656037ull;
  for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 1099511628211ull;
  return hash;
}

std::string FormatShippedRecord(const ShippedRecord& record) {
  std::ostringstream text;
  for (const auto& [path, entry] : record) {
    text << std::hex << entry.Hash << std::dec << ' ' << entry.Size << ' ' << entry.Time << ' ' << path << '\n';
  }
  return text.str();
}

ShippedRecord ParseShippedRecord(const std::string& text) {
  ShippedRecord record;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    ShippedEntry entry;
    if (!(fields >> std::hex >> entry.Hash >> std::dec >> entry.Size >> entry.Time)) continue;
    if (fields.get() != ' ') continue;
    std::string path;
    std::getline(fields, path);
    // Only paths inside the folder: a damaged record must not lead anywhere else.
    const fs::path relative(path);
    if (path.empty() || relative.is_absolute() || relative.lexically_normal().string().starts_with("..")) continue;
    record[path] = entry;
  }
  return record;
}

SyncOutcome SyncShippedFiles(const std::string& shippedFolder, const std::string& userFolder) {
  SyncOutcome outcome;
  const std::string recordPath = userFolder + kShippedRecordName;
  ShippedRecord record;
  if (Exists(recordPath)) {
    try {
      const std::vector<uint8_t> bytes = ReadFileBytes(recordPath, UINT64_MAX);
      record = ParseShippedRecord(std::string(bytes.begin(), bytes.end()));
    } catch (const FileError& error) {
      // Without the record every shipped file would look new: only copies
      // into free names would follow, but deleted files would come back.
      outcome.Error = error.what();
      return outcome;
    }
  }
  const ShippedRecord before = record;

  std::error_code error;
  fs::recursive_directory_iterator walk(shippedFolder, error), end;
  if (error) {
    outcome.Error = "Cannot open folder " + shippedFolder;
    return outcome;
  }
  try {
    for (; walk != end; walk.increment(error)) {
      if (error) throw FileError("Cannot list folder " + shippedFolder);
      if (!walk->is_regular_file(error) || walk->is_symlink(error)) continue;
      const fs::path relative = walk->path().lexically_relative(shippedFolder);
      if (!IsShippable(relative)) continue;
      const std::string name = relative.generic_string();
      const std::string source = walk->path().string();
      const std::string target = userFolder + name;

      ShippedEntry shipped;
      if (!StatShipped(source, shipped)) continue;
      const auto known = record.find(name);
      // The same shipped file as last time: whatever the user did with it stands.
      if (known != record.end() && known->second.Size == shipped.Size && known->second.Time == shipped.Time) continue;

      const std::vector<uint8_t> bytes = ReadFileBytes(source, UINT64_MAX);
      shipped.Hash = HashOf(bytes);
      if (known == record.end()) {
        // Shipped for the first time: a file the user made under its name
        // stays. One with the shipped bytes is taken as shipped (a copy
        // made by a run that ended before it wrote the record).
        uint64_t userHash = 0;
        if (Exists(target)) {
          if (!HashOfFile(target, userHash) || userHash != shipped.Hash) {
            ++outcome.Kept;
            continue;
          }
        } else {
          Install(bytes, target);
          ++outcome.Copied;
        }
      } else if (known->second.Hash != shipped.Hash) {
        // A new version: it replaces only the copy the user left as shipped.
        uint64_t userHash = 0;
        if (Exists(target) && HashOfFile(target, userHash) && userHash == known->second.Hash) {
          Install(bytes, target);
          ++outcome.Copied;
        } else {
          ++outcome.Kept;
        }
      }
      record[name] = shipped;
    }
    if (record != before) {
      const std::string text = FormatShippedRecord(record);
      WriteFileAtomically(recordPath, reinterpret_cast<const uint8_t*>(text.data()), text.size());
    }
  } catch (const FileError& failure) {
    outcome.Error = failure.what();
  }
  return outcome;
}

}  // namespace glamora
