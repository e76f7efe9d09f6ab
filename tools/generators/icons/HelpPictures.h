#pragma once
// The pictures of the help pages: the tool bar icons at a readable size and
// simple drawn illustrations of the windows and of the make-up regions.
#include <QImage>
#include <QString>
#include <functional>
#include <vector>

namespace glamora::icons {

struct HelpPicture {
  QString FileName;  // under data/Help/pictures/
  std::function<QImage()> Render;
};

std::vector<HelpPicture> AllHelpPictures();

}  // namespace glamora::icons
