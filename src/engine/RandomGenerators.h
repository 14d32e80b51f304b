#pragma once
// The process-wide pseudo-random generators that the noise components draw
// from. Their state lives for the whole run of the program, so that a
// simulation is reproducible from start-up: the program seeds them once with
// 11 and never again.

#include <cstdint>

namespace vorel {

// Multiplicative congruential generator: x := 663608941 x mod 2^32, and each
// draw returns u = x * 2.32830643654e-10, strictly between 0 and 1 because the
// state stays odd.
class UniformGenerator {
 public:
  static constexpr std::uint32_t kMultiplier = 663608941u;
  static constexpr double kScale = 2.32830643654e-10;

  // Stores s as the state, made odd by adding 1 when s is even.
  void Seed(std::uint32_t s) { state_ = (s % 2u == 0u) ? s + 1u : s; }
  // Advances the state and returns the new uniform value. O(1).
  double Next() {
    state_ *= kMultiplier;  // unsigned arithmetic wraps modulo 2^32
    return static_cast<double>(state_) * kScale;
  }
  std::uint32_t state() const { return state_; }

 private:
  std::uint32_t state_ = 11u;
};

// Standard normal values by the polar method, produced in pairs: the second
// value of a pair is cached and returned by the next call.
class NormalGenerator {
 public:
  explicit NormalGenerator(UniformGenerator& uniform) : uniform_(uniform) {}

  // Returns the pending value if there is one; otherwise draws pairs of
  // uniforms until they fall inside the unit disc, returns the first normal
  // value and keeps the second pending. Two uniform draws per attempt.
  double Next();
  // Drops the pending value (the state at program start).
  void Reset() { pending_ = false; }
  bool hasPending() const { return pending_; }

 private:
  UniformGenerator& uniform_;
  double cached_ = 0.0;
  bool pending_ = false;
};

// The generators shared by every noise component of the process.
UniformGenerator& ProcessUniformGenerator();
NormalGenerator& ProcessNormalGenerator();

// Puts both process-wide generators in their start state: the uniform state
// seeded with seed (made odd), no normal value pending. Called once at
// start-up with 11.
void SeedRandomGenerators(std::uint32_t seed);

// One draw from the process-wide uniform generator, in (0, 1).
inline double UniformDraw() { return ProcessUniformGenerator().Next(); }
// One draw from the process-wide standard normal generator.
inline double NormalDraw() { return ProcessNormalGenerator().Next(); }

}  // namespace vorel
