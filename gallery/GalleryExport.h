#pragma once
// Export of a gallery picture: the user names a file, and the stored JPEG is
// copied there byte for byte.
#include <cstdint>
#include <string>

#include "gallery/SaveTarget.h"

class QWidget;

namespace glamora {

// What the main window remembers between exports of one run.
struct ExportState {
  int32_t Counter = 1;  // number in the proposed name
  std::string Folder;   // initial folder of the save dialog, trailing separator
};

// "MyFace" + counter + ".jpg".
std::string ProposedExportName(int32_t counter);

using AskExportFileName = AskSaveFileName;

// The platform's save dialog with the JPEG filter. It asks no replace
// question of its own and adds no extension to a name typed without one.
AskExportFileName ExportFileDialog(QWidget* parent);

// Asks for a name until the user cancels or picks a name that is free or may
// be replaced ("Do you replace existing file?": Yes replaces, No asks for a
// name again with the same proposal, Cancel stops). Then copies source to it
// and moves the state on: the counter by one, the folder to the chosen
// file's. Returns false when the user cancelled. A source that has vanished
// copies nothing. Throws FileError when the target cannot be written.
bool ExportGalleryPicture(const std::string& source, ExportState& state, const AskExportFileName& askFileName);

}  // namespace glamora
