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

namespace {

// Each picture has its own seed, so redrawing one style leaves the others as
// they were, and both sizes of a style draw the same strands.
void Draw(HairCanvas& hair, const Category& category, size_t index) {
  if (category.naturalHairline) NaturalHairline(hair);
  category.styles[index].draw(hair);
}

uint64_t StyleSeed(const Category& category, size_t index) {
  uint64_t seed = 1469598103934665603ull;
  for (const char* c = category.folder; *c; ++c) seed = (seed ^ uint8_t(*c)) * 1099511628211ull;
  return seed * 1000 + index;
}

std::string ThreeDigits(size_t index) {
  std::string digits = std::to_string(index);
  return std::string(3 - std::min<size_t>(3, digits.size()), '0') + digits;
}

}  // namespace

QImage DrawStyle(const Category& category, size_t index) {
  HairCanvas hair(StyleSeed(category, index), category.naturalHairline);
  Draw(hair, category, index);
  return hair.Finish();
}

LargeHair DrawLargeStyle(const Category& category, size_t index) {
  HairCanvas hair(StyleSeed(category, index), category.naturalHairline, HairCanvas::kLargeScale);
  Draw(hair, category, index);
  return hair.FinishLarge();
}

std::string HairstyleFileName(size_t index) { return ThreeDigits(index) + ".jpg"; }

std::string LargeHairstyleFileName(size_t index) { return ThreeDigits(index) + ".png"; }

}  // namespace glamora::hairgen
