// The gallery panel of the main window and the face browser it opens:
// numbering across adds, deletes and restarts, what an add composes, the
// preview with export and print, the thumbnail numbers, and switching faces.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>
#include <set>
#include <sstream>

#include "desktop/FileFunctions.h"
#include "face/StandardFace.h"
#include "gallery/GalleryExport.h"
#include "gallery/GalleryFolder.h"
#include "gallery/OpenFace.h"
#include "gallery/Preview.h"
#include "imaging/ImgEditor.h"
#include "imaging/ImgThumbView.h"
#include "imaging/QtBitmap.h"
#include "imaging/components/ImgIO.h"
#include "tests/shell/MainWindowFixture.h"
#include "tests/support/FaceFixtures.h"
#include "views/Makeup.h"

namespace glamora::test {
namespace {

namespace fs = std::filesystem;

constexpr TColor kFrameColor = 0x00AFDB;

Bitmap Plain(TColor colour, int width = standard_face::kWidth, int height = standard_face::kHeight) {
  Bitmap picture(width, height);
  picture.Fill(colour);
  return picture;
}

Bitmap LoadPicture(const std::string& path) {
  Bitmap picture;
  TImgIO io;
  io.SetBitmap(&picture);
  io.LoadFromFile(path);
  return picture;
}

bool Near(TColor a, TColor b, int tolerance = 12) {
  return std::abs(RedOf(a) - RedOf(b)) <= tolerance && std::abs(GreenOf(a) - GreenOf(b)) <= tolerance &&
         std::abs(BlueOf(a) - BlueOf(b)) <= tolerance;
}

std::string Describe(TColor c) {
  return std::to_string(RedOf(c)) + "," + std::to_string(GreenOf(c)) + "," + std::to_string(BlueOf(c));
}

class MainGalleryTest : public MainWindowTest {
 protected:
  MainGalleryTest() { fs::create_directories(program_.File("Preview")); }

  // The main window on a face of its own, with the preview dialog and the
  // face browser handed to it as the program entry does.
  std::unique_ptr<TFormMain> StartGallery() {
    if (face_.empty()) face_ = Face("Mine.mff", GradientFace(), RectangleRegionsHeader());
    auto form = Start(face_);
    preview_ = new TFormPreview(form.get());
    browser_ = new TFormOpenFace(form->ProgramFolder(), form.get());
    form->SetOtherWindows({.FormPreview = preview_, .FormOpenFace = browser_});
    return form;
  }

  std::string Gallery(const std::string& name = {}) const { return program_.File("Preview/" + name); }

  // A gallery picture written as a previous run would have added it.
  void Picture(int number, TColor colour) {
    ASSERT_EQ(AddGalleryPicture(Gallery(), number - 1, Plain(colour)).Number, number);
  }

  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    ListFiles(Gallery(), "*", true, names);
    return names;
  }

  static std::vector<std::string> Shown(const TFormMain& form) {
    std::vector<std::string> names;
    for (int i = 0; i < Control<TImgThumbView>(form, "ThumbViewPreview")->ImageCount(); ++i) {
      names.push_back(
          fs::path(Control<TImgThumbView>(form, "ThumbViewPreview")->GetImageFileName(i)).filename().string());
    }
    return names;
  }

  static std::string Selected(const TFormMain& form) {
    return fs::path(Control<TImgThumbView>(form, "ThumbViewPreview")
                        ->GetImageFileName(Control<TImgThumbView>(form, "ThumbViewPreview")->SelectedImage()))
        .filename()
        .string();
  }

  // What the window system sends when a dialog becomes the active window;
  // the offscreen platform does not activate windows by itself.
  static void Activated(QDialog* dialog) {
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(dialog, &activate);
  }

  static void Activate(TFormMain& form) {
    // The offscreen platform leaves a closed dialog the active window.
    QApplication::setActiveWindow(&form);
    ASSERT_EQ(QApplication::activeWindow(), &form);
  }

  // The Delete key reaching the window while the gallery has the focus.
  static void DeleteKeyOnGallery(TFormMain& form) {
    Activate(form);
    Control<TImgThumbView>(form, "ThumbViewPreview")->setFocus();
    QTest::keyClick(Control<TImgThumbView>(form, "ThumbViewPreview"), Qt::Key_Delete);
  }

  // Runs a command that shows a modal dialog; `act` runs once the dialog is
  // up. Returns whether it ran.
  static bool WithModal(QDialog* dialog, const std::function<void()>& command, const std::function<void()>& act) {
    bool ran = false;
    // A timer of this scope: when the command shows no dialog, it goes with it.
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, dialog, [&] {
      ran = true;
      EXPECT_TRUE(dialog->isVisible());
      act();
      if (dialog->isVisible()) {
        ADD_FAILURE() << "the dialog is still open";
        dialog->reject();
      }
    });
    timer.start(0);
    command();
    return ran;
  }

  // Answers message boxes from a list (OK when it runs out) and records them.
  void Answers(std::deque<TModalResult> answers) {
    script_ = std::move(answers);
    // The previous script goes first, so the new one replaces it.
    hook_.reset();
    hook_ = std::make_unique<ScopedMessageHook>([this](const MessageRequest& request) {
      messages_.push_back(request);
      if (script_.empty()) return TModalResult(mrOk);
      const TModalResult answer = script_.front();
      script_.pop_front();
      return answer;
    });
  }

