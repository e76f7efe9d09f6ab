// The per-user settings store and the start-up and closing steps over it.
#include "desktop/Settings.h"

#include <QFileInfo>
#include <QSettings>
#include <algorithm>

namespace glamora {

namespace {
constexpr const char* kOrganization = "Orvane";
constexpr const char* kApplication = "Glamora";
}  // namespace

SettingsStore::SettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kOrganization,
                                            kApplication)) {}

SettingsStore::~SettingsStore() = default;

std::string SettingsStore::ReadString(const std::string& name) const {
  return settings_->value(QString::fromStdString(name)).toString().toStdString();
}

void SettingsStore::WriteString(const std::string& name, const std::string& value) {
  settings_->setValue(QString::fromStdString(name), QString::fromStdString(value));
}

void SettingsStore::Close() { settings_->sync(); }

std::string DefaultFaceFile(const std::string& programFolder) {
  return programFolder + "Faces/" + "Modela.eff";
}

std::string ReadStartupSettings(const std::string& programFolder) {
  SettingsStore store;
  if (store.ReadString("InstallDir") != programFolder) store.WriteString("InstallDir", programFolder);
  std::string faceFile = store.ReadString("FaceFile");
  store.Close();
  if (faceFile.empty() || !QFileInfo(QString::fromStdString(faceFile)).isFile()) {
    faceFile = DefaultFaceFile(programFolder);
  }
  return faceFile;
}

DecodeLimits ReadWindowPictureLimits() {
  const SettingsStore store;
  const auto read = [&](const char* name, int64_t fallback, int64_t most) {
    bool whole = false;
    const qlonglong value = QString::fromStdString(store.ReadString(name)).trimmed().toLongLong(&whole);
    return whole && value >= 1 ? std::min<int64_t>(value, most) : fallback;
  };
  return {read("WindowPictureMaxSide", kWindowPictureLimits.MaxSide, PictureLimits::kMaxSide),
          read("WindowPictureMaxPixels", kWindowPictureLimits.MaxPixels, PictureLimits::kMaxPixels)};
}

void WriteClosingSettings(const std::string& faceFileName) {
  SettingsStore store;
  store.WriteString("FaceFile", faceFileName);
  store.Close();
}

}  // namespace glamora
