// The magic wand on a 4000 × 3000 photograph-like picture: a studio
// portrait, a smooth subject with a wavy edge on a softly varying backdrop,
// with a patch of fine noise in the subject's lower right. The fill alone,
// the fill with its outline traced (the subject: a long wavy outline; the
// backdrop: the largest region, outlined by the picture's border), the same
// grown by a pixel, and a ragged case: a seed in the noise, whose region
// has a long and tangled border. Last, one tick of the marching ants:
// repainting the outline's box of a view showing the subject's selection.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "imaging/ImgView.h"
#include "imaging/core/MagicWand.h"

namespace glamora {
namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// Backdrop: within about ±7 of a grey-blue, in gentle waves and a little
// noise. Subject: an ellipse with a wavy edge in a warm tone, likewise
// varied. The bottom-right quarter of the subject is noise of ±9 round a mid
// grey: about four pixels in five lie within 15 of a seed there, enough
// to join into one region with a ragged border.
const Bitmap& Portrait() {
  static const Bitmap picture = [] {
    Bitmap b(kWidth, kHeight);
    uint32_t s = 2024;
    auto noise = [&s](int spread) {
      s = s * 134775813u + 1;
      return int((uint64_t(s) * uint64_t(2 * spread + 1)) >> 32) - spread;
    };
    const double cx = kWidth * 0.5, cy = kHeight * 0.55, rx = kWidth * 0.22, ry = kHeight * 0.38;
    for (int y = 0; y < kHeight; ++y) {
      uint8_t* p = b.Row(y);
      for (int x = 0; x < kWidth; ++x, p += 3) {
        const double a = std::atan2(y - cy, x - cx);
        const double edge = 1.0 + 0.04 * std::sin(9 * a) + 0.015 * std::sin(31 * a);
        const double d = std::hypot((x - cx) / rx, (y - cy) / ry);
        int blue, green, red;
        if (d > edge) {
          const int wave = int(5 * std::sin(x * 0.002) * std::cos(y * 0.003));
          blue = 170 + wave + noise(2), green = 140 + wave + noise(2), red = 110 + wave + noise(2);
        } else if (x > cx && y > cy) {
          blue = 128 + noise(9), green = 128 + noise(9), red = 128 + noise(9);
        } else {
          const int wave = int(6 * std::sin(x * 0.004 + y * 0.002));
          blue = 90 + wave + noise(2), green = 130 + wave + noise(2), red = 200 + wave + noise(2);
        }
        p[0] = uint8_t(std::clamp(blue, 0, 255));
        p[1] = uint8_t(std::clamp(green, 0, 255));
        p[2] = uint8_t(std::clamp(red, 0, 255));
      }
    }
    return b;
  }();
  return picture;
}

// Seeds in the backdrop's top-left, in the subject and in the noisy quarter.
constexpr int kBackdropX = 100, kBackdropY = 100;
constexpr int kSubjectX = 1800, kSubjectY = 1200;
constexpr int kNoiseX = 2500, kNoiseY = 2000;

void BM_WandFill(benchmark::State& state, int x, int y) {
  const Bitmap& picture = Portrait();
  int64_t pixels = 0;
  for (auto _ : state) {
    const RegionMask region = MagicWandRegion(picture, x, y, 15);
    pixels = region.Count();
    benchmark::DoNotOptimize(pixels);
  }
  state.counters["RegionPixels"] = double(pixels);
  state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
}
BENCHMARK_CAPTURE(BM_WandFill, backdrop, kBackdropX, kBackdropY)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WandFill, subject, kSubjectX, kSubjectY)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WandFill, noise, kNoiseX, kNoiseY)->Unit(benchmark::kMillisecond);

void BM_WandOutline(benchmark::State& state, int x, int y, bool grow) {
  const Bitmap& picture = Portrait();
  size_t vertices = 0;
  for (auto _ : state) {
    vertices = MagicWandOutline(picture, x, y, 15, grow).size();
    benchmark::DoNotOptimize(vertices);
  }
  state.counters["Vertices"] = double(vertices);
}
BENCHMARK_CAPTURE(BM_WandOutline, backdrop, kBackdropX, kBackdropY, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WandOutline, subject, kSubjectX, kSubjectY, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WandOutline, subject_grown, kSubjectX, kSubjectY, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WandOutline, noise, kNoiseX, kNoiseY, false)->Unit(benchmark::kMillisecond);

// One tick of the ants: the view, zoomed to fit 1000 × 750 pixels, repaints
// the outline's box (here nearly all of it) with the picture and the dashes.
void BM_AntsTick(benchmark::State& state) {
  TImgView view;
  view.SetBorderStyle(bsNone);
  view.resize(1000, 750);
  view.Assign(&Portrait());
  view.SetZoom(25);
  view.SelectMagicWand(kSubjectX / 4, kSubjectY / 4);
  QImage screen(view.size(), QImage::Format_RGB32);
  for (auto _ : state) {
    view.AnimateSelection();
    view.render(&screen);
    benchmark::DoNotOptimize(screen.constBits());
  }
  state.counters["Points"] = double(view.SelectionRecord().Points.size());
}
BENCHMARK(BM_AntsTick)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace glamora

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
