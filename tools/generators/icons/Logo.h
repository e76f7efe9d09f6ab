#pragma once
// The product logo of the About box: a face in profile with a flowing stroke
// of hair and the word "Glamora", on a see-through background.
#include <QImage>

namespace glamora::icons {

// 377 × 53 times `scale`: the band at the top of the About box.
QImage RenderLogo(int scale);

// The program's icon for the desktop's menus, size × size: the logo's face
// and hair on a rounded plum-edged tile.
QImage RenderAppIcon(int size);

}  // namespace glamora::icons