  std::string face_;
  TFormPreview* preview_ = nullptr;
  TFormOpenFace* browser_ = nullptr;
  std::deque<TModalResult> script_;
  std::unique_ptr<ScopedMessageHook> hook_;
};

// ---- filling and numbering -------------------------------------------------

TEST_F(MainGalleryTest, ShowingFillsTheGalleryInNameOrderWithTheFirstSelected) {
  for (int n : {2, 1, 3}) Picture(n, Rgb(40 * n, 60, 90));
  WriteAll(Gallery("notes.txt"), std::string("not a picture"));
  auto form = StartGallery();
  EXPECT_EQ(Shown(*form), (std::vector<std::string>{"0001.jpg", "0002.jpg", "0003.jpg"}));
  EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewPreview")->SelectedImage(), 0);
  EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewPreview")->GetImageFileName(0), Gallery("0001.jpg"));
  EXPECT_EQ(form->Gallery().Counter(), 3);
}

TEST_F(MainGalleryTest, NumbersRiseAfterDeletesAndStartAgainFromTheHighestAfterARestart) {
  for (int n = 1; n <= 3; ++n) Picture(n, Rgb(90, 90, 90));
  {
    auto form = StartGallery();
    Control<QAction>(*form, "MenuAdd")->trigger();
    EXPECT_EQ(Selected(*form), "0004.jpg");
    EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewPreview")->SelectedImage(), 3);

    DeleteKeyOnGallery(*form);
    EXPECT_FALSE(fs::exists(Gallery("0004.jpg")));
    EXPECT_EQ(Shown(*form), (std::vector<std::string>{"0001.jpg", "0002.jpg", "0003.jpg"}));
    EXPECT_TRUE(messages_.empty()) << "the Delete key asks no question";

    // The freed number is not handed out again in this run.
    Control<QAction>(*form, "MenuAdd")->trigger();
    EXPECT_EQ(Selected(*form), "0005.jpg");
    DeleteKeyOnGallery(*form);
    EXPECT_EQ(Files(), (std::vector<std::string>{"0001.jpg", "0002.jpg", "0003.jpg"}));
    EXPECT_EQ(form->Gallery().Counter(), 5);
  }
  // The next start counts from the highest number present.
  auto again = StartGallery();
  EXPECT_EQ(again->Gallery().Counter(), 3);
  Control<QAction>(*again, "MenuAdd")->trigger();
  EXPECT_EQ(Selected(*again), "0004.jpg");
  EXPECT_EQ(Files(), (std::vector<std::string>{"0001.jpg", "0002.jpg", "0003.jpg", "0004.jpg"}));
}

TEST_F(MainGalleryTest, DeleteKeyOnAnEmptyGalleryDoesNothing) {
  auto form = StartGallery();
  DeleteKeyOnGallery(*form);
  EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewPreview")->ImageCount(), 0);
  EXPECT_TRUE(messages_.empty());
}

// ---- what an add composes -------------------------------------------------

// The first hairstyle of the catalogue, face-sized: a grey block at
// (64..127, 96..159) on a light background that becomes see-through.
void BlockHairstyle(const std::string& programFolder) {
  Bitmap hair = Plain(Rgb(235, 235, 235));
  for (int y = 96; y < 160; ++y)
    for (int x = 64; x < 128; ++x) hair.SetPixel(x, y, Rgb(40, 40, 40));
  fs::create_directories(programFolder + "Short");
  TImgIO io;
  io.SetBitmap(&hair);
  io.Params.JpegQuality = 100;
  ASSERT_TRUE(io.SaveToFile(programFolder + "Short/000.jpg"));
}

TEST_F(MainGalleryTest, AddComposesTheHairWhereTheFrameButtonsPutIt) {
  BlockHairstyle(program_.Path());
  auto form = StartGallery();
  ASSERT_FALSE(Control<THairView>(*form, "ImageHair")->Bitmap()->Empty());
  const Bitmap& face = *form->Canvas().Bitmap();
  const TColor tinted = Rgb(100, 80, 60);  // grey 40 + 60, 40, 20

  // Points well inside or outside the block, clear of the JPEG's edge ringing.
  const QPoint a(72, 104), b(136, 168), c(104, 136);
  auto expectAt = [&](const Bitmap& saved, QPoint p, bool hairThere) {
    const TColor expected = hairThere ? tinted : face.Pixel(p.x(), p.y());
    EXPECT_TRUE(Near(saved.Pixel(p.x(), p.y()), expected, 14))
        << p.x() << ", " << p.y() << ": " << Describe(saved.Pixel(p.x(), p.y())) << " for " << Describe(expected);
  };

  Control<QAction>(*form, "MenuAdd")->trigger();
  const Bitmap first = LoadPicture(Gallery("0001.jpg"));
  ASSERT_EQ(first.Width(), 228);
  ASSERT_EQ(first.Height(), 314);
  expectAt(first, a, true);
  expectAt(first, b, false);
  expectAt(first, c, true);

  // Sixteen steps right and sixteen down move the hair by (16, 16).
  for (int i = 0; i < 16; ++i) {
    QTest::mouseClick(Control<QToolButton>(*form, "b3"), Qt::LeftButton);
    QTest::mouseClick(Control<QToolButton>(*form, "b4"), Qt::LeftButton);
  }
  Control<QAction>(*form, "MenuAdd")->trigger();
  const Bitmap moved = LoadPicture(Gallery("0002.jpg"));
  ASSERT_EQ(moved.Width(), 228);
  expectAt(moved, a, false);
  expectAt(moved, b, true);
  expectAt(moved, c, true);
}

