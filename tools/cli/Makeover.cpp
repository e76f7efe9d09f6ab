// glamora-cli makeover: a face with make-up and a hairstyle, composed as the
// main window adds it to the gallery.
#include <QApplication>
#include <QWidget>
#include <array>
#include <cstdlib>
#include <memory>
#include <sstream>

#include "face/Makeup.h"
#include "hair/FrameBox.h"
#include "hair/FrameButtons.h"
#include "hair/HairStyle.h"
#include "imaging/Image.h"
#include "imaging/ImgIO.h"
#include "imaging/ImgProc.h"
#include "imaging/core/Stream.h"
#include "tools/cli/Cli.h"

namespace glamora::cli {
namespace {

constexpr const char* kUsage =
    "usage: makeover FACE OUT [--hair FILE] [--tint R,G,B] [--eyes R,G,B] [--lips R,G,B] [--lipline R,G,B] "
    "[--frame L,T,R,B]";

// Comma-separated integers, exactly N of them.
template <size_t N>
std::array<int, N> ParseNumbers(const std::string& option, const std::string& text, const char* form) {
  std::istringstream in(text);
  std::array<int, N> values{};
  for (size_t i = 0; i < N; ++i) {
    char comma = ',';
    if ((i > 0 && (!(in >> comma) || comma != ',')) || !(in >> values[i])) {
      throw Failure(option + " wants " + form + ", not \"" + text + "\"");
    }
  }
  if (!in.eof() && in.peek() != std::char_traits<char>::eof()) {
    throw Failure(option + " wants " + form + ", not \"" + text + "\"");
  }
  return values;
}

std::array<uint8_t, 3> ParseColour(const std::string& option, const std::string& text) {
  const auto values = ParseNumbers<3>(option, text, "R,G,B with each value 0..255");
  for (int v : values) {
    if (v < 0 || v > 255) throw Failure(option + " wants R,G,B with each value 0..255, not \"" + text + "\"");
  }
  return {uint8_t(values[0]), uint8_t(values[1]), uint8_t(values[2])};
}

// The frame as the frame buttons leave it: inclusive sides; the hair lies
// inside it, one pixel in from each side.
TRect ParseFrame(const std::string& text) {
  const auto v = ParseNumbers<4>("--frame", text, "L,T,R,B");
  const TRect frame{v[0], v[1], v[2], v[3]};
  const int64_t width = int64_t(frame.Right) - frame.Left + 1, height = int64_t(frame.Bottom) - frame.Top + 1;
  if (width < TFrame::kMinSide || height < TFrame::kMinSide) {
    throw Failure("--frame must be at least " + std::to_string(TFrame::kMinSide) + " pixels wide and high, not \"" +
                  text + "\"");
  }
  return frame;
}

// The widgets need an application object; batch work runs without a display.
std::unique_ptr<QApplication> MakeApplication() {
  if (QApplication::instance()) return nullptr;
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "glamora-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QApplication>(argc, argv);
}

struct Options {
  std::string Face, Out, Hair;
  std::vector<std::pair<int, TColor>> Colours;  // in the order given
  THairColour Tint;                             // the window's start colour
  bool HasTint = false;
  bool HasFrame = false;
  TRect Frame;
};

Options ParseOptions(const Args& args) {
  Options o;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.rfind("--", 0) != 0) {
      files.push_back(a);
      continue;
    }
    if (i + 1 >= args.size()) throw Failure(a + " needs a value");
    const std::string& value = args[++i];
    auto colour = [&] {
      const auto c = ParseColour(a, value);
      return Rgb(c[0], c[1], c[2]);
    };
    if (a == "--hair") {
      o.Hair = value;
    } else if (a == "--tint") {
      const auto c = ParseColour(a, value);
      o.Tint = {c[0], c[1], c[2]};
      o.HasTint = true;
    } else if (a == "--eyes") {
      o.Colours.emplace_back(TMakeup::kColorEyes, colour());
    } else if (a == "--lips") {
      o.Colours.emplace_back(TMakeup::kColorLips, colour());
    } else if (a == "--lipline") {
      o.Colours.emplace_back(TMakeup::kColorLipLine, colour());
    } else if (a == "--frame") {
      o.Frame = ParseFrame(value);
      o.HasFrame = true;
    } else {
      throw Failure("unknown option " + a);
    }
  }
  if (files.size() != 2) throw Failure(kUsage);
  if (o.Hair.empty() && (o.HasTint || o.HasFrame)) throw Failure("--tint and --frame need --hair");
  o.Face = files[0];
  o.Out = files[1];
  return o;
}

