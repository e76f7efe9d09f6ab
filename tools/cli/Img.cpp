// glamora-cli img: what a picture file holds, and converting between formats
// through the picture input/output front.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "imaging/components/FormatTable.h"
#include "imaging/components/ImgIO.h"
#include "imaging/components/PreviewInfo.h"
#include "imaging/core/Stream.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliOptions.h"
#include "tools/cli/QualityOption.h"
#include "tools/cli/TerminalProgress.h"

namespace glamora::cli {

int ImgWand(const Args& args);  // ImgWand.cpp

namespace {

constexpr const char* kUsage =
    "  img info FILE          picture type (by content), size, sample layout, resolution and orientation\n"
    "  img info FILE --preview\n"
    "                         what the picture open dialog shows beside its preview, a line each:\n"
    "                         size, colours, resolution, format, file and memory size\n"
    "  img convert [--quality Q] IN OUT\n"
    "                         load IN by its extension, upright as its camera recorded, and save it by OUT's;\n"
    "                         Q (1..100) is the quality of a JPEG written\n"
    "  img wand FILE X Y [--tolerance T] [--grow]\n"
    "                         the magic-wand selection around pixel (X, Y): its vertices, \"X Y\" a line\n";

int Info(const std::string& path) {
  FileStream file(path, FileStream::Mode::Read);
  Bitmap bitmap;
  TImgIO io;
  io.SetBitmap(&bitmap);
  if (!io.LoadFromStream(file)) throw Failure(std::string(PictureStatusText(io.Status())) + ": " + path);

  const FileFormat* format = BuiltInFormats().FindById(io.Params.FileType);
  std::printf("type: %d %s\n", int(io.Params.FileType), format ? format->Description.c_str() : "");
  std::printf("width: %d\n", int(io.Params.Width));
  std::printf("height: %d\n", int(io.Params.Height));
  std::printf("bits per sample: %d\n", int(io.Params.BitsPerSample));
  std::printf("samples per pixel: %d\n", int(io.Params.SamplesPerPixel));
  std::printf("dpi: %d x %d\n", int(io.Params.DpiX), int(io.Params.DpiY));
  std::printf("orientation: %d\n", int(io.Params.Orientation));
  return 0;
}

// The lines of the open dialog's information, the type chosen by extension as
// the dialog does.
int PreviewInfoLines(const std::string& path) {
  TImgIO io;
  if (!io.ParamsFromFile(path)) throw Failure(std::string(PictureStatusText(io.Status())) + ": " + path);
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(path, error);
  if (error) throw Failure("cannot read " + path);
  for (const std::string& line : DescribePreview(io.Params, size, msSystem).Lines()) std::printf("%s\n", line.c_str());
  return 0;
}

int Convert(const std::string& in, const std::string& out, std::optional<int> quality) {
  RefuseOutputOverInput(out, {in});
  TerminalProgress progress;
  Bitmap bitmap;
  TImgIO io;
  io.SetBitmap(&bitmap);
  io.OnProgress = progress.Stage("reading " + in);
  if (!io.LoadFromFile(in)) throw Failure(std::string(PictureStatusText(io.Status())) + ": " + in);
  if (quality) io.Params.JpegQuality = *quality;
  io.OnProgress = progress.Stage("writing " + out);
  if (!io.SaveToFile(out)) throw Failure(std::string(PictureStatusText(io.Status())) + ": " + out);
  return 0;
}

int Run(const Args& args) {
  if (args.size() == 2 && args[0] == "info") return Info(args[1]);
  if (args.size() == 3 && args[0] == "info" && args[2] == "--preview") return PreviewInfoLines(args[1]);
  if (!args.empty() && args[0] == "wand") return ImgWand(Args(args.begin() + 1, args.end()));
  Args a = args;
  const std::optional<int> quality = TakeQualityOption(a);
  if (a.size() == 3 && a[0] == "convert") return Convert(a[1], a[2], quality);
  throw Failure(
      "usage: glamora-cli img info FILE [--preview] | img convert [--quality Q] IN OUT | img wand FILE X Y [--tolerance T] [--grow]");
}

const Registration kImg("img", kUsage, Run);

}  // namespace
}  // namespace glamora::cli
