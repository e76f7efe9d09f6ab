// A face header's regions of arbitrary bytes on a picture of arbitrary size,
// driven through colouring (hard and soft fills and outlines), and regions
// proposed from arbitrary landmarks (not-a-number and huge ones included)
// stored and coloured the same way, with the fit of those landmarks to the
// standard face. Input: a 3260-byte header, 68 landmarks as pairs of
// doubles, the picture's size and the soft style.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "face/FaceHeader.h"
#include "face/RegionColouring.h"
#include "face/SoftMakeup.h"
#include "fuzz/FuzzInput.h"
#include "landmarks/FaceFit.h"
#include "landmarks/FaceOutlines.h"
#include "model/Makeover.h"
#include "model/ProposedRegions.h"

using namespace glamora;

namespace {

void ColourEveryRegion(Bitmap& picture, const FaceHeader& header, const SoftMakeupStyle& style) {
  for (int number = 1; number <= FaceHeader::kRegionCount; ++number) {
    const FaceRegion& region = header.Region(number);
    ColorRegion(picture, region, Rgb(200, 40, 60));
    OutlineRegion(picture, region, Rgb(20, 20, 20));
    SoftColorRegion(picture, region, Rgb(60, 90, 200), style);
    SoftOutlineRegion(picture, region, Rgb(90, 10, 10), style);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzInput in(data, size);
  std::vector<uint8_t> headerBytes(FaceHeader::kByteSize);
  in.TakeBytes(headerBytes.data(), headerBytes.size());
  FaceHeader header = FaceHeader::FromBytes(headerBytes.data());
  FaceLandmarks points{};
  for (PointF& point : points) {
    point.X = in.Take<double>();
    point.Y = in.Take<double>();
  }
  const int width = in.TakeInRange(1, 400), height = in.TakeInRange(1, 400);
  const SoftMakeupStyle style{in.TakeInRange(-4, 40), in.TakeInRange(-20, 200)};

  Bitmap picture(width, height);
  picture.Fill(Rgb(220, 180, 160));
  ColourEveryRegion(picture, header, style);

  // Proposed regions go into a make-over's header as the outline editor's
  // do, and the Make-up page's colours go on through them.
  Makeover makeover;
  makeover.SetFace(picture);
  makeover.MutableHeader() = header;
  StoreProposedRegions(makeover, points);
  ColourEveryRegion(picture, makeover.Header(), style);
  for (const bool soft : {false, true}) {
    makeover.SetSoftEdges(soft);
    for (const ColorKind kind : {ColorKind::Eyes, ColorKind::Lips, ColorKind::LipLine}) {
      makeover.ApplyColor(kind, Rgb(150, 30, 90));
      makeover.SaveUndo();
    }
  }
  (void)FitToStandardFace(points, width, height);
  return 0;
}