// Puts the hairstyle on a picture control placed as the main window places
// it: over the whole face, or inside the given frame.
void PlaceHair(const Options& o, const THairPicture& hair) {
  TImage& image = hair.Image;
  TFrameBox& box = hair.FrameBox;
  ResetHairPlacement(image, box);
  std::string loadedName;
  THairLoad loaded = THairLoad::NoFile;
  try {
    loaded = LoadHairstyle(hair, o.Hair, o.Tint, loadedName);
  } catch (const FileError& error) {
    throw Failure(error.what());
  }
  switch (loaded) {
    case THairLoad::Loaded:
      break;
    case THairLoad::NoFile:
      throw Failure(o.Hair + ": no such hairstyle file");
    case THairLoad::Refused:
      throw Failure(o.Hair + ": a hairstyle is a .bmp, .jpg or .tif file");
    case THairLoad::Unreadable:
      throw Failure(o.Hair + ": cannot read this picture");
  }
  if (o.HasFrame) {
    box.Frame.Bounds = o.Frame;
    box.Frame.ApplyToImage();
  }
}

int Run(const Args& args) {
  const Options o = ParseOptions(args);
  const auto app = MakeApplication();

  TMakeup canvas;
  bool faceLoaded = false;
  try {
    faceLoaded = canvas.LoadFace(o.Face);
  } catch (const FileError& error) {
    throw Failure(error.what());
  }
  if (!faceLoaded) throw Failure(o.Face + ": cannot load this face file");
  // Each colour is kept, as choosing the next tool keeps it on the page.
  for (const auto& [kind, colour] : o.Colours) {
    canvas.ApplyColor(kind, colour);
    canvas.SaveUndo();
  }

  Bitmap result;
  if (o.Hair.empty()) {
    result.Assign(*canvas.Bitmap());
  } else {
    // The hair control lies over the face picture's top-left pixel, as over
    // the canvas at 100 %. The components outlive the control they serve.
    TImgProc proc;
    TImgIO io;
    QWidget face;
    face.resize(canvas.Bitmap()->Width(), canvas.Bitmap()->Height());
    auto* image = new TImage(&face);
    image->SetStretch(true);
    image->SetTransparent(true);
    auto* box = new TFrameBox(&face);
    box->HideOutline();
    proc.SetAttachedTImage(image);
    io.SetAttachedTImage(image);
    PlaceHair(o, {*image, proc, io, *box});
    result = ComposeResult(*canvas.Bitmap(), *image->Bitmap(), image->geometry());
  }

  TImgIO out;
  out.SetBitmap(&result);
  bool written = false;
  try {
    written = out.SaveToFile(o.Out);
  } catch (const FileError& error) {
    throw Failure(error.what());
  }
  if (!written) throw Failure(o.Out + ": cannot write a picture of this type");
  return 0;
}

const Registration registration(
    "makeover",
    "  makeover FACE OUT [--hair FILE] [--tint R,G,B] [--eyes R,G,B] [--lips R,G,B] [--lipline R,G,B]\n"
    "           [--frame L,T,R,B]\n"
    "                                        a face with make-up and a hairstyle (over the whole face, or\n"
    "                                        inside the frame L,T,R,B), tinted by R,G,B (default 60,40,20),\n"
    "                                        composed as Add to gallery does; written by OUT's extension\n",
    Run);

}  // namespace
}  // namespace glamora::cli
