// The window opens faces, hairstyles and gallery pictures within limits of
// its own (16 megapixels unless the settings say otherwise), far below what
// the command line accepts, so that a small file declaring a huge picture is
// refused at once with the usual outcome.
#include <QCoreApplication>
#include <filesystem>

#include "desktop/Settings.h"
#include "face/FaceFile.h"
#include "gallery/OpenFace.h"
#include "gallery/Preview.h"
#include "imaging/ImgEditor.h"
#include "imaging/ImgThumbView.h"
#include "tests/shell/MainWindowFixture.h"
#include "tests/support/FaceFixtures.h"

namespace glamora::test {
namespace {

namespace fs = std::filesystem;

// Just above the window's default of 16 megapixels.
constexpr int kWide = 4001;
constexpr int kHigh = 4000;

using MainPictureLimitsTest = MainWindowTest;

TEST_F(MainPictureLimitsTest, AFaceAndAHairstyleAboveTheDefaultLimitsAreRefused) {
  CopyModelFace();
  const std::string big = program_.File("Faces/Big.mff");
  WriteFaceFile(RectangleRegionsHeader(), SparseRunLengthBmp(kWide, kHigh), big);
  auto form = Start(big);
  // As for any face that cannot be read: the model face, then the message.
  QCoreApplication::processEvents();
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"There is not a saved face!"});
  EXPECT_EQ(form->FaceFileName(), program_.File("Faces/Modela.eff"));

  // A hairstyle above the limits leaves the hair as it was; one within them is put on.
  WriteAll(program_.File("big.bmp"), SparseRunLengthBmp(kWide, kHigh));
  WriteAll(program_.File("small.bmp"), SparseRunLengthBmp(120, 80));
  form->Hairstyle().LoadHairstyle(program_.File("small.bmp"));
  ASSERT_EQ(form->Model().UntintedHair().Width(), 120);
  form->Hairstyle().LoadHairstyle(program_.File("big.bmp"));
  EXPECT_EQ(form->Model().UntintedHair().Width(), 120);
}

TEST_F(MainPictureLimitsTest, TheLimitsAreSettingsThatEveryReaderOfTheWindowTakes) {
  {
    SettingsStore store;
    store.WriteString("WindowPictureMaxSide", "150");
    store.WriteString("WindowPictureMaxPixels", "20000");
  }
  auto form = Start();
  auto* preview = new TFormPreview(form.get());
  auto* browser = new TFormOpenFace(form->ProgramFolder(), form.get());
  form->SetOtherWindows({.FormPreview = preview, .FormOpenFace = browser});
  const DecodeLimits expected{150, 20000};
  EXPECT_EQ(form->Model().LoadLimits(), expected);
  for (const TImgIO* io : {&form->Hairstyle().Catalogue().IO(), &form->Gallery().Thumbnails().IO(),
                           &preview->ImgEditor1->IO(), &browser->ImgEditor1->IO()}) {
    EXPECT_EQ(io->Params.Limits, expected);
  }

  // Too wide, too many pixels, and within both.
  struct Case {
    int Width, Height;
    bool Taken;
  };
  for (const Case c : {Case{151, 10, false}, Case{149, 149, false}, Case{140, 140, true}}) {
    const std::string hair = program_.File("hair" + std::to_string(c.Width) + "x" + std::to_string(c.Height) + ".bmp");
    WriteAll(hair, SparseRunLengthBmp(c.Width, c.Height));
    EXPECT_EQ(form->Model().LoadHairstyle(hair) == THairLoad::Loaded, c.Taken) << c.Width << "x" << c.Height;
    const std::string face = program_.File("Faces/Face" + std::to_string(c.Width) + ".mff");
    WriteFaceFile(RectangleRegionsHeader(), SparseRunLengthBmp(c.Width, c.Height), face);
    EXPECT_EQ(form->Model().LoadFace(face), c.Taken) << c.Width << "x" << c.Height;
  }
}

}  // namespace
}  // namespace glamora::test
