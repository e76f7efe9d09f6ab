// JPEG encoding and decoding of a 4000 × 3000 photograph-sized picture at
// quality 90, and decoding at the reduced scales the thumbnail view uses.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "codecs/Jpeg.h"

namespace {

using namespace glamora;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// Smooth ramps with a gentle wave, like the large soft areas of a photograph.
const Bitmap& SmoothPicture() {
  static const Bitmap picture = [] {
    Bitmap b(kWidth, kHeight);
    std::vector<uint8_t> red(kWidth), wave(kWidth + kHeight);
    for (int x = 0; x < kWidth; ++x) red[size_t(x)] = uint8_t(x * 255 / (kWidth - 1));
    for (size_t i = 0; i < wave.size(); ++i) wave[i] = uint8_t(std::lround(127.5 + 127.5 * std::sin(double(i) / 300.0)));
    for (int y = 0; y < kHeight; ++y) {
      uint8_t* p = b.Row(y);
      const auto green = uint8_t(y * 255 / (kHeight - 1));
      for (int x = 0; x < kWidth; ++x, p += 3) {
        p[0] = wave[size_t(x + y)];
        p[1] = green;
        p[2] = red[size_t(x)];
      }
    }
    return b;
  }();
  return picture;
}

TImgIOParams Quality90() {
  TImgIOParams params;
  params.JpegQuality = 90;
  return params;
}

const std::vector<uint8_t>& CodedPicture() {
  static const std::vector<uint8_t> coded = [] {
    MemoryStream out;
    codec::EncodeJpeg(SmoothPicture(), Quality90(), ProgressRecord{}, out);
    return out.Bytes();
  }();
  return coded;
}

void BM_JpegEncode(benchmark::State& state) {
  const Bitmap& picture = SmoothPicture();
  const TImgIOParams params = Quality90();
  MemoryStream out;
  for (auto _ : state) {
    out.Truncate(0);
    if (codec::EncodeJpeg(picture, params, ProgressRecord{}, out) != PictureStatus::Ok) {
      state.SkipWithError("encoding failed");
    }
    benchmark::DoNotOptimize(out.Bytes().data());
  }
  state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
  state.counters["bytes"] = double(out.Size());
}
BENCHMARK(BM_JpegEncode)->Unit(benchmark::kMillisecond);

// Argument: the scale denominator (1, 2, 4 or 8).
void BM_JpegDecode(benchmark::State& state) {
  const std::vector<uint8_t>& coded = CodedPicture();
  const int denominator = int(state.range(0));
  for (auto _ : state) {
    Bitmap picture;
    TImgIOParams params;
    size_t consumed = 0;
    if (codec::DecodeJpegScaled(coded, denominator, picture, params, ProgressRecord{}, consumed) != PictureStatus::Ok) {
      state.SkipWithError("decoding failed");
    }
    benchmark::DoNotOptimize(picture.Bits());
  }
  state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
}
BENCHMARK(BM_JpegDecode)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

}  // namespace
