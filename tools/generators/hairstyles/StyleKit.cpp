// Pieces several hairstyles share, built on the guide builders.
#include "tools/generators/hairstyles/StyleKit.h"

namespace glamora::hairgen {

void PartedSides(HairCanvas& hair, Fall fall, const Look& look, const Points& front) {
  const int nearSide = fall.partX <= head::kCx ? kLeft : kRight;
  Fall nearFall = fall;
  nearFall.side = nearSide;
  nearFall.lift = fall.lift * 0.3;
  hair.Sheet(FallGuides(nearFall), look);
  Fall farFall = fall;
  farFall.side = -nearSide;
  farFall.front = front;
  Look farLook = look;
  if (!front.empty()) farLook.clip = Clip::FaceFrame;
  hair.Sheet(FallGuides(farFall), farLook);
}

void CentreSides(HairCanvas& hair, Fall fall, const Look& look, double curtainDepth) {
  for (int side : {kLeft, kRight}) {
    Fall f = fall;
    f.side = side;
    f.partX = head::kCx;
    Look l = look;
    if (curtainDepth > 0) {
      f.front = CurtainFront(side, curtainDepth);
      l.clip = Clip::FaceFrame;
    }
    hair.Sheet(FallGuides(f), l);
  }
}

void BackUnder(HairCanvas& hair, double length, double halfWidth, const Look& look) {
  Look l = look;
  l.tone += Behind().tone;
  l.sheens = {};
  l.behindNeck = true;
  l.flyaways = 0.5;
  hair.Sheet(BackGuides({.top = 160, .length = length, .halfWidth = halfWidth, .spread = 4}), l);
}

QPainterPath ScalpAbove(double y, double grow, const QPainterPath& opening) {
  QPainterPath above;
  above.addRect(-10, -10, head::sf::kWidth + 20, y + 10);
  return head::Skull(grow).intersected(above).subtracted(opening);
}

void NaturalHairline(HairCanvas& hair) {
  // Not clipped to the opening: the strands along the first guide make the
  // hairline's edge, which a clip would cut into a hard line.
  const Look look{.rootShade = 6, .ragged = 0.15, .jag = 0.02, .flyaways = 0, .clip = Clip::FaceFrame};
  for (int side : {kLeft, kRight}) {
    hair.Sheet(HairlineGuides(side), look);
    // Fine hairs along the arch only: below the temple they would stray
    // toward the eye.
    Points arch = HairlineKnots(side);
    arch.pop_back();
    hair.Wisps(Curve::Through(arch), 50, look);
  }
}

Look Sleek() { return Look{.contrast = 0.7, .sheens = {{0.2, 0.07, 48}}, .jag = 0.006, .flyaways = 0.3}; }

Look Layered(double ragged) { return Look{.ragged = ragged, .jag = 0.025, .flyaways = 2}; }

Look Wavy(double amplitude, double wavelength) {
  return Look{.ragged = 0.12, .wave = amplitude, .waveLength = wavelength, .waveFrom = 0.28};
}

Look Behind() { return Look{.tone = -26, .sheens = {}, .ragged = 0.1, .flyaways = 0.5, .behindNeck = true}; }

}  // namespace glamora::hairgen
