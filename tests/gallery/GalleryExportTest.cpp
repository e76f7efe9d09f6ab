// Exporting a gallery picture: proposed names, the replace question, the copy.
#include "gallery/GalleryExport.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#include "tests/gallery/MessageScript.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

namespace fs = std::filesystem;
using test::MessageScript;
using test::TempFolder;

std::string Text(const std::string& path) {
  const std::vector<uint8_t> bytes = test::ReadAll(path);
  return {bytes.begin(), bytes.end()};
}

// A save dialog that answers from a script and records what it was shown.
struct FakeSaveDialog {
  struct Call {
    std::string folder, proposed;
  };
  std::deque<std::string> answers;
  std::vector<Call> calls;

  AskExportFileName Asker() {
    return [this](const std::string& folder, const std::string& proposed) {
      calls.push_back({folder, proposed});
      if (answers.empty()) return std::string();
      std::string answer = answers.front();
      answers.pop_front();
      return answer;
    };
  }
};

class GalleryExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source = gallery.File("0007.jpg");
    test::WriteAll(source, std::string("gallery picture bytes"));
    fs::create_directory(target.File("sub"));
    state.Folder = target.Path();
  }

  TempFolder gallery, target;
  std::string source;
  ExportState state;
  FakeSaveDialog dialog;
};

TEST_F(GalleryExportTest, ProposesMyFaceNumbersInTheFolderUsedLast) {
  dialog.answers = {target.File("first.jpg"), target.File("sub/second.jpg")};
  ASSERT_TRUE(ExportGalleryPicture(source, state, dialog.Asker()));
  ASSERT_TRUE(ExportGalleryPicture(source, state, dialog.Asker()));

  ASSERT_EQ(dialog.calls.size(), 2u);
  EXPECT_EQ(dialog.calls[0].proposed, "MyFace1.jpg");
  EXPECT_EQ(dialog.calls[0].folder, target.Path());
  EXPECT_EQ(dialog.calls[1].proposed, "MyFace2.jpg");
  EXPECT_EQ(dialog.calls[1].folder, target.Path());
  EXPECT_EQ(state.Counter, 3);
  EXPECT_EQ(state.Folder, target.File("sub/"));
  // The stored JPEG, byte for byte.
  EXPECT_EQ(Text(target.File("first.jpg")), "gallery picture bytes");
  EXPECT_EQ(Text(target.File("sub/second.jpg")), "gallery picture bytes");
}

TEST_F(GalleryExportTest, ANameTypedWithoutExtensionKeepsIt) {
  dialog.answers = {target.File("portrait")};
  ASSERT_TRUE(ExportGalleryPicture(source, state, dialog.Asker()));
  EXPECT_EQ(Text(target.File("portrait")), "gallery picture bytes");
  EXPECT_FALSE(fs::exists(target.File("portrait.jpg")));
}

TEST_F(GalleryExportTest, CancellingTheDialogChangesNothing) {
  MessageScript messages;
  EXPECT_FALSE(ExportGalleryPicture(source, state, dialog.Asker()));
  EXPECT_EQ(state.Counter, 1);
  EXPECT_EQ(state.Folder, target.Path());
  EXPECT_TRUE(messages.Shown().empty());
}

struct ReplaceCase {
  const char* label;
  std::deque<TModalResult> answers;  // to "Do you replace existing file?"
  bool exported;
  bool existingReplaced;
  bool otherWritten;
  size_t dialogCalls;
};

class ExportReplaceTest : public GalleryExportTest, public ::testing::WithParamInterface<ReplaceCase> {};

TEST_P(ExportReplaceTest, AnExistingNameIsReplacedOnlyOnYes) {
  const ReplaceCase& c = GetParam();
  const std::string existing = target.File("taken.jpg");
  const std::string other = target.File("other.jpg");
  test::WriteAll(existing, std::string("someone else's"));
  // After No the dialog comes again; then the user picks another name.
  dialog.answers = {existing, other};
  MessageScript messages(c.answers);

  EXPECT_EQ(ExportGalleryPicture(source, state, dialog.Asker()), c.exported);
  EXPECT_EQ(Text(existing), c.existingReplaced ? "gallery picture bytes" : "someone else's");
  EXPECT_EQ(fs::exists(other), c.otherWritten);
  ASSERT_EQ(dialog.calls.size(), c.dialogCalls);
  for (const auto& call : dialog.calls) {
    EXPECT_EQ(call.proposed, "MyFace1.jpg");
    EXPECT_EQ(call.folder, target.Path());
  }
  ASSERT_EQ(messages.Shown().size(), 1u);
  EXPECT_EQ(messages.Shown()[0].Text.toStdString(), "Do you replace existing file?");
  EXPECT_EQ(messages.Shown()[0].Type, TMsgDlgType::mtWarning);
  EXPECT_EQ(messages.Shown()[0].Buttons, mbYes | mbNo | mbCancel);
  // Enter keeps the existing file.
  EXPECT_EQ(DefaultButtonOf(messages.Shown()[0]), mbNo);
  EXPECT_EQ(state.Counter, c.exported ? 2 : 1);
}

INSTANTIATE_TEST_SUITE_P(Answers, ExportReplaceTest,
                         ::testing::Values(ReplaceCase{"Yes", {mrYes}, true, true, false, 1},
                                           ReplaceCase{"NoThenAnotherName", {mrNo}, true, false, true, 2},
                                           ReplaceCase{"Cancel", {mrCancel}, false, false, false, 1}),
                         [](const auto& p) { return std::string(p.param.label); });

TEST_F(GalleryExportTest, NoThenCancellingTheDialogCopiesNothing) {
  const std::string existing = target.File("taken.jpg");
  test::WriteAll(existing, std::string("someone else's"));
  dialog.answers = {existing};
  MessageScript messages({mrNo});
  EXPECT_FALSE(ExportGalleryPicture(source, state, dialog.Asker()));
  EXPECT_EQ(dialog.calls.size(), 2u);
  EXPECT_EQ(Text(existing), "someone else's");
  EXPECT_EQ(state.Counter, 1);
}

TEST_F(GalleryExportTest, AVanishedGalleryFileCopiesNothing) {
  fs::remove(source);
  dialog.answers = {target.File("first.jpg")};
  EXPECT_NO_THROW(ExportGalleryPicture(source, state, dialog.Asker()));
  EXPECT_FALSE(fs::exists(target.File("first.jpg")));
}

}  // namespace
}  // namespace glamora
