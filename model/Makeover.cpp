// The make-over's operations on the face and the hair.
#include "model/Makeover.h"

#include <filesystem>
#include <system_error>

#include "face/FaceFile.h"
#include "face/PencilLine.h"
#include "face/RegionColouring.h"
#include "face/SoftMakeup.h"
#include "hair/Catalogue.h"
#include "hair/Compose.h"
#include "imaging/components/ImgIO.h"
#include "imaging/core/Rounding.h"
#include "imaging/core/Stream.h"

namespace glamora {

namespace {

// Soft make-up as the Make-up page lays it on: regions feathered over a
// couple of pixels at 60 %, the lip line narrower and stronger.
constexpr SoftMakeupStyle kSoftFill{2, 60};
constexpr SoftMakeupStyle kSoftLipLine{1, 80};

bool IsFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

Makeover::Makeover() { proc_.SetBitmap(&face_); }

// ---- the face --------------------------------------------------------------

bool Makeover::LoadFace(const std::string& fileName) {
  if (!IsFile(fileName)) return false;
  if (FaceFileKindOf(fileName) == FaceFileKind::NotAFaceFile) return false;

  FaceHeader header;
  MemoryStream payload;
  FaceFileIdentity identity;
  const bool read = ReadFaceFile(fileName, header, payload, &identity, limits_);
  loadOk_ = read;
  if (!read) return false;
  // A picture that cannot be decoded leaves the face as it was.
  Bitmap picture;
  TImgIO io;
  io.SetBitmap(&picture);
  io.Params.Limits = limits_;
  if (!io.LoadFromStream(payload) || io.Aborting) return false;

  face_ = std::move(picture);
  loadedFace_.Assign(face_);
  header_ = header;
  fileHeader_ = header;
  payload_ = std::move(payload.Bytes());
  fileIdentity_ = identity;
  headerFileName_ = fileName;
  headerSaved_ = true;
  proc_.SaveUndo();
  halfWidth_ = face_.Width() / 2;
  splitY_ = RoundEvenInt(face_.Height() * 0.6);
  FaceChanged(PixelRect::Of(face_), true);
  return true;
}

void Makeover::SaveHeader() {
  if (headerSaved_) return;
  RewriteFaceHeader(headerFileName_, header_, fileIdentity_);
  fileHeader_ = header_;
  headerSaved_ = true;
}

void Makeover::DiscardHeaderChanges() {
  header_ = fileHeader_;
  headerSaved_ = true;
}

void Makeover::SaveFaceAs(const std::string& fileName) {
  fileIdentity_ = WriteFaceFile(header_, payload_, fileName);
  fileHeader_ = header_;
  headerFileName_ = fileName;
  headerSaved_ = true;
}

void Makeover::SetFace(const Bitmap& picture) {
  face_.Assign(picture);
  FaceChanged(PixelRect::Of(face_));
}

void Makeover::SetFaceSize(int width, int height, TColor fill) {
  if (face_.Width() == width && face_.Height() == height) return;
  if (!face_.SetSize(width, height, fill)) return;
  if (!loadedFace_.Empty()) loadedFace_.SetSize(width, height, fill);
  proc_.SaveUndo();
  FaceChanged(PixelRect::Of(face_));
}

// ---- the undo point --------------------------------------------------------

void Makeover::SaveUndo() { proc_.SaveUndo(); }

void Makeover::Undo() {
  proc_.Undo();
  FaceChanged(PixelRect::Of(face_));
}

// ---- make-up ---------------------------------------------------------------

void Makeover::ApplyColor(ColorKind kind, TColor color) { ApplyColor(kind, color, softEdges_); }

void Makeover::ApplyColor(ColorKind kind, TColor color, bool soft) {
  proc_.Undo();
  const auto fill = [&](int number) {
    if (soft) {
      SoftColorRegion(face_, header_.Region(number), color, kSoftFill);
    } else {
      ColorRegion(face_, header_.Region(number), color);
    }
  };
  switch (kind) {
    case ColorKind::Eyes:
      fill(FaceHeader::kLeftEye);
      fill(FaceHeader::kRightEye);
      break;
    case ColorKind::Lips: fill(FaceHeader::kLips); break;
    case ColorKind::LipLine:
      if (soft) {
        SoftOutlineRegion(face_, header_.Region(FaceHeader::kLips), color, kSoftLipLine);
      } else {
        glamora::OutlineRegion(face_, header_.Region(FaceHeader::kLips), color);
      }
      header_.LipLineColor = color;
      break;
  }
  FaceChanged(PixelRect::Of(face_));
}

void Makeover::OutlineRegion(int number, TColor color) {
  if (number < 1 || number > FaceHeader::kRegionCount) return;
  glamora::OutlineRegion(face_, header_.Region(number), color);
  FaceChanged(PixelRect::Of(face_));
}

void Makeover::StoreRegion(int number, const FaceRegion& polygon) {
  if (number < FaceHeader::kLeftEye || number > FaceHeader::kLips) return;
  FaceRegion& region = header_.Region(number);
  region = polygon;
  region.Valid = 1;
  header_.StoreMark = 0;
  headerSaved_ = false;
}

void Makeover::Complexion(int position) {
  proc_.Undo();
  if (position < 0) {
    proc_.HSLVar(0, 0, -position);
  } else {
    proc_.Contrast(position);
  }
  FaceChanged(PixelRect::Of(face_));
}

PixelRect Makeover::PencilLine(Point from, Point to, TColor color) {
  const PixelRect line = DrawPencilLine(face_, from, to, color);
  const PixelRect changed{line.Left - 1, line.Top - 1, line.Width + 2, line.Height + 2};
  FaceChanged(changed);
  return changed;
}

PixelRect Makeover::Stamp(TAirBrush& brush, Point at) {
  brush.Stamp(face_, at.X, at.Y);
  const int size = brush.Size();
  const PixelRect changed{at.X - size / 2 - 1, at.Y - size / 2 - 1, size + 2, size + 2};
  FaceChanged(changed);
  return changed;
}

void Makeover::RandomMakeup(RandomGenerator& random) {
  // The random make-up always shifts the channels: its colour ranges are
  // drawn for that colouring. Blue first, then green, then red.
  auto drawColor = [&](uint32_t range) {
    const uint32_t b = random.Draw(range);
    const uint32_t g = random.Draw(range);
    const uint32_t r = random.Draw(range);
    return Rgb(uint8_t(r), uint8_t(g), uint8_t(b));
  };
  ApplyColor(ColorKind::Eyes, drawColor(150), false);
  SaveUndo();
  ApplyColor(ColorKind::Lips, drawColor(100), false);
  SaveUndo();
  if (random.Draw(10) < 5) {
    const uint8_t e = uint8_t(random.Draw(100));
    ApplyColor(ColorKind::LipLine, Rgb(e, 0, e), false);
  }
  SaveUndo();
}

// ---- the hair --------------------------------------------------------------

THairLoad Makeover::LoadHairstyle(const std::string& fileName) {
  hairFileName_ = FullHairPath(fileName);
  const THairLoad result = ReadHairstyle(hairFileName_, untintedHair_, limits_);
  if (result == THairLoad::Loaded) {
    TintHair(untintedHair_, tint_, hair_);
    HairChanged(HairChange::Loaded);
  }
  return result;
}

void Makeover::SetTint(THairColour colour) {
  tint_ = colour;
  TintHair(untintedHair_, tint_, hair_);
  HairChanged(HairChange::Tinted);
}

void Makeover::SetHairPlacement(const PixelRect& placement) {
  placement_ = placement;
  HairChanged(HairChange::Placed);
}

// ---- results ---------------------------------------------------------------

Bitmap Makeover::Compose() const { return ComposeResult(face_, hair_, placement_); }

bool Makeover::RandomMakeover(const std::string& faceFile, const std::string& catalogueFolder,
                              RandomGenerator& random) {
  try {
    if (!LoadFace(faceFile)) return false;
  } catch (const FileError&) {
    return false;
  }
  SaveUndo();
  RandomMakeup(random);
  const HairstyleCategory category = HairstyleCategory(random.Draw(kRandomCategories)) + 1;
  const int number = int(random.Draw(kRandomHairstyles));
  LoadHairstyle(HairstyleFileName(catalogueFolder, CategoryName(category), number));
  const uint8_t red = uint8_t(random.Draw(50) + 50);
  const uint8_t green = uint8_t(random.Draw(60));
  const uint8_t blue = uint8_t(random.Draw(40));
  SetTint({red, green, blue});
  return true;
}

// ---- notices ---------------------------------------------------------------

void Makeover::FaceChanged(const PixelRect& area, bool loaded) {
  if (OnFaceChange) OnFaceChange(area, loaded);
}

void Makeover::HairChanged(HairChange change) {
  if (OnHairChange) OnHairChange(change);
}

}  // namespace glamora
