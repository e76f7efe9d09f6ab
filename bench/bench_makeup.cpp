// Colouring the eyes and lips as the colour box is dragged, and single
// airbrush stamps.
#include <benchmark/benchmark.h>

#include <memory>

#include "face/AirBrush.h"
#include "face/StandardFace.h"
#include "model/Makeover.h"

namespace {

using namespace glamora;

void SetPolygon(FaceRegion& region, std::initializer_list<FacePoint> points, int scale) {
  region.Valid = 1;
  region.Count = int(points.size());
  int i = 0;
  for (const FacePoint& p : points) region.Points[size_t(i++)] = {p.X * scale, p.Y * scale};
}

// A make-over holding a face `scale` times the standard size with eye and lip polygons.
std::unique_ptr<Makeover> MakeFace(int scale) {
  auto makeover = std::make_unique<Makeover>();
  Bitmap picture(standard_face::kWidth * scale, standard_face::kHeight * scale);
  picture.Fill(Rgb(200, 160, 140));
  makeover->SetFace(picture);
  FaceHeader& h = makeover->MutableHeader();
  SetPolygon(h.Region(1), {{66, 140}, {86, 134}, {104, 142}, {100, 156}, {84, 160}, {70, 154}}, scale);
  SetPolygon(h.Region(2), {{124, 142}, {142, 134}, {162, 140}, {158, 154}, {142, 160}, {128, 156}}, scale);
  SetPolygon(h.Region(3), {{86, 214}, {100, 204}, {114, 207}, {128, 204}, {140, 214}, {114, 226}}, scale);
  makeover->SaveUndo();
  return makeover;
}

void BM_ApplyColorEyesAndLips(benchmark::State& state) {
  const auto makeover = MakeFace(int(state.range(0)));
  int i = 0;
  for (auto _ : state) {
    const uint8_t v = uint8_t(++i);
    makeover->ApplyColor(ColorKind::Eyes, Rgb(v, 80, 120));
    makeover->ApplyColor(ColorKind::Lips, Rgb(180, v, 90));
  }
}
// 1: the standard 228 × 314 face; 2: a face with four times its area.
BENCHMARK(BM_ApplyColorEyesAndLips)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The same with soft edges, as the Make-up page lays each colour on while
// the colour box is dragged: back to the undo point, then the region.
void BM_ApplyColorSoftly(benchmark::State& state) {
  const auto makeover = MakeFace(1);
  makeover->SetSoftEdges(true);
  const ColorKind kind = ColorKind(state.range(0));
  int i = 0;
  for (auto _ : state) makeover->ApplyColor(kind, Rgb(uint8_t(++i), 80, 120));
}
BENCHMARK(BM_ApplyColorSoftly)
    ->Arg(int(ColorKind::Eyes))
    ->Arg(int(ColorKind::Lips))
    ->Arg(int(ColorKind::LipLine))
    ->Unit(benchmark::kMicrosecond);

// The lip line and the display of a stored region along a polygon reaching
// `state.range(0)` pixels beyond the picture on every side, as a damaged or
// careless header may hold: only what lies on the picture costs time.
void BM_OutlineFarReachingRegion(benchmark::State& state) {
  const auto makeover = MakeFace(1);
  const int far = int(state.range(0));
  FaceRegion& lips = makeover->MutableHeader().Region(FaceHeader::kLips);
  lips.Valid = 1;
  lips.Count = 4;
  lips.Points[0] = {-far, -far};
  lips.Points[1] = {far, -far + 7};
  lips.Points[2] = {far - 3, far};
  lips.Points[3] = {-far + 5, far - 2};
  int i = 0;
  for (auto _ : state) makeover->ApplyColor(ColorKind::LipLine, Rgb(uint8_t(++i), 0, 90));
}
BENCHMARK(BM_OutlineFarReachingRegion)->Arg(300)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_AirBrushStamp(benchmark::State& state) {
  Bitmap canvas(600, 600);
  canvas.Fill(Rgb(200, 160, 140));
  TAirBrush brush;
  brush.SetSize(int(state.range(0)));
  brush.SetIntensity(1);
  brush.SetColor(Rgb(120, 40, 60));
  for (auto _ : state) brush.Stamp(canvas, 300, 300);
}
BENCHMARK(BM_AirBrushStamp)->Arg(15)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace
