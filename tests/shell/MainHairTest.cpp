// The Hairstyle page of the main window: the first hairstyle at start-up, the
// frame buttons with their auto-repeat and reset, the hair colour box, the
// catalogue with its categories, numbered thumbnails and the Delete key, and
// the random make-over with its timed show.
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <ostream>

#include "codecs/Jpeg.h"
#include "desktop/Panel.h"
#include "face/Random.h"
#include "face/StandardFace.h"
#include "imaging/HsvPicker.h"
#include "imaging/ImgThumbView.h"
#include "imaging/QtBitmap.h"
#include "imaging/components/ImgIO.h"
#include "tests/shell/MainWindowFixture.h"
#include "tests/support/FaceFixtures.h"
#include "views/Makeup.h"

namespace glamora {

inline std::ostream& operator<<(std::ostream& out, const TRect& r) {
  return out << "(" << r.Left << ", " << r.Top << ")-(" << r.Right << ", " << r.Bottom << ")";
}

namespace test {
namespace {

namespace fs = std::filesystem;
namespace sf = standard_face;

constexpr const char* kDeleteQuestion = "Do you want to delete the hairstyle?";
const TColor kGold = Rgb(219, 175, 0);

// The hair of the catalogue pictures: a grey block in whole 8 × 8 blocks on
// a light background, so the JPEG decodes it within a step or two.
constexpr int kHairWidth = 40;
constexpr int kHairHeight = 56;
const QPoint kHairBlock(16, 24);

Bitmap CatalogueHair(uint8_t grey) {
  Bitmap picture(kHairWidth, kHairHeight);
  picture.Fill(Rgb(235, 235, 235));
  for (int y = 16; y < 40; ++y)
    for (int x = 8; x < 32; ++x) picture.SetPixel(x, y, Rgb(grey, grey, grey));
  return picture;
}

void WriteJpeg(const std::string& path, const Bitmap& picture) {
  TImgIOParams params;
  params.JpegQuality = 100;
  MemoryStream bytes;
  ASSERT_EQ(codec::EncodeJpeg(picture, params, ProgressRecord{}, bytes), PictureStatus::Ok);
  WriteAll(path, bytes.Bytes());
}

// A hairstyle written losslessly, for exact pixel values: a 20 × 16 picture
// of the background colour with a grey (100, 100, 100) block at (8..12, 6..10).
std::string WriteBmpHair(const std::string& path, TColor background) {
  Bitmap picture(20, 16);
  picture.Fill(background);
  for (int y = 6; y <= 10; ++y)
    for (int x = 8; x <= 12; ++x) picture.SetPixel(x, y, Rgb(100, 100, 100));
  TImgIO io;
  io.SetBitmap(&picture);
  EXPECT_TRUE(io.SaveToFileAs(iftBmp, path));
  return path;
}

bool Near(TColor a, TColor b, int tolerance = 2) {
  return std::abs(RedOf(a) - RedOf(b)) <= tolerance && std::abs(GreenOf(a) - GreenOf(b)) <= tolerance &&
         std::abs(BlueOf(a) - BlueOf(b)) <= tolerance;
}

std::string Describe(TColor c) {
  return "(" + std::to_string(RedOf(c)) + ", " + std::to_string(GreenOf(c)) + ", " + std::to_string(BlueOf(c)) + ")";
}

// Fires a timer's timeout as its interval running out would.
void Fire(QTimer* timer) { ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout")); }

class MainHairTest : public MainWindowTest {
 protected:
  // Hairstyles 000.jpg .. in a category folder, hair grey levels 20, 40, ...
  void Category(const std::string& folder, int count, int firstGrey = 20) {
    fs::create_directories(program_.File(folder));
    for (int i = 0; i < count; ++i) {
      WriteJpeg(HairFile(folder, i), CatalogueHair(uint8_t(firstGrey + 20 * i)));
    }
  }
  std::string HairFile(const std::string& folder, int number) const {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.jpg", number);
    return program_.File(folder + "/" + name);
  }

  // The window on a plain face of one skin colour.
  std::unique_ptr<TFormMain> StartOnFace(const Bitmap& picture = StandardFacePicture()) {
    facePath_ = Face("Face.mff", picture, RectangleRegionsHeader());
    return Start(facePath_);
  }

  static void ChooseCategory(TFormMain& form, int position) {
    Control<QComboBox>(form, "cbHairDir")->setCurrentIndex(position);
    emit Control<QComboBox>(form, "cbHairDir")->activated(position);
  }

  static QPoint CellCorner(const TImgThumbView& view, int index) {
    return view.ClientOrigin() + QPoint(view.ImageX(index) - view.ViewX(), view.ImageY(index) - view.ViewY());
  }
  static void ClickThumbnail(TFormMain& form, int index) {
    QTest::mouseClick(Control<TImgThumbView>(form, "ThumbViewHair"), Qt::LeftButton, {},
                      CellCorner(*Control<TImgThumbView>(form, "ThumbViewHair"), index) + QPoint(10, 10));
  }

  static void Focus(TFormMain& form, QWidget* control) {
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    control->setFocus();
    ASSERT_TRUE(control->hasFocus());
  }

  static TColor Hair(TFormMain& form, QPoint at = kHairBlock) {
    return Control<THairView>(form, "ImageHair")->Bitmap()->Pixel(at.x(), at.y());
  }
  static QRect HairBounds(const TFormMain& form) { return Control<THairView>(form, "ImageHair")->geometry(); }

  std::string facePath_;
};

// ---- start-up ----------------------------------------------------------------

TEST_F(MainHairTest, ShowingTheWindowPutsTheFirstShortHairstyleOnTheWholeFace) {
  Category("Short", 3);
  auto form = StartOnFace();
  EXPECT_EQ(form->Model().HairFileName(), HairFile("Short", 0));
  EXPECT_EQ(form->Hairstyle().SelectedHairstyle(), 0);
  EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewHair")->ImageCount(), 3);
  EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewHair")->GetImageFileName(2), HairFile("Short", 2));

  // Whitened background as the see-through colour, hair warmed by 60, 40, 20.
  const Bitmap& hair = *Control<THairView>(*form, "ImageHair")->Bitmap();
  EXPECT_EQ(hair.Width(), kHairWidth);
  EXPECT_TRUE(hair.Transparent);
  EXPECT_EQ(hair.TransparentColor, clWhite);
  EXPECT_TRUE(Near(Hair(*form), Rgb(80, 60, 40))) << Describe(Hair(*form));
  EXPECT_EQ(form->Model().Tint(), (THairColour{60, 40, 20}));
  EXPECT_EQ(Control<THsvPicker>(*form, "HsvPickerHair")->Red(), 60);
  EXPECT_EQ(Control<THsvPicker>(*form, "HsvPickerHair")->Green(), 40);
  EXPECT_EQ(Control<THsvPicker>(*form, "HsvPickerHair")->Blue(), 20);

  // The hair covers the face; the frame has no outline and lets the mouse through.
  EXPECT_EQ(HairBounds(*form), QRect(0, 0, 228, 314));
  EXPECT_TRUE(Control<THairView>(*form, "ImageHair")->isVisible());
  EXPECT_EQ(Control<TFrameBox>(*form, "FrameBoxHair")->Frame.Bounds, (TRect{0, 0, 227, 313}));
  EXPECT_TRUE(Control<TFrameBox>(*form, "FrameBoxHair")->Frame.Hidden);
  EXPECT_FALSE(Control<TFrameBox>(*form, "FrameBoxHair")->MouseEnabled());
  EXPECT_EQ(Control<TFrameBox>(*form, "FrameBoxHair")->parentWidget(), &form->Canvas());
  EXPECT_GT(form->Canvas().children().indexOf(Control<TFrameBox>(*form, "FrameBoxHair")),
            form->Canvas().children().indexOf(Control<THairView>(*form, "ImageHair")));

  for (QWidget* control : std::initializer_list<QWidget*>{
           Control<THsvPicker>(*form, "HsvPickerHair"), Control<QComboBox>(*form, "cbHairDir"),
           Control<QToolButton>(*form, "bColorReset"), Control<QToolButton>(*form, "tbRandomShow"),
           Control<QToolButton>(*form, "b1"), Control<QToolButton>(*form, "SpeedButton9")}) {
    EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
  }
  EXPECT_EQ(Control<QComboBox>(*form, "cbHairDir")->currentText(), "");
  EXPECT_EQ(Control<QComboBox>(*form, "cbHairDir")->placeholderText(), "Hairstyles");
  EXPECT_TRUE(messages_.empty());
}

TEST_F(MainHairTest, AMissingCatalogueLeavesAnEmptyGridAndNoHair) {
  auto form = StartOnFace();
  EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewHair")->ImageCount(), 0);
  EXPECT_EQ(form->Hairstyle().SelectedHairstyle(), -1);
  EXPECT_TRUE(Control<THairView>(*form, "ImageHair")->Bitmap()->Empty());
  EXPECT_TRUE(messages_.empty());
}

// ---- the frame buttons ---------------------------------------------------------

TEST_F(MainHairTest, EachFrameButtonClickMakesOneStep) {
  Category("Short", 1);
  auto form = StartOnFace();
  struct Case {
    const char* Button;
    TRect Frame;  // after one click from the reset place (0, 0)-(227, 313)
  };
  const Case cases[] = {
      {"b1", {-1, 0, 226, 313}},  {"b2", {0, -1, 227, 312}}, {"b3", {1, 0, 228, 313}},  {"b4", {0, 1, 227, 314}},
      {"b5", {0, -1, 227, 314}},  {"b6", {0, 1, 227, 312}},  {"b7", {-1, 0, 228, 313}}, {"b8", {1, 0, 226, 313}},
      {"b9", {-1, -1, 228, 314}}, {"b10", {1, 1, 226, 312}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Button);
    QTest::mouseClick(Control<QToolButton>(*form, "SpeedButton9"), Qt::LeftButton);
    ASSERT_EQ(HairBounds(*form), QRect(0, 0, 228, 314));
    QTest::mouseClick(Control<QToolButton>(*form, c.Button), Qt::LeftButton);
    EXPECT_EQ(Control<TFrameBox>(*form, "FrameBoxHair")->Frame.Bounds, c.Frame);
    // The hair fills the inside of the frame.
    EXPECT_EQ(HairBounds(*form), QRect(c.Frame.Left + 1, c.Frame.Top + 1, c.Frame.Right - c.Frame.Left - 1,
                                       c.Frame.Bottom - c.Frame.Top - 1));
    EXPECT_FALSE(Control<QTimer>(*form, "TimerFrame")->isActive());
  }
}

TEST_F(MainHairTest, HoldingAFrameButtonRepeatsItsStepUntilRelease) {
  Category("Short", 1);
  auto form = StartOnFace();
  QTest::mousePress(Control<QToolButton>(*form, "b9"), Qt::LeftButton);
  ASSERT_TRUE(Control<QTimer>(*form, "TimerFrame")->isActive());
  EXPECT_EQ(Control<QTimer>(*form, "TimerFrame")->interval(), 100);
  EXPECT_TRUE(form->Hairstyle().FrameStepper().FrameStepStretches);
  for (int tick = 0; tick < 10; ++tick) Fire(Control<QTimer>(*form, "TimerFrame"));
  QTest::mouseRelease(Control<QToolButton>(*form, "b9"), Qt::LeftButton);
  EXPECT_FALSE(Control<QTimer>(*form, "TimerFrame")->isActive());
  // Ten repeats and the click: 22 pixels wider and taller about the centre.
  EXPECT_EQ(Control<TFrameBox>(*form, "FrameBoxHair")->Frame.Bounds, (TRect{-11, -11, 238, 324}));

  // The right button repeats too, but makes no click step.
  QTest::mousePress(Control<QToolButton>(*form, "b3"), Qt::RightButton);
  EXPECT_FALSE(form->Hairstyle().FrameStepper().FrameStepStretches);
  for (int tick = 0; tick < 3; ++tick) Fire(Control<QTimer>(*form, "TimerFrame"));
  QTest::mouseRelease(Control<QToolButton>(*form, "b3"), Qt::RightButton);
  EXPECT_FALSE(Control<QTimer>(*form, "TimerFrame")->isActive());
  EXPECT_EQ(Control<TFrameBox>(*form, "FrameBoxHair")->Frame.Bounds, (TRect{-8, -11, 241, 324}));

  // The reset button puts the hair back over the face.
  QTest::mouseClick(Control<QToolButton>(*form, "SpeedButton9"), Qt::LeftButton);
  EXPECT_EQ(HairBounds(*form), QRect(0, 0, 228, 314));
  EXPECT_EQ(Control<TFrameBox>(*form, "FrameBoxHair")->Frame.Bounds, (TRect{0, 0, 227, 313}));
}

TEST_F(MainHairTest, ShrinkingStopsWhileTheHairStillHasAPixel) {
  Category("Short", 1);
  auto form = StartOnFace();
  QTest::mousePress(Control<QToolButton>(*form, "b10"), Qt::LeftButton);
  for (int tick = 0; tick < 200; ++tick) Fire(Control<QTimer>(*form, "TimerFrame"));
  QTest::mouseRelease(Control<QToolButton>(*form, "b10"), Qt::LeftButton);
  // The width shrinks by two a step from 228 down to 4, the height with it
  // from 314 to 90; the next step would leave less than TFrame::kMinSide and
  // is refused as a whole.
  EXPECT_EQ(Control<TFrameBox>(*form, "FrameBoxHair")->Frame.Width(), 4);
  EXPECT_EQ(Control<TFrameBox>(*form, "FrameBoxHair")->Frame.Height(), 90);
  EXPECT_EQ(HairBounds(*form).size(), QSize(2, 88));
}

// ---- hair colour -------------------------------------------------------------

TEST_F(MainHairTest, TheColourBoxTintsTheWhitenedHairAfresh) {
  auto form = StartOnFace();
  form->Hairstyle().LoadHairstyle(WriteBmpHair(program_.File("hair.bmp"), Rgb(200, 190, 250)));
  const Bitmap& hair = *Control<THairView>(*form, "ImageHair")->Bitmap();
  EXPECT_EQ(hair.Pixel(5, 5), clWhite);
  EXPECT_EQ(hair.TransparentColor, clWhite);
  EXPECT_EQ(hair.Pixel(10, 8), Rgb(160, 140, 120));

  THsvPicker& picker = *Control<THsvPicker>(*form, "HsvPickerHair");
  const int bottom = picker.height() - 1;
  // The bottom row of the field is black: the hair as whitened, untinted.
  QTest::mouseClick(&picker, Qt::LeftButton, {}, QPoint(10, bottom));
  EXPECT_EQ(form->Model().Tint(), (THairColour{0, 0, 0}));
  EXPECT_EQ(hair.Pixel(10, 8), Rgb(100, 100, 100));
  EXPECT_EQ(hair.Pixel(5, 5), clWhite);

  // One colour and then another give what the second alone gives.
  QTest::mouseClick(&picker, Qt::LeftButton, {}, QPoint(5, 5));
  const THairColour light = form->Model().Tint();
  QTest::mouseClick(&picker, Qt::LeftButton, {}, QPoint(picker.FieldWidth() / 2, picker.height() / 2));
  const THairColour second = form->Model().Tint();
  ASSERT_NE(second, light);
  auto expected = [](THairColour c) {
    return Rgb(uint8_t(std::min(255, 100 + c.Red)), uint8_t(std::min(255, 100 + c.Green)),
               uint8_t(std::min(255, 100 + c.Blue)));
  };
  EXPECT_EQ(hair.Pixel(10, 8), expected(second));
  EXPECT_EQ(hair.Pixel(5, 5), clWhite);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(MainHairTest, ABackgroundChannelOf180OrLessStaysAndTheTintMakesItOpaque) {
  auto form = StartOnFace();
  form->Hairstyle().LoadHairstyle(WriteBmpHair(program_.File("hair.bmp"), Rgb(170, 220, 220)));
  const Bitmap& hair = *Control<THairView>(*form, "ImageHair")->Bitmap();
  EXPECT_EQ(hair.TransparentColor, Rgb(170, 255, 255));
  EXPECT_EQ(hair.Pixel(5, 5), Rgb(230, 255, 255));
}

TEST_F(MainHairTest, ColourResetRestoresTheDefaultAndReloadsTheSelectedHairstyle) {
  Category("Short", 2);
  auto form = StartOnFace();
  ClickThumbnail(*form, 1);
  ASSERT_EQ(form->Model().HairFileName(), HairFile("Short", 1));
  QTest::mouseClick(Control<THsvPicker>(*form, "HsvPickerHair"), Qt::LeftButton, {},
                    QPoint(10, Control<THsvPicker>(*form, "HsvPickerHair")->height() - 1));
  // Another hairstyle on the face, not from the catalogue.
  form->Hairstyle().LoadHairstyle(WriteBmpHair(program_.File("other.bmp"), Rgb(200, 190, 250)));
  ASSERT_EQ(form->Model().HairFileName(), program_.File("other.bmp"));

  QTest::mouseClick(Control<QToolButton>(*form, "bColorReset"), Qt::LeftButton);
  EXPECT_EQ(form->Model().Tint(), (THairColour{60, 40, 20}));
  EXPECT_EQ(Control<THsvPicker>(*form, "HsvPickerHair")->Red(), 60);
  EXPECT_EQ(Control<THsvPicker>(*form, "HsvPickerHair")->Green(), 40);
  EXPECT_EQ(Control<THsvPicker>(*form, "HsvPickerHair")->Blue(), 20);
  EXPECT_EQ(form->Model().HairFileName(), HairFile("Short", 1));
  EXPECT_TRUE(Near(Hair(*form), Rgb(100, 80, 60))) << Describe(Hair(*form));
}

// ---- the catalogue -----------------------------------------------------------

TEST_F(MainHairTest, ChoosingACategoryListsItsFolderAndPutsItsFirstHairstyleOn) {
  Category("Short", 2);
  Category("Char", 3, 120);
  Category("Male", 1, 200);
  auto form = StartOnFace();
  ASSERT_EQ(Control<QComboBox>(*form, "cbHairDir")->count(), 5);
  const char* captions[] = {"Short", "Medium", "Long", "Special", "Male"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Control<QComboBox>(*form, "cbHairDir")->itemText(i), captions[i]);

  ClickThumbnail(*form, 1);
  ChooseCategory(*form, 3);
  EXPECT_EQ(form->Hairstyle().CategoryFolder(), program_.File("Char"));
  EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewHair")->ImageCount(), 3);
  EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewHair")->SelectedImage(), 0);
  EXPECT_EQ(form->Hairstyle().SelectedHairstyle(), 0);
  EXPECT_EQ(form->Model().HairFileName(), HairFile("Char", 0));
  EXPECT_TRUE(Near(Hair(*form), Rgb(180, 160, 140))) << Describe(Hair(*form));

  ChooseCategory(*form, 4);
  EXPECT_EQ(form->Hairstyle().CategoryFolder(), program_.File("Male"));
  EXPECT_EQ(form->Model().HairFileName(), HairFile("Male", 0));

  // A category without a folder: an empty grid, the hair stays.
  const TColor maleHair = Hair(*form);
  ChooseCategory(*form, 1);
  EXPECT_EQ(form->Hairstyle().CategoryFolder(), program_.File("Medium"));
  EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewHair")->ImageCount(), 0);
  EXPECT_EQ(form->Hairstyle().SelectedHairstyle(), -1);
  EXPECT_EQ(form->Model().HairFileName(), "");
  EXPECT_EQ(Hair(*form), maleHair);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(MainHairTest, TheCatalogueListsEveryJpegInNameOrderWhateverItsName) {
  fs::create_directories(program_.File("Long"));
  WriteJpeg(program_.File("Long/B.JPG"), CatalogueHair(60));
  WriteJpeg(program_.File("Long/a.jpg"), CatalogueHair(40));
  WriteJpeg(program_.File("Long/c.png"), CatalogueHair(80));
  auto form = StartOnFace();
  ChooseCategory(*form, 2);
  ASSERT_EQ(Control<TImgThumbView>(*form, "ThumbViewHair")->ImageCount(), 2);
  EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewHair")->GetImageFileName(0), program_.File("Long/a.jpg"));
  EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewHair")->GetImageFileName(1), program_.File("Long/B.JPG"));
  EXPECT_EQ(form->Model().HairFileName(), program_.File("Long/a.jpg"));
}

TEST_F(MainHairTest, ANewHairstyleTakesThePlaceAndSizeOfThePreviousOne) {
  Category("Short", 3);
  auto form = StartOnFace();
  QTest::mouseClick(Control<QToolButton>(*form, "b3"), Qt::LeftButton);
  QTest::mouseClick(Control<QToolButton>(*form, "b3"), Qt::LeftButton);
  QTest::mouseClick(Control<QToolButton>(*form, "b9"), Qt::LeftButton);
  const QRect placed = HairBounds(*form);
  const TRect frame = Control<TFrameBox>(*form, "FrameBoxHair")->Frame.Bounds;
  ASSERT_EQ(placed, QRect(2, 0, 228, 314));

  ClickThumbnail(*form, 2);
  EXPECT_EQ(form->Hairstyle().SelectedHairstyle(), 2);
  EXPECT_EQ(form->Model().HairFileName(), HairFile("Short", 2));
  EXPECT_TRUE(Near(Hair(*form), Rgb(120, 100, 80))) << Describe(Hair(*form));
  EXPECT_EQ(HairBounds(*form), placed);
  // The frame adopts the hair where it lies.
  EXPECT_EQ(Control<TFrameBox>(*form, "FrameBoxHair")->Frame.Bounds, (TRect{2, 0, 229, 313}));
  EXPECT_NE(Control<TFrameBox>(*form, "FrameBoxHair")->Frame.Bounds, frame);
}

TEST_F(MainHairTest, ThumbnailsCarryTheirNumberAndAGoldenFrame) {
  Category("Short", 3);
  auto form = StartOnFace();
  const TImgThumbView& view = *Control<TImgThumbView>(*form, "ThumbViewHair");
  const QImage shown = Control<TImgThumbView>(*form, "ThumbViewHair")->grab().toImage();
  const QPoint corner = CellCorner(view, 1);
  const int w = view.ThumbWidth(), h = view.ThumbHeight();
  auto at = [&](int x, int y) { return FromQColor(shown.pixelColor(corner.x() + x, corner.y() + y)); };

  // The frame runs from the corner to one pixel short of the cell's width and height.
  for (const QPoint p :
       {QPoint(0, 0), QPoint(w / 2, 0), QPoint(w - 2, h / 2), QPoint(w / 2, h - 2), QPoint(0, h / 2)}) {
    EXPECT_EQ(at(p.x(), p.y()), kGold) << p.x() << ", " << p.y();
  }
  EXPECT_NE(at(w - 1, h / 2), kGold);
  EXPECT_NE(at(w / 2, h - 1), kGold);

  // The number "1" in gold on white, just above the bottom edge.
  int gold = 0, white = 0;
  for (int y = h / 2; y < h - 2; ++y) {
    for (int x = w / 2 - 6; x <= w / 2 + 6; ++x) {
      gold += at(x, y) == kGold;
      white += at(x, y) == clWhite;
    }
  }
  EXPECT_GT(gold, 3);
  EXPECT_GT(white, 3);
}

// ---- deleting a hairstyle ------------------------------------------------------

TEST_F(MainHairTest, DeleteAsksFirstAndYesDeletesTheHairstyleFile) {
  Category("Short", 3);
  auto form = StartOnFace();
  ClickThumbnail(*form, 1);
  Focus(*form, Control<TImgThumbView>(*form, "ThumbViewHair"));

  answer_ = mrNo;
  QTest::keyClick(Control<TImgThumbView>(*form, "ThumbViewHair"), Qt::Key_Delete);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].Text, kDeleteQuestion);
  EXPECT_EQ(messages_[0].Type, TMsgDlgType::mtConfirmation);
  EXPECT_EQ(messages_[0].Buttons, mbYes | mbNo);
  EXPECT_EQ(DefaultButtonOf(messages_[0]), mbNo);
  EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewHair")->ImageCount(), 3);
  EXPECT_TRUE(fs::exists(HairFile("Short", 1)));

  answer_ = mrYes;
  QTest::keyClick(Control<TImgThumbView>(*form, "ThumbViewHair"), Qt::Key_Delete);
  EXPECT_EQ(messages_.size(), 2u);
  EXPECT_FALSE(fs::exists(HairFile("Short", 1)));
  EXPECT_TRUE(fs::exists(HairFile("Short", 0)));
  EXPECT_TRUE(fs::exists(HairFile("Short", 2)));
  ASSERT_EQ(Control<TImgThumbView>(*form, "ThumbViewHair")->ImageCount(), 2);
  EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewHair")->GetImageFileName(1), HairFile("Short", 2));
  // The selection moves on silently: the face keeps the deleted hairstyle.
  EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewHair")->SelectedImage(), 1);
  EXPECT_EQ(form->Hairstyle().SelectedHairstyle(), 1);
  EXPECT_EQ(form->Model().HairFileName(), HairFile("Short", 1));
  EXPECT_TRUE(Near(Hair(*form), Rgb(100, 80, 60))) << Describe(Hair(*form));
}

TEST_F(MainHairTest, DeleteActsOnlyOnTheFocusedCatalogueOrGallery) {
  Category("Short", 2);
  fs::create_directories(program_.File("Preview"));
  WriteJpeg(program_.File("Preview/0001.jpg"), CatalogueHair(50));
  auto form = StartOnFace();
  answer_ = mrYes;

  for (QWidget* control :
       std::initializer_list<QWidget*>{Control<QComboBox>(*form, "cbHairDir"), Control<QLineEdit>(*form, "edFrame")}) {
    SCOPED_TRACE(control->objectName().toStdString());
    Focus(*form, control);
    QTest::keyClick(control, Qt::Key_Delete);
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewHair")->ImageCount(), 2);
    EXPECT_TRUE(fs::exists(program_.File("Preview/0001.jpg")));
  }

  // The gallery's picture goes without a question.
  Focus(*form, Control<TImgThumbView>(*form, "ThumbViewPreview"));
  QTest::keyClick(Control<TImgThumbView>(*form, "ThumbViewPreview"), Qt::Key_Delete);
  EXPECT_TRUE(messages_.empty());
  EXPECT_FALSE(fs::exists(program_.File("Preview/0001.jpg")));
  EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewHair")->ImageCount(), 2);
  EXPECT_TRUE(fs::exists(HairFile("Short", 0)));
}

// ---- the random make-over ------------------------------------------------------

class RandomShowTest : public MainHairTest {
 protected:
  // Every number a make-over can draw has a file: 000..029 in Short,
  // Medium, Long and Char.
  void FullCatalogue() {
    fs::create_directories(program_.File("Short"));
    WriteJpeg(HairFile("Short", 0), CatalogueHair(90));
    for (const char* folder : {"Short", "Medium", "Long", "Char"}) {
      fs::create_directories(program_.File(folder));
      for (int i = 0; i < 30; ++i) {
        if (HairFile(folder, i) != HairFile("Short", 0)) fs::copy_file(HairFile("Short", 0), HairFile(folder, i));
      }
    }
  }

  // The face as its file holds it.
  Bitmap FreshFace() const {
    Makeover fresh;
    EXPECT_TRUE(fresh.LoadFace(facePath_));
    Bitmap picture;
    picture.Assign(fresh.Face());
    return picture;
  }

  static Bitmap Canvas(TFormMain& form) {
    Bitmap picture;
    picture.Assign(form.Model().Face());
    return picture;
  }

  static void Scribble(TFormMain& form) {
    Bitmap scribble(228, 314);
    scribble.Fill(Rgb(1, 2, 3));
    form.Model().SetFace(scribble);
    form.Model().SaveUndo();
  }
  static bool Scribbled(TFormMain& form) { return form.Model().Face().Pixel(5, 5) == Rgb(1, 2, 3); }

  // Region rectangles of RectangleRegionsHeader.
  static QRect LeftEye() {
    return QRect(QPoint(sf::kLeftEyeX - 14, sf::kEyeLineY - 8), QPoint(sf::kLeftEyeX + 14, sf::kEyeLineY + 8));
  }
  static QRect RightEye() { return LeftEye().translated(sf::kRightEyeX - sf::kLeftEyeX, 0); }
  static QRect Lips() {
    return QRect(QPoint(sf::kCentreX - 20, sf::kMouthY - 8), QPoint(sf::kCentreX + 20, sf::kMouthY + 8));
  }

  // Whether every pixel inside `area` is the fresh one shifted by one common
  // amount per channel within [low, high], clamped to 0..255.
  static bool OneShift(const Bitmap& result, const Bitmap& fresh, const QRect& area, int low, int high) {
    for (int channel = 0; channel < 3; ++channel) {
      bool found = false;
      for (int shift = low; shift <= high && !found; ++shift) {
        found = true;
        for (int y = area.top(); y <= area.bottom() && found; ++y) {
          for (int x = area.left(); x <= area.right() && found; ++x) {
            const int was = fresh.Row(y)[3 * x + channel], is = result.Row(y)[3 * x + channel];
            found = is == std::clamp(was + shift, 0, 255);
          }
        }
      }
      if (!found) return false;
    }
    return true;
  }

  // The result is the fresh face made up once: untouched outside the
  // regions, one eye colour and one lip colour inside.
  void ExpectOneMakeupOnTheFreshFace(const Bitmap& result) {
    const Bitmap fresh = FreshFace();
    ASSERT_EQ(result.Width(), fresh.Width());
    const QRect madeUp[] = {LeftEye().adjusted(-2, -2, 2, 2), RightEye().adjusted(-2, -2, 2, 2),
                            Lips().adjusted(-2, -2, 2, 2)};
    int outsideDifferences = 0;
    for (int y = 0; y < fresh.Height(); ++y) {
      for (int x = 0; x < fresh.Width(); ++x) {
        const bool inRegion =
            std::any_of(std::begin(madeUp), std::end(madeUp), [&](const QRect& r) { return r.contains(x, y); });
        if (!inRegion && result.Pixel(x, y) != fresh.Pixel(x, y)) ++outsideDifferences;
      }
    }
    EXPECT_EQ(outsideDifferences, 0);
    // Eye colours are drawn below 150, lip colours below 100; each shifts by colour − 50.
    EXPECT_TRUE(OneShift(result, fresh, LeftEye().adjusted(2, 2, -2, -2), -50, 99));
    EXPECT_TRUE(OneShift(result, fresh, RightEye().adjusted(2, 2, -2, -2), -50, 99));
    EXPECT_TRUE(OneShift(result, fresh, Lips().adjusted(2, 2, -2, -2), -50, 49));
  }

  static bool IsCatalogueHairstyle(const std::string& path, const std::string& programFolder) {
    for (const char* folder : {"Short", "Medium", "Long", "Char"}) {
      for (int i = 0; i < 30; ++i) {
        char name[24];
        std::snprintf(name, sizeof name, "%s/%03d.jpg", folder, i);
        if (path == programFolder + name) return true;
      }
    }
    return false;
  }
};

TEST_F(RandomShowTest, AMakeoverMakesUpTheFreshFaceAndPutsOnARandomTintedHairstyle) {
  FullCatalogue();
  auto form = StartOnFace(GradientFace());
  const auto faceBytes = ReadAll(facePath_);
  Control<QTabWidget>(*form, "PageControl1")->setCurrentWidget(Control<QWidget>(*form, "TabSheetMakeup"));
  ASSERT_FALSE(Control<THairView>(*form, "ImageHair")->isVisible());

  QTest::mouseClick(Control<QToolButton>(*form, "tbRandomShow"), Qt::LeftButton);
  EXPECT_EQ(Control<QTabWidget>(*form, "PageControl1")->currentWidget(), Control<QWidget>(*form, "TabSheetHairstyles"));
  EXPECT_TRUE(Control<TPanel>(*form, "PanelFrameControls")->isVisible());
  EXPECT_TRUE(Control<THairView>(*form, "ImageHair")->isVisible());
  EXPECT_TRUE(form->RandomFaceShown());
  EXPECT_FALSE(Control<QTimer>(*form, "Timer1")->isActive());
  ExpectOneMakeupOnTheFreshFace(Canvas(*form));

  EXPECT_TRUE(IsCatalogueHairstyle(form->Model().HairFileName(), program_.Path())) << form->Model().HairFileName();
  const THairColour tint = form->Model().Tint();
  EXPECT_TRUE(tint.Red >= 50 && tint.Red <= 99 && tint.Green <= 59 && tint.Blue <= 39)
      << int(tint.Red) << ", " << int(tint.Green) << ", " << int(tint.Blue);
  EXPECT_TRUE(Near(Hair(*form), Rgb(uint8_t(90 + tint.Red), uint8_t(90 + tint.Green), uint8_t(90 + tint.Blue))))
      << Describe(Hair(*form));
  // The colour box, the catalogue selection and the face file stay as they were.
  EXPECT_EQ(Control<THsvPicker>(*form, "HsvPickerHair")->Red(), 60);
  EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewHair")->SelectedImage(), 0);
  EXPECT_EQ(form->Hairstyle().SelectedHairstyle(), 0);
  EXPECT_EQ(ReadAll(facePath_), faceBytes);
  EXPECT_TRUE(messages_.empty());
}

// The show draws from the program's one generator as it stands: nothing
// reseeds it from the clock between the make-up and the hair.
TEST_F(RandomShowTest, AMakeoverDrawsFromTheProgramsGeneratorAsItStands) {
  FullCatalogue();
  auto form = StartOnFace(GradientFace());
  ProgramRandom().Seed(97);
  QTest::mouseClick(Control<QToolButton>(*form, "tbRandomShow"), Qt::LeftButton);

  Makeover reference;
  RandomGenerator same(97);
  ASSERT_TRUE(reference.RandomMakeover(facePath_, program_.Path(), same));
  EXPECT_TRUE(reference.Face().SameContent(form->Model().Face()));
  EXPECT_EQ(form->Model().HairFileName(), reference.HairFileName());
  EXPECT_EQ(form->Model().Tint(), reference.Tint());
  EXPECT_EQ(ProgramRandom().State(), same.State());
}

TEST_F(RandomShowTest, EachMakeoverStartsFromTheFaceFileNotFromThePreviousOne) {
  FullCatalogue();
  auto form = StartOnFace(GradientFace());
  QTest::mouseClick(Control<QToolButton>(*form, "tbRandomShow"), Qt::LeftButton);
  ASSERT_TRUE(form->RandomFaceShown());
  Scribble(*form);
  QTest::mouseClick(Control<QToolButton>(*form, "tbRandomShow"), Qt::LeftButton);
  ExpectOneMakeupOnTheFreshFace(Canvas(*form));

  // Turning to the Make-up page puts the face back as its file holds it.
  Control<QTabWidget>(*form, "PageControl1")->setCurrentWidget(Control<QWidget>(*form, "TabSheetMakeup"));
  EXPECT_FALSE(form->RandomFaceShown());
  EXPECT_FALSE(Control<THairView>(*form, "ImageHair")->isVisible());
  const Bitmap fresh = FreshFace();
  EXPECT_TRUE(fresh.SameContent(*form->Canvas().Bitmap()));
}

TEST_F(RandomShowTest, AMissingFaceFileMakesNoMakeover) {
  FullCatalogue();
  auto form = StartOnFace(GradientFace());
  fs::remove(facePath_);
  const Bitmap before = Canvas(*form);
  const std::string hair = form->Model().HairFileName();
  QTest::mouseClick(Control<QToolButton>(*form, "tbRandomShow"), Qt::LeftButton);
  EXPECT_FALSE(form->RandomFaceShown());
  EXPECT_EQ(form->Model().HairFileName(), hair);
  EXPECT_EQ(form->Model().Tint(), (THairColour{60, 40, 20}));
  EXPECT_TRUE(before.SameContent(*form->Canvas().Bitmap()));
  EXPECT_TRUE(messages_.empty());
}

TEST_F(RandomShowTest, ShiftStartsATimedShowOfNineMakeoversThatEndsWithTheFaceBack) {
  FullCatalogue();
  auto form = StartOnFace(GradientFace());
  QTest::mouseClick(Control<QToolButton>(*form, "tbRandomShow"), Qt::LeftButton, Qt::ShiftModifier);
  ASSERT_TRUE(Control<QTimer>(*form, "Timer1")->isActive());
  EXPECT_EQ(Control<QTimer>(*form, "Timer1")->interval(), 1000);
  EXPECT_EQ(form->RandomShow().Ticks(), 0);
  EXPECT_TRUE(form->RandomFaceShown());

  // Eight ticks bring the other eight make-overs, each from the fresh face.
  for (int tick = 1; tick <= 8; ++tick) {
    SCOPED_TRACE(tick);
    Scribble(*form);
    Fire(Control<QTimer>(*form, "Timer1"));
    EXPECT_FALSE(Scribbled(*form));
    EXPECT_TRUE(form->RandomFaceShown());
    EXPECT_TRUE(Control<QTimer>(*form, "Timer1")->isActive());
    EXPECT_EQ(form->RandomShow().Ticks(), tick);
    // The button blinks: pressed on odd ticks.
    EXPECT_EQ(Control<QToolButton>(*form, "tbRandomShow")->isDown(), tick % 2 == 1);
  }
  ExpectOneMakeupOnTheFreshFace(Canvas(*form));

  // The ninth puts back the face, the default colour and the chosen hairstyle.
  Fire(Control<QTimer>(*form, "Timer1"));
  EXPECT_FALSE(Control<QTimer>(*form, "Timer1")->isActive());
  EXPECT_FALSE(form->RandomFaceShown());
  EXPECT_FALSE(Control<QToolButton>(*form, "tbRandomShow")->isDown());
  const Bitmap fresh = FreshFace();
  EXPECT_TRUE(fresh.SameContent(*form->Canvas().Bitmap()));
  EXPECT_EQ(form->Model().Tint(), (THairColour{60, 40, 20}));
  EXPECT_EQ(Control<THsvPicker>(*form, "HsvPickerHair")->Red(), 60);
  EXPECT_EQ(form->Model().HairFileName(), HairFile("Short", 0));
  EXPECT_TRUE(Near(Hair(*form), Rgb(150, 130, 110))) << Describe(Hair(*form));
  EXPECT_TRUE(messages_.empty());

  // Another show counts its nine afresh.
  QTest::mouseClick(Control<QToolButton>(*form, "tbRandomShow"), Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_TRUE(Control<QTimer>(*form, "Timer1")->isActive());
  EXPECT_EQ(form->RandomShow().Ticks(), 0);
}

TEST_F(RandomShowTest, PressingTheButtonAgainStopsTheShowWithoutAnotherMakeover) {
  FullCatalogue();
  auto form = StartOnFace(GradientFace());
  QTest::mouseClick(Control<QToolButton>(*form, "tbRandomShow"), Qt::LeftButton, Qt::ShiftModifier);
  Fire(Control<QTimer>(*form, "Timer1"));
  ASSERT_TRUE(Control<QToolButton>(*form, "tbRandomShow")->isDown());
  Scribble(*form);

  QTest::mouseClick(Control<QToolButton>(*form, "tbRandomShow"), Qt::LeftButton);
  EXPECT_FALSE(Control<QTimer>(*form, "Timer1")->isActive());
  EXPECT_FALSE(Control<QToolButton>(*form, "tbRandomShow")->isDown());
  EXPECT_TRUE(Scribbled(*form));
  EXPECT_EQ(form->RandomShow().Ticks(), 1);

  // The next click is a make-over of its own again.
  QTest::mouseClick(Control<QToolButton>(*form, "tbRandomShow"), Qt::LeftButton);
  EXPECT_FALSE(Scribbled(*form));
  EXPECT_FALSE(Control<QTimer>(*form, "Timer1")->isActive());
}

TEST_F(RandomShowTest, TurningToTheMakeupPageStopsTheShowAndDiscardsTheMakeover) {
  FullCatalogue();
  auto form = StartOnFace(GradientFace());
  QTest::mouseClick(Control<QToolButton>(*form, "tbRandomShow"), Qt::LeftButton, Qt::ShiftModifier);
  Fire(Control<QTimer>(*form, "Timer1"));
  QTabBar* tabs = Control<QTabWidget>(*form, "PageControl1")->tabBar();
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
  ASSERT_EQ(Control<QTabWidget>(*form, "PageControl1")->currentWidget(), Control<QWidget>(*form, "TabSheetMakeup"));
  EXPECT_FALSE(Control<QTimer>(*form, "Timer1")->isActive());
  EXPECT_FALSE(Control<QToolButton>(*form, "tbRandomShow")->isDown());
  EXPECT_FALSE(form->RandomFaceShown());
  EXPECT_FALSE(Control<THairView>(*form, "ImageHair")->isVisible());
  const Bitmap fresh = FreshFace();
  EXPECT_TRUE(fresh.SameContent(*form->Canvas().Bitmap()));
}

}  // namespace
}  // namespace test
}  // namespace glamora
