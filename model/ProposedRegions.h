#pragma once
// The make-up regions a face's landmarks propose, put into a make-over the
// way the outline editor puts hand-drawn ones: each ring stored as its
// region, the header marked changed, so that the same commit writes it
// back into the face file (or offers the way out when it cannot).
#include "landmarks/FaceLandmarks.h"
#include "model/Makeover.h"

namespace glamora {

// Stores the rings ProposeOutlines gives for these landmarks of the
// make-over's face as regions 1 (the eye on the picture's left), 2 and 3
// (the lips); a ring that lies off the picture leaves its region as it was.
// Returns the number of regions stored, 0 to 3.
int StoreProposedRegions(Makeover& makeover, const FaceLandmarks& points);

}  // namespace glamora
