#pragma once
// The program's 32-bit linear congruential generator:
//   S := S × 134775813 + 1 (mod 2^32), a draw with range n = floor(S × n / 2^32).
// Face file keys use a private instance; random make-overs and the noise of
// new face headers use instances seeded from the clock.
#include <cstdint>

namespace glamora {

class FaceKeyGenerator {
 public:
  explicit FaceKeyGenerator(uint32_t seed = 0) : state_(seed) {}

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

using RandomGenerator = FaceKeyGenerator;

// The program's own generator, shared by the random make-over, the random
// make-up and the noise of new face headers; each reseeds it from the clock.
RandomGenerator& ProgramRandom();

}  // namespace glamora
