#pragma once
// The extension that decides how a file is read: the part of the file name
// (after its folder) from the last dot on. A name that is only an extension
// (".png") has one; a dot in a folder name does not count. Readers compare it
// lower-cased; a few rules compare it as spelled.
#include <cctype>
#include <string>
#include <string_view>

namespace glamora {

// As spelled, with its dot; empty when the name has no dot.
inline std::string Extension(std::string_view path) {
  const size_t slash = path.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return std::string();
  return std::string(name.substr(dot));
}

inline std::string LowerExtension(std::string_view path) {
  std::string ext = Extension(path);
  for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

}  // namespace glamora
