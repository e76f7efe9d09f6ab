#pragma once
// The one place where the face expert asks for a photograph to open: the
// picture open dialog with its preview, filtered to the formats the picture
// front reads.
#include <string>

class QWidget;

namespace glamora {

// Asks for an existing picture file, starting in `folder`; the chosen path,
// or the empty string when the user cancelled.
std::string AskPictureFile(QWidget* parent, const std::string& folder);

}  // namespace glamora