// The hair goes where the make-over places it on the face, not where the
// canvas shows it: outlining at 300 % and scrolled, Add gives the picture the
// Hairstyle page gives.
TEST_F(MainGalleryTest, AddWhileOutliningZoomedAndScrolledComposesAsTheHairstylePage) {
  BlockHairstyle(program_.Path());
  auto form = StartGallery();
  for (int i = 0; i < 5; ++i) {
    QTest::mouseClick(Control<QToolButton>(*form, "b3"), Qt::LeftButton);
    QTest::mouseClick(Control<QToolButton>(*form, "b9"), Qt::LeftButton);
  }
  Control<QAction>(*form, "MenuAdd")->trigger();

  Control<QTabWidget>(*form, "PageControl1")->setCurrentWidget(Control<QWidget>(*form, "TabSheetMakeup"));
  QTest::mouseClick(Control<QToolButton>(*form, "bOutline"), Qt::LeftButton);
  ASSERT_EQ(form->Canvas().ZoomFactor(), 3);
  ASSERT_EQ(form->Canvas().ViewX(), 150);
  ASSERT_EQ(form->Canvas().ViewY(), 250);
  Control<QAction>(*form, "MenuAdd")->trigger();

  ASSERT_TRUE(fs::exists(Gallery("0002.jpg")));
  EXPECT_EQ(ReadAll(Gallery("0002.jpg")), ReadAll(Gallery("0001.jpg")));
  EXPECT_TRUE(messages_.empty());
}

TEST_F(MainGalleryTest, AddNeverReplacesAPicture) {
  // "zzz.jpg" sorts last, so the start-up count is 0 although 0001 and 0002 exist.
  Picture(1, Rgb(10, 200, 10));
  Picture(2, Rgb(10, 10, 200));
  WriteAll(Gallery("zzz.jpg"), ReadAll(Gallery("0001.jpg")));
  const std::vector<uint8_t> first = ReadAll(Gallery("0001.jpg"));
  const std::vector<uint8_t> second = ReadAll(Gallery("0002.jpg"));
  auto form = StartGallery();
  EXPECT_EQ(form->Gallery().Counter(), 0);

  Control<QAction>(*form, "MenuAdd")->trigger();
  EXPECT_EQ(ReadAll(Gallery("0001.jpg")), first);
  EXPECT_EQ(ReadAll(Gallery("0002.jpg")), second);
  EXPECT_TRUE(fs::exists(Gallery("0003.jpg")));
  EXPECT_EQ(form->Gallery().Counter(), 3);
  // The new picture, not the one that sorts last, so that Export exports it.
  EXPECT_EQ(Selected(*form), "0003.jpg");
}

TEST_F(MainGalleryTest, PastTheLastFourDigitNumberTheLowestFreeOneIsAddedAndSelected) {
  Picture(1, Rgb(10, 200, 10));
  Picture(3, Rgb(10, 10, 200));
  Picture(9999, Rgb(200, 10, 10));
  auto form = StartGallery();
  ASSERT_EQ(form->Gallery().Counter(), 9999);

  Control<QAction>(*form, "MenuAdd")->trigger();
  EXPECT_EQ(Files(), (std::vector<std::string>{"0001.jpg", "0002.jpg", "0003.jpg", "9999.jpg"}));
  EXPECT_EQ(Selected(*form), "0002.jpg");
  EXPECT_EQ(form->Gallery().Counter(), 2);
  Control<QAction>(*form, "MenuAdd")->trigger();
  EXPECT_EQ(Selected(*form), "0004.jpg");
}

TEST_F(MainGalleryTest, AnAddThatWritesNothingKeepsTheCounterAndTheSelection) {
  Picture(1, Rgb(10, 200, 10));
  Picture(2, Rgb(10, 10, 200));
  auto form = StartGallery();
  Control<TImgThumbView>(*form, "ThumbViewPreview")->SetSelectedImage(0);
  // A face that cannot be coded: nothing is written.
  form->Model().SetFace(Bitmap());
  Control<QAction>(*form, "MenuAdd")->trigger();
  EXPECT_EQ(Files(), (std::vector<std::string>{"0001.jpg", "0002.jpg"}));
  EXPECT_EQ(form->Gallery().Counter(), 2);
  EXPECT_EQ(Selected(*form), "0001.jpg");
}

struct DeleteAllCase {
  const char* Name;
  int Pictures;
  TModalResult Answer;
  std::vector<std::string> Texts;
  bool Emptied;
};

