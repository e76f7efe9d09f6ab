#pragma once
// The catalogue: five categories, each a list of named styles. A style is one
// short function that lays its hair on a HairCanvas with the primitives and
// builders.
#include <QImage>
#include <string>
#include <vector>

#include "tools/generators/hairstyles/HairCanvas.h"

namespace glamora::hairgen {

struct Style {
  const char* name;
  void (*draw)(HairCanvas& hair);
};

struct Category {
  const char* folder;  // the folder beside the program
  const char* shownAs;
  std::vector<Style> styles;
  bool naturalHairline = true;  // false: the styles draw their own hairlines
};

std::vector<Style> ShortStyles();
std::vector<Style> MediumStyles();
std::vector<Style> LongStyles();
std::vector<Style> SpecialStyles();
std::vector<Style> MaleStyles();

std::vector<Category> Catalogue();

// The catalogue picture of one style; the same every time it is drawn.
QImage DrawStyle(const Category& category, size_t index);

// The large picture of one style: the same strands drawn at the large scale.
LargeHair DrawLargeStyle(const Category& category, size_t index);

// "000.jpg", "001.jpg", ...
std::string HairstyleFileName(size_t index);
// "000.png", "001.png", ...
std::string LargeHairstyleFileName(size_t index);

}  // namespace glamora::hairgen
