#pragma once
// The program's random numbers: one 32-bit linear congruential generator,
//   S := S × 134775813 + 1 (mod 2^32), a draw with range n = floor(S × n / 2^32)
// of the new state. The program draws from one instance, seeded from the
// clock once per run; the face file cipher derives its keys from a private
// instance with a seed of its own.
#include <cstdint>

namespace glamora {

class RandomGenerator {
 public:
  explicit RandomGenerator(uint32_t seed = 0) : state_(seed) {}

  // Advances the state and returns a number in 0 .. range − 1 (range ≥ 1).
  uint32_t Draw(uint32_t range) {
    state_ = state_ * 134775813u + 1u;
    return uint32_t((uint64_t(state_) * range) >> 32);
  }
  uint32_t State() const { return state_; }
  void Seed(uint32_t seed) { state_ = seed; }

  // Milliseconds since midnight, local time: the clock seed.
  static uint32_t ClockSeed();

 private:
  uint32_t state_;
};

// The generator of the random make-up, the random make-over and the noise of
// new face headers, seeded from the clock at its first use. Reseeding it
// before each use would repeat the same draws for steps a few microseconds
// apart, so nothing reseeds it.
RandomGenerator& ProgramRandom();

}  // namespace glamora