TEST_F(MainGalleryTest, DeleteAllAsksOnceEmptiesTheFolderAndStartsTheNumbersOver) {
  const DeleteAllCase cases[] = {
      {"no pictures", 0, mrYes, {"There is not saved gallery pictures"}, false},
      {"answered No", 3, mrNo, {"Do you delete all gallery images?"}, false},
      {"answered Yes", 3, mrYes, {"Do you delete all gallery images?"}, true},
  };
  for (const DeleteAllCase& c : cases) {
    SCOPED_TRACE(c.Name);
    for (const std::string& name : Files()) fs::remove(Gallery(name));
    for (int n = 1; n <= c.Pictures; ++n) Picture(n, Rgb(120, 30, 30));
    if (c.Pictures > 0) WriteAll(Gallery("notes.txt"), std::string("kept with the pictures?"));
    const std::vector<std::string> before = Files();
    auto form = StartGallery();
    messages_.clear();
    answer_ = c.Answer;

    QTest::mouseClick(Control<QToolButton>(*form, "tbDeleteAll"), Qt::LeftButton);
    EXPECT_EQ(MessageTexts(), c.Texts);
    if (c.Pictures > 0) {
      EXPECT_EQ(messages_[0].Type, TMsgDlgType::mtWarning);
      EXPECT_EQ(messages_[0].Buttons, TMsgDlgButtons(mbYes | mbNo));
    }
    if (c.Emptied) {
      EXPECT_TRUE(Files().empty()) << "files that are not pictures go too";
      EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewPreview")->ImageCount(), 0);
      EXPECT_EQ(form->Gallery().Counter(), 0);
      Control<QAction>(*form, "MenuAdd")->trigger();
      EXPECT_EQ(Files(), std::vector<std::string>{"0001.jpg"});
    } else {
      EXPECT_EQ(Files(), before);
      EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewPreview")->ImageCount(), c.Pictures);
    }
  }
}

// ---- the commands that add, browse and preview ------------------------------

TEST_F(MainGalleryTest, EveryAddCommandAddsOnePictureAndSelectsIt) {
  auto form = StartGallery();
  Activate(*form);
  struct Command {
    const char* Name;
    std::function<void()> Run;
    // The picture selected afterwards; a right-click released over a
    // thumbnail selects that one, as any click on the view does.
    const char* Selected;
  };
  const Command commands[] = {
      {"Ctrl+A", [&] { QTest::keyClick(form.get(), Qt::Key_A, Qt::ControlModifier); }, "0001.jpg"},
      // The edit box behind the canvas holds the focus at start-up; its own
      // select-all must not swallow the menu's shortcut.
      {"Ctrl+A in the focused edit box",
       [&] {
         Control<QLineEdit>(*form, "edFrame")->setFocus();
         QTest::keyClick(Control<QLineEdit>(*form, "edFrame"), Qt::Key_A, Qt::ControlModifier);
       },
       "0002.jpg"},
      {"Add to Gallery", [&] { QTest::mouseClick(Control<QToolButton>(*form, "tbAddGalery"), Qt::LeftButton); },
       "0003.jpg"},
      {"right-click below the thumbnails",
       [&] {
         QTest::mouseClick(Control<TImgThumbView>(*form, "ThumbViewPreview"), Qt::RightButton, {},
                           QPoint(30, Control<TImgThumbView>(*form, "ThumbViewPreview")->height() - 5));
       },
       "0004.jpg"},
      {"right-click on the first thumbnail",
       [&] {
         QTest::mouseClick(Control<TImgThumbView>(*form, "ThumbViewPreview"), Qt::RightButton, {}, QPoint(30, 20));
       },
       "0001.jpg"},
  };
  int added = 0;
  for (const Command& c : commands) {
    SCOPED_TRACE(c.Name);
    c.Run();
    ++added;
    EXPECT_EQ(Files().size(), size_t(added));
    EXPECT_EQ(Control<TImgThumbView>(*form, "ThumbViewPreview")->ImageCount(), added);
    EXPECT_EQ(Selected(*form), c.Selected);
  }
  EXPECT_TRUE(messages_.empty());
}

TEST_F(MainGalleryTest, FirstAndLastSelectAndScrollIntoView) {
  for (int n = 1; n <= 12; ++n) Picture(n, Rgb(20 * n, 100, 100));
  auto form = StartGallery();
  TImgThumbView& view = *Control<TImgThumbView>(*form, "ThumbViewPreview");
  ASSERT_GT(view.MaxViewXY().y(), 0) << "twelve thumbnails do not fit";

  QTest::mouseClick(Control<QToolButton>(*form, "ToolButton5"), Qt::LeftButton);
  EXPECT_EQ(view.SelectedImage(), 11);
  EXPECT_EQ(view.ImageVisibility(11), 2);
  EXPECT_EQ(view.ViewY(), view.MaxViewXY().y());

  QTest::mouseClick(Control<QToolButton>(*form, "ToolButton6"), Qt::LeftButton);
  EXPECT_EQ(view.SelectedImage(), 0);
  EXPECT_EQ(view.ImageVisibility(0), 2);
  EXPECT_EQ(view.ViewY(), 0);
}

