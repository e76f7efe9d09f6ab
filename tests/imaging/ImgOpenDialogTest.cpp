// The picture open dialog: its preview pane over pictures, frames and files
// that cannot be read, the zoom list and the decoding scale it asks for, the
// enlarged preview, the starting folder and filters, and that Cancel changes
// nothing.
#include "imaging/ImgOpenDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileSystemModel>
#include <QListView>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <functional>

#include "imaging/components/PreviewInfo.h"
#include "tests/imaging/PictureFiles.h"
#include "tests/support/ExifSegments.h"

namespace glamora::test {
namespace {

// Runs `open`, which shows a modal window, and hands the window to `use`
// once it is up; `use` closes it.
void WithModal(const std::function<void()>& open, const std::function<void(QWidget*)>& use) {
  bool seen = false;
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || seen) return;
    seen = true;
    poll.stop();
    use(modal);
  });
  poll.start();
  open();
  EXPECT_TRUE(seen) << "no modal window appeared";
}

std::vector<std::string> Lines(const TImgPreviewPane& pane) {
  return {pane.PicLabel(1)->text().toStdString(), pane.PicLabel(2)->text().toStdString(),
          pane.PicLabel(3)->text().toStdString(), pane.InfoLabel(1)->text().toStdString(),
          pane.InfoLabel(2)->text().toStdString()};
}

std::vector<std::string> ExpectedLines(const std::string& path, int page = 0) {
  TImgIO io;
  io.Params.TiffPage = page;
  EXPECT_TRUE(io.ParamsFromFile(path));
  return DescribePreview(io.Params, ReadAll(path).size(), msEnglish).Lines();
}

const std::vector<std::string> kBlank(5, "");

// What the program does at start, before any window exists.
struct PictureIOStarted {
  PictureIOStarted() { StartPictureIO(); }
};

class OpenDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TImgIOParams highResolution;
    highResolution.DpiX = highResolution.DpiY = 300;
    photo_ = WritePictureFile(folder_.File("photo.jpg"), Coded(iftJpeg, GradientPicture(640, 480), highResolution));
    animation_ = WritePictureFile(folder_.File("three.gif"), AnimatedGif(3, 10, 6, 0));
    pages_ = folder_.File("pages.tif");
    WriteTiffPages(pages_, 2, 16, 8);
    broken_ = folder_.File("words.jpg");
    WriteAll(broken_, std::string("only words, no picture"));
    pane_.SetMsgLanguage(msEnglish);
  }

  PictureIOStarted started_;
  TempFolder folder_;
  std::string photo_, animation_, pages_, broken_;
  TImgPreviewPane pane_;
};

TEST_F(OpenDialogTest, PictureIsShownReducedWithItsInformation) {
  pane_.SelectionChange(QString::fromStdString(photo_));
  EXPECT_EQ(Lines(pane_), ExpectedLines(photo_));
  // A quarter of 640 × 480 still covers the fitted preview; an eighth would not.
  EXPECT_EQ(pane_.DecodedDenominator(), 4);
  EXPECT_EQ(pane_.ImgView()->Bitmap()->Width(), 160);
  EXPECT_TRUE(pane_.PreviewButton()->isEnabled());
  EXPECT_FALSE(pane_.PlayButton()->isEnabled());
  EXPECT_TRUE(pane_.ZoomCombo()->isEnabled());
  EXPECT_EQ(pane_.ZoomCombo()->currentText(), "Fit");
  EXPECT_FALSE(pane_.ImgThumbView()->isVisibleTo(pane_.PicturePanel()));
  EXPECT_FALSE(pane_.ProgressBar()->isVisibleTo(pane_.PicturePanel()));

  // Each zoom decodes at the smallest scale it does not enlarge.
  const struct {
    const char* Entry;
    int Denominator;
    int ViewZoom;
  } zooms[] = {{"25%", 4, 100}, {"50%", 2, 100}, {"75%", 1, 75}, {"400%", 1, 400}, {"Fit", 4, -1}};
  for (const auto& z : zooms) {
    SCOPED_TRACE(z.Entry);
    pane_.ZoomCombo()->setCurrentText(z.Entry);
    EXPECT_EQ(pane_.DecodedDenominator(), z.Denominator);
    EXPECT_EQ(pane_.ImgView()->Bitmap()->Width(), 640 / z.Denominator);
    if (z.ViewZoom > 0) {
      EXPECT_EQ(pane_.ImgView()->Zoom(), z.ViewZoom);
    }
  }
  EXPECT_EQ(Lines(pane_), ExpectedLines(photo_));
}

