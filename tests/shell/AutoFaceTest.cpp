// The main window's help with a face of one's own: "Find eyes and lips"
// (button and File menu entry) proposes the regions from the face's
// landmarks and writes them back as hand-drawn outlines are, "Soft edges"
// lays the region colours on softly, and Compare (button or backslash, held)
// shows the face as loaded. A stand-in finder answers with the portrait's
// landmarks placed on the standard face.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <thread>

#include "face/FaceFile.h"
#include "face/RegionColouring.h"
#include "imaging/HsvPicker.h"
#include "imaging/core/Stream.h"
#include "tests/landmarks/Fixtures.h"
#include "tests/shell/MainWindowFixture.h"
#include "tests/support/FaceFixtures.h"

namespace glamora::test {
namespace {

namespace fs = std::filesystem;

const TColor kSkin = Rgb(200, 160, 140);

// The portrait's landmarks on the standard face: eyes near (87, 150) and
// (141, 150), the mouth near y 216.
FaceLandmarks StandardFaceLandmarks() { return Moved(AstronautLandmarks(), {0, 0}, 0, 1.23, -163, 26); }

FaceHeader ReadHeader(const std::string& path) {
  FaceHeader header;
  MemoryStream payload;
  EXPECT_TRUE(ReadFaceFile(path, header, payload));
  return header;
}

class AutoFaceTest : public MainWindowTest {
 protected:
  // The window on a plain face with rectangular regions and the stand-in finder.
  std::unique_ptr<TFormMain> StartWithFinder() {
    facePath_ = Face("Face.mff", StandardFacePicture(kSkin), RectangleRegionsHeader());
    auto form = Start(facePath_);
    found_.Result = FaceSearch::Outcome::Found;
    found_.Points = StandardFaceLandmarks();
    form->SetFaceFinder([this](const Bitmap& picture) {
      ++searches_;
      searchedOn_ = std::this_thread::get_id();
      searched_.Assign(picture);
      return found_;
    });
    return form;
  }

  static void ShowMakeupPage(TFormMain& form) {
    Control<QTabWidget>(form, "PageControl1")->setCurrentWidget(form.MakeupPage().Sheet());
  }

  // Chooses a make-up tool and picks a colour in the colour box.
  static void Colour(TFormMain& form, const char* tool) {
    QTest::mouseClick(Control<QToolButton>(form, tool), Qt::LeftButton);
    auto* box = Control<THsvPicker>(form, "HsvPickerMakeup");
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(40, 60));
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(40, 60));
  }

  static TColor Shown(TFormMain& form, int x, int y) { return form.Canvas().Bitmap()->Pixel(x, y); }

  std::string facePath_;
  FaceSearch found_;
  int searches_ = 0;
  std::thread::id searchedOn_;
  Bitmap searched_;
};

TEST_F(AutoFaceTest, FindEyesAndLipsIsOffWithoutAFinder) {
  auto form = Start(Face("Face.mff", StandardFacePicture(kSkin), RectangleRegionsHeader()));
  EXPECT_FALSE(Control<QToolButton>(*form, "bFindRegions")->isEnabled());
  EXPECT_FALSE(Control<QAction>(*form, "FindEyesAndLips")->isEnabled());
  form->SetFaceFinder([](const Bitmap&) { return FaceSearch{}; });
  EXPECT_TRUE(Control<QToolButton>(*form, "bFindRegions")->isEnabled());
  EXPECT_TRUE(Control<QAction>(*form, "FindEyesAndLips")->isEnabled());
  EXPECT_EQ(Control<QToolButton>(*form, "bFindRegions")->toolTip(), "Find eyes and lips");
  EXPECT_EQ(Control<QAction>(*form, "FindEyesAndLips")->shortcut(), QKeySequence("Ctrl+L"));
}

