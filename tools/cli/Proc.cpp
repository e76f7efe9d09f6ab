// glamora-cli proc: runs one processing operation on a picture file.
#include <algorithm>
#include <charconv>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "imaging/components/ImgIO.h"
#include "imaging/components/ImgProc.h"
#include "imaging/core/Resample.h"
#include "imaging/core/Rotate.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliOptions.h"
#include "tools/cli/QualityOption.h"
#include "tools/cli/TerminalProgress.h"

namespace glamora::cli {
namespace {

int Number(const std::string& text, const char* what) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end) throw Failure(std::string("bad ") + what + ": \"" + text + "\"");
  return value;
}

// A side of resample: -1 (kept in the picture's proportions) or 1 up to the
// longest side a picture may have.
int Side(const std::string& text, const char* what) {
  const int side = Number(text, what);
  if (side != -1 && (side < 1 || side > PictureLimits::kMaxSide)) {
    throw Failure(std::string(what) + " wants -1 (keep the aspect ratio) or 1.." +
                  std::to_string(PictureLimits::kMaxSide) + ", not " + text);
  }
  return side;
}

std::string SizeText(int64_t width, int64_t height) { return std::to_string(width) + " x " + std::to_string(height); }

const std::string kLimitText = "the size limit (" + std::to_string(PictureLimits::kMaxSide) + " pixels a side, " +
                               std::to_string(PictureLimits::kMaxPixels / 1'000'000) + " megapixels)";

uint8_t Channel(const std::string& text) {
  const int v = Number(text, "channel value");
  if (v < 0 || v > 255) throw Failure("channel value out of 0..255: " + text);
  return uint8_t(v);
}

TResampleFilter FilterNamed(const std::string& name) {
  static constexpr std::pair<std::string_view, TResampleFilter> kNames[] = {
      {"none", rfNone},         {"triangle", rfTriangle},   {"hermite", rfHermite}, {"bell", rfBell},
      {"bspline", rfBSpline}, {"lanczos3", rfLanczos3}, {"mitchell", rfMitchell},
  };
  for (const auto& [n, f] : kNames) {
    if (name == n) return f;
  }
  throw Failure("unknown filter \"" + name + "\" (none, triangle, hermite, bell, bspline, lanczos3, mitchell)");
}

const char kUsage[] =
    "  proc resample W H FILTER IN OUT       resize (W or H -1 keeps the aspect ratio); FILTER one of\n"
    "                                        none, triangle, hermite, bell, bspline, lanczos3, mitchell\n"
    "  proc rotate ANGLE [--antialias] IN OUT  degrees counter-clockwise, on white\n"
    "  proc hslvar H S L IN OUT              shift hue (degrees), saturation and lightness (percent)\n"
    "  proc contrast A IN OUT                contrast -100..100, on a picture of at least 2 x 2\n"
    "  proc intensity R G B IN OUT           add to each channel\n"
    "  proc threshold DL UL DV UV IN OUT     each of DownLimit, UpLimit, DownVal, UpVal as r g b\n"
    "  proc clear IN OUT                     fill with white\n"
    "  proc ... --quality Q IN OUT           Q (1..100): the quality of a JPEG written\n";

// Checks the argument count of an operation: `count` values, then IN and OUT.
void Expect(const Args& a, size_t count, const char* form) {
  if (a.size() != count + 3) throw Failure(std::string("usage: proc ") + form + " IN OUT");
}

// One operation on the picture read, through the processing component. The
// component refuses silently (as the program's windows want it); here a
// refusal throws Failure, so that nothing is written and the exit says so.
using Operation = std::function<void(Bitmap& picture, TImgProc& proc)>;

// The colour operations work on 24-bit pictures; others are expanded first,
// so that they do their work instead of leaving the picture as it was.
Operation OnColours(std::function<void(Bitmap&, TImgProc&)> operation) {
  return [operation = std::move(operation)](Bitmap& picture, TImgProc& proc) {
    if (picture.Format() != PixelFormat::Bits24) picture.ConvertTo24();
    operation(picture, proc);
  };
}

