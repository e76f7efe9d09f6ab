// The medium hairstyles: lobs and shoulder-length cuts, straight and waved,
// with and without fringes.
#include "tools/generators/hairstyles/StyleKit.h"
#include "tools/generators/hairstyles/Styles.h"

namespace glamora::hairgen {

namespace {

constexpr double kShoulders = 282;

Look Straight() { return Look{.sheens = {{0.18, 0.07, 44}}, .ragged = 0.08, .jag = 0.01, .flyaways = 0.5}; }

void StraightLob(HairCanvas& h) {
  BackUnder(h, kShoulders);
  CentreSides(h, {.volume = 10, .length = kShoulders, .spread = 6, .jawX = 52}, Straight());
}

void SidePartLob(HairCanvas& h) {
  BackUnder(h, kShoulders - 4);
  PartedSides(h, {.partX = 84, .volume = 11, .lift = 8, .length = kShoulders - 4, .spread = 6, .jawX = 52}, Straight());
}

void LobWithFringe(HairCanvas& h) {
  BackUnder(h, kShoulders);
  CentreSides(h, {.volume = 10, .length = kShoulders, .spread = 4, .jawX = 54}, Straight());
  h.Sheet(FringeGuides({.depth = 130, .arch = 4}), Look{.rootShade = 10, .jag = 0.008, .clip = Clip::FaceFrame});
}

void LayersWithCurtains(HairCanvas& h) {
  BackUnder(h, 290);
  CentreSides(h, {.volume = 13, .lift = 4, .length = 290, .spread = 12, .jawX = 54}, Layered(0.3), 136);
}

void BeachWaves(HairCanvas& h) {
  Look look = Wavy(4.5, 32);
  BackUnder(h, 284, 72, look);
  PartedSides(h, {.partX = 90, .volume = 14, .lift = 6, .length = 284, .spread = 14, .jawX = 54}, look);
}

void LooseCurls(HairCanvas& h) {
  Look look{.ragged = 0.1, .wave = 3, .waveLength = 24};
  BackUnder(h, 280, 74, look);
  for (int side : {kLeft, kRight}) {
    Guides g =
        FallGuides({.side = side, .volume = 16, .lift = 6, .length = 284, .spread = 16, .jawX = 56, .guides = 6});
    h.Sheet(g, look);
    h.Curls(g, 0.38, 7.5, look);
  }
}

void ShagWispyFringe(HairCanvas& h) {
  Look look = Layered(0.38);
  look.wave = 2.5;
  look.waveLength = 26;
  BackUnder(h, 272, 70, look);
  CentreSides(h, {.volume = 16, .lift = 8, .length = 276, .spread = 10, .tuck = -6, .jawX = 54, .guides = 10}, look);
  h.Sheet(FringeGuides({.left = 62, .right = 166, .depth = 130, .arch = 12, .bulge = 8, .guides = 9}),
          Look{.rootShade = 12, .ragged = 0.3, .jag = 0.04, .clip = Clip::FaceFrame});
}

void FlickedEnds(HairCanvas& h) {
  BackUnder(h, 270, 70);
  CentreSides(h, {.volume = 12, .lift = 6, .length = 276, .spread = 8, .tuck = -14, .jawX = 56},
              Look{.sheens = {{0.18, 0.07, 44}, {0.93, 0.04, 24}}, .flyaways = 0.4});
}

void HalfUp(HairCanvas& h) {
  BackUnder(h, 286, 70, Wavy(3, 34));
  CentreSides(h, {.volume = 12, .length = 286, .spread = 10, .jawX = 54}, Wavy(3, 34));
  h.Sheet(PulledBackGuides({.fromDegrees = 200, .toDegrees = 340, .gather = {114, 40}, .volume = 10, .lift = 6}),
          Look{.sheens = {{0.45, 0.1, 36}}});
  h.Tie({114, 38}, 14, 6, 0);
}

void LowPonytailOverShoulder(HairCanvas& h) {
  h.Sheet(TailGuides({{62, 196}, {52, 228}, {48, 262}, {54, 306}}, 26, 34), Look{.ragged = 0.2, .wave = 2});
  PartedSides(h, {.partX = 88, .volume = 6, .length = 190, .tuck = 8, .faceGap = 4, .guides = 8}, Sleek());
  h.Tie({62, 198}, 14, 6, -20);
}

void SideSweptLayers(HairCanvas& h) {
  BackUnder(h, 282);
  PartedSides(h, {.partX = 80, .volume = 12, .lift = 8, .length = 284, .spread = 10, .jawX = 54, .guides = 9},
              Layered(0.3), SweptFront(kRight, 80, 128));
}

void ShoulderPageboy(HairCanvas& h) {
  BackUnder(h, 270);
  CentreSides(h, {.volume = 12, .length = 274, .tuck = 12, .jawX = 54},
              Look{.sheens = {{0.18, 0.07, 44}, {0.92, 0.05, 26}}, .jag = 0.005, .flyaways = 0.2});
}

void MediumAfro(HairCanvas& h) {
  QPainterPath cloud;
  cloud.addEllipse(QPointF(114, 132), 94, 108);
  QPainterPath below;
  below.addRect(0, 240, 228, 80);
  h.CoilTexture(cloud.subtracted(below).subtracted(head::HairOpening()), 4.2, Look{});
}

void SpiralCurls(HairCanvas& h) {
  Look look{.ragged = 0.15, .wave = 2, .waveLength = 14};
  BackUnder(h, 282, 76, look);
  for (int side : {kLeft, kRight}) {
    Guides g = FallGuides(
        {.side = side, .partX = 110, .volume = 18, .lift = 8, .length = 280, .spread = 20, .jawX = 56, .guides = 8});
    h.Sheet(g, look);
    h.Curls(g, 0.25, 5.5, look);
  }
}

void Feathered70s(HairCanvas& h) {
  BackUnder(h, 280, 72);
  Look look = Layered(0.25);
  look.sheens = {{0.2, 0.08, 46}, {0.7, 0.08, 24}};
  CentreSides(h, {.volume = 16, .lift = 10, .length = 282, .spread = 10, .tuck = -8, .jawX = 56, .guides = 10}, look,
              128);
}

void AsymmetricLob(HairCanvas& h) {
  BackUnder(h, 240);
  h.Sheet(FallGuides({.side = kLeft, .partX = 80, .volume = 9, .length = 232, .tuck = 5, .guides = 7}), Straight());
  Look far = Straight();
  far.clip = Clip::FaceFrame;
  h.Sheet(FallGuides({.side = kRight,
                      .partX = 80,
                      .volume = 12,
                      .lift = 8,
                      .length = 290,
                      .spread = 6,
                      .jawX = 54,
                      .front = SweptFront(kRight, 80, 128),
                      .guides = 10}),
          far);
}

void SideFringeShoulder(HairCanvas& h) {
  BackUnder(h, 282);
  PartedSides(h, {.partX = 96, .volume = 10, .lift = 4, .length = 282, .spread = 6, .jawX = 54}, Straight(),
              SweptFront(kRight, 96, 132));
}

void FaceFramingLayers(HairCanvas& h) {
  BackUnder(h, 290, 70);
  Look look = Layered(0.22);
  CentreSides(h, {.volume = 12, .lift = 4, .length = 290, .frontLength = 236, .spread = 8, .jawX = 56, .guides = 10},
              look);
}

void HollywoodWaves(HairCanvas& h) {
  Look look{.contrast = 0.8,
            .sheens = {{0.16, 0.07, 40}},
            .ragged = 0.06,
            .wave = 5,
            .waveLength = 36,
            .waveFrom = 0.12,
            .waveShade = 30,
            .flyaways = 0.2};
  BackUnder(h, 276, 72, look);
  PartedSides(h,
              {.partX = 80, .volume = 12, .lift = 8, .length = 278, .spread = 10, .tuck = 6, .jawX = 56, .guides = 10},
              look, SweptFront(kRight, 80, 124));
}

void TuckedBehindEars(HairCanvas& h) {
  BackUnder(h, 284, 74);
  CentreSides(h, {.volume = 8, .length = 284, .spread = 6, .faceGap = 16, .jawX = 68}, Straight());
}

void MessyTopBun(HairCanvas& h) {
  h.Sheet(PulledBackGuides({.gather = {114, 34}, .volume = 8, .lift = 4}), Look{.flyaways = 2});
  h.Bun({114, 24}, 24, 18, Look{.flyaways = 4});
  for (int side : {kLeft, kRight}) {
    h.Sheet(TailGuides({{114 + side * 60.0, 118}, {114 + side * 62.0, 150}, {114 + side * 58.0, 186}}, 4, 2, 3),
            Look{.wave = 2, .waveLength = 16, .clip = Clip::FaceFrame});
  }
}

void WolfCut(HairCanvas& h) {
  Look look = Layered(0.45);
  look.wave = 2;
  look.waveLength = 24;
  BackUnder(h, 286, 66, look);
  CentreSides(h, {.volume = 20, .lift = 10, .length = 286, .spread = 4, .tuck = -4, .jawX = 54, .guides = 11}, look,
              132);
}

void Blowout(HairCanvas& h) {
  Look look{.sheens = {{0.18, 0.08, 46}, {0.85, 0.07, 26}},
            .ragged = 0.1,
            .wave = 4,
            .waveLength = 70,
            .waveFrom = 0.4,
            .flyaways = 0.4};
  BackUnder(h, 284, 80, look);
  PartedSides(h,
              {.partX = 88, .volume = 22, .lift = 14, .length = 284, .spread = 14, .tuck = 8, .jawX = 56, .guides = 10},
              look, SweptFront(kRight, 88, 112));
}

void LongBangs(HairCanvas& h) {
  BackUnder(h, 286);
  CentreSides(h, {.volume = 14, .lift = 6, .length = 270, .spread = 18, .jawX = 54}, Straight());
  h.Sheet(FringeGuides({.left = 56, .right = 172, .depth = 134, .arch = 14, .slant = 12, .rootY = 46, .bulge = 8,
                        .guides = 12}),
          Look{.rootShade = 10, .ragged = 0.12, .clip = Clip::FaceFrame});
}

void LowBunches(HairCanvas& h) {
  for (int side : {kLeft, kRight}) {
    double x = 114 + side * 64;
    h.Sheet(TailGuides({{x, 196}, {x + side * 8, 230}, {x + side * 6, 268}, {x + side * 2, 300}}, 22, 28),
            Look{.ragged = 0.25, .wave = 2});
  }
  CentreSides(h, {.volume = 6, .length = 194, .tuck = 8, .faceGap = 2, .guides = 8}, Sleek());
  h.Tie({50, 196}, 12, 6, 75);
  h.Tie({178, 196}, 12, 6, -75);
}

void WavyCurtains(HairCanvas& h) {
  Look look = Wavy(4, 30);
  look.clip = Clip::FaceFrame;
  BackUnder(h, 286, 74, look);
  CentreSides(h, {.volume = 14, .length = 286, .spread = 12, .jawX = 54}, look, 134);
}

void SideChignon(HairCanvas& h) {
  h.Bun({56, 212}, 20, 18, Look{});
  PartedSides(h, {.partX = 88, .volume = 6, .lift = 4, .length = 200, .tuck = 8, .faceGap = 4, .guides = 9}, Sleek(),
              SweptFront(kRight, 88, 104));
}

void BraidedBand(HairCanvas& h) {
  Look look = Wavy(3, 34);
  BackUnder(h, 262, 66, look);
  CentreSides(h, {.volume = 9, .length = 262, .spread = 2, .jawX = 52}, look);
  Points arc;
  for (double a = 196; a <= 344; a += 12) arc.push_back(head::SkullPoint(a, 4));
  h.Braid(Curve::Through(arc), 12, Look{});
}

void HalfUpTopKnot(HairCanvas& h) {
  BackUnder(h, 284, 72);
  CentreSides(h, {.volume = 7, .length = 284, .spread = 14, .faceGap = 8, .jawX = 64}, Straight());
  h.Sheet(PulledBackGuides({.fromDegrees = 204, .toDegrees = 336, .gather = {114, 28}, .volume = 9, .lift = 6}),
          Look{.sheens = {{0.4, 0.1, 36}}});
  h.Bun({114, 16}, 20, 16, Look{});
}

void Crimped(HairCanvas& h) {
  Look look{.ragged = 0.12, .wave = 2.6, .waveLength = 9, .waveFrom = 0.2, .waveShade = 26, .flyaways = 1};
  BackUnder(h, 284, 76, look);
  CentreSides(h, {.volume = 22, .lift = 10, .length = 284, .spread = 30, .jawX = 54}, look);
}

}  // namespace

std::vector<Style> MediumStyles() {
  return {
      {"straight lob, centre parting", StraightLob},
      {"lob, side parting", SidePartLob},
      {"lob with a straight fringe", LobWithFringe},
      {"shoulder-length layers with curtain bangs", LayersWithCurtains},
      {"beach waves", BeachWaves},
      {"loose curls", LooseCurls},
      {"shag with a wispy fringe", ShagWispyFringe},
      {"flicked-out ends", FlickedEnds},
      {"half-up, half-down", HalfUp},
      {"low ponytail over the shoulder", LowPonytailOverShoulder},
      {"side-swept layers", SideSweptLayers},
      {"shoulder-length pageboy", ShoulderPageboy},
      {"medium afro", MediumAfro},
      {"spiral curls", SpiralCurls},
      {"feathered seventies flicks", Feathered70s},
      {"asymmetric lob", AsymmetricLob},
      {"shoulder length with a side fringe", SideFringeShoulder},
      {"face-framing layers", FaceFramingLayers},
      {"Hollywood side waves", HollywoodWaves},
      {"tucked behind the ears", TuckedBehindEars},
      {"messy top bun", MessyTopBun},
      {"wolf cut", WolfCut},
      {"blowout", Blowout},
      {"straight with long bangs", LongBangs},
      {"low bunches", LowBunches},
      {"waves with curtain bangs", WavyCurtains},
      {"side chignon", SideChignon},
      {"loose waves with a braided band", BraidedBand},
      {"half-up top knot", HalfUpTopKnot},
      {"crimped", Crimped},
  };
}

}  // namespace glamora::hairgen