// A photograph stored sideways (Orientation 6) shows upright, reduced as any
// other, and its information gives the upright size.
TEST_F(OpenDialogTest, SidewaysPhotographIsShownUprightWithItsUprightSize) {
  const std::string phone = folder_.File("phone.jpg");
  SavePhotograph(GradientPicture(640, 480), 6, phone);
  pane_.SelectionChange(QString::fromStdString(phone));
  EXPECT_EQ(pane_.PicLabel(1)->text(), "640 x 480 pixel");
  EXPECT_EQ(pane_.DecodedDenominator(), 4);
  const Bitmap& shown = *pane_.ImgView()->Bitmap();
  ASSERT_EQ(shown.Width(), 160);
  ASSERT_EQ(shown.Height(), 120);
  // Blue grows to the right and green downwards, as in the upright picture.
  EXPECT_GT(BlueOf(shown.Pixel(155, 4)), 200);
  EXPECT_LT(GreenOf(shown.Pixel(155, 4)), 40);
  EXPECT_GT(GreenOf(shown.Pixel(4, 115)), 200);

  // Without the preview, the information alone says the same.
  pane_.PreviewCheck()->setChecked(false);
  pane_.SelectionChange(QString::fromStdString(phone));
  EXPECT_EQ(pane_.PicLabel(1)->text(), "640 x 480 pixel");
}

