// The short hairstyles: crops, pixies, bobs and quiffs.
#include "tools/generators/hairstyles/StyleKit.h"
#include "tools/generators/hairstyles/Styles.h"

namespace glamora::hairgen {

namespace {

Look BobLook() { return Look{.sheens = {{0.2, 0.08, 44}, {0.9, 0.05, 20}}, .jag = 0.006, .flyaways = 0.2}; }

// Short sides and nape of a crop, close to the head, ending at the ears.
void CropSides(HairCanvas& h, double partX, double length = 148, const Look& look = Layered(0.2)) {
  PartedSides(h, {.partX = partX, .volume = 3, .length = length, .guides = 6}, look);
}

void ClassicBob(HairCanvas& h) {
  BackUnder(h, 240);
  CentreSides(h, {.volume = 12, .length = 242, .tuck = 7, .guides = 9}, BobLook());
}

void SidePartedBob(HairCanvas& h) {
  BackUnder(h, 240);
  PartedSides(h, {.partX = 84, .volume = 12, .lift = 6, .length = 240, .tuck = 7, .guides = 9}, BobLook(),
              SweptFront(kRight, 84, 106));
}

void FrenchBob(HairCanvas& h) {
  BackUnder(h, 232);
  CentreSides(h, {.volume = 11, .length = 232, .tuck = 5, .guides = 8}, BobLook());
  h.Sheet(FringeGuides({.depth = 128, .arch = 3}), Look{.rootShade = 10, .jag = 0.006, .clip = Clip::FaceFrame});
}

void ALineBob(HairCanvas& h) {
  BackUnder(h, 230);
  PartedSides(
      h, {.partX = 94, .volume = 11, .lift = 4, .length = 226, .frontLength = 262, .tuck = 4, .jawX = 50, .guides = 9},
      BobLook());
}

void InvertedBob(HairCanvas& h) {
  BackUnder(h, 228, 60);
  CentreSides(
      h, {.volume = 17, .lift = 6, .length = 224, .frontLength = 250, .spread = -8, .tuck = 8, .jawX = 50, .guides = 9},
      BobLook());
}

void AngledBobSweptFringe(HairCanvas& h) {
  BackUnder(h, 232);
  PartedSides(h, {.partX = 80, .volume = 12, .lift = 5, .length = 226, .frontLength = 256, .tuck = 6, .guides = 9},
              BobLook(), SweptFront(kRight, 80, 126));
}

void EarLengthBob(HairCanvas& h) { CentreSides(h, {.volume = 12, .length = 200, .tuck = 6, .guides = 8}, BobLook()); }

void WavyBob(HairCanvas& h) {
  BackUnder(h, 238, 66, Wavy(3, 24));
  Look look = Wavy(3.5, 24);
  PartedSides(h, {.partX = 88, .volume = 14, .lift = 5, .length = 240, .spread = 6, .tuck = 2, .guides = 9}, look);
}

void CurlyBob(HairCanvas& h) {
  Look look{.ragged = 0.15, .wave = 3, .waveLength = 16};
  Guides left = FallGuides({.side = kLeft, .volume = 18, .lift = 6, .length = 238, .spread = 12, .guides = 6});
  Guides right = FallGuides({.side = kRight, .volume = 18, .lift = 6, .length = 238, .spread = 12, .guides = 6});
  BackUnder(h, 236, 70, look);
  h.Sheet(left, look);
  h.Sheet(right, look);
  h.Curls(left, 0.3, 6, look);
  h.Curls(right, 0.3, 6, look);
}

void PixieCrop(HairCanvas& h) {
  CropSides(h, 86);
  h.Sheet(FringeGuides({.left = 66, .right = 152, .depth = 108, .arch = 0, .slant = 12, .rootY = 46, .guides = 9}),
          Look{.rootShade = 12, .ragged = 0.3, .jag = 0.03, .clip = Clip::FaceFrame});
}

void PixieLongFringe(HairCanvas& h) {
  CropSides(h, 84, 150);
  h.Sheet(FallGuides({.side = kRight,
                      .partX = 84,
                      .volume = 10,
                      .lift = 6,
                      .length = 150,
                      .front = SweptFront(kRight, 84, 132),
                      .guides = 9}),
          Look{.ragged = 0.2, .clip = Clip::FaceFrame});
}

void TousledCrop(HairCanvas& h) {
  CropSides(h, 100, 152, Layered(0.35));
  h.Sheet(FringeGuides(
              {.left = 60, .right = 168, .depth = 120, .arch = 12, .slant = 6, .rootY = 44, .bulge = 8, .guides = 11}),
          Look{.rootShade = 14, .ragged = 0.18, .jag = 0.03, .clip = Clip::FaceFrame});
}

void ShortAfro(HairCanvas& h) {
  QPainterPath cap = ScalpAbove(156, 12);
  h.CoilTexture(cap, 4, Look{});
}

void CurlyPixie(HairCanvas& h) {
  h.CoilTexture(ScalpAbove(150, 6), 2.8, Look{});
  QPainterPath fringe;
  fringe.addEllipse(QPointF(118, 74), 40, 16);
  h.CoilTexture(fringe.subtracted(head::FaceCore()), 2.8, Look{.clip = Clip::FaceFrame});
}

void FingerWaves(HairCanvas& h) {
  Look look{.contrast = 0.8,
            .sheens = {{0.15, 0.06, 30}},
            .wave = 3.4,
            .waveLength = 20,
            .waveFrom = 0.05,
            .waveShade = 30,
            .flyaways = 0.3};
  PartedSides(h, {.partX = 80, .volume = 3, .length = 208, .tuck = 4, .guides = 9}, look, SweptFront(kRight, 80, 116));
}

void SixtiesFlip(HairCanvas& h) {
  BackUnder(h, 226, 70);
  CentreSides(h, {.volume = 14, .lift = 12, .length = 226, .spread = 6, .tuck = -12, .guides = 9},
              Look{.sheens = {{0.18, 0.08, 44}, {0.92, 0.05, 24}}, .flyaways = 0.6});
}

void Pageboy(HairCanvas& h) {
  BackUnder(h, 216);
  CentreSides(h, {.volume = 13, .length = 218, .tuck = 11, .guides = 9}, BobLook());
  h.Sheet(FringeGuides({.left = 60, .right = 168, .depth = 124, .arch = 8, .bulge = 8}),
          Look{.rootShade = 10, .sheens = {{0.3, 0.1, 30}}, .jag = 0.006, .clip = Clip::FaceFrame});
}

void Bixie(HairCanvas& h) {
  PartedSides(h, {.partX = 90, .volume = 10, .lift = 4, .length = 188, .guides = 8}, Layered(0.3),
              SweptFront(kRight, 90, 122));
}

void BowlCut(HairCanvas& h) {
  CentreSides(h, {.volume = 11, .length = 166, .tuck = 4, .guides = 7}, BobLook());
  h.Sheet(FringeGuides({.left = 54, .right = 174, .depth = 124, .arch = 0, .rootY = 46, .rootSpread = 0.4}),
          Look{.rootShade = 8, .sheens = {{0.25, 0.1, 34}}, .jag = 0.005, .clip = Clip::FaceFrame});
}

void AsymmetricBob(HairCanvas& h) {
  h.Sheet(FallGuides({.side = kLeft, .partX = 82, .volume = 10, .length = 196, .tuck = 5, .guides = 6}), BobLook());
  Look far = BobLook();
  far.clip = Clip::FaceFrame;
  h.Sheet(FallGuides({.side = kRight,
                      .partX = 82,
                      .volume = 12,
                      .lift = 6,
                      .length = 254,
                      .tuck = 6,
                      .front = SweptFront(kRight, 82, 124),
                      .guides = 10}),
          far);
}

void ShortShag(HairCanvas& h) {
  Look look = Layered(0.35);
  look.wave = 2.5;
  look.waveLength = 22;
  CentreSides(h, {.volume = 15, .lift = 6, .length = 214, .spread = 8, .tuck = -4, .guides = 10}, look);
  h.Sheet(FringeGuides({.left = 60, .right = 168, .depth = 124, .arch = 10, .bulge = 8, .guides = 12}),
          Look{.rootShade = 12, .ragged = 0.4, .jag = 0.04, .clip = Clip::FaceFrame});
}

void MicroFringeBob(HairCanvas& h) {
  BackUnder(h, 236);
  CentreSides(h, {.volume = 11, .length = 238, .tuck = 5, .guides = 9}, BobLook());
  h.Sheet(FringeGuides({.left = 68, .right = 160, .depth = 96, .arch = 4, .rootY = 46, .bulge = 3}),
          Look{.rootShade = 8, .jag = 0.005, .clip = Clip::FaceFrame});
}

void CurtainBob(HairCanvas& h) {
  BackUnder(h, 238);
  CentreSides(h, {.volume = 12, .length = 240, .tuck = 6, .guides = 9}, BobLook(), 134);
}

void SlickedBack(HairCanvas& h) {
  CropSides(h, 114, 150, Sleek());
  h.Sheet(RollGuides({.height = 13, .sideFrom = 0.5, .guides = 14}), Sleek());
}

void ShortQuiff(HairCanvas& h) {
  CropSides(h, 114, 148, Sleek());
  h.Sheet(RollGuides({.left = 62, .right = 166, .height = 24, .forward = 10, .guides = 14}),
          Look{.sheens = {{0.55, 0.1, 44}}});
}

void FeatheredLayers(HairCanvas& h) {
  Look look = Layered(0.32);
  PartedSides(h, {.partX = 88, .volume = 14, .lift = 6, .length = 206, .spread = 6, .tuck = -6, .guides = 10}, look,
              SweptFront(kRight, 88, 124));
}

void SweptFringeBob(HairCanvas& h) {
  BackUnder(h, 244);
  PartedSides(h, {.partX = 92, .volume = 12, .lift = 4, .length = 246, .tuck = 6, .guides = 9}, BobLook(),
              SweptFront(kRight, 92, 130));
}

void Bouffant(HairCanvas& h) {
  PartedSides(h, {.partX = 86, .volume = 17, .lift = 18, .length = 206, .spread = 4, .tuck = -5, .guides = 10},
              Look{.sheens = {{0.18, 0.1, 44}, {0.85, 0.06, 20}}, .flyaways = 0.4}, SweptFront(kRight, 86, 104));
}

void WavyPixie(HairCanvas& h) {
  CropSides(h, 90, 150, Wavy(1.8, 16));
  h.Sheet(FringeGuides({.left = 64, .right = 158, .depth = 118, .arch = 4, .slant = 8, .rootY = 44, .bulge = 8}),
          Look{.rootShade = 12,
               .ragged = 0.25,
               .wave = 3,
               .waveLength = 18,
               .waveFrom = 0.1,
               .waveShade = 24,
               .clip = Clip::FaceFrame});
}

void SidePartCrop(HairCanvas& h) {
  PartedSides(h, {.partX = 80, .volume = 5, .lift = 10, .length = 150, .guides = 9}, Look{.ragged = 0.15},
              SweptFront(kRight, 80, 96));
}

}  // namespace

std::vector<Style> ShortStyles() {
  return {
      {"classic chin-length bob, centre parting", ClassicBob},
      {"chin-length bob, deep side parting", SidePartedBob},
      {"French bob with a straight fringe", FrenchBob},
      {"A-line bob, longer in front", ALineBob},
      {"inverted bob, stacked at the back", InvertedBob},
      {"angled bob with a side-swept fringe", AngledBobSweptFringe},
      {"ear-length bob", EarLengthBob},
      {"wavy bob", WavyBob},
      {"curly bob", CurlyBob},
      {"pixie crop", PixieCrop},
      {"pixie with a long side fringe", PixieLongFringe},
      {"tousled crop", TousledCrop},
      {"short afro", ShortAfro},
      {"curly pixie", CurlyPixie},
      {"finger waves", FingerWaves},
      {"sixties flip", SixtiesFlip},
      {"pageboy with a rounded fringe", Pageboy},
      {"bixie", Bixie},
      {"bowl cut", BowlCut},
      {"asymmetric bob", AsymmetricBob},
      {"short shag", ShortShag},
      {"bob with a micro fringe", MicroFringeBob},
      {"bob with curtain bangs", CurtainBob},
      {"slicked-back crop", SlickedBack},
      {"short quiff", ShortQuiff},
      {"feathered short layers", FeatheredLayers},
      {"bob with a side-swept fringe", SweptFringeBob},
      {"sixties bouffant", Bouffant},
      {"wavy pixie", WavyPixie},
      {"side-parted crop", SidePartCrop},
  };
}

}  // namespace glamora::hairgen
