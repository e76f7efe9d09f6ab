// Speed of the processing operations on a 4000 × 3000 photograph-like picture.
#include <benchmark/benchmark.h>

#include <cmath>

#include "imaging/core/Contrast.h"
#include "imaging/core/HslVar.h"
#include "imaging/core/Resample.h"
#include "imaging/core/Rotate.h"

namespace glamora {
namespace {

// Smooth gradients and waves with a little noise, so that neighbouring pixels
// are alike but rarely equal, as in a photograph.
const Bitmap& Photo() {
  static const Bitmap picture = [] {
    Bitmap b(4000, 3000);
    uint32_t s = 12345;
    for (int y = 0; y < b.Height(); ++y) {
      uint8_t* p = b.Row(y);
      for (int x = 0; x < b.Width(); ++x, p += 3) {
        s = s * 134775813u + 1;
        const int noise = int(s >> 29) - 4;
        const double wave = std::sin(x * 0.013) * std::cos(y * 0.021);
        p[0] = uint8_t(std::clamp(int(90 + 60 * wave) + noise, 0, 255));
        p[1] = uint8_t(std::clamp(int(x * 200 / b.Width()) + 30 + noise, 0, 255));
        p[2] = uint8_t(std::clamp(int(y * 180 / b.Height()) + 50 - noise, 0, 255));
      }
    }
    return b;
  }();
  return picture;
}

void BM_Resample(benchmark::State& state, int width, int height, TResampleFilter filter) {
  const Bitmap& src = Photo();
  Bitmap dst;
  for (auto _ : state) {
    ResampleFiltered(src, PixelRect::Of(src), dst, width, height, filter);
    benchmark::DoNotOptimize(dst.Bits());
  }
  state.SetItemsProcessed(state.iterations() * int64_t(src.Width()) * src.Height());
}
// The resampler, the rotation and HSLVar share rows between the cores:
// wall-clock time, and the processor time of every thread (run under
// taskset -c N for one core).
BENCHMARK_CAPTURE(BM_Resample, lanczos3_228x314, 228, 314, rfLanczos3)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_Resample, bspline_228x314, 228, 314, rfBSpline)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_Resample, lanczos3_2000x1500, 2000, 1500, rfLanczos3)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_Resample, bspline_2000x1500, 2000, 1500, rfBSpline)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// In-place operations work on a fresh copy each time; the copy is not timed.
template <class Operation>
void RunInPlace(benchmark::State& state, Operation op) {
  Bitmap work;
  for (auto _ : state) {
    state.PauseTiming();
    work.Assign(Photo());
    state.ResumeTiming();
    op(work);
    benchmark::DoNotOptimize(work.Bits());
  }
  state.SetItemsProcessed(state.iterations() * int64_t(Photo().Width()) * Photo().Height());
}

void BM_Rotate17Antialias(benchmark::State& state) {
  RunInPlace(state, [](Bitmap& b) { Rotate(b, 17, true, clWhite); });
}
BENCHMARK(BM_Rotate17Antialias)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_HslVar(benchmark::State& state) {
  RunInPlace(state, [](Bitmap& b) { HslVar(b, PixelRect::Of(b), 10, 5, -10); });
}
BENCHMARK(BM_HslVar)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_Contrast(benchmark::State& state) {
  RunInPlace(state, [](Bitmap& b) { Contrast(b, PixelRect::Of(b), 30); });
}
BENCHMARK(BM_Contrast)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace glamora
