#pragma once
// Makeover: the make-over being worked on, with no window. It owns the face
// picture with its FaceHeader and its one undo point, and the hair picture
// with its untinted copy, its tint and where it lies on the face. Windows
// show it through views that draw it and turn mouse input into its
// operations; the command-line companion and the tests use it as it is.
#include <functional>
#include <string>
#include <vector>

#include "face/AirBrush.h"
#include "face/FaceFile.h"
#include "face/FaceHeader.h"
#include "face/Random.h"
#include "hair/HairPicture.h"
#include "hair/Placement.h"
#include "imaging/components/ImgProc.h"
#include "imaging/core/Bitmap.h"
#include "imaging/core/ImgIOParams.h"
#include "imaging/core/PixelRect.h"
#include "imaging/core/PolygonRegion.h"

namespace glamora {

// What a colour applied on the make-up page goes on: both eyes, the lips, or
// the outline of the lips. The values are the kinds the make-up page passes.
enum class ColorKind : int { Eyes = 1, Lips = 3, LipLine = 5 };

// What changed about the hair: a new picture, a new tint, or its place.
enum class HairChange { Loaded, Tinted, Placed };

class Makeover {
 public:
  Makeover();
  Makeover(const Makeover&) = delete;
  Makeover& operator=(const Makeover&) = delete;

  // The largest face and hairstyle pictures LoadFace and LoadHairstyle
  // accept: by default the largest the program can hold; the window gives
  // its own, lower ones.
  void SetLoadLimits(const DecodeLimits& limits) { limits_ = limits; }
  const DecodeLimits& LoadLimits() const { return limits_; }

  // ---- the face

  // Opens a face file (".eff" or ".mff", either letter case): its header, and
  // its picture (decoded by content) as the new undo point; the split between
  // eyes and lips follows the picture's size. False, changing nothing, for a
  // missing file, another extension, a file too short for a header or a
  // picture that cannot be decoded. FileError passes through.
  bool LoadFace(const std::string& fileName);
  // Writes the header into its face file when it has changed, but only while
  // that file is still the face that was loaded (FaceFileReplaced, nothing
  // written, when it is not). FileError passes through and the header stays
  // marked as changed.
  void SaveHeader();
  // Drops the header's changes: back to the header of the face file.
  void DiscardHeaderChanges();
  // Writes the face as loaded (its picture bytes) with the current header as
  // a new plain face file, which becomes the file the header belongs to.
  // Throws FileError, changing nothing, when the file cannot be written.
  void SaveFaceAs(const std::string& fileName);

  const Bitmap& Face() const { return face_; }
  // The face as the face file gave it, without any make-up: what the face
  // looked like before the make-over, to compare. Cut or extended with the
  // picture by SetFaceSize; empty before a face file was opened.
  const Bitmap& LoadedFace() const { return loadedFace_; }
  // Puts a picture on the face as it is; header and undo point stay.
  void SetFace(const Bitmap& picture);
  // Cuts or extends the picture to width × height, new pixels in the fill
  // colour; the undo point follows, so undoing keeps that size.
  void SetFaceSize(int width, int height, TColor fill);

  const FaceHeader& Header() const { return header_; }
  FaceHeader& MutableHeader() { return header_; }
  // The face file the header was read from and is written back to.
  const std::string& HeaderFileName() const { return headerFileName_; }
  // True when the header holds nothing that the face file lacks.
  bool HeaderSaved() const { return headerSaved_; }
  // Whether the last face file read gave a header and a payload.
  bool LoadOk() const { return loadOk_; }
  // Picture width div 2 and round(height × 0.6): the eyes lie left and right
  // of the first, above the second; the lips below it.
  int HalfWidth() const { return halfWidth_; }
  int SplitY() const { return splitY_; }

  // ---- the one undo point
  void SaveUndo();
  // Back to the undo point, which stays; nothing without one.
  void Undo();
  const Bitmap& UndoPicture() const { return proc_.UndoBitmap(); }

  // ---- make-up

  // Back to the undo point, then the colour on the eyes (regions 1 and 2),
  // the lips (region 3), or as the lips' outline, whose colour the header
  // records without marking itself changed. With soft edges on, the colour
  // is laid on as soft make-up (feathered, shaded by the skin) instead of
  // shifting the region's channels. The lip line follows the outer edge of
  // the lips only (OuterLoopOf).
  void ApplyColor(ColorKind kind, TColor color);
  // Off at first: regions are coloured by shifting their channels. A change
  // lays the face again from the face as loaded: the last colour applied of
  // each kind since then in the new manner, then the strokes and complexion
  // changes in their order; what was on the undo point stays there, and
  // what came after it stays after it.
  void SetSoftEdges(bool on);
  bool SoftEdges() const { return softEdges_; }
  // Paints the outline of region 1..4 of the header, without an undo point.
  void OutlineRegion(int number, TColor color);
  // Stores a polygon in picture coordinates as region 1..3: marked valid,
  // the header's store mark cleared and the header marked changed.
  void StoreRegion(int number, const FaceRegion& polygon);
  // The complexion slider at `position` (−20..10): back to the undo point,
  // then lighter by −position hundredths below 0, or more contrast by the
  // factor 1 + position / 10 from 0 on. Positions never add up.
  void Complexion(int position);
  // A stroke: its press lays one pencil pixel or one airbrush stamp, each
  // move the pixels or stamps along the way on (StampsAlong), the start left
  // out. Each returns the part of the picture it may have changed.
  PixelRect PencilDot(Point at, TColor color);
  PixelRect PencilLine(Point from, Point to, TColor color);
  PixelRect Stamp(const TAirBrush& brush, Point at);
  PixelRect StampAlong(const TAirBrush& brush, Point from, Point to);
  // Random eye and lip colours and, half of the time, a lip line, each kept
  // as the next undo point.
  void RandomMakeup(RandomGenerator& random);