TEST_F(MainGalleryTest, ExportPrintTheirButtonsAndADoubleClickOpenTheSamePreview) {
  Picture(1, Rgb(200, 30, 30));
  Picture(2, Rgb(30, 30, 200));
  auto form = StartGallery();
  Activate(*form);
  Control<TImgThumbView>(*form, "ThumbViewPreview")->SetSelectedImage(1);
  bool asked = false;
  form->Gallery().SetExportDialog([&](const std::string&, const std::string&) { return asked = true, std::string(); });
  form->Gallery().SetPrintDialog([&](QPrinter&) { return asked = true, false; });

  const TFormMain& window = *form;
  const QPoint firstThumb(Control<TImgThumbView>(window, "ThumbViewPreview")->ImageX(0) + 10,
                          Control<TImgThumbView>(window, "ThumbViewPreview")->ImageY(0) + 10);
  const std::vector<std::pair<const char*, std::function<void()>>> commands = {
      {"Ctrl+E", [&] { QTest::keyClick(form.get(), Qt::Key_E, Qt::ControlModifier); }},
      {"Ctrl+P", [&] { QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier); }},
      {"Export selected", [&] { QTest::mouseClick(Control<QToolButton>(*form, "tbExport"), Qt::LeftButton); }},
      {"Print selected", [&] { QTest::mouseClick(Control<QToolButton>(*form, "tbPrint"), Qt::LeftButton); }},
      {"double click",
       [&] {
         // A double click arrives as a click followed by a second press.
         QTest::mouseClick(Control<TImgThumbView>(*form, "ThumbViewPreview"), Qt::LeftButton, {}, firstThumb);
         QTest::mouseDClick(Control<TImgThumbView>(*form, "ThumbViewPreview"), Qt::LeftButton, {}, firstThumb);
       }},
  };
  for (const auto& [name, command] : commands) {
    SCOPED_TRACE(name);
    Activate(*form);
    TColor shown = clBlack;
    const bool ran = WithModal(preview_, command, [&] {
      const Bitmap& picture = *preview_->ImgEditor1->Bitmap();
      shown = picture.Pixel(picture.Width() / 2, picture.Height() / 2);
      preview_->bClose->click();
    });
    EXPECT_TRUE(ran);
    // The double click selects the first thumbnail before the preview opens.
    const TColor expected = std::string(name) == "double click" ? Rgb(200, 30, 30) : Rgb(30, 30, 200);
    EXPECT_TRUE(Near(shown, expected)) << Describe(shown);
    Control<TImgThumbView>(*form, "ThumbViewPreview")->SetSelectedImage(1);
  }
  EXPECT_FALSE(asked) << "Close neither exports nor prints";
  EXPECT_TRUE(messages_.empty());
}

TEST_F(MainGalleryTest, PreviewWithoutASelectionSaysSo) {
  auto form = StartGallery();
  ASSERT_EQ(Control<TImgThumbView>(*form, "ThumbViewPreview")->SelectedImage(), -1);
  for (QAction* entry : {Control<QAction>(*form, "MenuExport"), Control<QAction>(*form, "MenuPrint")}) {
    messages_.clear();
    entry->trigger();
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"There is not a selected gallery picture"});
    EXPECT_FALSE(preview_->isVisible());
  }
}

// ---- export ----------------------------------------------------------------

TEST_F(MainGalleryTest, ExportAsksAboutExistingNamesAndCopiesTheStoredFile) {
  Picture(1, Rgb(50, 150, 70));
  TempFolder target;
  const std::string taken = target.File("Taken.jpg");
  const std::string free = target.File("Free");
  auto form = StartGallery();
  const std::string documents = form->Gallery().Export().Folder;
  const std::vector<uint8_t> stored = ReadAll(Gallery("0001.jpg"));

  struct Asked {
    std::string Folder, Proposed;
  };
  std::vector<Asked> asked;
  std::deque<std::string> chosen;
  form->Gallery().SetExportDialog([&](const std::string& folder, const std::string& proposed) {
    asked.push_back({folder, proposed});
    std::string name;
    if (!chosen.empty()) {
      name = chosen.front();
      chosen.pop_front();
    }
    return name;
  });
  auto exportSelected = [&] {
    EXPECT_TRUE(WithModal(
        preview_, [&] { Control<QAction>(*form, "MenuExport")->trigger(); }, [&] { preview_->bExport->click(); }));
  };

  // Cancel at the question: nothing copied, nothing counted.
  WriteAll(taken, std::string("mine"));
  chosen = {taken};
  Answers({mrCancel});
  exportSelected();
  EXPECT_EQ(ReadAll(taken), std::vector<uint8_t>({'m', 'i', 'n', 'e'}));
  EXPECT_EQ(form->Gallery().Export().Counter, 1);
  EXPECT_EQ(form->Gallery().Export().Folder, documents);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].Folder, documents);
  EXPECT_EQ(asked[0].Proposed, "MyFace1.jpg");
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].Text, "Do you replace existing file?");
  EXPECT_EQ(messages_[0].Type, TMsgDlgType::mtWarning);
  EXPECT_EQ(messages_[0].Buttons, TMsgDlgButtons(mbYes | mbNo | mbCancel));

  // No asks again with the same proposal; a free name typed without an
  // extension is used as typed.
  asked.clear();
  messages_.clear();
  chosen = {taken, free};
  Answers({mrNo});
  exportSelected();
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[1].Proposed, "MyFace1.jpg");
  EXPECT_EQ(messages_.size(), 1u);
  EXPECT_EQ(ReadAll(free), stored);
  EXPECT_FALSE(fs::exists(free + ".jpg"));
  EXPECT_EQ(form->Gallery().Export().Counter, 2);
  EXPECT_EQ(form->Gallery().Export().Folder, target.Path());

  // Yes replaces; the next proposal counts on, in the folder used last.
  asked.clear();
  chosen = {taken};
  Answers({mrYes});
  exportSelected();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].Proposed, "MyFace2.jpg");
  EXPECT_EQ(asked[0].Folder, target.Path());
  EXPECT_EQ(ReadAll(taken), stored) << "copied byte for byte, not coded again";
  EXPECT_EQ(form->Gallery().Export().Counter, 3);

  // Cancelling the save dialog ends the export.
  asked.clear();
  messages_.clear();
  chosen = {};
  exportSelected();
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(form->Gallery().Export().Counter, 3);
}

