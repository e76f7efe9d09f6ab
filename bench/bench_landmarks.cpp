// The face finder and soft make-up: loading the model, the grey and
// detection copies, detection and landmark placing on the 228 × 314 model
// face and on a 12-megapixel photograph made from it, and soft colouring of
// the model face's eyes and lips.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "face/FaceFile.h"
#include "face/SoftMakeup.h"
#include "imaging/components/ImgIO.h"
#include "imaging/core/Resample.h"
#include "imaging/core/Stream.h"
#include "landmarks/FaceModel.h"
#include "landmarks/GreyPicture.h"
#include "landmarks/LandmarkFinder.h"

namespace {

using namespace glamora;

// The model face from the data beside the program.
std::string ModelFaceFile() {
  std::error_code error;
  return (std::filesystem::read_symlink("/proc/self/exe", error).parent_path() / "Faces" / "Modela.eff").string();
}

struct ModelFace {
  FaceHeader Header;
  Bitmap Picture;
};

const ModelFace& TheModelFace() {
  static const ModelFace face = [] {
    ModelFace f;
    MemoryStream payload;
    if (ReadFaceFile(ModelFaceFile(), f.Header, payload)) {
      TImgIO io;
      io.SetBitmap(&f.Picture);
      io.LoadFromStream(payload);
    }
    return f;
  }();
  return face;
}

// The model face enlarged to a 3000-pixel-high portrait on a white 4000 × 3000 page.
const Bitmap& TwelveMegapixels() {
  static const Bitmap photo = [] {
    Bitmap page(4000, 3000), face;
    page.Fill(clWhite);
    const Bitmap& small = TheModelFace().Picture;
    if (small.Empty() || !Resample(small, face, 2178, 3000, rfTriangle)) return page;
    for (int y = 0; y < face.Height(); ++y) std::memcpy(page.Row(y) + 3 * 900, face.Row(y), 3 * size_t(face.Width()));
    return page;
  }();
  return photo;
}

const Bitmap& PictureFor(const benchmark::State& state) {
  return state.range(0) == 0 ? TheModelFace().Picture : TwelveMegapixels();
}

void Label(benchmark::State& state) {
  state.SetLabel(state.range(0) == 0 ? "228x314 face" : "4000x3000 photograph");
}

bool ModelReady(benchmark::State& state, LandmarkFinder& finder) {
  if (TheModelFace().Picture.Empty()) {
    state.SkipWithError("no model face");
    return false;
  }
  if (const std::string error = finder.WaitUntilLoaded(); !error.empty()) {
    state.SkipWithError(error.c_str());
    return false;
  }
  return true;
}

// Making the built-in detector and reading the shape model, side by side.
void BM_LoadModel(benchmark::State& state) {
  for (auto _ : state) {
    LandmarkFinder finder;
    const std::string error = finder.WaitUntilLoaded();
    if (!error.empty()) state.SkipWithError(error.c_str());
  }
}
BENCHMARK(BM_LoadModel)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_GreyAndDetectionCopy(benchmark::State& state) {
  Label(state);
  const Bitmap& picture = PictureFor(state);
  for (auto _ : state) {
    const GreyPicture grey = GreyOf(picture);
    benchmark::DoNotOptimize(MakeDetectionCopy(grey, kDetectionSide).Picture.Pixels.data());
  }
}
BENCHMARK(BM_GreyAndDetectionCopy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Detection alone, on the detection copy.
void BM_Detect(benchmark::State& state) {
  Label(state);
  FaceModel model;
  if (const std::string error = model.Load(LandmarkFinder::DefaultModelFile()); !FaceModel::Built()) {
    state.SkipWithError(error.c_str());
    return;
  }
  const DetectionCopy copy = MakeDetectionCopy(GreyOf(PictureFor(state)), kDetectionSide);
  for (auto _ : state) {
    if (model.Detect(copy.Picture).size() != 1) state.SkipWithError("not one face");
  }
}
BENCHMARK(BM_Detect)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The whole search: grey copies, detection and placing the 68 points.
void BM_FindLandmarks(benchmark::State& state) {
  Label(state);
  LandmarkFinder finder;
  if (!ModelReady(state, finder)) return;
  const Bitmap& picture = PictureFor(state);
  for (auto _ : state) {
    if (finder.Find(picture).Result != FaceSearch::Outcome::Found) state.SkipWithError("no face");
  }
}
BENCHMARK(BM_FindLandmarks)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Eye colour on both eyes, lipstick and the lip line, as the Make-up page
// applies them while the colour box is dragged.
void BM_SoftMakeupModelFace(benchmark::State& state) {
  const ModelFace& face = TheModelFace();
  if (face.Picture.Empty()) {
    state.SkipWithError("no model face");
    return;
  }
  Bitmap picture;
  picture.Assign(face.Picture);
  int i = 0;
  for (auto _ : state) {
    const uint8_t v = uint8_t(++i);
    SoftColorRegion(picture, face.Header.Region(FaceHeader::kLeftEye), Rgb(v, 60, 150));
    SoftColorRegion(picture, face.Header.Region(FaceHeader::kRightEye), Rgb(v, 60, 150));
    SoftColorRegion(picture, face.Header.Region(FaceHeader::kLips), Rgb(190, v, 70));
    SoftOutlineRegion(picture, face.Header.Region(FaceHeader::kLips), Rgb(120, 20, v), {1, 80});
  }
}
BENCHMARK(BM_SoftMakeupModelFace)->Unit(benchmark::kMicrosecond);

}  // namespace
