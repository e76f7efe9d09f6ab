// The men's hairstyles: short sides and backs under tops of several lengths.
#include "tools/generators/hairstyles/StyleKit.h"
#include "tools/generators/hairstyles/Styles.h"

namespace glamora::hairgen {

namespace {

// Men's sides: short, close to the head, down to the top of the ears, with
// sideburns in front of them.
void ShortSides(HairCanvas& h, double partX, double volume = 4, const Look& look = Look{.ragged = 0.15}) {
  PartedSides(h, {.partX = partX, .volume = volume, .length = 152, .guides = 7}, look);
}

// Clipper-short sides: stubble over the whole scalp, under the longer top.
void FadedSides(HairCanvas& h, double shade = 136) { h.Stubble(ScalpAbove(156, 2, h.Opening()), {114, 40}, shade, Look{}); }

void BuzzCut(HairCanvas& h) {
  h.Stubble(ScalpAbove(156, 3, h.Opening()).united(head::ForeheadAbove(80)), {114, 30}, 112,
            Look{.density = 1.2, .clip = Clip::FaceFrame});
}

void CrewCut(HairCanvas& h) {
  FadedSides(h);
  h.Stubble(head::ForeheadAbove(78), {114, 60}, 104, Look{.clip = Clip::FaceFrame});
  h.Sheet(RollGuides({.left = 62, .right = 166, .height = 7, .guides = 14}),
          Look{.rootShade = 10, .sheens = {{0.6, 0.15, 24}}, .ragged = 0.3, .jag = 0.03});
}

void ClassicSidePart(HairCanvas& h) {
  ShortSides(h, 82, 5, Look{.ragged = 0.1});
  h.Sheet(FallGuides({.side = kRight,
                      .partX = 82,
                      .volume = 8,
                      .lift = 8,
                      .length = 150,
                      .front = SweptFront(kRight, 82, 82),
                      .guides = 10}),
          Look{.sheens = {{0.25, 0.1, 40}}, .ragged = 0.1, .flyaways = 0.3, .clip = Clip::FaceFrame});
}

// The short hair at the roots below a top combed up and back, down to a
// man's hairline.
void Hairline(HairCanvas& h, double y = 80) {
  h.Stubble(head::ForeheadAbove(y), {114, 40}, 96, Look{.clip = Clip::FaceFrame});
}

void Undercut(HairCanvas& h) {
  FadedSides(h);
  Hairline(h);
  h.Sheet(RollGuides({.left = 66, .right = 162, .height = 16, .guides = 12}), Sleek());
}

void Quiff(HairCanvas& h) {
  ShortSides(h, 114, 3);
  Hairline(h);
  h.Sheet(RollGuides({.left = 66, .right = 162, .height = 26, .forward = 8, .guides = 14}),
          Look{.sheens = {{0.55, 0.1, 40}}, .ragged = 0.15});
}

void Pompadour(HairCanvas& h) {
  FadedSides(h);
  Hairline(h, 82);
  h.Sheet(RollGuides({.left = 60, .right = 168, .height = 42, .forward = -6, .guides = 14}),
          Look{.sheens = {{0.5, 0.12, 46}}, .flyaways = 0.2});
}

void SlickedBack(HairCanvas& h) {
  ShortSides(h, 114, 6, Sleek());
  Hairline(h, 78);
  h.Sheet(RollGuides({.height = 10, .sideFrom = 0.5, .guides = 14}), Sleek());
}

void FrenchCrop(HairCanvas& h) {
  FadedSides(h);
  h.Sheet(
      FringeGuides(
          {.left = 62, .right = 166, .depth = 110, .arch = 4, .slant = 8, .rootY = 44, .rootSpread = 0.5, .bulge = 5,
           .guides = 11}),
      Look{.rootShade = 12, .ragged = 0.25, .jag = 0.02, .clip = Clip::FaceFrame});
}

void Caesar(HairCanvas& h) {
  ShortSides(h, 114, 3);
  h.Sheet(FringeGuides({.left = 60,
                        .right = 168,
                        .depth = 88,
                        .arch = 0,
                        .rootY = 42,
                        .rootSpread = 0.55,
                        .bulge = 3,
                        .guides = 12}),
          Look{.rootShade = 10, .jag = 0.006, .clip = Clip::FaceFrame});
}

void CurlyTopFade(HairCanvas& h) {
  FadedSides(h);
  QPainterPath top = ScalpAbove(104, 14, h.Opening());
  h.CoilTexture(top.united(QPainterPath()).subtracted(head::FaceCore()), 3.6, Look{});
}

void ShortAfro(HairCanvas& h) { h.CoilTexture(ScalpAbove(158, 14, h.Opening()), 3.4, Look{.tone = -6}); }

void ManBun(HairCanvas& h) {
  h.Sheet(PulledBackGuides({.gather = {114, 34}, .volume = 6}), Look{.flyaways = 1});
  h.Bun({114, 26}, 20, 15, Look{.flyaways = 2});
}

void SurferWaves(HairCanvas& h) {
  Look look = Wavy(3.5, 30);
  look.ragged = 0.25;
  BackUnder(h, 262, 72, look);
  CentreSides(h, {.volume = 12, .lift = 4, .length = 262, .spread = 8, .jawX = 56, .guides = 9}, look);
}

void LongStraight(HairCanvas& h) {
  BackUnder(h, 290, 72);
  PartedSides(h, {.partX = 96, .volume = 8, .length = 290, .spread = 6, .jawX = 56, .guides = 9}, Look{.ragged = 0.15});
}

void FauxHawk(HairCanvas& h) {
  FadedSides(h);
  Guides crest;
  for (int g = 0; g < 10; ++g) {
    double u = g / 9.0 - 0.5;
    QPointF root = head::FacePoint(270 + u * 80, -2);
    QPointF tip(114 + u * 22, 6 + 44 * u * u);
    crest.push_back(Curve::Through({root, Lerp(root, tip, 0.5) + QPointF(u * 8, -4), tip}));
  }
  h.Sheet(crest, Look{.sheens = {{0.6, 0.12, 30}}, .ragged = 0.4});
}

void Spiky(HairCanvas& h) {
  ShortSides(h, 114, 3);
  Guides spikes;
  for (int g = 0; g < 13; ++g) {
    double a = 206 + 128.0 * g / 12;
    QPointF root = head::FacePoint(a, -2);
    QPointF tip = head::SkullPoint(a, 16);
    spikes.push_back(Curve::Through({root, Lerp(root, tip, 0.5) + QPointF(0, -3), tip}));
  }
  h.Sheet(spikes, Look{.sheens = {{0.6, 0.15, 30}}, .ragged = 0.7, .flyaways = 0});
}

void CombOverFade(HairCanvas& h) {
  FadedSides(h);
  PartedSides(h, {.partX = 78, .volume = 8, .lift = 10, .length = 118, .tuck = 10, .guides = 10},
              Look{.sheens = {{0.3, 0.1, 40}}, .flyaways = 0.2}, SweptFront(kRight, 78, 80));
}

void MessyFringe(HairCanvas& h) {
  ShortSides(h, 114, 5, Layered(0.3));
  h.Sheet(FringeGuides(
              {.left = 60, .right = 168, .depth = 118, .arch = 8, .slant = 10, .rootY = 42, .bulge = 8, .guides = 9}),
          Look{.rootShade = 14, .ragged = 0.35, .jag = 0.03, .clip = Clip::FaceFrame});
}

void MediumCurtains(HairCanvas& h) {
  CentreSides(h, {.volume = 9, .length = 182, .spread = 2, .guides = 9}, Layered(0.2), 130);
}

}  // namespace

std::vector<Style> MaleStyles() {
  return {
      {"buzz cut", BuzzCut},
      {"crew cut", CrewCut},
      {"classic side parting", ClassicSidePart},
      {"undercut, slicked back", Undercut},
      {"quiff", Quiff},
      {"pompadour", Pompadour},
      {"slicked back", SlickedBack},
      {"French crop", FrenchCrop},
      {"Caesar cut", Caesar},
      {"curly top with a fade", CurlyTopFade},
      {"short afro", ShortAfro},
      {"man bun", ManBun},
      {"surfer waves", SurferWaves},
      {"long and straight", LongStraight},
      {"faux hawk", FauxHawk},
      {"spiky", Spiky},
      {"comb-over with a fade", CombOverFade},
      {"messy fringe", MessyFringe},
      {"curtains", MediumCurtains},
  };
}

}  // namespace glamora::hairgen
