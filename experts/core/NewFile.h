#pragma once
// Writing a file under a name that must not exist yet, as the catalogue's new
// entries are written: the file appears whole under its name or not at all,
// and an existing file of that name is never replaced, even one that another
// program creates while the content is being written.
#include <cstdint>
#include <string>
#include <vector>

namespace glamora {

// Writes `content` as the new file `path`. False, writing nothing, when the
// name is already taken (by a file, a folder or a link, even a dangling one).
// Throws FileError("Cannot create file <path>") when the file cannot be made:
// a missing or read-only folder, a full disk.
bool CreateNewFile(const std::string& path, const std::vector<uint8_t>& content);

}  // namespace glamora
