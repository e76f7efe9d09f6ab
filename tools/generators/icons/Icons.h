#pragma once
// Every picture of the program's tool bars, tabs, speed buttons and menus:
// one entry per picture, with the set (image list) it belongs to, its key in
// that set (the image index, or a name for the pictures that no image list
// holds), the command it stands for and how to draw it.
#include <QPainter>
#include <QString>
#include <vector>

namespace glamora::icons {

struct IconSet {
  const char* Folder;  // under resources/icons/
  int Width;
  int Height;
  const char* Window;  // who shows the pictures of this set, for the README
};

struct Icon {
  const IconSet* Set;
  QString Key;          // file name without ".png"
  const char* Control;  // control or menu entry that shows it
  const char* Command;  // hint or caption of that control
  void (*Draw)(QPainter& p);  // on the 32 × 32 design grid
};

const std::vector<IconSet>& IconSets();
const std::vector<Icon>& AllIcons();

// Renders one picture at the set's size times `scale` (1, or 2 for high-DPI screens).
QImage Render(const Icon& icon, int scale);

}  // namespace glamora::icons
