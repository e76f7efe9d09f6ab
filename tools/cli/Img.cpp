// glamora-cli img: what a picture file holds, and converting between formats
// through the picture input/output front.
#include <cstdio>
#include <string>

#include "imaging/components/FormatTable.h"
#include "imaging/components/ImgIO.h"
#include "imaging/core/Stream.h"
#include "tools/cli/Cli.h"

namespace glamora::cli {

int ImgWand(const Args& args);  // ImgWand.cpp

namespace {

constexpr const char* kUsage =
    "  img info FILE          picture type (by content), size, sample layout and resolution\n"
    "  img convert IN OUT     load IN by its extension and save it by OUT's\n"
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
  return 0;
}

int Convert(const std::string& in, const std::string& out) {
  Bitmap bitmap;
  TImgIO io;
  io.SetBitmap(&bitmap);
  if (!io.LoadFromFile(in)) throw Failure(std::string(PictureStatusText(io.Status())) + ": " + in);
  if (!io.SaveToFile(out)) throw Failure(std::string(PictureStatusText(io.Status())) + ": " + out);
  return 0;
}

int Run(const Args& args) {
  if (args.size() == 2 && args[0] == "info") return Info(args[1]);
  if (args.size() == 3 && args[0] == "convert") return Convert(args[1], args[2]);
  if (!args.empty() && args[0] == "wand") return ImgWand(Args(args.begin() + 1, args.end()));
  throw Failure("usage: glamora-cli img info FILE | img convert IN OUT | img wand FILE X Y [--tolerance T] [--grow]");
}

const Registration kImg("img", kUsage, Run);

}  // namespace
}  // namespace glamora::cli