// ---- print -----------------------------------------------------------------

// The text a command prints, or "" when it is not installed or fails.
std::string RunTool(const QString& program, const QStringList& arguments) {
  if (QStandardPaths::findExecutable(program).isEmpty()) return {};
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(120000) || process.exitCode() != 0) return {};
  return process.readAllStandardOutput().toStdString();
}

// The extent of the dark pixels in a binary PGM as pdftoppm -gray writes it.
QSize DarkExtent(const std::string& pgm) {
  const std::vector<uint8_t> bytes = ReadAll(pgm);
  std::istringstream header(std::string(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 64)));
  std::string magic;
  int width = 0, height = 0, maxValue = 0;
  header >> magic >> width >> height >> maxValue;
  const size_t start = size_t(header.tellg()) + 1;
  if (magic != "P5" || bytes.size() < start + size_t(width) * height) return {};
  int right = -1, bottom = -1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (bytes[start + size_t(y) * width + x] < 128) {
        right = std::max(right, x);
        bottom = std::max(bottom, y);
      }
    }
  }
  return {right + 1, bottom + 1};
}

struct PrintCase {
  int Dpi;
  QSize Printed;
};

class MainGalleryPrintTest : public MainGalleryTest, public ::testing::WithParamInterface<PrintCase> {};

TEST_P(MainGalleryPrintTest, PrintFromThePreviewPrintsThePictureTwoPointEightInchesWide) {
  const PrintCase& c = GetParam();
  Picture(1, Rgb(20, 20, 20));
  auto form = StartGallery();
  Control<TImgThumbView>(*form, "ThumbViewPreview")->SetSelectedImage(0);
  const std::string pdf = program_.File("print.pdf");
  int dialogs = 0;
  form->Gallery().SetPrintDialog([&](QPrinter& printer) {
    ++dialogs;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    printer.setResolution(c.Dpi);
    // Choices of the dialog that do not change what is printed.
    printer.setCopyCount(3);
    return true;
  });

  EXPECT_TRUE(WithModal(
      preview_, [&] { Control<QAction>(*form, "MenuPrint")->trigger(); }, [&] { preview_->bPrint->click(); }));
  EXPECT_EQ(dialogs, 1);
  ASSERT_TRUE(fs::exists(pdf));
  EXPECT_TRUE(messages_.empty());

  const std::string info = RunTool("pdfinfo", {QString::fromStdString(pdf)});
  if (info.empty()) GTEST_SKIP() << "poppler-utils (pdfinfo, pdftoppm) not installed";
  EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;

  // The page rendered at the printer's resolution from the printable area's
  // corner: the dark picture ends at its printed size.
  QPrinter reference(QPrinter::HighResolution);
  const QPoint origin = reference.pageLayout().paintRectPixels(c.Dpi).topLeft();
  const std::string prefix = program_.File("page");
  RunTool("pdftoppm", {"-r", QString::number(c.Dpi), "-gray", "-aa", "no", "-aaVector", "no", "-singlefile", "-x",
                       QString::number(origin.x()), "-y", QString::number(origin.y()), "-W",
                       QString::number(c.Printed.width() + 50), "-H", QString::number(c.Printed.height() + 50),
                       QString::fromStdString(pdf), QString::fromStdString(prefix)});
  const QSize extent = DarkExtent(prefix + ".pgm");
  EXPECT_NEAR(extent.width(), c.Printed.width(), 1);
  EXPECT_NEAR(extent.height(), c.Printed.height(), 1);
}

INSTANTIATE_TEST_SUITE_P(Dpi, MainGalleryPrintTest,
                         ::testing::Values(PrintCase{600, {1680, 2314}}, PrintCase{1200, {3360, 4627}}),
                         [](const auto& p) { return std::to_string(p.param.Dpi); });

