#pragma once
// A small seeded generator (splitmix64) whose sequence is the same on every
// platform and standard library, so the catalogue is drawn identically each time.
#include <cmath>
#include <cstdint>

namespace glamora::hairgen {

class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}

  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // Uniform in [0, 1).
  double Unit() { return double(Next() >> 11) * 0x1.0p-53; }
  double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }
  // Uniform in [-amount, amount].
  double Jitter(double amount) { return Range(-amount, amount); }
  int Below(int n) { return int(Unit() * n); }
  bool Chance(double p) { return Unit() < p; }

  // Standard normal (Box-Muller), clamped to three deviations.
  double Normal() {
    double u = 1.0 - Unit();
    double v = Unit();
    double n = std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * v);
    return n < -3 ? -3 : n > 3 ? 3 : n;
  }

 private:
  uint64_t state_;
};

}  // namespace glamora::hairgen