// Nothing readable, no file, or a folder: the pane empties without a word.
TEST_F(OpenDialogTest, WhatCannotBeReadLeavesThePaneEmpty) {
  for (const std::string& path : {broken_, folder_.File("gone.png"), folder_.Path(), std::string()}) {
    SCOPED_TRACE(path);
    pane_.SelectionChange(QString::fromStdString(photo_));
    ASSERT_NE(Lines(pane_), kBlank);
    int handled = 0;
    pane_.OnSelectionHandled = [&] { ++handled; };
    pane_.SelectionChange(QString::fromStdString(path));
    pane_.OnSelectionHandled = nullptr;
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(Lines(pane_), kBlank);
    EXPECT_EQ(pane_.ImgView()->Bitmap()->Width(), 1);
    EXPECT_FALSE(pane_.PreviewButton()->isEnabled());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
}

TEST_F(OpenDialogTest, FramesAreShownOneByOneAndPlayed) {
  // The photograph's resolution does not pass on to the animation, which has none.
  pane_.SelectionChange(QString::fromStdString(photo_));
  pane_.SelectionChange(QString::fromStdString(animation_));
  TImgThumbView& strip = *pane_.ImgThumbView();
  EXPECT_TRUE(strip.isVisibleTo(pane_.PicturePanel()));
  EXPECT_FALSE(pane_.ImgView()->isVisibleTo(pane_.PicturePanel()));
  ASSERT_EQ(strip.ImageCount(), 3);
  EXPECT_EQ(strip.SelectedImage(), 0);
  EXPECT_EQ(strip.ImageDelay(1), 100) << "a frame without a delay of its own";
  EXPECT_EQ(pane_.PicLabel(1)->text(), "10 x 6 pixel , 3 frames");
  EXPECT_EQ(Lines(pane_), ExpectedLines(animation_));
  EXPECT_TRUE(pane_.PlayButton()->isEnabled());
  EXPECT_FALSE(pane_.ZoomCombo()->isEnabled());

  pane_.PlayButton()->click();
  EXPECT_TRUE(strip.Playing());
  EXPECT_FALSE(pane_.PreviewButton()->isEnabled());
  pane_.PlayButton()->click();
  EXPECT_FALSE(strip.Playing());
  EXPECT_TRUE(pane_.PreviewButton()->isEnabled());

  // The enlarged preview shows the chosen frame, decoded again at full size.
  strip.SetSelectedImage(1);
  WithModal([&] { pane_.PreviewButton()->click(); },
            [&](QWidget* window) {
              auto* view = window->findChild<TImgView*>();
              ASSERT_NE(view, nullptr);
              EXPECT_EQ(view->Bitmap()->Width(), 10);
              EXPECT_EQ(view->Bitmap()->Pixel(5, 3), Rgb(0, 255, 0));
              window->close();
            });

  pane_.AlwaysAnimate = true;
  pane_.SelectionChange(QString::fromStdString(animation_));
  EXPECT_TRUE(strip.Playing());
  pane_.SelectionChange(QString::fromStdString(photo_));
  EXPECT_FALSE(strip.Playing());
  EXPECT_FALSE(strip.isVisibleTo(pane_.PicturePanel()));
}

// Each page of a TIFF tells its own size.
TEST_F(OpenDialogTest, PagesShowTheirOwnInformation) {
  pane_.SelectionChange(QString::fromStdString(pages_));
  ASSERT_EQ(pane_.ImgThumbView()->ImageCount(), 2);
  EXPECT_EQ(Lines(pane_), ExpectedLines(pages_, 0));
  pane_.ImgThumbView()->SetSelectedImage(1);
  EXPECT_EQ(Lines(pane_), ExpectedLines(pages_, 1));
  EXPECT_EQ(pane_.PicLabel(1)->text(), "17 x 8 pixel , 2 frames");
}

TEST_F(OpenDialogTest, PreviewCheckBoxTurnsThePictureOff) {
  EXPECT_EQ(pane_.PreviewCheck()->text(), "Preview");
  pane_.SelectionChange(QString::fromStdString(photo_));
  pane_.PreviewCheck()->setChecked(false);
  EXPECT_EQ(Lines(pane_), kBlank);
  EXPECT_EQ(pane_.ImgView()->Bitmap()->Width(), 1);
  EXPECT_EQ(pane_.ImgView()->Zoom(), 100);

  // Without the picture the information still follows the selection.
  pane_.SelectionChange(QString::fromStdString(animation_));
  EXPECT_EQ(Lines(pane_), ExpectedLines(animation_));
  EXPECT_EQ(pane_.ImgThumbView()->ImageCount(), 0);
  pane_.PreviewCheck()->setChecked(true);
  EXPECT_EQ(pane_.ImgThumbView()->ImageCount(), 3);

  pane_.SetMsgLanguage(msGerman);
  EXPECT_EQ(pane_.PreviewCheck()->text(), "Vorschau");
}

TEST_F(OpenDialogTest, EnlargedPreviewDecodesInFullOnDoubleClick) {
  pane_.SelectionChange(QString::fromStdString(photo_));
  WithModal([&] { QTest::mouseDClick(pane_.ImgView(), Qt::LeftButton, {}, QPoint(60, 60)); },
            [&](QWidget* window) {
              EXPECT_EQ(window->windowTitle(), QString::fromStdString(": " + photo_));
              auto* view = window->findChild<TImgView*>();
              ASSERT_NE(view, nullptr);
              EXPECT_EQ(view->Bitmap()->Width(), 640);
              EXPECT_EQ(view->BackgroundStyle(), ibsChessboard);
              EXPECT_TRUE(view->MouseInteract().Has(miZoom));
              window->close();
            });
}

TEST(OpenDialogSizes, EnlargedPreviewFollowsThePictureUpToTheScreen) {
  const QSize screen(1920, 1080);
  const struct {
    QSize Picture, Client;
  } cases[] = {
      {{100, 40}, {100, 100}},   {{101, 101}, {101, 101}},    {{1919, 1079}, {1919, 1079}},
      {{1920, 900}, {1920, 900}}, {{4000, 3000}, {1920, 1080}}, {{50, 2000}, {100, 1080}},
  };
  for (const auto& c : cases) EXPECT_EQ(EnlargedPreviewClientSize(c.Picture, screen), c.Client) << c.Picture.width();
}

TEST(OpenDialogFolders, InitialDirDropsATrailingSeparatorExceptAtARoot) {
  const std::pair<const char*, const char*> cases[] = {
      {"/home/ann/Pictures/", "/home/ann/Pictures"}, {"/home/ann", "/home/ann"}, {"/", "/"},
      {"c:\\", "c:\\"}, {"C:/", "C:/"}, {"c:\\photos\\", "c:\\photos"}, {"", ""},
  };
  for (const auto& [given, kept] : cases) EXPECT_EQ(TrimInitialDir(given), kept) << given;
  TImgOpenDialog dialog;
  dialog.SetInitialDir("/tmp/");
  EXPECT_EQ(dialog.InitialDir(), "/tmp");
}

// The picture filter: one entry per description, empty patterns left out,
// every pattern matching its extension in either letter case.
TEST(OpenDialogNameFilters, PatternsMatchEitherCase) {
  const QStringList filters = QtNameFilters(kPictureOpenFilter);
  ASSERT_EQ(filters.size(), 8);
  EXPECT_TRUE(filters[0].startsWith("All graphics (*.tif;*.tiff;"));
  const auto matches = [](const QString& filter, const QString& name) {
    const QString patterns = filter.mid(filter.lastIndexOf('(') + 1).chopped(1);
    for (const QString& p : patterns.split(' ')) {
      if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(p)).match(name).hasMatch()) return true;
    }
    return false;
  };
  for (const char* name : {"a.tif", "B.TIFF", "c.Jpe", "d.PIX", "e.vst", "f.PNG"}) {
    EXPECT_TRUE(matches(filters[0], name)) << name;
  }
  EXPECT_FALSE(matches(filters[0], "g.icb")) << "the first entry does not list ICB";
  EXPECT_FALSE(matches(filters[0], "notes.txt"));
  EXPECT_TRUE(matches(filters[7], "h.ICB"));
  EXPECT_EQ(filters[2].count(' '), 3) << filters[2].toStdString();
  EXPECT_EQ(QtNameFilters("Everything|"), QStringList{"Everything (*)"});
}