TEST_F(MainGalleryTest, CancellingThePrintDialogPrintsNothing) {
  Picture(1, Rgb(20, 20, 20));
  auto form = StartGallery();
  Control<TImgThumbView>(*form, "ThumbViewPreview")->SetSelectedImage(0);
  int dialogs = 0;
  form->Gallery().SetPrintDialog([&](QPrinter& printer) {
    ++dialogs;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(program_.File("print.pdf")));
    return false;
  });
  EXPECT_TRUE(WithModal(
      preview_, [&] { Control<QAction>(*form, "MenuExport")->trigger(); }, [&] { preview_->bPrint->click(); }));
  EXPECT_EQ(dialogs, 1);
  EXPECT_FALSE(fs::exists(program_.File("print.pdf")));
}

// ---- drawing the thumbnails ------------------------------------------------

TEST_F(MainGalleryTest, NumbersComeAndGoWithTheToggleWithoutReloadingThePictures) {
  const TColor colour = Rgb(30, 110, 200);
  Picture(1, colour);
  Picture(2, colour);
  auto form = StartGallery();
  TImgThumbView& view = *Control<TImgThumbView>(*form, "ThumbViewPreview");
  const int left = view.ImageX(1);
  const int top = view.ImageY(1);
  const int width = view.ThumbWidth();
  const int height = view.ThumbHeight();
  // The number's corner: the bottom-left of the second thumbnail, inside the frame.
  const QRect corner(left + 1, top + height - 12, 24, 10);
  constexpr QRgb kWhite = 0xFFFFFF;
  auto cornerColours = [&](const QImage& shot) {
    std::set<QRgb> colours;
    for (int y = corner.top(); y <= corner.bottom(); ++y) {
      for (int x = corner.left(); x <= corner.right(); ++x) colours.insert(shot.pixel(x, y) & 0xFFFFFF);
    }
    return colours;
  };
  auto pictureShown = [&](const QImage& shot) {
    return Near(FromQColor(QColor(shot.pixel(left + width / 2, top + height / 3))), colour);
  };

  // The view loads what it shows once the event loop runs.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !view.LoadingPending(); }));
  const QImage plain = view.grab().toImage();
  ASSERT_TRUE(pictureShown(plain));
  // The frame runs along the top and left edges and ends one pixel short of
  // the right and bottom edges.
  EXPECT_EQ(FromQColor(QColor(plain.pixel(left, top + height / 2))), kFrameColor);
  EXPECT_EQ(FromQColor(QColor(plain.pixel(left + width / 2, top))), kFrameColor);
  EXPECT_EQ(FromQColor(QColor(plain.pixel(left + width - 2, top + height / 2))), kFrameColor);
  EXPECT_EQ(FromQColor(QColor(plain.pixel(left + width / 2, top + height - 2))), kFrameColor);
  EXPECT_NE(FromQColor(QColor(plain.pixel(left + width - 1, top + height / 2))), kFrameColor);
  EXPECT_FALSE(cornerColours(plain).count(kWhite));

  // With the files gone, only pictures already held can still be shown.
  fs::remove(Gallery("0001.jpg"));
  fs::remove(Gallery("0002.jpg"));

  QTest::mouseClick(Control<QToolButton>(*form, "tbShowGalleryThumbs"), Qt::LeftButton);
  EXPECT_TRUE(form->Gallery().ShowNumbers());
  const QImage numbered = view.grab().toImage();
  EXPECT_TRUE(pictureShown(numbered));
  const std::set<QRgb> withNumber = cornerColours(numbered);
  EXPECT_TRUE(withNumber.count(kWhite)) << "the number stands on white";
  EXPECT_TRUE(std::any_of(withNumber.begin(), withNumber.end(), [](QRgb c) { return qGray(c) < 100; }))
      << "and is written in dark text";
  // The frame is drawn over the number's box again.
  EXPECT_EQ(FromQColor(QColor(numbered.pixel(left, top + height - 4))), kFrameColor);
  EXPECT_EQ(FromQColor(QColor(numbered.pixel(left + 3, top + height - 2))), kFrameColor);

  QTest::mouseClick(Control<QToolButton>(*form, "tbShowGalleryThumbs"), Qt::LeftButton);
  EXPECT_FALSE(form->Gallery().ShowNumbers());
  const QImage again = view.grab().toImage();
  EXPECT_TRUE(pictureShown(again));
  EXPECT_EQ(cornerColours(again), cornerColours(plain));
}

// ---- the face browser ------------------------------------------------------

class MainFaceBrowserTest : public MainGalleryTest {
 protected:
  void SelectFace(const std::string& name) {
    Activated(browser_);
    const auto items = browser_->FileListBox1->findItems(QString::fromStdString(name), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << name;
    browser_->FileListBox1->setCurrentItem(items.first());
  }

  void OpenWithCtrlO(TFormMain& form, const std::function<void()>& act) {
    Activate(form);
    EXPECT_TRUE(WithModal(browser_, [&] { QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier); }, act));
  }

  static TColor CanvasCentre(TFormMain& form) {
    const Bitmap& picture = *form.Canvas().Bitmap();
    return picture.Pixel(picture.Width() / 2, picture.Height() / 2);
  }
};

