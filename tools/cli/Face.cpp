// glamora-cli face: inspect, unpack and build face files.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>

#include "face/FaceFile.h"
#include "face/FaceSeal.h"
#include "imaging/core/Stream.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliOptions.h"

namespace glamora::cli {

int FaceLandmarks(const Args& args);  // FaceLandmarks.cpp
int FaceMake(const Args& args);       // FaceMake.cpp
int FaceOutline(const Args& args);    // FaceOutline.cpp

namespace {

const char* PictureSignature(const std::vector<uint8_t>& b) {
  static const uint8_t png[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return "JPEG";
  if (b.size() >= 8 && std::equal(png, png + 8, b.begin())) return "PNG";
  if (b.size() >= 2 && b[0] == 'B' && b[1] == 'M') return "BMP";
  return "unknown";
}

void Read(const std::string& file, FaceHeader& header, MemoryStream& payload) {
  if (FaceFileKindOf(file) == FaceFileKind::NotAFaceFile) {
    throw Failure(file + ": not a face file (the extension must be .eff or .mff)");
  }
  if (!ReadFaceFile(file, header, payload)) throw Failure(file + ": shorter than a face header (3260 bytes)");
}

int Info(const Args& a) {
  if (a.size() != 1) throw Failure("usage: face info FILE");
  FaceHeader header;
  MemoryStream payload;
  Read(a[0], header, payload);
  std::printf("file: %s\n", a[0].c_str());
  std::printf("kind: %s\n", FaceFileKindOf(a[0]) == FaceFileKind::Enciphered ? "enciphered" : "plain");
  std::printf("payload: %lld bytes\n", static_cast<long long>(payload.Size()));
  std::printf("picture: %s\n", PictureSignature(payload.Bytes()));
  const char* names[] = {"left eye", "right eye", "lips"};
  for (int r = 1; r <= 3; ++r) {
    const FaceRegion& region = header.Region(r);
    if (!region.IsOutlined()) {
      std::printf("region %d (%s): not outlined (valid %d, count %d)\n", r, names[r - 1], region.Valid,
                  region.Count);
      continue;
    }
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (int i = 0; i < region.Count; ++i) {
      const FacePoint& p = region.Points[size_t(i)];
      left = std::min(left, p.X);
      top = std::min(top, p.Y);
      right = std::max(right, p.X);
      bottom = std::max(bottom, p.Y);
    }
    std::printf("region %d (%s): %d vertices, box %d,%d - %d,%d\n", r, names[r - 1], region.Count, left, top, right,
                bottom);
  }
  return 0;
}

int Extract(const Args& a) {
  if (a.size() != 2) throw Failure("usage: face extract FILE OUT");
  RefuseOutputOverInput(a[1], {a[0]});
  FaceHeader header;
  MemoryStream payload;
  Read(a[0], header, payload);
  WriteFileAtomically(a[1], payload.Bytes().data(), payload.Bytes().size());
  return 0;
}

std::vector<uint8_t> ReadJpeg(const std::string& file) {
  std::vector<uint8_t> picture = ReadFileBytes(file);
  if (std::string(PictureSignature(picture)) != "JPEG") throw Failure(file + ": not a JPEG file");
  return picture;
}

int Pack(const Args& a) {
  if (a.size() != 2) throw Failure("usage: face pack PICTURE OUT.mff");
  if (FaceFileKindOf(a[1]) != FaceFileKind::Plain) throw Failure(a[1] + ": a plain face file must end in .mff");
  RefuseOutputOverInput(a[1], {a[0]});
  MemoryStream picture(ReadJpeg(a[0]));
  WriteFaceFile(&picture, a[1]);
  return 0;
}

int Seal(const Args& a) {
  if (a.size() != 3) throw Failure("usage: face seal PICTURE HEADERFILE OUT.eff");
  if (FaceFileKindOf(a[2]) != FaceFileKind::Enciphered) throw Failure(a[2] + ": a model face file must end in .eff");
  RefuseOutputOverInput(a[2], {a[0], a[1]});
  std::vector<uint8_t> picture = ReadJpeg(a[0]);
  const std::vector<uint8_t> headerBytes = ReadFileBytes(a[1]);
  if (headerBytes.size() != FaceHeader::kByteSize) {
    throw Failure(a[1] + ": a face header has exactly 3260 bytes, this file has " +
                  std::to_string(headerBytes.size()));
  }
  SealFaceFile(FaceHeader::FromBytes(headerBytes.data()), std::move(picture), a[2]);
  return 0;
}

int Run(const Args& args) {
  if (args.empty()) throw Failure("usage: face info|extract|pack|seal|landmarks|make|outline ...");
  const std::string verb = args[0];
  const Args rest(args.begin() + 1, args.end());
  if (verb == "info") return Info(rest);
  if (verb == "extract") return Extract(rest);
  if (verb == "pack") return Pack(rest);
  if (verb == "seal") return Seal(rest);
  if (verb == "landmarks") return FaceLandmarks(rest);
  if (verb == "make") return FaceMake(rest);
  if (verb == "outline") return FaceOutline(rest);
  throw Failure("unknown face command \"" + verb + "\"");
}

const Registration registration(
    "face",
    "  face info FILE                        kind, payload size, picture signature, make-up regions\n"
    "  face extract FILE OUT                 write the deciphered picture bytes\n"
    "  face pack PICTURE.jpg OUT.mff         make a plain face file (header of noise)\n"
    "  face seal PICTURE.jpg HEADER OUT.eff  make an enciphered model face with a 3260-byte header\n"
    "  face landmarks PICTURE                the 68 landmarks of the largest face, one \"X Y\" a line\n"
    "  face make PHOTO OUT [--shape oval|wide|long|rect|try] [--place LEFT,TOP,WIDTH,HEIGHT]\n"
    "            [--rotate DEGREES] [--no-antialias] [--auto] [--allow-partial]\n"
    "                                        a face model carved from a photograph (prints OUT as .mff);\n"
    "                                        --auto fits the photograph by its face and writes the eye\n"
    "                                        and lip regions into the header; a photograph leaving over\n"
    "                                        5 % of the face shape uncovered or enlarged over 2.5 times\n"
    "                                        is refused unless --allow-partial\n"
    "  face outline FACE.mff                 propose the eye and lip regions from the face's landmarks\n"
    "                                        and write them into its header\n",
    Run);

}  // namespace
}  // namespace glamora::cli
