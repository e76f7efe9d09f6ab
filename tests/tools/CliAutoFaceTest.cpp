// A face model in one command: glamora-cli face make --auto fits the
// portrait by its landmarks and writes the eye and lip regions into the
// header; face outline proposes them for a face file that exists, and
// refuses the model faces the outline editor never writes. The cases that
// find a face need the shape model and the portrait and skip without them.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "face/FaceFile.h"
#include "face/RegionColouring.h"
#include "face/StandardFace.h"
#include "imaging/components/ImgIO.h"
#include "imaging/core/Resample.h"
#include "imaging/core/Stream.h"
#include "landmarks/LandmarkFinder.h"
#include "tests/support/FaceFixtures.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/CliSupport.h"

namespace glamora {
namespace {

namespace fs = std::filesystem;
namespace sf = standard_face;
using test::RunCli;
using test::TempFolder;

bool FinderInstalled() {
  return LandmarkFinder::Built() && fs::exists(LandmarkFinder::DefaultModelFile());
}

FaceHeader HeaderOf(const std::string& file) {
  FaceHeader header;
  MemoryStream payload;
  EXPECT_TRUE(ReadFaceFile(file, header, payload)) << file;
  return header;
}

void ExpectOneLine(const test::CliResult& r) {
  EXPECT_NE(r.ExitCode, 0);
  EXPECT_EQ(r.Out, "");
  EXPECT_EQ(std::count(r.Err.begin(), r.Err.end(), '\n'), 1) << r.Err;
}

TEST(CliFaceOutline, RefusesModelFacesAndFacesWithoutAFaceAndWritesNothing) {
  TempFolder dir;
  const Bitmap blank = test::StandardFacePicture(Rgb(200, 160, 140));
  const std::string plain = test::WriteTestFace(dir.File("blank.mff"), blank, test::RectangleRegionsHeader());
  const std::string model = test::WriteTestFace(dir.File("model.eff"), blank, test::RectangleRegionsHeader());
  test::WriteAll(dir.File("notes.txt"), std::string("not a face"));
  const auto plainBytes = test::ReadAll(plain), modelBytes = test::ReadAll(model);
  const struct {
    std::vector<std::string> Args;
    const char* Says;
  } cases[] = {
      {{"face", "outline", model}, ".eff"},
      {{"face", "outline", dir.File("notes.txt")}, "not a face file"},
      {{"face", "outline", dir.File("missing.mff")}, "missing.mff"},
      // A flat picture has no face (or, without the finder, the line says what is missing).
      {{"face", "outline", plain}, FinderInstalled() ? "No face was found" : ""},
      {{"face", "outline"}, "usage"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Args.back());
    const auto r = RunCli(c.Args);
    ExpectOneLine(r);
    EXPECT_NE(r.Err.find(c.Says), std::string::npos) << r.Err;
  }
  EXPECT_EQ(test::ReadAll(plain), plainBytes);
  EXPECT_EQ(test::ReadAll(model), modelBytes);
}

// The regions lie where the fit puts the face: around the eyes at (87, 150)
// and (141, 150) with the pupils left out, and around the mouth at y 216.
void ExpectRegionsOfTheStandardFace(const FaceHeader& header) {
  const PolygonRegion left = RegionOf(header.Region(FaceHeader::kLeftEye));
  const PolygonRegion right = RegionOf(header.Region(FaceHeader::kRightEye));
  const PolygonRegion lips = RegionOf(header.Region(FaceHeader::kLips));
  ASSERT_FALSE(left.Empty() || right.Empty() || lips.Empty());
  const struct {
    const PolygonRegion& Region;
    int X;
  } eyes[] = {{left, sf::kLeftEyeX}, {right, sf::kRightEyeX}};
  for (const auto& eye : eyes) {
    SCOPED_TRACE(eye.X);
    EXPECT_FALSE(eye.Region.Contains(eye.X, sf::kEyeLineY)) << "the pupil";
    EXPECT_LT(eye.Region.Left(), eye.X - 8);
    EXPECT_GT(eye.Region.Right(), eye.X + 8);
    EXPECT_LT(eye.Region.Top(), sf::kEyeLineY - 5);
    EXPECT_GT(eye.Region.Bottom(), sf::kEyeLineY + 3);
    EXPECT_LT(eye.Region.Bottom(), sf::kEyeMouthSplitY);
  }
  EXPECT_LT(left.Right(), sf::kCentreX);
  EXPECT_GT(right.Left(), sf::kCentreX);
  EXPECT_LT(lips.Left(), sf::kCentreX - sf::kMouthHalfWidth + 6);
  EXPECT_GT(lips.Right(), sf::kCentreX + sf::kMouthHalfWidth - 6);
  EXPECT_LT(lips.Top(), sf::kMouthY);
  EXPECT_GT(lips.Bottom(), sf::kMouthY);
  EXPECT_GE(lips.Top(), sf::kEyeMouthSplitY);
}

TEST(CliFaceMakeAuto, ThePortraitBecomesAFaceModelWithItsRegionsInTheHeader) {
  const std::string portrait = GLAMORA_TEST_PORTRAIT;
  if (portrait.empty() || !FinderInstalled()) GTEST_SKIP() << "needs the portrait and the face finder";
  TempFolder dir;
  const auto r = RunCli({"face", "make", portrait, dir.File("astronaut.png"), "--auto"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  const std::string face = dir.File("astronaut.mff");
  EXPECT_EQ(r.Out, face + "\n");
  const FaceHeader made = HeaderOf(face);
  ExpectRegionsOfTheStandardFace(made);

  // face outline proposes them again for a face whose regions were lost.
  FaceHeader cleared = made;
  for (int region : {1, 2, 3}) cleared.Region(region) = FaceRegion{};
  std::vector<uint8_t> bytes = test::ReadAll(face);
  std::copy_n(cleared.Bytes().begin(), FaceHeader::kByteSize, bytes.begin());
  test::WriteAll(face, bytes);
  const auto again = RunCli({"face", "outline", face});
  ASSERT_EQ(again.ExitCode, 0) << again.Err;
  const FaceHeader outlined = HeaderOf(face);
  ExpectRegionsOfTheStandardFace(outlined);
  EXPECT_EQ(outlined.Reserved0, made.Reserved0) << "the rest of the header stays";
  EXPECT_EQ(outlined.Region(4), made.Region(4));
}

// A face too small to fit without blur, or so near the picture's top that
// the forehead would be blank, is refused in one line and nothing is
// written, unless --allow-partial.
TEST(CliFaceMakeAuto, SmallOrCutOffFacesAreRefusedUnlessAllowed) {
  const std::string portrait = GLAMORA_TEST_PORTRAIT;
  if (portrait.empty() || !FinderInstalled()) GTEST_SKIP() << "needs the portrait and the face finder";
  Bitmap full;
  TImgIO io;
  io.SetBitmap(&full);
  ASSERT_TRUE(io.LoadFromFile(portrait));
  full.ConvertTo24();
  TempFolder dir;
  Bitmap small;
  ASSERT_TRUE(Resample(full, small, full.Width() / 3, full.Height() / 3, rfLanczos3));
  io.SetBitmap(&small);
  ASSERT_TRUE(io.SaveToFile(dir.File("small.png")));
  // The portrait from the eyebrows down.
  Bitmap cut(full.Width(), full.Height() - 80);
  for (int y = 0; y < cut.Height(); ++y) std::copy_n(full.Row(y + 80), size_t(full.Width()) * 3, cut.Row(y));
  io.SetBitmap(&cut);
  ASSERT_TRUE(io.SaveToFile(dir.File("cut.png")));

  const struct {
    const char* Photo;
    const char* Says;
  } cases[] = {{"small.png", "times and will look blurred"}, {"cut.png", "of the face shape uncovered"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Photo);
    const auto refused = RunCli({"face", "make", dir.File(c.Photo), dir.File("out"), "--auto"});
    ExpectOneLine(refused);
    EXPECT_NE(refused.Err.find(c.Says), std::string::npos) << refused.Err;
    EXPECT_NE(refused.Err.find("--allow-partial"), std::string::npos) << refused.Err;
    EXPECT_FALSE(fs::exists(dir.File("out.mff")));
    const auto allowed = RunCli({"face", "make", dir.File(c.Photo), dir.File("out"), "--auto", "--allow-partial"});
    EXPECT_EQ(allowed.ExitCode, 0) << allowed.Err;
    EXPECT_TRUE(fs::remove(dir.File("out.mff")));
  }
}

// The names the folder's files were written under (opened for writing and
// changed, IN_MODIFY) and renamed to (IN_MOVED_TO), as inotify reports them.
struct FolderWrites {
  std::vector<std::string> Modified, MovedTo;
};

FolderWrites WritesDuring(const std::string& folder, const std::function<void()>& run) {
  FolderWrites writes;
  const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (watch < 0 || ::inotify_add_watch(watch, folder.c_str(), IN_MODIFY | IN_MOVED_TO) < 0) {
    ADD_FAILURE() << "inotify";
    return writes;
  }
  run();
  alignas(inotify_event) char buffer[1 << 16];
  for (ssize_t got; (got = ::read(watch, buffer, sizeof buffer)) > 0;) {
    for (char* at = buffer; at < buffer + got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(at);
      const std::string name = event->len ? event->name : "";
      (event->mask & IN_MODIFY ? writes.Modified : writes.MovedTo).push_back(name);
      at += sizeof(inotify_event) + event->len;
    }
  }
  ::close(watch);
  return writes;
}

// The face file appears whole, regions and all, in one step: never written
// under its own name, where a kill or a second writer would find it without
// its regions, only renamed into place; an older face of that name is
// replaced, not changed.
TEST(CliFaceMakeAuto, TheFaceAppearsWithItsRegionsInOneStep) {
  const std::string portrait = GLAMORA_TEST_PORTRAIT;
  if (portrait.empty() || !FinderInstalled()) GTEST_SKIP() << "needs the portrait and the face finder";
  TempFolder dir;
  const std::string face = dir.File("astronaut.mff");
  test::WriteTestFace(face, test::StandardFacePicture(), test::RectangleRegionsHeader());
  test::CliResult r;
  const FolderWrites writes = WritesDuring(dir.Path(), [&] { r = RunCli({"face", "make", portrait, face, "--auto"}); });
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(std::count(writes.Modified.begin(), writes.Modified.end(), "astronaut.mff"), 0);
  EXPECT_EQ(writes.MovedTo, std::vector<std::string>{"astronaut.mff"});
  ExpectRegionsOfTheStandardFace(HeaderOf(face));
}

}  // namespace
}  // namespace glamora