TEST_F(MainFaceBrowserTest, OkSwitchesTheFaceAndCaptionAfterCommittingTheOutlines) {
  const std::string other = Face("Other.mff", StandardFacePicture(Rgb(90, 200, 90)), RectangleRegionsHeader());
  auto form = StartGallery();
  ASSERT_EQ(form->windowTitle(), "Glamora - Mine.mff");
  Control<QTabWidget>(*form, "PageControl1")->setCurrentWidget(Control<QWidget>(*form, "TabSheetMakeup"));
  QTest::mouseClick(Control<QToolButton>(*form, "bOutline"), Qt::LeftButton);
  ASSERT_TRUE(Control<QToolButton>(*form, "bOutline")->isChecked());

  OpenWithCtrlO(*form, [&] {
    // The browser knows the face that is open, which it will not delete.
    EXPECT_EQ(browser_->CurrentFaceFile, face_);
    SelectFace("Other.mff");
    browser_->bOpen->click();
  });
  EXPECT_EQ(form->FaceFileName(), other);
  EXPECT_EQ(form->windowTitle(), "Glamora - Other.mff");
  EXPECT_EQ(CanvasCentre(*form), Rgb(90, 200, 90));
  EXPECT_FALSE(Control<QToolButton>(*form, "bOutline")->isChecked()) << "outlining ends before another face is opened";
  EXPECT_EQ(form->MakeupPage().Tool(), TMakeupTool::mkNone);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(MainFaceBrowserTest, CancelAndBrowseWithoutAChoiceChangeNothing) {
  Face("Other.mff", StandardFacePicture(Rgb(90, 200, 90)), RectangleRegionsHeader());
  auto form = StartGallery();
  const TColor before = CanvasCentre(*form);
  browser_->OpenDialog1 = [] { return std::string(); };
  const std::vector<std::pair<const char*, std::function<void()>>> answers = {
      {"Cancel", [&] { browser_->bCancel->click(); }},
      {"Esc", [&] { QTest::keyClick(browser_, Qt::Key_Escape); }},
      {"Browse, cancelled", [&] { browser_->bBrowse->click(); }},
  };
  for (const auto& [name, answer] : answers) {
    SCOPED_TRACE(name);
    OpenWithCtrlO(*form, [&] {
      SelectFace("Other.mff");
      answer();
    });
    EXPECT_EQ(form->FaceFileName(), face_);
    EXPECT_EQ(form->windowTitle(), "Glamora - Mine.mff");
    EXPECT_EQ(CanvasCentre(*form), before);
  }
  EXPECT_TRUE(messages_.empty());
}

TEST_F(MainFaceBrowserTest, TheToolButtonOpensTheBrowserToo) {
  const std::string other = Face("Other.mff", StandardFacePicture(Rgb(90, 200, 90)), RectangleRegionsHeader());
  auto form = StartGallery();
  EXPECT_TRUE(WithModal(
      browser_, [&] { QTest::mouseClick(Control<QToolButton>(*form, "tbOpenFace"), Qt::LeftButton); },
      [&] {
        SelectFace("Other.mff");
        QTest::keyClick(browser_->FileListBox1, Qt::Key_Return);
      }));
  EXPECT_EQ(form->FaceFileName(), other);
}

TEST_F(MainFaceBrowserTest, MissingFacesFolderIsReportedInTheErrorBox) {
  auto form = StartGallery();
  fs::remove_all(program_.File("Faces"));
  OpenWithCtrlO(*form, [&] {
    Activated(browser_);
    EXPECT_EQ(browser_->FileListBox1->count(), 0);
    browser_->bCancel->click();
  });
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].Caption, "Glamora");
  EXPECT_EQ(messages_[0].Text.toStdString(), "Cannot open file " + program_.File("Faces"));
  EXPECT_EQ(form->FaceFileName(), face_);
}

TEST_F(MainFaceBrowserTest, ABrokenFaceInTheListNeitherCrashesThePreviewNorReplacesTheFace) {
  Face("Good.mff", StandardFacePicture(Rgb(90, 200, 90)), RectangleRegionsHeader());
  const std::string header(FaceHeader::kByteSize, '\0');
  WriteAll(program_.File("Faces/Broken.mff"), header + "no picture in any format");
  WriteAll(program_.File("Faces/Short.mff"), std::string("too short for a header"));
  auto form = StartGallery();
  const TColor before = CanvasCentre(*form);

  OpenWithCtrlO(*form, [&] {
    SelectFace("Good.mff");
    const TColor good = browser_->ImgEditor1->Bitmap()->Pixel(10, 10);
    for (const char* broken : {"Broken.mff", "Short.mff"}) {
      SelectFace(broken);
      EXPECT_TRUE(browser_->isVisible());
      EXPECT_EQ(browser_->ImgEditor1->Bitmap()->Pixel(10, 10), good) << "the preview keeps its picture";
    }
    browser_->bOpen->click();
  });
  // The chosen face cannot be loaded: said so, and the shown face stays the
  // current one, also for what closing stores.
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"There is not a saved face!"});
  EXPECT_EQ(form->windowTitle(), "Glamora - Mine.mff");
  EXPECT_EQ(CanvasCentre(*form), before);
  EXPECT_EQ(form->FaceFileName(), face_);
}

}  // namespace
}  // namespace glamora::test
