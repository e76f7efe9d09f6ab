// The main window's "Create hairstyle" command: it shows the add-hairstyle
// expert beside the window without waiting, and a hairstyle saved into the
// category on screen joins the catalogue at once, the hair on the face and
// the selection staying; other categories list it when next chosen.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <memory>

#include "experts/AddHair.h"
#include "experts/Rotate.h"
#include "experts/SaveHair.h"
#include "imaging/ImgThumbView.h"
#include "imaging/components/ImgIO.h"
#include "tests/shell/MainWindowFixture.h"
#include "tests/support/FaceFixtures.h"

namespace glamora::test {
namespace {

namespace fs = std::filesystem;

class AddHairCommandTest : public MainWindowTest {
 protected:
  AddHairCommandTest() {
    fs::copy(SourceDir() + "/data/Shapes", program_.File("Shapes"));
    for (const char* folder : {"Short", "Medium", "Male"}) fs::create_directory(program_.File(folder));
    Bitmap picture(300, 400);
    picture.Fill(Rgb(70, 40, 20));
    for (int i = 0; i < 3; ++i) {
      TImgIO io;
      io.SetBitmap(&picture);
      EXPECT_TRUE(io.SaveToFileJpeg(Hairstyle("Short", i)));
    }
    TImgIO io;
    io.SetBitmap(&picture);
    EXPECT_TRUE(io.SaveToFile(program_.File("photo.bmp")));
  }

  std::unique_ptr<TFormMain> StartWithExpert() {
    auto form = Start(Face("Plain.mff", StandardFacePicture(), RectangleRegionsHeader()));
    expert_ = std::make_unique<TFormAddHair>(program_.Path(), rotate_);
    saveHair_ = std::make_unique<TFormSaveHair>();
    expert_->SetSaveHair(saveHair_.get());
    expert_->OpenDialog1 = [this] { return program_.File("photo.bmp"); };
    form->SetOtherWindows({.FormAddHair = expert_.get()});
    return form;
  }

  // Opens the photograph in the expert and saves it into the dialog's item.
  void SaveInto(int item) {
    expert_->ShowExpert();
    expert_->bOpenClick();
    QTimer::singleShot(0, saveHair_.get(), [this, item] {
      saveHair_->findChild<QRadioButton*>(QString("RadioItem%1").arg(item))->click();
      saveHair_->BitBtn1->click();
    });
    expert_->bSaveClick();
  }

  std::string Hairstyle(const char* folder, int number) const {
    return program_.File(std::string(folder) + "/00" + std::to_string(number) + ".jpg");
  }

  static void ChooseCategory(TFormMain& form, int position) {
    Control<QComboBox>(form, "cbHairDir")->setCurrentIndex(position);
    emit Control<QComboBox>(form, "cbHairDir")->activated(position);
  }

  ~AddHairCommandTest() override {
    expert_.reset();
    saveHair_.reset();
  }

  TFormRotate rotate_;
  std::unique_ptr<TFormSaveHair> saveHair_;
  std::unique_ptr<TFormAddHair> expert_;
};

TEST_F(AddHairCommandTest, CreateHairstyleShowsTheExpertWithoutWaiting) {
  auto form = StartWithExpert();
  QAction* entry = Control<QAction>(*form, "Addhairstyle1");
  EXPECT_TRUE(entry->isEnabled());
  EXPECT_EQ(entry->shortcut(), QKeySequence("Ctrl+H"));
  for (const std::function<void()>& start : std::initializer_list<std::function<void()>>{
           [&] { entry->trigger(); }, [&] { Control<QToolButton>(*form, "tbHairExpert")->click(); }}) {
    start();
    EXPECT_TRUE(expert_->isVisible());
    EXPECT_FALSE(expert_->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the main window stays usable";
    expert_->bCloseClick();
    EXPECT_FALSE(expert_->isVisible());
  }
}

TEST_F(AddHairCommandTest, AHairstyleSavedIntoTheCategoryOnScreenJoinsTheCatalogueAtOnce) {
  auto form = StartWithExpert();
  auto* catalogue = Control<TImgThumbView>(*form, "ThumbViewHair");
  catalogue->SetSelectedImage(1);
  const std::string onFace = form->Model().HairFileName();
  ASSERT_EQ(onFace, Hairstyle("Short", 1));

  SaveInto(0);
  ASSERT_EQ(catalogue->ImageCount(), 4);
  EXPECT_EQ(catalogue->GetImageFileName(3), Hairstyle("Short", 3));
  EXPECT_EQ(catalogue->SelectedImage(), 1);
  EXPECT_EQ(form->Hairstyle().SelectedHairstyle(), 1);
  EXPECT_EQ(form->Model().HairFileName(), onFace);

  // Another category: the grid on screen stays; choosing it lists the picture.
  SaveInto(1);
  EXPECT_EQ(catalogue->ImageCount(), 4);
  ChooseCategory(*form, 1);
  ASSERT_EQ(catalogue->ImageCount(), 1);
  EXPECT_EQ(catalogue->GetImageFileName(0), Hairstyle("Medium", 0));

  // An empty category on screen lists it and puts it on, as choosing it does.
  ChooseCategory(*form, 4);
  ASSERT_EQ(catalogue->ImageCount(), 0);
  SaveInto(4);
  ASSERT_EQ(catalogue->ImageCount(), 1);
  EXPECT_EQ(form->Model().HairFileName(), Hairstyle("Male", 0));
  EXPECT_EQ(form->Hairstyle().SelectedHairstyle(), 0);
}

}  // namespace
}  // namespace glamora::test