  // ---- the hair

  // Puts the hairstyle of the file on the face at the hair's current place,
  // tinted with the current tint. A missing file, a refused extension or an
  // unreadable picture changes nothing but HairFileName, which takes the
  // name as a full path in every case. FileError passes through.
  THairLoad LoadHairstyle(const std::string& fileName);
  const Bitmap& Hair() const { return hair_; }
  const Bitmap& UntintedHair() const { return untintedHair_; }
  const std::string& HairFileName() const { return hairFileName_; }
  // The offsets added to the hair's channels; every tint starts afresh from
  // the untinted hair.
  THairColour Tint() const { return tint_; }
  void SetTint(THairColour colour);
  // The rectangle the hair is stretched into, in face-picture pixels.
  const PixelRect& HairPlacement() const { return placement_; }
  void SetHairPlacement(const PixelRect& placement);

  // ---- results

  // The face with the hair over it, as the gallery keeps it.
  Bitmap Compose() const;
  // A fresh copy of the face file with random make-up, a random hairstyle of
  // the first four categories of the catalogue folder and a random tint, all
  // drawn from `random`. False, changing nothing, when the face cannot be
  // loaded; a drawn hairstyle without a file leaves the hair and tints it anew.
  bool RandomMakeover(const std::string& faceFile, const std::string& catalogueFolder, RandomGenerator& random);

  // ---- for the views

  // The face picture changed in `area` (the whole picture when its size may
  // have changed); `loaded` after a face file was opened.
  std::function<void(const PixelRect& area, bool loaded)> OnFaceChange;
  std::function<void(HairChange change)> OnHairChange;

 private:
  // What was done to the face since it was loaded, step by step, so that it
  // can be done again from the face as loaded.
  struct MakeupStep {
    enum class Type : uint8_t { Colour, Complexion, Outline, Pencil, Stamp };
    Type What = Type::Colour;
    ColorKind Kind = ColorKind::Eyes;
    TColor Color = 0;
    bool FollowsSoftEdges = true;  // a colour laid the way Soft edges says
    int Number = 0;                // complexion position, or outlined region
    Point At = {};
    int BrushSize = 0;
    int BrushIntensity = 0;
    TAirBrushShape BrushShape = TAirBrushShape::absRound;
  };

  // A colour that follows Soft edges, or one always laid by shifting.
  void ApplyColor(ColorKind kind, TColor color, bool followsSoftEdges);
  // Does one step to the face, with no notice and no undo point; `brush`
  // is scratch for stamps.
  void Lay(const MakeupStep& step, TAirBrush& brush);
  void LayColour(ColorKind kind, TColor color, bool soft);
  void LayComplexion(int position);
  void Record(const MakeupStep& step);
  void Relay();
  PixelRect StampAt(const TAirBrush& brush, const std::vector<Point>& centres, Point from, Point to);
  void FaceChanged(const PixelRect& area, bool loaded = false);
  void HairChanged(HairChange change);

  Bitmap face_;
  Bitmap loadedFace_;
  bool softEdges_ = false;
  // The steps the undo point holds and those since; valid while the face
  // was made from the face as loaded by them alone.
  std::vector<MakeupStep> keptSteps_;
  std::vector<MakeupStep> pendingSteps_;
  bool stepsValid_ = false;
  TImgProc proc_;  // the face's processing, with its undo copy
  FaceHeader header_;
  FaceHeader fileHeader_;  // the header as the face file holds it
  std::vector<uint8_t> payload_;  // the picture bytes as loaded, deciphered
  FaceFileIdentity fileIdentity_;
  std::string headerFileName_;
  bool headerSaved_ = true;
  bool loadOk_ = false;
  int halfWidth_ = 0;
  int splitY_ = 0;

  Bitmap untintedHair_;
  Bitmap hair_;
  std::string hairFileName_;
  THairColour tint_ = kDefaultHairColour;
  PixelRect placement_ = DefaultHairPlacement();
  DecodeLimits limits_;
};

}  // namespace glamora
