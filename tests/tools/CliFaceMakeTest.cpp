// glamora-cli face make: a face model carved from a photograph as the face
// expert carves it automatically: placed, rotated, with each shape's mask;
// failures exit non-zero with one line and write nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "face/FaceFile.h"
#include "imaging/components/ImgIO.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/CliSupport.h"

namespace glamora {
namespace {

namespace fs = std::filesystem;
using test::RunCli;
using test::TempFolder;

const TColor kRed = Rgb(200, 30, 30);
const TColor kGreen = Rgb(30, 160, 40);

void Save(Bitmap picture, const std::string& path) {
  TImgIO io;
  io.SetBitmap(&picture);
  ASSERT_TRUE(io.SaveToFile(path)) << path;
}

Bitmap Picture(const std::string& path) {
  Bitmap b;
  TImgIO io;
  io.SetBitmap(&b);
  EXPECT_TRUE(io.LoadFromFile(path)) << path;
  return b;
}

// The picture of a face file the command wrote.
Bitmap FacePicture(const std::string& path) {
  FaceHeader header;
  MemoryStream payload;
  Bitmap b;
  if (!ReadFaceFile(path, header, payload)) {
    ADD_FAILURE() << "not a face file: " << path;
    return b;
  }
  TImgIO io;
  io.SetBitmap(&b);
  EXPECT_TRUE(io.LoadFromStream(payload)) << path;
  return b;
}

// Within what JPEG at quality 100 keeps of a flat area.
bool Near(TColor a, TColor b, int tolerance = 6) {
  return std::abs(RedOf(a) - RedOf(b)) <= tolerance && std::abs(GreenOf(a) - GreenOf(b)) <= tolerance &&
         std::abs(BlueOf(a) - BlueOf(b)) <= tolerance;
}

std::string Shapes() { return test::SourceDir() + "/data/Shapes/"; }

std::vector<std::string> Listing(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(CliFaceMake, EachShapesMaskKeepsThePhotographInsideTheFaceAndWhitensTheRest) {
  TempFolder dir;
  Save([] {
    Bitmap b(400, 500);
    b.Fill(kRed);
    return b;
  }(), dir.File("photo.png"));
  for (const char* shape : {"oval", "wide", "long", "rect", "try"}) {
    SCOPED_TRACE(shape);
    const auto r = RunCli({"face", "make", dir.File("photo.png"), dir.File(std::string(shape) + ".jpg"), "--shape", shape});
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    const std::string written = dir.File(std::string(shape) + ".mff");
    EXPECT_EQ(r.Out, written + "\n");
    const Bitmap face = FacePicture(written);
    ASSERT_EQ(face.Width(), 228);
    ASSERT_EQ(face.Height(), 314);
    std::string name(shape);
    name[0] = char(std::toupper(name[0]));
    const Bitmap mask = Picture(Shapes() + "MaskGray" + name + ".bmp");
    const TColor grey = mask.Pixel(0, 313);
    // Away from the mask's edges, where JPEG blurs the step a little.
    int checked = 0;
    for (int y = 2; y < 312; y += 5)
      for (int x = 2; x < 226; x += 5) {
        bool flat = true;
        for (int dy = -2; dy <= 2; ++dy)
          for (int dx = -2; dx <= 2; ++dx) flat = flat && mask.Pixel(x + dx, y + dy) == mask.Pixel(x, y);
        if (!flat) continue;
        ++checked;
        ASSERT_TRUE(Near(face.Pixel(x, y), mask.Pixel(x, y) == grey ? kRed : clWhite)) << x << ", " << y;
      }
    EXPECT_GT(checked, 2000);
  }
}

// --place shows the photograph in a rectangle relative to the template's
// corner; --rotate turns the bitmap inside the rectangle it had.
TEST(CliFaceMake, PlaceAndRotateWorkAsTheFrameAndTheRotateCommandDo) {
  TempFolder dir;
  Bitmap halves(400, 200);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 400; ++x) halves.SetPixel(x, y, x < 200 ? kRed : kGreen);
  Save(halves, dir.File("halves.bmp"));

  // Shown at half size from (100, 100) the photograph leaves most of the
  // face bare: refused in one line unless allowed, and then red up to
  // x = 199, green beyond, white above and left of the rectangle.
  auto r = RunCli({"face", "make", dir.File("halves.bmp"), dir.File("placed"), "--place", "100,100,200,100"});
  EXPECT_NE(r.ExitCode, 0);
  EXPECT_EQ(r.Out, "");
  EXPECT_EQ(r.Err, "glamora-cli face: " + dir.File("halves.bmp") +
                       ": The photograph leaves 70.4 % of the face shape uncovered (--allow-partial carves it all "
                       "the same)\n");
  EXPECT_FALSE(fs::exists(dir.File("placed.mff")));
  r = RunCli({"face", "make", dir.File("halves.bmp"), dir.File("placed"), "--place", "100,100,200,100",
              "--allow-partial"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  Bitmap face = FacePicture(dir.File("placed.mff"));
  EXPECT_TRUE(Near(face.Pixel(150, 150), kRed));
  EXPECT_TRUE(Near(face.Pixel(114, 95), clWhite)) << "inside the face but above the photograph";
  EXPECT_TRUE(Near(face.Pixel(90, 150), clWhite)) << "inside the face but left of the photograph";

  // A quarter turn counter-clockwise: the left (red) half goes down. The
  // turned 200 x 400 bitmap is squeezed into the unchanged 400 x 200
  // rectangle, so red fills the rows from 100 on.
  r = RunCli({"face", "make", dir.File("halves.bmp"), dir.File("turned"), "--rotate", "90", "--allow-partial"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  face = FacePicture(dir.File("turned.mff"));
  EXPECT_TRUE(Near(face.Pixel(114, 80), kGreen));
  EXPECT_TRUE(Near(face.Pixel(114, 150), kRed));
  EXPECT_TRUE(Near(face.Pixel(114, 220), clWhite)) << "below the rectangle";

  // Antialiasing blends the slanted edge; without it every pixel is copied.
  for (const char* antialias : {"", "--no-antialias"}) {
    std::vector<std::string> args = {"face", "make", dir.File("halves.bmp"), dir.File(std::string("slant") + antialias),
                                     "--rotate", "-30", "--allow-partial"};
    if (*antialias) args.push_back(antialias);
    r = RunCli(args);
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
  }
  EXPECT_FALSE(FacePicture(dir.File("slant.mff")).SameContent(FacePicture(dir.File("slant--no-antialias.mff"))));
}

TEST(CliFaceMake, FailuresSayWhyInOneLineAndWriteNothing) {
  TempFolder dir;
  Save(Bitmap(50, 50), dir.File("photo.bmp"));
  test::WriteAll(dir.File("broken.png"), std::string("\x89PNG\r\n\x1a\n but nothing more"));
  const std::vector<std::string> before = Listing(dir.Path());
  const std::vector<std::vector<std::string>> cases = {
      {"face", "make", dir.File("missing.png"), dir.File("out")},
      {"face", "make", dir.File("broken.png"), dir.File("out")},
      {"face", "make", dir.File("photo.bmp"), dir.File("out"), "--shape", "heart"},
      {"face", "make", dir.File("photo.bmp"), dir.File("no folder/out"), "--allow-partial"},
      {"face", "make", dir.File("photo.bmp"), dir.File("out")},
      {"face", "make", dir.File("photo.bmp"), dir.File("out"), "--place", "0,0,0,10"},
      // Placements that leave the photograph wholly outside the template.
      {"face", "make", dir.File("photo.bmp"), dir.File("out"), "--place", "2147483647,2147483647,1,1"},
      {"face", "make", dir.File("photo.bmp"), dir.File("out"), "--place", "-2147483648,-2147483648,30000,30000"},
      {"face", "make", dir.File("photo.bmp"), dir.File("out"), "--place", "228,0,50,50"},
      {"face", "make", dir.File("photo.bmp"), dir.File("out"), "--place", "-50,0,50,50"},
      // Names that leave nothing before the extension.
      {"face", "make", dir.File("photo.bmp"), ""},
      {"face", "make", dir.File("photo.bmp"), dir.File(".")},
      {"face", "make", dir.File("photo.bmp"), dir.Path()},
      {"face", "make", dir.File("photo.bmp"), dir.File(".hidden")},
      {"face", "make", dir.File("photo.bmp"), dir.File("out"), "--place", "1,2,3"},
      {"face", "make", dir.File("photo.bmp"), dir.File("out"), "--rotate", "360"},
      {"face", "make", dir.File("photo.bmp"), dir.File("out"), "--rotate"},
      {"face", "make", dir.File("photo.bmp"), dir.File("out"), "--mirror"},
      {"face", "make", dir.File("photo.bmp")},
      // No face in a black square (or no face finder in this build).
      {"face", "make", dir.File("photo.bmp"), dir.File("out"), "--auto"},
      {"face", "make", dir.File("photo.bmp"), dir.File("out"), "--auto", "--place", "0,0,100,100"},
  };
  for (const auto& args : cases) {
    const auto r = RunCli(args);
    SCOPED_TRACE(args.back());
    EXPECT_NE(r.ExitCode, 0);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(std::count(r.Err.begin(), r.Err.end(), '\n'), 1) << r.Err;
  }
  EXPECT_EQ(Listing(dir.Path()), before);
}

}  // namespace
}  // namespace glamora
