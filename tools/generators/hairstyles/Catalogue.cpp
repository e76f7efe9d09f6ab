// The hairstyle catalogue: its categories and folders, each style drawn from
// a seed of its own, and the file names of the pictures.
#include <algorithm>

#include "tools/generators/hairstyles/StyleKit.h"
#include "tools/generators/hairstyles/Styles.h"

namespace glamora::hairgen {

std::vector<Category> Catalogue() {
  return {
      {"Short", "Short", ShortStyles()},    {"Medium", "Medium", MediumStyles()}, {"Long", "Long", LongStyles()},
      {"Char", "Special", SpecialStyles()}, {"Male", "Male", MaleStyles(), false},
  };
}

QImage DrawStyle(const Category& category, size_t index) {
  // Each picture has its own seed, so redrawing one style leaves the others as they were.
  uint64_t seed = 1469598103934665603ull;
  for (const char* c = category.folder; *c; ++c) seed = (seed ^ uint8_t(*c)) * 1099511628211ull;
  HairCanvas hair(seed * 1000 + index, category.naturalHairline);
  if (category.naturalHairline) NaturalHairline(hair);
  category.styles[index].draw(hair);
  return hair.Finish();
}

std::string HairstyleFileName(size_t index) {
  std::string digits = std::to_string(index);
  return std::string(3 - std::min<size_t>(3, digits.size()), '0') + digits + ".jpg";
}

}  // namespace glamora::hairgen
