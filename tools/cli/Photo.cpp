// glamora-cli photo: a photograph made over at its own resolution (make-up
// and a catalogue hairstyle on one of its faces), or the faces it shows.
#include <charconv>
#include <cstdio>
#include <filesystem>

#include "imaging/components/ImgIO.h"
#include "photo/Complexion.h"
#include "photo/PhotoMakeover.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliOptions.h"
#include "tools/cli/QualityOption.h"

namespace glamora::cli {
namespace {

constexpr const char* kUsage =
    "usage: photo PHOTO OUT [--face N] [--hair FILE] [--frame L,T,R,B] [--tint R,G,B] [--eyes R,G,B] "
    "[--lips R,G,B] [--lipline R,G,B] [--blush R,G,B] [--complexion P] [--opacity KIND=PERCENT ...] "
    "[--quality Q] | photo PHOTO --faces";

// The JPEG quality of a made-over photograph unless --quality says otherwise.
constexpr int kPhotoQuality = 92;

int ParseInt(const std::string& option, const std::string& text, int low, int high) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end || value < low || value > high) {
    throw Failure(option + " wants a number " + std::to_string(low) + ".." + std::to_string(high) + ", not \"" +
                  text + "\"");
  }
  return value;
}

struct Options {
  std::string Photo, Out;
  bool ListFaces = false;
  int Face = 0;  // 0: the largest
  PhotoLook Look;
  bool HasTint = false, HasFrame = false;
  int Quality = kPhotoQuality;
};

Options ParseOptions(Args args) {
  Options o;
  if (const auto quality = TakeQualityOption(args)) o.Quality = *quality;
  const auto take = [&o](const std::string& option, const OptionValue& value) {
    if (option == "--faces") {
      o.ListFaces = true;
    } else if (option == "--face") {
      o.Face = ParseInt(option, value(), 1, 10000);
    } else if (option == "--hair") {
      o.Look.Hair = value();
    } else if (option == "--frame") {
      o.Look.HairPlacement = InsideOfFrame(ParseFrame(value()));
      o.HasFrame = true;
    } else if (option == "--tint") {
      const TColor tint = ParseRgb(option, value());
      o.Look.HairColour = {RedOf(tint), GreenOf(tint), BlueOf(tint)};
      o.HasTint = true;
    } else if (option == "--eyes") {
      o.Look.Eyes = ParseRgb(option, value());
    } else if (option == "--lips") {
      o.Look.Lips = ParseRgb(option, value());
    } else if (option == "--lipline") {
      o.Look.LipLine = ParseRgb(option, value());
    } else if (option == "--blush") {
      o.Look.Blush = ParseRgb(option, value());
    } else if (option == "--complexion") {
      o.Look.Complexion = ParseInt(option, value(), kMinComplexion, kMaxComplexion);
    } else if (option == "--opacity") {
      const std::string& text = value();
      const size_t equals = text.find('=');
      const auto kind = PhotoMakeupNamed(text.substr(0, equals));
      if (equals == std::string::npos || !kind) {
        throw Failure("--opacity wants KIND=PERCENT with KIND eyes, lips, lipline, blush or complexion, not \"" +
                      text + "\"");
      }
      o.Look.OpacityOf(*kind) = ParseInt("--opacity " + text.substr(0, equals), text.substr(equals + 1), 0, 100);
    } else {
      throw Failure("unknown option " + option);
    }
  };
  const std::vector<std::string> files = SplitWords(args, take);
  if (o.ListFaces) {
    if (files.size() != 1) throw Failure(kUsage);
    o.Photo = files[0];
    return o;
  }
  if (files.size() != 2) throw Failure(kUsage);
  if (o.Look.Hair.empty() && (o.HasTint || o.HasFrame)) throw Failure("--tint and --frame need --hair");
  o.Photo = files[0];
  o.Out = files[1];
  return o;
}

FaceList FindFaces(const std::string& name, const Bitmap& photo) {
  LandmarkFinder finder;
  FaceList faces = finder.FindAll(photo);
  switch (faces.Result) {
    case FaceSearch::Outcome::Unavailable: throw Failure(faces.Message);
    case FaceSearch::Outcome::NoFace: throw Failure(name + ": " + faces.Message);
    case FaceSearch::Outcome::Found: break;
  }
  return faces;
}

int Run(const Args& args) {
  const Options o = ParseOptions(args);
  if (!o.ListFaces) RefuseOutputOverInput(o.Out, {o.Photo, o.Look.Hair});
  std::error_code error;
  if (!o.Look.Hair.empty() && !std::filesystem::is_regular_file(o.Look.Hair, error)) {
    throw Failure(o.Look.Hair + ": no such hairstyle file");
  }
  Bitmap photo;
  TImgIO io;
  io.SetBitmap(&photo);
  if (!io.LoadFromFile(o.Photo) || photo.Empty()) {
    throw Failure(std::string(PictureStatusText(io.Status())) + ": " + o.Photo);
  }
  photo.ConvertTo24();
  const FaceList faces = FindFaces(o.Photo, photo);
  if (o.ListFaces) {
    for (const FoundFace& f : faces.Faces) {
      std::printf("%d %d %d %d\n", f.Face.Left, f.Face.Top, f.Face.Width, f.Face.Height);
    }
    return 0;
  }
  const FoundFace* face = ChooseFace(faces, o.Face);
  if (!face) {
    throw Failure(o.Photo + ": there is no face " + std::to_string(o.Face) + " (" +
                  std::to_string(faces.Faces.size()) + " found)");
  }
  switch (MakeOverPhoto(photo, face->Points, o.Look, io.Params.Limits)) {
    case PhotoMakeoverStatus::Done: break;
    case PhotoMakeoverStatus::HairUnreadable: throw Failure(o.Look.Hair + ": cannot read this hairstyle");
    case PhotoMakeoverStatus::HairTooLarge: throw Failure(o.Look.Hair + ": the hair would be too large to lay");
  }
  io.Params.JpegQuality = o.Quality;
  if (!io.SaveToFile(o.Out)) throw Failure(std::string(PictureStatusText(io.Status())) + ": " + o.Out);
  return 0;
}

const Registration registration(
    "photo",
    "  photo PHOTO OUT [--face N] [--hair FILE] [--frame L,T,R,B] [--tint R,G,B] [--eyes R,G,B]\n"
    "        [--lips R,G,B] [--lipline R,G,B] [--blush R,G,B] [--complexion P]\n"
    "        [--opacity KIND=PERCENT ...] [--quality Q]\n"
    "                                        a photograph made over at its own size: make-up and a\n"
    "                                        catalogue hairstyle on its largest face (or the N-th from the\n"
    "                                        left), the hair placed by its frame on the standard face;\n"
    "                                        KIND is eyes, lips, lipline, blush or complexion; complexion\n"
    "                                        P is -20..10 as the slider; written by OUT's extension\n"
    "  photo PHOTO --faces                   the faces found, one \"LEFT TOP WIDTH HEIGHT\" a line\n",
    Run);

}  // namespace
}  // namespace glamora::cli
