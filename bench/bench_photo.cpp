// The photo make-over at 12 megapixels: the shipped portrait enlarged to a
// 3000-pixel-high face on a 4000 × 3000 photograph, its landmarks found once;
// the regions' masks, each make-up kind, the hair, and the whole look.
#include <benchmark/benchmark.h>

#include <string>

#include "imaging/components/ImgIO.h"
#include "imaging/core/Resample.h"
#include "landmarks/LandmarkFinder.h"
#include "photo/FaceRegions.h"
#include "photo/PhotoHair.h"
#include "photo/PhotoMakeover.h"

namespace {

using namespace glamora;

struct Photograph {
  Bitmap Picture;
  FaceLandmarks Points{};
  bool Found = false;
};

const Photograph& ThePhotograph() {
  static const Photograph photograph = [] {
    Photograph p;
    Bitmap portrait;
    TImgIO io;
    io.SetBitmap(&portrait);
    if (!io.LoadFromFile(GLAMORA_SOURCE_DIR "/tests/assets/portrait-astronaut.png")) return p;
    portrait.ConvertTo24();
    Bitmap face;
    Resample(portrait, face, 3000, 3000, rfLanczos3);
    p.Picture = Bitmap(4000, 3000);
    p.Picture.Fill(Rgb(200, 208, 216));
    for (int y = 0; y < 3000; ++y) std::copy_n(face.Row(y), 3 * 3000, p.Picture.Row(y) + 3 * 500);
    LandmarkFinder finder;
    const FaceSearch search = finder.Find(p.Picture);
    p.Found = search.Result == FaceSearch::Outcome::Found;
    p.Points = search.Points;
    return p;
  }();
  return photograph;
}

PhotoLook FullLook(bool hair) {
  PhotoLook look;
  look.Eyes = Rgb(120, 60, 140);
  look.Lips = Rgb(190, 30, 60);
  look.LipLine = Rgb(120, 20, 40);
  look.Blush = Rgb(220, 100, 110);
  look.Complexion = -5;
  if (hair) look.Hair = GLAMORA_SOURCE_DIR "/data/Long/003.jpg";
  return look;
}

void BM_RegionMasks(benchmark::State& state) {
  const Photograph& p = ThePhotograph();
  if (!p.Found) return state.SkipWithError("no face found (no face finder here?)");
  for (auto _ : state) benchmark::DoNotOptimize(RegionMasks(p.Points, p.Picture));
}
BENCHMARK(BM_RegionMasks)->Unit(benchmark::kMillisecond);

// The whole look without (argument 0) and with (1) the hair.
void BM_MakeOver(benchmark::State& state) {
  const Photograph& p = ThePhotograph();
  if (!p.Found) return state.SkipWithError("no face found (no face finder here?)");
  const PhotoLook look = FullLook(state.range(0) != 0);
  Bitmap work;
  for (auto _ : state) {
    state.PauseTiming();
    work.Assign(p.Picture);
    state.ResumeTiming();
    MakeOverPhoto(work, p.Points, look, {});
  }
}
BENCHMARK(BM_MakeOver)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
