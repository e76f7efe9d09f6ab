// Putting a hairstyle on the face: loading a face-sized JPEG hairstyle
// (decode, whitening, see-through colour, tint), changing the tint from the
// untinted copy, and composing face and hair for the gallery.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "codecs/Jpeg.h"
#include "face/StandardFace.h"
#include "hair/Compose.h"
#include "model/Makeover.h"

namespace {

using namespace glamora;

constexpr int kWidth = standard_face::kWidth;
constexpr int kHeight = standard_face::kHeight;

// A hairstyle-like picture: a light background with an arch of grey hair
// whose strands vary, so the JPEG carries real detail.
Bitmap HairPicture() {
  Bitmap picture(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* row = picture.Row(y);
    for (int x = 0; x < kWidth; ++x) {
      const int dx = x - kWidth / 2, dy = y - 150;
      const int r2 = dx * dx + dy * dy;
      const bool hair = r2 < 105 * 105 && (r2 > 70 * 70 || y < 70);
      const uint8_t v = hair ? uint8_t(60 + (x * 7 + y * 3) % 50) : uint8_t(230 + (x + y) % 20);
      row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = v;
    }
  }
  return picture;
}

// The hairstyle file, written once and removed at exit.
class HairFile {
 public:
  HairFile() {
    path_ = std::filesystem::temp_directory_path() / ("glamora-bench-hair-" + std::to_string(getpid()) + ".jpg");
    TImgIOParams params;
    params.JpegQuality = 90;
    MemoryStream bytes;
    codec::EncodeJpeg(HairPicture(), params, ProgressRecord{}, bytes);
    std::ofstream(path_, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.Bytes().data()), std::streamsize(bytes.Bytes().size()));
  }
  ~HairFile() { std::filesystem::remove(path_); }
  std::string Path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

const HairFile& TheHairFile() {
  static const HairFile file;
  return file;
}

void BM_LoadHairstyle(benchmark::State& state) {
  Makeover makeover;
  const std::string path = TheHairFile().Path();
  for (auto _ : state) {
    if (makeover.LoadHairstyle(path) != THairLoad::Loaded) state.SkipWithError("the hairstyle did not load");
    benchmark::DoNotOptimize(makeover.Hair().Bits());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LoadHairstyle)->Unit(benchmark::kMicrosecond);

void BM_TintChange(benchmark::State& state) {
  Makeover makeover;
  makeover.LoadHairstyle(TheHairFile().Path());
  uint8_t step = 0;
  for (auto _ : state) {
    makeover.SetTint(THairColour{uint8_t(step), uint8_t(40 + step % 20), 20});
    ++step;
    benchmark::DoNotOptimize(makeover.Hair().Bits());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TintChange)->Unit(benchmark::kMicrosecond);

// Face and hair into one picture, with the hair moved and stretched.
void BM_ComposeResult(benchmark::State& state) {
  Makeover makeover;
  makeover.LoadHairstyle(TheHairFile().Path());
  Bitmap face(kWidth, kHeight);
  face.Fill(Rgb(200, 160, 140));
  const PixelRect bounds{-6, -4, kWidth + 12, kHeight + 8};
  for (auto _ : state) {
    Bitmap result = ComposeResult(face, makeover.Hair(), bounds);
    benchmark::DoNotOptimize(result.Bits());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ComposeResult)->Unit(benchmark::kMicrosecond);

}  // namespace
