// The data folder: beside the program in the build, the user's own folder
// when installed, and how upgrades treat what the user made, changed or
// deleted there.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>

#include "datafolder/DataFolder.h"
#include "datafolder/ShippedFiles.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

std::string Read(const std::string& path) {
  const std::vector<uint8_t> bytes = test::ReadAll(path);
  return {bytes.begin(), bytes.end()};
}

void Write(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  test::WriteAll(path, text);
}

// The shipped tree of one version: relative path to content.
void Ship(const std::string& folder, const std::map<std::string, std::string>& files) {
  for (const auto& [name, content] : files) Write(folder + name, content);
}

EnvironmentLookup Environment(std::map<std::string, std::string> values) {
  return [values](const char* name) {
    const auto found = values.find(name);
    return found == values.end() ? std::string() : found->second;
  };
}

TEST(ShippedFiles, FirstStartFillsTheFolderAndTheNextStartCopiesNothing) {
  TempFolder shipped, user;
  Ship(shipped.Path(), {{"Faces/Modela.eff", "face"}, {"Short/000.jpg", "short"}, {"Glamora.hlp", "help"},
                        {"Preview/0001.jpg", "someone's gallery"}});
  const SyncOutcome first = SyncShippedFiles(shipped.Path(), user.Path());
  EXPECT_EQ(first.Error, "");
  EXPECT_EQ(first.Copied, 3);
  EXPECT_EQ(Read(user.File("Short/000.jpg")), "short");
  EXPECT_EQ(Read(user.File("Glamora.hlp")), "help");
  EXPECT_FALSE(fs::exists(user.File("Preview"))) << "the gallery is never shipped";

  const SyncOutcome second = SyncShippedFiles(shipped.Path(), user.Path());
  EXPECT_EQ(second.Error, "");
  EXPECT_EQ(second.Copied, 0);
  EXPECT_EQ(second.Kept, 0);
}

TEST(ShippedFiles, AnUpgradeNeverTouchesWhatTheUserMadeChangedOrDeleted) {
  TempFolder shipped, user;
  Ship(shipped.Path(), {{"Faces/Modela.eff", "face 1"},
                        {"Short/000.jpg", "short 1"},
                        {"Short/001.jpg", "short one 1"},
                        {"Long/000.jpg", "long 1"},
                        {"Shapes/ShapeOval.bmp", "oval 1"}});
  ASSERT_EQ(SyncShippedFiles(shipped.Path(), user.Path()).Error, "");

  // The user deletes one hairstyle, paints over another, adds one of their own.
  fs::remove(user.File("Short/001.jpg"));
  Write(user.File("Long/000.jpg"), "my long");
  Write(user.File("Short/002.jpg"), "my own");

  // The next version changes every shipped file and ships a 002 and a 003.
  Ship(shipped.Path(), {{"Faces/Modela.eff", "face 2 (new)"},
                        {"Short/000.jpg", "short 2 (new)"},
                        {"Short/001.jpg", "short one 2 (new)"},
                        {"Long/000.jpg", "long 2 (new)"},
                        {"Short/002.jpg", "shipped 002"},
                        {"Short/003.jpg", "shipped 003"}});
  const SyncOutcome upgrade = SyncShippedFiles(shipped.Path(), user.Path());
  EXPECT_EQ(upgrade.Error, "");

  const std::map<std::string, std::string> expected = {
      {"Faces/Modela.eff", "face 2 (new)"},  // left as shipped: follows the new version
      {"Short/000.jpg", "short 2 (new)"},
      {"Long/000.jpg", "my long"},           // changed by the user
      {"Short/002.jpg", "my own"},           // the user's own, under a name now shipped
      {"Short/003.jpg", "shipped 003"},      // new and free
      {"Shapes/ShapeOval.bmp", "oval 1"},    // no longer shipped: stays
  };
  for (const auto& [name, content] : expected) EXPECT_EQ(Read(user.File(name)), content) << name;
  EXPECT_FALSE(fs::exists(user.File("Short/001.jpg"))) << "a deleted file does not come back";
  EXPECT_EQ(upgrade.Copied, 3);
  EXPECT_EQ(upgrade.Kept, 3);

  // Nor on the upgrade after, nor does the user's own 002 ever become "shipped".
  Ship(shipped.Path(), {{"Short/001.jpg", "short one 3 (newer)"}, {"Short/002.jpg", "shipped 002 v3"}});
  ASSERT_EQ(SyncShippedFiles(shipped.Path(), user.Path()).Error, "");
  EXPECT_FALSE(fs::exists(user.File("Short/001.jpg")));
  EXPECT_EQ(Read(user.File("Short/002.jpg")), "my own");
}