// Reads the operation and its values (all checked before any file is
// touched) into a call on the processing component.
Operation OperationOf(Args& a) {
  const std::string op = a[0];
  if (op == "resample") {
    Expect(a, 3, "resample W H FILTER");
    const int w = Side(a[1], "width"), h = Side(a[2], "height");
    if (w == -1 && h == -1) throw Failure("width and height cannot both be -1");
    const TResampleFilter filter = FilterNamed(a[3]);
    return [=](Bitmap& picture, TImgProc& p) {
      PictureSize size;
      if (!ResampleTargetSize(picture.Width(), picture.Height(), w, h, size)) {
        throw Failure("resampling the " + SizeText(picture.Width(), picture.Height()) + " picture to " +
                      SizeText(w, h) + " would pass " + kLimitText);
      }
      p.Resample(w, h, filter);
      if (picture.Width() != size.Width || picture.Height() != size.Height) {
        throw Failure("cannot resample the picture to " + SizeText(size.Width, size.Height));
      }
    };
  }
  if (op == "rotate") {
    const auto flag = std::find(a.begin(), a.end(), "--antialias");
    const bool antialias = flag != a.end();
    if (antialias) a.erase(flag);
    Expect(a, 1, "rotate ANGLE [--antialias]");
    const int angle = Number(a[1], "angle");
    return [=](Bitmap& picture, TImgProc& p) {
      // The rotation of the component, whose answer it keeps to itself.
      if (!Rotate(picture, angle, antialias, p.Background())) {
        throw Failure("rotating the " + SizeText(picture.Width(), picture.Height()) + " picture by " +
                      std::to_string(angle) + " degrees would pass " + kLimitText);
      }
    };
  }
  if (op == "hslvar") {
    Expect(a, 3, "hslvar H S L");
    const int h = Number(a[1], "hue"), s = Number(a[2], "saturation"), l = Number(a[3], "lightness");
    return OnColours([=](Bitmap&, TImgProc& p) { p.HSLVar(h, s, l); });
  }
  if (op == "contrast") {
    Expect(a, 1, "contrast A");
    const int amount = Number(a[1], "amount");
    if (amount < -100 || amount > 100) throw Failure("contrast wants -100..100, not " + a[1]);
    return OnColours([=](Bitmap& picture, TImgProc& p) {
      if (picture.Width() < 2 || picture.Height() < 2) {
        throw Failure("contrast needs a picture of at least 2 x 2, not " +
                      SizeText(picture.Width(), picture.Height()));
      }
      p.Contrast(amount);
    });
  }
  if (op == "intensity") {
    Expect(a, 3, "intensity R G B");
    const int r = Number(a[1], "red"), g = Number(a[2], "green"), b = Number(a[3], "blue");
    return OnColours([=](Bitmap&, TImgProc& p) { p.IntensityRGBall(r, g, b); });
  }
  if (op == "threshold") {
    Expect(a, 12, "threshold DLr DLg DLb ULr ULg ULb DVr DVg DVb UVr UVg UVb");
    TColor c[4];
    for (size_t i = 0; i < 4; ++i) c[i] = Rgb(Channel(a[1 + 3 * i]), Channel(a[2 + 3 * i]), Channel(a[3 + 3 * i]));
    return OnColours([=](Bitmap&, TImgProc& p) { p.Threshold(c[0], c[1], c[2], c[3]); });
  }
  if (op == "clear") {
    Expect(a, 0, "clear");
    return [](Bitmap&, TImgProc& p) { p.Clear(); };
  }
  throw Failure("unknown operation \"" + op + "\" (see glamora-cli help)");
}

int Run(const Args& args) {
  if (args.empty()) throw Failure("usage: proc OPERATION ARGUMENTS... IN OUT (see glamora-cli help)");
  Args a = args;
  const std::optional<int> quality = TakeQualityOption(a);
  const Operation operation = OperationOf(a);
  const std::string& in = a[a.size() - 2];
  const std::string& out = a[a.size() - 1];
  RefuseOutputOverInput(out, {in});

  TerminalProgress progress;
  Bitmap bitmap;
  TImgIO io;
  io.SetBitmap(&bitmap);
  io.OnProgress = progress.Stage("reading " + in);
  if (!io.LoadFromFile(in)) throw Failure(in + ": not a picture this program can read");
  TImgProc proc;
  proc.SetBitmap(&bitmap);
  proc.AutoUndo = false;
  proc.SetBackground(clWhite);
  proc.OnProgress = progress.Stage(a[0]);
  operation(bitmap, proc);
  if (quality) io.Params.JpegQuality = *quality;
  io.OnProgress = progress.Stage("writing " + out);
  if (!io.SaveToFile(out)) throw Failure(out + ": cannot write a picture of this type");
  return 0;
}

const Registration registration("proc", kUsage, Run);

}  // namespace
}  // namespace glamora::cli
