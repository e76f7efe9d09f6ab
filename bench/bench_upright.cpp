// Turning a 12-megapixel photograph upright: the quarter turn of Orientation
// 6 (the way phones keep portraits), the transverse 7, and the half turn and
// mirror that stay within the picture's rows; beside them a plain copy of the
// picture, the least any turn into new memory costs.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "imaging/core/Orientation.h"

namespace {

using namespace glamora;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

const Bitmap& Photo() {
  static const Bitmap picture = [] {
    Bitmap b(kWidth, kHeight);
    uint32_t s = 1;
    for (int y = 0; y < kHeight; ++y) {
      uint8_t* p = b.Row(y);
      for (int x = 0; x < 3 * kWidth; ++x) p[x] = uint8_t((s = s * 134775813u + 1) >> 24);
    }
    return b;
  }();
  return picture;
}

void BM_Oriented(benchmark::State& state) {
  const int orientation = int(state.range(0));
  for (auto _ : state) {
    Bitmap upright = Oriented(Photo(), orientation);
    benchmark::DoNotOptimize(upright.Bits());
  }
  state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
}
BENCHMARK(BM_Oriented)->Arg(6)->Arg(7)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// Same-size orientations turn within the picture; each run works on a fresh
// copy, which is not timed.
void BM_TurnUprightInPlace(benchmark::State& state) {
  const int orientation = int(state.range(0));
  Bitmap work;
  for (auto _ : state) {
    state.PauseTiming();
    work.Assign(Photo());
    state.ResumeTiming();
    TurnUpright(work, orientation);
    benchmark::DoNotOptimize(work.Bits());
  }
  state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
}
BENCHMARK(BM_TurnUprightInPlace)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_CopyForComparison(benchmark::State& state) {
  for (auto _ : state) {
    Bitmap copy;
    copy.Assign(Photo());
    benchmark::DoNotOptimize(copy.Bits());
  }
  state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
}
BENCHMARK(BM_CopyForComparison)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

}  // namespace
