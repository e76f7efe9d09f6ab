#pragma once
// The per-user settings: one key, "Software/Orvane/Glamora", with the string
// values "InstallDir" and "FaceFile", and the limits of the pictures the
// window opens, "WindowPictureMaxSide" and "WindowPictureMaxPixels". A
// missing value reads as "".
#include <memory>
#include <string>

#include "imaging/core/ImgIOParams.h"

class QSettings;

namespace glamora {

class SettingsStore {
 public:
  // Opens the key, creating it when it does not exist yet.
  SettingsStore();
  ~SettingsStore();
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  std::string ReadString(const std::string& name) const;
  void WriteString(const std::string& name, const std::string& value);
  // Writes pending values to the store.
  void Close();

 private:
  std::unique_ptr<QSettings> settings_;
};

// Start-up steps over the settings: "InstallDir" is rewritten when it differs
// from programFolder (exact comparison), and the stored "FaceFile" is
// returned, or the default model face of programFolder when that file does
// not exist (the empty name included).
std::string ReadStartupSettings(const std::string& programFolder);

// Closing: stores the current face file.
void WriteClosingSettings(const std::string& faceFileName);

// The largest faces, hairstyles and gallery pictures the window opens: the
// values "WindowPictureMaxSide" (pixels a side) and "WindowPictureMaxPixels"
// (pixels in all) as whole numbers. One that is missing, not a whole number
// or below 1 takes kWindowPictureLimits' own; neither goes past what the
// program can hold at all.
DecodeLimits ReadWindowPictureLimits();

// The model face used when no other face is known.
std::string DefaultFaceFile(const std::string& programFolder);

}  // namespace glamora