TEST_F(OpenDialogTest, ChoosingAFileShowsItsPreviewAndReturnsIt) {
  TImgOpenDialog opener;
  opener.AutoSetFilter = false;
  opener.SetFilter(kPictureOpenFilter);
  opener.SetFilterIndex(4);
  opener.SetInitialDir(QString::fromStdString(folder_.Path()));
  opener.MsgLanguage = msEnglish;
  int selections = 0;
  opener.OnSelectionChange = [&](QObject*) { ++selections; };
  int refusals = 1;
  opener.OnCanClose = [&](QObject*, bool& canClose) { canClose = refusals-- <= 0; };
  bool chose = false;
  WithModal([&] { chose = opener.Execute(); },
            [&](QWidget*) {
              QFileDialog* dialog = opener.Dialog();
              ASSERT_NE(dialog, nullptr);
              EXPECT_EQ(QDir(dialog->directory()).absolutePath(), QDir(QString::fromStdString(folder_.Path())).absolutePath());
              // The user moves onto the photograph in the file list.
              auto* list = dialog->findChild<QListView*>("listView");
              ASSERT_NE(list, nullptr);
              auto* files = qobject_cast<QFileSystemModel*>(list->model());
              ASSERT_NE(files, nullptr);
              const QString photo = QString::fromStdString(photo_);
              ASSERT_TRUE(QTest::qWaitFor([&] { return files->index(photo).isValid(); }, 5000));
              list->setCurrentIndex(files->index(photo));
              EXPECT_TRUE(QTest::qWaitFor([&] { return opener.Pane()->CurrentPath() == photo; }, 5000));
              EXPECT_EQ(Lines(*opener.Pane()), ExpectedLines(photo_));
              EXPECT_TRUE(opener.FileName().endsWith("photo.jpg"));
              static_cast<QDialog*>(dialog)->accept();
              EXPECT_TRUE(dialog->isVisible()) << "the first confirmation is refused";
              static_cast<QDialog*>(dialog)->accept();
            });
  EXPECT_TRUE(chose);
  EXPECT_EQ(QFileInfo(opener.FileName()).fileName(), "photo.jpg");
  EXPECT_EQ(opener.FilterIndex(), 4);
  EXPECT_GE(selections, 1);
  EXPECT_EQ(opener.Pane(), nullptr);
}

TEST_F(OpenDialogTest, CancelChangesNothing) {
  TImgOpenDialog opener;
  opener.SetFileName(QString::fromStdString(pages_));
  opener.SetFilterIndex(2);
  WithModal([&] { EXPECT_FALSE(opener.Execute()); },
            [&](QWidget*) {
              opener.Dialog()->selectFile(QString::fromStdString(photo_));
              opener.Dialog()->reject();
            });
  EXPECT_EQ(opener.FileName().toStdString(), pages_);
  EXPECT_EQ(opener.FilterIndex(), 2);

  QString chosen = "unchanged";
  WithModal([&] { chosen = TImgOpenDialog::Choose(nullptr, kPictureOpenFilter, QString::fromStdString(folder_.Path())); },
            [&](QWidget* window) { window->close(); });
  EXPECT_TRUE(chosen.isEmpty());
}

}  // namespace
}  // namespace glamora::test
