#pragma once
// The one place where the experts ask for a picture file to open: the
// system's file dialog, filtered to the formats the picture front reads.
#include <QString>
#include <string>

class QWidget;

namespace glamora {

// The dialog's filters: "All graphics" with every extension the front reads,
// then one entry per format, each matching either letter case.
QStringList PictureFileFilters();

// Asks for an existing picture file, starting in `folder`; the chosen path,
// or the empty string when the user cancelled.
std::string AskPictureFile(QWidget* parent, const std::string& folder);

}  // namespace glamora
