// The make-over's operations on the face and the hair.
#include "model/Makeover.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "face/FaceFile.h"
#include "face/PencilLine.h"
#include "face/RegionColouring.h"
#include "face/SoftMakeup.h"
#include "face/StrokePath.h"
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
  keptSteps_.clear();
  pendingSteps_.clear();
  stepsValid_ = true;
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
  // A picture from elsewhere cannot be made again from the face as loaded.
  keptSteps_.clear();
  pendingSteps_.clear();
  stepsValid_ = false;
  FaceChanged(PixelRect::Of(face_));
}

void Makeover::SetFaceSize(int width, int height, TColor fill) {
  if (face_.Width() == width && face_.Height() == height) return;
  if (!face_.SetSize(width, height, fill)) return;
  if (!loadedFace_.Empty()) loadedFace_.SetSize(width, height, fill);
  SaveUndo();
  FaceChanged(PixelRect::Of(face_));
}

// ---- the undo point --------------------------------------------------------

void Makeover::SaveUndo() {
  proc_.SaveUndo();
  keptSteps_.insert(keptSteps_.end(), pendingSteps_.begin(), pendingSteps_.end());
  pendingSteps_.clear();
}

void Makeover::Undo() {
  proc_.Undo();
  pendingSteps_.clear();
  FaceChanged(PixelRect::Of(face_));
}

// ---- make-up ---------------------------------------------------------------

void Makeover::ApplyColor(ColorKind kind, TColor color) { ApplyColor(kind, color, true); }

void Makeover::ApplyColor(ColorKind kind, TColor color, bool followsSoftEdges) {
  proc_.Undo();
  pendingSteps_.clear();
  const MakeupStep step{.What = MakeupStep::Type::Colour, .Kind = kind, .Color = color,
                        .FollowsSoftEdges = followsSoftEdges};
  LayColour(kind, color, followsSoftEdges && softEdges_);
  Record(step);
  FaceChanged(PixelRect::Of(face_));
}

void Makeover::LayColour(ColorKind kind, TColor color, bool soft) {
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
    case ColorKind::LipLine: {
      const FaceRegion edge = OuterLoopOf(header_.Region(FaceHeader::kLips));
      if (soft) {
        SoftOutlineRegion(face_, edge, color, kSoftLipLine);
      } else {
        glamora::OutlineRegion(face_, edge, color);
      }
      header_.LipLineColor = color;
      break;
    }
  }
}

void Makeover::LayComplexion(int position) {
  if (position < 0) {
    proc_.HSLVar(0, 0, -position);
  } else {
    proc_.Contrast(position);
  }
}

void Makeover::Lay(const MakeupStep& step, TAirBrush& brush) {
  switch (step.What) {
    case MakeupStep::Type::Colour: LayColour(step.Kind, step.Color, step.FollowsSoftEdges && softEdges_); break;
    case MakeupStep::Type::Complexion: LayComplexion(step.Number); break;
    case MakeupStep::Type::Outline:
      glamora::OutlineRegion(face_, header_.Region(step.Number), step.Color);
      break;
    case MakeupStep::Type::Pencil: DrawPencilDot(face_, step.At, step.Color); break;
    case MakeupStep::Type::Stamp:
      brush.SetSize(step.BrushSize);
      brush.SetIntensity(step.BrushIntensity);
      brush.SetColor(step.Color);
      brush.SetShape(step.BrushShape);
      brush.Stamp(face_, step.At.X, step.At.Y);
      break;
  }
}

void Makeover::Record(const MakeupStep& step) {
  // A face that cannot be laid again needs no steps.
  if (stepsValid_) pendingSteps_.push_back(step);
}

void Makeover::SetSoftEdges(bool on) {
  if (on == softEdges_) return;
  softEdges_ = on;
  Relay();
}

