// Deciphering a model face payload of the usual size.
#include <benchmark/benchmark.h>

#include <vector>

#include "face/FaceFile.h"

static void BM_DecipherFacePayload50k(benchmark::State& state) {
  std::vector<uint8_t> payload(50000);
  for (size_t i = 0; i < payload.size(); ++i) payload[i] = uint8_t(i * 7);
  for (auto _ : state) {
    glamora::DecipherFacePayload(payload.data(), payload.size());
    benchmark::DoNotOptimize(payload.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(payload.size()));
}
BENCHMARK(BM_DecipherFacePayload50k);