// The proposal replaces the regions, reaches the face file through the
// header write-back, lays the colour shown since the last undo point on the
// new regions, and is drawn over the face until the next click.
TEST_F(AutoFaceTest, FindEyesAndLipsProposesTheRegionsOfTheFaceAsLoaded) {
  auto form = StartWithFinder();
  ShowMakeupPage(*form);
  Colour(*form, "bEyes");
  const TColor eyeColour = Shown(*form, 87, 150);
  ASSERT_NE(eyeColour, kSkin) << "the rectangle around the left eye took the colour";

  QTest::mouseClick(Control<QToolButton>(*form, "bFindRegions"), Qt::LeftButton);
  EXPECT_EQ(searches_, 1);
  EXPECT_NE(searchedOn_, std::this_thread::get_id()) << "found off the user-interface thread";
  EXPECT_TRUE(searched_.SameContent(StandardFacePicture(kSkin))) << "the face as loaded, without the make-up";

  const FaceHeader& header = form->Model().Header();
  for (int region : {1, 2, 3}) EXPECT_NE(header.Region(region), RectangleRegionsHeader().Region(region)) << region;
  EXPECT_TRUE(form->Model().HeaderSaved());
  EXPECT_EQ(ReadHeader(facePath_), header);
  // The eye colour follows: the pupil is the ring's hole, the lid is coloured.
  const FaceLandmarks points = StandardFaceLandmarks();
  const PointF pupil = Centre(points, landmark::kLeftEye);
  EXPECT_EQ(Shown(*form, int(pupil.X), int(pupil.Y)), kSkin);
  EXPECT_NE(Shown(*form, int(points[38].X), int(points[38].Y) - 3), kSkin);
  EXPECT_TRUE(MessageTexts().empty());

  const std::vector<QPoint>& outlines = form->Canvas().RegionOutlines();
  ASSERT_FALSE(outlines.empty());
  const PolygonRegion lips = RegionOf(header.Region(FaceHeader::kLips));
  EXPECT_TRUE(std::any_of(outlines.begin(), outlines.end(), [&](QPoint p) { return lips.Contains(p.x(), p.y()); }));
  QTest::mouseClick(&form->Canvas(), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_TRUE(form->Canvas().RegionOutlines().empty());
}

// On the Hairstyle page the menu entry stores and writes back the proposal
// and leaves the view showing what Add to gallery keeps: the made-up face
// with the hair over it, no outlines.
TEST_F(AutoFaceTest, FindEyesAndLipsOnTheHairstylePageKeepsTheViewAsTheGalleryWouldSaveIt) {
  auto form = StartWithFinder();
  ShowMakeupPage(*form);
  Colour(*form, "bLipstick");
  Control<QTabWidget>(*form, "PageControl1")->setCurrentWidget(form->Hairstyle().Sheet());
  ASSERT_TRUE(form->Hairstyle().HairView().isVisible());

  Control<QAction>(*form, "FindEyesAndLips")->trigger();
  EXPECT_EQ(searches_, 1);
  EXPECT_EQ(ReadHeader(facePath_).Region(FaceHeader::kLips), form->Model().Header().Region(FaceHeader::kLips));
  EXPECT_EQ(Control<QTabWidget>(*form, "PageControl1")->currentWidget(), form->Hairstyle().Sheet());
  EXPECT_TRUE(form->Hairstyle().HairView().isVisible());
  EXPECT_TRUE(form->Canvas().RegionOutlines().empty());
  EXPECT_TRUE(form->Canvas().Bitmap()->SameContent(form->Model().Face()));
  EXPECT_NE(Shown(*form, 114, 216), kSkin) << "the lipstick stays on";
}

TEST_F(AutoFaceTest, NoFaceIsSaidAndTheRegionsStay) {
  auto form = StartWithFinder();
  ShowMakeupPage(*form);
  found_.Result = FaceSearch::Outcome::NoFace;
  found_.Message = "No face was found in the picture";
  Control<QAction>(*form, "FindEyesAndLips")->trigger();
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"No face was found in the picture"});
  EXPECT_EQ(form->Model().Header(), RectangleRegionsHeader());
  EXPECT_TRUE(form->Canvas().RegionOutlines().empty());
}

