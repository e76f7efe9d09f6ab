// The special hairstyles: updos, buns, braids, crests and other shapes.
#include <cmath>

#include "tools/generators/hairstyles/StyleKit.h"
#include "tools/generators/hairstyles/Styles.h"

namespace glamora::hairgen {

namespace {

QPainterPath Ellipse(QPointF centre, double rx, double ry) {
  QPainterPath path;
  path.addEllipse(centre, rx, ry);
  return path;
}

// Smooth hair over the sides of the head, under an updo.
void SleekSides(HairCanvas& h) { CentreSides(h, {.volume = 5, .length = 148, .tuck = 4, .guides = 6}, Sleek()); }

// An arc over the head on the skull grown by `grow`, between two angles.
Curve OverHead(double from, double to, double grow) {
  Points arc;
  for (int k = 0; k <= 12; ++k) arc.push_back(head::SkullPoint(from + (to - from) * k / 12, grow));
  return Curve::Through(arc);
}

void Beehive(HairCanvas& h) {
  SleekSides(h);
  h.Sheet(RollGuides({.height = 40, .sideFrom = 0.7, .guides = 16}),
          Look{.sheens = {{0.5, 0.1, 40}, {0.78, 0.06, 20}}, .flyaways = 0.3});
  h.Sheet(
      FallGuides(
          {.side = kRight, .partX = 88, .volume = 8, .length = 136, .front = SweptFront(kRight, 88, 116), .guides = 8}),
      Look{.sheens = {{0.3, 0.1, 34}}, .flyaways = 0.2, .clip = Clip::FaceFrame});
}

void VictoryRolls(HairCanvas& h) {
  for (int side : {kLeft, kRight}) {
    Guides g = FallGuides(
        {.side = side, .partX = 114, .volume = 12, .length = 262, .spread = 10, .faceGap = 4, .jawX = 58, .guides = 6});
    h.Sheet(g, Look{.tone = -6});
    h.Curls(g, 0.55, 7, Look{});
  }
  h.Sheet(PulledBackGuides({.fromDegrees = 196, .toDegrees = 270, .gather = {80, 46}, .volume = 6}), Look{});
  h.Sheet(PulledBackGuides({.fromDegrees = 270, .toDegrees = 344, .gather = {148, 46}, .volume = 6}), Look{});
  h.Bun({80, 44}, 26, 20, Look{});
  h.Bun({148, 44}, 26, 20, Look{});
}

void SpaceBuns(HairCanvas& h) {
  h.Sheet(PulledBackGuides({.fromDegrees = 192, .toDegrees = 272, .gather = {72, 44}, .volume = 5}), Look{});
  h.Sheet(PulledBackGuides({.fromDegrees = 268, .toDegrees = 348, .gather = {156, 44}, .volume = 5}), Look{});
  h.Bun({66, 36}, 24, 22, Look{});
  h.Bun({162, 36}, 24, 22, Look{});
}

// A crest of hair standing up along the middle of the head, in spikes.
void Crest(HairCanvas& h, double width, double height, double spikes, int guides) {
  Guides crest;
  for (int g = 0; g < guides; ++g) {
    double u = double(g) / (guides - 1) - 0.5;
    // Rooted along the middle strip from the hairline back, rising over the crown.
    QPointF root(114 + u * width, head::HairlineY(114 + u * width) + 2);
    QPointF tip(114 + u * width * 2.2, root.y() - height + height * 1.1 * u * u);
    crest.push_back(Curve::Through({root, Lerp(root, tip, 0.5) + QPointF(u * 4, 0), tip}));
  }
  h.Sheet(crest, Look{.rootShade = 20, .sheens = {{0.45, 0.12, 34}}, .ragged = spikes, .flyaways = 0.2});
}

void Mohawk(HairCanvas& h) {
  h.Stubble(ScalpAbove(150, 2), {114, 10}, 140, Look{});
  Crest(h, 36, 56, 0.4, 9);
}

void BraidedCrown(HairCanvas& h) {
  h.Sheet(PulledBackGuides({.gather = {114, 44}, .volume = 5}), Sleek());
  h.Braid(OverHead(194, 346, 2), 20, Look{});
}

void VeryLongBraids(HairCanvas& h) {
  for (int side : {kLeft, kRight}) {
    double x = 114 + side * 58;
    h.Braid(Curve::Through({{x, 176}, {x + side * 8, 220}, {x + side * 6, 280}, {x, 340}}), 30, Look{});
  }
  CentreSides(h, {.volume = 8, .length = 186, .tuck = 8, .faceGap = 2, .guides = 8}, Sleek());
}

void PixieShavedSide(HairCanvas& h) {
  h.Stubble(ScalpAbove(152, 2).intersected(Ellipse({40, 120}, 66, 90)), {100, 30}, 128, Look{});
  h.Sheet(FallGuides({.side = kRight,
                      .partX = 70,
                      .volume = 10,
                      .lift = 12,
                      .length = 150,
                      .front = SweptFront(kRight, 70, 130),
                      .guides = 11}),
          Look{.sheens = {{0.22, 0.1, 44}}, .ragged = 0.18, .clip = Clip::FaceFrame});
}

void FrenchTwist(HairCanvas& h) {
  h.Sheet(PulledBackGuides({.fromDegrees = 192, .toDegrees = 348, .gather = {150, 40}, .volume = 10, .lift = 10}),
          Look{.sheens = {{0.45, 0.1, 40}}, .flyaways = 0.2});
  h.Ringlet(Curve::Through({{148, 104}, {158, 70}, {152, 38}, {136, 24}}), 10, 26, Look{.tone = 6});
}

void BallerinaBun(HairCanvas& h) {
  h.Sheet(PulledBackGuides({.gather = {114, 34}, .volume = 4}), Sleek());
  h.Bun({114, 26}, 30, 22, Look{});
}

void EightiesPerm(HairCanvas& h) {
  QPainterPath cloud = Ellipse({114, 150}, 106, 128);
  QPainterPath below;
  below.addRect(0, 276, 228, 60);
  h.CoilTexture(cloud.subtracted(below).subtracted(head::HairOpening()).subtracted(head::NeckCore()), 3.6,
                Look{.tone = 4});
  h.CoilTexture(Ellipse({110, 70}, 42, 16).subtracted(head::FaceCore()), 3.6, Look{.tone = 6, .clip = Clip::FaceFrame});
}

void BigAfro(HairCanvas& h) {
  QPainterPath below;
  below.addRect(0, 226, 228, 100);
  h.CoilTexture(Ellipse({114, 120}, 104, 100).subtracted(below).subtracted(head::HairOpening()), 4.6, Look{});
}

void TowerPouf(HairCanvas& h) {
  SleekSides(h);
  h.Sheet(RollGuides({.height = 38, .sideFrom = 0.85, .guides = 16}),
          Look{.sheens = {{0.5, 0.1, 40}}, .flyaways = 0.2});
  for (int side : {kLeft, kRight}) {
    for (int k = 0; k < 3; ++k) {
      QPointF c(114 + side * (58 - k * 4), 128 - k * 26);
      h.Bun(c, 12, 10, Look{});
    }
    h.Ringlet(HangingPath({114 + side * 62.0, 150}, 90, 2, side * 4), 7, 15, Look{});
  }
}

void GibsonGirl(HairCanvas& h) {
  SleekSides(h);
  h.Sheet(RollGuides({.height = 16, .sideFrom = 0.95, .guides = 16}),
          Look{.sheens = {{0.45, 0.12, 36}}, .wave = 1.5, .waveLength = 30, .flyaways = 1.5});
  h.Bun({114, 22}, 24, 14, Look{.flyaways = 2});
}

void SideCoils(HairCanvas& h) {
  CentreSides(h, {.volume = 6, .length = 160, .tuck = 6, .guides = 8}, Sleek());
  h.Bun({42, 162}, 26, 30, Look{});
  h.Bun({186, 162}, 26, 30, Look{});
}

void HeidiBraids(HairCanvas& h) {
  h.Sheet(PulledBackGuides({.gather = {114, 44}, .volume = 5}), Sleek());
  h.Braid(OverHead(200, 352, 8), 17, Look{});
  h.Braid(OverHead(188, 340, -4), 17, Look{.tone = 6});
}

void BouffantBand(HairCanvas& h) {
  CentreSides(h, {.volume = 16, .lift = 22, .length = 226, .spread = 8, .tuck = -14, .guides = 10},
              Look{.sheens = {{0.14, 0.06, 44}, {0.92, 0.05, 24}}, .flyaways = 0.3});
  h.Band(OverHead(196, 344, 0), 7, 148);
}

void PinUpRoll(HairCanvas& h) {
  for (int side : {kLeft, kRight}) {
    Guides g = FallGuides({.side = side, .volume = 12, .length = 270, .spread = 10, .jawX = 58, .guides = 6});
    h.Sheet(g, Look{.tone = -4});
    h.Curls(g, 0.5, 7, Look{});
  }
  h.Sheet(
      FringeGuides({.left = 66, .right = 162, .depth = 94, .arch = 12, .rootY = 46, .bulge = 10, .guides = 12}),
      Look{.rootShade = 10, .sheens = {{0.55, 0.15, 46}, {1.0, 0.12, -40}}, .flyaways = 0, .clip = Clip::FaceFrame});
}

void HighTwinTails(HairCanvas& h) {
  for (int side : {kLeft, kRight}) {
    double x = 114 + side * 50;
    h.Sheet(TailGuides({{x, 42}, {x + side * 26, 40}, {x + side * 40, 120}, {x + side * 40, 230}, {x + side * 36, 320}},
                       22, 30),
            Look{.sheens = {{0.12, 0.05, 36}}, .ragged = 0.3});
  }
  CentreSides(h, {.volume = 8, .length = 150, .guides = 8}, Sleek());
  h.Sheet(FringeGuides({.depth = 128, .arch = 4}), Look{.rootShade = 10, .jag = 0.006, .clip = Clip::FaceFrame});
  h.Tie({64, 44}, 12, 7, 70);
  h.Tie({164, 44}, 12, 7, -70);
}

void Locs(HairCanvas& h) {
  Look look{.tone = -6, .ragged = 0.2};
  BackUnder(h, 330, 80);
  for (int side : {kLeft, kRight}) {
    Guides g =
        FallGuides({.side = side, .volume = 18, .lift = 6, .length = 330, .spread = 30, .jawX = 58, .guides = 8});
    h.Sheet(g, look);
    h.Curls(g, 0.08, 4.2, Look{.contrast = 0.7}, 1.3);
  }
}

void BoxBraids(HairCanvas& h) {
  BackUnder(h, 336, 80);
  for (int side : {kLeft, kRight}) {
    Guides g = FallGuides({.side = side, .volume = 8, .length = 336, .spread = 2, .faceGap = 4, .jawX = 62, .guides = 9});
    h.Sheet(g, Look{.tone = -10, .sheens = {}});
    for (size_t k = 0; k < g.size(); ++k) {
      Points path;
      for (int q = 0; q <= 30; ++q) path.push_back(g[k].At(0.08 + 0.92 * q / 30));
      h.Braid(Curve(std::move(path)), 8, Look{});
    }
  }
}

void LibertySpikes(HairCanvas& h) {
  h.Sheet(PulledBackGuides({.gather = {114, 40}, .volume = 4}), Look{});
  Guides spikes;
  for (int g = 0; g < 15; ++g) {
    double a = 196 + 148.0 * g / 14;
    QPointF root = head::SkullPoint(a, 0);
    QPointF tip = head::SkullPoint(a, 36 + 6 * std::sin(g * 1.7));
    spikes.push_back(Curve::Through({root, Lerp(root, tip, 0.5), tip}));
  }
  h.Sheet(spikes, Look{.rootShade = 10, .sheens = {{0.4, 0.15, 30}}, .ragged = 0.8, .flyaways = 0});
}

void CornrowsPuff(HairCanvas& h) {
  h.Sheet(PulledBackGuides({.gather = {114, 40}, .volume = 3}), Look{.tone = -10, .sheens = {}});
  for (int k = 0; k < 9; ++k) {
    double a = 198 + 144.0 * k / 8;
    QPointF root = head::FacePoint(a, -1);
    QPointF mid = head::SkullPoint((a + 270) / 2, 1);
    h.Braid(Curve::Through({root, mid, {114 + (root.x() - 114) * 0.2, 38}}), 8, Look{});
  }
  h.CoilTexture(Ellipse({114, 26}, 40, 24), 4, Look{});
}

void TopKnotBraidedSides(HairCanvas& h) {
  h.Sheet(PulledBackGuides({.gather = {114, 30}, .volume = 5}), Sleek());
  for (int side : {kLeft, kRight}) {
    h.Braid(Curve::Through({head::FacePoint(side < 0 ? 196 : 344, -2),
                            head::SkullPoint(side < 0 ? 215 : 325, 2),
                            {114 + side * 16.0, 32}}),
            11, Look{});
  }
  h.Bun({114, 22}, 26, 20, Look{});
}

void MedusaCurls(HairCanvas& h) {
  Look look{.wave = 3, .waveLength = 20};
  QPainterPath cloud = Ellipse({114, 140}, 100, 118).subtracted(head::HairOpening()).subtracted(head::NeckCore());
  h.CoilTexture(cloud.intersected(Ellipse({114, 150}, 110, 100)), 4, Look{.tone = -8});
  for (int side : {kLeft, kRight}) {
    Guides g =
        FallGuides({.side = side, .volume = 22, .lift = 14, .length = 300, .spread = 34, .jawX = 58, .guides = 6});
    h.Curls(g, 0.12, 8.5, look);
  }
}

void FlapperBob(HairCanvas& h) {
  Look look{.contrast = 0.8,
            .sheens = {{0.15, 0.06, 34}},
            .wave = 3,
            .waveLength = 22,
            .waveFrom = 0.08,
            .waveShade = 30,
            .flyaways = 0.2};
  PartedSides(h, {.partX = 78, .volume = 4, .length = 214, .tuck = 6, .jawX = 56, .guides = 9}, look,
              SweptFront(kRight, 78, 114));
  for (int side : {kLeft, kRight}) {
    h.Bun({114 + side * 52.0, 126}, 8, 8, Look{.flyaways = 0, .clip = Clip::FaceFrame});
  }
}

void Rapunzel(HairCanvas& h) {
  h.Braid(Curve::Through({{168, 178}, {182, 220}, {180, 280}, {168, 340}}), 34, Look{});
  h.Sheet(PulledBackGuides({.fromDegrees = 192, .toDegrees = 350, .gather = {176, 170}, .volume = 8}), Look{});
  h.Braid(OverHead(200, 330, 0), 14, Look{});
}

void HalfShavedLong(HairCanvas& h) {
  h.Stubble(ScalpAbove(152, 2).intersected(Ellipse({40, 120}, 62, 90)), {110, 30}, 128, Look{});
  BackUnder(h, 330, 74);
  h.Sheet(FallGuides({.side = kRight,
                      .partX = 72,
                      .volume = 14,
                      .lift = 12,
                      .length = 330,
                      .spread = 18,
                      .jawX = 56,
                      .front = SweptFront(kRight, 72, 120),
                      .guides = 12}),
          Look{.sheens = {{0.15, 0.07, 44}}, .ragged = 0.1, .clip = Clip::FaceFrame});
}

void LowBunsBangs(HairCanvas& h) {
  h.Bun({52, 206}, 22, 20, Look{});
  h.Bun({176, 206}, 22, 20, Look{});
  CentreSides(h, {.volume = 7, .length = 196, .tuck = 8, .faceGap = 4, .guides = 8}, Sleek());
  h.Sheet(FringeGuides({.depth = 128, .arch = 5}), Look{.rootShade = 10, .clip = Clip::FaceFrame});
}

void VictorianRinglets(HairCanvas& h) {
  h.Sheet(PulledBackGuides({.gather = {114, 38}, .volume = 8, .lift = 8}), Look{.sheens = {{0.45, 0.1, 36}}});
  h.Bun({114, 30}, 28, 18, Look{});
  for (int side : {kLeft, kRight}) {
    for (int k = 0; k < 3; ++k) {
      QPointF start(114 + side * (56 + k * 7), 132 + k * 8);
      h.Ringlet(HangingPath(start, 92 - k * 10, 2, side * 5), 8, 16, Look{});
    }
  }
}

void BantuKnots(HairCanvas& h) {
  h.Sheet(PulledBackGuides({.gather = {114, 46}, .volume = 3}), Look{.tone = -8, .sheens = {}});
  const QPointF knots[] = {{60, 96}, {78, 56}, {114, 40}, {150, 56}, {168, 96}, {96, 78}, {132, 78}};
  for (QPointF k : knots) h.Bun(k, 15, 14, Look{});
}

}  // namespace

std::vector<Style> SpecialStyles() {
  return {
      {"beehive", Beehive},
      {"victory rolls", VictoryRolls},
      {"space buns", SpaceBuns},
      {"mohawk", Mohawk},
      {"braided crown", BraidedCrown},
      {"very long braids", VeryLongBraids},
      {"pixie with a shaved side", PixieShavedSide},
      {"French twist", FrenchTwist},
      {"ballerina bun", BallerinaBun},
      {"eighties perm", EightiesPerm},
      {"big afro", BigAfro},
      {"towering pouf", TowerPouf},
      {"Gibson girl updo", GibsonGirl},
      {"coiled buns over the ears", SideCoils},
      {"Heidi braids", HeidiBraids},
      {"sixties bouffant with a headband", BouffantBand},
      {"pin-up roll with curls", PinUpRoll},
      {"high twin tails", HighTwinTails},
      {"long locs", Locs},
      {"box braids", BoxBraids},
      {"liberty spikes", LibertySpikes},
      {"cornrows with a puff", CornrowsPuff},
      {"top knot with braided sides", TopKnotBraidedSides},
      {"wild curls", MedusaCurls},
      {"flapper bob with kiss curls", FlapperBob},
      {"very long single braid", Rapunzel},
      {"half-shaved long hair", HalfShavedLong},
      {"low buns with a fringe", LowBunsBangs},
      {"Victorian ringlets", VictorianRinglets},
      {"Bantu knots", BantuKnots},
  };
}

}  // namespace glamora::hairgen
