#pragma once
// The extension that decides how a file is read: the part of the file name
// (after its folder) from the last dot on, lower-cased. A name that is only
// an extension (".png") has one; a dot in a folder name does not count.
#include <cctype>
#include <string>
#include <string_view>

namespace glamora {

inline std::string LowerExtension(std::string_view path) {
  const size_t slash = path.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return std::string();
  std::string ext(name.substr(dot));
  for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

}  // namespace glamora
