// The long hairstyles: straight, waved and curled, with partings, fringes and
// ponytails, running out below the picture.
#include "tools/generators/hairstyles/StyleKit.h"
#include "tools/generators/hairstyles/Styles.h"

namespace glamora::hairgen {

namespace {

constexpr double kChest = 336;  // below the picture: the hair runs out of it

Look LongStraight() { return Look{.sheens = {{0.14, 0.06, 44}, {0.55, 0.08, 18}}, .ragged = 0.1, .flyaways = 0.5}; }

Look LongWaves(double amplitude, double wavelength) {
  Look look = Wavy(amplitude, wavelength);
  look.sheens = {{0.14, 0.06, 42}};
  look.waveFrom = 0.22;
  return look;
}

void StraightCentre(HairCanvas& h) {
  BackUnder(h, kChest, 80);
  CentreSides(h, {.volume = 10, .length = kChest, .spread = 16, .jawX = 56, .guides = 9}, LongStraight());
}

void StraightSide(HairCanvas& h) {
  BackUnder(h, kChest, 80);
  PartedSides(h, {.partX = 78, .volume = 12, .lift = 12, .length = kChest, .spread = 20, .jawX = 56, .guides = 9},
              LongStraight(), SweptFront(kRight, 78, 102));
}

void BluntFringe(HairCanvas& h) {
  BackUnder(h, kChest, 80);
  CentreSides(h, {.volume = 10, .length = kChest, .spread = 14, .jawX = 56, .guides = 9}, LongStraight());
  h.Sheet(FringeGuides({.depth = 130, .arch = 3}), Look{.rootShade = 10, .jag = 0.006, .clip = Clip::FaceFrame});
}

void LayersCurtains(HairCanvas& h) {
  BackUnder(h, kChest, 82);
  Look look = Layered(0.25);
  CentreSides(h, {.volume = 14, .lift = 4, .length = 300, .spread = 32, .jawX = 56, .guides = 10}, look, 136);
}

void BeachWaves(HairCanvas& h) {
  Look look = LongWaves(5, 36);
  BackUnder(h, 290, 84, look);
  PartedSides(h, {.partX = 96, .volume = 16, .lift = 6, .length = 292, .frontLength = 232, .spread = 28, .guides = 9},
              look);
}

void LooseCurls(HairCanvas& h) {
  Look look{.ragged = 0.1, .wave = 3, .waveLength = 24};
  BackUnder(h, kChest, 86, look);
  for (int side : {kLeft, kRight}) {
    Guides g = FallGuides(
        {.side = side, .partX = 106, .volume = 22, .lift = 8, .length = kChest, .spread = 40, .jawX = 58, .guides = 6});
    h.Sheet(g, look);
    h.Curls(g, 0.42, 8, look);
  }
}

void Ringlets(HairCanvas& h) {
  Look look{.ragged = 0.15, .wave = 2, .waveLength = 14};
  BackUnder(h, 276, 84, look);
  for (int side : {kLeft, kRight}) {
    Guides g = FallGuides({.side = side, .volume = 20, .lift = 8, .length = 278, .spread = 18, .jawX = 58, .guides = 7});
    h.Sheet(g, look);
    h.Curls(g, 0.22, 5.5, look);
  }
}

void SweptFringe(HairCanvas& h) {
  BackUnder(h, kChest, 80);
  PartedSides(h, {.partX = 82, .volume = 11, .lift = 6, .length = 300, .frontLength = 224, .spread = 16, .jawX = 56,
                  .guides = 10},
              Layered(0.2), SweptFront(kRight, 82, 140));
}

void HighPonytail(HairCanvas& h) {
  h.Sheet(TailGuides({{116, 30}, {140, 10}, {178, 34}, {196, 110}, {200, 210}}, 24, 34),
          Look{.sheens = {{0.12, 0.06, 40}, {0.45, 0.08, 20}}, .ragged = 0.3, .wave = 2, .waveLength = 40});
  h.Sheet(PulledBackGuides({.gather = {114, 34}, .volume = 5, .lift = 3}), Sleek());
  h.Tie({116, 32}, 14, 7, 20);
}

void SidePonytail(HairCanvas& h) {
  h.Sheet(TailGuides({{60, 198}, {46, 234}, {44, 280}, {52, 330}}, 32, 42),
          Look{.sheens = {{0.2, 0.08, 34}}, .ragged = 0.25, .wave = 3, .waveLength = 40});
  PartedSides(h, {.partX = 92, .volume = 6, .lift = 4, .length = 196, .tuck = 8, .faceGap = 4, .guides = 9}, Sleek(),
              SweptFront(kRight, 92, 112));
  h.Tie({60, 200}, 18, 7, -15);
}

void SingleBraid(HairCanvas& h) {
  h.Braid(Curve::Through({{62, 196}, {50, 236}, {50, 280}, {58, 330}}), 30, Look{});
  PartedSides(h, {.partX = 92, .volume = 6, .lift = 4, .length = 198, .tuck = 8, .faceGap = 4, .guides = 9}, Sleek(),
              SweptFront(kRight, 92, 110));
}

void TwoBraids(HairCanvas& h) {
  for (int side : {kLeft, kRight}) {
    double x = 114 + side * 60;
    h.Braid(Curve::Through({{x, 190}, {x + side * 4, 230}, {x, 280}, {x - side * 4, 330}}), 26, Look{});
  }
  CentreSides(h, {.volume = 6, .length = 194, .tuck = 8, .faceGap = 2, .guides = 8}, Sleek());
}

void HalfUpLong(HairCanvas& h) {
  Look look = LongWaves(3, 40);
  BackUnder(h, kChest, 82, look);
  CentreSides(h, {.volume = 8, .length = kChest, .spread = 4, .faceGap = 8, .jawX = 68}, look);
  h.Sheet(PulledBackGuides({.fromDegrees = 198, .toDegrees = 342, .gather = {114, 30}, .volume = 14, .lift = 14}),
          Look{.sheens = {{0.45, 0.1, 36}}});
  h.Tie({114, 36}, 14, 6, 0);
}

void SideSwoop(HairCanvas& h) {
  Look look = LongWaves(4, 40);
  BackUnder(h, 300, 78, look);
  h.Sheet(FallGuides({.side = kLeft, .partX = 78, .volume = 6, .length = 176, .faceGap = 6, .guides = 6}), Sleek());
  look.clip = Clip::FaceFrame;
  h.Sheet(FallGuides({.side = kRight,
                      .partX = 78,
                      .volume = 18,
                      .lift = 10,
                      .length = kChest,
                      .spread = 30,
                      .jawX = 54,
                      .front = SweptFront(kRight, 78, 122),
                      .guides = 11}),
          look);
}

void LongBlowout(HairCanvas& h) {
  Look look{.sheens = {{0.14, 0.07, 46}, {0.7, 0.07, 26}},
            .ragged = 0.12,
            .wave = 6,
            .waveLength = 90,
            .waveFrom = 0.35,
            .flyaways = 0.4};
  BackUnder(h, kChest, 92, look);
  PartedSides(
      h, {.partX = 88, .volume = 22, .lift = 14, .length = kChest, .spread = 28, .tuck = 10, .jawX = 56, .guides = 10},
      look, SweptFront(kRight, 88, 112));
}

void VCut(HairCanvas& h) {
  Look behind = Layered(0.2);
  BackUnder(h, kChest, 70, behind);
  CentreSides(h, {.volume = 12, .length = 300, .frontLength = kChest, .spread = 6, .jawX = 54, .guides = 10},
              Layered(0.3));
}

void TuckedLong(HairCanvas& h) {
  BackUnder(h, 292, 74);
  CentreSides(h, {.volume = 6, .length = 292, .spread = 2, .faceGap = 16, .jawX = 72}, LongStraight());
}

void SideBraidLoose(HairCanvas& h) {
  Look look = LongWaves(5, 30);
  BackUnder(h, kChest, 90, look);
  PartedSides(h, {.partX = 140, .volume = 14, .lift = 6, .length = kChest, .spread = 8, .jawX = 58}, look);
  h.Braid(
      Curve::Through({head::SkullPoint(288, 6), head::SkullPoint(320, 6), head::SkullPoint(350, 8), QPointF(184, 190)}),
      12, Look{});
}

void MermaidWaves(HairCanvas& h) {
  Look look = LongWaves(7, 46);
  look.waveShade = 24;
  BackUnder(h, kChest, 90, look);
  PartedSides(h, {.partX = 84, .volume = 18, .lift = 8, .length = kChest, .spread = 30, .jawX = 56, .guides = 9}, look,
              SweptFront(kRight, 84, 116));
}

void BigCurls(HairCanvas& h) {
  QPainterPath cloud;
  cloud.addEllipse(QPointF(114, 160), 108, 140);
  QPainterPath lower;
  lower.addRect(0, 150, 228, 200);
  QPainterPath shoulders;
  shoulders.addEllipse(QPointF(114, 190), 112, 160);
  QPainterPath area =
      cloud.united(lower.intersected(shoulders)).subtracted(head::HairOpening()).subtracted(head::NeckCore());
  h.CoilTexture(area, 5, Look{.behindNeck = true});
}

void FaceFraming(HairCanvas& h) {
  BackUnder(h, kChest, 80);
  CentreSides(h,
              {.volume = 14, .lift = 4, .length = kChest, .frontLength = 214, .spread = 22, .jawX = 58, .guides = 10},
              Layered(0.25), 118);
}

void ParadeSideBraid(HairCanvas& h) {
  BackUnder(h, kChest, 80);
  CentreSides(h, {.volume = 16, .lift = 6, .length = kChest, .spread = 40, .jawX = 56}, LongStraight());
  h.Braid(Curve::Through({{72, 66}, {100, 60}, {132, 62}, {160, 76}, {176, 104}}), 12, Look{});
}

void LowPigtails(HairCanvas& h) {
  for (int side : {kLeft, kRight}) {
    double x = 114 + side * 62;
    h.Sheet(TailGuides({{x, 200}, {x + side * 10, 240}, {x + side * 10, 290}, {x + side * 4, kChest}}, 26, 34),
            Look{.ragged = 0.2, .wave = 2, .waveLength = 40});
    h.Tie({x, 202}, 14, 6, side * 70);
  }
  CentreSides(h, {.volume = 6, .length = 200, .tuck = 8, .faceGap = 2, .guides = 8}, Sleek());
}

void CentreWaves(HairCanvas& h) {
  Look look = LongWaves(4.5, 30);
  BackUnder(h, 284, 80, look);
  CentreSides(h, {.volume = 14, .length = 286, .spread = 12, .jawX = 56, .guides = 9}, look);
}

void HalfUpBun(HairCanvas& h) {
  BackUnder(h, kChest, 80);
  CentreSides(h, {.volume = 8, .length = kChest, .spread = 24, .faceGap = 6, .jawX = 64}, LongStraight());
  h.Sheet(PulledBackGuides({.fromDegrees = 206, .toDegrees = 334, .gather = {114, 30}, .volume = 9, .lift = 4}),
          Look{.sheens = {{0.4, 0.1, 36}}});
  h.Bun({114, 18}, 26, 19, Look{.flyaways = 2});
}

void FlickedLayers(HairCanvas& h) {
  Look look = Layered(0.25);
  BackUnder(h, 306, 84, look);
  CentreSides(h, {.volume = 14, .lift = 6, .length = 306, .spread = 26, .tuck = -14, .jawX = 56, .guides = 10}, look);
}

void WaistLength(HairCanvas& h) {
  BackUnder(h, 400, 70);
  CentreSides(h, {.volume = 5, .length = 400, .spread = -6, .faceGap = 4, .jawX = 64, .guides = 9}, LongStraight());
}

void OneSideTucked(HairCanvas& h) {
  BackUnder(h, kChest, 80);
  h.Sheet(FallGuides({.side = kLeft,
                      .partX = 92,
                      .volume = 7,
                      .length = kChest,
                      .spread = 12,
                      .faceGap = 14,
                      .jawX = 66,
                      .guides = 8}),
          LongStraight());
  h.Sheet(FallGuides({.side = kRight,
                      .partX = 92,
                      .volume = 17,
                      .lift = 12,
                      .length = kChest,
                      .spread = 30,
                      .jawX = 56,
                      .guides = 9}),
          LongStraight());
}

void Crimped(HairCanvas& h) {
  Look look{.ragged = 0.12, .wave = 3, .waveLength = 10, .waveFrom = 0.18, .waveShade = 26, .flyaways = 1};
  BackUnder(h, kChest, 92, look);
  CentreSides(h, {.volume = 28, .lift = 14, .length = kChest, .spread = 58, .jawX = 56, .guides = 9}, look);
}

void WispyFringe(HairCanvas& h) {
  BackUnder(h, kChest, 80);
  CentreSides(h, {.volume = 11, .length = 256, .frontLength = 222, .spread = 16, .jawX = 56, .guides = 9},
              Layered(0.3));
  h.Sheet(FringeGuides({.left = 70, .right = 158, .depth = 126, .arch = 10, .guides = 12}),
          Look{.rootShade = 10, .ragged = 0.3, .jag = 0.03, .density = 0.8, .clip = Clip::FaceFrame});
}

}  // namespace

std::vector<Style> LongStyles() {
  return {
      {"long and straight, centre parting", StraightCentre},
      {"long and straight, side parting", StraightSide},
      {"long with a straight fringe", BluntFringe},
      {"long layers with curtain bangs", LayersCurtains},
      {"long beach waves", BeachWaves},
      {"long loose curls", LooseCurls},
      {"long ringlets", Ringlets},
      {"long with a side-swept fringe", SweptFringe},
      {"high ponytail", HighPonytail},
      {"side ponytail over the shoulder", SidePonytail},
      {"single braid over the shoulder", SingleBraid},
      {"two braids", TwoBraids},
      {"half-up, half-down", HalfUpLong},
      {"side swoop over one shoulder", SideSwoop},
      {"long blowout", LongBlowout},
      {"V-cut layers", VCut},
      {"tucked behind the ears", TuckedLong},
      {"loose waves with a side braid", SideBraidLoose},
      {"mermaid waves", MermaidWaves},
      {"big curly hair", BigCurls},
      {"long face-framing layers", FaceFraming},
      {"straight with a braid along the parting", ParadeSideBraid},
      {"low pigtails", LowPigtails},
      {"long waves, centre parting", CentreWaves},
      {"half-up bun", HalfUpBun},
      {"flicked-out layers", FlickedLayers},
      {"waist length", WaistLength},
      {"one side tucked behind the ear", OneSideTucked},
      {"crimped", Crimped},
      {"long with a wispy fringe", WispyFringe},
  };
}

}  // namespace glamora::hairgen
