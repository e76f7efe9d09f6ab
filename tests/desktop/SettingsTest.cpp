// The settings key and the start-up and closing steps over it.
#include <gtest/gtest.h>

#include <QSettings>
#include <filesystem>

#include "desktop/Settings.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

using test::TempFolder;

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(config_.Path()));
    std::filesystem::create_directories(program_.File("Faces"));
    test::WriteAll(program_.File("Faces/Modela.eff"), "face");
  }
  std::string SettingsFile() const { return config_.File("Orvane/Glamora.conf"); }

  TempFolder config_;
  TempFolder program_;
};

TEST_F(SettingsTest, FirstRunCreatesTheKeyAndFallsBackToTheModelFace) {
  EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
  EXPECT_EQ(ReadStartupSettings(program_.Path()), program_.File("Faces/Modela.eff"));
  EXPECT_TRUE(std::filesystem::exists(SettingsFile()));
  EXPECT_EQ(SettingsStore().ReadString("InstallDir"), program_.Path());
}

TEST_F(SettingsTest, StoredFaceIsUsedWhileItExists) {
  test::WriteAll(program_.File("Faces/Mine.mff"), "face");
  WriteClosingSettings(program_.File("Faces/Mine.mff"));
  EXPECT_EQ(ReadStartupSettings(program_.Path()), program_.File("Faces/Mine.mff"));
  std::filesystem::remove(program_.File("Faces/Mine.mff"));
  EXPECT_EQ(ReadStartupSettings(program_.Path()), program_.File("Faces/Modela.eff"));
}

TEST_F(SettingsTest, InstallDirIsRewrittenOnlyWhenItDiffers) {
  {
    SettingsStore store;
    store.WriteString("InstallDir", "/old/place/");
  }
  ReadStartupSettings(program_.Path());
  EXPECT_EQ(SettingsStore().ReadString("InstallDir"), program_.Path());

  // A letter-case difference is a difference.
  std::string upper = program_.Path();
  for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
  {
    SettingsStore store;
    store.WriteString("InstallDir", upper);
  }
  ReadStartupSettings(program_.Path());
  EXPECT_EQ(SettingsStore().ReadString("InstallDir"), program_.Path());
}

TEST_F(SettingsTest, WindowPictureLimitsAreWholeNumbersWithinWhatTheProgramHolds) {
  struct Case {
    const char* Side;
    const char* Pixels;
    DecodeLimits Expected;
  };
  const Case cases[] = {
      {nullptr, nullptr, kWindowPictureLimits},
      {"4000", "1000000", {4000, 1'000'000}},
      {" 500 ", "2500", {500, 2500}},
      {"0", "-3", kWindowPictureLimits},
      {"wide", "12.5", kWindowPictureLimits},
      {"99999", "999999999999", {PictureLimits::kMaxSide, PictureLimits::kMaxPixels}},
  };
  for (const Case& c : cases) {
    {
      SettingsStore store;
      if (c.Side) store.WriteString("WindowPictureMaxSide", c.Side);
      if (c.Pixels) store.WriteString("WindowPictureMaxPixels", c.Pixels);
    }
    EXPECT_EQ(ReadWindowPictureLimits(), c.Expected) << (c.Side ? c.Side : "none") << " " << (c.Pixels ? c.Pixels : "none");
  }
}

TEST_F(SettingsTest, MissingValuesReadAsEmpty) {
  EXPECT_EQ(SettingsStore().ReadString("FaceFile"), "");
}

}  // namespace
}  // namespace glamora
