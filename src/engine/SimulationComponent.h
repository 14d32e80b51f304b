#pragma once
// The components a simulated series is built from: constants, exponentially
// modulated cosines and noise. A series is the sum of its components sampled
// at n = 0 .. N-1.

#include <memory>
#include <string>
#include <vector>

#include "engine/MaskedSeries.h"

namespace vorel {

// One component of a simulated series: a value at each 0-based sample index, a
// display text (at most 99 characters, longer texts are cut) and a kind tag
// ("cosine", "const", "noiseRR" or "noiseG").
class SimulationComponent {
 public:
  // Longest display text kept; the rest is cut.
  static constexpr std::size_t kMaxTextLength = 99;

  virtual ~SimulationComponent() = default;

  // The component's value at the 0-based sample index n. The noise kinds
  // consume fresh draws from the process-wide generators on every call; the
  // others are pure functions of n.
  virtual double value(double n) const = 0;
  // A new component of the same kind built from the same parameters (its
  // display text is formatted again).
  virtual std::unique_ptr<SimulationComponent> Clone() const = 0;

  const std::string& text() const { return text_; }
  const std::string& kind() const { return kind_; }

  // True for the four kinds that can be copied by their tag.
  static bool IsKnownKind(const std::string& kind);

 protected:
  // text is cut at kMaxTextLength characters.
  SimulationComponent(std::string kind, std::string text);

 private:
  std::string kind_;
  std::string text_;
};

using ComponentList = std::vector<std::unique_ptr<SimulationComponent>>;

// A * exp(gamma n) * cos(2 pi (alpha n + phi)).
class CosineComponent : public SimulationComponent {
 public:
  CosineComponent(double A, double gamma, double alpha, double phi);
  double value(double n) const override;
  std::unique_ptr<SimulationComponent> Clone() const override;
  double A() const { return A_; }
  double gamma() const { return gamma_; }
  double alpha() const { return alpha_; }
  double phi() const { return phi_; }

 private:
  double A_, gamma_, alpha_, phi_;
};

// The constant c.
class ConstComponent : public SimulationComponent {
 public:
  explicit ConstComponent(double c);
  double value(double) const override { return c_; }
  std::unique_ptr<SimulationComponent> Clone() const override;
  double c() const { return c_; }

 private:
  double c_;
};

// Uniform noise on [-b, b] with standard deviation S, b = S sqrt(3): each
// value is (2u - 1) b for a fresh uniform draw u.
class UniformNoiseComponent : public SimulationComponent {
 public:
  explicit UniformNoiseComponent(double S);
  double value(double) const override;
  std::unique_ptr<SimulationComponent> Clone() const override;
  double S() const { return S_; }
  double b() const { return b_; }

 private:
  double S_, b_;
};

// Normal noise N(0, S^2): each value is S z for a fresh standard normal draw z.
class GaussianNoiseComponent : public SimulationComponent {
 public:
  explicit GaussianNoiseComponent(double S);
  double value(double) const override;
  std::unique_ptr<SimulationComponent> Clone() const override;
  double S() const { return S_; }

 private:
  double S_;
};

// Copies of the components of list, in order; an entry whose kind tag is none
// of the four known kinds is left out.
ComponentList CopyComponents(const ComponentList& list);

// The sum of the components sampled at n = 0 .. N-1, as a series of length N
// with every element present. The components are evaluated one after the
// other, each over all samples, in list order (which fixes the order of the
// noise draws). N must not be negative. O(N * list size).
MaskedSeries SampleComponents(const ComponentList& list, int N);

}  // namespace vorel