// A face file that cannot take the proposal offers the outline commit's way
// out; No drops the proposal.
TEST_F(AutoFaceTest, AFaceFileThatCannotTakeTheProposalOffersTheWayOut) {
  auto form = StartWithFinder();
  ShowMakeupPage(*form);
  const std::vector<uint8_t> before = ReadAll(facePath_);
  fs::permissions(facePath_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  answer_ = mrNo;
  QTest::mouseClick(Control<QToolButton>(*form, "bFindRegions"), Qt::LeftButton);
  ASSERT_EQ(MessageTexts().size(), 1u);
  EXPECT_NE(MessageTexts()[0].find("cannot be written into that face file"), std::string::npos) << MessageTexts()[0];
  EXPECT_EQ(form->Model().Header(), RectangleRegionsHeader());
  EXPECT_TRUE(form->Model().HeaderSaved());
  EXPECT_EQ(ReadAll(facePath_), before);
}

TEST_F(AutoFaceTest, SoftEdgesAreOffAtFirstAndLayTheColoursOnAgain) {
  auto form = StartWithFinder();
  ShowMakeupPage(*form);
  QCheckBox& soft = *Control<QCheckBox>(*form, "cbSoftEdges");
  EXPECT_EQ(soft.text(), "Soft edges");
  EXPECT_FALSE(soft.isChecked());
  EXPECT_FALSE(form->Model().SoftEdges());

  Colour(*form, "bLipstick");
  const TColor shifted = Shown(*form, 114, 216);
  soft.click();
  EXPECT_TRUE(form->Model().SoftEdges());
  const TColor softly = Shown(*form, 114, 216);
  EXPECT_NE(softly, shifted);
  EXPECT_NE(softly, kSkin);
  soft.click();
  EXPECT_EQ(Shown(*form, 114, 216), shifted);

  // Kept by the next tool's undo point, the colour is laid again all the
  // same, once, from the face as loaded.
  QTest::mouseClick(Control<QToolButton>(*form, "bEyes"), Qt::LeftButton);
  soft.click();
  EXPECT_EQ(Shown(*form, 114, 216), softly);
  soft.click();
  EXPECT_EQ(Shown(*form, 114, 216), shifted);
}

// Held down, Compare shows the face as loaded with the hair and its frame
// hidden, and takes no clicks; released, the make-over comes back.
TEST_F(AutoFaceTest, CompareShowsTheFaceAsLoadedWhileHeld) {
  auto form = StartWithFinder();
  QWidget& hair = *Control<QWidget>(*form, "ImageHair");
  QWidget& frame = *Control<QWidget>(*form, "FrameBoxHair");
  ShowMakeupPage(*form);
  Colour(*form, "bEyes");
  const Bitmap madeUp = *form->Canvas().Bitmap();
  Control<QTabWidget>(*form, "PageControl1")->setCurrentWidget(form->Hairstyle().Sheet());
  ASSERT_TRUE(hair.isVisible() && frame.isVisible());

  QToolButton& compare = *Control<QToolButton>(*form, "tbCompare");
  QTest::mousePress(&compare, Qt::LeftButton);
  EXPECT_TRUE(form->Canvas().Comparing());
  EXPECT_TRUE(form->Canvas().Bitmap()->SameContent(StandardFacePicture(kSkin)));
  EXPECT_FALSE(hair.isVisible() || frame.isVisible());
  QTest::mouseRelease(&compare, Qt::LeftButton);
  EXPECT_TRUE(form->Canvas().Bitmap()->SameContent(madeUp));
  EXPECT_TRUE(hair.isVisible() && frame.isVisible());

  // The backslash, wherever the focus is, and never typed into the edit box.
  ShowMakeupPage(*form);
  QTest::mouseClick(Control<QToolButton>(*form, "bOutline"), Qt::LeftButton);
  auto* keyCatcher = Control<QLineEdit>(*form, "edFrame");
  QTest::keyPress(keyCatcher, Qt::Key_Backslash);
  EXPECT_TRUE(form->Canvas().Comparing());
  QTest::mouseClick(&form->Canvas(), Qt::LeftButton, {}, QPoint(100, 100));
  EXPECT_EQ(form->Canvas().WorkPolygon().Count, 0) << "no vertex while comparing";
  QTest::keyRelease(keyCatcher, Qt::Key_Backslash);
  EXPECT_FALSE(form->Canvas().Comparing());
  EXPECT_TRUE(keyCatcher->text().isEmpty());

  // A pencil stroke under way ends when comparing starts: its release goes unseen.
  QTest::mouseClick(Control<QToolButton>(*form, "bPencil"), Qt::LeftButton);
  QTest::mousePress(&form->Canvas(), Qt::LeftButton, {}, QPoint(50, 50));
  ASSERT_TRUE(form->Canvas().Drawing());
  QTest::keyPress(keyCatcher, Qt::Key_Backslash);
  QTest::keyRelease(keyCatcher, Qt::Key_Backslash);
  EXPECT_FALSE(form->Canvas().Drawing());
}

}  // namespace
}  // namespace glamora::test
