// The gallery's preview dialog: its layout, its answers and the picture it shows.
#include "gallery/Preview.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "gallery/GalleryFolder.h"
#include "imaging/ImgEditor.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

using test::TempFolder;

TEST(Preview, LayoutOfTheDialog) {
  TFormPreview preview;
  EXPECT_EQ(preview.windowTitle(), "Preview");
  EXPECT_EQ(preview.size(), QSize(336, 332));
  EXPECT_EQ(preview.ImgEditor1->geometry(), QRect(7, 7, 227, 314));
  EXPECT_TRUE(preview.ImgEditor1->AutoFit());
  EXPECT_EQ(preview.ImgEditor1->ZoomFilter(), rfBSpline);
  EXPECT_EQ(preview.bExport->text(), "Export");
  EXPECT_EQ(preview.bPrint->text(), "Print");
  EXPECT_EQ(preview.bClose->text(), " Close");
  EXPECT_TRUE(preview.bExport->isDefault());
}

class PreviewAnswerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Bitmap work(228, 314);
    work.Fill(Rgb(200, 30, 30));
    picture = AddGalleryPicture(gallery.Path(), 0, work).FileName;
  }

  // Shows the picture and acts once the dialog runs.
  TModalResult ShowAnd(const std::function<void()>& act) {
    QTimer::singleShot(0, &preview, act);
    return preview.ShowGalleryPicture(picture);
  }

  TempFolder gallery;
  std::string picture;
  TFormPreview preview;
};

TEST_F(PreviewAnswerTest, EachButtonGivesItsAnswer) {
  const std::pair<QPushButton*, TModalResult> cases[] = {
      {preview.bExport, 5000}, {preview.bPrint, 6000}, {preview.bClose, mrCancel}};
  for (const auto& [button, result] : cases) {
    EXPECT_EQ(ShowAnd([button = button] { button->click(); }), result) << button->text().toStdString();
  }
}

TEST_F(PreviewAnswerTest, EnterExportsAndEscCancels) {
  EXPECT_EQ(ShowAnd([this] { QTest::keyClick(&preview, Qt::Key_Return); }), mrExport);
  EXPECT_EQ(ShowAnd([this] { QTest::keyClick(&preview, Qt::Key_Escape); }), mrCancel);
}

TEST_F(PreviewAnswerTest, ShowsTheGalleryPicture) {
  ShowAnd([this] { preview.bClose->click(); });
  const Bitmap& shown = *preview.ImgEditor1->Bitmap();
  ASSERT_EQ(shown.Width(), 228);
  ASSERT_EQ(shown.Height(), 314);
  const TColor centre = shown.Pixel(114, 157);
  EXPECT_NEAR(RedOf(centre), 200, 4);
  EXPECT_NEAR(GreenOf(centre), 30, 4);
  EXPECT_NEAR(BlueOf(centre), 30, 4);
}

}  // namespace
}  // namespace glamora