void Makeover::Relay() {
  if (!stepsValid_ || loadedFace_.Empty()) return;
  if (loadedFace_.Width() != face_.Width() || loadedFace_.Height() != face_.Height()) return;
  const auto slot = [](ColorKind kind) { return kind == ColorKind::Eyes ? 0 : kind == ColorKind::Lips ? 1 : 2; };
  // The last colour of each kind; one shown since the undo point replaces
  // the kept one of its kind, which the undo point then no longer holds.
  std::optional<MakeupStep> lastColour[3];
  for (const MakeupStep& step : keptSteps_) {
    if (step.What == MakeupStep::Type::Colour) lastColour[slot(step.Kind)] = step;
  }
  for (const MakeupStep& step : pendingSteps_) {
    if (step.What == MakeupStep::Type::Colour) lastColour[slot(step.Kind)].reset();
  }
  std::vector<MakeupStep> kept;
  for (const std::optional<MakeupStep>& colour : lastColour) {
    if (colour) kept.push_back(*colour);
  }
  for (const MakeupStep& step : keptSteps_) {
    if (step.What != MakeupStep::Type::Colour) kept.push_back(step);
  }
  keptSteps_ = std::move(kept);

  face_.Assign(loadedFace_);
  TAirBrush brush;
  for (const MakeupStep& step : keptSteps_) Lay(step, brush);
  proc_.SaveUndo();
  for (const MakeupStep& step : pendingSteps_) Lay(step, brush);
  FaceChanged(PixelRect::Of(face_));
}

void Makeover::OutlineRegion(int number, TColor color) {
  if (number < 1 || number > FaceHeader::kRegionCount) return;
  glamora::OutlineRegion(face_, header_.Region(number), color);
  Record({.What = MakeupStep::Type::Outline, .Color = color, .Number = number});
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
  pendingSteps_.clear();
  LayComplexion(position);
  Record({.What = MakeupStep::Type::Complexion, .Number = position});
  FaceChanged(PixelRect::Of(face_));
}

PixelRect Makeover::PencilDot(Point at, TColor color) {
  DrawPencilDot(face_, at, color);
  Record({.What = MakeupStep::Type::Pencil, .Color = color, .At = at});
  const PixelRect changed{at.X - 1, at.Y - 1, 3, 3};
  FaceChanged(changed);
  return changed;
}

PixelRect Makeover::PencilLine(Point from, Point to, TColor color) {
  const PixelRect line = DrawPencilLine(face_, from, to, color);
  for (const Point& p : StampsAlong(from, to, 1)) {
    Record({.What = MakeupStep::Type::Pencil, .Color = color, .At = p});
  }
  const PixelRect changed{line.Left - 1, line.Top - 1, line.Width + 2, line.Height + 2};
  FaceChanged(changed);
  return changed;
}

PixelRect Makeover::Stamp(const TAirBrush& brush, Point at) { return StampAt(brush, {at}, at, at); }

PixelRect Makeover::StampAlong(const TAirBrush& brush, Point from, Point to) {
  return StampAt(brush, StampsAlong(from, to, brush.Size()), from, to);
}

PixelRect Makeover::StampAt(const TAirBrush& brush, const std::vector<Point>& centres, Point from, Point to) {
  TAirBrush stamp = brush;
  for (const Point& at : centres) {
    stamp.Stamp(face_, at.X, at.Y);
    Record({.What = MakeupStep::Type::Stamp, .Color = brush.Color(), .At = at,
                             .BrushSize = brush.Size(), .BrushIntensity = brush.Intensity(),
                             .BrushShape = brush.Shape()});
  }
  // A stamp covers size pixels from its centre less size div 2; one more
  // on each side for the view.
  const int before = brush.Size() / 2 + 1, after = brush.Size() - brush.Size() / 2;
  const PixelRect changed = PixelRect::FromEdges(std::min(from.X, to.X) - before, std::min(from.Y, to.Y) - before,
                                                 std::max(from.X, to.X) + after, std::max(from.Y, to.Y) + after);
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
