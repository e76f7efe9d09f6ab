#pragma once
// Choosing the file a save writes to: the user names it in a save dialog,
// and an existing file is replaced only after the replace question, whose
// default answer keeps the file.
#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace glamora {

constexpr const char* kReplaceExistingQuestion = "Do you replace existing file?";

// Asks for the target file: the dialog opens in folder with proposedName
// filled in. Returns the chosen path, or the empty string when cancelled.
using AskSaveFileName = std::function<std::string(const std::string& folder, const std::string& proposedName)>;

// The platform's save dialog with one filter. It asks no replace question of
// its own and adds no extension to a name typed without one.
AskSaveFileName SaveFileDialog(QWidget* parent, const QString& filter);

// Asks for a name until the user cancels or picks one that is free or may be
// replaced ("Do you replace existing file?": Yes replaces, No asks for a name
// again with the same proposal, Cancel stops). `complete`, when given, turns
// the name the dialog returned into the file to write (adding an extension,
// say) before it is checked. Returns the file, or the empty string when the
// user cancelled.
std::string ChooseSaveTarget(const AskSaveFileName& askFileName, const std::string& folder,
                             const std::string& proposedName,
                             const std::function<std::string(const std::string&)>& complete = {});

}  // namespace glamora