TEST(ShippedFiles, ACopyLeftByAnInterruptedStartIsTakenAsShipped) {
  TempFolder shipped, user;
  Ship(shipped.Path(), {{"Short/000.jpg", "short 1"}});
  // The file arrived, the record did not.
  Write(user.File("Short/000.jpg"), "short 1");
  ASSERT_EQ(SyncShippedFiles(shipped.Path(), user.Path()).Error, "");
  Ship(shipped.Path(), {{"Short/000.jpg", "short 2 (new)"}});
  ASSERT_EQ(SyncShippedFiles(shipped.Path(), user.Path()).Error, "");
  EXPECT_EQ(Read(user.File("Short/000.jpg")), "short 2 (new)");
}

TEST(ShippedFiles, TheRecordReadsBackAndADamagedOneLeadsNowhereElse) {
  const ShippedRecord record = {{"Short/000.jpg", {12, 345, 0xfeedull}}, {"Help/a name with spaces.png", {1, 2, 3}}};
  EXPECT_EQ(ParseShippedRecord(FormatShippedRecord(record)), record);

  const ShippedRecord damaged = ParseShippedRecord(
      "zz 1 2 Short/000.jpg\n"
      "1 2\n"
      "1 2 3 /etc/passwd\n"
      "1 2 3 ../../elsewhere\n"
      "1 2 3 Short/../../elsewhere\n"
      "a 2 3 Long/001.jpg\n");
  EXPECT_EQ(damaged, (ShippedRecord{{"Long/001.jpg", {2, 3, 0xa}}}));
}

class DataFolderChoiceTest : public ::testing::Test {
 protected:
  // An installed tree: prefix/bin and the data in prefix/share/glamora.
  std::string InstalledProgramFolder() {
    fs::create_directories(prefix_.File("bin"));
    Ship(prefix_.File("share/glamora/"), {{"Faces/Modela.eff", "face"}, {"Short/000.jpg", "short"}});
    return prefix_.File("bin/");
  }

  TempFolder prefix_, home_;
};

TEST_F(DataFolderChoiceTest, TheBuildFolderWorksBesideTheProgram) {
  Ship(prefix_.Path(), {{"Faces/Modela.eff", "face"}});
  const DataFolderChoice choice = ChooseDataFolder(prefix_.Path(), Environment({{"HOME", home_.Path()}}));
  EXPECT_EQ(choice.Folder, prefix_.Path());
  EXPECT_EQ(choice.Problem, "");
  EXPECT_TRUE(fs::is_empty(home_.Path())) << "nothing is made in the home folder";
}

TEST_F(DataFolderChoiceTest, InstalledItWorksInThePrivateUserFolderFilledFromTheShippedData) {
  struct Case {
    std::map<std::string, std::string> Environment;
    std::string Expected;  // under the home folder
  };
  const std::vector<Case> cases = {
      {{{"HOME", home_.Path()}}, ".local/share/glamora/"},
      {{{"HOME", home_.Path()}, {"XDG_DATA_HOME", home_.File("data")}}, "data/glamora/"},
      {{{"HOME", home_.Path()}, {"XDG_DATA_HOME", "relative/data"}}, ".local/share/glamora/"},
  };
  const std::string program = InstalledProgramFolder();
  for (const Case& c : cases) {
    const DataFolderChoice choice = ChooseDataFolder(program, Environment(c.Environment));
    EXPECT_EQ(choice.Folder, home_.File(c.Expected));
    EXPECT_EQ(choice.Shipped, prefix_.File("share/glamora/"));
    EXPECT_EQ(choice.Problem, "");
    EXPECT_EQ(Read(choice.Folder + "Short/000.jpg"), "short");
    struct stat info {};
    ASSERT_EQ(::stat(choice.Folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u) << "the user's folder is private";
  }
}

TEST_F(DataFolderChoiceTest, WithoutAHomeTheShippedDataServesAndTheProblemIsSaid) {
  const std::string program = InstalledProgramFolder();
  const DataFolderChoice choice = ChooseDataFolder(program, Environment({{"HOME", "not/absolute"}}));
  EXPECT_EQ(choice.Folder, prefix_.File("share/glamora/"));
  EXPECT_NE(choice.Problem, "");

  const DataFolderChoice nothingShipped = ChooseDataFolder(home_.Path(), Environment({{"HOME", home_.Path()}}));
  EXPECT_EQ(nothingShipped.Folder, home_.File(".local/share/glamora/"));
  EXPECT_NE(nothingShipped.Problem.find("shipped data"), std::string::npos) << nothingShipped.Problem;
}

}  // namespace
}  // namespace glamora
