#pragma once
// Pieces that many styles share, on top of the builders.
#include "tools/generators/hairstyles/Builders.h"
#include "tools/generators/hairstyles/HairCanvas.h"

namespace glamora::hairgen {

// Both sides of a parted cut from one description: the side nearer the
// parting first, then the side the hair is combed over, which takes `front`
// (its path across the forehead) and the face-frame clip when it has one.
void PartedSides(HairCanvas& hair, Fall fall, const Look& look, const Points& front = {});

// The same cut on both sides of a centre parting, each with its own front.
void CentreSides(HairCanvas& hair, Fall fall, const Look& look, double curtainDepth = 0);

// Darker hair hanging behind the neck, seen between the jaw and the neck.
void BackUnder(HairCanvas& hair, double length, double halfWidth = 64, const Look& look = {});

// The skull cap above a height, outside the face's opening: close-cropped areas.
QPainterPath ScalpAbove(double y, double grow = 2, const QPainterPath& opening = head::HairOpening());

// The hair along the natural hairline, under a style: from the top of the
// head over the upper sides of the forehead to the temples, with a soft edge
// of fine strands.
void NaturalHairline(HairCanvas& hair);

// Look presets.
Look Sleek();                 // smooth, shiny, few stray hairs
Look Layered(double ragged);  // feathered ends
Look Wavy(double amplitude, double wavelength);
Look Behind();  // hair seen behind the head and neck

}  // namespace glamora::hairgen
