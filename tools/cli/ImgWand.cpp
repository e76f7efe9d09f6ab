// glamora-cli img wand: the magic-wand selection around a pixel of a picture
// file, printed as the selection's vertices.
#include <cstdio>
#include <string>
#include <vector>

#include "imaging/components/ImgIO.h"
#include "imaging/core/MagicWand.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliOptions.h"

namespace glamora::cli {

namespace {

constexpr const char* kWandUsage = "usage: glamora-cli img wand FILE X Y [--tolerance T] [--grow]";

int Whole(const std::string& what, const std::string& text) {
  return ParseNumbers<1>(what, text, "a whole number")[0];
}

}  // namespace

// Prints the vertices of the selection the image view's magic wand makes
// with its seed at bitmap pixel (X, Y), "X Y" a line, clamped to the picture
// as the view keeps them. --tolerance is the view's MagicWandTolerance
// (15), --grow its MagicWandMaxFilter.
int ImgWand(const Args& args) {
  std::vector<std::string> words;
  int tolerance = 15;
  bool grow = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word == "--grow") {
      grow = true;
    } else if (word == "--tolerance") {
      if (i + 1 >= args.size()) throw Failure("--tolerance needs a value");
      tolerance = Whole(word, args[++i]);
      if (tolerance < 0 || tolerance > 255) throw Failure("--tolerance wants 0..255, not " + args[i]);
    } else if (word.rfind("--", 0) == 0) {
      throw Failure("unknown option " + word + " (" + kWandUsage + ")");
    } else {
      words.push_back(word);
    }
  }
  if (words.size() != 3) throw Failure(kWandUsage);
  const std::string& path = words[0];
  const int x = Whole("X", words[1]);
  const int y = Whole("Y", words[2]);

  Bitmap bitmap;
  TImgIO io;
  io.SetBitmap(&bitmap);
  if (!io.LoadFromFile(path) || bitmap.Empty()) {
    throw Failure("cannot read picture " + path + " (unrecognised format or damaged file)");
  }
  if (x < 0 || y < 0 || x >= bitmap.Width() || y >= bitmap.Height()) {
    throw Failure("seed " + words[1] + " " + words[2] + " lies outside the " + std::to_string(bitmap.Width()) + " x " +
                  std::to_string(bitmap.Height()) + " picture " + path);
  }
  // The wand reads three channels; palette and bilevel pictures are expanded.
  if (bitmap.Format() != PixelFormat::Bits24) bitmap.ConvertTo24();

  std::vector<Point> vertices = MagicWandOutline(bitmap, x, y, tolerance, grow);
  ClampToPixels(vertices, bitmap.Width(), bitmap.Height());
  for (const Point& p : vertices) std::printf("%d %d\n", p.X, p.Y);
  return 0;
}

}  // namespace glamora::cli
