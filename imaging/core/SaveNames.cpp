// The names of a save's temporary files and pending copies.
#include "imaging/core/SaveNames.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <mutex>
#include <random>

namespace glamora {

namespace {

constexpr std::string_view kSaveMark = ".glamora-";
constexpr size_t kSaveDigits = 12;
constexpr size_t kKeptNameBytes = 200;

}  // namespace

std::string SaveFileName(const std::string& name, std::string_view end) {
  size_t keep = std::min(name.size(), kKeptNameBytes);
  while (keep > 0 && keep < name.size() && (uint8_t(name[keep]) & 0xC0) == 0x80) --keep;  // whole characters
  static std::mutex lock;
  static std::mt19937_64 random{std::random_device{}()};
  uint64_t value = 0;
  {
    const std::lock_guard<std::mutex> held(lock);
    value = random();
  }
  static const char kHex[] = "0123456789abcdef";
  std::string digits;
  for (size_t i = 0; i < kSaveDigits; ++i, value >>= 4) digits += kHex[value & 15];
  return "." + name.substr(0, keep) + std::string(kSaveMark) + digits + std::string(end);
}

bool IsSaveFileName(std::string_view name, std::string_view end) {
  const size_t tail = kSaveMark.size() + kSaveDigits + end.size();
  if (name.size() < 1 + tail || name.front() != '.') return false;
  const std::string_view rest = name.substr(name.size() - tail);
  if (rest.substr(0, kSaveMark.size()) != kSaveMark || rest.substr(rest.size() - end.size()) != end) return false;
  const std::string_view digits = rest.substr(kSaveMark.size(), kSaveDigits);
  return std::all_of(digits.begin(), digits.end(), [](char c) { return std::isxdigit(uint8_t(c)) != 0; });
}

}  // namespace glamora
