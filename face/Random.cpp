// The clock seed and the program's one generator.
#include "face/Random.h"

#include <chrono>
#include <ctime>

namespace glamora {

uint32_t RandomGenerator::ClockSeed() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  return uint32_t(((local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec) * 1000 + ms);
}

RandomGenerator& ProgramRandom() {
  static RandomGenerator generator(RandomGenerator::ClockSeed());
  return generator;
}

}  // namespace glamora
